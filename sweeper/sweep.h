#pragma once

namespace perumina {
class Launcher;
}

namespace sweeper {

// Deletes the local copy of the last user's inbox so that the next user of this computer never sees
// it. Every failure (no file, no folder, file in use, read-only) is ignored. True when the file is
// gone afterwards.
bool sweepInboxCopy();

// What the client and the administration program do at start and end: start the sweeper program, and
// where it cannot be started, delete the local inbox copy here instead.
void startSweeper(perumina::Launcher &launcher);

} // namespace sweeper
