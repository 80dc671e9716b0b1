#include "shared/singleinstance.h"

#include "shared/paths.h"

#include <QCryptographicHash>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace perumina {

SingleInstance::SingleInstance(const QString &programName) : programName_(programName)
{
    const QString folder = personalSiteFolder();
    if (!folder.isEmpty())
        path_ = folder + u'/' + programName + QStringLiteral(".lock");
}

SingleInstance::~SingleInstance()
{
#ifdef Q_OS_WIN
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
#else
    if (fd_ >= 0)
        ::close(fd_); // also releases the lock; the file stays, harmless and reused
#endif
}

bool SingleInstance::acquire()
{
#ifdef Q_OS_WIN
    if (handle_)
        return true;
    // A mutex of this logon session, named after the site; Windows drops it with the last handle.
    const QByteArray site =
        QCryptographicHash::hash(canonicalSiteRoot().toLower().toUtf8(), QCryptographicHash::Sha1).toHex();
    const QString name = QStringLiteral("Local\\perumina-%1-%2").arg(programName_, QString::fromLatin1(site));
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex)
        return true;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    handle_ = mutex;
    return true;
#else
    if (fd_ >= 0)
        return true;
    if (path_.isEmpty())
        return true;
    const int fd =
        ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return !held;
    }
    fd_ = fd;
    return true;
#endif
}

} // namespace perumina
