#include "WmfWriter.h"

#include "Cp1252.h"

#include <algorithm>
#include <limits>

namespace pipeloop::gdi
{

namespace
{
int16_t clamp16(int v)
{
    return int16_t(std::clamp(v, int(std::numeric_limits<int16_t>::min()),
                              int(std::numeric_limits<int16_t>::max())));
}
} // namespace

WmfWriter::WmfWriter(WmfHeaderInfo info)
    : RecordWriter(0, RecordNumbers{.selectObject = META_SELECTOBJECT,
                                    .deleteObject = META_DELETEOBJECT,
                                    .setBkMode = META_SETBKMODE,
                                    .setBkColour = META_SETBKCOLOR,
                                    .setTextColour = META_SETTEXTCOLOR,
                                    .setTextAlign = META_SETTEXTALIGN,
                                    .setPolyFillMode = META_SETPOLYFILLMODE,
                                    .moveTo = META_MOVETO,
                                    .lineTo = META_LINETO,
                                    .ellipse = META_ELLIPSE,
                                    .rectangle = META_RECTANGLE,
                                    .saveDC = META_SAVEDC,
                                    .restoreDC = META_RESTOREDC,
                                    .intersectClipRect = META_INTERSECTCLIPRECT}),
      m_info(std::move(info))
{
    // The picture's logical extent; readers map it to the placeable box.
    begin(META_SETWINDOWORG);
    coordinate(0); // y
    coordinate(0); // x
    end();
    begin(META_SETWINDOWEXT);
    coordinate(m_info.size.height());
    coordinate(m_info.size.width());
    end();

    // The description string, "creator\0description\0", as a comment.
    QByteArray comment = EncodeCp1252(m_info.creator);
    comment += '\0';
    comment += EncodeCp1252(m_info.description);
    comment += '\0';
    begin(META_ESCAPE);
    m_out.u16(MFCOMMENT);
    m_out.u16(uint16_t(comment.size()));
    m_out.bytes(comment);
    end();
}

void WmfWriter::begin(uint32_t function)
{
    m_recordStart = m_out.size();
    m_out.u32(0); // RecordSize in 16-bit words, set by end()
    m_out.u16(uint16_t(function));
}

void WmfWriter::end()
{
    m_out.align(2);
    const uint32_t words = uint32_t((m_out.size() - m_recordStart) / 2);
    m_out.patch32(m_recordStart, words);
    m_maxRecordWords = std::max(m_maxRecordWords, words);
    m_recordStart = -1;
}

void WmfWriter::coordinate(int v)
{
    m_out.i16(clamp16(v));
}

void WmfWriter::value(uint32_t value)
{
    m_out.u16(uint16_t(value));
}

void WmfWriter::point(QPoint p)
{
    coordinate(p.y());
    coordinate(p.x());
}

void WmfWriter::box(const PixelRect& b)
{
    coordinate(b.bottom);
    coordinate(b.right);
    coordinate(b.top);
    coordinate(b.left);
}

// ---------------------------------------------------------------- objects

void WmfWriter::penRecord(uint32_t, const LogPen& pen)
{
    begin(META_CREATEPENINDIRECT);
    m_out.u16(pen.style);
    coordinate(pen.width); // Width.x
    m_out.i16(0);          // Width.y, not used
    m_out.u32(pen.colour);
    end();
}

void WmfWriter::brushRecord(uint32_t, const LogBrush& brush)
{
    begin(META_CREATEBRUSHINDIRECT);
    m_out.u16(brush.style);
    m_out.u32(brush.colour);
    m_out.u16(brush.hatch);
    end();
}

void WmfWriter::fontRecord(uint32_t, const LogFont& font)
{
    begin(META_CREATEFONTINDIRECT);
    coordinate(font.height);
    m_out.i16(0); // Width
    m_out.i16(0); // Escapement
    m_out.i16(0); // Orientation
    m_out.i16(int16_t(font.weight));
    m_out.u8(font.italic ? 1 : 0);
    m_out.u8(font.underline ? 1 : 0);
    m_out.u8(font.strikeOut ? 1 : 0);
    m_out.u8(font.charSet);
    m_out.u8(0); // OutPrecision
    m_out.u8(0); // ClipPrecision
    m_out.u8(0); // Quality
    m_out.u8(0); // PitchAndFamily
    QByteArray face = EncodeCp1252(font.face).left(31);
    face.append(32 - face.size(), '\0');
    m_out.bytes(face);
    end();
}

// ---------------------------------------------------------------- drawing

void WmfWriter::points(uint16_t function, std::span<const QPoint> list)
{
    begin(function);
    m_out.i16(int16_t(std::min<size_t>(list.size(), 0x7FFF)));
    size_t written = 0;
    for (const QPoint& p : list) {
        if (++written > 0x7FFF)
            break;
        coordinate(p.x());
        coordinate(p.y());
    }
    end();
}

void WmfWriter::polyline(std::span<const QPoint> list)
{
    points(META_POLYLINE, list);
}

void WmfWriter::polygon(std::span<const QPoint> list)
{
    points(META_POLYGON, list);
}

void WmfWriter::arc(const PixelRect& bounds, QPoint start, QPoint endPoint)
{
    begin(META_ARC);
    point(endPoint);
    point(start);
    box(bounds);
    end();
}

void WmfWriter::textRecord(QPoint p, const QString& text, std::span<const int>, const PixelRect&,
                           const std::optional<PixelRect>&)
{
    const QByteArray bytes = EncodeCp1252(text).left(0x7FFF);
    begin(META_TEXTOUT);
    m_out.i16(int16_t(bytes.size()));
    m_out.bytes(bytes);
    m_out.align(2);
    point(p);
    end();
}

void WmfWriter::stretchDib(const PixelRect& box, const Dib& dib)
{
    begin(META_STRETCHDIB);
    m_out.u32(SRCCOPY);
    m_out.u16(DIB_RGB_COLORS);
    coordinate(dib.size.height()); // SrcHeight
    coordinate(dib.size.width());  // SrcWidth
    m_out.i16(0);                  // YSrc
    m_out.i16(0);                  // XSrc
    coordinate(box.height());      // DestHeight
    coordinate(box.width());       // DestWidth
    coordinate(box.top);           // yDst
    coordinate(box.left);          // xDst
    m_out.bytes(dib.info);
    m_out.bytes(dib.bits);
    end();
}

// ---------------------------------------------------------------- the file

QByteArray WmfWriter::file()
{
    begin(META_EOF);
    end();

    // The Aldus placeable header: the picture's box in logical units and the
    // units per inch; the checksum is the XOR of its first ten 16-bit words.
    RecordBytes placeable;
    placeable.u32(PlaceableKey);
    placeable.u16(0); // HWmf
    placeable.i16(0); // BoundingBox left
    placeable.i16(0); // top
    placeable.i16(clamp16(m_info.size.width()));
    placeable.i16(clamp16(m_info.size.height()));
    placeable.u16(uint16_t(m_info.dpi)); // Inch
    placeable.u32(0);                    // Reserved
    uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= uint16_t(uint8_t(placeable.data()[2 * i]) |
                             (uint8_t(placeable.data()[2 * i + 1]) << 8));
    placeable.u16(checksum);

    const uint32_t headerWords = 9;
    const uint32_t totalWords = headerWords + uint32_t(m_out.size() / 2);
    RecordBytes header;
    header.u16(1);      // Type: MEMORYMETAFILE
    header.u16(9);      // HeaderSize in words
    header.u16(0x0300); // Version
    header.u32(totalWords);
    header.u16(uint16_t(m_objects.size())); // NumberOfObjects
    header.u32(std::max(m_maxRecordWords, headerWords));
    header.u16(0); // NumberOfMembers

    QByteArray file = placeable.data();
    file += header.data();
    file += m_out.data();
    return file;
}

} // namespace pipeloop::gdi
