#pragma once

#include <QObject>

class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace client {

// Makes Enter anywhere on a form press its default button, as the screens expect. In multiLine, Enter
// with Shift or Ctrl breaks the line instead. A focused button is pressed itself.
class EnterPressesDefault : public QObject
{
    Q_OBJECT
public:
    EnterPressesDefault(QWidget *form, QPushButton *defaultButton, QPlainTextEdit *multiLine = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPushButton *defaultButton_;
    QPlainTextEdit *multiLine_;
};

} // namespace client
