// Parts list generation on a generated factory: 2 km of 50 mm ring
// main with chamfered corners, 200 spurs of 20 m, 2 000 drops with symbol
// stacks and 100 drains, against the demo catalogue. Generation, with its
// report, must take under 100 ms; the same design with every length
// multiplied by 10 must take less than 1.5 times as long (the walk jumps from
// event to event, so its cost does not follow pipe length; what grows is only
// the number of clips and pipes recorded). The literal millimetre walk of the
// tests is timed once in the same run, on the same factory, to show the gain.
//
// Prints the median CPU time of each and the ratios; exits non-zero when the
// factory takes 100 ms or more or the ratio reaches 1.5.

#include "../tests/catalogue/PartsListDesigns.h"
#include "../tests/catalogue/ReferenceRunWalk.h"

#include "BenchSupport.h"
#include "Clock.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PartsListGenerator.h"
#include "UiServices.h"

#include <QFile>

#include <benchmark/benchmark.h>

#include <chrono>
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

// Messages of the stacks' unsupported symbols are counted, not printed.
class SilentUi : public UiServices
{
public:
    void show(Kind kind, const QString& text, const QString& = {}) override
    {
        ++messages;
        if (kind == Kind::Error && firstError.isEmpty())
            firstError = text;
    }
    bool confirm(const QString&, const QString& = {}) override { return true; }
    QString ask(Kind, const QString&, const QStringList& buttons, const QString& = {}) override
    {
        return buttons.isEmpty() ? QString() : buttons.front();
    }
    long messages = 0;
    QString firstError;
};

TPartsDatabase& Catalogue()
{
    static TPartsDatabase database;
    if (!database.Loaded()) {
        QFile file(RepositoryFile(QStringLiteral("data/catalogue/PARTS.PLDBI")));
        file.open(QIODevice::ReadOnly);
        database.LoadCatalogueText(file.readAll());
    }
    return database;
}

struct Factory {
    explicit Factory(int32_t scale) : design(options) { FactoryDesign(design, scale); }
    TPipeLoopOptions options;
    TPipeLoop design;
};

Factory& FactoryOf(int32_t scale)
{
    static std::map<int32_t, std::unique_ptr<Factory>> factories;
    auto& factory = factories[scale];
    if (!factory)
        factory = std::make_unique<Factory>(scale);
    return *factory;
}

// What one generation produced, for the printout.
struct Produced {
    QString stop;
    double listingMs = 0; // listing the log and the part list once, afterwards
    qsizetype parts = 0;
    qsizetype logLines = 0;
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
    // The status log and the part list are kept as runs during generation and
    // listed when a window or a command asks for them: timed here once.
    const auto start = std::chrono::steady_clock::now();
    const qsizetype logLines = generator.StatusLog().size();
    const qsizetype parts = generator.PartList().size();
    const double listing =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    produced[name] = {ui.firstError,      listing, parts, logLines, generator.Waste().size(),
                      generator.Outcome()};
}

} // namespace

int main(int argc, char** argv)
{
    ScopedLocale locale(LocaleFacts{});
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);

    benchmark::RegisterBenchmark("Generate/factory", BM_Generate<TPartsListGenerator>, 1,
                                 "Generate/factory")
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("Generate/factory-x10", BM_Generate<TPartsListGenerator>, 10,
                                 "Generate/factory-x10")
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(7)
        ->ReportAggregatesOnly(true);
    benchmark::RegisterBenchmark("MillimetreWalk/factory", BM_Generate<ReferenceGenerator>, 1,
                                 "MillimetreWalk/factory")
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    MedianReporter reporter;
    RunBenchmarks(argc, argv, reporter);
    Clock::install(nullptr);

    for (const auto& [name, what] : produced)
        std::printf("%-24s %s: %lld parts recorded, %lld status lines, %zu offcuts; "
                    "listing them afterwards %.1f ms\n",
                    name.c_str(),
                    what.outcome == GenerationOutcome::Completed ? "completed" : "STOPPED",
                    static_cast<long long>(what.parts), static_cast<long long>(what.logLines),
                    what.waste, what.listingMs);
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
    if (small > 0 && large > 0) {
        const double ratio = large / small;
        std::printf("factory x10: %.1f ms, ratio %.2f to the factory (limit 1.5)%s\n", large * 1e3,
                    ratio, ratio < 1.5 ? "" : ", GROWS WITH PIPE LENGTH");
        ok = ok && ratio < 1.5;
    }
    if (small > 0 && literal > 0)
        std::printf("millimetre walk: %.0f ms on the factory, %.0f times the jump walk\n",
                    literal * 1e3, literal / small);
    return ok ? 0 : 1;
}
