#pragma once

// The four sections (View 1 north, 2 east, 3 south, 4 west): the
// corners of the loop along the viewed side, their pipes, and the valves,
// drains, inlets and drops on those segments' lines, each marked DrawnInView
// for the section hit-test.

#include "Canvas.h"
#include "DrawParams.h"
#include "ElbowList.h"

#include <vector>

namespace pipeloop
{

class TDrain;
class TDrop;
class TInlet;
class TPipeLoop;
class TValve;

// The run of corners a section shows.
struct CornerRun {
    // The corners a and b of the view's rule, ordered so that a <= b.
    int a = -1;
    int b = -1;
    // The walk: from first forward (wrapping after the last corner to 0) up
    // to, not including, last; once round the whole loop when first == last.
    int first = -1;
    int last = -1;

    bool empty() const { return first < 0; }
    // The corner index of every segment start in walk order; segment i runs
    // from corner i to corner i + 1 (0 after the last).
    std::vector<int> segmentStarts(int cornerCount) const;
};

// North: a = the corner with EW = minEW and the smallest NS, b = EW = maxEW
// and the smallest NS; East: NS = minNS / maxNS with the largest EW; South:
// EW = minEW / maxEW with the largest NS; West: NS = minNS / maxNS with the
// smallest EW (the first in list order among equals). If a corner from a to
// b lies on the far side the walk goes from b forward to a, else from a to b.
// Empty without corners or on the plan.
CornerRun VisibleCornerRun(const ElbowList& elbows, ViewKind view);

// Draws the section of p.View: grid, building features, pass 1 (pipes and
// objects) and with DrawSymbols pass 2 (objects again, on top of every pipe),
// then the selected-object overlay. Clears DrawnInView of every drop, drain,
// corner, inlet and valve first and sets it on each one drawn. Outside print
// mode the drop symbol stacks store their hit rectangles. Every drawing of an
// object paints the same pixels, so only its last one shows: an object is
// drawn once, in the last pass (pass 2 with symbols, else pass 1) at the last
// segment of the walk on whose line it lies. The picture is that of the
// full corner-to-corner walk, and the cost stays linear in the design.
void DrawSection(Canvas& canvas, TPipeLoop& design, const TDrawParams& p);

// One object as a section shows it at its section position (pen colour by the
// colour rule), marked DrawnInView.
void DrawSectionValve(Canvas& canvas, const TPipeLoop& design, TValve& valve, const TDrawParams& p);
void DrawSectionDrain(Canvas& canvas, const TPipeLoop& design, TDrain& drain, const TDrawParams& p);
void DrawSectionInlet(Canvas& canvas, const TPipeLoop& design, TInlet& inlet, const TDrawParams& p);
void DrawSectionDrop(Canvas& canvas, const TPipeLoop& design, TDrop& drop, const TDrawParams& p);

// The selection in "SelectColour": a marker (circle, or square with a vertical
// drop) of half-size SymbolSize at (section x, OriginY) for a corner or the
// nearer spur end; an inlet, drop or drain drawn again at its section position.
void DrawSectionSelection(Canvas& canvas, TPipeLoop& design, const TDrawParams& p);

} // namespace pipeloop
