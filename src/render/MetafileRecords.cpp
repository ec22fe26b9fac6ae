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

LogBrush ToLogBrush(const Brush& brush)
{
    LogBrush log;
    log.colour = brush.colour & 0xFFFFFF;
    switch (brush.style) {
    case BrushStyle::Solid:
        log.style = BS_SOLID;
        break;
    case BrushStyle::Clear:
        log.style = BS_NULL;
        log.colour = 0;
        break;
    case BrushStyle::Horizontal:
        log.style = BS_HATCHED;
        log.hatch = HS_HORIZONTAL;
        break;
    case BrushStyle::Vertical:
        log.style = BS_HATCHED;
        log.hatch = HS_VERTICAL;
        break;
    case BrushStyle::ForwardDiagonal:
        log.style = BS_HATCHED;
        log.hatch = HS_FDIAGONAL;
        break;
    case BrushStyle::BackwardDiagonal:
        log.style = BS_HATCHED;
        log.hatch = HS_BDIAGONAL;
        break;
    case BrushStyle::Cross:
        log.style = BS_HATCHED;
        log.hatch = HS_CROSS;
        break;
    case BrushStyle::DiagonalCross:
        log.style = BS_HATCHED;
        log.hatch = HS_DIAGCROSS;
        break;
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

} // namespace pipeloop::gdi
