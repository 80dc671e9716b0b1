#pragma once

#include "shared/status.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// What an administrator changes in the registry: a forgotten password reset, people who leave retired.
// Only the administration program and the set-up program link this; the classroom client never does.
//
// Every change holds the registry lock (the one every registration holds), rewrites each registry file
// it touches as a whole by atomic replacement, and splices only the records of the people concerned:
// every other byte of the file stays as it was. Files are changed one after the other in an order that
// keeps the person findable in 管理情報.txt until the last step, so that a run stopped after any step
// leaves each file as before or as after, and the same request run again completes it.
namespace client {

// One person as a record of 管理情報.txt names them.
struct RegisteredPerson
{
    QString userName;
    QString fullName;
    QString password;
};

// The people of 管理情報.txt in file order (records that do not hold three parts are left out);
// nothing when the file cannot be read.
std::optional<QList<RegisteredPerson>> readRegisteredPeople(const QString &serverName);

// Why a new password cannot be stored, or empty: the registration's rules (not empty, no comma or
// double quote, nothing code page 932 cannot hold) and the seven characters its box takes.
QString newPasswordProblem(const QString &password);

// Told after each step of a change, so that a test can kill the process right there.
using AdminStepProbe = std::function<void(int step)>;

// The steps of a password reset, in order.
enum PasswordStep
{
    CredentialsRewritten = 1,
    AdminRecordsRewritten,
};

// Gives the person with userName the password newPassword in 認証情報.txt and 管理情報.txt.
perumina::Status resetPassword(const QString &serverName, const QString &userName, const QString &newPassword,
                               const AdminStepProbe &probe = {});

// The steps of retiring people, in order: the credentials go first (no new login), then each person's
// two folders move, then the remaining three files; 管理情報.txt goes last.
enum RetireStep
{
    RetireCredentialsRewritten = 1,
    RetireFoldersMoved, // told once per folder moved
    RetireUserNamesRewritten,
    RetireFullNamesRewritten,
    RetireAdminRecordsRewritten,
};

struct RetireResult
{
    perumina::Status status;
    QStringList unknown;  // full names not found in 管理情報.txt: nothing was written
    QStringList archives; // where each person's folders went
};

// Takes the people named by fullNames out of all four registry files and moves their user folder and
// administration copy folder into 管理データ\退会者\NAME-yyyyMMdd (a second one of the same day gets
// "-2" and so on). Nothing is written when a name is unknown or a folder cannot be moved safely.
RetireResult retirePeople(const QString &serverName, const QStringList &fullNames, const QDate &date,
                          const AdminStepProbe &probe = {});

// Whether this account may change the registry: it must be able to read the administrator file, which
// on a staff-room server only the staff group can. The failure names the file and what to do.
perumina::Status checkStaffRights(const QString &serverName);

// Appends one line to the administration record (outside the share): the date, the time, who did it
// and what was done, as quoted fields. Also fails when the record is a link or not a plain file.
perumina::Status appendAdministrationRecord(const QString &serverName, const QDateTime &when,
                                            const QString &who, const QString &what);
// Whether the record can take a line now, so that an action is not done when it could not be recorded.
// Creates it when missing; on a staff-room server it then belongs to the administrator file's group.
perumina::Status checkAdministrationRecord(const QString &serverName);

// What the administration record says of a password reset, and of a retire of fullNames (empty for a
// retire refused before it changed anything, for an unknown name); the console and the command line
// write the same words.
QString passwordResetRecord(const QString &userName, const QString &fullName);
QString retireRecord(const RetireResult &result, const QStringList &fullNames);

} // namespace client
