#include "client/ui/clientapp.h"
#include "common/testsite.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace perumina;
using testing_support::TempSite;

TEST(ClientApp, closingStartsTheSweeperAndEndsTheProgram)
{
    TempSite site;
    FakeSeams fakes;
    client::ClientApp app(fakes.seams());
    site.writeBytes(perumina::site::localInboxCopy(), "x");
    app.sweepAndEnd();
    EXPECT_EQ(fakes.launcher.started, QStringList{QStringLiteral("c:\\group\\InboxSweep.exe")});
    EXPECT_TRUE(fakes.end.ended());
    EXPECT_EQ(fakes.end.lastExitCode, 0);
    EXPECT_TRUE(app.ended());
    // The sweeper was started, so the client leaves the deleting to it.
    EXPECT_TRUE(QFile::exists(perumina::site::localInboxCopy()));
}

TEST(ClientApp, deletesTheInboxCopyItselfWhenTheSweeperCannotStart)
{
    TempSite site;
    FakeSeams fakes;
    fakes.launcher.failing.insert(local::kSweeper);
    client::ClientApp app(fakes.seams());
    site.writeBytes(perumina::site::localInboxCopy(), "x");
    app.startSweeper();
    EXPECT_FALSE(QFile::exists(perumina::site::localInboxCopy()));
    EXPECT_FALSE(fakes.end.ended());
}
