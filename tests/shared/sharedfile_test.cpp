#include "common/testsite.h"
#include "shared/busy.h"
#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include <sys/stat.h>

using namespace perumina;
using testing_support::TempSite;

TEST(SharedFiles, rewriteKeepsTheFileWhenTheEditDeclines)
{
    TempSite site;
    site.makeSite();
    const QString path = SharePath(QStringLiteral("SERVER"), QStringLiteral("\\ぺるみな\\管理データ\\x.txt"));
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
    EXPECT_TRUE(appendLocked(path, "x"));

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
    EXPECT_TRUE(appendLocked(path, "y"));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_EQ(QFile(path).size(), 2);
}

TEST(SharedFiles, eightProcessesAppendingAtOnceLoseNoRecord)
{
    TempSite site;
    site.makeSite();
    const QString path = SharePath(QStringLiteral("SERVER"), tails::kFullNames);
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
