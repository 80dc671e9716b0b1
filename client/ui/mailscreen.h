#pragma once

#include "client/ui/screen.h"
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QWidget>

namespace client {

class ClientApp;

// The mail compose screen: pick a registered person, write a title and a body, and send.
class Form05 : public Screen
{
    Q_OBJECT
public:
    explicit Form05(ClientApp &app, QWidget *parent = nullptr);

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QListWidget *List1 = nullptr;
    QLineEdit *Text4 = nullptr; // recipient's full name
    QLabel *Label7 = nullptr;
    QLineEdit *Text3 = nullptr; // sender's user name
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr; // title
    QLabel *Label3 = nullptr;
    QPlainTextEdit *Text1 = nullptr; // body
    QLabel *Label6 = nullptr;
    QLabel *Label4 = nullptr;        // date of the last delivery
    QLabel *Label5 = nullptr;        // time of the last delivery
    QPlainTextEdit *Text5 = nullptr; // working buffer, never shown
    QPushButton *Command1 = nullptr;
    QPushButton *Command6 = nullptr;
    QLabel *Label9 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QLabel *Label8 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command5 = nullptr;
    QPushButton *Command7 = nullptr;
    QLabel *Image1 = nullptr;

    void Form_Load();
    void List1_Click();
    void Command1_Click();
    void Command6_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command7_Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void selectRefusedCharacter(const QString &field);
};

} // namespace client
