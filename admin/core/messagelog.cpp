#include "admin/core/messagelog.h"

namespace admin {

namespace {
constexpr int kFields = 6;
constexpr int kFirstSearched = 2; // sender; date and time are not searched
} // namespace

QStringList LogText::lines() const
{
    QStringList all;
    all.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        all.append(line(i).toString());
    return all;
}

LogText LogText::fromLines(const QStringList &lines)
{
    LogText log;
    for (const QString &line : lines) {
        log.bounds.append(qint32(log.text.size()));
        log.text += line;
        log.bounds.append(qint32(log.text.size()));
        log.text += u'\n';
    }
    return log;
}

MessageLog::MessageLog(LogText text) : text_(std::move(text))
{
    const int n = int(text_.size());
    for (int i = 0; i < n;) {
        Record record;
        if (parseRecord(i, record)) {
            records_.push_back(record);
            i += record.lineCount;
        } else {
            ++i;
        }
    }
}

// Reads the record that starts at line first, as the mail screen writes it; false (and nothing kept)
// when the line starts none.
bool MessageLog::parseRecord(int first, Record &record)
{
    const qsizetype spansBefore = qsizetype(spans_.size());
    auto fail = [&] {
        spans_.resize(spansBefore);
        return false;
    };
    const auto lines = [this](int i) { return text_.line(i); };
    const int lineCount = int(text_.size());
    int line = first;
    qsizetype pos = 0;
    auto keep = [&](int field, qsizetype from, qsizetype to) {
        if (field >= kFirstSearched && to > from)
            spans_.push_back({line, int(from), int(to - from)});
    };
    for (int field = 0; field < kFields; ++field) {
        const bool last = field == kFields - 1;
        while (pos < lines(line).size() && lines(line)[pos] == u' ')
            ++pos;
        if (pos >= lines(line).size() || lines(line)[pos] != u'"') {
            // A field without quotes runs to the next comma, as the field reader takes it.
            if (field == 0)
                return fail();
            const qsizetype comma = last ? -1 : lines(line).indexOf(u',', pos);
            if (comma < 0 && !last)
                return fail();
            keep(field, pos, comma < 0 ? lines(line).size() : comma);
            pos = comma < 0 ? lines(line).size() : comma + 1;
            continue;
        }
        ++pos;
        for (;;) {
            const qsizetype close = lines(line).indexOf(u'"', pos);
            keep(field, pos, close < 0 ? lines(line).size() : close);
            if (close >= 0) {
                pos = close + 1;
                break;
            }
            // Only the body runs on over a line end; a shorter field broken off is a cut record.
            if (!last || line + 1 >= lineCount)
                return fail();
            ++line;
            pos = 0;
        }
        // What stands between the closing quote and the next comma is shown with the field (a value that
        // held a quote), so it is searched with it.
        const qsizetype comma = last ? -1 : lines(line).indexOf(u',', pos);
        if (comma < 0 && !last)
            return fail();
        keep(field, pos, comma < 0 ? lines(line).size() : comma);
        pos = comma + 1;
    }
    record = {first, line - first + 1, int(spansBefore), int(spans_.size() - spansBefore)};
    return true;
}

std::vector<int> MessageLog::findLines(QStringView text, qsizetype *records) const
{
    std::vector<int> found;
    qsizetype count = 0;
    if (text.isEmpty()) {
        found.resize(text_.size());
        for (int i = 0; i < int(found.size()); ++i)
            found[i] = i;
        count = qsizetype(records_.size());
    } else {
        for (const Record &record : records_) {
            bool match = false;
            for (int s = record.firstSpan; s < record.firstSpan + record.spanCount && !match; ++s) {
                const Span &span = spans_[s];
                match = text_.line(span.line).mid(span.from, span.length).contains(text, Qt::CaseInsensitive);
            }
            if (!match)
                continue;
            ++count;
            for (int i = 0; i < record.lineCount; ++i)
                found.push_back(record.firstLine + i);
        }
    }
    if (records)
        *records = count;
    return found;
}

} // namespace admin
