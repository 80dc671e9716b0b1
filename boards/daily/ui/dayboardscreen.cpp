#include "boards/daily/ui/dayboardscreen.h"

#include "boards/skeleton/rows.h"
#include "boards/skeleton/ui/boardkeys.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards::daily {

namespace {

constexpr int kPitch = 108;
constexpr int kFieldWidth = 104;
constexpr int kHeaderChar = 12;

} // namespace

Form1::Form1(Variant variant, perumina::Seams seams, QWidget *parent)
    : DayRowForm(seams, dayBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("Form1"), windowCaption(variant));
    build();
    session().setForStaff(variant == Variant::Admin);
}

void Form1::build()
{
    using namespace kit;
    const bool admin = variant_ == Variant::Admin;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(1090, 640);
    makeStepButtons(
        {QStringLiteral("＜＜"), QStringLiteral("＜"), QStringLiteral("◇"), QStringLiteral("＞"),
         QStringLiteral("＞＞")},
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    Text101->setGeometry(10, 50, 130, 30);
    Text101->setFont(bold(12));
    Label20->setGeometry(148, 50, 70, 30);
    Label20->setFont(bold(14));
    Label29 =
        label(this, QStringLiteral("Label29"), admin ? QStringLiteral("曜　 日") : QStringLiteral("曜　日"),
              {200, 50, 80, 30}, bold(12));
    if (admin) {
        Command102 = button(this, QStringLiteral("Command102"), QStringLiteral("表示データを更新する"),
                            {760, 10, 190, 40});
        Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("閉じる"), {960, 10, 120, 40});
    } else {
        Label8 = label(this, QStringLiteral("Label8"), QStringLiteral("今日の予定は？"), {420, 10, 300, 44},
                       bold(20));
        Label8->setAlignment(Qt::AlignCenter);
        Command14 =
            button(this, QStringLiteral("Command14"), QStringLiteral("ようこそへ戻る"), {930, 10, 150, 40});
        Command101 = button(this, QStringLiteral("Command101"), QStringLiteral("表示"), {0, 0, 10, 10});
        Command101->hide();
    }
    printButton =
        makePrintButton(this, *this, admin ? QRect(640, 10, 110, 40) : QRect(800, 10, 110, 40), font());
    const auto field = [&](QWidget *parent, int column, QRect geometry) {
        Text[column] = multiLineBox(parent, QStringLiteral("Text%1").arg(100 + column), geometry);
        Text[column]->setReadOnly(!admin);
    };

    Frame1 = frame(this, QStringLiteral("Frame1"), {10, 90, 530, 160});
    label(Frame1, QStringLiteral("Label12"), QStringLiteral("校内行事"), {10, 4, 200, 24}, bold(11));
    Frame2 = frame(this, QStringLiteral("Frame2"), {550, 90, 530, 160});
    label(Frame2, QStringLiteral("Label11"), QStringLiteral("学年行事"), {10, 4, 200, 24}, bold(11));
    for (int i = 0; i < 3; ++i) {
        const int top = 32 + i * 42;
        label(Frame1, QStringLiteral("LabelEvent%1").arg(i + 1),
              QStringLiteral("行事　%1").arg(QChar(char16_t(u'１' + i))), {10, top, 70, 36});
        field(Frame1, 3 + i, {85, top, 435, 38});
        label(Frame2, QStringLiteral("LabelGrade%1").arg(i + 1), QStringLiteral("%1学年").arg(i + 1),
              {10, top, 70, 36});
        field(Frame2, 6 + i, {85, top, 435, 38});
    }

    Frame3 = frame(this, QStringLiteral("Frame3"), {10, 260, 1070, 370});
    label(Frame3, QStringLiteral("Label16"), QStringLiteral("時間別予定"), {10, 4, 200, 24}, bold(11));
    // The time header is spaced out in whole characters above the fields: the fixed-pitch face.
    QFont headerFont = face(Face::Gothic, 0, true);
    headerFont.setPixelSize(kHeaderChar);
    Label33 = label(Frame3, QStringLiteral("Label33"), timeSlotHeader(kPitch, kFieldWidth, kHeaderChar),
                    {90, 32, kPitch * kSlots, 20}, headerFont);
    const QString grades = QStringLiteral("一二三");
    for (int grade = 0; grade < 3; ++grade) {
        const int top = 56 + grade * 104;
        label(Frame3, QStringLiteral("Label%1").arg(17 + grade), grades[grade] + QStringLiteral("学年"),
              {10, top, 75, 98}, bold(11));
        for (int slot = 0; slot < kSlots; ++slot)
            field(Frame3, 9 + grade * kSlots + slot, {90 + slot * kPitch, top, kFieldWidth, 98});
    }

    if (admin) {
        connect(Command102, &QPushButton::clicked, this, &Form1::Command102_Click);
        connect(Command5, &QPushButton::clicked, this, &Form1::CloseButton_Click);
        Command102->setDefault(true);
    } else {
        connect(Command14, &QPushButton::clicked, this, &Form1::CloseButton_Click);
        connect(Command101, &QPushButton::clicked, this, &Form1::Command101_Click);
    }
    // The step buttons, the date, the buttons at the top right, then the boxes frame by frame.
    QList<QWidget *> order{Command7, Command8, Command11, Command9, Command10, Text101, printButton};
    order += admin ? QList<QWidget *>{Command102, Command5} : QList<QWidget *>{Command14};
    for (int column = 3; column <= kColumns; ++column)
        order.append(Text[column]);
    setReadingOrder(order);
}

QString Form1::columnText(int column) const
{
    if (column == 1)
        return Text101->text();
    if (column == 2)
        return Text102->text();
    return Text[column]->toPlainText();
}

void Form1::display()
{
    if (variant_ == Variant::Admin)
        ShowRow();
    else
        Command101_Click();
}

void Form1::ShowRow()
{
    const QString row = session().currentRow();
    const Workbook &book = session().workbook();
    showDateAndWeekday();
    for (int column = 3; column <= kColumns; ++column)
        Text[column]->setPlainText(book.cell(row, column));
}

void Form1::Command101_Click()
{
    ShowRow();
}

QStringList Form1::rowTexts() const
{
    QStringList values;
    for (int column = 1; column <= kColumns; ++column)
        values.append(columnText(column));
    return values;
}

PrintSheet Form1::printSheet()
{
    PrintSheet sheet;
    const QString weekday = weekdayName(Text102->text());
    sheet.title = weekday.isEmpty() ? QStringLiteral("%1の予定").arg(Text101->text())
                                    : QStringLiteral("%1（%2）の予定").arg(Text101->text(), weekday);
    PrintTable school;
    school.heading = QStringLiteral("校内行事");
    PrintTable grades;
    grades.heading = QStringLiteral("学年行事");
    for (int i = 0; i < 3; ++i) {
        school.rows.append({QStringLiteral("行事　%1").arg(QChar(char16_t(u'１' + i))), columnText(3 + i)});
        grades.rows.append({QStringLiteral("%1学年").arg(i + 1), columnText(6 + i)});
    }
    school.weight = grades.weight = 3;
    school.textSize = grades.textSize = 20;
    PrintTable timetable;
    timetable.heading = QStringLiteral("時間別予定");
    timetable.columnHeads = QStringList{QString()} + timeSlotNames();
    const QString gradeNames = QStringLiteral("一二三");
    for (int grade = 0; grade < 3; ++grade) {
        QStringList row{gradeNames[grade] + QStringLiteral("学年")};
        for (int slot = 0; slot < kSlots; ++slot)
            row.append(columnText(9 + grade * kSlots + slot));
        timetable.rows.append(row);
    }
    timetable.weight = 10;
    timetable.textSize = 17;
    sheet.tables = {school, grades, timetable};
    return sheet;
}

void Form1::Command102_Click()
{
    session().update();
}

void Form1::CloseButton_Click()
{
    if (session().close())
        hide();
}

} // namespace boards::daily
