#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace admin {

// The mail log as read once: its lines as stored, and where each six-field record lies in them, so that
// the console can find records without copying any text. A record's fields are quoted and separated by
// commas; only the body runs over several lines. A line that does not start a whole record (a record
// cut by a sender's computer going off, a hand-written line) belongs to no record.
class MessageLog
{
public:
    MessageLog() = default;
    explicit MessageLog(QStringList lines);

    const QStringList &lines() const { return lines_; }
    qsizetype recordCount() const { return qsizetype(records_.size()); }

    // The lines of every record whose sender, recipient, subject or body contains text, ignoring the
    // case of letters, in file order; how many records they are goes to records. An empty text finds
    // every line, also those of no record.
    std::vector<int> findLines(QStringView text, qsizetype *records = nullptr) const;

private:
    struct Span // part of one field on one line
    {
        int line;
        int from;
        int length;
    };
    struct Record
    {
        int firstLine;
        int lineCount;
        int firstSpan;
        int spanCount;
    };
    bool parseRecord(int first, Record &record);

    QStringList lines_;
    std::vector<Span> spans_;
    std::vector<Record> records_;
};

} // namespace admin
