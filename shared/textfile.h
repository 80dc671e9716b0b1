#pragma once

#include "shared/status.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace perumina {

// Every file of the system is code page 932 with CR LF line ends.
inline constexpr const char *kCrLf = "\r\n";

// Replaces characters that input methods type but code page 932 lacks with the code page's own
// look-alikes (〜 becomes ～, − becomes －, and so on).
QString foldForCp932(QString text);

// The code page 932 bytes of text after the fold, or nothing when a character still cannot be written
// (𠮷, an emoji): such text is refused, never stored as '?'.
std::optional<QByteArray> encodeCp932(const QString &text);
bool canEncodeCp932(const QString &text);

// Decodes any bytes without failing: an undecodable byte becomes U+FFFD, and a character cut after its
// lead byte at the end becomes U+FFFD too.
QString decodeCp932(const QByteArray &bytes);

// Splits text at CR LF, a lone CR or a lone LF; a final line end does not start another line.
QStringList splitLines(const QString &text);

// Whole-file access to paths of this computer (as shared/site.h gives them). Reading opens, reads and
// closes at once so that a writer on another computer can replace the file. Every read is bounded by
// the limit of the file's kind (boundedread.h): nothing for a file that is not a regular file or too
// large, part of it for a log or an inbox beyond its limit; problem, when given, then holds the message
// naming the file (left empty for a file that is missing or cannot be opened).
std::optional<QByteArray> readFileBytes(const QString &path, QString *problem = nullptr);
std::optional<QString> readTextFile(const QString &path, QString *problem = nullptr);
std::optional<QStringList> readTextLines(const QString &path, QString *problem = nullptr);

// Writes text (already holding its CR LF) as code page 932, replacing the file atomically under its lock.
Status writeTextFile(const QString &path, const QString &text);
// Appends text (already holding its CR LF) as code page 932 under the file's lock; creates the file.
Status appendTextFile(const QString &path, const QString &text);

// A short Japanese phrase naming text that cannot be written, for the message shown where it was typed.
QString unencodableMessage(const QString &what);

// The first character of text that code page 932 cannot hold, and where it lies: index and length in
// text (a character beyond the basic plane takes two), and line and column counted in characters from
// 1, a CR LF being one line break. Nothing when every character can be written.
struct RefusedCharacter
{
    qsizetype index = 0;
    qsizetype length = 0;
    int line = 1;
    int column = 1;
};
std::optional<RefusedCharacter> firstUnencodable(const QString &text);
// unencodableMessage(what), then which character of text is refused first and where, so that it can be
// found in a long text: the line only where text has more than one.
QString unencodableMessage(const QString &what, const QString &text);

} // namespace perumina
