#include "Snapping.h"

#include <cstdint>

namespace pipeloop
{

int32_t SnapValue(int32_t value, int32_t grid)
{
    if (grid <= 0)
        return value;
    const int32_t quotient = value / grid; // both truncate toward zero
    const int32_t remainder = value % grid;
    const int64_t down = int64_t(quotient) * grid;
    const int64_t up = down + grid;
    // Near the top of the range the next grid line may not exist: the one below serves.
    return static_cast<int32_t>(remainder > grid / 2 && up <= INT32_MAX ? up : down);
}

Position SnapPosition(const Position& position, ViewKind view, int32_t grid, bool snapToGrid)
{
    if (grid <= 0 || !snapToGrid)
        return position;
    Position snapped = position;
    switch (view) {
    case ViewKind::Plan:
        snapped.NS = SnapValue(position.NS, grid);
        snapped.EW = SnapValue(position.EW, grid);
        break;
    case ViewKind::North:
    case ViewKind::South:
        snapped.EW = SnapValue(position.EW, grid);
        snapped.HG = SnapValue(position.HG, grid);
        break;
    case ViewKind::East:
    case ViewKind::West:
        snapped.NS = SnapValue(position.NS, grid);
        snapped.HG = SnapValue(position.HG, grid);
        break;
    }
    return snapped;
}

} // namespace pipeloop
