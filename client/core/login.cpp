#include "client/core/login.h"

#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <algorithm>

namespace client {

using namespace perumina;

std::optional<QStringList> loadAdminRecordLines(const QString &serverName, QString *problem)
{
    return ReadLines(site::adminRecordsFile(serverName), problem);
}

std::optional<QStringList> loadCredentialLines(const QString &serverName, QString *problem)
{
    return ReadLines(site::credentialsFile(serverName), problem);
}

// Where a record line's value lies, as the field reader takes it: spaces before it are skipped; a
// value that begins with a quote runs to the next quote (to the end of the line when none follows)
// and whatever follows that quote is skipped; any other value is the rest of the line without its
// trailing spaces. Commas stay in the value: a 管理情報.txt record holds two.
struct ValueSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
};

static bool isBlank(const QString &line)
{
    return std::all_of(line.cbegin(), line.cend(), [](QChar c) { return c == u' '; });
}

static ValueSpan valueSpan(const QString &line)
{
    qsizetype start = 0;
    while (start < line.size() && line[start] == u' ')
        ++start;
    if (start < line.size() && line[start] == u'"') {
        const qsizetype close = line.indexOf(u'"', start + 1);
        return {start + 1, (close < 0 ? line.size() : close) - start - 1};
    }
    qsizetype end = line.size();
    while (end > start && line[end - 1] == u' ')
        --end;
    return {start, end - start};
}

QStringList recordValues(const QStringList &lines)
{
    QStringList values;
    for (const QString &line : lines) {
        if (isBlank(line))
            continue;
        const ValueSpan span = valueSpan(line);
        values.append(line.mid(span.start, span.length));
    }
    return values;
}

LoginResult checkLogin(const QStringList &adminRecordLines, const std::optional<QStringList> &credentialLines,
                       const QString &userName, const QString &password, qsizetype lastRecord)
{
    // The registry holds what registration wrote, with input-method look-alikes folded.
    const QString user = foldForCp932(userName);
    const QString pass = foldForCp932(password);
    const QStringList records = recordValues(adminRecordLines);
    LoginResult result;
    if (user.isEmpty()) {
        result.failure = records.isEmpty() ? 1 : 4;
        return result;
    }
    const QString head = user + u',';
    QList<qsizetype> own;
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (records[i].startsWith(head))
            own.append(i);
    }
    if (pass.isEmpty()) {
        result.failure = own.isEmpty() ? 2 : 5;
        return result;
    }
    result.failure = 3;
    if (own.isEmpty())
        return result;
    if (credentialLines && recordValues(*credentialLines).contains(user + pass)) {
        // No field holds a comma, so with the typed name and password the full name is what lies between.
        const QString tail = u',' + pass;
        for (qsizetype i : own) {
            const QString &record = records[i];
            if (!record.endsWith(tail) || record.size() < head.size() + tail.size())
                continue;
            const QString fullName = record.mid(head.size(), record.size() - head.size() - tail.size());
            // The full name names the user's folder: a record planted in the shared file must pass the
            // same rule as a typed name, or it could lead the login into another folder.
            if (!site::nameProblem(fullName, site::NameKind::FullName).isEmpty())
                continue;
            result.failure = 0;
            result.userName = user;
            result.fullName = fullName;
            result.record = i;
            return result;
        }
    }
    // A wrong password of a known user: the check runs on from the user's name through the registry text
    // (every line followed by CR LF) for the password. Met nowhere, and with no password met at an earlier
    // login of this run before the user's record, the full name cannot be taken: 5.
    QString text;
    qsizetype behindUser = -1;
    qsizetype value = 0;
    for (const QString &line : adminRecordLines) {
        if (!isBlank(line) && value++ == own.first())
            behindUser = text.size() + valueSpan(line).start + user.size();
        text += line + QStringLiteral("\r\n");
    }
    if (text.indexOf(pass, behindUser) < 0)
        result.failure = lastRecord < own.first() ? 5 : 3;
    return result;
}

QString loginFailureMessage(int number)
{
    static const QString circled = QStringLiteral("①②③④⑤");
    const QChar mark = number >= 1 && number <= 5 ? circled[number - 1] : circled[2];
    return QStringLiteral(
               "重大な入力ミスです。登録情報保持のため終了します。再度起動して正しく入力して下さい。…") +
           mark;
}

QString loginUnreachableMessage()
{
    return QStringLiteral(
        "①　管理用コンピュータの電源が入っていないか\r②　ネットワークが切れてると思うので\r\r"
        "担任の先生を呼んで確認してもらってネ！ とりあえず終了します。");
}

} // namespace client
