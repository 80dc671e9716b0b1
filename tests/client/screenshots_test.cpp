// The start-up screens show every caption; their pictures go to build/screens when PERUMINA_SCREENS
// is set.
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "common/screenshot.h"
#include "startup_support.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;
using testing_support::control;

namespace {

void save(QWidget *screen, const QString &name)
{
    screen->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(screen));
    EXPECT_TRUE(testing_support::screenshot(screen, name));
}

TEST(StartupScreens, ScreenshotsOfWelcomeRegistrationLoginAndMenu)
{
    ClientOnSite s(
        {{"たろう", "山田太郎", "abc1234"}, {"あきら", "佐藤明", "p2"}, {"hana", "鈴木花子", "h1"}});
    client::ClientApp &app = s.start();
    save(app.welcomeScreen(), "welcome_screen");
    client::RegistrationScreen *registration = app.registrationScreen();
    save(registration, "registration_screen_registered");
    control<QTabWidget>(registration, "registrationTabs")->setCurrentIndex(0);
    control<QLineEdit>(registration, "userNameBox")->setText("じろう");
    control<QLineEdit>(registration, "fullNameBox")->setText("田中次郎");
    control<QLineEdit>(registration, "passwordBox")->setText("pass123");
    save(registration, "registration_screen_register");
    registration->hide();
    client::LoginScreen *login = app.loginScreen();
    control<QLineEdit>(login, "userNameBox")->setText("たろう");
    control<QLineEdit>(login, "passwordBox")->setText("abc1234");
    save(login, "login_screen");
    login->hide();
    save(app.menuScreen(), "menu_screen");
}

} // namespace
