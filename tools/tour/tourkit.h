#pragma once

#include "shared/fakes.h"

#include <QAbstractButton>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <initializer_list>

class QListWidget;
class QPagedPaintDevice;
class QTextStream;

namespace tour {

// A step that did not go as a person would see it go: a screen missing, a control missing, an
// unexpected message. Carries what went wrong, for the report.
struct StepFailed
{
    QString what;
};

// Writes numbered pictures of screens (NN-name.png) into one folder and prints each path.
class Camera
{
public:
    Camera(QString folder, QTextStream &out);

    // Clears the pictures and pages of an earlier tour (NN-*.png, NN-*.pdf), so that the folder shows this
    // tour only.
    void clearOldPictures() const;
    // Shows the screen if needed, waits until it is on screen and saves its picture. The path written.
    QString take(QWidget *screen, const QString &name);
    // Prints a page into name.pdf, as the print dialog's "Save as PDF" does. The path written.
    QString print(const QString &name, const std::function<bool(QPagedPaintDevice &)> &render);

    QString folder() const { return folder_; }
    const QStringList &taken() const { return taken_; }

private:
    QString folder_;
    QTextStream &out_;
    QStringList taken_;
    int next_ = 1;
};

// Message boxes recorded rather than shown; each knows the program that showed it, for its picture.
class TourDialogs : public perumina::RecordingDialogs
{
public:
    explicit TourDialogs(QString program) : program_(std::move(program)) {}
    QString program() const { return program_; }

private:
    QString program_;
};

// Records every program asked for. The sweeper has no window, so its work (deleting the local inbox
// copy) is done here at once, as the started program would do it.
class TourLauncher : public perumina::RecordingLauncher
{
public:
    bool start(const QString &program) override;
};

// The time the programs see: the computer's, or, when the tour is given a start time, that time plus one
// second for each reading, whichever program reads it, so that two tours on like sites take like pictures.
class TourClock : public perumina::Clock
{
public:
    explicit TourClock(QDateTime start = {}) : next_(std::move(start)) {}
    QDateTime now() const override;

private:
    mutable QDateTime next_;
};

// The seams of one run of one program.
struct ProgramSeams
{
    ProgramSeams(const QString &program, perumina::Clock &clock) : dialogs(program), clock(clock) {}
    perumina::Seams seams() { return {dialogs, launcher, clock, end}; }

    TourDialogs dialogs;
    TourLauncher launcher;
    perumina::Clock &clock; // the tour's, one for all its programs
    perumina::RecordingEnd end;
    qsizetype messagesSeen = 0; // messages already checked by the tour
};

// The message box a person would see for a recorded message, made into a window for its picture.
QWidget *messageBoxFor(const perumina::RecordingDialogs::Shown &shown, const QString &program);

// Controls of a screen by their names, as a person finds them by their captions.
QWidget *control(QWidget *screen, const QString &name);
template <typename T> T *control(QWidget *screen, const QString &name)
{
    QWidget *widget = control(screen, name);
    T *typed = qobject_cast<T *>(widget);
    if (!typed)
        throw StepFailed{QStringLiteral("%1 の %2 は想定した種類のコントロールではありません。")
                             .arg(screen->objectName(), name)};
    return typed;
}

// Throws unless the screen is the one on display.
void expectShown(QWidget *screen, const QString &what);
// Throws when the screen is still on display.
void expectHidden(QWidget *screen, const QString &what);

// A mouse click on a visible, enabled button (or option) of the screen.
void click(QWidget *screen, const QString &name);
// Types text into a box of the screen key by key, and checks that it arrived.
void type(QWidget *screen, const QString &name, const QString &text);
// Clicks the entry of a list that reads text; double-clicks it when asked.
void pick(QListWidget *list, const QString &text, bool doubleClick = false);
// Picks the entry whose text ends with the given text (lists that indent their entries).
void pickEnding(QListWidget *list, const QString &ending, bool doubleClick = false);

// Freehand drawing on a widget: press at the first point, move through the others, release at the
// last. Points are in the widget's own coordinates.
void stroke(QWidget *surface, const QList<QPoint> &points);

// Spins the event loop until the condition holds or the time is up; whether it holds.
bool waitFor(const std::function<bool()> &condition, int timeoutMs = 10000);

} // namespace tour
