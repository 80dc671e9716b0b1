#include "shared/ui/enterkey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QWidget>

namespace perumina::kit {

EnterKey::EnterKey(QWidget *form) : QObject(form), form_(form)
{
    setObjectName(QStringLiteral("EnterKey"));
    // Watched for the whole program, so that the rule sees which control the key was meant for
    // before that control acts on it.
    qApp->installEventFilter(this);
}

EnterKey *EnterKey::of(QWidget *form)
{
    return form->findChild<EnterKey *>(QStringLiteral("EnterKey"), Qt::FindDirectChildrenOnly);
}

void EnterKey::setSendingBox(QPlainTextEdit *box)
{
    sendingBox_ = box;
}

void EnterKey::setEnterAction(QWidget *control, std::function<void()> action)
{
    actions_.insert(control, std::move(action));
}

QPushButton *EnterKey::defaultButton() const
{
    for (QPushButton *button : form_->findChildren<QPushButton *>()) {
        if (button->isDefault() && button->isVisibleTo(form_) && button->isEnabled())
            return button;
    }
    return nullptr;
}

static bool editableMultiLine(QWidget *widget)
{
    if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
        return !plain->isReadOnly();
    if (auto *rich = qobject_cast<QTextEdit *>(widget))
        return !rich->isReadOnly();
    return false;
}

bool EnterKey::pressEnter(QWidget *target, bool breakLine)
{
    if (sendingBox_ && target == sendingBox_ && breakLine) {
        sendingBox_->insertPlainText(QStringLiteral("\n"));
        return true;
    }
    if (const auto action = actions_.constFind(target); action != actions_.cend()) {
        (*action)();
        return true;
    }
    if (auto *button = qobject_cast<QPushButton *>(target); button && button->isEnabled()) {
        button->click();
        return true;
    }
    if (target != sendingBox_ && editableMultiLine(target))
        return false;
    if (QPushButton *button = defaultButton()) {
        button->click();
        return true;
    }
    return false;
}

bool EnterKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target || (target != form_ && !form_->isAncestorOf(target)))
        return false;
    const bool breakLine = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier);
    return pressEnter(target, breakLine);
}

} // namespace perumina::kit
