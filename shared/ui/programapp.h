#pragma once

#include "shared/seams.h"

#include <QObject>
#include <QString>
#include <memory>

class QWidget;

namespace perumina {

// What the application objects of the client and the administration program share: the seams, the
// program-wide server name, the sweeper at start and end, and screens created once on first use and
// afterwards only hidden and shown.
class ProgramApp : public QObject
{
    Q_OBJECT
public:
    // startSweeper starts the inbox sweeper (or does its work where it cannot be started).
    using SweeperStart = void (*)(Launcher &);
    ProgramApp(Seams seams, SweeperStart startSweeper, QObject *parent = nullptr);

    // Loads the first screen (its load steps may end the program) and shows it when they pass.
    void start();

    Seams &seams() { return seams_; }
    Dialogs &dialogs() { return seams_.dialogs; }

    // The staff-room server's name, read from the locator once while the first screen loads.
    QString serverName() const { return serverName_; }
    void setServerName(const QString &name) { serverName_ = name; }

    // Starts the sweeper; where it cannot be started, deletes the local inbox copy itself.
    void startSweeper();
    // The closing steps: start the sweeper, then end the whole program. A non-zero exit code tells a
    // caller that the program ended on an error message.
    void sweepAndEnd(int exitCode = 0);
    // Ends the whole program at once, without the sweeper.
    void endProgram(int exitCode = 0);
    bool ended() const { return ended_; }

protected:
    virtual QWidget *firstScreen() = 0;

    // Creates a screen on first use, which runs its load steps.
    template <typename Form, typename App> static Form *createOnce(std::unique_ptr<Form> &slot, App &app)
    {
        if (!slot)
            slot = std::make_unique<Form>(app);
        return slot.get();
    }

private:
    Seams seams_;
    SweeperStart startSweeper_;
    QString serverName_;
    bool ended_ = false;
};

} // namespace perumina
