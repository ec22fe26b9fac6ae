// Drawing the plan and each section of a design of 5 000 objects into a
// 2000 × 1500 image (the screen's paint: white, walls, grid, the view) must
// take under 25 ms per view, and a section no longer than the plan; the same
// views of a design ten times smaller, run in the same process as the
// baseline, under 5 ms; and the cost must grow at most linearly.
//
// The fixed cost of a view, what the same image costs with an empty building
// of the small design's size (clearing, walls, grid), is measured beside them.
//
// Prints the median process CPU time per view (Qt fills large areas on its
// thread pool, which the drawing thread waits for) and the wall time of each
// size, the fixed cost, and the ratio large / small (10 for strictly linear
// growth; less, as clearing the image costs the same for both); exits
// non-zero when a view misses its time, a section takes longer than the plan
// or the ratio exceeds 10.

#include "BenchSupport.h"
#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "Rounding.h"
#include "ScreenView.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{

using namespace pipeloop;
using namespace pipeloop::bench;

constexpr int ImageWidth = 2000;
constexpr int ImageHeight = 1500;

// Objects of each kind; a design of 5 000 and one of 500.
struct DesignSize {
    int cornersPerSide; // the north side is stepped, the south side straight
    int drops;
    int drains;
    int valves;
    int inlets;
    int spurs;
    int features;
    bool empty = false; // the building alone, no loop and no objects
    int total() const
    {
        return empty ? 0
                     : 2 * cornersPerSide + 1 + drops + drains + valves + inlets + spurs + features;
    }
};

constexpr DesignSize Large{200, 3000, 300, 300, 49, 600, 350};
constexpr DesignSize Small{20, 300, 30, 30, 4, 60, 35};
constexpr DesignSize Empty{Small.cornersPerSide, 0, 0, 0, 0, 0, 0, true};

const QStringList kStacks[] = {
    {QStringLiteral("2-PORT-OUTLET"), QStringLiteral("FRL")},
    {QStringLiteral("1-PORT-OUTLET"), QStringLiteral("REGULATOR"), QStringLiteral("FILTER")},
    {QStringLiteral("GAUGE"), QStringLiteral("COUPLER"), QStringLiteral("AIR-HOSE"),
     QStringLiteral("COUPLER")},
};

// A building that grows with the design (1.5 m of length a north corner):
// the loop runs east along a stepped north side and back west along a south
// side with its corners in a row; drops (a third of them with a hose),
// drains, valves, inlets and the starts of spurs stand on its runs; machines
// and plant fill the middle.
struct Design {
    explicit Design(const DesignSize& size) : loop(options)
    {
        std::mt19937 random(2024);
        const int32_t step = 1500;
        const int n = size.cornersPerSide;
        loop.RoomEW = n * step + 2000;
        loop.RoomNS = loop.RoomEW / 2;
        loop.RoomHG = 8000;
        loop.Height = 6000;
        if (size.empty)
            return;
        const int32_t h = loop.Height;
        const int32_t south = loop.RoomNS - 1000;
        for (int i = 0; i < n; ++i) { // north side, eastwards, in steps
            const int32_t ew = 1000 + (i / 2) * 2 * step;
            const int32_t ns = ((i + 1) / 2) % 2 ? 1800 : 1000;
            loop.AddElbow({ns, ew, h});
        }
        const int32_t east = 1000 + ((n - 1) / 2) * 2 * step;
        loop.AddElbow({south, east, h});
        for (int i = 0; i < n - 1; ++i) // south side, westwards, corners in a row
            loop.AddElbow({south, east - (i + 1) * (east - 1000) / (n - 1), h});
        loop.AddElbow(loop.Elbows.front()->position());

        // Points on the loop's straight runs, for the objects on the pipe.
        const int segments = loop.LoopSegmentCount();
        std::uniform_int_distribution<int> segment(0, segments - 1);
        std::uniform_real_distribution<double> along(0.0, 1.0);
        const auto pointOnLoop = [&] {
            const int s = segment(random);
            const TElbow& a = *loop.Elbows[size_t(s)];
            const TElbow& b = *loop.Elbows[size_t(s) + 1];
            const double t = along(random);
            return Position{Round(a.NS + t * (b.NS - a.NS)), Round(a.EW + t * (b.EW - a.EW)), h};
        };

        for (int i = 0; i < size.drops; ++i) {
            auto drop = std::make_unique<TDrop>();
            drop->setPosition(pointOnLoop());
            const QStringList& stack = kStacks[i % 3];
            drop->Style = i % 3 == 2 ? DropStyle::Female : DropStyle::Tee;
            drop->PipeLen = 4500;
            for (const QString& symbol : stack)
                drop->AddSymbol(symbol, {}, true);
            loop.AddExistingDrop(std::move(drop));
        }
        for (int i = 0; i < size.drains; ++i)
            loop.AddDrain(pointOnLoop(), i % 2 == 0, 20.0f, 5000);
        for (int i = 0; i < size.valves; ++i)
            loop.AddValve(pointOnLoop());
        for (int i = 0; i < size.inlets; ++i)
            loop.AddInlet(pointOnLoop(), 2000, 50.0f);
        std::uniform_int_distribution<int32_t> spurLength(1000, 8000);
        for (int i = 0; i < size.spurs; ++i) {
            const Position start = pointOnLoop();
            loop.AddSpur(start, {start.NS + spurLength(random), start.EW, h}, true,
                         i % 5 == 0 ? 500 : 0, 25.0f);
        }
        std::uniform_int_distribution<int32_t> ns(4000, loop.RoomNS - 8000);
        std::uniform_int_distribution<int32_t> ew(2000, loop.RoomEW - 6000);
        const QString kinds[] = {QStringLiteral("GENERAL"), QStringLiteral("COMPRESSOR"),
                                 QStringLiteral("RECEIVER"), QStringLiteral("DRYER")};
        for (int i = 0; i < size.features; ++i) {
            auto f = std::make_unique<TBuildFeature>();
            f->P1NS = ns(random);
            f->P1EW = ew(random);
            f->P2NS = f->P1NS + 3000;
            f->P2EW = f->P1EW + 4000;
            f->Height = 2500;
            f->Feature = kinds[i % 4];
            f->Ellipse = i % 7 == 0;
            f->Name = QStringLiteral("M%1").arg(i + 1);
            loop.AddBuildFeature(std::move(f));
        }
    }

    TPipeLoopOptions options;
    TPipeLoop loop;
};

Design& designOf(const DesignSize& size)
{
    static std::map<int, std::unique_ptr<Design>> designs;
    auto& design = designs[size.total()];
    if (!design)
        design = std::make_unique<Design>(size);
    return *design;
}

// The screen's parameters over the whole image at one scale both ways, as a
// zoom factor gives it: the largest that fits the building's view in the
// image (a section of a long building is a strip across it).
TDrawParams ParamsFor(const TPipeLoop& loop, ViewKind view)
{
    const bool eastWest = view == ViewKind::East || view == ViewKind::West;
    const double across = eastWest ? loop.RoomNS : loop.RoomEW;
    const double down = view == ViewKind::Plan ? loop.RoomNS : loop.RoomHG;
    const double scale =
        std::min((ImageWidth - 2 * ScreenMargin) / across, (ImageHeight - 2 * ScreenMargin) / down);
    return ScreenDrawParams(loop, view, PixelRect{0, 0, ImageWidth, ImageHeight}, scale, scale);
}

void BM_View(benchmark::State& state, DesignSize size, ViewKind view)
{
    Design& design = designOf(size);
    QImage image(ImageWidth, ImageHeight, QImage::Format_RGB32);
    const TDrawParams p = ParamsFor(design.loop, view);
    for (auto _ : state) {
        QPainterCanvas canvas(&image);
        PaintDesignView(canvas, design.loop, p);
    }
    state.counters["objects"] = size.total();
}

} // namespace

int main(int argc, char** argv)
{
    // Feature names are text: fonts need a QGuiApplication.
    UseOffscreenPlatformByDefault();
    QGuiApplication app(argc, argv);

    const std::pair<const char*, ViewKind> views[] = {{"plan", ViewKind::Plan},
                                                      {"north", ViewKind::North},
                                                      {"east", ViewKind::East},
                                                      {"south", ViewKind::South},
                                                      {"west", ViewKind::West}};
    for (const auto& [name, view] : views)
        for (const auto& [label, size] :
             {std::pair{"empty", Empty}, std::pair{"small", Small}, std::pair{"large", Large}})
            benchmark::RegisterBenchmark((std::string(name) + "/" + label).c_str(), BM_View, size,
                                         view)
                ->Unit(benchmark::kMillisecond)
                ->MeasureProcessCPUTime() // Qt fills large areas on its thread pool
                ->Repetitions(7)
                ->ReportAggregatesOnly(true);
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);

    std::printf("objects: small %d, large %d\n", Small.total(), Large.total());
    bool ok = true;
    const auto* plan = reporter.find("plan/large");
    for (const auto& [name, view] : views) {
        const auto* empty = reporter.find(std::string(name) + "/empty");
        const auto* small = reporter.find(std::string(name) + "/small");
        const auto* large = reporter.find(std::string(name) + "/large");
        if (!small || !large)
            continue; // filtered out
        const double ratio = large->cpu / small->cpu;
        const bool fast = large->cpu < 25e-3 && small->cpu < 5e-3;
        const bool linear = ratio <= 10.0;
        const bool asPlan = view == ViewKind::Plan || !plan || large->cpu <= plan->cpu;
        std::printf(
            "%-6s median process CPU time per view: small %.2f ms, large %.2f ms (wall %.2f ms), "
            "ratio %.1f for a 10x design%s%s%s",
            name, small->cpu * 1e3, large->cpu * 1e3, large->real * 1e3, ratio,
            fast ? "" : ", OVER 5 ms SMALL OR 25 ms LARGE", linear ? "" : ", WORSE THAN LINEAR",
            asPlan ? "" : ", SLOWER THAN THE PLAN");
        if (empty)
            std::printf("; fixed cost (empty building) %.2f ms", empty->cpu * 1e3);
        std::printf("\n");
        ok = ok && fast && linear && asPlan;
    }
    return ok ? 0 : 1;
}
