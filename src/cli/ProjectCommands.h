#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli info FILE: a summary of a project file: kind, header
// texts, units, building, loop height, size and colour, the count of each
// list and whether the display and print options are saved with it.
class InfoCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("info"); }
    QString summary() const override;
    QString usage() const override { return QStringLiteral("FILE [--yes|--no] [--out FILE]"); }
    int run(const Invocation& invocation) override;
};

// pipeloop-cli resave FILE OUT: loads the project and saves it again to OUT
// (written completely or not at all). A project whose options are saved with
// it asks "Load project file settings ?": --yes keeps the project's options in
// OUT, --no (the default) writes the program's own, as the desktop program
// does when the user declines.
class ResaveCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("resave"); }
    QString summary() const override;
    QString usage() const override { return QStringLiteral("FILE OUT [--yes|--no]"); }
    int run(const Invocation& invocation) override;
};

// pipeloop-cli check FILE: the connection check. Lists every
// object it highlights (section, name, NS, EW, HG, tab-separated) and exits
// with 1 when there is one.
class CheckCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString summary() const override;
    QString usage() const override { return QStringLiteral("FILE [--yes|--no] [--out FILE]"); }
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
