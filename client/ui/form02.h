#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The registration screen.
class Form02 : public QWidget
{
    Q_OBJECT
public:
    explicit Form02(ClientApp &app, QWidget *parent = nullptr);


private:
    ClientApp &app_;
};

} // namespace client
