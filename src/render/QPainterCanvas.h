#pragma once

// The canvas over any QPaintDevice: a QImage (saved as PNG, BMP or JPEG), a
// QSvgGenerator, a QPdfWriter or QPrinter, a widget. Antialiasing is off by
// default, because the drawing routines compute pixel geometry; a display may
// turn it on.

#include "Canvas.h"

#include <QBrush>
#include <QByteArray>
#include <QColor>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QPolygonF>
#include <QSet>

#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

namespace pipeloop
{

class QPainterCanvas final : public Canvas
{
public:
    // Paints on the device with a painter of its own, begun here and ended when
    // the canvas is destroyed (or by end()).
    explicit QPainterCanvas(QPaintDevice* device);
    // Paints with a painter that the caller has begun and will end (a widget's
    // paint event, a print job); the painter's state is saved here and
    // restored when the canvas is destroyed.
    explicit QPainterCanvas(QPainter& painter);
    ~QPainterCanvas() override;

    void setAntialiasing(bool on);
    bool antialiasing() const { return m_antialiasing; }

    // Ends an owned painter early (before saving an image, for example).
    void end();

    // The painter, with every primitive drawn so far on it.
    QPainter& painter()
    {
        flushLineRun();
        m_applied.valid = false; // the caller may set anything
        return *m_painter;
    }

    QSize textExtent(const QString& text) override;
    // Aliased on a raster device, the second and every later figure of the
    // same primitives is painted from a picture of it (the symbol stacks of
    // many drops are drawn once each), unless pictures are switched off.
    void figure(QPoint anchor, const std::function<void(Canvas&)>& draw) override;
    // A look seen before, in the same state, is not drawn again to be named.
    void figure(QPoint anchor, const QByteArray& look,
                const std::function<void(Canvas&)>& draw) override;
    void setFigurePictures(bool on) { m_figurePictures = on; }
    int dpiX() const override;
    int dpiY() const override;
    QSize size() const override;
    // The device, or the part a window repaints, and the painter's clip.
    PixelRect clipBox() const override;

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
    enum class Fill { None, Brush };
    // Sets the painter's pen, brush and background for a primitive drawn with
    // the given pen (the current one unless said).
    void prepare(bool outline, Fill fill);
    void prepare(bool outline, Fill fill, const Pen& pen);
    // Connected lines of one solid pen (a move-to and a row of line-tos) are
    // drawn as one polyline: the same pixels, stroked once instead of once a
    // segment. Every other primitive draws the pending run first.
    void flushLineRun();
    // A run of more than one wide line, aliased: drawn from a picture of the
    // same run made once (the pixels of an aliased figure move with it by
    // whole pixels), so that the air hoses of many drops are stroked once.
    void drawWidePolyline();
    // A run of wide lines longer than MaxStrokedRun points, aliased, on a
    // device whose pixels Qt computes: stroked as polylines of that many
    // points, each starting where the last ended. Qt's raster stroking takes
    // time that grows with the square of a polyline's length where its
    // segments overlap (a loop of thousands of corners seen from afar took
    // seconds); aliased pieces joined end to end have the same pixels, a
    // round join being the round ends of the two lines it joins. A vector
    // device (PDF, SVG) gets the polyline whole: its reader strokes it.
    void strokeInPieces();
    bool rasterised() const;
    // The image painted on when its pixels may be set directly: 32 bits a
    // pixel, nothing but its edges clipping, whole-pixel shifts, plain painting.
    QImage* directImage() const;
    // A solid one-pixel column from top down, set directly in the image: the
    // corner lines of a section cross the whole picture, and Qt fills a
    // column a span a row. False where the image cannot be written so.
    bool setColumn(int x, int top, int height, const QColor& colour);
    // A styled one-pixel line along an axis, inside the image, set directly
    // from a picture Qt drew of it once. False where it cannot be.
    bool pasteStyledAxisLine(QPoint from, QPoint to);
    // An aliased rectangle with a solid one-pixel outline, filled inside and
    // along its edge on a raster device. False where it cannot be.
    bool fillOutlinedRectangle(const PixelRect& box);
    // The current brush's hatch set directly in the image over an area, in
    // the painter's coordinates. False for a solid or clear brush, or where
    // the image cannot be written so.
    bool setHatch(QRect area);
    // Whether the painter moves what it draws by whole device pixels only.
    bool wholePixelShift() const;
    // Where the painter's origin lies on the device.
    QPoint deviceShift() const;
    // A pixel of the image the painter paints in, to be set in place.
    static QRgb* PixelOf(QImage& image, int x, int y);
    // What recording a figure's drawing tells: the name of its primitives
    // relative to the anchor, what they can change and the state they leave.
    struct RecordedFigure {
        QByteArray name;
        QRect bounds;
        bool picturable = false;
        Pen pen;
        Brush brush;
        Font font;
        QPoint penPos; // relative to the anchor
    };
    // Whether figures are painted from pictures here now.
    bool picturesApply() const;
    RecordedFigure record(QPoint anchor, const std::function<void(Canvas&)>& draw);
    void paintFigure(QPoint anchor, const RecordedFigure& figure,
                     const std::function<void(Canvas&)>& draw);
    struct FigurePicture {
        QImage picture; // null: the figure is drawn as it is
        QPoint topLeft; // relative to the anchor
        // The picture's painted pixels, row by row, when every pixel is
        // either clear or opaque, as aliased drawing in opaque colours makes
        // them: copied straight into an image, they are what blending gives.
        struct Run {
            int x;
            int y;
            int length;
        };
        std::vector<Run> runs;
        bool copyable = false;
    };
    // Notes a new picture's runs of painted pixels, if it can be copied.
    static void noteRuns(FigurePicture& figure);
    // Paints a figure's picture with its top left corner there.
    void paintPicture(QPoint topLeft, const FigurePicture& figure);
    // The picture of the part bounds of a figure whose bounds are whole (both
    // relative to its anchor), seen before, made now if need be; null for a
    // figure seen for the first time or one that cannot be pictured.
    const FigurePicture* pictureOf(const QByteArray& name, QRect bounds, QRect whole, QPoint anchor,
                                   const Canvas& start, const std::function<void(Canvas&)>& draw);
    // Whether nothing but the edge of the device limits what is drawn: no
    // clip of the painter's, no part of a window left unpainted.
    bool clippedByDeviceOnly() const;
    static constexpr qsizetype MaxStrokedRun = 64;
    void prepareFont();
    static QPen qtPen(const Pen& pen);
    // The colour of the gaps of a line in this pen, none where they show through.
    std::optional<QColor> gapColour(const Pen& pen) const;
    static void setBackground(QPainter& painter, const std::optional<QColor>& gaps);
    QBrush qtBrush(const Brush& brush) const;
    // The metrics of the current font on the device, kept while the font is
    // the same: labels are measured before they are drawn.
    const QFontMetrics& metrics();
    // The width of a line of text in the current font. A label is measured
    // to be shortened, placed and backed before it is drawn, and the names
    // of a view's features and drops repeat: each text is laid out once.
    int textWidth(const QString& text);
    // Integer coordinates name pixels. Aliased, Qt fills the pixel below and
    // right of a point; antialiased, the point must be moved to the pixel's centre.
    qreal centreShift() const { return m_antialiasing ? 0.5 : 0.0; }

    std::unique_ptr<QPainter> m_ownedPainter;
    QPainter* m_painter = nullptr;
    QPaintDevice* m_device = nullptr;
    bool m_antialiasing = false;
    // What prepare() last set on the painter.
    struct Applied {
        bool valid = false;
        bool outline = false;
        Fill fill = Fill::None;
        Pen pen;
        Brush brush;
        friend bool operator==(const Applied&, const Applied&) = default;
    };
    Applied m_applied;
    // The pending run of connected lines, in device coordinates, and its pen.
    QPolygonF m_lineRun;
    Pen m_lineRunPen;
    struct WideLine {
        QImage picture;
        QPoint topLeft; // relative to the run's first point
    };
    std::optional<QFontMetrics> m_metrics;
    Font m_metricsFont;
    std::shared_ptr<QHash<QString, int>> m_textWidths; // in m_metricsFont, shared
    QHash<QByteArray, WideLine> m_wideLines;
    qint64 m_wideLinePixels = 0; // held by m_wideLines
    QHash<QByteArray, QImage> m_styledLines;
    qsizetype m_styledLinePixels = 0; // held by m_styledLines
    QHash<QByteArray, FigurePicture> m_figures;
    // Figures recorded by look and the pen, brush and pen position they
    // started with, and the font.
    struct LookedFigure {
        Font font;
        RecordedFigure recorded;
    };
    QHash<QByteArray, LookedFigure> m_looks;
    QSet<QByteArray> m_figuresSeenOnce;
    qint64 m_figurePixels = 0; // held by m_figures
    bool m_figurePictures = true;
};

} // namespace pipeloop
