#include "AirOverlayOption.h"

#include "AirAnalysis.h"
#include "PressureOverlay.h"
#include "Subcommand.h"
#include "UiServices.h"

namespace pipeloop::cli
{

int AirAnalysisOverlay(const TPipeLoop& design, std::shared_ptr<const PlanOverlay>& overlay)
{
    const analysis::AirAnalysis analysis = analysis::AnalyseAirSupply(design);
    if (!analysis.solved()) {
        Ui().error(analysis.problem);
        return analysis.outcome == analysis::AnalysisOutcome::NotSettled ? ExitStopped
                                                                         : ExitCheckFailed;
    }
    if (analysis.totalDemand <= 0) {
        Ui().error(QStringLiteral("No drop has an air demand: give the drops theirs with the "
                                  "edit operation 'demand L/S [usage=FACTOR]'."));
        return ExitCheckFailed;
    }
    overlay = std::make_shared<const PlanOverlay>(PressureOverlay(analysis));
    return ExitOk;
}

} // namespace pipeloop::cli
