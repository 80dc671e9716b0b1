#pragma once

#include <QString>

namespace boards {

// Where a step button leads from the row on display, and the refusal it shows, if any.
struct StepResult
{
    QString row;     // the new text of the current row
    QString message; // empty, or the text shown with the title "エラーです!" and the exclamation icon
};

inline const QString kStepErrorTitle = QStringLiteral("エラーです!");
inline const QString kNoEarlierYear = QStringLiteral("昨年度のデータはありません｡");
inline const QString kNoLaterYear = QStringLiteral("来年度のデータはありません｡");
inline const QString kNoEarlierMonth = QStringLiteral("2003年度以前のデータはありません｡");

// Daily and lunch boards: steps of -10, -1, +1, +10. Going back is refused from below 11 (by ten) or
// below 3 (by one), and whenever it would land before row 2, the first day; going on is refused from
// above 367. A refusal shows row 2 or 366.
StepResult dayStep(const QString &rowBefore, int step);

// Monthly boards: -1 is refused from below 3 and shows row 2; +1 goes on up to the last row a sheet
// can have (kMaxRows).
StepResult monthStep(const QString &rowBefore, int step);

} // namespace boards
