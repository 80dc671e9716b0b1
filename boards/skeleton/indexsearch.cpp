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

// The rows written on the lines that start with marker, in file order.
static QStringList rowsOfLinesStartingWith(const QString &document, const QString &marker)
{
    QStringList rows;
    for (qsizetype at = document.indexOf(marker); at >= 0; at = document.indexOf(marker, at + 1)) {
        if (at > 0 && document[at - 1] != u'\n')
            continue;
        qsizetype end = document.indexOf(u'\n', at);
        end = end < 0 ? document.size() : end;
        const QString line = document.mid(at, end - at);
        const qsizetype comma = line.indexOf(u',', marker.size());
        rows.append(comma < 0 ? QString() : line.mid(comma + 1).trimmed());
    }
    return rows;
}

MarkerSearch searchMarkers(const QString &document, const QString &marker1, const QString &marker2,
                           int lastRow)
{
    MarkerSearch s;
    s.marker1 = marker1;
    s.marker2 = marker2;
    const qsizetype hit1 = marker1.isEmpty() ? -1 : document.indexOf(marker1);
    if (hit1 < 0)
        return s;
    s.position1 = int(hit1) + 1;
    // Two lines for one day: whichever the search took, the other one's row would be lost.
    if (const QStringList rows = rowsOfLinesStartingWith(document, marker1); rows.size() > 1) {
        s.value = rows[0];
        s.otherValue = rows[1];
        s.outcome = MarkerSearch::Outcome::Duplicate;
        return s;
    }
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
    if (!row) {
        s.outcome = MarkerSearch::Outcome::NotARow;
        // A row number with more text after it on its own line (a note, another column).
        const QString text = s.value.trimmed();
        qsizetype digits = 0;
        while (digits < text.size() && text[digits].isDigit() && text[digits].unicode() < 0x80)
            ++digits;
        if (digits > 0 && digits == text.size()) {
            // Zero, or too many digits for any number.
            if (text.count(u'0') < text.size())
                s.outcome = MarkerSearch::Outcome::PastTheYear;
        } else if (digits > 0 && !text.contains(u'\n') && !text.contains(u'\r')) {
            s.value = text.left(digits);
            s.trailing = text.mid(digits);
            s.outcome = MarkerSearch::Outcome::TextAfterRow;
        }
        return s;
    }
    s.outcome = *row < 2         ? MarkerSearch::Outcome::HeadingRow
                : *row > lastRow ? MarkerSearch::Outcome::PastTheYear
                                 : MarkerSearch::Outcome::Found;
    return s;
}

MarkerSearch findDateRow(const QString &indexText, const QDate &today)
{
    return searchMarkers(indexText, perumina::formatDate(today), perumina::formatDate(today.addDays(1)),
                         kLastDayRow);
}

QString monthMarker(const QDate &date)
{
    return perumina::formatDate(date).left(8);
}

MarkerSearch findMonthRow(const QString &indexText, const QDate &today)
{
    const QDate first(today.year(), today.month(), 1);
    return searchMarkers(indexText, monthMarker(first), monthMarker(first.addMonths(1)), kLastMonthRow);
}

} // namespace boards
