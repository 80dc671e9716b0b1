#include "boards/monthly/ui/form1.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards::monthly {

namespace {

void applyFont(QWidget *widget, kit::Face face, qreal pointSize, bool bold, bool italic = false)
{
    QFont font = kit::face(face, pointSize, bold);
    font.setItalic(italic);
    widget->setFont(font);
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
    kit::setUpForm(this, QStringLiteral("Form1"), windowCaption(variant));
    build();
}

void Form1::build()
{
    const bool admin = variant_ == Variant::Admin;
    const CalendarGeometry g = calendarGeometry(variant_);
    const kit::Face family = admin ? kit::Face::PGothic : kit::Face::Pop;
    setFixedSize(pixels(g.clientWidth), pixels(g.clientHeight));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    setPalette(palette);
    applyFont(this, kit::Face::PGothic, 9.75, false);

    const QStringList weekdays{QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("火"),
                               QStringLiteral("水"), QStringLiteral("木"), QStringLiteral("金"),
                               QStringLiteral("土")};
    for (int column = 1; column <= 7; ++column) {
        QLabel *heading = kit::label(this, QStringLiteral("Label%1").arg(40 + column), weekdays[column - 1],
                                     pixels(headingTwips(g, column)));
        heading->setAlignment(Qt::AlignCenter);
        applyFont(heading, family, 20.25, true);
        kit::setTextColour(heading, QColor::fromRgb(columnColour(column)));
        Heading[column] = heading;
    }
    for (int k = 1; k <= kSlots; ++k) {
        QLabel *day =
            kit::label(this, QStringLiteral("Label%1").arg(k), QString(), pixels(dayLabelTwips(g, k)));
        day->setAlignment(Qt::AlignCenter);
        applyFont(day, family, 18, true, !admin);
        kit::setTextColour(day, QColor::fromRgb(columnColour((k - 1) % 7 + 1)));
        Label[k] = day;
        auto *box = kit::multiLineBox(this, QStringLiteral("Text%1").arg(k), pixels(eventsBoxTwips(g, k)));
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        Text[k] = box;
    }

    Text52 = kit::textBox(this, QStringLiteral("Text52"));
    Text52->setReadOnly(true);
    Command101 = kit::button(this, QStringLiteral("Command101"), QStringLiteral("Command101（再表示）"),
                             {0, 0, 10, 10});
    Command101->hide();

    if (admin) {
        Command3 = kit::button(this, QStringLiteral("Command3"), QStringLiteral("＜"),
                               pixels(QRect(600, 120, 615, 375)));
        Command4 = kit::button(this, QStringLiteral("Command4"), QStringLiteral("◇"),
                               pixels(QRect(1200, 120, 615, 375)));
        Command5 = kit::button(this, QStringLiteral("Command5"), QStringLiteral("＞"),
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
        Command1 = kit::button(this, QStringLiteral("Command1"), QStringLiteral("表示データを更新する"),
                               pixels(QRect(11280, 360, 2175, 615)));
        applyFont(Command1, family, 9.75, true);
        kit::setColours(Command1, QColor::fromRgb(0xFF0000), QColor::fromRgb(0xFFFFFF));
        Command2 = kit::button(this, QStringLiteral("Command2"), QStringLiteral("閉じる"),
                               pixels(QRect(13560, 360, 1215, 615)));
        applyFont(Command2, family, 9.75, false);
        connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
        connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
        Command1->setDefault(true);
    } else {
        Command3 = kit::button(this, QStringLiteral("Command3"), QStringLiteral("１ヶ月前"),
                               pixels(QRect(480, 360, 1935, 495)));
        kit::setColours(Command3, QColor::fromRgb(0xFF8080), QColor());
        Command4 = kit::button(this, QStringLiteral("Command4"), QStringLiteral("今月"),
                               pixels(QRect(2520, 360, 1095, 495)));
        kit::setColours(Command4, QColor::fromRgb(0x80FF80), QColor());
        Command5 = kit::button(this, QStringLiteral("Command5"), QStringLiteral("１ヶ月後"),
                               pixels(QRect(3720, 360, 1935, 495)));
        kit::setColours(Command5, QColor::fromRgb(0x00FFFF), QColor());
        for (QPushButton *b : {Command3, Command4, Command5})
            applyFont(b, family, 14.25, true);
        Text52->setGeometry(pixels(QRect(480, 960, 1935, 375)));
        Text52->setAlignment(Qt::AlignCenter);
        applyFont(Text52, family, 14.25, true);
        Label38 = kit::label(this, QStringLiteral("Label38"), QStringLiteral("１ヶ月の行事内容は？"),
                             pixels(QRect(6480, 360, 5055, 615)));
        applyFont(Label38, family, 24, true);
        kit::setTextColour(Label38, Qt::red);
        Command13 = kit::button(this, QStringLiteral("Command13"), QStringLiteral("ようこそへ戻る"),
                                pixels(QRect(12480, 240, 2175, 855)));
        applyFont(Command13, family, 14.25, false);
        kit::setColours(Command13, QColor::fromRgb(0x00FF00), QColor());
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

void Form1::Command1_Click()
{
    MonthRow month;
    month.title = Text52->text();
    for (int k = 1; k <= kSlots; ++k) {
        month.days.append(Label[k]->text());
        month.events.append(Text[k]->toPlainText());
    }
    const perumina::Status written = writeMonthRow(session().workbook(), session().currentRow(), month);
    if (!written)
        session().dialogs().message(written.error, perumina::Dialogs::Icon::Exclamation);
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
