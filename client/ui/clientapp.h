#pragma once

#include "shared/seams.h"

#include <QObject>
#include <QString>
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

// The classroom client's application object: owns the seams and the program-wide server name, and
// creates each screen on first use; afterwards screens are only hidden and shown.
class ClientApp : public QObject
{
    Q_OBJECT
public:
    explicit ClientApp(perumina::Seams seams, QObject *parent = nullptr);
    ~ClientApp() override;

    // Loads the welcome screen (its load steps may end the program) and shows it when they pass.
    void start();

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

    perumina::Seams &seams() { return seams_; }
    perumina::Dialogs &dialogs() { return seams_.dialogs; }

    // Module1's server name: set once while the welcome screen loads.
    QString serverName() const { return serverName_; }
    void setServerName(const QString &name) { serverName_ = name; }

    // The person the login screen holds in its boxes Text15 (user name) and Text14 (full name); those
    // boxes stay the record of who is signed in, and every other screen asks here instead of reading them.
    SignedInPerson signedIn();

    // Starts the sweeper; where it cannot be started, deletes the local inbox copy itself.
    void startSweeper();
    // The closing steps of every screen: start the sweeper, then end the whole program.
    void sweepAndEnd();
    // Ends the whole program at once, without the sweeper.
    void endProgram();
    bool ended() const { return ended_; }

private:
    perumina::Seams seams_;
    QString serverName_;
    bool ended_ = false;
    std::unique_ptr<Form01> form01_;
    std::unique_ptr<Form02> form02_;
    std::unique_ptr<Form03> form03_;
    std::unique_ptr<Form04> form04_;
    std::unique_ptr<Form05> form05_;
    std::unique_ptr<Form06> form06_;
    std::unique_ptr<Form09> form09_;
    std::unique_ptr<Form10> form10_;
};

} // namespace client
