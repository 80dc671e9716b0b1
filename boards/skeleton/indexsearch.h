#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

namespace boards {

// The text a board searches: the index file's lines, each followed by CR LF, whatever line ends the
// file itself has.
QString indexDocument(const QByteArray &fileBytes);

// The working values of the marker search, positions from 1 and 0 when not found.
struct MarkerSearch
{
    enum class Outcome
    {
        Found,
        NoFirstMarker,
        NoSecondMarker,
        OutOfOrder, // marker ② stands only before marker ①
        NoComma,
        NotARow
    };
    QString marker1;     // today's date or month marker
    QString marker2;     // the next day's or month's
    int position1 = 0;   // where marker ① starts
    int position2 = 0;   // where marker ② starts, searched after ①
    int comma = 0;       // the first comma at or after position1 - 1
    int valueStart = 0;  // comma + 1
    int valueLength = 0; // up to the CR LF before marker ②
    QString value;       // the row as written on the line, with its trailing CR
    Outcome outcome = Outcome::NoFirstMarker;
    bool found() const { return outcome == Outcome::Found; }
};

// The search: find marker1, then marker2 after it, then the first comma from just before marker1;
// the value is what stands between that comma and the CR LF before marker2. Found only when the value
// is a row number, so a missing line, a line without a comma or a gap between the two lines is told
// apart instead of giving a wrong row. Row 1 holds the headings: a line naming it counts as missing.
MarkerSearch searchMarkers(const QString &document, const QString &marker1, const QString &marker2);

// Today's row in the date index 日付取得.txt (lines "yyyy/MM/dd,row"); needs tomorrow's line too.
MarkerSearch findDateRow(const QString &indexText, const QDate &today);

// The current month's row in the month index 年月取得.txt (lines "yyyy/MM/,row"); needs the next
// month's line too (January after December).
QString monthMarker(const QDate &date);
MarkerSearch findMonthRow(const QString &indexText, const QDate &today);

} // namespace boards
