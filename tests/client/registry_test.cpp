#include "client/core/illustration.h"
#include "client/core/login.h"
#include "client/core/registry.h"
#include "client/core/registryadmin.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "startup_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

using namespace startup_testing;
using namespace client;
using perumina::tails::kAdminRecords;
using perumina::tails::kCredentials;
using perumina::tails::kFullNames;
using perumina::tails::kUserNames;
using testing_support::sjis;

namespace {

struct ValueCase
{
    const char *name;
    QString userName;
    QString fullName;
    QString password;
    std::optional<Field> refused; // nothing: accepted
};

class NewUserValues : public testing::TestWithParam<ValueCase>
{
};

TEST_P(NewUserValues, refuseWhatBreaksTheRecordsOrTheFolder)
{
    const ValueCase &c = GetParam();
    const auto refusal = checkNewUserValues(foldedNewUser(c.userName, c.fullName, c.password));
    ASSERT_EQ(refusal.has_value(), c.refused.has_value()) << (refusal ? refusal->message.toStdString() : "");
    if (refusal) {
        EXPECT_EQ(refusal->field, *c.refused);
        EXPECT_FALSE(refusal->message.isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NewUserValues,
    testing::Values(ValueCase{"plain", "taro", "山田太郎", "abc1234", std::nullopt},
                    ValueCase{"hyphenMark", "たろう", "山田太郎-A", "p", std::nullopt},
                    ValueCase{"spaceInside", "taro", "山田 太郎", "p", std::nullopt},
                    ValueCase{"lookalikeFolded", "taro〜", "山田", "p", std::nullopt},
                    ValueCase{"emptyUserName", "", "山田太郎", "p", Field::UserName},
                    ValueCase{"emptyFullName", "taro", "", "p", Field::FullName},
                    ValueCase{"emptyPassword", "taro", "山田太郎", "", Field::Password},
                    ValueCase{"commaInUserName", "ta,ro", "山田太郎", "p", Field::UserName},
                    ValueCase{"quoteInUserName", "ta\"ro", "山田太郎", "p", Field::UserName},
                    ValueCase{"commaInPassword", "taro", "山田太郎", "a,b", Field::Password},
                    ValueCase{"quoteInPassword", "taro", "山田太郎", "a\"b", Field::Password},
                    ValueCase{"tabInUserName", "ta\tro", "山田太郎", "p", Field::UserName},
                    ValueCase{"unencodableUserName", "𠮷田", "山田太郎", "p", Field::UserName},
                    ValueCase{"unencodablePassword", "taro", "山田太郎", "p😀", Field::Password},
                    // The full name goes through the site's name rule; its cases are tabled beside it.
                    ValueCase{"folderRuleForFullName", "taro", "山田太郎　", "p", Field::FullName}),
    [](const testing::TestParamInfo<ValueCase> &info) { return info.param.name; });

// Someone registration accepts can be sent mail and pictures, and someone it refuses cannot.
TEST(FullNameRule, registrationAndPicturesAgree)
{
    for (const QString &fullName : {QStringLiteral("山田太郎"), QStringLiteral("山田 太郎"),
                                    QStringLiteral("山田太郎　"), QStringLiteral("山田,太郎"),
                                    QStringLiteral(".."), QStringLiteral("con"), QStringLiteral("山田¥")}) {
        const bool registered = !checkNewUserValues({QStringLiteral("taro"), fullName, QStringLiteral("p")});
        EXPECT_EQ(registered, illustration::recipientProblem(fullName).isEmpty()) << fullName.toStdString();
    }
}

struct TakenCase
{
    const char *name;
    QStringList userNames;
    QStringList fullNames;
    QString userName;
    QString fullName;
    std::optional<Field> refused;
};

class TakenNames : public testing::TestWithParam<TakenCase>
{
};

TEST_P(TakenNames, areFoundAnywhereInTheRegisteredText)
{
    const TakenCase &c = GetParam();
    const auto refusal = checkTaken({c.userName, c.fullName, "p"}, joinedWithLineEnds(c.userNames),
                                    joinedWithLineEnds(c.fullNames));
    ASSERT_EQ(refusal.has_value(), c.refused.has_value());
    if (refusal) {
        EXPECT_EQ(refusal->field, *c.refused);
        EXPECT_EQ(refusal->message,
                  *c.refused == Field::UserName ? kUserNameTakenMessage : kFullNameTakenMessage);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TakenNames,
    testing::Values(TakenCase{"sameUserName", {"taro"}, {"山田太郎"}, "taro", "鈴木", Field::UserName},
                    TakenCase{"partOfUserName", {"taro"}, {"山田太郎"}, "tar", "鈴木", Field::UserName},
                    TakenCase{"longerUserName", {"taro"}, {"山田太郎"}, "taro2", "鈴木", std::nullopt},
                    TakenCase{"sameFullName", {"taro"}, {"山田太郎"}, "jiro", "山田太郎", Field::FullName},
                    TakenCase{"partOfFullName", {"taro"}, {"山田太郎"}, "jiro", "山田", Field::FullName},
                    TakenCase{"markedFullName", {"taro"}, {"山田太郎"}, "jiro", "山田太郎-A", std::nullopt},
                    TakenCase{"userNameFirst", {"taro"}, {"山田太郎"}, "taro", "山田太郎", Field::UserName},
                    TakenCase{"nobodyYet", {}, {}, "taro", "山田太郎", std::nullopt},
                    TakenCase{"caseDiffers", {"taro"}, {"山田太郎"}, "Taro", "鈴木", std::nullopt},
                    // Spaces of any width at the ends do not show in the lists.
                    TakenCase{"wideSpaceUser", {"taro"}, {"山田太郎"}, "　taro", "鈴木", Field::UserName},
                    TakenCase{"spacedFullName", {"taro"}, {"山田"}, "jiro", "\u00a0山田 ", Field::FullName}),
    [](const testing::TestParamInfo<TakenCase> &info) { return info.param.name; });

TEST(Registry, userNamesAreListedInKanaOrder)
{
    EXPECT_EQ(sortedUserNames({"たろう", "さくら", "あきら", "かずお", "いちろう"}),
              (QStringList{"あきら", "いちろう", "かずお", "さくら", "たろう"}));
    // Katakana sorts with the same sounds in hiragana, not after every hiragana name.
    const QStringList mixed = sortedUserNames({"たろう", "カズオ", "あきら"});
    EXPECT_EQ(mixed, (QStringList{"あきら", "カズオ", "たろう"}));
}

TEST(Registry, recordingAppendsOneLineToEachFileAndMakesTheFolders)
{
    ClientOnSite s({{"hana", "佐藤花子", "h1"}});
    s.site.writeBytes(share(perumina::tails::kInboxTemplate), sjis("\"ひな形\"\r\n"));
    const auto result = recordRegistration(kServer, {"taro", "山田太郎", "abc1234"});
    ASSERT_EQ(result.outcome, RegistrationOutcome::Recorded) << result.error.toStdString();
    EXPECT_EQ(s.site.bytes(share(kFullNames)), sjis("\"佐藤花子\"\r\n\"山田太郎\"\r\n"));
    EXPECT_EQ(s.site.bytes(share(kCredentials)), sjis("\"hanah1\"\r\n\"taroabc1234\"\r\n"));
    EXPECT_EQ(s.site.bytes(share(kAdminRecords)),
              sjis("\"hana,佐藤花子,h1\"\r\n\"taro,山田太郎,abc1234\"\r\n"));
    EXPECT_EQ(s.site.bytes(share(kUserNames)), sjis("\"hana\"\r\n\"taro\"\r\n"));
    EXPECT_TRUE(QFileInfo(s.site.local(share("\\ぺるみな\\管理データ\\管理用\\山田太郎"))).isDir());
    EXPECT_EQ(s.site.bytes(share("\\ぺるみな\\管理データ\\山田太郎\\受信箱.txt")), sjis("\"ひな形\"\r\n"));
    // The registry lock is released again.
    perumina::SharedFileLock lock(registryLockPath(kServer));
    EXPECT_TRUE(lock.acquire(0));
}

TEST(Registry, recordingChecksAgainWhatOtherComputersRegisteredMeanwhile)
{
    ClientOnSite s;
    // The screen loaded an empty registry; another computer then registered taro and 山田太郎.
    ASSERT_FALSE(checkTaken({"taro", "山田太郎", "p"}, QString(), QString()));
    registerUsers({{"taro", "山田太郎", "pw"}});
    const QByteArray before = s.site.bytes(share(kUserNames));

    auto result = recordRegistration(kServer, {"taro", "別の人", "p"});
    ASSERT_EQ(result.outcome, RegistrationOutcome::Refused);
    EXPECT_EQ(result.refusal->field, Field::UserName);
    result = recordRegistration(kServer, {"jiro", "山田太郎", "p"});
    ASSERT_EQ(result.outcome, RegistrationOutcome::Refused);
    EXPECT_EQ(result.refusal->field, Field::FullName);
    EXPECT_EQ(s.site.bytes(share(kUserNames)), before);
    EXPECT_EQ(s.site.bytes(share(kFullNames)), sjis("\"山田太郎\"\r\n"));
}

TEST(Registry, aFullNameWhoseFolderExistsIsRefusedBeforeAnythingIsWritten)
{
    // 管理用 names the administration folder; a left-over user folder would hand over its inbox.
    ClientOnSite s;
    QDir().mkpath(s.site.local(share("\\ぺるみな\\管理データ\\残った人")));
    for (const QString &fullName : {QStringLiteral("管理用"), QStringLiteral("残った人")}) {
        const auto result = recordRegistration(kServer, {"taro", fullName, "p"});
        ASSERT_EQ(result.outcome, RegistrationOutcome::Refused) << fullName.toStdString();
        EXPECT_EQ(result.refusal->field, Field::FullName);
    }
    EXPECT_TRUE(s.site.bytes(share(kFullNames)).isEmpty());
    EXPECT_TRUE(s.site.bytes(share(kUserNames)).isEmpty());
}

TEST(Registry, failuresAreReportedAndNothingIsClaimed)
{
    {
        ClientOnSite s;
        QFile::remove(s.site.local(share(perumina::tails::kInboxTemplate)));
        const auto result = recordRegistration(kServer, {"taro", "山田太郎", "p"});
        EXPECT_EQ(result.outcome, RegistrationOutcome::Failed);
        EXPECT_FALSE(result.partlyWritten);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_TRUE(s.site.bytes(share(kFullNames)).isEmpty());
    }
    {
        ClientOnSite s; // the share is gone
        QDir(s.site.local(share(perumina::tails::kShare))).removeRecursively();
        const auto result = recordRegistration(kServer, {"taro", "山田太郎", "p"});
        EXPECT_EQ(result.outcome, RegistrationOutcome::Failed);
        EXPECT_FALSE(result.error.isEmpty());
    }
    {
        ClientOnSite s; // another computer holds the registry lock
        perumina::SharedFileLock other(registryLockPath(kServer));
        ASSERT_TRUE(other.acquire(0));
        const auto result = recordRegistration(kServer, {"taro", "山田太郎", "p"}, 100);
        EXPECT_EQ(result.outcome, RegistrationOutcome::Failed);
        EXPECT_TRUE(s.site.bytes(share(kFullNames)).isEmpty());
    }
}

TEST(Registry, aLinkWhereAFolderShouldGoIsRefusedBeforeAnythingIsWritten)
{
    ClientOnSite s;
    // A broken link where the administration copy folder should go: it looks absent, yet would lead the
    // new folder wherever it points.
    const QString blocked = s.site.local(share("\\ぺるみな\\管理データ\\管理用\\山田太郎"));
    ASSERT_TRUE(QFile::link(s.site.root() + "/nowhere", blocked));
    const auto result = recordRegistration(kServer, {"taro", "山田太郎", "p"});
    EXPECT_EQ(result.outcome, RegistrationOutcome::Failed);
    EXPECT_FALSE(result.partlyWritten);
    EXPECT_TRUE(result.error.contains("山田太郎")) << result.error.toStdString();
    EXPECT_TRUE(s.site.bytes(share(kFullNames)).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(s.site.root() + "/nowhere"));
}

// Everyone in people logs in with their own full name.
void expectAllGetIn(const QList<UserRecord> &people)
{
    const auto admin = loadAdminRecordLines(kServer);
    ASSERT_TRUE(admin.has_value());
    for (const UserRecord &p : people) {
        const LoginResult login = checkLogin(*admin, loadCredentialLines(kServer), p.userName, p.password);
        EXPECT_EQ(login.failure, 0) << p.userName.toStdString();
        EXPECT_EQ(login.fullName, p.fullName) << p.userName.toStdString();
    }
}

QList<QByteArray> registryBytes(const testing_support::TempSite &site)
{
    QList<QByteArray> all;
    for (const QString &tail : {kFullNames, kCredentials, kAdminRecords, kUserNames})
        all.append(site.bytes(share(tail)));
    return all;
}

TEST(Registry, aRecordingStoppedAfterAnyStepIsTakenBackAndLocksNobodyOut)
{
    ClientOnSite s({{"hana", "佐藤花子", "h1"}});
    QList<UserRecord> people = {{"hana", "佐藤花子", "h1"}};
    const NewUser stopped{"stop", "止まった人", "s"};
    for (int k = FullNameAppended; k <= InboxCopied; ++k) {
        const QList<QByteArray> before = registryBytes(s.site);
        const auto stopAtK = [k](RecordingStep done) {
            return done == k ? perumina::Status::failure(QStringLiteral("共有フォルダが切れました。"))
                             : perumina::Status::success();
        };
        const auto result = recordRegistration(kServer, stopped, 10000, stopAtK);
        ASSERT_EQ(result.outcome, RegistrationOutcome::Failed) << k;
        EXPECT_FALSE(result.partlyWritten) << k;
        EXPECT_TRUE(result.error.startsWith("共有フォルダが切れました。")) << result.error.toStdString();
        EXPECT_EQ(registryBytes(s.site), before) << k;
        EXPECT_FALSE(QFileInfo::exists(s.site.local(perumina::site::registrationNote(kServer)))) << k;
        EXPECT_FALSE(QFileInfo::exists(s.site.local(share("\\ぺるみな\\管理データ\\止まった人")))) << k;
        EXPECT_FALSE(QFileInfo::exists(s.site.local(share("\\ぺるみな\\管理データ\\管理用\\止まった人"))))
            << k;
        const UserRecord next{QStringLiteral("next%1").arg(k), QStringLiteral("次の人%1").arg(k),
                              QStringLiteral("n%1").arg(k)};
        ASSERT_EQ(recordRegistration(kServer, {next.userName, next.fullName, next.password}).outcome,
                  RegistrationOutcome::Recorded);
        people.append(next);
    }
    ASSERT_EQ(recordRegistration(kServer, stopped).outcome, RegistrationOutcome::Recorded);
    people.append({stopped.userName, stopped.fullName, stopped.password});
    expectAllGetIn(people);
}

// The lengths of the four files before their record number index (0 = the first record).
QList<qsizetype> lengthsBefore(const QList<QByteArray> &files, int index)
{
    QList<qsizetype> lengths;
    for (const QByteArray &file : files) {
        qsizetype at = 0;
        for (int i = 0; i < index; ++i)
            at = file.indexOf("\r\n", at) + 2;
        lengths.append(at);
    }
    return lengths;
}

QByteArray note(const QString &fullName, const QList<qsizetype> &lengths, const QStringList &more = {})
{
    QString text = fullName + "\r\n";
    for (qsizetype length : lengths)
        text += QString::number(length) + "\r\n";
    for (const QString &line : more)
        text += line + "\r\n";
    return sjis(text);
}

// Sets the time of the entry itself, not of what a link points to.
void age(const QString &path, int seconds)
{
    const timespec times[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

TEST(Registry, aPlantedNoteTakesNothingAwayAndWhateverLiesThereBlocksNobody)
{
    const QList<UserRecord> first = {
        {"hana", "佐藤花子", "h1"}, {"ken", "鈴木健", "k2"}, {"mai", "田中舞", "m3"}};
    ClientOnSite s(first);
    for (const UserRecord &p : first) {
        QDir().mkpath(s.site.local(share("\\ぺるみな\\管理データ\\" + p.fullName)));
        QDir().mkpath(s.site.local(share("\\ぺるみな\\管理データ\\管理用\\" + p.fullName)));
        s.site.writeBytes(share("\\ぺるみな\\管理データ\\" + p.fullName + "\\受信箱.txt"), {});
    }
    QList<UserRecord> people = first;
    const QString notePath = s.site.local(perumina::site::registrationNote(kServer));
    const QString mountPoint = s.site.root() + "/mnt";
    int next = 0;
    // Registers one more person with thing planted first; every byte before stays, everyone gets in.
    const auto registerOver = [&](const std::string &what,
                                  const std::function<void()> &plantThing) -> RegistrationResult {
        SCOPED_TRACE(what);
        const QList<QByteArray> before = registryBytes(s.site);
        plantThing();
        const UserRecord p{QStringLiteral("next%1").arg(next), QStringLiteral("次の人%1").arg(next), "n"};
        ++next;
        loadRegistryLists(kServer); // the registration screen opening
        const RegistrationResult result = recordRegistration(kServer, {p.userName, p.fullName, p.password});
        EXPECT_EQ(result.outcome, RegistrationOutcome::Recorded) << result.error.toStdString();
        if (result.outcome != RegistrationOutcome::Recorded)
            return result;
        const QList<QByteArray> after = registryBytes(s.site);
        for (int file = 0; file < 4; ++file)
            EXPECT_TRUE(after[file].startsWith(before[file]) &&
                        after[file].count("\r\n") == before[file].count("\r\n") + 1)
                << file;
        people.append(p);
        for (const UserRecord &q : people)
            EXPECT_TRUE(QFileInfo::exists(
                s.site.local(share("\\ぺるみな\\管理データ\\" + q.fullName + "\\受信箱.txt"))))
                << q.userName.toStdString();
        return result;
    };
    const auto writeNote = [&](const QByteArray &bytes) {
        QFile::remove(notePath);
        s.site.writeBytes(perumina::site::registrationNote(kServer), bytes);
    };
    // The last person, cut out of three files; a registered person at the files' sizes; an unregistered
    // name one record short and five bytes short.
    const QList<QByteArray> now = registryBytes(s.site);
    QList<qsizetype> cutLast = lengthsBefore(now, 2);
    cutLast[3] = now[3].size();
    registerOver("last person cut", [&] { writeNote(note("田中舞", cutLast)); });
    registerOver("registered at sizes", [&] {
        const QList<QByteArray> b = registryBytes(s.site);
        writeNote(note("佐藤花子", {b[0].size(), b[1].size(), b[2].size(), b[3].size()}));
    });
    registerOver("one record short", [&] {
        writeNote(note("知らない人", lengthsBefore(registryBytes(s.site), people.size() - 1)));
    });
    registerOver("five bytes short", [&] {
        const QList<QByteArray> b = registryBytes(s.site);
        writeNote(note("知らない人", {b[0].size() - 5, b[1].size() - 5, b[2].size() - 5, b[3].size() - 5}));
    });
    // A note as a recording writes it, naming each of the last three people with their own lengths.
    for (int back = 1; back <= 3; ++back) {
        const UserRecord &p = people[people.size() - back];
        registerOver("recording's note, " + std::to_string(back) + " back", [&] {
            writeNote(note(p.fullName, lengthsBefore(registryBytes(s.site), people.size() - back),
                           {p.userName, p.password}));
        });
    }
    // Things nobody can take a note from, old enough to be set aside.
    QFile::remove(notePath);
    const QList<std::pair<std::string, std::function<void()>>> things = {
        {"folder holding a read-only folder",
         [&] {
             QDir().mkpath(notePath + "/inner");
             s.site.writeBytes(notePath + "/inner/x", "x");
             QFile::setPermissions(notePath + "/inner", QFile::ReadOwner | QFile::ExeOwner);
         }},
        {"mode 000 file", [&] { writeNote("x"), QFile::setPermissions(notePath, {}); }},
        {"dangling link", [&] { QFile::link(s.site.root() + "/nowhere", notePath); }},
        {"garbage", [&] { writeNote("\x81\x81\"\r\n-1\r\n,,,\r\n"); }},
        {"too large", [&] { writeNote(QByteArray(1024 * 1024, 'a')); }},
    };
    for (const auto &[what, plantThing] : things) {
        registerOver(what + ", old", [&] { plantThing(), age(notePath, 60); });
        EXPECT_FALSE(QFileInfo::exists(notePath) || QFileInfo(notePath).isSymLink()) << what << ": set aside";
        // Made a moment ago it is left where it is; the registration goes on without a note.
        registerOver(what + ", young", plantThing);
        EXPECT_TRUE(QFileInfo::exists(notePath) || QFileInfo(notePath).isSymLink()) << what;
        QFile::setPermissions(notePath + "/inner", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(notePath, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(notePath).removeRecursively();
        QFile::remove(notePath);
    }
    // What cannot even be set aside (a mount point) is named, and still blocks nobody.
    if (::geteuid() == 0) {
        QDir().mkpath(notePath);
        ASSERT_EQ(QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", notePath}), 0);
        age(notePath, 60);
        const RegistrationResult result = registerOver("mount point", [] {});
        QProcess::execute("umount", {notePath});
        EXPECT_TRUE(result.notice.contains(QStringLiteral("登録中.txt"))) << result.notice.toStdString();
    }
    expectAllGetIn(people);
}

TEST(Registry, registrationsKilledPartWayAreCompletedAndLockNobodyOut)
{
    ClientOnSite s({{"hana", "佐藤花子", "h1"}});
    QList<UserRecord> people = {{"hana", "佐藤花子", "h1"}};
    const QString helper = testing_support::testBinDir() + "/register_helper";
    auto registering = [&](const UserRecord &who, const QString &killAfterStep = {}) {
        auto process = std::make_unique<QProcess>();
        QStringList args = {who.userName, who.fullName, who.password};
        if (!killAfterStep.isEmpty())
            args.append(killAfterStep);
        process->start(helper, args);
        return process;
    };
    // Each recording step once, in a random order.
    std::vector<int> steps = {1, 2, 3, 4, 5, 6, 7};
    std::shuffle(steps.begin(), steps.end(), std::mt19937(std::random_device()()));
    for (int step : steps) {
        const UserRecord victim{QStringLiteral("kill%1").arg(step), QStringLiteral("途中の人%1").arg(step),
                                QStringLiteral("k%1").arg(step)};
        const UserRecord next{QStringLiteral("next%1").arg(step), QStringLiteral("次の人%1").arg(step),
                              QStringLiteral("n%1").arg(step)};
        auto killed = registering(victim, QString::number(step));
        ASSERT_TRUE(killed->waitForReadyRead(60000)) << step << killed->readAllStandardError().toStdString();
        killed->kill();
        ASSERT_TRUE(killed->waitForFinished(60000));
        // The next registration completes what the killed one left from its note, so the one stopped,
        // starting again under the same names, finds them taken: it is registered.
        for (const UserRecord &who : {victim, next}) {
            auto process = registering(who);
            ASSERT_TRUE(process->waitForFinished(120000));
            const int expected = who.userName == victim.userName ? 3 : 0;
            ASSERT_EQ(process->exitCode(), expected) << step << process->readAllStandardError().toStdString();
            people.append(who);
        }
    }
    expectAllGetIn(people);
    for (const QString &tail : {kFullNames, kCredentials, kAdminRecords, kUserNames})
        EXPECT_EQ(perumina::ReadLines(share(tail))->size(), people.size());
    EXPECT_FALSE(QFileInfo::exists(s.site.local(perumina::site::registrationNote(kServer))));
}

TEST(Registry, aRegistryWithoutItsLastLineEndTakesTheNextPersonOnANewLine)
{
    ClientOnSite s;
    // Edited by hand: no file's last record ends its line.
    s.site.writeBytes(share(kFullNames), sjis("\"佐藤花子\""));
    s.site.writeBytes(share(kCredentials), sjis("\"hanah1\""));
    s.site.writeBytes(share(kAdminRecords), sjis("\"hana,佐藤花子,h1\""));
    s.site.writeBytes(share(kUserNames), sjis("\"hana\""));
    ASSERT_EQ(recordRegistration(kServer, {"taro", "山田太郎", "t1"}).outcome, RegistrationOutcome::Recorded);
    EXPECT_EQ(s.site.bytes(share(kUserNames)), sjis("\"hana\"\r\n\"taro\"\r\n"));
    EXPECT_EQ(s.site.bytes(share(kAdminRecords)), sjis("\"hana,佐藤花子,h1\"\r\n\"taro,山田太郎,t1\"\r\n"));
    expectAllGetIn({{"hana", "佐藤花子", "h1"}, {"taro", "山田太郎", "t1"}});
    // The name is taken now, as the lists show it.
    EXPECT_EQ(recordRegistration(kServer, {"taro", "別の人", "p"}).outcome, RegistrationOutcome::Refused);
}

TEST(Registry, twoProcessesRacingForOneUserNameLeaveOneRecord)
{
    ClientOnSite s;
    const QString helper = testing_support::testBinDir() + "/register_helper";
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int p = 0; p < 6; ++p) {
        auto process = std::make_unique<QProcess>();
        process->start(helper, {"taro", QStringLiteral("山田太郎-%1").arg(p), "pw"});
        processes.push_back(std::move(process));
    }
    int recorded = 0;
    int refused = 0;
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(120000));
        ASSERT_EQ(process->exitStatus(), QProcess::NormalExit);
        const int code = process->exitCode();
        EXPECT_TRUE(code == 0 || code == 3) << code << process->readAllStandardError().toStdString();
        recorded += code == 0;
        refused += code == 3;
    }
    EXPECT_EQ(recorded, 1);
    EXPECT_EQ(refused, 5);
    EXPECT_EQ(s.site.bytes(share(kUserNames)), sjis("\"taro\"\r\n"));
    for (const QString &tail : {kFullNames, kCredentials, kAdminRecords})
        EXPECT_EQ(perumina::ReadLines(share(tail))->size(), 1);
}

// Administration: a site of three people, each registry file ending in a hand-written line without its
// line end, which a rewrite that serialised the records again instead of splicing them would change.
struct AdminSite
{
    testing_support::TempSite site;
    QList<UserRecord> people = {
        {"alice", "青木愛", "a1"}, {"bob", "馬場僕", "b2"}, {"carol", "加藤花", "c3"}};

    explicit AdminSite(const QList<UserRecord> &registered = {})
    {
        site.makeSite(kServer);
        registerUsers(registered.isEmpty() ? people : registered);
        for (const QString &tail : {kFullNames, kCredentials, kAdminRecords, kUserNames})
            site.writeBytes(share(tail), site.bytes(share(tail)) + sjis("\"手書き\""));
    }
    QByteArray inboxOf(const QString &fullName) const
    {
        return sjis(QStringLiteral("\"2027/03/01\",\"9:00:00\",\"bob\",\"%1へ\",\"本文\"\r\n").arg(fullName));
    }
    void makeFolders()
    {
        for (const UserRecord &p : people) {
            site.writeBytes(perumina::site::inbox(kServer, p.fullName), inboxOf(p.fullName));
            site.writeBytes(perumina::site::adminCopyPicture(kServer, p.fullName, "絵"),
                            "JPEG" + sjis(p.fullName));
        }
    }
};

const QDate kLeavingDay(2027, 3, 20);

TEST(RegistryAdmin, aChangeKilledAfterAnyStepLeavesEachFileAsBeforeOrAfterAndARerunCompletesIt)
{
    struct Change
    {
        const char *what;
        int steps;
        QList<UserRecord> after; // the people the registry holds afterwards, in order
        QStringList args;        // of the helper, after the step
        std::function<bool()> rerun;
    };
    const QList<Change> changes = {
        {"reset",
         AdminRecordsRewritten,
         {{"alice", "青木愛", "a1"}, {"bob", "馬場僕", "新pw"}, {"carol", "加藤花", "c3"}},
         {"reset", "bob", "新pw"},
         [] { return bool(resetPassword(kServer, "bob", "新pw")); }},
        // Two people leave: two folders each, then the three remaining files.
        {"retire",
         RetireCredentialsRewritten + 4 + 3,
         {{"bob", "馬場僕", "b2"}},
         {"retire", kLeavingDay.toString("yyyyMMdd"), "加藤花", "青木愛"},
         [] {
             return bool(retirePeople(kServer, {"加藤花", "青木愛"}, kLeavingDay).status);
         }},
    };
    const QString helper = testing_support::testBinDir() + "/registryadmin_helper";
    for (const Change &change : changes) {
        const QList<QByteArray> after = registryBytes(AdminSite(change.after).site);
        for (int k = 1; k <= change.steps; ++k) {
            AdminSite s;
            s.makeFolders();
            const QList<QByteArray> before = registryBytes(s.site);
            QProcess killed;
            killed.start(helper, QStringList{QString::number(k)} + change.args);
            ASSERT_TRUE(killed.waitForReadyRead(60000))
                << change.what << k << killed.readAllStandardError().toStdString();
            killed.kill();
            ASSERT_TRUE(killed.waitForFinished(60000));
            const QList<QByteArray> stopped = registryBytes(s.site);
            for (int file = 0; file < 4; ++file)
                EXPECT_TRUE(stopped[file] == before[file] || stopped[file] == after[file])
                    << change.what << " step " << k << " file " << file;
            // The killed run's lock stops nobody; the same request again completes it.
            if (stopped != after) {
                ASSERT_TRUE(change.rerun()) << change.what << k;
            }
            EXPECT_EQ(registryBytes(s.site), after) << change.what << k;
            for (const UserRecord &p : change.after) {
                const LoginResult login = checkLogin(*loadAdminRecordLines(kServer),
                                                     loadCredentialLines(kServer), p.userName, p.password);
                EXPECT_EQ(login.fullName, p.fullName) << change.what << k;
            }
            if (QString(change.what) != "retire")
                continue;
            // The leavers' folders are kept, not deleted, the inbox byte for byte.
            for (const QString name : {"加藤花", "青木愛"}) {
                const QString archive = perumina::site::retiredArchive(kServer, name, kLeavingDay);
                EXPECT_EQ(s.site.bytes(archive + "/" + name + "/受信箱.txt"), s.inboxOf(name)) << k;
                EXPECT_EQ(s.site.bytes(archive + "/管理用/絵.jpg"), "JPEG" + sjis(name)) << k;
                EXPECT_FALSE(QFileInfo::exists(s.site.local(perumina::site::userFolder(kServer, name)))) << k;
                EXPECT_FALSE(QFileInfo::exists(s.site.local(perumina::site::adminCopyFolder(kServer, name))))
                    << k;
            }
            EXPECT_EQ(s.site.bytes(perumina::site::inbox(kServer, "馬場僕")), s.inboxOf("馬場僕"));
        }
    }
}

TEST(RegistryAdmin, aRetiredPersonsNamesAreFreeForANewRegistrationAndASecondLeavingIsKeptApart)
{
    AdminSite s;
    s.makeFolders();
    ASSERT_TRUE(retirePeople(kServer, {"馬場僕"}, kLeavingDay).status);
    EXPECT_NE(checkLogin(*loadAdminRecordLines(kServer), loadCredentialLines(kServer), "bob", "b2").failure,
              0);
    const NewUser again{"bob", "馬場僕", "again"};
    ASSERT_EQ(recordRegistration(kServer, again).outcome, RegistrationOutcome::Recorded);
    expectAllGetIn({{"alice", "青木愛", "a1"}, {"bob", "馬場僕", "again"}, {"carol", "加藤花", "c3"}});
    s.site.writeBytes(perumina::site::inbox(kServer, "馬場僕"), "second");
    const RetireResult second = retirePeople(kServer, {"馬場僕"}, kLeavingDay);
    ASSERT_TRUE(second.status);
    const QString archive = perumina::site::retiredArchive(kServer, "馬場僕", kLeavingDay);
    EXPECT_EQ(second.archives, QStringList{archive + "-2"});
    EXPECT_EQ(s.site.bytes(archive + "/馬場僕/受信箱.txt"), s.inboxOf("馬場僕"));
    EXPECT_EQ(s.site.bytes(archive + "-2/馬場僕/受信箱.txt"), "second");
}

TEST(RegistryAdmin, refusedChangesWriteNothing)
{
    AdminSite s;
    s.makeFolders();
    const QList<QByteArray> before = registryBytes(s.site);
    const RetireResult unknown = retirePeople(kServer, {"青木愛", "知らない人", "馬場"}, kLeavingDay);
    EXPECT_FALSE(unknown.status);
    EXPECT_EQ(unknown.unknown, (QStringList{"知らない人", "馬場"}));
    EXPECT_FALSE(resetPassword(kServer, "bo", "new"));
    for (const char *password : {"", "a,b", "a\"b", "12345678", "𠮷"})
        EXPECT_FALSE(newPasswordProblem(QString::fromUtf8(password)).isEmpty()) << password;
    EXPECT_FALSE(resetPassword(kServer, "bob", "12345678"));
    // A folder replaced by a link to somewhere else is not followed.
    const QString folder = s.site.local(perumina::site::userFolder(kServer, "加藤花"));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(QFile::link(s.site.root(), folder));
    EXPECT_FALSE(retirePeople(kServer, {"加藤花"}, kLeavingDay).status);
    EXPECT_EQ(registryBytes(s.site), before);
    EXPECT_TRUE(QFileInfo::exists(s.site.local(perumina::site::userFolder(kServer, "青木愛"))));
}

} // namespace
