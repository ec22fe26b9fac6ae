#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli units format MM --units U | parse TEXT --units U | size MM:
// the length and size texts.
class UnitsCommand : public Subcommand
{
public:
    QString name() const override;
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
