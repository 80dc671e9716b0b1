#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace perumina {

// Message boxes. Almost all of the system's messages have one OK button and no icon.
class Dialogs
{
public:
    enum class Icon
    {
        None,
        Information,
        Exclamation,
        Critical
    };
    virtual ~Dialogs() = default;
    // Shows text and waits for OK. An empty title shows the program's name, as message boxes do.
    virtual void message(const QString &text, Icon icon = Icon::None, const QString &title = QString()) = 0;
};

// Starts another program without waiting for it, in a normal window, with no arguments.
class Launcher
{
public:
    virtual ~Launcher() = default;
    // program is a path of this computer (site::sweeperProgram()) or a bare file name ("DayBoardC.exe").
    // False when it cannot be found or started.
    virtual bool start(const QString &program) = 0;
};

// Today's date and the time, pinned in tests.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

// Ends the whole program; a program that ends on an error message ends with a non-zero exit code.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    virtual void endProgram(int exitCode = 0) = 0;
};

// What a program's application object hands its forms.
struct Seams
{
    Dialogs &dialogs;
    Launcher &launcher;
    Clock &clock;
    ProgramEnd &end;
};

// The dates and times the system writes, the same on every computer: 2026/04/01 and 9:05:03.
QString formatDate(const QDate &date);
QString formatTime(const QTime &time);
// "General Date" of the Japanese regional settings: date, a space, the time.
QString formatDateTime(const QDateTime &dateTime);

class SystemClock : public Clock
{
public:
    QDateTime now() const override;
};

// Finds program as the system does: a path (of this computer) is taken as it is, a bare name is looked
// for in ownDir first and then along PATH; a name ending in ".exe" is also tried without it. Empty when
// nothing is found.
QString resolveProgram(const QString &program, const QString &ownDir);

class ProcessLauncher : public Launcher
{
public:
    // ownDir defaults to the folder of the running program.
    explicit ProcessLauncher(QString ownDir = QString());
    bool start(const QString &program) override;

private:
    QString ownDir_;
};

} // namespace perumina
