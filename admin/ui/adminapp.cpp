#include "admin/ui/adminapp.h"

#include "admin/ui/adminloginscreen.h"
#include "admin/ui/adminprompts.h"
#include "admin/ui/consolescreen.h"
#include "sweeper/sweep.h"

namespace admin {

AdminApp::AdminApp(perumina::Seams seams, QObject *parent)
    : perumina::ProgramApp(seams, sweeper::startSweeper, parent), prompts_(std::make_unique<DialogPrompts>())
{
}

// The console goes before the login screen, while the seams are still there.
AdminApp::~AdminApp()
{
    form02_.reset();
    form01_.reset();
}

QWidget *AdminApp::firstScreen()
{
    return form01();
}

// The login screen takes the start-up steps once, as it is made.
Form01 *AdminApp::form01()
{
    if (form01_)
        return form01_.get();
    Form01 *login = createOnce(form01_, *this);
    login->start();
    return login;
}
Form02 *AdminApp::form02()
{
    return createOnce(form02_, *this);
}

QString cannotStartMessage(const QString &program)
{
    return QStringLiteral("「%1」を起動できませんでした。").arg(program);
}

bool AdminApp::startBoard(const QString &program)
{
    if (seams().launcher.start(program))
        return true;
    dialogs().message(cannotStartMessage(program));
    return false;
}

} // namespace admin
