#pragma once

#include "shared/status.h"

#include <QByteArray>
#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

namespace perumina {

// The lock that guards one shared file against the other computers: NAME.lock beside it, judged
// stale after 30 s. The data file itself is never locked, since a rename replaces it.
class SharedFileLock
{
public:
    explicit SharedFileLock(const QString &path);
    ~SharedFileLock();
    SharedFileLock(const SharedFileLock &) = delete;
    SharedFileLock &operator=(const SharedFileLock &) = delete;

    // Waits up to timeoutMs for the lock; false when another holder keeps it that long or the folder
    // cannot take a lock file.
    bool acquire(int timeoutMs = 10000);
    void release();
    bool isLocked() const;
    // Why the last acquire failed, for the message: in use, no permission, disk full or missing, or a
    // stale lock that cannot be removed (named with its path).
    Status failure() const;

private:
    void removeAbandonedLock();
    void clearForeignLock();

    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    bool uncleared_ = false; // something stale lies at the lock path that cannot be removed
};

// Replaces the whole file with bytes: written beside it and renamed over it, so a reader sees the old
// or the new file and a crash leaves the old one whole. A rename refused because the file is open
// elsewhere is retried for about two seconds. Takes no lock; callers that merge hold one.
Status replaceFileAtomically(const QString &path, const QByteArray &bytes);

// Appends bytes under the file's lock; creates the file when missing. All or nothing: a failed append
// cuts the file back to its old length, and after a last line left without its line end (a writer
// killed part-way) the bytes start on a new line, so a record is never glued onto a partial one.
Status appendLocked(const QString &path, const QByteArray &bytes, int lockTimeoutMs = 10000);
// The same, for a caller that already holds the file's lock (or a lock that guards it).
Status appendHoldingLock(const QString &path, const QByteArray &bytes);

// Every pupil can write to the share, so a symbolic link planted there (or in the local folder) could
// send a write anywhere the user may write. A write is refused when the file itself, or any folder
// below the share folder or the local folder on its way, is a link; the share folder itself may be
// one (a school links it to the mounted share). Outside the site only the file itself is checked.
// Every write of this module checks it; callers that create folders or files themselves call it.
Status refuseLinks(const QString &path);

// Age in milliseconds of whatever is at a local path, the thing itself and not what a link points to;
// -1 when nothing is there.
qint64 entryAgeMs(const QString &path);

// The failure of a write to path, worded for its kind; detail (a reason in the user's words, see
// reasonOf) is shown only for a failure of no known kind.
Status writeFailure(const QString &path, Status::Kind kind, const QString &detail = {});
// The system's error number (errno) as a reason a user can be shown; empty for one of no known kind.
// The system's own error texts are English and never reach a message.
QString reasonOf(int error);
// The kind of the failure a file call just reported (read from the system's last error), falling
// back to a look at the free space of folder.
Status::Kind lastFailureKind(const QString &folder, qint64 wanted = 1);

// Reads the file (empty when missing, existed=false), lets edit change the content, and replaces the
// file with it, all under the file's lock. edit returns false to leave the file as it is.
using ContentEdit = std::function<bool(QByteArray &content, bool existed)>;
Status rewriteLocked(const QString &path, const ContentEdit &edit);

} // namespace perumina
