#pragma once

#include "boards/skeleton/csv.h"
#include "shared/status.h"

#include <QMap>
#include <QPair>
#include <QString>
#include <optional>

namespace boards {

// A row given as text ("12", "12\r", " 12 "): white space around the digits does not count.
// Nothing for text that is not a whole number of at least 1.
std::optional<int> parseRowNumber(const QString &rowText);

// A board's data file held as a workbook: cells by row and column from 1, every value text.
// Reads come from the file as it was opened plus this board's own writes. Saving writes only when a
// cell was written, and then merges the written cells into the file as it is on disk at that moment,
// under the file's lock, with an atomic replace, so edits that another board saved meanwhile stay.
class Workbook
{
public:
    // Open by path (the system's path). Fails with a message naming the file when it is missing or
    // cannot be read.
    perumina::Status open(const QString &path);
    // There is no spreadsheet window to show; kept so that the start-up reads as the boards do.
    void makeVisible() {}

    bool isOpen() const { return open_; }
    QString path() const { return path_; }
    // The file ended inside a quoted cell: read to the end, and the board says so.
    bool unclosedQuote() const { return unclosedQuote_; }

    // Empty for an empty or missing cell and for a row text that is not a row.
    QString cell(const QString &row, int column) const;
    // Refused, changing nothing, for a row text that is not a row, a row or column outside the sheet
    // (1 to kMaxRows, 1 to kMaxColumns) or text that code page 932 cannot hold.
    perumina::Status setCell(const QString &row, int column, const QString &value);
    bool hasWrites() const { return !written_.isEmpty(); }

    // Writes the written cells into the file; does nothing when no cell was written.
    perumina::Status save();
    // Releases the file; afterwards every cell reads empty.
    void quit();

private:
    bool open_ = false;
    bool unclosedQuote_ = false;
    QString path_;
    QList<CsvRow> rows_;
    QMap<QPair<int, int>, QByteArray> written_;
};

// The largest sheet a board writes into: a wild row number must not grow the file without end.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// The name of a file of the system's path, for messages ("行事予定.txt").
QString fileNameOf(const QString &systemPath);

} // namespace boards
