#include "client/ui/canvasscreen.h"
#include "client/ui/form01.h"
#include "client/ui/form02.h"
#include "client/ui/form03.h"
#include "client/ui/form04.h"
#include "client/ui/mailscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "common/controls.h"
#include "shared/site.h"
#include "shared/ui/enterkey.h"
#include "startup_support.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;

namespace {

// Logs taro in and returns the menu.
client::Form04 *openMenu(ClientOnSite &s)
{
    client::ClientApp &app = s.start();
    QTest::mouseClick(app.form01()->Command2, Qt::LeftButton);
    app.form03()->Text1->setText("taro");
    app.form03()->Text2->setText("pw");
    QTest::mouseClick(app.form03()->Command1, Qt::LeftButton);
    // taro has no inbox on this site, which the reader created by the login reports.
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::inboxLoadMessage()});
    s.fakes.dialogs.shown.clear();
    return app.form04();
}

const QList<UserRecord> kTaro = {{"taro", "山田太郎", "pw"}};

TEST(MainMenu, enterOnAFreshMenuOpensTheMailScreen)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->Option1->isChecked());
    // The key goes where the freshly opened window put the focus.
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    client::MailScreen *mail = s.app->mailScreen();
    EXPECT_TRUE(mail->isVisible());
    // The mail screen taking the focus names no recipient.
    mail->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mail));
    EXPECT_TRUE(testing_support::control<QLineEdit>(mail, "recipientBox")->text().isEmpty());
}

TEST(MainMenu, eachScreenChoiceHidesTheMenuAndShowsItsScreen)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    const std::pair<QRadioButton *, QWidget *> choices[] = {{menu->Option2, s.app->readerScreen()},
                                                            {menu->Option3, s.app->canvasScreen()},
                                                            {menu->Option4, s.app->viewerScreen()}};
    for (const auto &[option, screen] : choices) {
        menu->show();
        option->setChecked(true);
        QTest::mouseClick(menu->Command1, Qt::LeftButton);
        EXPECT_FALSE(menu->isVisible()) << option->objectName().toStdString();
        EXPECT_TRUE(screen->isVisible()) << option->objectName().toStdString();
        screen->hide();
    }
    // Coming back keeps the choice.
    menu->show();
    EXPECT_TRUE(menu->Option4->isChecked());
}

TEST(MainMenu, boardsAreStartedByBareNameAndTheMenuStays)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    s.fakes.launcher.started.clear();
    menu->Option5->setChecked(true);
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    menu->Option6->setChecked(true);
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    menu->Option7->setChecked(true);
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    EXPECT_EQ(s.fakes.launcher.started,
              (QStringList{"DayBoardC.exe", "LunchBoardC.exe", "LunchBoardC.exe", "MonthBoardC.exe"}));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(s.fakes.dialogs.shown.isEmpty());
}

TEST(MainMenu, aBoardThatCannotStartIsNamedInAMessage)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    s.fakes.launcher.failing.insert("LunchBoardC.exe");
    menu->Option6->setChecked(true);
    QTest::mouseClick(menu->Command1, Qt::LeftButton);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.fakes.dialogs.last().contains("LunchBoardC.exe"));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(s.fakes.end.ended());
}

TEST(MainMenu, backShowsTheLoginScreenAndQuitSweepsAndEnds)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    QTest::mouseClick(menu->Command3, Qt::LeftButton);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(s.app->form03()->isVisible());
    EXPECT_EQ(s.app->signedIn().userName, "taro");
    s.app->form03()->hide();
    menu->show();
    s.fakes.launcher.started.clear();
    QTest::mouseClick(menu->Command2, Qt::LeftButton);
    EXPECT_EQ(s.fakes.launcher.started, QStringList{perumina::local::kSweeper});
    EXPECT_TRUE(s.fakes.end.ended());
}

TEST(MainMenu, closingTheWindowSweepsAndEnds)
{
    ClientOnSite s(kTaro);
    client::Form04 *menu = openMenu(s);
    s.fakes.launcher.started.clear();
    menu->close();
    EXPECT_EQ(s.fakes.launcher.started, QStringList{perumina::local::kSweeper});
    EXPECT_TRUE(s.fakes.end.ended());
}

// Enter on a focused 終了 or 戻る presses that button, never the screen's default button (which on the
// registration screen would record the user and end the program).
TEST(MainMenu, enterOnAFocusedQuitOrBackButtonPressesThatButton)
{
    using Screen = QWidget *(*)(client::ClientApp &);
    struct Row
    {
        Screen screen;
        const char *button;
        Screen next; // null: the button ends the program, or on the mail screen only starts the sweeper
    };
    const auto welcome = [](client::ClientApp &a) -> QWidget * { return a.form01(); };
    const auto registration = [](client::ClientApp &a) -> QWidget * { return a.form02(); };
    const auto login = [](client::ClientApp &a) -> QWidget * { return a.form03(); };
    const auto menu = [](client::ClientApp &a) -> QWidget * { return a.form04(); };
    const auto mail = [](client::ClientApp &a) -> QWidget * { return a.mailScreen(); };
    const auto canvas = [](client::ClientApp &a) -> QWidget * { return a.canvasScreen(); };
    const auto reader = [](client::ClientApp &a) -> QWidget * { return a.readerScreen(); };
    const auto viewer = [](client::ClientApp &a) -> QWidget * { return a.viewerScreen(); };
    const Row rows[] = {
        {welcome, "Command4", nullptr},      {registration, "Command5", nullptr},
        {registration, "Command7", welcome}, {login, "Command7", welcome},
        {menu, "Command2", nullptr},         {menu, "Command3", login},
        {mail, "quitButton", nullptr},       {mail, "backButton", menu},
        {canvas, "quitButton", nullptr},     {canvas, "backButton", menu},
        {reader, "quitButton", nullptr},     {reader, "backButton", menu},
        {viewer, "quitButton", nullptr},     {viewer, "backButton", menu},
    };
    for (const Row &row : rows) {
        ClientOnSite s(kTaro);
        openMenu(s)->hide();
        QWidget *screen = row.screen(*s.app);
        const std::string where = screen->objectName().toStdString() + "." + row.button;
        screen->show();
        auto *button = screen->findChild<QPushButton *>(row.button);
        ASSERT_NE(button, nullptr) << where;
        ASSERT_NE(button, perumina::kit::EnterKey::of(screen)->defaultButton()) << where;
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(s.fakes.dialogs.shown.isEmpty()) << where;
        const bool mailQuit = screen == s.app->mailScreen() && row.next == nullptr;
        if (mailQuit) {
            EXPECT_EQ(s.fakes.launcher.started.size(), 2) << where; // the sweeper, at start and now
        }
        if (row.next) {
            EXPECT_FALSE(screen->isVisible()) << where;
            EXPECT_TRUE(row.next(*s.app)->isVisible()) << where;
        }
        EXPECT_EQ(s.fakes.end.ended(), row.next == nullptr && !mailQuit) << where;
    }
}

} // namespace
