#include "boards/lunch/lunchboard.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "common/controls.h"
#include "screens.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using boards::lunch::LunchBoardScreen;
using boards::lunch::Variant;
using boards_test::BoardSite;

namespace {

struct LunchBoard
{
    LunchBoard(Variant variant, QDate today)
        : screen(variant, (fakes.clock.set(QDateTime(today, QTime(8, 0))), fakes.seams()))
    {
        screen.start();
    }
    template <typename T = QPushButton> T *control(const QString &name)
    {
        return testing_support::control<T>(&screen, name);
    }
    void click(const char *name) { QTest::mouseClick(control(QString::fromLatin1(name)), Qt::LeftButton); }
    QLineEdit *menuBox(int i) { return control<QLineEdit>(QStringLiteral("menuBox%1").arg(i)); }
    QString menu(int i) { return menuBox(i)->text(); }
    QString date() { return control<QLineEdit>(QStringLiteral("dateBox"))->text(); }
    QLabel *weekday() { return control<QLabel>(QStringLiteral("weekdayLabel")); }

    perumina::FakeSeams fakes;
    LunchBoardScreen screen;
};

} // namespace

TEST(LunchColumns, readAndWriteColumnsOneToTenOnly)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("給食予定.txt"));
    // A row with a note in column 11 that the board must keep.
    boards::Workbook book;
    ASSERT_TRUE(book.open(path).ok);
    ASSERT_TRUE(book.setCell("9", 11, QStringLiteral("アレルギー：えび")).ok);
    ASSERT_TRUE(book.save().ok);

    ASSERT_TRUE(boards_test::writeRow(book, 9,
                                      {"2026/04/08", "3", QStringLiteral("ごはん"),
                                       QStringLiteral("肉じゃが"), QStringLiteral("ごま和え"), QString(),
                                       QString(), QStringLiteral("牛乳"), QString(), QStringLiteral("812")})
                    .ok);
    const QStringList menu = boards::lunch::readMenu(book, "9");
    ASSERT_EQ(menu.size(), 8);
    EXPECT_EQ(menu[1], QStringLiteral("肉じゃが"));
    EXPECT_EQ(menu[3], QString()); // only two side dishes: the third and fourth empty
    EXPECT_EQ(menu[7], QStringLiteral("812"));
    ASSERT_TRUE(book.save().ok);
    boards::Workbook again;
    ASSERT_TRUE(again.open(path).ok);
    EXPECT_EQ(again.cell("9", 11), QStringLiteral("アレルギー：えび"));
    EXPECT_EQ(again.cell("9", 3), QStringLiteral("ごはん"));
}

TEST(LunchBoard, startsOnThePinnedDateAndStepsLikeTheDailyBoard)
{
    BoardSite site;
    setup::Report report;
    setup::addDemoBoardData(site.server, QDate(2026, 4, 8), report);
    for (Variant variant : {Variant::Admin, Variant::Classroom}) {
        LunchBoard board(variant, QDate(2026, 4, 8));
        EXPECT_EQ(board.date(), QStringLiteral("2026/04/08"));
        EXPECT_EQ(board.weekday()->text(), QStringLiteral("水"));
        EXPECT_EQ(board.menu(1), QStringLiteral("ソフトめん"));
        board.click("forward1Button");
        EXPECT_EQ(board.menu(2), QStringLiteral("カレーライス"));
        board.click("forward1Button");
        board.click("forward1Button"); // Saturday
        EXPECT_EQ(board.weekday()->text(), QStringLiteral("土"));
        EXPECT_EQ(board.weekday()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(board.menu(1), QString());
        board.click("todayButton");
        EXPECT_EQ(board.date(), QStringLiteral("2026/04/08"));
        board.click("back10Button"); // from row 9: refused, first day
        EXPECT_EQ(board.fakes.dialogs.last(), boards::kNoEarlierYear);
        EXPECT_EQ(board.fakes.dialogs.shown.last().title, boards::kStepErrorTitle);
        EXPECT_EQ(board.date(), QStringLiteral("2026/04/01"));
        board.click("forward10Button");
        EXPECT_EQ(board.date(), QStringLiteral("2026/04/11"));
    }
}

TEST(LunchBoard, writeBackThenCloseAndTheClassroomBoardLeavesTheFile)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("給食予定.txt"));
    {
        LunchBoard classroom(Variant::Classroom, QDate(2026, 4, 8));
        classroom.menuBox(1)->setText(QStringLiteral("落書き"));
        LunchBoard admin(Variant::Admin, QDate(2026, 4, 8));
        admin.menuBox(1)->setText(QStringLiteral("わかめごはん"));
        admin.menuBox(8)->setText(QStringLiteral("805"));
        admin.menuBox(8)->setFocus();
        QTest::keyClick(admin.menuBox(8), Qt::Key_Return); // Enter presses "表示データを更新する"
        admin.click("back1Button");
        admin.click("forward1Button");
        EXPECT_EQ(admin.menu(1), QStringLiteral("わかめごはん"));
        admin.click("closeButton");
        EXPECT_TRUE(admin.fakes.end.ended());
        const QByteArray saved = site.site.bytes(path);
        classroom.screen.close();
        EXPECT_TRUE(classroom.fakes.end.ended());
        EXPECT_EQ(site.site.bytes(path), saved);
    }
    LunchBoard again(Variant::Classroom, QDate(2026, 4, 8));
    EXPECT_EQ(again.menu(1), QStringLiteral("わかめごはん"));
    EXPECT_EQ(again.menu(8), QStringLiteral("805"));
    EXPECT_EQ(again.date(), QStringLiteral("2026/04/08"));
}

TEST(LunchBoard, ScreenshotOfBothVariants)
{
    BoardSite site;
    setup::Report report;
    setup::addDemoBoardData(site.server, QDate(2026, 6, 11), report);
    ASSERT_TRUE(report.status.ok);
    for (Variant variant : {Variant::Admin, Variant::Classroom}) {
        LunchBoard board(variant, QDate(2026, 6, 11));
        EXPECT_EQ(board.menu(2), QStringLiteral("カレーライス"));
        boards_test::saveScreen(&board.screen, variant == Variant::Admin ? QStringLiteral("LunchBoardS")
                                                                         : QStringLiteral("LunchBoardC"));
    }
}
