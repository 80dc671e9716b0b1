#include "boards/skeleton/csv.h"

namespace boards {

CsvTable parseCsv(const QByteArray &bytes)
{
    CsvTable table;
    CsvRow row;
    QByteArray field;
    bool inQuotes = false;
    bool fieldStarted = false; // something of the current record has been read
    const qsizetype n = bytes.size();

    auto endField = [&] {
        row.append(field);
        field.clear();
    };
    auto endRecord = [&] {
        endField();
        table.rows.append(row);
        row.clear();
        fieldStarted = false;
    };

    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (inQuotes) {
            if (c == '"') {
                if (i + 1 < n && bytes[i + 1] == '"') {
                    field.append('"');
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field.append(c);
            }
            continue;
        }
        // Only a quote that starts the field opens a quoted field; one after text is kept as text.
        if (c == '"' && (i == 0 || bytes[i - 1] == ',' || bytes[i - 1] == '\n' || bytes[i - 1] == '\r')) {
            inQuotes = true;
            fieldStarted = true;
            continue;
        }
        if (c == ',') {
            endField();
            fieldStarted = true;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            endRecord();
        } else {
            field.append(c);
            fieldStarted = true;
        }
    }
    if (inQuotes)
        table.unclosedQuote = true;
    if (fieldStarted || !field.isEmpty() || !row.isEmpty())
        endRecord();
    return table;
}

static bool needsQuotes(const QByteArray &field)
{
    for (char c : field)
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

QByteArray writeCsv(const QList<CsvRow> &rows)
{
    QByteArray out;
    for (const CsvRow &row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0)
                out.append(',');
            const QByteArray &field = row[i];
            if (needsQuotes(field)) {
                out.append('"');
                for (char c : field) {
                    if (c == '"')
                        out.append('"');
                    out.append(c);
                }
                out.append('"');
            } else {
                out.append(field);
            }
        }
        out.append("\r\n");
    }
    return out;
}

} // namespace boards
