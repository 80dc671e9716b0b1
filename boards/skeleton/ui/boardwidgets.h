#pragma once

#include "boards/skeleton/boardsession.h"

#include <QWidget>

#include <QRect>

class QFrame;
class QLabel;
class QPushButton;

namespace boards {

// Controls placed by position, named by their control names.
QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QRect geometry);
QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, QRect geometry);
QFrame *makeFrame(QWidget *parent, const QString &name, QRect geometry);
void setBold(QWidget *widget, qreal pointSize);
// Background and text colours by style sheet (0xRRGGBB); a negative value leaves it as it is.
void setColours(QWidget *widget, int background, int text);

// Sets a weekday label from a weekday number; any other text leaves it as it was.
void applyWeekday(QLabel *label, const QString &number);

// What the six board windows share: the session, showing the window, and closing by the system menu
// running the same closing steps as the close button.
class BoardForm : public QWidget, public BoardView
{
public:
    BoardForm(perumina::Seams seams, BoardFiles files, QWidget *parent = nullptr);

    BoardSession &session() { return session_; }
    // Form_Load: the start-up of the skeleton.
    void Form_Load() { session_.start(); }
    void showWindow() override { show(); }

protected:
    // Form_Unload.
    void closeEvent(QCloseEvent *event) override;
    // Enter presses the default button (the write-back of the administrator boards), except in a
    // multi-line field, where it starts a new line.
    void keyPressEvent(QKeyEvent *event) override;

private:
    BoardSession session_;
};

} // namespace boards

class QLineEdit;

namespace boards {

// The daily and lunch windows: one row per day, the five step buttons Command7 (-10), Command8 (-1),
// Command11 (today), Command9 (+1), Command10 (+10), the date field Text101, the hidden weekday
// number Text102 and the weekday label Label20.
class DayRowForm : public BoardForm
{
public:
    DayRowForm(perumina::Seams seams, BoardFiles files, QWidget *parent = nullptr);

    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();

    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command11 = nullptr;
    QPushButton *Command9 = nullptr;
    QPushButton *Command10 = nullptr;
    QLineEdit *Text101 = nullptr;
    QLineEdit *Text102 = nullptr;
    QLabel *Label20 = nullptr;

protected:
    // Creates the step buttons, left to right "＜＜", "＜", "◇", "＞", "＞＞" in their board's words.
    void makeStepButtons(const QStringList &captions, const QList<QRect> &geometry);
    // Columns 1 and 2 of the current row into Text101 and Text102, and the weekday label from them.
    void showDateAndWeekday();
};

} // namespace boards
