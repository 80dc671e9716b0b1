#include "client/ui/clientapp.h"
#include "shared/ui/messagedialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication qtApp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PeruminaClient"));
    perumina::ProgramSeams real;
    client::ClientApp app(real.seams());
    app.start();
    return real.exec();
}
