#include "client/core/registryadmin.h"

#include "client/core/registry.h"
#include "shared/records.h"
#include "shared/seams.h"
#include "shared/shareaccess.h"
#include "shared/sharedfile.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace client {

using perumina::Status;
namespace site = perumina::site;

namespace {

constexpr int kLockTimeoutMs = 10000;
const QString kCopyFolderInArchive = QStringLiteral("管理用");

// One line of a registry file: where its bytes lie, and its value when it holds exactly one field.
struct Line
{
    qsizetype start = 0;
    qsizetype size = 0;    // without the line end
    qsizetype endSize = 0; // CR LF, LF, or nothing on a last line without one
    std::optional<QString> value;
};

QList<Line> recordLines(const QByteArray &bytes)
{
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        line.start = start;
        if (newline < 0) {
            line.size = bytes.size() - start;
        } else {
            line.size = newline - start;
            line.endSize = 1;
            if (line.size > 0 && bytes[newline - 1] == '\r') {
                --line.size;
                ++line.endSize;
            }
        }
        // Code page 932 never uses 0x0A as a trail byte, so a line cut at LF is whole characters.
        const QStringList fields =
            perumina::parseFields(perumina::decodeCp932(bytes.mid(line.start, line.size)));
        if (fields.size() == 1)
            line.value = fields.first();
        lines.append(line);
        start = line.start + line.size + line.endSize;
    }
    return lines;
}

// What to change in one file: lines dropped and lines given new values, by line index.
struct Splice
{
    QSet<qsizetype> drop;
    QHash<qsizetype, QString> replace;
    bool empty() const { return drop.isEmpty() && replace.isEmpty(); }
};

// The file's bytes with the splice applied; every line not named is copied byte for byte, and a
// replaced line keeps its own line end.
std::optional<QByteArray> applySplice(const QByteArray &bytes, const QList<Line> &lines, const Splice &splice)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line &line = lines[i];
        if (splice.drop.contains(i))
            continue;
        if (const auto it = splice.replace.constFind(i); it != splice.replace.constEnd()) {
            const auto encoded = perumina::encodeCp932(*it);
            if (!encoded)
                return std::nullopt;
            out += '"' + *encoded + '"';
            out += bytes.mid(line.start + line.size, line.endSize);
            continue;
        }
        out += bytes.mid(line.start, line.size + line.endSize);
    }
    return out;
}

// The first line not yet taken whose value is value; -1 when none.
qsizetype findLine(const QList<Line> &lines, const QString &value, const Splice &taken)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].value == value && !taken.drop.contains(i) && !taken.replace.contains(i))
            return i;
    return -1;
}

// Anyone can write to the share: a registry file that is a link or not a plain file is not ours to
// rewrite.
Status checkRegistryFile(const QString &path)
{
    if (Status linked = perumina::refuseLinks(path); !linked)
        return linked;
    const QFileInfo info(path);
    if (!info.exists())
        return perumina::writeFailure(path, Status::Kind::Missing);
    if (!info.isFile())
        return Status::failure(
            QStringLiteral("%1 が普通のファイルではないため書き換えませんでした。").arg(info.fileName()),
            Status::Kind::NoPermission);
    return Status::success();
}

using Planner = std::function<Splice(const QList<Line> &lines)>;

// Reads the file, lets plan choose the lines to change, and replaces the file with the result. The
// caller holds the registry lock; the file's own lock is taken too unless it is that lock.
Status rewriteRecords(const QString &serverName, const QString &path, const Planner &plan)
{
    std::optional<perumina::SharedFileLock> ownLock;
    if (path != registryLockPath(serverName)) {
        ownLock.emplace(path);
        if (!ownLock->acquire(kLockTimeoutMs))
            return ownLock->failure();
    }
    if (Status usable = checkRegistryFile(path); !usable)
        return usable;
    const auto bytes = perumina::readFileBytes(path);
    if (!bytes)
        return Status::failure(QStringLiteral("%1 を読めませんでした。").arg(QFileInfo(path).fileName()));
    const QList<Line> lines = recordLines(*bytes);
    const Splice splice = plan(lines);
    if (splice.empty())
        return Status::success();
    const auto result = applySplice(*bytes, lines, splice);
    if (!result)
        return Status::failure(perumina::unencodableMessage(QString()));
    return perumina::replaceFileAtomically(path, *result);
}

std::optional<RegisteredPerson> personOf(const QString &record)
{
    const QStringList parts = record.split(u',');
    if (parts.size() != 3)
        return std::nullopt;
    return RegisteredPerson{parts[0], parts[1], parts[2]};
}

QString adminRecordOf(const RegisteredPerson &p)
{
    return p.userName + u',' + p.fullName + u',' + p.password;
}

// Holds the registry lock for one change, after a registration that stopped part-way was completed or
// set aside: a note still there belongs to a registration going on, whose lengths a rewrite would shift.
class RegistryChange
{
public:
    explicit RegistryChange(const QString &serverName) : lock_(registryLockPath(serverName))
    {
        if (!QFileInfo(site::dataFolder(serverName)).isDir()) {
            status_ = Status::failure(QStringLiteral("管理データのフォルダに接続できませんでした。"),
                                      Status::Kind::Missing);
            return;
        }
        // A note older than 30 s is completed or set aside; a younger one is a registration still going.
        completeStoppedRegistration(serverName);
        if (!lock_.acquire(kLockTimeoutMs)) {
            status_ = lock_.failure();
            if (status_.kind == Status::Kind::InUse)
                status_.error =
                    QStringLiteral("ほかのコンピュータで登録している最中です。少し待ってからもう一度"
                                   "行って下さい。");
            return;
        }
        if (const QFileInfo note(site::registrationNote(serverName)); note.isFile() && !note.isSymLink())
            status_ = Status::failure(QStringLiteral("途中で止まった登録があります。少し待ってからもう一度行"
                                                     "って下さい。"),
                                      Status::Kind::InUse);
    }
    const Status &status() const { return status_; }

private:
    perumina::SharedFileLock lock_;
    Status status_;
};

void tell(const AdminStepProbe &probe, int step)
{
    if (probe)
        probe(step);
}

} // namespace

std::optional<QList<RegisteredPerson>> readRegisteredPeople(const QString &serverName)
{
    const auto fields = perumina::ReadFields(site::adminRecordsFile(serverName));
    if (!fields)
        return std::nullopt;
    QList<RegisteredPerson> people;
    for (const QString &field : *fields)
        if (auto person = personOf(field))
            people.append(*person);
    return people;
}

QString newPasswordProblem(const QString &password)
{
    // The registration's own checks, on a user whose other values are surely fine.
    const auto refusal = checkNewUserValues({QStringLiteral("x"), QStringLiteral("x"), password});
    if (refusal)
        return refusal->message;
    if (password.size() > 7)
        return QStringLiteral("パスワードは７文字以内にして下さい。");
    return {};
}

Status resetPassword(const QString &serverName, const QString &userName, const QString &newPassword,
                     const AdminStepProbe &probe)
{
    const QString password = perumina::foldForCp932(newPassword);
    if (const QString problem = newPasswordProblem(password); !problem.isEmpty())
        return Status::failure(problem);
    RegistryChange change(serverName);
    if (!change.status())
        return change.status();
    const auto people = readRegisteredPeople(serverName);
    if (!people)
        return Status::failure(QStringLiteral("管理情報.txt を読めませんでした。"));
    std::optional<RegisteredPerson> person;
    for (const RegisteredPerson &p : *people)
        if (p.userName == userName)
            person = p;
    if (!person)
        return Status::failure(QStringLiteral("ユーザー名「%1」は登録されていません。").arg(userName),
                               Status::Kind::Missing);

    // The credentials first: 管理情報.txt keeps the old password until the end, so that a second run
    // still finds the record to change, or sees that it was changed.
    bool found = false;
    Status status =
        rewriteRecords(serverName, site::credentialsFile(serverName), [&](const QList<Line> &lines) {
            Splice splice;
            const qsizetype old = findLine(lines, userName + person->password, splice);
            found = old >= 0 || findLine(lines, userName + password, splice) >= 0;
            if (old >= 0 && person->password != password)
                splice.replace.insert(old, userName + password);
            return splice;
        });
    if (!status)
        return status;
    if (!found)
        return Status::failure(
            QStringLiteral("認証情報.txt に「%1」の記録が見つからないため、変更しませんでした。")
                .arg(userName),
            Status::Kind::Missing);
    tell(probe, CredentialsRewritten);
    RegisteredPerson changed = *person;
    changed.password = password;
    status = rewriteRecords(serverName, site::adminRecordsFile(serverName), [&](const QList<Line> &lines) {
        Splice splice;
        for (qsizetype i = 0; i < lines.size(); ++i)
            if (lines[i].value == adminRecordOf(*person))
                splice.replace.insert(i, adminRecordOf(changed));
        return splice;
    });
    if (!status)
        return status;
    tell(probe, AdminRecordsRewritten);
    return Status::success();
}

namespace {

// Where one folder of a person goes: the first archive of that day that does not hold it yet.
QString archiveTarget(const QString &serverName, const QString &fullName, const QDate &date,
                      const QString &pieceName, QString &archive)
{
    const QString base = site::retiredArchive(serverName, fullName, date);
    for (int n = 1;; ++n) {
        archive = n == 1 ? base : base + QStringLiteral("-%1").arg(n);
        const QString target = archive + u'/' + pieceName;
        if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink())
            return target;
    }
}

Status makeFolderChain(const QString &path)
{
    if (QFileInfo(path).isDir() && !QFileInfo(path).isSymLink())
        return Status::success();
    const QString parent = QFileInfo(path).absolutePath();
    if (Status made = makeFolderChain(parent); !made)
        return made;
    if (Status linked = perumina::refuseLinks(path); !linked)
        return linked;
    if (!perumina::makeSharedFolder(path) && !QFileInfo(path).isDir())
        return perumina::writeFailure(path, perumina::lastFailureKind(parent));
    return Status::success();
}

struct FolderMove
{
    QString from;
    QString to;
    QString archive;
};

} // namespace

RetireResult retirePeople(const QString &serverName, const QStringList &fullNames, const QDate &date,
                          const AdminStepProbe &probe)
{
    RetireResult result;
    RegistryChange change(serverName);
    if (!change.status()) {
        result.status = change.status();
        return result;
    }
    const auto people = readRegisteredPeople(serverName);
    if (!people) {
        result.status = Status::failure(QStringLiteral("管理情報.txt を読めませんでした。"));
        return result;
    }
    QList<RegisteredPerson> leaving;
    QStringList asked = fullNames;
    asked.removeDuplicates();
    for (const QString &name : std::as_const(asked)) {
        bool known = false;
        for (const RegisteredPerson &p : *people) {
            if (p.fullName != name)
                continue;
            known = true;
            leaving.append(p);
        }
        if (!known && !result.unknown.contains(name))
            result.unknown.append(name);
    }
    if (!result.unknown.isEmpty()) {
        result.status =
            Status::failure(QStringLiteral("登録されていない本名があるため、何も変更しませんでした: %1")
                                .arg(result.unknown.join(QStringLiteral("、"))),
                            Status::Kind::Missing);
        return result;
    }
    for (const QString &path : {site::credentialsFile(serverName), site::userNamesFile(serverName),
                                site::fullNamesFile(serverName), site::adminRecordsFile(serverName)}) {
        if (Status usable = checkRegistryFile(path); !usable) {
            result.status = usable;
            return result;
        }
    }

    // Every move is planned and checked before anything is written: a name read from the share must
    // pass the name rule before it becomes a path, and a linked folder is not followed.
    QList<FolderMove> moves;
    QSet<QString> names;
    for (const RegisteredPerson &p : std::as_const(leaving)) {
        if (names.contains(p.fullName))
            continue;
        names.insert(p.fullName);
        if (const QString problem = site::nameProblem(p.fullName, site::NameKind::FullName);
            !problem.isEmpty()) {
            result.status = Status::failure(QStringLiteral("「%1」: %2").arg(p.fullName, problem));
            return result;
        }
        const std::pair<QString, QString> pieces[] = {
            {site::userFolder(serverName, p.fullName), p.fullName},
            {site::adminCopyFolder(serverName, p.fullName), kCopyFolderInArchive}};
        for (const auto &[folder, pieceName] : pieces) {
            const QString from = folder;
            const QFileInfo info(from);
            if (!info.exists() && !info.isSymLink())
                continue; // moved by an earlier run that stopped, or never made
            if (Status linked = perumina::refuseLinks(from); !linked) {
                result.status = linked;
                return result;
            }
            if (!info.isDir()) {
                result.status = Status::failure(
                    QStringLiteral("%1 がフォルダではないため移しませんでした。").arg(info.fileName()));
                return result;
            }
            FolderMove move;
            move.from = from;
            move.to = archiveTarget(serverName, p.fullName, date, pieceName, move.archive);
            moves.append(move);
            if (!result.archives.contains(move.archive))
                result.archives.append(move.archive);
        }
    }

    auto dropEach = [&](const std::function<QString(const RegisteredPerson &)> &recordOf) {
        return [&, recordOf](const QList<Line> &lines) {
            Splice splice;
            for (const RegisteredPerson &p : std::as_const(leaving))
                if (const qsizetype i = findLine(lines, recordOf(p), splice); i >= 0)
                    splice.drop.insert(i);
            return splice;
        };
    };
    auto fail = [&](Status status) {
        result.status = status;
        return result;
    };

    // The credentials first, so that nobody leaving can log in again while the rest is done.
    if (Status s =
            rewriteRecords(serverName, site::credentialsFile(serverName),
                           dropEach([](const RegisteredPerson &p) { return p.userName + p.password; }));
        !s)
        return fail(s);
    tell(probe, RetireCredentialsRewritten);
    for (const FolderMove &move : std::as_const(moves)) {
        if (Status made = makeFolderChain(QFileInfo(move.to).absolutePath()); !made)
            return fail(made);
        if (Status linked = perumina::refuseLinks(move.to); !linked)
            return fail(linked);
        if (!QDir().rename(move.from, move.to))
            return fail(Status::failure(QStringLiteral("%1 を %2 へ移せませんでした。")
                                            .arg(QFileInfo(move.from).fileName(), move.archive)));
        tell(probe, RetireFoldersMoved);
    }
    if (Status s = rewriteRecords(serverName, site::userNamesFile(serverName),
                                  dropEach([](const RegisteredPerson &p) { return p.userName; }));
        !s)
        return fail(s);
    tell(probe, RetireUserNamesRewritten);
    if (Status s = rewriteRecords(serverName, site::fullNamesFile(serverName),
                                  dropEach([](const RegisteredPerson &p) { return p.fullName; }));
        !s)
        return fail(s);
    tell(probe, RetireFullNamesRewritten);
    if (Status s = rewriteRecords(serverName, site::adminRecordsFile(serverName), dropEach(adminRecordOf));
        !s)
        return fail(s);
    tell(probe, RetireAdminRecordsRewritten);
    return result;
}

Status checkStaffRights(const QString &serverName)
{
    const QString path = site::administratorsFile(serverName);
    const QFileInfo info(path);
    QFile file(path);
    if (info.isFile() && !info.isSymLink() && file.open(QIODevice::ReadOnly))
        return Status::success();
    return Status::failure(
        QStringLiteral("この作業は職員のアカウント（管理者情報.txt を読めるアカウント）で行って下さい: %1")
            .arg(path),
        Status::Kind::NoPermission);
}

namespace {

Status usableRecord(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || (info.exists() && !info.isFile()))
        return Status::failure(
            QStringLiteral("管理作業記録 %1 がリンクか普通のファイルではないため書き込みませんでした。")
                .arg(path),
            Status::Kind::NoPermission);
    return Status::success();
}

} // namespace

Status checkAdministrationRecord(const QString &serverName)
{
    Q_UNUSED(serverName);
    const QString path = site::administrationRecord();
    if (Status usable = usableRecord(path); !usable)
        return usable;
    QFile file(path);
    const bool writable = file.exists() ? file.open(QIODevice::WriteOnly | QIODevice::Append)
                                        : QFileInfo(QFileInfo(path).absolutePath()).isWritable();
    if (!writable)
        return Status::failure(QStringLiteral("管理作業記録 %1 に書き込めません。").arg(path),
                               Status::Kind::NoPermission);
    return Status::success();
}

// On a staff-room server the record belongs to the staff, like the administrator file, so that every
// administrator's account can add to it and no pupil's can.
static Status giveRecordToStaff(const QString &serverName, const QString &path)
{
#ifndef Q_OS_WIN
    struct stat admins;
    if (::stat(QFile::encodeName(site::administratorsFile(serverName)).constData(), &admins) != 0 ||
        (admins.st_mode & S_IROTH) != 0)
        return Status::success();
    const QByteArray native = QFile::encodeName(path);
    if (::chown(native.constData(), static_cast<uid_t>(-1), admins.st_gid) != 0 ||
        ::chmod(native.constData(), 0660) != 0)
        return Status::failure(QStringLiteral("管理作業記録 %1 の権限を設定できませんでした。").arg(path),
                               Status::Kind::NoPermission);
#else
    Q_UNUSED(serverName);
    Q_UNUSED(path);
#endif
    return Status::success();
}

Status appendAdministrationRecord(const QString &serverName, const QDateTime &when, const QString &who,
                                  const QString &what)
{
    const QString path = site::administrationRecord();
    if (Status usable = usableRecord(path); !usable)
        return usable;
    // One line of four quoted fields, as the system's other records are written.
    QStringList quoted;
    for (const QString &value :
         {perumina::formatDate(when.date()), perumina::formatTime(when.time()), who, what})
        quoted.append(u'"' + value + u'"');
    const auto line = perumina::encodeCp932(quoted.join(u',') + QStringLiteral("\r\n"));
    if (!line)
        return Status::failure(perumina::unencodableMessage(QString()));
    // No lock file: the staff may write the record but not the site root beside it. The record stays
    // on this computer, where one appending write of a line is not interleaved with another.
    const bool existed = QFileInfo::exists(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) ||
        file.write(*line) != line->size())
        return Status::failure(
            QStringLiteral("管理作業記録 %1 に書き込めませんでした。（%2）").arg(path, file.errorString()),
            Status::Kind::NoPermission);
    file.close();
    return existed ? Status::success() : giveRecordToStaff(serverName, path);
}

QString passwordResetRecord(const QString &userName, const QString &fullName)
{
    return QStringLiteral("パスワードを変更: %1（%2）").arg(userName, fullName);
}

QString retireRecord(const RetireResult &result, const QStringList &fullNames)
{
    const QString names = fullNames.join(QStringLiteral("、"));
    if (result.status)
        return QStringLiteral("退会: %1").arg(names);
    // A retire that stopped part-way has changed files; one refused for an unknown name has not.
    if (!result.unknown.isEmpty())
        return {};
    return QStringLiteral("退会（途中で失敗: %1）: %2").arg(result.status.error, names);
}

} // namespace client
