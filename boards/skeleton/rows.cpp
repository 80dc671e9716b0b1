#include "boards/skeleton/rows.h"

namespace boards {

std::optional<WeekdayStyle> weekdayStyle(const QString &number)
{
    static const QString kCaptions[] = {QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"),
                                        QStringLiteral("木"), QStringLiteral("金"), QStringLiteral("土"),
                                        QStringLiteral("日")};
    for (int n = 1; n <= 7; ++n) {
        if (number == QString::number(n)) {
            const unsigned rgb = n == 6 ? 0x0000FFu : n == 7 ? 0xFF0000u : 0x000000u;
            return WeekdayStyle{kCaptions[n - 1], rgb};
        }
    }
    return std::nullopt;
}

QStringList readCells(const Workbook &book, const QString &row, int first, int last)
{
    QStringList cells;
    for (int column = first; column <= last; ++column)
        cells.append(book.cell(row, column));
    return cells;
}

} // namespace boards
