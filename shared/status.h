#pragma once

#include <QString>

namespace perumina {

// Outcome of a file operation: ok, or the reason it failed in words a user can be shown.
struct Status
{
    bool ok = true;
    QString error;

    static Status success() { return {}; }
    static Status failure(const QString &why) { return {false, why}; }
    explicit operator bool() const { return ok; }
};

} // namespace perumina
