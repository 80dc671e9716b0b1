#include "screens.h"

#include "common/testsite.h"

#include <QDir>

namespace boards_test {

QString saveScreen(QWidget *window, const QString &name)
{
    const QString dir = testing_support::screensDir();
    if (dir.isEmpty())
        return QString();
    const QString path = QDir(dir).absoluteFilePath(name + QStringLiteral(".png"));
    window->grab().save(path);
    return QDir::cleanPath(path);
}

} // namespace boards_test
