// The road of one mail through the real screens: two users register, A logs in and sends B a mail, B
// starts the client anew, logs in and reads it newest first.
#include "client/core/mail.h"
#include "client/ui/clientapp.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "common/testsite.h"
#include "mailsite.h"
#include "shared/fakes.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace client;
using testing_support::control;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");
const QString kSent = QStringLiteral("メールは正しく送信されました。");

void registerThroughScreens(const QString &user, const QString &fullName, const QString &password)
{
    perumina::FakeSeams fakes;
    ClientApp app(fakes.seams());
    app.start();
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "newUserButton"), Qt::LeftButton);
    RegistrationScreen *form = app.registrationScreen();
    control<QLineEdit>(form, "userNameBox")->setText(user);
    control<QLineEdit>(form, "fullNameBox")->setText(fullName);
    control<QLineEdit>(form, "passwordBox")->setText(password);
    QTest::mouseClick(control<QPushButton>(form, "registerButton"), Qt::LeftButton);
    // Registering ends the program, as a new start then logs in.
    EXPECT_TRUE(fakes.end.ended()) << fakes.dialogs.last().toStdString();
}

// Starts the client, logs in and picks a menu choice: 1 sends mail, 2 reads it.
void loginAndChoose(ClientApp &app, const QString &user, const QString &password, int option)
{
    app.start();
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "registeredUserButton"), Qt::LeftButton);
    LoginScreen *login = app.loginScreen();
    control<QLineEdit>(login, "userNameBox")->setText(user);
    control<QLineEdit>(login, "passwordBox")->setText(password);
    QTest::mouseClick(control<QPushButton>(login, "okButton"), Qt::LeftButton);
    MenuScreen *menu = app.menuScreen();
    ASSERT_TRUE(menu->isVisible());
    const char *options[] = {"sendMailOption", "readMailOption"};
    control<QRadioButton>(menu, options[option - 1])->setChecked(true);
    QTest::mouseClick(control<QPushButton>(menu, "nextButton"), Qt::LeftButton);
}

} // namespace

TEST(MailRoad, aMailTravelsFromOneRegisteredUserToAnother)
{
    TempSite site;
    site.makeSite(kServer);
    registerThroughScreens(QStringLiteral("taro"), QStringLiteral("山田太郎"), QStringLiteral("pw1"));
    registerThroughScreens(QStringLiteral("hana"), QStringLiteral("佐藤花子"), QStringLiteral("pw2"));
    {
        perumina::FakeSeams fakes;
        ClientApp a(fakes.seams());
        loginAndChoose(a, QStringLiteral("taro"), QStringLiteral("pw1"), 1);
        MailScreen *compose = a.mailScreen();
        ASSERT_TRUE(compose->isVisible());
        EXPECT_EQ(control<QLineEdit>(compose, "senderBox")->text(), QStringLiteral("taro"));
        auto *list = control<QListWidget>(compose, "recipientList");
        const auto items = list->findItems(QStringLiteral("佐藤花子"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items.first()).center());
        EXPECT_EQ(control<QLineEdit>(compose, "recipientBox")->text(), QStringLiteral("佐藤花子"));
        auto *title = control<QLineEdit>(compose, "titleBox");
        auto *body = control<QPlainTextEdit>(compose, "bodyBox");
        title->setText(QStringLiteral("はじめまして"));
        body->setPlainText(QStringLiteral("よろしくね"));
        QTest::keyClick(body, Qt::Key_Return);
        fakes.clock.set(QDateTime(QDate(2026, 4, 8), QTime(9, 6, 0)));
        title->setText(QStringLiteral("二通目"));
        body->setPlainText(QStringLiteral("また明日"));
        QTest::keyClick(body, Qt::Key_Return);
        EXPECT_EQ(fakes.dialogs.last(), kSent);
        EXPECT_FALSE(fakes.end.ended());
    }
    perumina::FakeSeams fakes;
    ClientApp b(fakes.seams());
    loginAndChoose(b, QStringLiteral("hana"), QStringLiteral("pw2"), 2);
    ReaderScreen *reader = b.readerScreen();
    ASSERT_TRUE(reader->isVisible());
    EXPECT_TRUE(fakes.dialogs.shown.isEmpty()) << fakes.dialogs.last().toStdString();
    EXPECT_EQ(control<QLabel>(reader, "nameLabel")->text(), QStringLiteral("佐藤花子"));
    EXPECT_EQ(control<QLineEdit>(reader, "titleBox")->text(), QStringLiteral("二通目"));
    EXPECT_EQ(control<QLineEdit>(reader, "timeBox")->text(), QStringLiteral("9:06:00"));
    EXPECT_EQ(control<QLineEdit>(reader, "senderBox")->text(), QStringLiteral("taro"));
    control<QPushButton>(reader, "olderButton")->click();
    EXPECT_EQ(control<QLineEdit>(reader, "titleBox")->text(), QStringLiteral("はじめまして"));
    EXPECT_EQ(control<QPlainTextEdit>(reader, "bodyBox")->toPlainText(), QStringLiteral("よろしくね"));
    const auto logged =
        parseMailRecords(perumina::decodeCp932(site.bytes(perumina::site::messageLog(kServer))), 6);
    ASSERT_EQ(logged.size(), 2);
    EXPECT_EQ(logged[0][3], QStringLiteral("佐藤花子"));
}
