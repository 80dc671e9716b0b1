#pragma once

#include "setup/site.h"

#include <QDate>
#include <QString>

namespace setup {

// The school year (年度) a date belongs to: from 1 April to 31 March.
int schoolYearOf(const QDate &date);

// Creates the board data of the school year from 1 April of year, without overwriting any file:
// 日付取得.txt (1 April to 1 April of the next year, row 2 for 1 April), 行事予定.txt and 給食予定.txt
// (a heading row, then one row per day with its date and weekday number 1 to 7), 年月取得.txt (April
// to April of the next year, row 2 for April) and 月別行事.txt (a heading row, then one row per month
// with its marker and the day numbers in the 37 calendar slots, Sunday first).
void createSchoolYear(const QString &server, int year, Report &report);

// What starting a school year did with the data of the year before.
struct YearChange
{
    int oldYear = 0;      // the year the data folder held, 0 when it held none
    QString folder;       // where that year's files went empty when nothing moved
    QStringList moved;    // the files moved there
    QStringList restored; // the files of year brought back from its own past-year folder
};

// Starts the school year from 1 April of year. Where the data folder holds another year's board data
// (the year of the first date of 日付取得.txt), those files move first into pastYearFolder(that year)
// of the data folder; the files pastYearFolder(year) holds come back; then what is missing of year is
// created as createSchoolYear does. Everything written gets the share's access (giveShareAccess).
// Nothing is deleted or overwritten: refused, changing nothing, while any board is open (a live
// presence mark) or holds the lock of one of the files, when the folder already holds such a file, and
// for a year before the one on disk unless goBack, and then only when that year's files are archived.
// For the year already there, or data of no year to tell, it only creates what is missing.
YearChange startSchoolYear(const QString &server, int year, Report &report, bool goBack = false);

// Example data for a demonstration: a filled week of the daily and lunch boards around today and a
// filled month of events, written through the workbook into empty cells only. Creates the school year
// of today first when it is missing.
void addDemoBoardData(const QString &server, const QDate &today, Report &report);

} // namespace setup
