#include "EmfWriter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pipeloop::gdi
{

namespace
{

bool fitsInt16(QPoint p)
{
    constexpr int lo = std::numeric_limits<int16_t>::min();
    constexpr int hi = std::numeric_limits<int16_t>::max();
    return p.x() >= lo && p.x() <= hi && p.y() >= lo && p.y() <= hi;
}

// The inclusive rectangle of a GDI box (right and bottom exclusive).
QRect inclusiveBox(const PixelRect& box)
{
    const int l = std::min(box.left, box.right);
    const int r = std::max(box.left, box.right);
    const int t = std::min(box.top, box.bottom);
    const int b = std::max(box.top, box.bottom);
    return QRect(QPoint(l, t), QPoint(std::max(l, r - 1), std::max(t, b - 1)));
}

QRect pointBounds(std::span<const QPoint> points)
{
    int l = points[0].x(), r = l, t = points[0].y(), b = t;
    for (const QPoint& p : points) {
        l = std::min(l, p.x());
        r = std::max(r, p.x());
        t = std::min(t, p.y());
        b = std::max(b, p.y());
    }
    return QRect(QPoint(l, t), QPoint(r, b));
}

// 0.01 mm of n pixels at dpi, rounded.
int hundredthsOfMm(int pixels, int dpi)
{
    return int(std::lround(double(pixels) * 2540.0 / double(dpi)));
}

} // namespace

EmfWriter::EmfWriter(EmfHeaderInfo info)
    : RecordWriter(1, // object index 0 is the metafile itself
                   RecordNumbers{.selectObject = EMR_SELECTOBJECT,
                                 .deleteObject = EMR_DELETEOBJECT,
                                 .setBkMode = EMR_SETBKMODE,
                                 .setBkColour = EMR_SETBKCOLOR,
                                 .setTextColour = EMR_SETTEXTCOLOR,
                                 .setTextAlign = EMR_SETTEXTALIGN,
                                 .setPolyFillMode = EMR_SETPOLYFILLMODE,
                                 .moveTo = EMR_MOVETOEX,
                                 .lineTo = EMR_LINETO,
                                 .ellipse = EMR_ELLIPSE,
                                 .rectangle = EMR_RECTANGLE,
                                 .saveDC = EMR_SAVEDC,
                                 .restoreDC = EMR_RESTOREDC,
                                 .intersectClipRect = EMR_INTERSECTCLIPRECT}),
      m_info(std::move(info))
{
}

void EmfWriter::begin(uint32_t type)
{
    m_recordStart = m_out.size();
    m_out.u32(type);
    m_out.u32(0); // size, set by end()
}

void EmfWriter::end()
{
    m_out.align(4);
    m_out.patch32(m_recordStart + 4, uint32_t(m_out.size() - m_recordStart));
    ++m_records;
    m_recordStart = -1;
}

void EmfWriter::value(uint32_t value)
{
    m_out.u32(value);
}

void EmfWriter::point(QPoint p)
{
    m_out.i32(p.x());
    m_out.i32(p.y());
}

void EmfWriter::box(const PixelRect& r)
{
    m_out.i32(r.left);
    m_out.i32(r.top);
    m_out.i32(r.right);
    m_out.i32(r.bottom);
}

void EmfWriter::rectl(const QRect& inclusive)
{
    m_out.i32(inclusive.left());
    m_out.i32(inclusive.top());
    m_out.i32(inclusive.right());
    m_out.i32(inclusive.bottom());
}

// ---------------------------------------------------------------- objects

void EmfWriter::penRecord(uint32_t index, const LogPen& pen)
{
    begin(EMR_CREATEPEN);
    m_out.u32(index);
    m_out.u32(pen.style);
    m_out.i32(pen.width); // Width.x; Width.y is not used
    m_out.i32(0);
    m_out.u32(pen.colour);
    end();
}

void EmfWriter::brushRecord(uint32_t index, const LogBrush& brush)
{
    begin(EMR_CREATEBRUSHINDIRECT);
    m_out.u32(index);
    m_out.u32(brush.style);
    m_out.u32(brush.colour);
    m_out.u32(brush.hatch);
    end();
}

void EmfWriter::fontRecord(uint32_t index, const LogFont& font)
{
    begin(EMR_EXTCREATEFONTINDIRECTW);
    m_out.u32(index);
    // LogFont ([MS-WMF] 2.2.2.13) with a UTF-16 face name: 92 bytes.
    m_out.i32(font.height);
    m_out.i32(0); // Width: the default aspect
    m_out.i32(0); // Escapement
    m_out.i32(0); // Orientation
    m_out.i32(font.weight);
    m_out.u8(font.italic ? 1 : 0);
    m_out.u8(font.underline ? 1 : 0);
    m_out.u8(font.strikeOut ? 1 : 0);
    m_out.u8(font.charSet);
    m_out.u8(0); // OutPrecision OUT_DEFAULT_PRECIS
    m_out.u8(0); // ClipPrecision CLIP_DEFAULT_PRECIS
    m_out.u8(0); // Quality DEFAULT_QUALITY
    m_out.u8(0); // PitchAndFamily DEFAULT_PITCH | FF_DONTCARE
    const QString face = font.face.left(31);
    for (int i = 0; i < 32; ++i)
        m_out.u16(i < face.size() ? face.at(i).unicode() : 0);
    end();
}

// ---------------------------------------------------------------- drawing

void EmfWriter::points(uint32_t type16, uint32_t type32, std::span<const QPoint> list)
{
    const QRect bounds = pointBounds(list);
    const bool small = std::all_of(list.begin(), list.end(), fitsInt16);
    begin(small ? type16 : type32);
    rectl(bounds);
    m_out.u32(uint32_t(list.size()));
    for (const QPoint& p : list) {
        if (small) {
            m_out.i16(int16_t(p.x()));
            m_out.i16(int16_t(p.y()));
        } else {
            point(p);
        }
    }
    end();
}

void EmfWriter::polyline(std::span<const QPoint> list)
{
    points(EMR_POLYLINE16, EMR_POLYLINE, list);
}

void EmfWriter::polygon(std::span<const QPoint> list)
{
    points(EMR_POLYGON16, EMR_POLYGON, list);
}

void EmfWriter::arc(const PixelRect& bounds, QPoint start, QPoint endPoint)
{
    begin(EMR_ARC);
    box(bounds);
    point(start);
    point(endPoint);
    end();
}

void EmfWriter::textRecord(QPoint p, const QString& text, std::span<const int> advances,
                           const PixelRect& cell, const std::optional<PixelRect>& clip)
{
    QRect drawn = inclusiveBox(cell);
    if (clip)
        drawn = drawn.intersected(inclusiveBox(*clip));

    const uint32_t chars = uint32_t(text.size());
    const uint32_t fixed = 76;
    const uint32_t stringBytes = (chars * 2 + 3) / 4 * 4;
    begin(EMR_EXTTEXTOUTW);
    rectl(drawn);
    m_out.u32(1);                           // iGraphicsMode GM_COMPATIBLE
    m_out.f32(float(2540.0 / m_info.dpiX)); // exScale: page units to 0.01 mm
    m_out.f32(float(2540.0 / m_info.dpiY));
    // EmrText
    point(p);                       // Reference
    m_out.u32(chars);               // Chars
    m_out.u32(fixed);               // offString
    m_out.u32(0);                   // Options: none (the clip is the DC's)
    box(PixelRect{0, 0, -1, -1});   // Rectangle: not used without ETO_CLIPPED/OPAQUE
    m_out.u32(fixed + stringBytes); // offDx
    for (QChar c : text)
        m_out.u16(c.unicode());
    m_out.align(4);
    for (uint32_t i = 0; i < chars; ++i)
        m_out.i32(i < advances.size() ? advances[i] : 0);
    end();
}

void EmfWriter::stretchDib(const PixelRect& box, const Dib& dib)
{
    const uint32_t fixed = 80;
    begin(EMR_STRETCHDIBITS);
    rectl(inclusiveBox(box));
    m_out.i32(box.left);                          // xDest
    m_out.i32(box.top);                           // yDest
    m_out.i32(0);                                 // xSrc
    m_out.i32(0);                                 // ySrc
    m_out.i32(dib.size.width());                  // cxSrc
    m_out.i32(dib.size.height());                 // cySrc
    m_out.u32(fixed);                             // offBmiSrc
    m_out.u32(uint32_t(dib.info.size()));         // cbBmiSrc
    m_out.u32(fixed + uint32_t(dib.info.size())); // offBitsSrc
    m_out.u32(uint32_t(dib.bits.size()));         // cbBitsSrc
    m_out.u32(DIB_RGB_COLORS);                    // UsageSrc
    m_out.u32(SRCCOPY);                           // BitBltRasterOperation
    m_out.i32(box.width());                       // cxDest
    m_out.i32(box.height());                      // cyDest
    m_out.bytes(dib.info);
    m_out.bytes(dib.bits);
    end();
}

// ---------------------------------------------------------------- the file

QByteArray EmfWriter::file()
{
    // EMR_EOF: no palette; SizeLast repeats the record's size.
    begin(EMR_EOF);
    m_out.u32(0);  // nPalEntries
    m_out.u32(16); // offPalEntries
    m_out.u32(20); // SizeLast
    end();

    // "creator\0description\0\0" in UTF-16.
    QString description = m_info.creator;
    description += QChar(0);
    description += m_info.description;
    description += QChar(0);
    description += QChar(0);
    const uint32_t descriptionChars = uint32_t(description.size());
    const uint32_t descriptionBytes = (descriptionChars * 2 + 3) / 4 * 4;
    const uint32_t headerSize = EmfHeaderSize + descriptionBytes;
    const uint32_t records = m_records + 1;
    const uint32_t total = headerSize + uint32_t(m_out.size());

    // Bounds: the picture, which is the whole drawing area with its margins,
    // in device units (inclusive). Inkscape places a metafile by the top-left
    // corner of its bounds; the picture's own corner keeps every reader
    // (LibreOffice and Windows go by the frame) showing the same picture.
    const QRect bounds(QPoint(0, 0), QPoint(m_info.size.width() - 1, m_info.size.height() - 1));

    RecordBytes h;
    h.u32(EMR_HEADER);
    h.u32(headerSize);
    h.i32(bounds.left());
    h.i32(bounds.top());
    h.i32(bounds.right());
    h.i32(bounds.bottom());
    // Frame: the picture in 0.01 mm, inclusive-inclusive.
    h.i32(0);
    h.i32(0);
    h.i32(hundredthsOfMm(m_info.size.width(), m_info.dpiX) - 1);
    h.i32(hundredthsOfMm(m_info.size.height(), m_info.dpiY) - 1);
    h.u32(ENHMETA_SIGNATURE);
    h.u32(0x00010000);                     // Version
    h.u32(total);                          // Bytes
    h.u32(records);                        // Records
    h.u16(uint16_t(m_objects.size() + 1)); // Handles, index 0 reserved
    h.u16(0);                              // Reserved
    h.u32(descriptionChars);
    h.u32(EmfHeaderSize); // offDescription
    h.u32(0);             // nPalEntries
    h.i32(m_info.devicePixels.width());
    h.i32(m_info.devicePixels.height());
    h.i32(int(std::lround(m_info.deviceMicrometres.width() / 1000.0)));
    h.i32(int(std::lround(m_info.deviceMicrometres.height() / 1000.0)));
    h.u32(0); // cbPixelFormat
    h.u32(0); // offPixelFormat
    h.u32(0); // bOpenGL
    h.u32(uint32_t(m_info.deviceMicrometres.width()));
    h.u32(uint32_t(m_info.deviceMicrometres.height()));
    for (QChar c : description)
        h.u16(c.unicode());
    h.align(4);
    Q_ASSERT(h.size() == qsizetype(headerSize));

    QByteArray file = h.data();
    file += m_out.data();
    return file;
}

} // namespace pipeloop::gdi
