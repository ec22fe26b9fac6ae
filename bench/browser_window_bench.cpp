// The parts database browser's promise on a catalogue of 5 000 parts: opening
// the window (three grids filled, the window painted) takes under 100 ms, and
// each key typed into the filter box (the grid filtered and repainted) under
// 16 ms. Both are set against loading the catalogue text alone, timed in the
// same run, and printed as ratios beside the times.
//
// Prints the median CPU time of each (the window does its work on this
// thread); exits non-zero when either limit is reached. The window runs on
// the offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "AppDialogs.h"
#include "BenchSupport.h"
#include "DBBrowseForm.h"
#include "LocaleInfo.h"
#include "PartsDatabase.h"
#include "PartsListBenchSupport.h"
#include "PipeLoopOptions.h"
#include "UiServices.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace
{

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::bench;

constexpr int PartCount = 5000;
constexpr double OpenLimitMs = 100;
constexpr double KeyLimitMs = 16;

QByteArray CatalogueText()
{
    static const char* const types[] = {"PIPE", "HOSE", "COUPLING", "TEE", "VALVE", "CONNECTOR"};
    QByteArray text = "[CATALOGUE]\r\nSUP=BENCH\r\nMAK=BENCH\r\nEXP=31-12-2099\r\n\r\n";
    char record[512];
    for (int i = 0; i < PartCount; ++i) {
        const int n =
            std::snprintf(record, sizeof record,
                          "[B%05d-%d]\r\nTYP=%s\r\nDSC=Generated part %d of the "
                          "browser benchmark\r\nOD1=%d\r\nPRC=%d.%02d\r\nUPP=%d\r\n\r\n",
                          i, 20 + i % 7, types[i % 6], i, 20 + i % 7, i % 400, i % 100, 1 + i % 10);
        text.append(record, n);
    }
    for (int i = 0; i < 50; ++i)
        text += QStringLiteral("[KIT%1]\r\nTYP=PACKAGE\r\nDSC=Kit %1\r\nCON=25\r\nLEN=1500\r\n"
                               "PTS=B00001-21\r\nSYM=FRL\r\n\r\n")
                    .arg(i)
                    .toLatin1();
    return text;
}

const QByteArray& Text()
{
    static const QByteArray text = CatalogueText();
    return text;
}

TPartsDatabase& Database()
{
    static TPartsDatabase database;
    if (!database.Loaded())
        database.LoadCatalogueText(Text());
    return database;
}

struct Browser {
    Browser() : form(dialogs, {}) { form.show(); }
    WidgetAppDialogs dialogs;
    TPipeLoopOptions options;
    TDBBrowseForm form;
};

// Made after the application and gone before it: widgets outlive neither.
std::unique_ptr<Browser> theBrowser;

Browser& TheBrowser()
{
    if (!theBrowser)
        theBrowser = std::make_unique<Browser>();
    return *theBrowser;
}

int shownRows = -1;

void BM_LoadCatalogue(benchmark::State& state)
{
    for (auto _ : state) {
        TPartsDatabase database;
        database.LoadCatalogueText(Text());
        benchmark::DoNotOptimize(database.PartCount());
    }
}

void BM_OpenBrowser(benchmark::State& state)
{
    Browser& browser = TheBrowser();
    for (auto _ : state) {
        browser.form.Prepare(Database(), browser.options, {});
        benchmark::DoNotOptimize(browser.form.grab());
    }
    shownRows = browser.form.grid(TDBBrowseForm::PartsTab)->model()->rowCount();
}

void BM_FilterKey(benchmark::State& state)
{
    // A user typing a part number, then clearing the box: one key per iteration.
    static const char* const typed[] = {"B", "B0", "B01", "B012", "B0123", "B01", ""};
    Browser& browser = TheBrowser();
    browser.form.Prepare(Database(), browser.options, {});
    QTableView* grid = browser.form.grid(TDBBrowseForm::PartsTab);
    size_t key = 0;
    for (auto _ : state) {
        browser.form.filterBox()->setText(QString::fromLatin1(typed[key++ % std::size(typed)]));
        benchmark::DoNotOptimize(grid->viewport()->grab());
    }
}

} // namespace

int main(int argc, char** argv)
{
    bench::UseOffscreenPlatformByDefault();
    QApplication app(argc, argv);
    SilentUi ui;
    ScopedUiServices scope(ui);
    ScopedLocale locale(LocaleFacts{});
    bench::RegisterPair("LoadCatalogue", &BM_LoadCatalogue, "OpenBrowser", &BM_OpenBrowser);
    benchmark::RegisterBenchmark("FilterKey", &BM_FilterKey)
        ->Unit(benchmark::kMillisecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
    bench::MedianReporter reporter;
    bench::RunBenchmarks(argc, argv, reporter);
    theBrowser.reset();

    const auto* load = reporter.find("LoadCatalogue");
    const auto* open = reporter.find("OpenBrowser");
    const auto* key = reporter.find("FilterKey");
    if (!load || !open || !key)
        return 0; // a filter left one out: nothing to compare
    const double loadMs = load->cpu * 1e3;
    const double openMs = open->cpu * 1e3;
    const double keyMs = key->cpu * 1e3;
    const bool complete = shownRows == PartCount;
    std::printf("browser on %d parts (CPU): loading the catalogue %.1f ms; opening %.1f ms "
                "(%.2f x loading, limit %.0f ms); a filter key %.2f ms (%.3f x loading, "
                "limit %.0f ms)%s\n",
                PartCount, loadMs, openMs, openMs / loadMs, OpenLimitMs, keyMs, keyMs / loadMs,
                KeyLimitMs, complete ? "" : " -- the grid did not show every part");
    return complete && openMs < OpenLimitMs && keyMs < KeyLimitMs ? 0 : 1;
}
