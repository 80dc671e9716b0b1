#pragma once

#include "shared/ui/programapp.h"

#include <memory>

namespace client {

class WelcomeScreen;
class RegistrationScreen;
class LoginScreen;
class MenuScreen;
class MailScreen;
class CanvasScreen;
class ReaderScreen;
class ViewerScreen;

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
    MailScreen *mailScreen();
    CanvasScreen *canvasScreen();
    ReaderScreen *readerScreen();
    ViewerScreen *viewerScreen();
    // Whether a screen has been created yet, without creating it.
    bool hasReaderScreen() const { return readerScreen_ != nullptr; }
    bool hasViewerScreen() const { return viewerScreen_ != nullptr; }

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
    std::unique_ptr<MailScreen> mailScreen_;
    std::unique_ptr<CanvasScreen> canvasScreen_;
    std::unique_ptr<ReaderScreen> readerScreen_;
    std::unique_ptr<ViewerScreen> viewerScreen_;
    SignedInPerson signedIn_;
};

} // namespace client
