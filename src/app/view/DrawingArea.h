#pragma once

// The paint boxes of the main window: the drawing area pbPipeLoop and the
// drop view's close-up. They only forward paint and mouse events; what to draw
// and what a click means is the main window's business.

#include <QWidget>

#include <functional>

namespace pipeloop
{

class PaintBox : public QWidget
{
public:
    explicit PaintBox(const QString& name, QWidget* parent = nullptr);

    // Paints the box; the rectangle is the part to paint, in the box's coordinates.
    std::function<void(QPainter&, const QRect&)> onPaint;
    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onRelease;
    std::function<void(QMouseEvent*)> onMove;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace pipeloop
