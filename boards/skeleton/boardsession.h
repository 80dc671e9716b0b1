#pragma once

#include "boards/skeleton/indexsearch.h"
#include "boards/skeleton/workbook.h"
#include "shared/seams.h"

#include <QString>

namespace boards {

// What differs between the three boards in start-up, stepping and closing.
struct BoardFiles
{
    QString dataFile;     // under 管理データ: "行事予定.txt", "給食予定.txt", "月別行事.txt"
    bool monthly = false; // month index 年月取得.txt and month steps, else date index 日付取得.txt
    QString indexFile() const;
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
    // Closing: waiting message, save and release the workbook, end. When the save fails the board
    // says so and stays open once, so that written cells are not lost unseen; closing again ends it.
    // True when the program ended.
    bool close();

    Workbook &workbook() { return workbook_; }
    const Workbook &workbook() const { return workbook_; }
    QString currentRow() const { return currentRow_; } // Text136
    void setCurrentRow(const QString &row) { currentRow_ = row; }
    QString todayRow() const { return todayRow_; }
    QString serverName() const { return serverName_; }
    QString indexText() const { return indexText_; }
    const MarkerSearch &search() const { return search_; }
    bool ended() const { return ended_; }
    QString dataPath() const;
    QString indexPath() const;
    perumina::Dialogs &dialogs() { return seams_.dialogs; }

private:
    void endProgram();
    QString searchFailure() const;

    perumina::Seams seams_;
    BoardFiles files_;
    BoardView &view_;
    Workbook workbook_;
    QString serverName_;
    QString indexText_;
    MarkerSearch search_;
    QString todayRow_;
    QString currentRow_;
    bool ended_ = false;
    bool saveRefused_ = false;
    // Set when the board ends on an error message at its start.
    int exitCode_ = 0;
};

} // namespace boards
