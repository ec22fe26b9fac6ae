#pragma once

// Picture export: the current view drawn as a picture the size
// of the main drawing area, at the screen's scales and origins, in every
// format: the Windows metafiles (EMF, placeable WMF) and the bitmap (BMP)
// that Windows programs take, and PNG, SVG and PDF, which Linux users expect. The clipboard
// contents are prepared here as data; putting them on the clipboard is the
// desktop's job.
//
// The picture's TDrawParams: area (0, 0)-(width, height), the
// view, the current ScaleX/ScaleY and OriginX/OriginY, SymbolSize 12,
// PipeWidth 3, DrawSymbols, not PrintMode, no SymbolNames, PipeDepth =
// RoomHG - Height. The plan routine without the highlight-corners flag or the
// section routine draws it; the grid is drawn as on screen; the building
// walls are not part of the picture. A bitmap (BMP, PNG, the clipboard
// bitmap) starts white, as the screen does; the metafiles, SVG and PDF have
// no background, as the Windows metafile had none.

#include "DrawParams.h"
#include "MetafileCanvas.h"
#include "PlanOverlay.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QMimeData;

namespace pipeloop
{

class TPipeLoop;

enum class PictureFormat { Emf, Wmf, Bmp, Png, Svg, Pdf };

// "emf", "wmf", "bmp", "png", "svg", "pdf" (any case, with or without the
// dot) and the format of a file name's suffix; nothing for another.
std::optional<PictureFormat> PictureFormatFromName(const QString& name);
std::optional<PictureFormat> PictureFormatOfFile(const QString& path);
QString PictureSuffix(PictureFormat format);
QString PictureMimeType(PictureFormat format);

// What the main window hands over.
struct PictureSource {
    // The width and height of the main drawing area in pixels.
    QSize size;
    ViewKind view = ViewKind::Plan;
    // The current scales (pixels per millimetre) and origins.
    double scaleX = 1.0;
    double scaleY = 1.0;
    int originX = ScreenMargin;
    int originY = ScreenMargin;
    // The resolution of the reference canvas (the drawing area's).
    int dpi = 96;
    // Drawn over the plan when given (sections have none).
    std::shared_ptr<const PlanOverlay> overlay;
};

// The source the main window would hand over for view at zoom factor zoom
// the area the size of the building
// at that scale plus the margins, the scales dpi / 25.4 / zoom, origins 18.
PictureSource ScreenPictureSource(const TPipeLoop& design, ViewKind view, int zoom, int dpi = 96);

// The picture's drawing parameters.
TDrawParams PictureDrawParams(const TPipeLoop& design, const PictureSource& source);

// Draws the picture's view on canvas (no background, no walls), and the
// overlay over a plan when one is given. Sections set DrawnInView on the
// objects they draw, as on screen.
void DrawPicture(Canvas& canvas, TPipeLoop& design, const TDrawParams& p,
                 const PlanOverlay* overlay = nullptr);

// Any drawing as a file: paint is called once with a canvas of size pixels at
// dpi dots per inch in the format (a metafile canvas, or a QPainterCanvas on a
// bitmap, an SVG generator or a one-page PDF the drawing's size). Bitmaps start
// white; the others have no background. title is the metafile's creator
// string and the SVG's and PDF's title. Other drawings use it too: the render
// subcommand can paint the screen's view, walls and all (PaintDesignView), into
// any of these formats with it. Throws PictureError when the picture
// cannot be made (a size outside 1..32767 pixels a side, a bitmap beyond 64
// million pixels, an encoder that fails).
using DrawingPaint = std::function<void(Canvas&)>;
QByteArray DrawingBytes(PictureFormat format, QSize size, int dpi, const QString& title,
                        const DrawingPaint& paint);
QImage DrawingImage(QSize size, int dpi, const DrawingPaint& paint);

// The bitmap: white, then the picture; 96 dpi by default.
QImage PictureImage(TPipeLoop& design, const PictureSource& source);
// The metafile; its creator string is the design's Description, its
// description MetafileProductNotice().
QByteArray PictureMetafile(TPipeLoop& design, const PictureSource& source, MetafileFormat format);
// The picture's file in a format. Throws PictureError when the picture
// cannot be made (an empty size, an encoder that fails).
QByteArray PictureBytes(TPipeLoop& design, const PictureSource& source, PictureFormat format);

// Draws the picture and saves it to path, completely or not at all: it is
// written to a temporary file beside the target, which replaces the target
// only after every write succeeded, so a failure leaves no file that looks
// complete (an existing file is unchanged). Any failure while drawing or
// saving goes to the common error report and returns false.
bool SavePicture(TPipeLoop& design, const PictureSource& source, PictureFormat format,
                 const QString& path);

// The clipboard contents, as data: (MIME type, bytes) pairs in
// order of preference. "Copy BITMAP": image/bmp and image/png; "Copy
// METAFILE": image/x-emf (enhanced ticked) or image/x-wmf, then, for Linux
// applications, image/svg+xml and image/png.
struct ClipboardPicture {
    std::vector<std::pair<QString, QByteArray>> formats;
    // The bitmap itself, for a clipboard that takes images (QClipboard::setImage).
    QImage bitmap;

    QByteArray data(const QString& mimeType) const;
    // A new QMimeData holding every format (and the bitmap as image data).
    std::unique_ptr<QMimeData> mimeData() const;
};
ClipboardPicture ClipboardBitmap(TPipeLoop& design, const PictureSource& source);
ClipboardPicture ClipboardMetafile(TPipeLoop& design, const PictureSource& source, bool enhanced);

// The confirmations the Data Exchange window shows after a copy.
QString CopiedAsMetafileMessage(); // "PIPELOOP copied to clipboard as meta-file."
QString CopiedAsBitmapMessage();   // "PIPELOOP copied to clipboard as bitmap."

// A picture that could not be made or written.
class PictureError : public std::exception
{
public:
    explicit PictureError(QString message)
        : m_message(std::move(message)), m_bytes(m_message.toLocal8Bit())
    {
    }
    const char* what() const noexcept override { return m_bytes.constData(); }
    const QString& message() const { return m_message; }

private:
    QString m_message;
    QByteArray m_bytes;
};

} // namespace pipeloop
