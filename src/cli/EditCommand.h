#pragma once

#include "Subcommand.h"

namespace pipeloop::cli
{

// pipeloop-cli edit FILE --script OPS [--out OUT]: opens the project, runs
// the script's operations (EditScript.h) through the document in order, and
// saves the result to OUT (default FILE) completely or not at all. The first
// refused line stops the run ("error: line N: " + the message) and nothing
// is written.
class EditCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("edit"); }
    QString summary() const override;
    QString usage() const override;
    QStringList valueOptions() const override { return {QStringLiteral("--script")}; }
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
