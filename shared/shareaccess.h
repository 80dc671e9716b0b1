#pragma once

#include <QFileDevice>
#include <QString>

namespace perumina {

// Every account of the school writes the share, so what one program creates there must stay
// writable for the others whatever the creating account's umask: files group-readable and
// -writable, folders also group-searchable and setgid (so that what is made inside them keeps the
// share's group). Nothing happens on Windows, where the share's own permissions rule.

// The permissions a file created on the share gets: current | group read and write.
QFileDevice::Permissions sharedFilePermissions(QFileDevice::Permissions current);

// Gives a file or folder this program created the share's group access; false when it could not.
bool grantGroupAccess(const QString &path);

// Creates one folder (its parent must exist) with the share's group access; false when it could not
// be created (also when it exists already).
bool makeSharedFolder(const QString &path);

} // namespace perumina
