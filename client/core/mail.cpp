#include "client/core/mail.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QFileInfo>

namespace client {

using perumina::Status;
namespace site = perumina::site;

std::optional<QStringList> loadRecipients(const QString &serverName)
{
    return perumina::ReadFields(site::fullNamesFile(serverName));
}

static QString quotedRecord(const QStringList &values)
{
    QString text;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            text += u',';
        text += u'"' + values[i] + u'"';
    }
    return text + QStringLiteral("\r\n");
}

QString inboxRecordText(const Mail &mail)
{
    return quotedRecord({mail.date, mail.time, mail.sender, mail.title, mail.body});
}

QString logRecordText(const Mail &mail)
{
    return quotedRecord({mail.date, mail.time, mail.sender, mail.recipient, mail.title, mail.body});
}

QByteArray prependToInbox(const QByteArray &recordBytes, const QByteArray &oldInbox)
{
    QByteArray result;
    result.reserve(recordBytes.size() + oldInbox.size() + 4);
    result += recordBytes;
    result += oldInbox;
    // The old content is written back line by line, so a last line without its CR LF gains one.
    if (!oldInbox.isEmpty() && !oldInbox.endsWith("\r\n"))
        result += "\r\n";
    result += "\r\n";
    return result;
}

QString toCrLf(const QString &text)
{
    QString lf = toLf(text);
    return lf.replace(u'\n', QStringLiteral("\r\n"));
}

QString toLf(const QString &text)
{
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lf.replace(u'\r', u'\n');
    return lf;
}

// A name that reaches exactly one folder under the data folder, never beside or above it.
Delivery deliverMail(const QString &serverName, const Mail &mail)
{
    using Outcome = Delivery::Outcome;
    if (mail.title.isEmpty())
        return {Outcome::NoTitle, {}, {}};
    if (mail.recipient.isEmpty())
        return {Outcome::NoRecipient, {}, {}};
    if (mail.body.isEmpty())
        return {Outcome::NoBody, {}, {}};
    const struct
    {
        const QString &value;
        QString name;
    } typed[] = {{mail.recipient, QStringLiteral("受信者")},
                 {mail.title, QStringLiteral("件名")},
                 {mail.body, QStringLiteral("本文")},
                 {mail.sender, QStringLiteral("送信者")}};
    for (const auto &t : typed)
        if (!perumina::canEncodeCp932(t.value))
            return {Outcome::Unencodable, t.name, {}};
    if (!site::nameProblem(mail.recipient, site::NameKind::FullName).isEmpty())
        return {Outcome::UnknownRecipient, {}, {}};

    // The list is read again now, so that someone registered after the screen opened is found.
    const auto registered = loadRecipients(serverName);
    if (!registered)
        return {
            Outcome::Failed,
            {},
            QStringLiteral("登録者一覧.txt を読めませんでした。サーバーにつながっているか確かめて下さい。")};
    if (!registered->contains(mail.recipient))
        return {Outcome::UnknownRecipient, {}, {}};
    if (!QFileInfo(perumina::mapPath(site::userFolder(serverName, mail.recipient))).isDir())
        return {
            Outcome::Failed, {}, QStringLiteral("%1さんのフォルダが見つかりません。").arg(mail.recipient)};

    const QByteArray logBytes = *perumina::encodeCp932(logRecordText(mail));
    const QByteArray recordBytes = *perumina::encodeCp932(inboxRecordText(mail));
    if (Status log = perumina::appendLocked(site::messageLog(serverName), logBytes); !log)
        return {Outcome::Failed, {}, log.error};
    const Status inbox =
        perumina::rewriteLocked(site::inbox(serverName, mail.recipient), [&](QByteArray &content, bool) {
            content = prependToInbox(recordBytes, content);
            return true;
        });
    if (!inbox)
        return {Outcome::LogOnly, {}, inbox.error};
    return {};
}

QString deliveryMessage(const Delivery &delivery, const QString &recipient)
{
    using Outcome = Delivery::Outcome;
    switch (delivery.outcome) {
    case Outcome::Done:
        return QStringLiteral("メールは正しく送信されました。");
    case Outcome::NoTitle:
        return QStringLiteral("タイトルが入力されていません");
    case Outcome::NoRecipient:
        return QStringLiteral("受信者が選ばれていません");
    case Outcome::NoBody:
        return QStringLiteral("本文が入力されていません");
    case Outcome::Unencodable:
        return perumina::unencodableMessage(delivery.field);
    case Outcome::UnknownRecipient:
        return QStringLiteral("「%1」さんは登録されていません。一覧から選んで下さい。").arg(recipient);
    case Outcome::Failed:
        return QStringLiteral("メールを送信できませんでした。\n%1").arg(delivery.error);
    case Outcome::LogOnly:
        return QStringLiteral("%1さんの受信箱に書き込めなかったため、メールは届いていません。\n%2")
            .arg(recipient, delivery.error);
    }
    return {};
}

QString inboxLoadMessage()
{
    return QStringLiteral(
        "前回の終了で一時ファイルの『受信箱.txt』が削除されていないと思われます｡確認してください｡ "
        "もし，残っていた場合は『受信箱.txt』だけを削除し，ぺるみなを再起動してください。");
}

Status fetchInbox(const QString &serverName, const QString &fullName)
{
    const auto bytes = perumina::readFileBytes(site::inbox(serverName, fullName));
    if (!bytes)
        return Status::failure(QStringLiteral("%1さんの受信箱を読めませんでした。").arg(fullName));
    // A left-over copy that is read-only, or something else in its place, is not replaced behind the
    // user's back.
    const QFileInfo copy(perumina::mapPath(site::localInboxCopy()));
    if (copy.exists() && (!copy.isFile() || !(copy.permissions() & QFileDevice::WriteOwner)))
        return Status::failure(QStringLiteral("受信箱.txt を置き換えられませんでした。"));
    return perumina::replaceFileAtomically(site::localInboxCopy(), *bytes);
}

static bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

QList<QStringList> parseMailRecords(const QString &text, int count)
{
    QList<QStringList> records;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        QStringList fields;
        for (;;) {
            // From the last field on, only a line end or the end of the text closes a quote, so that a
            // stray quote never splits one record into two.
            const bool last = fields.size() >= count - 1;
            if (i < n && text[i] == u'"') {
                qsizetype close = i;
                for (;;) {
                    close = text.indexOf(u'"', close + 1);
                    if (close < 0)
                        break;
                    const qsizetype next = close + 1;
                    if (next == n || isLineEnd(text[next]) || (!last && text[next] == u','))
                        break;
                }
                if (close < 0) {
                    fields.append(text.mid(i + 1)); // an unclosed quote runs to the end
                    i = n;
                } else {
                    fields.append(text.mid(i + 1, close - i - 1));
                    i = close + 1;
                }
            } else {
                qsizetype end = i;
                while (end < n && text[end] != u',' && !isLineEnd(text[end]))
                    ++end;
                fields.append(text.mid(i, end - i));
                i = end;
            }
            if (i < n && text[i] == u',') {
                ++i;
                continue;
            }
            if (i < n)
                i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            break;
        }
        while (fields.size() < count)
            fields.append(QString());
        fields.resize(count);
        records.append(fields);
    }
    return records;
}

QList<InboxRecord> parseInbox(const QString &text)
{
    QList<InboxRecord> records;
    const QList<QStringList> rows = parseMailRecords(text, 5);
    records.reserve(rows.size());
    for (const QStringList &f : rows)
        records.append({f[0], f[1], f[2], f[3], f[4]});
    return records;
}

std::optional<QList<InboxRecord>> readTable(const QString &path)
{
    const auto text = perumina::readTextFile(path);
    if (!text)
        return std::nullopt;
    return parseInbox(*text);
}

ShownRecord showRecord(const QList<InboxRecord> &table, int position)
{
    ShownRecord shown;
    if (position < 0 || position >= table.size())
        return shown;
    for (const QString &value : table[position].fields()) {
        if (value.isEmpty())
            return shown;
        shown.values.append(value);
    }
    shown.complete = true;
    return shown;
}

ShownRecord InboxCursor::older()
{
    if (position_ < table_.size())
        ++position_;
    return current();
}

ShownRecord InboxCursor::newer()
{
    if (position_ > -1)
        --position_;
    return current();
}

} // namespace client
