#pragma once

#include "shared/status.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace client {

// One mail as the sender's screen hands it over. Date and time are the texts stamped at sending.
struct Mail
{
    QString date;
    QString time;
    QString sender;
    QString recipient; // full name, which names the recipient's folder
    QString title;
    QString body; // line breaks as CR LF
};

// One mail as an inbox holds it: five fields, no recipient (the file's place says whose it is).
struct InboxRecord
{
    QString date;
    QString time;
    QString sender;
    QString title;
    QString body;

    QStringList fields() const { return {date, time, sender, title, body}; }
    bool operator==(const InboxRecord &) const = default;
};

// The full names of everyone registered, in registration order; nothing when the list cannot be read.
std::optional<QStringList> loadRecipients(const QString &serverName);

// The two stored records, each value between quotes unchanged, ended by CR LF.
QString inboxRecordText(const Mail &mail);
QString logRecordText(const Mail &mail);

// The inbox after one delivery: the new record, the old content line by line (each line ended by
// CR LF), then one more CR LF. Works on bytes: code page 932 never uses CR or LF inside a character.
QByteArray prependToInbox(const QByteArray &recordBytes, const QByteArray &oldInbox);

// Line breaks typed in a text box (LF, CR LF or CR) as the files store them (CR LF), and back.
QString toCrLf(const QString &text);
QString toLf(const QString &text);

// The longest title and body a mail may carry, in characters as typed (a line break counts once).
// A title is one line of the reader's box and of the console's log; a body of 2000 characters is about
// five pages of 400-character manuscript paper, far beyond a pupil's letter, and keeps every record a
// few kilobytes, so that the inbox rewritten at each delivery stays small.
inline constexpr int kMaxTitleLength = 50;
inline constexpr int kMaxBodyLength = 2000;

struct Delivery
{
    enum class Outcome
    {
        Done,
        NoTitle,
        NoRecipient,
        NoBody,
        Unencodable,      // field names the value that cannot be written
        Ambiguous,        // field names the value that the reader would cut at a quote
        LineBreak,        // the title holds a line break, which would end the log's record
        TooLong,          // field names the value beyond its length limit
        UnknownRecipient, // not in the registered list, or not usable as a folder name
        Failed,           // nothing was written; error says what could not be reached
        LogOnly,          // the log holds the mail but the inbox could not be rewritten
    };
    Outcome outcome = Outcome::Done;
    QString field; // for Unencodable, Ambiguous, TooLong: "件名", "本文", "受信者", "送信者"
    QString error; // for the failures: what failed, and for Unencodable which character and where, in
                   // words a user can be shown

    bool done() const { return outcome == Outcome::Done; }
};

// Why a typed value cannot be stored so that the reader gives it back whole: the stored format keeps
// quotes unescaped, and the reader ends a field at a quote followed by a comma (not for the body, the
// last field), a line end or the end of the text. Empty when it can be stored.
enum class StoreProblem
{
    None,
    Ambiguous,
    TooLong,
    LineBreak,
};
StoreProblem titleProblem(const QString &title);
StoreProblem bodyProblem(const QString &body);

// Checks the mail, appends it to the message log, then puts it at the top of the recipient's inbox
// under the inbox's lock with an atomic replace, so that simultaneous deliveries lose nothing and a
// crash leaves the old inbox whole. Nothing is written unless every value can be stored and the
// recipient is registered and has a folder.
Delivery deliverMail(const QString &serverName, const Mail &mail);

// The message a user sees for a delivery's outcome.
QString deliveryMessage(const Delivery &delivery, const QString &recipient);

// The reader's one message when the inbox cannot be copied or read, or holds no mail to show.
QString inboxLoadMessage();

// Copies the user's inbox on the share to the local copy "c:\group\受信箱.txt", replacing an older
// copy. Fails when the inbox cannot be read or the local copy cannot be replaced.
// problem, when given, names an inbox refused (not a regular file) or read only in part (too large):
// the copy then holds the newest mails that fit.
perumina::Status fetchInbox(const QString &serverName, const QString &fullName, QString *problem = nullptr);

// Splits inbox text into records. Records end at a line end; fields are separated by commas. A
// quoted field ends only at a quote followed by a comma, a line end or the end of the text, so a
// quote typed inside a title or body stays part of it; the body, the last field, ends only at a
// quote followed by a line end or the end. An empty line is a record of empty fields; a run of
// records with no value (the empty lines after the mails, lines of commas) is kept as one, so that
// memory follows the mails, not the line breaks. Fields beyond count are skipped; parseInbox stops
// after kMaxInboxRecords records.
QList<InboxRecord> parseInbox(const QString &text);
// The reader keeps the newest records only up to this many: decades of a pupil's mail, far more than
// anyone steps through one press at a time, and it bounds the memory a planted inbox can take.
inline constexpr qsizetype kMaxInboxRecords = 100000;
// The same for records of any number of fields (the message log has six), each padded to count.
QList<QStringList> parseMailRecords(const QString &text, int count);

// The records of a local inbox copy; nothing when it cannot be read.
std::optional<QList<InboxRecord>> readTable(const QString &path);

// What can be shown of the record at position: the values in the order date, time, sender, title,
// body up to the first empty one; complete only when all five are there. Positions outside the
// table (-1 and N) show nothing.
struct ShownRecord
{
    QStringList values;
    bool complete = false;
};
ShownRecord showRecord(const QList<InboxRecord> &table, int position);

// The reader's place in its table: from -1 (before the newest) to N (after the oldest).
class InboxCursor
{
public:
    InboxCursor() = default;
    explicit InboxCursor(QList<InboxRecord> table) : table_(std::move(table)) {}

    ShownRecord current() const { return showRecord(table_, position_); }
    // One step towards older mail, stopping at N.
    ShownRecord older();
    // One step towards newer mail, stopping at -1.
    ShownRecord newer();

    int position() const { return position_; }
    qsizetype size() const { return table_.size(); }
    const QList<InboxRecord> &table() const { return table_; }

private:
    QList<InboxRecord> table_;
    int position_ = 0;
};

} // namespace client
