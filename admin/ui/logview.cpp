#include "admin/ui/logview.h"

#include "admin/core/console.h"
#include "shared/ui/formkit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <vector>

namespace admin {

namespace {
constexpr int kMargin = 4;
// Laying out a line costs time in its length: a line of a megabyte froze every repaint. The screen shows
// a line's first characters and an ellipsis; copying still gives the whole line.
constexpr qsizetype kMaxShownChars = 2000;
const QChar kEllipsis(0x2026);

QString shownPart(QStringView line)
{
    return line.size() <= kMaxShownChars ? line.toString() : line.left(kMaxShownChars).toString() + kEllipsis;
}
} // namespace

LogView::LogView(QWidget *parent) : QAbstractScrollArea(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // One fixed-pitch face for every line, so that quotes and digits keep their shape beside Japanese.
    setFont(perumina::kit::face(perumina::kit::Face::Gothic));
}

void LogView::setLines(const QStringList &lines)
{
    setLog(std::make_shared<MessageLog>(lines));
}

void LogView::setLog(std::shared_ptr<const MessageLog> log)
{
    log_ = std::move(log);
    rows_ = log_->findLines({});
    // The width of the whole log, so that the bar does not jump while a search narrows the lines.
    measure();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

qsizetype LogView::setFilter(const QString &text)
{
    qsizetype records = 0;
    rows_ = log_->findLines(text, &records);
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    viewport()->update();
    return records;
}

QString LogView::toPlainText() const
{
    QString text;
    for (int i = 0; i < int(rows_.size()); ++i) {
        text += row(i);
        text += u'\n';
    }
    return text;
}

void LogView::copyAll() const
{
    QApplication::clipboard()->setText(toPlainText());
}

int LogView::lineHeight() const
{
    return std::max(1, fontMetrics().lineSpacing());
}

int LogView::visibleLineCount() const
{
    return std::max(1, (viewport()->height() - kMargin) / lineHeight());
}

int LogView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

// Widths from per-character advances, looked up once per character: exact enough for the scroll range
// and far cheaper than laying out every line.
void LogView::measure()
{
    const QFontMetrics metrics = fontMetrics();
    std::vector<int> advance(0x10000, -1);
    int widest = 0;
    for (qsizetype i = 0; i < log_->lineCount(); ++i) {
        const QStringView line = log_->line(i);
        int width = 0;
        for (QChar c : line.left(kMaxShownChars)) {
            int &a = advance[c.unicode()];
            if (a < 0)
                a = metrics.horizontalAdvance(c);
            width += a;
        }
        if (line.size() > kMaxShownChars)
            width += metrics.horizontalAdvance(kEllipsis);
        widest = std::max(widest, width);
    }
    contentWidth_ = widest + 2 * kMargin;
    updateScrollBars();
}

void LogView::updateScrollBars()
{
    const int visible = visibleLineCount();
    verticalScrollBar()->setRange(0, std::max(0, int(rows_.size()) - visible));
    verticalScrollBar()->setPageStep(visible);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setRange(0, std::max(0, contentWidth_ - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth() * 2);
}

void LogView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int height = lineHeight();
    const int first = firstVisibleLine();
    const int last = std::min(int(rows_.size()), first + visibleLineCount() + 1);
    const int x = kMargin - horizontalScrollBar()->value();
    int baseline = kMargin + fontMetrics().ascent();
    for (int i = first; i < last; ++i, baseline += height)
        painter.drawText(x, baseline, shownPart(row(i)));
}

void LogView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void LogView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        measure();
}

void LogView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copyAll();
        return;
    }
    QScrollBar *v = verticalScrollBar();
    QScrollBar *h = horizontalScrollBar();
    switch (event->key()) {
    case Qt::Key_Up:
        v->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Down:
        v->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_PageUp:
        v->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    case Qt::Key_PageDown:
        v->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_Left:
        h->triggerAction(QAbstractSlider::SliderSingleStepSub);
        break;
    case Qt::Key_Right:
        h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
    case Qt::Key_Home:
        v->setValue(v->minimum());
        h->setValue(h->minimum());
        break;
    case Qt::Key_End:
        v->setValue(v->maximum());
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
}

void LogView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("すべてコピー"), this, &LogView::copyAll);
    menu.exec(event->globalPos());
}

} // namespace admin
