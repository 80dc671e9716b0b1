#include "client/core/reply.h"

#include "client/core/login.h"
#include "client/core/mail.h"
#include "shared/site.h"

#include <QRegularExpression>

namespace client {

std::optional<QString> replyRecipient(const QStringList &adminRecordLines, const QStringList &registered,
                                      const QString &senderUserName)
{
    if (senderUserName.isEmpty())
        return std::nullopt;
    const QString head = senderUserName + u',';
    for (const QString &record : recordValues(adminRecordLines)) {
        if (!record.startsWith(head))
            continue;
        // No user name or full name holds a comma, so the full name runs to the next one.
        const qsizetype end = record.indexOf(u',', head.size());
        if (end < 0)
            continue;
        const QString fullName = record.mid(head.size(), end - head.size());
        if (registered.contains(fullName) &&
            perumina::site::nameProblem(fullName, perumina::site::NameKind::FullName).isEmpty())
            return fullName;
    }
    return std::nullopt;
}

QString replyTitle(const QString &title)
{
    // "Re:", "RE:", "re :", "Ｒｅ：" and runs of them, with the blanks after each.
    static const QRegularExpression leadingRe(QStringLiteral("^(\\s*[RrＲｒ][EeＥｅ]\\s*[:：]\\s*)+"));
    QString rest = title;
    rest.remove(leadingRe);
    QString reply = QStringLiteral("Re: ") + rest;
    if (reply.size() > kMaxTitleLength) {
        reply.truncate(kMaxTitleLength);
        // Never half of a character outside the basic plane.
        if (reply.back().isHighSurrogate())
            reply.chop(1);
    }
    return reply;
}

QString senderLeftMessage(const QString &senderUserName)
{
    return QStringLiteral("差出人の%1さんは今は登録されていないため、返信できません。").arg(senderUserName);
}

} // namespace client
