#pragma once

#include "boards/skeleton/boardsession.h"

#include <QRect>
#include <QStringList>

namespace boards::monthly {

enum class Variant
{
    Admin,
    Classroom
}; // MonthBoardS, MonthBoardC

// A month row: field 1 the month marker yyyy/MM/, then for each calendar slot k (1 to 37) the day
// number in field 2k and the events text in field 2k + 1.
inline constexpr int kSlots = 37;
inline constexpr int kFields = 1 + 2 * kSlots;

BoardFiles monthBoardFiles();
// The heading row of 月別行事.txt, one per field ("年月", then "日k" and "行事k" for each slot), as the
// set-up writes it.
QStringList fileHeading();
QString windowCaption(Variant variant);

struct MonthRow
{
    QString title;      // the first seven characters of field 1 (yyyy/MM)
    QStringList days;   // 37 day numbers
    QStringList events; // 37 events texts
};

// The display's reading of a row, field by field in ascending order.
MonthRow readMonthRow(const Workbook &book, const QString &row);
// The 75 fields of a month as the board shows it: the title + "/", then the 37 pairs.
QStringList monthRowFields(const MonthRow &month);
// The name of the box of a field ("9日の行事"), for messages; row is the shown fields.
QString boxName(int column, const QStringList &row);

// Calendar geometry in twips (1/1440 inch) of each variant, and the conversion to pixels.
inline constexpr int kTwipsPerPixel = 15;
inline int pixels(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
QRect pixels(const QRect &twips);

struct CalendarGeometry
{
    int clientWidth;
    int clientHeight;
    int headingTop;
    int headingHeight;
    int labelTop; // A: top of the day labels of week row 1
    int boxTop;   // B: top of the events boxes of week row 1
};
CalendarGeometry calendarGeometry(Variant variant);
// Slot k (1 to 37): week row (k - 1) / 7 + 1, weekday column (k - 1) % 7 + 1 with column 1 Sunday.
QRect dayLabelTwips(const CalendarGeometry &g, int slot);
QRect eventsBoxTwips(const CalendarGeometry &g, int slot);
QRect headingTwips(const CalendarGeometry &g, int column);
// Sunday column red, Saturday column blue, the rest black (0xRRGGBB).
unsigned columnColour(int column);

} // namespace boards::monthly
