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
    void endProgram() override;
    bool ended() const { return ended_; }

private:
    bool ended_ = false;
};

} // namespace perumina
