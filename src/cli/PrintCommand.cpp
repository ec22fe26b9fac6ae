#include "PrintCommand.h"

#include "AirOverlayOption.h"
#include "Cab.h"
#include "CatalogueCommands.h"
#include "DxfCommand.h"
#include "UiServices.h"
#include "print/PagePrinter.h"

#include <QFile>

#include <vector>

namespace pipeloop::cli
{

namespace
{

const QString ViewOption = QStringLiteral("--view");
const QString ScaleOption = QStringLiteral("--scale");
const QString PaperOption = QStringLiteral("--paper");
const QString PortraitOption = QStringLiteral("--portrait");
const QString LandscapeOption = QStringLiteral("--landscape");
const QString DropsOption = QStringLiteral("--drops");
const QString NotesOption = QStringLiteral("--notes");

struct ViewChoice {
    bool all = false;
    ViewKind view = ViewKind::Plan;
};

ViewChoice ViewOf(const Invocation& invocation)
{
    if (!invocation.has(ViewOption))
        throw UsageError{QStringLiteral("missing --view plan|north|east|south|west|all")};
    const QString word = invocation.option(ViewOption).trimmed();
    if (word.compare(QStringLiteral("all"), Qt::CaseInsensitive) == 0)
        return {true, ViewKind::Plan};
    if (const auto view = ViewFromWord(word.toUpper()))
        return {false, *view};
    throw UsageError{
        QStringLiteral("--view must be plan, north, east, south, west or all, not '%1'").arg(word)};
}

// A scale 1:N, or one found for each view: the best fit, or the standard
// scale beside it.
struct ScaleChoice {
    enum class Fit { None, Best, Standard };
    bool given = false;
    Fit fit = Fit::None;
    int32_t scale = 0;
};

ScaleChoice ScaleOf(const Invocation& invocation)
{
    if (!invocation.has(ScaleOption))
        return {};
    const QString text = invocation.option(ScaleOption).trimmed();
    if (text.compare(QStringLiteral("best"), Qt::CaseInsensitive) == 0)
        return {true, ScaleChoice::Fit::Best, 0};
    if (text.compare(QStringLiteral("standard"), Qt::CaseInsensitive) == 0)
        return {true, ScaleChoice::Fit::Standard, 0};
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < PrintSetup::MinScale || value > PrintSetup::MaxScale)
        throw UsageError{QStringLiteral("--scale must be best, standard or a whole number from 1 "
                                        "to 1000, not '%1'")
                             .arg(text)};
    return {true, ScaleChoice::Fit::None, value};
}

QPageSize PaperOf(const Invocation& invocation)
{
    if (!invocation.has(PaperOption))
        return QPageSize(QPageSize::A4);
    if (const auto paper = PaperSizeFromName(invocation.option(PaperOption)))
        return *paper;
    throw UsageError{QStringLiteral("--paper must name a paper size such as A4, A3 or Letter, "
                                    "not '%1'")
                         .arg(invocation.option(PaperOption))};
}

// The catalogue's LOGO.JPG when the container is there and holds one; a null
// picture (the program's own logo) otherwise. A catalogue named on the
// command line that cannot be used is worth a warning; the default one
// beside the program may simply not be installed.
QImage CatalogueLogo(const Invocation& invocation)
{
    const QString path = CataloguePathOf(invocation);
    const bool named = invocation.has(QStringLiteral("--catalogue"));
    if (!QFile::exists(path)) {
        if (named)
            Ui().warn(QStringLiteral("Parts database not found : ") + path);
        return {};
    }
    catalogue::TCAB cab;
    try {
        cab.Load(path);
    } catch (const catalogue::CabReadError&) {
        Ui().warn(QStringLiteral("Exception loading : ") + path);
        return {};
    }
    const QByteArray* logo = cab.Entry(cab.IndexOf(QStringLiteral("LOGO.JPG")));
    return logo ? QImage::fromData(*logo) : QImage();
}

} // namespace

QString PrintCommand::summary() const
{
    return QStringLiteral("printed sheets of a project (views to scale, title block, drops and "
                          "notes pages) as PDF");
}

QString PrintCommand::usage() const
{
    return QStringLiteral(
        "FILE --view plan|north|east|south|west|all [--scale N|best|standard]\n"
        "       [--portrait|--landscape] [--paper A4|A3|Letter...] [--drops] [--notes]\n"
        "       [--air-analysis] [--out OUT.pdf] [--catalogue C] [--yes|--no]\n"
        "  --view V       one view, or all: plan, north, east, south, west (a compressor house\n"
        "                 prints its plan alone)\n"
        "  --scale N      print at 1:N (1 to 1000); best: the best-fit scale of each view;\n"
        "                 standard: the standard scale (1:100, 1:200, 1:250 ...) next above it\n"
        "  --portrait, --landscape   the orientation of every view printed\n"
        "  --paper P      the paper size (default A4), 5 mm left unprinted on every side\n"
        "  --drops        add the drops page; --notes  add the notes pages\n"
        "  --air-analysis the plan's pipes coloured by the air supply's pressure, with a\n"
        "                 legend in bar and the worst drop ringed\n"
        "Without these the print settings stored in the project apply (unless --no refuses\n"
        "the project's settings), else 1:150, landscape, centred; the drops and notes pages as\n"
        "the options say. The logo is the catalogue's LOGO.JPG when it has one.");
}

QStringList PrintCommand::valueOptions() const
{
    return {ViewOption, ScaleOption, PaperOption};
}

QStringList PrintCommand::flagOptions() const
{
    return {PortraitOption, LandscapeOption, DropsOption, NotesOption, AirAnalysisOption};
}

int PrintCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const ViewChoice choice = ViewOf(invocation);
    const ScaleChoice scale = ScaleOf(invocation);
    if (invocation.has(PortraitOption) && invocation.has(LandscapeOption))
        throw UsageError{QStringLiteral("--portrait and --landscape exclude each other")};
    PdfPage page;
    page.paper = PaperOf(invocation);

    OutputProject project;
    // The print settings a project carries are what it is printed with,
    // unless the user refuses the project's settings.
    if (!invocation.has(QStringLiteral("--no")))
        project.options.SetProjectSettingsMode(int32_t(SettingsMode::Always));
    if (!project.open(path))
        return ExitStopped;
    TPipeLoop& design = *project.design;
    if (design.CompressorHouse && !choice.all && choice.view != ViewKind::Plan) {
        Ui().error(QStringLiteral("Compressor Houses can only be printed in plan."));
        return ExitUsage;
    }

    PrintRequest request =
        choice.all ? PrintRequest::allViews(design) : PrintRequest::view(design, choice.view);
    request.dropsPage = request.dropsPage || invocation.has(DropsOption);
    request.notes = request.notes || invocation.has(NotesOption);
    if (invocation.has(AirAnalysisOption)) {
        if (const int status = AirAnalysisOverlay(design, request.planOverlay); status != ExitOk)
            return status;
    }

    PrintSetup setup = project.printSetup;
    for (ViewKind view : request.views) {
        if (invocation.has(PortraitOption) || invocation.has(LandscapeOption))
            setup.SetLandscape(view, invocation.has(LandscapeOption));
        const PageGeometry sheet = PdfPageGeometry(page, setup.Landscape(view));
        if (scale.fit == ScaleChoice::Fit::Best)
            setup.SetPrintScaling(view, BestFitScaleForPage(design, view, sheet));
        else if (scale.fit == ScaleChoice::Fit::Standard)
            setup.SetPrintScaling(view, StandardFitScaleForPage(design, view, sheet));
        else if (scale.given)
            setup.SetPrintScaling(view, scale.scale);
    }

    const PdfJob job = PrintToPdf(design, setup, request, page, CatalogueLogo(invocation));
    if (!job.result.ok() || job.bytes.isEmpty())
        return ExitStopped;
    return invocation.writeResult(job.bytes) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
