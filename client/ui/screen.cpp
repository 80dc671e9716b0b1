#include "client/ui/screen.h"

#include "client/ui/clientapp.h"

#include <QCloseEvent>

namespace client {

Screen::Screen(ClientApp &app, QWidget *parent) : QWidget(parent), app_(app) {}

void Screen::goTo(QWidget *next)
{
    hide();
    next->show();
}

void Screen::closeEvent(QCloseEvent *event)
{
    event->accept();
    app_.sweepAndEnd();
}

} // namespace client
