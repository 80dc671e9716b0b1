#pragma once

namespace sweeper {

// Deletes the local copy of the last user's inbox so that the next user of this computer never sees
// it. Every failure (no file, no folder, file in use, read-only) is ignored. True when the file is
// gone afterwards.
bool sweepInboxCopy();

} // namespace sweeper
