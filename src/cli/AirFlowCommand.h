#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli airflow [--calculate drop|pressure|flow|diameter] [--flow Q]
// [--flow-unit cfm|l/s|m3/s] [--pressure BAR] [--drop BAR]: the air flow
// calculator with the desktop window's fields and defaults; prints the
// report lines.
class AirFlowCommand : public Subcommand
{
public:
    QString name() const override;
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
