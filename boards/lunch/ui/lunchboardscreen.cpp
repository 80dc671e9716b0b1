#include "boards/lunch/ui/lunchboardscreen.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace boards::lunch {

LunchBoardScreen::LunchBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent)
    : DayRowScreen(seams, lunchBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("LunchBoardScreen"), windowCaption(variant));
    if (variant == Variant::Admin)
        buildAdmin();
    else
        buildClassroom();
    connect(closeButton, &QPushButton::clicked, this, &LunchBoardScreen::closeBoard);
    printButton = makePrintButton(
        this, *this, variant == Variant::Admin ? QRect(318, 10, 100, 40) : QRect(610, 10, 110, 40), font());
    session().setForStaff(variant == Variant::Admin);
    // As the screen reads: the staff board has its step buttons above the date, the classroom board
    // its heading line above the step buttons; then the menu, left column before right.
    QList<QWidget *> boxes;
    for (QLineEdit *box : menuBoxes)
        boxes.append(box);
    if (variant == Variant::Admin)
        setDayReadingOrder(Steps::First, {printButton, updateButton, closeButton}, boxes);
    else
        setDayReadingOrder(Steps::AfterButtons, {printButton, closeButton}, boxes);
}

QLineEdit *LunchBoardScreen::makeMenuBox(int number, QRect geometry)
{
    return menuBoxes[number - 1] = kit::textBox(menuFrame, QStringLiteral("menuBox%1").arg(number), geometry);
}

void LunchBoardScreen::buildAdmin()
{
    using namespace kit;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(760, 420);
    makeStepButtons(
        stepCaptions(Variant::Admin),
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    placeDate({10, 50, 130, 30}, bold(12), {148, 50, 70, 30}, bold(14));
    label(this, QStringLiteral("weekdayCaption"), QStringLiteral("曜　 日"), {200, 50, 80, 30}, bold(12));
    updateButton = button(this, QStringLiteral("updateButton"), QStringLiteral("表示データを更新する"),
                          {430, 10, 190, 40});
    updateButton->setDefault(true);
    closeButton = button(this, QStringLiteral("closeButton"), QStringLiteral("閉じる"), {630, 10, 120, 40});

    menuFrame = frame(this, QStringLiteral("menuFrame"), {10, 90, 740, 320});
    label(menuFrame, QStringLiteral("headingCaption"), QStringLiteral("給食予定"), {10, 6, 150, 26},
          bold(12));
    // Each caption with the box beside it.
    const std::tuple<QString, QString, QRect> captions[] = {
        {QStringLiteral("mainDishCaption"), QStringLiteral("主　     食"), {14, 44, 90, 34}},
        {QStringLiteral("sideDishCaption1"), QStringLiteral("副　食　①"), {14, 96, 90, 34}},
        {QStringLiteral("sideDishCaption2"), QStringLiteral("副　食　②"), {14, 148, 90, 34}},
        {QStringLiteral("sideDishCaption3"), QStringLiteral("副　食　③"), {14, 200, 90, 34}},
        {QStringLiteral("sideDishCaption4"), QStringLiteral("副　食　④"), {14, 252, 90, 34}},
        {QStringLiteral("drinkCaption1"), QStringLiteral("飲み物　①"), {390, 44, 90, 34}},
        {QStringLiteral("drinkCaption2"), QStringLiteral("飲み物　②"), {390, 96, 90, 34}},
        {QStringLiteral("caloriesCaption"), QStringLiteral("総カロリー量"), {390, 252, 90, 34}}};
    const QRect boxAt[] = {{105, 44, 260, 34},  {105, 96, 260, 34}, {105, 148, 260, 34}, {105, 200, 260, 34},
                           {105, 252, 260, 34}, {485, 44, 240, 34}, {485, 96, 240, 34},  {485, 252, 120, 34}};
    for (int i = 0; i < kMenuFields; ++i) {
        const auto &[name, caption, geometry] = captions[i];
        label(menuFrame, name, caption, geometry);
        makeMenuBox(1 + i, boxAt[i]);
    }
    label(menuFrame, QStringLiteral("kcalCaption"), QStringLiteral("kcal"), {612, 252, 50, 34});

    connect(updateButton, &QPushButton::clicked, this, &LunchBoardScreen::writeBack);
}

void LunchBoardScreen::buildClassroom()
{
    using namespace kit;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(900, 470);
    placeDate({10, 10, 170, 40}, bold(16), {190, 10, 36, 40}, bold(18), Qt::AlignCenter);
    label(this, QStringLiteral("weekdayCaption"), QStringLiteral("曜日"), {228, 10, 60, 40}, bold(16));
    label(this, QStringLiteral("titleCaption"), QStringLiteral("のメニューは？"), {290, 10, 260, 40},
          bold(16));
    closeButton =
        button(this, QStringLiteral("closeButton"), QStringLiteral("ようこそへ戻る"), {740, 10, 150, 40});
    makeStepButtons(
        stepCaptions(Variant::Classroom),
        {{10, 60, 210, 38}, {226, 60, 110, 38}, {342, 60, 110, 38}, {458, 60, 110, 38}, {574, 60, 230, 38}});

    menuFrame = frame(this, QStringLiteral("menuFrame"), {10, 110, 880, 350});
    const auto heading = [&](const QString &name, const QString &caption, QRect geometry) {
        label(menuFrame, name, caption, geometry, bold(14));
    };
    // The menu on light yellow: main dish red, side dishes blue, drinks green; the calories red.
    const QColor yellow(0xFFFFC0);
    const auto box = [&](int number, QRect geometry, const QColor &background, const QColor &text) {
        QLineEdit *made = makeMenuBox(number, geometry);
        setColours(made, background, text);
        made->setFont(bold(13));
    };
    heading(QStringLiteral("mainDishCaption"), QStringLiteral("メインメニュー・・・"), {14, 12, 240, 34});
    box(1, {260, 12, 400, 34}, yellow, Qt::red);
    heading(QStringLiteral("sideDishCaption"), QStringLiteral("サブメニュー・・・"), {14, 56, 240, 34});
    for (int i = 0; i < 4; ++i)
        box(2 + i, {260, 56 + i * 40, 400, 34}, yellow, Qt::blue);
    heading(QStringLiteral("drinkCaption"), QStringLiteral("飲み物・・・"), {14, 222, 240, 34});
    box(6, {260, 222, 195, 34}, yellow, QColor(0x008000));
    box(7, {465, 222, 195, 34}, yellow, QColor(0x008000));
    heading(QStringLiteral("caloriesCaption"), QStringLiteral("気になる総カロリー量は？"),
            {14, 284, 300, 34});
    box(8, {320, 284, 100, 34}, QColor(), Qt::red);
    heading(QStringLiteral("kcalCaption"), QStringLiteral("kcal"), {428, 284, 50, 34});
    heading(QStringLiteral("closingCaption"), QStringLiteral("にしてみました。"), {484, 284, 220, 34});
}

void LunchBoardScreen::showRow()
{
    showDateAndWeekday();
    const QStringList menu = readMenu(session().workbook(), session().currentRow());
    for (int i = 0; i < kMenuFields; ++i)
        menuBoxes[i]->setText(menu.value(i));
}

QStringList LunchBoardScreen::rowTexts() const
{
    QStringList values{shownDate(), weekdayNumber()};
    for (const QLineEdit *box : menuBoxes)
        values.append(box->text());
    return values;
}

PrintSheet LunchBoardScreen::printSheet()
{
    static const QStringList heads{QStringLiteral("主食"),    QStringLiteral("副食①"),
                                   QStringLiteral("副食②"),   QStringLiteral("副食③"),
                                   QStringLiteral("副食④"),   QStringLiteral("飲み物①"),
                                   QStringLiteral("飲み物②"), QStringLiteral("総カロリー")};
    const Workbook &book = session().workbook();
    const std::optional<int> shown = parseRowNumber(session().currentRow());
    const QString shownWeekday = weekdayNumber().trimmed();
    const int weekday = weekdayName(shownWeekday).isEmpty() ? 1 : shownWeekday.toInt();
    PrintTable week;
    week.columnHeads = {QString()};
    week.rowHeadShare = 0.14;
    week.textSize = 22;
    for (const QString &head : heads)
        week.rows.append({head});
    QStringList dates;
    // One row per day, in date order: the week's Monday lies weekday - 1 rows above the day shown.
    for (int day = 1; shown && day <= 7; ++day) {
        const int row = *shown - weekday + day;
        const bool isShown = row == *shown;
        const QStringList values = isShown ? rowTexts() : QStringList();
        const QString rowText = QString::number(row);
        const QString date = isShown ? values.value(0) : row >= 2 ? book.cell(rowText, 1) : QString();
        const QString number = isShown ? values.value(1) : row >= 2 ? book.cell(rowText, 2) : QString();
        const QStringList menu = isShown ? values.mid(2) : row >= 2 ? readMenu(book, rowText) : QStringList();
        const bool hasMenu =
            std::any_of(menu.begin(), menu.end(), [](const QString &v) { return !v.isEmpty(); });
        if (day > 5 && !isShown && !hasMenu)
            continue;
        const QString name =
            weekdayName(number).isEmpty() ? weekdayName(QString::number(day)) : weekdayName(number);
        week.columnHeads.append(date.isEmpty() ? name : QStringLiteral("%1（%2）").arg(date, name));
        week.columnColours.append(weekdayColour(QString::number(day)));
        for (int i = 0; i < kMenuFields; ++i)
            week.rows[i].append(i == kMenuFields - 1 && !menu.value(i).isEmpty()
                                    ? menu.value(i) + QStringLiteral(" kcal")
                                    : menu.value(i));
        if (!date.isEmpty())
            dates.append(date);
    }
    PrintSheet sheet;
    sheet.title = dates.isEmpty() ? QStringLiteral("給食予定")
                                  : QStringLiteral("給食予定（%1 ～ %2）").arg(dates.first(), dates.last());
    sheet.tables = {week};
    return sheet;
}

void LunchBoardScreen::writeBack()
{
    session().update();
}

void LunchBoardScreen::closeBoard()
{
    if (session().close())
        hide();
}

} // namespace boards::lunch
