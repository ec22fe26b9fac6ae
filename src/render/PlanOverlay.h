#pragma once

// Something drawn over the plan that the design itself does not hold: pieces
// of pipe in colours of their own, a legend that says what the colours mean
// and a marked point. The plan knows nothing of what the colours stand for;
// whoever builds the overlay does (the air supply's pressures, for one).

#include "Canvas.h"
#include "DrawParams.h"

#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace pipeloop
{

// A straight piece of pipe on the plan (mm) in a colour.
struct OverlayLine {
    Position from;
    Position to;
    WinColour colour = kBlack;
};

// A label beside the colour scale, at a fraction of its length (0 the top,
// 1 the bottom).
struct LegendTick {
    double fraction = 0;
    QString label;
};

// A colour scale: bands of equal height from top to bottom, ticks beside
// them, and a band of its own below for what lies beyond the scale.
struct OverlayLegend {
    QString title;
    std::vector<WinColour> bands;
    std::vector<LegendTick> ticks;
    WinColour beyondColour = kBlack;
    QString beyondLabel; // no beyond band when empty

    bool empty() const { return bands.empty(); }
};

// A point in a colour of its own: a filled dot.
struct OverlaySpot {
    Position at;
    WinColour colour = kBlack;
};

// A point worth pointing at, ringed in its colour and labelled.
struct OverlayMarker {
    Position at;
    QString label;
    WinColour colour = kBlack;
};

struct PlanOverlay {
    std::vector<OverlayLine> lines;
    std::vector<OverlaySpot> spots;
    OverlayLegend legend;
    std::optional<OverlayMarker> marker;
};

// The lines, the spots and the marker drawn over the plan drawn with p, then the legend
// in the top right corner of p's area. Pipes are widened a little, so the
// plan's own pipe colour does not show beside them.
void DrawPlanOverlay(Canvas& canvas, const PlanOverlay& overlay, const TDrawParams& p);
// The lines, the spots and the marker alone, for a view that shows the legend apart.
void DrawOverlayLines(Canvas& canvas, const PlanOverlay& overlay, const TDrawParams& p);

// The legend drawn on the canvas with its top left corner at topLeft, its
// text unit (band width, font height) unit pixels; and the size it takes.
void DrawOverlayLegend(Canvas& canvas, const OverlayLegend& legend, QPoint topLeft, int unit);
QSize OverlayLegendSize(Canvas& canvas, const OverlayLegend& legend, int unit);

} // namespace pipeloop
