#pragma once

#include "shared/ui/programapp.h"

#include <memory>

namespace client {

class Form01;
class Form02;
class Form03;
class Form04;
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

    Form01 *form01();
    Form02 *form02();
    Form03 *form03();
    Form04 *form04();
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
    std::unique_ptr<Form01> form01_;
    std::unique_ptr<Form02> form02_;
    std::unique_ptr<Form03> form03_;
    std::unique_ptr<Form04> form04_;
    std::unique_ptr<Form05> form05_;
    std::unique_ptr<Form06> form06_;
    std::unique_ptr<Form09> form09_;
    std::unique_ptr<Form10> form10_;
    SignedInPerson signedIn_;
};

} // namespace client
