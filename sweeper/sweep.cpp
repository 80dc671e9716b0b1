#include "sweeper/sweep.h"

#include "shared/paths.h"
#include "shared/records.h"

#include <QFile>

namespace sweeper {

bool sweepInboxCopy()
{
    const QString path = perumina::mapPath(perumina::local::kInboxCopy);
    QFile::remove(path);
    return !QFile::exists(path);
}

} // namespace sweeper
