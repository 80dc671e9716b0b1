#include "shared/ui/messagedialogs.h"

#include "shared/busy.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace perumina {

void MessageBoxDialogs::message(const QString &text, Icon icon, const QString &title)
{
    QMessageBox box;
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    box.setText(text);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void QuitProgramEnd::endProgram(int exitCode)
{
    ended_ = true;
    exitCode_ = exitCode;
    for (QWidget *w : QApplication::topLevelWidgets())
        w->hide();
    // Queued, so that it also ends a program whose event loop has not started yet.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [exitCode] { QCoreApplication::exit(exitCode); }, Qt::QueuedConnection);
}

ProgramSeams::ProgramSeams()
{
    setBusyIndicator([] { QGuiApplication::setOverrideCursor(Qt::WaitCursor); },
                     [] { QGuiApplication::restoreOverrideCursor(); });
}

ProgramSeams::~ProgramSeams()
{
    setBusyIndicator({}, {});
}

int ProgramSeams::exec()
{
    return end.ended() ? end.exitCode() : QApplication::exec();
}

} // namespace perumina
