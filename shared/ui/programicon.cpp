#include "shared/ui/programicon.h"

#include <QApplication>
#include <QIcon>

// The resource lives in a static library, so it is registered by hand before first use.
static void initProgramIcons()
{
    Q_INIT_RESOURCE(programicons);
}

namespace perumina {

void setProgramIcon(ProgramIcon icon)
{
    initProgramIcons();
    const bool classroom = icon == ProgramIcon::Classroom;
    QApplication::setWindowIcon(QIcon(classroom ? QStringLiteral(":/perumina/perumina-client.png")
                                                : QStringLiteral(":/perumina/perumina-admin.png")));
}

} // namespace perumina
