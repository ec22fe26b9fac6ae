// The parts catalogue on a generated container of about 5 MB: a catalogue text
// of 5 000 parts (every TYP, every key) and 1 000 pictures. The requirement is
// that loading it (reading the file, checking its CRC, copying every entry and
// decoding every part) takes under 50 ms.
//
// Ratios come from the same run:
//   BM_LoadContainer      against BM_ReadFileBaseline (reading the file and
//                         copying it once, the least any loader must do);
//   BM_Crc32Zlib          against BM_Crc32Bytewise (the byte-at-a-time table
//                         loop the rules describe), both in MB/s.
// BM_LoadContainer also prints wall_ms, cpu_ms (this thread's processor time)
// and "under_50ms" (1 when the mean processor time is below 50 ms).

#include "BenchSupport.h"
#include "Cab.h"
#include "PartsDatabase.h"
#include "UiServices.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <ctime>
#include <random>

using namespace pipeloop;
using namespace pipeloop::catalogue;

namespace
{

constexpr int PartCount = 5000;
constexpr int PictureCount = 1000;

// Messages are not the subject here.
class SilentUi : public UiServices
{
public:
    void show(Kind, const QString&, const QString&) override {}
    bool confirm(const QString&, const QString&) override { return false; }
    QString ask(Kind, const QString&, const QStringList& buttons, const QString&) override
    {
        return buttons.isEmpty() ? QString() : buttons.back();
    }
};

QByteArray CatalogueText()
{
    static const char* const types[] = {"PIPE",          "HOSE",          "ENDCAP", "REDUCER",
                                        "PIPE-CLIP",     "MANIFOLD",      "TEE",    "OUTLET-TEE",
                                        "FEMALE-OUTLET", "SADDLE-OUTLET", "VALVE",  "ADAPTER",
                                        "CONNECTOR",     "COUPLING"};
    static const char* const sizes[] = {"20",  "25",    "32",    "40",  "50",    "63",  "80",
                                        "110", "1/2\"", "3/4\"", "1\"", "1/4\"", "9.25"};
    QByteArray text =
        "[CATALOGUE]\r\nSUP=BENCH\r\nMAK=BENCH\r\nDSC=Generated\r\nEXP=31-12-2099\r\n\r\n";
    char record[1024];
    for (int i = 0; i < PartCount; ++i) {
        const int n = std::snprintf(
            record, sizeof record,
            "[B%05d-%s]\r\nTYP=%s\r\nAPN=B%05d\r\nDSC=Generated part number %d for the "
            "benchmark\r\n"
            "OD1=%s\r\nOD2=%s\r\nLEN=%d\r\nATR=%s\r\nAT1=MALE BSP\r\nAT2=FEMALE NPT\r\nANG=%d\r\n"
            "NPO=%d\r\nPRC=%d.%02d\r\nUPP=%d\r\nIMG=P%04d.JPG\r\nCPN=%d\r\nCOD=C%d\r\nEOL=%"
            "d\r\n\r\n",
            i, sizes[i % 8], types[i % 14], i, i, sizes[i % 13], sizes[(i + 3) % 13],
            1000 * (i % 7), i % 2 ? "GREY ELBOW QUICK" : "BLUE, TECHNOPOLYMERIC", i % 2 ? 90 : 45,
            i % 5, i % 300, i % 100, 1 + i % 10, i % PictureCount, i % 80, i, i % 50 == 0);
        text.append(record, n);
    }
    for (int i = 0; i < 20; ++i)
        text += QStringLiteral(
                    "[KIT%1]\r\nTYP=PACKAGE\r\nCON=25\r\nLEN=1500\r\nPTS=B00001-25 B00002-32\r\n"
                    "SYM=FILTER REGULATOR\r\n\r\n")
                    .arg(i)
                    .toLatin1();
    return text;
}

// The container file, written once per run.
const QString& ContainerPath()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        std::vector<CabEntry> entries;
        entries.push_back({QStringLiteral("PARTS.PLDBI"), CatalogueText()});
        std::mt19937 random(7);
        qsizetype total = entries.front().data.size();
        for (int i = 0; i < PictureCount; ++i) {
            // Pictures are copied, not decoded, while loading: random bytes will do.
            QByteArray picture(3300 + static_cast<int>(random() % 1000), Qt::Uninitialized);
            for (char& c : picture)
                c = static_cast<char>(random());
            total += picture.size();
            entries.push_back({QStringLiteral("P%1.JPG").arg(i, 4, 10, QChar(u'0')), picture});
        }
        const QString file = dir.filePath(QStringLiteral("bench.pldbcab"));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(BuildCab(entries)) < total)
            std::abort();
        return file;
    }();
    return path;
}

double ThreadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

qint64 ContainerSize()
{
    return QFileInfo(ContainerPath()).size();
}

void BM_ReadFileBaseline(benchmark::State& state)
{
    const QString& path = ContainerPath();
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        QByteArray copy(bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(state.iterations() * ContainerSize());
}
BENCHMARK(BM_ReadFileBaseline)->Unit(benchmark::kMillisecond);

void BM_LoadContainer(benchmark::State& state)
{
    const QString& path = ContainerPath();
    SilentUi silent;
    ScopedUiServices scope(silent);
    QElapsedTimer timer;
    qint64 nanoseconds = 0;
    double cpuSeconds = 0;
    int parts = 0;
    for (auto _ : state) {
        timer.start();
        const double cpuStart = ThreadCpuSeconds();
        TPartsDatabase database;
        database.LoadContainer(path);
        parts = database.PartCount();
        cpuSeconds += ThreadCpuSeconds() - cpuStart;
        nanoseconds += timer.nsecsElapsed();
        if (!database.IsUsable() || database.Container().Count() != PictureCount + 1)
            state.SkipWithError("the generated container did not load");
    }
    const double meanMs = double(nanoseconds) / 1e6 / double(state.iterations());
    const double cpuMs = cpuSeconds * 1e3 / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * ContainerSize());
    state.counters["parts"] = parts;
    state.counters["MB"] = double(ContainerSize()) / 1e6;
    state.counters["wall_ms"] = meanMs;
    state.counters["cpu_ms"] = cpuMs;
    // On a shared machine the wall time carries other processes' load; the
    // processor time of this thread is the one compared with the requirement.
    state.counters["under_50ms"] = cpuMs < 50.0 ? 1 : 0;
}
BENCHMARK(BM_LoadContainer)->Unit(benchmark::kMillisecond);

// Decoding the catalogue text alone (5 000 records through the INI engine).
void BM_DecodeCatalogueText(benchmark::State& state)
{
    const QByteArray text = CatalogueText();
    SilentUi silent;
    ScopedUiServices scope(silent);
    for (auto _ : state) {
        TPartsDatabase database;
        database.LoadCatalogueText(text);
        benchmark::DoNotOptimize(database.PartCount());
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_DecodeCatalogueText)->Unit(benchmark::kMillisecond);

const QByteArray& ContainerBytes()
{
    static const QByteArray bytes = [] {
        QFile file(ContainerPath());
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    return bytes;
}

void BM_Crc32Zlib(benchmark::State& state)
{
    const QByteArray& bytes = ContainerBytes();
    for (auto _ : state)
        benchmark::DoNotOptimize(Crc32(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Crc32Zlib)->Unit(benchmark::kMillisecond);

// own description: a 256-entry table, one byte at a time.
void BM_Crc32Bytewise(benchmark::State& state)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    const QByteArray& bytes = ContainerBytes();
    uint32_t crc = 0;
    for (auto _ : state) {
        crc = 0xFFFFFFFFu;
        for (const char b : bytes)
            crc = table[(crc ^ static_cast<uint8_t>(b)) & 0xFF] ^ (crc >> 8);
        crc = ~crc;
        benchmark::DoNotOptimize(crc);
    }
    if (crc != Crc32(bytes))
        state.SkipWithError("the byte-at-a-time CRC disagrees with zlib");
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_Crc32Bytewise)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    return pipeloop::bench::RunBenchmarksMain(argc, argv);
}
