#pragma once

#include "client/core/registry.h"

#include "client/ui/screen.h"
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>
#include <QTabWidget>

#include <QWidget>

namespace client {

class ClientApp;

// The registration screen: shows who is registered, checks a new user name and full name, records
// the new user in the registry and ends the program so that the next start sees the new user.
class RegistrationScreen : public Screen
{
    Q_OBJECT
public:
    explicit RegistrationScreen(ClientApp &app, QWidget *parent = nullptr);

    QTabWidget *SSTab1 = nullptr;
    // Tab "新しく登録する"
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr; // user name
    QLabel *Label15 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr; // full name
    QLabel *Label16 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr; // password
    QLabel *Label9 = nullptr;
    QLabel *Label5 = nullptr;
    // Tab "すでに登録している人達"
    QLabel *Label6 = nullptr;
    // The lists show the records as read (a model over the list read, not an item per record).
    QListView *List1 = nullptr; // full names, registration order
    QLabel *Label12 = nullptr;
    QListView *List4 = nullptr; // user names, kana order
    QLabel *Label19 = nullptr;
    QPushButton *Command7 = nullptr; // back
    QPushButton *Command1 = nullptr; // register (default button)
    QPushButton *Command5 = nullptr; // quit

    void Command1_Click();
    void Command5_Click();
    void Command7_Click();

private:
    void Form_Load();
    QListView *listView(QWidget *parent, const char *name);
    QLineEdit *box(Field field) const;

    // The names already registered, as the duplicate checks search them: each followed by CR LF, in
    // file order. Passwords are not kept: nothing here needs them.
    struct Registered
    {
        QString userNames;
        QString fullNames;
    };
    Registered registered_;
};

} // namespace client
