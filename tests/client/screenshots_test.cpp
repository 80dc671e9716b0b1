// The start-up screens show every caption; their pictures go to build/screens when PERUMINA_SCREENS
// is set.
#include "client/ui/form01.h"
#include "client/ui/form02.h"
#include "client/ui/form03.h"
#include "client/ui/form04.h"
#include "common/screenshot.h"
#include "startup_support.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;

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
    save(app.form01(), "form01_welcome");
    client::Form02 *registration = app.form02();
    save(registration, "form02_registered");
    registration->SSTab1->setCurrentIndex(0);
    registration->Text1->setText("じろう");
    registration->Text2->setText("田中次郎");
    registration->Text3->setText("pass123");
    save(registration, "form02_register");
    registration->hide();
    client::Form03 *login = app.form03();
    login->Text1->setText("たろう");
    login->Text2->setText("abc1234");
    save(login, "form03_login");
    login->hide();
    save(app.form04(), "form04_menu");
}

} // namespace
