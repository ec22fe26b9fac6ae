#include "RenderCommand.h"

#include "DropViewRenderer.h"
#include "Model3D.h"
#include "OutputProject.h"
#include "PictureExport.h"
#include "ScreenView.h"
#include "UiServices.h"

#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>

namespace pipeloop::cli
{

namespace
{

const QString ViewOption = QStringLiteral("--view");
const QString ZoomOption = QStringLiteral("--zoom");
const QString DpiOption = QStringLiteral("--dpi");
const QString SizeOption = QStringLiteral("--size");
const QString BearingOption = QStringLiteral("--bearing");
const QString HighlightElbowsOption = QStringLiteral("--highlight-elbows");

// The main window's drop view panel is 80 pixels wide; its height is the
// window's. The 3D window's drawing area starts at the size of its scroll box.
constexpr QSize DropViewSize(80, 480);
constexpr QSize View3DSize(640, 480);
// The largest side a picture may have.
constexpr int MaxPictureSide = 32767;

enum class Kind { Design, Drop, ThreeD };

struct ViewChoice {
    Kind kind = Kind::Design;
    ViewKind view = ViewKind::Plan;
    QString objectName; // drop view: the drop, inlet or drain
};

ViewChoice ParseView(const QString& text)
{
    const QString word = text.toLower();
    for (ViewKind view : AllViews)
        if (word == ViewWord(view).toLower())
            return {Kind::Design, view, {}};
    if (word == QStringLiteral("3d"))
        return {Kind::ThreeD, ViewKind::Plan, {}};
    if (word == QStringLiteral("drop"))
        return {Kind::Drop, ViewKind::Plan, {}};
    if (word.startsWith(QStringLiteral("drop:")))
        return {Kind::Drop, ViewKind::Plan, text.mid(5)};
    throw UsageError{QStringLiteral("--view must be plan, north, east, south, west, drop[:NAME] "
                                    "or 3d, not '%1'")
                         .arg(text)};
}

int PositiveInt(const Invocation& invocation, const QString& option, int fallback, int max)
{
    if (!invocation.has(option))
        return fallback;
    bool ok = false;
    const int value = invocation.option(option).toInt(&ok);
    if (!ok || value <= 0 || value > max)
        throw UsageError{QStringLiteral("%1 must be a whole number from 1 to %2, not '%3'")
                             .arg(option)
                             .arg(max)
                             .arg(invocation.option(option))};
    return value;
}

std::optional<QSize> SizeOf(const Invocation& invocation)
{
    if (!invocation.has(SizeOption))
        return std::nullopt;
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})[xX](\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(invocation.option(SizeOption));
    const int w = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int h = match.hasMatch() ? match.captured(2).toInt() : 0;
    if (w < 1 || h < 1 || w > MaxPictureSide || h > MaxPictureSide)
        throw UsageError{QStringLiteral("--size must be WIDTHxHEIGHT in pixels (1 to %1 each), "
                                        "not '%2'")
                             .arg(MaxPictureSide)
                             .arg(invocation.option(SizeOption))};
    return QSize(w, h);
}

PictureFormat FormatOf(const QString& out)
{
    const std::optional<PictureFormat> format = PictureFormatOfFile(out);
    if (!format)
        throw UsageError{QStringLiteral("--out must name a .png, .svg, .pdf, .emf, .wmf or .bmp "
                                        "file, not '%1'")
                             .arg(out)};
    return *format;
}

// The drop, inlet or drain the drop view shows: the first of that name
// (drops, then inlets, then drains), else the one whose project file section
// has that name (Drop3), else, without a name, the first drop.
TPipeLoopObject* DropViewObject(const TPipeLoop& design, const QString& name)
{
    if (name.isEmpty())
        return design.Drops.empty() ? nullptr : design.Drops.front().get();
    TPipeLoopObject* found = nullptr;
    const auto search = [&](const auto& list) {
        for (size_t i = 0; i < list.size() && !found; ++i)
            if (list[i]->Name == name)
                found = list[i].get();
        for (size_t i = 0; i < list.size() && !found; ++i)
            if (QString(SectionPrefix(list[i]->Kind()) + QString::number(i + 1))
                    .compare(name, Qt::CaseInsensitive) == 0)
                found = list[i].get();
    };
    search(design.Drops);
    search(design.Inlets);
    search(design.Drains);
    return found;
}

} // namespace

QString RenderCommand::summary() const
{
    return QStringLiteral("draws a view of a project (plan, section, drop view, 3D) as PNG, SVG, "
                          "PDF, EMF, WMF or BMP");
}

QString RenderCommand::usage() const
{
    return QStringLiteral(
        "FILE --view plan|north|east|south|west|drop[:NAME]|3d --out "
        "OUT.png|svg|pdf|emf|wmf|bmp\n"
        "       [--zoom Z] [--dpi D] [--size WxH] [--bearing RADIANS] [--highlight-elbows] "
        "[--yes|--no]\n"
        "  --zoom Z            scale 1:Z of a plan or section (default: the project's zoom)\n"
        "  --dpi D             dots per inch of the picture (default 96, as the screen)\n"
        "  --size WxH          picture size in pixels; a plan or section keeps its drawing area\n"
        "                      at the top left (with no --zoom, at the largest zoom that fits)\n"
        "  --bearing RADIANS   3D view: turn about the vertical axis (default 5.3)\n"
        "  --highlight-elbows  plan: as with \"Highlight Elbows\" ticked\n"
        "  drop:NAME           the drop view of the drop, inlet or drain of that name (or of\n"
        "                      that project file section, Drop3); plain drop: the first drop");
}

QStringList RenderCommand::valueOptions() const
{
    return {ViewOption, ZoomOption, DpiOption, SizeOption, BearingOption};
}

QStringList RenderCommand::flagOptions() const
{
    return {HighlightElbowsOption};
}

int RenderCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    if (!invocation.has(ViewOption))
        throw UsageError{QStringLiteral("missing --view")};
    const ViewChoice choice = ParseView(invocation.option(ViewOption));
    const QString out = invocation.option(QStringLiteral("--out"));
    if (out.isEmpty())
        throw UsageError{QStringLiteral("missing --out OUT.png|svg|pdf|emf|wmf|bmp")};
    const PictureFormat format = FormatOf(out);
    const int dpi = PositiveInt(invocation, DpiOption, 96, 2400);
    const std::optional<QSize> size = SizeOf(invocation);
    std::optional<float> bearing;
    if (invocation.has(BearingOption)) {
        bool ok = false;
        bearing = invocation.option(BearingOption).toFloat(&ok);
        if (!ok || !std::isfinite(*bearing))
            throw UsageError{QStringLiteral("--bearing must be a number of radians, not '%1'")
                                 .arg(invocation.option(BearingOption))};
    }

    // The project, opened as the desktop program opens it.
    OutputProject project;
    if (!project.open(path))
        return ExitStopped;
    TPipeLoop& loop = *project.design;
    const ZoomFactors& zoom = project.zoom;
    const TPipeLoopOptions& options = project.options;
    const QString title =
        loop.Description.isEmpty() ? QFileInfo(path).completeBaseName() : loop.Description;

    QSize pictureSize;
    DrawingPaint paint;
    switch (choice.kind) {
    case Kind::Design: {
        if (loop.CompressorHouse && choice.view != ViewKind::Plan) {
            Ui().error(QStringLiteral("A compressor house has only the plan view."));
            return ExitUsage;
        }
        const int factor = invocation.has(ZoomOption)
                               ? PositiveInt(invocation, ZoomOption, 20, 1000000)
                           : size ? FittingZoom(loop, choice.view, *size, dpi, dpi)
                                  : zoom[size_t(choice.view)];
        const ScreenGeometry geometry = ScreenViewGeometry(loop, choice.view, factor, dpi, dpi);
        pictureSize = size.value_or(geometry.area);
        const bool highlightElbows = invocation.has(HighlightElbowsOption);
        paint = [&loop, geometry, pictureSize, highlightElbows](Canvas& canvas) {
            canvas.setBrush({kWhite, BrushStyle::Solid});
            canvas.fillRect(PixelRect{0, 0, pictureSize.width(), pictureSize.height()});
            PaintDesignView(canvas, loop, geometry.params, highlightElbows);
        };
        break;
    }
    case Kind::Drop: {
        TPipeLoopObject* object = DropViewObject(loop, choice.objectName);
        if (object == nullptr) {
            Ui().error(
                choice.objectName.isEmpty()
                    ? QStringLiteral("The project has no drop.")
                    : QStringLiteral("No drop, inlet or drain named '%1'.").arg(choice.objectName));
            return ExitUsage;
        }
        pictureSize = size.value_or(DropViewSize);
        const WinColour select = options.SelectColour;
        paint = [object, pictureSize, select](Canvas& canvas) {
            PaintDropViewPanel(canvas, object,
                               PixelRect{0, 0, pictureSize.width(), pictureSize.height()}, select);
        };
        break;
    }
    case Kind::ThreeD: {
        pictureSize = size.value_or(View3DSize);
        auto model = std::make_shared<View3DModel>();
        model->Rebuild(loop);
        // As the 3D window shows it: the whole building at every bearing.
        model->FitWholeRoom();
        if (bearing)
            model->setBearing(*bearing);
        paint = [model, pictureSize](Canvas& canvas) { model->Paint(canvas, pictureSize); };
        break;
    }
    }

    QByteArray bytes;
    try {
        bytes = DrawingBytes(format, pictureSize, dpi, title, paint);
    } catch (const PictureError& error) {
        Ui().error(error.message());
        return ExitStopped;
    }
    return invocation.writeResult(bytes) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
