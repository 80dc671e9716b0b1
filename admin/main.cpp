#include "admin/ui/adminapp.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaAdmin"));
    perumina::ProgramSeams real;
    admin::AdminApp app(real.seams());
    app.start();
    return real.exec();
}
