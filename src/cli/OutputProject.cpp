#include "OutputProject.h"

namespace pipeloop::cli
{

bool OutputProject::open(const QString& path)
{
    ProjectLoad load = OpenProject(path, options, printSetup, zoom);
    if (!load)
        return false;
    load.Apply(design, options, printSetup, zoom);
    return design != nullptr;
}

} // namespace pipeloop::cli
