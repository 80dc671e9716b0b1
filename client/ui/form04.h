#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The main menu screen.
class Form04 : public QWidget
{
    Q_OBJECT
public:
    explicit Form04(ClientApp &app, QWidget *parent = nullptr);


private:
    ClientApp &app_;
};

} // namespace client
