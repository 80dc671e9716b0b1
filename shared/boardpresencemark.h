#pragma once

#include <QString>
#include <QTimer>

namespace perumina {

// The presence mark of one open board on the share (shared/boardpresence.h): written when the board
// opens, refreshed while it runs, removed when it closes. The new-year switch refuses while a live mark
// exists. A mark is advice, not a lock: a board whose mark cannot be written works all the same, and
// tries again at each refresh. Marks and their folder get the share's group access whatever the umask,
// and a link in the mark's place is never written through.
class BoardPresence
{
public:
    // Well within the 30 s after which a mark no longer counts.
    static constexpr int kRefreshMs = 10000;

    BoardPresence();
    ~BoardPresence(); // removes the mark
    BoardPresence(const BoardPresence &) = delete;
    BoardPresence &operator=(const BoardPresence &) = delete;

    // Writes the mark of program (e.g. "DayBoardS") on serverName's share, naming this computer and
    // account, and refreshes it every kRefreshMs while the event loop runs. False when it could not be
    // written now.
    bool create(const QString &serverName, const QString &program);
    // Writes the mark again, so that its time is now; recreates it when it was removed.
    bool refresh();
    // Removes the mark and stops refreshing it.
    void remove();
    // The mark's file; empty while none was written.
    QString path() const { return path_; }

private:
    QTimer timer_;
    QString folder_;
    QString program_;
    QString path_;
};

// The account this program runs under, as a mark names it.
QString accountName();

} // namespace perumina
