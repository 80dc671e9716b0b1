#pragma once

#include "client/ui/screen.h"
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <QWidget>

namespace client {

class ClientApp;

// The main menu: mail, illustrations, and the three classroom boards.
class MenuScreen : public Screen
{
    Q_OBJECT
public:
    explicit MenuScreen(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QLabel *Label6 = nullptr;
    QRadioButton *Option1 = nullptr; // send mail
    QRadioButton *Option2 = nullptr; // open mail
    QLabel *Label7 = nullptr;
    QRadioButton *Option3 = nullptr; // draw
    QRadioButton *Option4 = nullptr; // view illustrations
    QRadioButton *Option5 = nullptr; // daily schedule board
    QRadioButton *Option6 = nullptr; // lunch menu board
    QRadioButton *Option7 = nullptr; // monthly events board
    QLabel *Image1 = nullptr;
    QLabel *Image2 = nullptr;
    QLabel *Image3 = nullptr;
    QPushButton *Command1 = nullptr; // next (default button)
    QPushButton *Command3 = nullptr; // back
    QPushButton *Command2 = nullptr; // quit
    QLabel *newMailLabel = nullptr;  // how many mails came since the last reading

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showNewMailCount();
};

} // namespace client
