#pragma once

#include "Subcommand.h"

#include "OutputProject.h"

namespace pipeloop::cli
{

// pipeloop-cli dxf FILE [--out OUT.dxf]: the DXF drawing (loop,
// spurs and drops as 3D lines on three layers), byte for byte. With --out
// the file is written completely or not at all (a failure leaves an existing
// file unchanged and shows "Problem writing to :", as any write of the
// command line does); without it the bytes go to standard output.
class DxfCommand : public Subcommand
{
public:
    QString name() const override { return QStringLiteral("dxf"); }
    QString summary() const override;
    QString usage() const override;
    int run(const Invocation& invocation) override;
};

} // namespace pipeloop::cli
