#pragma once

// What the benchmark programs share: a reporter that keeps each benchmark's
// median beside the usual console output, the two ways of running the
// registered benchmarks, the offscreen platform for programs that draw text,
// the "--<name>_dump=PATH" option that writes a generated input to a file,
// and the paths of the repository's data.

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pipeloop::bench
{

// Prints as usual and keeps, for each benchmark, the median of its
// repetitions, or the time of its one run where it is not repeated.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    struct Median {
        double cpu;  // seconds per iteration
        double real; // seconds per iteration, wall clock
        benchmark::UserCounters counters;

        double counter(const std::string& name, double absent) const
        {
            const auto found = counters.find(name);
            return found == counters.end() ? absent : double(found->second);
        }
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if ((run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") ||
                (run.run_type == Run::RT_Iteration && run.repetitions <= 1))
                medians[run.run_name.function_name] = {
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit),
                    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit),
                    run.counters};
        ConsoleReporter::ReportRuns(runs);
    }

    // The median of a benchmark, or null when a filter left it out.
    const Median* find(const std::string& name) const
    {
        const auto found = medians.find(name);
        return found == medians.end() ? nullptr : &found->second;
    }

    std::map<std::string, Median> medians;
};

// Runs what the command line selects through the reporter, which the
// program's own summary then reads.
inline void RunBenchmarks(int& argc, char** argv, MedianReporter& reporter)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}

// A measurement and its baseline, each repeated five times in milliseconds,
// registered for RunBenchmarks: the program compares their medians.
inline void RegisterPair(const char* baseline, void (*measureBaseline)(benchmark::State&),
                         const char* subject, void (*measureSubject)(benchmark::State&))
{
    for (auto [name, function] :
         {std::pair{baseline, measureBaseline}, std::pair{subject, measureSubject}})
        benchmark::RegisterBenchmark(name, function)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
}

// Runs what the command line selects; the exit status: 1 for words Google
// Benchmark does not know, 0 otherwise.
inline int RunBenchmarksMain(int& argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Text needs fonts and fonts need a QGuiApplication; without a display it
// runs on the offscreen platform unless the caller chose one. Call before
// the application is made.
inline void UseOffscreenPlatformByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// PATH of the first "<flag>PATH" word of the command line (flag ends with
// '='), if there is one.
inline std::optional<QString> FlagValue(int argc, char** argv, const char* flag)
{
    const size_t length = std::strlen(flag);
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag, length) == 0)
            return QString::fromLocal8Bit(argv[i] + length);
    return std::nullopt;
}

// Writes a generated input for other tools to read; says on stderr, as
// program, when it cannot.
inline bool WriteDump(const QString& path, const QByteArray& bytes, const char* program)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size())
        return true;
    std::fprintf(stderr, "%s: cannot write %s\n", program, qPrintable(file.fileName()));
    return false;
}

// A file of the repository, by its path from the repository's root.
inline QString RepositoryFile(const QString& relative)
{
    return QDir(QStringLiteral(PIPELOOP_REPOSITORY)).filePath(relative);
}

} // namespace pipeloop::bench
