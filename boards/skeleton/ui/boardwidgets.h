#pragma once

#include "boards/skeleton/boardsession.h"

#include <QWidget>

class QLabel;

namespace boards {

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

private:
    BoardSession session_;
};

} // namespace boards
