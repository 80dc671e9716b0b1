#include "boards/lunch/ui/form1.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    const bool admin = PERUMINA_ADMIN_VARIANT;
    QApplication::setApplicationName(admin ? QStringLiteral("LunchBoardS") : QStringLiteral("LunchBoardC"));
    perumina::MessageBoxDialogs dialogs;
    perumina::ProcessLauncher launcher;
    perumina::SystemClock clock;
    perumina::QuitProgramEnd end;
    boards::lunch::Form1 form(admin ? boards::lunch::Variant::Admin : boards::lunch::Variant::Classroom,
                              {dialogs, launcher, clock, end});
    form.Form_Load();
    if (end.ended())
        return 0;
    return QApplication::exec();
}
