#include "admin/core/admincheck.h"
#include "admin/ui/adminapp.h"
#include "admin/ui/adminloginscreen.h"
#include "admin/ui/consolescreen.h"
#include "adminsite.h"
#include "common/controls.h"
#include "common/testsite.h"
#include "shared/fakes.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace perumina;
using testing_support::control;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kSweeper = QStringLiteral("c:\\group\\InboxSweep.exe");

// A site with an administrator file and the program started on it, login screen shown.
struct Login
{
    explicit Login(const QString &administrators)
    {
        site.makeSite(kServer);
        site.writeBytes(SharePath(kServer, tails::kAdministrators), sjis(administrators));
        app.start();
        form = app.adminLoginScreen();
    }
    QLineEdit *idBox() const { return control<QLineEdit>(form, "idBox"); }
    QLineEdit *passwordBox() const { return control<QLineEdit>(form, "passwordBox"); }
    QPushButton *quitButton() const { return control<QPushButton>(form, "quitButton"); }
    void type(const QString &id, const QString &password)
    {
        idBox()->setText(id);
        passwordBox()->setText(password);
    }
    void enter(const QString &id, const QString &password)
    {
        type(id, password);
        QTest::mouseClick(control<QPushButton>(form, "okButton"), Qt::LeftButton);
    }
    bool consoleShown() { return app.hasConsoleScreen() && app.consoleScreen()->isVisible(); }

    TempSite site;
    FakeSeams fakes;
    admin::AdminApp app{fakes.seams()};
    admin::AdminLoginScreen *form = nullptr;
};

} // namespace

TEST(AdminLogin, startsTheSweeperAndTakesTheServerName)
{
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    EXPECT_EQ(login.fakes.launcher.started, QStringList{kSweeper});
    EXPECT_EQ(login.app.serverName(), kServer);
    EXPECT_TRUE(login.form->isVisible());
    EXPECT_TRUE(login.fakes.dialogs.shown.isEmpty());
    EXPECT_EQ(login.form->windowTitle(), QStringLiteral("ぺる・み・な（管理用）"));
    EXPECT_EQ(login.passwordBox()->echoMode(), QLineEdit::Password);
    login.passwordBox()->setText(QString(40000, u'p')); // longer than a line edit takes by default
    EXPECT_EQ(login.passwordBox()->text().size(), 40000);
    EXPECT_EQ(login.form->findChildren<QPushButton *>().size(), 2); // OK and 終了, nothing hidden
    for (QWidget *child : login.form->findChildren<QWidget *>())
        EXPECT_TRUE(child->isVisible()) << child->objectName().toStdString();
    EXPECT_EQ(control<QPushButton>(login.form, "okButton")->text(), QStringLiteral("OK"));
    EXPECT_EQ(login.quitButton()->text(), QStringLiteral("終了"));
}

TEST(AdminLogin, endsWithAMessageWhenNoServerIsNamed)
{
    for (const QByteArray &locator : {QByteArray(), QByteArray("\r\n\r\n"), QByteArray("missing")}) {
        TempSite site;
        if (locator != "missing")
            site.writeBytes(local::kLocator, locator);
        FakeSeams fakes;
        admin::AdminApp app(fakes.seams());
        app.start();
        EXPECT_EQ(fakes.dialogs.texts(), QStringList{admin::noServerMessage()}) << locator.constData();
        EXPECT_EQ(fakes.dialogs.shown.value(0).icon, Dialogs::Icon::None);
        EXPECT_TRUE(fakes.end.ended());
        EXPECT_EQ(fakes.end.lastExitCode, 1); // a start-up script sees that it failed
        EXPECT_FALSE(app.adminLoginScreen()->isVisible());
        EXPECT_EQ(fakes.launcher.started, QStringList{kSweeper}); // once, not again on the way out
    }
}

TEST(AdminLogin, asksForAnEmptyIdFirstThenAnEmptyPassword)
{
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    login.enter(QString(), QString());
    login.enter(QStringLiteral("kanri"), QString());
    EXPECT_EQ(login.fakes.dialogs.texts(),
              (QStringList{admin::emptyIdMessage(), admin::emptyPasswordMessage()}));
    EXPECT_FALSE(login.app.hasConsoleScreen());
    EXPECT_EQ(login.idBox()->text(), QStringLiteral("kanri"));
}

TEST(AdminLogin, opensTheConsoleForTheFirstOfFiveFields)
{
    Login login(QStringLiteral("kanripw,校長,,,\r\n"));
    login.enter(QStringLiteral("kanri"), QStringLiteral("pw"));
    EXPECT_TRUE(login.fakes.dialogs.shown.isEmpty());
    EXPECT_TRUE(login.consoleShown());
    EXPECT_FALSE(login.form->isVisible());
    EXPECT_EQ(login.app.administratorId(), QStringLiteral("kanri"));
}

TEST(AdminLogin, enterInThePasswordBoxPressesOk)
{
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    login.type(QStringLiteral("kanri"), QStringLiteral("pw"));
    QTest::keyClick(login.passwordBox(), Qt::Key_Return);
    EXPECT_TRUE(login.consoleShown());
}

TEST(AdminLogin, enterOnAFocusedQuitButtonQuitsInsteadOfLoggingIn)
{
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    login.type(QStringLiteral("kanri"), QStringLiteral("pw"));
    login.quitButton()->setFocus();
    QTest::keyClick(login.quitButton(), Qt::Key_Return);
    EXPECT_TRUE(login.fakes.end.ended());
    EXPECT_FALSE(login.consoleShown());
}

struct RejectCase
{
    const char *name;
    const char *file;
    const char *id;
    const char *password;
};

// Every readable file that holds no exact field says "not registered" and keeps what was typed.
TEST(AdminLogin, wrongCredentialsKeepTheTypedText)
{
    const RejectCase cases[] = {
        {"wrong password, five fields", "kanripw,,,,\r\n", "kanri", "px"},
        {"wrong password, three fields", "kanripw,,\r\n", "kanri", "px"},
        {"longer field only", "subkanripw,,,,\r\n", "kanri", "pw"},
    };
    for (const RejectCase &c : cases) {
        Login login(QString::fromUtf8(c.file));
        login.enter(QString::fromUtf8(c.id), QString::fromUtf8(c.password));
        EXPECT_EQ(login.fakes.dialogs.texts(), QStringList{admin::notRegisteredMessage()}) << c.name;
        EXPECT_EQ(login.idBox()->text(), QString::fromUtf8(c.id)) << c.name;
        EXPECT_EQ(login.passwordBox()->text(), QString::fromUtf8(c.password)) << c.name;
        EXPECT_TRUE(login.form->isVisible()) << c.name;
        EXPECT_FALSE(login.app.hasConsoleScreen()) << c.name;
        EXPECT_FALSE(login.fakes.end.ended()) << c.name;
    }
}

struct AdmitCase
{
    const char *name;
    const char *file;
};

TEST(AdminLogin, anExactFieldAdmitsWhereverItStands)
{
    const AdmitCase cases[] = {
        {"three fields", "kanripw,,\r\n"},
        {"behind a longer field that contains it", "subkanripw,,,,\r\nkanripw,,,,\r\n"},
    };
    for (const AdmitCase &c : cases) {
        Login login(QString::fromUtf8(c.file));
        login.enter(QStringLiteral("kanri"), QStringLiteral("pw"));
        EXPECT_TRUE(login.fakes.dialogs.shown.isEmpty()) << c.name;
        EXPECT_TRUE(login.consoleShown()) << c.name;
    }
}

TEST(AdminLogin, anUnreadableFileShowsTheAccessFailureAndClearsBothBoxes)
{
    Login login{QString()};
    ASSERT_TRUE(QFile::remove(login.site.local(SharePath(kServer, tails::kAdministrators))));
    login.enter(QStringLiteral("kanri"), QStringLiteral("pw"));
    EXPECT_EQ(login.fakes.dialogs.texts(), QStringList{admin::accessFailureMessage()});
    EXPECT_EQ(login.fakes.dialogs.shown.value(0).icon, Dialogs::Icon::None);
    EXPECT_TRUE(login.idBox()->text().isEmpty());
    EXPECT_TRUE(login.passwordBox()->text().isEmpty());
    EXPECT_TRUE(login.form->isVisible());
    EXPECT_FALSE(login.fakes.end.ended());
    // The administrator may try again once the file is back.
    login.site.writeBytes(SharePath(kServer, tails::kAdministrators), "kanripw,,,,\r\n");
    login.enter(QStringLiteral("kanri"), QStringLiteral("pw"));
    EXPECT_TRUE(login.consoleShown());
}

TEST(AdminLogin, quitStartsTheSweeperAndEnds)
{
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    QTest::mouseClick(login.quitButton(), Qt::LeftButton);
    EXPECT_EQ(login.fakes.launcher.started, (QStringList{kSweeper, kSweeper}));
    EXPECT_TRUE(login.fakes.end.ended());
}

TEST(AdminLogin, closingTheWindowEndsTheProgramAlsoWithTheConsoleHidden)
{
    {
        Login login(QStringLiteral("kanripw,,,,\r\n"));
        login.form->close();
        EXPECT_TRUE(login.fakes.end.ended());
    }
    Login login(QStringLiteral("kanripw,,,,\r\n"));
    login.enter(QStringLiteral("kanri"), QStringLiteral("pw"));
    ASSERT_TRUE(login.consoleShown());
    QTest::mouseClick(control<QPushButton>(login.app.consoleScreen(), "backButton"), Qt::LeftButton);
    ASSERT_TRUE(login.form->isVisible());
    ASSERT_FALSE(login.consoleShown());
    login.form->close();
    EXPECT_TRUE(login.fakes.end.ended());
    EXPECT_EQ(login.fakes.launcher.started, QStringList{kSweeper}); // closing this window starts nothing
}
