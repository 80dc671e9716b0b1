#include "boards/daily/ui/form1.h"

#include "boards/skeleton/rows.h"

#include <QFrame>
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
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption(variant));
    build();
}

void Form1::build()
{
    const bool admin = variant_ == Variant::Admin;
    setFixedSize(1090, 640);

    makeStepButtons(
        {QStringLiteral("＜＜"), QStringLiteral("＜"), QStringLiteral("◇"), QStringLiteral("＞"),
         QStringLiteral("＞＞")},
        {{10, 10, 56, 32}, {70, 10, 56, 32}, {130, 10, 56, 32}, {190, 10, 56, 32}, {250, 10, 56, 32}});
    Text101->setGeometry(10, 50, 130, 30);
    setBold(Text101, 12);
    Label20->setGeometry(148, 50, 70, 30);
    setBold(Label20, 14);
    Label29 = makeLabel(this, QStringLiteral("Label29"),
                        admin ? QStringLiteral("曜　 日") : QStringLiteral("曜　日"), {200, 50, 80, 30});
    setBold(Label29, 12);

    if (admin) {
        Command102 = makeButton(this, QStringLiteral("Command102"), QStringLiteral("表示データを更新する"),
                                {760, 10, 190, 40});
        Command5 = makeButton(this, QStringLiteral("Command5"), QStringLiteral("閉じる"), {960, 10, 120, 40});
    } else {
        Label8 =
            makeLabel(this, QStringLiteral("Label8"), QStringLiteral("今日の予定は？"), {420, 10, 300, 44});
        setBold(Label8, 20);
        Label8->setAlignment(Qt::AlignCenter);
        Command14 = makeButton(this, QStringLiteral("Command14"), QStringLiteral("ようこそへ戻る"),
                               {930, 10, 150, 40});
        Command101 = makeButton(this, QStringLiteral("Command101"), QStringLiteral("表示"), {0, 0, 10, 10});
        Command101->hide();
    }

    auto makeField = [&](QWidget *parent, int column, QRect geometry) {
        auto *field = new QPlainTextEdit(parent);
        field->setObjectName(QStringLiteral("Text%1").arg(100 + column));
        field->setGeometry(geometry);
        field->setReadOnly(!admin);
        Text[column] = field;
    };

    Frame1 = makeFrame(this, QStringLiteral("Frame1"), {10, 90, 530, 160});
    setBold(makeLabel(Frame1, QStringLiteral("Label12"), QStringLiteral("校内行事"), {10, 4, 200, 24}), 11);
    Frame2 = makeFrame(this, QStringLiteral("Frame2"), {550, 90, 530, 160});
    setBold(makeLabel(Frame2, QStringLiteral("Label11"), QStringLiteral("学年行事"), {10, 4, 200, 24}), 11);
    const QStringList schoolCaptions{QStringLiteral("行事　１"), QStringLiteral("行事　２"),
                                     QStringLiteral("行事　３")};
    const QStringList gradeCaptions{QStringLiteral("1学年"), QStringLiteral("2学年"),
                                    QStringLiteral("3学年")};
    for (int i = 0; i < 3; ++i) {
        const int top = 32 + i * 42;
        makeLabel(Frame1, QStringLiteral("LabelEvent%1").arg(i + 1), schoolCaptions[i], {10, top, 70, 36});
        makeField(Frame1, 3 + i, {85, top, 435, 38});
        makeLabel(Frame2, QStringLiteral("LabelGrade%1").arg(i + 1), gradeCaptions[i], {10, top, 70, 36});
        makeField(Frame2, 6 + i, {85, top, 435, 38});
    }

    Frame3 = makeFrame(this, QStringLiteral("Frame3"), {10, 260, 1070, 370});
    setBold(makeLabel(Frame3, QStringLiteral("Label16"), QStringLiteral("時間別予定"), {10, 4, 200, 24}), 11);
    Label33 = new QLabel(Frame3);
    Label33->setObjectName(QStringLiteral("Label33"));
    QFont headerFont(QStringLiteral("IPAGothic"));
    headerFont.setPixelSize(kHeaderChar);
    headerFont.setBold(true);
    Label33->setFont(headerFont);
    Label33->setText(timeSlotHeader(kPitch, kFieldWidth, kHeaderChar));
    Label33->setGeometry(90, 32, kPitch * kSlots, 20);
    const QStringList rowCaptions{QStringLiteral("一学年"), QStringLiteral("二学年"),
                                  QStringLiteral("三学年")};
    for (int grade = 0; grade < 3; ++grade) {
        const int top = 56 + grade * 104;
        setBold(makeLabel(Frame3, QStringLiteral("Label%1").arg(17 + grade), rowCaptions[grade],
                          {10, top, 75, 98}),
                11);
        for (int slot = 0; slot < kSlots; ++slot)
            makeField(Frame3, 9 + grade * kSlots + slot, {90 + slot * kPitch, top, kFieldWidth, 98});
    }

    if (admin) {
        connect(Command102, &QPushButton::clicked, this, &Form1::Command102_Click);
        connect(Command5, &QPushButton::clicked, this, &Form1::CloseButton_Click);
        Command102->setDefault(true);
    } else {
        connect(Command14, &QPushButton::clicked, this, &Form1::CloseButton_Click);
        connect(Command101, &QPushButton::clicked, this, &Form1::Command101_Click);
    }
}

QWidget *Form1::columnField(int column) const
{
    if (column == 1)
        return Text101;
    if (column == 2)
        return Text102;
    return column >= 3 && column <= kColumns ? Text[column] : nullptr;
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
