#include "shared/ui/programapp.h"

#include <QWidget>

namespace perumina {

ProgramApp::ProgramApp(Seams seams, SweeperStart startSweeper, QObject *parent)
    : QObject(parent), seams_(seams), startSweeper_(startSweeper)
{
}

void ProgramApp::start()
{
    QWidget *first = firstScreen();
    if (!ended_)
        first->show();
}

void ProgramApp::startSweeper()
{
    startSweeper_(seams_.launcher);
}

void ProgramApp::sweepAndEnd(int exitCode)
{
    startSweeper();
    endProgram(exitCode);
}

void ProgramApp::endProgram(int exitCode)
{
    ended_ = true;
    seams_.end.endProgram(exitCode);
}

} // namespace perumina
