#include "print/PagePrinter.h"

#include "AtomicSave.h"
#include "BuildingDrawing.h"
#include "ErrorReport.h"
#include "PipeLoop.h"
#include "PlanRenderer.h"
#include "PrintSetup.h"
#include "QPainterCanvas.h"
#include "Rounding.h"
#include "SectionRenderer.h"
#include "UiServices.h"
#include "Version.h"
#include "print/ExtraPages.h"
#include "print/ProgramLogo.h"
#include "print/TitleBlock.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace pipeloop
{

QString DoesNotFitMessage()
{
    return QStringLiteral("Required print scale means drawing does not fit on page.");
}

QString NoPrintersMessage()
{
    return QStringLiteral("There are no printers installed on this computer.");
}

// ---------------------------------------------------------------- target

PagedDeviceTarget::PagedDeviceTarget(QPagedPaintDevice& device) : m_device(device) {}

PagedDeviceTarget::~PagedDeviceTarget()
{
    endJob();
}

void PagedDeviceTarget::setLandscape(bool landscape)
{
    m_device.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

PageGeometry PagedDeviceTarget::geometry() const
{
    return PageGeometry::fromLayout(m_device.pageLayout(), m_device.logicalDpiX(),
                                    m_device.logicalDpiY());
}

Canvas& PagedDeviceTarget::beginPage()
{
    if (!m_canvas) {
        auto canvas = std::make_unique<QPainterCanvas>(&m_device);
        // Paper is a vector device: with antialiasing on, the canvas strokes
        // wide lines as paths, where aliased it would paint them as pictures
        // (a screen optimisation) and the PDF would carry bitmaps.
        canvas->setAntialiasing(true);
        m_canvas = std::move(canvas);
    } else {
        // Everything drawn so far belongs to the page being ended.
        static_cast<QPainterCanvas&>(*m_canvas).painter();
        m_device.newPage();
    }
    return *m_canvas;
}

void PagedDeviceTarget::endJob()
{
    if (m_ended)
        return;
    m_ended = true;
    m_canvas.reset();
}

// ---------------------------------------------------------------- requests

QString PrintJobTitle(const TPipeLoop& design)
{
    const QString& description = design.Description;
    if (description.size() <= MaxJobTitle)
        return description;
    qsizetype kept = MaxJobTitle - 1;
    if (description.at(kept - 1).isHighSurrogate())
        --kept;
    return description.left(kept) + QChar(0x2026);
}

PrintRequest PrintRequest::view(const TPipeLoop& design, ViewKind view)
{
    PrintRequest request;
    request.views = {design.CompressorHouse ? ViewKind::Plan : view};
    request.dropsPage = design.Options.PrintDropsPage;
    request.notes = design.Options.PrintNotes;
    return request;
}

PrintRequest PrintRequest::allViews(const TPipeLoop& design)
{
    PrintRequest request = view(design, ViewKind::Plan);
    if (!design.CompressorHouse)
        request.views.assign(AllViews.begin(), AllViews.end());
    return request;
}

// ---------------------------------------------------------------- one page

void DrawViewPage(Canvas& canvas, TPipeLoop& design, ViewKind view, const PageDrawing& drawing,
                  const QImage& logo)
{
    const PageGeometry& printer = *drawing.printerPage;
    const TPipeLoopOptions& options = design.Options;
    const double f = drawing.frame.factor(printer);

    const TitleBlockMetrics title =
        MeasureTitleBlock(canvas, design, logo, printer.dpiX, printer.dpiY, f);
    TDrawParams p = PrintDrawParams(design, view, drawing.scale, drawing.centre, drawing.frame,
                                    title.height(), drawing.symbols ? -1 : drawing.margin);
    if (!drawing.symbols) {
        p.DrawSymbols = false;
        p.SymbolNames = false;
    }

    // Names on the drawing are in the symbol label font, as it comes out on
    // the printer (scaled down with the page in the preview).
    Font labels = Font::fromSpec(options.SymbolLabelFont);
    labels.pixelHeight = std::max(1, Round(labels.heightInPixels(printer.dpiY) / f));
    canvas.setFont(labels);
    canvas.setPen({kBlack, 1, PenStyle::Solid});

    if (view == ViewKind::Plan) {
        if (options.DrawWalls) {
            if (options.PrintInColour) {
                const BrushStyle style = BrushStyleFromNumber(options.BuildingWallStyle());
                DrawBuildingWalls(canvas, p, options.BuildingWallColour, style, style);
            } else {
                DrawBuildingWalls(canvas, p, kBlack,
                                  BrushStyleFromNumber(options.BuildingWallStyle()),
                                  BrushStyle::ForwardDiagonal);
            }
            canvas.setPen({kBlack, 1, PenStyle::Solid});
        }
        DrawPlan(canvas, design, p);
        if (drawing.overlay)
            DrawPlanOverlay(canvas, *drawing.overlay, p);
    } else {
        DrawSection(canvas, design, p);
    }

    const QStringList rows = TitleBlockRows(design, view, drawing.scale, printer.paperWidthMm(),
                                            printer.paperHeightMm());
    DrawTitleBlock(canvas, drawing.frame.page, design, rows, logo, title);
}

// ---------------------------------------------------------------- the job

PrintResult PrintDesign(PrintTarget& target, TPipeLoop& design, const PrintSetup& setup,
                        const PrintRequest& request, const QImage& logo)
{
    const QImage picture = logo.isNull() ? ProgramLogo() : logo;
    PrintResult result;
    try {
        for (ViewKind view : request.views) {
            target.setLandscape(setup.Landscape(view));
            const PageGeometry geometry = target.geometry();
            const int32_t scale = setup.PrintScaling(view);
            if (!ViewFitsPage(design, view, scale, geometry)) {
                Ui().error(DoesNotFitMessage());
                result.refused.push_back(view);
                continue;
            }
            Canvas& canvas = target.beginPage();
            ++result.pages;
            PageDrawing drawing;
            drawing.printerPage = &geometry;
            drawing.frame = PageFrame::onPaper(geometry);
            drawing.scale = scale;
            drawing.centre = setup.PrintCenter;
            drawing.overlay = request.planOverlay.get();
            DrawViewPage(canvas, design, view, drawing, picture);
        }
        // The extra pages follow a printed view; a job whose every view was
        // refused prints nothing at all.
        if (result.pages > 0) {
            if (request.dropsPage)
                result.pages += PrintDropsPages(target, design);
            if (request.notes)
                result.pages += PrintNotesPages(target, design);
        }
    } catch (...) {
        result.completed = false;
        ReportError();
    }
    // A refused or failed page must not leave the job open at the printer.
    target.endJob();
    return result;
}

// ---------------------------------------------------------------- outputs

std::optional<QPageSize> PaperSizeFromName(const QString& name)
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
        const auto sizeId = QPageSize::PageSizeId(id);
        if (sizeId == QPageSize::Custom)
            continue;
        if (QPageSize::key(sizeId).compare(wanted, Qt::CaseInsensitive) == 0)
            return QPageSize(sizeId);
    }
    return std::nullopt;
}

namespace
{
QPageLayout PdfLayout(const PdfPage& page, bool landscape)
{
    const double m = page.unprintableMm;
    return QPageLayout(page.paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(m, m, m, m), QPageLayout::Millimeter);
}
} // namespace

PageGeometry PdfPageGeometry(const PdfPage& page, bool landscape)
{
    return PageGeometry::fromLayout(PdfLayout(page, landscape), page.dpi, page.dpi);
}

QByteArray PdfBytes(const QString& title, const PdfPage& page, bool landscape,
                    const PagePainter& paint)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(page.dpi);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("PIPELOOP ") + ProgramVersion());
        writer.setPageLayout(PdfLayout(page, landscape));
        painted = paint(writer);
    }
    buffer.close();
    return painted ? bytes : QByteArray();
}

PdfJob PrintToPdf(TPipeLoop& design, const PrintSetup& setup, const PrintRequest& request,
                  const PdfPage& page, const QImage& logo)
{
    PdfJob job;
    job.bytes = PdfBytes(PrintJobTitle(design), page, true, [&](QPagedPaintDevice& device) {
        PagedDeviceTarget target(device);
        job.result = PrintDesign(target, design, setup, request, logo);
        return job.result.pages > 0 && job.result.completed;
    });
    return job;
}

QString PdfOutputName()
{
    return QStringLiteral("Print to PDF");
}

std::vector<PrintOutput> AvailablePrintOutputs()
{
    std::vector<PrintOutput> outputs;
    for (const QString& name : QPrinterInfo::availablePrinterNames())
        outputs.push_back({PrintOutput::Kind::Printer, name});
    // Qt writes PDF itself, with or without a printing system.
    outputs.push_back({PrintOutput::Kind::PdfFile, PdfOutputName()});
    return outputs;
}

bool CheckPrintOutputs(const std::vector<PrintOutput>& outputs)
{
    if (!outputs.empty())
        return true;
    Ui().error(NoPrintersMessage());
    return false;
}

std::unique_ptr<QPrinter> OutputPrinter(const PrintOutput& output)
{
    // A printer saved by name that has gone away gives way to the current
    // (default) printer.
    QPrinterInfo info = QPrinterInfo::printerInfo(output.name);
    if (info.isNull())
        info = QPrinterInfo::defaultPrinter();
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

PageGeometry OutputPageGeometry(const PrintOutput& output, bool landscape)
{
    if (output.kind == PrintOutput::Kind::PdfFile)
        return PdfPageGeometry(PdfPage(), landscape);
    const std::unique_ptr<QPrinter> printer = OutputPrinter(output);
    PagedDeviceTarget target(*printer);
    target.setLandscape(landscape);
    return target.geometry();
}

namespace
{
bool PrintOnPrinter(const PrintOutput& output, const QString& title, bool landscape,
                    const PagePainter& paint)
{
    const std::unique_ptr<QPrinter> printer = OutputPrinter(output);
    printer->setDocName(title);
    printer->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (!printer->isValid()) {
        Ui().error(NoPrintersMessage());
        return false;
    }
    return paint(*printer);
}

bool PrintOnPdfFile(const QString& path, const QString& title, const PdfPage& page, bool landscape,
                    const PagePainter& paint)
{
    const QByteArray bytes = PdfBytes(title, page, landscape, paint);
    if (bytes.isEmpty())
        return false;
    if (const std::optional<QString> failure = SaveAtomically(path, bytes)) {
        Ui().error(*failure);
        return false;
    }
    return true;
}
} // namespace

bool PrintOn(const PrintDestination& destination, const QString& title, const PdfPage& pdfPage,
             bool landscape, const PagePainter& paint)
{
    try {
        return destination.output.kind == PrintOutput::Kind::PdfFile
                   ? PrintOnPdfFile(destination.pdfPath, title, pdfPage, landscape, paint)
                   : PrintOnPrinter(destination.output, title, landscape, paint);
    } catch (...) {
        ReportError();
        return false;
    }
}

bool PrintToOutput(const PrintDestination& destination, TPipeLoop& design, const PrintSetup& setup,
                   const PrintRequest& request, const QImage& logo)
{
    const QString title =
        design.Description.isEmpty() ? QStringLiteral("PIPELOOP") : PrintJobTitle(design);
    return PrintOn(destination, title, PdfPage(), true, [&](QPagedPaintDevice& device) {
        PagedDeviceTarget target(device);
        return PrintDesign(target, design, setup, request, logo).completed;
    });
}

} // namespace pipeloop
