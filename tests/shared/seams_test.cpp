#include "common/testsite.h"
#include "shared/seams.h"
#include "shared/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

using namespace perumina;
using testing_support::TempSite;

namespace {

// An executable shell script that leaves a mark file when it runs.
QString makeProgram(const QString &path, const QString &mark)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(mark).toUtf8());
    file.close();
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

TEST(Dates, areWrittenAsTheJapaneseSettingsWriteThem)
{
    EXPECT_EQ(formatDate(QDate(2026, 4, 1)), QStringLiteral("2026/04/01"));
    EXPECT_EQ(formatTime(QTime(9, 5, 3)), QStringLiteral("9:05:03"));
    EXPECT_EQ(formatDateTime(QDateTime(QDate(2026, 12, 7), QTime(15, 0, 0))),
              QStringLiteral("2026/12/07 15:00:00"));
}

TEST(Launcher, findsProgramsByPathOrBareNameWithOrWithoutExe)
{
    TempSite site;
    const QString own = site.root() + "/bin";
    makeProgram(own + "/DayBoardC", site.root() + "/m");
    makeProgram(site.local(QStringLiteral("c:\\group\\InboxSweep")), site.root() + "/m");

    EXPECT_EQ(resolveProgram(QStringLiteral("DayBoardC.exe"), own), own + "/DayBoardC");
    EXPECT_EQ(resolveProgram(QStringLiteral("DayBoardC"), own), own + "/DayBoardC");
    EXPECT_EQ(resolveProgram(site.local(QStringLiteral("c:\\group\\InboxSweep.exe")), own),
              site.local(QStringLiteral("c:\\group\\InboxSweep")));
    EXPECT_TRUE(resolveProgram(QStringLiteral("NoSuchBoard.exe"), own).isEmpty());
    EXPECT_TRUE(resolveProgram(site.local(QStringLiteral("c:\\group\\Missing.exe")), own).isEmpty());
    // Along PATH when it is not in the own folder.
    EXPECT_FALSE(resolveProgram(QStringLiteral("sh.exe"), own).isEmpty());
}

TEST(Launcher, startsDetachedAndReportsWhatCannotStart)
{
    TempSite site;
    const QString own = site.root() + "/bin";
    const QString mark = site.root() + "/started";
    makeProgram(own + "/LunchBoardC", mark);
    ProcessLauncher launcher(own);
    EXPECT_TRUE(launcher.start(QStringLiteral("LunchBoardC.exe")));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(mark), 10000);
    EXPECT_FALSE(launcher.start(QStringLiteral("NoSuchBoard.exe")));
}

TEST(SingleInstance, refusesASecondCopyOnTheSameSiteOnly)
{
    TempSite site;
    auto first = std::make_unique<SingleInstance>(QStringLiteral("PeruminaClient"));
    ASSERT_TRUE(first->acquire());
    SingleInstance second(QStringLiteral("PeruminaClient"));
    EXPECT_FALSE(second.acquire());
    SingleInstance otherProgram(QStringLiteral("PeruminaAdmin"));
    EXPECT_TRUE(otherProgram.acquire());
    {
        TempSite otherSite;
        SingleInstance elsewhere(QStringLiteral("PeruminaClient"));
        EXPECT_TRUE(elsewhere.acquire());
    }
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, knowsOneSiteByEverySpellingOfItsRoot)
{
    TempSite site;
    SingleInstance first(QStringLiteral("PeruminaClient"));
    ASSERT_TRUE(first.acquire());
    const QString link = site.root() + QStringLiteral("/link");
    ASSERT_TRUE(QFile::link(site.root(), link));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(site.root());
    for (const QString &spelling : {link, QStringLiteral("."), site.root() + QStringLiteral("/./")}) {
        qputenv("PERUMINA_ROOT", spelling.toUtf8());
        SingleInstance again(QStringLiteral("PeruminaClient"));
        EXPECT_FALSE(again.acquire()) << qPrintable(spelling);
    }
    QDir::setCurrent(previous);
    // The lock lies in the person's own runtime folder, never in a folder shared by all accounts.
    EXPECT_TRUE(first.lockPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/'));
}
