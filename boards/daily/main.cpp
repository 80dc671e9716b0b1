#include "boards/daily/ui/form1.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    const bool admin = PERUMINA_ADMIN_VARIANT;
    QApplication::setApplicationName(admin ? QStringLiteral("DayBoardS") : QStringLiteral("DayBoardC"));
    perumina::ProgramSeams real;
    boards::daily::Form1 form(admin ? boards::daily::Variant::Admin : boards::daily::Variant::Classroom,
                              real.seams());
    form.Form_Load();
    return real.exec();
}
