#pragma once

#include "boards/skeleton/workbook.h"
#include "common/testsite.h"

#include <QDate>
#include <QString>

namespace boards_test {

// A site with the board data of one school year, as PeruminaSetup makes it.
struct BoardSite
{
    explicit BoardSite(int schoolYear = 2026, const QString &server = QStringLiteral("SERVER"));
    testing_support::TempSite site;
    QString server;
    // The path here of a file under 管理データ.
    QString data(const QString &file) const;
};

// Row of a date in a school year made by the set-up: 1 April is row 2.
int rowOf(const QDate &date);

// Writes values into a row from column 1 on, all or nothing.
perumina::Status writeRow(boards::Workbook &book, int row, const QStringList &values);

} // namespace boards_test
