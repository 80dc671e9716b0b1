#pragma once

#include <QSize>

class QWidget;

namespace perumina {

// The largest window the smallest screen of a school (1366 x 768) shows whole, with the title bar
// and a task bar.
inline constexpr QSize kLargestWindow{1366, 700};

// A fixed-size screen larger than kLargestWindow keeps its layout, moved as it is into a scroll area
// that fills the window; a screen that fits is left alone. Call it once its controls are made.
void fitOnSmallScreens(QWidget *form);

} // namespace perumina
