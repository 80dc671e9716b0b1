#include "shared/singleinstance.h"

#include "shared/paths.h"

#include <QCryptographicHash>
#include <QDir>

namespace perumina {

SingleInstance::SingleInstance(const QString &programName)
{
    const QByteArray site = QCryptographicHash::hash(siteRoot().toUtf8(), QCryptographicHash::Sha1).toHex().left(12);
    path_ = QDir::temp().filePath(QStringLiteral("perumina-%1-%2.lock").arg(programName, QString::fromLatin1(site)));
    lock_ = std::make_unique<QLockFile>(path_);
    lock_->setStaleLockTime(0); // only a dead holder makes the lock stale, never its age
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return lock_->isLocked() || lock_->tryLock(0);
}

} // namespace perumina
