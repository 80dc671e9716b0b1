#pragma once

#include <QLineEdit>
#include <QWidget>

namespace client {

class ClientApp;

// The login screen.
class Form03 : public QWidget
{
    Q_OBJECT
public:
    explicit Form03(ClientApp &app, QWidget *parent = nullptr);

    // The current user, read by the other screens.
    QLineEdit *Text15 = nullptr; // user name
    QLineEdit *Text14 = nullptr; // full name

private:
    ClientApp &app_;
};

} // namespace client
