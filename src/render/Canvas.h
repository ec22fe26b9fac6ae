#pragma once

// The drawing surface every view, the printer, the picture exports and the 3D
// view draw through. It follows the Windows GDI as the program assumes
// it (Overview, "Platform interfaces"; the rules):
//
// - Lines: move-to/line-to draw from the current position and leave the end
//   point undrawn; a polyline leaves its last point undrawn and does not move
//   the current position.
// - Closed figures (polygon, ellipse, rectangle) are filled with the brush and
//   outlined with the pen. An ellipse or a rectangle is bounded by its box with
//   the right and bottom edges exclusive: box (0, 0)-(10, 10) covers pixels 0..9.
// - Arcs go counter-clockwise (on screen) from the ray through the start point
//   to the ray through the end point, as GDI Arc.
// - A solid brush makes the background opaque in its colour: the gaps of a
//   styled pen and the cell behind text are painted in the brush colour. Any
//   other brush style leaves them transparent (Delphi's TCanvas does this).
// - Pen styles other than solid apply to pens of width 1 only; wider pens are
//   solid with round ends, as cosmetic GDI pens are.
//
// State (pen, brush, font, current position) lives here; a backend draws each
// primitive with the state current at the call.

#include "PipeLoopOptions.h" // WinColour, FontSpec

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>

class QColor;

namespace pipeloop
{

inline constexpr WinColour kBlack = 0x000000;
inline constexpr WinColour kWhite = 0xFFFFFF;

// 0x00BBGGRR to a Qt colour and back. Only the low 24 bits are used (a
// negative value, a Windows system colour, has no meaning off Windows).
QColor ToQColor(WinColour colour);
WinColour FromQColor(const QColor& colour);

// Windows pen styles (PS_SOLID ... PS_DASHDOTDOT; also the option GridStyle).
enum class PenStyle : uint8_t { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4 };

// Windows brush styles as numbered by the options.
enum class BrushStyle : uint8_t {
    Solid = 0,
    Clear = 1,
    Horizontal = 2,
    Vertical = 3,
    ForwardDiagonal = 4,  // "\\\\"
    BackwardDiagonal = 5, // "////"
    Cross = 6,
    DiagonalCross = 7,
};

// The style of a stored number; a number out of range gives the solid style.
PenStyle PenStyleFromNumber(int number);
BrushStyle BrushStyleFromNumber(int number);

struct Pen {
    WinColour colour = kBlack;
    int width = 1;
    PenStyle style = PenStyle::Solid;

    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    WinColour colour = kWhite;
    BrushStyle style = BrushStyle::Solid;

    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font for text out. The size is in points, converted with the canvas's
// vertical dots per inch, unless pixelHeight is positive: then it is the
// character height in device pixels (Delphi's negative Font.Height).
struct Font {
    QString family = QStringLiteral("Arial");
    int pointSize = 8;
    int pixelHeight = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    WinColour colour = kBlack;

    static Font fromSpec(const FontSpec& fontSpec, WinColour colour = kBlack);
    // The character height in device pixels on a device of the given dots per inch.
    int heightInPixels(int dpiY) const;
    // Qt's font of this family and style; each back end sets the size its
    // device needs.
    QFont styledQFont() const;

    friend bool operator==(const Font&, const Font&) = default;
};

// A device rectangle as GDI takes it: right and bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool intersects(const PixelRect& other) const
    {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    PixelRect adjusted(int margin) const
    {
        return {left - margin, top - margin, right + margin, bottom + margin};
    }
    // GDI takes a box whose corners are given the wrong way round as the
    // box they span.
    PixelRect normalised() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right),
                std::max(top, bottom)};
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Placement of single-line text inside a rectangle (DrawText with DT_SINGLELINE).
enum class HAlign : uint8_t { Left, Centre, Right };
enum class VAlign : uint8_t { Top, Centre, Bottom };

class Canvas
{
public:
    virtual ~Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // --- state ---
    const Pen& pen() const { return m_pen; }
    void setPen(const Pen& pen) { m_pen = pen; }
    void setPenColour(WinColour colour) { m_pen.colour = colour; }
    void setPenWidth(int width) { m_pen.width = width; }
    void setPenStyle(PenStyle style) { m_pen.style = style; }

    const Brush& brush() const { return m_brush; }
    void setBrush(const Brush& brush) { m_brush = brush; }
    void setBrushColour(WinColour colour) { m_brush.colour = colour; }
    void setBrushStyle(BrushStyle style) { m_brush.style = style; }

    const Font& font() const { return m_font; }
    void setFont(const Font& font) { m_font = font; }

    QPoint penPos() const { return m_penPos; }

    // --- primitives ---
    void moveTo(QPoint p) { m_penPos = p; }
    void moveTo(int x, int y) { moveTo(QPoint(x, y)); }
    void lineTo(QPoint p);
    void lineTo(int x, int y) { lineTo(QPoint(x, y)); }
    void polyline(std::span<const QPoint> points);
    void polyline(std::initializer_list<QPoint> points) { polyline(std::span(points)); }
    void polygon(std::span<const QPoint> points);
    void polygon(std::initializer_list<QPoint> points) { polygon(std::span(points)); }
    void ellipse(const PixelRect& box);
    void ellipse(int left, int top, int right, int bottom) { ellipse({left, top, right, bottom}); }
    // Counter-clockwise arc of the ellipse in box, from the ray through start
    // to the ray through end (the whole ellipse when the rays coincide).
    void arc(const PixelRect& box, QPoint start, QPoint end);
    void rectangle(const PixelRect& box);
    void rectangle(int left, int top, int right, int bottom)
    {
        rectangle({left, top, right, bottom});
    }
    // Fills the box with the brush; no outline.
    void fillRect(const PixelRect& box);
    // Single-line text with its top-left corner at p.
    void textOut(QPoint p, const QString& text);
    // Single-line text placed in the box and clipped to it.
    void textRect(const PixelRect& box, const QString& text, HAlign h = HAlign::Left,
                  VAlign v = VAlign::Top);
    // Width and height of single-line text in the current font.
    virtual QSize textExtent(const QString& text) = 0;
    // A figure: what draw paints around the anchor, with the state it finds
    // here. Its pixels move with the anchor by whole pixels, so a raster
    // canvas may paint the second and every later figure of the same
    // primitives (relative to their anchors) from a picture of it. draw may
    // run more than once, on this canvas or on one that only records, and
    // must do the same each time; the state it leaves is left here. Text is
    // not part of a figure: a figure that writes any is drawn as it is.
    virtual void figure(QPoint anchor, const std::function<void(Canvas&)>& draw);
    // The same for a figure whose look names all that draw reads: with the
    // same look and the same state here, draw paints the same primitives
    // relative to the anchor and leaves the same state. Such a canvas may
    // then paint the figure without calling draw at all, so the caller keeps
    // whatever else draw does.
    virtual void figure(QPoint anchor, const QByteArray& look,
                        const std::function<void(Canvas&)>& draw);
    // The picture stretched into the box.
    void stretchDraw(const PixelRect& box, const QImage& picture);

    // --- device facts ---
    virtual int dpiX() const = 0;
    virtual int dpiY() const = 0;
    // Size of the drawing surface in device pixels (empty when unbounded).
    virtual QSize size() const = 0;
    // The part of the surface that drawing can change, in the coordinates the
    // primitives are given in (GDI's clip box): the surface, less what the
    // device leaves out, such as the part of a window that is off screen or
    // not being repainted. Drawing routines leave out what lies wholly
    // outside it, so that their cost follows what can be seen. This surface
    // unless a backend knows better; everything on a surface of no known size.
    virtual PixelRect clipBox() const;

protected:
    Canvas() = default;

    // Backends draw with pen(), brush() and font() as they are at the call.
    virtual void drawLine(QPoint from, QPoint to) = 0;
    virtual void drawPolyline(std::span<const QPoint> points) = 0;
    virtual void drawPolygon(std::span<const QPoint> points) = 0;
    virtual void drawEllipse(const PixelRect& box) = 0;
    virtual void drawArc(const PixelRect& box, QPoint start, QPoint end) = 0;
    virtual void drawRectangle(const PixelRect& box) = 0;
    virtual void drawFillRect(const PixelRect& box) = 0;
    virtual void drawText(QPoint topLeft, const QString& text) = 0;
    virtual void drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v) = 0;
    virtual void drawPicture(const PixelRect& box, const QImage& picture) = 0;

private:
    Pen m_pen;
    Brush m_brush;
    Font m_font;
    QPoint m_penPos;
};

// Whether a line from a to b in a pen of the given width could change a
// pixel of box (its bounds, widened by the pen and a pixel, meet the box).
bool LineMayShow(const PixelRect& box, QPoint a, QPoint b, int penWidth);

// The text cut to what fits in width pixels in the canvas's current font:
// the text itself when it fits, else its longest beginning that fits
// followed by an ellipsis, or nothing when not even the ellipsis fits. Text
// drawn from user data goes through here, so that a name or a description of
// millions of characters costs what a line's worth does: only a beginning of
// no more characters than the width has pixels is ever measured.
QString ElideText(Canvas& canvas, const QString& text, int width);

// The room for a line of text on the canvas: its width; from x to its right
// edge, for text written rightwards from x; from its left edge to x, for
// text that ends at x. Unlimited on a canvas of no known size.
int RoomAcross(const Canvas& canvas);
int RoomRightOf(const Canvas& canvas, int x);
int RoomLeftOf(const Canvas& canvas, int x);

} // namespace pipeloop
