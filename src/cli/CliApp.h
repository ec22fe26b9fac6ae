#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// Parses the command line, sets up locale and answers, and runs the chosen
// subcommand. Every failure becomes a message and an exit status.
class CliApp
{
public:
    explicit CliApp(SubcommandList subcommands);
    int run(const QStringList& commandLine);

private:
    int runSubcommand(Subcommand& command, const QStringList& words);
    Invocation parse(const Subcommand& command, const QStringList& words) const;
    Subcommand* find(const QString& name) const;
    int printHelp() const;
    static int printSubcommandHelp(const Subcommand& command);

    SubcommandList m_subcommands;
};

// Every subcommand the headless layers offer.
SubcommandList AllSubcommands();

} // namespace pipeloop::cli
