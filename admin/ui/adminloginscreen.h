#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace admin {

class AdminApp;

// The administrator login: start-up steps, then ID and password checked against the administrator file.
// What a login leaves behind, the server name and the admitted ID, the application keeps; the password
// is not kept past the check.
class AdminLoginScreen : public QWidget
{
    Q_OBJECT
public:
    explicit AdminLoginScreen(AdminApp &app, QWidget *parent = nullptr);

    // The start-up steps: the sweeper, then the server name from the locator; without one the program ends.
    void start();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void logIn();
    void quit();

    AdminApp &app_;
    QLabel *promptCaption;
    QLabel *idCaption;
    QLineEdit *idBox;
    QLabel *passwordCaption;
    QLineEdit *passwordBox;
    QPushButton *okButton;
    QPushButton *quitButton;
    QLabel *windowsAccountCaption;
};

} // namespace admin
