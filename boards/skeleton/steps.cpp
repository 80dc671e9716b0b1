#include "boards/skeleton/steps.h"

#include "boards/skeleton/workbook.h"

#include <algorithm>

namespace boards {

StepResult dayStep(const QString &rowBefore, int step)
{
    // A row text that is no number can only come from a damaged index; it counts as the first day.
    const int old = parseRowNumber(rowBefore).value_or(2);
    if (step < 0) {
        const int limit = step <= -10 ? 11 : 3;
        if (old < limit || old + step < 2)
            return {QStringLiteral("2"), kNoEarlierYear};
    } else if (old > 367) {
        return {QStringLiteral("366"), kNoLaterYear};
    }
    return {QString::number(old + step), QString()};
}

StepResult monthStep(const QString &rowBefore, int step)
{
    const int old = parseRowNumber(rowBefore).value_or(2);
    if (step < 0 && (old < 3 || old + step < 2))
        return {QStringLiteral("2"), kNoEarlierMonth};
    // No sheet has rows beyond kMaxRows; a huge row from the index stops there instead of overflowing.
    return {QString::number(std::min<qint64>(qint64(old) + step, kMaxRows)), QString()};
}

} // namespace boards
