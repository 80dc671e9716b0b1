#include "boardsite.h"

#include "setup/boarddata.h"
#include "shared/records.h"
#include "shared/site.h"

#include <gtest/gtest.h>

namespace boards_test {

BoardSite::BoardSite(int schoolYear, const QString &serverName) : server(serverName)
{
    site.makeSite(server);
    setup::Report report;
    setup::createSchoolYear(server, schoolYear, report);
    EXPECT_TRUE(report.status.ok) << report.status.error.toStdString();
}

QString BoardSite::data(const QString &file) const
{
    return perumina::site::dataFile(server, file);
}

int rowOf(const QDate &date)
{
    const QDate start(date.month() >= 4 ? date.year() : date.year() - 1, 4, 1);
    return int(start.daysTo(date)) + 2;
}

perumina::Status writeRow(boards::Workbook &book, int row, const QStringList &values)
{
    QMap<int, QString> cells;
    for (qsizetype i = 0; i < values.size(); ++i)
        cells.insert(int(i) + 1, values[i]);
    return book.setCells(row, book.readRow(row), cells);
}

} // namespace boards_test
