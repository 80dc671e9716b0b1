#include "boards/lunch/ui/form1.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace boards::lunch {

namespace {

constexpr int kLightYellow = 0xFFFFC0;

} // namespace

Form1::Form1(Variant variant, perumina::Seams seams, QWidget *parent)
    : DayRowForm(seams, lunchBoardFiles(), parent), variant_(variant)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption(variant));
    if (variant == Variant::Admin)
        buildAdmin();
    else
        buildClassroom();
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
}

QLineEdit *Form1::makeMenuField(int number, QRect geometry)
{
    auto *field = new QLineEdit(Frame1);
    field->setObjectName(QStringLiteral("Text%1").arg(number));
    field->setGeometry(geometry);
    Text[number] = field;
    return field;
}

void Form1::buildAdmin()
{
    setFixedSize(760, 420);
    makeStepButtons(
        stepCaptions(Variant::Admin),
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    Text101->setGeometry(10, 50, 130, 30);
    setBold(Text101, 12);
    Label20->setGeometry(148, 50, 70, 30);
    setBold(Label20, 14);
    Label29 = makeLabel(this, QStringLiteral("Label29"), QStringLiteral("曜　 日"), {200, 50, 80, 30});
    setBold(Label29, 12);
    Command102 = makeButton(this, QStringLiteral("Command102"), QStringLiteral("表示データを更新する"),
                            {430, 10, 190, 40});
    Command5 = makeButton(this, QStringLiteral("Command5"), QStringLiteral("閉じる"), {630, 10, 120, 40});
    Command101 = makeButton(this, QStringLiteral("Command101"), QStringLiteral("Command101（再表示）"),
                            {0, 0, 10, 10});
    Command101->hide();

    Frame1 = makeFrame(this, QStringLiteral("Frame1"), {10, 90, 740, 320});
    setBold(makeLabel(Frame1, QStringLiteral("Label1"), QStringLiteral("給食予定"), {10, 6, 150, 26}), 12);
    const QStringList left{QStringLiteral("主　     食"), QStringLiteral("副　食　①"),
                           QStringLiteral("副　食　②"), QStringLiteral("副　食　③"),
                           QStringLiteral("副　食　④")};
    for (int i = 0; i < 5; ++i) {
        const int top = 44 + i * 52;
        makeLabel(Frame1, QStringLiteral("Label%1").arg(2 + i), left[i], {14, top, 90, 34});
        makeMenuField(1 + i, {105, top, 260, 34});
    }
    makeLabel(Frame1, QStringLiteral("Label7"), QStringLiteral("飲み物　①"), {390, 44, 90, 34});
    makeMenuField(6, {485, 44, 240, 34});
    makeLabel(Frame1, QStringLiteral("Label8"), QStringLiteral("飲み物　②"), {390, 96, 90, 34});
    makeMenuField(7, {485, 96, 240, 34});
    makeLabel(Frame1, QStringLiteral("Label9"), QStringLiteral("総カロリー量"), {390, 252, 90, 34});
    makeMenuField(8, {485, 252, 120, 34});
    makeLabel(Frame1, QStringLiteral("Label10"), QStringLiteral("kcal"), {612, 252, 50, 34});

    connect(Command102, &QPushButton::clicked, this, &Form1::Command102_Click);
    connect(Command101, &QPushButton::clicked, this, &Form1::Command101_Click);
    Command102->setDefault(true);
}

void Form1::buildClassroom()
{
    setFixedSize(900, 470);
    Text101->setGeometry(10, 10, 170, 40);
    Text101->setAlignment(Qt::AlignCenter);
    setBold(Text101, 16);
    Label20->setGeometry(190, 10, 36, 40);
    setBold(Label20, 18);
    Label29 = makeLabel(this, QStringLiteral("Label29"), QStringLiteral("曜日"), {228, 10, 60, 40});
    setBold(Label29, 16);
    setBold(makeLabel(this, QStringLiteral("Label11"), QStringLiteral("のメニューは？"), {290, 10, 260, 40}),
            16);
    Command5 =
        makeButton(this, QStringLiteral("Command5"), QStringLiteral("ようこそへ戻る"), {740, 10, 150, 40});
    makeStepButtons(
        stepCaptions(Variant::Classroom),
        {{10, 60, 210, 38}, {226, 60, 110, 38}, {342, 60, 110, 38}, {458, 60, 110, 38}, {574, 60, 230, 38}});

    Frame1 = makeFrame(this, QStringLiteral("Frame1"), {10, 110, 880, 350});
    auto heading = [&](const QString &name, const QString &caption, QRect geometry) {
        setBold(makeLabel(Frame1, name, caption, geometry), 14);
    };
    heading(QStringLiteral("Label2"), QStringLiteral("メインメニュー・・・"), {14, 12, 240, 34});
    setColours(makeMenuField(1, {260, 12, 400, 34}), kLightYellow, 0xFF0000);
    heading(QStringLiteral("Label3"), QStringLiteral("サブメニュー・・・"), {14, 56, 240, 34});
    for (int i = 0; i < 4; ++i)
        setColours(makeMenuField(2 + i, {260, 56 + i * 40, 400, 34}), kLightYellow, 0x0000FF);
    heading(QStringLiteral("Label7"), QStringLiteral("飲み物・・・"), {14, 222, 240, 34});
    setColours(makeMenuField(6, {260, 222, 195, 34}), kLightYellow, 0x008000);
    setColours(makeMenuField(7, {465, 222, 195, 34}), kLightYellow, 0x008000);
    heading(QStringLiteral("Label9"), QStringLiteral("気になる総カロリー量は？"), {14, 284, 300, 34});
    setColours(makeMenuField(8, {320, 284, 100, 34}), -1, 0xFF0000);
    heading(QStringLiteral("Label10"), QStringLiteral("kcal"), {428, 284, 50, 34});
    heading(QStringLiteral("Label1"), QStringLiteral("にしてみました。"), {484, 284, 220, 34});
    for (int i = 1; i <= kMenuFields; ++i)
        setBold(Text[i], 13);
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
