#include "boards/skeleton/csv.h"

namespace boards {

CsvTable parseCsv(const QByteArray &bytes)
{
    CsvTable table;
    CsvRow row;
    CsvSpan span{{0}};
    QByteArray field;
    bool inQuotes = false;
    bool fieldStarted = false; // something of the current record has been read
    const qsizetype n = bytes.size();

    auto endField = [&] {
        row.append(field);
        field.clear();
    };
    // end: where the line end begins; next: after it.
    auto endRecord = [&](qsizetype end, qsizetype next) {
        endField();
        table.rows.append(row);
        span.end = end;
        span.next = next;
        table.spans.append(span);
        span = CsvSpan{{next}};
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
            span.fieldStarts.append(i + 1);
            fieldStarted = true;
        } else if (c == '\r' || c == '\n') {
            const qsizetype end = i;
            if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                ++i;
            endRecord(end, i + 1);
        } else {
            field.append(c);
            fieldStarted = true;
        }
    }
    if (inQuotes)
        table.unclosedQuote = true;
    if (fieldStarted || !field.isEmpty() || !row.isEmpty())
        endRecord(n, n);
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

static QByteArray fieldBytes(const QByteArray &field, bool quote)
{
    if (!quote && !needsQuotes(field))
        return field;
    QByteArray out("\"");
    for (char c : field) {
        if (c == '"')
            out.append('"');
        out.append(c);
    }
    return out.append('"');
}

// The cells of a record as they lie in the file.
static QList<QByteArray> rawFields(const QByteArray &bytes, const CsvSpan &span)
{
    QList<QByteArray> fields;
    for (qsizetype i = 0; i < span.fieldStarts.size(); ++i) {
        const qsizetype end = i + 1 < span.fieldStarts.size() ? span.fieldStarts[i + 1] - 1 : span.end;
        fields.append(bytes.mid(span.fieldStarts[i], end - span.fieldStarts[i]));
    }
    return fields;
}

// A row whose filled cells are mostly quoted (a spreadsheet told to quote its text) quotes new ones too.
static bool mostlyQuoted(const QList<QByteArray> &fields)
{
    int filled = 0;
    int quoted = 0;
    for (const QByteArray &f : fields) {
        if (f.isEmpty())
            continue;
        ++filled;
        if (f.startsWith('"'))
            ++quoted;
    }
    return quoted * 2 > filled;
}

static QByteArray lineEndOf(const QByteArray &bytes, const QList<CsvSpan> &spans)
{
    int crlf = 0;
    int lf = 0;
    int cr = 0;
    for (const CsvSpan &span : spans) {
        const QByteArray end = bytes.mid(span.end, span.next - span.end);
        crlf += end == "\r\n";
        lf += end == "\n";
        cr += end == "\r";
    }
    if (lf > crlf && lf >= cr)
        return "\n";
    if (cr > crlf && cr > lf)
        return "\r";
    return "\r\n";
}

// One record with the given cells (column from 1) in place; the other cells stay as written.
static QByteArray spliceRecord(QList<QByteArray> fields, bool quoteNew, const QMap<int, QByteArray> &cells)
{
    for (auto it = cells.cbegin(); it != cells.cend(); ++it) {
        const qsizetype at = it.key() - 1;
        while (fields.size() <= at)
            fields.append(QByteArray());
        const QByteArray &old = fields[at];
        fields[at] = fieldBytes(it.value(), old.startsWith('"') || (old.isEmpty() && quoteNew));
    }
    return fields.join(',');
}

// An empty record between a lone CR and an LF would make the two one line end, and the rows below
// would move up: there it is written as one empty quoted cell.
static QByteArray keptApart(const QByteArray &before, const QByteArray &record, const QByteArray &after)
{
    return record.isEmpty() && before.endsWith('\r') && after.startsWith('\n') ? QByteArray("\"\"") : record;
}

QByteArray spliceCsv(const QByteArray &bytes, const CsvCells &cells)
{
    const CsvTable table = parseCsv(bytes);
    QMap<int, QMap<int, QByteArray>> byRow;
    for (auto it = cells.cbegin(); it != cells.cend(); ++it)
        byRow[it.key().first].insert(it.key().second, it.value());

    // A file that ends inside a quoted cell: the reader took the cell to run to the end. Anything
    // written after it must first close that quote, or it would become part of the cell.
    const bool moreRows = !byRow.isEmpty() && byRow.lastKey() > table.rows.size();
    const QByteArray lineEnd = lineEndOf(bytes, table.spans);
    bool open = table.unclosedQuote;
    QByteArray out;
    qsizetype copied = 0;
    auto it = byRow.cbegin();
    for (; it != byRow.cend() && it.key() <= table.rows.size(); ++it) {
        const CsvSpan &span = table.spans[it.key() - 1];
        QList<QByteArray> fields = rawFields(bytes, span);
        if (open && it.key() == table.rows.size() && (moreRows || it.value().lastKey() > fields.size())) {
            fields.last() += '"';
            open = false;
        }
        out += bytes.mid(copied, span.fieldStarts.first() - copied);
        // What follows the record: its line end, or the one added before new rows.
        const QByteArray after = span.next > span.end ? bytes.mid(span.end, 1) : moreRows ? lineEnd : "";
        out += keptApart(out, spliceRecord(fields, mostlyQuoted(fields), it.value()), after);
        copied = span.end;
    }
    out += bytes.mid(copied);
    if (it == byRow.cend())
        return out;

    // Rows past the end of the file, in the form of its last row.
    bool quoteNew = false;
    if (!table.spans.isEmpty()) {
        const CsvSpan &last = table.spans.last();
        quoteNew = mostlyQuoted(rawFields(bytes, last));
        if (open)
            out += '"';
        if (last.next == last.end)
            out += lineEnd;
    }
    for (int row = int(table.rows.size()) + 1; it != byRow.cend(); ++row) {
        QByteArray record;
        if (row == it.key()) {
            record = spliceRecord({}, quoteNew, it.value());
            ++it;
        }
        out += keptApart(out, record, lineEnd) + lineEnd;
    }
    return out;
}

} // namespace boards
