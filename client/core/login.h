#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace client {

// Outcome of one login check. failure is 0 on success, else the number of the message to show:
// 1 empty user name (nobody registered), 2 empty password (user unknown), 3 unknown user or wrong
// password, 4 empty user name, 5 empty password of a known user, or a wrong one that the registry text
// holds nowhere behind the user's name.
struct LoginResult
{
    int failure = 0;
    QString userName; // as the registry holds it
    QString fullName;
    qsizetype record = -1; // on success, which 管理情報.txt record is the user's
    bool ok() const { return failure == 0; }
};

// 管理情報.txt and 認証情報.txt as lines; nothing when the file cannot be read. problem, when given,
// then names a file refused as too large or not a regular file (empty for a missing one).
std::optional<QStringList> loadAdminRecordLines(const QString &serverName, QString *problem = nullptr);
std::optional<QStringList> loadCredentialLines(const QString &serverName, QString *problem = nullptr);

// One value per record line, read as the field reader reads a field (spaces before it skipped, a quoted
// value ends at its closing quote and what follows on the line is skipped), commas kept. Empty lines
// and lines of spaces carry no record, as when the file is read as fields.
QStringList recordValues(const QStringList &lines);

// Checks a user name and password against the registry, whatever order its files are in: the user is
// the first 管理情報.txt record "user,full name,password" that holds exactly the typed user name and
// password and a full name the site's name rule accepts, and 認証情報.txt must hold the typed user name
// and password as one whole record. The full name comes from that record alone. credentialLines is
// nothing when the file was unreadable. lastRecord is the record of the last successful login of this
// run (-1 when none): a wrong password ends with 5 only while the check would meet no earlier password.
LoginResult checkLogin(const QStringList &adminRecordLines, const std::optional<QStringList> &credentialLines,
                       const QString &userName, const QString &password, qsizetype lastRecord = -1);

// "重大な入力ミスです。…①" to "…⑤".
QString loginFailureMessage(int number);
// Shown when 管理情報.txt cannot be read as the login screen loads; the program then ends.
QString loginUnreachableMessage();

} // namespace client
