#include "DxfCommand.h"

#include "DxfWriter.h"

#include <cstdio>

namespace pipeloop::cli {

bool OutputProject::open(const QString& path)
{
    ProjectLoad load = OpenProject(path, options, printSetup, zoom);
    if (!load)
        return false;
    load.Apply(design, options, printSetup, zoom);
    return design != nullptr;
}

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

    const QString out = invocation.option(QStringLiteral("--out"));
    if (out.isEmpty()) {
        const QByteArray bytes = DxfBytes(*project.design);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
        return ExitOk;
    }
    // The desktop writes in place and leaves a partial file after a failure
    //; the command line's contract is all or nothing.
    const DxfOptions options{DxfFileMode::Atomic};
    return SaveDxf(*project.design, out, options) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
