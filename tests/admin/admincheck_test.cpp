#include "admin/core/admincheck.h"
#include "common/testsite.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace admin;
using perumina::SharePath;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");

void writeAdministrators(TempSite &site, const QString &text)
{
    site.writeBytes(SharePath(kServer, perumina::tails::kAdministrators), sjis(text));
}

} // namespace

TEST(AccessFailureMessage, isTheTenLinesWithSingleCrsAndTwoBlankLines)
{
    // Written out in one piece, independently of how the program assembles it.
    const QString expected = QStringLiteral(
        "データ管理用コンピュータにアクセスできませんでした。以下のいずれかが原因だと思われます。\r"
        "可能性の高い順に\r\r"
        "  ①　ネットワーク上の管理用コンピュータへのアクセス権限が切れている。\r"
        "  ②　入力したデータに誤りがある。\r"
        "  ③　管理用コンピュータの電源が入っていない。\r"
        "  ④　管理用コンピュータ名が変更された。\r"
        "      　または、管理用コンピュータに管理データフォルダが無い。\r\r"
        "なお、①の場合はマイネットワークから直接アクセスし、一度ネットワーク関係を確認して下さい。\r"
        "また、初めて使用した時は④が考えられます。この場合、管理用コンピュータ上で「ぺるみな」\r"
        "を一度セットアップし、「ぺるみな」フォルダを共有設定にして下さい。");
    const QString actual = accessFailureMessage();
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i].unicode(), expected[i].unicode()) << "first difference at character " << i;
    ASSERT_EQ(actual.size(), expected.size());

    const QStringList pieces = actual.split(u'\r');
    ASSERT_EQ(pieces.size(), 12); // ten pieces and the two empty lines
    EXPECT_TRUE(pieces[2].isEmpty());
    EXPECT_TRUE(pieces[8].isEmpty());
    EXPECT_FALSE(actual.contains(u'\n'));
    EXPECT_TRUE(pieces[7].startsWith(QStringLiteral("      \u3000")));
    for (int i : {3, 4, 5, 6})
        EXPECT_TRUE(pieces[i].startsWith(QStringLiteral("  ")) && pieces[i][2] != u' ') << i;
}

TEST(AdminMessages, areTheSystemsOwnTexts)
{
    EXPECT_EQ(noServerMessage(),
              QStringLiteral(
                  "サーバー名が設定されていません。\r\nRead Meの「インストールについて」を確認して下さい。"));
    EXPECT_EQ(emptyIdMessage(), QStringLiteral("ユーザー名を入力して下さい。"));
    EXPECT_EQ(emptyPasswordMessage(), QStringLiteral("パスワードを入力して下さい。"));
    EXPECT_EQ(notRegisteredMessage(),
              QStringLiteral("管理者として登録されていません！\u3000または、入力データに誤りがあります。"));
}

struct FieldCase
{
    const char *name;
    QStringList fields;
    QString id;
    QString password;
    AdminCheck expected;
};

class CheckFields : public testing::TestWithParam<FieldCase>
{
};

TEST_P(CheckFields, admitsOnlyAnExactField)
{
    const FieldCase &c = GetParam();
    EXPECT_EQ(checkFields(c.fields, c.id, c.password), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    AdministratorFile, CheckFields,
    testing::Values(
        FieldCase{"exactFirst", {"adminsecret", "", "", "", ""}, "admin", "secret", AdminCheck::Admitted},
        FieldCase{"exactAnywhere",
                  {"a", "b", "c", "d", "e", "x", "adminsecret"},
                  "admin",
                  "secret",
                  AdminCheck::Admitted},
        FieldCase{"longerFieldFirstDoesNotHideExactOne",
                  {"subadminsecret", "", "", "", "", "adminsecret"},
                  "admin",
                  "secret",
                  AdminCheck::Admitted},
        FieldCase{"longerFieldAloneIsNotEnough",
                  {"subadminsecret", "", "", "", ""},
                  "admin",
                  "secret",
                  AdminCheck::NotRegistered},
        FieldCase{
            "wrongPassword", {"adminsecret", "", "", "", ""}, "admin", "secreT", AdminCheck::NotRegistered},
        FieldCase{"letterCaseCounts", {"adminsecret"}, "Admin", "secret", AdminCheck::NotRegistered},
        FieldCase{"noFieldsAtAll", {}, "admin", "secret", AdminCheck::NotRegistered}),
    [](const testing::TestParamInfo<FieldCase> &info) { return std::string(info.param.name); });

TEST(CheckAdministrator, readsAFileOfAnyNumberOfFieldsToItsEnd)
{
    TempSite site;
    site.makeSite(kServer);
    // Three fields, then a second administrator on a line of four: no multiple of five anywhere.
    writeAdministrators(site, QStringLiteral("kanrisecret,a,b\r\n\"教頭pass\",x,y,z\r\n"));
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("kanri"), QStringLiteral("wrong")),
              AdminCheck::NotRegistered);
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("教頭"), QStringLiteral("pass")),
              AdminCheck::Admitted);
}

TEST(CheckAdministrator, admitsTheAdministratorOfANewSite)
{
    // The record the site set-up writes for --admin admin --admin-password admin.
    TempSite site;
    site.makeSite(kServer);
    writeAdministrators(site, QStringLiteral("adminadmin,,,,\r\n"));
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("admin"), QStringLiteral("admin")),
              AdminCheck::Admitted);
}

TEST(CheckAdministrator, isUnreadableOnlyWhenTheFileCannotBeRead)
{
    TempSite site;
    site.makeSite(kServer);
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("a"), QStringLiteral("b")), AdminCheck::Unreadable);
    writeAdministrators(site, QString()); // empty, but readable
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("a"), QStringLiteral("b")),
              AdminCheck::NotRegistered);
    ASSERT_TRUE(QFile::remove(site.local(SharePath(kServer, perumina::tails::kAdministrators))));
    EXPECT_EQ(checkAdministrator(QStringLiteral("OTHER"), QStringLiteral("a"), QStringLiteral("b")),
              AdminCheck::Unreadable);
    // A folder where the file should be cannot be read as one.
    ASSERT_TRUE(QDir().mkpath(site.local(SharePath(kServer, perumina::tails::kAdministrators))));
    EXPECT_EQ(checkAdministrator(kServer, QStringLiteral("a"), QStringLiteral("b")), AdminCheck::Unreadable);
}

// The staff-room server, with a throwaway pupil account: only a file the staff can have written admits
// anyone, and the pupil's replacement is refused with a message naming the cause. Needs root.
TEST(CheckAdministrator, onTheServerAPupilsReplacementOfTheFileAdmitsNobody)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to make accounts";
    const QString pupil = QStringLiteral("p20pupil");
    const QString school = QStringLiteral("p20school");
    const QString staff = QStringLiteral("p20staff");
    const auto run = [](const QString &program, const QStringList &args) {
        return QProcess::execute(program, args);
    };
    run("userdel", {pupil});
    run("groupdel", {school});
    run("groupdel", {staff});
    ASSERT_EQ(run("groupadd", {school}), 0);
    ASSERT_EQ(run("groupadd", {staff}), 0);
    ASSERT_EQ(run("useradd", {"-M", "-g", school, pupil}), 0);
    const auto cleanUp = qScopeGuard([&] {
        run("userdel", {pupil});
        run("groupdel", {school});
        run("groupdel", {staff});
    });
    TempSite site;
    site.makeSite(kServer);
    // The share as the server's set-up leaves it: folders 2770 of the school's group, the administrator
    // file root's and the staff's, 0640, and the staff group recorded in the local folder.
    const QString data = site.local(SharePath(kServer, QStringLiteral("\\ぺるみな\\管理データ")));
    for (QString dir = data; dir.startsWith(site.root()); dir = QFileInfo(dir).absolutePath()) {
        ASSERT_EQ(run("chmod", {"a+rx", dir}), 0);
        if (dir == site.root())
            break;
    }
    ASSERT_EQ(run("chgrp", {school, data}), 0);
    ASSERT_EQ(run("chmod", {"2770", data}), 0);
    writeAdministrators(site, QStringLiteral("kanrisecret,,,,\r\n"));
    const QString file = site.local(SharePath(kServer, perumina::tails::kAdministrators));
    ASSERT_EQ(run("chown", {"root:" + staff, file}), 0);
    ASSERT_EQ(run("chmod", {"0640", file}), 0);
    site.writeBytes(perumina::local::kStaffGroup, staff.toUtf8() + "\r\n");
    EXPECT_EQ(checkAdministrator(kServer, "kanri", "secret"), AdminCheck::Admitted);

    // As a pupil would with a shell or a file manager: rename the file away and write one's own.
    const QString fileArg = "'" + file + "'";
    ASSERT_EQ(
        run("su", {pupil, "-s", "/bin/sh", "-c",
                   "mv " + fileArg + " " + fileArg + ".old && printf 'pupilpupil,,,,\\r\\n' > " + fileArg}),
        0);
    QString why;
    EXPECT_EQ(checkAdministrator(kServer, "pupil", "pupil", &why), AdminCheck::Refused);
    EXPECT_TRUE(why.contains(pupil) && why.contains(QStringLiteral("持ち主"))) << why.toStdString();
    EXPECT_EQ(checkAdministrator(kServer, "kanri", "secret"), AdminCheck::Refused);

    // Written by root but left writable by the group, or a link to a staff file: refused as well.
    ASSERT_TRUE(QFile::remove(file));
    writeAdministrators(site, QStringLiteral("pupilpupil,,,,\r\n"));
    ASSERT_EQ(run("chmod", {"0660", file}), 0);
    EXPECT_EQ(checkAdministrator(kServer, "pupil", "pupil", &why), AdminCheck::Refused);
    EXPECT_TRUE(why.contains(QStringLiteral("0660"))) << why.toStdString();
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(QFile::link(file + ".old", file));
    EXPECT_EQ(checkAdministrator(kServer, "kanri", "secret", &why), AdminCheck::Refused);
    EXPECT_TRUE(why.contains(QStringLiteral("リンク"))) << why.toStdString();

    // Without the set-up's record the site is a local one, read as it always was.
    ASSERT_TRUE(QFile::remove(site.local(perumina::local::kStaffGroup)));
    EXPECT_EQ(checkAdministrator(kServer, "kanri", "secret"), AdminCheck::Admitted);
}
