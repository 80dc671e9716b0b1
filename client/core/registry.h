#pragma once

#include "shared/status.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace client {

// What the registration screen shows and checks against: the four registry files as read when it
// loads, after completing a registration that was killed part-way. A file that cannot be read stops the
// loading there; the lists read so far are kept.
struct RegistryLists
{
    QStringList fullNames;    // 登録者一覧.txt, registration order
    QStringList credentials;  // 認証情報.txt
    QStringList adminRecords; // 管理情報.txt
    QStringList userNames;    // ユーザー名.txt, registration order
    bool complete = false;
    QString problem; // a file refused as too large or not a regular file, named for the user
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
// full name that occurs anywhere in the full-name text (each registered value followed by CR LF); so is
// a name that differs from a registered one only by white space at its ends, which no list shows.
std::optional<Refusal> checkTaken(const NewUser &user, const QString &userNameText,
                                  const QString &fullNameText);

// Everything the 登録 button checks before recording, box by box: the user name's form, whether it is
// taken, then the full name's form, whether it is taken, then the password's form.
std::optional<Refusal> checkNewUser(const NewUser &user, const QString &userNameText,
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
    bool partlyWritten = false;     // Failed, and what was written could not all be taken back
    QString notice;                 // Recorded, but something at 登録中.txt could not be set aside
};

// The steps of one recording, in order: the four appends, the two folders, the inbox.
enum RecordingStep
{
    FullNameAppended = 1,
    CredentialsAppended,
    AdminRecordAppended,
    UserNameAppended,
    UserFolderMade,
    CopyFolderMade,
    InboxCopied
};
// Told after each step; a failure it gives stops the recording there as the step's own failure would.
// Lets a test stop a registration part-way.
using RecordingProbe = std::function<perumina::Status(RecordingStep done)>;

// Records a new user, all or nothing: under the registry lock, held for the whole recording, completes
// a recording killed part-way (completeStoppedRegistration), reads the user names and full names again
// and refuses what another computer took meanwhile (or a full name whose folder exists); then appends
// the four registry records, creates the user folder and the administration copy folder, and copies
// the inbox template into the user folder. When a step fails, the files are cut back to their old
// lengths and what this run made is removed before it returns.
RegistrationResult recordRegistration(const QString &serverName, const NewUser &user,
                                      int lockTimeoutMs = 10000, const RecordingProbe &probe = {});

// A registration never removes what it did not write itself. The note a recording keeps on the share
// (登録中.txt) can only lead to completing what a killed one left missing: its missing records after
// the ones it wrote, and the person's missing folders and inbox. The note is then set aside (renamed),
// and so is anything else found there once it is older than 30 s; younger, it is left alone and the
// recording goes without a note. Gives a message naming what could not be set aside, or nothing
// (also when the registry lock could not be had within lockTimeoutMs).
QString completeStoppedRegistration(const QString &serverName, int lockTimeoutMs = 2000);

// The registry lock every registration holds while it checks and records: the lock of ユーザー名.txt.
QString registryLockPath(const QString &serverName);

} // namespace client
