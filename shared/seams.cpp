#include "shared/seams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace perumina {

QString formatDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

QString formatTime(const QTime &time)
{
    return time.toString(QStringLiteral("H:mm:ss"));
}

QString formatDateTime(const QDateTime &dateTime)
{
    return formatDate(dateTime.date()) + u' ' + formatTime(dateTime.time());
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

static QStringList candidateNames(const QString &name)
{
    QStringList names{name};
    if (name.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        names.append(name.chopped(4));
    return names;
}

static bool isRunnable(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString resolveProgram(const QString &program, const QString &ownDir)
{
    if (program.isEmpty())
        return QString();
    const bool hasFolder = program.contains(u'/') || program.contains(u'\\');
    if (hasFolder) {
        for (const QString &candidate : candidateNames(program))
            if (isRunnable(candidate))
                return QFileInfo(candidate).absoluteFilePath();
        return QString();
    }
    const QStringList names = candidateNames(program);
    if (!ownDir.isEmpty())
        for (const QString &name : names)
            if (isRunnable(QDir(ownDir).filePath(name)))
                return QDir(ownDir).filePath(name);
    for (const QString &name : names) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

ProcessLauncher::ProcessLauncher(QString ownDir)
    : ownDir_(ownDir.isEmpty() && QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                               : std::move(ownDir))
{
}

bool ProcessLauncher::start(const QString &program)
{
    const QString path = resolveProgram(program, ownDir_);
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

} // namespace perumina
