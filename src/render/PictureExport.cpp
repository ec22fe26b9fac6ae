#include "PictureExport.h"

#include "AtomicSave.h"
#include "ErrorReport.h"
#include "PipeLoop.h"
#include "PlanRenderer.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"
#include "SectionRenderer.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMimeData>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

namespace pipeloop
{

namespace
{

// Beyond these a picture is refused rather than attempted: 16-bit
// coordinates in WMF records, and a bitmap of at most 64 million pixels
// (256 MB in memory).
constexpr int MaxPictureSide = 32767;
constexpr qint64 MaxBitmapPixels = qint64(64) * 1024 * 1024;

struct FormatName {
    PictureFormat format;
    const char* suffix;
    const char* mime;
};

constexpr FormatName FormatNames[] = {
    {PictureFormat::Emf, "emf", "image/x-emf"},   {PictureFormat::Wmf, "wmf", "image/x-wmf"},
    {PictureFormat::Bmp, "bmp", "image/bmp"},     {PictureFormat::Png, "png", "image/png"},
    {PictureFormat::Svg, "svg", "image/svg+xml"}, {PictureFormat::Pdf, "pdf", "application/pdf"},
};

void checkSize(QSize size, bool bitmap)
{
    if (size.width() < 1 || size.height() < 1 || size.width() > MaxPictureSide ||
        size.height() > MaxPictureSide)
        throw PictureError(QStringLiteral("The picture size %1 x %2 is not between 1 x 1 and "
                                          "%3 x %3 pixels.")
                               .arg(size.width())
                               .arg(size.height())
                               .arg(MaxPictureSide));
    if (bitmap && qint64(size.width()) * size.height() > MaxBitmapPixels)
        throw PictureError(QStringLiteral("The bitmap of %1 x %2 pixels is too large.")
                               .arg(size.width())
                               .arg(size.height()));
}

QByteArray encodeImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        throw PictureError(QStringLiteral("The %1 picture could not be encoded.")
                               .arg(QString::fromLatin1(format)));
    return bytes;
}

void paintOn(QPaintDevice& device, const char* kind, const DrawingPaint& paint)
{
    QPainterCanvas canvas(&device);
    if (!canvas.painter().isActive())
        throw PictureError(
            QStringLiteral("The %1 picture could not be started.").arg(QLatin1String(kind)));
    paint(canvas);
}

QByteArray svgBytes(QSize size, int dpi, const QString& title, const DrawingPaint& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(dpi);
    svg.setTitle(title);
    svg.setDescription(MetafileProductNotice());
    paintOn(svg, "SVG", paint);
    return bytes;
}

QByteArray pdfBytes(QSize size, int dpi, const QString& title, const DrawingPaint& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(dpi);
        pdf.setTitle(title);
        pdf.setCreator(MetafileProductNotice());
        // One page exactly the picture's size, without margins.
        const QSizeF points(size.width() * 72.0 / dpi, size.height() * 72.0 / dpi);
        pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        paintOn(pdf, "PDF", paint);
    }
    return bytes;
}

DrawingPaint pictureOf(TPipeLoop& design, const PictureSource& source)
{
    return [&design, &source](Canvas& canvas) {
        DrawPicture(canvas, design, PictureDrawParams(design, source), source.overlay.get());
    };
}

} // namespace

// ---------------------------------------------------------------- formats

std::optional<PictureFormat> PictureFormatFromName(const QString& name)
{
    QString word = name.trimmed().toLower();
    if (word.startsWith(u'.'))
        word.remove(0, 1);
    for (const FormatName& entry : FormatNames)
        if (word == QLatin1String(entry.suffix))
            return entry.format;
    return std::nullopt;
}

std::optional<PictureFormat> PictureFormatOfFile(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.isEmpty())
        return std::nullopt;
    return PictureFormatFromName(suffix);
}

QString PictureSuffix(PictureFormat format)
{
    for (const FormatName& entry : FormatNames)
        if (entry.format == format)
            return QString::fromLatin1(entry.suffix);
    return {};
}

QString PictureMimeType(PictureFormat format)
{
    for (const FormatName& entry : FormatNames)
        if (entry.format == format)
            return QString::fromLatin1(entry.mime);
    return {};
}

// ---------------------------------------------------------------- the picture

PictureSource ScreenPictureSource(const TPipeLoop& design, ViewKind view, int zoom, int dpi)
{
    const ScreenGeometry geometry = ScreenViewGeometry(design, view, zoom, dpi, dpi);
    PictureSource source;
    source.size = geometry.area;
    source.view = view;
    source.scaleX = geometry.pixelsPerMmX;
    source.scaleY = geometry.pixelsPerMmY;
    source.originX = ScreenMargin;
    source.originY = ScreenMargin;
    source.dpi = dpi;
    return source;
}

TDrawParams PictureDrawParams(const TPipeLoop& design, const PictureSource& source)
{
    TDrawParams p = ScreenDrawParams(design, source.view,
                                     PixelRect{0, 0, source.size.width(), source.size.height()},
                                     source.scaleX, source.scaleY);
    p.OriginX = source.originX;
    p.OriginY = source.originY;
    p.SymbolSize = 12;
    p.PipeWidth = 3;
    p.DrawSymbols = true;
    p.PrintMode = false;
    p.SymbolNames = false;
    return p;
}

void DrawPicture(Canvas& canvas, TPipeLoop& design, const TDrawParams& p,
                 const PlanOverlay* overlay)
{
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    if (p.View == ViewKind::Plan) {
        DrawPlan(canvas, design, p, false);
        if (overlay)
            DrawPlanOverlay(canvas, *overlay, p);
    } else {
        DrawSection(canvas, design, p);
    }
}

QImage DrawingImage(QSize size, int dpi, const DrawingPaint& paint)
{
    checkSize(size, true);
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        throw PictureError(QStringLiteral("No memory for a bitmap of %1 x %2 pixels.")
                               .arg(size.width())
                               .arg(size.height()));
    const int dotsPerMetre = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    paintOn(image, "bitmap", paint);
    return image;
}

QByteArray DrawingBytes(PictureFormat format, QSize size, int dpi, const QString& title,
                        const DrawingPaint& paint)
{
    switch (format) {
    case PictureFormat::Emf:
    case PictureFormat::Wmf: {
        checkSize(size, false);
        MetafileCanvas canvas(format == PictureFormat::Emf ? MetafileFormat::Emf
                                                           : MetafileFormat::Wmf,
                              size, title, MetafileProductNotice(), dpi);
        paint(canvas);
        return canvas.finish();
    }
    case PictureFormat::Bmp:
        return encodeImage(DrawingImage(size, dpi, paint), "BMP");
    case PictureFormat::Png:
        return encodeImage(DrawingImage(size, dpi, paint), "PNG");
    case PictureFormat::Svg:
        checkSize(size, false);
        return svgBytes(size, dpi, title, paint);
    case PictureFormat::Pdf:
        checkSize(size, false);
        return pdfBytes(size, dpi, title, paint);
    }
    throw PictureError(QStringLiteral("Unknown picture format."));
}

QImage PictureImage(TPipeLoop& design, const PictureSource& source)
{
    return DrawingImage(source.size, source.dpi, pictureOf(design, source));
}

QByteArray PictureMetafile(TPipeLoop& design, const PictureSource& source, MetafileFormat format)
{
    return PictureBytes(design, source,
                        format == MetafileFormat::Emf ? PictureFormat::Emf : PictureFormat::Wmf);
}

QByteArray PictureBytes(TPipeLoop& design, const PictureSource& source, PictureFormat format)
{
    return DrawingBytes(format, source.size, source.dpi, design.Description,
                        pictureOf(design, source));
}

bool SavePicture(TPipeLoop& design, const PictureSource& source, PictureFormat format,
                 const QString& path)
{
    try {
        if (const auto failure = SaveAtomically(path, PictureBytes(design, source, format)))
            throw PictureError(*failure);
        return true;
    } catch (...) {
        ReportError();
        return false;
    }
}

// ---------------------------------------------------------------- clipboard

QByteArray ClipboardPicture::data(const QString& mimeType) const
{
    for (const auto& [type, bytes] : formats)
        if (type == mimeType)
            return bytes;
    return {};
}

std::unique_ptr<QMimeData> ClipboardPicture::mimeData() const
{
    auto mime = std::make_unique<QMimeData>();
    for (const auto& [type, bytes] : formats)
        mime->setData(type, bytes);
    if (!bitmap.isNull())
        mime->setImageData(bitmap);
    return mime;
}

ClipboardPicture ClipboardBitmap(TPipeLoop& design, const PictureSource& source)
{
    ClipboardPicture picture;
    picture.bitmap = PictureImage(design, source);
    picture.formats.emplace_back(PictureMimeType(PictureFormat::Bmp),
                                 encodeImage(picture.bitmap, "BMP"));
    picture.formats.emplace_back(PictureMimeType(PictureFormat::Png),
                                 encodeImage(picture.bitmap, "PNG"));
    return picture;
}

ClipboardPicture ClipboardMetafile(TPipeLoop& design, const PictureSource& source, bool enhanced)
{
    ClipboardPicture picture;
    const PictureFormat format = enhanced ? PictureFormat::Emf : PictureFormat::Wmf;
    picture.formats.emplace_back(PictureMimeType(format), PictureBytes(design, source, format));
    picture.formats.emplace_back(PictureMimeType(PictureFormat::Svg),
                                 PictureBytes(design, source, PictureFormat::Svg));
    picture.formats.emplace_back(PictureMimeType(PictureFormat::Png),
                                 PictureBytes(design, source, PictureFormat::Png));
    return picture;
}

QString CopiedAsMetafileMessage()
{
    return QStringLiteral("PIPELOOP copied to clipboard as meta-file.");
}

QString CopiedAsBitmapMessage()
{
    return QStringLiteral("PIPELOOP copied to clipboard as bitmap.");
}

} // namespace pipeloop
