// The air analysis of the benchmark factory: 2 km of 50 mm ring main, 200
// spurs of 20 m, 2 000 drops each drawing a demand, against the parts list
// generation of the same design in the same run. Solving must take under
// 50 ms; the printout gives both times, their ratio and the iterations.
// Exits non-zero when the analysis takes 50 ms or more or does not solve.

#include "../tests/catalogue/PartsListDesigns.h"

#include "AirAnalysis.h"
#include "BenchSupport.h"
#include "Clock.h"
#include "LocaleInfo.h"
#include "PartsListBenchSupport.h"
#include "PartsListGenerator.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{

using namespace pipeloop;
using namespace pipeloop::bench;

struct Factory {
    Factory() : design(options)
    {
        testing::FactoryDesign(design, 1);
        // Every drop draws something, so that every segment carries air.
        for (size_t i = 0; i < design.Drops.size(); ++i)
            design.Drops[i]->Demand = {0.5 + double(i % 5) * 0.25, 0.6};
    }
    TPipeLoopOptions options;
    TPipeLoop design;
};

Factory& TheFactory()
{
    static Factory factory;
    return factory;
}

analysis::AirAnalysis lastAnalysis;
QString generationStop;

void Generate(benchmark::State& state)
{
    SilentUi ui;
    ScopedUiServices scope(ui);
    catalogue::TPartsListGenerator generator(TheFactory().design, Catalogue());
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.Generate(catalogue::PartsListOptions{}));
    generationStop = generator.Outcome() == catalogue::GenerationOutcome::Completed
                         ? QString()
                         : QStringLiteral("stopped: ") + ui.firstError;
}

void Analyse(benchmark::State& state)
{
    for (auto _ : state)
        lastAnalysis = analysis::AnalyseAirSupply(TheFactory().design);
}

} // namespace

int main(int argc, char** argv)
{
    ScopedLocale locale(LocaleFacts{});
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);
    RegisterPair("PartsList/factory", &Generate, "Analyse/factory", &Analyse);
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);
    Clock::install(nullptr);

    const auto ms = [&reporter](const char* name) {
        const auto* median = reporter.find(name);
        return median ? median->cpu * 1e3 : -1.0;
    };
    const double analyse = ms("Analyse/factory"), partsList = ms("PartsList/factory");
    if (analyse < 0)
        return 0; // filtered out
    const bool solved = lastAnalysis.solved();
    std::printf("factory analysis: %.2f ms (limit 50 ms), %d iterations, %zu segments, %s\n",
                analyse, lastAnalysis.iterations, lastAnalysis.segments.size(),
                solved ? "solved" : qPrintable(lastAnalysis.problem));
    if (partsList > 0)
        std::printf("parts list generation of the same design: %.2f ms%s, ratio %.2f\n", partsList,
                    qPrintable(generationStop), analyse / partsList);
    return solved && analyse < 50 ? 0 : 1;
}
