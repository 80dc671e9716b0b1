#include "boards/lunch/ui/form1.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    const bool admin = PERUMINA_ADMIN_VARIANT;
    QApplication::setApplicationName(admin ? QStringLiteral("LunchBoardS") : QStringLiteral("LunchBoardC"));
    perumina::ProgramSeams real;
    boards::lunch::Form1 form(admin ? boards::lunch::Variant::Admin : boards::lunch::Variant::Classroom,
                              real.seams());
    form.Form_Load();
    return real.exec();
}
