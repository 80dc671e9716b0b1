#pragma once

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include <QWidget>

namespace client {

class ClientApp;

// The login screen: checks user name and password against the registry, keeps the current user for
// the other screens and opens the main menu. A failed check ends the program.
class LoginScreen : public Screen
{
    Q_OBJECT
public:
    explicit LoginScreen(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text1 = nullptr; // user name
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr; // password
    QLabel *Label7 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *Command1 = nullptr; // OK (default button)
    QPushButton *Command7 = nullptr; // back

    void Command1_Click();
    void Command7_Click();

private:
    void Form_Load();

    QStringList registry_;      // 管理情報.txt as read when the screen loaded
    qsizetype lastRecord_ = -1; // the registry record of this run's last successful login
};

} // namespace client
