#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace perumina {

// Every pupil can write to the share, so a file there may be a FIFO that never answers, a link to a
// device or gigabytes of anything. Each kind of file has a size no school reaches; a file beyond it is
// refused, or read in part where part of it is still worth showing.
enum class FileKind
{
    Registry,       // 登録者一覧, 認証情報, 管理情報, ユーザー名: refused beyond the limit
    MessageLog,     // 管理用\メッセージ一覧.txt: the newest (last) part is read
    Inbox,          // 受信箱.txt and its local copy: the newest (first) part is read
    Board,          // the board files and their indexes: refused
    Administrators, // 管理者情報.txt: refused
    Note,           // 登録中.txt: refused
    Other,          // anything else (the locator): refused
};

struct ReadLimit
{
    qint64 bytes;
    enum Beyond
    {
        Refuse,
        FirstPart,
        LastPart
    } beyond;
};

ReadLimit readLimit(FileKind kind);
// The kind of a file by its name, as the site names its files.
FileKind fileKindOf(const QString &path);

// One bounded read. bytes is set when something was read (whole or in part); problem, when not empty,
// is the message for the user: a file that is not a regular file, too large, or read only in part. A
// file that is missing or cannot be opened gives neither bytes nor a problem, so that each screen says
// it in its own words.
struct BoundedRead
{
    std::optional<QByteArray> bytes;
    QString problem;
    bool partial = false;
};

// Opens without following a FIFO's wait (non-blocking open, then a check of what was opened), refuses
// anything but a regular file, and reads at most the limit of kind. A part is cut at a line end, so
// that no record is read half.
BoundedRead readBounded(const QString &path, FileKind kind);
BoundedRead readBounded(const QString &path);

// "1 MB", "16 MB": a limit as the messages and the README state it.
QString limitText(qint64 bytes);

} // namespace perumina
