#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace pipeloop::cli
{

// Exit statuses of pipeloop-cli.
enum ExitStatus : int {
    ExitOk = 0,
    ExitCheckFailed = 1,
    ExitStopped = 2,
    ExitUsage = 64,
};

// A bad command line; the message is printed with the usage hint.
struct UsageError {
    QString message;
};

// One run of a subcommand: its positional arguments and options, already
// separated (options may stand before or after the arguments).
class Invocation
{
public:
    QStringList arguments;
    QHash<QString, QString> options; // "--units" -> "feet"; flags map to ""
    bool answerYes = false;

    bool has(const QString& option) const { return options.contains(option); }
    QString option(const QString& option, const QString& fallback = {}) const
    {
        return options.value(option, fallback);
    }
    // The positional argument at index, or a UsageError naming what is missing.
    QString argument(qsizetype index, const QString& what) const;
    void expectArguments(qsizetype count) const;

    // Writes the result to --out (completely or not at all) or to standard
    // output. Returns false after showing "Problem writing to :" (or, for
    // standard output, WriteStandardOutput's message) when the bytes cannot
    // all be written.
    bool writeResult(const QByteArray& bytes) const;
};

// Writes bytes to standard output and flushes them. Returns false after
// showing "Problem writing to standard output :" and the system's reason when
// the output does not take them all (a full disk, a closed pipe): a command
// whose output was lost must not end as a success. Everything pipeloop-cli
// prints to standard output goes through here.
bool WriteStandardOutput(QByteArrayView bytes);

// A subcommand of pipeloop-cli. Each layer adds its own.
class Subcommand
{
public:
    virtual ~Subcommand() = default;
    virtual QString name() const = 0;
    virtual QString summary() const = 0;
    // Lines after "usage: pipeloop-cli NAME".
    virtual QString usage() const = 0;
    // Options that take a value (the common ones are known already).
    virtual QStringList valueOptions() const { return {}; }
    // Options that are flags.
    virtual QStringList flagOptions() const { return {}; }
    virtual int run(const Invocation& invocation) = 0;
};

using SubcommandList = std::vector<std::unique_ptr<Subcommand>>;

} // namespace pipeloop::cli
