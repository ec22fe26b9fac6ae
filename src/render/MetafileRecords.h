#pragma once

// The GDI vocabulary shared by the Enhanced Metafile writer (EmfWriter, the
// records of [MS-EMF]) and the Windows Metafile writer (WmfWriter, [MS-WMF]):
// the logical pen, brush and font, the constants both formats use, and the
// interface MetafileCanvas drives. The writers encode; the canvas decides
// which objects to create, select and delete and which modes to set.

#include "Canvas.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <vector>

namespace pipeloop::gdi
{

// Pen styles (PS_*).
inline constexpr uint16_t PS_SOLID = 0;
inline constexpr uint16_t PS_DASH = 1;
inline constexpr uint16_t PS_DOT = 2;
inline constexpr uint16_t PS_DASHDOT = 3;
inline constexpr uint16_t PS_DASHDOTDOT = 4;
inline constexpr uint16_t PS_NULL = 5;

// Brush styles (BS_*) and hatch styles (HS_*).
inline constexpr uint16_t BS_SOLID = 0;
inline constexpr uint16_t BS_NULL = 1;
inline constexpr uint16_t BS_HATCHED = 2;
inline constexpr uint16_t HS_HORIZONTAL = 0;
inline constexpr uint16_t HS_VERTICAL = 1;
inline constexpr uint16_t HS_FDIAGONAL = 2;
inline constexpr uint16_t HS_BDIAGONAL = 3;
inline constexpr uint16_t HS_CROSS = 4;
inline constexpr uint16_t HS_DIAGCROSS = 5;

// Background modes, polygon fill modes, text alignment.
inline constexpr uint16_t TRANSPARENT = 1;
inline constexpr uint16_t OPAQUE = 2;
inline constexpr uint16_t ALTERNATE = 1;
inline constexpr uint16_t TA_TOP_LEFT = 0; // TA_TOP | TA_LEFT | TA_NOUPDATECP

// Font weights and character sets.
inline constexpr int16_t FW_NORMAL = 400;
inline constexpr int16_t FW_BOLD = 700;
inline constexpr uint8_t ANSI_CHARSET = 0;
inline constexpr uint8_t DEFAULT_CHARSET = 1;

// Raster operation and colour usage of the picture records.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint16_t DIB_RGB_COLORS = 0;

struct LogPen {
    uint16_t style = PS_SOLID;
    int32_t width = 1;
    WinColour colour = 0;
    friend bool operator==(const LogPen&, const LogPen&) = default;
};

struct LogBrush {
    uint16_t style = BS_SOLID;
    WinColour colour = 0xFFFFFF;
    uint16_t hatch = 0;
    friend bool operator==(const LogBrush&, const LogBrush&) = default;
};

struct LogFont {
    // Negative: the character height (em height) in logical units.
    int32_t height = 0;
    int32_t weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = DEFAULT_CHARSET;
    QString face;
    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The GDI objects of a canvas's pen, brush and font. Pen styles apply to
// width 1 only; a wider pen is solid (geometric, round ends and joins).
LogPen ToLogPen(const Pen& pen);
LogBrush ToLogBrush(const Brush& brush);
LogFont ToLogFont(const Font& font, int dpiY, uint8_t charSet);

// A device-independent bitmap for the picture records: a 40-byte
// BITMAPINFOHEADER (24 bits per pixel, BI_RGB, bottom-up rows padded to four
// bytes, 96 dots per inch) and the pixel bits.
struct Dib {
    QByteArray info;
    QByteArray bits;
    QSize size;
};
Dib MakeDib(const QImage& picture);

// Everything a metafile records, in device units of the reference device
// (MM_TEXT: one logical unit is one pixel). Object indexes are the writer's:
// the lowest free slot of its object table.
class MetafileWriter
{
public:
    virtual ~MetafileWriter() = default;

    virtual uint32_t createPen(const LogPen& pen) = 0;
    virtual uint32_t createBrush(const LogBrush& brush) = 0;
    virtual uint32_t createFont(const LogFont& font) = 0;
    virtual void selectObject(uint32_t index) = 0;
    virtual void deleteObject(uint32_t index) = 0;

    virtual void setBkMode(uint16_t mode) = 0;
    virtual void setBkColour(WinColour colour) = 0;
    virtual void setTextColour(WinColour colour) = 0;
    virtual void setTextAlign(uint16_t align) = 0;
    virtual void setPolyFillMode(uint16_t mode) = 0;

    virtual void moveTo(QPoint p) = 0;
    virtual void lineTo(QPoint p) = 0;
    virtual void polyline(std::span<const QPoint> points) = 0;
    virtual void polygon(std::span<const QPoint> points) = 0;
    virtual void ellipse(const PixelRect& box) = 0;
    virtual void arc(const PixelRect& box, QPoint start, QPoint end) = 0;
    virtual void rectangle(const PixelRect& box) = 0;
    // Text with its reference point at p (the alignment set before), each
    // character advancing by its entry of advances, covering cell (the text's
    // box, right and bottom exclusive), clipped to clip if given.
    virtual void text(QPoint p, const QString& text, std::span<const int> advances,
                      const PixelRect& cell, const std::optional<PixelRect>& clip) = 0;
    virtual void stretchDib(const PixelRect& box, const Dib& dib) = 0;

    // The whole metafile: header, the records, end of file. Call once.
    virtual QByteArray finish() = 0;
};

// Little-endian record bytes.
class RecordBytes
{
public:
    void u8(uint8_t v) { m_bytes.append(char(v)); }
    void u16(uint16_t v)
    {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v)
    {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v)
    {
        uint32_t bits;
        static_assert(sizeof bits == sizeof v);
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void bytes(const QByteArray& b) { m_bytes.append(b); }
    // Pads with zero bytes to a multiple of n.
    void align(qsizetype n)
    {
        while (m_bytes.size() % n)
            m_bytes.append('\0');
    }
    qsizetype size() const { return m_bytes.size(); }
    // Overwrites a 32-bit value written earlier.
    void patch32(qsizetype at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[at + i] = char(uint8_t(v >> (8 * i)));
    }
    const QByteArray& data() const { return m_bytes; }
    QByteArray& data() { return m_bytes; }

private:
    QByteArray m_bytes;
};

// The lowest free slot of an object table whose slots start at first.
class ObjectTable
{
public:
    explicit ObjectTable(uint32_t first) : m_first(first) {}
    uint32_t take();
    void release(uint32_t index);
    // The slots the table needs: the highest slot ever taken + 1, which with
    // lowest-free allocation is also the most objects alive at once.
    uint32_t size() const { return uint32_t(m_used.size()); }

private:
    uint32_t m_first;
    std::vector<bool> m_used;
};

// The half of a metafile writer both formats share: the object table, the
// calls whose records differ only in their type numbers and in how each
// format spells a value, a point or a box, and text clipped by saving the
// device context, intersecting its clip and restoring it.
class RecordWriter : public MetafileWriter
{
public:
    uint32_t createPen(const LogPen& pen) final;
    uint32_t createBrush(const LogBrush& brush) final;
    uint32_t createFont(const LogFont& font) final;
    void selectObject(uint32_t index) final { valueRecord(m_numbers.selectObject, index); }
    void deleteObject(uint32_t index) final;

    void setBkMode(uint16_t mode) final { valueRecord(m_numbers.setBkMode, mode); }
    void setBkColour(WinColour colour) final { colourRecord(m_numbers.setBkColour, colour); }
    void setTextColour(WinColour colour) final { colourRecord(m_numbers.setTextColour, colour); }
    void setTextAlign(uint16_t align) final { valueRecord(m_numbers.setTextAlign, align); }
    void setPolyFillMode(uint16_t mode) final { valueRecord(m_numbers.setPolyFillMode, mode); }

    void moveTo(QPoint p) final { pointRecord(m_numbers.moveTo, p); }
    void lineTo(QPoint p) final { pointRecord(m_numbers.lineTo, p); }
    void ellipse(const PixelRect& b) final { boxRecord(m_numbers.ellipse, b); }
    void rectangle(const PixelRect& b) final { boxRecord(m_numbers.rectangle, b); }
    void text(QPoint p, const QString& text, std::span<const int> advances, const PixelRect& cell,
              const std::optional<PixelRect>& clip) final;

    QByteArray finish() final;

protected:
    // Each format's numbers of the records written through the shared calls.
    struct RecordNumbers {
        uint32_t selectObject;
        uint32_t deleteObject;
        uint32_t setBkMode;
        uint32_t setBkColour;
        uint32_t setTextColour;
        uint32_t setTextAlign;
        uint32_t setPolyFillMode;
        uint32_t moveTo;
        uint32_t lineTo;
        uint32_t ellipse;
        uint32_t rectangle;
        uint32_t saveDC;
        uint32_t restoreDC;
        uint32_t intersectClipRect;
    };

    RecordWriter(uint32_t firstObject, const RecordNumbers& numbers)
        : m_objects(firstObject), m_numbers(numbers)
    {
    }

    // A record: its header, then the parameters, then end() sets its size.
    virtual void begin(uint32_t number) = 0;
    virtual void end() = 0;
    // One parameter as the format spells it: an object index or a mode (a
    // colour is 32 bits in both), a point, a box.
    virtual void value(uint32_t value) = 0;
    virtual void point(QPoint p) = 0;
    virtual void box(const PixelRect& box) = 0;

    // The object records; the index is the object's slot.
    virtual void penRecord(uint32_t index, const LogPen& pen) = 0;
    virtual void brushRecord(uint32_t index, const LogBrush& brush) = 0;
    virtual void fontRecord(uint32_t index, const LogFont& font) = 0;
    // The text record itself, inside the clip if there is one.
    virtual void textRecord(QPoint p, const QString& text, std::span<const int> advances,
                            const PixelRect& cell, const std::optional<PixelRect>& clip) = 0;
    // The whole file from the records written: the end of file record, the header.
    virtual QByteArray file() = 0;

    RecordBytes m_out;
    qsizetype m_recordStart = -1;
    ObjectTable m_objects;

private:
    void valueRecord(uint32_t number, uint32_t v);
    void colourRecord(uint32_t number, WinColour colour);
    void pointRecord(uint32_t number, QPoint p);
    void boxRecord(uint32_t number, const PixelRect& b);

    RecordNumbers m_numbers;
    bool m_finished = false;
};

} // namespace pipeloop::gdi
