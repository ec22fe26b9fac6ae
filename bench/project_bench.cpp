// The project file on a generated design of 20 000 objects of
// every kind, drops and inlets with their symbol stacks: saving (the image,
// and the whole save to disk through the temporary file and rename), and
// loading (the whole load from disk: read, parse, version and count checks,
// options, every object). bench/project_vs_python.sh runs it beside Python's
// configparser reading the same file and prints the ratio.
//
//   project_bench --project_dump=PATH   writes the generated project to PATH and exits.

#include "BenchSupport.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <memory>

using namespace pipeloop;
using namespace pipeloop::bench;

namespace
{

constexpr int Objects = 20000;

// A factory-like design: a long zig-zag loop, objects on its segments and on
// the spurs. Counts per kind: 1000 elbows, 1000 features, 2000 drains,
// 8000 drops, 2000 valves, 1000 inlets, 5000 spurs.
struct Generated {
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;

    Generated()
    {
        design = std::make_unique<TPipeLoop>(options);
        TPipeLoop& d = *design;
        d.Description = QStringLiteral("Generated benchmark design");
        d.CreatedBy = QStringLiteral("project_bench");
        d.CustomerCompany = QStringLiteral("Benchmark Ltd");
        d.RoomEW = 400000;
        d.RoomNS = 200000;
        d.RoomHG = 9000;
        d.Height = 5000;
        d.PipeSize = 63.0f;
        d.DefaultOutletSize = 25.0f;
        for (int i = 0; i < 1000; ++i)
            d.AddElbow(MakePosition((i / 2) % 2 ? 190000 : 1000, 1000 + i / 2 * 398, 5000),
                       i % 50 == 0 ? 300 : 0);
        for (int i = 0; i < 1000; ++i) {
            auto f = std::make_unique<TBuildFeature>();
            f->Name = QStringLiteral("Machine M%1").arg(i + 1);
            f->Feature = i % 5 == 0 ? QStringLiteral("COMPRESSOR") : QStringLiteral("GENERAL");
            f->P1NS = 5000 + (i % 40) * 4500;
            f->P1EW = 5000 + (i / 40) * 15000;
            f->P2NS = f->P1NS + 2000;
            f->P2EW = f->P1EW + 3000;
            f->Height = 1800;
            f->Ellipse = i % 7 == 0;
            d.AddBuildFeature(std::move(f));
        }
        const QStringList stacks[] = {
            {QStringLiteral("FRL"), QStringLiteral("COUPLER"), QStringLiteral("AIR-HOSE"),
             QStringLiteral("COUPLER")},
            {QStringLiteral("VALVE"), QStringLiteral("FILTER_AUTO"), QStringLiteral("REGULATOR"),
             QStringLiteral("GAUGE"), QStringLiteral("2-PORT-OUTLET")},
            {QStringLiteral("1-PORT-OUTLET")},
            {QStringLiteral("REGULATOR"), QStringLiteral("COUPLER"), QStringLiteral("RECOIL-HOSE"),
             QStringLiteral("COUPLER")},
        };
        for (int i = 0; i < 5000; ++i) {
            const int32_t ew = 2000 + (i % 1000) * 398;
            const int32_t ns = i < 1000 ? 1000 : 1000 + (i / 1000) * 30000;
            auto s = std::make_unique<TSpur>();
            s->setPosition(MakePosition(ns, ew, 5000));
            s->setEndPosition(MakePosition(ns + 25000, ew, 5000));
            s->Name = QStringLiteral("SPUR%1").arg(i + 1);
            s->PipeSize = i % 2 ? 32.0f : 40.0f;
            s->VerticalDrop = i % 9 == 0 ? 1500 : 0;
            d.Spurs.push_back(std::move(s));
        }
        for (int i = 0; i < 2000; ++i) {
            auto o = std::make_unique<TDrain>();
            o->setPosition(MakePosition(26000 + (i / 1000) * 30000, 2000 + (i % 1000) * 398, 5000));
            o->Name = QStringLiteral("DRAIN%1").arg(i + 1);
            o->PipeLen = 4000;
            o->Manual = i % 3 == 0;
            o->PipeSize = 20.0f;
            d.Drains.push_back(std::move(o));
        }
        for (int i = 0; i < 8000; ++i) {
            auto o = std::make_unique<TDrop>();
            o->setPosition(MakePosition(3000 + (i % 8) * 2500, 2000 + (i / 8) * 398, 5000));
            o->Name = QStringLiteral("DROP%1").arg(i + 1);
            o->SetStyle(i % DropStyleCount);
            o->HoseSize = o->IsFemale() ? 9.53f : 0.0f;
            o->OutletSize = i % 2 ? 12.7f : 20.0f;
            o->PipeLen = 3800;
            if (i % 13 == 0)
                o->PartPackage = QStringLiteral("KIT-%1").arg(i % 6);
            const QStringList& stack = stacks[i % 4];
            for (qsizetype k = 0; k < stack.size(); ++k)
                o->AddSymbol(stack[k], k % 2 ? QString() : QStringLiteral("P-%1").arg(k), true);
            d.Drops.push_back(std::move(o));
        }
        for (int i = 0; i < 2000; ++i) {
            auto o = std::make_unique<TValve>();
            o->setPosition(MakePosition(1000, 2200 + (i % 1000) * 398, 5000));
            o->Name = QStringLiteral("VALVE%1").arg(i + 1);
            o->Angle = i % 2 ? -HalfPi : HalfPi;
            d.Valves.push_back(std::move(o));
        }
        for (int i = 0; i < 1000; ++i) {
            auto o = std::make_unique<TInlet>();
            o->setPosition(MakePosition(190000, 2300 + i * 398, 5000));
            o->Name = QStringLiteral("INLET%1").arg(i + 1);
            o->Angle = 0.0f;
            o->PipeLength = 3000;
            o->PipeSize = 63.0f;
            o->AddSymbol(QStringLiteral("VALVE"), QStringLiteral("BV-63"), true);
            o->AddSymbol(QStringLiteral("FILTER"), QString(), true);
            d.Inlets.push_back(std::move(o));
        }
        for (int i = 0; i < 20; ++i)
            d.Notes.append(QStringLiteral("Note line %1 of the generated design.").arg(i + 1));
    }

    int objectCount() const
    {
        int count = 0;
        design->ForEachObject([&count](const TPipeLoopObject&) { ++count; });
        return count;
    }
    QByteArray bytes() const { return ProjectBytes(*design, options, printSetup, zoom); }
};

const Generated& generated()
{
    static const Generated g;
    return g;
}

// Messages would mean the benchmark measures a failure.
class FailOnMessage : public UiServices
{
public:
    void show(Kind, const QString& text, const QString& = {}) override
    {
        std::fprintf(stderr, "project_bench: unexpected message: %s\n", qPrintable(text));
        std::abort();
    }
    bool confirm(const QString&, const QString& = {}) override { return true; }
    QString ask(Kind, const QString&, const QStringList& b, const QString& = {}) override
    {
        return b.value(0);
    }
};

void BM_ProjectImage(benchmark::State& state)
{
    const Generated& g = generated();
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray bytes = g.bytes();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.constData());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
    state.counters["objects"] = g.objectCount();
}
BENCHMARK(BM_ProjectImage)->Unit(benchmark::kMillisecond);

// Where the save and load benchmarks keep their file; any message stops the run.
struct ProjectOnDisk {
    FailOnMessage ui;
    ScopedUiServices scope{ui};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.plf"));
};

// The whole save: image, temporary file, flush to disk, rename.
void BM_ProjectSave(benchmark::State& state)
{
    const Generated& g = generated();
    ProjectOnDisk disk;
    const QString& path = disk.path;
    for (auto _ : state)
        if (!SaveProject(*g.design, g.options, g.printSetup, g.zoom, path))
            state.SkipWithError("save failed");
    state.SetBytesProcessed(int64_t(state.iterations()) * QFile(path).size());
    state.counters["objects"] = g.objectCount();
}
BENCHMARK(BM_ProjectSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole load from disk, as the Open command runs it.
void BM_ProjectLoad(benchmark::State& state)
{
    const Generated& g = generated();
    ProjectOnDisk disk;
    const QString& path = disk.path;
    {
        QFile file(path);
        const QByteArray bytes = g.bytes();
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the file");
            return;
        }
    }
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    int objects = 0;
    for (auto _ : state) {
        ProjectLoad load = OpenProject(path, options, printSetup, zoom);
        if (!load) {
            state.SkipWithError("load failed");
            break;
        }
        objects = int(load.Design->Elbows.size() + load.Design->BuildFeatures.size() +
                      load.Design->Drains.size() + load.Design->Drops.size() +
                      load.Design->Valves.size() + load.Design->Inlets.size() +
                      load.Design->Spurs.size());
        benchmark::DoNotOptimize(load.Design.get());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * QFile(path).size());
    state.counters["objects"] = objects;
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ScopedLocale locale(LocaleFacts{});
    if (const auto dump = FlagValue(argc, argv, "--project_dump=")) {
        const QByteArray bytes = generated().bytes();
        if (!WriteDump(*dump, bytes, "project_bench"))
            return 1;
        std::printf("%d objects, %lld bytes\n", generated().objectCount(),
                    static_cast<long long>(bytes.size()));
        return 0;
    }
    return RunBenchmarksMain(argc, argv);
}
