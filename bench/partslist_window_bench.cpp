// The parts list window's promise: generating the factory (2 km of ring
// main, 200 spurs, 2 000 drops, 100 drains) inside the window, with its
// progress bar, its live status log, the report view and the summary of
// uncovered equipment, costs at most 1.5 times the headless generation of
// the same design with the same options, both timed in this run.
//
// Prints the median CPU time of each (the window does all its work on this
// thread; on a shared machine the wall clock also counts other programs) and
// the ratio; exits non-zero when the ratio reaches its limit or a generation
// does not complete. The window runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.

#include "../tests/catalogue/PartsListDesigns.h"

#include "AppDialogs.h"
#include "BenchSupport.h"
#include "Clock.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PartsListBenchSupport.h"
#include "PartsListForm.h"
#include "PartsListGenerator.h"
#include "PipeLoopOptions.h"
#include "UiServices.h"

#include <QApplication>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::bench;

constexpr double RatioLimit = 1.5;

struct Factory {
    Factory() : design(options) { testing::FactoryDesign(design, 1); }
    TPipeLoopOptions options;
    TPipeLoop design;
};

Factory& TheFactory()
{
    static Factory factory;
    return factory;
}

bool headlessCompleted = false;
bool windowCompleted = false;

void BM_Headless(benchmark::State& state)
{
    TPartsListGenerator generator(TheFactory().design, Catalogue());
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.Generate(PartsListOptions{}));
    headlessCompleted = generator.Outcome() == GenerationOutcome::Completed;
}

void BM_Window(benchmark::State& state)
{
    WidgetAppDialogs dialogs;
    const auto refuse = [](const QString&) { return false; };
    TZAVOZAPartsListForm form(
        dialogs, {}, [](const QString&, const QString&) { return false; }, refuse);
    form.show();
    form.Prepare(TheFactory().design, Catalogue(), true, {});
    for (auto _ : state)
        form.Generate();
    windowCompleted = form.CommandsEnabled();
}

} // namespace

int main(int argc, char** argv)
{
    bench::UseOffscreenPlatformByDefault();
    QApplication app(argc, argv);
    SilentUi ui;
    ScopedUiServices scope(ui);
    // The factory's catalogue as the generator's own benchmark sees it.
    ScopedLocale locale(LocaleFacts{});
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);
    bench::RegisterPair("Headless", &BM_Headless, "Window", &BM_Window);
    bench::MedianReporter reporter;
    bench::RunBenchmarks(argc, argv, reporter);

    const auto* headless = reporter.find("Headless");
    const auto* window = reporter.find("Window");
    if (!headless || !window)
        return 0; // a filter left one out: nothing to compare
    const double ratio = window->cpu / headless->cpu;
    const bool ok = headlessCompleted && windowCompleted && ratio < RatioLimit;
    if (!ui.firstError.isEmpty())
        std::printf("stopped: %s\n", qPrintable(ui.firstError));
    std::printf(
        "generation (CPU): headless %.1f ms, in the window %.1f ms, ratio %.2f (limit %.1f)%s\n",
        headless->cpu * 1e3, window->cpu * 1e3, ratio, RatioLimit,
        headlessCompleted && windowCompleted ? "" : " -- a generation did not complete");
    return ok ? 0 : 1;
}
