#include "common/testsite.h"
#include "shared/records.h"
#include "shared/site.h"
#include "sweeper/sweep.h"

#include <QElapsedTimer>
#include <QFile>
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
    site.writeBytes(local::kInboxCopy, "\"a\",\"b\",\"c\",\"d\",\"e\"\r\n");
    site.writeBytes(local::kLocator, "SERVER\r\n");
    EXPECT_EQ(runSweeper(), 0);
    EXPECT_FALSE(QFile::exists(site.local(local::kInboxCopy)));
    // Only the copy goes; the locator stays.
    EXPECT_TRUE(QFile::exists(site.local(local::kLocator)));
}

TEST(Sweeper, endsWhileTheCopyIsHeldOpen)
{
    TempSite site;
    site.writeBytes(local::kInboxCopy, "x");
    QFile held(site.local(local::kInboxCopy));
    ASSERT_TRUE(held.open(QIODevice::ReadOnly));
    EXPECT_EQ(runSweeper(), 0);
}

TEST(Sweeper, twoSweepsAtOnceBothEndAndTheFileIsGone)
{
    TempSite site;
    site.writeBytes(local::kInboxCopy, "x");
    QProcess a, b;
    a.start(testing_support::binDir() + "/InboxSweep", {});
    b.start(testing_support::binDir() + "/InboxSweep", {});
    ASSERT_TRUE(a.waitForFinished(20000));
    ASSERT_TRUE(b.waitForFinished(20000));
    EXPECT_EQ(a.exitCode(), 0);
    EXPECT_EQ(b.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(site.local(local::kInboxCopy)));
}
