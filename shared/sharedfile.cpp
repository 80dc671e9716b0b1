#include "shared/sharedfile.h"

#include "shared/boundedread.h"
#include "shared/busy.h"
#include "shared/paths.h"
#include "shared/shareaccess.h"
#include "shared/site.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStorageInfo>
#include <QThread>
#include <cerrno>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace perumina {

static constexpr int kStaleLockMs = 30000;
static constexpr int kReplaceRetryMs = 2000;
static constexpr int kEmptyLockMs = 2000;

static QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

SharedFileLock::SharedFileLock(const QString &path)
    : lockPath_(site::lockPath(path)), lock_(std::make_unique<QLockFile>(lockPath_))
{
    lock_->setStaleLockTime(kStaleLockMs);
}

SharedFileLock::~SharedFileLock() = default;

// A holder killed between creating the lock file and writing its name into it leaves an empty file
// that QLockFile could only judge by its 30 s age; nobody writes for that long, so remove it sooner.
void SharedFileLock::removeAbandonedLock()
{
    const QFileInfo info(lockPath_);
    if (info.exists() && info.size() == 0 &&
        info.lastModified().msecsTo(QDateTime::currentDateTime()) > kEmptyLockMs)
        lock_->removeStaleLockFile();
}

bool SharedFileLock::acquire(int timeoutMs)
{
    // A lock file made through a planted link would be made wherever the link points.
    if (!refuseLinks(QFileInfo(lockPath_).absolutePath() + QStringLiteral("/x")))
        return false;
    // Short randomised polls instead of QLockFile's growing sleeps, so that a computer that has been
    // waiting is not starved by others that keep taking the lock for a few milliseconds each.
    QDeadlineTimer deadline(timeoutMs);
    BusyWait busy;
    for (;;) {
        if (lock_->tryLock(0))
            return true;
        removeAbandonedLock();
        clearForeignLock();
        if (lock_->error() == QLockFile::PermissionError || lock_->error() == QLockFile::UnknownError ||
            uncleared_ || deadline.hasExpired())
            return false;
        busy.waiting();
        QThread::msleep(QRandomGenerator::global()->bounded(2, 20));
    }
}

qint64 entryAgeMs(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return QDateTime::fromSecsSinceEpoch(st.st_mtime).msecsTo(QDateTime::currentDateTime());
#else
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return -1;
    return info.lastModified().msecsTo(QDateTime::currentDateTime());
#endif
}

// A folder, a link (dangling or not) or anything else at the lock path that is not a plain file can
// never be taken over by QLockFile, so every write would wait and fail for good. Once it is older than
// the stale time it is cleared like a stale lock; a plain file QLockFile judges itself, but one it
// cannot take over either (unreadable, or not removable) is cleared here too. What cannot be removed
// is remembered, so that the failure names it instead of calling the file busy.
void SharedFileLock::clearForeignLock()
{
    const QFileInfo info(lockPath_);
    if (!info.isSymLink() && !info.exists())
        return;
    if (entryAgeMs(lockPath_) <= kStaleLockMs)
        return;
    if (info.isDir() && !info.isSymLink())
        QDir(lockPath_).removeRecursively();
    else
        QFile::remove(lockPath_);
    if (entryAgeMs(lockPath_) >= 0)
        uncleared_ = true;
}
void SharedFileLock::release()
{
    lock_->unlock();
}

bool SharedFileLock::isLocked() const
{
    return lock_->isLocked();
}

Status writeFailure(const QString &path, Status::Kind kind, const QString &detail)
{
    const QString name = fileName(path);
    using Kind = Status::Kind;
    switch (kind) {
    case Kind::InUse:
        return Status::failure(
            QStringLiteral("%1 は他のコンピュータが使用中のため書き込めませんでした。").arg(name), kind);
    case Kind::NoPermission:
        return Status::failure(
            QStringLiteral("%1 に書き込む権限がありません。担任の先生に知らせて下さい。").arg(name), kind);
    case Kind::DiskFull:
        return Status::failure(
            QStringLiteral("ディスクがいっぱいで %1 に書き込めませんでした。担任の先生に知らせて下さい。")
                .arg(name),
            kind);
    case Kind::Missing:
        return Status::failure(QStringLiteral("%1 の保存先のフォルダが見つかりません。").arg(name), kind);
    case Kind::None:
    case Kind::Other:
        break;
    }
    if (detail.isEmpty())
        return Status::failure(QStringLiteral("%1 に書き込めませんでした。").arg(name), Kind::Other);
    return Status::failure(QStringLiteral("%1 に書き込めませんでした。（%2）").arg(name, detail),
                           Kind::Other);
}

QString reasonOf(int error)
{
    switch (error) {
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EIO:
        return QStringLiteral("読み書きの途中で誤りが起きました");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("使用中です");
    case EISDIR:
        return QStringLiteral("同じ名前のフォルダがあります");
    case EMFILE:
    case ENFILE:
    case ENOMEM:
        return QStringLiteral("コンピュータの資源が足りません");
    default:
        return {};
    }
}

// The folder below which no link is allowed: ROOT/unc/SERVER/SHARE for the share, ROOT/c/group for
// the local folder (the Windows paths themselves on Windows); empty for any other path.
static QString siteAnchor(const QString &local)
{
    const QString path = QDir::fromNativeSeparators(local);
#ifdef Q_OS_WIN
    const QStringList parts = path.split(u'/');
    if (path.startsWith(QStringLiteral("//")) && parts.size() > 4)
        return parts.mid(0, 4).join(u'/'); // "", "", SERVER, SHARE
    if (path.size() > 2 && path[1] == u':' && parts.size() > 2 &&
        parts[1].compare(QStringLiteral("group"), Qt::CaseInsensitive) == 0)
        return parts.mid(0, 2).join(u'/');
    return {};
#else
    const QString root = siteRoot() + u'/';
    if (!path.startsWith(root))
        return {};
    const QStringList parts = path.mid(root.size()).split(u'/');
    if (parts.size() > 3 && parts[0] == QStringLiteral("unc"))
        return root + parts.mid(0, 3).join(u'/');
    if (parts.size() > 2 && parts[0] == QStringLiteral("c") && parts[1] == QStringLiteral("group"))
        return root + QStringLiteral("c/group");
    return {};
#endif
}

Status refuseLinks(const QString &path)
{
    const QString local = QDir::fromNativeSeparators(path);
    const QString anchor = siteAnchor(local);
    qsizetype from = anchor.isEmpty() ? local.lastIndexOf(u'/') + 1 : anchor.size() + 1;
    for (;;) {
        const qsizetype slash = local.indexOf(u'/', from);
        const QString step = slash < 0 ? local : local.left(slash);
        const QFileInfo info(step);
        if (info.isSymLink())
            return Status::failure(
                QStringLiteral(
                    "%1 はリンクになっているため書き込みませんでした。担任の先生に知らせて下さい。")
                    .arg(info.fileName()),
                Status::Kind::NoPermission);
        if (slash < 0 || !info.exists())
            return Status::success();
        from = slash + 1;
    }
}

Status::Kind lastFailureKind(const QString &folder, qint64 wanted)
{
    using Kind = Status::Kind;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        return Kind::Missing;
    case EACCES:
    case EPERM:
    case EROFS:
        return Kind::NoPermission;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Kind::DiskFull;
    default:
        break;
    }
    if (!QFileInfo(folder).isDir())
        return Kind::Missing;
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0 &&
        storage.bytesAvailable() < qMax<qint64>(wanted, 1))
        return Kind::DiskFull;
    return Kind::Other;
}

Status SharedFileLock::failure() const
{
    const QString target = lockPath_.chopped(5);
    if (Status linked = refuseLinks(target); !linked)
        return linked;
    const QString folder = QFileInfo(target).absolutePath();
    if (!QFileInfo(folder).isDir())
        return writeFailure(target, Status::Kind::Missing);
    if (uncleared_)
        return Status::failure(
            QStringLiteral(
                "%1 に書き込めませんでした。古いロック %2 を削除できません。管理者に知らせて下さい。")
                .arg(fileName(target), QDir::toNativeSeparators(lockPath_)),
            Status::Kind::NoPermission);
    switch (lock_->error()) {
    case QLockFile::LockFailedError:
    case QLockFile::NoError:
        return writeFailure(target, Status::Kind::InUse);
    case QLockFile::PermissionError:
        return writeFailure(target, Status::Kind::NoPermission);
    case QLockFile::UnknownError:
        break;
    }
    // QLockFile reports a lock file it could create but not fill as an unknown error.
    const QStorageInfo storage(folder);
    if (storage.isValid() && storage.bytesAvailable() >= 0 && storage.bytesAvailable() < 4096)
        return writeFailure(target, Status::Kind::DiskFull);
    return writeFailure(target, Status::Kind::Other, QStringLiteral("ロックを作れません"));
}

Status replaceFileAtomically(const QString &path, const QByteArray &bytes)
{
    QDeadlineTimer deadline(kReplaceRetryMs);
    BusyWait busy;
    int pause = 20;
    if (Status linked = refuseLinks(path); !linked)
        return linked;
    const QString folder = QFileInfo(path).absolutePath();
    QString lastError;
    Status::Kind kind = Status::Kind::Other;
    for (;;) {
        QSaveFile file(path);
        errno = 0;
        if (file.open(QIODevice::WriteOnly)) {
            // The new file takes the old one's permissions, or the umask's for a new one; either may
            // shut other accounts out.
            file.setPermissions(sharedFilePermissions(file.permissions()));
            if (file.write(bytes) == bytes.size() && file.commit())
                return Status::success();
            lastError = reasonOf(errno);
            kind = lastFailureKind(folder, bytes.size());
            file.cancelWriting();
        } else {
            lastError = reasonOf(errno);
            kind = lastFailureKind(folder, bytes.size());
        }
        // A missing folder, a read-only share or a full disk does not change by waiting.
#ifdef Q_OS_WIN
        const bool lasting = kind == Status::Kind::Missing || kind == Status::Kind::DiskFull;
#else
        const bool lasting = kind != Status::Kind::Other;
#endif
        if (lasting || deadline.hasExpired())
            break;
        busy.waiting();
        QThread::msleep(pause);
        pause = qMin(pause * 2, 400);
    }
    return writeFailure(path, kind, lastError);
}

Status appendLocked(const QString &path, const QByteArray &bytes, int lockTimeoutMs)
{
    SharedFileLock lock(path);
    if (!lock.acquire(lockTimeoutMs))
        return lock.failure();
    return appendHoldingLock(path, bytes);
}

Status appendHoldingLock(const QString &path, const QByteArray &bytes)
{
    if (Status linked = refuseLinks(path); !linked)
        return linked;
    const QString folder = QFileInfo(path).absolutePath();
    QFile file(path);
    const bool existed = file.exists();
    errno = 0;
    if (!file.open(QIODevice::ReadWrite | QIODevice::Append | QIODevice::Unbuffered)) {
        const QString why = reasonOf(errno);
        return writeFailure(path, lastFailureKind(folder), why);
    }
    if (!existed)
        grantGroupAccess(path);
    const qint64 oldSize = file.size();
    QByteArray record;
    if (oldSize > 0 && file.seek(oldSize - 1) && file.read(1) != "\n")
        record = "\r\n"; // the partial line of a killed writer stays as it is; readers skip it
    record += bytes;
    // One write, so that a writer killed now leaves at most a partial last line, never a torn start.
    errno = 0;
    if (file.write(record) != record.size() || !file.flush()) {
        const QString why = reasonOf(errno);
        const Status::Kind kind = lastFailureKind(folder, record.size());
        file.resize(oldSize);
        return writeFailure(path, kind, why);
    }
    file.close();
    return Status::success();
}

Status rewriteLocked(const QString &path, const ContentEdit &edit)
{
    SharedFileLock lock(path);
    if (!lock.acquire())
        return lock.failure();
    QByteArray content;
    const QFileInfo info(path);
    const bool existed = info.exists() || info.isSymLink();
    if (existed) {
        // A rewrite from a part would drop the rest, so beyond its limit the file is left as it is.
        BoundedRead read = readBounded(path);
        if (read.partial)
            return Status::failure(
                QStringLiteral(
                    "%1 が大きすぎるため（%2 を超えています）書き込みませんでした。管理者に知らせて下さい。")
                    .arg(fileName(path), limitText(readLimit(fileKindOf(path)).bytes)));
        if (!read.bytes)
            return Status::failure(read.problem.isEmpty()
                                       ? QStringLiteral("%1 を読めませんでした。").arg(fileName(path))
                                       : read.problem);
        content = std::move(*read.bytes);
    }
    if (!edit(content, existed))
        return Status::success();
    return replaceFileAtomically(path, content);
}

} // namespace perumina
