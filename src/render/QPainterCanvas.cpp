#include "QPainterCanvas.h"

#include <QFontMetrics>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <numbers>
#include <utility>
#include <vector>

namespace pipeloop
{

namespace
{

// Dash patterns of cosmetic GDI pens, in pixels (on, off, ...).
QList<qreal> dashPattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash:
        return {18, 6};
    case PenStyle::Dot:
        return {3, 3};
    case PenStyle::DashDot:
        return {9, 6, 3, 6};
    case PenStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case PenStyle::Solid:
        break;
    }
    return {};
}

Qt::BrushStyle qtBrushStyle(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Solid:
        return Qt::SolidPattern;
    case BrushStyle::Clear:
        return Qt::NoBrush;
    case BrushStyle::Horizontal:
        return Qt::HorPattern;
    case BrushStyle::Vertical:
        return Qt::VerPattern;
    case BrushStyle::ForwardDiagonal:
        return Qt::FDiagPattern;
    case BrushStyle::BackwardDiagonal:
        return Qt::BDiagPattern;
    case BrushStyle::Cross:
        return Qt::CrossPattern;
    case BrushStyle::DiagonalCross:
        return Qt::DiagCrossPattern;
    }
    return Qt::SolidPattern;
}

// A hatched brush for a raster device: Qt's own pattern, drawn once into a
// wide tile. Qt fills a pattern brush from an eight-pixel tile, eight pixels
// per call; the same pattern in a tile 512 pixels wide fills the same pixels
// in long runs, which makes a section's large hatched features several times
// cheaper. The tile is aligned as the pattern is, so the pixels are the same.
QBrush WideHatch(const QColor& colour, Qt::BrushStyle style)
{
    constexpr int TileWidth = 512;
    constexpr int TileHeight = 8; // the pattern's own period
    constexpr qsizetype MaxTiles = 64;
    thread_local QHash<quint64, QBrush> tiles;
    const quint64 key = quint64(colour.rgba()) << 8 | quint64(style);
    if (const auto found = tiles.constFind(key); found != tiles.cend())
        return *found;
    QImage tile(TileWidth, TileHeight, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter(&tile).fillRect(tile.rect(), QBrush(colour, style));
    if (tiles.size() >= MaxTiles)
        tiles.clear();
    return *tiles.insert(key, QBrush(tile));
}

// Whether two fonts lay text out alike: the colour plays no part.
bool SameLayout(const Font& a, const Font& b)
{
    return a.family == b.family && a.pointSize == b.pointSize && a.pixelHeight == b.pixelHeight &&
           a.bold == b.bold && a.italic == b.italic && a.underline == b.underline &&
           a.strikeOut == b.strikeOut;
}

// Widths kept per font, up to this many texts, for up to MaxMeasuredFonts fonts.
constexpr qsizetype MaxTextWidths = 8192;
constexpr qsizetype MaxMeasuredFonts = 64;

// The widths of texts in a font on devices of a kind and resolution, shared by every
// canvas of the thread: each paint of the screen, each page of a print and
// each picture measures the same names again, a design's thousands of drop
// names among them, and laying a text out costs far more than finding it.
std::shared_ptr<QHash<QString, int>> SharedTextWidths(const Font& font, const QPaintDevice* device)
{
    thread_local QHash<QByteArray, std::shared_ptr<QHash<QString, int>>> byFont;
    QByteArray key = font.family.toUtf8();
    for (const int value :
         {font.pointSize, font.pixelHeight, int(font.bold), int(font.italic), int(font.underline),
          int(font.strikeOut), device ? device->devType() : 0, device ? device->logicalDpiX() : 0,
          device ? device->logicalDpiY() : 0})
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    if (const auto found = byFont.constFind(key); found != byFont.cend())
        return *found;
    if (byFont.size() >= MaxMeasuredFonts)
        byFont.clear(); // a canvas keeps the widths it is using
    return *byFont.insert(key, std::make_shared<QHash<QString, int>>());
}

// The font at its size in pixels, or in points for the device to convert.
QFont qtFont(const Font& font)
{
    QFont qfont = font.styledQFont();
    if (font.pixelHeight > 0)
        qfont.setPixelSize(font.pixelHeight);
    else if (font.pointSize > 0)
        qfont.setPointSize(font.pointSize);
    return qfont;
}

// The outline of a GDI figure bounded by box (right and bottom exclusive):
// through the centres of its first and last pixels. shift is the offset from
// integer coordinates to pixel centres in the way Qt rasterises the figure.
QRectF outlineRect(const PixelRect& box, qreal shift)
{
    return QRectF(box.left + shift, box.top + shift, box.width() - 1, box.height() - 1);
}

QPolygonF toPolygon(std::span<const QPoint> points, qreal shift)
{
    QPolygonF polygon;
    polygon.reserve(qsizetype(points.size()));
    for (const QPoint& p : points)
        polygon << QPointF(p.x() + shift, p.y() + shift);
    return polygon;
}

// The angle, in degrees counter-clockwise as Qt counts them on an ellipse, of
// the point where the ray from the ellipse's centre through p meets it.
qreal ellipseAngle(const PixelRect& box, QPoint p)
{
    const qreal cx = (box.left + box.right) / 2.0;
    const qreal cy = (box.top + box.bottom) / 2.0;
    const qreal rx = std::max(box.width() / 2.0, 0.5);
    const qreal ry = std::max(box.height() / 2.0, 0.5);
    return std::atan2(-(p.y() - cy) / ry, (p.x() - cx) / rx) * 180.0 / std::numbers::pi;
}

// A solid line of width 3 along an axis, aliased: the pixels Qt's stroker
// gives the round-capped line (two columns from one pixel before the start to
// the end, the third between them), filled directly, which is many times
// faster than stroking. render_tests compares the two pixel for pixel.
void fillAxisLineWidth3(QPainter& painter, QPoint a, QPoint b, const QColor& colour)
{
    if (a.x() == b.x()) {
        const int top = std::min(a.y(), b.y());
        const int bottom = std::max(a.y(), b.y());
        painter.fillRect(QRect(a.x() - 1, top - 1, 2, bottom - top + 2), colour);
        painter.fillRect(QRect(a.x() + 1, top, 1, bottom - top), colour);
    } else {
        const int left = std::min(a.x(), b.x());
        const int right = std::max(a.x(), b.x());
        painter.fillRect(QRect(left - 1, a.y() - 1, right - left + 2, 2), colour);
        painter.fillRect(QRect(left, a.y() + 1, right - left, 1), colour);
    }
}

// A solid cosmetic line along an axis, aliased: the pixels Qt's cosmetic
// stroker gives it (from its lesser end to the one before its greater, either
// way it is drawn), filled directly. The corner lines of a section
// cross the whole picture, and Qt's cosmetic stroker sets them a pixel at a
// time. render_tests compares the two pixel for pixel.
void fillAxisLineWidth1(QPainter& painter, QPoint a, QPoint b, const QColor& colour)
{
    if (a.x() == b.x()) {
        const int top = std::min(a.y(), b.y());
        painter.fillRect(QRect(a.x(), top, 1, std::abs(b.y() - a.y())), colour);
    } else {
        const int left = std::min(a.x(), b.x());
        painter.fillRect(QRect(left, a.y(), std::abs(b.x() - a.x()), 1), colour);
    }
}

// Draws nothing. Notes each primitive of a figure, relative to its anchor,
// with the pen and brush it is drawn in: the figure's name, under which its
// picture is kept. Starts with the state of the canvas it stands in for and
// asks that canvas about the device.
class FigureRecorder final : public Canvas
{
public:
    FigureRecorder(Canvas& target, QPoint anchor) : m_target(target), m_anchor(anchor)
    {
        m_name.reserve(512);
        setPen(target.pen());
        setBrush(target.brush());
        setFont(target.font());
        moveTo(target.penPos());
    }

    QSize textExtent(const QString& text) override { return m_target.textExtent(text); }
    int dpiX() const override { return m_target.dpiX(); }
    int dpiY() const override { return m_target.dpiY(); }
    QSize size() const override { return m_target.size(); }
    PixelRect clipBox() const override { return m_target.clipBox(); }

    QByteArray name() const
    {
        return QByteArray(reinterpret_cast<const char*>(m_name.data()),
                          qsizetype(m_name.size() * sizeof(int32_t)));
    }
    // What the primitives can change, relative to the anchor, wide pens included.
    QRect bounds() const
    {
        if (!noted())
            return {};
        return QRect(QPoint(m_left, m_top), QPoint(m_right, m_bottom))
            .adjusted(-m_margin, -m_margin, m_margin, m_margin);
    }
    // Text, pictures and patterned brushes do not move with the figure pixel
    // for pixel (glyphs are blended, patterns keep to the device).
    bool picturable() const { return m_picturable && noted(); }

protected:
    void drawLine(QPoint from, QPoint to) override
    {
        const QPoint points[] = {from, to};
        note('L', points, false);
    }
    void drawPolyline(std::span<const QPoint> points) override { note('P', points, false); }
    void drawPolygon(std::span<const QPoint> points) override { note('G', points, true); }
    void drawEllipse(const PixelRect& box) override { note('E', corners(box), true); }
    void drawArc(const PixelRect& box, QPoint start, QPoint end) override
    {
        const QPoint points[] = {{box.left, box.top}, {box.right, box.bottom}, start, end};
        note('A', points, false);
    }
    void drawRectangle(const PixelRect& box) override { note('R', corners(box), true); }
    void drawFillRect(const PixelRect& box) override { note('F', corners(box), true); }
    void drawText(QPoint, const QString&) override { m_picturable = false; }
    void drawTextRect(const PixelRect&, const QString&, HAlign, VAlign) override
    {
        m_picturable = false;
    }
    void drawPicture(const PixelRect&, const QImage&) override { m_picturable = false; }

private:
    static std::array<QPoint, 2> corners(const PixelRect& box)
    {
        return {QPoint(box.left, box.top), QPoint(box.right, box.bottom)};
    }

    bool noted() const { return m_left <= m_right; }

    // A figure notes hundreds of primitives (the turns of a hose are lines of
    // a pixel each) and is noted at every drop: the name grows in place.
    void note(int32_t kind, std::span<const QPoint> points, bool filled)
    {
        const Brush& b = brush();
        if (filled && b.style != BrushStyle::Solid && b.style != BrushStyle::Clear)
            m_picturable = false;
        const size_t start = m_name.size();
        m_name.resize(start + 7 + 2 * points.size());
        int32_t* out = m_name.data() + start;
        for (const int32_t value : {kind, pen().colour, pen().width, int32_t(pen().style), b.colour,
                                    int32_t(b.style), int32_t(points.size())})
            *out++ = value;
        for (const QPoint& point : points) {
            const int x = point.x() - m_anchor.x();
            const int y = point.y() - m_anchor.y();
            *out++ = x;
            *out++ = y;
            m_left = std::min(m_left, x);
            m_right = std::max(m_right, x);
            m_top = std::min(m_top, y);
            m_bottom = std::max(m_bottom, y);
        }
        m_margin = std::max(m_margin, pen().width + 2);
    }

    Canvas& m_target;
    QPoint m_anchor;
    std::vector<int32_t> m_name;
    // The noted points' bounds, relative to the anchor; empty while left > right.
    int m_left = std::numeric_limits<int>::max();
    int m_top = std::numeric_limits<int>::max();
    int m_right = std::numeric_limits<int>::min();
    int m_bottom = std::numeric_limits<int>::min();
    int m_margin = 0;
    bool m_picturable = true;
};

// The sides on which the edge of the device cuts a figure's bounds.
struct FigureCut {
    bool left = false;
    bool top = false;
    bool right = false;
    bool bottom = false;

    static FigureCut Of(const QRect& whole, const QRect& shown)
    {
        return {shown.left() > whole.left(), shown.top() > whole.top(),
                shown.right() < whole.right(), shown.bottom() < whole.bottom()};
    }
};

// Whether a picture has a painted pixel on one of its edges that was not cut
// by the edge of the device: the figure may have reached beyond it.
bool PaintedOnEdge(const QImage& picture, const FigureCut& cut)
{
    const int w = picture.width();
    const int h = picture.height();
    const auto painted = [&picture](int x, int y) { return qAlpha(picture.pixel(x, y)) != 0; };
    for (int x = 0; x < w; ++x)
        if ((!cut.top && painted(x, 0)) || (!cut.bottom && painted(x, h - 1)))
            return true;
    for (int y = 0; y < h; ++y)
        if ((!cut.left && painted(0, y)) || (!cut.right && painted(w - 1, y)))
            return true;
    return false;
}

} // namespace

QPainterCanvas::QPainterCanvas(QPaintDevice* device)
    : m_ownedPainter(std::make_unique<QPainter>(device)), m_painter(m_ownedPainter.get()),
      m_device(device)
{
    setAntialiasing(false);
}

QPainterCanvas::QPainterCanvas(QPainter& painter) : m_painter(&painter), m_device(painter.device())
{
    m_painter->save();
    setAntialiasing(false);
}

QPainterCanvas::~QPainterCanvas()
{
    flushLineRun();
    if (m_ownedPainter)
        end();
    else
        m_painter->restore();
}

void QPainterCanvas::end()
{
    flushLineRun();
    if (m_ownedPainter && m_ownedPainter->isActive())
        m_ownedPainter->end();
}

void QPainterCanvas::setAntialiasing(bool on)
{
    flushLineRun();
    m_antialiasing = on;
    m_painter->setRenderHint(QPainter::Antialiasing, on);
}

int QPainterCanvas::dpiX() const
{
    return m_device ? m_device->logicalDpiX() : 96;
}

int QPainterCanvas::dpiY() const
{
    return m_device ? m_device->logicalDpiY() : 96;
}

QSize QPainterCanvas::size() const
{
    return m_device ? QSize(m_device->width(), m_device->height()) : QSize();
}

PixelRect QPainterCanvas::clipBox() const
{
    // In device pixels: what a window is repainting (the paint engine's
    // system clip), else the whole device; then back through the painter's
    // transformation, and within its own clip.
    const QPaintEngine* engine = m_painter->paintEngine();
    const QRegion repainted = engine ? engine->systemClip() : QRegion();
    if (repainted.isEmpty() && size().isEmpty())
        return Canvas::clipBox(); // a device of no known size
    const QRect device =
        repainted.isEmpty() ? QRect(QPoint(0, 0), size()) : repainted.boundingRect();
    QRectF visible = m_painter->deviceTransform().inverted().mapRect(QRectF(device));
    if (m_painter->hasClipping())
        visible &= m_painter->clipBoundingRect();
    const QRect box = visible.toAlignedRect();
    return {box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
}

bool QPainterCanvas::clippedByDeviceOnly() const
{
    const QPaintEngine* engine = m_painter->paintEngine();
    return engine != nullptr && engine->systemClip().isEmpty() && !m_painter->hasClipping();
}

void QPainterCanvas::prepare(bool outline, Fill fill)
{
    prepare(outline, fill, pen());
}

void QPainterCanvas::prepare(bool outline, Fill fill, const Pen& p)
{
    // The painter keeps what was set last: a primitive drawn with the same
    // pen, brush and background as the one before sets nothing.
    // (The brush counts for lines too: it is the background of styled pens.)
    const Applied wanted{true, outline, fill, outline ? p : Pen{}, brush()};
    if (m_applied == wanted)
        return;
    m_applied = wanted;

    m_painter->setPen(outline ? qtPen(p) : QPen(Qt::NoPen));
    if (fill == Fill::Brush)
        m_painter->setBrush(qtBrush(brush()));
    else
        m_painter->setBrush(Qt::NoBrush);
    setBackground(*m_painter, outline ? gapColour(p) : std::nullopt);
}

QPen QPainterCanvas::qtPen(const Pen& p)
{
    if (p.width > 1)
        return QPen(ToQColor(p.colour), p.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen qpen(ToQColor(p.colour), 1);
    qpen.setCosmetic(true);
    qpen.setCapStyle(Qt::FlatCap); // the end point of a line is not drawn
    qpen.setJoinStyle(Qt::MiterJoin);
    if (p.style != PenStyle::Solid)
        qpen.setDashPattern(dashPattern(p.style));
    return qpen;
}

std::optional<QColor> QPainterCanvas::gapColour(const Pen& p) const
{
    // An opaque background only shows in the gaps of a styled pen (text fills
    // its own cell). Qt rasterises some figures differently in opaque mode, so
    // it is switched on only where it has an effect.
    const bool styled = p.width <= 1 && p.style != PenStyle::Solid;
    if (styled && brush().style == BrushStyle::Solid)
        return ToQColor(brush().colour);
    return std::nullopt;
}

void QPainterCanvas::setBackground(QPainter& painter, const std::optional<QColor>& gaps)
{
    if (gaps) {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(QBrush(*gaps));
    } else {
        painter.setBackgroundMode(Qt::TransparentMode);
    }
}

QBrush QPainterCanvas::qtBrush(const Brush& b) const
{
    const Qt::BrushStyle style = qtBrushStyle(b.style);
    const bool hatched = style != Qt::SolidPattern && style != Qt::NoBrush;
    // A texture follows the painter's scale where a pattern does not.
    if (hatched && rasterised() && m_painter->deviceTransform().type() <= QTransform::TxTranslate)
        return WideHatch(ToQColor(b.colour), style);
    return QBrush(ToQColor(b.colour), style);
}

void QPainterCanvas::prepareFont()
{
    m_applied.valid = false;
    m_painter->setFont(qtFont(font()));
    m_painter->setPen(QPen(ToQColor(font().colour)));
    m_painter->setBrush(Qt::NoBrush);
    m_painter->setBackgroundMode(Qt::TransparentMode); // the cell is filled by drawText
}

void QPainterCanvas::flushLineRun()
{
    if (m_lineRun.size() < 2)
        return;
    if (m_lineRun.size() == 2 && !m_antialiasing) {
        const QPoint a = m_lineRun[0].toPoint();
        const QPoint b = m_lineRun[1].toPoint();
        const bool alongAxis = a.x() == b.x() || a.y() == b.y();
        if (alongAxis && m_lineRunPen.width == 3) {
            fillAxisLineWidth3(*m_painter, a, b, ToQColor(m_lineRunPen.colour));
            m_lineRun.clear();
            return;
        }
        if (alongAxis && m_lineRunPen.width <= 1 && rasterised()) {
            const QColor colour = ToQColor(m_lineRunPen.colour);
            if (a.x() != b.x() ||
                !setColumn(a.x(), std::min(a.y(), b.y()), std::abs(b.y() - a.y()), colour))
                fillAxisLineWidth1(*m_painter, a, b, colour);
            m_lineRun.clear();
            return;
        }
    }
    if (m_lineRunPen.width > 1 && m_lineRun.size() > MaxStrokedRun && !m_antialiasing &&
        rasterised()) {
        strokeInPieces();
        m_lineRun.clear();
        return;
    }
    if (m_lineRun.size() > 2 && m_lineRunPen.width > 1 && !m_antialiasing) {
        drawWidePolyline();
        m_lineRun.clear();
        return;
    }
    prepare(true, Fill::None, m_lineRunPen);
    if (m_lineRun.size() == 2)
        m_painter->drawLine(m_lineRun[0], m_lineRun[1]);
    else
        m_painter->drawPolyline(m_lineRun);
    m_lineRun.clear();
}

QImage* QPainterCanvas::directImage() const
{
    if (m_device == nullptr || m_device->devType() != QInternal::Image || !clippedByDeviceOnly() ||
        !wholePixelShift() ||
        m_painter->compositionMode() != QPainter::CompositionMode_SourceOver ||
        m_painter->opacity() != 1.0)
        return nullptr;
    auto* image = static_cast<QImage*>(m_device);
    switch (image->format()) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return image;
    default:
        return nullptr;
    }
}

bool QPainterCanvas::setColumn(int x, int top, int height, const QColor& colour)
{
    QImage* image = directImage();
    if (image == nullptr || colour.alpha() != 255)
        return false;
    const QPoint shift = deviceShift();
    x += shift.x();
    top += shift.y();
    const int bottom = std::min(top + height, image->height());
    top = std::max(top, 0);
    if (x < 0 || x >= image->width() || top >= bottom)
        return true; // wholly outside
    const QRgb value = colour.rgba();
    const qsizetype step = image->bytesPerLine() / 4;
    QRgb* pixel = PixelOf(*image, x, top);
    for (int y = top; y < bottom; ++y, pixel += step)
        *pixel = value;
    return true;
}

bool QPainterCanvas::rasterised() const
{
    const QPaintEngine* engine = m_painter->paintEngine();
    return engine != nullptr && engine->type() == QPaintEngine::Raster;
}

void QPainterCanvas::strokeInPieces()
{
    prepare(true, Fill::None, m_lineRunPen);
    for (qsizetype first = 0; first + 1 < m_lineRun.size(); first += MaxStrokedRun - 1)
        m_painter->drawPolyline(m_lineRun.mid(first, MaxStrokedRun));
}

// Runs whose picture would be larger than this many pixels are not cached,
// and the pictures kept at once hold no more than MaxWideLineCache pixels.
constexpr qint64 MaxWideLinePixels = qint64(1) << 20;
constexpr qint64 MaxWideLineCache = 4 * MaxWideLinePixels;

void QPainterCanvas::drawWidePolyline()
{
    // The shape relative to its first point, with the pen, names the picture.
    const QPoint origin = m_lineRun[0].toPoint();
    QByteArray key;
    key.reserve(qsizetype(8 + 8 * m_lineRun.size()));
    const auto append = [&key](int32_t value) {
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    append(m_lineRunPen.colour);
    append(m_lineRunPen.width);
    QRect bounds(QPoint(0, 0), QSize(1, 1));
    for (const QPointF& point : m_lineRun) {
        const QPoint relative = point.toPoint() - origin;
        append(relative.x());
        append(relative.y());
        bounds |= QRect(relative, QSize(1, 1));
    }
    const int margin = m_lineRunPen.width + 2;
    const QRect spriteBounds = bounds.adjusted(-margin, -margin, margin, margin);
    if (qint64(spriteBounds.width()) * spriteBounds.height() > MaxWideLinePixels) {
        // A run as large as a whole building at a low zoom (the loop itself)
        // is stroked in place: a picture of it would cost more than it saves,
        // and could not even be allocated. The pen is the picture's, and
        // aliased pixels do not depend on where the figure is drawn.
        m_painter->setPen(QPen(ToQColor(m_lineRunPen.colour), m_lineRunPen.width, Qt::SolidLine,
                               Qt::RoundCap, Qt::RoundJoin));
        m_painter->setBrush(Qt::NoBrush);
        m_painter->drawPolyline(m_lineRun);
        m_applied.valid = false;
        return;
    }
    auto sprite = m_wideLines.find(key);
    if (sprite == m_wideLines.end()) {
        bounds.adjust(-margin, -margin, margin, margin);
        QImage picture(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPolygonF shape;
        shape.reserve(m_lineRun.size());
        for (const QPointF& point : m_lineRun)
            shape << QPointF(point.toPoint() - origin - bounds.topLeft());
        {
            QPainter painter(&picture);
            painter.setPen(QPen(ToQColor(m_lineRunPen.colour), m_lineRunPen.width, Qt::SolidLine,
                                Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(shape);
        }
        const qint64 pixels = qint64(picture.width()) * picture.height();
        if (m_wideLinePixels + pixels > MaxWideLineCache) {
            m_wideLines.clear();
            m_wideLinePixels = 0;
        }
        m_wideLinePixels += pixels;
        sprite = m_wideLines.insert(key, WideLine{picture, bounds.topLeft()});
    }
    m_painter->drawImage(origin + sprite->topLeft, sprite->picture);
}

bool QPainterCanvas::wholePixelShift() const
{
    const QTransform transform = m_painter->deviceTransform();
    return transform.type() <= QTransform::TxTranslate &&
           transform.dx() == std::round(transform.dx()) &&
           transform.dy() == std::round(transform.dy());
}

QPoint QPainterCanvas::deviceShift() const
{
    return m_painter->deviceTransform().map(QPoint(0, 0));
}

QRgb* QPainterCanvas::PixelOf(QImage& image, int x, int y)
{
    // The buffer the painter paints in: written in place, never detached.
    return reinterpret_cast<QRgb*>(const_cast<uchar*>(image.constScanLine(y))) + x;
}

// Figures seen once are remembered up to this many at a time.
constexpr qsizetype MaxFiguresSeenOnce = 4096;

bool QPainterCanvas::picturesApply() const
{
    return m_figurePictures && !m_antialiasing && rasterised() && wholePixelShift();
}

QPainterCanvas::RecordedFigure QPainterCanvas::record(QPoint anchor,
                                                      const std::function<void(Canvas&)>& draw)
{
    FigureRecorder recorder(*this, anchor);
    draw(recorder);
    return {recorder.name(),  recorder.bounds(), recorder.picturable(),     recorder.pen(),
            recorder.brush(), recorder.font(),   recorder.penPos() - anchor};
}

void QPainterCanvas::figure(QPoint anchor, const std::function<void(Canvas&)>& draw)
{
    if (!picturesApply()) {
        draw(*this);
        return;
    }
    paintFigure(anchor, record(anchor, draw), draw);
}

// Looks kept at once, at most.
constexpr qsizetype MaxLooks = 4096;

void QPainterCanvas::figure(QPoint anchor, const QByteArray& look,
                            const std::function<void(Canvas&)>& draw)
{
    if (!picturesApply()) {
        draw(*this);
        return;
    }
    // The look in the state the figure starts in (the font is compared).
    const QPoint penPos = this->penPos() - anchor;
    QByteArray key = look;
    for (const int32_t value : {pen().colour, pen().width, int32_t(pen().style), brush().colour,
                                int32_t(brush().style), penPos.x(), penPos.y()})
        key.append(reinterpret_cast<const char*>(&value), sizeof value);
    const auto known = m_looks.constFind(key);
    if (known != m_looks.constEnd() && known->font == font()) {
        paintFigure(anchor, known->recorded, draw);
        return;
    }
    if (m_looks.size() >= MaxLooks)
        m_looks.clear();
    const auto kept = m_looks.insert(key, {font(), record(anchor, draw)});
    paintFigure(anchor, kept->recorded, draw);
}

void QPainterCanvas::paintFigure(QPoint anchor, const RecordedFigure& figure,
                                 const std::function<void(Canvas&)>& draw)
{
    // What the figure can change within what is drawn on, relative to the
    // anchor. Cut by the edge of the device, a picture of the figure made on
    // a device cut in the same place has its pixels: even a styled line,
    // which starts its pattern at the cut, is cut alike. Any other clip is
    // drawn through as it is.
    const PixelRect visible = clipBox();
    const QRect whole = figure.bounds;
    const QRect shown = whole & QRect(QPoint(visible.left, visible.top),
                                      QPoint(visible.right - 1, visible.bottom - 1))
                                    .translated(-anchor);
    const bool cutByDevice = shown == whole || clippedByDeviceOnly();
    if (!figure.picturable || !cutByDevice) {
        draw(*this);
        return;
    }
    if (!shown.isEmpty()) {
        // A cut figure's name holds where it is cut.
        QByteArray name = figure.name;
        if (shown != whole)
            for (const int32_t side : {shown.left(), shown.top(), shown.right(), shown.bottom()})
                name.append(reinterpret_cast<const char*>(&side), sizeof side);
        const FigurePicture* picture = pictureOf(name, shown, whole, anchor, *this, draw);
        if (picture == nullptr) {
            draw(*this);
            return;
        }
        flushLineRun();
        paintPicture(anchor + picture->topLeft, *picture);
    } else {
        flushLineRun(); // wholly outside: nothing of it can show
    }
    setPen(figure.pen);
    setBrush(figure.brush);
    setFont(figure.font);
    moveTo(anchor + figure.penPos);
}

void QPainterCanvas::noteRuns(FigurePicture& figure)
{
    const QImage& picture = figure.picture;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width();) {
            const int alpha = qAlpha(row[x]);
            if (alpha != 0 && alpha != 255) {
                figure.runs.clear();
                return; // blended: painted by Qt
            }
            int end = x + 1;
            while (end < picture.width() && qAlpha(row[end]) == alpha)
                ++end;
            if (alpha == 255)
                figure.runs.push_back({x, y, end - x});
            x = end;
        }
    }
    figure.copyable = true;
}

void QPainterCanvas::paintPicture(QPoint topLeft, const FigurePicture& figure)
{
    // A drop's figure is a few hundred pixels: Qt's blending of a picture
    // costs more in setting up than in its pixels.
    QImage* image = directImage();
    const QPoint at = topLeft + deviceShift();
    if (!figure.copyable || image == nullptr ||
        !image->rect().contains(QRect(at, figure.picture.size()))) {
        m_painter->drawImage(topLeft, figure.picture);
        return;
    }
    const qsizetype targetStep = image->bytesPerLine() / 4;
    const qsizetype sourceStep = figure.picture.bytesPerLine() / 4;
    QRgb* target = PixelOf(*image, at.x(), at.y());
    const auto* source = reinterpret_cast<const QRgb*>(figure.picture.constBits());
    for (const FigurePicture::Run& run : figure.runs)
        std::memcpy(target + run.y * targetStep + run.x, source + run.y * sourceStep + run.x,
                    size_t(run.length) * sizeof(QRgb));
}

const QPainterCanvas::FigurePicture*
QPainterCanvas::pictureOf(const QByteArray& name, QRect bounds, QRect whole, QPoint anchor,
                          const Canvas& start, const std::function<void(Canvas&)>& draw)
{
    if (const auto kept = m_figures.constFind(name); kept != m_figures.constEnd())
        return kept->picture.isNull() ? nullptr : &*kept;
    // A figure drawn once is drawn as it is: a picture pays from the second.
    if (!m_figuresSeenOnce.contains(name)) {
        if (m_figuresSeenOnce.size() >= MaxFiguresSeenOnce)
            m_figuresSeenOnce.clear();
        m_figuresSeenOnce.insert(name);
        return nullptr;
    }
    m_figuresSeenOnce.remove(name);

    FigurePicture made;
    made.topLeft = bounds.topLeft();
    const qint64 pixels = qint64(bounds.width()) * bounds.height();
    if (pixels <= MaxWideLinePixels) {
        made.picture = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        made.picture.fill(Qt::transparent);
        {
            QPainter painter(&made.picture);
            painter.translate(-(anchor + bounds.topLeft()));
            QPainterCanvas canvas(painter);
            canvas.setFigurePictures(false);
            canvas.setPen(start.pen());
            canvas.setBrush(start.brush());
            canvas.setFont(start.font());
            canvas.moveTo(start.penPos());
            draw(canvas);
        }
        if (PaintedOnEdge(made.picture, FigureCut::Of(whole, bounds)))
            made.picture = QImage();
        else
            noteRuns(made);
    }
    if (m_figurePixels + pixels > MaxWideLineCache) {
        m_figures.clear();
        m_figurePixels = 0;
    }
    m_figurePixels += made.picture.isNull() ? 0 : pixels;
    const auto kept = m_figures.insert(name, made);
    return kept->picture.isNull() ? nullptr : &*kept;
}

void QPainterCanvas::drawLine(QPoint from, QPoint to)
{
    if (from == to)
        return;
    const qreal shift = centreShift();
    const QPointF start(from.x() + shift, from.y() + shift);
    const QPointF end(to.x() + shift, to.y() + shift);
    // Styled pens restart their pattern at every line: only solid lines join a run.
    if (pen().style == PenStyle::Solid) {
        if (!m_lineRun.isEmpty() && m_lineRun.last() == start && m_lineRunPen == pen()) {
            m_lineRun << end;
            return;
        }
        flushLineRun();
        m_lineRun << start << end;
        m_lineRunPen = pen();
        return;
    }
    flushLineRun();
    if (!m_antialiasing && pasteStyledAxisLine(from, to))
        return;
    prepare(true, Fill::None);
    m_painter->drawLine(start, end);
}

// Styled lines kept as pictures hold no more than this many pixels at once.
constexpr qsizetype MaxStyledLinePixels = qsizetype(1) << 20;

bool QPainterCanvas::pasteStyledAxisLine(QPoint from, QPoint to)
{
    // A dotted grid line crosses the whole picture, and Qt's stroker sets
    // its pixels one at a time. Its pixels depend only on the pen, the gaps'
    // colour, its direction and its length: Qt draws it once into a strip,
    // whose pixels are set directly wherever the same line comes again.
    const Pen& p = pen();
    const std::optional<QColor> gaps = gapColour(p);
    if (p.width > 1 || (from.x() != to.x() && from.y() != to.y()) ||
        ToQColor(p.colour).alpha() != 255 || (gaps && gaps->alpha() != 255))
        return false;
    QImage* image = directImage();
    if (image == nullptr)
        return false;
    // The strip holds the line with a pixel beyond each end; the line must
    // lie with them inside the image, away from the edges' clipping.
    const QPoint shift = deviceShift();
    const QPoint along = from.x() == to.x() ? QPoint(0, 1) : QPoint(1, 0);
    const QRect line = QRect(from, to).normalized();
    const QRect bounds =
        QRect(line.topLeft() - along, line.bottomRight() + along).translated(shift);
    if (!image->rect().contains(bounds))
        return false;

    QByteArray name;
    for (const int value : {int(p.colour), int(p.style), gaps ? int(gaps->rgb()) : -1,
                            to.x() - from.x(), to.y() - from.y()})
        name.append(reinterpret_cast<const char*>(&value), sizeof value);
    auto strip = m_styledLines.constFind(name);
    if (strip == m_styledLines.cend()) {
        QImage made(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        made.fill(Qt::transparent);
        {
            QPainter painter(&made);
            painter.setPen(qtPen(p));
            setBackground(painter, gaps);
            const QPoint origin = bounds.topLeft() - shift;
            painter.drawLine(QPointF(from - origin), QPointF(to - origin));
        }
        if (m_styledLinePixels + made.sizeInBytes() / 4 > MaxStyledLinePixels) {
            m_styledLines.clear();
            m_styledLinePixels = 0;
        }
        m_styledLinePixels += made.sizeInBytes() / 4;
        strip = m_styledLines.insert(name, made);
    }
    // A strip is one pixel wide or one pixel high: its pixels one after another.
    const auto* source = reinterpret_cast<const QRgb*>(strip->constBits());
    const qsizetype count = qsizetype(strip->width()) * strip->height();
    const qsizetype step = along.y() != 0 ? image->bytesPerLine() / 4 : 1;
    QRgb* target = PixelOf(*image, bounds.left(), bounds.top());
    for (qsizetype i = 0; i < count; ++i, target += step)
        if (qAlpha(source[i]) != 0)
            *target = source[i];
    return true;
}

void QPainterCanvas::drawPolyline(std::span<const QPoint> points)
{
    flushLineRun();
    prepare(true, Fill::None);
    m_painter->drawPolyline(toPolygon(points, centreShift()));
}

void QPainterCanvas::drawPolygon(std::span<const QPoint> points)
{
    flushLineRun();
    prepare(true, Fill::Brush);
    m_painter->drawPolygon(toPolygon(points, centreShift()), Qt::OddEvenFill);
}

void QPainterCanvas::drawEllipse(const PixelRect& box)
{
    flushLineRun();
    const PixelRect r = box.normalised();
    if (r.width() < 1 || r.height() < 1)
        return;
    prepare(true, Fill::Brush);
    m_painter->drawEllipse(outlineRect(r, centreShift()));
}

void QPainterCanvas::drawArc(const PixelRect& box, QPoint start, QPoint end)
{
    flushLineRun();
    const PixelRect r = box.normalised();
    if (r.width() < 1 || r.height() < 1)
        return;
    const qreal from = ellipseAngle(r, start);
    qreal sweep = ellipseAngle(r, end) - from;
    while (sweep <= 1e-9)
        sweep += 360.0;
    while (sweep > 360.0)
        sweep -= 360.0;
    prepare(true, Fill::None);
    // Aliased, Qt strokes an arc (a path) half a pixel up and left of the
    // ellipse of the same rectangle; the shift puts it on the ellipse's pixels.
    const qreal shift = m_antialiasing ? centreShift() : 0.5;
    m_painter->drawArc(outlineRect(r, shift), qRound(from * 16.0), qRound(sweep * 16.0));
}

void QPainterCanvas::drawRectangle(const PixelRect& box)
{
    flushLineRun();
    const PixelRect r = box.normalised();
    if (r.width() < 1 || r.height() < 1)
        return;
    if (fillOutlinedRectangle(r))
        return;
    prepare(true, Fill::Brush);
    m_painter->drawRect(outlineRect(r, centreShift()));
}

bool QPainterCanvas::fillOutlinedRectangle(const PixelRect& r)
{
    // Qt strokes even a one-pixel outline along an axis a pixel at a time,
    // and fills a hatch by blending every pixel of it: the outline of a
    // large feature, and its hatch, cost more than all else in a section.
    // Aliased, a solid outline is the box's edge, and covers whatever of it
    // Qt's fill takes, so the inside and the edge can be filled directly.
    // (Where the device's edge cuts the outline, Qt leaves out a corner.)
    const Pen& p = pen();
    const QColor outline = ToQColor(p.colour);
    if (m_antialiasing || p.style != PenStyle::Solid || p.width > 1 || outline.alpha() != 255 ||
        r.width() < 2 || r.height() < 2 || !rasterised() || !wholePixelShift() ||
        !clippedByDeviceOnly())
        return false;
    const QRect device(0, 0, m_device->width(), m_device->height());
    const QPoint origin = deviceShift();
    if (!device.contains(QRect(r.left, r.top, r.width(), r.height()).translated(origin)))
        return false;
    const QRect inside(r.left + 1, r.top + 1, r.width() - 2, r.height() - 2);
    if (brush().style != BrushStyle::Clear && !inside.isEmpty() && !setHatch(inside))
        m_painter->fillRect(inside, qtBrush(brush()));
    const QRect edges[] = {{r.left, r.top, r.width(), 1},
                           {r.left, r.bottom - 1, r.width(), 1},
                           {r.left, r.top + 1, 1, r.height() - 2},
                           {r.right - 1, r.top + 1, 1, r.height() - 2}};
    for (const QRect& edge : edges)
        if (!edge.isEmpty())
            m_painter->fillRect(edge, outline);
    return true;
}

bool QPainterCanvas::setHatch(QRect area)
{
    // Qt blends a hatched fill a span at a time, every pixel of it, where
    // the hatch sets one pixel in four or eight: here only those are set.
    const Qt::BrushStyle style = qtBrushStyle(brush().style);
    const QColor colour = ToQColor(brush().colour);
    QImage* image = directImage();
    if (style == Qt::SolidPattern || style == Qt::NoBrush || colour.alpha() != 255 ||
        image == nullptr)
        return false;
    // The pattern is aligned with the painter's origin, as Qt aligns it.
    const QImage tile = WideHatch(colour, style).textureImage();
    const QPoint origin = deviceShift();
    area = area.translated(origin) & image->rect();
    const auto phase = [](int value) { return ((value % 8) + 8) % 8; };
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const auto* pattern =
            reinterpret_cast<const QRgb*>(tile.constScanLine(phase(y - origin.y())));
        QRgb* row = PixelOf(*image, 0, y);
        for (int column = 0; column < 8; ++column) {
            if (qAlpha(pattern[column]) == 0)
                continue;
            const int first = area.left() + phase(column - (area.left() - origin.x()));
            for (int x = first; x <= area.right(); x += 8)
                row[x] = pattern[column];
        }
    }
    return true;
}

void QPainterCanvas::drawFillRect(const PixelRect& box)
{
    flushLineRun();
    const PixelRect r = box.normalised();
    if (r.width() < 1 || r.height() < 1 || brush().style == BrushStyle::Clear)
        return;
    prepare(false, Fill::Brush);
    m_painter->fillRect(QRect(r.left, r.top, r.width(), r.height()), m_painter->brush());
}

const QFontMetrics& QPainterCanvas::metrics()
{
    if (!m_metrics || !SameLayout(m_metricsFont, font())) {
        m_metrics.emplace(qtFont(font()), m_device);
        m_metricsFont = font();
        m_textWidths = SharedTextWidths(m_metricsFont, m_device);
    }
    return *m_metrics;
}

int QPainterCanvas::textWidth(const QString& text)
{
    const QFontMetrics& metrics = this->metrics();
    QHash<QString, int>& widths = *m_textWidths;
    if (const auto kept = widths.constFind(text); kept != widths.constEnd())
        return *kept;
    if (widths.size() >= MaxTextWidths)
        widths.clear();
    const int width = metrics.horizontalAdvance(text);
    widths.insert(text, width);
    return width;
}

QSize QPainterCanvas::textExtent(const QString& text)
{
    const int width = textWidth(text);
    return QSize(width, metrics().height());
}

void QPainterCanvas::drawText(QPoint topLeft, const QString& text)
{
    flushLineRun();
    const int width = textWidth(text);
    const QFontMetrics& metrics = this->metrics();
    if (brush().style == BrushStyle::Solid)
        m_painter->fillRect(QRect(topLeft, QSize(width, metrics.height())),
                            ToQColor(brush().colour));
    prepareFont();
    m_painter->drawText(QPoint(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

void QPainterCanvas::drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v)
{
    flushLineRun();
    const PixelRect r = box.normalised();
    const QSize extent = textExtent(text);
    int x = r.left;
    if (h == HAlign::Centre)
        x = (r.left + r.right - extent.width()) / 2;
    else if (h == HAlign::Right)
        x = r.right - extent.width();
    int y = r.top;
    if (v == VAlign::Centre)
        y = (r.top + r.bottom - extent.height()) / 2;
    else if (v == VAlign::Bottom)
        y = r.bottom - extent.height();

    m_painter->save();
    m_painter->setClipRect(QRect(r.left, r.top, r.width(), r.height()));
    drawText(QPoint(x, y), text);
    m_painter->restore();
}

void QPainterCanvas::drawPicture(const PixelRect& box, const QImage& picture)
{
    flushLineRun();
    m_painter->drawImage(QRect(box.left, box.top, box.width(), box.height()), picture);
}

} // namespace pipeloop
