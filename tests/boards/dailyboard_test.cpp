#include "boards/daily/dayboard.h"
#include "boards/daily/ui/dayboardscreen.h"
#include "boards/lunch/lunchboard.h"
#include "boards/monthly/monthboard.h"
#include "boards/skeleton/steps.h"
#include "boardsite.h"
#include "common/controls.h"
#include "screens.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using boards::daily::DayBoardScreen;
using boards::daily::Variant;
using boards_test::BoardSite;

namespace {

struct DayBoard
{
    DayBoard(Variant variant, QDate today)
        : screen(variant, (fakes.clock.set(QDateTime(today, QTime(8, 0))), fakes.seams()))
    {
        screen.start();
    }
    template <typename T = QPushButton> T *control(const char *name)
    {
        return testing_support::control<T>(&screen, QString::fromLatin1(name));
    }
    // Column (from 1) of the row as the board shows it.
    QString field(int column) { return screen.rowTexts().value(column - 1); }
    QString date() { return control<QLineEdit>("dateBox")->text(); }
    QPlainTextEdit *box(const char *name) { return control<QPlainTextEdit>(name); }
    void click(const char *name) { QTest::mouseClick(control(name), Qt::LeftButton); }

    perumina::FakeSeams fakes;
    DayBoardScreen screen;
};

QColor textColour(QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}

} // namespace

// The set-up writes the boards' own heading rows: one heading over each column a board reads, none
// beyond.
TEST(BoardHeadings, oneOverEachColumnOfTheBoard)
{
    BoardSite site;
    const struct
    {
        const char *file;
        QStringList heading;
        int columns;
    } boards[] = {{"行事予定.txt", boards::daily::fileHeading(), boards::daily::kColumns},
                  {"給食予定.txt", boards::lunch::fileHeading(), boards::lunch::kColumns},
                  {"月別行事.txt", boards::monthly::fileHeading(), boards::monthly::kFields}};
    for (const auto &board : boards) {
        boards::Workbook book;
        ASSERT_TRUE(book.open(site.data(QString::fromUtf8(board.file))).ok);
        ASSERT_EQ(board.heading.size(), board.columns) << board.file;
        for (int column = 1; column <= board.columns; ++column)
            EXPECT_EQ(book.cell("1", column), board.heading[column - 1]) << board.file;
        EXPECT_EQ(book.cell("1", board.columns + 1), QString()) << board.file;
    }
    EXPECT_EQ(boards::daily::fileHeading()[8], QStringLiteral("1学年始業前"));
    EXPECT_EQ(boards::monthly::fileHeading().mid(0, 3), (QStringList{"年月", "日1", "行事1"}));
    EXPECT_EQ(boards::monthly::fileHeading().last(), QStringLiteral("行事37"));
}

TEST(DayBoard, startsOnThePinnedDateWithItsWeekdayColour)
{
    BoardSite site;
    struct Case
    {
        QDate day;
        QString kanji;
        QColor colour;
    } cases[] = {
        {QDate(2026, 4, 11), QStringLiteral("土"), QColor(0, 0, 255)},
        {QDate(2026, 4, 12), QStringLiteral("日"), QColor(255, 0, 0)},
        {QDate(2026, 4, 8), QStringLiteral("水"), QColor(0, 0, 0)},
    };
    for (const Case &c : cases) {
        for (Variant variant : {Variant::Admin, Variant::Classroom}) {
            DayBoard board(variant, c.day);
            EXPECT_TRUE(board.screen.isVisible());
            EXPECT_EQ(board.date(), c.day.toString(QStringLiteral("yyyy/MM/dd")));
            EXPECT_EQ(board.control<QLabel>("weekdayLabel")->text(), c.kanji);
            EXPECT_EQ(textColour(board.control<QLabel>("weekdayLabel")), c.colour);
        }
    }
}

TEST(DayBoard, stepButtonsAndTodayWalkThroughTheYear)
{
    BoardSite site;
    DayBoard board(Variant::Classroom, QDate(2026, 4, 8)); // row 9
    struct Step
    {
        const char *button;
        QString date;
        QString message;
    } steps[] = {
        {"back1Button", QStringLiteral("2026/04/07"), {}},
        {"forward10Button", QStringLiteral("2026/04/17"), {}},
        {"forward1Button", QStringLiteral("2026/04/18"), {}},
        {"todayButton", QStringLiteral("2026/04/08"), {}},
        {"back10Button", QStringLiteral("2026/04/01"), boards::kNoEarlierYear}, // from row 9
        {"back1Button", QStringLiteral("2026/04/01"), boards::kNoEarlierYear},
        {"forward1Button", QStringLiteral("2026/04/02"), {}},
    };
    for (const Step &s : steps) {
        const qsizetype shown = board.fakes.dialogs.shown.size();
        board.click(s.button);
        EXPECT_EQ(board.date(), s.date) << s.button;
        if (s.message.isEmpty()) {
            EXPECT_EQ(board.fakes.dialogs.shown.size(), shown) << s.button;
        } else {
            ASSERT_EQ(board.fakes.dialogs.shown.size(), shown + 1) << s.button;
            EXPECT_EQ(board.fakes.dialogs.last(), s.message);
        }
    }
    // From the last day on: 367 is past the data and shows empty fields; beyond 367 is refused.
    board.screen.session().setCurrentRow(QStringLiteral("366"));
    board.click("forward1Button");
    EXPECT_EQ(board.date(), QString());
    board.click("forward1Button");
    EXPECT_EQ(board.screen.session().currentRow(), QStringLiteral("368"));
    board.click("forward10Button");
    EXPECT_EQ(board.fakes.dialogs.last(), boards::kNoLaterYear);
    EXPECT_EQ(board.date(), QStringLiteral("2027/03/31"));
}

TEST(DayBoard, writeBackShowsAfterSteppingAndReachesTheFileOnClose)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    {
        DayBoard board(Variant::Admin, QDate(2026, 4, 8));
        board.box("eventBox1")->setPlainText(QStringLiteral("始業式"));
        board.box("timetableBox1_1")->setPlainText(QStringLiteral("朝読書\n（10分）"));
        board.box("timetableBox3_9")->setPlainText(QStringLiteral("部活動, 下校17:00"));
        board.click("updateButton");
        board.click("forward1Button");
        EXPECT_EQ(board.field(3), QString());
        board.click("back1Button");
        EXPECT_EQ(board.field(3), QStringLiteral("始業式"));
        EXPECT_EQ(board.field(9), QStringLiteral("朝読書\n（10分）"));
        board.click("closeButton");
        EXPECT_TRUE(board.fakes.end.ended());
        EXPECT_EQ(board.fakes.dialogs.texts().count(boards::kPleaseWait), 2);
    }
    for (Variant variant : {Variant::Classroom, Variant::Admin}) {
        DayBoard again(variant, QDate(2026, 4, 8));
        EXPECT_EQ(again.field(3), QStringLiteral("始業式"));
        EXPECT_EQ(again.field(35), QStringLiteral("部活動, 下校17:00"));
        EXPECT_EQ(again.field(1), QStringLiteral("2026/04/08"));
        EXPECT_EQ(again.field(2), QStringLiteral("3"));
    }

    // Text that code page 932 cannot hold is refused where it was typed, and nothing is written.
    DayBoard board(Variant::Admin, QDate(2026, 4, 9));
    board.box("eventBox2")->setPlainText(QStringLiteral("𠮷田先生"));
    board.click("updateButton");
    EXPECT_TRUE(board.fakes.dialogs.last().startsWith(QStringLiteral("「行事　２」に使えない文字")))
        << board.fakes.dialogs.last().toStdString();
    EXPECT_FALSE(board.screen.session().workbook().hasWrites());
}

TEST(DayBoard, anUpdateLeavesEveryCellItDidNotChangeByteForByte)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    using testing_support::sjis;
    // Line breaks inside cells (CR LF, a lone CR, LF) and code page 932 codes that another code of the
    // same glyph would replace: IBM's Ⅰ and № (0xFA4A, 0xFA59), and 纊 (0xED40).
    const QByteArray row9 = "2026/04/08,3,\"" + sjis(QStringLiteral("始業式")) + "\r\n" +
                            sjis(QStringLiteral("（体育館）")) +
                            "\",\"a\rb\",\"c\nd\",\xFA\x4A\xFA\x59,\xED\x40";
    QByteArray original = site.site.bytes(path);
    original.replace("2026/04/08,3\r\n", row9 + "\r\n");
    original.replace("2026/04/09,4\r\n", "2026/04/09,4,\xFA\x59\r\n");
    site.site.writeBytes(path, original);

    DayBoard board(Variant::Admin, QDate(2026, 4, 8));
    EXPECT_TRUE(board.field(3).contains(QStringLiteral("（体育館）")));
    board.click("updateButton");
    EXPECT_EQ(site.site.bytes(path), original);
    board.box("timetableBox3_9")->setPlainText(QStringLiteral("部活動"));
    board.click("updateButton");
    QByteArray expected = original;
    expected.replace(row9, row9 + QByteArray(35 - 7, ',') + sjis(QStringLiteral("部活動")));
    EXPECT_EQ(site.site.bytes(path), expected);
    board.click("updateButton"); // again without a change
    board.click("closeButton");
    EXPECT_EQ(site.site.bytes(path), expected);
    EXPECT_EQ(board.fakes.dialogs.texts(), (QStringList{boards::kPleaseWait, boards::kPleaseWait}));

    // Saved again by a spreadsheet with LF line ends, one row with every cell quoted: an update
    // changes the two cells typed into and not one other byte.
    QByteArray lf = expected;
    lf.replace("\r\n", "\n");
    const QByteArray quoted = "\"2026/04/10\",\"5\",\"\",\"d\"\"e\"";
    lf.replace("\n2026/04/10,5\n", "\n" + quoted + "\n");
    site.site.writeBytes(path, lf);
    DayBoard again(Variant::Admin, QDate(2026, 4, 10));
    EXPECT_EQ(again.field(4), QStringLiteral("d\"e"));
    again.box("eventBox1")->setPlainText(QStringLiteral("遠足"));
    again.box("eventBox3")->setPlainText(QStringLiteral("雨天"));
    again.click("updateButton");
    QByteArray spliced = lf;
    spliced.replace(quoted, "\"2026/04/10\",\"5\",\"" + sjis(QStringLiteral("遠足")) + "\",\"d\"\"e\",\"" +
                                sjis(QStringLiteral("雨天")) + "\"");
    EXPECT_EQ(site.site.bytes(path), spliced);
}

TEST(DayBoard, classroomBoardClosingAfterTheAdministratorLeavesTheEdits)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    DayBoard classroom(Variant::Classroom, QDate(2026, 4, 8));
    DayBoard admin(Variant::Admin, QDate(2026, 4, 8));
    admin.box("gradeEventBox1")->setPlainText(QStringLiteral("校外学習"));
    admin.click("updateButton");
    admin.screen.close(); // by the window's close box
    EXPECT_TRUE(admin.fakes.end.ended());
    const QByteArray saved = site.site.bytes(path);
    classroom.click("closeButton");
    EXPECT_TRUE(classroom.fakes.end.ended());
    EXPECT_EQ(site.site.bytes(path), saved);
    EXPECT_TRUE(saved.contains(testing_support::sjis(QStringLiteral("校外学習"))));
}

// A file replaced under the board (a new year, or rows moved by hand) refuses the update; what was typed
// is shown and can be copied, so that it is not lost.
TEST(DayBoard, aReplacedFileOffersTheTypedTextToCopy)
{
    BoardSite site;
    const QString path = site.data(QStringLiteral("行事予定.txt"));
    DayBoard board(Variant::Admin, QDate(2026, 4, 8));
    board.box("eventBox1")->setPlainText(QStringLiteral("始業式"));
    site.site.writeBytes(path, site.site.bytes(path).replace("2026/04/08,", "2027/04/08,"));
    const QByteArray replaced = site.site.bytes(path);
    QGuiApplication::clipboard()->clear();
    QString shown;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->objectName(), QStringLiteral("typedTextBox"));
        shown = box->findChild<QPlainTextEdit *>(QStringLiteral("typedText"))->toPlainText();
        boards_test::saveScreen(box, QStringLiteral("DayBoardS-typedText"));
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("copyButton")), Qt::LeftButton);
        QTest::mouseClick(box->findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    board.click("updateButton");
    EXPECT_TRUE(shown.endsWith(QStringLiteral("「行事　１」：始業式"))) << shown.toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), shown);
    board.click("closeButton");
    EXPECT_EQ(site.site.bytes(path), replaced);
}

TEST(DayBoard, ScreenshotOfBothVariantsOnADayWithEvents)
{
    BoardSite site;
    setup::Report report;
    setup::addDemoBoardData(site.server, QDate(2026, 6, 10), report);
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    for (Variant variant : {Variant::Admin, Variant::Classroom}) {
        DayBoard board(variant, QDate(2026, 6, 10));
        EXPECT_FALSE(board.field(3).isEmpty());
        EXPECT_FALSE(board.field(10).isEmpty());
        boards_test::saveScreen(&board.screen, variant == Variant::Admin ? QStringLiteral("DayBoardS")
                                                                         : QStringLiteral("DayBoardC"));
    }
}
