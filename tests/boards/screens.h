#pragma once

#include <QString>
#include <QWidget>

namespace boards_test {

// Saves a picture of the window under build/screens/ when PERUMINA_SCREENS is set; the path, or
// empty when not asked for.
QString saveScreen(QWidget *window, const QString &name);

} // namespace boards_test
