#pragma once

// Runs pipeloop-cli as a separate process, the way an installer or a script
// does, and keeps what it wrote and how it ended.

#include "TestFiles.h"

#include <QProcess>
#include <QString>
#include <QStringList>

namespace pipeloop::testing
{

struct CliRun {
    // The exit status; -1 when the program did not finish in time, -2 when it
    // crashed, so that neither can pass for an expected status.
    int exitCode = -1;
    QString out;
    QString err;
};

// Long enough for the slowest command (every view of the large sample) on a
// loaded build machine; a program that hangs still fails.
inline constexpr int CliTimeoutMs = 120000;

// standardOutput, when given, is the file the program's standard output goes
// to instead of CliRun::out (/dev/full: a disk that is full).
inline CliRun RunProgram(const QString& program, const QStringList& arguments,
                         const QString& standardOutput = {})
{
    QProcess process;
    if (!standardOutput.isEmpty())
        process.setStandardOutputFile(standardOutput);
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForFinished(CliTimeoutMs))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

#ifdef PIPELOOP_CLI
// pipeloop-cli as the build made it (the test target names it).
inline CliRun RunCli(const QStringList& arguments, const QString& standardOutput = {})
{
    return RunProgram(QStringLiteral(PIPELOOP_CLI), arguments, standardOutput);
}
#endif

} // namespace pipeloop::testing
