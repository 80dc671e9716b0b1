#pragma once

#include <QByteArray>
#include <QList>

namespace boards {

// One record of a workbook file: its fields as the file's own bytes (code page 932, quotes removed).
using CsvRow = QList<QByteArray>;

struct CsvTable
{
    QList<CsvRow> rows;
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

} // namespace boards
