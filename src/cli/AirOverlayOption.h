#pragma once

// --air-analysis of the picture and print subcommands: the plan drawn with
// the air supply's pressures over it, as the desktop program's "Analyse Air
// Supply" shows it.

#include "PlanOverlay.h"

#include <QString>

#include <memory>

namespace pipeloop
{
class TPipeLoop;
}

namespace pipeloop::cli
{

inline const QString AirAnalysisOption = QStringLiteral("--air-analysis");

// The design's pressure overlay, and ExitOk; else the reason on standard
// error and the status, as the analyse subcommand gives it: ExitCheckFailed
// when the design cannot be analysed or no drop has a demand to draw,
// ExitStopped when the flows do not settle.
int AirAnalysisOverlay(const TPipeLoop& design, std::shared_ptr<const PlanOverlay>& overlay);

} // namespace pipeloop::cli
