#include "client/core/registry.h"

#include "shared/records.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCollator>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

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

// The empty inbox of a new user, read as any shared file (a FIFO planted there would hang a plain copy)
// and written as a new file, never over one.
bool copyInboxTemplate(const QString &serverName, const QString &inbox)
{
    const auto bytes = readFileBytes(site::inboxTemplate(serverName));
    QFile file(inbox);
    if (!bytes || !file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    if (file.write(*bytes) == bytes->size() && file.flush())
        return true;
    file.remove();
    return false;
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
    completeStoppedRegistration(serverName);
    RegistryLists lists;
    auto fullNames = ReadFields(site::fullNamesFile(serverName), &lists.problem);
    if (!fullNames)
        return lists;
    lists.fullNames = *fullNames;
    auto credentials = ReadFields(site::credentialsFile(serverName), &lists.problem);
    if (!credentials)
        return lists;
    lists.credentials = *credentials;
    auto adminRecords = ReadFields(site::adminRecordsFile(serverName), &lists.problem);
    if (!adminRecords)
        return lists;
    lists.adminRecords = *adminRecords;
    auto userNames = ReadFields(site::userNamesFile(serverName), &lists.problem);
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

// What one recording writes, so that a failure inside its own run can take it all back: the four
// files' old lengths and what it made. While it writes, a note on the share holds the same and the
// records themselves (the full name, the four lengths, the user name and the password, one a line), so
// that a registration that finds it after this one was killed can complete what is missing.
class Recording
{
public:
    Recording(const QString &serverName, const NewUser &user)
        : serverName_(serverName), note_(site::registrationNote(serverName)),
          user_(user), files_{site::fullNamesFile(serverName), site::credentialsFile(serverName),
                              site::adminRecordsFile(serverName), site::userNamesFile(serverName)},
          ownFolder_(site::userFolder(serverName, user.fullName)),
          copyFolder_(site::adminCopyFolder(serverName, user.fullName)),
          inbox_(site::inbox(serverName, user.fullName))
    {
    }

    // The value of each registry file's record, in the order the files are written.
    QStringList records() const
    {
        return {user_.fullName, user_.userName + user_.password,
                user_.userName + QStringLiteral(",") + user_.fullName + QStringLiteral(",") + user_.password,
                user_.userName};
    }

    // Notes the old lengths, and the note on the share when nothing lies at its place (something that
    // lies there is not this run's to replace). False when the files cannot be measured.
    bool begin()
    {
        QString text = user_.fullName + QStringLiteral("\r\n");
        for (const QString &file : std::as_const(files_)) {
            const QFileInfo info(file);
            if (!info.isFile())
                return false;
            oldSizes_.append(info.size());
            text += QString::number(oldSizes_.last()) + QStringLiteral("\r\n");
        }
        text += user_.userName + QStringLiteral("\r\n") + user_.password + QStringLiteral("\r\n");
        const auto bytes = encodeCp932(text);
        if (bytes && !existsAt(note_) && refuseLinks(note_)) {
            QFile note(note_);
            if (note.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                grantGroupAccess(note_);
                wroteNote_ = note.write(*bytes) == bytes->size() && note.flush();
                note.close();
                if (!wroteNote_)
                    note.remove();
            }
        }
        return true;
    }
    void madeFolder() { ++madeFolders_; }
    void copyingInbox() { copiedInbox_ = true; }
    void finish()
    {
        if (wroteNote_)
            QFile::remove(note_);
        wroteNote_ = false;
    }

    // Cuts each file back to its old length and removes what was made, then its note; false when some
    // of it stays.
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

    static bool existsAt(const QString &path)
    {
        const QFileInfo info(path);
        return info.exists() || info.isSymLink();
    }

    // Completes what a recording killed part-way left missing, as its note tells, and sets the note
    // aside. Nothing is cut or removed: a note anyone could have written may only add a record that is
    // missing after the ones its recording wrote, or make a missing folder of a person it registered.
    // Anything else at the note's place (a folder, a link, garbage) is set aside once it is older than
    // a stale lock, and left alone before. Gives what the person should be told, or nothing.
    static QString completeStopped(const QString &serverName)
    {
        const QString note = site::registrationNote(serverName);
        if (!existsAt(note))
            return {};
        const QFileInfo info(note);
        const bool old = entryAgeMs(note) > 30000;
        bool done = false;
        if (info.isFile() && !info.isSymLink()) {
            if (const auto bytes = readFileBytes(note)) {
                const QStringList lines = decodeCp932(*bytes).split(QStringLiteral("\r\n"));
                done = lines.size() >= 7 && completeFrom(serverName, lines);
            }
        }
        if (!done && !old)
            return {};
        const QString aside = note.chopped(4) +
                              QDateTime::currentDateTime().toString(QStringLiteral("-yyyyMMdd-HHmmss-zzz")) +
                              QStringLiteral(".txt");
        if (QDir().rename(note, aside))
            return {};
        return QStringLiteral("%1 を片付けられないため、そのままにしました。管理者に知らせて下さい。")
            .arg(QDir::toNativeSeparators(note));
    }

private:
    // True when the note was one of a recording (whether something had to be completed or not).
    static bool completeFrom(const QString &serverName, const QStringList &lines)
    {
        const NewUser user{lines[5], lines[0], lines[6]}; // user name, full name, password
        if (checkNewUserValues(user))
            return false;
        Recording stopped(serverName, user);
        const QStringList records = stopped.records();
        enum State
        {
            Missing,
            Cut,
            Whole
        };
        QList<State> states;
        for (qsizetype i = 0; i < 4; ++i) {
            bool number = false;
            const qint64 oldSize = lines[i + 1].toLongLong(&number);
            const auto bytes = readFileBytes(stopped.files_[i]);
            const auto own = quotedRecordBytes({records[i]});
            if (!number || !bytes || !own || oldSize < 0 || oldSize > bytes->size())
                return false;
            // Its checks refused a full name or user name registered before it began, so a note naming
            // one that stands before its lengths is not a recording's own.
            const QStringList before = parseFields(decodeCp932(bytes->left(oldSize)));
            const auto registered = [&](const QString &value) {
                return std::any_of(before.begin(), before.end(), [&](const QString &field) {
                    return i == 2 ? field.section(u',', 1, -2) == value : field == value;
                });
            };
            if ((i == 0 || i == 2) && registered(user.fullName))
                return false;
            if (i == 3 && registered(user.userName))
                return false;
            QByteArray tail = bytes->mid(oldSize);
            if (tail.startsWith("\r\n")) // the line end put after a cut last line
                tail.remove(0, 2);
            // Files are written in order: after the first that is not whole, nothing was written.
            const bool behind = !states.isEmpty() && states.last() != Whole;
            if (tail == *own && !behind)
                states.append(Whole);
            else if (tail.isEmpty())
                states.append(Missing);
            else if (own->startsWith(tail) && !behind)
                states.append(Cut);
            else
                return false;
        }
        // A recording that never wrote its full name whole registered nobody; nothing to complete.
        if (states[0] != Whole)
            return true;
        for (qsizetype i = 1; i < 4; ++i)
            if (states[i] != Whole && !appendQuotedHoldingLock(stopped.files_[i], {records[i]}))
                return true;
        if (!QFileInfo(stopped.ownFolder_).isDir() && !existsAt(stopped.ownFolder_) &&
            refuseLinks(stopped.ownFolder_))
            perumina::makeSharedFolder(stopped.ownFolder_);
        if (!QFileInfo(stopped.copyFolder_).isDir() && !existsAt(stopped.copyFolder_) &&
            refuseLinks(stopped.copyFolder_))
            perumina::makeSharedFolder(stopped.copyFolder_);
        if (QFileInfo(stopped.ownFolder_).isDir() && !existsAt(stopped.inbox_) &&
            refuseLinks(stopped.inbox_) && copyInboxTemplate(serverName, stopped.inbox_))
            perumina::grantGroupAccess(stopped.inbox_);
        return true;
    }

    QString serverName_;
    QString note_;
    NewUser user_;
    QStringList files_;
    QList<qint64> oldSizes_;
    QString ownFolder_;
    QString copyFolder_;
    QString inbox_;
    int madeFolders_ = 0;
    bool copiedInbox_ = false;
    bool wroteNote_ = false;
};

} // namespace

QString completeStoppedRegistration(const QString &serverName, int lockTimeoutMs)
{
    if (!Recording::existsAt(site::registrationNote(serverName)))
        return {};
    SharedFileLock lock(registryLockPath(serverName));
    if (!lock.acquire(lockTimeoutMs))
        return {};
    return Recording::completeStopped(serverName);
}

RegistrationResult recordRegistration(const QString &serverName, const NewUser &user, int lockTimeoutMs,
                                      const RecordingProbe &probe)
{
    const QString fullNamesPath = site::fullNamesFile(serverName);
    const QString credentialsPath = site::credentialsFile(serverName);
    const QString adminRecordsPath = site::adminRecordsFile(serverName);
    const QString userNamesPath = site::userNamesFile(serverName);
    const QString templatePath = site::inboxTemplate(serverName);

    if (!QFileInfo(site::dataFolder(serverName)).isDir())
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

    const QString notice = Recording::completeStopped(serverName);

    QString problem;
    auto userNames = ReadFields(userNamesPath, &problem);
    auto fullNames = userNames ? ReadFields(fullNamesPath, &problem) : std::nullopt;
    if (!userNames || !fullNames || !QFileInfo(credentialsPath).isFile() ||
        !QFileInfo(adminRecordsPath).isFile())
        return failed(problem.isEmpty() ? QStringLiteral("登録している人の情報を読めませんでした。")
                                        : problem);
    if (auto refusal = checkNewUser(user, joinedWithLineEnds(*userNames), joinedWithLineEnds(*fullNames)))
        return refused(*refusal);
    // A folder of that name would hand the new user someone else's inbox.
    const QString ownFolder = site::userFolder(serverName, user.fullName);
    const QString copyFolder = site::adminCopyFolder(serverName, user.fullName);
    const QString inbox = site::inbox(serverName, user.fullName);
    if (QFileInfo::exists(ownFolder) || QFileInfo::exists(copyFolder))
        return refused(Refusal{Field::FullName, kFullNameTakenMessage});
    if (!QFileInfo(site::adminFolder(serverName)).isDir())
        return failed(QStringLiteral("管理用フォルダが見つかりません。"));
    if (!QFileInfo(templatePath).isFile())
        return failed(QStringLiteral("受信箱のひな形（受信箱.txt）が見つかりません。"));

    for (const QString &folder : {ownFolder, copyFolder})
        if (Status linked = refuseLinks(folder); !linked)
            return failed(linked.error);

    Recording recording(serverName, user);
    if (!recording.begin())
        return failed(QStringLiteral("登録している人の情報を読めませんでした。"));
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
    const QStringList records = recording.records();
    if (auto f = step(FullNameAppended, AppendQuotedRecords(fullNamesPath, {records[0]})))
        return *f;
    if (auto f = step(CredentialsAppended, AppendQuotedRecords(credentialsPath, {records[1]})))
        return *f;
    if (auto f = step(AdminRecordAppended, AppendQuotedRecords(adminRecordsPath, {records[2]})))
        return *f;
    if (auto f = step(UserNameAppended, appendQuotedHoldingLock(userNamesPath, {records[3]})))
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
    made = copyInboxTemplate(serverName, inbox) ? Status::success() : folderFailure(QStringLiteral("受信箱"));
    if (made)
        perumina::grantGroupAccess(inbox);
    if (auto f = step(InboxCopied, made))
        return *f;
    recording.finish();

    RegistrationResult result;
    result.outcome = RegistrationOutcome::Recorded;
    result.notice = notice;
    return result;
}

} // namespace client
