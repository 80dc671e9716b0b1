#include "shared/records.h"

#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

namespace perumina {

std::optional<QString> ReadServerName()
{
    auto bytes = readFileBytes(site::locatorFile());
    if (!bytes)
        return std::nullopt;
    // The locator is written by hand; an editor that saves UTF-8 puts its mark in front.
    static const QByteArray utf8Mark("\xEF\xBB\xBF");
    const bool utf8 = bytes->startsWith(utf8Mark);
    const QString text = utf8 ? QString::fromUtf8(bytes->mid(utf8Mark.size())) : decodeCp932(*bytes);
    const QString name = splitLines(text).join(QString());
    // Only white space names no computer.
    return name.trimmed().isEmpty() ? QString() : name;
}

std::optional<QByteArray> quotedRecordBytes(const QStringList &values)
{
    QByteArray bytes;
    for (const QString &value : values) {
        auto encoded = encodeCp932(value);
        if (!encoded)
            return std::nullopt;
        bytes += '"' + *encoded + "\"\r\n";
    }
    return bytes;
}

Status AppendQuotedRecords(const QString &path, const QStringList &values)
{
    const auto bytes = quotedRecordBytes(values);
    if (!bytes)
        return Status::failure(unencodableMessage(QString()));
    return appendLocked(path, *bytes);
}

static bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Moves i past one line end (CR LF, CR or LF) at i.
static qsizetype skipLineEnd(const QString &text, qsizetype i)
{
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
        return i + 2;
    return i + 1;
}

QStringList parseFields(const QString &text)
{
    QStringList fields;
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool atLineStart = true;
    while (i < n) {
        while (i < n && text[i] == u' ')
            ++i;
        if (i >= n)
            break;
        if (text[i] == u'"') {
            const qsizetype close = text.indexOf(u'"', i + 1);
            if (close < 0) {
                fields.append(text.mid(i + 1));
                break;
            }
            // A line end before the closing quote: the line was cut off by a writer killed part-way,
            // and the quote found opens the next record. The cut line is skipped.
            qsizetype lineEnd = i + 1;
            while (lineEnd < close && !isLineEnd(text[lineEnd]))
                ++lineEnd;
            if (lineEnd < close) {
                i = skipLineEnd(text, lineEnd);
                atLineStart = true;
                continue;
            }
            fields.append(text.mid(i + 1, close - i - 1));
            i = close + 1;
            while (i < n && text[i] != u',' && !isLineEnd(text[i]))
                ++i;
            if (i < n) {
                atLineStart = text[i] != u',';
                i = text[i] == u',' ? i + 1 : skipLineEnd(text, i);
            }
            continue;
        }
        if (isLineEnd(text[i])) {
            // An empty line carries no field; a line end right after a comma ends an empty one.
            if (!atLineStart)
                fields.append(QString());
            i = skipLineEnd(text, i);
            atLineStart = true;
            continue;
        }
        qsizetype end = i;
        while (end < n && text[end] != u',' && !isLineEnd(text[end]))
            ++end;
        qsizetype last = end;
        while (last > i && text[last - 1] == u' ')
            --last;
        fields.append(text.mid(i, last - i));
        if (end < n) {
            atLineStart = text[end] != u',';
            i = text[end] == u',' ? end + 1 : skipLineEnd(text, end);
        } else {
            i = end;
        }
    }
    return fields;
}

std::optional<QStringList> ReadFields(const QString &path, QString *problem)
{
    auto text = readTextFile(path, problem);
    if (!text)
        return std::nullopt;
    return parseFields(*text);
}

std::optional<QStringList> ReadLines(const QString &path, QString *problem)
{
    const auto text = readTextFile(path, problem);
    if (!text)
        return std::nullopt;
    QStringList lines;
    const qsizetype n = text->size();
    qsizetype i = 0;
    while (i < n) {
        qsizetype end = i;
        while (end < n && !isLineEnd(text->at(end)))
            ++end;
        // A run of empty lines is kept as one, so that memory follows the lines that hold something.
        if (end > i || lines.isEmpty() || !lines.last().isEmpty())
            lines.append(text->mid(i, end - i));
        i = end < n ? skipLineEnd(*text, end) : n;
    }
    return lines;
}

} // namespace perumina
