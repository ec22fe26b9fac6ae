#pragma once

// The canvas that records Windows metafiles (the rules, "Platform
// interfaces"): an Enhanced Metafile (EMF) or a placeable Windows Metafile
// (WMF), written by our own encoders (EmfWriter, WmfWriter) from the
// published record formats, so that the pictures are the same on every
// platform. Every primitive becomes the GDI record a Windows metafile DC
// would record for it:
//
// - pen, brush and font become CREATEPEN / CREATEBRUSHINDIRECT /
//   EXTCREATEFONTINDIRECTW (WMF: CREATEPENINDIRECT, CREATEBRUSHINDIRECT,
//   CREATEFONTINDIRECT) when they change, are selected, and the object they
//   replace is deleted; solid, null and the six hatched brushes;
// - the background mode follows the brush as Canvas.h says (OPAQUE in the
//   brush's colour for a solid brush, else TRANSPARENT);
// - lines are MOVETOEX + LINETO, polylines and polygons POLYLINE16 /
//   POLYGON16 (EMF uses the 32-bit records for coordinates beyond 16 bits),
//   then ELLIPSE, ARC (counter-clockwise, the GDI default), RECTANGLE;
// - fillRect is a RECTANGLE with a null pen, one pixel larger each way (GDI
//   draws a null-pen rectangle one pixel smaller);
// - text is EXTTEXTOUTW with the advance of each character (WMF: TEXTOUT in
//   Windows-1252), aligned top-left; clipped text is framed by SAVEDC,
//   INTERSECTCLIPRECT and RESTOREDC;
// - pictures are STRETCHDIBITS (WMF: STRETCHDIB) of a 24-bit DIB.
//
// Coordinates are device pixels of a 96 dpi reference device (one logical
// unit per pixel, MM_TEXT). The header names the creator (the design's
// Description) and the description (the product with the maker's notice).

#include "Canvas.h"
#include "MetafileRecords.h"

#include <QByteArray>

#include <memory>
#include <optional>

namespace pipeloop
{

enum class MetafileFormat { Emf, Wmf };

// The maker's notice ("Left to the implementer"): the metafile's
// description string names the product and its maker.
QString MetafileProductNotice();

class MetafileCanvas final : public Canvas
{
public:
    // A picture of size pixels at dpi dots per inch. creator is the design's
    // Description; description defaults to MetafileProductNotice().
    MetafileCanvas(MetafileFormat format, QSize size, const QString& creator,
                   const QString& description = MetafileProductNotice(), int dpi = 96);
    ~MetafileCanvas() override;

    MetafileFormat format() const { return m_format; }

    // The whole file: header, every record drawn so far, end of file. The
    // canvas records nothing more after it (the objects still selected are
    // deleted first, as a metafile DC does when it is closed).
    QByteArray finish();

    QSize textExtent(const QString& text) override;
    int dpiX() const override { return m_dpi; }
    int dpiY() const override { return m_dpi; }
    QSize size() const override { return m_size; }

    // The reference device a picture is recorded against: a 96 dpi screen of
    // 1920 x 1440 pixels, which is 508 x 381 mm exactly.
    static constexpr QSize ReferencePixels{1920, 1440};

protected:
    void drawLine(QPoint from, QPoint to) override;
    void drawPolyline(std::span<const QPoint> points) override;
    void drawPolygon(std::span<const QPoint> points) override;
    void drawEllipse(const PixelRect& box) override;
    void drawArc(const PixelRect& box, QPoint start, QPoint end) override;
    void drawRectangle(const PixelRect& box) override;
    void drawFillRect(const PixelRect& box) override;
    void drawText(QPoint topLeft, const QString& text) override;
    void drawTextRect(const PixelRect& box, const QString& text, HAlign h, VAlign v) override;
    void drawPicture(const PixelRect& box, const QImage& picture) override;

private:
    template <typename Log> struct Selected {
        Log log;
        uint32_t index = 0;
    };

    void usePen(const gdi::LogPen& pen);
    void usePen() { usePen(gdi::ToLogPen(pen())); }
    void useBrush();
    // After a polygon, ellipse or rectangle: notes when the pen must be
    // selected again before the next figure (see the .cpp).
    void closedFigureDrawn();
    void useFont();
    // The background mode and colour that go with the brush.
    void useBackground();
    void text(QPoint topLeft, const QString& text, const std::optional<PixelRect>& clip);
    std::vector<int> advances(const QString& text) const;
    void checkOpen() const;

    MetafileFormat m_format;
    QSize m_size;
    int m_dpi;
    std::unique_ptr<gdi::MetafileWriter> m_writer;
    bool m_finished = false;

    std::optional<Selected<gdi::LogPen>> m_pen;
    std::optional<Selected<gdi::LogBrush>> m_brush;
    std::optional<Selected<gdi::LogFont>> m_font;
    std::optional<uint16_t> m_bkMode;
    std::optional<WinColour> m_bkColour;
    std::optional<WinColour> m_textColour;
    std::optional<uint16_t> m_textAlign;
    std::optional<uint16_t> m_polyFillMode;
    std::optional<QPoint> m_position;
    bool m_reselectPen = false;
};

} // namespace pipeloop
