#pragma once

// A view of the design as the main window shows it: the drawing
// area's size and drawing parameters for a view at a zoom factor and a
// resolution, and the paint of that area (white, the walls, the view).

#include "Canvas.h"
#include "DrawParams.h"

#include <QSize>

namespace pipeloop
{

class TPipeLoop;

// The smallest zoom factor (scale 1:Z).
inline constexpr int MinZoomFactor = 5;

struct ScreenGeometry {
    // The drawing area: the building at the scale plus the two margins.
    QSize area;
    // Pixels per millimetre: dots per inch / 25.4 / Z.
    double pixelsPerMmX = 0.0;
    double pixelsPerMmY = 0.0;
    // The screen's drawing parameters for that area.
    TDrawParams params;
};

// UpdateViewGeometry: Z below 5 counts as 5; plan W × L, north and south
// W × H, east and west L × H, each side Round(extent × dpi / 25.4 / Z) + 36.
ScreenGeometry ScreenViewGeometry(const TPipeLoop& design, ViewKind view, int zoom, int dpiX,
                                  int dpiY);

// The largest zoom (the smallest factor, not below 5) at which the view's
// drawing area fits in a size; the largest factor an int holds when none does.
int FittingZoom(const TPipeLoop& design, ViewKind view, QSize size, int dpiX, int dpiY);

// The drawing parameters the screen uses over an area: margins 18, symbol
// size 12, pipe width 3, symbols, not print mode, no names, PipeDepth =
// RoomHG − Height.
TDrawParams ScreenDrawParams(const TPipeLoop& design, ViewKind view, const PixelRect& area,
                             double pixelsPerMmX, double pixelsPerMmY);

// pbPipeLoopPaint with a design open: the area white, the walls when
// "DrawWalls" (the floor hatched in sections), then the plan (with the
// "Highlight Elbows" flag) or the section.
void PaintDesignView(Canvas& canvas, TPipeLoop& design, const TDrawParams& p,
                     bool highlightElbows = false);

} // namespace pipeloop
