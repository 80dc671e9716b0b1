#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace admin {

class AdminApp;

// The administrator login: start-up steps, then ID and password checked against the administrator file.
class Form01 : public QWidget
{
    Q_OBJECT
public:
    explicit Form01(AdminApp &app, QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label2;
    QLineEdit *Text1;
    QLabel *Label3;
    QLineEdit *Text2;
    QPushButton *Command1;
    QPushButton *Command2;
    QLabel *Label4;

    // Hidden working values: the locator's text, the entered credentials, the matched record.
    QString Text5;
    QString Text3;
    QString Text4;

    // The start-up steps: the sweeper, then the server name from the locator; without one the program ends.
    void start();
    void Command1_Click();
    void Command2_Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AdminApp &app_;
};

} // namespace admin
