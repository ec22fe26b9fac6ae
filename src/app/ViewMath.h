#pragma once

// The arithmetic of the drawing area: pixels to model millimetres, grid
// snapping, zoom steps and the status bar's coordinate texts. Kept apart from
// the widgets so that it can be checked without a window.

#include "ModelTypes.h"
#include "Units.h"

#include <QSize>
#include <QString>

#include <cstdint>

namespace pipeloop
{

class TPipeLoop;
class TPipeLoopObject;

// The model position under a pixel of the drawing area in a view; a coordinate
// the view does not show is -1. Upper bounds only: the margins above and left
// of the building give negative values.
Position ScreenToModel(const TPipeLoop& design, ViewKind view, double pixelsPerMmX,
                       double pixelsPerMmY, int x, int y);

// One coordinate snapped to a grid of g millimetres: a remainder of more than
// half the spacing rounds away from zero, exactly half rounds toward it.
int32_t SnapValue(int32_t value, int32_t grid);

// The position snapped in the plane of the view (plan NS and EW; north and
// south EW and HG; east and west NS and HG) when the grid is on and snapping
// is wanted. A coordinate of -1 the view does not show is left alone.
Position SnapPosition(const Position& position, ViewKind view, int32_t grid, bool snapToGrid);

// Zoom factors never go below this.
inline constexpr int MinimumZoom = 5;
int ClampZoom(int factor);

// Zoom Out does nothing while the whole drawing area is already visible.
bool ZoomOutAllowed(const QSize& visibleClient, const QSize& drawingArea);

// A status bar coordinate: the length in the design's units with its suffix,
// or "---" when the coordinate is below 0.
QString CoordinateText(int32_t value, DisplayUnits units, const QString& suffix);

// The view caption above the drawing area.
QString ViewCaption(ViewKind view);

// Whether the drop view panel has a close-up of the object (a drop, an inlet
// or a drain), and the caption above it; empty for anything else.
bool ShownInDropView(const TPipeLoopObject* object);
QString DropViewCaption(const TPipeLoopObject* object);

// The search tolerance of a click: six screen millimetres at any zoom.
inline int32_t SelectionTolerance(int zoom)
{
    return zoom * 6;
}

} // namespace pipeloop
