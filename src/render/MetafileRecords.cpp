#include "MetafileRecords.h"

#include <algorithm>

namespace pipeloop::gdi
{

LogPen ToLogPen(const Pen& pen)
{
    LogPen log;
    log.colour = pen.colour & 0xFFFFFF;
    if (pen.width > 1) {
        log.width = pen.width;
        log.style = PS_SOLID;
    } else {
        log.width = 1;
        log.style = uint16_t(pen.style); // PenStyle follows the PS_* numbers
    }
    return log;
}

namespace
{

// The hatch of a hatched brush style; nothing for the solid and clear ones.
std::optional<uint16_t> HatchOf(BrushStyle style)
{
    switch (style) {
    case BrushStyle::Horizontal:
        return HS_HORIZONTAL;
    case BrushStyle::Vertical:
        return HS_VERTICAL;
    case BrushStyle::ForwardDiagonal:
        return HS_FDIAGONAL;
    case BrushStyle::BackwardDiagonal:
        return HS_BDIAGONAL;
    case BrushStyle::Cross:
        return HS_CROSS;
    case BrushStyle::DiagonalCross:
        return HS_DIAGCROSS;
    case BrushStyle::Solid:
    case BrushStyle::Clear:
        break;
    }
    return std::nullopt;
}

} // namespace

LogBrush ToLogBrush(const Brush& brush)
{
    LogBrush log;
    log.colour = brush.colour & 0xFFFFFF;
    if (brush.style == BrushStyle::Clear) {
        log.style = BS_NULL;
        log.colour = 0;
    } else if (const std::optional<uint16_t> hatch = HatchOf(brush.style)) {
        log.style = BS_HATCHED;
        log.hatch = *hatch;
    } else {
        log.style = BS_SOLID;
    }
    return log;
}

LogFont ToLogFont(const Font& font, int dpiY, uint8_t charSet)
{
    LogFont log;
    log.height = -font.heightInPixels(dpiY);
    log.weight = font.bold ? FW_BOLD : FW_NORMAL;
    log.italic = font.italic;
    log.underline = font.underline;
    log.strikeOut = font.strikeOut;
    log.charSet = charSet;
    log.face = font.family.left(31); // LF_FACESIZE 32 with its terminator
    return log;
}

Dib MakeDib(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    const int stride = (width * 3 + 3) / 4 * 4;

    RecordBytes info;
    info.u32(40);                                  // biSize
    info.i32(width);                               // biWidth
    info.i32(height);                              // biHeight: positive, bottom-up
    info.u16(1);                                   // biPlanes
    info.u16(24);                                  // biBitCount
    info.u32(0);                                   // biCompression BI_RGB
    info.u32(uint32_t(stride) * uint32_t(height)); // biSizeImage
    info.i32(3780);                                // biXPelsPerMeter (96 dpi)
    info.i32(3780);                                // biYPelsPerMeter
    info.u32(0);                                   // biClrUsed
    info.u32(0);                                   // biClrImportant

    QByteArray bits(qsizetype(stride) * height, '\0');
    for (int y = 0; y < height; ++y) {
        const uchar* in = image.constScanLine(height - 1 - y);
        char* out = bits.data() + qsizetype(y) * stride;
        for (int x = 0; x < width; ++x) {
            out[3 * x] = char(in[3 * x + 2]); // blue
            out[3 * x + 1] = char(in[3 * x + 1]);
            out[3 * x + 2] = char(in[3 * x]); // red
        }
    }
    return Dib{info.data(), bits, QSize(width, height)};
}

uint32_t ObjectTable::take()
{
    size_t slot = 0;
    while (slot < m_used.size() && m_used[slot])
        ++slot;
    if (slot == m_used.size())
        m_used.push_back(true);
    else
        m_used[slot] = true;
    return m_first + uint32_t(slot);
}

void ObjectTable::release(uint32_t index)
{
    const size_t slot = index - m_first;
    if (index >= m_first && slot < m_used.size())
        m_used[slot] = false;
}

// ---------------------------------------------------------------- RecordWriter

uint32_t RecordWriter::createPen(const LogPen& pen)
{
    const uint32_t index = m_objects.take();
    penRecord(index, pen);
    return index;
}

uint32_t RecordWriter::createBrush(const LogBrush& brush)
{
    const uint32_t index = m_objects.take();
    brushRecord(index, brush);
    return index;
}

uint32_t RecordWriter::createFont(const LogFont& font)
{
    const uint32_t index = m_objects.take();
    fontRecord(index, font);
    return index;
}

void RecordWriter::deleteObject(uint32_t index)
{
    valueRecord(m_numbers.deleteObject, index);
    m_objects.release(index);
}

void RecordWriter::text(QPoint p, const QString& text, std::span<const int> advances,
                        const PixelRect& cell, const std::optional<PixelRect>& clip)
{
    if (clip) {
        begin(m_numbers.saveDC);
        end();
        boxRecord(m_numbers.intersectClipRect, *clip);
    }
    textRecord(p, text, advances, cell, clip);
    if (clip)
        valueRecord(m_numbers.restoreDC, uint32_t(-1)); // the state saved last
}

QByteArray RecordWriter::finish()
{
    Q_ASSERT(!m_finished);
    m_finished = true;
    return file();
}

void RecordWriter::valueRecord(uint32_t number, uint32_t v)
{
    begin(number);
    value(v);
    end();
}

void RecordWriter::colourRecord(uint32_t number, WinColour colour)
{
    begin(number);
    m_out.u32(colour & 0xFFFFFF);
    end();
}

void RecordWriter::pointRecord(uint32_t number, QPoint p)
{
    begin(number);
    point(p);
    end();
}

void RecordWriter::boxRecord(uint32_t number, const PixelRect& b)
{
    begin(number);
    box(b);
    end();
}

} // namespace pipeloop::gdi
