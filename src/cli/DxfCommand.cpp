#include "DxfCommand.h"

#include "DxfWriter.h"

namespace pipeloop::cli
{

QString DxfCommand::summary() const
{
    return QStringLiteral("DXF drawing of the loop, spurs and drops");
}

QString DxfCommand::usage() const
{
    return QStringLiteral("FILE [--out OUT.dxf] [--yes|--no]");
}

int DxfCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);

    OutputProject project;
    if (!project.open(path))
        return ExitStopped;

    return invocation.writeResult(DxfBytes(*project.design)) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
