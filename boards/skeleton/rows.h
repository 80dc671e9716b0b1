#pragma once

#include "boards/skeleton/workbook.h"

#include <QStringList>
#include <optional>

namespace boards {

// The weekday rule: "1" to "7" give 月 to 日; Saturday blue, Sunday red, the rest black.
struct WeekdayStyle
{
    QString caption;
    unsigned rgb = 0; // 0xRRGGBB
};
// Nothing for any other text: the label then keeps what it showed.
std::optional<WeekdayStyle> weekdayStyle(const QString &number);

// Cells first..last of a row, one read per column in column order.
QStringList readCells(const Workbook &book, const QString &row, int first, int last);

} // namespace boards
