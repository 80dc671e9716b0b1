#pragma once

#include "boards/skeleton/boardsession.h"

#include <QStringList>

namespace boards::lunch {

enum class Variant
{
    Admin,
    Classroom
}; // LunchBoardS, LunchBoardC

// Columns of a day: 1 date, 2 weekday number, 3 staple food, 4 to 7 side dishes, 8 and 9 drinks,
// 10 total calories. Columns 3 to 10 are shown in menuBox1 to menuBox8; nothing beyond 10 is touched.
inline constexpr int kColumns = 10;
inline constexpr int kMenuFields = 8;

BoardFiles lunchBoardFiles();
QString windowCaption(Variant variant);
// The captions of the step buttons "＜＜", "＜", "◇", "＞", "＞＞" in each variant.
QStringList stepCaptions(Variant variant);

// The menu of a row as shown: menuBox1 .. menuBox8.
QStringList readMenu(const Workbook &book, const QString &row);
// The caption of the box of a column ("主食", "副食②"), for messages.
QString boxName(int column, const QStringList &row = {});
// The heading row of 給食予定.txt, one per column, as the set-up writes it; it names the last column
// "総カロリー" where the box says "総カロリー量".
QStringList fileHeading();

} // namespace boards::lunch
