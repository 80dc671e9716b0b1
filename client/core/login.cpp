#include "client/core/login.h"

#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

namespace client {

using namespace perumina;

std::optional<QStringList> loadAdminRecordLines(const QString &serverName)
{
    return ReadLines(site::adminRecordsFile(serverName));
}

std::optional<QStringList> loadCredentialLines(const QString &serverName)
{
    return ReadLines(site::credentialsFile(serverName));
}

QStringList recordValues(const QStringList &lines)
{
    QStringList values;
    for (QString line : lines) {
        if (line.isEmpty())
            continue;
        if (line.startsWith(u'"'))
            line.remove(0, 1);
        if (line.endsWith(u'"'))
            line.chop(1);
        values.append(line);
    }
    return values;
}

LoginResult checkLogin(const QStringList &adminRecordLines, const std::optional<QStringList> &credentialLines,
                       const QString &userName, const QString &password)
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
    if (!credentialLines)
        return result;
    const QStringList credentials = recordValues(*credentialLines);
    const QString typed = user + pass;
    const QString tail = u',' + pass;
    for (qsizetype i : own) {
        const QString &record = records[i];
        if (i >= credentials.size() || credentials[i] != typed)
            continue;
        if (!record.endsWith(tail) || record.size() < head.size() + tail.size())
            continue;
        result.failure = 0;
        result.userName = user;
        result.fullName = record.mid(head.size(), record.size() - head.size() - tail.size());
        return result;
    }
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
