#pragma once

#include "shared/seams.h"

#include <QList>
#include <QSet>

namespace perumina {

// Recording stand-ins for the seams, for tests: nothing blocks, everything is remembered.
class RecordingDialogs : public Dialogs
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
        QString title;
    };
    void message(const QString &text, Icon icon, const QString &title) override;
    QStringList texts() const;
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;
};

class RecordingLauncher : public Launcher
{
public:
    bool start(const QString &program) override;

    // Programs by the system's names ("c:\group\InboxSweep.exe", "DayBoardC.exe"), whatever the site root.
    QStringList started;   // every program asked for, in order
    QSet<QString> failing; // programs that cannot be started
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime at = QDateTime(QDate(2026, 4, 8), QTime(9, 5, 3))) : at_(std::move(at)) {}
    QDateTime now() const override { return at_; }
    void set(const QDateTime &at) { at_ = at; }

private:
    QDateTime at_;
};

class RecordingEnd : public ProgramEnd
{
public:
    void endProgram(int exitCode = 0) override
    {
        ++count;
        lastExitCode = exitCode;
    }
    bool ended() const { return count > 0; }
    int count = 0;
    int lastExitCode = 0;
};

// All four fakes together, handing out a Seams for a program under test.
struct FakeSeams
{
    RecordingDialogs dialogs;
    RecordingLauncher launcher;
    FixedClock clock;
    RecordingEnd end;
    Seams seams() { return {dialogs, launcher, clock, end}; }
};

} // namespace perumina
