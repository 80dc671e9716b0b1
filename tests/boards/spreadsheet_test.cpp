#include "boards/skeleton/csv.h"
#include "boards/skeleton/workbook.h"
#include "boardsite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Runs the office suite without a window; false when it fails or takes too long.
bool convert(const QString &office, const QString &profile, const QStringList &args)
{
    QProcess process;
    process.start(office, QStringList{QStringLiteral("-env:UserInstallation=") +
                                          QUrl::fromLocalFile(profile).toString(),
                                      QStringLiteral("--headless")} +
                              args);
    return process.waitForFinished(180000) && process.exitCode() == 0;
}

QByteArray cellOf(const QList<boards::CsvRow> &rows, int row, int column)
{
    if (row >= rows.size() || column >= rows[row].size())
        return QByteArray();
    return rows[row][column];
}

} // namespace

// A file the boards wrote opens in a spreadsheet application as the same cells: the file goes through
// LibreOffice Calc to a spreadsheet of its own and back to code page 932 CSV. Slow, so only when
// PERUMINA_SPREADSHEET_CHECK is set and LibreOffice is installed.
TEST(SpreadsheetCheck, workbookFileOpensAsTheSameCellsInLibreOffice)
{
    const QString office = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (qEnvironmentVariableIsEmpty("PERUMINA_SPREADSHEET_CHECK") || office.isEmpty())
        GTEST_SKIP() << "set PERUMINA_SPREADSHEET_CHECK and install libreoffice-calc-nogui to run";

    boards_test::BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    boards::Workbook book;
    ASSERT_TRUE(book.open(path).ok);
    const QStringList tricky{QStringLiteral("始業式, \"全校\"\n午前授業"),
                             QStringLiteral("ソフト表示①～㈱ｶﾀｶﾅ"),
                             QStringLiteral("  前後の空白  "),
                             QString(),
                             QStringLiteral("\"引用符で始まる"),
                             QStringLiteral("1行目\n2行目\n3行目"),
                             QStringLiteral("a,b,c")};
    for (int i = 0; i < tricky.size(); ++i)
        ASSERT_TRUE(book.setCell("9", 3 + i, tricky[i]).ok);
    ASSERT_TRUE(book.setCell("366", 35, QStringLiteral("最後のセル")).ok);
    ASSERT_TRUE(book.save().ok);
    const QByteArray written = site.site.bytes(path);

    QTemporaryDir work;
    const QString csv = work.filePath(QStringLiteral("board.csv"));
    QFile out(csv);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(written);
    out.close();
    const QString profile = work.filePath(QStringLiteral("profile"));
    // Import: comma, quote, code page 932 (60), from line 1, Japanese, numbers and dates left as text.
    ASSERT_TRUE(
        convert(office, profile,
                {QStringLiteral("--infilter=CSV:44,34,60,1,,1041,true,false"), QStringLiteral("--convert-to"),
                 QStringLiteral("xlsx"), QStringLiteral("--outdir"), work.path(), csv}));
    ASSERT_TRUE(QFile::exists(work.filePath(QStringLiteral("board.xlsx"))));
    const QString back = work.filePath(QStringLiteral("back"));
    ASSERT_TRUE(
        convert(office, profile,
                {QStringLiteral("--convert-to"), QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,60,1"),
                 QStringLiteral("--outdir"), back, work.filePath(QStringLiteral("board.xlsx"))}));
    QFile in(QDir(back).filePath(QStringLiteral("board.csv")));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));

    const auto ours = boards::parseCsv(written).rows;
    const auto theirs = boards::parseCsv(in.readAll()).rows;
    ASSERT_EQ(theirs.size(), ours.size());
    for (int r = 0; r < ours.size(); ++r)
        for (int c = 0; c < 35; ++c)
            ASSERT_EQ(cellOf(theirs, r, c), cellOf(ours, r, c)) << "row " << r + 1 << " column " << c + 1;
}
