#include "shared/sharedfile.h"

#include "shared/busy.h"
#include "shared/paths.h"
#include "shared/shareaccess.h"
#include "shared/site.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QThread>

namespace perumina {

static constexpr int kStaleLockMs = 30000;
static constexpr int kReplaceRetryMs = 2000;
static constexpr int kEmptyLockMs = 2000;

static QString fileName(const QString &mapped)
{
    return QFileInfo(mapped).fileName();
}

SharedFileLock::SharedFileLock(const QString &path)
    : lockPath_(mapPath(site::lockPath(path))), lock_(std::make_unique<QLockFile>(lockPath_))
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
    // Short randomised polls instead of QLockFile's growing sleeps, so that a computer that has been
    // waiting is not starved by others that keep taking the lock for a few milliseconds each.
    QDeadlineTimer deadline(timeoutMs);
    BusyWait busy;
    for (;;) {
        if (lock_->tryLock(0))
            return true;
        removeAbandonedLock();
        if (lock_->error() == QLockFile::PermissionError || lock_->error() == QLockFile::UnknownError ||
            deadline.hasExpired())
            return false;
        busy.waiting();
        QThread::msleep(QRandomGenerator::global()->bounded(2, 20));
    }
}

void SharedFileLock::release()
{
    lock_->unlock();
}

bool SharedFileLock::isLocked() const
{
    return lock_->isLocked();
}

static Status lockFailure(const QString &mapped, const SharedFileLock &)
{
    if (!QFileInfo(QFileInfo(mapped).absolutePath()).isDir())
        return Status::failure(
            QStringLiteral("%1 の保存先のフォルダが見つかりません。").arg(fileName(mapped)));
    return Status::failure(
        QStringLiteral("%1 は他のコンピュータが使用中のため書き込めませんでした。").arg(fileName(mapped)));
}

Status replaceFileAtomically(const QString &path, const QByteArray &bytes)
{
    const QString mapped = mapPath(path);
    QDeadlineTimer deadline(kReplaceRetryMs);
    BusyWait busy;
    int pause = 20;
    QString lastError;
    for (;;) {
        QSaveFile file(mapped);
        if (file.open(QIODevice::WriteOnly)) {
            // The new file takes the old one's permissions, or the umask's for a new one; either may
            // shut other accounts out.
            file.setPermissions(sharedFilePermissions(file.permissions()));
            if (file.write(bytes) == bytes.size() && file.commit())
                return Status::success();
            lastError = file.errorString();
            file.cancelWriting();
        } else {
            lastError = file.errorString();
            // A missing folder does not appear by waiting.
            if (!QFileInfo(QFileInfo(mapped).absolutePath()).isDir())
                break;
        }
        if (deadline.hasExpired())
            break;
        busy.waiting();
        QThread::msleep(pause);
        pause = qMin(pause * 2, 400);
    }
    return Status::failure(
        QStringLiteral("%1 に書き込めませんでした。（%2）").arg(fileName(mapped), lastError));
}

Status appendLocked(const QString &path, const QByteArray &bytes)
{
    const QString mapped = mapPath(path);
    SharedFileLock lock(mapped);
    if (!lock.acquire())
        return lockFailure(mapped, lock);
    return appendHoldingLock(mapped, bytes);
}

Status appendHoldingLock(const QString &path, const QByteArray &bytes)
{
    const QString mapped = mapPath(path);
    QFile file(mapped);
    const bool existed = file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return Status::failure(
            QStringLiteral("%1 に書き込めませんでした。（%2）").arg(fileName(mapped), file.errorString()));
    if (!existed)
        grantGroupAccess(mapped);
    if (file.write(bytes) != bytes.size() || !file.flush())
        return Status::failure(
            QStringLiteral("%1 に書き込めませんでした。（%2）").arg(fileName(mapped), file.errorString()));
    file.close();
    return Status::success();
}

Status rewriteLocked(const QString &path, const ContentEdit &edit)
{
    const QString mapped = mapPath(path);
    SharedFileLock lock(mapped);
    if (!lock.acquire())
        return lockFailure(mapped, lock);
    QByteArray content;
    QFile file(mapped);
    const bool existed = file.exists();
    if (existed) {
        if (!file.open(QIODevice::ReadOnly))
            return Status::failure(
                QStringLiteral("%1 を読めませんでした。（%2）").arg(fileName(mapped), file.errorString()));
        content = file.readAll();
        const bool readOk = file.error() == QFileDevice::NoError;
        file.close();
        if (!readOk)
            return Status::failure(QStringLiteral("%1 を読めませんでした。").arg(fileName(mapped)));
    }
    if (!edit(content, existed))
        return Status::success();
    return replaceFileAtomically(mapped, content);
}

} // namespace perumina
