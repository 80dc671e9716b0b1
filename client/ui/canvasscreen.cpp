#include "client/ui/canvasscreen.h"

#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/drawingsurface.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/onelinebox.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"

#include "shared/ui/formkit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QVBoxLayout>

namespace client {

namespace pic = illustration;

static const QString kTaken = QStringLiteral("……は既に存在しています。別のタイトルに変えて下さい。");
static constexpr int kEraser = 26; // the eraser's place in the colour group, after the 26 swatches

static QFrame *rule(QWidget *parent, int number, QFrame::Shape shape)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("ruleLine%1").arg(number));
    line->setFrameShape(shape);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

// The small decoration beside the buttons: a palette with a brush.
static QPixmap decoration()
{
    QPixmap pixmap(72, 54);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(128, 64, 0), 2));
    painter.setBrush(QColor(255, 224, 192));
    painter.drawEllipse(QRectF(4, 6, 60, 42));
    const QColor dabs[] = {Qt::red, Qt::blue, Qt::green, Qt::yellow, QColor(255, 0, 255)};
    for (int i = 0; i < 5; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(dabs[i]);
        painter.drawEllipse(QPointF(16 + i * 9, 18 + (i % 2) * 8), 4, 4);
    }
    painter.setPen(QPen(QColor(128, 64, 0), 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(40, 44), QPointF(68, 10));
    return pixmap;
}

CanvasScreen::CanvasScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    perumina::kit::setUpForm(this, "CanvasScreen", kScreenCaption);
    buildScreen();

    connect(recipientList, &QListWidget::itemClicked, this, &CanvasScreen::chooseRecipient);
    // Arrows and Space choose as a click does. The list taking the focus only marks a row current,
    // unchosen, and that must not name a recipient nobody picked.
    connect(recipientList, &QListWidget::itemSelectionChanged, this, &CanvasScreen::chooseRecipient);
    connect(drawingSurface, &DrawingSurface::mouseDown, this, &CanvasScreen::startStroke);
    connect(drawingSurface, &DrawingSurface::mouseMove, this, &CanvasScreen::continueStroke);
    connect(drawingSurface, &DrawingSurface::mouseUp, this, &CanvasScreen::endStroke);
    connect(sendButton, &QPushButton::clicked, this, &CanvasScreen::send);
    connect(clearButton, &QPushButton::clicked, this, &CanvasScreen::clearDrawing);
    connect(viewPicturesButton, &QPushButton::clicked, this, &CanvasScreen::showViewer);
    connect(writeMailButton, &QPushButton::clicked, this, &CanvasScreen::showMailScreen);
    connect(readMailButton, &QPushButton::clicked, this, &CanvasScreen::showReader);
    connect(quitButton, &QPushButton::clicked, this, &CanvasScreen::quit);
    connect(backButton, &QPushButton::clicked, this, &CanvasScreen::backToMenu);

    load();
}

// The colour buttons: the swatch as face, a bold orange frame on the one in use.
static QPushButton *swatchButton(QWidget *parent, int index)
{
    using namespace perumina::kit;
    const bool eraser = index == kEraser;
    const QByteArray name =
        eraser ? QByteArray("eraserButton") : "colourButton" + QByteArray::number(index + 1);
    const auto &all = pic::swatches();
    QPushButton *swatch =
        button(parent, name.constData(), eraser ? QStringLiteral("消しゴム") : all[index].caption, {},
               face(Face::Pop, eraser ? 10 : 9));
    swatch->setCheckable(true);
    const QColor face = eraser ? QColor(192, 255, 192) : all[index].swatch;
    const QColor text = eraser ? QColor(128, 128, 128) : (face.lightness() < 110 ? Qt::white : Qt::black);
    // The eraser's caption is four characters wide; the swatches hold one or two digits.
    const int minWidth = eraser ? QFontMetrics(swatch->font()).horizontalAdvance(swatch->text()) + 10 : 26;
    swatch->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid #808080;"
                       " min-width: %3px; min-height: 22px; padding: 1px; }"
                       "QPushButton:checked { border: 3px solid #ff6000; }")
            .arg(face.name(), text.name(), QString::number(minWidth)));
    return swatch;
}

void CanvasScreen::buildScreen()
{
    using namespace perumina::kit;
    const QFont pop = face(Face::Pop);
    const QFont gothic = face(Face::PGothic);
    drawingFrame = make<QFrame>(this, "drawingFrame");
    drawingFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    for (int i = 1; i <= 9; ++i)
        ruleLines.append(rule(drawingFrame, i, i == 7 || i == 9 ? QFrame::VLine : QFrame::HLine));
    widthCaption = label(drawingFrame, "widthCaption", QStringLiteral("太さ"), {}, face(Face::Pop, 12));
    widthArrowCaption =
        label(drawingFrame, "widthArrowCaption", QStringLiteral("↓"), {}, face(Face::Pop, 12));
    widthCaption->setAlignment(Qt::AlignCenter);
    widthArrowCaption->setAlignment(Qt::AlignCenter);
    // The width options, each beside its name, the names growing with the width.
    const QString widthNames[] = {QStringLiteral("極細"), QStringLiteral("中細"), QStringLiteral("普通"),
                                  QStringLiteral("中太"), QStringLiteral("極太")};
    widths_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        const QByteArray number = QByteArray::number(i + 1);
        widthOptions.append(option(drawingFrame, ("widthOption" + number).constData(), QString()));
        widthNameCaptions.append(label(drawingFrame, ("widthNameCaption" + number).constData(), widthNames[i],
                                       {}, face(Face::Pop, 9 + 1.5 * i)));
        widths_->addButton(widthOptions.last(), pic::kPenWidths[i]);
    }
    widthOptions[2]->setChecked(true); // 普通, width 5
    drawingSurface = new DrawingSurface(pic::kWidth, pic::kHeight, drawingFrame);
    drawingSurface->setObjectName(QStringLiteral("drawingSurface"));
    // The colours: the eraser at the left, "色→", then "1" to "13" above and "14" to "26" below.
    colours_ = new QButtonGroup(this);
    for (int i = 0; i <= kEraser; ++i) {
        QPushButton *swatch = swatchButton(drawingFrame, i);
        if (i == kEraser)
            eraserButton = swatch;
        else
            colourButtons.append(swatch);
        colours_->addButton(swatch, i);
    }
    colourButtons[13]->setChecked(true); // "14", black
    colourCaption = label(drawingFrame, "colourCaption", QStringLiteral("色→"), {}, face(Face::Pop, 11));

    // Right column: recipient, title, sender, the send and the screen buttons.
    recipientFrame = make<QGroupBox>(this, "recipientFrame");
    recipientCaption = label(recipientFrame, "recipientCaption", QStringLiteral("誰に見せますか？"), {},
                             face(Face::Pop, 12));
    recipientList = list(recipientFrame, "recipientList", {}, gothic);
    recipientList->setMinimumHeight(120);
    recipientBox = textBox(this, "recipientBox", {}, gothic);
    honorificCaption = label(this, "honorificCaption", QStringLiteral("さんへ"), {}, pop);
    senderBox = textBox(this, "senderBox", {}, gothic, QStringLiteral("送信者"));
    // The sender is the signed-in user, not something to type: a picture is signed with it.
    senderBox->setReadOnly(true);
    titleCaption = label(this, "titleCaption", QStringLiteral("件　名"), {}, pop);
    titleBox = textBox(this, "titleBox", {}, gothic);
    keepOnOneLine(titleBox);
    sentDateLabel = label(this, "sentDateLabel", QStringLiteral("送信日"), {}, pop);
    sentTimeLabel = label(this, "sentTimeLabel", QStringLiteral("送信時刻"), {}, pop);
    sendButton = colourButton(this, "sendButton", QStringLiteral("送信"), 0xffc0c0, {}, pop);
    sendButton->setDefault(true);
    clearButton = colourButton(this, "clearButton", QStringLiteral("全消去"), 0xff4040, {}, pop);
    pictureCaption = label(this, "pictureCaption", QStringLiteral("イラストを"), {}, pop);
    viewPicturesButton = colourButton(this, "viewPicturesButton", QStringLiteral("見る"), 0x80ff80, {}, pop);
    mailCaption = label(this, "mailCaption", QStringLiteral("メールを"), {}, pop);
    writeMailButton = colourButton(this, "writeMailButton", QStringLiteral("書く"), 0x80ff80, {}, pop);
    readMailButton = colourButton(this, "readMailButton", QStringLiteral("読む"), 0x80ff80, {}, pop);
    quitButton = colourButton(this, "quitButton", QStringLiteral("終了"), 0xffc0ff, {}, pop);
    backButton = colourButton(this, "backButton", QStringLiteral("ようこそへ戻る"), 0xc0ffff, {}, pop);
    paletteImage = image(this, "paletteImage", decoration());
    layOut();
}

// Where the controls stand: the tool panel, the drawing and the colours on the left, the rest on the
// right.
void CanvasScreen::layOut()
{
    using namespace perumina::kit;
    auto *tools = new QGridLayout;
    tools->setVerticalSpacing(2);
    tools->addWidget(widthCaption, 0, 0, 1, 2);
    tools->addWidget(widthArrowCaption, 1, 0, 1, 2);
    tools->addWidget(ruleLines[0], 2, 0, 1, 2);
    for (int i = 0; i < 5; ++i) {
        tools->addWidget(widthOptions[i], 3 + 2 * i, 0);
        tools->addWidget(widthNameCaptions[i], 3 + 2 * i, 1);
        tools->addWidget(ruleLines[1 + i], 4 + 2 * i, 0, 1, 2);
    }
    tools->setRowStretch(14, 1);
    auto *frame = new QGridLayout(drawingFrame);
    frame->setSpacing(4);
    frame->addLayout(tools, 0, 0, 1, 3);
    frame->addWidget(ruleLines[6], 0, 3);
    frame->addWidget(drawingSurface, 0, 4, 1, 13);
    frame->addWidget(ruleLines[7], 1, 0, 1, 17);
    frame->addWidget(eraserButton, 2, 0, 2, 1);
    frame->addWidget(ruleLines[8], 2, 1, 2, 1);
    frame->addWidget(colourCaption, 2, 2, 2, 2);
    for (int i = 0; i < 26; ++i)
        frame->addWidget(colourButtons[i], 2 + i / 13, 4 + i % 13);

    column({recipientCaption, recipientList}, recipientFrame);
    QVBoxLayout *side =
        column({recipientFrame, row({{recipientBox, 1}, honorificCaption}),
                row({titleCaption, {titleBox, 1}}), senderBox, row({sentDateLabel, sentTimeLabel}),
                row({sendButton, clearButton}), row({pictureCaption, viewPicturesButton, Item::stretch()}),
                row({mailCaption, writeMailButton, readMailButton, Item::stretch()}),
                row({paletteImage, column({backButton, quitButton})}), Item::stretch()});

    row({drawingFrame, side}, this);
}

void CanvasScreen::load()
{
    senderBox->setText(app_.signedIn().userName);
    recipientList->clear();
    recipientList->addItems(loadRecipients(app_.serverName()).value_or(QStringList()));
}

// The sender is whoever is logged in now, not only whoever first opened the canvas in this run.
void CanvasScreen::showEvent(QShowEvent *event)
{
    const QString user = app_.signedIn().userName;
    if (!user.isEmpty())
        senderBox->setText(user);
    QWidget::showEvent(event);
}

int CanvasScreen::selectedWidth() const
{
    const int width = widths_->checkedId();
    return width > 0 ? width : pic::kPenWidths[2];
}

QColor CanvasScreen::selectedColour() const
{
    const int index = colours_->checkedId();
    if (index == kEraser)
        return pic::kEraserPen;
    if (index < 0)
        return Qt::black;
    return pic::swatches()[index].pen;
}

void CanvasScreen::chooseRecipient()
{
    const QList<QListWidgetItem *> chosen = recipientList->selectedItems();
    if (!chosen.isEmpty())
        recipientBox->setText(chosen.first()->text());
}

void CanvasScreen::startStroke(QPoint at)
{
    drawing_ = true;
    penWidth_ = selectedWidth();
    drawingSurface->paintDot(at, penWidth_, selectedColour());
    last_ = at;
}

void CanvasScreen::continueStroke(QPoint at)
{
    if (!drawing_)
        return;
    drawingSurface->paintSegment(last_, at, penWidth_, selectedColour());
    last_ = at;
}

void CanvasScreen::endStroke()
{
    drawing_ = false;
}

void CanvasScreen::send()
{
    const QString title = titleBox->text();
    const QString recipient = recipientBox->text();
    if (title.isEmpty()) {
        app_.dialogs().message(QStringLiteral("タイトルを入力してください"));
        return;
    }
    if (recipient.isEmpty()) {
        app_.dialogs().message(QStringLiteral("受信者が選ばれていません"));
        return;
    }
    for (const QString &problem : {pic::titleProblem(title), pic::recipientProblem(recipient)}) {
        if (!problem.isEmpty()) {
            app_.dialogs().message(problem, perumina::Dialogs::Icon::Exclamation);
            return;
        }
    }
    // The name goes into the sent copy only, so the canvas stays as drawn and each send signs once.
    const QByteArray bmp = pic::toBmp(pic::signedCopy(drawingSurface->picture(), senderBox->text()));
    const pic::StoreOutcome outcome = pic::store(bmp, app_.serverName(), recipient, title);
    switch (outcome.result) {
    case pic::StoreResult::TitleTaken:
        app_.dialogs().message(title + kTaken);
        return;
    case pic::StoreResult::Failed:
        app_.dialogs().message(outcome.error, perumina::Dialogs::Icon::Exclamation);
        return;
    case pic::StoreResult::Stored:
        break;
    }
    const QDateTime now = app_.seams().clock.now();
    sentDateLabel->setText(perumina::formatDate(now.date()));
    sentTimeLabel->setText(perumina::formatTime(now.time()));
    app_.dialogs().message(pic::kSentMessage);
}

void CanvasScreen::clearDrawing()
{
    drawingSurface->clear();
}

void CanvasScreen::showViewer()
{
    goTo(app_.viewerScreen());
}
void CanvasScreen::showMailScreen()
{
    goTo(app_.mailScreen());
}
void CanvasScreen::showReader()
{
    goTo(app_.readerScreen());
}
void CanvasScreen::backToMenu()
{
    goTo(app_.menuScreen());
}

void CanvasScreen::quit()
{
    app_.sweepAndEnd();
}

} // namespace client
