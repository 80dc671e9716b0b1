#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "shared/site.h"
#include "shared/ui/enterkey.h"
#include "startup_support.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;

namespace {

// Logs taro in and returns the menu.
client::MenuScreen *openMenu(ClientOnSite &s)
{
    client::ClientApp &app = s.start();
    QTest::mouseClick(app.welcomeScreen()->Command2, Qt::LeftButton);
    app.loginScreen()->Text1->setText("taro");
    app.loginScreen()->Text2->setText("pw");
    QTest::mouseClick(app.loginScreen()->Command1, Qt::LeftButton);
    // taro has no inbox on this site, which the reader created by the login reports.
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::inboxLoadMessage()});
    s.fakes.dialogs.shown.clear();
    return app.menuScreen();
}

const QList<UserRecord> kTaro = {{"taro", "山田太郎", "pw"}};

TEST(MainMenu, enterOnAFreshMenuOpensTheMailScreen)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_TRUE(menu->Option1->isChecked());
    // The key goes where the freshly opened window put the focus.
    menu->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(menu));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    client::Form05 *mail = s.app->form05();
    EXPECT_TRUE(mail->isVisible());
    // The mail screen taking the focus names no recipient.
    mail->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mail));
    EXPECT_TRUE(mail->Text4->text().isEmpty());
}

TEST(MainMenu, eachScreenChoiceHidesTheMenuAndShowsItsScreen)
{
    ClientOnSite s(kTaro);
    client::MenuScreen *menu = openMenu(s);
    const std::pair<QRadioButton *, QWidget *> choices[] = {
        {menu->Option2, s.app->form09()}, {menu->Option3, s.app->form06()}, {menu->Option4, s.app->form10()}};
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
    client::MenuScreen *menu = openMenu(s);
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
    client::MenuScreen *menu = openMenu(s);
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
    client::MenuScreen *menu = openMenu(s);
    QTest::mouseClick(menu->Command3, Qt::LeftButton);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_TRUE(s.app->loginScreen()->isVisible());
    EXPECT_EQ(s.app->signedIn().userName, "taro");
    s.app->loginScreen()->hide();
    menu->show();
    s.fakes.launcher.started.clear();
    QTest::mouseClick(menu->Command2, Qt::LeftButton);
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
    const auto mail = [](client::ClientApp &a) -> QWidget * { return a.form05(); };
    const auto canvas = [](client::ClientApp &a) -> QWidget * { return a.form06(); };
    const auto reader = [](client::ClientApp &a) -> QWidget * { return a.form09(); };
    const auto viewer = [](client::ClientApp &a) -> QWidget * { return a.form10(); };
    const Row rows[] = {
        {welcome, "Command4", nullptr},      {registration, "Command5", nullptr},
        {registration, "Command7", welcome}, {login, "Command7", welcome},
        {menu, "Command2", nullptr},         {menu, "Command3", login},
        {mail, "Command5", nullptr},         {mail, "Command7", menu},
        {canvas, "Command3", nullptr},       {canvas, "Command5", menu},
        {reader, "Command3", nullptr},       {reader, "Command7", menu},
        {viewer, "Command3", nullptr},       {viewer, "Command7", menu},
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
        const bool mailQuit = screen == s.app->form05() && row.next == nullptr;
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
