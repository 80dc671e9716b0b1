#include "boards/skeleton/ui/boardscreen.h"

#include "boards/skeleton/rows.h"
#include "boards/skeleton/ui/boardkeys.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace boards {

void applyWeekday(QLabel *label, const QString &number)
{
    const auto style = weekdayStyle(number);
    if (!style)
        return;
    label->setText(style->caption);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(style->rgb));
    label->setPalette(palette);
}

BoardScreen::BoardScreen(perumina::Seams seams, BoardFiles files, QWidget *parent)
    : QWidget(parent), session_(seams, std::move(files), *this)
{
}

void BoardScreen::keepTypedText(const QString &message, const QString &typed)
{
    QDialog box(this);
    box.setObjectName(QStringLiteral("typedTextBox"));
    box.setWindowTitle(QCoreApplication::applicationName());
    auto *layout = new QVBoxLayout(&box);
    auto *text = new QLabel(message + QStringLiteral("\n入力した内容は次のとおりです。「コピー」を押すと"
                                                     "クリップボードに写します。開き直したボードに貼り付けて"
                                                     "下さい。"),
                            &box);
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    layout->addWidget(text);
    // Plain text, so that whatever was typed shows as typed; selectable, to take a part of it.
    auto *typedBox = new QPlainTextEdit(typed, &box);
    typedBox->setObjectName(QStringLiteral("typedText"));
    typedBox->setReadOnly(true);
    layout->addWidget(typedBox);
    auto *buttons = new QDialogButtonBox(&box);
    QPushButton *copyButton = buttons->addButton(QStringLiteral("コピー"), QDialogButtonBox::ActionRole);
    copyButton->setObjectName(QStringLiteral("copyButton"));
    QPushButton *okButton = buttons->addButton(QDialogButtonBox::Ok);
    okButton->setObjectName(QStringLiteral("okButton"));
    layout->addWidget(buttons);
    connect(copyButton, &QPushButton::clicked, &box,
            [typed] { QGuiApplication::clipboard()->setText(typed); });
    connect(okButton, &QPushButton::clicked, &box, &QDialog::accept);
    box.resize(480, 320);
    box.exec();
}

void BoardScreen::closeEvent(QCloseEvent *event)
{
    if (session_.ended() || session_.close())
        event->accept();
    else
        event->ignore();
}

} // namespace boards

namespace boards {

DayRowScreen::DayRowScreen(perumina::Seams seams, BoardFiles files, QWidget *parent)
    : BoardScreen(seams, std::move(files), parent)
{
    dateBox = kit::textBox(this, QStringLiteral("dateBox"));
    dateBox->setReadOnly(true);
    // Until a row with a weekday is shown the label keeps the placeholder it was drawn with.
    weekdayLabel = kit::label(this, QStringLiteral("weekdayLabel"), QStringLiteral("Label20"), {});
}

void DayRowScreen::makeStepButtons(const QStringList &captions, const QList<QRect> &geometry)
{
    const std::pair<QPushButton **, QString> buttons[] = {
        {&back10Button, QStringLiteral("back10Button")},
        {&back1Button, QStringLiteral("back1Button")},
        {&todayButton, QStringLiteral("todayButton")},
        {&forward1Button, QStringLiteral("forward1Button")},
        {&forward10Button, QStringLiteral("forward10Button")}};
    for (int i = 0; i < 5; ++i)
        *buttons[i].first = kit::button(this, buttons[i].second, captions.value(i), geometry.value(i));
    connect(back10Button, &QPushButton::clicked, this, &DayRowScreen::stepBack10);
    connect(back1Button, &QPushButton::clicked, this, &DayRowScreen::stepBack1);
    connect(forward1Button, &QPushButton::clicked, this, &DayRowScreen::stepForward1);
    connect(forward10Button, &QPushButton::clicked, this, &DayRowScreen::stepForward10);
    connect(todayButton, &QPushButton::clicked, this, &DayRowScreen::backToToday);
}

void DayRowScreen::placeDate(QRect date, const QFont &dateFont, QRect weekday, const QFont &weekdayFont,
                             Qt::Alignment dateAlignment)
{
    dateBox->setGeometry(date);
    if (dateAlignment)
        dateBox->setAlignment(dateAlignment);
    dateBox->setFont(dateFont);
    weekdayLabel->setGeometry(weekday);
    weekdayLabel->setFont(weekdayFont);
}

void DayRowScreen::setDayReadingOrder(Steps steps, const QList<QWidget *> &buttons,
                                      const QList<QWidget *> &boxes)
{
    const QList<QWidget *> stepButtons{back10Button, back1Button, todayButton, forward1Button,
                                       forward10Button};
    QList<QWidget *> order = steps == Steps::First ? stepButtons + QList<QWidget *>{dateBox} + buttons
                                                   : QList<QWidget *>{dateBox} + buttons + stepButtons;
    setReadingOrder(order + boxes);
}

void DayRowScreen::showDateAndWeekday()
{
    const QString row = session().currentRow();
    dateBox->setText(session().workbook().cell(row, 1));
    weekdayNumber_ = session().workbook().cell(row, 2);
    applyWeekday(weekdayLabel, weekdayNumber_);
}

QString DayRowScreen::shownDate() const
{
    return dateBox->text();
}

void DayRowScreen::stepBack10()
{
    session().step(-10);
}

void DayRowScreen::stepBack1()
{
    session().step(-1);
}

void DayRowScreen::stepForward1()
{
    session().step(1);
}

void DayRowScreen::stepForward10()
{
    session().step(10);
}

void DayRowScreen::backToToday()
{
    session().backToToday();
}

} // namespace boards
