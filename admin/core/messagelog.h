#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace admin {

// The mail log's text once and where each of its lines starts and ends (a run of empty lines kept as
// one, as ReadLines does): some 8 bytes a line beside the text, whatever the log's shape.
struct LogText
{
    QString text;
    QList<qint32> bounds; // start and end of each line in text, two entries a line
    QString problem;      // for the administrator: not a regular file, or read only in part

    qsizetype size() const { return bounds.size() / 2; }
    QStringView line(qsizetype i) const
    {
        return QStringView(text).mid(bounds[2 * i], bounds[2 * i + 1] - bounds[2 * i]);
    }
    QStringList lines() const;
    static LogText fromLines(const QStringList &lines);
};

// The mail log as read once: its lines as stored, and where each six-field record lies in them, so that
// the console can find records without copying any text. A record's fields are quoted and separated by
// commas; only the body runs over several lines. A line that does not start a whole record (a record
// cut by a sender's computer going off, a hand-written line) belongs to no record.
class MessageLog
{
public:
    MessageLog() = default;
    explicit MessageLog(LogText text);
    explicit MessageLog(const QStringList &lines) : MessageLog(LogText::fromLines(lines)) {}

    qsizetype lineCount() const { return text_.size(); }
    QStringView line(qsizetype i) const { return text_.line(i); }
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

    LogText text_;
    std::vector<Span> spans_;
    std::vector<Record> records_;
};

} // namespace admin
