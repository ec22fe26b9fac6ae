#include "CliApp.h"

#include "AirFlowCommand.h"
#include "AnalyseCommand.h"
#include "CatalogueCommands.h"
#include "DxfCommand.h"
#include "EditCommand.h"
#include "ElbowsCommand.h"
#include "PartsListCommand.h"
#include "PictureCommand.h"
#include "PrintCommand.h"
#include "ProjectCommands.h"
#include "RenderCommand.h"
#include "UnitsCommand.h"

namespace pipeloop::cli
{

SubcommandList AllSubcommands()
{
    SubcommandList list;
    list.push_back(std::make_unique<UnitsCommand>());
    list.push_back(std::make_unique<ElbowsCommand>());
    list.push_back(std::make_unique<InfoCommand>());
    list.push_back(std::make_unique<CheckCommand>());
    list.push_back(std::make_unique<ResaveCommand>());
    list.push_back(std::make_unique<CatalogueCommand>());
    list.push_back(std::make_unique<PackCatalogueCommand>());
    list.push_back(std::make_unique<UnpackCatalogueCommand>());
    list.push_back(std::make_unique<PartsListCommand>());
    list.push_back(std::make_unique<RenderCommand>());
    list.push_back(std::make_unique<PictureCommand>());
    list.push_back(std::make_unique<DxfCommand>());
    list.push_back(std::make_unique<PrintCommand>());
    list.push_back(std::make_unique<EditCommand>());
    list.push_back(std::make_unique<AirFlowCommand>());
    list.push_back(std::make_unique<AnalyseCommand>());
    return list;
}

} // namespace pipeloop::cli
