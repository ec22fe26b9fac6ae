#include "AirOverlayOption.h"

#include "AirAnalysis.h"
#include "PressureOverlay.h"
#include "UiServices.h"

namespace pipeloop::cli
{

std::shared_ptr<const PlanOverlay> AirAnalysisOverlay(const TPipeLoop& design)
{
    const analysis::AirAnalysis analysis = analysis::AnalyseAirSupply(design);
    if (!analysis.solved()) {
        Ui().error(analysis.problem);
        return nullptr;
    }
    if (analysis.totalDemand <= 0) {
        Ui().error(QStringLiteral("No drop has an air demand: give the drops theirs with the "
                                  "edit operation 'demand L/S [usage=FACTOR]'."));
        return nullptr;
    }
    return std::make_shared<const PlanOverlay>(PressureOverlay(analysis));
}

} // namespace pipeloop::cli
