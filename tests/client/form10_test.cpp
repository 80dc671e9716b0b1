#include "client/ui/form05.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/menuscreen.h"
#include "picturesfixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QSignalSpy>

using namespace pictures_test;
using client::Form10;
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

    Form10 *viewer()
    {
        Form10 *form = app->form10();
        if (!form->isVisible()) {
            form->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        }
        return form;
    }

    void doubleClick(const QString &name)
    {
        Form10 *form = viewer();
        const auto items = form->File1->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QPoint at = form->File1->visualItemRect(items.first()).center();
        QTest::mouseClick(form->File1->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(form->File1->viewport(), Qt::LeftButton, {}, at);
    }

    static bool busyPointer()
    {
        return QGuiApplication::overrideCursor() &&
               QGuiApplication::overrideCursor()->shape() == Qt::WaitCursor;
    }

    // The colour the picture box shows at a point of the stored picture.
    QColor shownAt(QPoint inPicture)
    {
        QLabel *box = viewer()->Image1;
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
    Form10 *form = app->form10();
    EXPECT_EQ(form->Text1->text(), kTaro);
    QStringList names;
    for (int i = 0; i < form->File1->count(); ++i)
        names << form->File1->item(i)->text();
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("古い.JPG"), QStringLiteral("夏.jpg"), QStringLiteral("春.jpg")}));
    // Read once: a picture arriving later appears at the next start.
    storePicture(QStringLiteral("秋"), Qt::green);
    viewer();
    EXPECT_EQ(form->File1->count(), 3);
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
}

TEST_F(Viewer, anUnreachableServerGivesAnEmptyListWithoutAMessage)
{
    storePicture(QStringLiteral("春"), Qt::red);
    app->setServerName(QStringLiteral("GONE"));
    EXPECT_EQ(viewer()->File1->count(), 0);
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
    EXPECT_EQ(viewer()->Label2->text(), QStringLiteral("Label2"));
}

TEST_F(Viewer, showsAPictureSentFromTheCanvasStretchedIntoTheBox)
{
    client::Form06 *form = canvas();
    form->Opt(11)->click(); // red
    form->Option5->click();
    stroke({{100, 100}, {300, 100}});
    send(kTaro, QStringLiteral("春"));
    form->hide();
    fakes.dialogs.shown.clear();
    // The administrator's folder holds the very same file.
    const auto paths = pic::paths(kServer, kTaro, QStringLiteral("春"));
    EXPECT_EQ(site.bytes(paths.adminCopy), site.bytes(paths.recipientCopy));

    EXPECT_EQ(viewer()->Image1->pixmap().size(), QSize(512, 384)); // the placeholder
    doubleClick(QStringLiteral("春.jpg"));
    // The load runs on: the hourglass and the animation are up until it is done.
    EXPECT_TRUE(viewer()->isLoading());
    EXPECT_TRUE(busyPointer());
    EXPECT_TRUE(viewer()->Animation1->isVisible());
    EXPECT_EQ(viewer()->Text2->text(), QStringLiteral("春.jpg"));
    QTRY_VERIFY(!viewer()->isLoading());
    EXPECT_FALSE(busyPointer());
    EXPECT_FALSE(viewer()->Animation1->isVisible());
    EXPECT_EQ(viewer()->Image1->pixmap().size(), QSize(pic::kWidth, pic::kHeight));
    EXPECT_TRUE(viewer()->Image1->hasScaledContents());
    EXPECT_EQ(viewer()->Image1->size(), QSize(649, 481));
    EXPECT_EQ(shownAt({200, 100}), QColor(Qt::red));
    EXPECT_EQ(shownAt({200, 200}), QColor(Qt::white));
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty());
}

TEST_F(Viewer, eachDoubleClickReplacesTheShownPicture)
{
    storePicture(QStringLiteral("赤"), Qt::red);
    storePicture(QStringLiteral("青"), Qt::blue);
    QSignalSpy loaded(viewer(), &Form10::pictureLoaded);
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
    Form10 *form = viewer();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    form->File1->setFocus(Qt::TabFocusReason);
    QStringList order;
    for (int i = 0; i < 6; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"Command1", "Command2", "Command4", "Command7", "Command3", "File1"}));

    QSignalSpy loaded(form, &Form10::pictureLoaded);
    QTest::keyClick(form->File1, Qt::Key_Return);
    QTRY_COMPARE(loaded.count(), 1);
    EXPECT_EQ(form->Text2->text(), QStringLiteral("赤.jpg"));
    EXPECT_EQ(shownAt({50, 50}), QColor(Qt::red));
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(app->hasForm09() && app->form09()->isVisible());
}

TEST_F(Viewer, aPictureThatCannotBeLoadedIsReportedAndTheBusySignsGo)
{
    storePicture(QStringLiteral("消える"), Qt::red);
    site.writeBytes(userFolder(kTaro) + QStringLiteral("\\文字.jpg"),
                    testing_support::sjis(QStringLiteral("絵ではない")));
    QSignalSpy loaded(viewer(), &Form10::pictureLoaded);
    for (const QString &name : {QStringLiteral("文字.jpg"), QStringLiteral("消える.jpg")}) {
        SCOPED_TRACE(name.toStdString());
        fakes.dialogs.shown.clear();
        QFile::remove(site.local(pic::paths(kServer, kTaro, QStringLiteral("消える")).recipientCopy));
        doubleClick(name);
        QTRY_VERIFY(!viewer()->isLoading());
        ASSERT_EQ(fakes.dialogs.shown.size(), 1);
        EXPECT_TRUE(fakes.dialogs.last().contains(name));
        EXPECT_TRUE(fakes.dialogs.last().contains(QStringLiteral("表示できませんでした")));
        EXPECT_FALSE(busyPointer());
        EXPECT_FALSE(viewer()->Animation1->isVisible());
        EXPECT_EQ(viewer()->Image1->pixmap().size(), QSize(512, 384));
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
    QSignalSpy loaded(viewer(), &Form10::pictureLoaded);
    doubleClick(QStringLiteral("春.jpg"));
    QTRY_COMPARE(loaded.count(), 1);
    viewer()->hide();
    // Showing it again for the same user keeps list and picture.
    viewer();
    EXPECT_EQ(viewer()->Image1->pixmap().size(), QSize(pic::kWidth, pic::kHeight));
    viewer()->hide();
    app->signIn({QStringLiteral("taro"), kHanako});
    viewer()->Label2->setText(kHanako);
    ASSERT_EQ(viewer()->File1->count(), 1);
    EXPECT_EQ(viewer()->File1->item(0)->text(), QStringLiteral("花.jpg"));
    EXPECT_EQ(viewer()->Text1->text(), kHanako);
    EXPECT_EQ(viewer()->Image1->pixmap().size(), QSize(512, 384));
}

TEST_F(Viewer, screenButtonsGoWhereTheySay)
{
    struct Case
    {
        const char *button;
        std::function<QWidget *()> next;
    };
    const Case cases[] = {
        {"Command1", [&] { return static_cast<QWidget *>(app->form06()); }},
        {"Command2", [&] { return static_cast<QWidget *>(app->form09()); }},
        {"Command4", [&] { return static_cast<QWidget *>(app->form05()); }},
        {"Command7", [&] { return static_cast<QWidget *>(app->menuScreen()); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        Form10 *form = viewer();
        QTest::mouseClick(form->findChild<QPushButton *>(QLatin1String(c.button)), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        EXPECT_TRUE(c.next()->isVisible());
        c.next()->hide();
    }
    // Enter presses "メールも見る".
    QTest::keyClick(viewer(), Qt::Key_Return);
    EXPECT_FALSE(app->form10()->isVisible());
    EXPECT_TRUE(app->form09()->isVisible());
    app->form09()->hide();
    EXPECT_FALSE(fakes.end.ended());
    QTest::mouseClick(viewer()->Command3, Qt::LeftButton);
    EXPECT_EQ(fakes.launcher.started, QStringList{QStringLiteral("c:\\group\\InboxSweep.exe")});
    EXPECT_TRUE(fakes.end.ended());
}

} // namespace
