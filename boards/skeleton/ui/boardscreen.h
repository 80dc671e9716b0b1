#pragma once

#include "boards/skeleton/boardsession.h"
#include "shared/ui/formkit.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace boards {

namespace kit = perumina::kit;

// Sets a weekday label from a weekday number; any other text leaves it as it was.
void applyWeekday(QLabel *label, const QString &number);

// What the six board windows share: the session, showing the window, and closing by the system menu
// running the same closing steps as the close button.
class BoardForm : public QWidget, public BoardView
{
    Q_OBJECT
public:
    BoardForm(perumina::Seams seams, BoardFiles files, QWidget *parent = nullptr);

    BoardSession &session() { return session_; }
    // Form_Load: the start-up of the skeleton.
    void Form_Load() { session_.start(); }
    void showWindow() override { show(); }
    // A message box with the typed text and a "コピー" button that puts it on the clipboard.
    void keepTypedText(const QString &message, const QString &typed) override;

protected:
    // Form_Unload.
    void closeEvent(QCloseEvent *event) override;

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
    Q_OBJECT
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
