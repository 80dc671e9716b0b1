#include "admin/ui/adminapp.h"

#include "admin/ui/form01.h"
#include "admin/ui/form02.h"
#include "shared/records.h"
#include "sweeper/sweep.h"

namespace admin {

AdminApp::AdminApp(perumina::Seams seams, QObject *parent) : QObject(parent), seams_(seams) {}

// The console goes before the login screen, while the seams are still there.
AdminApp::~AdminApp()
{
    form02_.reset();
    form01_.reset();
}

void AdminApp::start()
{
    Form01 *login = form01();
    if (!ended_)
        login->show();
}

template <typename Form> static Form *createOnce(std::unique_ptr<Form> &slot, AdminApp &app)
{
    if (!slot)
        slot = std::make_unique<Form>(app);
    return slot.get();
}

Form01 *AdminApp::form01()
{
    return createOnce(form01_, *this);
}
Form02 *AdminApp::form02()
{
    return createOnce(form02_, *this);
}

void AdminApp::startSweeper()
{
    sweeper::startSweeper(seams_.launcher);
}

QString cannotStartMessage(const QString &program)
{
    return QStringLiteral("「%1」を起動できませんでした。").arg(program);
}

bool AdminApp::startBoard(const QString &program)
{
    if (seams_.launcher.start(program))
        return true;
    seams_.dialogs.message(cannotStartMessage(program));
    return false;
}

void AdminApp::sweepAndEnd(int exitCode)
{
    startSweeper();
    endProgram(exitCode);
}

void AdminApp::endProgram(int exitCode)
{
    ended_ = true;
    seams_.end.endProgram(exitCode);
}

} // namespace admin
