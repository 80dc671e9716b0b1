#include "client/ui/clientapp.h"

#include "client/ui/canvasscreen.h"
#include "client/ui/loginscreen.h"
#include "client/ui/mailscreen.h"
#include "client/ui/menuscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/registrationscreen.h"
#include "client/ui/viewerscreen.h"
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
    viewerScreen_.reset();
    readerScreen_.reset();
    canvasScreen_.reset();
    mailScreen_.reset();
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
MailScreen *ClientApp::mailScreen()
{
    return createOnce(mailScreen_, *this);
}
CanvasScreen *ClientApp::canvasScreen()
{
    return createOnce(canvasScreen_, *this);
}
ReaderScreen *ClientApp::readerScreen()
{
    return createOnce(readerScreen_, *this);
}
ViewerScreen *ClientApp::viewerScreen()
{
    return createOnce(viewerScreen_, *this);
}

} // namespace client
