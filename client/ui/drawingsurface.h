#pragma once

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QPoint>

namespace client {

// The canvas's drawing surface: a white picture of a fixed size inside a sunken border. It paints dots
// and segments with round ends where the screen tells it to and reports the mouse in its own
// coordinates (the top left pixel of the picture is 0,0).
class DrawingSurface : public QFrame
{
    Q_OBJECT
public:
    DrawingSurface(int width, int height, QWidget *parent = nullptr);

    void paintDot(QPoint at, int penWidth, const QColor &colour);
    void paintSegment(QPoint from, QPoint to, int penWidth, const QColor &colour);
    void clear();
    int innerWidth() const { return picture_.width(); }
    int innerHeight() const { return picture_.height(); }
    // Everything drawn so far, at the surface's pixel size.
    QImage picture() const { return picture_; }

signals:
    void mouseDown(QPoint at);
    void mouseMove(QPoint at);
    void mouseUp(QPoint at);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPoint inner(const QPointF &widgetPoint) const;

    QImage picture_;
};

} // namespace client
