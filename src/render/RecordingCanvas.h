#pragma once

// A canvas that draws nothing and records every primitive with its exact
// integer coordinates and the pen, brush and font in force, so that tests can
// assert the calls a drawing routine makes.

#include "Canvas.h"

#include <QStringList>

#include <optional>
#include <vector>

namespace pipeloop
{

struct Primitive {
    enum class Kind {
        Line,
        Polyline,
        Polygon,
        Ellipse,
        Arc,
        Rectangle,
        FillRect,
        Text,
        TextRect,
        Picture
    };

    Kind kind = Kind::Line;
    // Line: from, to. Polyline, polygon: the vertices. Arc: start, end.
    // Text: the top-left corner.
    std::vector<QPoint> points;
    // Ellipse, arc, rectangle, fill, text rectangle, picture.
    PixelRect box;
    QString text;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    QSize pictureSize;
    Pen pen;
    Brush brush;
    Font font;

    // One line of text naming the kind, the coordinates and the state that
    // affects it, for example
    //   "line (0,-12)-(0,12) pen 000000 w1 dot"
    //   "polygon (-12,0) (0,-12) (12,0) (0,12) pen 000000 w1 solid brush FFFFFF solid"
    // Colours are written as 0xBBGGRR in six hexadecimal digits.
    QString describe() const;
};

class RecordingCanvas final : public Canvas
{
public:
    // A surface of the given size and resolution (the device facts it reports).
    explicit RecordingCanvas(QSize size = QSize(), int dpiX = 96, int dpiY = 96);

    const std::vector<Primitive>& primitives() const { return m_primitives; }
    // describe() of every primitive, in order.
    QStringList descriptions() const;
    // The same, every coordinate shifted by -origin (to compare offsets from an anchor).
    QStringList descriptions(QPoint origin) const;
    void clear() { m_primitives.clear(); }

    // Text is measured without fonts so that tests are the same everywhere: a
    // line is as high as the font's pixel height and every character is half
    // that height wide.
    QSize textExtent(const QString& text) override;

    int dpiX() const override { return m_dpiX; }
    int dpiY() const override { return m_dpiY; }
    QSize size() const override { return m_size; }
    // The surface unless a clip box is set, as a window's visible part.
    PixelRect clipBox() const override { return m_clipBox.value_or(Canvas::clipBox()); }
    void setClipBox(const PixelRect& box) { m_clipBox = box; }

protected:
    void drawLine(QPoint from, QPoint to) override;
    void drawPolyline(std::span<const QPoint> points) override;
    void drawPolygon(std::span<const QPoint> points) override;
    void drawEllipse(const PixelRect& box) override;
    void drawArc(const PixelRect& box, QPoint start, QPoint end) override;
    void drawRectangle(const PixelRect& box) override;
    void drawFillRect(const PixelRect& box) override;
    void drawText(QPoint topLeft, const QString& text) override;
    void drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v) override;
    void drawPicture(const PixelRect& box, const QImage& picture) override;

private:
    Primitive& add(Primitive::Kind kind);

    QSize m_size;
    std::optional<PixelRect> m_clipBox;
    int m_dpiX;
    int m_dpiY;
    std::vector<Primitive> m_primitives;
};

} // namespace pipeloop
