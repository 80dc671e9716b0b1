#pragma once

#include <QHash>
#include <QObject>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace perumina::kit {

// Enter on a window, by the desktop's rule: on a focused button it presses that button; elsewhere it
// presses the window's default button (its visible, enabled push button marked default). An editable
// multi-line box keeps Enter for its line breaks, except the one set as sending: there Enter presses
// the default button and Shift+Enter or Ctrl+Enter breaks the line.
class EnterKey : public QObject
{
    Q_OBJECT
public:
    explicit EnterKey(QWidget *form);

    void setSendingBox(QPlainTextEdit *box);
    // Enter on control runs action instead (a list whose Enter opens the chosen entry, as a
    // double-click does).
    void setEnterAction(QWidget *control, std::function<void()> action);
    // The button Enter presses where no button has the focus; null where the window has none.
    QPushButton *defaultButton() const;
    // Enter meant for target (a control of the window, or the window itself); false where it leaves
    // the key to that control.
    bool pressEnter(QWidget *target, bool breakLine);

    // The rule installed on form by setUpForm.
    static EnterKey *of(QWidget *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *form_;
    QPlainTextEdit *sendingBox_ = nullptr;
    QHash<QWidget *, std::function<void()>> actions_;
};

} // namespace perumina::kit
