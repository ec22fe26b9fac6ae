#pragma once

// An Enhanced Metafile ([MS-EMF]) written record by record: EMR_HEADER with
// the bounds of the picture in pixels, its frame in 0.01 mm, the
// reference device and the description string, then the drawing records as
// MetafileCanvas calls them, then EMR_EOF. Device units are pixels of the
// reference device (MM_TEXT); nothing sets a mapping mode.

#include "MetafileRecords.h"

#include <QRect>

namespace pipeloop::gdi
{

struct EmfHeaderInfo {
    // The picture in pixels of the reference device and its resolution.
    QSize size;
    int dpiX = 96;
    int dpiY = 96;
    // The reference device: its size in pixels and in micrometres (the
    // millimetres of the header are these rounded).
    QSize devicePixels;
    QSize deviceMicrometres;
    // The two parts of the description string: the application (creator)
    // and the picture's name.
    QString creator;
    QString description;
};

// Record types written here.
enum EmfRecordType : uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_EOF = 14,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ARC = 45,
    EMR_LINETO = 54,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
};

inline constexpr uint32_t ENHMETA_SIGNATURE = 0x464D4520; // " EMF"
inline constexpr uint32_t EmfHeaderSize = 108;            // with both header extensions

class EmfWriter final : public RecordWriter
{
public:
    explicit EmfWriter(EmfHeaderInfo info);

    void polyline(std::span<const QPoint> points) override;
    void polygon(std::span<const QPoint> points) override;
    void arc(const PixelRect& box, QPoint start, QPoint end) override;
    void stretchDib(const PixelRect& box, const Dib& dib) override;

private:
    void begin(uint32_t type) override;
    void end() override;
    // Every value is 32 bits; points and boxes are POINTL and RECTL.
    void value(uint32_t value) override;
    void point(QPoint p) override;
    void box(const PixelRect& r) override;
    void rectl(const QRect& inclusive);
    void points(uint32_t type16, uint32_t type32, std::span<const QPoint> points);

    void penRecord(uint32_t index, const LogPen& pen) override;
    void brushRecord(uint32_t index, const LogBrush& brush) override;
    void fontRecord(uint32_t index, const LogFont& font) override;
    void textRecord(QPoint p, const QString& text, std::span<const int> advances,
                    const PixelRect& cell, const std::optional<PixelRect>& clip) override;
    QByteArray file() override;

    EmfHeaderInfo m_info;
    uint32_t m_records = 0;
};

} // namespace pipeloop::gdi
