#include "boards/daily/ui/dayboardscreen.h"
#include "boards/lunch/ui/lunchboardscreen.h"
#include "boards/monthly/ui/monthboardscreen.h"
#include "boardsite.h"
#include "setup/boarddata.h"
#include "shared/fakes.h"
#include "shared/site.h"

#include <QAbstractButton>
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

template <typename Form, typename Variant>
std::function<std::unique_ptr<QWidget>(perumina::Seams)> maker(Variant variant)
{
    return [variant](perumina::Seams seams) {
        auto form = std::make_unique<Form>(variant, seams);
        form->Form_Load();
        return std::unique_ptr<QWidget>(std::move(form));
    };
}

QString captionOf(QWidget *form, const QString &name)
{
    if (auto *button = form->findChild<QAbstractButton *>(name))
        return button->text();
    if (auto *label = form->findChild<QLabel *>(name))
        return label->text();
    return QStringLiteral("(no control %1)").arg(name);
}

bool isReadOnly(QWidget *form, const QString &name)
{
    if (auto *line = form->findChild<QLineEdit *>(name))
        return line->isReadOnly();
    if (auto *box = form->findChild<QPlainTextEdit *>(name))
        return box->isReadOnly();
    ADD_FAILURE() << "no field " << name.toStdString();
    return false;
}

using P = QPair<QString, QString>;

} // namespace

TEST(BoardScreens, captionsAndFieldsOfTheSixPrograms)
{
    using boards::daily::Variant;
    using LunchVariant = boards::lunch::Variant;
    using MonthVariant = boards::monthly::Variant;
    const QList<P> daySteps{P("Command7", "＜＜"), P("Command8", "＜"), P("Command11", "◇"),
                            P("Command9", "＞"), P("Command10", "＞＞")};
    const Screen screens[] = {
        {"DayBoardS",
         maker<boards::daily::Form1>(Variant::Admin),
         "今日の日程",
         daySteps + QList<P>{P("Command102", "表示データを更新する"), P("Command5", "閉じる"),
                             P("Label29", "曜　 日"), P("Label12", "校内行事"), P("Label11", "学年行事"),
                             P("Label16", "時間別予定"), P("Label17", "一学年"), P("Label19", "三学年")},
         {"Command14", "Label8"},
         {"Text101"},
         {"Text103", "Text108", "Text135"}},
        {"DayBoardC",
         maker<boards::daily::Form1>(Variant::Classroom),
         "グループウェア　（ぺる・み・な）",
         daySteps + QList<P>{P("Command14", "ようこそへ戻る"), P("Label8", "今日の予定は？"),
                             P("Label29", "曜　日")},
         {"Command102", "Command5"},
         {"Text101", "Text103", "Text108", "Text135"},
         {}},
        {"LunchBoardS",
         maker<boards::lunch::Form1>(LunchVariant::Admin),
         "給食予定",
         daySteps + QList<P>{P("Command102", "表示データを更新する"), P("Command5", "閉じる"),
                             P("Label1", "給食予定"), P("Label2", "主　     食"), P("Label6", "副　食　④"),
                             P("Label8", "飲み物　②"), P("Label9", "総カロリー量"), P("Label10", "kcal"),
                             P("Label29", "曜　 日")},
         {},
         {"Text101"},
         {"Text1", "Text8"}},
        {"LunchBoardC",
         maker<boards::lunch::Form1>(LunchVariant::Classroom),
         "グループウェア　（ぺる・み・な）",
         {P("Command7", "ず～っと前のメニュを見る"), P("Command8", "１日前は？"),
          P("Command11", "今日に戻る"), P("Command9", "１日後は？"),
          P("Command10", "ず～っと後のメニューを見る"), P("Command5", "ようこそへ戻る"),
          P("Label2", "メインメニュー・・・"), P("Label3", "サブメニュー・・・"), P("Label7", "飲み物・・・"),
          P("Label9", "気になる総カロリー量は？"), P("Label1", "にしてみました。"),
          P("Label11", "のメニューは？"), P("Label29", "曜日")},
         {"Command102"},
         {"Text101"},
         {"Text1", "Text8"}}, // editable, though nothing writes them back
        {"MonthBoardS",
         maker<boards::monthly::Form1>(MonthVariant::Admin),
         "月別行事",
         {P("Command3", "＜"), P("Command4", "◇"), P("Command5", "＞"), P("Command1", "表示データを更新する"),
          P("Command2", "閉じる"), P("Label41", "日"), P("Label47", "土")},
         {"Command13", "Label38"},
         {"Text52"},
         {"Text1", "Text37"}},
        {"MonthBoardC",
         maker<boards::monthly::Form1>(MonthVariant::Classroom),
         "グループウェア（ぺる・み・な）",
         {P("Command3", "１ヶ月前"), P("Command4", "今月"), P("Command5", "１ヶ月後"),
          P("Command13", "ようこそへ戻る"), P("Label38", "１ヶ月の行事内容は？"), P("Label41", "日")},
         {"Command1", "Command2"},
         {"Text52"},
         {"Text1", "Text37"}},
    };
    boards_test::BoardSite site;
    for (const Screen &screen : screens) {
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        const auto form = screen.make(fakes.seams());
        SCOPED_TRACE(screen.program);
        EXPECT_EQ(form->windowTitle(), screen.title);
        for (const auto &[name, caption] : screen.captions)
            EXPECT_EQ(captionOf(form.get(), name), caption) << name.toStdString();
        for (const QString &name : screen.absent)
            EXPECT_EQ(form->findChild<QWidget *>(name), nullptr) << name.toStdString();
        for (const QString &name : screen.readOnly)
            EXPECT_TRUE(isReadOnly(form.get(), name)) << name.toStdString();
        for (const QString &name : screen.editable)
            EXPECT_FALSE(isReadOnly(form.get(), name)) << name.toStdString();
    }
}

TEST(BoardScreens, monthlyCalendarSizesAndColours)
{
    boards_test::BoardSite site;
    perumina::FakeSeams fakes;
    boards::monthly::Form1 admin(boards::monthly::Variant::Admin, fakes.seams());
    boards::monthly::Form1 classroom(boards::monthly::Variant::Classroom, fakes.seams());
    // The calendar keeps its size; the window scrolls it on a small screen.
    const auto calendar = [](QWidget &form) {
        return form.findChild<QScrollArea *>("scroll")->widget()->size();
    };
    EXPECT_EQ(calendar(admin), QSize(1016, 720)); // 15240 x 10800 twips
    EXPECT_EQ(calendar(classroom), QSize(1016, 717));
    EXPECT_EQ(admin.Heading[7]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(admin.Label[8]->palette().color(QPalette::WindowText), QColor(255, 0, 0));  // a Sunday
    EXPECT_EQ(admin.Label[14]->palette().color(QPalette::WindowText), QColor(0, 0, 255)); // a Saturday
    EXPECT_EQ(admin.Label[10]->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    EXPECT_TRUE(classroom.Label[8]->font().italic());
    EXPECT_FALSE(admin.Label[8]->font().italic());
    EXPECT_EQ(admin.Text[37]->geometry(), QRect(32 + 136, 136 + 5 * 96, 129, 65));
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
    const auto day = [&](QWidget *w) {
        auto *form = static_cast<daily::Form1 *>(w);
        form->Text[4]->setPlainText(edit);
        return QStringList{form->Text101->text(),
                           QStringLiteral("（水）の予定"),
                           form->columnText(3),
                           form->columnText(9),
                           edit,
                           QStringLiteral("放課後")};
    };
    const auto lunch = [&](QWidget *w) {
        auto *form = static_cast<lunch::Form1 *>(w);
        form->Text[2]->setText(edit);
        const QString mondayRow = QString::number(boards_test::rowOf(QDate(2026, 6, 8)));
        return QStringList{monday, QStringLiteral("2026/06/12（金）"), form->Text[1]->text(), edit,
                           lunch::readMenu(form->session().workbook(), mondayRow).value(0)};
    };
    const auto month = [&](QWidget *w) {
        auto *form = static_cast<monthly::Form1 *>(w);
        form->Text[20]->setPlainText(edit);
        QString events;
        for (int k = 1; k <= monthly::kSlots && events.isEmpty(); ++k)
            events = k == 20 ? QString() : form->Text[k]->toPlainText().section(u'\n', 0, 0);
        return QStringList{QStringLiteral("2026/06の行事"), events, edit};
    };
    const Case cases[] = {
        {QStringLiteral("DayBoardS"), maker<daily::Form1>(daily::Variant::Admin), false, day},
        {QStringLiteral("DayBoardC"), maker<daily::Form1>(daily::Variant::Classroom), false, day},
        {QStringLiteral("LunchBoardS"), maker<lunch::Form1>(lunch::Variant::Admin), false, lunch},
        {QStringLiteral("LunchBoardC"), maker<lunch::Form1>(lunch::Variant::Classroom), false, lunch},
        {QStringLiteral("MonthBoardS"), maker<monthly::Form1>(monthly::Variant::Admin), true, month},
        {QStringLiteral("MonthBoardC"), maker<monthly::Form1>(monthly::Variant::Classroom), true, month},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        std::unique_ptr<QWidget> form = c.make(fakes.seams());
        auto *button = form->findChild<QPushButton *>(QStringLiteral("printButton"));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QStringLiteral("印刷"));
        const QStringList expected = c.shown(form.get());
        const QString pdf = out.filePath(c.name + QStringLiteral(".pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        ASSERT_TRUE(renderSheet(dynamic_cast<PrintableBoard &>(*form).printSheet(), printer));

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
    boards::monthly::Form1 board(boards::monthly::Variant::Classroom, fakes.seams());
    board.Form_Load();
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
    board.findChild<QPushButton *>(QStringLiteral("printButton"))->click();
    EXPECT_EQ(previewed, board.printSheet().title);
    EXPECT_TRUE(landscape);
    EXPECT_EQ(pages, 1);
}

TEST(BoardScreens, tabGoesThroughTheBoxesAsTheScreenReadsAndNeverTypesATab)
{
    using boards::daily::Variant;
    using LunchVariant = boards::lunch::Variant;
    using MonthVariant = boards::monthly::Variant;
    const auto boxes = [](int from, int to) {
        QStringList names;
        for (int n = from; n <= to; ++n)
            names.append(QStringLiteral("Text%1").arg(n));
        return names;
    };
    const QStringList daySteps{"Command7", "Command8", "Command11", "Command9", "Command10"};
    struct Board
    {
        std::function<std::unique_ptr<QWidget>(perumina::Seams)> make;
        QStringList order;
        QString update = {}, dataFile = {}; // staff-room boards
    } screens[] = {
        {maker<boards::daily::Form1>(Variant::Admin),
         daySteps + QStringList{"Text101", "printButton", "Command102", "Command5"} + boxes(103, 135),
         "Command102", perumina::site::kDayEvents},
        {maker<boards::daily::Form1>(Variant::Classroom),
         daySteps + QStringList{"Text101", "printButton", "Command14"} + boxes(103, 135)},
        {maker<boards::lunch::Form1>(LunchVariant::Admin),
         daySteps + QStringList{"Text101", "printButton", "Command102", "Command5"} + boxes(1, 8),
         "Command102", perumina::site::kLunchMenu},
        {maker<boards::lunch::Form1>(LunchVariant::Classroom),
         QStringList{"Text101", "printButton", "Command5"} + daySteps + boxes(1, 8)},
        {maker<boards::monthly::Form1>(MonthVariant::Admin),
         QStringList{"Command3", "Command4", "Command5", "printButton", "Command1", "Command2", "Text52"} +
             boxes(1, 37),
         "Command1", perumina::site::kMonthEvents},
        {maker<boards::monthly::Form1>(MonthVariant::Classroom),
         QStringList{"Command3", "Command4", "Command5", "printButton", "Command13", "Text52"} +
             boxes(1, 37)},
    };
    boards_test::BoardSite site;
    for (const Board &board : screens) {
        perumina::FakeSeams fakes;
        fakes.clock.set(QDateTime(QDate(2026, 6, 10), QTime(8, 0)));
        const auto form = board.make(fakes.seams());
        SCOPED_TRACE(form->windowTitle().toStdString());
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QList<QWidget *> order;
        for (const QString &name : board.order)
            order.append(form->findChild<QWidget *>(name));
        order.first()->setFocus();
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), order[i]) << "after " << board.order[i - 1].toStdString();
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), order[order.size() - 2]);

        // 国語, Tab, X into the boxes after the date or title: the tab moves on instead of landing in
        // the box; a pasted one becomes a blank.
        const qsizetype at = board.order.indexOf(board.order.filter("Text").value(1));
        if (isReadOnly(form.get(), board.order[at]))
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
        QTest::mouseClick(form->findChild<QPushButton *>(board.update), Qt::LeftButton);
        const QByteArray saved = site.site.bytes(site.data(board.dataFile));
        EXPECT_TRUE(saved.contains(testing_support::sjis(QStringLiteral("給食 牛乳"))));
        EXPECT_FALSE(saved.contains('\t'));
    }
}
