#pragma once

#include <QList>
#include <QString>

// Which boards are open, on any computer: each open board keeps a small mark file in
// site::presenceFolder(server), refreshed while it runs. A mark whose file was not touched for
// staleSeconds belongs to a board that ended without removing it (a crash, a power cut) and no longer
// counts. The new-year switch reads the marks and refuses while any board is open.
namespace perumina {

struct OpenBoard
{
    QString program;  // the board program, e.g. "DayBoardS"
    QString computer; // the computer it runs on
    QString user;     // the account it runs under
};

// How long a mark stays live without being refreshed; a board refreshes it well within that.
inline constexpr int kPresenceStaleSeconds = 30;

// The live marks of folder (e.g. site::presenceFolder(server)); none when the
// folder is missing. Marks written in the future (another computer's clock) count as live.
QList<OpenBoard> openBoards(const QString &folder, int staleSeconds = kPresenceStaleSeconds);

// The file name of a board's mark: "<program>-<computer>-<user>-<pid>", each part with the characters
// a file name cannot hold replaced by "_". The mark's content holds the exact values.
QString presenceMarkName(const OpenBoard &board, qint64 pid);

// Creates or refreshes (rewrites, so its modification time is now) the mark of board in folder,
// creating the folder when missing. Returns the mark's path, empty when it could not be written.
QString writePresenceMark(const QString &folder, const OpenBoard &board, qint64 pid);

// Removes the mark written by writePresenceMark (its returned path); missing is fine.
void removePresenceMark(const QString &markPath);

// One line naming each open board, for a refusal: "DayBoardS（PC01、tanaka）".
QString describeOpenBoards(const QList<OpenBoard> &boards);

} // namespace perumina
