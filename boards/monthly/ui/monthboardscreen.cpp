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

MonthBoardScreen::MonthBoardScreen(Variant variant, perumina::Seams seams, QWidget *parent)
    : BoardScreen(seams, monthBoardFiles(), parent), variant_(variant)
{
    kit::setUpForm(this, QStringLiteral("MonthBoardScreen"), windowCaption(variant));
    build();
    session().setForStaff(variant == Variant::Admin);
    perumina::fitOnSmallScreens(this);
    // The buttons along the top, left to right, then the title and the days week by week (set once
    // the controls have their final parent).
    QList<QWidget *> order{previousMonthButton, thisMonthButton, nextMonthButton, printButton};
    order += variant == Variant::Admin ? QList<QWidget *>{updateButton, closeButton}
                                       : QList<QWidget *>{closeButton};
    order.append(monthBox);
    for (QPlainTextEdit *box : eventBoxes)
        order.append(box);
    setReadingOrder(order);
}

void MonthBoardScreen::build()
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
        weekdayCaptions[column - 1] =
            label(this, QStringLiteral("weekdayCaption%1").arg(column), weekdays.mid(column - 1, 1),
                  pixels(headingTwips(g, column)), face(family, 20.25, true));
        weekdayCaptions[column - 1]->setAlignment(Qt::AlignCenter);
        setTextColour(weekdayCaptions[column - 1], QColor::fromRgb(columnColour(column)));
    }
    for (int k = 1; k <= kSlots; ++k) {
        dayLabels[k - 1] =
            label(this, QStringLiteral("dayLabel%1").arg(k), QString(), pixels(dayLabelTwips(g, k)), dayFace);
        dayLabels[k - 1]->setAlignment(Qt::AlignCenter);
        setTextColour(dayLabels[k - 1], QColor::fromRgb(columnColour((k - 1) % 7 + 1)));
        eventBoxes[k - 1] =
            multiLineBox(this, QStringLiteral("eventBox%1").arg(k), pixels(eventsBoxTwips(g, k)));
        eventBoxes[k - 1]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        eventBoxes[k - 1]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    monthBox = textBox(this, QStringLiteral("monthBox"));
    monthBox->setReadOnly(true);
    monthBox->setAlignment(Qt::AlignCenter);

    if (admin) {
        const QFont plain = face(family, 9.75);
        previousMonthButton = button(this, QStringLiteral("previousMonthButton"), QStringLiteral("＜"),
                                     pixels(QRect(600, 120, 615, 375)), plain);
        thisMonthButton = button(this, QStringLiteral("thisMonthButton"), QStringLiteral("◇"),
                                 pixels(QRect(1200, 120, 615, 375)), plain);
        nextMonthButton = button(this, QStringLiteral("nextMonthButton"), QStringLiteral("＞"),
                                 pixels(QRect(1800, 120, 615, 375)), plain);
        updateButton = button(this, QStringLiteral("updateButton"), QStringLiteral("表示データを更新する"),
                              pixels(QRect(11280, 360, 2175, 615)), face(family, 9.75, true));
        setColours(updateButton, Qt::red, Qt::white);
        updateButton->setDefault(true);
        closeButton = button(this, QStringLiteral("closeButton"), QStringLiteral("閉じる"),
                             pixels(QRect(13560, 360, 1215, 615)), plain);
        monthBox->setGeometry(pixels(QRect(600, 600, 975, 375)));
        monthBox->setFont(face(family, 12));
        // The box is as narrow as the title; the platform's frame and margins would cut it.
        monthBox->setStyleSheet(
            QStringLiteral("QLineEdit { padding: 0px; border: 1px solid #808080; background: white; }"));
        shrinkToFit(monthBox, QStringLiteral("0000/00"));
        connect(updateButton, &QPushButton::clicked, this, &MonthBoardScreen::writeBack);
    } else {
        const QFont big = face(family, 14.25, true);
        previousMonthButton = button(this, QStringLiteral("previousMonthButton"), QStringLiteral("１ヶ月前"),
                                     pixels(QRect(480, 360, 1935, 495)), big);
        thisMonthButton = button(this, QStringLiteral("thisMonthButton"), QStringLiteral("今月"),
                                 pixels(QRect(2520, 360, 1095, 495)), big);
        nextMonthButton = button(this, QStringLiteral("nextMonthButton"), QStringLiteral("１ヶ月後"),
                                 pixels(QRect(3720, 360, 1935, 495)), big);
        setColours(previousMonthButton, QColor(0xFF8080));
        setColours(thisMonthButton, QColor(0x80FF80));
        setColours(nextMonthButton, QColor(0x00FFFF));
        monthBox->setGeometry(pixels(QRect(480, 960, 1935, 375)));
        monthBox->setFont(big);
        QLabel *title = label(this, QStringLiteral("titleCaption"), QStringLiteral("１ヶ月の行事内容は？"),
                              pixels(QRect(6480, 360, 5055, 615)), face(family, 24, true));
        setTextColour(title, Qt::red);
        closeButton = button(this, QStringLiteral("closeButton"), QStringLiteral("ようこそへ戻る"),
                             pixels(QRect(12480, 240, 2175, 855)), face(family, 14.25));
        setColours(closeButton, QColor(0x00FF00));
    }
    printButton = makePrintButton(this, *this, admin ? QRect(620, 24, 110, 41) : QRect(700, 66, 120, 28),
                                  face(family, admin ? 9.75 : 12, !admin));
    connect(closeButton, &QPushButton::clicked, this, &MonthBoardScreen::closeBoard);
    connect(previousMonthButton, &QPushButton::clicked, this, &MonthBoardScreen::showPreviousMonth);
    connect(thisMonthButton, &QPushButton::clicked, this, &MonthBoardScreen::showThisMonth);
    connect(nextMonthButton, &QPushButton::clicked, this, &MonthBoardScreen::showNextMonth);
}

void MonthBoardScreen::showRow()
{
    const MonthRow month = readMonthRow(session().workbook(), session().currentRow());
    monthBox->setText(month.title);
    for (int k = 1; k <= kSlots; ++k) {
        dayLabels[k - 1]->setText(month.days.value(k - 1));
        eventBoxes[k - 1]->setPlainText(month.events.value(k - 1));
    }
}

PrintSheet MonthBoardScreen::printSheet()
{
    PrintSheet sheet;
    sheet.title = QStringLiteral("%1の行事").arg(monthBox->text());
    sheet.landscape = true;
    PrintTable calendar;
    calendar.columnHeads = {QString()};
    calendar.rowHeadShare = 0;
    calendar.emphasiseFirstLine = true;
    calendar.textSize = 14;
    for (int column = 1; column <= 7; ++column) {
        calendar.columnHeads.append(weekdayCaptions[column - 1]->text());
        calendar.columnColours.append(QColor::fromRgb(columnColour(column)));
    }
    for (int week = 0; week * 7 < kSlots; ++week) {
        QStringList row{QString()};
        for (int k = week * 7 + 1; k <= std::min(week * 7 + 7, kSlots); ++k) {
            const QString day = dayLabels[k - 1]->text();
            const QString events = eventBoxes[k - 1]->toPlainText();
            row.append(day.isEmpty() && events.isEmpty() ? QString() : day + u'\n' + events);
        }
        calendar.rows.append(row);
    }
    sheet.tables = {calendar};
    return sheet;
}

void MonthBoardScreen::showPreviousMonth()
{
    session().step(-1);
}

void MonthBoardScreen::showThisMonth()
{
    session().backToToday();
}

void MonthBoardScreen::showNextMonth()
{
    session().step(1);
}

QStringList MonthBoardScreen::rowTexts() const
{
    MonthRow month;
    month.title = monthBox->text();
    for (int k = 1; k <= kSlots; ++k) {
        month.days.append(dayLabels[k - 1]->text());
        month.events.append(eventBoxes[k - 1]->toPlainText());
    }
    return monthRowFields(month);
}

void MonthBoardScreen::writeBack()
{
    session().update();
}

void MonthBoardScreen::closeBoard()
{
    if (session().close())
        hide();
}

} // namespace boards::monthly
