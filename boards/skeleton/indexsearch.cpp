#include "boards/skeleton/indexsearch.h"

#include "boards/skeleton/workbook.h"
#include "shared/seams.h"
#include "shared/textfile.h"

namespace boards {

QString indexDocument(const QByteArray &fileBytes)
{
    QString document;
    for (const QString &line : perumina::splitLines(perumina::decodeCp932(fileBytes)))
        document += line + QLatin1String(perumina::kCrLf);
    return document;
}

MarkerSearch searchMarkers(const QString &document, const QString &marker1, const QString &marker2)
{
    MarkerSearch s;
    s.marker1 = marker1;
    s.marker2 = marker2;
    const qsizetype hit1 = marker1.isEmpty() ? -1 : document.indexOf(marker1);
    if (hit1 < 0)
        return s;
    s.position1 = int(hit1) + 1;
    const qsizetype hit2 = marker2.isEmpty() ? -1 : document.indexOf(marker2, hit1 + marker1.size());
    if (hit2 < 0) {
        s.outcome = document.indexOf(marker2) >= 0 ? MarkerSearch::Outcome::OutOfOrder
                                                   : MarkerSearch::Outcome::NoSecondMarker;
        return s;
    }
    s.position2 = int(hit2) + 1;
    const qsizetype comma = document.indexOf(u',', std::max<qsizetype>(hit1 - 1, 0));
    // A comma beyond marker ② belongs to a later line: the line of marker ① has none.
    if (comma < 0 || comma >= hit2) {
        s.outcome = MarkerSearch::Outcome::NoComma;
        return s;
    }
    s.comma = int(comma) + 1;
    s.valueStart = s.comma + 1;
    s.valueLength = s.position2 - s.valueStart - 1;
    s.value = document.mid(s.valueStart - 1, std::max(s.valueLength, 0));
    const auto row = parseRowNumber(s.value);
    s.outcome = !row       ? MarkerSearch::Outcome::NotARow
                : *row < 2 ? MarkerSearch::Outcome::NoFirstMarker
                           : MarkerSearch::Outcome::Found;
    return s;
}

MarkerSearch findDateRow(const QString &indexText, const QDate &today)
{
    return searchMarkers(indexText, perumina::formatDate(today), perumina::formatDate(today.addDays(1)));
}

QString monthMarker(const QDate &date)
{
    return perumina::formatDate(date).left(8);
}

MarkerSearch findMonthRow(const QString &indexText, const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return searchMarkers(indexText, monthMarker(first), monthMarker(first.addMonths(1)));
}

} // namespace boards
