#include "boards/lunch/lunchboard.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "screens.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using boards::lunch::Form1;
using boards::lunch::Variant;
using boards_test::BoardSite;

namespace {

struct LunchBoard
{
    LunchBoard(Variant variant, QDate today)
        : form(variant, (fakes.clock.set(QDateTime(today, QTime(8, 0))), fakes.seams()))
    {
        form.Form_Load();
    }
    QPushButton *button(const char *name) { return form.findChild<QPushButton *>(QString::fromLatin1(name)); }
    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    QString menu(int i) { return form.Text[i]->text(); }

    perumina::FakeSeams fakes;
    Form1 form;
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
    EXPECT_EQ(menu[3], QString()); // only two side dishes: Text4 and Text5 empty
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
        EXPECT_EQ(board.form.Text101->text(), QStringLiteral("2026/04/08"));
        EXPECT_EQ(board.form.Label20->text(), QStringLiteral("水"));
        EXPECT_EQ(board.menu(1), QStringLiteral("ソフトめん"));
        board.click("Command9");
        EXPECT_EQ(board.menu(2), QStringLiteral("カレーライス"));
        board.click("Command9");
        board.click("Command9"); // Saturday
        EXPECT_EQ(board.form.Label20->text(), QStringLiteral("土"));
        EXPECT_EQ(board.form.Label20->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        EXPECT_EQ(board.menu(1), QString());
        board.click("Command11");
        EXPECT_EQ(board.form.Text101->text(), QStringLiteral("2026/04/08"));
        board.click("Command7"); // from row 9: refused, first day
        EXPECT_EQ(board.fakes.dialogs.last(), boards::kNoEarlierYear);
        EXPECT_EQ(board.fakes.dialogs.shown.last().title, boards::kStepErrorTitle);
        EXPECT_EQ(board.form.Text101->text(), QStringLiteral("2026/04/01"));
        board.click("Command10");
        EXPECT_EQ(board.form.Text101->text(), QStringLiteral("2026/04/11"));
    }
}

TEST(LunchBoard, writeBackThenCloseAndTheClassroomBoardLeavesTheFile)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("給食予定.txt"));
    {
        LunchBoard classroom(Variant::Classroom, QDate(2026, 4, 8));
        classroom.form.Text[1]->setText(QStringLiteral("落書き"));
        LunchBoard admin(Variant::Admin, QDate(2026, 4, 8));
        admin.form.Text[1]->setText(QStringLiteral("わかめごはん"));
        admin.form.Text[8]->setText(QStringLiteral("805"));
        admin.form.Text[8]->setFocus();
        QTest::keyClick(admin.form.Text[8], Qt::Key_Return); // Enter presses "表示データを更新する"
        admin.click("Command8");
        admin.click("Command9");
        EXPECT_EQ(admin.menu(1), QStringLiteral("わかめごはん"));
        admin.click("Command5");
        EXPECT_TRUE(admin.fakes.end.ended());
        const QByteArray saved = site.site.bytes(path);
        classroom.form.close();
        EXPECT_TRUE(classroom.fakes.end.ended());
        EXPECT_EQ(site.site.bytes(path), saved);
    }
    LunchBoard again(Variant::Classroom, QDate(2026, 4, 8));
    EXPECT_EQ(again.menu(1), QStringLiteral("わかめごはん"));
    EXPECT_EQ(again.menu(8), QStringLiteral("805"));
    EXPECT_EQ(again.form.Text101->text(), QStringLiteral("2026/04/08"));
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
        boards_test::saveScreen(&board.form, variant == Variant::Admin ? QStringLiteral("LunchBoardS")
                                                                       : QStringLiteral("LunchBoardC"));
    }
}
