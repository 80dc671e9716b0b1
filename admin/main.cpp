#include "admin/ui/adminapp.h"
#include "shared/commandline.h"
#include "shared/ui/messagedialogs.h"
#include "shared/ui/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const auto code = perumina::answerBeforeWindow(
            argc, argv, QStringLiteral("PeruminaAdmin"),
            QStringLiteral(
                "ぺる・み・なの管理用プログラムです（メッセージ一覧、登録者、イラスト、予定表の編集）。")))
        return *code;
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaAdmin"));
    // The window class is the application name; the desktop entry names it, and this names the entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("perumina-admin"));
    perumina::setProgramIcon(perumina::ProgramIcon::StaffRoom);
    perumina::ProgramSeams real;
    admin::AdminApp app(real.seams());
    app.start();
    return real.exec();
}
