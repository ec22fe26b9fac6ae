#pragma once

// Printing a design: one view per page to scale with its title block, then
// optionally the drops page and the notes pages, as one job on any paged
// device (a printer chosen by name, a PDF) through the Canvas.

#include "Canvas.h"
#include "ModelTypes.h"
#include "PlanOverlay.h"
#include "print/PrintLayout.h"

#include <QByteArray>
#include <QImage>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPrinter;

namespace pipeloop
{

class PrintSetup;
class TPipeLoop;

// "Required print scale means drawing does not fit on page."
QString DoesNotFitMessage();
// "There are no printers installed on this computer."
QString NoPrintersMessage();

// Where a job goes, page by page. Orientation is set before the page it is
// for begins; the first page begins the job.
class PrintTarget
{
public:
    virtual ~PrintTarget() = default;

    // The orientation of the next page to begin.
    virtual void setLandscape(bool landscape) = 0;
    // The geometry of the next (or current) page.
    virtual PageGeometry geometry() const = 0;
    // Begins a page (the first one begins the job) and returns its canvas.
    virtual Canvas& beginPage() = 0;
    // Ends the job; nothing is printed when no page was begun.
    virtual void endJob() = 0;
};

// A printer or a PDF writer: pages begun with newPage(), drawn through a
// QPainterCanvas. The painter is begun with the first page, so the first
// page's orientation is the one set before it.
class PagedDeviceTarget final : public PrintTarget
{
public:
    explicit PagedDeviceTarget(QPagedPaintDevice& device);
    ~PagedDeviceTarget() override;

    void setLandscape(bool landscape) override;
    PageGeometry geometry() const override;
    Canvas& beginPage() override;
    void endJob() override;

private:
    QPagedPaintDevice& m_device;
    std::unique_ptr<Canvas> m_canvas;
    bool m_ended = false;
};

// The title a job carries to the print queue and into a PDF's document
// information: the design's Description, cut to MaxJobTitle characters and
// an ellipsis when longer (a title is a line, whatever the field holds).
inline constexpr qsizetype MaxJobTitle = 255;
QString PrintJobTitle(const TPipeLoop& design);

// What a job prints.
struct PrintRequest {
    // The views, one page each, in this order.
    std::vector<ViewKind> views;
    // The extra pages after the last view.
    bool dropsPage = false;
    bool notes = false;
    // Drawn over the plan's page when given.
    std::shared_ptr<const PlanOverlay> planOverlay;

    // "Print View": the view alone. "Print All Views": plan, north, east,
    // south and west, or the plan alone for a compressor house. The extra
    // pages as the options ("PrintDropsPage", "PrintNotes") say.
    static PrintRequest view(const TPipeLoop& design, ViewKind view);
    static PrintRequest allViews(const TPipeLoop& design);
};

struct PrintResult {
    // Pages begun, extra pages included.
    int pages = 0;
    // Views refused by the fit test (each shown as DoesNotFitMessage()).
    std::vector<ViewKind> refused;
    // False when the job failed (reported through the common error report).
    bool completed = true;

    bool ok() const { return completed && refused.empty(); }
};

// Prints the request as one job on the target. Each view's page takes the
// view's orientation; a view that does not fit at its scale shows
// DoesNotFitMessage() and gets no page (the job goes on and is always
// ended). The logo is printed unless the no-logo option is on; a null
// picture prints the program's own logo. Sections mark the objects they
// draw (DrawnInView), as on screen.
PrintResult PrintDesign(PrintTarget& target, TPipeLoop& design, const PrintSetup& setup,
                        const PrintRequest& request, const QImage& logo = QImage());

// The page of one view drawn on the canvas into frame: walls on the plan
// ("DrawWalls"), the plan or the section, the title block over the page.
// Used by the printer (the frame is the page at the printer's resolution)
// and by the preview (the page reduced). symbols false draws no symbols and
// names and uses margin (the preview's page outline).
struct PageDrawing {
    const PageGeometry* printerPage = nullptr;
    PageFrame frame;
    int32_t scale = 150;
    bool centre = true;
    bool symbols = true;
    int margin = -1;                      // -1: the printed symbol size
    const PlanOverlay* overlay = nullptr; // over the plan
};
void DrawViewPage(Canvas& canvas, TPipeLoop& design, ViewKind view, const PageDrawing& drawing,
                  const QImage& logo);

// --- outputs ---------------------------------------------------------------

// A paper size of a name such as "A4", "A3", "Letter" (any case); nothing for
// an unknown name.
std::optional<QPageSize> PaperSizeFromName(const QString& name);

// How a PDF is laid out: paper, and the printer-like margin that is left
// unprinted on every side (5 mm, as a typical office printer, which makes an
// A4 sheet 200.0 x 287.0 mm printable).
struct PdfPage {
    QPageSize paper = QPageSize(QPageSize::A4);
    double unprintableMm = 5.0;
    int dpi = 600;
};

// The page a PdfPage gives in an orientation, as the PDF writer will lay it out.
PageGeometry PdfPageGeometry(const PdfPage& page, bool landscape);

// The job as a PDF file's bytes; the title is the design's Description.
// Empty when no page was printed.
struct PdfJob {
    QByteArray bytes;
    PrintResult result;
};
PdfJob PrintToPdf(TPipeLoop& design, const PrintSetup& setup, const PrintRequest& request,
                  const PdfPage& page, const QImage& logo = QImage());

// The outputs a print command may offer: every installed printer by name,
// then printing to a PDF file, which Qt provides on every system.
struct PrintOutput {
    enum class Kind { Printer, PdfFile };
    Kind kind = Kind::Printer;
    QString name;
};
std::vector<PrintOutput> AvailablePrintOutputs();
QString PdfOutputName(); // "Print to PDF"

// Whether there is any output to print to; shows NoPrintersMessage() when
// there is none (neither a printer nor PDF output).
bool CheckPrintOutputs(const std::vector<PrintOutput>& outputs);

// The device a printer output prints on: the installed printer of that name,
// or the default printer when none of that name is installed.
std::unique_ptr<QPrinter> OutputPrinter(const PrintOutput& output);
// The page the output prints in that orientation: what the preview and the
// fit test of the print setup window measure against.
PageGeometry OutputPageGeometry(const PrintOutput& output, bool landscape);

// Where one print job goes: an output, and for PDF the file it writes.
struct PrintDestination {
    PrintOutput output;
    QString pdfPath;
};

// Draws a job's pages on a paged device; false once it has reported a failure.
using PagePainter = std::function<bool(QPagedPaintDevice& device)>;

// The job's pages made in memory as a PDF on that page, starting in that
// orientation; empty when paint failed.
QByteArray PdfBytes(const QString& title, const PdfPage& page, bool landscape,
                    const PagePainter& paint);

// The one way every window prints: on the installed printer the destination
// names, or as a PDF on pdfPage made in memory and written to the
// destination's file whole or not at all. False when nothing was printed;
// every failure is reported.
bool PrintOn(const PrintDestination& destination, const QString& title, const PdfPage& pdfPage,
             bool landscape, const PagePainter& paint);

// The design's job on a destination; a PDF is laid out as PdfPage's defaults.
bool PrintToOutput(const PrintDestination& destination, TPipeLoop& design, const PrintSetup& setup,
                   const PrintRequest& request, const QImage& logo = QImage());

} // namespace pipeloop
