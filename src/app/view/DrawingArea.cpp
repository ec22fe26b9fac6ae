#include "DrawingArea.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace pipeloop
{

PaintBox::PaintBox(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setMouseTracking(true); // the status bar follows the pointer without a button held
    setAttribute(Qt::WA_OpaquePaintEvent); // every paint fills the whole box
}

void PaintBox::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (onPaint)
        onPaint(painter, event->rect());
    else
        painter.fillRect(rect(), Qt::white);
}

void PaintBox::mousePressEvent(QMouseEvent* event)
{
    if (onPress)
        onPress(event);
}

void PaintBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (onRelease)
        onRelease(event);
}

void PaintBox::mouseMoveEvent(QMouseEvent* event)
{
    if (onMove)
        onMove(event);
}

} // namespace pipeloop
