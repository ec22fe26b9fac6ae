#pragma once

// A placeable Windows Metafile ([MS-WMF]): the 22-byte Aldus header (key,
// bounding box in pixels, 96 units per inch, checksum), META_HEADER, the
// window origin and extent of the picture, an MFCOMMENT escape carrying the
// description string, the drawing records as MetafileCanvas calls them, and
// META_EOF. Coordinates are 16-bit: values beyond ±32767 are clamped.

#include "MetafileRecords.h"

namespace pipeloop::gdi
{

struct WmfHeaderInfo {
    QSize size;   // the picture in pixels
    int dpi = 96; // the Inch field: logical units per inch
    QString creator;
    QString description;
};

// Record functions written here.
enum WmfRecordFunction : uint16_t {
    META_EOF = 0x0000,
    META_SAVEDC = 0x001E,
    META_SETBKMODE = 0x0102,
    META_SETPOLYFILLMODE = 0x0106,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_SETTEXTALIGN = 0x012E,
    META_DELETEOBJECT = 0x01F0,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_RECTANGLE = 0x041B,
    META_TEXTOUT = 0x0521,
    META_ESCAPE = 0x0626,
    META_ARC = 0x0817,
    META_STRETCHDIB = 0x0F43,
};

inline constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
inline constexpr uint16_t MFCOMMENT = 15;

class WmfWriter final : public RecordWriter
{
public:
    explicit WmfWriter(WmfHeaderInfo info);

    void polyline(std::span<const QPoint> points) override;
    void polygon(std::span<const QPoint> points) override;
    void arc(const PixelRect& box, QPoint start, QPoint end) override;
    void stretchDib(const PixelRect& box, const Dib& dib) override;

private:
    // The record functions are 16 bits.
    void begin(uint32_t function) override;
    void end() override;
    // Indexes and modes are 16 bits; a record's parameters stand in reverse
    // order, so a point is y then x and a box bottom first.
    void value(uint32_t value) override;
    void point(QPoint p) override;
    void box(const PixelRect& box) override;
    void coordinate(int v);
    void points(uint16_t function, std::span<const QPoint> points);

    void penRecord(uint32_t index, const LogPen& pen) override;
    void brushRecord(uint32_t index, const LogBrush& brush) override;
    void fontRecord(uint32_t index, const LogFont& font) override;
    void textRecord(QPoint p, const QString& text, std::span<const int> advances,
                    const PixelRect& cell, const std::optional<PixelRect>& clip) override;
    QByteArray file() override;

    WmfHeaderInfo m_info;
    uint32_t m_maxRecordWords = 0;
};

} // namespace pipeloop::gdi
