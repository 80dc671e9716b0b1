#include "boards/skeleton/ui/boardwidgets.h"

#include "boards/skeleton/rows.h"

#include <QCloseEvent>
#include <QLabel>

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
