#pragma once

#include "shared/commandline.h"
#include "shared/ui/messagedialogs.h"
#include "shared/ui/programicon.h"

#include <QApplication>
#include <QString>

namespace boards {

// The whole of a board program, staff-room (admin) or classroom variant: it answers --help and
// --version without a window, then starts the board's screen and runs until the board closes.
template <typename Screen, typename Variant>
int runBoard(int argc, char *argv[], bool admin, const QString &name, const QString &shows)
{
    const QString purpose = shows + (admin ? QStringLiteral("（職員室用、書き込みできます）を表示します。")
                                           : QStringLiteral("（教室用、表示のみ）を表示します。"));
    if (const auto code = perumina::answerBeforeWindow(argc, argv, name, purpose))
        return *code;
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(name);
    perumina::setProgramIcon(admin ? perumina::ProgramIcon::StaffRoom : perumina::ProgramIcon::Classroom);
    perumina::ProgramSeams real;
    Screen screen(admin ? Variant::Admin : Variant::Classroom, real.seams());
    screen.start();
    return real.exec();
}

} // namespace boards
