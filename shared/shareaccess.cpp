#include "shared/shareaccess.h"

#include <QDir>
#include <QFile>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace perumina {

QFileDevice::Permissions sharedFilePermissions(QFileDevice::Permissions current)
{
#ifdef Q_OS_WIN
    return current;
#else
    return current | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
#endif
}

bool grantGroupAccess(const QString &path)
{
#ifdef Q_OS_WIN
    Q_UNUSED(path);
    return true;
#else
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::lstat(native.constData(), &info) != 0 || S_ISLNK(info.st_mode))
        return false;
    mode_t mode = info.st_mode & 07777;
    mode |= S_IRGRP | S_IWGRP;
    if (S_ISDIR(info.st_mode))
        mode |= S_IXGRP | S_ISGID;
    return mode == (info.st_mode & 07777) || ::chmod(native.constData(), mode) == 0;
#endif
}

bool makeSharedFolder(const QString &path)
{
    if (!QDir().mkdir(path))
        return false;
    grantGroupAccess(path);
    return true;
}

} // namespace perumina
