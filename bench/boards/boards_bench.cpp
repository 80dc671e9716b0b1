#include "boards/skeleton/csv.h"
#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"
#include "shared/textfile.h"

#include <QDate>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A school year of the daily board with every one of the 35 cells filled, some over several lines.
QByteArray fullYear()
{
    QList<boards::CsvRow> rows{boards::CsvRow(35, QByteArray("見出し"))};
    for (QDate d(2026, 4, 1); d < QDate(2027, 4, 1); d = d.addDays(1)) {
        boards::CsvRow row{d.toString(QStringLiteral("yyyy/MM/dd")).toLatin1(),
                           QByteArray::number(d.dayOfWeek())};
        for (int c = 3; c <= 35; ++c)
            row.append(*perumina::encodeCp932(QStringLiteral("国語, 漢字テスト\n（教室%1）").arg(c)));
        rows.append(row);
    }
    return boards::writeCsv(rows);
}

QString yearIndex()
{
    QString text;
    int row = 2;
    for (QDate d(2026, 4, 1); d <= QDate(2027, 4, 1); d = d.addDays(1))
        text +=
            d.toString(QStringLiteral("yyyy/MM/dd")) + u',' + QString::number(row++) + QStringLiteral("\r\n");
    return text;
}

void parseFullYear(benchmark::State &state)
{
    const QByteArray bytes = fullYear();
    for (auto _ : state)
        benchmark::DoNotOptimize(boards::parseCsv(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(parseFullYear);

void findLastDateOfTheYear(benchmark::State &state)
{
    const QString index = yearIndex();
    for (auto _ : state)
        benchmark::DoNotOptimize(boards::findDateRow(index, QDate(2027, 3, 31)));
}
BENCHMARK(findLastDateOfTheYear);

// Open, write one day's 35 cells and save (merge under the lock, atomic replace).
void writeBackOneDay(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("行事予定.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(fullYear());
    file.close();
    for (auto _ : state) {
        boards::Workbook book;
        book.open(path);
        for (int c = 1; c <= 35; ++c)
            book.setCell(QStringLiteral("100"), c, QStringLiteral("書き戻し%1").arg(c));
        if (!book.save())
            state.SkipWithError("save failed");
    }
}
BENCHMARK(writeBackOneDay)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
