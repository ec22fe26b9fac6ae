#pragma once

// Where a click lands: grid snapping of a clicked position and the search
// tolerance of a click that selects. The desktop program's mouse and
// pipeloop-cli edit's positions go through the same rules.

#include "ModelTypes.h"

#include <cstdint>

namespace pipeloop
{

// One coordinate snapped to a grid of g millimetres: a remainder of more than
// half the spacing rounds away from zero, exactly half rounds toward it.
int32_t SnapValue(int32_t value, int32_t grid);

// The position snapped in the plane of the view (plan NS and EW; north and
// south EW and HG; east and west NS and HG) when the grid is on and snapping
// is wanted. A coordinate of -1 the view does not show is left alone.
Position SnapPosition(const Position& position, ViewKind view, int32_t grid, bool snapToGrid);

// The search tolerance of a click: six screen millimetres at any zoom.
inline int32_t SelectionTolerance(int zoom)
{
    return zoom * 6;
}

} // namespace pipeloop
