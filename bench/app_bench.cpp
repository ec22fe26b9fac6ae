// The desktop program's speed promises, each against a baseline in the
// same run:
// - start-up: a main window made, the demo catalogue and the factory sample
//   loaded and the plan painted, against loading the sample alone;
// - repaint: the visible part of the factory plan painted in the window at
//   zooms from 5 to 250, against drawing the same area into a picture;
// - an edit: a command pushed on the document, with the repaint and the
//   command refresh its signals bring, against the repaint alone;
// - a drag: one preview step of the move tool (the mouse moved with the
//   button held: the selection dragged, the window repainted), against the
//   repaint alone.
// The window runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "BenchSupport.h"

#include "AppDialogs.h"
#include "DesignView.h"
#include "Document.h"
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
#include "ToolManager.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
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

// The window at the factory's own plan zoom, for the editing benchmarks.
Window& EditingWindow()
{
    Window& window = SharedWindow();
    window.form.view().setView(ViewKind::Plan);
    window.form.view().setZoom(250);
    QCoreApplication::processEvents();
    return window;
}

void RepaintOnly(benchmark::State& state)
{
    Window& window = EditingWindow();
    for (auto _ : state)
        window.form.view().repaintNow();
}
BENCHMARK(RepaintOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A drop's label changed, one undo step each time: the document's signals
// repaint the drawing and refresh the commands.
void PushAndRepaint(benchmark::State& state)
{
    Window& window = EditingWindow();
    Document& document = window.form.document();
    TDrop& drop = *document.design()->Drops.front();
    const QString names[] = {drop.Name, drop.Name + QStringLiteral("X")};
    int next = 1;
    for (auto _ : state) {
        const QString name = names[next];
        document.changeObject(drop, QStringLiteral("Label"),
                              [&name](TPipeLoopObject& object) { object.Name = name; });
        next = 1 - next;
    }
    document.undoStack().clear();
    drop.Name = names[0];
}
BENCHMARK(PushAndRepaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void SendMouse(QWidget* area, QEvent::Type type, QPoint pixel, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(pixel), QPointF(area->mapToGlobal(pixel)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(area, &event);
}

// The mouse held on a drop and moved to and fro: each step is the move
// tool's preview, the dragged drop drawn where the pointer is.
void DragPreviewStep(benchmark::State& state)
{
    Window& window = EditingWindow();
    DesignView& view = window.form.view();
    const TDrop& drop = *window.form.document().design()->Drops.front();
    const QPoint press(18 + int(drop.EW * view.pixelsPerMmX()),
                       18 + int(drop.NS * view.pixelsPerMmY()));
    QWidget* area = view.drawingArea();
    SendMouse(area, QEvent::MouseButtonPress, press, Qt::LeftButton);
    SendMouse(area, QEvent::MouseMove, press + QPoint(1, 1), Qt::LeftButton);
    if (!window.form.tools().active()) {
        state.SkipWithError("the press on the drop started no drag");
        return;
    }
    int step = 0;
    for (auto _ : state) {
        step = step % 20 + 1;
        SendMouse(area, QEvent::MouseMove, press + QPoint(step, step), Qt::LeftButton);
    }
    // Released where it was pressed: the drag moves nothing.
    SendMouse(area, QEvent::MouseButtonRelease, press, Qt::NoButton);
    window.form.document().undoStack().clear();
}
BENCHMARK(DragPreviewStep)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

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
    std::printf("a command pushed and the plan repainted: %.2f ms (limit 5 ms); the repaint "
                "alone: %.2f ms\n",
                ms("PushAndRepaint"), ms("RepaintOnly"));
    std::printf("a drag's preview step: %.2f ms (limit 16 ms, 60 frames a second); the repaint "
                "alone: %.2f ms\n",
                ms("DragPreviewStep"), ms("RepaintOnly"));
    return 0;
}
