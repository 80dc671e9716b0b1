#pragma once

#include <QColor>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class QFont;
class QPagedPaintDevice;
class QPushButton;
class QWidget;

namespace boards {

// One table of a printed board: a heading, the column heads, and rows of cells, each row opened by
// its own head. Cells may hold several lines.
struct PrintTable
{
    QString heading;          // above the table; none when empty
    QStringList columnHeads;  // over the cells; the first names the row-head column (may be empty)
    QList<QStringList> rows;  // each: the row head, then one text per column
    qreal rowHeadShare = 0.1; // the row-head column's part of the width
    qreal weight = 1;         // the table's part of the page's height, against the other tables
    // Colours of the column heads and, in emphasised cells, of the first line (calendar days): one per
    // column after the row head; missing ones are black.
    QList<QColor> columnColours;
    bool emphasiseFirstLine = false;
    qreal textSize =
        16; // of the cells' text, in thousandths of the page's width; smaller where it would not fit
};

// What a board prints: a title line and its tables, one below the other on one A4 page.
struct PrintSheet
{
    QString title;
    bool landscape = false;
    QList<PrintTable> tables;
};

// Draws the sheet on one A4 page of device (a printer, a PDF file) as text, so that a PDF of it can be
// searched. Sets the page size and orientation itself. False when the device cannot be painted on.
bool renderSheet(const PrintSheet &sheet, QPagedPaintDevice &device);

// The weekday of a weekday number "1" (Monday) to "7" (Sunday), as the boards show it; empty for others.
QString weekdayName(const QString &number);
// Sunday red, Saturday blue, as on the screens.
QColor weekdayColour(const QString &number);

// A board that can be printed as it is shown.
class PrintableBoard
{
public:
    virtual ~PrintableBoard() = default;
    virtual PrintSheet printSheet() = 0;
};

// The preview of the board's page with the desktop's print dialog behind it; printing to a PDF file
// needs no printer.
void printWithPreview(QWidget *parent, PrintableBoard &board);

// The board's button 印刷 (printButton), which opens that preview.
QPushButton *makePrintButton(QWidget *board, PrintableBoard &printable, QRect geometry, const QFont &font);

} // namespace boards
