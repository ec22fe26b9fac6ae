// SelectAt and SnapToPipe run on every mouse move and click. On a design of
// 2 000 loop corners, 2 000 spurs and 5 000 drops each call must stay under
// 1 ms, and its cost must grow linearly: the same calls on a design ten times
// smaller run in the same process as the baseline.
//
// Prints the median time per call of each size and the ratio large / small
// (about 10 for linear growth); exits non-zero when a call takes 1 ms or more
// or the ratio exceeds 20.

#include "BenchSupport.h"
#include "PipeLoop.h"

#include <benchmark/benchmark.h>

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

struct DesignSize {
    int corners;
    int spurs;
    int drops;
};

constexpr DesignSize Large{2000, 2000, 5000};
constexpr DesignSize Small{200, 200, 500};

// A loop that zigzags east along the north of the building and back west
// along the south, spurs branching off its segments and drops on the spurs
// and the loop.
struct Design {
    explicit Design(const DesignSize& size) : loop(options)
    {
        std::mt19937 random(12345);
        const int perSide = size.corners / 2;
        const int32_t step = 400;
        loop.RoomEW = perSide * step / 2 + 1000;
        loop.RoomNS = 60000;
        loop.Height = 3000;
        for (int i = 0; i < perSide; ++i) { // north side, eastwards
            const int32_t ew = (i / 2) * step;
            const int32_t ns = ((i + 1) / 2) % 2 ? 5000 : 0;
            loop.AddElbow({ns, ew, loop.Height});
        }
        for (int i = perSide - 1; i >= 0; --i) { // south side, westwards
            const int32_t ew = (i / 2) * step;
            const int32_t ns = ((i + 1) / 2) % 2 ? 55000 : 60000;
            loop.AddElbow({ns, ew, loop.Height});
        }
        std::uniform_int_distribution<int> segment(0, loop.LoopSegmentCount() - 1);
        std::uniform_int_distribution<int32_t> length(500, 20000);
        for (int i = 0; i < size.spurs; ++i) {
            const TElbow& a = *loop.Elbows[size_t(segment(random))];
            const Position start{a.NS, a.EW, a.HG};
            const Position end{std::min(start.NS + length(random), loop.RoomNS), start.EW, 0};
            loop.AddSpur(start, end, true, 0, 25.0f);
        }
        std::uniform_int_distribution<int> spur(0, size.spurs - 1);
        for (int i = 0; i < size.drops; ++i) {
            const TSpur& s = *loop.Spurs[size_t(spur(random))];
            auto drop = std::make_unique<TDrop>();
            drop->setPosition(s.endPosition());
            drop->NS -= i % 400;
            loop.AddExistingDrop(std::move(drop));
        }
        std::uniform_int_distribution<int32_t> ns(0, loop.RoomNS), ew(0, loop.RoomEW);
        for (int i = 0; i < 1024; ++i)
            clicks.push_back({ns(random), ew(random), 0});
    }

    TPipeLoopOptions options;
    TPipeLoop loop;
    std::vector<Position> clicks;
};

Design& designOf(const DesignSize& size)
{
    static std::map<int, std::unique_ptr<Design>> designs;
    auto& design = designs[size.corners];
    if (!design)
        design = std::make_unique<Design>(size);
    return *design;
}

void BM_SelectAt(benchmark::State& state, DesignSize size)
{
    Design& design = designOf(size);
    size_t i = 0;
    for (auto _ : state) {
        const Position& click = design.clicks[i++ % design.clicks.size()];
        // Six times the start-up zoom factor of 20, as the editor passes.
        benchmark::DoNotOptimize(design.loop.SelectAt(click, ViewKind::Plan, 120, false));
    }
}

void BM_SnapToPipe(benchmark::State& state, DesignSize size)
{
    Design& design = designOf(size);
    size_t i = 0;
    for (auto _ : state) {
        const Position& click = design.clicks[i++ % design.clicks.size()];
        benchmark::DoNotOptimize(design.loop.SnapToPipe(click, -1));
    }
}

} // namespace

int main(int argc, char** argv)
{
    for (const auto& [name, function] :
         {std::pair{"SelectAt", &BM_SelectAt}, std::pair{"SnapToPipe", &BM_SnapToPipe}}) {
        for (const auto& [label, size] : {std::pair{"small", Small}, std::pair{"large", Large}})
            benchmark::RegisterBenchmark((std::string(name) + "/" + label).c_str(), function, size)
                ->Unit(benchmark::kMicrosecond)
                ->Repetitions(9)
                ->ReportAggregatesOnly(true);
    }
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);

    bool ok = true;
    for (const char* name : {"SelectAt", "SnapToPipe"}) {
        const auto* small = reporter.find(std::string(name) + "/small");
        const auto* large = reporter.find(std::string(name) + "/large");
        if (!small || !large)
            continue; // filtered out
        // CPU time: the wall clock also counts whatever else the machine runs.
        const double ratio = large->cpu / small->cpu;
        const bool fast = large->cpu < 1e-3;
        const bool linear = ratio <= 20.0;
        std::printf("%-10s median CPU time per call: small %.1f us, large %.1f us "
                    "(wall %.1f us), ratio %.1f for a 10x design%s%s\n",
                    name, small->cpu * 1e6, large->cpu * 1e6, large->real * 1e6, ratio,
                    fast ? "" : ", OVER 1 ms", linear ? "" : ", WORSE THAN LINEAR");
        ok = ok && fast && linear;
    }
    return ok ? 0 : 1;
}
