#include "client/ui/clientapp.h"
#include "shared/commandline.h"
#include "shared/ui/messagedialogs.h"
#include "shared/ui/programicon.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const auto code = perumina::answerBeforeWindow(
            argc, argv, QStringLiteral("PeruminaClient"),
            QStringLiteral(
                "教室のグループウェアです（利用者の登録、ログイン、メール、イラスト、予定表の起動）。")))
        return *code;
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaClient"));
    // The window class is the application name; the desktop entry names it, and this names the entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("perumina-client"));
    perumina::setProgramIcon(perumina::ProgramIcon::Classroom);
    perumina::ProgramSeams real;
    client::ClientApp app(real.seams());
    app.start();
    return real.exec();
}
