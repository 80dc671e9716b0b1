#include "client/ui/viewerscreen.h"

#include "client/core/illustration.h"
#include "client/ui/canvasscreen.h"
#include "client/ui/clientapp.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
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

ViewerScreen::ViewerScreen(ClientApp &app, QWidget *parent) : Screen(app, parent)
{
    using namespace perumina::kit;
    setUpForm(this, "ViewerScreen", kScreenCaption);
    const QFont pop = face(Face::Pop, 11);
    const QFont gothic = face(Face::PGothic);
    nameLabel = label(this, "nameLabel", QStringLiteral("Label2"), {}, face(Face::Pop, 14));
    picturesCaption = label(this, "picturesCaption", QStringLiteral("さんに届いているイラストです。"), {},
                            face(Face::Pop, 14));
    pictureList = list(this, "pictureList", {}, gothic);
    pictureList->setFixedWidth(260);
    openHintCaption =
        label(this, "openHintCaption", QStringLiteral("ダブルクリックすると下に表示されます。"));
    openHintCaption->setWordWrap(true);
    waitHintCaption = label(this, "waitHintCaption", QStringLiteral("ダウンロードには8秒間ほどかかります。"));
    waitHintCaption->setWordWrap(true);
    setTextColour(waitHintCaption, Qt::red);
    loadingBar = make<QProgressBar>(this, "loadingBar");
    loadingBar->setRange(0, 0); // no end: the bar only moves to show that a picture is on its way
    loadingBar->setTextVisible(false);
    loadingBar->setFixedWidth(260);
    loadingBar->hide();
    // 9735 by 7215 twips, at 15 twips a pixel.
    pictureImage = image(this, "pictureImage", placeholder());
    pictureImage->setFixedSize(649, 481);
    pictureImage->setScaledContents(true);
    pictureImage->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    drawButton = colourButton(this, "drawButton", QStringLiteral("イラストを描く"), 0x00ffff, {}, pop);
    readMailButton = colourButton(this, "readMailButton", QStringLiteral("メールも見る"), 0x80ff80, {}, pop);
    readMailButton->setDefault(true);
    writeMailButton =
        colourButton(this, "writeMailButton", QStringLiteral("メールを送る"), 0xff4040, {}, pop);
    quitButton = colourButton(this, "quitButton", QStringLiteral("終了"), 0xffc0c0, {}, pop);
    backButton = colourButton(this, "backButton", QStringLiteral("ようこそへ戻る"), 0xc0ffc0, {}, pop);

    column({row({nameLabel, picturesCaption, Item::stretch()}),
            row({column({{pictureList, 1}, openHintCaption, waitHintCaption, loadingBar}), pictureImage}),
            row({drawButton, readMailButton, writeMailButton, backButton, quitButton})},
           this);

    // Tab follows the buttons from left to right, as they stand.
    setTabOrder(writeMailButton, backButton);
    setTabOrder(backButton, quitButton);
    // Enter on the list opens the highlighted picture, as a double-click does.
    perumina::kit::EnterKey::of(this)->setEnterAction(pictureList, [this] { openPicture(); });

    connect(pictureList, &QListWidget::itemDoubleClicked, this, &ViewerScreen::openPicture);
    connect(drawButton, &QPushButton::clicked, this, &ViewerScreen::showCanvas);
    connect(readMailButton, &QPushButton::clicked, this, &ViewerScreen::showReader);
    connect(writeMailButton, &QPushButton::clicked, this, &ViewerScreen::showMailScreen);
    connect(quitButton, &QPushButton::clicked, this, &ViewerScreen::quit);
    connect(backButton, &QPushButton::clicked, this, &ViewerScreen::backToMenu);

    load();
}

// A load still running holds this screen's fields; it ends before they go.
ViewerScreen::~ViewerScreen()
{
    if (loader_) {
        loader_->wait();
        delete loader_;
        QGuiApplication::restoreOverrideCursor();
    }
}

void ViewerScreen::load()
{
    listedFor_ = app_.signedIn().fullName;
    if (!listedFor_.isEmpty())
        nameLabel->setText(listedFor_);
    pictureList->clear();
    // Server unreachable or folder missing: the list stays empty, without a message.
    pictureList->addItems(pic::list(app_.serverName(), listedFor_).value_or(QStringList()));
}

// Another user logged in since the list was read: that user must see their own pictures, not the
// previous user's list or the picture last shown to them.
void ViewerScreen::showEvent(QShowEvent *event)
{
    const QString user = app_.signedIn().fullName;
    if (!user.isEmpty()) {
        nameLabel->setText(user);
        if (user != listedFor_ && !loader_) {
            load();
            openedFile_.clear();
            pictureImage->setPixmap(placeholder());
        }
    }
    QWidget::showEvent(event);
}

void ViewerScreen::openPicture()
{
    QListWidgetItem *item = pictureList->currentItem();
    if (!item || loader_)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    loadingBar->show();
    openedFile_ = item->text();
    const QString path = perumina::site::userFile(app_.serverName(), listedFor_, openedFile_);
    // Reading from the share may take seconds; the screen keeps painting the animation meanwhile.
    loaded_.reset();
    loader_ = QThread::create([this, path] { loaded_ = perumina::loadPicture(path); });
    connect(loader_, &QThread::finished, this, &ViewerScreen::loadFinished);
    loader_->start();
}

void ViewerScreen::loadFinished()
{
    loader_->wait();
    loader_->deleteLater();
    loader_ = nullptr;
    if (loaded_)
        pictureImage->setPixmap(QPixmap::fromImage(*loaded_));
    loadingBar->hide();
    QGuiApplication::restoreOverrideCursor();
    if (!loaded_)
        app_.dialogs().message(QStringLiteral("「%1」を表示できませんでした。ファイルが消されたか、"
                                              "サーバーとの接続が切れている可能性があります。")
                                   .arg(openedFile_),
                               perumina::Dialogs::Icon::Exclamation);
    emit pictureLoaded(loaded_.has_value());
}

void ViewerScreen::showCanvas()
{
    goTo(app_.canvasScreen());
}
void ViewerScreen::showReader()
{
    goTo(app_.readerScreen());
}
void ViewerScreen::showMailScreen()
{
    goTo(app_.mailScreen());
}
void ViewerScreen::backToMenu()
{
    goTo(app_.menuScreen());
}

void ViewerScreen::quit()
{
    app_.sweepAndEnd();
}

} // namespace client
