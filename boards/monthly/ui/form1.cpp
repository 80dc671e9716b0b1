#include "boards/monthly/ui/form1.h"
#include "shared/ui/screenfit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards::monthly {

namespace {

const QString kAdminFont = QStringLiteral("ＭＳ Ｐゴシック");
const QString kClassroomFont = QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体");

void applyFont(QWidget *widget, const QString &family, qreal pointSize, bool bold, bool italic = false)
{
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    widget->setFont(font);
}

void setTextColour(QWidget *widget, unsigned rgb)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(rgb));
    palette.setColor(QPalette::ButtonText, QColor::fromRgb(rgb));
    widget->setPalette(palette);
}

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
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(windowCaption(variant));
    build();
    perumina::fitOnSmallScreens(this);
}

void Form1::build()
{
    const bool admin = variant_ == Variant::Admin;
    const CalendarGeometry g = calendarGeometry(variant_);
    const QString family = admin ? kAdminFont : kClassroomFont;
    setFixedSize(pixels(g.clientWidth), pixels(g.clientHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(palette);
    applyFont(this, kAdminFont, 9.75, false);

    const QStringList weekdays{QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                               QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                               QStringLiteral("土")};
    for (int column = 1; column <= 7; ++column) {
        QLabel *heading = makeLabel(this, QStringLiteral("Label%1").arg(40 + column), weekdays[column - 1],
                                    pixels(headingTwips(g, column)));
        heading->setAlignment(Qt::AlignCenter);
        applyFont(heading, family, 20.25, true);
        setTextColour(heading, columnColour(column));
        Heading[column] = heading;
    }
    for (int k = 1; k <= kSlots; ++k) {
        QLabel *day =
            makeLabel(this, QStringLiteral("Label%1").arg(k), QString(), pixels(dayLabelTwips(g, k)));
        day->setAlignment(Qt::AlignCenter);
        applyFont(day, family, 18, true, !admin);
        setTextColour(day, columnColour((k - 1) % 7 + 1));
        Label[k] = day;
        auto *box = new QPlainTextEdit(this);
        box->setObjectName(QStringLiteral("Text%1").arg(k));
        box->setGeometry(pixels(eventsBoxTwips(g, k)));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        Text[k] = box;
    }

    Text52 = new QLineEdit(this);
    Text52->setObjectName(QStringLiteral("Text52"));
    Text52->setReadOnly(true);
    Command101 = makeButton(this, QStringLiteral("Command101"), QStringLiteral("Command101（再表示）"),
                            {0, 0, 10, 10});
    Command101->hide();

    if (admin) {
        Command3 = makeButton(this, QStringLiteral("Command3"), QStringLiteral("＜"),
                              pixels(QRect(600, 120, 615, 375)));
        Command4 = makeButton(this, QStringLiteral("Command4"), QStringLiteral("◇"),
                              pixels(QRect(1200, 120, 615, 375)));
        Command5 = makeButton(this, QStringLiteral("Command5"), QStringLiteral("＞"),
                              pixels(QRect(1800, 120, 615, 375)));
        for (QPushButton *b : {Command3, Command4, Command5})
            applyFont(b, family, 9.75, false);
        Text52->setGeometry(pixels(QRect(600, 600, 975, 375)));
        applyFont(Text52, family, 12, false);
        // The box is as narrow as the title; the platform's frame and margins would cut it.
        Text52->setStyleSheet(
            QStringLiteral("QLineEdit { padding: 0px; border: 1px solid #808080; background: white; }"));
        Text52->setAlignment(Qt::AlignCenter);
        shrinkToFit(Text52, QStringLiteral("0000/00"));
        Command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("表示データを更新する"),
                              pixels(QRect(11280, 360, 2175, 615)));
        applyFont(Command1, family, 9.75, true);
        setColours(Command1, 0xFF0000, 0xFFFFFF);
        Command2 = makeButton(this, QStringLiteral("Command2"), QStringLiteral("閉じる"),
                              pixels(QRect(13560, 360, 1215, 615)));
        applyFont(Command2, family, 9.75, false);
        connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
        connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
        Command1->setDefault(true);
    } else {
        Command3 = makeButton(this, QStringLiteral("Command3"), QStringLiteral("１ヶ月前"),
                              pixels(QRect(480, 360, 1935, 495)));
        setColours(Command3, 0xFF8080, -1);
        Command4 = makeButton(this, QStringLiteral("Command4"), QStringLiteral("今月"),
                              pixels(QRect(2520, 360, 1095, 495)));
        setColours(Command4, 0x80FF80, -1);
        Command5 = makeButton(this, QStringLiteral("Command5"), QStringLiteral("１ヶ月後"),
                              pixels(QRect(3720, 360, 1935, 495)));
        setColours(Command5, 0x00FFFF, -1);
        for (QPushButton *b : {Command3, Command4, Command5})
            applyFont(b, family, 14.25, true);
        Text52->setGeometry(pixels(QRect(480, 960, 1935, 375)));
        Text52->setAlignment(Qt::AlignCenter);
        applyFont(Text52, family, 14.25, true);
        Label38 = makeLabel(this, QStringLiteral("Label38"), QStringLiteral("１ヶ月の行事内容は？"),
                            pixels(QRect(6480, 360, 5055, 615)));
        applyFont(Label38, family, 24, true);
        setTextColour(Label38, 0xFF0000);
        Command13 = makeButton(this, QStringLiteral("Command13"), QStringLiteral("ようこそへ戻る"),
                               pixels(QRect(12480, 240, 2175, 855)));
        applyFont(Command13, family, 14.25, false);
        setColours(Command13, 0x00FF00, -1);
        connect(Command13, &QPushButton::clicked, this, &Form1::Command13_Click);
    }
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
