#pragma once

// The markers the plan and the sections put on corners and spur ends
// a circle of radius s, a square of half-side s, or a diamond of
// half-diagonal s, drawn with the current pen and brush.

#include "Canvas.h"

#include <QPoint>

namespace pipeloop
{

// A circle of radius s, or a square of half-side s when square is set (a
// corner with a vertical drop), centred on centre.
void DrawCornerMarker(Canvas& canvas, QPoint centre, int s, bool square);

// A diamond with its corners s left, above, right and below the centre.
void DrawDiamondMarker(Canvas& canvas, QPoint centre, int s);

} // namespace pipeloop
