#include "client/ui/enterkey.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

namespace client {

EnterPressesDefault::EnterPressesDefault(QWidget *form, QPushButton *defaultButton, QPlainTextEdit *multiLine)
    : QObject(form), defaultButton_(defaultButton), multiLine_(multiLine)
{
    defaultButton->setDefault(true);
    for (QWidget *child : form->findChildren<QWidget *>())
        child->installEventFilter(this);
    form->installEventFilter(this);
}

bool EnterPressesDefault::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    const bool breaksLine = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    if (multiLine_ && (watched == multiLine_ || watched == multiLine_->viewport()) && breaksLine) {
        multiLine_->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    if (auto *button = qobject_cast<QPushButton *>(watched)) {
        button->click();
        return true;
    }
    defaultButton_->click();
    return true;
}

} // namespace client
