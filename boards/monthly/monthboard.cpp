#include "boards/monthly/monthboard.h"

#include "boards/skeleton/rows.h"
#include "shared/site.h"

namespace boards::monthly {

QString boxName(int column, const QStringList &row)
{
    if (column == 1)
        return QStringLiteral("年月");
    if (column < 2 || column > kFields)
        return QString();
    const int slot = column / 2;
    const QString day = row.value(2 * slot - 1);
    if (column % 2 == 0)
        return QStringLiteral("%1番目の枠の日付").arg(slot);
    return day.isEmpty() ? QStringLiteral("%1番目の枠の行事").arg(slot)
                         : QStringLiteral("%1日の行事").arg(day);
}

QStringList fileHeading()
{
    QStringList heading{QStringLiteral("年月")};
    for (int k = 1; k <= kSlots; ++k)
        heading << QStringLiteral("日%1").arg(k) << QStringLiteral("行事%1").arg(k);
    return heading;
}

BoardFiles monthBoardFiles()
{
    return BoardFiles{perumina::site::kMonthEvents, true, &boxName};
}

QString windowCaption(Variant variant)
{
    return variant == Variant::Admin ? QStringLiteral("月別行事")
                                     : QStringLiteral("グループウェア（ぺる・み・な）");
}

MonthRow readMonthRow(const Workbook &book, const QString &row)
{
    const QStringList fields = readCells(book, row, 1, kFields);
    MonthRow month;
    month.title = fields[0].left(7);
    for (int k = 1; k <= kSlots; ++k) {
        month.days.append(fields[2 * k - 1]);
        month.events.append(fields[2 * k]);
    }
    return month;
}

QStringList monthRowFields(const MonthRow &month)
{
    QStringList fields{month.title + u'/'};
    for (int k = 0; k < kSlots; ++k)
        fields << month.days.value(k) << month.events.value(k);
    return fields;
}

QRect pixels(const QRect &twips)
{
    return QRect(pixels(twips.left()), pixels(twips.top()), pixels(twips.width()), pixels(twips.height()));
}

CalendarGeometry calendarGeometry(Variant variant)
{
    if (variant == Variant::Admin)
        return {15240, 10800, 1200, 375, 1680, 2040};
    return {15240, 10755, 1440, 495, 1920, 2280};
}

static int columnLeft(int column)
{
    return 480 + 2040 * (column - 1);
}

QRect dayLabelTwips(const CalendarGeometry &g, int slot)
{
    const int week = (slot - 1) / 7;
    return QRect(columnLeft((slot - 1) % 7 + 1), g.labelTop + 1440 * week, 1935, 375);
}

QRect eventsBoxTwips(const CalendarGeometry &g, int slot)
{
    const int week = (slot - 1) / 7;
    return QRect(columnLeft((slot - 1) % 7 + 1), g.boxTop + 1440 * week, 1935, 975);
}

QRect headingTwips(const CalendarGeometry &g, int column)
{
    return QRect(columnLeft(column), g.headingTop, 1935, g.headingHeight);
}

unsigned columnColour(int column)
{
    return column == 1 ? 0xFF0000u : column == 7 ? 0x0000FFu : 0x000000u;
}

} // namespace boards::monthly
