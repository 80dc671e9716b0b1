#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "picturesfixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSignalSpy>

using namespace pictures_test;
using client::ViewerScreen;
namespace pic = client::illustration;

namespace {

class Viewer : public PicturesTest
{
protected:
    // A picture of one colour with a mark, stored in taro's folder as the canvas stores it.
    void storePicture(const QString &title, const QColor &colour)
    {
        QImage image(pic::kWidth, pic::kHeight, QImage::Format_RGB32);
        image.fill(colour);
        const auto outcome = pic::store(pic::toBmp(image), kServer, kTaro, title);
        ASSERT_EQ(outcome.result, pic::StoreResult::Stored) << outcome.error.toStdString();
    }

    ViewerScreen *viewer()
    {
        ViewerScreen *form = app->viewerScreen();
        if (!form->isVisible()) {
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        }
        return form;
    }

    // A control of the viewer, by its name.
    template <typename T> T *onViewer(const char *name)
    {
        return testing_support::control<T>(viewer(), QLatin1String(name));
    }
    QListWidget *pictureList() { return onViewer<QListWidget>("pictureList"); }
    QLabel *pictureImage() { return onViewer<QLabel>("pictureImage"); }
    // Up from an opening until its picture is shown or reported.
    bool loading() { return !onViewer<QProgressBar>("loadingBar")->isHidden(); }

    void doubleClick(const QString &name)
    {
        QListWidget *list = pictureList();
        const auto items = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QPoint at = list->visualItemRect(items.first()).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    static bool busyPointer()
    {
        return QGuiApplication::overrideCursor() &&
               QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }

    // The colour the picture box shows at a point of the stored picture.
    QColor shownAt(QPoint inPicture)
    {
        QLabel *box = pictureImage();
        const QImage shown = box->grab().toImage();
        const QRect inner = box->contentsRect();
        const QPoint at(inner.left() + inPicture.x() * inner.width() / pic::kWidth,
                        inner.top() + inPicture.y() * inner.height() / pic::kHeight);
        return shown.pixelColor(at);
    }
};

TEST_F(Viewer, listsOnlyTheJpgNamesOfTheUserFolderWhenCreated)
{
    site.writeBytes(userFolder(kTaro) + QStringLiteral("\\受信箱.txt"), {});
    storePicture(QStringLiteral("春"), Qt::red);
    storePicture(QStringLiteral("夏"), Qt::blue);
    site.writeBytes(userFolder(kTaro) + QStringLiteral("\\古い.JPG"), "x");
    QListWidget *list = testing_support::control<QListWidget>(app->viewerScreen(), "pictureList");
    EXPECT_EQ(testing_support::control<QLabel>(app->viewerScreen(), "nameLabel")->text(), kTaro);
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names << list->item(i)->text();
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("古い.JPG"), QStringLiteral("夏.jpg"), QStringLiteral("春.jpg")}));
    // Read once: a picture arriving later appears at the next start.
    storePicture(QStringLiteral("秋"), Qt::green);
    viewer();
    EXPECT_EQ(list->count(), 3);
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
}

TEST_F(Viewer, anUnreachableServerGivesAnEmptyListWithoutAMessage)
{
    storePicture(QStringLiteral("春"), Qt::red);
    app->setServerName(QStringLiteral("GONE"));
    EXPECT_EQ(pictureList()->count(), 0);
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
    EXPECT_EQ(onViewer<QLabel>("nameLabel")->text(), kTaro);
}

TEST_F(Viewer, showsAPictureSentFromTheCanvasStretchedIntoTheBox)
{
    client::CanvasScreen *form = canvas();
    onCanvas("colourButton6")->click(); // red
    onCanvas<QRadioButton>("widthOption5")->click();
    stroke({{100, 100}, {300, 100}});
    send(kTaro, QStringLiteral("春"));
    form->hide();
    fakes.dialogs.shown.clear();
    // The administrator's folder holds the very same file.
    const auto paths = pic::paths(kServer, kTaro, QStringLiteral("春"));
    EXPECT_EQ(site.bytes(paths.adminCopy), site.bytes(paths.recipientCopy));

    EXPECT_EQ(pictureImage()->pixmap().size(), QSize(512, 384)); // the placeholder
    QSignalSpy loaded(viewer(), &ViewerScreen::pictureLoaded);
    doubleClick(QStringLiteral("春.jpg"));
    // The load runs on: the hourglass and the animation are up until it is done.
    EXPECT_TRUE(busyPointer());
    EXPECT_TRUE(onViewer<QProgressBar>("loadingBar")->isVisible());
    EXPECT_TRUE(loaded.isEmpty());
    QTRY_VERIFY(!loading());
    EXPECT_EQ(loaded.count(), 1);
    EXPECT_FALSE(busyPointer());
    EXPECT_FALSE(onViewer<QProgressBar>("loadingBar")->isVisible());
    EXPECT_EQ(pictureImage()->pixmap().size(), QSize(pic::kWidth, pic::kHeight));
    EXPECT_TRUE(pictureImage()->hasScaledContents());
    EXPECT_EQ(pictureImage()->size(), QSize(649, 481));
    EXPECT_EQ(shownAt({200, 100}), QColor(Qt::red));
    EXPECT_EQ(shownAt({200, 200}), QColor(Qt::white));
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
}

TEST_F(Viewer, eachDoubleClickReplacesTheShownPicture)
{
    storePicture(QStringLiteral("赤"), Qt::red);
    storePicture(QStringLiteral("青"), Qt::blue);
    QSignalSpy loaded(viewer(), &ViewerScreen::pictureLoaded);
    doubleClick(QStringLiteral("赤.jpg"));
    QTRY_COMPARE(loaded.count(), 1);
    EXPECT_EQ(shownAt({50, 50}), QColor(Qt::red));
    doubleClick(QStringLiteral("青.jpg"));
    EXPECT_TRUE(busyPointer());
    QTRY_COMPARE(loaded.count(), 2);
    EXPECT_EQ(loaded.at(1).at(0).toBool(), true);
    EXPECT_EQ(shownAt({50, 50}), QColor(Qt::blue));
    EXPECT_FALSE(busyPointer());
}

TEST_F(Viewer, tabFollowsTheButtonsAsTheyStandAndEnterOnTheListOpensThePicture)
{
    storePicture(QStringLiteral("赤"), Qt::red);
    ViewerScreen *form = viewer();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    pictureList()->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"drawButton", "readMailButton", "writeMailButton", "backButton",
                                  "quitButton", "pictureList"}));

    QSignalSpy loaded(form, &ViewerScreen::pictureLoaded);
    QTest::keyClick(pictureList(), Qt::Key_Return);
    QTRY_COMPARE(loaded.count(), 1);
    EXPECT_EQ(shownAt({50, 50}), QColor(Qt::red));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(app->hasReaderScreen() && app->readerScreen()->isVisible());
}

TEST_F(Viewer, aPictureThatCannotBeLoadedIsReportedAndTheBusySignsGo)
{
    storePicture(QStringLiteral("消える"), Qt::red);
    site.writeBytes(userFolder(kTaro) + QStringLiteral("\\文字.jpg"),
                    testing_support::sjis(QStringLiteral("絵ではない")));
    QSignalSpy loaded(viewer(), &ViewerScreen::pictureLoaded);
    for (const QString &name : {QStringLiteral("文字.jpg"), QStringLiteral("消える.jpg")}) {
        SCOPED_TRACE(name.toStdString());
        fakes.dialogs.shown.clear();
        QFile::remove(site.local(pic::paths(kServer, kTaro, QStringLiteral("消える")).recipientCopy));
        doubleClick(name);
        QTRY_VERIFY(!loading());
        ASSERT_EQ(fakes.dialogs.shown.size(), 1);
        EXPECT_TRUE(fakes.dialogs.last().contains(name));
        EXPECT_TRUE(fakes.dialogs.last().contains(QStringLiteral("表示できませんでした")));
        EXPECT_FALSE(busyPointer());
        EXPECT_FALSE(onViewer<QProgressBar>("loadingBar")->isVisible());
        EXPECT_EQ(pictureImage()->pixmap().size(), QSize(512, 384));
        EXPECT_EQ(loaded.last().at(0).toBool(), false);
    }
}

TEST_F(Viewer, anotherUserLoggingInSeesTheirOwnPictures)
{
    storePicture(QStringLiteral("春"), Qt::red);
    ASSERT_EQ(
        pic::store(pic::toBmp(QImage(10, 10, QImage::Format_RGB32)), kServer, kHanako, QStringLiteral("花"))
            .result,
        pic::StoreResult::Stored);
    QSignalSpy loaded(viewer(), &ViewerScreen::pictureLoaded);
    doubleClick(QStringLiteral("春.jpg"));
    QTRY_COMPARE(loaded.count(), 1);
    viewer()->hide();
    // Showing it again for the same user keeps list and picture.
    viewer();
    EXPECT_EQ(pictureImage()->pixmap().size(), QSize(pic::kWidth, pic::kHeight));
    viewer()->hide();
    app->signIn({QStringLiteral("taro"), kHanako});
    ASSERT_EQ(pictureList()->count(), 1);
    EXPECT_EQ(pictureList()->item(0)->text(), QStringLiteral("花.jpg"));
    EXPECT_EQ(onViewer<QLabel>("nameLabel")->text(), kHanako);
    EXPECT_EQ(pictureImage()->pixmap().size(), QSize(512, 384));
}

TEST_F(Viewer, screenButtonsGoWhereTheySay)
{
    struct Case
    {
        const char *button;
        std::function<QWidget *()> next;
    };
    const Case cases[] = {
        {"drawButton", [&] { return static_cast<QWidget *>(app->canvasScreen()); }},
        {"readMailButton", [&] { return static_cast<QWidget *>(app->readerScreen()); }},
        {"writeMailButton", [&] { return static_cast<QWidget *>(app->mailScreen()); }},
        {"backButton", [&] { return static_cast<QWidget *>(app->menuScreen()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        ViewerScreen *form = viewer();
        QTest::mouseClick(onViewer<QPushButton>(c.button), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(c.next()->isVisible());
        c.next()->hide();
    }
    // Enter presses "メールも見る".
    QTest::keyClick(viewer(), Qt::Key_Return);
    EXPECT_FALSE(app->viewerScreen()->isVisible());
    EXPECT_TRUE(app->readerScreen()->isVisible());
    app->readerScreen()->hide();
    EXPECT_FALSE(fakes.end.ended());
    QTest::mouseClick(onViewer<QPushButton>("quitButton"), Qt::LeftButton);
    EXPECT_EQ(fakes.launcher.started, QStringList{QStringLiteral("c:\\group\\InboxSweep.exe")});
    EXPECT_TRUE(fakes.end.ended());
}

} // namespace
