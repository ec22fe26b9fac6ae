#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli partslist FILE: generates the parts list of a project (Parts
// 4.4 to 4.6) with the demo or a given catalogue and writes the report as
// plain text (default), the spreadsheet text (tsv), rich text (rtf) or the
// status log (log). Defaults are the parts list window's: colour from the
// design, 6 m stock, steel clips for the main, technopolymer clips for drops,
// no end caps, two-port manifold 90602. Messages go to standard error; a stop
// exits with 2 (with --format log the log is still written, to show how far
// the walk went); unconnected symbols exit with 1.
class PartsListCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("partslist"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    QStringList flagOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
