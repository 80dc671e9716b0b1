#include "client/ui/form06.h"

#include "client/core/illustration.h"
#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/drawingsurface.h"
#include "client/ui/form04.h"
#include "client/ui/form05.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace client {

namespace pic = illustration;

static const QString kTaken = QStringLiteral("……は既に存在しています。別のタイトルに変えて下さい。");

static QFont popFont(double points = 0)
{
    QFont font;
    font.setFamilies({QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体"), QStringLiteral("IPAGothic")});
    if (points > 0)
        font.setPointSizeF(points);
    return font;
}

static QFont gothicFont()
{
    QFont font;
    font.setFamilies(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    return font;
}

template <typename W> static W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

static QLabel *label(QWidget *parent, const char *name, const QString &text, double points = 0)
{
    QLabel *l = named(new QLabel(text, parent), name);
    l->setFont(popFont(points));
    return l;
}

static QPushButton *button(QWidget *parent, const char *name, const QString &text, const QString &colour)
{
    QPushButton *b = named(new QPushButton(text, parent), name);
    b->setFont(popFont());
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080;"
                                    " border-radius: 3px; padding: 4px 10px; }"
                                    "QPushButton:pressed { border: 2px inset #606060; }"
                                    "QPushButton:default { border: 2px solid #000000; }")
                         .arg(colour));
    return b;
}

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
    setObjectName(QStringLiteral("Form06"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));
    buildScreen();

    connect(List1, &QListWidget::itemClicked, this, &Form06::List1_Click);
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

void Form06::buildScreen()
{
    Frame2 = named(new QFrame(this), "Frame2");
    Frame2->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto *frame2 = new QGridLayout(Frame2);
    frame2->setSpacing(4);

    // Tool panel: the width buttons, each beside its name, the names growing with the width.
    auto *tools = new QGridLayout;
    tools->setVerticalSpacing(2);
    for (int i = 1; i <= 9; ++i)
        Line.append(rule(Frame2, i, i == 7 || i == 9 ? QFrame::VLine : QFrame::HLine));
    Label10 = label(Frame2, "Label10", QStringLiteral("太さ"), 12);
    Label12 = label(Frame2, "Label12", QStringLiteral("↓"), 12);
    Label10->setAlignment(Qt::AlignCenter);
    Label12->setAlignment(Qt::AlignCenter);
    tools->addWidget(Label10, 0, 0, 1, 2);
    tools->addWidget(Label12, 1, 0, 1, 2);
    tools->addWidget(Line[0], 2, 0, 1, 2);
    widths_ = new QButtonGroup(this);
    const char *optionNames[] = {"Option1", "Option2", "Option3", "Option4", "Option5"};
    const char *labelNames[] = {"Label9", "Label14", "Label15", "Label16", "Label17"};
    const QString widthNames[] = {QStringLiteral("極細"), QStringLiteral("中細"), QStringLiteral("普通"),
                                  QStringLiteral("中太"), QStringLiteral("極太")};
    QRadioButton **options[] = {&Option1, &Option2, &Option3, &Option4, &Option5};
    QLabel **labels[] = {&Label9, &Label14, &Label15, &Label16, &Label17};
    for (int i = 0; i < 5; ++i) {
        *options[i] = named(new QRadioButton(Frame2), optionNames[i]);
        *labels[i] = label(Frame2, labelNames[i], widthNames[i], 9 + 1.5 * i);
        widths_->addButton(*options[i], pic::kPenWidths[i]);
        tools->addWidget(*options[i], 3 + 2 * i, 0);
        tools->addWidget(*labels[i], 3 + 2 * i, 1);
        tools->addWidget(Line[1 + i], 4 + 2 * i, 0, 1, 2);
    }
    Option3->setChecked(true);
    tools->setRowStretch(14, 1);
    frame2->addLayout(tools, 0, 0, 1, 3);
    frame2->addWidget(Line[6], 0, 3);

    Picture1 = new DrawingSurface(pic::kWidth, pic::kHeight, Frame2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    frame2->addWidget(Picture1, 0, 4, 1, 13);
    frame2->addWidget(Line[7], 1, 0, 1, 17);

    // The colours: the eraser at the left, "色→", then "1" to "13" above and "14" to "26" below.
    colours_ = new QButtonGroup(this);
    const auto &all = pic::swatches();
    for (int i = 0; i < 27; ++i) {
        const bool eraser = i == 26;
        auto *opt = new QPushButton(eraser ? QStringLiteral("消しゴム") : all[i].caption, Frame2);
        opt->setObjectName(QStringLiteral("Opt%1").arg(6 + i));
        opt->setCheckable(true);
        opt->setFont(popFont(eraser ? 10 : 9));
        const QColor face = eraser ? QColor(192, 255, 192) : all[i].swatch;
        const QColor text = eraser ? QColor(128, 128, 128) : (face.lightness() < 110 ? Qt::white : Qt::black);
        // The eraser's caption is four characters wide; the swatches hold one or two digits.
        const int minWidth = eraser ? QFontMetrics(opt->font()).horizontalAdvance(opt->text()) + 10 : 26;
        opt->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid #808080;"
                           " min-width: %3px; min-height: 22px; padding: 1px; }"
                           "QPushButton:checked { border: 3px solid #ff6000; }")
                .arg(face.name(), text.name(), QString::number(minWidth)));
        colours_->addButton(opt, i);
        opts_.append(opt);
    }
    Label11 = label(Frame2, "Label11", QStringLiteral("色→"), 11);
    frame2->addWidget(opts_[26], 2, 0, 2, 1);
    frame2->addWidget(Line[8], 2, 1, 2, 1);
    frame2->addWidget(Label11, 2, 2, 2, 2);
    for (int i = 0; i < 26; ++i)
        frame2->addWidget(opts_[i], 2 + i / 13, 4 + i % 13);
    Opt(19)->setChecked(true);

    // Right column: recipient, title, sender, the send and the screen buttons.
    Frame1 = named(new QGroupBox(this), "Frame1");
    auto *frame1 = new QVBoxLayout(Frame1);
    Label1 = label(Frame1, "Label1", QStringLiteral("誰に見せますか？"), 12);
    List1 = named(new QListWidget(Frame1), "List1");
    List1->setFont(gothicFont());
    List1->setMinimumHeight(120);
    frame1->addWidget(Label1);
    frame1->addWidget(List1);

    const auto edit = [this](const char *name, const QString &text) {
        QLineEdit *e = named(new QLineEdit(text, this), name);
        e->setFont(gothicFont());
        return e;
    };
    Text3 = edit("Text3", QString());
    Label6 = label(this, "Label6", QStringLiteral("さんへ"));
    Text2 = edit("Text2", QStringLiteral("送信者"));
    Label2 = label(this, "Label2", QStringLiteral("件　名"));
    Text1 = edit("Text1", QString());
    Label4 = label(this, "Label4", QStringLiteral("送信日"));
    Label5 = label(this, "Label5", QStringLiteral("送信時刻"));
    Command27 = button(this, "Command27", QStringLiteral("送信"), QStringLiteral("#ffc0c0"));
    Command27->setDefault(true);
    Command4 = button(this, "Command4", QStringLiteral("全消去"), QStringLiteral("#ff4040"));
    Label7 = label(this, "Label7", QStringLiteral("イラストを"));
    Command28 = button(this, "Command28", QStringLiteral("見る"), QStringLiteral("#80ff80"));
    Label8 = label(this, "Label8", QStringLiteral("メールを"));
    Command1 = button(this, "Command1", QStringLiteral("書く"), QStringLiteral("#80ff80"));
    Command2 = button(this, "Command2", QStringLiteral("読む"), QStringLiteral("#80ff80"));
    Command3 = button(this, "Command3", QStringLiteral("終了"), QStringLiteral("#ffc0ff"));
    Command5 = button(this, "Command5", QStringLiteral("ようこそへ戻る"), QStringLiteral("#c0ffff"));
    Image1 = named(new QLabel(this), "Image1");
    Image1->setPixmap(decoration());

    auto *side = new QVBoxLayout;
    side->addWidget(Frame1);
    auto *to = new QHBoxLayout;
    to->addWidget(Text3, 1);
    to->addWidget(Label6);
    side->addLayout(to);
    auto *title = new QHBoxLayout;
    title->addWidget(Label2);
    title->addWidget(Text1, 1);
    side->addLayout(title);
    side->addWidget(Text2);
    auto *when = new QHBoxLayout;
    when->addWidget(Label4);
    when->addWidget(Label5);
    side->addLayout(when);
    auto *send = new QHBoxLayout;
    send->addWidget(Command27);
    send->addWidget(Command4);
    side->addLayout(send);
    auto *pictures = new QHBoxLayout;
    pictures->addWidget(Label7);
    pictures->addWidget(Command28);
    pictures->addStretch();
    side->addLayout(pictures);
    auto *mail = new QHBoxLayout;
    mail->addWidget(Label8);
    mail->addWidget(Command1);
    mail->addWidget(Command2);
    mail->addStretch();
    side->addLayout(mail);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Image1);
    auto *leave = new QVBoxLayout;
    leave->addWidget(Command5);
    leave->addWidget(Command3);
    bottom->addLayout(leave);
    side->addLayout(bottom);
    side->addStretch();

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(Frame2);
    layout->addLayout(side);
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
    if (QListWidgetItem *item = List1->currentItem())
        Text3->setText(item->text());
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
    goTo(app_.form04());
}

void Form06::Command3_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
