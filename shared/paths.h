#pragma once

#include <QString>

namespace perumina {

// The folder that stands for both the local "c:\group\" and the share "\\SERVER\..." on systems other
// than Windows: $PERUMINA_ROOT, or ~/.perumina when it is unset.
QString siteRoot();

// The site root with links and relative spellings resolved, so that one site has one name whichever
// way PERUMINA_ROOT spells it; the cleaned absolute path when the root does not exist.
QString canonicalSiteRoot();

// A folder of this account's own for this site, which no other account can read, fill or block: in
// the session's runtime folder (emptied when the person logs out), else in the home folder, else in
// the account's own folder of the system's temporary folder. Created when missing, made 0700; a
// folder there that is a link or another account's is never used. Empty when none can be made.
QString personalSiteFolder();

// True for "c:\..." (any drive letter, either case) and "\\SERVER\...".
bool isWindowsPath(const QString &path);

// The path to open for a path the system names. On Windows the path itself; elsewhere
// "c:\group\x" becomes ROOT/c/group/x and "\\SERVER\share\x" becomes ROOT/unc/SERVER/share/x.
// Any other path is taken to be a path of this system already and is returned unchanged. The site
// module (shared/site.h) maps each path it makes, once; the rest of the code works with those paths
// and never maps again.
QString mapPath(const QString &path);
// The other way: the system's own name of a path mapPath made ("\\SERVER\ぺるみな\...",
// "c:\group\..."), for a message that names a file as the system does. Any other path comes back as
// it is.
QString systemName(const QString &path);

} // namespace perumina
