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
    consoleScreen_.reset();
    adminLoginScreen_.reset();
}

QWidget *AdminApp::firstScreen()
{
    return adminLoginScreen();
}

// The login screen takes the start-up steps once, as it is made.
AdminLoginScreen *AdminApp::adminLoginScreen()
{
    if (adminLoginScreen_)
        return adminLoginScreen_.get();
    AdminLoginScreen *login = createOnce(adminLoginScreen_, *this);
    login->start();
    return login;
}
ConsoleScreen *AdminApp::consoleScreen()
{
    return createOnce(consoleScreen_, *this);
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
