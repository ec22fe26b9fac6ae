#include "CliApp.h"

#include "UnitsCommand.h"

namespace pipeloop::cli {

SubcommandList AllSubcommands()
{
    SubcommandList list;
    list.push_back(std::make_unique<UnitsCommand>());
    return list;
}

} // namespace pipeloop::cli
