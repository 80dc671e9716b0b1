#pragma once

#include "boards/skeleton/boardsession.h"
#include "shared/ui/formkit.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace boards {

namespace kit = perumina::kit;

// Sets a weekday label from a weekday number; any other text leaves it as it was.
void applyWeekday(QLabel *label, const QString &number);

// What the six board windows share: the session, showing the window, and closing by the system menu
// running the same closing steps as the close button.
class BoardScreen : public QWidget, public BoardView
{
    Q_OBJECT
public:
    BoardScreen(perumina::Seams seams, BoardFiles files, QWidget *parent = nullptr);

    BoardSession &session() { return session_; }
    // The board's start-up, as its program runs it once the window is built.
    void start() { session_.start(); }
    void showWindow() override { show(); }
    // A message box with the typed text and a "コピー" button that puts it on the clipboard.
    void keepTypedText(const QString &message, const QString &typed) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    BoardSession session_;
};

// The daily and lunch windows: one row per day, shown with its date (dateBox) and weekday
// (weekdayLabel), and the five step buttons back10Button, back1Button, todayButton, forward1Button and
// forward10Button.
class DayRowScreen : public BoardScreen
{
    Q_OBJECT
public:
    DayRowScreen(perumina::Seams seams, BoardFiles files, QWidget *parent = nullptr);

protected:
    // Creates the step buttons, left to right "＜＜", "＜", "◇", "＞", "＞＞" in their board's words.
    void makeStepButtons(const QStringList &captions, const QList<QRect> &geometry);
    // Places the date and the weekday; an empty alignment keeps the box's own.
    void placeDate(QRect date, const QFont &dateFont, QRect weekday, const QFont &weekdayFont,
                   Qt::Alignment dateAlignment = {});
    // Where Tab goes: the step buttons before the date, or after the buttons that follow it; then the
    // boxes.
    enum class Steps
    {
        First,
        AfterButtons
    };
    void setDayReadingOrder(Steps steps, const QList<QWidget *> &buttons, const QList<QWidget *> &boxes);
    // Columns 1 and 2 of the current row: the date into its box, the weekday number to the label.
    void showDateAndWeekday();
    QString shownDate() const;
    // The weekday number of the row shown ("1" Monday to "7" Sunday), as the file holds it.
    QString weekdayNumber() const { return weekdayNumber_; }

private:
    void stepBack10();
    void stepBack1();
    void stepForward1();
    void stepForward10();
    void backToToday();

    QPushButton *back10Button = nullptr;
    QPushButton *back1Button = nullptr;
    QPushButton *todayButton = nullptr;
    QPushButton *forward1Button = nullptr;
    QPushButton *forward10Button = nullptr;
    QLineEdit *dateBox = nullptr;
    QLabel *weekdayLabel = nullptr;
    QString weekdayNumber_;
};

} // namespace boards
