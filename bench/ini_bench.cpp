// The INI engine on a generated project-like text of 100 000 sections of ten
// keys (about 20 MB): parsing, looking up every key, writing, and the
// Windows-1252 codec. bench/ini_vs_python.sh runs it beside Python's
// configparser on the same text and prints the ratio.
//
//   ini_bench --ini_dump=PATH   writes the generated text to PATH and exits.

#include "BenchSupport.h"
#include "Cp1252.h"
#include "IniFile.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <map>
#include <utility>
#include <vector>

using namespace pipeloop;
using namespace pipeloop::bench;

namespace
{

constexpr int LargeSections = 100000;
constexpr int KeysPerSection = 10;

QByteArray generate(int sections)
{
    QByteArray text;
    text.reserve(qsizetype(sections) * 210);
    char line[512];
    for (int s = 0; s < sections; ++s) {
        const int n = std::snprintf(
            line, sizeof line,
            "[Drop%06d]\r\nNS=%d\r\nEW=%d\r\nHG=2000\r\nName=Drop %d\r\nPipeLen=%d\r\n"
            "OutletSize=25\r\nStyle=FEMALE_QUICK\r\nHoseSize=6.34999990463257\r\n"
            "Symbols=3\r\nDescription=Drop %d beside column C%d, north wall\r\n\r\n",
            s, (s * 7919) % 500000, (s * 104729) % 800000, s, 500 + s % 2500, s, s % 40);
        text.append(line, n);
    }
    return text;
}

const QByteArray& textOf(int sections)
{
    static std::map<int, QByteArray> cache;
    auto it = cache.find(sections);
    if (it == cache.end())
        it = cache.emplace(sections, generate(sections)).first;
    return it->second;
}

// Every (section, key) name pair of a parsed text, spelt in upper case so that
// each lookup also exercises the case folding.
std::vector<std::pair<QString, QString>> namesOf(const IniFile& ini)
{
    std::vector<std::pair<QString, QString>> names;
    for (const QString& section : ini.sectionNames())
        for (const QString& key : ini.keyNames(section))
            names.emplace_back(section.toUpper(), key.toUpper());
    return names;
}

void BM_IniParse(benchmark::State& state)
{
    const QByteArray& text = textOf(int(state.range(0)));
    for (auto _ : state) {
        IniFile ini = IniFile::fromBytes(text);
        benchmark::DoNotOptimize(ini);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
    state.counters["MB"] = double(text.size()) / 1e6;
}
BENCHMARK(BM_IniParse)->Arg(LargeSections)->Unit(benchmark::kMillisecond);

// value(): the lookup and the decoding of the value into a QString.
void BM_IniLookupEveryKey(benchmark::State& state)
{
    const IniFile ini = IniFile::fromBytes(textOf(int(state.range(0))));
    const auto names = namesOf(ini);
    for (auto _ : state)
        for (const auto& [section, key] : names)
            benchmark::DoNotOptimize(ini.value(section, key));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
// The per-lookup rate stays flat from a small to a large image: O(1) on average.
BENCHMARK(BM_IniLookupEveryKey)->Arg(1000)->Arg(LargeSections)->Unit(benchmark::kMillisecond);

// valueExists(): the hash lookup alone, nothing decoded.
void BM_IniFindEveryKey(benchmark::State& state)
{
    const IniFile ini = IniFile::fromBytes(textOf(int(state.range(0))));
    const auto names = namesOf(ini);
    for (auto _ : state)
        for (const auto& [section, key] : names)
            benchmark::DoNotOptimize(ini.valueExists(section, key));
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
BENCHMARK(BM_IniFindEveryKey)->Arg(1000)->Arg(LargeSections)->Unit(benchmark::kMillisecond);

// What the Python baseline does: parse the text, then read every key's value.
void BM_IniParseAndLookUpEveryKey(benchmark::State& state)
{
    const QByteArray& text = textOf(LargeSections);
    const auto names = namesOf(IniFile::fromBytes(text));
    for (auto _ : state) {
        const IniFile ini = IniFile::fromBytes(text);
        for (const auto& [section, key] : names)
            benchmark::DoNotOptimize(ini.value(section, key));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
BENCHMARK(BM_IniParseAndLookUpEveryKey)->Unit(benchmark::kMillisecond);

void BM_IniWrite(benchmark::State& state)
{
    const IniFile ini = IniFile::fromBytes(textOf(LargeSections));
    qsizetype size = 0;
    for (auto _ : state) {
        const QByteArray bytes = ini.toBytes();
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_IniWrite)->Unit(benchmark::kMillisecond);

// Building an image through the API, as the project writer does.
void BM_IniWriteEveryKey(benchmark::State& state)
{
    const IniFile source = IniFile::fromBytes(textOf(LargeSections));
    std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>> content;
    for (const QString& section : source.sectionNames()) {
        auto& keys =
            content.emplace_back(section, std::vector<std::pair<QString, QString>>{}).second;
        for (const QString& key : source.keyNames(section))
            keys.emplace_back(key, *source.value(section, key));
    }
    for (auto _ : state) {
        IniFile ini;
        for (const auto& [section, keys] : content)
            for (const auto& [key, value] : keys)
                ini.writeString(section, key, value);
        benchmark::DoNotOptimize(ini);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * LargeSections * KeysPerSection);
}
BENCHMARK(BM_IniWriteEveryKey)->Unit(benchmark::kMillisecond);

QByteArray windowsText()
{
    QByteArray text = textOf(LargeSections);
    for (qsizetype i = 0; i < text.size(); i += 97)
        text[i] = char(0x80 + (i % 128)); // typographic and accented characters
    return text;
}

void BM_Cp1252Decode(benchmark::State& state)
{
    const QByteArray text = windowsText();
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeCp1252(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_Cp1252Decode)->Unit(benchmark::kMillisecond);

void BM_Cp1252Encode(benchmark::State& state)
{
    const QString text = DecodeCp1252(windowsText());
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeCp1252(text));
    state.SetBytesProcessed(int64_t(state.iterations()) * text.size());
}
BENCHMARK(BM_Cp1252Encode)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (const auto dump = FlagValue(argc, argv, "--ini_dump="))
        return WriteDump(*dump, textOf(LargeSections), "ini_bench") ? 0 : 1;
    return RunBenchmarksMain(argc, argv);
}
