#pragma once

#include <QString>
#include <gtest/gtest.h>

class QWidget;

namespace testing_support {

// Takes a picture of window and checks that it shows the window: the window's own size, and every
// visible control with a caption or text actually drawn (its area not one flat colour). Saved as
// build/screens/<name>.png when PERUMINA_SCREENS is set.
::testing::AssertionResult screenshot(QWidget *window, const QString &name);

} // namespace testing_support
