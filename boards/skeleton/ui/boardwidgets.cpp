#include "boards/skeleton/ui/boardwidgets.h"

#include "boards/skeleton/rows.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace boards {

QPushButton *makeButton(QWidget *parent, const QString &name, const QString &caption, QRect geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, QRect geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

QFrame *makeFrame(QWidget *parent, const QString &name, QRect geometry)
{
    auto *frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(geometry);
    return frame;
}

void setBold(QWidget *widget, qreal pointSize)
{
    QFont font = widget->font();
    font.setBold(true);
    font.setPointSizeF(pointSize);
    widget->setFont(font);
}

void setColours(QWidget *widget, int background, int text)
{
    QString sheet;
    if (background >= 0)
        sheet += QStringLiteral("background-color: #%1;").arg(background, 6, 16, QLatin1Char('0'));
    if (text >= 0)
        sheet += QStringLiteral("color: #%1;").arg(text, 6, 16, QLatin1Char('0'));
    // With a background alone the style draws its own lighter gradient over a button: the sheet draws
    // the frame too, so the face shows the colour itself.
    if (qobject_cast<QPushButton *>(widget) && background >= 0) {
        const QString pressed = QColor::fromRgb(QRgb(background)).darker(115).name();
        sheet =
            QStringLiteral("QPushButton { %1 border: 1px solid #404040; border-radius: 3px; padding: 2px; }"
                           " QPushButton:pressed { background-color: %2; }")
                .arg(sheet, pressed);
    }
    widget->setStyleSheet(sheet);
}

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
    // The boards name the Windows fonts; where those are missing the IPA fonts stand in, which
    // have the same widths for kana, kanji and digits.
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
        QFont::insertSubstitution(QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体"), QStringLiteral("IPAPGothic"));
        return true;
    }();
    Q_UNUSED(substituted);
}

void BoardForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!qobject_cast<QPlainTextEdit *>(focusWidget())) {
            for (QPushButton *button : findChildren<QPushButton *>()) {
                if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                    button->click();
                    return;
                }
            }
        }
    }
    QWidget::keyPressEvent(event);
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
    Text101 = new QLineEdit(this);
    Text101->setObjectName(QStringLiteral("Text101"));
    Text101->setReadOnly(true);
    Text102 = new QLineEdit(this);
    Text102->setObjectName(QStringLiteral("Text102"));
    Text102->hide();
    Label20 = makeLabel(this, QStringLiteral("Label20"), QStringLiteral("Label20"), {});
}

void DayRowForm::makeStepButtons(const QStringList &captions, const QList<QRect> &geometry)
{
    QPushButton **buttons[] = {&Command7, &Command8, &Command11, &Command9, &Command10};
    const char *names[] = {"Command7", "Command8", "Command11", "Command9", "Command10"};
    for (int i = 0; i < 5; ++i)
        *buttons[i] = makeButton(this, QString::fromLatin1(names[i]), captions.value(i), geometry.value(i));
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
