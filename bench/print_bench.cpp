// Printing every view of the large sample (data/samples/factory.plf, 302
// objects) to PDF must take under a second. The time per page is compared in
// the same run with a baseline: the same pages drawn by the same routine onto
// an in-memory picture of the page at 150 dpi, which is what any screen-side
// drawing of the sheet costs. The PDF pays for the writer (paths, text, the
// compressed page streams) on top of the drawing.
//
// A description of a megabyte must cost no more than a short one: the same
// job with the sample's description replaced by 1 MB of text runs in the
// same process, and their ratio is printed (1 when the text costs nothing).
//
// Prints the median process CPU time per page of each, their ratio, and the
// wall time of a whole job; exits non-zero when the all-views PDF job takes a
// second or more.

#include "BenchSupport.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "print/PagePrinter.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <utility>

namespace
{

using namespace pipeloop;
using namespace pipeloop::bench;

QString SamplePath()
{
    return RepositoryFile(QStringLiteral("data/samples/factory.plf"));
}

// The sample with every view at its best-fit scale on landscape A4 (at
// 1:150 the 60 m factory does not fit).
struct Sample {
    Sample()
    {
        ProjectLoad load = OpenProject(SamplePath(), options, setup, zoom);
        if (!load)
            return;
        load.Apply(design, options, setup, zoom);
        for (ViewKind view : AllViews)
            setup.SetPrintScaling(
                view, BestFitScaleForPage(*design, view, PdfPageGeometry(PdfPage(), true)));
    }
    TPipeLoopOptions options;
    PrintSetup setup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;
};

Sample& TheSample()
{
    static Sample sample;
    return sample;
}

// The sample's description replaced for the life of the object.
class DescriptionOf
{
public:
    DescriptionOf(TPipeLoop& design, const QString& description)
        : m_design(design), m_saved(std::exchange(design.Description, description))
    {
    }
    ~DescriptionOf() { m_design.Description = m_saved; }
    DescriptionOf(const DescriptionOf&) = delete;
    DescriptionOf& operator=(const DescriptionOf&) = delete;

private:
    TPipeLoop& m_design;
    QString m_saved;
};

constexpr qsizetype Megabyte = 1024 * 1024;

void BM_PdfJob(benchmark::State& state, bool extras, qsizetype descriptionLength)
{
    Sample& sample = TheSample();
    const DescriptionOf description(*sample.design, descriptionLength > 0
                                                        ? QString(descriptionLength, u'D')
                                                        : sample.design->Description);
    PrintRequest request = PrintRequest::allViews(*sample.design);
    request.dropsPage = extras;
    request.notes = extras;
    int pages = 0;
    size_t bytes = 0;
    for (auto _ : state) {
        const PdfJob job = PrintToPdf(*sample.design, sample.setup, request, PdfPage());
        pages = job.result.pages;
        bytes = size_t(job.bytes.size());
        benchmark::DoNotOptimize(job.bytes.data());
    }
    state.counters["pages"] = pages;
    state.counters["kB"] = double(bytes) / 1024.0;
}

// The baseline: the same view pages drawn onto a picture of the page.
void BM_ImagePages(benchmark::State& state)
{
    Sample& sample = TheSample();
    PdfPage paper;
    paper.dpi = 150;
    const PageGeometry geometry = PdfPageGeometry(paper, true);
    QImage image(geometry.printableWidth(), geometry.printableHeight(), QImage::Format_RGB32);
    image.setDotsPerMeterX(int(150 / 0.0254));
    image.setDotsPerMeterY(int(150 / 0.0254));
    const QImage logo(600, 300, QImage::Format_RGB32);
    for (auto _ : state) {
        for (ViewKind view : AllViews) {
            image.fill(Qt::white);
            QPainterCanvas canvas(&image);
            canvas.setAntialiasing(true);
            PageDrawing drawing;
            drawing.printerPage = &geometry;
            drawing.frame = PageFrame::onPaper(geometry);
            drawing.scale = sample.setup.PrintScaling(view);
            DrawViewPage(canvas, *sample.design, view, drawing, logo);
        }
    }
    state.counters["pages"] = 5;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenPlatformByDefault();
    QGuiApplication app(argc, argv);
    if (!TheSample().design) {
        std::fprintf(stderr, "cannot load %s\n", qPrintable(SamplePath()));
        return 2;
    }

    const auto configure = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime()
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    };
    configure(benchmark::RegisterBenchmark("pdf/all-views", BM_PdfJob, false, 0));
    configure(
        benchmark::RegisterBenchmark("pdf/all-views/1MB-description", BM_PdfJob, false, Megabyte));
    configure(benchmark::RegisterBenchmark("pdf/all-views+drops+notes", BM_PdfJob, true, 0));
    configure(benchmark::RegisterBenchmark("image/all-views", BM_ImagePages));
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);

    const auto* pdf = reporter.find("pdf/all-views");
    const auto* longDescription = reporter.find("pdf/all-views/1MB-description");
    const auto* extras = reporter.find("pdf/all-views+drops+notes");
    const auto* image = reporter.find("image/all-views");
    if (pdf && longDescription)
        std::printf("all views with a 1 MB description: %.1f ms CPU, %.0f kB, against %.1f ms, "
                    "%.0f kB with the sample's own: ratio %.2f\n",
                    longDescription->cpu * 1e3, longDescription->counter("kB", 0.0), pdf->cpu * 1e3,
                    pdf->counter("kB", 0.0), longDescription->cpu / pdf->cpu);
    if (!pdf || !image)
        return 0; // filtered out
    // Each job's page count, from its counter (1 where a job has none).
    const auto pages = [](const MedianReporter::Median* job) { return job->counter("pages", 1.0); };
    const double pdfPage = pdf->cpu / pages(pdf);
    const double imagePage = image->cpu / pages(image);
    std::printf("median process CPU time per page: PDF %.2f ms, in-memory picture %.2f ms, "
                "ratio %.2f\n",
                pdfPage * 1e3, imagePage * 1e3, pdfPage / imagePage);
    std::printf("all views to PDF: %.0f pages in %.1f ms wall", pages(pdf), pdf->real * 1e3);
    if (extras)
        std::printf("; with drops and notes pages: %.0f pages in %.1f ms wall (%.2f ms a page)",
                    pages(extras), extras->real * 1e3, extras->cpu / pages(extras) * 1e3);
    const bool fast = pdf->real < 1.0;
    std::printf("%s\n", fast ? "" : ", OVER 1 s");
    return fast ? 0 : 1;
}
