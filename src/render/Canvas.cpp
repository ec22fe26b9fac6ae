#include "Canvas.h"

#include "Rounding.h"

#include <QColor>

#include <limits>

namespace pipeloop
{

QColor ToQColor(WinColour colour)
{
    const auto value = static_cast<uint32_t>(colour);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

WinColour FromQColor(const QColor& colour)
{
    return WinColour(uint32_t(colour.red()) | (uint32_t(colour.green()) << 8) |
                     (uint32_t(colour.blue()) << 16));
}

PenStyle PenStyleFromNumber(int number)
{
    return number >= 0 && number <= 4 ? static_cast<PenStyle>(number) : PenStyle::Solid;
}

BrushStyle BrushStyleFromNumber(int number)
{
    return number >= 0 && number <= 7 ? static_cast<BrushStyle>(number) : BrushStyle::Solid;
}

Font Font::fromSpec(const FontSpec& fontSpec, WinColour colour)
{
    Font font;
    font.family = fontSpec.family;
    font.pointSize = fontSpec.pointSize;
    font.bold = fontSpec.bold;
    font.italic = fontSpec.italic;
    font.underline = fontSpec.underline;
    font.strikeOut = fontSpec.strikeOut;
    font.colour = colour;
    return font;
}

int Font::heightInPixels(int dpiY) const
{
    if (pixelHeight > 0)
        return pixelHeight;
    // Delphi: Height = -MulDiv(Size, PixelsPerInch, 72).
    return Round(double(pointSize) * dpiY / 72.0);
}

QFont Font::styledQFont() const
{
    QFont qfont(family);
    qfont.setBold(bold);
    qfont.setItalic(italic);
    qfont.setUnderline(underline);
    qfont.setStrikeOut(strikeOut);
    return qfont;
}

PixelRect Canvas::clipBox() const
{
    constexpr int far = std::numeric_limits<int>::max() / 2;
    const QSize surface = size();
    if (surface.isEmpty())
        return {-far, -far, far, far};
    return {0, 0, surface.width(), surface.height()};
}

bool LineMayShow(const PixelRect& box, QPoint a, QPoint b, int penWidth)
{
    const PixelRect line{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1,
                         std::max(a.y(), b.y()) + 1};
    return line.adjusted(std::max(penWidth, 1) + 1).intersects(box);
}

void Canvas::lineTo(QPoint p)
{
    drawLine(m_penPos, p);
    m_penPos = p;
}

void Canvas::polyline(std::span<const QPoint> points)
{
    if (points.size() >= 2)
        drawPolyline(points);
}

void Canvas::polygon(std::span<const QPoint> points)
{
    if (points.size() >= 2)
        drawPolygon(points);
}

void Canvas::ellipse(const PixelRect& box)
{
    drawEllipse(box);
}

void Canvas::arc(const PixelRect& box, QPoint start, QPoint end)
{
    drawArc(box, start, end);
}

void Canvas::rectangle(const PixelRect& box)
{
    drawRectangle(box);
}

void Canvas::fillRect(const PixelRect& box)
{
    drawFillRect(box);
}

void Canvas::textOut(QPoint p, const QString& text)
{
    if (!text.isEmpty())
        drawText(p, text);
}

void Canvas::textRect(const PixelRect& box, const QString& text, HAlign h, VAlign v)
{
    if (!text.isEmpty())
        drawTextRect(box, text, h, v);
}

void Canvas::figure(QPoint, const std::function<void(Canvas&)>& draw)
{
    draw(*this);
}

void Canvas::figure(QPoint anchor, const QByteArray&, const std::function<void(Canvas&)>& draw)
{
    figure(anchor, draw);
}

void Canvas::stretchDraw(const PixelRect& box, const QImage& picture)
{
    if (!picture.isNull())
        drawPicture(box, picture);
}

QString ElideText(Canvas& canvas, const QString& text, int width)
{
    if (width <= 0)
        return {};
    const auto fits = [&canvas, width](const QString& candidate) {
        return canvas.textExtent(candidate).width() <= width;
    };
    // A character that shows is at least a pixel wide: characters beyond the
    // width's count can only be cut off.
    const qsizetype measured = std::min<qsizetype>(text.size(), qsizetype(width) + 1);
    if (measured == text.size() && fits(text))
        return text;

    // The longest beginning that fits with the ellipsis (the width of a
    // beginning grows with its length): bracketed by doubling from a short
    // one, so that what is measured follows what fits, then found by halving.
    const QString ellipsis(QChar(0x2026));
    const auto fitsElided = [&](qsizetype length) { return fits(text.left(length) + ellipsis); };
    qsizetype fitting = -1; // no beginning fits, not even the empty one
    qsizetype tooLong = measured + 1;
    for (qsizetype length = 16; length < tooLong; length *= 2) {
        if (!fitsElided(length)) {
            tooLong = length;
            break;
        }
        fitting = length;
    }
    while (tooLong - fitting > 1) {
        const qsizetype middle = fitting + (tooLong - fitting) / 2;
        if (fitsElided(middle))
            fitting = middle;
        else
            tooLong = middle;
    }
    if (fitting < 0)
        return {};
    // A character outside the Basic Multilingual Plane is not cut in two.
    if (fitting > 0 && text.at(fitting - 1).isHighSurrogate())
        --fitting;
    return text.left(fitting) + ellipsis;
}

int RoomAcross(const Canvas& canvas)
{
    const QSize size = canvas.size();
    return size.isEmpty() ? std::numeric_limits<int>::max() : size.width();
}

int RoomRightOf(const Canvas& canvas, int x)
{
    return canvas.size().isEmpty() ? std::numeric_limits<int>::max() : RoomAcross(canvas) - x;
}

int RoomLeftOf(const Canvas& canvas, int x)
{
    return canvas.size().isEmpty() ? std::numeric_limits<int>::max() : x;
}

} // namespace pipeloop
