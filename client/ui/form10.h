#pragma once

#include <QLabel>
#include <QWidget>

namespace client {

class ClientApp;

// The illustration viewer screen.
class Form10 : public QWidget
{
    Q_OBJECT
public:
    explicit Form10(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label2 = nullptr; // the full name of the logged-in user

private:
    ClientApp &app_;
};

} // namespace client
