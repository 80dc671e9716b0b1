#include "common/testsite.h"
#include "setup/site.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
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
                    const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment(),
                    const QByteArray &input = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QFileInfo(program).isAbsolute() ? program : testing_support::binDir() + "/" + program,
                  args);
    process.write(input);
    process.closeWriteChannel();
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
    const QString group = QString::fromLocal8Bit(::getgrgid(::getgid())->gr_name);
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
        {{"--root", site.root(), "--server", "S", "--no-such-option"}},
        {{"--root", site.root(), "--server"}},
        {{"--root", site.root(), "--server", "S", "surplus"}},
        {{"--root", site.root(), "--server", "S", "--go-back"}},
        {{"--root", site.root(), "--server", "S", "--replace-admin"}},
        {{"--root", site.root(), "--server", "S", "--admin", "a", "--admin-password", "p", "--add-admin",
          "--replace-admin"}},
        {{"--root", site.root(), "--server", "S", "--smb-conf", site.root() + "/smb.conf"}},
        // A group or Samba file that is not there is found before anything is written.
        {{"--root", site.root(), "--server", "S", "--role", "server", "--group", "no-such-group-perumina",
          "--staff-group", group}},
        {{"--root", site.root(), "--server", "S", "--role", "server", "--group", group, "--staff-group",
          group, "--smb-conf", site.root() + "/missing/smb.conf"}},
    };
    for (const Case &c : cases) {
        const SetupRun run = runSetup(c.args);
        EXPECT_EQ(run.code, 2) << c.args.join(' ').toStdString();
        EXPECT_FALSE(run.err.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(site.root() + "/c"));
    EXPECT_FALSE(QFileInfo::exists(site.root() + "/unc"));
    const SetupRun help = runSetup({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char *option :
         {"--root", "--server", "--admin", "--admin-password", "--version", "--role", "--group",
          "--staff-group", "--samba-conf", "--smb-conf", "--school-year", "--go-back", "--add-admin",
          "--replace-admin", "--demo", "--reset-password", "--retire", "--retire-list"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    // The manual page describes every option --help lists.
    QFile manPage(QStringLiteral(PERUMINA_SETUP_MAN_PAGE));
    ASSERT_TRUE(manPage.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(manPage.readAll()).remove(u'\\');
    static const QRegularExpression listed(QStringLiteral("^  (?:-\\w, )?(--[a-z-]+)"),
                                           QRegularExpression::MultilineOption);
    int options = 0;
    for (auto it = listed.globalMatch(help.out); it.hasNext(); ++options) {
        const QString option = it.next().captured(1);
        EXPECT_TRUE(manual.contains(option)) << option.toStdString();
    }
    EXPECT_GE(options, 19);
    // Wholly Japanese: none of the parser's own English headings or descriptions.
    for (const char *english : {"Usage", "Options", "Displays", "help on", "version information"})
        EXPECT_FALSE(help.out.contains(QLatin1String(english), Qt::CaseInsensitive)) << english;
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
    // Without a display the programs with windows say so and end with 1, instead of Qt's abort.
    for (const char *program : {"PeruminaClient", "PeruminaAdmin", "DayBoardS", "MonthBoardC"}) {
        const SetupRun windowless = runProgram(QString::fromLatin1(program), {}, bare);
        EXPECT_EQ(windowless.code, 1) << program << windowless.err.toStdString();
        EXPECT_TRUE(windowless.err.contains(QStringLiteral("画面（ディスプレイ）が見つからない"))) << program;
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

    const QString group = QString::fromLocal8Bit(::getgrgid(::getgid())->gr_name);
    const QStringList groups{"--group", group, "--staff-group", group};
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

    // Adding an administrator keeps the first; replacing leaves the new one alone.
    const QString admins = SharePath(QStringLiteral("STAFFROOM"), tails::kAdministrators);
    const QStringList server{"--root",  site.root(), "--server",      "STAFFROOM", "--role",       "server",
                             "--group", group,       "--staff-group", group,       "--samba-conf", conf};
    for (const auto &[extra, expected] :
         {std::pair{QStringList{"--admin", "kouchou", "--admin-password", "pw2"}, "adminpw,,,,\r\n"},
          std::pair{QStringList{"--admin", "kouchou", "--admin-password", "pw2", "--add-admin"},
                    "adminpw,,,,\r\nkouchoupw2,,,,\r\n"},
          std::pair{QStringList{"--admin", "kouchou", "--admin-password", "pw2", "--add-admin"},
                    "adminpw,,,,\r\nkouchoupw2,,,,\r\n"},
          std::pair{QStringList{"--admin", "kyoutou", "--admin-password", "pw3", "--replace-admin"},
                    "kyoutoupw3,,,,\r\n"}}) {
        const SetupRun change = runSetup(server + extra);
        EXPECT_EQ(change.code, 0) << change.err.toStdString();
        EXPECT_EQ(site.bytes(admins), QByteArray(expected)) << extra.join(' ').toStdString();
        EXPECT_EQ(mode(site.local(admins)), 0640u);
    }
}

// The include line goes into Debian's own smb.conf once, at the end of [global], with a copy of the
// file as it was; a configuration testparm warns about is refused by name and left untouched.
TEST(Setup, serverIncludesTheShareInSmbConfAndRefusesAnyWarning)
{
    const QString debian = QStringLiteral("/usr/share/samba/smb.conf");
    if (!QFileInfo::exists(debian) || QStandardPaths::findExecutable("testparm").isEmpty())
        GTEST_SKIP() << "needs Debian's smb.conf and testparm (packages samba-common, samba-common-bin)";
    TempSite site;
    const QString group = QString::fromLocal8Bit(::getgrgid(::getgid())->gr_name);
    const QString smbConf = site.root() + "/smb.conf";
    ASSERT_TRUE(QFile::copy(debian, smbConf));
    QFile::setPermissions(smbConf,
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    const QByteArray original = site.bytes(smbConf);
    const QString share = site.root() + "/perumina-smb.conf";
    const QStringList args{"--root",  site.root(), "--server",      "STAFFROOM", "--role",     "server",
                           "--group", group,       "--staff-group", group,       "--smb-conf", smbConf};
    for (int run = 0; run < 2; ++run) {
        const SetupRun setupRun = runSetup(args);
        ASSERT_EQ(setupRun.code, 0) << setupRun.err.toStdString();
    }
    const QString edited = QString::fromUtf8(site.bytes(smbConf));
    const QString line = "   include = " + share + "\n";
    EXPECT_EQ(edited.count(line), 1);
    // After the last global setting, before the share definitions.
    const qsizetype at = edited.indexOf(line);
    EXPECT_LT(edited.lastIndexOf(QStringLiteral("map to guest"), at), at);
    EXPECT_LT(edited.lastIndexOf(QStringLiteral("usershare allow guests"), at), at);
    EXPECT_GT(edited.indexOf(QStringLiteral("[homes]")), at);
    const QStringList backups = QDir(site.root()).entryList({"smb.conf.*.bak"});
    ASSERT_EQ(backups.size(), 1);
    EXPECT_EQ(site.bytes(site.root() + "/" + backups.first()), original);
    QProcess testparm;
    testparm.start(QStandardPaths::findExecutable("testparm"), {"-s", smbConf});
    ASSERT_TRUE(testparm.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(testparm.readAllStandardOutput()).contains(QStringLiteral("[ぺるみな]")));
    EXPECT_TRUE(setup::testparmComplaints(QString::fromUtf8(testparm.readAllStandardError())).isEmpty());

    // A setting testparm does not know: refused, named, and smb.conf left as it was.
    QByteArray bad = original;
    bad.replace("[global]\n", "[global]\n   bogus perumina setting = 1\n");
    site.writeBytes(smbConf, bad);
    const SetupRun refused = runSetup(args);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("bogus perumina setting"))) << refused.err.toStdString();
    EXPECT_EQ(site.bytes(smbConf), bad);
    // The line where an older guide put it, directly under [global], made every later global setting
    // a share setting: it moves to the end of [global].
    QByteArray early = original;
    early.replace("[global]\n", "[global]\n   include = " + QFile::encodeName(share) + "\n");
    site.writeBytes(smbConf, early);
    const SetupRun moved = runSetup(args);
    EXPECT_EQ(moved.code, 0) << moved.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(site.bytes(smbConf)), edited);
    // A smb.conf without [global] gets one at its end.
    EXPECT_EQ(setup::withSambaInclude(QStringLiteral("[x]\n path = /x\n"), QStringLiteral("/p.conf")),
              QStringLiteral("[x]\n path = /x\n\n[global]\n   include = /p.conf\n"));
}

TEST(Setup, resetsAPasswordAndRetiresPeopleAndAnUnknownNameWritesNothing)
{
    TempSite site;
    const QString root = site.root();
    ASSERT_EQ(
        runSetup({"--root", root, "--server", "STAFFROOM", "--admin", "admin", "--admin-password", "pw"})
            .code,
        0);
    const QString server = QStringLiteral("STAFFROOM");
    const QStringList tails = {tails::kFullNames, tails::kCredentials, tails::kAdminRecords,
                               tails::kUserNames};
    auto registry = [&] {
        QList<QByteArray> all;
        for (const QString &tail : tails)
            all.append(site.bytes(SharePath(server, tail)));
        return all;
    };
    const QStringList people[] = {
        {"alice", "青木愛", "a1"}, {"bob", "馬場僕", "b2"}, {"carol", "加藤花", "c3"}};
    for (const QStringList &p : people) {
        const QStringList records = {p[1], p[0] + p[2], p[0] + "," + p[1] + "," + p[2], p[0]};
        for (int i = 0; i < 4; ++i)
            ASSERT_TRUE(AppendQuotedRecords(site.local(SharePath(server, tails[i])), {records[i]}));
        site.writeBytes(site::inbox(server, p[1]), sjis("\"受信\"\r\n"));
        QDir().mkpath(site.local(site::adminCopyFolder(server, p[1])));
    }
    const QString list = root + "/names.txt";
    auto writeList = [&](const QByteArray &bytes) {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    };
    const QList<QByteArray> before = registry();
    const QByteArray utf8Mark = "\xEF\xBB\xBF";
    writeList(utf8Mark + QStringLiteral("青木愛\n知らない人\n").toUtf8());
    struct Unknown
    {
        QStringList args;
        const char *named;
    };
    for (const Unknown &u :
         {Unknown{{"--reset-password", "nobody"}, "nobody"}, Unknown{{"--retire", "青木愛", "馬場"}, "馬場"},
          Unknown{{"--retire-list", list}, "知らない人"}}) {
        const SetupRun run = runProgram("PeruminaSetup", QStringList{"--root", root} + u.args,
                                        QProcessEnvironment::systemEnvironment(), "x\n");
        EXPECT_EQ(run.code, 1) << u.named;
        EXPECT_TRUE(run.err.contains(QString::fromUtf8(u.named))) << run.err.toStdString();
        EXPECT_EQ(registry(), before) << u.named;
    }
    EXPECT_FALSE(QFileInfo::exists(site.local(site::administrationRecord())));

    const SetupRun reset = runProgram("PeruminaSetup", {"--root", root, "--reset-password", "bob"},
                                      QProcessEnvironment::systemEnvironment(), "newpw\r\n");
    ASSERT_EQ(reset.code, 0) << reset.err.toStdString();
    EXPECT_TRUE(reset.out.contains(QStringLiteral("パスワードを変更しました: bob（馬場僕）")));
    EXPECT_EQ(site.bytes(SharePath(server, tails::kCredentials)),
              sjis("\"alicea1\"\r\n\"bobnewpw\"\r\n\"carolc3\"\r\n"));

    // A class list kept in code page 932, with an empty line.
    writeList(sjis("青木愛\r\n\r\n  加藤花\r\n"));
    const SetupRun retire = runSetup({"--root", root, "--retire-list", list});
    ASSERT_EQ(retire.code, 0) << retire.err.toStdString();
    EXPECT_TRUE(retire.out.contains(QStringLiteral("退会させました: 加藤花")));
    EXPECT_EQ(registry(), (QList<QByteArray>{sjis("\"馬場僕\"\r\n"), sjis("\"bobnewpw\"\r\n"),
                                             sjis("\"bob,馬場僕,newpw\"\r\n"), sjis("\"bob\"\r\n")}));
    const QString archive = site::retiredArchive(server, "青木愛", QDate::currentDate());
    EXPECT_EQ(site.bytes(archive + "/青木愛/受信箱.txt"), sjis("\"受信\"\r\n"));
    EXPECT_TRUE(QFileInfo(archive + "/管理用").isDir());
    const QStringList recorded = decodeCp932(site.bytes(site::administrationRecord())).split("\r\n");
    ASSERT_EQ(recorded.size(), 3);
    EXPECT_TRUE(recorded[0].endsWith(QStringLiteral("\"パスワードを変更: bob（馬場僕）\"")));
    EXPECT_TRUE(recorded[1].endsWith(QStringLiteral("\"退会: 青木愛、加藤花\"")));
    EXPECT_TRUE(recorded[1].contains(QString::fromLocal8Bit(getpwuid(geteuid())->pw_name)));
}

// On a staff-room server only the staff group may change the registry: a pupil's account (in the
// share's group only) is refused before anything is written; a teacher's account does it, and the
// record outside the share is the staff's.
TEST(Setup, onlyTheStaffMayResetOrRetireOnAServer)
{
    const struct group *staff = ::getgrnam("staff");
    if (::geteuid() != 0 || !staff || QStandardPaths::findExecutable("setpriv").isEmpty())
        GTEST_SKIP() << "needs root, the group staff and setpriv";
    TempSite site;
    const QString root = site.root();
    ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 0755), 0);
    const QString pupils = QString::fromLocal8Bit(::getgrgid(::getgid())->gr_name);
    const SetupRun made = runSetup({"--root", root, "--server", "STAFFROOM", "--role", "server", "--group",
                                    pupils, "--staff-group", "staff", "--samba-conf", root + "/smb.conf",
                                    "--admin", "admin", "--admin-password", "pw"});
    ASSERT_EQ(made.code, 0) << made.err.toStdString();
    const QString record = site.local(site::administrationRecord());
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(record).constData(), &info), 0);
    EXPECT_EQ(info.st_gid, staff->gr_gid);
    EXPECT_EQ(info.st_mode & 0777, 0660u);
    const QString server = QStringLiteral("STAFFROOM");
    ASSERT_TRUE(AppendQuotedRecords(site.local(SharePath(server, tails::kFullNames)), {"青木愛"}));
    ASSERT_TRUE(AppendQuotedRecords(site.local(SharePath(server, tails::kCredentials)), {"alicea1"}));
    ASSERT_TRUE(
        AppendQuotedRecords(site.local(SharePath(server, tails::kAdminRecords)), {"alice,青木愛,a1"}));
    ASSERT_TRUE(AppendQuotedRecords(site.local(SharePath(server, tails::kUserNames)), {"alice"}));
    const QByteArray before = site.bytes(SharePath(server, tails::kAdminRecords));
    auto runAs = [&](const QString &groups) {
        return runProgram(QStandardPaths::findExecutable("setpriv"),
                          {"--reuid=65534", "--regid=" + QString::number(::getgid()), "--groups=" + groups,
                           testing_support::binDir() + "/PeruminaSetup", "--root", root, "--retire",
                           "青木愛"});
    };
    const QString pupilGroups = QString::number(::getgid());
    const SetupRun pupil = runAs(pupilGroups);
    EXPECT_EQ(pupil.code, 1);
    EXPECT_TRUE(pupil.err.contains(QStringLiteral("職員のアカウント"))) << pupil.err.toStdString();
    EXPECT_EQ(site.bytes(SharePath(server, tails::kAdminRecords)), before);
    const SetupRun teacher = runAs(pupilGroups + "," + QString::number(staff->gr_gid));
    EXPECT_EQ(teacher.code, 0) << teacher.err.toStdString();
    EXPECT_EQ(site.bytes(SharePath(server, tails::kAdminRecords)), QByteArray());
    EXPECT_TRUE(
        decodeCp932(site.bytes(site::administrationRecord())).contains(QStringLiteral("退会: 青木愛")));
}
