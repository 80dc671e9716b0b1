#pragma once

#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"
#include "shared/boardpresencemark.h"
#include "shared/seams.h"

#include <QString>

namespace boards {

// What differs between the three boards in start-up, stepping and closing.
struct BoardFiles
{
    QString dataFile;     // under 管理データ: "行事予定.txt", "給食予定.txt", "月別行事.txt"
    bool monthly = false; // month index 年月取得.txt and month steps, else date index 日付取得.txt
    // The caption of the box that shows a column (from 1), for messages; row is what the board shows.
    QString (*boxName)(int column, const QStringList &row) = nullptr;
    QString indexFile() const;
    QString nameOfBox(int column, const QStringList &row) const;
};

inline const QString kPleaseWait = QStringLiteral("OKを押して少しお待ちください！");
QString noServerMessage();

// The window a session drives.
class BoardView
{
public:
    virtual ~BoardView() = default;
    virtual void showWindow() = 0;
    // The board's display routine: shows the row named by the session's current row.
    virtual void display() = 0;
    // The texts of the row's columns from column 1 as the boxes show them now (what an update writes).
    virtual QStringList rowTexts() const = 0;
    // The data file was replaced under the board, so typed text can no longer be written: shows the
    // message and the typed text and offers to copy it, so that nothing typed is lost unseen.
    virtual void keepTypedText(const QString &message, const QString &typed) = 0;
};

// The board skeleton as logic: start-up, the index search, stepping, the return to today and
// closing. The window holds one session; its handlers call these.
class BoardSession
{
public:
    BoardSession(perumina::Seams seams, BoardFiles files, BoardView &view);

    // Start-up: waiting message, locator, index search, workbook, window, today's row. A missing
    // locator or data file ends the board after a message; a missing index or a missing line opens
    // it on row 2 after a message.
    void start();
    // The step buttons (-10, -1, +1, +10; the monthly board -1, +1).
    void step(int delta);
    // "◇": today's (this month's) row again.
    void backToToday();
    // "表示データを更新する": writes the boxes whose text differs from what they showed when the row
    // was displayed, at once, merged into the file as it is on disk. Refuses, writing nothing, when
    // another computer changed one of those cells since (naming the box and both texts; pressing again
    // then writes this board's text) or when the file no longer holds the row that was read; then,
    // and at every later press, the typed boxes go to the view's keepTypedText.
    void update();
    // Closing: waiting message, save and release the workbook, end. When the save fails the board
    // says so and stays open once, so that written cells are not lost unseen; closing again ends it.
    // True when the program ended.
    bool close();

    // Who reads the messages: the staff, who can mend a file (staff-room variants), or pupils, who
    // are asked to tell their teacher (classroom variants, the default).
    void setForStaff(bool staff) { staff_ = staff; }

    Workbook &workbook() { return workbook_; }
    const Workbook &workbook() const { return workbook_; }
    QString currentRow() const { return currentRow_; } // the row the board shows
    void setCurrentRow(const QString &row) { currentRow_ = row; }
    QString todayRow() const { return todayRow_; }
    QString serverName() const { return serverName_; }
    QString indexText() const { return indexText_; }
    const MarkerSearch &search() const { return search_; }
    bool ended() const { return ended_; }
    QString dataPath() const;
    QString indexPath() const;
    perumina::Dialogs &dialogs() { return seams_.dialogs; }
    // This board's presence mark on the share, from the server name on until the board ends.
    perumina::BoardPresence &presence() { return presence_; }

private:
    void endProgram();
    QString searchFailure() const;
    // Runs the display and remembers what the row held and what the boxes showed.
    void showRow();
    QString conflictMessage(const QList<CellConflict> &conflicts, const QStringList &now) const;
    // Refuses an update because the data file was replaced; what was typed into the boxes since the
    // row was displayed goes to the view, each box named, for the user to keep.
    void refuseReplaced(const QString &message, const QStringList &now);

    perumina::Seams seams_;
    BoardFiles files_;
    BoardView &view_;
    Workbook workbook_;
    QString serverName_;
    QString indexText_;
    MarkerSearch search_;
    QString todayRow_;
    QString currentRow_;
    int shownRow_ = 0;
    CsvRow shownBytes_;      // the row's cells as read when it was displayed
    QStringList shownTexts_; // the boxes' texts right after that display
    bool replaced_ = false;  // the data file was replaced under this board: it writes no more
    bool staff_ = false;
    perumina::BoardPresence presence_;
    bool ended_ = false;
    bool saveRefused_ = false;
    // Set when the board ends on an error message at its start.
    int exitCode_ = 0;
};

} // namespace boards
