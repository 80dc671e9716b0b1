#include "boards/skeleton/ui/boardprint.h"

#include "shared/ui/formkit.h"

#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTextOption>

namespace boards {

namespace {

// The page is laid out in a fixed logical frame: 1000 units across the printable width.
constexpr qreal kWidth = 1000;
constexpr qreal kTitleHeight = 60;
constexpr qreal kHeadingHeight = 34;
constexpr qreal kHeadRowHeight = 30;
constexpr qreal kGap = 16;

QFont sized(qreal pixels, bool bold = false)
{
    QFont font = perumina::kit::face(perumina::kit::Face::PGothic, 0, bold);
    font.setPixelSize(qMax(1, qRound(pixels)));
    return font;
}

// Text in a cell: word-wrapped, and made smaller until it fits, so that nothing runs into the next cell.
void drawFitted(QPainter &painter, const QRectF &box, const QString &text, qreal pixels, Qt::Alignment align,
                bool bold = false)
{
    if (text.isEmpty())
        return;
    const QRectF inner = box.adjusted(4, 3, -4, -3);
    const int flags = int(align) | Qt::TextWordWrap;
    QFont font = sized(pixels, bold);
    while (font.pixelSize() > 7) {
        painter.setFont(font);
        if (inner.contains(painter.boundingRect(inner, flags, text)))
            break;
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.drawText(inner, flags, text);
}

void drawCell(QPainter &painter, const QRectF &box, const QString &text, const QColor &firstLineColour,
              const PrintTable &table)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.drawRect(box);
    if (!table.emphasiseFirstLine) {
        drawFitted(painter, box, text, table.textSize, Qt::AlignLeft | Qt::AlignTop);
        return;
    }
    const qsizetype lineEnd = text.indexOf(u'\n');
    const QString first = lineEnd < 0 ? text : text.left(lineEnd);
    const QString rest = lineEnd < 0 ? QString() : text.mid(lineEnd + 1);
    constexpr qreal kFirstLine = 24;
    painter.setPen(firstLineColour);
    drawFitted(painter, QRectF(box.left(), box.top(), box.width(), kFirstLine + 6), first, kFirstLine,
               Qt::AlignLeft | Qt::AlignTop, true);
    painter.setPen(Qt::black);
    drawFitted(painter, box.adjusted(0, kFirstLine + 4, 0, 0), rest, table.textSize,
               Qt::AlignLeft | Qt::AlignTop);
}

void drawTable(QPainter &painter, const PrintTable &table, QRectF area)
{
    if (!table.heading.isEmpty()) {
        painter.setPen(Qt::black);
        drawFitted(painter, QRectF(area.left(), area.top(), area.width(), kHeadingHeight), table.heading, 22,
                   Qt::AlignLeft | Qt::AlignVCenter, true);
        area.setTop(area.top() + kHeadingHeight);
    }
    const qsizetype cells = std::max<qsizetype>(table.columnHeads.size() - 1, 1);
    const qreal headWidth = area.width() * table.rowHeadShare;
    const qsizetype firstColumn = headWidth > 0 ? 0 : 1; // a calendar has no row heads
    const qreal cellWidth = (area.width() - headWidth) / qreal(cells);
    const auto columnLeft = [&](qsizetype column) {
        return column == 0 ? area.left() : area.left() + headWidth + (column - 1) * cellWidth;
    };
    const auto columnWidth = [&](qsizetype column) { return column == 0 ? headWidth : cellWidth; };
    const auto colour = [&](qsizetype column) {
        return column >= 1 && column <= table.columnColours.size() ? table.columnColours[column - 1]
                                                                   : QColor(Qt::black);
    };

    qreal top = area.top();
    if (!table.columnHeads.isEmpty()) {
        for (qsizetype column = firstColumn; column < table.columnHeads.size(); ++column) {
            const QRectF box(columnLeft(column), top, columnWidth(column), kHeadRowHeight);
            painter.fillRect(box, QColor(0xEE, 0xEE, 0xEE));
            painter.setPen(QPen(Qt::black, 1));
            painter.drawRect(box);
            painter.setPen(colour(column));
            drawFitted(painter, box, table.columnHeads[column], 16, Qt::AlignCenter, true);
        }
        top += kHeadRowHeight;
    }
    if (table.rows.isEmpty())
        return;
    const qreal rowHeight = (area.bottom() - top) / qreal(table.rows.size());
    for (const QStringList &row : table.rows) {
        for (qsizetype column = firstColumn; column <= cells; ++column) {
            const QRectF box(columnLeft(column), top, columnWidth(column), rowHeight);
            if (column == 0) {
                painter.fillRect(box, QColor(0xF6, 0xF6, 0xF6));
                painter.setPen(QPen(Qt::black, 1));
                painter.drawRect(box);
                drawFitted(painter, box, row.value(0), 16, Qt::AlignCenter, true);
            } else {
                drawCell(painter, box, row.value(column), colour(column), table);
            }
        }
        top += rowHeight;
    }
}

} // namespace

QString weekdayName(const QString &number)
{
    static const QString names = QStringLiteral("月火水木金土日");
    bool ok = false;
    const int day = number.toInt(&ok);
    return ok && day >= 1 && day <= 7 && number.size() == 1 ? names.mid(day - 1, 1) : QString();
}

QColor weekdayColour(const QString &number)
{
    if (number == QStringLiteral("6"))
        return Qt::blue;
    if (number == QStringLiteral("7"))
        return Qt::red;
    return Qt::black;
}

bool renderSheet(const PrintSheet &sheet, QPagedPaintDevice &device)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(sheet.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // The printable area (the device's size, within the margins) mapped onto a frame kWidth units wide.
    const qreal scale = device.width() / kWidth;
    const qreal height = device.height() / scale;
    painter.scale(scale, scale);

    painter.setPen(Qt::black);
    drawFitted(painter, QRectF(0, 0, kWidth, kTitleHeight), sheet.title, 34, Qt::AlignCenter, true);
    qreal totalWeight = 0;
    for (const PrintTable &table : sheet.tables)
        totalWeight += table.weight;
    const qreal gaps = kGap * qreal(sheet.tables.size());
    qreal top = kTitleHeight;
    for (const PrintTable &table : sheet.tables) {
        const qreal share = totalWeight > 0 ? (height - kTitleHeight - gaps) * table.weight / totalWeight : 0;
        drawTable(painter, table, QRectF(0, top + kGap, kWidth, share));
        top += kGap + share;
    }
    return painter.end();
}

void printWithPreview(QWidget *parent, PrintableBoard &board)
{
    const PrintSheet sheet = board.printSheet();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(sheet.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(sheet.title);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("印刷プレビュー"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&sheet](QPrinter *target) { renderSheet(sheet, *target); });
    preview.exec();
}

QPushButton *makePrintButton(QWidget *board, PrintableBoard &printable, QRect geometry, const QFont &font)
{
    QPushButton *button =
        perumina::kit::button(board, QStringLiteral("printButton"), QStringLiteral("印刷"), geometry, font);
    QObject::connect(button, &QPushButton::clicked, board,
                     [board, &printable] { printWithPreview(board, printable); });
    return button;
}

} // namespace boards
