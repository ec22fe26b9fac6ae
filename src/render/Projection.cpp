#include "Projection.h"

#include "PipeLoop.h"
#include "Rounding.h"

#include <algorithm>

namespace pipeloop
{

namespace
{

// A device coordinate: base + offset, kept within ±2^28 so that no design
// value, however large, can overflow the integer arithmetic of the drawing
// (a point that far out is off any canvas).
constexpr int64_t kCoordinateLimit = int64_t(1) << 28;

int Coordinate(int64_t base, int64_t offset)
{
    return int(std::clamp(base + offset, -kCoordinateLimit, kCoordinateLimit));
}

} // namespace

QPoint PlanPoint(const TDrawParams& p, int32_t ns, int32_t ew)
{
    return QPoint(Coordinate(int64_t(p.Left) + p.OriginX, Round(ew * p.ScaleX)),
                  Coordinate(int64_t(p.Top) + p.OriginY, Round(ns * p.ScaleY)));
}

int SectionY(const TDrawParams& p, int32_t hg)
{
    return Coordinate(int64_t(p.Bottom) - p.OriginY, -int64_t(Round(hg * p.ScaleY)));
}

int SectionX(const TDrawParams& p, const TPipeLoop& design, int32_t ns, int32_t ew)
{
    const int64_t base = int64_t(p.Left) + p.OriginX;
    switch (p.View) {
    case ViewKind::North:
        return Coordinate(base, Round(p.ScaleX * (double(design.RoomEW) - double(ew))));
    case ViewKind::East:
        return Coordinate(base, Round(p.ScaleX * (double(design.RoomNS) - double(ns))));
    case ViewKind::South:
        return Coordinate(base, Round(p.ScaleX * ew));
    case ViewKind::West:
        return Coordinate(base, Round(p.ScaleX * ns));
    case ViewKind::Plan:
        break;
    }
    return Coordinate(base, 0);
}

int FeatureSectionX(const TDrawParams& p, int32_t ns, int32_t ew)
{
    const int64_t right = int64_t(p.Right) - p.OriginX;
    const int64_t left = int64_t(p.Left) + p.OriginX;
    switch (p.View) {
    case ViewKind::North:
        return Coordinate(right, -int64_t(Round(ew * p.ScaleX)));
    case ViewKind::East:
        return Coordinate(right, -int64_t(Round(ns * p.ScaleX)));
    case ViewKind::South:
        return Coordinate(left, Round(ew * p.ScaleX));
    case ViewKind::West:
        return Coordinate(left, Round(ns * p.ScaleX));
    case ViewKind::Plan:
        break;
    }
    return Coordinate(left, 0);
}

int GridX(const TDrawParams& p, int32_t v)
{
    return Coordinate(int64_t(p.Left) + p.OriginX, Round(v * p.ScaleX));
}

int GridY(const TDrawParams& p, int32_t v)
{
    return Coordinate(int64_t(p.Top) + p.OriginY, Round(v * p.ScaleY));
}

Position ScreenToModel(const TDrawParams& p, const TPipeLoop& design, QPoint point)
{
    const double dx = double(point.x()) - (double(p.Left) + p.OriginX);
    const double dy = double(point.y()) - (double(p.Top) + p.OriginY);
    const int32_t across = Round(dx / p.ScaleX);
    const int32_t down = Round(dy / p.ScaleY);

    int32_t ew = -1;
    int32_t ns = -1;
    int32_t h = -1;
    switch (p.View) {
    case ViewKind::Plan:
        ew = across;
        ns = down;
        break;
    case ViewKind::North:
        ew = HeightBelow(design.RoomEW, across);
        h = down;
        break;
    case ViewKind::East:
        ns = HeightBelow(design.RoomNS, across);
        h = down;
        break;
    case ViewKind::South:
        ew = across;
        h = down;
        break;
    case ViewKind::West:
        ns = across;
        h = down;
        break;
    }
    ew = std::min(ew, design.RoomEW);
    ns = std::min(ns, design.RoomNS);
    h = std::min(h, design.RoomHG);
    return {ns, ew, h == -1 ? -1 : HeightBelow(design.RoomHG, h)};
}

} // namespace pipeloop
