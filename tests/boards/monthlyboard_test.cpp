#include "boards/monthly/monthboard.h"
#include "boards/monthly/ui/monthboardscreen.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "common/controls.h"
#include "screens.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using boards::monthly::MonthBoardScreen;
using boards::monthly::Variant;
using boards_test::BoardSite;

namespace {

struct MonthBoard
{
    MonthBoard(Variant variant, QDate today)
        : screen(variant, (fakes.clock.set(QDateTime(today, QTime(8, 0))), fakes.seams()))
    {
        screen.start();
    }
    template <typename T = QPushButton> T *control(const QString &name)
    {
        return testing_support::control<T>(&screen, name);
    }
    void click(const char *name) { QTest::mouseClick(control(QString::fromLatin1(name)), Qt::LeftButton); }

    perumina::FakeSeams fakes;
    QString month() { return control<QLineEdit>(QStringLiteral("monthBox"))->text(); }
    QString day(int slot) { return control<QLabel>(QStringLiteral("dayLabel%1").arg(slot))->text(); }
    QPlainTextEdit *events(int slot)
    {
        return control<QPlainTextEdit>(QStringLiteral("eventBox%1").arg(slot));
    }

    MonthBoardScreen screen;
};

} // namespace

TEST(MonthRow, readsAndWritesTheSeventyFiveFields)
{
    BoardSite site; // August 2026 (row 6) begins on a Saturday and has 31 days
    boards::Workbook book;
    ASSERT_TRUE(book.open(site.data(QStringLiteral("月別行事.txt"))).ok);
    boards::monthly::MonthRow august = boards::monthly::readMonthRow(book, "6\r");
    EXPECT_EQ(august.title, QStringLiteral("2026/08"));
    ASSERT_EQ(august.days.size(), 37);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(august.days[k], QString()) << k;
    EXPECT_EQ(august.days[6], QStringLiteral("1"));
    EXPECT_EQ(august.days[36], QStringLiteral("31"));

    august.events[9] = QStringLiteral("夏季休業中\n学校閉庁日, \"全員\"");
    ASSERT_TRUE(boards_test::writeRow(book, 6, boards::monthly::monthRowFields(august)).ok);
    EXPECT_EQ(book.cell("6", 1), QStringLiteral("2026/08/"));
    EXPECT_EQ(book.cell("6", 21), QStringLiteral("夏季休業中\n学校閉庁日, \"全員\"")); // slot 10 is field 21
    ASSERT_TRUE(book.save().ok);
    boards::Workbook again;
    ASSERT_TRUE(again.open(site.data(QStringLiteral("月別行事.txt"))).ok);
    EXPECT_EQ(boards::monthly::readMonthRow(again, "6").events[9], august.events[9]);
    EXPECT_EQ(boards::monthly::readMonthRow(again, "7").title, QStringLiteral("2026/09"));

    // Past the last month: an empty title writes "/" and empty fields.
    ASSERT_TRUE(boards_test::writeRow(
                    again, 20, boards::monthly::monthRowFields(boards::monthly::readMonthRow(again, "20")))
                    .ok);
    EXPECT_EQ(again.cell("20", 1), QStringLiteral("/"));
    EXPECT_EQ(again.cell("20", 75), QString());
}

TEST(MonthRow, calendarGeometryInPixels)
{
    const auto s = boards::monthly::calendarGeometry(Variant::Admin);
    EXPECT_EQ(boards::monthly::pixels(boards::monthly::dayLabelTwips(s, 1)), QRect(32, 112, 129, 25));
    EXPECT_EQ(boards::monthly::pixels(boards::monthly::eventsBoxTwips(s, 7)),
              QRect(32 + 6 * 136, 136, 129, 65));
    EXPECT_EQ(boards::monthly::pixels(boards::monthly::eventsBoxTwips(s, 37)),
              QRect(32 + 136, 136 + 5 * 96, 129, 65));
    const auto c = boards::monthly::calendarGeometry(Variant::Classroom);
    EXPECT_EQ(boards::monthly::pixels(boards::monthly::headingTwips(c, 1)), QRect(32, 96, 129, 33));
    EXPECT_EQ(boards::monthly::columnColour(1), 0xFF0000u);
    EXPECT_EQ(boards::monthly::columnColour(7), 0x0000FFu);
    EXPECT_EQ(boards::monthly::columnColour(4), 0u);
}

TEST(MonthBoard, startsOnTheMonthOfThePinnedDateAndNavigates)
{
    BoardSite site;
    for (Variant variant : {Variant::Admin, Variant::Classroom}) {
        MonthBoard board(variant, QDate(2026, 8, 31));
        EXPECT_EQ(board.month(), QStringLiteral("2026/08"));
        EXPECT_EQ(board.day(7), QStringLiteral("1"));
        EXPECT_EQ(board.day(37), QStringLiteral("31"));
        EXPECT_EQ(board.day(1), QString());
        board.click("previousMonthButton");
        EXPECT_EQ(board.month(), QStringLiteral("2026/07"));
        board.click("previousMonthButton");
        board.click("previousMonthButton"); // row 3 to row 2: no message
        EXPECT_EQ(board.month(), QStringLiteral("2026/05"));
        board.click("previousMonthButton");
        EXPECT_EQ(board.month(), QStringLiteral("2026/04"));
        EXPECT_EQ(board.fakes.dialogs.shown.size(), 1);
        board.click("previousMonthButton");
        board.click("previousMonthButton");
        EXPECT_EQ(board.month(), QStringLiteral("2026/04"));
        EXPECT_EQ(board.fakes.dialogs.texts().count(boards::kNoEarlierMonth), 2);
        EXPECT_EQ(board.fakes.dialogs.shown.last().title, boards::kStepErrorTitle);
        for (int i = 0; i < 12; ++i)
            board.click("nextMonthButton"); // past March: an empty month
        EXPECT_EQ(board.month(), QString());
        EXPECT_EQ(board.day(10), QString());
        board.click("thisMonthButton");
        EXPECT_EQ(board.month(), QStringLiteral("2026/08"));
    }
}

TEST(MonthBoard, aMissingMonthLineOpensOnRowTwoWithAMessage)
{
    BoardSite site;
    const QString index = site.data(QStringLiteral("年月取得.txt"));
    site.site.writeBytes(index, "2026/04/,2\r\n2026/05/3\r\n2026/06/,4\r\n");
    for (QDate today : {QDate(2026, 5, 20), QDate(2026, 12, 1)}) {
        MonthBoard board(Variant::Classroom, today);
        ASSERT_EQ(board.fakes.dialogs.texts().size(), 2);
        EXPECT_TRUE(board.fakes.dialogs.texts()[1].startsWith(QStringLiteral("年月取得.txt ")))
            << board.fakes.dialogs.texts()[1].toStdString();
        EXPECT_EQ(board.month(), QStringLiteral("2026/04"));
    }
    QFile::remove(site.site.local(site.data(QStringLiteral("月別行事.txt"))));
    MonthBoard noData(Variant::Admin, QDate(2026, 4, 20));
    EXPECT_TRUE(noData.fakes.end.ended());
    EXPECT_TRUE(
        noData.fakes.dialogs.texts().join("|").contains(QStringLiteral("月別行事.txt が見つかりません。")));
}

TEST(MonthBoard, aWildMonthRowIsRefusedInsteadOfGrowingTheFile)
{
    BoardSite site;
    const QString index = site.data(QStringLiteral("年月取得.txt"));
    const QString path = site.data(QStringLiteral("月別行事.txt"));
    site.site.writeBytes(index, site.site.bytes(index).replace("2026/12/,10\r\n", "2026/12/,2147483647\r\n"));
    const QByteArray original = site.site.bytes(path);
    MonthBoard board(Variant::Admin, QDate(2026, 12, 7));
    ASSERT_EQ(board.fakes.dialogs.texts().size(), 2);
    EXPECT_EQ(board.fakes.dialogs.texts()[1],
              QStringLiteral(
                  "年月取得.txt の 2026/12/ の行の行番号 2147483647 は大きすぎます。月別行事.txt の月の行は "
                  "2 ～ 1201 行目です。正しい行番号に直して下さい。\r\n最初の月を表示します。"));
    EXPECT_EQ(board.month(), QStringLiteral("2026/04"));

    // Stepped far past the data by hand, an update writes nothing there.
    board.screen.session().setCurrentRow(QString::number(boards::kLastMonthRow));
    board.click("nextMonthButton");
    board.events(1)->setPlainText(QStringLiteral("x"));
    board.click("updateButton");
    EXPECT_EQ(board.fakes.dialogs.last(),
              QStringLiteral("月別行事.txt の 1202 行目には書き込みません。月の行は 2 ～ 1201 行目です。"));
    board.click("closeButton");
    EXPECT_TRUE(board.fakes.end.ended());
    EXPECT_EQ(site.site.bytes(path), original);
}

TEST(MonthBoard, writeBackKeepsTheMarkerAndReachesTheFileOnClose)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("月別行事.txt"));
    const QByteArray original = site.site.bytes(path);
    {
        MonthBoard classroom(Variant::Classroom, QDate(2026, 6, 3));
        classroom.events(3)->setPlainText(QStringLiteral("消える"));
        classroom.click("nextMonthButton");
        classroom.click("previousMonthButton");
        EXPECT_EQ(classroom.events(3)->toPlainText(), QString()); // typed text is gone
        classroom.click("closeButton");
        EXPECT_TRUE(classroom.fakes.end.ended());
    }
    EXPECT_EQ(site.site.bytes(path), original);
    {
        MonthBoard admin(Variant::Admin, QDate(2026, 6, 3)); // June 2026: slot 10 is 9 June
        admin.events(10)->setPlainText(QStringLiteral("修学旅行（3年）\n～11日"));
        admin.click("updateButton");
        admin.click("nextMonthButton");
        admin.click("previousMonthButton");
        EXPECT_EQ(admin.events(10)->toPlainText(), QStringLiteral("修学旅行（3年）\n～11日"));
        admin.click("closeButton");
        EXPECT_TRUE(admin.fakes.end.ended());
    }
    boards::Workbook book;
    ASSERT_TRUE(book.open(path).ok);
    EXPECT_EQ(book.cell("4", 21), QStringLiteral("修学旅行（3年）\n～11日"));
    EXPECT_EQ(book.cell("4", 1), QStringLiteral("2026/06/"));
    EXPECT_EQ(book.cell("4", 20), QStringLiteral("9"));
    MonthBoard again(Variant::Classroom, QDate(2026, 6, 30));
    EXPECT_EQ(again.events(10)->toPlainText(), QStringLiteral("修学旅行（3年）\n～11日"));
}

TEST(MonthBoard, buttonsAreDrawnInTheirOwnColours)
{
    BoardSite site;
    struct Case
    {
        Variant variant;
        const char *button;
        QColor face;
    } cases[] = {
        {Variant::Admin, "updateButton", QColor(0xFF, 0x00, 0x00)},
        {Variant::Classroom, "previousMonthButton", QColor(0xFF, 0x80, 0x80)},
        {Variant::Classroom, "thisMonthButton", QColor(0x80, 0xFF, 0x80)},
        {Variant::Classroom, "nextMonthButton", QColor(0x00, 0xFF, 0xFF)},
        {Variant::Classroom, "closeButton", QColor(0x00, 0xFF, 0x00)},
    };
    for (const Case &c : cases) {
        MonthBoard board(c.variant, QDate(2026, 6, 10));
        QPushButton *button = board.control(QString::fromLatin1(c.button));
        const QImage picture = button->grab().toImage();
        // A point of the face beside the caption, clear of the frame.
        const QColor seen = picture.pixelColor(6, picture.height() / 2);
        EXPECT_EQ(seen.name(), c.face.name()) << c.button;
    }
}

TEST(MonthBoard, ScreenshotOfBothVariants)
{
    BoardSite site;
    setup::Report report;
    setup::addDemoBoardData(site.server, QDate(2026, 6, 10), report);
    ASSERT_TRUE(report.status.ok);
    for (Variant variant : {Variant::Admin, Variant::Classroom}) {
        MonthBoard board(variant, QDate(2026, 6, 10));
        EXPECT_FALSE(board.events(2)->toPlainText().isEmpty());
        boards_test::saveScreen(&board.screen, variant == Variant::Admin ? QStringLiteral("MonthBoardS")
                                                                         : QStringLiteral("MonthBoardC"));
    }
}
