#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli analyse FILE [--format text|tsv|json]: the air analysis of a
// project: the supply and allowed drop, the pressure at every drop, the flow
// in every segment, the worst drop and the smallest ring size (of the
// catalogue's pipe sizes) that keeps every drop within the allowed drop.
// Exit 1 when a drop with a demand loses more than allowed or is not fed, or
// the design has no inlet on a pipe; 2 when the flows do not settle.
class AnalyseCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("analyse"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--format")}; }
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
