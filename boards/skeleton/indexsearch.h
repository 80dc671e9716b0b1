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
        NotARow,
        HeadingRow,   // the line names row 1, the headings
        Duplicate,    // two lines start with marker ①; value and otherValue are their rows
        TextAfterRow, // the row number is followed by more text on its line (trailing)
        PastTheYear   // a row number past lastRow
    };
    QString marker1;     // today's date or month marker
    QString marker2;     // the next day's or month's
    int position1 = 0;   // where marker ① starts
    int position2 = 0;   // where marker ② starts, searched after ①
    int comma = 0;       // the first comma at or after position1 - 1
    int valueStart = 0;  // comma + 1
    int valueLength = 0; // up to the CR LF before marker ②
    QString value;       // the row as written on the line, with its trailing CR
    QString otherValue;  // Duplicate: the row written on the second line
    QString trailing;    // TextAfterRow: what follows the row number
    Outcome outcome = Outcome::NoFirstMarker;
    bool found() const { return outcome == Outcome::Found; }
};

// The farthest row an index may name, and a board writes. A school year has at most 366 days, in
// rows 2 to 367, and the step buttons reach 377; the months lie one per row from row 2, so 1201 rows
// hold a hundred years of them. A row past these is a slip of the keyboard, and writing it would grow
// the file by that many empty lines.
inline constexpr int kLastDayRow = 400;
inline constexpr int kLastMonthRow = 1201;

// The search: find marker1, then marker2 after it, then the first comma from just before marker1;
// the value is what stands between that comma and the CR LF before marker2. Found only when the value
// is a row number from 2 to lastRow, so a missing line, a line without a comma, a gap between the two
// lines, a repeated line, text after the row, the headings' row 1 or a row far past the year are told
// apart instead of giving a wrong row.
MarkerSearch searchMarkers(const QString &document, const QString &marker1, const QString &marker2,
                           int lastRow);

// Today's row in the date index 日付取得.txt (lines "yyyy/MM/dd,row"); needs tomorrow's line too.
MarkerSearch findDateRow(const QString &indexText, const QDate &today);

// The current month's row in the month index 年月取得.txt (lines "yyyy/MM/,row"); needs the next
// month's line too (January after December).
QString monthMarker(const QDate &date);
MarkerSearch findMonthRow(const QString &indexText, const QDate &today);

} // namespace boards
