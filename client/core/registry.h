#pragma once

#include "shared/status.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace client {

// What the registration screen shows and checks against: the four registry files as read when it
// loads. A file that cannot be read stops the loading there; the lists read so far are kept.
struct RegistryLists
{
    QStringList fullNames;    // 登録者一覧.txt, registration order
    QStringList credentials;  // 認証情報.txt
    QStringList adminRecords; // 管理情報.txt
    QStringList userNames;    // ユーザー名.txt, registration order
    bool complete = false;
};
RegistryLists loadRegistryLists(const QString &serverName);

// User names in Japanese kana order, as the list of names in use shows them.
QStringList sortedUserNames(QStringList names);

// Every value followed by CR LF: the text the duplicate checks search.
QString joinedWithLineEnds(const QStringList &values);

// What a new user typed, already folded to the characters the files will hold.
struct NewUser
{
    QString userName;
    QString fullName;
    QString password;
};
NewUser foldedNewUser(const QString &userName, const QString &fullName, const QString &password);

enum class Field
{
    UserName,
    FullName,
    Password
};

// Why a typed value is refused, and which box is to be cleared.
struct Refusal
{
    Field field;
    QString message;
};

inline const QString kUserNameTakenMessage =
    QStringLiteral("このユーザー名は既に使われています。別のものに変えて下さい。");
inline const QString kFullNameTakenMessage = QStringLiteral(
    "同姓同名の人が既に登録しています。区別するために本名の後ろにハイフンを付け、何か記号を付けてください。");
inline const QString kRegisteredMessage =
    QStringLiteral("登録を反映させるために終了します。その後に再起動してください。");
// Shown when the registry cannot be read while the registration screen loads.
QString registryUnreachableMessage();

// Values that would break the record files or cannot name a folder, checked box by box in the order
// user name, full name, password. Nothing when all three can be stored.
std::optional<Refusal> checkNewUserValues(const NewUser &user);

// The duplicate checks: a user name that occurs anywhere in the user-name text is taken, and so is a
// full name that occurs anywhere in the full-name text (each registered value followed by CR LF).
std::optional<Refusal> checkTaken(const NewUser &user, const QString &userNameText,
                                  const QString &fullNameText);

enum class RegistrationOutcome
{
    Recorded,
    Refused,
    Failed
};

struct RegistrationResult
{
    RegistrationOutcome outcome = RegistrationOutcome::Failed;
    std::optional<Refusal> refusal; // set when Refused
    QString error;                  // set when Failed: what went wrong, for the user
    bool partlyWritten = false;     // Failed after something had been written
};

// Records a new user: under the registry lock, reads the user names and full names again and refuses
// what another computer took meanwhile (or a full name whose folder exists); then appends the four
// registry records, creates the user folder and the administration copy folder, and copies the inbox
// template into the user folder. Values must have passed checkNewUserValues.
RegistrationResult recordRegistration(const QString &serverName, const NewUser &user,
                                      int lockTimeoutMs = 10000);

// The registry lock every registration holds while it checks and records: the lock of ユーザー名.txt.
QString registryLockPath(const QString &serverName);

} // namespace client
