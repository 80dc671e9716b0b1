#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The mail compose screen.
class Form05 : public QWidget
{
    Q_OBJECT
public:
    explicit Form05(ClientApp &app, QWidget *parent = nullptr);


private:
    ClientApp &app_;
};

} // namespace client
