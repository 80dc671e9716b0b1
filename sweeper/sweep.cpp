#include "sweeper/sweep.h"

#include "shared/seams.h"
#include "shared/site.h"

#include <QFile>

namespace sweeper {

bool sweepInboxCopy()
{
    const QString path = perumina::site::localInboxCopy();
    QFile::remove(path);
    return !QFile::exists(path);
}

void startSweeper(perumina::Launcher &launcher)
{
    if (!launcher.start(perumina::site::sweeperProgram()))
        sweepInboxCopy();
}

} // namespace sweeper
