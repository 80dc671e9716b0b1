#include "boards/monthly/ui/form1.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    const bool admin = PERUMINA_ADMIN_VARIANT;
    QApplication::setApplicationName(admin ? QStringLiteral("MonthBoardS") : QStringLiteral("MonthBoardC"));
    perumina::ProgramSeams real;
    boards::monthly::Form1 form(admin ? boards::monthly::Variant::Admin : boards::monthly::Variant::Classroom,
                                real.seams());
    form.Form_Load();
    return real.exec();
}
