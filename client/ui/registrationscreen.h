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

private:
    void loadRegistered();
    void registerUser();
    void quit();
    void backToWelcome();
    QListView *listView(QWidget *parent, const char *name);
    QLineEdit *box(Field field) const;

    QTabWidget *registrationTabs = nullptr;
    // Tab "新しく登録する"
    QLabel *userNameCaption = nullptr;
    QLineEdit *userNameBox = nullptr;
    QLabel *userNameHintCaption = nullptr;
    QLabel *fullNameCaption = nullptr;
    QLineEdit *fullNameBox = nullptr;
    QLabel *fullNameHintCaption = nullptr;
    QLabel *passwordCaption = nullptr;
    QLineEdit *passwordBox = nullptr;
    QLabel *passwordLengthCaption = nullptr;
    QLabel *passwordCommaCaption = nullptr;
    // Tab "すでに登録している人達"
    QLabel *fullNamesCaption = nullptr;
    // The lists show the records as read (a model over the list read, not an item per record).
    QListView *fullNameList = nullptr; // registration order
    QLabel *userNamesCaption = nullptr;
    QListView *userNameList = nullptr; // kana order
    QLabel *reminderCaption = nullptr;
    QPushButton *backButton = nullptr;
    QPushButton *registerButton = nullptr; // default button
    QPushButton *quitButton = nullptr;

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
