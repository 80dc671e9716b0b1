#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The welcome screen screen.
class Form01 : public QWidget
{
    Q_OBJECT
public:
    explicit Form01(ClientApp &app, QWidget *parent = nullptr);


private:
    ClientApp &app_;
};

} // namespace client
