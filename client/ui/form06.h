#pragma once

#include <QWidget>

namespace client {

class ClientApp;

// The illustration canvas screen.
class Form06 : public QWidget
{
    Q_OBJECT
public:
    explicit Form06(ClientApp &app, QWidget *parent = nullptr);


private:
    ClientApp &app_;
};

} // namespace client
