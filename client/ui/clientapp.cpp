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
    form10_.reset();
    form09_.reset();
    form06_.reset();
    form05_.reset();
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
