#include "client/ui/clientapp.h"

#include "client/ui/canvasscreen.h"
#include "client/ui/form01.h"
#include "client/ui/form02.h"
#include "client/ui/form03.h"
#include "client/ui/form04.h"
#include "client/ui/mailscreen.h"
#include "client/ui/readerscreen.h"
#include "client/ui/viewerscreen.h"
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
    form04_.reset();
    form03_.reset();
    form02_.reset();
    form01_.reset();
}

QWidget *ClientApp::firstScreen()
{
    return form01();
}

Form01 *ClientApp::form01()
{
    return createOnce(form01_, *this);
}

Form02 *ClientApp::form02()
{
    return createOnce(form02_, *this);
}
Form03 *ClientApp::form03()
{
    return createOnce(form03_, *this);
}
Form04 *ClientApp::form04()
{
    return createOnce(form04_, *this);
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
