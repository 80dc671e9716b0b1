#include "client/core/login.h"
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
#include "client/ui/welcomescreen.h"
#include "common/controls.h"
#include "shared/site.h"
#include "startup_support.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace startup_testing;
using client::checkLogin;
using testing_support::control;

namespace {

struct LoginCase
{
    const char *name;
    QList<UserRecord> users;
    QString userName;
    QString password;
    int failure;      // 0: logged in
    QString fullName; // expected on success
};

class LoginCheck : public testing::TestWithParam<LoginCase>
{
};

TEST_P(LoginCheck, givesTheUsersOwnFullNameOrTheNumberedMessage)
{
    const LoginCase &c = GetParam();
    const client::LoginResult result =
        checkLogin(adminLines(c.users), credentialLines(c.users), c.userName, c.password);
    EXPECT_EQ(result.failure, c.failure);
    if (c.failure == 0) {
        EXPECT_EQ(result.fullName, c.fullName);
        EXPECT_EQ(result.userName, c.userName);
    }
}

const QList<UserRecord> kTaro = {{"taro", "山田太郎", "abc1234"}};

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginCheck,
    testing::Values(
        LoginCase{"rightUserAndPassword", kTaro, "taro", "abc1234", 0, "山田太郎"},
        LoginCase{"emptyPasswordOfKnownUser", kTaro, "taro", "", 5, {}},
        LoginCase{"unknownUserWithPassword", kTaro, "jiro", "abc1234", 3, {}},
        LoginCase{"unknownUserEmptyPassword", kTaro, "jiro", "", 2, {}},
        LoginCase{"emptyUserNameWithUsers", kTaro, "", "abc1234", 4, {}},
        LoginCase{"emptyUserNameNobodyRegistered", {}, "", "abc1234", 1, {}},
        LoginCase{"bothEmptyWithUsers", kTaro, "", "", 4, {}},
        // A wrong password met nowhere behind the user's name cannot give a full name; one met further on
        // can.
        LoginCase{"wrongPassword", kTaro, "taro", "abc1235", 5, {}},
        LoginCase{"wrongPasswordFoundFurtherOn",
                  {{"taro", "山田太郎", "pw"}, {"hana", "佐藤花子", "h1"}},
                  "taro",
                  "h1",
                  3,
                  {}},
        LoginCase{"passwordInOtherCase", kTaro, "taro", "ABC1234", 5, {}},
        LoginCase{"userNameInOtherCase", kTaro, "Taro", "abc1234", 3, {}},
        LoginCase{"prefixOfPassword", kTaro, "taro", "abc", 3, {}},
        // The typed user name hidden in an earlier record must not hand over that record's full name.
        LoginCase{"userNameInsideEarlierPassword",
                  {{"hana", "佐藤花子", "xtaro1"}, {"taro", "山田太郎", "pw"}},
                  "taro",
                  "pw",
                  0,
                  "山田太郎"},
        LoginCase{"userNameInsideEarlierFullName",
                  {{"ken", "taro", "k1"}, {"taro", "山田太郎", "pw"}},
                  "taro",
                  "pw",
                  0,
                  "山田太郎"},
        LoginCase{"userNameInsideLongerUserName",
                  {{"taroo", "別人", "pw"}, {"taro", "山田太郎", "pw"}},
                  "taro",
                  "pw",
                  0,
                  "山田太郎"},
        // A longer credentials field that contains the typed ones no longer hides the exact one.
        LoginCase{"longerCredentialsAhead",
                  {{"xtaro", "別人", "pw"}, {"taro", "山田太郎", "pw"}},
                  "taro",
                  "pw",
                  0,
                  "山田太郎"},
        // "a" + "bX" equals the credentials "abX" of user ab; only a's own record counts.
        LoginCase{"otherUsersCredentialsRunTogether",
                  {{"ab", "甲野一郎", "X"}, {"a", "乙川二郎", "Y"}},
                  "a",
                  "bX",
                  5,
                  {}},
        LoginCase{"otherUsersCredentialsWithoutOwnRecord", {{"ab", "甲野一郎", "X"}}, "a", "bX", 3, {}},
        LoginCase{"ownPasswordAfterLookalike",
                  {{"ab", "甲野一郎", "X"}, {"a", "乙川二郎", "Y"}},
                  "a",
                  "Y",
                  0,
                  "乙川二郎"},
        LoginCase{"earlierUserOfTwo",
                  {{"hana", "佐藤花子", "h1"}, {"taro", "山田太郎", "pw"}},
                  "hana",
                  "h1",
                  0,
                  "佐藤花子"},
        // Registration stores ～ for the 〜 an input method types.
        LoginCase{"foldedLookalikeInPassword", {{"taro", "山田太郎", "a～b"}}, "taro", "a〜b", 0, "山田太郎"},
        // Registered before commas were refused: the user's own record still gives the full name.
        LoginCase{"commaInOldUserName", {{"a,b", "古田", "p"}}, "a,b", "p", 0, "古田"},
        // "a,b,古田,p" begins with "a," and ends with ",p" but is not a's: a full name holds no comma.
        LoginCase{
            "shorterNameOfOldCommaUser", {{"a,b", "古田", "p"}, {"a", "新田", "p"}}, "a", "p", 0, "新田"},
        // A full name no registration would take today never becomes part of a path.
        LoginCase{"oldFullNameTheSiteRefuses", {{"taro", "管理用", "pw"}}, "taro", "pw", 3, {}},
        // A record planted in the shared file whose full name is no folder name leads nowhere.
        LoginCase{"fullNameLeadingIntoAnotherFolder",
                  {{"evil", "..\\管理用\\山田太郎", "pw"}},
                  "evil",
                  "pw",
                  3,
                  {}},
        LoginCase{"fullNameThatIsTheParentFolder", {{"evil", "..", "pw"}}, "evil", "pw", 3, {}}),
    [](const testing::TestParamInfo<LoginCase> &info) { return info.param.name; });

TEST(LoginCheck, findsTheUsersOwnRecordsInARegistryOutOfStep)
{
    // A registration stopped part-way left jiro's credentials only; taro's come second, 山田太郎 third.
    const QStringList admin = adminLines({{"ken", "木村健", "k1"}, {"taro", "山田太郎", "pw"}});
    const QStringList credentials = {"\"jiroqq\"", "\"kenk1\"", "\"taropw\""};
    const auto result = checkLogin(admin, credentials, "taro", "pw");
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.fullName, "山田太郎");
    EXPECT_EQ(result.record, 1);
    EXPECT_EQ(checkLogin(admin, QStringList{"\"taropwx\""}, "taro", "pw").failure, 3);
}

// Records as the field reader takes them: what follows a closing quote, and spaces before a value or
// after an unquoted one, are no part of it.
TEST(LoginCheck, readsEachRecordAsTheFieldReaderDoes)
{
    const struct
    {
        QString admin, credentials;
    } cases[] = {
        {"\"taro,山田太郎,taro123\" ", "\"tarotaro123\""},
        {"\"taro,山田太郎,taro123\"", "\"tarotaro123\" "},
        {"  \"taro,山田太郎,taro123\"x", "\"tarotaro123\"\t"},
        {"taro,山田太郎,taro123  ", " tarotaro123 "},
    };
    for (const auto &c : cases) {
        const QStringList admin = {"\"ken,木村健,k1\"", " ", c.admin};
        const auto result = checkLogin(admin, QStringList{"\"kenk1\"", c.credentials}, "taro", "taro123");
        EXPECT_TRUE(result.ok()) << c.admin.toStdString() << " / " << c.credentials.toStdString();
        EXPECT_EQ(result.fullName, "山田太郎");
        EXPECT_EQ(result.record, 1);
        // A wrong password still ends with 5: the search for it starts behind the user's name.
        EXPECT_EQ(checkLogin(admin, QStringList{c.credentials}, "taro", "zz").failure, 5);
    }
}

TEST(LoginCheck, aWrongPasswordAfterAnEarlierLoginOfTheRunFollowsWhereThatPasswordLay)
{
    const QList<UserRecord> users = {{"hana", "佐藤花子", "h1"}, {"taro", "山田太郎", "pw"}};
    const QStringList admin = adminLines(users);
    EXPECT_EQ(checkLogin(admin, credentialLines(users), "taro", "zz", 0).failure, 5);
    EXPECT_EQ(checkLogin(admin, credentialLines(users), "taro", "zz", 1).failure, 3);
    EXPECT_EQ(checkLogin(admin, credentialLines(users), "hana", "zz", 1).failure, 3);
}

TEST(LoginCheck, unreadableCredentialsEndWithThree)
{
    EXPECT_EQ(checkLogin(adminLines(kTaro), std::nullopt, "taro", "abc1234").failure, 3);
}

TEST(LoginCheck, findsAUserBeyondThirtyTwoThousandCharacters)
{
    QList<UserRecord> users;
    for (int i = 0; i < 3000; ++i)
        users.append(
            {QStringLiteral("user%1").arg(i), QStringLiteral("生徒%1").arg(i), QStringLiteral("p%1").arg(i)});
    users.append({"last", "最後の人", "zz"});
    ASSERT_GT(adminLines(users).join("\r\n").size(), 40000);
    const auto result = checkLogin(adminLines(users), credentialLines(users), "last", "zz");
    EXPECT_TRUE(result.ok());
    EXPECT_EQ(result.fullName, "最後の人");
}

// Screens: from the welcome screen to the menu.
client::LoginScreen *openLogin(ClientOnSite &s)
{
    client::ClientApp &app = s.start();
    QTest::keyClick(app.welcomeScreen(), Qt::Key_Return);
    return app.loginScreen();
}

void typeAndPressOk(client::LoginScreen *login, const QString &user, const QString &password)
{
    control<QLineEdit>(login, "userNameBox")->setText(user);
    control<QLineEdit>(login, "passwordBox")->setText(password);
    QTest::mouseClick(control<QPushButton>(login, "okButton"), Qt::LeftButton);
}

TEST(LoginScreen, rightUserOpensTheMenuAndHandsOverTheCurrentUser)
{
    ClientOnSite s({{"hana", "佐藤花子", "xtaro"}, {"taro", "山田太郎", "pw"}});
    client::LoginScreen *login = openLogin(s);
    ASSERT_TRUE(login->isVisible());
    typeAndPressOk(login, "taro", "pw");
    // taro has no inbox on this site: the reader that the login creates says so, and nothing else is shown.
    EXPECT_EQ(s.fakes.dialogs.texts(), QStringList{client::inboxLoadMessage()});
    EXPECT_FALSE(login->isVisible());
    EXPECT_TRUE(s.app->menuScreen()->isVisible());
    EXPECT_EQ(s.app->signedIn().userName, "taro");
    EXPECT_EQ(s.app->signedIn().fullName, "山田太郎");
    EXPECT_EQ(login->findChildren<QLineEdit *>().size(), 2); // user name and password, nothing hidden
    EXPECT_EQ(testing_support::control<QLabel>(s.app->readerScreen(), "nameLabel")->text(), "山田太郎");
    EXPECT_EQ(testing_support::control<QLabel>(s.app->viewerScreen(), "nameLabel")->text(), "山田太郎");
    EXPECT_TRUE(control<QLineEdit>(login, "userNameBox")->text().isEmpty());
    EXPECT_TRUE(control<QLineEdit>(login, "passwordBox")->text().isEmpty());
    EXPECT_FALSE(s.fakes.end.ended());

    // Back from the menu, an earlier user of the registry logs in and becomes the current user.
    QTest::mouseClick(control<QPushButton>(s.app->menuScreen(), "backButton"), Qt::LeftButton);
    ASSERT_TRUE(login->isVisible());
    typeAndPressOk(login, "hana", "xtaro");
    EXPECT_EQ(s.app->signedIn().userName, "hana");
    EXPECT_EQ(s.app->signedIn().fullName, "佐藤花子");
    // The reader, when next shown, names the new user.
    s.app->readerScreen()->show();
    EXPECT_EQ(testing_support::control<QLabel>(s.app->readerScreen(), "nameLabel")->text(), "佐藤花子");
}

struct FailedLogin
{
    const char *name;
    bool registered;
    QString userName;
    QString password;
    QString mark;
};

class LoginScreenFailure : public testing::TestWithParam<FailedLogin>
{
};

TEST_P(LoginScreenFailure, showsItsNumberedMessageAndEndsTheProgram)
{
    const FailedLogin &c = GetParam();
    ClientOnSite s(c.registered ? kTaro : QList<UserRecord>{});
    client::LoginScreen *login = openLogin(s);
    typeAndPressOk(login, c.userName, c.password);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_EQ(s.fakes.dialogs.last(),
              "重大な入力ミスです。登録情報保持のため終了します。再度起動して正しく入力して下さい。…" +
                  c.mark);
    EXPECT_EQ(s.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::None);
    EXPECT_TRUE(s.fakes.end.ended());
    EXPECT_FALSE(s.app->menuScreen()->isVisible());
    // A failed check creates neither the mail reader nor the viewer, so no inbox is copied.
    EXPECT_FALSE(s.app->hasReaderScreen());
    EXPECT_FALSE(s.app->hasViewerScreen());
    EXPECT_TRUE(s.app->signedIn().userName.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Messages, LoginScreenFailure,
                         testing::Values(FailedLogin{"one", false, "", "abc", "①"},
                                         FailedLogin{"two", true, "jiro", "", "②"},
                                         FailedLogin{"threeUnknownUser", true, "jiro", "abc1234", "③"},
                                         FailedLogin{"fiveWrongPassword", true, "taro", "abc9999", "⑤"},
                                         FailedLogin{"four", true, "", "abc1234", "④"},
                                         FailedLogin{"five", true, "taro", "", "⑤"}),
                         [](const testing::TestParamInfo<FailedLogin> &info) { return info.param.name; });

TEST(LoginScreen, unreadableRegistryShowsTheNetworkMessageAndEnds)
{
    ClientOnSite s(kTaro);
    QFile::remove(s.site.local(share(perumina::tails::kAdminRecords)));
    openLogin(s);
    ASSERT_EQ(s.fakes.dialogs.shown.size(), 1);
    EXPECT_EQ(s.fakes.dialogs.last(),
              "①　管理用コンピュータの電源が入っていないか\r②　ネットワークが切れてると思うので\r\r"
              "担任の先生を呼んで確認してもらってネ！ とりあえず終了します。");
    EXPECT_TRUE(s.fakes.end.ended());
    EXPECT_FALSE(s.app->loginScreen()->isVisible());
}

TEST(LoginScreen, enterPressesOkAndBackReturnsToTheWelcomeScreen)
{
    ClientOnSite s(kTaro);
    client::LoginScreen *login = openLogin(s);
    QTest::mouseClick(control<QPushButton>(login, "backButton"), Qt::LeftButton);
    EXPECT_FALSE(login->isVisible());
    EXPECT_TRUE(s.app->welcomeScreen()->isVisible());
    QTest::mouseClick(control<QPushButton>(s.app->welcomeScreen(), "registeredUserButton"), Qt::LeftButton);
    control<QLineEdit>(login, "userNameBox")->setText("taro");
    auto *password = control<QLineEdit>(login, "passwordBox");
    password->setText("abc1234");
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_TRUE(s.app->menuScreen()->isVisible());
}

} // namespace
