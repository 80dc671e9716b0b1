#include "admin/ui/adminapp.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaAdmin"));
    perumina::MessageBoxDialogs dialogs;
    perumina::ProcessLauncher launcher;
    perumina::SystemClock clock;
    perumina::QuitProgramEnd end;
    admin::AdminApp app({dialogs, launcher, clock, end});
    app.start();
    if (end.ended())
        return 0;
    return QApplication::exec();
}
