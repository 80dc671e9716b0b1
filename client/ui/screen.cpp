#include "client/ui/screen.h"

#include "client/ui/clientapp.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>

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

void Screen::keyPressEvent(QKeyEvent *event)
{
    QPushButton *button = defaultButton();
    if (button && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace client
