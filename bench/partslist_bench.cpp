// Parts list generation on a generated factory: 2 km of 50 mm ring
// main with chamfered corners, 200 spurs of 20 m, 2 000 drops with symbol
// stacks and 100 drains, against the demo catalogue. Generation, with its
// report, must take under 100 ms; the same design with every length
// multiplied by 10 must take less than 1.5 times as long, and with every
// length multiplied by 3 000 (a ring main of 6 000 km, spurs of 60 km, drop
// legs of up to 30 km) as well: the walk jumps from event to event and counts
// the repeating clips and stock pipes of long stretches, so neither its time
// nor its memory follows pipe length. The memory is the growth of the peak
// resident size while one generation runs in a child process. A stretch
// between two objects keeps up to two periods of its records (a period is 6 m
// on a square-on run, 8.5 km on a diagonal one, whatever the stretch's
// length), so the x3000 factory, whose chamfers hold two diagonal periods
// where the factory's hold a few pipes, may take up to twice the factory's
// memory. The literal millimetre walk of the tests is timed once in the same
// run, on the same factory, to show the gain.
//
// A tree of spurs whose spine zig-zags, each spur starting at the previous
// one's end, with a short side branch every few spurs, is generated with 2 000
// and with 16 000 spurs: the time must grow at most 2.2 times per doubling of
// the spurs, as a walk that looks each spur's neighbours up in tables does.
//
// Prints the median CPU time of each, the memory, and the ratios; exits
// non-zero when the factory takes 100 ms or more or a ratio reaches its limit.
//
//   partslist_bench --spur_tree_dump=PREFIX   writes the two spur trees to
//   PREFIX-2000.plf and PREFIX-16000.plf and exits.

#include "../tests/catalogue/PartsListDesigns.h"
#include "../tests/catalogue/ReferenceRunWalk.h"

#include "BenchSupport.h"
#include "Clock.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PartsListBenchSupport.h"
#include "PartsListGenerator.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "UiServices.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace
{

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;
using namespace pipeloop::bench;

struct Factory {
    explicit Factory(int32_t scale) : design(options)
    {
        if (scale > 0)
            FactoryDesign(design, scale);
        else
            SpurTreeDesign(design, -scale);
    }
    TPipeLoopOptions options;
    TPipeLoop design;
};

// A scale of 1 and more is the factory's; a negative one, -n, the tree of n spurs.
Factory& FactoryOf(int32_t scale)
{
    static std::map<int32_t, std::unique_ptr<Factory>> factories;
    auto& factory = factories[scale];
    if (!factory)
        factory = std::make_unique<Factory>(scale);
    return *factory;
}

constexpr int32_t kSmallTree = 2000;
constexpr int32_t kLargeTree = 16000;

int32_t SpurTree(int32_t spurs)
{
    return -spurs;
}

// What one generation produced, for the printout.
struct Produced {
    QString stop;
    double listingMs = 0; // listing the log and the part list once, afterwards
    qsizetype parts = -1; // not listed
    qsizetype logLines = -1;
    size_t waste = 0;
    GenerationOutcome outcome = GenerationOutcome::Completed;
};
std::map<std::string, Produced> produced;

template <typename Generator>
void BM_Generate(benchmark::State& state, int32_t scale, const char* name)
{
    SilentUi ui;
    ScopedUiServices scope(ui);
    Factory& factory = FactoryOf(scale);
    Generator generator(factory.design, Catalogue());
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.Generate(PartsListOptions{}));
    Produced& what = produced[name];
    what = {ui.firstError, 0, -1, -1, generator.Waste().size(), generator.Outcome()};
    // The status log and the part list are kept as runs during generation and
    // listed when a window or a command asks for them: timed here once (not
    // for the x3000 factory, whose lists run to millions of lines).
    if (scale > 10 || scale < 0)
        return;
    const auto start = std::chrono::steady_clock::now();
    what.logLines = generator.StatusLog().size();
    what.parts = generator.PartList().size();
    what.listingMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

long PeakResidentKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// How much the peak resident size grows while one generation of the factory
// at this scale runs, in KiB: measured in a child process, whose peak starts
// from what it holds, once the design is built and the catalogue loaded.
long GenerationMemoryKiB(int32_t scale)
{
    Catalogue();
    FactoryOf(scale);
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        SilentUi ui;
        ScopedUiServices scope(ui);
        const long before = PeakResidentKiB();
        TPartsListGenerator generator(FactoryOf(scale).design, Catalogue());
        generator.Generate(PartsListOptions{});
        const long growth = PeakResidentKiB() - before;
        const bool sent = write(channel[1], &growth, sizeof growth) == sizeof growth;
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    long growth = -1;
    if (child < 0 || read(channel[0], &growth, sizeof growth) != sizeof growth)
        growth = -1;
    close(channel[0]);
    if (child > 0)
        waitpid(child, nullptr, 0);
    return growth;
}

// name: a literal, which the printout keeps.
void RegisterGeneration(const char* name, int32_t scale)
{
    benchmark::RegisterBenchmark(name, BM_Generate<TPartsListGenerator>, scale, name)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(scale == SpurTree(kLargeTree) ? 3 : 7)
        ->ReportAggregatesOnly(true);
}

bool DumpSpurTrees(const QString& prefix)
{
    for (const int32_t spurs : {kSmallTree, kLargeTree}) {
        const Factory& tree = FactoryOf(SpurTree(spurs));
        const QByteArray bytes =
            ProjectBytes(tree.design, tree.options, PrintSetup{}, InitialZoomFactors);
        if (!WriteDump(prefix + QStringLiteral("-%1.plf").arg(spurs), bytes, "partslist_bench"))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    ScopedLocale locale(LocaleFacts{});
    if (const auto prefix = FlagValue(argc, argv, "--spur_tree_dump="))
        return DumpSpurTrees(*prefix) ? 0 : 1;
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);

    RegisterGeneration("Generate/factory", 1);
    RegisterGeneration("Generate/factory-x10", 10);
    RegisterGeneration("Generate/factory-x3000", 3000);
    RegisterGeneration("Generate/spur-tree-2000", SpurTree(kSmallTree));
    RegisterGeneration("Generate/spur-tree-16000", SpurTree(kLargeTree));
    benchmark::RegisterBenchmark("MillimetreWalk/factory", BM_Generate<ReferenceGenerator>, 1,
                                 "MillimetreWalk/factory")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    // Before the benchmarks, while the process is small.
    const long memory = GenerationMemoryKiB(1);
    const long longMemory = GenerationMemoryKiB(3000);
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);
    Clock::install(nullptr);

    for (const auto& [name, what] : produced) {
        std::printf("%-24s %s, %zu offcuts", name.c_str(),
                    what.outcome == GenerationOutcome::Completed ? "completed" : "STOPPED",
                    what.waste);
        if (what.parts >= 0)
            std::printf("; %lld parts recorded, %lld status lines, listing them afterwards "
                        "%.1f ms",
                        static_cast<long long>(what.parts), static_cast<long long>(what.logLines),
                        what.listingMs);
        std::printf("\n");
    }
    for (const auto& [name, what] : produced)
        if (!what.stop.isEmpty())
            std::printf("%-24s stopped: %s\n", name.c_str(),
                        qPrintable(QString(what.stop).replace(QStringLiteral("\r\n"),
                                                              QStringLiteral(" | "))));

    const auto time = [&](const char* name) {
        const auto* found = reporter.find(name);
        return found ? found->cpu : -1.0;
    };
    const double small = time("Generate/factory");
    const double large = time("Generate/factory-x10");
    const double literal = time("MillimetreWalk/factory");
    bool ok = true;
    for (const auto& [name, what] : produced)
        ok = ok && what.outcome == GenerationOutcome::Completed;
    if (small > 0) {
        const bool fast = small < 0.1;
        std::printf("factory: %.1f ms per generation (limit 100 ms)%s\n", small * 1e3,
                    fast ? "" : ", TOO SLOW");
        ok = ok && fast;
    }
    const auto ratio = [&](const char* what, double of, double to, const char* unit, double shown,
                           const char* base, double limit) {
        const double r = of / to;
        std::printf("%s: %.1f %s, ratio %.2f to the %s (limit %.1f)%s\n", what, shown, unit, r,
                    base, limit, r < limit ? "" : ", GROWS WITH PIPE LENGTH");
        ok = ok && r < limit;
    };
    if (small > 0 && large > 0)
        ratio("factory x10", large, small, "ms", large * 1e3, "factory", 1.5);
    if (const double longRuns = time("Generate/factory-x3000"); small > 0 && longRuns > 0)
        ratio("factory x3000", longRuns, small, "ms", longRuns * 1e3, "factory", 1.5);
    if (memory > 0 && longMemory >= 0) {
        std::printf("memory of one generation: factory %ld KiB\n", memory);
        ratio("memory x3000", double(longMemory), double(memory), "KiB", double(longMemory),
              "factory", 2.0);
    } else {
        std::printf("memory of one generation: not measured\n");
    }
    const double smallTree = time("Generate/spur-tree-2000");
    const double largeTree = time("Generate/spur-tree-16000");
    if (smallTree > 0 && largeTree > 0) {
        const double perDoubling = std::cbrt(largeTree / smallTree); // three doublings
        std::printf("spur trees: %.1f ms for %d spurs, %.1f ms for %d, ratio per doubling "
                    "%.2f (limit 2.2)%s\n",
                    smallTree * 1e3, kSmallTree, largeTree * 1e3, kLargeTree, perDoubling,
                    perDoubling <= 2.2 ? "" : ", GROWS FASTER THAN THE SPURS");
        ok = ok && perDoubling <= 2.2;
    }
    if (small > 0 && literal > 0)
        std::printf("millimetre walk: %.0f ms on the factory, %.0f times the jump walk\n",
                    literal * 1e3, literal / small);
    return ok ? 0 : 1;
}
