#include "client/ui/form06.h"

#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/drawingsurface.h"
#include "client/ui/form05.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/menuscreen.h"
#include "client/ui/onelinebox.h"

#include "shared/ui/formkit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QVBoxLayout>

namespace client {

namespace pic = illustration;

static const QString kTaken = QStringLiteral("……は既に存在しています。別のタイトルに変えて下さい。");

static QFrame *rule(QWidget *parent, int number, QFrame::Shape shape)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line%1").arg(number));
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

Form06::Form06(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    perumina::kit::setUpForm(this, "Form06", kScreenCaption);
    buildScreen();

    connect(List1, &QListWidget::itemClicked, this, &Form06::List1_Click);
    // Arrows and Space choose as a click does. The list taking the focus only marks a row current,
    // unchosen, and that must not name a recipient nobody picked.
    connect(List1, &QListWidget::itemSelectionChanged, this, &Form06::List1_Click);
    connect(Picture1, &DrawingSurface::mouseDown, this, &Form06::Picture1_MouseDown);
    connect(Picture1, &DrawingSurface::mouseMove, this, &Form06::Picture1_MouseMove);
    connect(Picture1, &DrawingSurface::mouseUp, this, &Form06::Picture1_MouseUp);
    connect(Command27, &QPushButton::clicked, this, &Form06::Command27_Click);
    connect(Command4, &QPushButton::clicked, this, &Form06::Command4_Click);
    connect(Command28, &QPushButton::clicked, this, &Form06::Command28_Click);
    connect(Command1, &QPushButton::clicked, this, &Form06::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form06::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form06::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &Form06::Command5_Click);

    Form_Load();
}

// The colour buttons: the swatch as face, a bold orange frame on the one in use.
static QPushButton *swatchButton(QWidget *parent, int index)
{
    using namespace perumina::kit;
    const bool eraser = index == 26;
    const QByteArray name = "Opt" + QByteArray::number(6 + index);
    const auto &all = pic::swatches();
    QPushButton *opt =
        button(parent, name.constData(), eraser ? QStringLiteral("消しゴム") : all[index].caption, {},
               face(Face::Pop, eraser ? 10 : 9));
    opt->setCheckable(true);
    const QColor face = eraser ? QColor(192, 255, 192) : all[index].swatch;
    const QColor text = eraser ? QColor(128, 128, 128) : (face.lightness() < 110 ? Qt::white : Qt::black);
    // The eraser's caption is four characters wide; the swatches hold one or two digits.
    const int minWidth = eraser ? QFontMetrics(opt->font()).horizontalAdvance(opt->text()) + 10 : 26;
    opt->setStyleSheet(
        QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid #808080;"
                       " min-width: %3px; min-height: 22px; padding: 1px; }"
                       "QPushButton:checked { border: 3px solid #ff6000; }")
            .arg(face.name(), text.name(), QString::number(minWidth)));
    return opt;
}

void Form06::buildScreen()
{
    using namespace perumina::kit;
    const QFont pop = face(Face::Pop);
    const QFont gothic = face(Face::PGothic);
    Frame2 = make<QFrame>(this, "Frame2");
    Frame2->setFrameStyle(QFrame::Box | QFrame::Plain);
    for (int i = 1; i <= 9; ++i)
        Line.append(rule(Frame2, i, i == 7 || i == 9 ? QFrame::VLine : QFrame::HLine));
    Label10 = label(Frame2, "Label10", QStringLiteral("太さ"), {}, face(Face::Pop, 12));
    Label12 = label(Frame2, "Label12", QStringLiteral("↓"), {}, face(Face::Pop, 12));
    Label10->setAlignment(Qt::AlignCenter);
    Label12->setAlignment(Qt::AlignCenter);
    // The width buttons, each beside its name, the names growing with the width.
    const char *optionNames[] = {"Option1", "Option2", "Option3", "Option4", "Option5"};
    const char *labelNames[] = {"Label9", "Label14", "Label15", "Label16", "Label17"};
    const QString widthNames[] = {QStringLiteral("極細"), QStringLiteral("中細"), QStringLiteral("普通"),
                                  QStringLiteral("中太"), QStringLiteral("極太")};
    QRadioButton **options[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
    QLabel **labels[] = {&Label9, &Label14, &Label15, &Label16, &Label17};
    widths_ = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        *options[i] = option(Frame2, optionNames[i], QString());
        *labels[i] = label(Frame2, labelNames[i], widthNames[i], {}, face(Face::Pop, 9 + 1.5 * i));
        widths_->addButton(*options[i], pic::kPenWidths[i]);
    }
    Option3->setChecked(true);
    Picture1 = new DrawingSurface(pic::kWidth, pic::kHeight, Frame2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    // The colours: the eraser at the left, "色→", then "1" to "13" above and "14" to "26" below.
    colours_ = new QButtonGroup(this);
    for (int i = 0; i < 27; ++i) {
        opts_.append(swatchButton(Frame2, i));
        colours_->addButton(opts_.last(), i);
    }
    Opt(19)->setChecked(true);
    Label11 = label(Frame2, "Label11", QStringLiteral("色→"), {}, face(Face::Pop, 11));

    // Right column: recipient, title, sender, the send and the screen buttons.
    Frame1 = make<QGroupBox>(this, "Frame1");
    Label1 = label(Frame1, "Label1", QStringLiteral("誰に見せますか？"), {}, face(Face::Pop, 12));
    List1 = list(Frame1, "List1", {}, gothic);
    List1->setMinimumHeight(120);
    Text3 = textBox(this, "Text3", {}, gothic);
    Label6 = label(this, "Label6", QStringLiteral("さんへ"), {}, pop);
    Text2 = textBox(this, "Text2", {}, gothic, QStringLiteral("送信者"));
    // The sender is the signed-in user, not something to type: a picture is signed with it.
    Text2->setReadOnly(true);
    Label2 = label(this, "Label2", QStringLiteral("件　名"), {}, pop);
    Text1 = textBox(this, "Text1", {}, gothic);
    keepOnOneLine(Text1);
    Label4 = label(this, "Label4", QStringLiteral("送信日"), {}, pop);
    Label5 = label(this, "Label5", QStringLiteral("送信時刻"), {}, pop);
    Command27 = colourButton(this, "Command27", QStringLiteral("送信"), 0xffc0c0, {}, pop);
    Command27->setDefault(true);
    Command4 = colourButton(this, "Command4", QStringLiteral("全消去"), 0xff4040, {}, pop);
    Label7 = label(this, "Label7", QStringLiteral("イラストを"), {}, pop);
    Command28 = colourButton(this, "Command28", QStringLiteral("見る"), 0x80ff80, {}, pop);
    Label8 = label(this, "Label8", QStringLiteral("メールを"), {}, pop);
    Command1 = colourButton(this, "Command1", QStringLiteral("書く"), 0x80ff80, {}, pop);
    Command2 = colourButton(this, "Command2", QStringLiteral("読む"), 0x80ff80, {}, pop);
    Command3 = colourButton(this, "Command3", QStringLiteral("終了"), 0xffc0ff, {}, pop);
    Command5 = colourButton(this, "Command5", QStringLiteral("ようこそへ戻る"), 0xc0ffff, {}, pop);
    Image1 = image(this, "Image1", decoration());
    layOut();
}

// Where the controls stand: the tool panel, the drawing and the colours on the left, the rest on the
// right.
void Form06::layOut()
{
    using namespace perumina::kit;
    auto *tools = new QGridLayout;
    tools->setVerticalSpacing(2);
    tools->addWidget(Label10, 0, 0, 1, 2);
    tools->addWidget(Label12, 1, 0, 1, 2);
    tools->addWidget(Line[0], 2, 0, 1, 2);
    QRadioButton *options[] = {Option1, Option2, Option3, Option4, Option5};
    QLabel *labels[] = {Label9, Label14, Label15, Label16, Label17};
    for (int i = 0; i < 5; ++i) {
        tools->addWidget(options[i], 3 + 2 * i, 0);
        tools->addWidget(labels[i], 3 + 2 * i, 1);
        tools->addWidget(Line[1 + i], 4 + 2 * i, 0, 1, 2);
    }
    tools->setRowStretch(14, 1);
    auto *frame2 = new QGridLayout(Frame2);
    frame2->setSpacing(4);
    frame2->addLayout(tools, 0, 0, 1, 3);
    frame2->addWidget(Line[6], 0, 3);
    frame2->addWidget(Picture1, 0, 4, 1, 13);
    frame2->addWidget(Line[7], 1, 0, 1, 17);
    frame2->addWidget(opts_[26], 2, 0, 2, 1);
    frame2->addWidget(Line[8], 2, 1, 2, 1);
    frame2->addWidget(Label11, 2, 2, 2, 2);
    for (int i = 0; i < 26; ++i)
        frame2->addWidget(opts_[i], 2 + i / 13, 4 + i % 13);

    column({Label1, List1}, Frame1);
    QVBoxLayout *side =
        column({Frame1, row({{Text3, 1}, Label6}), row({Label2, {Text1, 1}}), Text2, row({Label4, Label5}),
                row({Command27, Command4}), row({Label7, Command28, Item::stretch()}),
                row({Label8, Command1, Command2, Item::stretch()}),
                row({Image1, column({Command5, Command3})}), Item::stretch()});

    row({Frame2, side}, this);
}

void Form06::Form_Load()
{
    Text2->setText(app_.signedIn().userName);
    List1->clear();
    List1->addItems(loadRecipients(app_.serverName()).value_or(QStringList()));
}

// The sender is whoever is logged in now, not only whoever first opened the canvas in this run.
void Form06::showEvent(QShowEvent *event)
{
    const QString user = app_.signedIn().userName;
    if (!user.isEmpty())
        Text2->setText(user);
    QWidget::showEvent(event);
}

int Form06::selectedWidth() const
{
    const int width = widths_->checkedId();
    return width > 0 ? width : pic::kPenWidths[2];
}

QColor Form06::selectedColour() const
{
    const int index = colours_->checkedId();
    if (index == 26)
        return pic::kEraserPen;
    if (index < 0)
        return Qt::black;
    return pic::swatches()[index].pen;
}

void Form06::List1_Click()
{
    const QList<QListWidgetItem *> chosen = List1->selectedItems();
    if (!chosen.isEmpty())
        Text3->setText(chosen.first()->text());
}

void Form06::Picture1_MouseDown(QPoint at)
{
    drawing_ = true;
    penWidth_ = selectedWidth();
    Picture1->paintDot(at, penWidth_, selectedColour());
    last_ = at;
}

void Form06::Picture1_MouseMove(QPoint at)
{
    if (!drawing_)
        return;
    Picture1->paintSegment(last_, at, penWidth_, selectedColour());
    last_ = at;
}

void Form06::Picture1_MouseUp(QPoint)
{
    drawing_ = false;
}

void Form06::Command27_Click()
{
    const QString title = Text1->text();
    const QString recipient = Text3->text();
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
    const QByteArray bmp = pic::toBmp(pic::signedCopy(Picture1->picture(), Text2->text()));
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
    Label4->setText(perumina::formatDate(now.date()));
    Label5->setText(perumina::formatTime(now.time()));
    app_.dialogs().message(pic::kSentMessage);
}

void Form06::Command4_Click()
{
    Picture1->clear();
}

void Form06::Command28_Click()
{
    goTo(app_.form10());
}
void Form06::Command1_Click()
{
    goTo(app_.form05());
}
void Form06::Command2_Click()
{
    goTo(app_.form09());
}
void Form06::Command5_Click()
{
    goTo(app_.menuScreen());
}

void Form06::Command3_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
