#include "shared/boundedread.h"

#include "shared/site.h"

#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace perumina {

static constexpr qint64 kKiB = 1024;
static constexpr qint64 kMiB = 1024 * kKiB;

ReadLimit readLimit(FileKind kind)
{
    switch (kind) {
    case FileKind::Registry:
        return {1 * kMiB, ReadLimit::Refuse}; // some 20,000 people
    case FileKind::MessageLog:
        return {16 * kMiB, ReadLimit::LastPart}; // some 100,000 mails
    case FileKind::Inbox:
        return {8 * kMiB, ReadLimit::FirstPart}; // thousands of mails, the newest first
    case FileKind::Board:
        return {8 * kMiB, ReadLimit::Refuse}; // a school year is some 100 kB
    case FileKind::Administrators:
        return {64 * kKiB, ReadLimit::Refuse};
    case FileKind::Note:
        return {4 * kKiB, ReadLimit::Refuse};
    case FileKind::Other:
        break;
    }
    return {64 * kMiB, ReadLimit::Refuse};
}

FileKind fileKindOf(const QString &path)
{
    const QString name = QFileInfo(QString(path).replace(u'\\', u'/')).fileName();
    const auto last = [](const QString &tail) { return tail.section(u'\\', -1, -1); };
    if (name == last(tails::kFullNames) || name == last(tails::kCredentials) ||
        name == last(tails::kAdminRecords) || name == last(tails::kUserNames))
        return FileKind::Registry;
    if (name == last(tails::kMessageLog))
        return FileKind::MessageLog;
    if (name == site::kInboxName)
        return FileKind::Inbox;
    if (name == last(tails::kAdministrators))
        return FileKind::Administrators;
    if (name == site::kRegistrationNote)
        return FileKind::Note;
    if (site::schoolYearFiles().contains(name))
        return FileKind::Board;
    return FileKind::Other;
}

QString limitText(qint64 bytes)
{
    return bytes >= kMiB ? QStringLiteral("%1 MB").arg(bytes / kMiB)
                         : QStringLiteral("%1 KB").arg(bytes / kKiB);
}

// A part ends after the last line end in it (a first part) or starts after the first (a last part), so
// that no record is read half; a part without any line end is kept as it is.
static void cutAtLineEnd(QByteArray &bytes, ReadLimit::Beyond beyond)
{
    if (beyond == ReadLimit::FirstPart) {
        const qsizetype end = qMax(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r'));
        if (end >= 0)
            bytes.truncate(end + 1);
    } else {
        qsizetype start = bytes.indexOf('\n');
        const qsizetype cr = bytes.indexOf('\r');
        if (start < 0 || (cr >= 0 && cr < start))
            start = cr;
        if (start >= 0) {
            qsizetype from = start + 1;
            if (bytes.at(start) == '\r' && from < bytes.size() && bytes.at(from) == '\n')
                ++from;
            bytes.remove(0, from);
        }
    }
}

BoundedRead readBounded(const QString &path)
{
    return readBounded(path, fileKindOf(path));
}

BoundedRead readBounded(const QString &path, FileKind kind)
{
    const QString name = QFileInfo(path).fileName();
    const ReadLimit limit = readLimit(kind);
    BoundedRead result;
    const QString tell = QStringLiteral("管理者に知らせて下さい。");
#ifdef Q_OS_WIN
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    if (!QFileInfo(path).isFile()) {
        result.problem =
            QStringLiteral("%1 はふつうのファイルではないため読みませんでした。").arg(name) + tell;
        return result;
    }
    const qint64 size = file.size();
#else
    // Non-blocking, so that opening a FIFO returns at once; what was opened is then checked by its
    // descriptor, so nothing can be swapped in between the check and the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return result;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.problem =
            QStringLiteral("%1 はふつうのファイルではないため読みませんでした。").arg(name) + tell;
        return result;
    }
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return result;
    }
    const qint64 size = info.st_size;
#endif
    if (size > limit.bytes && limit.beyond == ReadLimit::Refuse) {
        result.problem = QStringLiteral("%1 が大きすぎるため（%2 を超えています）読みませんでした。")
                             .arg(name, limitText(limit.bytes)) +
                         tell;
        return result;
    }
    if (size > limit.bytes && limit.beyond == ReadLimit::LastPart && !file.seek(size - limit.bytes))
        return result;
    // A file that grows while it is read is still read only up to the limit.
    QByteArray bytes = file.read(qMin(size, limit.bytes) + 1);
    if (bytes.size() > size && bytes.size() <= limit.bytes)
        bytes += file.read(limit.bytes + 1 - bytes.size());
    if (file.error() != QFileDevice::NoError)
        return result;
    if (bytes.size() > limit.bytes || size > limit.bytes) {
        if (limit.beyond == ReadLimit::Refuse) {
            result.problem = QStringLiteral("%1 が大きすぎるため（%2 を超えています）読みませんでした。")
                                 .arg(name, limitText(limit.bytes)) +
                             tell;
            return result;
        }
        bytes.truncate(limit.bytes);
        cutAtLineEnd(bytes, limit.beyond);
        result.partial = true;
        result.problem = QStringLiteral("%1 が大きすぎるため（%2 を超えています）、%3 %2 だけを読みました。")
                             .arg(name, limitText(limit.bytes),
                                  limit.beyond == ReadLimit::FirstPart ? QStringLiteral("先頭の")
                                                                       : QStringLiteral("最後の")) +
                         tell;
    }
    result.bytes = std::move(bytes);
    return result;
}

} // namespace perumina
