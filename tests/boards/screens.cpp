#include "screens.h"

#include "common/testsite.h"

#include <QDir>

namespace boards_test {

QString saveScreen(QWidget *window, const QString &name)
{
    if (qEnvironmentVariableIsEmpty("PERUMINA_SCREENS"))
        return QString();
    // build/bin -> build/screens
    const QString dir = QDir(testing_support::binDir()).absoluteFilePath(QStringLiteral("../screens"));
    QDir().mkpath(dir);
    const QString path = QDir(dir).absoluteFilePath(name + QStringLiteral(".png"));
    window->grab().save(path);
    return QDir::cleanPath(path);
}

} // namespace boards_test
