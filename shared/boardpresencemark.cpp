#include "shared/boardpresencemark.h"

#include "shared/boardpresence.h"
#include "shared/site.h"

#include <QCoreApplication>
#include <QSysInfo>

#if defined(Q_OS_UNIX)
#include <pwd.h>
#include <unistd.h>
#endif

namespace perumina {

QString accountName()
{
#if defined(Q_OS_UNIX)
    if (const passwd *entry = getpwuid(geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

BoardPresence::BoardPresence()
{
    timer_.setInterval(kRefreshMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] { refresh(); });
}

BoardPresence::~BoardPresence()
{
    remove();
}

bool BoardPresence::create(const QString &serverName, const QString &program)
{
    folder_ = site::presenceFolder(serverName);
    program_ = program;
    timer_.start();
    return refresh();
}

bool BoardPresence::refresh()
{
    if (folder_.isEmpty())
        return false;
    const OpenBoard board{program_, QSysInfo::machineHostName(), accountName()};
    const QString written = writePresenceMark(folder_, board, QCoreApplication::applicationPid());
    if (written.isEmpty())
        return false;
    path_ = written;
    return true;
}

void BoardPresence::remove()
{
    timer_.stop();
    folder_.clear();
    removePresenceMark(path_);
    path_.clear();
}

} // namespace perumina
