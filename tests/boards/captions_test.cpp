#include "boards/daily/ui/dayboardscreen.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/monthly/ui/monthboardscreen.h"
#include "boardsite.h"
#include "common/controls.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"
#include "shared/site.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Screen
{
    const char *program;
    std::function<std::unique_ptr<QWidget>(perumina::Seams)> make;
    QString title;
    QList<QPair<QString, QString>> captions; // control name, caption
    QStringList absent;
    QStringList readOnly;
    QStringList editable;
};

template <typename Screen, typename Variant>
std::function<std::unique_ptr<QWidget>(perumina::Seams)> maker(Variant variant)
{
    return [variant](perumina::Seams seams) {
        auto screen = std::make_unique<Screen>(variant, seams);
        screen->start();
        return std::unique_ptr<QWidget>(std::move(screen));
    };
}

// A button's or a label's caption.
QString captionOf(QWidget *screen, const QString &name)
{
    return testing_support::control<QWidget>(screen, name)->property("text").toString();
}

// Of a one-line or a multi-line box.
bool isReadOnly(QWidget *screen, const QString &name)
{
    const QVariant readOnly = testing_support::control<QWidget>(screen, name)->property("readOnly");
    EXPECT_TRUE(readOnly.isValid()) << name.toStdString() << " is not a box";
    return readOnly.toBool();
}

using P = QPair<QString, QString>;

} // namespace

TEST(BoardScreens, captionsAndFieldsOfTheSixPrograms)
{
    using boards::daily::Variant;
    using LunchVariant = boards::lunch::Variant;
    using MonthVariant = boards::monthly::Variant;
    const QList<P> daySteps{P("back10Button", "＜＜"), P("back1Button", "＜"), P("todayButton", "◇"),
                            P("forward1Button", "＞"), P("forward10Button", "＞＞")};
    const Screen screens[] = {
        {"DayBoardS",
         maker<boards::daily::DayBoardScreen>(Variant::Admin),
         "今日の日程",
         daySteps + QList<P>{P("updateButton", "表示データを更新する"), P("closeButton", "閉じる"),
                             P("weekdayCaption", "曜　 日"), P("schoolCaption", "校内行事"),
                             P("gradeCaption", "学年行事"), P("timetableCaption", "時間別予定"),
                             P("timetableGradeCaption1", "一学年"), P("timetableGradeCaption3", "三学年")},
         {"titleCaption"},
         {"dateBox"},
         {"eventBox1", "gradeEventBox3", "timetableBox3_9"}},
        {"DayBoardC",
         maker<boards::daily::DayBoardScreen>(Variant::Classroom),
         "グループウェア　（ぺる・み・な）",
         daySteps + QList<P>{P("closeButton", "ようこそへ戻る"), P("titleCaption", "今日の予定は？"),
                             P("weekdayCaption", "曜　日")},
         {"updateButton"},
         {"dateBox", "eventBox1", "gradeEventBox3", "timetableBox3_9"},
         {}},
        {"LunchBoardS",
         maker<boards::lunch::LunchBoardScreen>(LunchVariant::Admin),
         "給食予定",
         daySteps + QList<P>{P("updateButton", "表示データを更新する"), P("closeButton", "閉じる"),
                             P("headingCaption", "給食予定"), P("mainDishCaption", "主　     食"),
                             P("sideDishCaption4", "副　食　④"), P("drinkCaption2", "飲み物　②"),
                             P("caloriesCaption", "総カロリー量"), P("kcalCaption", "kcal"),
                             P("weekdayCaption", "曜　 日")},
         {},
         {"dateBox"},
         {"menuBox1", "menuBox8"}},
        {"LunchBoardC",
         maker<boards::lunch::LunchBoardScreen>(LunchVariant::Classroom),
         "グループウェア　（ぺる・み・な）",
         {P("back10Button", "ず～っと前のメニュを見る"), P("back1Button", "１日前は？"),
          P("todayButton", "今日に戻る"), P("forward1Button", "１日後は？"),
          P("forward10Button", "ず～っと後のメニューを見る"), P("closeButton", "ようこそへ戻る"),
          P("mainDishCaption", "メインメニュー・・・"), P("sideDishCaption", "サブメニュー・・・"),
          P("drinkCaption", "飲み物・・・"), P("caloriesCaption", "気になる総カロリー量は？"),
          P("closingCaption", "にしてみました。"), P("titleCaption", "のメニューは？"),
          P("weekdayCaption", "曜日")},
         {"updateButton"},
         {"dateBox"},
         {"menuBox1", "menuBox8"}}, // editable, though nothing writes them back
        {"MonthBoardS",
         maker<boards::monthly::MonthBoardScreen>(MonthVariant::Admin),
         "月別行事",
         {P("previousMonthButton", "＜"), P("thisMonthButton", "◇"), P("nextMonthButton", "＞"),
          P("updateButton", "表示データを更新する"), P("closeButton", "閉じる"), P("weekdayCaption1", "日"),
          P("weekdayCaption7", "土")},
         {"titleCaption"},
         {"monthBox"},
         {"eventBox1", "eventBox37"}},
        {"MonthBoardC",
         maker<boards::monthly::MonthBoardScreen>(MonthVariant::Classroom),
         "グループウェア（ぺる・み・な）",
         {P("previousMonthButton", "１ヶ月前"), P("thisMonthButton", "今月"),
          P("nextMonthButton", "１ヶ月後"), P("closeButton", "ようこそへ戻る"),
          P("titleCaption", "１ヶ月の行事内容は？"), P("weekdayCaption1", "日")},
         {"updateButton"},
         {"monthBox"},
         {"eventBox1", "eventBox37"}},
    };
    boards_test::BoardSite site;
    for (const Screen &screen : screens) {
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        const auto board = screen.make(fakes.seams());
        SCOPED_TRACE(screen.program);
        EXPECT_EQ(board->windowTitle(), screen.title);
        for (const auto &[name, caption] : screen.captions)
            EXPECT_EQ(captionOf(board.get(), name), caption) << name.toStdString();
        for (const QString &name : screen.absent)
            EXPECT_EQ(board->findChild<QWidget *>(name), nullptr) << name.toStdString();
        for (const QString &name : screen.readOnly)
            EXPECT_TRUE(isReadOnly(board.get(), name)) << name.toStdString();
        for (const QString &name : screen.editable)
            EXPECT_FALSE(isReadOnly(board.get(), name)) << name.toStdString();
    }
}

TEST(BoardScreens, monthlyCalendarSizesAndColours)
{
    boards_test::BoardSite site;
    perumina::FakeSeams fakes;
    boards::monthly::MonthBoardScreen admin(boards::monthly::Variant::Admin, fakes.seams());
    boards::monthly::MonthBoardScreen classroom(boards::monthly::Variant::Classroom, fakes.seams());
    using testing_support::control;
    // The calendar keeps its size; the window scrolls it on a small screen.
    const auto calendar = [](QWidget &screen) {
        return control<QScrollArea>(&screen, "scroll")->widget()->size();
    };
    EXPECT_EQ(calendar(admin), QSize(1016, 720)); // 15240 x 10800 twips
    EXPECT_EQ(calendar(classroom), QSize(1016, 717));
    const auto colour = [](QWidget &screen, const char *name) {
        return control<QLabel>(&screen, name)->palette().color(QPalette::WindowText);
    };
    EXPECT_EQ(colour(admin, "weekdayCaption7"), QColor(0, 0, 255));
    EXPECT_EQ(colour(admin, "dayLabel8"), QColor(255, 0, 0));  // a Sunday
    EXPECT_EQ(colour(admin, "dayLabel14"), QColor(0, 0, 255)); // a Saturday
    EXPECT_EQ(colour(admin, "dayLabel10"), QColor(0, 0, 0));
    EXPECT_TRUE(control<QLabel>(&classroom, "dayLabel8")->font().italic());
    EXPECT_FALSE(control<QLabel>(&admin, "dayLabel8")->font().italic());
    EXPECT_EQ(control<QPlainTextEdit>(&admin, "eventBox37")->geometry(),
              QRect(32 + 136, 136 + 5 * 96, 129, 65));
}

// What a person finds in the PDF the print dialog saves: every board on one A4 page, landscape for the
// month, with the texts of its boxes as shown (an unsaved edit included) as text that can be searched.
TEST(BoardPrint, eachBoardPrintsWhatItShowsOnOneSearchableA4Page)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP()
            << "poppler-utils (pdftotext, pdfinfo) is not installed: the printed text cannot be read back";
    using namespace boards;
    boards_test::BoardSite site;
    setup::Report report;
    setup::addDemoBoardData(site.server, QDate(2026, 6, 10), report);
    ASSERT_TRUE(report.status.ok) << report.status.error.toStdString();
    QTemporaryDir out;
    const QString edit = QStringLiteral("印刷の確認");
    const auto run = [](const QString &tool, const QStringList &arguments) {
        QProcess process;
        process.start(tool, arguments);
        process.waitForFinished();
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const auto squeezed = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("\\s"))); };
    const QString monday = QStringLiteral("2026/06/08");

    struct Case
    {
        QString name;
        std::function<std::unique_ptr<QWidget>(perumina::Seams)> make;
        bool landscape;
        // Edits one box, then gives the texts the page must hold.
        std::function<QStringList(QWidget *)> shown;
    };
    using testing_support::control;
    const auto day = [&](QWidget *screen) {
        control<QPlainTextEdit>(screen, "eventBox2")->setPlainText(edit);
        return QStringList{control<QLineEdit>(screen, "dateBox")->text(),
                           QStringLiteral("（水）の予定"),
                           control<QPlainTextEdit>(screen, "eventBox1")->toPlainText(),
                           control<QPlainTextEdit>(screen, "timetableBox1_1")->toPlainText(),
                           edit,
                           QStringLiteral("放課後")};
    };
    const auto lunch = [&](QWidget *screen) {
        control<QLineEdit>(screen, "menuBox2")->setText(edit);
        const QString mondayRow = QString::number(boards_test::rowOf(QDate(2026, 6, 8)));
        return QStringList{
            monday, QStringLiteral("2026/06/12（金）"), control<QLineEdit>(screen, "menuBox1")->text(), edit,
            lunch::readMenu(static_cast<BoardScreen *>(screen)->session().workbook(), mondayRow).value(0)};
    };
    const auto month = [&](QWidget *screen) {
        control<QPlainTextEdit>(screen, "eventBox20")->setPlainText(edit);
        QString events;
        for (int k = 1; k <= monthly::kSlots && events.isEmpty(); ++k)
            events = k == 20 ? QString()
                             : control<QPlainTextEdit>(screen, QStringLiteral("eventBox%1").arg(k))
                                   ->toPlainText()
                                   .section(u'\n', 0, 0);
        return QStringList{QStringLiteral("2026/06の行事"), events, edit};
    };
    const Case cases[] = {
        {QStringLiteral("DayBoardS"), maker<daily::DayBoardScreen>(daily::Variant::Admin), false, day},
        {QStringLiteral("DayBoardC"), maker<daily::DayBoardScreen>(daily::Variant::Classroom), false, day},
        {QStringLiteral("LunchBoardS"), maker<lunch::LunchBoardScreen>(lunch::Variant::Admin), false, lunch},
        {QStringLiteral("LunchBoardC"), maker<lunch::LunchBoardScreen>(lunch::Variant::Classroom), false,
         lunch},
        {QStringLiteral("MonthBoardS"), maker<monthly::MonthBoardScreen>(monthly::Variant::Admin), true,
         month},
        {QStringLiteral("MonthBoardC"), maker<monthly::MonthBoardScreen>(monthly::Variant::Classroom), true,
         month},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        std::unique_ptr<QWidget> screen = c.make(fakes.seams());
        EXPECT_EQ(control<QPushButton>(screen.get(), "printButton")->text(), QStringLiteral("印刷"));
        const QStringList expected = c.shown(screen.get());
        const QString pdf = out.filePath(c.name + QStringLiteral(".pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        ASSERT_TRUE(renderSheet(dynamic_cast<PrintableBoard &>(*screen).printSheet(), printer));

        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))))
            << info.toStdString();
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+) pts \\(A4\\)"))
                .match(info);
        ASSERT_TRUE(size.hasMatch()) << info.toStdString();
        EXPECT_EQ(size.captured(1).toDouble() > size.captured(2).toDouble(), c.landscape);
        const QString text = squeezed(run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));
        for (const QString &wanted : expected) {
            EXPECT_FALSE(wanted.isEmpty());
            EXPECT_TRUE(text.contains(squeezed(wanted)))
                << wanted.toStdString() << " not in " << text.toStdString();
        }
    }
}

TEST(BoardPrint, theButtonOpensThePreviewOfTheBoardsPage)
{
    boards_test::BoardSite site;
    perumina::FakeSeams fakes;
    boards::monthly::MonthBoardScreen board(boards::monthly::Variant::Classroom, fakes.seams());
    board.start();
    QString previewed;
    bool landscape = false;
    int pages = 0;
    QTimer::singleShot(0, [&] {
        if (auto *preview = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget())) {
            previewed = preview->printer()->docName();
            landscape = preview->printer()->pageLayout().orientation() == QPageLayout::Landscape;
            pages = preview->findChild<QPrintPreviewWidget *>()->pageCount();
            preview->reject();
        }
    });
    testing_support::control<QPushButton>(&board, "printButton")->click();
    EXPECT_EQ(previewed, board.printSheet().title);
    EXPECT_TRUE(landscape);
    EXPECT_EQ(pages, 1);
}

TEST(BoardScreens, tabGoesThroughTheBoxesAsTheScreenReadsAndNeverTypesATab)
{
    using boards::daily::Variant;
    using LunchVariant = boards::lunch::Variant;
    using MonthVariant = boards::monthly::Variant;
    const auto boxes = [](const QString &role, int count) {
        QStringList names;
        for (int n = 1; n <= count; ++n)
            names.append(role + QString::number(n));
        return names;
    };
    QStringList timetable;
    for (int grade = 1; grade <= 3; ++grade)
        timetable += boxes(QStringLiteral("timetableBox%1_").arg(grade), boards::daily::kSlots);
    const QStringList dayBoxes = boxes("eventBox", 3) + boxes("gradeEventBox", 3) + timetable;
    const QStringList daySteps{"back10Button", "back1Button", "todayButton", "forward1Button",
                               "forward10Button"};
    struct Board
    {
        std::function<std::unique_ptr<QWidget>(perumina::Seams)> make;
        QStringList order;
        QString update = {}, dataFile = {}; // staff-room boards
    } screens[] = {
        {maker<boards::daily::DayBoardScreen>(Variant::Admin),
         daySteps + QStringList{"dateBox", "printButton", "updateButton", "closeButton"} + dayBoxes,
         "updateButton", perumina::site::kDayEvents},
        {maker<boards::daily::DayBoardScreen>(Variant::Classroom),
         daySteps + QStringList{"dateBox", "printButton", "closeButton"} + dayBoxes},
        {maker<boards::lunch::LunchBoardScreen>(LunchVariant::Admin),
         daySteps + QStringList{"dateBox", "printButton", "updateButton", "closeButton"} +
             boxes("menuBox", 8),
         "updateButton", perumina::site::kLunchMenu},
        {maker<boards::lunch::LunchBoardScreen>(LunchVariant::Classroom),
         QStringList{"dateBox", "printButton", "closeButton"} + daySteps + boxes("menuBox", 8)},
        {maker<boards::monthly::MonthBoardScreen>(MonthVariant::Admin),
         QStringList{"previousMonthButton", "thisMonthButton", "nextMonthButton", "printButton",
                     "updateButton", "closeButton", "monthBox"} +
             boxes("eventBox", 37),
         "updateButton", perumina::site::kMonthEvents},
        {maker<boards::monthly::MonthBoardScreen>(MonthVariant::Classroom),
         QStringList{"previousMonthButton", "thisMonthButton", "nextMonthButton", "printButton",
                     "closeButton", "monthBox"} +
             boxes("eventBox", 37)},
    };
    boards_test::BoardSite site;
    for (const Board &board : screens) {
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        const auto screen = board.make(fakes.seams());
        SCOPED_TRACE(screen->windowTitle().toStdString());
        screen->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(screen.get()));
        QList<QWidget *> order;
        for (const QString &name : board.order)
            order.append(testing_support::control<QWidget>(screen.get(), name));
        order.first()->setFocus();
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), order[i]) << "after " << board.order[i - 1].toStdString();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), order[order.size() - 2]);

        // 国語, Tab, X into the boxes after the date or title: the tab moves on instead of landing in
        // the box; a pasted one becomes a blank.
        const qsizetype at = board.order.indexOf(board.order.filter("Box").value(1));
        if (isReadOnly(screen.get(), board.order[at]))
            continue;
        const auto text = [](QWidget *box) { return qobject_cast<QLineEdit *>(box) ? "text" : "plainText"; };
        for (QWidget *box : order.mid(at, 3))
            box->setProperty(text(box), QString());
        order[at]->setFocus();
        QTest::sendKeyEvent(QTest::Click, order[at], Qt::Key_unknown, QStringLiteral("国語"), Qt::NoModifier);
        QTest::keyClick(order[at], Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("X"));
        QApplication::clipboard()->setText(QStringLiteral("給食\t牛乳"));
        QMetaObject::invokeMethod(order[at + 2], "paste");
        EXPECT_EQ(order[at]->property(text(order[at])).toString(), QStringLiteral("国語"));
        EXPECT_EQ(order[at + 1]->property(text(order[at + 1])).toString(), QStringLiteral("X"));
        EXPECT_EQ(order[at + 2]->property(text(order[at + 2])).toString(), QStringLiteral("給食 牛乳"));
        if (board.update.isEmpty())
            continue;
        QTest::mouseClick(testing_support::control<QPushButton>(screen.get(), board.update), Qt::LeftButton);
        const QByteArray saved = site.site.bytes(site.data(board.dataFile));
        EXPECT_TRUE(saved.contains(testing_support::sjis(QStringLiteral("給食 牛乳"))));
        EXPECT_FALSE(saved.contains('\t'));
    }
}
