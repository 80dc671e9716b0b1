#include "shared/paths.h"

#include <QDir>
#include <QRegularExpression>

namespace perumina {

QString siteRoot()
{
    const QString root = qEnvironmentVariable("PERUMINA_ROOT");
    if (!root.isEmpty())
        return QDir::cleanPath(root);
    return QDir::homePath() + QStringLiteral("/.perumina");
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

} // namespace perumina
