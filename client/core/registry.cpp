#include "client/core/registry.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

namespace client {

using namespace perumina;

namespace {

QString fieldName(Field field)
{
    switch (field) {
    case Field::UserName:
        return QStringLiteral("ユーザー名");
    case Field::FullName:
        return QStringLiteral("本名");
    case Field::Password:
        return QStringLiteral("パスワード");
    }
    return {};
}

bool hasControlCharacter(const QString &value)
{
    return std::any_of(value.begin(), value.end(),
                       [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7f; });
}

std::optional<Refusal> checkValue(Field field, const QString &value)
{
    // The full name names the user's folders, so the site's name rule decides it, as everywhere else.
    if (field == Field::FullName) {
        const QString problem = site::nameProblem(value, site::NameKind::FullName);
        if (!problem.isEmpty())
            return Refusal{field, problem};
        return std::nullopt;
    }
    const QString what = fieldName(field);
    if (value.isEmpty())
        return Refusal{field, what + QStringLiteral("を入力して下さい。")};
    if (value.contains(u',') || value.contains(u'"'))
        return Refusal{field,
                       what + QStringLiteral("にコンマ（,）やダブルクォーテーション（\"）は使えません。")};
    if (hasControlCharacter(value) || !canEncodeCp932(value))
        return Refusal{field, unencodableMessage(what, value)};
    return std::nullopt;
}

// Appends quoted records without taking the file's lock, for a caller that holds it already.
Status appendQuotedHoldingLock(const QString &path, const QStringList &values)
{
    const auto bytes = perumina::quotedRecordBytes(values);
    if (!bytes)
        return Status::failure(unencodableMessage(QString()));
    return perumina::appendHoldingLock(path, *bytes);
}

RegistrationResult failed(const QString &error, bool partlyWritten = false)
{
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Failed;
    result.error = error;
    result.partlyWritten = partlyWritten;
    return result;
}

RegistrationResult refused(const Refusal &refusal)
{
    RegistrationResult result;
    result.outcome = RegistrationOutcome::Refused;
    result.refusal = refusal;
    return result;
}

} // namespace

RegistryLists loadRegistryLists(const QString &serverName)
{
    takeBackStoppedRegistration(serverName);
    RegistryLists lists;
    auto fullNames = ReadFields(site::fullNamesFile(serverName));
    if (!fullNames)
        return lists;
    lists.fullNames = *fullNames;
    auto credentials = ReadFields(site::credentialsFile(serverName));
    if (!credentials)
        return lists;
    lists.credentials = *credentials;
    auto adminRecords = ReadFields(site::adminRecordsFile(serverName));
    if (!adminRecords)
        return lists;
    lists.adminRecords = *adminRecords;
    auto userNames = ReadFields(site::userNamesFile(serverName));
    if (!userNames)
        return lists;
    lists.userNames = *userNames;
    lists.complete = true;
    return lists;
}

QStringList sortedUserNames(QStringList names)
{
    QCollator collator(QLocale(QLocale::Japanese, QLocale::Japan));
    std::stable_sort(names.begin(), names.end(),
                     [&](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
    return names;
}

QString joinedWithLineEnds(const QStringList &values)
{
    QString text;
    for (const QString &value : values)
        text += value + QStringLiteral("\r\n");
    return text;
}

NewUser foldedNewUser(const QString &userName, const QString &fullName, const QString &password)
{
    return {foldForCp932(userName), foldForCp932(fullName), foldForCp932(password)};
}

QString registryUnreachableMessage()
{
    return QStringLiteral(
        "①　管理用コンピュータの電源が入っていないか\r②　ネットワークが切れてると思うので\r\r"
        "担任の先生を呼んで確認してもらってネ！");
}

std::optional<Refusal> checkNewUserValues(const NewUser &user)
{
    if (auto refusal = checkValue(Field::UserName, user.userName))
        return refusal;
    if (auto refusal = checkValue(Field::FullName, user.fullName))
        return refusal;
    return checkValue(Field::Password, user.password);
}

namespace {

// Found anywhere in the registered text (each value followed by CR LF), or equal to a registered value
// once white space of any width is trimmed from both: the lists would show the two alike.
bool isTaken(const QString &value, const QString &registeredText)
{
    if (registeredText.isEmpty())
        return false;
    if (registeredText.contains(value, Qt::CaseSensitive))
        return true;
    const QString trimmed = value.trimmed();
    const QStringList registered = registeredText.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    return std::any_of(registered.begin(), registered.end(),
                       [&](const QString &other) { return other.trimmed() == trimmed; });
}

} // namespace

std::optional<Refusal> checkTaken(const NewUser &user, const QString &userNameText,
                                  const QString &fullNameText)
{
    if (isTaken(user.userName, userNameText))
        return Refusal{Field::UserName, kUserNameTakenMessage};
    if (isTaken(user.fullName, fullNameText))
        return Refusal{Field::FullName, kFullNameTakenMessage};
    return std::nullopt;
}

std::optional<Refusal> checkNewUser(const NewUser &user, const QString &userNameText,
                                    const QString &fullNameText)
{
    if (auto refusal = checkValue(Field::UserName, user.userName))
        return refusal;
    if (isTaken(user.userName, userNameText))
        return Refusal{Field::UserName, kUserNameTakenMessage};
    if (auto refusal = checkValue(Field::FullName, user.fullName))
        return refusal;
    if (isTaken(user.fullName, fullNameText))
        return Refusal{Field::FullName, kFullNameTakenMessage};
    return checkValue(Field::Password, user.password);
}

QString registryLockPath(const QString &serverName)
{
    return site::userNamesFile(serverName);
}

namespace {

// What one recording writes, so that a failure can take it all back: the four files' old lengths and
// what it made. While it writes, a note on the share holds the same (the full name, then the four
// lengths, one a line), so that the next registration can take back one that was killed part-way.
class Recording
{
public:
    Recording(const QString &serverName, const QString &fullName)
        : note_(mapPath(site::registrationNote(serverName))),
          fullName_(fullName), files_{mapPath(site::fullNamesFile(serverName)),
                                      mapPath(site::credentialsFile(serverName)),
                                      mapPath(site::adminRecordsFile(serverName)),
                                      mapPath(site::userNamesFile(serverName))},
          ownFolder_(mapPath(site::userFolder(serverName, fullName))),
          copyFolder_(mapPath(site::adminCopyFolder(serverName, fullName))),
          inbox_(mapPath(site::inbox(serverName, fullName)))
    {
    }

    // Takes back a recording that stopped without taking itself back; false when some of it stays.
    static bool takeBackStopped(const QString &serverName)
    {
        const QString note = mapPath(site::registrationNote(serverName));
        if (!QFileInfo::exists(note))
            return true;
        const auto bytes = readFileBytes(note);
        if (!bytes)
            return false;
        const QStringList lines = decodeCp932(*bytes).split(QStringLiteral("\r\n"));
        // Anyone can write on the share: a note this program did not write is dropped unused.
        if (lines.size() >= 5 && site::nameProblem(lines[0], site::NameKind::FullName).isEmpty()) {
            Recording stopped(serverName, lines[0]);
            for (int i = 0; i < 4; ++i) {
                bool number = false;
                stopped.oldSizes_.append(lines[i + 1].toLongLong(&number));
                if (!number)
                    return QFile::remove(note);
            }
            switch (stopped.whatItLeft()) {
            case Left::NotItsOwn:  // a note planted by hand must never cut another person's records
            case Left::Everything: // only the note itself was left to remove: the person is registered
                return QFile::remove(note);
            case Left::Part:
                break;
            }
            // Its checks refused a folder that existed, so what stands there now is its own; but mail may
            // have reached it since, so a folder that is not empty stays (and keeps the name taken).
            const auto inbox = readFileBytes(stopped.inbox_);
            const auto blank = readFileBytes(site::inboxTemplate(serverName));
            if (inbox && blank && *inbox == *blank)
                QFile::remove(stopped.inbox_);
            QDir().rmdir(stopped.copyFolder_);
            QDir().rmdir(stopped.ownFolder_);
            return stopped.undo();
        }
        return QFile::remove(note);
    }

    enum class Left
    {
        NotItsOwn,
        Part,
        Everything
    };
    // What a stopped recording left: each file may have grown past its noted length by at most the one
    // record it wrote (the full names' file by exactly the noted name's), else the note is not its own.
    Left whatItLeft() const
    {
        const auto ownRecord = encodeCp932(QStringLiteral("\"%1\"\r\n").arg(fullName_));
        bool whole = true;
        for (qsizetype i = 0; i < files_.size(); ++i) {
            const auto bytes = readFileBytes(files_[i]);
            if (!bytes || oldSizes_[i] < 0 || oldSizes_[i] > bytes->size())
                return Left::NotItsOwn;
            QByteArray tail = bytes->mid(oldSizes_[i]);
            if (tail.startsWith("\r\n")) // the line end put after a cut last line
                tail.remove(0, 2);
            const qsizetype ends = tail.count("\r\n");
            if (ends > 1 || (ends == 1 && !tail.endsWith("\r\n")))
                return Left::NotItsOwn;
            if (i == 0 && (!ownRecord || !ownRecord->startsWith(tail)))
                return Left::NotItsOwn;
            whole = whole && ends == 1;
        }
        return whole && QFileInfo(ownFolder_).isDir() && QFileInfo(copyFolder_).isDir() &&
                       QFileInfo(inbox_).isFile()
                   ? Left::Everything
                   : Left::Part;
    }

    // Notes the old lengths, on the share too; nothing is written when that fails.
    Status begin()
    {
        QString text = fullName_ + QStringLiteral("\r\n");
        for (const QString &file : std::as_const(files_)) {
            oldSizes_.append(QFileInfo(file).size());
            text += QString::number(oldSizes_.last()) + QStringLiteral("\r\n");
        }
        const auto bytes = encodeCp932(text);
        if (!bytes)
            return Status::failure(unencodableMessage(QString()));
        return replaceFileAtomically(note_, *bytes);
    }
    void madeFolder() { ++madeFolders_; }
    void copyingInbox() { copiedInbox_ = true; }
    void finish() { QFile::remove(note_); }

    // Cuts each file back to its old length and removes what was made, then the note; false when some
    // of it stays (the note then stays for the next registration to try again).
    bool undo()
    {
        bool whole = !copiedInbox_ || !QFileInfo::exists(inbox_) || QFile::remove(inbox_);
        if (madeFolders_ >= 2 && QFileInfo::exists(copyFolder_))
            whole = QDir().rmdir(copyFolder_) && whole;
        if (madeFolders_ >= 1 && QFileInfo::exists(ownFolder_))
            whole = QDir().rmdir(ownFolder_) && whole;
        for (qsizetype i = 0; i < oldSizes_.size(); ++i) {
            QFile file(files_[i]);
            // A link planted meanwhile is not followed out of the site.
            if (file.size() > oldSizes_[i] && refuseLinks(files_[i]))
                whole = file.resize(oldSizes_[i]) && whole;
        }
        if (whole)
            finish();
        return whole;
    }

private:
    QString note_;
    QString fullName_;
    QStringList files_;
    QList<qint64> oldSizes_;
    QString ownFolder_;
    QString copyFolder_;
    QString inbox_;
    int madeFolders_ = 0;
    bool copiedInbox_ = false;
};

} // namespace

bool takeBackStoppedRegistration(const QString &serverName, int lockTimeoutMs)
{
    if (!QFileInfo::exists(mapPath(site::registrationNote(serverName))))
        return true;
    SharedFileLock lock(registryLockPath(serverName));
    return lock.acquire(lockTimeoutMs) && Recording::takeBackStopped(serverName);
}

RegistrationResult recordRegistration(const QString &serverName, const NewUser &user, int lockTimeoutMs,
                                      const RecordingProbe &probe)
{
    const QString fullNamesPath = site::fullNamesFile(serverName);
    const QString credentialsPath = site::credentialsFile(serverName);
    const QString adminRecordsPath = site::adminRecordsFile(serverName);
    const QString userNamesPath = site::userNamesFile(serverName);
    const QString templatePath = site::inboxTemplate(serverName);

    if (!QFileInfo(mapPath(site::dataFolder(serverName))).isDir())
        return failed(QStringLiteral("管理用コンピュータのフォルダに接続できませんでした。"));

    // Every registration takes this one lock before it reads or writes any of the four files and keeps
    // it to the end, so that the checks below still hold when the records land and a failed recording
    // can be cut back without cutting another's.
    SharedFileLock lock(registryLockPath(serverName));
    if (!lock.acquire(lockTimeoutMs)) {
        // Waiting helps only while another computer registers; a read-only share or a full disk does not
        // pass.
        if (const Status why = lock.failure(); why.kind != Status::Kind::InUse)
            return failed(why.error);
        return failed(QStringLiteral(
            "ほかのコンピュータで登録している最中です。少し待ってからもう一度「登録」を押して下さい。"));
    }

    if (!Recording::takeBackStopped(serverName))
        return failed(QStringLiteral("前に途中で止まった登録を取り消せませんでした。"));

    auto userNames = ReadFields(userNamesPath);
    auto fullNames = ReadFields(fullNamesPath);
    if (!userNames || !fullNames || !QFileInfo(mapPath(credentialsPath)).isFile() ||
        !QFileInfo(mapPath(adminRecordsPath)).isFile())
        return failed(QStringLiteral("登録している人の情報を読めませんでした。"));
    if (auto refusal = checkNewUser(user, joinedWithLineEnds(*userNames), joinedWithLineEnds(*fullNames)))
        return refused(*refusal);
    // A folder of that name would hand the new user someone else's inbox.
    const QString ownFolder = mapPath(site::userFolder(serverName, user.fullName));
    const QString copyFolder = mapPath(site::adminCopyFolder(serverName, user.fullName));
    const QString inbox = mapPath(site::inbox(serverName, user.fullName));
    if (QFileInfo::exists(ownFolder) || QFileInfo::exists(copyFolder))
        return refused(Refusal{Field::FullName, kFullNameTakenMessage});
    if (!QFileInfo(mapPath(site::adminFolder(serverName))).isDir())
        return failed(QStringLiteral("管理用フォルダが見つかりません。"));
    if (!QFileInfo(mapPath(templatePath)).isFile())
        return failed(QStringLiteral("受信箱のひな形（受信箱.txt）が見つかりません。"));

    for (const QString &folder : {ownFolder, copyFolder})
        if (Status linked = refuseLinks(folder); !linked)
            return failed(linked.error);

    Recording recording(serverName, user.fullName);
    if (Status noted = recording.begin(); !noted)
        return failed(noted.error);
    // Runs one step and tells the probe; on a failure everything written so far is taken back.
    auto step = [&](RecordingStep done, Status status) {
        if (status && probe)
            status = probe(done);
        if (status)
            return std::optional<RegistrationResult>();
        if (recording.undo())
            return std::optional(failed(status.error + QStringLiteral("\n書きかけの登録は取り消しました。")));
        return std::optional(failed(status.error, true));
    };
    auto folderFailure = [&](const QString &what) {
        return Status::failure(QStringLiteral("%1 さんの%2を作れませんでした。").arg(user.fullName, what));
    };

    // The four records in registration order, each file's records in the order people registered.
    if (auto f = step(FullNameAppended, AppendQuotedRecords(fullNamesPath, {user.fullName})))
        return *f;
    if (auto f =
            step(CredentialsAppended, AppendQuotedRecords(credentialsPath, {user.userName + user.password})))
        return *f;
    if (auto f =
            step(AdminRecordAppended,
                 AppendQuotedRecords(adminRecordsPath, {user.userName + QStringLiteral(",") + user.fullName +
                                                        QStringLiteral(",") + user.password})))
        return *f;
    if (auto f = step(UserNameAppended, appendQuotedHoldingLock(userNamesPath, {user.userName})))
        return *f;

    Status made =
        perumina::makeSharedFolder(ownFolder) ? Status::success() : folderFailure(QStringLiteral("フォルダ"));
    if (made)
        recording.madeFolder();
    if (auto f = step(UserFolderMade, made))
        return *f;
    made = perumina::makeSharedFolder(copyFolder) ? Status::success()
                                                  : folderFailure(QStringLiteral("管理用フォルダ"));
    if (made)
        recording.madeFolder();
    if (auto f = step(CopyFolderMade, made))
        return *f;
    recording.copyingInbox();
    made = QFile::copy(mapPath(templatePath), inbox) ? Status::success()
                                                     : folderFailure(QStringLiteral("受信箱"));
    if (made)
        perumina::grantGroupAccess(inbox);
    if (auto f = step(InboxCopied, made))
        return *f;
    recording.finish();

    RegistrationResult result;
    result.outcome = RegistrationOutcome::Recorded;
    return result;
}

} // namespace client
