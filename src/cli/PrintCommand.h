#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli print FILE --view plan|north|east|south|west|all [--scale N|best|standard]
// [--portrait|--landscape] [--paper A4|A3|Letter...] [--drops] [--notes]
// [--out OUT.pdf]: the printed sheets of a project as the printer would
// receive them, as a PDF. Scale and orientation of each view come from the
// print settings the project carries (taken unless --no), else 1:150,
// landscape, centred; the options override them for every view printed.
// "best" applies the best-fit scale, "standard" the standard scale next above it. A view that does
// not fit refuses the job: nothing is written and the status is 2. The file is written completely
// or not at all.
class PrintCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("print"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    QStringList flagOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
