#include "client/ui/drawingsurface.h"

#include <QMouseEvent>
#include <QPainter>

namespace client {

static constexpr int kBorder = 2;

DrawingSurface::DrawingSurface(int width, int height, QWidget *parent)
    : QFrame(parent), picture_(width, height, QImage::Format_RGB32)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(kBorder);
    setFixedSize(width + 2 * kBorder, height + 2 * kBorder);
    setCursor(Qt::CrossCursor);
    // Moves while no button is held still arrive; the screen decides whether they draw.
    setMouseTracking(true);
    picture_.fill(Qt::white);
}

static QPen roundPen(int penWidth, const QColor &colour)
{
    return QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void DrawingSurface::paintDot(QPoint at, int penWidth, const QColor &colour)
{
    QPainter painter(&picture_);
    if (penWidth <= 1) {
        painter.setPen(colour);
        painter.drawPoint(at);
    } else {
        // A round dot of the pen's diameter, centred on the pixel: every pixel whose centre lies
        // within the radius.
        const double radius = penWidth / 2.0;
        const int reach = penWidth / 2;
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (dx * dx + dy * dy <= radius * radius && picture_.valid(at.x() + dx, at.y() + dy))
                    picture_.setPixelColor(at.x() + dx, at.y() + dy, colour);
    }
    update();
}

void DrawingSurface::paintSegment(QPoint from, QPoint to, int penWidth, const QColor &colour)
{
    QPainter painter(&picture_);
    painter.setPen(roundPen(penWidth, colour));
    painter.drawLine(from, to);
    painter.end();
    // Round ends of exactly the dot's shape, so a stroke's ends match its first dot.
    paintDot(to, penWidth, colour);
}

void DrawingSurface::clear()
{
    picture_.fill(Qt::white);
    update();
}

void DrawingSurface::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), picture_);
}

QPoint DrawingSurface::inner(const QPointF &widgetPoint) const
{
    return widgetPoint.toPoint() - contentsRect().topLeft();
}

void DrawingSurface::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(inner(event->position()));
}

void DrawingSurface::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(inner(event->position()));
}

void DrawingSurface::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(inner(event->position()));
}

} // namespace client
