#pragma once

#include "shared/seams.h"

#include <QObject>
#include <QString>
#include <memory>

namespace admin {

class Form01;
class Form02;

// The administration program's application object: owns the seams and the program-wide server name,
// and creates each screen on first use; afterwards screens are only hidden and shown.
class AdminApp : public QObject
{
    Q_OBJECT
public:
    explicit AdminApp(perumina::Seams seams, QObject *parent = nullptr);
    ~AdminApp() override;

    // Loads the login screen (its load steps may end the program) and shows it when they pass.
    void start();

    Form01 *form01();
    Form02 *form02();
    // Whether the console has been created yet, without creating it.
    bool hasForm02() const { return form02_ != nullptr; }

    perumina::Seams &seams() { return seams_; }
    perumina::Dialogs &dialogs() { return seams_.dialogs; }

    // Module1's server name: set once while the login screen loads.
    QString serverName() const { return serverName_; }
    void setServerName(const QString &name) { serverName_ = name; }

    // Starts the sweeper; where it cannot be started, deletes the local inbox copy itself.
    void startSweeper();
    // Starts a board program by bare name; a program that cannot be started is reported by name.
    bool startBoard(const QString &program);
    // Start the sweeper, then end the whole program.
    // A non-zero exit code tells a caller that the program ended on an error message.
    void sweepAndEnd(int exitCode = 0);
    // Ends the whole program at once, without the sweeper.
    void endProgram(int exitCode = 0);
    bool ended() const { return ended_; }

private:
    perumina::Seams seams_;
    QString serverName_;
    bool ended_ = false;
    std::unique_ptr<Form01> form01_;
    std::unique_ptr<Form02> form02_;
};

// The message shown when a board program cannot be started.
QString cannotStartMessage(const QString &program);

} // namespace admin
