#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace perumina {

// Tells whether another copy of a program already runs on this computer for this site. The first
// copy holds a lock file in the computer's temporary folder until it ends; a copy that died leaves a
// lock that the next start recognises as stale by its process number.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programName);
    ~SingleInstance();
    // True when this copy is the only one; it then keeps the lock for its lifetime.
    bool acquire();

private:
    QString path_;
    std::unique_ptr<QLockFile> lock_;
};

} // namespace perumina
