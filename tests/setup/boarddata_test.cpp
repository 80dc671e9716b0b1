#include "boards/skeleton/csv.h"
#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"
#include "common/testsite.h"
#include "setup/boarddata.h"
#include "shared/boardpresence.h"
#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::sjis;
using testing_support::TempSite;

namespace {

const QString kServer = QStringLiteral("SERVER");

QString data(const QString &file)
{
    return perumina::site::dataFile(kServer, file);
}

QStringList lines(const TempSite &site, const QString &file)
{
    return perumina::decodeCp932(site.bytes(data(file))).split(QStringLiteral("\r\n"));
}

QList<boards::CsvRow> table(const TempSite &site, const QString &file)
{
    return boards::parseCsv(site.bytes(data(file))).rows;
}

} // namespace

TEST(SchoolYear, createsTheIndexesAndWorkbooksOfTheYear)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report report;
    setup::createSchoolYear(kServer, 2027, report); // April 2027 to March 2028: 29 February included
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    EXPECT_EQ(report.created.size(), 5);

    const QStringList days = lines(site, QStringLiteral("日付取得.txt"));
    EXPECT_EQ(days.first(), QStringLiteral("2027/04/01,2"));
    EXPECT_EQ(days[days.size() - 2], QStringLiteral("2028/04/01,368"));
    EXPECT_EQ(days.last(), QString()); // CR LF after the last line
    EXPECT_TRUE(days.contains(QStringLiteral("2028/02/29,336")));

    for (const QString &file : {QStringLiteral("行事予定.txt"), QStringLiteral("給食予定.txt")}) {
        const auto rows = table(site, file);
        ASSERT_EQ(rows.size(), 1 + 366) << file.toStdString();
        EXPECT_EQ(rows[1], (boards::CsvRow{"2027/04/01", "4"})); // a Thursday
        EXPECT_EQ(rows[336 - 1], (boards::CsvRow{"2028/02/29", "2"}));
        EXPECT_EQ(rows.last(), (boards::CsvRow{"2028/03/31", "5"}));
    }
    EXPECT_EQ(table(site, QStringLiteral("行事予定.txt"))[0].size(), 35);
    EXPECT_EQ(table(site, QStringLiteral("給食予定.txt"))[0].size(), 10);

    const QStringList months = lines(site, QStringLiteral("年月取得.txt"));
    EXPECT_EQ(months.mid(0, 3), (QStringList{"2027/04/,2", "2027/05/,3", "2027/06/,4"}));
    EXPECT_EQ(months[12], QStringLiteral("2028/04/,14"));

    const auto monthRows = table(site, QStringLiteral("月別行事.txt"));
    ASSERT_EQ(monthRows.size(), 13);
    for (const auto &row : monthRows)
        EXPECT_EQ(row.size(), 75);
    // April 2027 begins on a Thursday: slot 5 (field 10) holds day 1; slot 34 holds day 30.
    const boards::CsvRow &april = monthRows[1];
    EXPECT_EQ(april[0], "2027/04/");
    EXPECT_EQ(april[2 * 4 - 1], "");
    EXPECT_EQ(april[2 * 5 - 1], "1");
    EXPECT_EQ(april[2 * 34 - 1], "30");
    EXPECT_EQ(april[2 * 35 - 1], "");
    // July 2028 is not in this year; December 2027 begins on a Wednesday.
    EXPECT_EQ(monthRows[9][0], "2027/12/");
    EXPECT_EQ(monthRows[9][2 * 4 - 1], "1");
}

TEST(SchoolYear, aMonthOfThirtyOneDaysBeginningOnSaturdayEndsInSlot37)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report report;
    setup::createSchoolYear(kServer, 2026, report); // August 2026 begins on a Saturday
    const auto rows = table(site, QStringLiteral("月別行事.txt"));
    const boards::CsvRow &august = rows[1 + 4];
    EXPECT_EQ(august[0], "2026/08/");
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(august[2 * k - 1], "") << k;
    EXPECT_EQ(august[2 * 7 - 1], "1");
    EXPECT_EQ(august[2 * 37 - 1], "31");
}

TEST(SchoolYear, neverOverwritesAndRunsFromTheProgram)
{
    TempSite site;
    site.makeSite(kServer);
    site.writeBytes(data(QStringLiteral("行事予定.txt")), "kept\r\n");
    QProcess setupProgram;
    setupProgram.start(testing_support::binDir() + "/PeruminaSetup",
                       {"--root", site.root(), "--school-year", "2026"});
    ASSERT_TRUE(setupProgram.waitForFinished(60000));
    EXPECT_EQ(setupProgram.exitCode(), 0) << setupProgram.readAllStandardError().toStdString();
    EXPECT_EQ(site.bytes(data(QStringLiteral("行事予定.txt"))), QByteArray("kept\r\n"));
    EXPECT_TRUE(site.bytes(data(QStringLiteral("日付取得.txt"))).startsWith("2026/04/01,2\r\n"));
    const QByteArray lunch = site.bytes(data(QStringLiteral("給食予定.txt")));

    // The same year again changes nothing.
    setupProgram.start(testing_support::binDir() + "/PeruminaSetup",
                       {"--root", site.root(), "--school-year", "2026"});
    ASSERT_TRUE(setupProgram.waitForFinished(60000));
    EXPECT_EQ(setupProgram.exitCode(), 0);
    EXPECT_TRUE(
        QString::fromUtf8(setupProgram.readAllStandardOutput()).contains(QStringLiteral("変更はありません")));
    EXPECT_EQ(site.bytes(data(QStringLiteral("給食予定.txt"))), lunch);

    setupProgram.start(testing_support::binDir() + "/PeruminaSetup",
                       {"--root", site.root(), "--school-year", "26x"});
    ASSERT_TRUE(setupProgram.waitForFinished(60000));
    EXPECT_EQ(setupProgram.exitCode(), 2);
}

TEST(SchoolYear, aNewYearMovesTheOldYearsFilesAsideAndNeverWhileABoardWrites)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report first;
    setup::createSchoolYear(kServer, 2026, first);
    site.writeBytes(data(QStringLiteral("行事予定.txt")), "kept\r\n"); // the school's own entries
    const QString setupPath = testing_support::binDir() + "/PeruminaSetup";
    auto run = [&](const QString &year, QByteArray *output = nullptr) {
        QProcess program;
        program.start(setupPath, {"--root", site.root(), "--school-year", year});
        EXPECT_TRUE(program.waitForFinished(60000));
        if (output)
            *output = program.readAllStandardOutput() + program.readAllStandardError();
        return program.exitCode();
    };

    {
        // A board saving (holding the lock of one of the files): refused, nothing moved.
        perumina::SharedFileLock busy(site.local(data(QStringLiteral("給食予定.txt"))));
        ASSERT_TRUE(busy.acquire());
        QByteArray said;
        EXPECT_EQ(run("2027", &said), 1);
        EXPECT_TRUE(QString::fromUtf8(said).contains(QStringLiteral("給食予定.txt をボードが使用中")))
            << said.toStdString();
        EXPECT_FALSE(QFileInfo::exists(site.local(data(QStringLiteral("2026年度")))));
    }
    QByteArray said;
    EXPECT_EQ(run("2027", &said), 0) << said.toStdString();
    EXPECT_TRUE(QString::fromUtf8(said).contains(QStringLiteral("2026年度のファイルを移しました")))
        << said.toStdString();
    for (const QString &file : perumina::site::schoolYearFiles())
        EXPECT_TRUE(QFileInfo::exists(site.local(data(QStringLiteral("2026年度\\") + file))))
            << file.toStdString();
    EXPECT_EQ(site.bytes(data(QStringLiteral("2026年度\\行事予定.txt"))), QByteArray("kept\r\n"));
    EXPECT_TRUE(site.bytes(data(QStringLiteral("日付取得.txt"))).startsWith("2027/04/01,2\r\n"));
    EXPECT_TRUE(site.bytes(data(QStringLiteral("行事予定.txt"))).contains("2027/04/01,4\r\n"));

    // Again for the same year: nothing changes.
    const QByteArray days = site.bytes(data(QStringLiteral("行事予定.txt")));
    EXPECT_EQ(run("2027"), 0);
    EXPECT_EQ(site.bytes(data(QStringLiteral("行事予定.txt"))), days);
    EXPECT_EQ(QDir(site.local(data(QStringLiteral("2026年度")))).entryList(QDir::Files).size(), 5);

    // A past year's folder that already holds such a file is never written over.
    site.writeBytes(data(QStringLiteral("2027年度\\月別行事.txt")), "old\r\n");
    setup::Report report;
    setup::startSchoolYear(kServer, 2028, report);
    EXPECT_FALSE(report.status.ok);
    EXPECT_EQ(site.bytes(data(QStringLiteral("行事予定.txt"))), days);
    EXPECT_EQ(site.bytes(data(QStringLiteral("2027年度\\月別行事.txt"))), QByteArray("old\r\n"));
}

TEST(DemoData, fillsAWeekAndAMonthThroughTheWorkbookAndKeepsWhatIsThere)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report first;
    setup::createSchoolYear(kServer, 2026, first);
    {
        boards::Workbook book; // an administrator's own entry for Monday 2026/06/08 (row 70)
        ASSERT_TRUE(book.open(data(QStringLiteral("行事予定.txt"))).ok);
        ASSERT_TRUE(book.setCell("70", 3, QStringLiteral("教育実習開始")).ok);
        ASSERT_TRUE(book.save().ok);
    }
    setup::Report report;
    setup::addDemoBoardData(kServer, QDate(2026, 6, 10), report);
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    EXPECT_EQ(report.created.size(), 3);

    boards::Workbook days;
    boards::Workbook lunches;
    boards::Workbook months;
    ASSERT_TRUE(days.open(data(QStringLiteral("行事予定.txt"))).ok);
    ASSERT_TRUE(lunches.open(data(QStringLiteral("給食予定.txt"))).ok);
    ASSERT_TRUE(months.open(data(QStringLiteral("月別行事.txt"))).ok);
    EXPECT_EQ(days.cell("70", 3), QStringLiteral("教育実習開始"));
    for (int row = 70; row <= 74; ++row) { // Monday to Friday
        EXPECT_FALSE(days.cell(QString::number(row), 10).isEmpty()) << row;
        EXPECT_FALSE(lunches.cell(QString::number(row), 3).isEmpty()) << row;
        EXPECT_FALSE(lunches.cell(QString::number(row), 10).isEmpty()) << row;
    }
    EXPECT_TRUE(days.cell("69", 10).isEmpty()); // the Sunday before
    EXPECT_TRUE(days.cell("77", 3).isEmpty());  // the Monday after
    EXPECT_EQ(days.cell("72", 1), QStringLiteral("2026/06/10"));
    // June 2026 (row 4) begins on a Monday: slot 2 is day 1.
    int filled = 0;
    for (int k = 1; k <= 37; ++k)
        filled += months.cell("4", 2 * k + 1).isEmpty() ? 0 : 1;
    EXPECT_GE(filled, 10);
    EXPECT_EQ(months.cell("4", 4), QStringLiteral("1"));
    EXPECT_TRUE(months.cell("5", 5).isEmpty()); // other months untouched

    const QByteArray before =
        site.bytes(data(QStringLiteral("月別行事.txt"))) + site.bytes(data(QStringLiteral("行事予定.txt")));
    setup::Report again;
    setup::addDemoBoardData(kServer, QDate(2026, 6, 10), again);
    EXPECT_TRUE(again.status.ok);
    EXPECT_TRUE(again.created.isEmpty());
    EXPECT_EQ(site.bytes(data(QStringLiteral("月別行事.txt"))) +
                  site.bytes(data(QStringLiteral("行事予定.txt"))),
              before);
}

// The switch moves the year every board shows: not while a board is open anywhere, never backwards by
// accident, and what it writes stays writable for the teachers' group whatever the umask of root.
TEST(SchoolYear, theSwitchWaitsForOpenBoardsKeepsTheLiveYearAndSharesWhatItWrites)
{
    TempSite site;
    site.makeSite(kServer);
    setup::Report first;
    setup::createSchoolYear(kServer, 2026, first);
    site.writeBytes(data(QStringLiteral("行事予定.txt")), "kept 2026\r\n");
    // The share as the server role leaves it; as root, a group other than root's own shows that the
    // data folder's group is the one given, not the runner's.
    const QString dataFolder = site.local(data(QString()));
    const struct group *other = ::geteuid() == 0 ? ::getgrnam("users") : nullptr;
    const gid_t gid = other ? other->gr_gid : ::getgid();
    ASSERT_EQ(::chown(QFile::encodeName(dataFolder).constData(), static_cast<uid_t>(-1), gid), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dataFolder).constData(), 02770), 0);

    auto run = [&](const QStringList &extra, QString *said = nullptr) {
        QProcess program;
        program.setProgram(testing_support::binDir() + "/PeruminaSetup");
        program.setArguments(QStringList{"--root", site.root()} + extra);
        const mode_t umask = ::umask(077); // inherited by the program
        program.start();
        ::umask(umask);
        EXPECT_TRUE(program.waitForFinished(60000));
        if (said)
            *said = QString::fromUtf8(program.readAllStandardOutput() + program.readAllStandardError());
        return program.exitCode();
    };
    const QString marks = perumina::site::presenceFolder(kServer);
    QString said;
    {
        const QString mark = perumina::writePresenceMark(marks, {"DayBoardC", "PC-01", "taro"}, 4242);
        ASSERT_FALSE(mark.isEmpty());
        EXPECT_EQ(run({"--school-year", "2027"}, &said), 1);
        EXPECT_TRUE(said.contains(QStringLiteral("DayBoardC（PC-01、taro）"))) << said.toStdString();
        EXPECT_FALSE(QFileInfo::exists(site.local(data(QStringLiteral("2026年度")))));
        // A board that ended without removing its mark (a crash) stops nothing once the mark is stale.
        QFile stale(mark);
        ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            stale.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }
    ASSERT_EQ(run({"--school-year", "2027"}, &said), 0) << said.toStdString();

    auto access = [](const QString &path) {
        struct stat info;
        return ::stat(QFile::encodeName(path).constData(), &info) == 0
                   ? std::pair{info.st_mode & 07777, info.st_gid}
                   : std::pair{0u, gid_t(-1)};
    };
    EXPECT_EQ(access(site.local(data(QStringLiteral("2026年度")))), std::pair(02770u, gid));
    for (const QString &file : perumina::site::schoolYearFiles()) {
        EXPECT_EQ(access(site.local(data(file))), std::pair(0660u, gid)) << file.toStdString();
        EXPECT_EQ(access(site.local(data(QStringLiteral("2026年度\\") + file))).second, gid);
    }

    // The guide's old re-run with the year it was installed with: the live 2027 stays.
    const QByteArray live = site.bytes(data(QStringLiteral("日付取得.txt")));
    EXPECT_EQ(run({"--school-year", "2026"}, &said), 1);
    EXPECT_TRUE(said.contains(QStringLiteral("--go-back"))) << said.toStdString();
    EXPECT_EQ(site.bytes(data(QStringLiteral("日付取得.txt"))), live);
    EXPECT_FALSE(QFileInfo::exists(site.local(data(QStringLiteral("2027年度")))));
    // Going back on purpose brings 2026's own files back and puts 2027 aside; forward again returns it.
    EXPECT_EQ(run({"--school-year", "2025", "--go-back"}, &said), 1) << "no archive of 2025";
    ASSERT_EQ(run({"--school-year", "2026", "--go-back"}, &said), 0) << said.toStdString();
    EXPECT_EQ(site.bytes(data(QStringLiteral("行事予定.txt"))), QByteArray("kept 2026\r\n"));
    EXPECT_FALSE(QFileInfo::exists(site.local(data(QStringLiteral("2026年度")))));
    EXPECT_EQ(site.bytes(data(QStringLiteral("2027年度\\日付取得.txt"))), live);
    ASSERT_EQ(run({"--school-year", "2027"}, &said), 0) << said.toStdString();
    EXPECT_EQ(site.bytes(data(QStringLiteral("日付取得.txt"))), live);
    EXPECT_EQ(site.bytes(data(QStringLiteral("2026年度\\行事予定.txt"))), QByteArray("kept 2026\r\n"));
}
