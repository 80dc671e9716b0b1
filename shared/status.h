#pragma once

#include <QString>

namespace perumina {

// Outcome of a file operation: ok, or the reason it failed in words a user can be shown, with the
// kind of failure so that a caller can tell a busy file (worth a retry) from one that never works.
struct Status
{
    enum class Kind
    {
        None,         // ok
        InUse,        // another computer holds the file's lock
        NoPermission, // read-only share or folder, or no write permission
        DiskFull,     // no space left on the share or the local disk
        Missing,      // the file or its folder is not there
        Other,
    };

    bool ok = true;
    QString error;
    Kind kind = Kind::None;

    static Status success() { return {}; }
    static Status failure(const QString &why, Kind kind = Kind::Other) { return {false, why, kind}; }
    explicit operator bool() const { return ok; }
};

} // namespace perumina
