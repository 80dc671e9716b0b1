#include "common/testsite.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <gtest/gtest.h>

using namespace perumina;
using testing_support::TempSite;

TEST(Paths, mapsLocalAndSharePathsUnderTheSiteRoot)
{
    TempSite site;
    const QString root = site.root();
    EXPECT_EQ(mapPath(QStringLiteral("c:\\group\\ぺるみな.txt")),
              root + QStringLiteral("/c/group/ぺるみな.txt"));
    EXPECT_EQ(mapPath(QStringLiteral("C:\\group\\受信箱.txt")), root + QStringLiteral("/c/group/受信箱.txt"));
    EXPECT_EQ(mapPath(QStringLiteral("\\\\STAFF ROOM \\ぺるみな\\管理データ\\登録者一覧.txt")),
              root + QStringLiteral("/unc/STAFF ROOM /ぺるみな/管理データ/登録者一覧.txt"));
    // Paths of this machine pass through untouched.
    EXPECT_EQ(mapPath(QStringLiteral("/tmp/x.txt")), QStringLiteral("/tmp/x.txt"));
    EXPECT_EQ(mapPath(QStringLiteral("relative/x")), QStringLiteral("relative/x"));
}

TEST(Paths, siteRootFollowsTheEnvironment)
{
    {
        TempSite site;
        EXPECT_EQ(siteRoot(), site.root());
    }
    const QByteArray saved = qgetenv("PERUMINA_ROOT");
    qunsetenv("PERUMINA_ROOT");
    EXPECT_TRUE(siteRoot().endsWith(QStringLiteral("/.perumina")));
    if (!saved.isEmpty())
        qputenv("PERUMINA_ROOT", saved);
}

TEST(Paths, sharePathIsThePlainConcatenation)
{
    EXPECT_EQ(SharePath(QStringLiteral("SRV "), tails::kFullNames),
              QStringLiteral("\\\\SRV \\ぺるみな\\管理データ\\登録者一覧.txt"));
    EXPECT_TRUE(isWindowsPath(SharePath(QStringLiteral("SRV"), tails::kShare)));
    EXPECT_TRUE(isWindowsPath(local::kInboxCopy));
    EXPECT_FALSE(isWindowsPath(QStringLiteral("/c/group")));
}
