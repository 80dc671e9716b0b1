#pragma once

#include "client/core/mail.h"

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <QWidget>

namespace client {

class ClientApp;

// The mail reader: the signed-in user's inbox, copied locally when the login creates this screen,
// newest mail first.
class Form09 : public Screen
{
    Q_OBJECT
public:
    explicit Form09(ClientApp &app, QWidget *parent = nullptr);

    QLabel *Label2 = nullptr; // the full name of the logged-in user
    QLabel *Label1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text1 = nullptr; // date
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr; // time
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr; // sender
    QLabel *Label6 = nullptr;
    QLineEdit *Text4 = nullptr; // title
    QLabel *Label8 = nullptr;
    QPlainTextEdit *Text5 = nullptr; // body
    QPushButton *Command5 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command4 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command7 = nullptr;

    void Form_Load();
    void Command5_Click();
    void Command6_Click();
    void Command1_Click();
    void Command4_Click();
    void Command2_Click();
    void Command3_Click();
    void Command7_Click();

    int position() const { return cursor_.position(); }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fill(const ShownRecord &shown);

    InboxCursor cursor_;
    QString loadedFor_; // whose inbox the table holds
};

} // namespace client
