#include "client/core/mail.h"
#include "client/core/registry.h"
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "shared/site.h"
#include "startup_support.h"

#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;
using perumina::tails::kFullNames;
using perumina::tails::kUserNames;
using testing_support::control;
using testing_support::sjis;

namespace {

client::RegistrationScreen *openRegistration(ClientOnSite &s)
{
    client::ClientApp &app = s.start();
    QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "newUserButton"), Qt::LeftButton);
    return app.registrationScreen();
}

void typeAndRegister(client::RegistrationScreen *form, const QString &user, const QString &fullName,
                     const QString &password)
{
    control<QLineEdit>(form, "userNameBox")->setText(user);
    control<QLineEdit>(form, "fullNameBox")->setText(fullName);
    control<QLineEdit>(form, "passwordBox")->setText(password);
    QTest::mouseClick(control<QPushButton>(form, "registerButton"), Qt::LeftButton);
}

QStringList items(const QWidget *screen, const char *name)
{
    const auto *list = control<QListView>(screen, name);
    QStringList all;
    for (int i = 0; i < list->model()->rowCount(); ++i)
        all.append(list->model()->index(i, 0).data().toString());
    return all;
}

TEST(RegistrationScreen, showsTheRegisteredPeopleAndTheUserNamesInKanaOrder)
{
    ClientOnSite s({{"たろう", "山田太郎", "p1"}, {"あきら", "佐藤明", "p2"}, {"かずお", "鈴木一夫", "p3"}});
    client::RegistrationScreen *form = openRegistration(s);
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(s.fakes.dialogs.shown.isEmpty());
    const auto *tabs = control<QTabWidget>(form, "registrationTabs");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "すでに登録している人達");
    EXPECT_EQ(items(form, "fullNameList"), (QStringList{"山田太郎", "佐藤明", "鈴木一夫"}));
    EXPECT_EQ(items(form, "userNameList"), (QStringList{"あきら", "かずお", "たろう"}));
    const auto *password = control<QLineEdit>(form, "passwordBox");
    EXPECT_EQ(password->maxLength(), 7);
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
}

TEST(RegistrationScreen, registeringThenStartingAgainLogsTheNewUserIn)
{
    testing_support::TempSite site;
    site.makeSite(kServer);
    {
        perumina::FakeSeams fakes;
        client::ClientApp app(fakes.seams());
        app.start();
        QTest::mouseClick(control<QPushButton>(app.welcomeScreen(), "newUserButton"), Qt::LeftButton);
        client::RegistrationScreen *form = app.registrationScreen();
        control<QLineEdit>(form, "userNameBox")->setText("taro");
        control<QLineEdit>(form, "fullNameBox")->setText("山田太郎");
        auto *password = control<QLineEdit>(form, "passwordBox");
        password->setText("abc1234");
        QTest::keyClick(password, Qt::Key_Return); // Enter presses 登録
        EXPECT_EQ(fakes.dialogs.texts(), QStringList{client::kRegisteredMessage});
        EXPECT_TRUE(fakes.end.ended());
        EXPECT_FALSE(form->isVisible());
        // The program ends through the sweeper, as every way out does.
        EXPECT_EQ(fakes.launcher.started.size(), 2);
        EXPECT_EQ(items(form, "fullNameList"), QStringList{"山田太郎"});
        EXPECT_EQ(items(form, "userNameList"), QStringList{"taro"});
        EXPECT_EQ(site.bytes(share(kUserNames)), sjis("\"taro\"\r\n"));
        EXPECT_TRUE(QFileInfo(site.local(share("\\ぺるみな\\管理データ\\山田太郎\\受信箱.txt"))).isFile());
    }
    perumina::FakeSeams fakes;
    client::ClientApp app(fakes.seams());
    app.start();
    QTest::keyClick(app.welcomeScreen(), Qt::Key_Return);
    client::LoginScreen *login = app.loginScreen();
    control<QLineEdit>(login, "userNameBox")->setText("taro");
    control<QLineEdit>(login, "passwordBox")->setText("abc1234");
    QTest::mouseClick(control<QPushButton>(login, "okButton"), Qt::LeftButton);
    // The new inbox holds no mail yet, which the reader created by the login reports.
    EXPECT_EQ(fakes.dialogs.texts(), QStringList{client::inboxLoadMessage()});
    EXPECT_TRUE(app.menuScreen()->isVisible());
    EXPECT_EQ(app.signedIn().fullName, "山田太郎");
}

struct RefusedCase
{
    const char *name;
    QString userName;
    QString fullName;
    QString password;
    QString message;
    int clearedBox; // 1, 2 or 3: the user name, full name or password box
};

class RegistrationRefusal : public testing::TestWithParam<RefusedCase>
{
};

TEST_P(RegistrationRefusal, showsItsMessageAndClearsOnlyTheOffendingBox)
{
    const RefusedCase &c = GetParam();
    ClientOnSite s({{"taro", "山田太郎", "pw"}});
    client::RegistrationScreen *form = openRegistration(s);
    typeAndRegister(form, c.userName, c.fullName, c.password);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_EQ(s.fakes.dialogs.last(), c.message);
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_TRUE(form->isVisible());
    const char *boxes[] = {"userNameBox", "fullNameBox", "passwordBox"};
    const QString typed[] = {c.userName, c.fullName, c.password};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(control<QLineEdit>(form, boxes[i])->text(), i + 1 == c.clearedBox ? QString() : typed[i])
            << boxes[i];
    EXPECT_EQ(s.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::None);
    EXPECT_EQ(s.site.bytes(share(kUserNames)), sjis("\"taro\"\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrationRefusal,
    testing::Values(
        RefusedCase{"takenUserName", "taro", "鈴木一郎", "p", client::kUserNameTakenMessage, 1},
        RefusedCase{"partOfTakenUserName", "tar", "鈴木一郎", "p", client::kUserNameTakenMessage, 1},
        RefusedCase{"takenFullName", "jiro", "山田太郎", "p", client::kFullNameTakenMessage, 2},
        RefusedCase{"partOfTakenFullName", "jiro", "山田", "p", client::kFullNameTakenMessage, 2},
        RefusedCase{"emptyUserName", "", "鈴木一郎", "p", "ユーザー名を入力して下さい。", 1},
        RefusedCase{"emptyFullName", "jiro", "", "p", "本名を入力して下さい。", 2},
        RefusedCase{"takenBeforeEmpty", "taro", "", "p", client::kUserNameTakenMessage, 1},
        RefusedCase{"emptyPassword", "jiro", "鈴木一郎", "", "パスワードを入力して下さい。", 3},
        RefusedCase{"commaInPassword", "jiro", "鈴木一郎", "a,b",
                    "パスワードにコンマ（,）やダブルクォーテーション（\"）は使えません。", 3},
        RefusedCase{"slashInFullName", "jiro", "鈴木/一郎", "p",
                    "本名に次の文字は使えません。　\\ / : * ? \" < > |", 2},
        RefusedCase{"unencodableUserName", "𠮷田", "鈴木一郎", "p",
                    "ユーザー名に使えない文字が含まれています。別の文字に変えて下さい。\n（1文字目の「𠮷」）",
                    1}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return info.param.name; });

TEST(RegistrationScreen, acceptsLongerNamesThatContainRegisteredOnes)
{
    ClientOnSite s({{"taro", "山田太郎", "pw"}});
    client::RegistrationScreen *form = openRegistration(s);
    typeAndRegister(form, "taro2", "山田太郎-A", "pw");
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::kRegisteredMessage});
    EXPECT_EQ(s.site.bytes(share(kFullNames)), sjis("\"山田太郎\"\r\n\"山田太郎-A\"\r\n"));
}

TEST(RegistrationScreen, aNameTakenOnAnotherComputerSinceLoadingIsRefused)
{
    ClientOnSite s;
    client::RegistrationScreen *form = openRegistration(s);
    registerUsers({{"taro", "山田太郎", "pw"}}); // another computer, after this screen loaded
    typeAndRegister(form, "taro", "鈴木一郎", "p");
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::kUserNameTakenMessage});
    EXPECT_TRUE(control<QLineEdit>(form, "userNameBox")->text().isEmpty());
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_EQ(s.site.bytes(share(kUserNames)), sjis("\"taro\"\r\n"));
}

TEST(RegistrationScreen, aFailedRecordingIsReportedWithoutTheClosingMessage)
{
    ClientOnSite s;
    client::RegistrationScreen *form = openRegistration(s);
    QFile::remove(s.site.local(share(perumina::tails::kInboxTemplate)));
    typeAndRegister(form, "taro", "山田太郎", "p");
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.fakes.dialogs.last().startsWith("登録できませんでした。"));
    EXPECT_FALSE(s.fakes.dialogs.texts().contains(client::kRegisteredMessage));
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_TRUE(form->isVisible());
}

TEST(RegistrationScreen, anUnreachableRegistryIsReportedAndTheScreenStays)
{
    ClientOnSite s({{"taro", "山田太郎", "pw"}});
    QFile::remove(s.site.local(share(perumina::tails::kAdminRecords)));
    client::RegistrationScreen *form = openRegistration(s);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_EQ(s.fakes.dialogs.last(),
              "①　管理用コンピュータの電源が入っていないか\r②　ネットワークが切れてると思うので\r\r"
              "担任の先生を呼んで確認してもらってネ！");
    EXPECT_FALSE(s.fakes.end.ended());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(items(form, "fullNameList"), QStringList{"山田太郎"});
    EXPECT_EQ(control<QListView>(form, "userNameList")->model()->rowCount(), 0);
}

TEST(RegistrationScreen, aRegistryFileBeyondItsLimitIsNamedAndTheScreenStays)
{
    ClientOnSite s({{"taro", "山田太郎", "pw"}});
    s.site.writeBytes(share(perumina::tails::kCredentials), QByteArray(2 * 1024 * 1024, ','));
    client::RegistrationScreen *form = openRegistration(s);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_TRUE(s.fakes.dialogs.last().contains(QStringLiteral("認証情報.txt")) &&
                s.fakes.dialogs.last().contains(QStringLiteral("管理者に知らせて")))
        << s.fakes.dialogs.last().toStdString();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(items(form, "fullNameList"), QStringList{"山田太郎"});
}

TEST(RegistrationScreen, quitSweepsAndEnds)
{
    ClientOnSite s;
    client::RegistrationScreen *form = openRegistration(s);
    QTest::mouseClick(control<QPushButton>(form, "quitButton"), Qt::LeftButton);
    EXPECT_EQ(s.fakes.launcher.started.size(), 2);
    EXPECT_TRUE(s.fakes.end.ended());
}

} // namespace
