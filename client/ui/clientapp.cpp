#include "client/ui/clientapp.h"

#include "client/ui/form05.h"
#include "client/ui/form06.h"
#include "client/ui/form09.h"
#include "client/ui/form10.h"
#include "client/ui/loginscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/welcomescreen.h"
#include "sweeper/sweep.h"

namespace client {

ClientApp::ClientApp(perumina::Seams seams, QObject *parent)
    : perumina::ProgramApp(seams, sweeper::startSweeper, parent)
{
}

// Screens go first, in reverse order of creation, while the seams are still there.
ClientApp::~ClientApp()
{
    form10_.reset();
    form09_.reset();
    form06_.reset();
    form05_.reset();
    menuScreen_.reset();
    loginScreen_.reset();
    registrationScreen_.reset();
    welcomeScreen_.reset();
}

QWidget *ClientApp::firstScreen()
{
    return welcomeScreen();
}

WelcomeScreen *ClientApp::welcomeScreen()
{
    return createOnce(welcomeScreen_, *this);
}

RegistrationScreen *ClientApp::registrationScreen()
{
    return createOnce(registrationScreen_, *this);
}
LoginScreen *ClientApp::loginScreen()
{
    return createOnce(loginScreen_, *this);
}
MenuScreen *ClientApp::menuScreen()
{
    return createOnce(menuScreen_, *this);
}
Form05 *ClientApp::form05()
{
    return createOnce(form05_, *this);
}
Form06 *ClientApp::form06()
{
    return createOnce(form06_, *this);
}
Form09 *ClientApp::form09()
{
    return createOnce(form09_, *this);
}
Form10 *ClientApp::form10()
{
    return createOnce(form10_, *this);
}

} // namespace client
