#pragma once

#include <QList>

class QWidget;

namespace boards {

// Keys as in any form: Tab and Shift+Tab go through the controls in the order given (the order the
// screen reads), a multi-line box passes Tab on instead of typing it, and a tab that still arrives
// (pasted or dropped) turns into a blank at once, so that no tab ever reaches a cell.
// Enter keeps the window's rule (a line break in a multi-line box, else the default button).
void setReadingOrder(const QList<QWidget *> &order);

} // namespace boards
