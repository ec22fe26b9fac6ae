#pragma once

// The projections from model millimetres to device pixels, and
// their inverse (ScreenToModel). NS grows southwards, EW
// eastwards, HG upwards; W = RoomEW, L = RoomNS, H = RoomHG. Every conversion
// rounds to nearest with halves to even. Device coordinates are kept within
// ±2^28 (far off any canvas), so that no value read from a file can overflow
// the drawing's integer arithmetic.

#include "DrawParams.h"

#include <QPoint>

#include <cstdint>

namespace pipeloop
{

class TPipeLoop;

// Plan: (Left + OriginX + Round(EW·ScaleX), Top + OriginY + Round(NS·ScaleY)).
QPoint PlanPoint(const TDrawParams& p, int32_t ns, int32_t ew);

// Section height: Bottom − OriginY − Round(HG·ScaleY).
int SectionY(const TDrawParams& p, int32_t hg);

// Section position of loop objects (corners, drops, drains, inlets, valves;
// also spur ends): North Left + OriginX + Round(ScaleX·(W − EW)), East
// … (L − NS), South … EW, West … NS. The plan has none (Left + OriginX).
int SectionX(const TDrawParams& p, const TPipeLoop& design, int32_t ns, int32_t ew);

// Section position of building features: North Right − OriginX −
// Round(EW·ScaleX), East Right − OriginX − Round(NS·ScaleX), South and West as
// for loop objects without the reflection.
int FeatureSectionX(const TDrawParams& p, int32_t ns, int32_t ew);

// Grid coordinates of every view: x(v) = Left + OriginX + Round(v·ScaleX),
// y(v) = Top + OriginY + Round(v·ScaleY).
int GridX(const TDrawParams& p, int32_t v);
int GridY(const TDrawParams& p, int32_t v);

// The model position under a device point of the drawing area (the rules,
// ScreenToModel, measured from the area's Left + OriginX and Top + OriginY):
// the coordinate the view does not show is −1; EW, NS and the raw height are
// bounded above by the building (positions in the margin come out negative);
// HG = RoomHG − raw height in sections, −1 on the plan.
Position ScreenToModel(const TDrawParams& p, const TPipeLoop& design, QPoint point);

} // namespace pipeloop
