#include "boards/skeleton/ui/boardscreen.h"

#include "boards/skeleton/rows.h"

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

BoardForm::BoardForm(perumina::Seams seams, BoardFiles files, QWidget *parent)
    : QWidget(parent), session_(seams, std::move(files), *this)
{
}

void BoardForm::keepTypedText(const QString &message, const QString &typed)
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
