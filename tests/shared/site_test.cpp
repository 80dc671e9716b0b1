#include "common/testsite.h"
#include "shared/paths.h"
#include "shared/singleinstance.h"
#include "shared/site.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace perumina;
using site::NameKind;

TEST(SiteLayout, namesEveryPathAsTheSystemDoesAndGivesItsPathHere)
{
    testing_support::TempSite root;
    const QString s = QStringLiteral("SV ");
    const QString name = QStringLiteral("山田太郎");
    const struct
    {
        QString path;
        const char *systemName;
    } cases[] = {
        {site::userFolder(s, name), "\\\\SV \\ぺるみな\\管理データ\\山田太郎"},
        {site::inbox(s, name), "\\\\SV \\ぺるみな\\管理データ\\山田太郎\\受信箱.txt"},
        {site::adminCopyFolder(s, name), "\\\\SV \\ぺるみな\\管理データ\\管理用\\山田太郎"},
        {site::picture(s, name, QStringLiteral("春")), "\\\\SV \\ぺるみな\\管理データ\\山田太郎\\春.jpg"},
        {site::adminCopyPicture(s, name, QStringLiteral("春")),
         "\\\\SV \\ぺるみな\\管理データ\\管理用\\山田太郎\\春.jpg"},
        {site::adminFolder(s), "\\\\SV \\ぺるみな\\管理データ\\管理用"},
        {site::presenceFolder(s), "\\\\SV \\ぺるみな\\管理データ\\開いているボード\\"},
        {site::dataFile(s, site::kMonthIndex), "\\\\SV \\ぺるみな\\管理データ\\年月取得.txt"},
        {site::lockPath(site::inbox(s, QStringLiteral("a"))),
         "\\\\SV \\ぺるみな\\管理データ\\a\\受信箱.txt.lock"},
        {site::share(s), "\\\\SV \\ぺるみな\\"},
        {site::retiredArchive(s, name, QDate(2027, 3, 20)),
         "\\\\SV \\ぺるみな\\管理データ\\退会者\\山田太郎-20270320"},
        {site::locatorFile(), "c:\\group\\ぺるみな.txt"},
        {site::sweeperProgram(), "c:\\group\\InboxSweep.exe"},
        {site::staffGroupFile(), "c:\\group\\職員グループ.txt"},
    };
    for (const auto &c : cases) {
        const QString systemName = QString::fromUtf8(c.systemName);
        // The path here, mapped where it is made.
        EXPECT_EQ(c.path, root.local(systemName)) << c.systemName;
        // A message can still name the file as the system does.
        EXPECT_EQ(perumina::systemName(c.path), systemName) << c.systemName;
    }
    EXPECT_EQ(perumina::systemName(QStringLiteral("/tmp/x.txt")), QStringLiteral("/tmp/x.txt"));
    // The inbox copy is the person's own, never the local folder that every account shares.
    EXPECT_TRUE(site::localInboxCopy().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/'));
}

// An account with no home folder and no session: its own folder lies in the system's temporary
// folder, private to it, and the single-start lock works there. A link or another account's folder
// planted in its place is never used.
TEST(SiteLayout, anAccountWithoutHomeOrSessionGetsItsOwnTemporaryFolder)
{
    testing_support::TempSite root;
    testing_support::NoHomeOrSession environment;
    const QString account = environment.accountFolder();

    const QString folder = personalSiteFolder();
    ASSERT_TRUE(folder.startsWith(account + u'/')) << folder.toStdString();
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    for (const QString &own : {account, folder}) {
        const QFileDevice::Permissions p = QFileInfo(own).permissions();
        EXPECT_EQ(p & ownerOnly, ownerOnly) << own.toStdString();
        EXPECT_EQ(p.toInt() & 0x77, 0) << own.toStdString(); // nothing for the group or others
    }
    EXPECT_TRUE(site::localInboxCopy().startsWith(folder + u'/'));
    {
        SingleInstance first(QStringLiteral("PeruminaClient"));
        SingleInstance second(QStringLiteral("PeruminaClient"));
        EXPECT_TRUE(first.lockPath().startsWith(folder + u'/'));
        EXPECT_TRUE(first.acquire());
        EXPECT_FALSE(second.acquire());
    }

    // Planted in its place: a link to a folder of someone else's choosing, or (as root can show)
    // another account's folder.
    ASSERT_TRUE(QDir(account).removeRecursively());
    const QString elsewhere = environment.tempFolder() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QFile::link(elsewhere, account));
    EXPECT_TRUE(personalSiteFolder().isEmpty());
    EXPECT_TRUE(SingleInstance(QStringLiteral("PeruminaClient")).lockPath().isEmpty());
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    if (::getuid() == 0) {
        ASSERT_TRUE(QFile::remove(account));
        ASSERT_TRUE(QDir().mkpath(account));
        ASSERT_EQ(::chown(QFile::encodeName(account).constData(), 65534, 65534), 0);
        EXPECT_TRUE(personalSiteFolder().isEmpty());
    }
}

struct NameCase
{
    QString name;
    bool fullName; // accepted as a full name
    bool title;    // accepted as a picture title
    bool server;   // accepted as a server name
};

// The one rule for names that become a file or folder of the site. Registration, the mail and picture
// screens and the set-up all ask it, so a name refused anywhere is refused everywhere.
TEST(SiteNames, acceptOnlyWhatNamesOneFileOrFolderEverywhere)
{
    const QString yen = QStringLiteral("100¥");
    const NameCase cases[] = {
        {QStringLiteral("山田太郎"), true, true, true},
        {QStringLiteral("山田太郎-A"), true, true, true},
        {QStringLiteral("山田 太郎"), true, true, true},
        {QStringLiteral("ソ表能"), true, true, true}, // second byte 0x5C is no separator
        {QStringLiteral("ｶﾀｶﾅ　と　全角"), true, true, true},
        {QStringLiteral("a.b"), true, true, true},
        {QStringLiteral("CONCERT"), true, true, true},
        {QStringLiteral("朝〜夜"), true, true, true}, // a look-alike the code page holds once folded
        // Commas and quotes would split a full name's registry record.
        {QStringLiteral("1+1=2 (です), はい"), false, true, true},
        {QString(), false, false, false},
        {QStringLiteral("a/b"), false, false, false},
        {QStringLiteral("..\\..\\管理者情報"), false, false, false},
        {QStringLiteral("c:x"), false, false, false},
        {QStringLiteral("何*"), false, false, false},
        {QStringLiteral("何?"), false, false, false},
        {QStringLiteral("\"引用\""), false, false, false},
        {QStringLiteral("<a>"), false, false, false},
        {QStringLiteral("a|b"), false, false, false},
        {QStringLiteral("a\tb"), false, false, false},
        {QStringLiteral("a\nb"), false, false, false},
        {QStringLiteral("a\x7f"), false, false, false},
        {QStringLiteral(" 春"), false, false, false},
        {QStringLiteral("春 "), false, false, false},
        {QStringLiteral("　春"), false, false, false},
        {QStringLiteral("山田太郎　"), false, false, false}, // registered once, then never sent a picture
        {QStringLiteral("春\u00a0"), false, false, false},
        {QStringLiteral("春\u2003"), false, false, false},
        {QStringLiteral(".hidden"), false, false, false},
        {QStringLiteral("春."), false, false, false},
        {QStringLiteral("."), false, false, false},
        {QStringLiteral(".."), false, false, false},
        {QStringLiteral("CON"), false, false, false},
        {QStringLiteral("con"), false, false, false},
        {QStringLiteral("nul.txt"), false, false, false},
        {QStringLiteral("Lpt1"), false, false, false},
        {QStringLiteral("COM9.jpg"), false, false, false},
        {QStringLiteral("𠮷野家"), false, false, false},
        {QStringLiteral("絵😀"), false, false, false},
        // Code page 932 writes the yen sign as the backslash byte.
        {yen, false, false, false},
        // 255 bytes for one name: a title also carries ".jpg" and, while its file is replaced, the
        // temporary file's ".XXXXXX".
        {QString(85, QChar(u'山')), true, false, true},
        {QString(82, QChar(u'山')), true, false, true},
        {QString(81, QChar(u'山')), true, true, true},
        {QString(244, QChar(u'a')), true, true, true},
        {QString(245, QChar(u'a')), true, false, true},
        {QString(86, QChar(u'山')), false, false, false},
        // Names the system keeps beside the user folders, whether the file exists yet or not, in any
        // case, also as the lock or the temporary file of a replacement; a picture may carry them.
        {QStringLiteral("管理用"), false, true, true},
        {QStringLiteral("ユーザー名.txt"), false, true, true},
        {QStringLiteral("管理者情報.TXT"), false, true, true},
        {QStringLiteral("行事予定.txt"), false, true, true},
        {QStringLiteral("findfile.avi"), false, true, true},
        {QStringLiteral("受信箱.txt"), false, true, true},
        {QStringLiteral("登録中.txt"), false, true, true},
        {QStringLiteral("開いているボード"), false, true, true},
        {QStringLiteral("退会者"), false, true, true},
        {QStringLiteral("2025年度"), false, true, true},
        {QStringLiteral("メッセージ一覧.txt.lock"), false, true, true},
        {QStringLiteral("日付取得.txt.Lock.lock"), false, true, true},
        {QStringLiteral("月別行事.txt.aB3xYz"), false, true, true},
        {QStringLiteral("認証情報.txt.lock.q1w2e3"), false, true, true},
        {QStringLiteral("山田.lock"), false, true, true},
        {QStringLiteral("管理用2"), true, true, true},
        {QStringLiteral("年度"), true, true, true},
        {QStringLiteral("２０２５年度"), true, true, true},
        {QStringLiteral("ユーザー名"), true, true, true},
        {QStringLiteral("行事予定.txt.bak"), true, true, true},
    };
    for (const NameCase &c : cases) {
        const QString shown = c.name.toHtmlEscaped();
        EXPECT_EQ(site::nameProblem(c.name, NameKind::FullName).isEmpty(), c.fullName) << shown.toStdString();
        EXPECT_EQ(site::nameProblem(c.name, NameKind::Title).isEmpty(), c.title) << shown.toStdString();
        EXPECT_EQ(site::nameProblem(c.name, NameKind::ServerName).isEmpty(), c.server) << shown.toStdString();
    }
}

TEST(SiteNames, sayWhichBoxAndWhy)
{
    EXPECT_EQ(site::nameProblem(QString(), NameKind::Title), QStringLiteral("タイトルを入力してください"));
    EXPECT_EQ(site::nameProblem(QString(), NameKind::FullName), QStringLiteral("本名を入力して下さい。"));
    EXPECT_EQ(site::nameProblem(QStringLiteral("鈴木/一郎"), NameKind::FullName),
              QStringLiteral("本名に次の文字は使えません。　\\ / : * ? \" < > |"));
    EXPECT_TRUE(site::nameProblem(QStringLiteral("a/b"), NameKind::Title)
                    .contains(QStringLiteral("タイトルに使えない文字")));
    EXPECT_TRUE(site::nameProblem(QStringLiteral("春　"), NameKind::Title)
                    .contains(QStringLiteral("空白やピリオド")));
    EXPECT_TRUE(site::nameProblem(QStringLiteral("nul.txt"), NameKind::Title)
                    .contains(QStringLiteral("ファイル名に使えません")));
    EXPECT_TRUE(
        site::nameProblem(QString(90, QChar(u'絵')), NameKind::Title).contains(QStringLiteral("長すぎます")));
    EXPECT_TRUE(site::nameProblem(QStringLiteral("..\\x"), NameKind::ServerName)
                    .contains(QStringLiteral("サーバー名")));
}
