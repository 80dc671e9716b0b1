// A bare Qt window: the yardstick that bench/first_window.sh holds the programs' start-up against.
#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BareWindow"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("BareWindow"));
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
