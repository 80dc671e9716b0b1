#pragma once

#include <QString>
#include <QStringList>

namespace admin {

// The administration program's fixed messages.
QString noServerMessage();
QString emptyIdMessage();
QString emptyPasswordMessage();
QString notRegisteredMessage();
// Shown when the administrator file cannot be read: ten lines, the second and seventh followed by an
// empty line, separated by CR alone.
QString accessFailureMessage();

enum class AdminCheck
{
    Admitted,      // a field of the administrator file is exactly ID followed by password
    NotRegistered, // the file was read and no field is
    Unreadable,    // the file could not be opened or read
    Refused,       // the file is not believed (server role) or is too large: nobody is admitted
};

// The rule on fields already read: admitted when any field equals id + password exactly, wherever it
// stands and however many fields the file holds. A longer field that merely contains the credentials
// neither admits nor hides an exact field after it.
AdminCheck checkFields(const QStringList &fields, const QString &id, const QString &password);

// Reads "\\" + server + "\ぺるみな\管理データ\管理者情報.txt" as fields (readAdministratorFile) and
// applies checkFields; refusal, when given, holds the message of a Refused check.
AdminCheck checkAdministrator(const QString &serverName, const QString &id, const QString &password,
                              QString *refusal = nullptr);

} // namespace admin
