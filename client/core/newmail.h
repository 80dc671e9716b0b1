#pragma once

#include "client/core/mail.h"
#include "shared/status.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace client {

// New mail is mail sent after the newest mail this person has read, on whichever computer. The mark of
// that mail lies in the person's own folder on the share (既読メール.txt): one line, its date and time in
// the system's form ("2026/04/01 9:05:03"), code page 932, CR LF. The inbox itself stays as it is.
// A mail counts as read when the reader shows it; the mark then moves forward to it, never back, so
// stepping to older mail or an older copy on another computer cannot make read mail new again.
// Mails sent in the same second as the marked one count as read: the stored stamps go no finer.

// When a mail was sent, from its date and time fields; nothing for a record without a stamp of the
// system's form (the empty lines after the mails, a record planted by hand).
std::optional<QDateTime> mailStamp(const InboxRecord &record);

// The mark as the line stores it, and back; nothing for a line that is not a date and time.
QString markLine(const QDateTime &stamp);
std::optional<QDateTime> parseMarkLine(const QString &line);

// The person's mark; nothing when there is none yet or it cannot be read (which shows no count).
std::optional<QDateTime> readMailMark(const QString &serverName, const QString &fullName);

// Moves the mark forward to stamp under the file's lock, replacing the file atomically; a mark already
// at or past stamp stays as it is.
perumina::Status advanceMailMark(const QString &serverName, const QString &fullName, const QDateTime &stamp);

// Whether the record is new against the mark: never without a mark or without a stamp of its own.
bool isNewMail(const InboxRecord &record, const std::optional<QDateTime> &mark);
int countNewMails(const QList<InboxRecord> &table, const std::optional<QDateTime> &mark);

// 「新しいメールが N 通あります」 with the number in figures
QString newMailMessage(int count);

} // namespace client
