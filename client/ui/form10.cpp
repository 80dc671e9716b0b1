#include "client/ui/form10.h"

#include "client/core/illustration.h"
#include "client/ui/clientapp.h"
#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/menuscreen.h"
#include "shared/picture.h"
#include "shared/site.h"

#include "shared/ui/enterkey.h"
#include "shared/ui/formkit.h"

#include <QGuiApplication>
#include <QPainter>
#include <QThread>

namespace client {

namespace pic = illustration;

// What the picture box shows before the first double-click: a 512 by 384 frame with a hint.
static QPixmap placeholder()
{
    QPixmap pixmap(512, 384);
    pixmap.fill(QColor(240, 248, 255));
    QPainter painter(&pixmap);
    painter.setPen(QPen(QColor(160, 192, 224), 6));
    painter.drawRect(QRect(3, 3, 505, 377));
    painter.setFont(perumina::kit::face(perumina::kit::Face::Pop, 28));
    painter.setPen(QColor(96, 128, 176));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("イラスト"));
    return pixmap;
}

Form10::Form10(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "Form10", kScreenCaption);
    const QFont pop = face(Face::Pop, 11);
    const QFont gothic = face(Face::PGothic);
    Label2 = label(this, "Label2", QStringLiteral("Label2"), {}, face(Face::Pop, 14));
    Label1 = label(this, "Label1", QStringLiteral("さんに届いているイラストです。"), {}, face(Face::Pop, 14));
    File1 = list(this, "File1", {}, gothic);
    File1->setFixedWidth(260);
    // Working fields; they lie under the file list and are never seen.
    Text1 = textBox(this, "Text1", {}, gothic, QStringLiteral("Text1"));
    Text2 = textBox(this, "Text2", {}, gothic, QStringLiteral("Text2"));
    Text1->hide();
    Text2->hide();
    Label3 = label(this, "Label3", QStringLiteral("ダブルクリックすると下に表示されます。"));
    Label3->setWordWrap(true);
    Label4 = label(this, "Label4", QStringLiteral("ダウンロードには8秒間ほどかかります。"));
    Label4->setWordWrap(true);
    setTextColour(Label4, Qt::red);
    Animation1 = make<QProgressBar>(this, "Animation1");
    Animation1->setRange(0, 0); // no end: the bar only moves to show that a picture is on its way
    Animation1->setTextVisible(false);
    Animation1->setFixedWidth(260);
    Animation1->hide();
    // 9735 by 7215 twips, at 15 twips a pixel.
    Image1 = image(this, "Image1", placeholder());
    Image1->setFixedSize(649, 481);
    Image1->setScaledContents(true);
    Image1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Command1 = colourButton(this, "Command1", QStringLiteral("イラストを描く"), 0x00ffff, {}, pop);
    Command2 = colourButton(this, "Command2", QStringLiteral("メールも見る"), 0x80ff80, {}, pop);
    Command2->setDefault(true);
    Command4 = colourButton(this, "Command4", QStringLiteral("メールを送る"), 0xff4040, {}, pop);
    Command3 = colourButton(this, "Command3", QStringLiteral("終了"), 0xffc0c0, {}, pop);
    Command7 = colourButton(this, "Command7", QStringLiteral("ようこそへ戻る"), 0xc0ffc0, {}, pop);

    column({row({Label2, Label1, Item::stretch()}),
            row({column({{File1, 1}, Label3, Label4, Animation1}), Image1}),
            row({Command1, Command2, Command4, Command7, Command3})},
           this);

    // Tab follows the buttons from left to right, as they stand.
    setTabOrder(Command4, Command7);
    setTabOrder(Command7, Command3);
    // Enter on the list opens the highlighted picture, as a double-click does.
    perumina::kit::EnterKey::of(this)->setEnterAction(File1, [this] { File1_DblClick(); });

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
    goTo(app_.menuScreen());
}

void Form10::Command3_Click()
{
    app_.sweepAndEnd();
}

} // namespace client
