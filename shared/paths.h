#pragma once

#include <QString>

namespace perumina {

// The folder that stands for both the local "c:\group\" and the share "\\SERVER\..." on systems other
// than Windows: $PERUMINA_ROOT, or ~/.perumina when it is unset.
QString siteRoot();

// True for "c:\..." (any drive letter, either case) and "\\SERVER\...".
bool isWindowsPath(const QString &path);

// The path to open for a path the system names. On Windows the path itself; elsewhere
// "c:\group\x" becomes ROOT/c/group/x and "\\SERVER\share\x" becomes ROOT/unc/SERVER/share/x.
// Any other path is taken to be a path of this system already and is returned unchanged.
QString mapPath(const QString &path);

} // namespace perumina
