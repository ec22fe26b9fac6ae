#pragma once

// The drawing area's view of the open design: which view (the plan or a
// section) at which zoom, the pixel scale that follows from them, painting
// the design (or the welcome page while none is open), the pointer's model
// position and scrolling. The main window lays its widgets out; commands and
// tools ask it where things are.

#include "ModelTypes.h"

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>

class QLabel;
class QPainter;
class QScrollArea;

namespace pipeloop
{

class Document;
class PaintBox;

// The drawing area's hint while a design is open and no tool holds it.
inline const QString SelectionHint = QStringLiteral("Click near symbol or elbow to select.");

class DesignView : public QObject
{
    Q_OBJECT
public:
    explicit DesignView(Document& document, QObject* parent = nullptr);

    // The widgets, for the window's layout: the caption above the drawing
    // and the scroll box that holds the drawing area.
    QLabel* captionLabel() const { return m_caption; }
    QScrollArea* scrollBox() const { return m_scrollBox; }
    PaintBox* drawingArea() const { return m_drawing; }

    ViewKind currentView() const { return m_view; }
    int zoomFactor(ViewKind view) const;
    int zoom() const { return zoomFactor(m_view); }
    double pixelsPerMmX() const { return m_pixelsPerMmX; }
    double pixelsPerMmY() const { return m_pixelsPerMmY; }
    QString caption() const;

    // The view and its own zoom factor.
    void setView(ViewKind view);
    // The current view's zoom factor (never below the minimum).
    void setZoom(int factor);
    // Zoom In (negative step) and Zoom Out (positive step, only while the
    // drawing does not fit the visible area).
    void zoomBy(int step);
    // The largest zoom at which the whole building shows in the window.
    void zoomToFit();
    // Zooms by a step keeping the model point under a pixel of the drawing
    // area where it is in the window, as Ctrl+wheel does.
    void zoomAt(QPoint pixel, int step);
    // The drawing area's size and scale for the current view and zoom.
    void updateGeometry();
    // The mouse wheel over the window; true when it scrolled, zoomed (with
    // Ctrl, about the pointer) or was swallowed.
    bool wheelScroll(int wheelDelta, Qt::KeyboardModifiers modifiers);

    // The model position under a pixel of the drawing area, kept as the
    // mouse position (each coordinate -1 where the view does not show it).
    Position trackMouse(QPoint pixel);
    // A position snapped to the grid in the plane of the view, as the
    // design's options ask.
    Position snapped(const Position& position) const;
    // How far from a click an object may be and still be selected.
    int32_t selectionTolerance() const;

    bool highlightElbows() const { return m_highlightElbows; }
    void setHighlightElbows(bool on);
    // The drawing area's tool tip; empty gives back the usual one.
    void setHint(const QString& hint);
    // The picture stretched over the welcome page (none: the drawn page) and
    // the logo the drawn page shows.
    void setWelcomePictures(const QImage& welcome, const QImage& logo);
    // Repaints at once, as a change is seen; not a deferred update.
    void repaintNow();
    void update();

signals:
    // The current view's zoom factor was set (the status bar and the Zoom menu).
    void zoomChanged();
    // The pointer moved over the drawing area of an open design.
    void mouseMoved(const Position& position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint(QPainter& painter, const QRect& exposed);
    void paintDrawing(QPainter& painter);
    void fitWelcomeArea();

    Document& m_document;
    ViewKind m_view = ViewKind::Plan;
    double m_pixelsPerMmX = 0.0;
    double m_pixelsPerMmY = 0.0;
    Position m_mousePosition{-1, -1, -1};
    bool m_highlightElbows = false;
    bool m_paintDetached = false;
    QImage m_welcomeImage;
    QImage m_logoImage;
    QImage m_paintBuffer; // the exposed part of the last paint

    QLabel* m_caption = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    PaintBox* m_drawing = nullptr;
};

} // namespace pipeloop
