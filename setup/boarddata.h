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

// Example data for a demonstration: a filled week of the daily and lunch boards around today and a
// filled month of events, written through the workbook into empty cells only. Creates the school year
// of today first when it is missing.
void addDemoBoardData(const QString &server, const QDate &today, Report &report);

} // namespace setup
