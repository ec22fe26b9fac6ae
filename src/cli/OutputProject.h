#pragma once

#include "PipeLoop.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"
#include "ProjectFile.h"

#include <QString>

#include <memory>

namespace pipeloop::cli
{

// A project opened the way the desktop program opens one (header check, then
// the load with the program's own options; the question "Load project file
// settings ?" is answered by --yes/--no), for the output subcommands.
struct OutputProject {
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;

    // Shows the failure and answers false.
    bool open(const QString& path);
};

} // namespace pipeloop::cli
