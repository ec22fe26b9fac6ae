#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli elbows FILE [--scale 1|1000]: the elbows an elbow coordinate
// file yields, one per line: name, EW, NS and vertical drop,
// separated by tabs.
class ElbowsCommand : public Subcommand
{
public:
    QString name() const override;
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
