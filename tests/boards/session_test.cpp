#include "boards/skeleton/boardsession.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "shared/fakes.h"
#include "shared/records.h"
#include "shared/site.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using boards::BoardSession;
using boards_test::BoardSite;
using perumina::FakeSeams;

namespace {

struct CountingView : boards::BoardView
{
    void showWindow() override { ++shown; }
    void display() override { rows.append(session->currentRow()); }
    BoardSession *session = nullptr;
    int shown = 0;
    QStringList rows;
};

struct Board
{
    explicit Board(QDate today, bool monthly = false)
        : session(fakes.seams(),
                  boards::BoardFiles{
                      monthly ? QStringLiteral("月別行事.txt") : QStringLiteral("行事予定.txt"), monthly},
                  view)
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
    const QString noFile = QStringLiteral("C:\\group\\ぺるみな.txt を読めません。");
    for (bool locatorExists : {true, false}) {
        testing_support::TempSite site;
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
        EXPECT_EQ(board.view.shown, 0);
    }
}

TEST(BoardSession, opensOnRowTwoWhenTheIndexCannotGiveToday)
{
    struct Case
    {
        QDate today;
        bool removeIndex;
        QString says;
    } cases[] = {
        {QDate(2030, 5, 1), false, QStringLiteral("日付取得.txt に 2030/05/01 の行がありません。")},
        {QDate(2027, 4, 1), false, QStringLiteral("日付取得.txt に 2027/04/02 の行がありません。")},
        {QDate(2026, 4, 8), true,
         QStringLiteral("\\\\SERVER\\ぺるみな\\管理データ\\日付取得.txt を読めません。")},
    };
    for (const Case &c : cases) {
        BoardSite site;
        if (c.removeIndex)
            QFile::remove(site.site.local(site.data(QStringLiteral("日付取得.txt"))));
        Board board(c.today);
        board.session.start();
        ASSERT_EQ(board.fakes.dialogs.texts().size(), 2);
        EXPECT_TRUE(board.fakes.dialogs.texts()[1].startsWith(c.says))
            << board.fakes.dialogs.texts()[1].toStdString();
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
