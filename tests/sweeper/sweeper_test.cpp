#include "common/testsite.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "sweeper/sweep.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

using namespace perumina;
using testing_support::TempSite;

namespace {

// Runs the real InboxSweep on the current site and gives its exit code and how long it took.
int runSweeper(qint64 *ms = nullptr)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(testing_support::binDir() + "/InboxSweep", {});
    if (!process.waitForFinished(20000))
        return -1;
    if (ms)
        *ms = timer.elapsed();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

} // namespace

TEST(Sweeper, endsQuietlyWithoutAFileOrAFolder)
{
    TempSite site;
    EXPECT_TRUE(sweeper::sweepInboxCopy());
    qint64 ms = 0;
    EXPECT_EQ(runSweeper(&ms), 0);
    EXPECT_LT(ms, 10000);
}

TEST(Sweeper, deletesTheLocalInboxCopy)
{
    TempSite site;
    site.writeBytes(perumina::site::localInboxCopy(), "\"a\",\"b\",\"c\",\"d\",\"e\"\r\n");
    site.writeBytes(local::kLocator, "SERVER\r\n");
    EXPECT_EQ(runSweeper(), 0);
    EXPECT_FALSE(QFile::exists(perumina::site::localInboxCopy()));
    // Only the copy goes; the locator stays.
    EXPECT_TRUE(QFile::exists(site.local(local::kLocator)));
    // The copy is this person's, for this site: in their own runtime folder, one per site.
    const QString copy = perumina::site::localInboxCopy();
    EXPECT_TRUE(copy.startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/'));
    TempSite otherSite;
    qputenv("XDG_RUNTIME_DIR", QFileInfo(copy).absolutePath().section(u'/', 0, -2).toUtf8());
    EXPECT_NE(perumina::site::localInboxCopy(), copy);
}

// A copy that cannot be deleted (on Windows one held open by another program; here a folder in its
// place, which not even root can unlink) is reported as still there, the sweeper still ends at once
// with 0, and nothing else is touched.
TEST(Sweeper, endsWhenTheCopyCannotBeDeleted)
{
    TempSite site;
    const QString copy = perumina::site::localInboxCopy();
    ASSERT_TRUE(QDir().mkpath(copy));
    site.writeBytes(copy + QStringLiteral("/kept.txt"), "x");
    EXPECT_FALSE(sweeper::sweepInboxCopy());
    qint64 ms = 0;
    EXPECT_EQ(runSweeper(&ms), 0);
    EXPECT_LT(ms, 10000);
    EXPECT_TRUE(QFile::exists(copy + QStringLiteral("/kept.txt")));
}

TEST(Sweeper, twoSweepsAtOnceBothEndAndTheFileIsGone)
{
    TempSite site;
    site.writeBytes(perumina::site::localInboxCopy(), "x");
    QProcess a, b;
    a.start(testing_support::binDir() + "/InboxSweep", {});
    b.start(testing_support::binDir() + "/InboxSweep", {});
    ASSERT_TRUE(a.waitForFinished(20000));
    ASSERT_TRUE(b.waitForFinished(20000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(perumina::site::localInboxCopy()));
}
