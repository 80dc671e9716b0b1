#include "shared/boardpresence.h"

#include "shared/shareaccess.h"
#include "shared/sharedfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace perumina {

namespace {

// The mark's content: program, computer and user, one a line, UTF-8 (only boards and the set-up read it).
QByteArray markContent(const OpenBoard &board)
{
    return (board.program + u'\n' + board.computer + u'\n' + board.user + u'\n').toUtf8();
}

// A part of a mark's file name: letters, digits, "_" and "." kept, everything else "_", so no name a
// person or computer has can lead out of the folder or split the name differently.
QString namePart(const QString &value)
{
    QString part;
    for (const QChar c : value)
        part += (c.isLetterOrNumber() || c == u'_' || c == u'.') ? c : u'_';
    return part.isEmpty() ? QStringLiteral("_") : part;
}

// What a mark says; its file name where the content is unreadable (still a board, just less exact).
OpenBoard readMark(const QFileInfo &info)
{
    QFile file(info.filePath());
    if (file.open(QIODevice::ReadOnly)) {
        const QStringList lines = QString::fromUtf8(file.read(4096)).split(u'\n');
        if (lines.size() >= 3 && !lines[0].isEmpty())
            return {lines[0], lines[1], lines[2]};
    }
    const QStringList parts = info.fileName().split(u'-');
    if (parts.size() >= 4)
        return {parts[0], parts[1], parts.mid(2, parts.size() - 3).join(u'-')};
    return {info.fileName(), {}, {}};
}

} // namespace

QList<OpenBoard> openBoards(const QString &folder, int staleSeconds)
{
    QList<OpenBoard> boards;
    const QDir dir(folder);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QFileInfoList marks = dir.entryInfoList(QDir::Files | QDir::NoSymLinks, QDir::Name);
    for (const QFileInfo &mark : marks) {
        const QDateTime touched = mark.fileTime(QFileDevice::FileModificationTime).toUTC();
        if (touched.isValid() && touched.secsTo(now) > staleSeconds)
            continue;
        boards.append(readMark(mark));
    }
    return boards;
}

QString presenceMarkName(const OpenBoard &board, qint64 pid)
{
    return namePart(board.program) + u'-' + namePart(board.computer) + u'-' + namePart(board.user) + u'-' +
           QString::number(pid);
}

QString writePresenceMark(const QString &folder, const OpenBoard &board, qint64 pid)
{
    // Every pupil can write the share: a link planted where the mark goes could send the write anywhere.
    const QString mark = folder + presenceMarkName(board, pid);
    if (!refuseLinks(mark))
        return {};
    // Made by whichever board comes first, the folder must stay writable for every other account.
    const QString clean = QDir::cleanPath(folder);
    if (!QFileInfo(clean).isDir() && !makeSharedFolder(clean) && !QFileInfo(clean).isDir())
        return {};
    const QString path = QDir(clean).filePath(presenceMarkName(board, pid));
    const bool existed = QFileInfo::exists(path);
    // Written in place, not replaced: the folder's group and mode stay as the set-up made them, and a
    // refresh is one small write that moves the modification time.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    const QByteArray content = markContent(board);
    if (file.write(content) != content.size())
        return {};
    file.close();
    file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime);
    if (!existed)
        grantGroupAccess(path);
    return path;
}

void removePresenceMark(const QString &markPath)
{
    if (!markPath.isEmpty())
        QFile::remove(markPath);
}

QString describeOpenBoards(const QList<OpenBoard> &boards)
{
    QStringList parts;
    for (const OpenBoard &board : boards) {
        QStringList where;
        if (!board.computer.isEmpty())
            where << board.computer;
        if (!board.user.isEmpty())
            where << board.user;
        parts << (where.isEmpty() ? board.program : board.program + u'（' + where.join(u'、') + u'）');
    }
    return parts.join(u'、');
}

} // namespace perumina
