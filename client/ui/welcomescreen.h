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

    QLabel *Label1 = nullptr;
    QPushButton *Command1 = nullptr; // new user: registration
    QPushButton *Command2 = nullptr; // registered: login (default button)
    QPushButton *Command4 = nullptr; // quit
    QLineEdit *Text1 = nullptr;      // the text read from the locator file

    void Command1_Click();
    void Command2_Click();
    void Command4_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Form_Load();

    perumina::SingleInstance instance_{QStringLiteral("PeruminaClient")};
};

} // namespace client
