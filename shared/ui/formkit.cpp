#include "shared/ui/formkit.h"

#include "shared/ui/enterkey.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <limits>

namespace perumina::kit {

QFont face(Face which, qreal points, bool bold)
{
    QFont f = QApplication::font();
    switch (which) {
    case Face::Pop:
        f.setFamilies({QStringLiteral("HGS創英角ﾎﾟｯﾌﾟ体"), QStringLiteral("IPAPGothic")});
        break;
    case Face::PGothic:
        f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
        break;
    case Face::Gothic:
        f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic")});
        break;
    }
    if (points > 0)
        f.setPointSizeF(points);
    if (bold)
        f.setBold(true);
    return f;
}

QFont larger(Face which, int step, bool bold)
{
    return face(which, QApplication::font().pointSize() + step, bold);
}

void setUpForm(QWidget *form, const QString &name, const QString &caption)
{
    form->setObjectName(name);
    form->setWindowTitle(caption);
    form->setFont(face(Face::PGothic));
    new EnterKey(form);
}

static void applyFont(QWidget *widget, const OptionalFont &f)
{
    if (f)
        widget->setFont(*f);
}

QLabel *label(QWidget *parent, const QString &name, const QString &caption, QRect geometry,
              const OptionalFont &font)
{
    auto *l = make<QLabel>(parent, name, geometry);
    l->setText(caption);
    applyFont(l, font);
    return l;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, QRect geometry,
                    const OptionalFont &font)
{
    auto *b = make<QPushButton>(parent, name, geometry);
    b->setText(caption);
    applyFont(b, font);
    return b;
}

QPushButton *colourButton(QWidget *parent, const QString &name, const QString &caption, const QColor &colour,
                          QRect geometry, const OptionalFont &font)
{
    QPushButton *b = button(parent, name, caption, geometry, font);
    b->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #606060;"
                                    " border-radius: 3px; padding: 4px 10px; }"
                                    "QPushButton:pressed { background-color: #d0d0d0; }"
                                    "QPushButton:default { border: 2px solid #000000; }")
                         .arg(colour.name()));
    return b;
}

QLineEdit *textBox(QWidget *parent, const QString &name, QRect geometry, const OptionalFont &font,
                   const QString &text)
{
    auto *t = make<QLineEdit>(parent, name, geometry);
    t->setText(text);
    applyFont(t, font);
    return t;
}

QLineEdit *passwordBox(QWidget *parent, const QString &name, int maxLength, QRect geometry)
{
    auto *t = make<QLineEdit>(parent, name, geometry);
    t->setEchoMode(QLineEdit::Password);
    t->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    t->setMaxLength(maxLength > 0 ? maxLength : std::numeric_limits<int>::max());
    t->setAttribute(Qt::WA_InputMethodEnabled, false);
    t->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText |
                           Qt::ImhLatinOnly);
    return t;
}

QPlainTextEdit *multiLineBox(QWidget *parent, const QString &name, QRect geometry, const OptionalFont &font)
{
    auto *t = make<QPlainTextEdit>(parent, name, geometry);
    applyFont(t, font);
    return t;
}

QListWidget *list(QWidget *parent, const QString &name, QRect geometry, const OptionalFont &font)
{
    auto *l = make<QListWidget>(parent, name, geometry);
    applyFont(l, font);
    return l;
}

QRadioButton *option(QWidget *parent, const QString &name, const QString &caption, QRect geometry,
                     const OptionalFont &font)
{
    auto *o = make<QRadioButton>(parent, name, geometry);
    o->setText(caption);
    applyFont(o, font);
    return o;
}

QLabel *image(QWidget *parent, const QString &name, const QPixmap &pixmap, QRect geometry)
{
    auto *l = make<QLabel>(parent, name, geometry);
    l->setPixmap(pixmap);
    return l;
}

QFrame *frame(QWidget *parent, const QString &name, QRect geometry)
{
    auto *f = make<QFrame>(parent, name, geometry);
    f->setFrameShape(QFrame::Box);
    return f;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget->setPalette(palette);
}

void setColours(QWidget *widget, const QColor &background, const QColor &text)
{
    QString sheet;
    if (background.isValid())
        sheet += QStringLiteral("background-color: %1;").arg(background.name());
    if (text.isValid())
        sheet += QStringLiteral("color: %1;").arg(text.name());
    // With a background alone the style draws its own lighter gradient over a button: the sheet draws
    // the frame too, so the face shows the colour itself.
    if (qobject_cast<QPushButton *>(widget) && background.isValid())
        sheet =
            QStringLiteral("QPushButton { %1 border: 1px solid #404040; border-radius: 3px; padding: 2px; }"
                           " QPushButton:pressed { background-color: %2; }")
                .arg(sheet, background.darker(115).name());
    widget->setStyleSheet(sheet);
}

void setBold(QWidget *widget, qreal points)
{
    QFont f = widget->font();
    f.setBold(true);
    f.setPointSizeF(points);
    widget->setFont(f);
}

void Item::addTo(QBoxLayout *box) const
{
    if (widget_)
        box->addWidget(widget_, factor_);
    else if (layout_)
        box->addLayout(layout_);
    else if (pixels_ > 0)
        box->addSpacing(pixels_);
    else if (gap_)
        box->addStretch(factor_);
}

QHBoxLayout *row(std::initializer_list<Item> items, QWidget *owner)
{
    auto *box = new QHBoxLayout(owner);
    for (const Item &item : items)
        item.addTo(box);
    return box;
}

QVBoxLayout *column(std::initializer_list<Item> items, QWidget *owner)
{
    auto *box = new QVBoxLayout(owner);
    for (const Item &item : items)
        item.addTo(box);
    return box;
}

QGridLayout *grid(std::initializer_list<Cell> cells, QWidget *owner)
{
    auto *layout = new QGridLayout(owner);
    for (const Cell &cell : cells)
        layout->addWidget(cell.widget, cell.row, cell.column, cell.rowSpan, cell.columnSpan);
    return layout;
}

} // namespace perumina::kit
