#pragma once

#include "boards/skeleton/boardsession.h"

#include <QStringList>

namespace boards::daily {

enum class Variant
{
    Admin,
    Classroom
}; // DayBoardS, DayBoardC

// Columns of a day: 1 date, 2 weekday number, 3 to 5 school events, 6 to 8 grade events, then nine
// time slots for each of the three grades. Column c is shown in field Text(100 + c).
inline constexpr int kColumns = 35;
inline constexpr int kSlots = 9;

BoardFiles dayBoardFiles();
// The caption of the box of a column ("行事　１", "二学年 3校時"), for messages.
QString boxName(int column, const QStringList &row = {});
QString windowCaption(Variant variant);

// The nine time slots in their order.
QStringList timeSlotNames();
// The heading row of 行事予定.txt, one per column ("行事１", "1学年始業前"), as the set-up writes it.
QStringList fileHeading();
// The header over the timetable: each slot name padded with full-width blanks so that, in a font
// whose full-width characters are charWidth wide, it stands centred over its column of the given pitch
// and field width.
QString timeSlotHeader(int pitch, int fieldWidth, int charWidth);

} // namespace boards::daily
