#include "sweeper/sweep.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/seams.h"

#include <QFile>

namespace sweeper {

bool sweepInboxCopy()
{
    const QString path = perumina::inboxCopyPath();
    QFile::remove(path);
    return !QFile::exists(path);
}

void startSweeper(perumina::Launcher &launcher)
{
    if (!launcher.start(perumina::local::kSweeper))
        sweepInboxCopy();
}

} // namespace sweeper
