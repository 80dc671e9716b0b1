#include "common/testsite.h"

#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"
#include "shared/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>
#include <unistd.h>

namespace testing_support {

TempSite::TempSite()
{
    if (!dir_.isValid())
        throw std::runtime_error("no temporary folder");
    hadRoot_ = qEnvironmentVariableIsSet("PERUMINA_ROOT");
    previousRoot_ = qgetenv("PERUMINA_ROOT");
    qputenv("PERUMINA_ROOT", dir_.path().toUtf8());
    hadRuntime_ = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    previousRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    const QString runtime = dir_.filePath(QStringLiteral("run"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toUtf8());
}

TempSite::~TempSite()
{
    if (hadRoot_)
        qputenv("PERUMINA_ROOT", previousRoot_);
    else
        qunsetenv("PERUMINA_ROOT");
    if (hadRuntime_)
        qputenv("XDG_RUNTIME_DIR", previousRuntime_);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

NoHomeOrSession::NoHomeOrSession()
{
    if (!temp_.isValid())
        throw std::runtime_error("no temporary folder");
    for (const char *name : {"HOME", "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "TMPDIR"})
        saved_.append({name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt});
    // A home below a plain file cannot be made, not even by root.
    QFile blocker(temp_.filePath(QStringLiteral("file")));
    if (!blocker.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write test file");
    blocker.close();
    qputenv("HOME", QFile::encodeName(temp_.filePath(QStringLiteral("file/home"))));
    qunsetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_CACHE_HOME");
    qputenv("TMPDIR", QFile::encodeName(temp_.path()));
}

NoHomeOrSession::~NoHomeOrSession()
{
    for (const auto &[name, value] : saved_)
        value ? qputenv(name.constData(), *value) : qunsetenv(name.constData());
}

QString NoHomeOrSession::accountFolder() const
{
    return temp_.filePath(QStringLiteral("perumina-%1").arg(::getuid()));
}

QString TempSite::local(const QString &systemPath) const
{
    return perumina::mapPath(systemPath);
}

void TempSite::makeSite(const QString &server)
{
    using namespace perumina;
    QDir().mkpath(local(SharePath(server, tails::kAdminFolder)));
    QDir().mkpath(local(QStringLiteral("c:\\group")));
    for (const QString &tail : {tails::kFullNames, tails::kCredentials, tails::kAdminRecords,
                                tails::kUserNames, tails::kInboxTemplate})
        writeBytes(SharePath(server, tail), {});
    writeBytes(local::kLocator, sjis(server + QStringLiteral("\r\n")));
}

QByteArray TempSite::bytes(const QString &systemPath) const
{
    QFile file(local(systemPath));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void TempSite::writeBytes(const QString &systemPath, const QByteArray &bytes) const
{
    const QString path = local(systemPath);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray sjis(const QString &text)
{
    auto bytes = perumina::encodeCp932(text);
    if (!bytes)
        throw std::runtime_error("text not in code page 932");
    return *bytes;
}

QString screensDir()
{
    if (!qEnvironmentVariableIsSet("PERUMINA_SCREENS"))
        return QString();
    const QString dir = QDir::cleanPath(testBinDir() + QStringLiteral("/../screens"));
    QDir().mkpath(dir);
    return dir;
}

// Test programs are built into build/tests, the system's programs into build/bin.
QString binDir()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin"));
}

QString testBinDir()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace testing_support
