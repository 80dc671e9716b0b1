#pragma once

#include <QString>

namespace perumina {

// Tells whether this person already runs a copy of a program for this site on this computer. The
// first copy holds a lock that the system releases when the process ends, however it ends (a crash, a
// logout's SIGTERM), so nothing is left to block the next start. The lock lies in a folder of the
// person's own and is named after the site's real path, so another account never blocks it and
// every spelling of one site root names one lock.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programName);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True when this copy is the only one; it then keeps the lock for its lifetime. Also true when no
    // lock can be made at all (no folder of the person's own): refusing to start would help nobody.
    bool acquire();
    // Where the lock lies; empty when the person has no folder of their own.
    QString lockPath() const { return path_; }

private:
    QString programName_;
    QString path_;
#ifdef Q_OS_WIN
    void *handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace perumina
