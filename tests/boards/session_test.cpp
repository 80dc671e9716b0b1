#include "boards/daily/dayboard.h"
#include "boards/monthly/monthboard.h"
#include "boards/skeleton/boardsession.h"
#include "boards/skeleton/rows.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "setup/boarddata.h"
#include "shared/boardpresence.h"
#include "shared/fakes.h"
#include "shared/paths.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>

using boards::BoardSession;
using boards_test::BoardSite;
using perumina::FakeSeams;

namespace {

// A board whose boxes are a list of texts, one per column, that a test edits.
struct CountingView : boards::BoardView
{
    void showWindow() override { ++shown; }
    void display() override
    {
        rows.append(session->currentRow());
        texts = boards::readCells(session->workbook(), session->currentRow(), 1, columns);
    }
    QStringList rowTexts() const override { return texts; }
    void keepTypedText(const QString &message, const QString &typed) override
    {
        kept.append({message, typed});
    }
    BoardSession *session = nullptr;
    QList<QPair<QString, QString>> kept; // message and typed text
    int shown = 0;
    int columns = boards::daily::kColumns;
    QStringList rows;
    QStringList texts;
};

struct Board
{
    explicit Board(QDate today, bool monthly = false)
        : session(fakes.seams(),
                  monthly ? boards::monthly::monthBoardFiles() : boards::daily::dayBoardFiles(), view)
    {
        view.session = &session;
        fakes.clock.set(QDateTime(today, QTime(8, 0)));
    }
    FakeSeams fakes;
    CountingView view;
    BoardSession session;
};

const QString kWait = boards::kPleaseWait;

} // namespace

TEST(BoardSession, startsOnTodaysRowAndSteps)
{
    BoardSite site;
    Board board(QDate(2026, 4, 8));
    board.session.start();
    EXPECT_EQ(board.fakes.dialogs.texts(), QStringList{kWait});
    EXPECT_EQ(board.session.serverName(), QStringLiteral("SERVER"));
    EXPECT_EQ(board.session.todayRow(), QStringLiteral("9\r"));
    EXPECT_EQ(board.view.shown, 1);
    EXPECT_EQ(board.view.rows, QStringList{QStringLiteral("9\r")});

    board.session.step(-10);
    EXPECT_EQ(board.session.currentRow(), QStringLiteral("2"));
    EXPECT_EQ(board.fakes.dialogs.last(), boards::kNoEarlierYear);
    EXPECT_EQ(board.fakes.dialogs.shown.last().title, boards::kStepErrorTitle);
    EXPECT_EQ(board.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::Exclamation);
    board.session.step(10);
    board.session.step(1);
    EXPECT_EQ(board.session.currentRow(), QStringLiteral("13"));
    board.session.backToToday();
    EXPECT_EQ(board.session.currentRow(), QStringLiteral("9\r"));
    EXPECT_EQ(board.view.rows.size(), 5);
}

TEST(BoardSession, endsAfterAMessageWhenNoServerIsNamed)
{
    for (bool locatorExists : {true, false}) {
        testing_support::TempSite site;
        // A path in a message is the one the file system knows, written one way.
        const QString noFile = site.local(perumina::local::kLocator) + QStringLiteral(" を読めません。");
        site.makeSite();
        if (locatorExists)
            site.writeBytes(perumina::local::kLocator, "\r\n");
        else
            QFile::remove(site.local(perumina::local::kLocator));
        Board board(QDate(2026, 4, 8));
        board.session.start();
        const QStringList texts = board.fakes.dialogs.texts();
        ASSERT_EQ(texts.size(), 3);
        EXPECT_EQ(texts[0], kWait);
        if (locatorExists)
            EXPECT_EQ(texts[1], boards::noServerMessage());
        else
            EXPECT_TRUE(texts[1].startsWith(noFile)) << texts[1].toStdString();
        EXPECT_EQ(texts[2], kWait);
        EXPECT_TRUE(board.fakes.end.ended());
        EXPECT_EQ(board.fakes.end.lastExitCode, 1);
        EXPECT_EQ(board.view.shown, 0);
    }
}

TEST(BoardSession, opensOnRowTwoWhenTheIndexCannotGiveToday)
{
    const QByteArray line8 = "2026/04/08,9\r\n";
    struct Case
    {
        QDate today;
        bool removeIndex;
        QString says;
        QByteArray from = {}, to = {}; // an edit of the index
        QString staffMend = {};        // on a staff-room board: how the staff mend the index
    } cases[] = {
        {QDate(2030, 5, 1), false, QStringLiteral("日付取得.txt に 2030/05/01 の行がありません。")},
        {QDate(2027, 4, 1), false, QStringLiteral("日付取得.txt に 2027/04/02 の行がありません。")},
        {QDate(2026, 4, 8), true, QString()}, // names the index by its path on this computer
        {QDate(2026, 4, 8), false,
         QStringLiteral(
             "日付取得.txt の 2026/04/08 の行の行番号が 1 です。行事予定.txt の 1 行目は見出しの行です。"),
         line8, "2026/04/08,1\r\n", QStringLiteral("その日の行番号（2 以上）を書いて下さい。")},
        {QDate(2026, 4, 8), false,
         QStringLiteral("日付取得.txt に 2026/04/08 の行が 2 つあります（行番号 9 と 10）。"), line8,
         line8 + "2026/04/08,10\r\n"},
        {QDate(2026, 4, 8), false,
         QStringLiteral("日付取得.txt の 2026/04/08 の行の行番号 9 の後に「,メモ」があります。"), line8,
         "2026/04/08,9," + testing_support::sjis(QStringLiteral("メモ")) + "\r\n",
         QStringLiteral("行番号の後には何も書かないで下さい。")},
        {QDate(2026, 4, 8), false,
         QStringLiteral(
             "日付取得.txt の 2026/04/08 の行の行番号 401 は大きすぎます。行事予定.txt の日の行は 2 ～ "
             "400 行目です。"),
         line8, "2026/04/08,401\r\n"},
        {QDate(2026, 4, 8), false,
         QStringLiteral("日付取得.txt の 2026/04/09 の行が 2026/04/08 の行より前にあります。"),
         "2026/04/08,9\r\n2026/04/09,10\r\n", "2026/04/09,10\r\n2026/04/08,9\r\n",
         QStringLiteral("順番に並べて下さい。")},
    };
    for (const Case &c : cases) {
        BoardSite site;
        const QString index = site.data(QStringLiteral("日付取得.txt"));
        if (c.removeIndex)
            QFile::remove(site.site.local(index));
        if (!c.from.isEmpty())
            site.site.writeBytes(index, site.site.bytes(index).replace(c.from, c.to));
        Board board(c.today);
        board.session.setForStaff(!c.staffMend.isEmpty());
        board.session.start();
        ASSERT_EQ(board.fakes.dialogs.texts().size(), 2);
        const QString says = c.removeIndex ? site.site.local(site.data(QStringLiteral("日付取得.txt"))) +
                                                 QStringLiteral(" を読めません。")
                                           : c.says;
        const QString told = board.fakes.dialogs.texts()[1];
        EXPECT_TRUE(told.startsWith(says)) << told.toStdString();
        // Pupils are asked to tell their teacher; the staff are told what to change.
        if (!c.removeIndex) {
            EXPECT_EQ(told.contains(QStringLiteral("担任の先生に知らせて下さい。")), c.staffMend.isEmpty())
                << told.toStdString();
        }
        EXPECT_TRUE(told.contains(c.staffMend + QStringLiteral("\r\n最初の日を表示します。")))
            << told.toStdString();
        EXPECT_EQ(board.session.currentRow(), QStringLiteral("2"));
        EXPECT_EQ(board.view.shown, 1);
        EXPECT_FALSE(board.fakes.end.ended());
    }
}

TEST(BoardSession, endsWithAMessageWhenTheDataFileIsMissing)
{
    BoardSite site;
    QFile::remove(site.site.local(site.data(QStringLiteral("行事予定.txt"))));
    Board board(QDate(2026, 4, 8));
    board.session.start();
    const QStringList texts = board.fakes.dialogs.texts();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[1].contains(QStringLiteral("行事予定.txt が見つかりません。")));
    EXPECT_TRUE(board.fakes.end.ended());
    EXPECT_EQ(board.view.shown, 0);
}

TEST(BoardSession, closingSavesOnlyWrittenCellsAndEnds)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    const QByteArray before = site.site.bytes(path);
    {
        Board classroom(QDate(2026, 4, 8));
        classroom.session.start();
        EXPECT_TRUE(classroom.session.close());
        EXPECT_EQ(classroom.fakes.dialogs.texts(), (QStringList{kWait, kWait}));
        EXPECT_TRUE(classroom.fakes.end.ended());
        EXPECT_FALSE(classroom.session.workbook().isOpen());
        EXPECT_TRUE(classroom.session.close()); // once ended, nothing more happens
        EXPECT_EQ(classroom.fakes.end.count, 1);
    }
    EXPECT_EQ(site.site.bytes(path), before);

    Board admin(QDate(2026, 4, 8));
    admin.session.start();
    ASSERT_TRUE(admin.session.workbook().setCell(admin.session.currentRow(), 3, QStringLiteral("始業式")).ok);
    EXPECT_TRUE(admin.session.close());
    EXPECT_NE(site.site.bytes(path), before);
    boards::Workbook reopened;
    ASSERT_TRUE(reopened.open(path).ok);
    EXPECT_EQ(reopened.cell("9", 3), QStringLiteral("始業式"));
}

// An open board keeps a live presence mark until it closes, with the share's group access whatever the
// umask; a link in the mark's place is not written through, and a board without its mark still works.
TEST(BoardSession, keepsAPresenceMarkWhileOpen)
{
    BoardSite site;
    const QString folder = perumina::site::presenceFolder(site.server);
    QDir(folder).removeRecursively();
    Board board(QDate(2026, 4, 8));
    const mode_t umask = ::umask(077);
    board.session.start();
    ::umask(umask);
    const QList<perumina::OpenBoard> open = perumina::openBoards(folder);
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0].program, QCoreApplication::applicationName());
    EXPECT_EQ(open[0].computer, QSysInfo::machineHostName());
    EXPECT_EQ(open[0].user, perumina::accountName());
    const QString mark = board.session.presence().path();
    struct stat info;
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & (S_IRWXG | S_ISGID), S_IRWXG | S_ISGID);
    ASSERT_EQ(::stat(QFile::encodeName(mark).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & (S_IRGRP | S_IWGRP), S_IRGRP | S_IWGRP);
    // Not refreshed for a minute, the mark no longer counts; the refresh makes it live again.
    QFile file(mark);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    file.close();
    EXPECT_TRUE(perumina::openBoards(folder).isEmpty());
    EXPECT_TRUE(board.session.presence().refresh());
    EXPECT_EQ(perumina::openBoards(folder).size(), 1);
    EXPECT_TRUE(board.session.close());
    EXPECT_FALSE(QFileInfo::exists(mark));
    EXPECT_TRUE(perumina::openBoards(folder).isEmpty());

    const QString victim = QDir(site.site.root()).filePath(QStringLiteral("victim.txt"));
    site.site.writeBytes(victim, "keep");
    ASSERT_TRUE(QFile::link(victim, mark));
    Board linked(QDate(2026, 4, 8));
    linked.session.start();
    EXPECT_EQ(linked.view.shown, 1);
    EXPECT_TRUE(linked.session.presence().path().isEmpty());
    EXPECT_EQ(site.site.bytes(victim), "keep");
    EXPECT_TRUE(linked.session.close());
}

TEST(BoardSession, aFailedSaveKeepsTheBoardOpenOnce)
{
    BoardSite site;
    Board board(QDate(2026, 4, 8));
    board.session.start();
    ASSERT_TRUE(board.session.workbook().setCell("9", 3, "x").ok);
    const QString local = site.site.local(site.data(QStringLiteral("行事予定.txt")));
    QFile::remove(local);
    QDir().mkpath(local);
    EXPECT_FALSE(board.session.close());
    EXPECT_FALSE(board.fakes.end.ended());
    EXPECT_TRUE(board.fakes.dialogs.last().contains(QStringLiteral("保存できませんでした")));
    EXPECT_TRUE(board.session.close());
    EXPECT_TRUE(board.fakes.end.ended());
    EXPECT_EQ(board.fakes.end.lastExitCode, 0); // the user chose to end
}

TEST(BoardSession, saysSoWhenTheDataFileEndsInsideAQuotedCell)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    site.site.writeBytes(path, site.site.bytes(path) + "2027/04/01,4,\"not closed\r\n");
    Board board(QDate(2026, 4, 8));
    board.session.start();
    ASSERT_EQ(board.fakes.dialogs.texts().size(), 2);
    EXPECT_TRUE(board.fakes.dialogs.texts()[1].contains(QStringLiteral("引用符が閉じていません")));
    EXPECT_EQ(board.view.shown, 1);
    EXPECT_EQ(board.session.workbook().cell("367", 3), QStringLiteral("not closed\r\n"));
}

TEST(BoardSession, twoBoardsOnOneRowKeepEachOthersCellsAndReportTheSameCell)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    auto cellOnDisk = [&](int column) {
        boards::Workbook book;
        EXPECT_TRUE(book.open(path).ok);
        return book.cell("9", column);
    };
    Board a(QDate(2026, 4, 8));
    Board b(QDate(2026, 4, 8));
    a.session.start();
    b.session.start();

    a.view.texts[2] = QStringLiteral("始業式");
    a.session.update(); // written at once
    EXPECT_TRUE(a.session.close());
    b.view.texts[5] = QStringLiteral("校外学習"); // b still shows the row without a's change
    b.session.update();
    EXPECT_EQ(cellOnDisk(3), QStringLiteral("始業式"));
    EXPECT_EQ(cellOnDisk(6), QStringLiteral("校外学習"));
    EXPECT_EQ(b.fakes.dialogs.texts(), QStringList{kWait});

    // The same box: b is told, with both texts, before anything is overwritten.
    Board c(QDate(2026, 4, 8));
    c.session.start();
    c.view.texts[10] = QStringLiteral("朝読書");
    c.session.update();
    b.view.texts[10] = QStringLiteral("全校朝会");
    b.view.texts[11] = QStringLiteral("国語");
    b.session.update();
    const QString told = b.fakes.dialogs.last();
    EXPECT_TRUE(told.contains(QStringLiteral("「一学年 2校時」"))) << told.toStdString(); // column 11
    EXPECT_TRUE(told.contains(QStringLiteral("「朝読書」")));
    EXPECT_TRUE(told.contains(QStringLiteral("「全校朝会」")));
    EXPECT_FALSE(told.contains(QStringLiteral("「一学年 3校時」")));
    EXPECT_EQ(b.fakes.dialogs.shown.last().icon, perumina::Dialogs::Icon::Exclamation);
    EXPECT_EQ(cellOnDisk(11), QStringLiteral("朝読書"));
    EXPECT_EQ(cellOnDisk(12), QString()); // nothing of that update was written
    // Stepping away and back would show the other text; pressing again writes this board's.
    EXPECT_EQ(b.session.workbook().cell("9", 11), QStringLiteral("朝読書"));
    const qsizetype shown = b.fakes.dialogs.shown.size();
    b.session.update();
    EXPECT_EQ(b.fakes.dialogs.shown.size(), shown);
    EXPECT_EQ(cellOnDisk(11), QStringLiteral("全校朝会"));
    EXPECT_EQ(cellOnDisk(12), QStringLiteral("国語"));
    EXPECT_EQ(cellOnDisk(6), QStringLiteral("校外学習"));
}

TEST(BoardSession, namesTheBoxOfTextThatCannotBeStoredAndLeavesAnUndecodableCellAlone)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("月別行事.txt"));
    QByteArray bytes = site.site.bytes(path);
    // Slot 20 of June 2026 (row 4, field 41) holds bytes that are no character.
    boards::Workbook book;
    ASSERT_TRUE(book.open(path).ok);
    ASSERT_TRUE(book.setCell("4", 41, "x").ok);
    ASSERT_TRUE(book.save().ok);
    bytes = site.site.bytes(path);
    bytes.replace(",x,", QByteArray(",\x81\x20,"));
    site.site.writeBytes(path, bytes);

    Board board(QDate(2026, 6, 3), true);
    board.view.columns = boards::monthly::kFields;
    board.session.start();
    board.view.texts[2 * 3] = QStringLiteral("𠮷田先生来校"); // slot 3, day 2
    board.session.update();
    EXPECT_TRUE(board.fakes.dialogs.last().startsWith(QStringLiteral("「2日の行事」に使えない文字")))
        << board.fakes.dialogs.last().toStdString();
    board.view.texts[2 * 3] = QStringLiteral("吉田先生来校");
    board.session.update();
    boards::Workbook reread;
    ASSERT_TRUE(reread.open(path).ok);
    EXPECT_EQ(reread.cell("4", 7), QStringLiteral("吉田先生来校"));
    EXPECT_TRUE(site.site.bytes(path).contains(",\x81\x20,"));
}

TEST(BoardSession, writesNothingIntoANewYearRolledOverUnderTheBoard)
{
    BoardSite site; // 2026
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    Board board(QDate(2027, 3, 31));
    board.session.start();
    board.view.texts[2] = QStringLiteral("修了式");
    // The switch refuses while a board is open; this one's mark has gone stale (its computer lost the
    // share for a while), so the file is replaced under it.
    for (const QFileInfo &mark :
         QDir(perumina::site::presenceFolder(site.server)).entryInfoList(QDir::Files)) {
        QFile file(mark.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(
            file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
    }

    setup::Report report;
    const setup::YearChange change = setup::startSchoolYear(site.server, 2027, report);
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    EXPECT_EQ(change.oldYear, 2026);
    EXPECT_EQ(change.moved.size(), 5);
    const QByteArray fresh = site.site.bytes(path);
    const QByteArray old = site.site.bytes(site.data(QStringLiteral("2026年度\\行事予定.txt")));

    // What was typed is handed back with the refusal, each box named, every time it is refused.
    board.session.update();
    ASSERT_EQ(board.view.kept.size(), 1);
    EXPECT_TRUE(board.view.kept[0].first.contains(QStringLiteral("置き換えられています")))
        << board.view.kept[0].first.toStdString();
    EXPECT_EQ(board.view.kept[0].second,
              QStringLiteral("行事予定.txt　366行目（2027/03/31）\n「行事　１」：修了式"));
    board.view.texts[5] = QStringLiteral("大掃除");
    board.session.update();
    ASSERT_EQ(board.view.kept.size(), 2);
    EXPECT_TRUE(board.view.kept[1].first.contains(QStringLiteral("開き直して")));
    EXPECT_TRUE(board.view.kept[1].second.endsWith(QStringLiteral("修了式\n「学年行事 1学年」：大掃除")))
        << board.view.kept[1].second.toStdString();
    EXPECT_EQ(board.fakes.dialogs.texts(), QStringList{kWait});
    EXPECT_TRUE(board.session.close());
    EXPECT_EQ(site.site.bytes(path), fresh);
    EXPECT_EQ(site.site.bytes(site.data(QStringLiteral("2026年度\\行事予定.txt"))), old);
    EXPECT_FALSE(old.contains(testing_support::sjis(QStringLiteral("修了式"))));
}
