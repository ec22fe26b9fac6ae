#pragma once

// The plan view (View = 0): grid, building features, the loop,
// spurs, inlets, drops, drains, valves, the selected-object overlay and, on
// paper, the drop and inlet labels.

#include "Canvas.h"
#include "DrawParams.h"

namespace pipeloop
{

class TPipeLoop;

// Draws the design's plan with p. highlightElbows is the main window's
// "Highlight Elbows" check mark: a marker at every corner, and diamonds at
// both ends of every vertical drop spur. The walls are the caller's
// (DrawScreenWalls). The design is not changed.
void DrawPlan(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p,
              bool highlightElbows = false);

// Step 11 of the plan: the selection drawn again in "SelectColour" (a filled
// marker on a corner or at the spur's nearer end, the inlet arrow, the drop's
// circle, the drain symbol). Nothing without a selection.
void DrawPlanSelection(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p);

// Step 12: each drop's, then each inlet's name beside its plan point, leaning
// towards the centre of the drawing area, on a white brush.
void DrawPlanLabels(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p);

} // namespace pipeloop
