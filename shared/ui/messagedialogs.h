#pragma once

#include "shared/seams.h"

namespace perumina {

// Message boxes on the screen, one OK button each.
class MessageBoxDialogs : public Dialogs
{
public:
    void message(const QString &text, Icon icon, const QString &title) override;
};

// Hides every window at once and ends the event loop, also when called before the loop has started.
class QuitProgramEnd : public ProgramEnd
{
public:
    void endProgram(int exitCode = 0) override;
    bool ended() const { return ended_; }
    int exitCode() const { return exitCode_; }

private:
    bool ended_ = false;
    int exitCode_ = 0;
};

// The real seams of a windowed program, owned by its main().
struct ProgramSeams
{
    // Installs the busy pointer for waits on a lock or the share, for the program's whole run.
    ProgramSeams();
    ~ProgramSeams();
    MessageBoxDialogs dialogs;
    ProcessLauncher launcher;
    SystemClock clock;
    QuitProgramEnd end;
    Seams seams() { return {dialogs, launcher, clock, end}; }
    // Runs the event loop, unless the program already ended while its first screen loaded.
    int exec();
};

} // namespace perumina
