#pragma once

#include "shared/ui/programapp.h"

#include <memory>

namespace client {

class WelcomeScreen;
class RegistrationScreen;
class LoginScreen;
class MenuScreen;
class Form05;
class Form06;
class Form09;
class Form10;

// Who is signed in: the user name (the sender of mails and pictures) and the full name (which names
// the user's folder). Both empty before a login.
struct SignedInPerson
{
    QString userName;
    QString fullName;
};

// The classroom client's application object: its screens, from the welcome screen on.
class ClientApp : public perumina::ProgramApp
{
    Q_OBJECT
public:
    explicit ClientApp(perumina::Seams seams, QObject *parent = nullptr);
    ~ClientApp() override;

    WelcomeScreen *welcomeScreen();
    RegistrationScreen *registrationScreen();
    LoginScreen *loginScreen();
    MenuScreen *menuScreen();
    Form05 *form05();
    Form06 *form06();
    Form09 *form09();
    Form10 *form10();
    // Whether a screen has been created yet, without creating it.
    bool hasForm09() const { return form09_ != nullptr; }
    bool hasForm10() const { return form10_ != nullptr; }

    // Who is signed in; the login sets it, every other screen asks here.
    SignedInPerson signedIn() const { return signedIn_; }
    void signIn(const SignedInPerson &person) { signedIn_ = person; }

protected:
    QWidget *firstScreen() override;

private:
    std::unique_ptr<WelcomeScreen> welcomeScreen_;
    std::unique_ptr<RegistrationScreen> registrationScreen_;
    std::unique_ptr<LoginScreen> loginScreen_;
    std::unique_ptr<MenuScreen> menuScreen_;
    std::unique_ptr<Form05> form05_;
    std::unique_ptr<Form06> form06_;
    std::unique_ptr<Form09> form09_;
    std::unique_ptr<Form10> form10_;
    SignedInPerson signedIn_;
};

} // namespace client
