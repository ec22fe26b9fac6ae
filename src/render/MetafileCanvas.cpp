#include "MetafileCanvas.h"

#include "EmfWriter.h"
#include "WmfWriter.h"

#include <QFont>
#include <QFontMetrics>

#include <stdexcept>
#include <utility>

namespace pipeloop
{

QString MetafileProductNotice()
{
    return QStringLiteral("PIPELOOP for ZAVOZA - Copyright Zelkworks");
}

namespace
{

// The font at its height in pixels on the picture's reference device.
QFont qtFont(const Font& font, int dpiY)
{
    QFont qfont = font.styledQFont();
    qfont.setPixelSize(std::max(font.heightInPixels(dpiY), 1));
    return qfont;
}

} // namespace

MetafileCanvas::MetafileCanvas(MetafileFormat format, QSize size, const QString& creator,
                               const QString& description, int dpi)
    : m_format(format), m_size(size), m_dpi(dpi > 0 ? dpi : 96)
{
    if (format == MetafileFormat::Emf) {
        gdi::EmfHeaderInfo info;
        info.size = size;
        info.dpiX = m_dpi;
        info.dpiY = m_dpi;
        info.devicePixels = ReferencePixels;
        info.deviceMicrometres = QSize(ReferencePixels.width() * 25400 / m_dpi,
                                       ReferencePixels.height() * 25400 / m_dpi);
        info.creator = creator;
        info.description = description;
        m_writer = std::make_unique<gdi::EmfWriter>(std::move(info));
    } else {
        gdi::WmfHeaderInfo info;
        info.size = size;
        info.dpi = m_dpi;
        info.creator = creator;
        info.description = description;
        m_writer = std::make_unique<gdi::WmfWriter>(std::move(info));
    }
}

MetafileCanvas::~MetafileCanvas() = default;

void MetafileCanvas::checkOpen() const
{
    if (m_finished)
        throw std::logic_error("MetafileCanvas: drawing after finish()");
}

QByteArray MetafileCanvas::finish()
{
    checkOpen();
    // A closing metafile DC deletes nothing by itself; the records say it.
    if (m_pen)
        m_writer->deleteObject(m_pen->index);
    if (m_brush)
        m_writer->deleteObject(m_brush->index);
    if (m_font)
        m_writer->deleteObject(m_font->index);
    m_pen.reset();
    m_brush.reset();
    m_font.reset();
    m_finished = true;
    return m_writer->finish();
}

// ---------------------------------------------------------------- state

void MetafileCanvas::usePen(const gdi::LogPen& pen)
{
    if (m_pen && m_pen->log == pen) {
        if (m_reselectPen)
            m_writer->selectObject(m_pen->index);
        m_reselectPen = false;
        return;
    }
    const uint32_t index = m_writer->createPen(pen);
    m_writer->selectObject(index);
    if (m_pen)
        m_writer->deleteObject(m_pen->index);
    m_pen = Selected<gdi::LogPen>{pen, index};
    m_reselectPen = false;
}

void MetafileCanvas::closedFigureDrawn()
{
    // Inkscape (1.2) drops the outline of a figure filled in its pen's
    // colour and then forgets the pen for every later figure until a pen is
    // selected again; selecting the same pen once more costs one record and
    // changes nothing for any other reader.
    if (m_pen && m_brush && m_pen->log.style != gdi::PS_NULL &&
        m_brush->log.style == gdi::BS_SOLID && m_brush->log.colour == m_pen->log.colour)
        m_reselectPen = true;
}

void MetafileCanvas::useBrush()
{
    const gdi::LogBrush brush = gdi::ToLogBrush(this->brush());
    if (m_brush && m_brush->log == brush)
        return;
    const uint32_t index = m_writer->createBrush(brush);
    m_writer->selectObject(index);
    if (m_brush)
        m_writer->deleteObject(m_brush->index);
    m_brush = Selected<gdi::LogBrush>{brush, index};
}

void MetafileCanvas::useFont()
{
    const uint8_t charSet =
        m_format == MetafileFormat::Wmf ? gdi::ANSI_CHARSET : gdi::DEFAULT_CHARSET;
    const gdi::LogFont font = gdi::ToLogFont(this->font(), m_dpi, charSet);
    if (!(m_font && m_font->log == font)) {
        const uint32_t index = m_writer->createFont(font);
        m_writer->selectObject(index);
        if (m_font)
            m_writer->deleteObject(m_font->index);
        m_font = Selected<gdi::LogFont>{font, index};
    }
    const WinColour colour = this->font().colour & 0xFFFFFF;
    if (m_textColour != colour) {
        m_writer->setTextColour(colour);
        m_textColour = colour;
    }
    if (m_textAlign != gdi::TA_TOP_LEFT) {
        m_writer->setTextAlign(gdi::TA_TOP_LEFT);
        m_textAlign = gdi::TA_TOP_LEFT;
    }
}

void MetafileCanvas::useBackground()
{
    const bool opaque = brush().style == BrushStyle::Solid;
    const uint16_t mode = opaque ? gdi::OPAQUE : gdi::TRANSPARENT;
    if (m_bkMode != mode) {
        m_writer->setBkMode(mode);
        m_bkMode = mode;
    }
    const WinColour colour = brush().colour & 0xFFFFFF;
    if (opaque && m_bkColour != colour) {
        m_writer->setBkColour(colour);
        m_bkColour = colour;
    }
}

// ---------------------------------------------------------------- primitives

void MetafileCanvas::drawLine(QPoint from, QPoint to)
{
    checkOpen();
    usePen();
    useBackground();
    if (m_position != from)
        m_writer->moveTo(from);
    m_writer->lineTo(to);
    m_position = to;
}

void MetafileCanvas::drawPolyline(std::span<const QPoint> points)
{
    checkOpen();
    usePen();
    useBackground();
    m_writer->polyline(points);
}

void MetafileCanvas::drawPolygon(std::span<const QPoint> points)
{
    checkOpen();
    usePen();
    useBrush();
    useBackground();
    if (m_polyFillMode != gdi::ALTERNATE) {
        m_writer->setPolyFillMode(gdi::ALTERNATE);
        m_polyFillMode = gdi::ALTERNATE;
    }
    m_writer->polygon(points);
    closedFigureDrawn();
}

void MetafileCanvas::drawEllipse(const PixelRect& box)
{
    checkOpen();
    usePen();
    useBrush();
    useBackground();
    m_writer->ellipse(box);
    closedFigureDrawn();
}

void MetafileCanvas::drawArc(const PixelRect& box, QPoint start, QPoint end)
{
    checkOpen();
    usePen();
    useBackground();
    m_writer->arc(box, start, end);
}

void MetafileCanvas::drawRectangle(const PixelRect& box)
{
    checkOpen();
    usePen();
    useBrush();
    useBackground();
    m_writer->rectangle(box);
    closedFigureDrawn();
}

void MetafileCanvas::drawFillRect(const PixelRect& box)
{
    checkOpen();
    const PixelRect r = box.normalised();
    if (r.width() < 1 || r.height() < 1 || brush().style == BrushStyle::Clear)
        return;
    usePen(gdi::LogPen{gdi::PS_NULL, 1, 0});
    useBrush();
    useBackground();
    m_writer->rectangle(PixelRect{r.left, r.top, r.right + 1, r.bottom + 1});
}

std::vector<int> MetafileCanvas::advances(const QString& text) const
{
    const QFontMetrics metrics(qtFont(font(), m_dpi));
    std::vector<int> result;
    result.reserve(size_t(text.size()));
    int before = 0;
    for (qsizetype i = 1; i <= text.size(); ++i) {
        const int upTo = metrics.horizontalAdvance(text.left(i));
        result.push_back(upTo - before);
        before = upTo;
    }
    return result;
}

QSize MetafileCanvas::textExtent(const QString& text)
{
    const QFontMetrics metrics(qtFont(font(), m_dpi));
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

void MetafileCanvas::text(QPoint topLeft, const QString& text, const std::optional<PixelRect>& clip)
{
    checkOpen();
    useFont();
    useBackground();
    const QSize extent = textExtent(text);
    const PixelRect cell{topLeft.x(), topLeft.y(), topLeft.x() + extent.width(),
                         topLeft.y() + extent.height()};
    const std::vector<int> widths = advances(text);
    m_writer->text(topLeft, text, widths, cell, clip);
}

void MetafileCanvas::drawText(QPoint topLeft, const QString& text)
{
    this->text(topLeft, text, std::nullopt);
}

void MetafileCanvas::drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v)
{
    // The placement of QPainterCanvas (DrawText with DT_SINGLELINE).
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
    this->text(QPoint(x, y), text, r);
}

void MetafileCanvas::drawPicture(const PixelRect& box, const QImage& picture)
{
    checkOpen();
    m_writer->stretchDib(box, gdi::MakeDib(picture));
}

} // namespace pipeloop
