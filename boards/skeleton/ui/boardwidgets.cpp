#include "boards/skeleton/ui/boardwidgets.h"

#include "boards/skeleton/rows.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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

BoardForm::BoardForm(perumina::Seams seams, BoardFiles files, QWidget *parent)
    : QWidget(parent), session_(seams, std::move(files), *this)
{
}

void BoardForm::closeEvent(QCloseEvent *event)
{
    if (session_.ended() || session_.close())
        event->accept();
    else
        event->ignore();
}

} // namespace boards

namespace boards {

DayRowForm::DayRowForm(perumina::Seams seams, BoardFiles files, QWidget *parent)
    : BoardForm(seams, std::move(files), parent)
{
    Text101 = kit::textBox(this, QStringLiteral("Text101"));
    Text101->setReadOnly(true);
    Text102 = kit::textBox(this, QStringLiteral("Text102"));
    Text102->hide();
    Label20 = kit::label(this, QStringLiteral("Label20"), QStringLiteral("Label20"), {});
}

void DayRowForm::makeStepButtons(const QStringList &captions, const QList<QRect> &geometry)
{
    QPushButton **buttons[] = {&Command7, &Command8, &Command11, &Command9, &Command10};
    const char *names[] = {"Command7", "Command8", "Command11", "Command9", "Command10"};
    for (int i = 0; i < 5; ++i)
        *buttons[i] = kit::button(this, QString::fromLatin1(names[i]), captions.value(i), geometry.value(i));
    connect(Command7, &QPushButton::clicked, this, &DayRowForm::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &DayRowForm::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &DayRowForm::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &DayRowForm::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &DayRowForm::Command11_Click);
}

void DayRowForm::showDateAndWeekday()
{
    const QString row = session().currentRow();
    Text101->setText(session().workbook().cell(row, 1));
    Text102->setText(session().workbook().cell(row, 2));
    applyWeekday(Label20, Text102->text());
}

void DayRowForm::Command7_Click()
{
    session().step(-10);
}

void DayRowForm::Command8_Click()
{
    session().step(-1);
}

void DayRowForm::Command9_Click()
{
    session().step(1);
}

void DayRowForm::Command10_Click()
{
    session().step(10);
}

void DayRowForm::Command11_Click()
{
    session().backToToday();
}

} // namespace boards
