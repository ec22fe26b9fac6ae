#include "DesignView.h"

#include "Document.h"
#include "DrawingArea.h"
#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "Rounding.h"
#include "ScreenView.h"
#include "UiServices.h"
#include "ViewMath.h"
#include "WelcomePage.h"

#include <QCursor>
#include <QDateTime>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <exception>

namespace pipeloop
{

DesignView::DesignView(Document& document, QObject* parent) : QObject(parent), m_document(document)
{
    m_caption = new QLabel;
    m_caption->setObjectName(QStringLiteral("lbViewCaption"));
    m_caption->hide();
    m_drawing = new PaintBox(QStringLiteral("pbPipeLoop"));
    m_drawing->onPaint = [this](QPainter& painter, const QRect& exposed) {
        paint(painter, exposed);
    };
    m_drawing->setAccessibleName(QStringLiteral("Drawing"));
    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(QStringLiteral("sbPipeLoop"));
    m_scrollBox->setWidget(m_drawing);
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setBackgroundRole(QPalette::Dark);
    m_scrollBox->viewport()->installEventFilter(this);
}

int DesignView::zoomFactor(ViewKind view) const
{
    return m_document.zoomFactors()[size_t(view)];
}

QString DesignView::caption() const
{
    return m_caption->text();
}

// ====================================================================== views

void DesignView::updateGeometry()
{
    const TPipeLoop* design = m_document.design();
    if (!design)
        return;
    int& zoom = m_document.zoomFactors()[size_t(m_view)];
    zoom = ClampZoom(zoom);
    const ScreenGeometry geometry = ScreenViewGeometry(
        *design, m_view, zoom, m_drawing->logicalDpiX(), m_drawing->logicalDpiY());
    m_caption->setText(ViewCaption(m_view));
    // A widget cannot be larger than this; the scale still maps every pixel.
    m_drawing->setFixedSize(geometry.area.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    m_pixelsPerMmX = geometry.pixelsPerMmX;
    m_pixelsPerMmY = geometry.pixelsPerMmY;
}

void DesignView::setView(ViewKind view)
{
    m_view = view;
    setZoom(zoom()); // the view's own factor
    updateGeometry();
    m_drawing->update();
}

void DesignView::setZoom(int factor)
{
    m_document.zoomFactors()[size_t(m_view)] = ClampZoom(factor);
    if (m_document.design()) {
        updateGeometry();
        m_drawing->update();
    }
    emit zoomChanged();
}

void DesignView::zoomBy(int step)
{
    if (step > 0 && !ZoomOutAllowed(m_scrollBox->viewport()->size(), m_drawing->size()))
        return;
    setZoom(zoom() + step);
}

void DesignView::zoomToFit()
{
    if (const TPipeLoop* design = m_document.design())
        setZoom(FittingZoom(*design, m_view, m_scrollBox->maximumViewportSize(),
                            m_drawing->logicalDpiX(), m_drawing->logicalDpiY()));
}

void DesignView::zoomAt(QPoint pixel, int step)
{
    const QSize before = m_drawing->size();
    const QPoint inWindow = m_drawing->mapTo(m_scrollBox->viewport(), pixel);
    zoomBy(step);
    const QSize after = m_drawing->size();
    if (after == before)
        return;
    // The building scales between the fixed margins of the drawing area.
    const auto scaled = [](int at, int from, int to) {
        return ScreenMargin + int(Round(double(at - ScreenMargin) * (to - 2 * ScreenMargin) /
                                        (from - 2 * ScreenMargin)));
    };
    m_scrollBox->horizontalScrollBar()->setValue(scaled(pixel.x(), before.width(), after.width()) -
                                                 inWindow.x());
    m_scrollBox->verticalScrollBar()->setValue(scaled(pixel.y(), before.height(), after.height()) -
                                               inWindow.y());
}

bool DesignView::wheelScroll(int wheelDelta, Qt::KeyboardModifiers modifiers)
{
    const int delta = wheelDelta / 4; // truncating, as the wheel step always has been
    if (modifiers == Qt::ControlModifier) {
        if (delta != 0 && m_document.design())
            zoomAt(m_drawing->mapFromGlobal(QCursor::pos()), delta > 0 ? -ZoomStep : ZoomStep);
        return true;
    }
    QScrollBar* bar = nullptr;
    if (modifiers == Qt::ShiftModifier) {
        if (!m_document.options().ShiftWheelScrollLeftRight)
            return true; // swallowed: Shift+wheel scrolls only when asked for
        bar = m_scrollBox->horizontalScrollBar();
    } else if (modifiers == Qt::NoModifier) {
        bar = m_scrollBox->verticalScrollBar();
    } else {
        return false;
    }
    if (!bar->isVisible())
        return false;
    bar->setValue(bar->value() - delta);
    trackMouse(m_drawing->mapFromGlobal(QCursor::pos()));
    return true;
}

// ====================================================================== mouse

Position DesignView::trackMouse(QPoint pixel)
{
    const TPipeLoop* design = m_document.design();
    if (!design)
        return m_mousePosition;
    m_mousePosition =
        ScreenToModel(*design, m_view, m_pixelsPerMmX, m_pixelsPerMmY, pixel.x(), pixel.y());
    emit mouseMoved(m_mousePosition);
    return m_mousePosition;
}

Position DesignView::snapped(const Position& position) const
{
    const TPipeLoopOptions& options = m_document.options();
    return SnapPosition(position, m_view, options.GridSpacing, options.SnapToGrid);
}

int32_t DesignView::selectionTolerance() const
{
    return SelectionTolerance(zoom());
}

// =================================================================== painting

void DesignView::setHighlightElbows(bool on)
{
    if (on == m_highlightElbows)
        return;
    m_highlightElbows = on;
    repaintNow();
}

void DesignView::setHint(const QString& hint)
{
    if (!hint.isEmpty())
        m_drawing->setToolTip(hint);
    else
        m_drawing->setToolTip(m_document.design() ? SelectionHint : QString());
}

void DesignView::setWelcomePictures(const QImage& welcome, const QImage& logo)
{
    m_welcomeImage = welcome;
    m_logoImage = logo;
}

void DesignView::repaintNow()
{
    if (m_drawing->isVisible())
        m_drawing->repaint();
    else
        m_drawing->update();
}

void DesignView::update()
{
    m_drawing->update();
}

void DesignView::paint(QPainter& painter, const QRect& exposed)
{
    // The exposed part is drawn into a picture of its own and then shown:
    // on an image that nothing else clips, the drawing sets the pixels of
    // grid lines, hatches and the pictures of drops directly, which it may
    // not do in the window's buffer, and a view is drawn several times faster.
    const qreal ratio = m_drawing->devicePixelRatioF();
    const QSize pixels = (QSizeF(exposed.size()) * ratio).toSize();
    if (m_paintBuffer.size() != pixels)
        m_paintBuffer = QImage(pixels, QImage::Format_RGB32);
    m_paintBuffer.setDevicePixelRatio(ratio);
    {
        QPainter onBuffer(&m_paintBuffer);
        onBuffer.translate(-exposed.topLeft());
        paintDrawing(onBuffer);
    }
    painter.drawImage(exposed.topLeft(), m_paintBuffer);
}

void DesignView::paintDrawing(QPainter& painter)
{
    const QRect area = m_drawing->rect();
    painter.fillRect(area, Qt::white);
    QPainterCanvas canvas(painter);
    const PixelRect rect{area.left(), area.top(), area.right() + 1, area.bottom() + 1};
    TPipeLoop* design = m_document.design();
    if (!design) {
        if (!m_welcomeImage.isNull())
            canvas.stretchDraw(rect, m_welcomeImage);
        else
            DrawWelcome(canvas, rect, m_logoImage,
                        static_cast<uint32_t>(QDateTime::currentMSecsSinceEpoch()));
        return;
    }
    if (m_paintDetached)
        return;
    try {
        const TDrawParams params =
            ScreenDrawParams(*design, m_view, rect, m_pixelsPerMmX, m_pixelsPerMmY);
        PaintDesignView(canvas, *design, params, m_highlightElbows);
    } catch (const std::exception& failure) {
        // Reported once: the area keeps its last picture rather than failing
        // again at every repaint.
        m_paintDetached = true;
        const QString text = QString::fromLocal8Bit(failure.what());
        QTimer::singleShot(0, this, [text] { Ui().reportError(text); });
    }
}

void DesignView::fitWelcomeArea()
{
    if (m_document.design())
        return;
    const QSize client = m_scrollBox->viewport()->size();
    m_drawing->setFixedSize(std::max(client.width() - 1, 1), std::max(client.height() - 1, 1));
}

bool DesignView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_scrollBox->viewport()) {
        if (event->type() == QEvent::Wheel) {
            const auto* wheel = static_cast<QWheelEvent*>(event);
            const QPoint angle = wheel->angleDelta();
            if (wheelScroll(angle.y() != 0 ? angle.y() : angle.x(), wheel->modifiers()))
                return true;
        } else if (event->type() == QEvent::Resize) {
            fitWelcomeArea();
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pipeloop
