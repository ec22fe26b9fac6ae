#pragma once

// The arithmetic of the drawing area: pixels to model millimetres, grid
// snapping (Snapping.h, shared with the editing layer), zoom steps and the
// status bar's coordinate texts. Kept apart from the widgets so that it can be
// checked without a window.

#include "ModelTypes.h"
#include "Snapping.h"
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

// Zoom factors never go below this.
inline constexpr int MinimumZoom = 5;
int ClampZoom(int factor);
// The factor Zoom In takes off and Zoom Out adds (F2, F3, Ctrl+wheel).
inline constexpr int ZoomStep = 5;

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

} // namespace pipeloop
