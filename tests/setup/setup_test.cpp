#include "common/testsite.h"
#include "setup/site.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace perumina;
using testing_support::sjis;
using testing_support::TempSite;

namespace {

struct SetupRun
{
    int code = -1;
    QString out;
    QString err;
};

SetupRun runProgram(const QString &program, const QStringList &args,
                    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(testing_support::binDir() + "/" + program, args);
    SetupRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.code = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// Every file and folder below root with its size and time, to see that a second run changes nothing.
QStringList snapshot(const QString &root)
{
    QStringList all;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        all.append(QStringLiteral("%1 %2 %3")
                       .arg(info.filePath())
                       .arg(info.size())
                       .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    all.sort();
    return all;
}

SetupRun runSetup(const QStringList &args)
{
    return runProgram(QStringLiteral("PeruminaSetup"), args);
}

} // namespace

TEST(Setup, createsTheWholeSiteAndChangesNothingTheSecondTime)
{
    TempSite site;
    const QStringList args{"--root",  site.root(), "--server",         "STAFFROOM",
                           "--admin", "admin",     "--admin-password", "pw"};
    const SetupRun first = runSetup(args);
    ASSERT_EQ(first.code, 0) << first.err.toStdString();

    const QString server = QStringLiteral("STAFFROOM");
    for (const QString &tail : {tails::kFullNames, tails::kCredentials, tails::kAdminRecords,
                                tails::kUserNames, tails::kInboxTemplate}) {
        EXPECT_TRUE(QFileInfo::exists(site.local(SharePath(server, tail)))) << tail.toStdString();
        EXPECT_EQ(site.bytes(SharePath(server, tail)), QByteArray());
    }
    EXPECT_TRUE(QFileInfo(site.local(SharePath(server, tails::kAdminFolder))).isDir());
    EXPECT_EQ(site.bytes(SharePath(server, tails::kAdministrators)), QByteArray("adminpw,,,,\r\n"));
    EXPECT_EQ(site.bytes(local::kLocator), QByteArray("STAFFROOM\r\n"));
    EXPECT_EQ(ReadServerName(), QStringLiteral("STAFFROOM"));
    EXPECT_TRUE(QFileInfo(site.local(QStringLiteral("c:\\group\\InboxSweep"))).isExecutable());
    EXPECT_TRUE(first.out.contains(QStringLiteral("登録者一覧.txt")));

    const QStringList before = snapshot(site.root());
    const SetupRun second = runSetup(args);
    ASSERT_EQ(second.code, 0);
    EXPECT_TRUE(second.out.contains(QStringLiteral("変更はありません")));
    EXPECT_EQ(snapshot(site.root()), before);
}

TEST(Setup, keepsWhatAlreadyExists)
{
    TempSite site;
    site.makeSite(QStringLiteral("STAFFROOM"));
    const QString names = SharePath(QStringLiteral("STAFFROOM"), tails::kUserNames);
    site.writeBytes(names, "\"taro\"\r\n");
    site.writeBytes(local::kLocator, "\r\n"); // names no server yet
    // An old sweeper copy from before an upgrade is replaced by the installed one.
    const QString sweeper = site.local(QStringLiteral("c:\\group\\InboxSweep"));
    site.writeBytes(QStringLiteral("c:\\group\\InboxSweep"), "old");
    const SetupRun run = runSetup({"--root", site.root(), "--server", "STAFFROOM"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QFile installed(testing_support::binDir() + "/InboxSweep");
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(site.bytes(QStringLiteral("c:\\group\\InboxSweep")), installed.readAll());
    EXPECT_TRUE(QFileInfo(sweeper).isExecutable());
    EXPECT_TRUE(run.out.contains(QStringLiteral("更新しました: ") + sweeper)) << run.out.toStdString();
    EXPECT_EQ(site.bytes(names), QByteArray("\"taro\"\r\n"));
    EXPECT_EQ(site.bytes(local::kLocator), QByteArray("STAFFROOM\r\n"));
    // Without --admin no administrator file is made.
    EXPECT_FALSE(
        QFileInfo::exists(site.local(SharePath(QStringLiteral("STAFFROOM"), tails::kAdministrators))));
}

TEST(Setup, takesTheRootFromTheEnvironmentAndJapaneseServerNames)
{
    TempSite site;
    ASSERT_EQ(runSetup({"--server", "職員室"}).code, 0);
    EXPECT_EQ(site.bytes(local::kLocator), sjis(QStringLiteral("職員室\r\n")));
    EXPECT_TRUE(QFileInfo(site.local(SharePath(QStringLiteral("職員室"), tails::kDataFolder))).isDir());
}

TEST(Setup, refusesBadOptionsWithAMessage)
{
    TempSite site;
    struct Case
    {
        QStringList args;
    } cases[] = {
        {{"--root", site.root()}},
        {{"--root", site.root(), "--server", "..\\x"}},
        {{"--root", site.root(), "--server", "S", "--admin", "a"}},
        {{"--root", site.root(), "--server", "S", "--admin", "a,b", "--admin-password", "p"}},
        {{"--root", site.root(), "--server", "S", "--admin", "a", "--admin-password", "𠮷"}},
        {{"--root", site.root(), "--server", "S", "--admin", " a", "--admin-password", "p"}},
        {{"--root", site.root(), "--server", "S", "--admin", "a ", "--admin-password", "p"}},
        {{"--root", site.root(), "--server", "S", "--role", "teacher"}},
        {{"--root", site.root(), "--server", "S", "--role", "server", "--group", "g"}},
        {{"--root", site.root(), "--server", "S", "--group", "g"}},
        {{"--root", site.root(), "--server", "S", "--role", "classroom", "--admin", "a", "--admin-password",
          "p"}},
    };
    for (const Case &c : cases) {
        const SetupRun run = runSetup(c.args);
        EXPECT_EQ(run.code, 2) << c.args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(site.local(local::kLocator)));
    const SetupRun help = runSetup({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char *option : {"--root", "--server", "--admin", "--admin-password", "--version", "--role",
                               "--group", "--staff-group", "--samba-conf"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
}

// Every program answers --help and --version and ends at once: no window, and no display needed.
TEST(CommandLine, everyProgramAnswersHelpAndVersionWithoutADisplay)
{
    TempSite site;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        bare.remove(QString::fromLatin1(name));
    for (const char *program :
         {"PeruminaClient", "DayBoardS", "DayBoardC", "LunchBoardS", "LunchBoardC", "MonthBoardS",
          "MonthBoardC", "PeruminaAdmin", "InboxSweep", "PeruminaSetup"}) {
        const QString name = QString::fromLatin1(program);
        const SetupRun version = runProgram(name, {"--version"}, bare);
        EXPECT_EQ(version.code, 0) << program << version.err.toStdString();
        EXPECT_EQ(version.out.trimmed(), name + QLatin1Char(' ') + QStringLiteral(PERUMINA_VERSION))
            << program;
        const SetupRun help = runProgram(name, {"--help"}, bare);
        EXPECT_EQ(help.code, 0) << program << help.err.toStdString();
        EXPECT_TRUE(help.out.contains(name)) << program;
        EXPECT_TRUE(help.out.contains(QStringLiteral("--version"))) << program;
        EXPECT_TRUE(help.err.isEmpty()) << program << help.err.toStdString();
    }
    // Answering --help never touched the site.
    EXPECT_FALSE(QFileInfo::exists(site.local(local::kLocator)));
}

TEST(Setup, administratorRecordIsOneLineOfFiveFields)
{
    EXPECT_EQ(setup::administratorRecord(QStringLiteral("admin"), QStringLiteral("pw")),
              QStringLiteral("adminpw,,,,\r\n"));
    EXPECT_EQ(parseFields(setup::administratorRecord(QStringLiteral("admin"), QStringLiteral("pw"))).size(),
              5);
    EXPECT_FALSE(setup::checkAdministratorValue(QStringLiteral("a\"b")).isEmpty());
    EXPECT_TRUE(setup::checkAdministratorValue(QStringLiteral("管理者")).isEmpty());
}

// A second run for another server, or a classroom computer without its share, must not make a new,
// empty site beside the real one.
TEST(Setup, refusesAnotherServersSiteAndAClassroomWithoutItsShare)
{
    TempSite site;
    const QString server = QStringLiteral("STAFFROOM");
    const SetupRun noShare =
        runSetup({"--root", site.root(), "--server", "STAFFROOM", "--role", "classroom"});
    EXPECT_EQ(noShare.code, 1);
    EXPECT_TRUE(noShare.err.contains(QStringLiteral("共有フォルダにつながっていません")))
        << noShare.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(site.local(SharePath(server, tails::kFullNames))));
    EXPECT_FALSE(QFileInfo::exists(site.local(local::kLocator)));

    // The share reachable (here on the same disk): only the local folder is made.
    site.makeSite(server);
    QFile::remove(site.local(local::kLocator));
    const QStringList shareBefore = snapshot(site.local(SharePath(server, tails::kShare)));
    const SetupRun classroom =
        runSetup({"--root", site.root(), "--server", "STAFFROOM", "--role", "classroom"});
    ASSERT_EQ(classroom.code, 0) << classroom.err.toStdString();
    EXPECT_EQ(site.bytes(local::kLocator), QByteArray("STAFFROOM\r\n"));
    EXPECT_TRUE(QFileInfo(site.local(QStringLiteral("c:\\group\\InboxSweep"))).isExecutable());
    EXPECT_EQ(snapshot(site.local(SharePath(server, tails::kShare))), shareBefore);

    const QStringList groups{"--group", "g", "--staff-group", "g"};
    for (const QStringList &role :
         {QStringList{"local"}, QStringList{"classroom"}, QStringList{"server"} + groups}) {
        const SetupRun other =
            runSetup(QStringList{"--root", site.root(), "--server", "OTHER", "--role"} + role);
        EXPECT_NE(other.code, 0) << role.join(' ').toStdString();
        EXPECT_TRUE(other.err.contains(QStringLiteral("STAFFROOM"))) << other.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(site.local(QStringLiteral("\\\\OTHER\\ぺるみな"))));
    EXPECT_EQ(site.bytes(local::kLocator), QByteArray("STAFFROOM\r\n"));
}

// The staff-room server: the share belongs to the school's group whatever the umask, the
// administrator file to the staff alone, and the Samba definition names the share's folder.
TEST(Setup, serverGivesTheShareToTheGroupAndWritesTheSambaShare)
{
    TempSite site;
    const QString group = QString::fromLocal8Bit(::getgrgid(::getgid())->gr_name);
    const QString conf = site.root() + "/smb/share.conf";
    QDir().mkpath(site.root() + "/smb");
    const SetupRun run = runSetup({"--root", site.root(), "--server", "STAFFROOM", "--role", "server",
                                   "--group", group, "--staff-group", group, "--samba-conf", conf, "--admin",
                                   "admin", "--admin-password", "pw"});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QString share = site.local(SharePath(QStringLiteral("STAFFROOM"), tails::kShare));
    auto mode = [](const QString &path) {
        struct stat info;
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    EXPECT_EQ(mode(share), 02770u);
    EXPECT_EQ(mode(site.local(SharePath(QStringLiteral("STAFFROOM"), tails::kAdminFolder))), 02770u);
    EXPECT_EQ(mode(site.local(SharePath(QStringLiteral("STAFFROOM"), tails::kFullNames))), 0660u);
    EXPECT_EQ(mode(site.local(SharePath(QStringLiteral("STAFFROOM"), tails::kAdministrators))), 0640u);
    const QString definition = QString::fromUtf8(site.bytes(conf));
    EXPECT_TRUE(definition.contains(QStringLiteral("[ぺるみな]")));
    EXPECT_TRUE(definition.contains(QStringLiteral("path = ") + QDir::cleanPath(share) + "\n"));
    EXPECT_TRUE(definition.contains(QStringLiteral("valid users = @") + group));
    // Over the share nobody reaches the administrator file; the administration program learns from the
    // local folder that this is a server.
    EXPECT_TRUE(definition.contains(QStringLiteral("veto files = /管理者情報.txt/\n")));
    EXPECT_EQ(site.bytes(perumina::local::kStaffGroup), group.toLocal8Bit() + "\r\n");
    if (QStandardPaths::findExecutable("testparm").isEmpty())
        EXPECT_TRUE(run.out.contains(QStringLiteral("testparm が無い")));
    else
        EXPECT_TRUE(run.out.contains(QStringLiteral("testparm で Samba の共有設定を確かめました")))
            << run.out.toStdString();

    const SetupRun unknownGroup =
        runSetup({"--root", site.root(), "--server", "STAFFROOM", "--role", "server", "--group",
                  "no-such-group-perumina", "--staff-group", group});
    EXPECT_EQ(unknownGroup.code, 1);
    EXPECT_TRUE(unknownGroup.err.contains(QStringLiteral("no-such-group-perumina")));
}
