#pragma once

// The air analysis drawn over the plan: every segment coloured by the
// pressure along it, from green at the supply pressure through yellow to red
// at the supply less the allowed drop, and a darker red beyond; a legend in
// bar; every drop with a demand a dot in the colour of the pressure at its
// outlet (its own pipe may lose more than the ring); the worst drop ringed.

#include "AirAnalysis.h"
#include "PlanOverlay.h"

namespace pipeloop
{

// The colour of a pressure on the scale of the analysis.
WinColour PressureColour(const analysis::AirAnalysis& analysis, double pressure);

// The overlay of a solved analysis (nothing but an empty overlay otherwise).
PlanOverlay PressureOverlay(const analysis::AirAnalysis& analysis);

// "Pressure (bar)": the legend's title, which also names it to assistive
// technology where it stands on its own.
QString PressureLegendTitle();

} // namespace pipeloop
