#include "client/core/newmail.h"

#include "shared/seams.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QFile>
#include <QFileInfo>

namespace client {

namespace {

const QString kStampFormat = QStringLiteral("yyyy/MM/dd H:mm:ss");
// One line of a date and time; anything longer is not a mark this system wrote.
constexpr qint64 kMarkFileLimit = 64;

} // namespace

std::optional<QDateTime> mailStamp(const InboxRecord &record)
{
    return parseMarkLine(record.date + u' ' + record.time);
}

QString markLine(const QDateTime &stamp)
{
    return perumina::formatDateTime(stamp);
}

std::optional<QDateTime> parseMarkLine(const QString &line)
{
    const QDateTime stamp = QDateTime::fromString(line, kStampFormat);
    if (!stamp.isValid())
        return std::nullopt;
    return stamp;
}

std::optional<QDateTime> readMailMark(const QString &serverName, const QString &fullName)
{
    // Read at most a line's worth, and only from a plain file: a folder shared by every pupil may hold
    // anything under this name.
    const QString path = perumina::site::mailReadMark(serverName, fullName);
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines = perumina::splitLines(perumina::decodeCp932(file.read(kMarkFileLimit)));
    if (lines.isEmpty())
        return std::nullopt;
    return parseMarkLine(lines.first());
}

perumina::Status advanceMailMark(const QString &serverName, const QString &fullName, const QDateTime &stamp)
{
    const QString path = perumina::site::mailReadMark(serverName, fullName);
    return perumina::rewriteLocked(path, [&](QByteArray &content, bool) {
        const QStringList lines = perumina::splitLines(perumina::decodeCp932(content.left(kMarkFileLimit)));
        const std::optional<QDateTime> marked = lines.isEmpty() ? std::nullopt : parseMarkLine(lines.first());
        if (marked && *marked >= stamp)
            return false;
        // A date and time is plain ASCII: it always encodes.
        content = perumina::encodeCp932(markLine(stamp) + QString::fromLatin1(perumina::kCrLf))
                      .value_or(QByteArray());
        return true;
    });
}

bool isNewMail(const InboxRecord &record, const std::optional<QDateTime> &mark)
{
    if (!mark)
        return false;
    const std::optional<QDateTime> stamp = mailStamp(record);
    return stamp && *stamp > *mark;
}

int countNewMails(const QList<InboxRecord> &table, const std::optional<QDateTime> &mark)
{
    int count = 0;
    for (const InboxRecord &record : table)
        count += isNewMail(record, mark) ? 1 : 0;
    return count;
}

QString newMailMessage(int count)
{
    return QStringLiteral("新しいメールが %1 通あります").arg(count);
}

} // namespace client
