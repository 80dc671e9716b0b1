#include "boards/lunch/ui/lunchboardscreen.h"

#include "boards/skeleton/ui/boardkeys.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace boards::lunch {

Form1::Form1(Variant variant, perumina::Seams seams, QWidget *parent)
    : DayRowForm(seams, lunchBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("Form1"), windowCaption(variant));
    if (variant == Variant::Admin)
        buildAdmin();
    else
        buildClassroom();
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    printButton = makePrintButton(
        this, *this, variant == Variant::Admin ? QRect(318, 10, 100, 40) : QRect(610, 10, 110, 40), font());
    session().setForStaff(variant == Variant::Admin);
    // As the screen reads: the staff board has its step buttons above the date, the classroom board
    // its heading line above the step buttons; then the menu, left column before right.
    const QList<QWidget *> steps{Command7, Command8, Command11, Command9, Command10};
    QList<QWidget *> order = variant == Variant::Admin
                                 ? steps + QList<QWidget *>{Text101, printButton, Command102, Command5}
                                 : QList<QWidget *>{Text101, printButton, Command5} + steps;
    for (int i = 1; i <= kMenuFields; ++i)
        order.append(Text[i]);
    setReadingOrder(order);
}

QLineEdit *Form1::makeMenuField(int number, QRect geometry)
{
    auto *field = kit::textBox(Frame1, QStringLiteral("Text%1").arg(number), geometry);
    Text[number] = field;
    return field;
}

void Form1::buildAdmin()
{
    using namespace kit;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(760, 420);
    makeStepButtons(
        stepCaptions(Variant::Admin),
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    Text101->setGeometry(10, 50, 130, 30);
    Text101->setFont(bold(12));
    Label20->setGeometry(148, 50, 70, 30);
    Label20->setFont(bold(14));
    Label29 = label(this, QStringLiteral("Label29"), QStringLiteral("曜　 日"), {200, 50, 80, 30}, bold(12));
    Command102 = button(this, QStringLiteral("Command102"), QStringLiteral("表示データを更新する"),
                        {430, 10, 190, 40});
    Command102->setDefault(true);
    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("閉じる"), {630, 10, 120, 40});
    Command101 =
        button(this, QStringLiteral("Command101"), QStringLiteral("Command101（再表示）"), {0, 0, 10, 10});
    Command101->hide();

    Frame1 = frame(this, QStringLiteral("Frame1"), {10, 90, 740, 320});
    label(Frame1, QStringLiteral("Label1"), QStringLiteral("給食予定"), {10, 6, 150, 26}, bold(12));
    // Each caption with the field beside it: Label2 .. Label9 and Text1 .. Text8.
    const std::pair<QString, QRect> fields[] = {{QStringLiteral("主　     食"), {14, 44, 90, 34}},
                                                {QStringLiteral("副　食　①"), {14, 96, 90, 34}},
                                                {QStringLiteral("副　食　②"), {14, 148, 90, 34}},
                                                {QStringLiteral("副　食　③"), {14, 200, 90, 34}},
                                                {QStringLiteral("副　食　④"), {14, 252, 90, 34}},
                                                {QStringLiteral("飲み物　①"), {390, 44, 90, 34}},
                                                {QStringLiteral("飲み物　②"), {390, 96, 90, 34}},
                                                {QStringLiteral("総カロリー量"), {390, 252, 90, 34}}};
    const QRect fieldAt[] = {{105, 44, 260, 34},  {105, 96, 260, 34},  {105, 148, 260, 34},
                             {105, 200, 260, 34}, {105, 252, 260, 34}, {485, 44, 240, 34},
                             {485, 96, 240, 34},  {485, 252, 120, 34}};
    for (int i = 0; i < 8; ++i) {
        label(Frame1, QStringLiteral("Label%1").arg(2 + i), fields[i].first, fields[i].second);
        makeMenuField(1 + i, fieldAt[i]);
    }
    label(Frame1, QStringLiteral("Label10"), QStringLiteral("kcal"), {612, 252, 50, 34});

    connect(Command102, &QPushButton::clicked, this, &Form1::Command102_Click);
    connect(Command101, &QPushButton::clicked, this, &Form1::Command101_Click);
}

void Form1::buildClassroom()
{
    using namespace kit;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(900, 470);
    Text101->setGeometry(10, 10, 170, 40);
    Text101->setAlignment(Qt::AlignCenter);
    Text101->setFont(bold(16));
    Label20->setGeometry(190, 10, 36, 40);
    Label20->setFont(bold(18));
    Label29 = label(this, QStringLiteral("Label29"), QStringLiteral("曜日"), {228, 10, 60, 40}, bold(16));
    label(this, QStringLiteral("Label11"), QStringLiteral("のメニューは？"), {290, 10, 260, 40}, bold(16));
    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("ようこそへ戻る"), {740, 10, 150, 40});
    makeStepButtons(
        stepCaptions(Variant::Classroom),
        {{10, 60, 210, 38}, {226, 60, 110, 38}, {342, 60, 110, 38}, {458, 60, 110, 38}, {574, 60, 230, 38}});

    Frame1 = frame(this, QStringLiteral("Frame1"), {10, 110, 880, 350});
    const auto heading = [&](const QString &name, const QString &caption, QRect geometry) {
        label(Frame1, name, caption, geometry, bold(14));
    };
    // The menu on light yellow: main dish red, side dishes blue, drinks green; the calories red.
    const QColor yellow(0xFFFFC0);
    const auto field = [&](int number, QRect geometry, const QColor &background, const QColor &text) {
        setColours(makeMenuField(number, geometry), background, text);
        Text[number]->setFont(bold(13));
    };
    heading(QStringLiteral("Label2"), QStringLiteral("メインメニュー・・・"), {14, 12, 240, 34});
    field(1, {260, 12, 400, 34}, yellow, Qt::red);
    heading(QStringLiteral("Label3"), QStringLiteral("サブメニュー・・・"), {14, 56, 240, 34});
    for (int i = 0; i < 4; ++i)
        field(2 + i, {260, 56 + i * 40, 400, 34}, yellow, Qt::blue);
    heading(QStringLiteral("Label7"), QStringLiteral("飲み物・・・"), {14, 222, 240, 34});
    field(6, {260, 222, 195, 34}, yellow, QColor(0x008000));
    field(7, {465, 222, 195, 34}, yellow, QColor(0x008000));
    heading(QStringLiteral("Label9"), QStringLiteral("気になる総カロリー量は？"), {14, 284, 300, 34});
    field(8, {320, 284, 100, 34}, QColor(), Qt::red);
    heading(QStringLiteral("Label10"), QStringLiteral("kcal"), {428, 284, 50, 34});
    heading(QStringLiteral("Label1"), QStringLiteral("にしてみました。"), {484, 284, 220, 34});
}

void Form1::display()
{
    if (variant_ == Variant::Admin)
        Command101_Click();
    else
        ShowRow();
}

void Form1::Command101_Click()
{
    showDateAndWeekday();
    const QStringList menu = readMenu(session().workbook(), session().currentRow());
    for (int i = 1; i <= kMenuFields; ++i)
        Text[i]->setText(menu.value(i - 1));
}

void Form1::ShowRow()
{
    Command101_Click();
}

QStringList Form1::rowTexts() const
{
    QStringList values{Text101->text(), Text102->text()};
    for (int i = 1; i <= kMenuFields; ++i)
        values.append(Text[i]->text());
    return values;
}

PrintSheet Form1::printSheet()
{
    static const QStringList heads{QStringLiteral("主食"),    QStringLiteral("副食①"),
                                   QStringLiteral("副食②"),   QStringLiteral("副食③"),
                                   QStringLiteral("副食④"),   QStringLiteral("飲み物①"),
                                   QStringLiteral("飲み物②"), QStringLiteral("総カロリー")};
    const Workbook &book = session().workbook();
    const std::optional<int> shown = parseRowNumber(session().currentRow());
    const QString weekdayNumber = Text102->text().trimmed();
    const int weekday = weekdayName(weekdayNumber).isEmpty() ? 1 : weekdayNumber.toInt();
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

void Form1::Command102_Click()
{
    session().update();
}

void Form1::Command5_Click()
{
    if (session().close())
        hide();
}

} // namespace boards::lunch
