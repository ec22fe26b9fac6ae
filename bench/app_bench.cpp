// The desktop program's two speed promises, each against a baseline in the
// same run:
// - start-up: a main window made, the demo catalogue and the factory sample
//   loaded and the plan painted, against loading the sample alone;
// - repaint: the visible part of the factory plan painted in the window at
//   zooms from 5 to 250, against drawing the same area into a picture.
// The window runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "BenchSupport.h"

#include "AppDialogs.h"
#include "DesignView.h"
#include "DrawingArea.h"
#include "MainForm.h"
#include "PipeLoop.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"
#include "ScriptedUi.h"
#include "SettingsStore.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QScrollArea>

#include <memory>

using namespace pipeloop;

namespace
{

QString FactorySample()
{
    return bench::RepositoryFile(QStringLiteral("data/samples/factory.plf"));
}

// The program's folder, where the build packs the demo catalogue.
QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../apps/pipeloop");
}

// A main window with its own settings, opened on the factory sample.
struct Window {
    MemorySettingsStore settings;
    WidgetAppDialogs dialogs;
    TMainForm form{settings, dialogs, ProgramFolder()};

    Window()
    {
        form.resize(1280, 900);
        form.show();
        form.FirstActivation(FactorySample());
    }
};

void StartUp(benchmark::State& state)
{
    for (auto _ : state) {
        Window window;
        window.form.view().drawingArea()->repaint();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(StartUp)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void LoadOnly(benchmark::State& state)
{
    for (auto _ : state) {
        TPipeLoopOptions options;
        PrintSetup printSetup;
        ZoomFactors zoom = InitialZoomFactors;
        ProjectLoad load = OpenProject(FactorySample(), options, printSetup, zoom);
        benchmark::DoNotOptimize(load);
    }
}
BENCHMARK(LoadOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// One window for every repaint, closed before the application ends.
std::unique_ptr<Window> shared;

Window& SharedWindow()
{
    if (!shared)
        shared = std::make_unique<Window>();
    return *shared;
}

const int Zooms[] = {5, 20, 100, 250};

void Repaint(benchmark::State& state, int zoom)
{
    Window& window = SharedWindow();
    window.form.view().setZoom(zoom);
    QCoreApplication::processEvents();
    PaintBox* area = window.form.view().drawingArea();
    const QRect visible = area->visibleRegion().boundingRect();
    for (auto _ : state)
        area->repaint(visible);
    state.counters["pixels"] = double(visible.width()) * visible.height();
}

// The same visible area drawn straight into a picture through the render
// layer, as the command line's render does.
void PictureOfTheSameArea(benchmark::State& state, int zoom)
{
    Window& window = SharedWindow();
    window.form.view().setZoom(zoom);
    QCoreApplication::processEvents();
    const QRect visible = window.form.view().drawingArea()->visibleRegion().boundingRect();
    TPipeLoop& design = *window.form.document().design();
    const ScreenGeometry geometry = ScreenViewGeometry(
        design, ViewKind::Plan, zoom, window.form.logicalDpiX(), window.form.logicalDpiY());
    QImage picture(visible.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&picture);
        painter.translate(-visible.topLeft());
        QPainterCanvas canvas(painter);
        PaintDesignView(canvas, design, geometry.params);
    }
}

} // namespace

int main(int argc, char** argv)
{
    bench::UseOffscreenPlatformByDefault();
    QApplication app(argc, argv);
    testing::ScriptedUi ui; // a message box would wait for a person
    for (const int zoom : Zooms) {
        const std::string suffix = "/zoom" + std::to_string(zoom);
        for (auto [name, function] : {std::pair{"Repaint", &Repaint},
                                      std::pair{"PictureOfTheSameArea", &PictureOfTheSameArea}})
            benchmark::RegisterBenchmark((name + suffix).c_str(), function, zoom)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
    }
    bench::MedianReporter reporter;
    bench::RunBenchmarks(argc, argv, reporter);
    shared.reset();
    const auto ms = [&reporter](const std::string& name) {
        const auto* median = reporter.find(name);
        return median ? median->real * 1e3 : -1.0;
    };
    std::printf("start-up to a painted factory plan: %.1f ms (limit 1000 ms); loading the "
                "project alone: %.1f ms\n",
                ms("StartUp"), ms("LoadOnly"));
    for (const int zoom : Zooms)
        std::printf("zoom %-3d repaint of the visible plan: %.2f ms (limit 30 ms); the same area "
                    "into a picture: %.2f ms\n",
                    zoom, ms("Repaint/zoom" + std::to_string(zoom)),
                    ms("PictureOfTheSameArea/zoom" + std::to_string(zoom)));
    return 0;
}
