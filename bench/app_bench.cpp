// The desktop program's speed promises, each against a baseline in the
// same run:
// - start-up: a main window made, the demo catalogue and the factory sample
//   loaded and the plan painted, against loading the sample alone;
// - repaint: the visible part of the factory plan painted in the window at
//   zooms from 5 to 250, against drawing the same area into a picture;
// - an edit: a command pushed on the document, with the repaint and the
//   command refresh its signals bring, against the repaint alone;
// - an addition: a valve or a drop clicked onto the factory's loop (placed
//   on the pipe, its position checked, added as one undo step) with the
//   repaint it brings, against the repaint alone;
// - a drag: one preview step of the move tool (the mouse moved with the
//   button held: the selection dragged, the window repainted), against the
//   repaint alone.
// - a hostile loop: the factory with its loop replaced by 12 000 dense
//   elbows (a serpentine filling the building), opened at 1:20 so that most
//   of it lies off screen, against loading it alone; and repainted at 1:20
//   and at 1:250, where all of it shows.
// - the 3D window: the factory turned by dragging in its drawing, each step
//   repainted, against the repaint alone at one bearing.
// The window runs on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise.

#include "BenchSupport.h"

#include "Additions.h"
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
#include "View3DForm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <optional>

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

// The factory with its loop replaced by a serpentine of 12 000 elbows 9 mm
// apart running the building's length, saved with the plan at 1:20.
class DenseLoopProject
{
public:
    static constexpr int Elbows = 12000;

    DenseLoopProject()
    {
        TPipeLoopOptions options;
        PrintSetup printSetup;
        ZoomFactors zoom = InitialZoomFactors;
        ProjectLoad load = OpenProject(FactorySample(), options, printSetup, zoom);
        if (!load)
            return;
        std::unique_ptr<TPipeLoop> design;
        load.Apply(design, options, printSetup, zoom);
        design->Elbows.clear();
        const int32_t north = 1000;
        const int32_t south = design->RoomNS - 1000;
        for (int i = 0; i < Elbows - 1; ++i) {
            const int32_t ew = 1000 + (i / 2) * 9;
            const bool southward = (i / 2) % 2 == 0;
            const bool first = i % 2 == 0;
            design->AddElbow({southward == first ? north : south, ew, design->Height});
        }
        design->AddElbow(design->Elbows.front()->position());
        zoom[size_t(ViewKind::Plan)] = 20;
        const QString path = m_folder.filePath(QStringLiteral("dense-loop.plf"));
        if (SaveProject(*design, options, printSetup, zoom, path))
            m_path = path;
    }
    // Empty when the factory sample could not be read or the project not written.
    const QString& path() const { return m_path; }

private:
    QTemporaryDir m_folder;
    QString m_path;
};

QString DenseLoopSample()
{
    static DenseLoopProject project;
    return project.path();
}

// A main window with its own settings, opened on a project.
struct Window {
    MemorySettingsStore settings;
    WidgetAppDialogs dialogs;
    TMainForm form{settings, dialogs, ProgramFolder()};

    explicit Window(const QString& project = FactorySample())
    {
        form.resize(1280, 900);
        form.show();
        form.FirstActivation(project);
    }
};

void StartUp(benchmark::State& state, QString (*project)())
{
    const QString path = project();
    for (auto _ : state) {
        Window window(path);
        window.form.view().drawingArea()->repaint();
        QCoreApplication::processEvents();
    }
}

void LoadOnly(benchmark::State& state, QString (*project)())
{
    const QString path = project();
    for (auto _ : state) {
        TPipeLoopOptions options;
        PrintSetup printSetup;
        ZoomFactors zoom = InitialZoomFactors;
        ProjectLoad load = OpenProject(path, options, printSetup, zoom);
        benchmark::DoNotOptimize(load);
    }
}

// The dense loop's window at a zoom, its visible area repainted: at 1:20 a
// sliver of the loop shows, at 1:250 all of it.
// The window's visible area at a zoom, repainted for every iteration.
void RepaintVisible(benchmark::State& state, Window& window, int zoom)
{
    window.form.view().setZoom(zoom);
    QCoreApplication::processEvents();
    PaintBox* area = window.form.view().drawingArea();
    const QRect visible = area->visibleRegion().boundingRect();
    for (auto _ : state)
        area->repaint(visible);
    state.counters["pixels"] = double(visible.width()) * visible.height();
}

void RepaintDenseLoop(benchmark::State& state, int zoom)
{
    Window window(DenseLoopSample());
    RepaintVisible(state, window, zoom);
}

// One window for every repaint, closed before the application ends.
std::unique_ptr<Window> shared;

Window& SharedWindow()
{
    if (!shared)
        shared = std::make_unique<Window>();
    return *shared;
}

const int Zooms[] = {5, 20, 100, 250};
const int DenseLoopZooms[] = {20, 250};

void Repaint(benchmark::State& state, int zoom)
{
    RepaintVisible(state, SharedWindow(), zoom);
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

// The factory's 3D window at 800 × 600, showing.
TView3DForm& View3DWindow()
{
    Window& window = EditingWindow();
    TView3DForm& view3D = window.form.view3DForm();
    if (!view3D.isVisible())
        window.form.toggleView3D();
    view3D.resize(800, 600);
    QCoreApplication::processEvents();
    return view3D;
}

void Repaint3DOnly(benchmark::State& state)
{
    QWidget* drawing = View3DWindow().drawing();
    for (auto _ : state)
        drawing->repaint();
}
BENCHMARK(Repaint3DOnly)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The left button held in the 3D drawing and the mouse moved across it: each
// step turns the model and repaints it, as the user sees while dragging.
void Turn3DByDragging(benchmark::State& state)
{
    TView3DForm& view3D = View3DWindow();
    QWidget* drawing = view3D.drawing();
    const QPoint start = drawing->rect().center();
    const auto send = [drawing](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(drawing->mapToGlobal(at)),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(drawing, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    const float before = view3D.bearing();
    int step = 0;
    for (auto _ : state) {
        step = step % 100 + 1;
        send(QEvent::MouseMove, start + QPoint(step * 3, 0), Qt::LeftButton);
        drawing->repaint();
    }
    send(QEvent::MouseButtonRelease, start, Qt::NoButton);
    if (view3D.bearing() == before)
        state.SkipWithError("dragging did not turn the view");
}
BENCHMARK(Turn3DByDragging)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Where a click on the factory's loop adds an object: the spot of its first
// run nearest the run's middle that the position check allows.
std::optional<Position> FreeLoopPoint(const TPipeLoop& design)
{
    if (design.Elbows.size() < 2)
        return std::nullopt;
    const Position from = design.Elbows[0]->position();
    const Position to = design.Elbows[1]->position();
    for (int step = 0; step < 99; ++step) {
        const int percent = 50 + (step % 2 ? 1 : -1) * ((step + 1) / 2);
        const auto along = [percent](int32_t a, int32_t b) {
            return a + int32_t(int64_t(b - a) * percent / 100);
        };
        const Parsed<Position> placed =
            PipePlacement(design, MakePosition(along(from.NS, to.NS), along(from.EW, to.EW)));
        if (placed)
            return placed.value();
    }
    return std::nullopt;
}

// A click on the loop that adds an object: the placement with its position
// check, the addition as one undo step and the repaint and command refresh
// the document's signals bring. The addition is undone outside the timing.
void AddAndRepaint(benchmark::State& state, bool (*add)(Document&, const Position&))
{
    Window& window = EditingWindow();
    Document& document = window.form.document();
    const std::optional<Position> clicked = FreeLoopPoint(*document.design());
    if (!clicked) {
        state.SkipWithError("no free point on the factory's first loop run");
        return;
    }
    for (auto _ : state) {
        const Parsed<Position> placed = PipePlacement(*document.design(), *clicked);
        if (!placed || !add(document, placed.value())) {
            state.SkipWithError("the addition was refused");
            break;
        }
        state.PauseTiming();
        document.undo();
        state.ResumeTiming();
    }
    document.undoStack().clear();
}

bool AddNewDrop(Document& document, const Position& at)
{
    return AddDrop(document, NewDrop(*document.design()), at);
}

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
    if (DenseLoopSample().isEmpty()) {
        std::fprintf(stderr, "cannot make the dense loop from %s\n", qPrintable(FactorySample()));
        return 2;
    }
    for (auto [name, project] :
         {std::pair{"", &FactorySample}, std::pair{"/dense-loop", &DenseLoopSample}}) {
        for (auto [what, function] :
             {std::pair{"StartUp", &StartUp}, std::pair{"LoadOnly", &LoadOnly}})
            benchmark::RegisterBenchmark((what + std::string(name)).c_str(), function, project)
                ->Unit(benchmark::kMillisecond)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
    }
    for (auto [name, add] : {std::pair{"AddAndRepaint/valve", &AddValve},
                             std::pair{"AddAndRepaint/drop", &AddNewDrop}})
        benchmark::RegisterBenchmark(name, AddAndRepaint, add)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    for (const int zoom : DenseLoopZooms)
        benchmark::RegisterBenchmark(("Repaint/dense-loop/zoom" + std::to_string(zoom)).c_str(),
                                     RepaintDenseLoop, zoom)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
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
    for (const char* what : {"valve", "drop"})
        std::printf("a %s clicked onto the loop, added and the plan repainted: %.2f ms (limit "
                    "10 ms); the repaint alone: %.2f ms\n",
                    what, ms(std::string("AddAndRepaint/") + what), ms("RepaintOnly"));
    std::printf("a drag's preview step: %.2f ms (limit 16.7 ms, 60 frames a second); the repaint "
                "alone: %.2f ms\n",
                ms("DragPreviewStep"), ms("RepaintOnly"));
    std::printf("%d-elbow dense loop at 1:20: start-up to a painted plan %.1f ms; loading the "
                "project alone: %.1f ms\n",
                DenseLoopProject::Elbows, ms("StartUp/dense-loop"), ms("LoadOnly/dense-loop"));
    for (const int zoom : DenseLoopZooms)
        std::printf("dense loop at 1:%d: repaint of the visible plan %.2f ms\n", zoom,
                    ms("Repaint/dense-loop/zoom" + std::to_string(zoom)));
    const double turn = ms("Turn3DByDragging");
    std::printf("the factory turned in the 3D window by dragging: %.2f ms a frame, %.0f frames a "
                "second (at least 30); the repaint alone: %.2f ms\n",
                turn, turn > 0 ? 1000.0 / turn : 0.0, ms("Repaint3DOnly"));
    return 0;
}
