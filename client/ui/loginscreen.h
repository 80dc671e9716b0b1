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

private:
    void loadRegistry();
    void logIn();
    void backToWelcome();

    QLabel *promptCaption = nullptr;
    QLabel *userNameCaption = nullptr;
    QLineEdit *userNameBox = nullptr;
    QLabel *passwordCaption = nullptr;
    QLineEdit *passwordBox = nullptr;
    QLabel *passwordLengthCaption = nullptr;
    QLabel *cautionCaption = nullptr;
    QLabel *useRegisteredCaption = nullptr;
    QLabel *letterCaseCaption = nullptr;
    QPushButton *okButton = nullptr; // default button
    QPushButton *backButton = nullptr;

    QStringList registry_;      // 管理情報.txt as read when the screen loaded
    qsizetype lastRecord_ = -1; // the registry record of this run's last successful login
};

} // namespace client
