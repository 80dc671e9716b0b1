#include "common/testsite.h"
#include "shared/boundedread.h"
#include "shared/busy.h"
#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QThread>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <sys/stat.h>

using namespace perumina;
using testing_support::TempSite;

TEST(SharedFiles, rewriteKeepsTheFileWhenTheEditDeclines)
{
    TempSite site;
    site.makeSite();
    const QString path = site::dataFile(QStringLiteral("SERVER"), QStringLiteral("x.txt"));
    site.writeBytes(path, "old");
    ASSERT_TRUE(rewriteLocked(path, [](QByteArray &content, bool existed) {
        EXPECT_TRUE(existed);
        EXPECT_EQ(content, "old");
        content = "changed";
        return false;
    }));
    EXPECT_EQ(site.bytes(path), "old");
    ASSERT_TRUE(rewriteLocked(path, [](QByteArray &content, bool) {
        content.prepend("new ");
        return true;
    }));
    EXPECT_EQ(site.bytes(path), "new old");
    EXPECT_FALSE(QFile::exists(site.local(path) + ".lock"));
}

TEST(SharedFiles, replacingIntoAMissingFolderFailsWithTheFileName)
{
    TempSite site;
    const Status status = replaceFileAtomically(site.root() + "/no/such/受信箱.txt", "x");
    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(status.error.contains(QStringLiteral("受信箱.txt")));
    const Status rewrite =
        rewriteLocked(site.root() + "/no/such/受信箱.txt", [](QByteArray &, bool) { return true; });
    EXPECT_FALSE(rewrite.ok);
    EXPECT_TRUE(rewrite.error.contains(QStringLiteral("フォルダ")));
}

TEST(SharedFiles, waitsForAHeldLockAndTakesOverAStaleOne)
{
    TempSite site;
    const QString path = site.root() + "/log.txt";
    SharedFileLock held(path);
    ASSERT_TRUE(held.acquire());
    SharedFileLock other(path);
    // The wait shows the busy pointer once and takes it away again; a lock taken at once shows none.
    QStringList signs;
    setBusyIndicator([&] { signs << "begin"; }, [&] { signs << "end"; });
    EXPECT_FALSE(other.acquire(100));
    EXPECT_EQ(signs, QStringList({"begin", "end"}));
    held.release();
    signs.clear();
    EXPECT_TRUE(other.acquire(100));
    other.release();
    setBusyIndicator({}, {});
    EXPECT_TRUE(signs.isEmpty());
    EXPECT_TRUE(other.acquire(100));
    other.release();

    // A lock left by a computer that crashed more than 30 s ago does not block the others.
    QFile stale(path + ".lock");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("99999\nPeruminaClient\notherhost\n");
    stale.close();
    ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        stale.setFileTime(QDateTime::currentDateTime().addSecs(-120), QFileDevice::FileModificationTime));
    stale.close();
    EXPECT_TRUE(appendLocked(path, "x\r\n"));

    // An empty lock, left by a writer killed as it took the lock, blocks for seconds, not 30.
    QFile empty(path + ".lock");
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    ASSERT_TRUE(empty.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        empty.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime));
    empty.close();
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(appendLocked(path, "y\r\n"));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(QFile(path).size(), 6);
}

TEST(SharedFiles, eightProcessesAppendingAtOnceLoseNoRecord)
{
    TempSite site;
    site.makeSite();
    const QString path = site::fullNamesFile(QStringLiteral("SERVER"));
    const QString helper = testing_support::testBinDir() + "/append_helper";
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int p = 0; p < 8; ++p) {
        auto process = std::make_unique<QProcess>();
        process->start(helper, {path, QStringLiteral("p%1").arg(p), QStringLiteral("200")});
        processes.push_back(std::move(process));
    }
    for (auto &process : processes) {
        ASSERT_TRUE(process->waitForFinished(120000));
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    const auto lines = ReadLines(path);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 1600);
    QSet<QString> seen;
    for (const QString &line : *lines) {
        EXPECT_TRUE(line.startsWith(u'"') && line.endsWith(QStringLiteral("-登録者\"")))
            << line.toStdString();
        seen.insert(line);
    }
    EXPECT_EQ(seen.size(), 1600);
    EXPECT_TRUE(site.bytes(path).endsWith("\"\r\n"));
}

TEST(SharedFiles, writersKilledAtRandomLeaveEveryRecordWholeOrSkippedNeverGlued)
{
    TempSite site;
    site.makeSite();
    // Records far longer than any registry's, so a file of a kind whose limit holds them all.
    const QString path = site::dataFile(QStringLiteral("SERVER"), QStringLiteral("追記.txt"));
    const QString helper = testing_support::testBinDir() + "/append_helper";
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    QRandomGenerator random(seed);
    constexpr int kPad = 1024 * 1024; // a record takes many pages, so a kill can land inside its write
    constexpr int kRounds = 8;
    constexpr int kWriters = 3;
    // However fast the writers, the file stays within what a reader takes: every record of every writer
    // and the last one fit the limit.
    const int perWriter =
        int(perumina::readLimit(perumina::fileKindOf(path)).bytes / (kPad + 64) / (kRounds * kWriters + 1));
    ASSERT_GE(perWriter, 2);
    int killed = 0;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::unique_ptr<QProcess>> writers;
        for (int w = 0; w < kWriters; ++w) {
            auto process = std::make_unique<QProcess>();
            process->start(helper, {path, QStringLiteral("r%1w%2").arg(round).arg(w),
                                    QString::number(perWriter), QString::number(kPad)});
            writers.push_back(std::move(process));
        }
        for (auto &process : writers)
            ASSERT_TRUE(process->waitForReadyRead(20000) || process->state() == QProcess::NotRunning)
                << process->readAllStandardError().toStdString();
        QThread::usleep(random.bounded(10000u));
        for (auto &process : writers) {
            process->kill();
            ASSERT_TRUE(process->waitForFinished(20000));
            killed += process->exitStatus() == QProcess::CrashExit;
        }
    }
    // A last writer that ends normally, so that a cut line at the very end is followed by a record.
    QProcess last;
    last.start(helper, {path, "last", "1", QString::number(kPad)});
    ASSERT_TRUE(last.waitForFinished(20000));
    ASSERT_EQ(last.exitCode(), 0);

    QString problem;
    const auto fields = ReadFields(path, &problem);
    const auto lines = ReadLines(path);
    ASSERT_TRUE(fields && lines) << problem.toStdString();
    ASSERT_FALSE(fields->isEmpty());
    const QString tail = QString(kPad, u'x') + QStringLiteral("登録者");
    const QRegularExpression head(QStringLiteral("^(r\\d+w\\d|last)-\\d+-$"));
    QSet<QString> seen;
    for (const QString &field : *fields) {
        const bool whole = field.endsWith(tail) && head.match(field.chopped(tail.size())).hasMatch();
        EXPECT_TRUE(whole) << "glued or cut: " << field.size() << " characters";
        seen.insert(field);
    }
    EXPECT_EQ(seen.size(), fields->size());
    EXPECT_EQ(fields->last(), QStringLiteral("last-0-%1登録者").arg(QString(kPad, u'x')));
    const qsizetype cut = lines->size() - fields->size();
    std::cout << killed << " writers killed; " << fields->size() << " records whole; " << cut
              << " cut lines skipped" << std::endl;
    EXPECT_GE(cut, 0);
}

TEST(SharedFiles, anAppendNeverGluesOntoALineCutOffByAKilledWriter)
{
    TempSite site;
    const QString path = site.root() + "/log.txt";
    site.writeBytes(path, "\"a\"\r\n\"cu");
    ASSERT_TRUE(appendLocked(path, "\"b\"\r\n"));
    EXPECT_EQ(site.bytes(path), "\"a\"\r\n\"cu\r\n\"b\"\r\n");
    EXPECT_EQ(ReadFields(path), (QStringList{"a", "b"}));
    // A file that ends with its line end gains nothing before the record.
    ASSERT_TRUE(appendLocked(path, "\"c\"\r\n"));
    EXPECT_TRUE(site.bytes(path).endsWith("\"b\"\r\n\"c\"\r\n"));
}

// Sets the time of the entry itself, not of what a link points to.
static void age(const QString &path, int seconds)
{
    const timespec times[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

// A small file system of its own for one test, where the test runs as root (it does in CI); mounting
// needs root, and root cannot be denied by permissions alone.
class TmpfsMount
{
public:
    explicit TmpfsMount(const QString &where, const QString &options) : where_(where)
    {
        QDir().mkpath(where);
        mounted_ = ::geteuid() == 0 &&
                   QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", where}) == 0;
    }
    ~TmpfsMount()
    {
        if (mounted_)
            QProcess::execute("umount", {where_});
    }
    bool mounted() const { return mounted_; }
    bool remountReadOnly() { return QProcess::execute("mount", {"-o", "remount,ro", where_}) == 0; }

private:
    QString where_;
    bool mounted_ = false;
};

TEST(SharedFiles, anythingAtALockPathThatIsNotALockFileIsClearedOnceStale)
{
    TempSite site;
    const QString path = site.root() + "/log.txt";
    const QString lockPath = path + ".lock";
    const struct
    {
        const char *name;
        std::function<void()> plant;
    } cases[] = {
        {"folder with a file in it",
         [&] {
             QDir().mkpath(lockPath + "/inner");
             QFile(lockPath + "/inner/x").open(QIODevice::WriteOnly);
             age(lockPath, 120);
         }},
        {"dangling link", [&] { QFile::link(site.root() + "/nowhere", lockPath), age(lockPath, 120); }},
        {"link to a folder",
         [&] {
             QDir().mkpath(site.root() + "/elsewhere"), QFile::link(site.root() + "/elsewhere", lockPath),
                 age(lockPath, 120);
         }},
        {"garbage file",
         [&] {
             site.writeBytes(lockPath, "\x01\x02 not a lock");
             age(lockPath, 120);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        c.plant();
        QElapsedTimer timer;
        timer.start();
        const Status status = appendLocked(path, "x\r\n");
        EXPECT_TRUE(status.ok) << status.error.toStdString();
        EXPECT_LT(timer.elapsed(), 3000);
        EXPECT_FALSE(QFileInfo(lockPath).exists() || QFileInfo(lockPath).isSymLink());
    }
    EXPECT_EQ(site.bytes(path), QByteArray("x\r\n").repeated(4));
    EXPECT_TRUE(QDir(site.root() + "/elsewhere").exists()); // a link is removed, never what it points to

    // A folder made a moment ago may be another computer's doing: it is waited for like a held lock.
    QDir().mkpath(lockPath);
    const Status young = appendLocked(path, "y\r\n", 200);
    EXPECT_EQ(young.kind, Status::Kind::InUse);
    EXPECT_TRUE(young.error.contains(QStringLiteral("使用中")));

    // One that cannot be removed (a read-only folder inside; for root, a mount point) is named with its
    // path at once, never waited for as if in use.
    QDir().mkpath(lockPath + "/inner");
    site.writeBytes(lockPath + "/inner/x", "x");
    std::unique_ptr<TmpfsMount> mount;
    if (::geteuid() == 0) {
        mount = std::make_unique<TmpfsMount>(lockPath + "/inner", "size=1m");
        ASSERT_TRUE(mount->mounted());
    } else {
        ASSERT_TRUE(QFile::setPermissions(lockPath + "/inner", QFile::ReadOwner | QFile::ExeOwner));
    }
    age(lockPath, 120);
    QElapsedTimer timer;
    timer.start();
    const Status stuck = appendLocked(path, "z\r\n");
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(stuck.kind, Status::Kind::NoPermission);
    EXPECT_TRUE(stuck.error.contains(QDir::toNativeSeparators(lockPath))) << stuck.error.toStdString();
    EXPECT_TRUE(stuck.error.contains(QStringLiteral("削除できません"))) << stuck.error.toStdString();
    EXPECT_FALSE(stuck.error.contains(QStringLiteral("使用中")));
    mount.reset();
    QFile::setPermissions(lockPath + "/inner", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(SharedFiles, eachFailureSaysWhatItIs)
{
    TempSite site;
    const QByteArray big(64 * 1024, 'x');
    struct Case
    {
        const char *name;
        Status::Kind kind;
        QString words;
    };
    const auto check = [&](const Case &c, const QString &path, const QByteArray &before) {
        SCOPED_TRACE(c.name);
        const Status appended = appendLocked(path, big, 200);
        EXPECT_EQ(appended.kind, c.kind) << appended.error.toStdString();
        EXPECT_TRUE(appended.error.contains(c.words)) << appended.error.toStdString();
        EXPECT_TRUE(appended.error.contains(QFileInfo(path).fileName())) << appended.error.toStdString();
        EXPECT_EQ(site.bytes(path), before) << "a failed append leaves the file as it was";
        if (c.kind == Status::Kind::InUse)
            return;
        const Status replaced = rewriteLocked(path, [&](QByteArray &content, bool) {
            content = big;
            return true;
        });
        EXPECT_EQ(replaced.kind, c.kind) << replaced.error.toStdString();
        EXPECT_EQ(site.bytes(path), before);
    };

    const QString busy = site.root() + "/busy/受信箱.txt";
    QDir().mkpath(site.root() + "/busy");
    site.writeBytes(busy, "old\r\n");
    SharedFileLock held(busy);
    ASSERT_TRUE(held.acquire());
    check({"in use", Status::Kind::InUse, QStringLiteral("他のコンピュータが使用中")}, busy, "old\r\n");
    held.release();

    check({"missing folder", Status::Kind::Missing, QStringLiteral("見つかりません")},
          site.root() + "/none/メッセージ一覧.txt", {});

    const QString readOnlyDir = site.root() + "/readonly";
    TmpfsMount readOnlyMount(readOnlyDir, "size=1m");
    QDir().mkpath(readOnlyDir);
    const QString readOnly = readOnlyDir + "/登録者一覧.txt";
    site.writeBytes(readOnly, "old\r\n");
    const bool denied =
        readOnlyMount.mounted()
            ? readOnlyMount.remountReadOnly()
            : QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::ExeOwner) && ::geteuid() != 0;
    if (denied)
        check({"read-only folder", Status::Kind::NoPermission, QStringLiteral("権限がありません")}, readOnly,
              "old\r\n");
    else
        std::cout << "read-only folder: not checked (root without mount)" << std::endl;
    QFile::setPermissions(readOnlyDir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QString fullDir = site.root() + "/full";
    TmpfsMount fullMount(fullDir, "size=64k");
    if (fullMount.mounted()) {
        const QString full = fullDir + "/メッセージ一覧.txt";
        site.writeBytes(full, "old\r\n");
        // Leave two pages: one for the lock file, one that the append starts to fill.
        const qint64 room = QStorageInfo(fullDir).bytesAvailable() - 2 * 4096;
        site.writeBytes(fullDir + "/filler", QByteArray(room, 'f'));
        check({"disk full", Status::Kind::DiskFull, QStringLiteral("ディスクがいっぱい")}, full, "old\r\n");
    } else {
        std::cout << "disk full: not checked (needs root to mount a small file system)" << std::endl;
    }
}

TEST(SharedFiles, theShareFolderMayBeALinkButNoWriteFollowsOneBelowIt)
{
    TempSite site;
    site.makeSite();
    // As a school sets it up: the share folder is a link to where the share is mounted.
    const QString share = site.local(SharePath(QStringLiteral("SERVER"), tails::kShare)).chopped(1);
    ASSERT_TRUE(QDir().rename(share, site.root() + "/mount"));
    ASSERT_TRUE(QFile::link(site.root() + "/mount", share));
    EXPECT_TRUE(appendLocked(site::fullNamesFile(QStringLiteral("SERVER")), "\"a\"\r\n"));

    site.writeBytes(site.root() + "/victim.txt", "victim");
    const QString planted = site::dataFile(QStringLiteral("SERVER"), QStringLiteral("x.txt"));
    ASSERT_TRUE(QFile::link(site.root() + "/victim.txt", site.local(planted)));
    const Status appended = appendLocked(planted, "y\r\n");
    EXPECT_EQ(appended.kind, Status::Kind::NoPermission);
    EXPECT_TRUE(appended.error.contains(QStringLiteral("リンク"))) << appended.error.toStdString();
    EXPECT_FALSE(replaceFileAtomically(planted, "y"));
    // A linked file outside the site is not written through either.
    EXPECT_FALSE(replaceFileAtomically(site.local(planted), "y"));
    EXPECT_EQ(site.bytes(site.root() + "/victim.txt"), "victim");
}

// What one account creates on the share stays writable for the others whatever its umask.
TEST(SharedFiles, createdFilesAndFoldersGetTheGroupsAccessWhateverTheUmask)
{
    TempSite site;
    const mode_t previous = ::umask(077);
    const QString appended = site.root() + "/log.txt";
    const QString replaced = site.root() + "/inbox.txt";
    const QString reserved = site.root() + "/picture.jpg";
    const QString folder = site.root() + "/山田太郎";
    EXPECT_TRUE(appendLocked(appended, "x"));
    EXPECT_TRUE(replaceFileAtomically(replaced, "x"));
    QFile reservation(reserved); // made by a plain exclusive create, then replaced
    ASSERT_TRUE(reservation.open(QIODevice::WriteOnly | QIODevice::NewOnly));
    reservation.close();
    EXPECT_TRUE(replaceFileAtomically(reserved, "jpg"));
    EXPECT_TRUE(makeSharedFolder(folder));
    EXPECT_FALSE(makeSharedFolder(folder));
    ::umask(previous);
    for (const QString &file : {appended, replaced, reserved}) {
        struct stat info;
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0070, 0060u) << qPrintable(file);
    }
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 02070, 02070u);
}
