#include "boards/monthly/ui/monthboardscreen.h"

#include "boards/skeleton/ui/boardkeys.h"
#include "shared/ui/screenfit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards::monthly {

namespace {

// Where the stand-in font is wider than the original, the size steps down until the text fits.
void shrinkToFit(QWidget *widget, const QString &sample)
{
    QFont font = widget->font();
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(sample) > widget->width() - 4)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    widget->setFont(font);
}

} // namespace

Form1::Form1(Variant variant, perumina::Seams seams, QWidget *parent)
    : BoardForm(seams, monthBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("Form1"), windowCaption(variant));
    build();
    session().setForStaff(variant == Variant::Admin);
    perumina::fitOnSmallScreens(this);
    // The buttons along the top, left to right, then the title and the days week by week (set once
    // the controls have their final parent).
    QList<QWidget *> order{Command3, Command4, Command5, printButton};
    order += variant == Variant::Admin ? QList<QWidget *>{Command1, Command2} : QList<QWidget *>{Command13};
    order.append(Text52);
    for (int k = 1; k <= kSlots; ++k)
        order.append(Text[k]);
    setReadingOrder(order);
}

void Form1::build()
{
    using namespace kit;
    const bool admin = variant_ == Variant::Admin;
    const CalendarGeometry g = calendarGeometry(variant_);
    const Face family = admin ? Face::PGothic : Face::Pop;
    setFixedSize(pixels(g.clientWidth), pixels(g.clientHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(palette);
    setFont(face(Face::PGothic, 9.75));

    const QString weekdays = QStringLiteral("日月火水木金土");
    QFont dayFace = face(family, 18, true);
    dayFace.setItalic(!admin);
    for (int column = 1; column <= 7; ++column) {
        Heading[column] = label(this, QStringLiteral("Label%1").arg(40 + column), weekdays.mid(column - 1, 1),
                                pixels(headingTwips(g, column)), face(family, 20.25, true));
        Heading[column]->setAlignment(Qt::AlignCenter);
        setTextColour(Heading[column], QColor::fromRgb(columnColour(column)));
    }
    for (int k = 1; k <= kSlots; ++k) {
        Label[k] =
            label(this, QStringLiteral("Label%1").arg(k), QString(), pixels(dayLabelTwips(g, k)), dayFace);
        Label[k]->setAlignment(Qt::AlignCenter);
        setTextColour(Label[k], QColor::fromRgb(columnColour((k - 1) % 7 + 1)));
        Text[k] = multiLineBox(this, QStringLiteral("Text%1").arg(k), pixels(eventsBoxTwips(g, k)));
        Text[k]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        Text[k]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    Text52 = textBox(this, QStringLiteral("Text52"));
    Text52->setReadOnly(true);
    Text52->setAlignment(Qt::AlignCenter);
    Command101 =
        button(this, QStringLiteral("Command101"), QStringLiteral("Command101（再表示）"), {0, 0, 10, 10});
    Command101->hide();

    if (admin) {
        const QFont plain = face(family, 9.75);
        Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("＜"),
                          pixels(QRect(600, 120, 615, 375)), plain);
        Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("◇"),
                          pixels(QRect(1200, 120, 615, 375)), plain);
        Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("＞"),
                          pixels(QRect(1800, 120, 615, 375)), plain);
        Command1 = button(this, QStringLiteral("Command1"), QStringLiteral("表示データを更新する"),
                          pixels(QRect(11280, 360, 2175, 615)), face(family, 9.75, true));
        setColours(Command1, Qt::red, Qt::white);
        Command1->setDefault(true);
        Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("閉じる"),
                          pixels(QRect(13560, 360, 1215, 615)), plain);
        Text52->setGeometry(pixels(QRect(600, 600, 975, 375)));
        Text52->setFont(face(family, 12));
        // The box is as narrow as the title; the platform's frame and margins would cut it.
        Text52->setStyleSheet(
            QStringLiteral("QLineEdit { padding: 0px; border: 1px solid #808080; background: white; }"));
        shrinkToFit(Text52, QStringLiteral("0000/00"));
        connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
        connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    } else {
        const QFont big = face(family, 14.25, true);
        Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("１ヶ月前"),
                          pixels(QRect(480, 360, 1935, 495)), big);
        Command4 = button(this, QStringLiteral("Command4"), QStringLiteral("今月"),
                          pixels(QRect(2520, 360, 1095, 495)), big);
        Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("１ヶ月後"),
                          pixels(QRect(3720, 360, 1935, 495)), big);
        setColours(Command3, QColor(0xFF8080));
        setColours(Command4, QColor(0x80FF80));
        setColours(Command5, QColor(0x00FFFF));
        Text52->setGeometry(pixels(QRect(480, 960, 1935, 375)));
        Text52->setFont(big);
        Label38 = label(this, QStringLiteral("Label38"), QStringLiteral("１ヶ月の行事内容は？"),
                        pixels(QRect(6480, 360, 5055, 615)), face(family, 24, true));
        setTextColour(Label38, Qt::red);
        Command13 = button(this, QStringLiteral("Command13"), QStringLiteral("ようこそへ戻る"),
                           pixels(QRect(12480, 240, 2175, 855)), face(family, 14.25));
        setColours(Command13, QColor(0x00FF00));
        connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    }
    printButton = makePrintButton(this, *this, admin ? QRect(620, 24, 110, 41) : QRect(700, 66, 120, 28),
                                  face(family, admin ? 9.75 : 12, !admin));
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command101, &QPushButton::clicked, this, &Form1::Command101_Click);
}

void Form1::Command101_Click()
{
    const MonthRow month = readMonthRow(session().workbook(), session().currentRow());
    Text52->setText(month.title);
    for (int k = 1; k <= kSlots; ++k) {
        Label[k]->setText(month.days.value(k - 1));
        Text[k]->setPlainText(month.events.value(k - 1));
    }
}

PrintSheet Form1::printSheet()
{
    PrintSheet sheet;
    sheet.title = QStringLiteral("%1の行事").arg(Text52->text());
    sheet.landscape = true;
    PrintTable calendar;
    calendar.columnHeads = {QString()};
    calendar.rowHeadShare = 0;
    calendar.emphasiseFirstLine = true;
    calendar.textSize = 14;
    for (int column = 1; column <= 7; ++column) {
        calendar.columnHeads.append(Heading[column]->text());
        calendar.columnColours.append(QColor::fromRgb(columnColour(column)));
    }
    for (int week = 0; week * 7 < kSlots; ++week) {
        QStringList row{QString()};
        for (int k = week * 7 + 1; k <= std::min(week * 7 + 7, kSlots); ++k) {
            const QString day = Label[k]->text();
            const QString events = Text[k]->toPlainText();
            row.append(day.isEmpty() && events.isEmpty() ? QString() : day + u'\n' + events);
        }
        calendar.rows.append(row);
    }
    sheet.tables = {calendar};
    return sheet;
}

void Form1::Command3_Click()
{
    session().step(-1);
}

void Form1::Command4_Click()
{
    session().backToToday();
}

void Form1::Command5_Click()
{
    session().step(1);
}

QStringList Form1::rowTexts() const
{
    MonthRow month;
    month.title = Text52->text();
    for (int k = 1; k <= kSlots; ++k) {
        month.days.append(Label[k]->text());
        month.events.append(Text[k]->toPlainText());
    }
    return monthRowFields(month);
}

void Form1::Command1_Click()
{
    session().update();
}

void Form1::Command2_Click()
{
    if (session().close())
        hide();
}

void Form1::Command13_Click()
{
    Command2_Click();
}

} // namespace boards::monthly
