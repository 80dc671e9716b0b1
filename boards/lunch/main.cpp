#include "boards/lunch/ui/form1.h"
#include "shared/commandline.h"
#include "shared/ui/messagedialogs.h"
#include "shared/ui/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    const bool admin = PERUMINA_ADMIN_VARIANT;
    const QString name = admin ? QStringLiteral("LunchBoardS") : QStringLiteral("LunchBoardC");
    if (const auto code = perumina::answerHelpOrVersion(
            argc, argv, name,
            admin ? QStringLiteral("給食の予定（職員室用、書き込みできます）を表示します。")
                  : QStringLiteral("給食の予定（教室用、表示のみ）を表示します。")))
        return *code;
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(name);
    perumina::setProgramIcon(admin ? perumina::ProgramIcon::StaffRoom : perumina::ProgramIcon::Classroom);
    perumina::ProgramSeams real;
    boards::lunch::Form1 form(admin ? boards::lunch::Variant::Admin : boards::lunch::Variant::Classroom,
                              real.seams());
    form.Form_Load();
    return real.exec();
}
