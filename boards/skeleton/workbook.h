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

// A cell that another board saved after this one read it, found before anything was written.
struct CellConflict
{
    int row = 0;
    int column = 0;
    QByteArray theirs; // on disk now
    QByteArray ours;   // what this board would write
};

// A save: ok, or refused with a message; when refused because of another writer, nothing was written.
struct SaveResult : perumina::Status
{
    // A written row no longer holds the record it held when read (its first cell, the date or the
    // month, changed): the file was replaced by another year's or rows were moved by hand.
    bool replaced = false;
    QList<CellConflict> conflicts;
};

// A board's data file held as a workbook: cells by row and column from 1, every value text.
// Reads come from the file as it was opened (or last saved) plus this board's own writes. Each write
// remembers the bytes it replaces. Saving writes only when a cell was written, and then merges the
// written cells into the file as it is on disk at that moment, under the file's lock, with an atomic
// replace: cells nobody wrote keep their bytes, quotes and line ends, and edits that another board
// saved meanwhile stay. It writes nothing when a written cell was changed on disk since it was read,
// or its row was replaced.
class Workbook
{
public:
    // Open by path. Fails with a message naming the file when it is missing or
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
    // The write replaces what this workbook read of the cell.
    perumina::Status setCell(const QString &row, int column, const QString &value);
    // Writes values (by column) into row, as replacing the cells of asRead, the row as the writer read
    // it earlier. All or nothing: refused for a bad row or column or text code page 932 cannot hold.
    perumina::Status setCells(int row, const CsvRow &asRead, const QMap<int, QString> &values);
    bool hasWrites() const { return !written_.isEmpty(); }
    void discardWrites();

    // The cells of a row as read from the file, without this workbook's own writes.
    CsvRow readRow(int row) const;

    // Writes the written cells into the file; does nothing when no cell was written. A refusal keeps
    // the written cells; after a conflict the reads show the file as it is now.
    SaveResult save();
    // Releases the file; afterwards every cell reads empty.
    void quit();

private:
    struct Written
    {
        QByteArray value;
        QByteArray base; // the bytes read where this value goes
    };
    void put(int row, int column, const QByteArray &value, const QByteArray &base, const QByteArray &rowKey);

    bool open_ = false;
    bool unclosedQuote_ = false;
    QString path_;
    QList<CsvRow> rows_;
    QMap<QPair<int, int>, Written> written_;
    QMap<int, QByteArray> rowKeys_; // first cell of each written row as read
};

// The largest sheet a board writes into: a wild row number must not grow the file without end.
inline constexpr int kMaxRows = 65536;
inline constexpr int kMaxColumns = 256;

// The name of the file at path, for messages ("行事予定.txt").
QString fileNameOf(const QString &path);

} // namespace boards
