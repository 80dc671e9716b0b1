#include "boards/daily/ui/dayboardscreen.h"

#include "boards/skeleton/rows.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards::daily {

namespace {

constexpr int kPitch = 108;
constexpr int kFieldWidth = 104;
constexpr int kHeaderChar = 12;

} // namespace

DayBoardScreen::DayBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent)
    : DayRowScreen(seams, dayBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("DayBoardScreen"), windowCaption(variant));
    build();
    session().setForStaff(variant == Variant::Admin);
}

void DayBoardScreen::build()
{
    using namespace kit;
    const bool admin = variant_ == Variant::Admin;
    const auto bold = [](qreal points) { return face(Face::PGothic, points, true); };
    setFixedSize(1090, 640);
    makeStepButtons(
        {QStringLiteral("＜＜"), QStringLiteral("＜"), QStringLiteral("◇"), QStringLiteral("＞"),
         QStringLiteral("＞＞")},
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    placeDate({10, 50, 130, 30}, bold(12), {148, 50, 70, 30}, bold(14));
    label(this, QStringLiteral("weekdayCaption"),
          admin ? QStringLiteral("曜　 日") : QStringLiteral("曜　日"), {200, 50, 80, 30}, bold(12));
    if (admin) {
        updateButton = button(this, QStringLiteral("updateButton"), QStringLiteral("表示データを更新する"),
                              {760, 10, 190, 40});
        closeButton =
            button(this, QStringLiteral("closeButton"), QStringLiteral("閉じる"), {960, 10, 120, 40});
    } else {
        QLabel *title = label(this, QStringLiteral("titleCaption"), QStringLiteral("今日の予定は？"),
                              {420, 10, 300, 44}, bold(20));
        title->setAlignment(Qt::AlignCenter);
        closeButton =
            button(this, QStringLiteral("closeButton"), QStringLiteral("ようこそへ戻る"), {930, 10, 150, 40});
    }
    printButton =
        makePrintButton(this, *this, admin ? QRect(640, 10, 110, 40) : QRect(800, 10, 110, 40), font());
    const auto box = [&](QWidget *parent, const QString &name, QRect geometry) {
        QPlainTextEdit *made = multiLineBox(parent, name, geometry);
        made->setReadOnly(!admin);
        return made;
    };

    QFrame *school = frame(this, QStringLiteral("schoolFrame"), {10, 90, 530, 160});
    label(school, QStringLiteral("schoolCaption"), QStringLiteral("校内行事"), {10, 4, 200, 24}, bold(11));
    QFrame *grades = frame(this, QStringLiteral("gradeFrame"), {550, 90, 530, 160});
    label(grades, QStringLiteral("gradeCaption"), QStringLiteral("学年行事"), {10, 4, 200, 24}, bold(11));
    for (int i = 0; i < 3; ++i) {
        const int top = 32 + i * 42;
        label(school, QStringLiteral("eventCaption%1").arg(i + 1),
              QStringLiteral("行事　%1").arg(QChar(char16_t(u'１' + i))), {10, top, 70, 36});
        eventBoxes[i] = box(school, QStringLiteral("eventBox%1").arg(i + 1), {85, top, 435, 38});
        label(grades, QStringLiteral("gradeEventCaption%1").arg(i + 1), QStringLiteral("%1学年").arg(i + 1),
              {10, top, 70, 36});
        gradeEventBoxes[i] = box(grades, QStringLiteral("gradeEventBox%1").arg(i + 1), {85, top, 435, 38});
    }

    QFrame *timetable = frame(this, QStringLiteral("timetableFrame"), {10, 260, 1070, 370});
    label(timetable, QStringLiteral("timetableCaption"), QStringLiteral("時間別予定"), {10, 4, 200, 24},
          bold(11));
    // The time header is spaced out in whole characters above the fields: the fixed-pitch face.
    QFont headerFont = face(Face::Gothic, 0, true);
    headerFont.setPixelSize(kHeaderChar);
    label(timetable, QStringLiteral("timeSlotsCaption"), timeSlotHeader(kPitch, kFieldWidth, kHeaderChar),
          {90, 32, kPitch * kSlots, 20}, headerFont);
    const QString gradeNames = QStringLiteral("一二三");
    for (int grade = 0; grade < 3; ++grade) {
        const int top = 56 + grade * 104;
        label(timetable, QStringLiteral("timetableGradeCaption%1").arg(grade + 1),
              gradeNames[grade] + QStringLiteral("学年"), {10, top, 75, 98}, bold(11));
        for (int slot = 0; slot < kSlots; ++slot)
            timetableBoxes[grade * kSlots + slot] =
                box(timetable, QStringLiteral("timetableBox%1_%2").arg(grade + 1).arg(slot + 1),
                    {90 + slot * kPitch, top, kFieldWidth, 98});
    }

    if (admin) {
        connect(updateButton, &QPushButton::clicked, this, &DayBoardScreen::writeBack);
        updateButton->setDefault(true);
    }
    connect(closeButton, &QPushButton::clicked, this, &DayBoardScreen::closeBoard);
    // The step buttons, the date, the buttons at the top right, then the boxes frame by frame.
    QList<QWidget *> buttons{printButton};
    if (admin)
        buttons.append(updateButton);
    buttons.append(closeButton);
    QList<QWidget *> boxes;
    for (int column = 3; column <= kColumns; ++column)
        boxes.append(columnBox(column));
    setDayReadingOrder(Steps::First, buttons, boxes);
}

QPlainTextEdit *DayBoardScreen::columnBox(int column) const
{
    if (column >= 3 && column <= 5)
        return eventBoxes[column - 3];
    if (column >= 6 && column <= 8)
        return gradeEventBoxes[column - 6];
    return timetableBoxes.at(column - 9);
}

QString DayBoardScreen::columnText(int column) const
{
    if (column == 1)
        return shownDate();
    if (column == 2)
        return weekdayNumber();
    return columnBox(column)->toPlainText();
}

void DayBoardScreen::showRow()
{
    const QString row = session().currentRow();
    const Workbook &book = session().workbook();
    showDateAndWeekday();
    for (int column = 3; column <= kColumns; ++column)
        columnBox(column)->setPlainText(book.cell(row, column));
}

QStringList DayBoardScreen::rowTexts() const
{
    QStringList values;
    for (int column = 1; column <= kColumns; ++column)
        values.append(columnText(column));
    return values;
}

PrintSheet DayBoardScreen::printSheet()
{
    PrintSheet sheet;
    const QString weekday = weekdayName(weekdayNumber());
    sheet.title = weekday.isEmpty() ? QStringLiteral("%1の予定").arg(shownDate())
                                    : QStringLiteral("%1（%2）の予定").arg(shownDate(), weekday);
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

void DayBoardScreen::writeBack()
{
    session().update();
}

void DayBoardScreen::closeBoard()
{
    if (session().close())
        hide();
}

} // namespace boards::daily
