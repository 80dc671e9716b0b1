#pragma once

#include <QLabel>
#include <QWidget>

namespace client {

class ClientApp;

// The mail reader screen.
class Form09 : public QWidget
{
    Q_OBJECT
public:
    explicit Form09(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label2 = nullptr; // the full name of the logged-in user

private:
    ClientApp &app_;
};

} // namespace client
