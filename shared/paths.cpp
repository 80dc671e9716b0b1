#include "shared/paths.h"

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace perumina {

QString siteRoot()
{
    const QString root = qEnvironmentVariable("PERUMINA_ROOT");
    if (!root.isEmpty())
        return QDir::cleanPath(root);
    return QDir::homePath() + QStringLiteral("/.perumina");
}

QString canonicalSiteRoot()
{
    const QString absolute = QDir::cleanPath(QFileInfo(siteRoot()).absoluteFilePath());
    const QString canonical = QFileInfo(absolute).canonicalFilePath();
    return canonical.isEmpty() ? absolute : canonical;
}

// A folder only its owner may enter: made 0700, and refused when it is someone else's or a link.
static bool isOwnPrivateFolder(const QString &path)
{
    if (!QFileInfo(path).isSymLink() && !QFileInfo(path).isDir() && !QDir().mkpath(path))
        return false;
    const QFileInfo info(path);
    if (info.isSymLink() || !info.isDir())
        return false;
#ifndef Q_OS_WIN
    if (info.ownerId() != ::getuid())
        return false;
#endif
    return QFile::setPermissions(path,
                                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString personalSiteFolder()
{
    const QString site = QString::fromLatin1(
        QCryptographicHash::hash(canonicalSiteRoot().toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    const QString name = QStringLiteral("perumina-") + site;
    // The runtime folder only where the session names one: Qt otherwise warns and makes one in /tmp.
    const QString runtime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")
                                ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                : QString();
    for (const QString &base :
         {runtime, QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)}) {
        if (base.isEmpty())
            continue;
        const QString folder = base + u'/' + name;
        if (isOwnPrivateFolder(folder))
            return folder;
    }
    // An account with neither (no home folder, no session): a folder of the account's own in the
    // system's temporary folder, which every account can write to. One planted there by another
    // account, or a link, is refused by the same check.
#ifdef Q_OS_WIN
    const QString account = QDir::tempPath();
#else
    const QString account = QDir::tempPath() + QStringLiteral("/perumina-%1").arg(::getuid());
#endif
    if (isOwnPrivateFolder(account) && isOwnPrivateFolder(account + u'/' + name))
        return account + u'/' + name;
    return QString();
}

static bool isDrivePath(const QString &path)
{
    return path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 128 && path[1] == u':' &&
           (path[2] == u'\\' || path[2] == u'/');
}

static bool isUncPath(const QString &path)
{
    return path.startsWith(QStringLiteral("\\\\"));
}

bool isWindowsPath(const QString &path)
{
    return isDrivePath(path) || isUncPath(path);
}

QString mapPath(const QString &path)
{
#ifdef Q_OS_WIN
    return path;
#else
    QString tail;
    if (isUncPath(path))
        tail = QStringLiteral("unc/") + path.mid(2);
    else if (isDrivePath(path))
        tail = path[0].toLower() + QStringLiteral("/") + path.mid(3);
    else
        return path;
    tail.replace(u'\\', u'/');
    return siteRoot() + u'/' + tail;
#endif
}

QString systemName(const QString &path)
{
#ifdef Q_OS_WIN
    return path;
#else
    const QString root = siteRoot() + u'/';
    QString name;
    if (path.startsWith(root + QStringLiteral("unc/")))
        name = QStringLiteral("\\\\") + path.mid(root.size() + 4);
    else if (path.startsWith(root + QStringLiteral("c/")))
        name = QStringLiteral("c:\\") + path.mid(root.size() + 2);
    else
        return path;
    return name.replace(u'/', u'\\');
#endif
}

} // namespace perumina
