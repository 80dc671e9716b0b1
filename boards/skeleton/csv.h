#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>

namespace boards {

// One record of a workbook file: its fields as the file's own bytes (code page 932, quotes removed).
using CsvRow = QList<QByteArray>;

// Where one record lies in the file's bytes: field i is the bytes from fieldStarts[i] up to the comma
// before fieldStarts[i + 1] (the last one up to end), quotes included as written.
struct CsvSpan
{
    QList<qsizetype> fieldStarts;
    qsizetype end = 0;  // where the record's line end begins
    qsizetype next = 0; // just after its line end (end, when the file stops without one)
};

struct CsvTable
{
    QList<CsvRow> rows;
    QList<CsvSpan> spans;       // one per row
    bool unclosedQuote = false; // the last field opened a quote that never closed; read to the end
};

// Reads comma-separated records as spreadsheet applications write them. Works on the bytes, so that
// cells nobody edits are written back byte for byte: the delimiters (comma, quote, CR, LF) are ASCII
// and never occur as the second byte of a code page 932 character. Records may end with CR LF, LF or
// CR; a final line end does not start another record; an empty line is a record with one empty field.
// A quote opens a quoted field only at the start of a field; "" inside one is a quote; line breaks
// inside are kept. Accepts any bytes.
CsvTable parseCsv(const QByteArray &bytes);

// Writes records with CR LF after each; a field holding a comma, quote, CR or LF is quoted, with its
// quotes doubled. Rows keep their own lengths.
QByteArray writeCsv(const QList<CsvRow> &rows);

// Cells by (row, column), both from 1, with their new values.
using CsvCells = QMap<QPair<int, int>, QByteArray>;

// The file's bytes with the given cells replaced and not one other byte changed: other cells, their
// quoting and every line end stay as they lie in the file. A new value is quoted when it needs it, when
// the cell it replaces was quoted, or, in place of an empty cell, when most filled cells of its row
// are; missing cells and rows are added, rows ending with the line end the file uses most (CR LF when
// it has none).
QByteArray spliceCsv(const QByteArray &bytes, const CsvCells &cells);

} // namespace boards
