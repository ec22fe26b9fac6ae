#pragma once

// The building around the design: the grid, the wall bands and the
// building features, shared by the plan and the section views.

#include "Canvas.h"
#include "DrawParams.h"

namespace pipeloop
{

class TPipeLoop;
class TPipeLoopOptions;

// The grid when shown ("GridSpacing" > 0, and in print mode only with
// "PrintGrids"): pen width 1, "GridStyle", the grid colour; lines every
// "GridSpacing" millimetres over the view's extent (plan W × L, north and
// south W × H, east and west L × H). Leaves the pen style solid. Lines off a
// canvas of known size are left out, and a grid finer than a pixel draws each
// pixel's line once: the picture is the same.
void DrawGrid(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p);

// The four wall bands, OriginX / OriginY thick, pen and brush in colour, the
// top, right and left bands in style and the bottom band in bottomStyle.
void DrawBuildingWalls(Canvas& canvas, const TDrawParams& p, WinColour colour, BrushStyle style,
                       BrushStyle bottomStyle);

// The walls as the main window draws them before the view: "BuildingWallColour"
// and "BuildingWallStyle", the bottom band (the floor) forward-diagonal
// hatched in every section view.
void DrawScreenWalls(Canvas& canvas, const TDrawParams& p, const TPipeLoopOptions& options);

// Every building feature in list order: corner 1 at height 0 and corner 2 at
// the feature's Height, projected into the view; an ellipse or a rectangle in
// the feature colour and "BuildFeaturesStyle". With DrawSymbols, the name
// (centred at the bottom, or centred both ways for "GENERAL") and, for the
// equipment features, their ISO 1219 symbol at the centre with half-size
// (smaller side) div 3.
void DrawBuildFeatures(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p);

} // namespace pipeloop
