#include "client/ui/canvasscreen.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/viewerscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "shared/site.h"
#include "shared/ui/enterkey.h"
#include "startup_support.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;
using testing_support::control;

namespace {

// Logs taro in and returns the menu.
client::MenuScreen *openMenu(ClientOnSite &s)
{
    client::ClientApp &app = s.start();
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "registeredUserButton"), Qt::LeftButton);
    control<QLineEdit>(app.loginScreen(), "userNameBox")->setText("taro");
    control<QLineEdit>(app.loginScreen(), "passwordBox")->setText("pw");
    QTest::mouseClick(control<QPushButton>(app.loginScreen(), "okButton"), Qt::LeftButton);
    // taro has no inbox on this site, which the reader created by the login reports.
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::inboxLoadMessage()});
    s.fakes.dialogs.shown.clear();
    return app.menuScreen();
}

const QList<UserRecord> kTaro = {{"taro", "山田太郎", "pw"}};

void pressNext(client::MenuScreen *menu)
{
    QTest::mouseClick(control<QPushButton>(menu, "nextButton"), Qt::LeftButton);
}

void choose(client::MenuScreen *menu, const char *option)
{
    control<QRadioButton>(menu, option)->setChecked(true);
    pressNext(menu);
}

TEST(MainMenu, enterOnAFreshMenuOpensTheMailScreen)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(control<QRadioButton>(menu, "sendMailOption")->isChecked());
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
    client::MenuScreen *menu = openMenu(s);
    const std::pair<const char *, QWidget *> choices[] = {{"readMailOption", s.app->readerScreen()},
                                                          {"drawOption", s.app->canvasScreen()},
                                                          {"viewIllustrationsOption", s.app->viewerScreen()}};
    for (const auto &[option, screen] : choices) {
        menu->show();
        choose(menu, option);
        EXPECT_FALSE(menu->isVisible()) << option;
        EXPECT_TRUE(screen->isVisible()) << option;
        screen->hide();
    }
    // Coming back keeps the choice.
    menu->show();
    EXPECT_TRUE(control<QRadioButton>(menu, "viewIllustrationsOption")->isChecked());
}

TEST(MainMenu, boardsAreStartedByBareNameAndTheMenuStays)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    s.fakes.launcher.started.clear();
    choose(menu, "dayBoardOption");
    choose(menu, "lunchBoardOption");
    pressNext(menu);
    choose(menu, "monthBoardOption");
    EXPECT_EQ(s.fakes.launcher.started,
              (QStringList{"DayBoardC.exe", "LunchBoardC.exe", "LunchBoardC.exe", "MonthBoardC.exe"}));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(s.fakes.dialogs.shown.isEmpty());
}

TEST(MainMenu, aBoardThatCannotStartIsNamedInAMessage)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    s.fakes.launcher.failing.insert("LunchBoardC.exe");
    choose(menu, "lunchBoardOption");
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.fakes.dialogs.last().contains("LunchBoardC.exe"));
    EXPECT_TRUE(menu->isVisible());
    EXPECT_FALSE(s.fakes.end.ended());
}

TEST(MainMenu, backShowsTheLoginScreenAndQuitSweepsAndEnds)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    QTest::mouseClick(control<QPushButton>(menu, "backButton"), Qt::LeftButton);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(s.app->loginScreen()->isVisible());
    EXPECT_EQ(s.app->signedIn().userName, "taro");
    s.app->loginScreen()->hide();
    menu->show();
    s.fakes.launcher.started.clear();
    QTest::mouseClick(control<QPushButton>(menu, "quitButton"), Qt::LeftButton);
    EXPECT_EQ(s.fakes.launcher.started, QStringList{perumina::local::kSweeper});
    EXPECT_TRUE(s.fakes.end.ended());
}

TEST(MainMenu, closingTheWindowSweepsAndEnds)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
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
    const auto welcome = [](client::ClientApp &a) -> QWidget * { return a.welcomeScreen(); };
    const auto registration = [](client::ClientApp &a) -> QWidget * { return a.registrationScreen(); };
    const auto login = [](client::ClientApp &a) -> QWidget * { return a.loginScreen(); };
    const auto menu = [](client::ClientApp &a) -> QWidget * { return a.menuScreen(); };
    const auto mail = [](client::ClientApp &a) -> QWidget * { return a.mailScreen(); };
    const auto canvas = [](client::ClientApp &a) -> QWidget * { return a.canvasScreen(); };
    const auto reader = [](client::ClientApp &a) -> QWidget * { return a.readerScreen(); };
    const auto viewer = [](client::ClientApp &a) -> QWidget * { return a.viewerScreen(); };
    const Row rows[] = {
        {welcome, "quitButton", nullptr},      {registration, "quitButton", nullptr},
        {registration, "backButton", welcome}, {login, "backButton", welcome},
        {menu, "quitButton", nullptr},         {menu, "backButton", login},
        {mail, "quitButton", nullptr},         {mail, "backButton", menu},
        {canvas, "quitButton", nullptr},       {canvas, "backButton", menu},
        {reader, "quitButton", nullptr},       {reader, "backButton", menu},
        {viewer, "quitButton", nullptr},       {viewer, "backButton", menu},
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
