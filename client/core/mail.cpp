#include "client/core/mail.h"

#include "shared/records.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QFileInfo>
#include <algorithm>

namespace client {

using perumina::Status;
namespace site = perumina::site;

std::optional<QStringList> loadRecipients(const QString &serverName)
{
    auto names = perumina::ReadFields(site::fullNamesFile(serverName));
    // Only names that can name a folder are offered: the list is a shared file anyone can write to.
    if (names)
        names->removeIf(
            [](const QString &name) { return !site::nameProblem(name, site::NameKind::FullName).isEmpty(); });
    return names;
}

static bool isLineEndChar(QChar c)
{
    return c == u'\r' || c == u'\n';
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

// Whether the reader would end a field at the quote at i: it does when a line end, the end of the
// value (the closing quote then follows, and after it a comma or a line end is written) or, for any
// field but the last, a comma follows.
static bool quoteEndsField(const QString &value, qsizetype i, bool lastField)
{
    if (i + 1 >= value.size())
        return false; // the closing quote follows, so the reader takes that one
    const QChar next = value[i + 1];
    return isLineEndChar(next) || (!lastField && next == u',');
}

static bool readerWouldCut(const QString &value, bool lastField)
{
    for (qsizetype i = value.indexOf(u'"'); i >= 0; i = value.indexOf(u'"', i + 1))
        if (quoteEndsField(value, i, lastField))
            return true;
    return false;
}

StoreProblem titleProblem(const QString &title)
{
    if (toLf(title).size() > kMaxTitleLength)
        return StoreProblem::TooLong;
    // The title is one line: a line break in it would end the record for the console's log.
    if (title.contains(u'\r') || title.contains(u'\n'))
        return StoreProblem::LineBreak;
    return readerWouldCut(title, false) ? StoreProblem::Ambiguous : StoreProblem::None;
}

StoreProblem bodyProblem(const QString &body)
{
    if (toLf(body).size() > kMaxBodyLength)
        return StoreProblem::TooLong;
    return readerWouldCut(toCrLf(body), true) ? StoreProblem::Ambiguous : StoreProblem::None;
}

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
            return {Outcome::Unencodable, t.name, perumina::unencodableMessage(t.name, t.value)};
    const struct
    {
        StoreProblem problem;
        QString name;
    } checked[] = {{titleProblem(mail.title), QStringLiteral("件名")},
                   {bodyProblem(mail.body), QStringLiteral("本文")}};
    for (const auto &c : checked) {
        if (c.problem == StoreProblem::TooLong)
            return {Outcome::TooLong, c.name, {}};
        if (c.problem == StoreProblem::Ambiguous)
            return {Outcome::Ambiguous, c.name, {}};
        if (c.problem == StoreProblem::LineBreak)
            return {Outcome::LineBreak, c.name, {}};
    }
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
    if (!QFileInfo(site::userFolder(serverName, mail.recipient)).isDir())
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
        return delivery.error.isEmpty() ? perumina::unencodableMessage(delivery.field) : delivery.error;
    case Outcome::Ambiguous:
        if (delivery.field == QStringLiteral("本文"))
            return QStringLiteral("本文の「\"」のすぐ後で改行すると、メールが正しく届きません。"
                                  "「\"」の後に空白を入れるなどして、書き直して下さい。");
        return QStringLiteral("%1の「\"」のすぐ後に「,」を書くと、メールが正しく届きません。"
                              "「\"」の後に空白を入れるなどして、書き直して下さい。")
            .arg(delivery.field);
    case Outcome::LineBreak:
        return QStringLiteral("件名に改行が含まれています。件名は一行で書いて下さい。");
    case Outcome::TooLong:
        return QStringLiteral("%1は%2文字までにして下さい。")
            .arg(delivery.field)
            .arg(delivery.field == QStringLiteral("本文") ? kMaxBodyLength : kMaxTitleLength);
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

Status fetchInbox(const QString &serverName, const QString &fullName, QString *problem)
{
    const auto bytes = perumina::readFileBytes(site::inbox(serverName, fullName), problem);
    if (!bytes)
        return Status::failure(QStringLiteral("%1さんの受信箱を読めませんでした。").arg(fullName));
    // A left-over copy that is read-only, or something else in its place, is not replaced behind the
    // user's back.
    const QFileInfo copy(site::localInboxCopy());
    if (copy.exists() && (!copy.isFile() || !(copy.permissions() & QFileDevice::WriteOwner)))
        return Status::failure(QStringLiteral("受信箱.txt を置き換えられませんでした。"));
    return perumina::replaceFileAtomically(site::localInboxCopy(), *bytes);
}

static bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// Calls take(fields) for each record of count fields, in file order; one call for a run of blank ones.
// Stops when take returns false.
template <typename Take> static void forEachMailRecord(const QString &text, int count, Take take)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool previousBlank = false;
    while (i < n) {
        // An empty line after a blank record would be dropped as one: skipped before anything is built.
        if (previousBlank && isLineEnd(text[i])) {
            i += (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            continue;
        }
        QStringList fields;
        fields.reserve(count);
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
                const qsizetype end = close < 0 ? n : close; // an unclosed quote runs to the end
                if (fields.size() < count)
                    fields.append(text.mid(i + 1, end - i - 1));
                i = close < 0 ? n : close + 1;
            } else {
                qsizetype end = i;
                while (end < n && text[end] != u',' && !isLineEnd(text[end]))
                    ++end;
                if (fields.size() < count)
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
        const bool blank =
            std::all_of(fields.cbegin(), fields.cend(), [](const QString &f) { return f.isEmpty(); });
        if (blank && previousBlank)
            continue;
        previousBlank = blank;
        while (fields.size() < count)
            fields.append(QString());
        if (!take(std::move(fields)))
            return;
    }
}

QList<QStringList> parseMailRecords(const QString &text, int count)
{
    QList<QStringList> records;
    forEachMailRecord(text, count, [&](QStringList &&fields) {
        records.append(std::move(fields));
        return true;
    });
    return records;
}

QList<InboxRecord> parseInbox(const QString &text)
{
    QList<InboxRecord> records;
    // Straight into the records, so that no second list of every record is held at the same time.
    forEachMailRecord(text, 5, [&](QStringList &&f) {
        records.append({std::move(f[0]), std::move(f[1]), std::move(f[2]), std::move(f[3]), std::move(f[4])});
        return records.size() < kMaxInboxRecords;
    });
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
