#include "client/ui/loginscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "shared/site.h"
#include "startup_support.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;
using perumina::local::kLocator;
using perumina::local::kSweeper;
using testing_support::control;
using testing_support::sjis;

namespace {

const QString kNoServer =
    QStringLiteral("サーバー名が設定されていません。\r\nRead Meの「インストールについて」を確認して下さい。");

TEST(WelcomeScreen, startsTheSweeperReadsTheServerAndWaits)
{
    ClientOnSite s;
    client::ClientApp &app = s.start();
    client::WelcomeScreen *welcome = app.welcomeScreen();
    EXPECT_TRUE(welcome->isVisible());
    EXPECT_EQ(s.fakes.launcher.started, QStringList{kSweeper});
    EXPECT_TRUE(s.fakes.dialogs.shown.isEmpty());
    EXPECT_EQ(app.serverName(), kServer);
    EXPECT_EQ(control<QLineEdit>(welcome, "serverNameBox")->text(), kServer);
    EXPECT_EQ(welcome->windowTitle(), "グループウェア　（ぺる・み・な）");
    EXPECT_EQ(control<QPushButton>(welcome, "registeredUserButton")->text(), "いいえ　　登録済みです");
}

TEST(WelcomeScreen, enterOpensTheLoginScreenOrPressesTheFocusedButton)
{
    ClientOnSite s;
    client::ClientApp &app = s.start();
    // Enter goes where the freshly opened window put the focus, as a pupil's key press does.
    app.welcomeScreen()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(app.welcomeScreen()));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(app.welcomeScreen()->isVisible());
    EXPECT_TRUE(app.loginScreen()->isVisible());

    // A focused button presses itself; shown again, the screen puts the focus back where Enter means login.
    QTest::mouseClick(control<QPushButton>(app.loginScreen(), "backButton"), Qt::LeftButton);
    auto *newUser = control<QPushButton>(app.welcomeScreen(), "newUserButton");
    newUser->setFocus();
    QTest::keyClick(newUser, Qt::Key_Return);
    EXPECT_TRUE(app.registrationScreen()->isVisible());
    EXPECT_FALSE(app.loginScreen()->isVisible());
    QTest::mouseClick(control<QPushButton>(app.registrationScreen(), "backButton"), Qt::LeftButton);
    ASSERT_TRUE(app.welcomeScreen()->isVisible());
    EXPECT_EQ(app.welcomeScreen()->focusWidget(),
              control<QPushButton>(app.welcomeScreen(), "registeredUserButton"));
}

TEST(WelcomeScreen, yesOpensRegistrationAndQuitSweepsAndEnds)
{
    ClientOnSite s;
    client::ClientApp &app = s.start();
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "newUserButton"), Qt::LeftButton);
    EXPECT_TRUE(app.registrationScreen()->isVisible());
    QTest::mouseClick(control<QPushButton>(app.registrationScreen(), "backButton"), Qt::LeftButton);
    EXPECT_TRUE(app.welcomeScreen()->isVisible());
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "quitButton"), Qt::LeftButton);
    EXPECT_EQ(s.fakes.launcher.started, (QStringList{kSweeper, kSweeper}));
    EXPECT_TRUE(s.fakes.end.ended());
    EXPECT_EQ(s.fakes.end.lastExitCode, 0);
}

TEST(WelcomeScreen, aSecondCopyIsRefusedAndTheFirstGoesOn)
{
    ClientOnSite s;
    client::ClientApp &first = s.start();
    perumina::FakeSeams second;
    client::ClientApp other(second.seams());
    other.start();
    ASSERT_EQ(second.dialogs.shown.size(), 1);
    EXPECT_EQ(second.dialogs.last(), "重複して起動されています。");
    EXPECT_EQ(second.dialogs.shown.last().icon, perumina::Dialogs::Icon::Exclamation);
    EXPECT_TRUE(second.end.ended());
    EXPECT_EQ(second.end.lastExitCode, 1);
    EXPECT_EQ(second.launcher.started, (QStringList{kSweeper, kSweeper}));
    EXPECT_FALSE(other.welcomeScreen()->isVisible());
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_TRUE(first.welcomeScreen()->isVisible());
}

TEST(WelcomeScreen, anAccountWithNoFolderOfItsOwnIsToldSoAndGoesOn)
{
    ClientOnSite s;
    testing_support::NoHomeOrSession environment;
    // Not even in the temporary folder: a link lies where the account's folder would be.
    ASSERT_TRUE(QFile::link(environment.tempFolder(), environment.accountFolder()));
    client::ClientApp &app = s.start();
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.fakes.dialogs.last().startsWith("このアカウントの作業用フォルダを作れませんでした。"));
    EXPECT_EQ(s.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::Exclamation);
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_TRUE(app.welcomeScreen()->isVisible());
}

struct LocatorCase
{
    const char *name;
    std::optional<QString> content; // nothing: no locator file
};

class WelcomeWithoutServer : public testing::TestWithParam<LocatorCase>
{
};

TEST_P(WelcomeWithoutServer, showsTheTwoLineMessageAndEnds)
{
    ClientOnSite s;
    if (GetParam().content)
        s.site.writeBytes(kLocator, sjis(*GetParam().content));
    else
        QFile::remove(s.site.local(kLocator));
    client::ClientApp &app = s.start();
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_EQ(s.fakes.dialogs.last(), kNoServer);
    EXPECT_EQ(s.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::None);
    EXPECT_TRUE(s.fakes.end.ended());
    EXPECT_EQ(s.fakes.end.lastExitCode, 1);
    EXPECT_EQ(s.fakes.launcher.started.size(), 2);
    EXPECT_FALSE(app.welcomeScreen()->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Locators, WelcomeWithoutServer,
                         testing::Values(LocatorCase{"missing", std::nullopt},
                                         LocatorCase{"empty", QString()},
                                         LocatorCase{"emptyLine", QStringLiteral("\r\n")},
                                         LocatorCase{"onlySpaces", QStringLiteral("   \r\n")}),
                         [](const testing::TestParamInfo<LocatorCase> &info) { return info.param.name; });

TEST(WelcomeScreen, aLocatorOverTwoLinesGivesTheJoinedName)
{
    ClientOnSite s;
    s.site.writeBytes(kLocator, "SERV\r\nER01\r\n");
    client::ClientApp &app = s.start();
    EXPECT_EQ(app.serverName(), "SERVER01");
    EXPECT_EQ(control<QLineEdit>(app.welcomeScreen(), "serverNameBox")->text(), "SERVER01");
}

} // namespace
