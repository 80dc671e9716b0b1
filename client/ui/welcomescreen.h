#pragma once

#include "shared/singleinstance.h"

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <QWidget>

namespace client {

class ClientApp;

// The welcome screen: starts the sweeper, refuses a second copy, reads the server name once, and asks
// whether the user is new.
class WelcomeScreen : public Screen
{
    Q_OBJECT
public:
    explicit WelcomeScreen(ClientApp &app, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void startUp();
    void showRegistration();
    void showLogin();
    void quit();

    QLabel *questionCaption = nullptr;
    QPushButton *newUserButton = nullptr;        // opens the registration
    QPushButton *registeredUserButton = nullptr; // opens the login (default button)
    QPushButton *quitButton = nullptr;
    QLineEdit *serverNameBox = nullptr; // the server name as read from the locator file

    perumina::SingleInstance instance_{QStringLiteral("PeruminaClient")};
};

} // namespace client
