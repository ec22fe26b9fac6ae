#include "PictureCommand.h"

#include "AirOverlayOption.h"
#include "DxfCommand.h"
#include "PictureExport.h"
#include "UiServices.h"

namespace pipeloop::cli
{

namespace
{

const QString ViewOption = QStringLiteral("--view");
const QString WidthOption = QStringLiteral("--width");
const QString HeightOption = QStringLiteral("--height");
const QString ZoomOption = QStringLiteral("--zoom");
const QString FormatOption = QStringLiteral("--format");

// plan, north, east, south, west (any case) or 0..4.
ViewKind viewOf(const Invocation& invocation)
{
    const QString text = invocation.option(ViewOption, QStringLiteral("plan"));
    if (const auto view = ViewFromWord(text.trimmed().toUpper()))
        return *view;
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok && number >= 0 && number < int(AllViews.size()))
        return AllViews[size_t(number)];
    throw UsageError{
        QStringLiteral("--view must be plan, north, east, south or west, not '%1'").arg(text)};
}

// A whole number from min to max, or nothing when the option is absent.
std::optional<int> numberOf(const Invocation& invocation, const QString& option, int min, int max)
{
    if (!invocation.has(option))
        return std::nullopt;
    const QString text = invocation.option(option);
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < min || value > max)
        throw UsageError{QStringLiteral("%1 must be a whole number from %2 to %3, not '%4'")
                             .arg(option)
                             .arg(min)
                             .arg(max)
                             .arg(text)};
    return value;
}

PictureFormat formatOf(const Invocation& invocation)
{
    if (invocation.has(FormatOption)) {
        if (const auto format = PictureFormatFromName(invocation.option(FormatOption)))
            return *format;
        throw UsageError{QStringLiteral("--format must be emf, wmf, bmp, png, svg or pdf, not "
                                        "'%1'")
                             .arg(invocation.option(FormatOption))};
    }
    const QString out = invocation.option(QStringLiteral("--out"));
    if (out.isEmpty())
        return PictureFormat::Png;
    if (const auto format = PictureFormatOfFile(out))
        return *format;
    throw UsageError{QStringLiteral("cannot tell the picture format from '%1': name the file "
                                    ".emf, .wmf, .bmp, .png, .svg or .pdf, or give --format")
                         .arg(out)};
}

} // namespace

QString PictureCommand::summary() const
{
    return QStringLiteral("the \"Data Exchange\" picture of a view (EMF, WMF, BMP, PNG, SVG, "
                          "PDF)");
}

QString PictureCommand::usage() const
{
    return QStringLiteral(
        "FILE [--view plan|north|east|south|west] [--width W] [--height H] [--zoom Z]\n"
        "       [--out OUT.{emf,wmf,bmp,png,svg,pdf}] [--format F] [--air-analysis] "
        "[--yes|--no]\n\n"
        "The picture of a drawing area W x H pixels showing the view at zoom 1:Z on a 96 dpi\n"
        "screen. Z defaults to the project's zoom for the view, W and H to the area the main\n"
        "window gives the view at that zoom. --air-analysis colours the plan's pipes by the\n"
        "air supply's pressure, with a legend in bar and the worst drop ringed.");
}

QStringList PictureCommand::valueOptions() const
{
    return {ViewOption, WidthOption, HeightOption, ZoomOption, FormatOption};
}

QStringList PictureCommand::flagOptions() const
{
    return {AirAnalysisOption};
}

int PictureCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const ViewKind view = viewOf(invocation);
    const std::optional<int> width = numberOf(invocation, WidthOption, 1, 32767);
    const std::optional<int> height = numberOf(invocation, HeightOption, 1, 32767);
    const std::optional<int> zoom = numberOf(invocation, ZoomOption, 1, 1000000);
    const PictureFormat format = formatOf(invocation);
    const bool airAnalysis = invocation.has(AirAnalysisOption);
    if (airAnalysis && view != ViewKind::Plan)
        throw UsageError{QStringLiteral("--air-analysis draws on the plan view only")};

    OutputProject project;
    if (!project.open(path))
        return ExitStopped;
    TPipeLoop& design = *project.design;
    if (design.CompressorHouse && view != ViewKind::Plan) {
        Ui().error(QStringLiteral("A compressor house has only the plan view."));
        return ExitUsage;
    }

    // What the main window would hand over: its scales and origins for the
    // view at the zoom, and the size of its drawing area.
    PictureSource source =
        ScreenPictureSource(design, view, zoom.value_or(project.zoom[size_t(view)]));
    if (width)
        source.size.setWidth(*width);
    if (height)
        source.size.setHeight(*height);
    if (airAnalysis) {
        if (const int status = AirAnalysisOverlay(design, source.overlay); status != ExitOk)
            return status;
    }

    // A picture the formats cannot hold is the user's request, not a fault
    // of the program.
    QByteArray bytes;
    try {
        bytes = PictureBytes(design, source, format);
    } catch (const PictureError& error) {
        Ui().error(error.message());
        return ExitStopped;
    }
    return invocation.writeResult(bytes) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
