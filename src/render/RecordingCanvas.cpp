#include "RecordingCanvas.h"

namespace pipeloop
{

namespace
{

QString colourText(WinColour colour)
{
    return QStringLiteral("%1")
        .arg(uint32_t(colour) & 0xFFFFFFu, 6, 16, QLatin1Char('0'))
        .toUpper();
}

QString pointText(QPoint p)
{
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

QString boxText(const PixelRect& r)
{
    return QStringLiteral("(%1,%2)-(%3,%4)").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

QString penText(const Pen& pen)
{
    static const char* const styles[] = {"solid", "dash", "dot", "dashdot", "dashdotdot"};
    return QStringLiteral("pen %1 w%2 %3")
        .arg(colourText(pen.colour))
        .arg(pen.width)
        .arg(QLatin1String(styles[int(pen.style)]));
}

QString brushText(const Brush& brush)
{
    static const char* const styles[] = {"solid",     "clear",     "horizontal", "vertical",
                                         "fdiagonal", "bdiagonal", "cross",      "diagcross"};
    if (brush.style == BrushStyle::Clear)
        return QStringLiteral("brush clear");
    return QStringLiteral("brush %1 %2")
        .arg(colourText(brush.colour))
        .arg(QLatin1String(styles[int(brush.style)]));
}

QString fontText(const Font& font)
{
    QString text = QStringLiteral("font \"%1\" ").arg(font.family);
    text += font.pixelHeight > 0 ? QStringLiteral("%1px").arg(font.pixelHeight)
                                 : QStringLiteral("%1pt").arg(font.pointSize);
    if (font.bold)
        text += QStringLiteral(" bold");
    if (font.italic)
        text += QStringLiteral(" italic");
    if (font.underline)
        text += QStringLiteral(" underline");
    if (font.strikeOut)
        text += QStringLiteral(" strikeout");
    return text + QLatin1Char(' ') + colourText(font.colour);
}

QString pointsText(const std::vector<QPoint>& points)
{
    QStringList parts;
    for (const QPoint& p : points)
        parts << pointText(p);
    return parts.join(QLatin1Char(' '));
}

} // namespace

QString Primitive::describe() const
{
    switch (kind) {
    case Kind::Line:
        return QStringLiteral("line %1-%2 %3")
            .arg(pointText(points[0]), pointText(points[1]), penText(pen));
    case Kind::Polyline:
        return QStringLiteral("polyline %1 %2").arg(pointsText(points), penText(pen));
    case Kind::Polygon:
        return QStringLiteral("polygon %1 %2 %3")
            .arg(pointsText(points), penText(pen), brushText(brush));
    case Kind::Ellipse:
        return QStringLiteral("ellipse %1 %2 %3").arg(boxText(box), penText(pen), brushText(brush));
    case Kind::Arc:
        return QStringLiteral("arc %1 from %2 to %3 %4")
            .arg(boxText(box), pointText(points[0]), pointText(points[1]), penText(pen));
    case Kind::Rectangle:
        return QStringLiteral("rectangle %1 %2 %3")
            .arg(boxText(box), penText(pen), brushText(brush));
    case Kind::FillRect:
        return QStringLiteral("fill %1 %2").arg(boxText(box), brushText(brush));
    case Kind::Text:
        return QStringLiteral("text %1 \"%2\" %3 %4")
            .arg(pointText(points[0]), text, fontText(font), brushText(brush));
    case Kind::TextRect: {
        static const char* const h[] = {"left", "centre", "right"};
        static const char* const v[] = {"top", "centre", "bottom"};
        return QStringLiteral("textrect %1 %2/%3 \"%4\" %5 %6")
            .arg(boxText(box), QLatin1String(h[int(hAlign)]), QLatin1String(v[int(vAlign)]), text,
                 fontText(font), brushText(brush));
    }
    case Kind::Picture:
        return QStringLiteral("picture %1 %2x%3")
            .arg(boxText(box))
            .arg(pictureSize.width())
            .arg(pictureSize.height());
    }
    return {};
}

RecordingCanvas::RecordingCanvas(QSize size, int dpiX, int dpiY)
    : m_size(size), m_dpiX(dpiX), m_dpiY(dpiY)
{
}

QStringList RecordingCanvas::descriptions() const
{
    return descriptions(QPoint(0, 0));
}

QStringList RecordingCanvas::descriptions(QPoint origin) const
{
    QStringList lines;
    for (Primitive p : m_primitives) {
        for (QPoint& point : p.points)
            point -= origin;
        p.box = {p.box.left - origin.x(), p.box.top - origin.y(), p.box.right - origin.x(),
                 p.box.bottom - origin.y()};
        lines << p.describe();
    }
    return lines;
}

QSize RecordingCanvas::textExtent(const QString& text)
{
    const int height = font().heightInPixels(m_dpiY);
    return QSize(int(text.size()) * (height / 2), height);
}

Primitive& RecordingCanvas::add(Primitive::Kind kind)
{
    Primitive& p = m_primitives.emplace_back();
    p.kind = kind;
    p.pen = pen();
    p.brush = brush();
    p.font = font();
    return p;
}

void RecordingCanvas::drawLine(QPoint from, QPoint to)
{
    add(Primitive::Kind::Line).points = {from, to};
}

void RecordingCanvas::drawPolyline(std::span<const QPoint> points)
{
    add(Primitive::Kind::Polyline).points.assign(points.begin(), points.end());
}

void RecordingCanvas::drawPolygon(std::span<const QPoint> points)
{
    add(Primitive::Kind::Polygon).points.assign(points.begin(), points.end());
}

void RecordingCanvas::drawEllipse(const PixelRect& box)
{
    add(Primitive::Kind::Ellipse).box = box;
}

void RecordingCanvas::drawArc(const PixelRect& box, QPoint start, QPoint end)
{
    Primitive& p = add(Primitive::Kind::Arc);
    p.box = box;
    p.points = {start, end};
}

void RecordingCanvas::drawRectangle(const PixelRect& box)
{
    add(Primitive::Kind::Rectangle).box = box;
}

void RecordingCanvas::drawFillRect(const PixelRect& box)
{
    add(Primitive::Kind::FillRect).box = box;
}

void RecordingCanvas::drawText(QPoint topLeft, const QString& text)
{
    Primitive& p = add(Primitive::Kind::Text);
    p.points = {topLeft};
    p.text = text;
}

void RecordingCanvas::drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v)
{
    Primitive& p = add(Primitive::Kind::TextRect);
    p.box = box;
    p.text = text;
    p.hAlign = h;
    p.vAlign = v;
}

void RecordingCanvas::drawPicture(const PixelRect& box, const QImage& picture)
{
    Primitive& p = add(Primitive::Kind::Picture);
    p.box = box;
    p.pictureSize = picture.size();
}

} // namespace pipeloop
