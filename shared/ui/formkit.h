#pragma once

#include <QBoxLayout>
#include <QColor>
#include <QFont>
#include <QGridLayout>
#include <QRect>
#include <QString>
#include <initializer_list>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPixmap;
class QPushButton;
class QRadioButton;
class QWidget;

// The one kit the screens of every program are built with: controls placed by position (or left to a
// layout with an empty rectangle), each under its control name, and the faces the screens name.
namespace perumina::kit {

// The faces the screens name. Where a face is missing an IPA font stands in, so that every window
// draws its Japanese, and the Latin letters, digits and quotes beside it, in one family: the
// proportional IPAPGothic for the proportional faces, IPAGothic for the fixed-pitch one.
enum class Face
{
    Pop,     // "HGS創英角ﾎﾟｯﾌﾟ体"
    PGothic, // "ＭＳ Ｐゴシック", also the face of every control that names none
    Gothic,  // "ＭＳ ゴシック"
};

// A face at points (0: the application's size), bold where asked.
QFont face(Face face, qreal points = 0, bool bold = false);
// A face step points larger than the application's size.
QFont larger(Face face, int step, bool bold = false);

// Names a window, gives it its caption and the window face its controls inherit, and makes Enter
// follow the desktop's rule on it (see enterkey.h).
void setUpForm(QWidget *form, const QString &name, const QString &caption);

// Names a new control; an empty geometry leaves the place to a layout.
template <typename W> W *make(QWidget *parent, const QString &name, QRect geometry = {})
{
    auto *w = new W(parent);
    w->setObjectName(name);
    if (!geometry.isNull())
        w->setGeometry(geometry);
    return w;
}

using OptionalFont = std::optional<QFont>;

QLabel *label(QWidget *parent, const QString &name, const QString &caption, QRect geometry = {},
              const OptionalFont &font = std::nullopt);
QPushButton *button(QWidget *parent, const QString &name, const QString &caption, QRect geometry = {},
                    const OptionalFont &font = std::nullopt);
// A button in the graphical style: its own face colour, a thin border, a darker frame on the
// default button.
QPushButton *colourButton(QWidget *parent, const QString &name, const QString &caption, const QColor &colour,
                          QRect geometry = {}, const OptionalFont &font = std::nullopt);
QLineEdit *textBox(QWidget *parent, const QString &name, QRect geometry = {},
                   const OptionalFont &font = std::nullopt, const QString &text = {});
// A password box: shows "*", holds at most maxLength characters (0: no limit) and takes no input
// method, so that a pupil never types a password in kana by mistake.
QLineEdit *passwordBox(QWidget *parent, const QString &name, int maxLength, QRect geometry = {});
QPlainTextEdit *multiLineBox(QWidget *parent, const QString &name, QRect geometry = {},
                             const OptionalFont &font = std::nullopt);
QListWidget *list(QWidget *parent, const QString &name, QRect geometry = {},
                  const OptionalFont &font = std::nullopt);
QRadioButton *option(QWidget *parent, const QString &name, const QString &caption, QRect geometry = {},
                     const OptionalFont &font = std::nullopt);
// An image box showing pixmap.
QLabel *image(QWidget *parent, const QString &name, const QPixmap &pixmap, QRect geometry = {});
// A plain box frame.
QFrame *frame(QWidget *parent, const QString &name, QRect geometry = {});

// Text colour by palette, as a label's or a button's fore colour.
void setTextColour(QWidget *widget, const QColor &colour);
// Background and text colours by style sheet; an invalid colour leaves that one as it is.
void setColours(QWidget *widget, const QColor &background, const QColor &text = {});
// Makes the widget's own font bold at points, keeping its face.
void setBold(QWidget *widget, qreal points);

// Screens that let Qt place their controls: one entry of a row or a column is a control (with its
// stretch factor), a nested row, column or grid, a stretch, or a fixed space.
class Item
{
public:
    Item(QWidget *widget, int stretch = 0) : widget_(widget), factor_(stretch) {}
    Item(QLayout *layout) : layout_(layout) {}
    static Item stretch(int factor = 0) { return Item(factor, 0); }
    static Item space(int pixels) { return Item(0, pixels); }
    void addTo(QBoxLayout *box) const;

private:
    Item(int factor, int pixels) : factor_(factor), pixels_(pixels), gap_(true) {}
    QWidget *widget_ = nullptr;
    QLayout *layout_ = nullptr;
    int factor_ = 0;
    int pixels_ = 0;
    bool gap_ = false;
};

// Left to right, or top to bottom; with an owner the layout is that widget's own.
QHBoxLayout *row(std::initializer_list<Item> items, QWidget *owner = nullptr);
QVBoxLayout *column(std::initializer_list<Item> items, QWidget *owner = nullptr);

struct Cell
{
    QWidget *widget;
    int row;
    int column;
    int rowSpan = 1;
    int columnSpan = 1;
};
QGridLayout *grid(std::initializer_list<Cell> cells, QWidget *owner = nullptr);

} // namespace perumina::kit
