#include "client/ui/form10.h"

#include "client/core/illustration.h"
#include "client/ui/clientapp.h"
#include "client/ui/form04.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "shared/picture.h"
#include "shared/site.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QThread>
#include <QVBoxLayout>

namespace client {

namespace pic = illustration;

static QFont popFont(double points = 0)
{
    QFont font;
    font.setFamilies({QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体"), QStringLiteral("IPAGothic")});
    if (points > 0)
        font.setPointSizeF(points);
    return font;
}

template <typename W> static W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

static QPushButton *button(QWidget *parent, const char *name, const QString &text, const QString &colour)
{
    QPushButton *b = named(new QPushButton(text, parent), name);
    b->setFont(popFont(11));
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080;"
                                    " border-radius: 3px; padding: 6px 12px; }"
                                    "QPushButton:pressed { border: 2px inset #606060; }"
                                    "QPushButton:default { border: 2px solid #000000; }")
                         .arg(colour));
    return b;
}

// What the picture box shows before the first double-click: a 512 by 384 frame with a hint.
static QPixmap placeholder()
{
    QPixmap pixmap(512, 384);
    pixmap.fill(QColor(240, 248, 255));
    QPainter painter(&pixmap);
    painter.setPen(QPen(QColor(160, 192, 224), 6));
    painter.drawRect(QRect(3, 3, 505, 377));
    painter.setFont(popFont(28));
    painter.setPen(QColor(96, 128, 176));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("イラスト"));
    return pixmap;
}

Form10::Form10(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("グループウェア　（ぺる・み・な）"));

    Label2 = named(new QLabel(QStringLiteral("Label2"), this), "Label2");
    Label2->setFont(popFont(14));
    Label1 = named(new QLabel(QStringLiteral("さんに届いているイラストです。"), this), "Label1");
    Label1->setFont(popFont(14));
    File1 = named(new QListWidget(this), "File1");
    File1->setFixedWidth(260);
    QFont gothic;
    gothic.setFamilies(
        {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
    File1->setFont(gothic);
    // Working fields; they lie under the file list and are never seen.
    Text1 = named(new QLineEdit(QStringLiteral("Text1"), this), "Text1");
    Text2 = named(new QLineEdit(QStringLiteral("Text2"), this), "Text2");
    Text1->setFont(gothic);
    Text2->setFont(gothic);
    Text1->hide();
    Text2->hide();
    Label3 = named(new QLabel(QStringLiteral("ダブルクリックすると下に表示されます。"), this), "Label3");
    Label3->setWordWrap(true);
    Label4 = named(new QLabel(QStringLiteral("ダウンロードには8秒間ほどかかります。"), this), "Label4");
    Label4->setWordWrap(true);
    Label4->setStyleSheet(QStringLiteral("color: red;"));
    Animation1 = named(new QProgressBar(this), "Animation1");
    Animation1->setRange(0, 0); // no end: the bar only moves to show that a picture is on its way
    Animation1->setTextVisible(false);
    Animation1->setFixedWidth(260);
    Animation1->hide();
    // 9735 by 7215 twips, at 15 twips a pixel.
    Image1 = named(new QLabel(this), "Image1");
    Image1->setFixedSize(649, 481);
    Image1->setScaledContents(true);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Image1->setPixmap(placeholder());

    Command1 = button(this, "Command1", QStringLiteral("イラストを描く"), QStringLiteral("#00ffff"));
    Command2 = button(this, "Command2", QStringLiteral("メールも見る"), QStringLiteral("#80ff80"));
    Command2->setDefault(true);
    Command4 = button(this, "Command4", QStringLiteral("メールを送る"), QStringLiteral("#ff4040"));
    Command3 = button(this, "Command3", QStringLiteral("終了"), QStringLiteral("#ffc0c0"));
    Command7 = button(this, "Command7", QStringLiteral("ようこそへ戻る"), QStringLiteral("#c0ffc0"));

    auto *heading = new QHBoxLayout;
    heading->addWidget(Label2);
    heading->addWidget(Label1);
    heading->addStretch();
    auto *left = new QVBoxLayout;
    left->addWidget(File1, 1);
    left->addWidget(Label3);
    left->addWidget(Label4);
    left->addWidget(Animation1);
    auto *middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addWidget(Image1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {Command1, Command2, Command4, Command7, Command3})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addLayout(middle);
    layout->addLayout(buttons);

    connect(File1, &QListWidget::itemDoubleClicked, this, &Form10::File1_DblClick);
    connect(Command1, &QPushButton::clicked, this, &Form10::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form10::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form10::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form10::Command3_Click);
    connect(Command7, &QPushButton::clicked, this, &Form10::Command7_Click);

    Form_Load();
}

// A load still running holds this screen's fields; it ends before they go.
Form10::~Form10()
{
    if (loader_) {
        loader_->wait();
        delete loader_;
        QGuiApplication::restoreOverrideCursor();
    }
}

void Form10::Form_Load()
{
    Text1->setText(app_.signedIn().fullName);
    File1->clear();
    // Server unreachable or folder missing: the list stays empty, without a message.
    File1->addItems(pic::list(app_.serverName(), Text1->text()).value_or(QStringList()));
}

// Another user logged in since the list was read: that user must see their own pictures, not the
// previous user's list or the picture last shown to them.
void Form10::showEvent(QShowEvent *event)
{
    const QString user = app_.signedIn().fullName;
    if (!user.isEmpty() && user != Text1->text() && !loader_) {
        Form_Load();
        Text2->setText(QStringLiteral("Text2"));
        Image1->setPixmap(placeholder());
    }
    QWidget::showEvent(event);
}

void Form10::File1_DblClick()
{
    QListWidgetItem *item = File1->currentItem();
    if (!item || loader_)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    Animation1->show();
    Text2->setText(item->text());
    const QString path = perumina::site::userFile(app_.serverName(), Text1->text(), Text2->text());
    // Reading from the share may take seconds; the screen keeps painting the animation meanwhile.
    loaded_.reset();
    loader_ = QThread::create([this, path] { loaded_ = perumina::loadPicture(path); });
    connect(loader_, &QThread::finished, this, &Form10::loadFinished);
    loader_->start();
}

void Form10::loadFinished()
{
    loader_->wait();
    loader_->deleteLater();
    loader_ = nullptr;
    if (loaded_)
        Image1->setPixmap(QPixmap::fromImage(*loaded_));
    Animation1->hide();
    QGuiApplication::restoreOverrideCursor();
    if (!loaded_)
        app_.dialogs().message(QStringLiteral("「%1」を表示できませんでした。ファイルが消されたか、"
                                              "サーバーとの接続が切れている可能性があります。")
                                   .arg(Text2->text()),
                               perumina::Dialogs::Icon::Exclamation);
    emit pictureLoaded(loaded_.has_value());
}

void Form10::Command1_Click()
{
    goTo(app_.form06());
}
void Form10::Command2_Click()
{
    goTo(app_.form09());
}
void Form10::Command4_Click()
{
    goTo(app_.form05());
}
void Form10::Command7_Click()
{
    goTo(app_.form04());
}

void Form10::Command3_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
