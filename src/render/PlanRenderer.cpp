#include "PlanRenderer.h"

#include "BuildingDrawing.h"
#include "ColourRules.h"
#include "IsoSymbols.h"
#include "Markers.h"
#include "PipeLoop.h"
#include "Projection.h"
#include "Rounding.h"

namespace pipeloop
{

namespace
{

QPoint At(const TDrawParams& p, const TPipeLoopObject& object)
{
    return PlanPoint(p, object.NS, object.EW);
}

// The drop's mark on the plan: a filled circle of radius Trunc(0.5·s).
void DropDot(Canvas& canvas, QPoint centre, int symbolSize)
{
    const int r = Trunc(0.5 * symbolSize);
    canvas.ellipse(centre.x() - r, centre.y() - r, centre.x() + r, centre.y() + r);
}

void InletArrow(Canvas& canvas, const TInlet& inlet, const TDrawParams& p)
{
    canvas.setPenWidth(p.PipeWidth);
    DrawArrow(canvas, At(p, inlet), p.SymbolSize, double(inlet.Angle));
}

// A spur's end markers: diamonds for a vertical drop spur, else circles.
void SpurMarkers(Canvas& canvas, const TSpur& spur, const TDrawParams& p)
{
    const QPoint ends[2] = {PlanPoint(p, spur.NS, spur.EW), PlanPoint(p, spur.NS2, spur.EW2)};
    canvas.setPenWidth(1);
    canvas.setBrushStyle(BrushStyle::Clear);
    for (const QPoint& end : ends) {
        if (spur.VerticalDrop != 0)
            DrawDiamondMarker(canvas, end, p.SymbolSize);
        else
            DrawCornerMarker(canvas, end, p.SymbolSize, false);
    }
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenWidth(p.PipeWidth);
}

// Whether a corner marker at the point could show.
bool MarkerMayShow(const PixelRect& visible, QPoint at, int symbolSize)
{
    return LineMayShow(visible, at, at, 2 * symbolSize);
}

// The loop as one polyline, less the segments and markers that lie wholly
// outside the visible part of the canvas: a loop of thousands of corners
// seen close up costs what its visible part does. A segment after a left-out
// one starts with a move to its first corner.
void DrawLoop(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p, bool highlightElbows)
{
    const PixelRect visible = canvas.clipBox();
    bool first = true;
    QPoint previous;
    for (const auto& elbow : design.Elbows) {
        const QPoint at = At(p, *elbow);
        canvas.setPenColour(ObjectPenColour(design, *elbow, p));
        if (first) {
            canvas.moveTo(at);
        } else if (LineMayShow(visible, previous, at, p.PipeWidth)) {
            if (canvas.penPos() != previous)
                canvas.moveTo(previous);
            canvas.lineTo(at);
        }
        first = false;
        previous = at;
        if ((elbow->isHighlighted() || highlightElbows) &&
            MarkerMayShow(visible, at, p.SymbolSize)) {
            canvas.setPenWidth(1);
            canvas.setBrushStyle(BrushStyle::Clear);
            DrawCornerMarker(canvas, at, p.SymbolSize, elbow->VerticalDrop != 0);
            canvas.moveTo(at);
            canvas.setBrushStyle(BrushStyle::Solid);
            canvas.setPenWidth(p.PipeWidth);
        }
    }
}

void DrawSpurs(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p, bool highlightElbows)
{
    const PixelRect visible = canvas.clipBox();
    for (const auto& spur : design.Spurs) {
        const QPoint start = PlanPoint(p, spur->NS, spur->EW);
        const QPoint end = PlanPoint(p, spur->NS2, spur->EW2);
        if (!LineMayShow(visible, start, end, std::max(p.PipeWidth, 2 * p.SymbolSize)))
            continue;
        canvas.setPenColour(ObjectPenColour(design, *spur, p));
        canvas.moveTo(start);
        canvas.lineTo(end);
        if (spur->isHighlighted() || (highlightElbows && spur->VerticalDrop != 0))
            SpurMarkers(canvas, *spur, p);
    }
    canvas.setPenColour(kBlack);
}

} // namespace

void DrawPlan(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p, bool highlightElbows)
{
    // 1, 2: grid and building features.
    canvas.setPenWidth(1);
    DrawGrid(canvas, design, p);
    canvas.setPenStyle(PenStyle::Solid);
    DrawBuildFeatures(canvas, design, p);

    // 3-5: the loop and the spurs.
    canvas.setBrush({kBlack, BrushStyle::Solid});
    canvas.setPenWidth(p.PipeWidth);
    DrawLoop(canvas, design, p, highlightElbows);
    DrawSpurs(canvas, design, p, highlightElbows);

    // 6
    canvas.setPenWidth(1);
    if (!p.DrawSymbols)
        return;

    // 7: inlets.
    for (const auto& inlet : design.Inlets) {
        const WinColour colour = ObjectPenColour(design, *inlet, p);
        canvas.setPenColour(colour);
        canvas.setBrush({colour, BrushStyle::Solid});
        InletArrow(canvas, *inlet, p);
    }
    // 8: drops.
    for (const auto& drop : design.Drops) {
        const WinColour colour = ObjectPenColour(design, *drop, p);
        canvas.setPenColour(colour);
        canvas.setBrush({colour, BrushStyle::Solid});
        DropDot(canvas, At(p, *drop), p.SymbolSize);
    }
    // 9: drains.
    canvas.setBrushStyle(BrushStyle::Clear);
    for (const auto& drain : design.Drains) {
        canvas.setPenColour(ObjectPenColour(design, *drain, p));
        DrawDrainSymbol(canvas, At(p, *drain), p.SymbolSize, drain->Manual);
    }
    // 10: valves.
    for (const auto& valve : design.Valves) {
        canvas.setPenColour(ObjectPenColour(design, *valve, p));
        DrawValveSymbol(canvas, At(p, *valve), p.SymbolSize, double(valve->Angle));
    }

    // 11, 12
    if (design.Selected != nullptr && !p.PrintMode)
        DrawPlanSelection(canvas, design, p);
    if (p.PrintMode && design.Options.SymbolNamesOnPlan)
        DrawPlanLabels(canvas, design, p);
}

void DrawPlanSelection(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p)
{
    const TPipeLoopObject* selected = design.Selected;
    if (selected == nullptr)
        return;
    const WinColour colour = design.Options.SelectColour;
    canvas.setPenColour(colour);
    canvas.setBrush({colour, BrushStyle::Solid});

    switch (selected->Kind()) {
    case ObjectKind::Elbow: {
        const auto& elbow = static_cast<const TElbow&>(*selected);
        DrawCornerMarker(canvas, At(p, elbow), p.SymbolSize, elbow.VerticalDrop != 0);
        break;
    }
    case ObjectKind::Spur: {
        const auto& spur = static_cast<const TSpur&>(*selected);
        const QPoint end = spur.NearEnd == TSpur::End::Start ? PlanPoint(p, spur.NS, spur.EW)
                                                             : PlanPoint(p, spur.NS2, spur.EW2);
        if (spur.VerticalDrop != 0)
            DrawDiamondMarker(canvas, end, p.SymbolSize);
        else
            DrawCornerMarker(canvas, end, p.SymbolSize, false);
        break;
    }
    case ObjectKind::Inlet:
        InletArrow(canvas, static_cast<const TInlet&>(*selected), p);
        break;
    case ObjectKind::Drop:
        DropDot(canvas, At(p, *selected), p.SymbolSize);
        break;
    case ObjectKind::Drain:
        DrawDrainSymbol(canvas, At(p, *selected), p.SymbolSize,
                        static_cast<const TDrain&>(*selected).Manual);
        break;
    case ObjectKind::Valve:
    case ObjectKind::BuildFeature:
        break; // drawn in their selection colour by their own rule
    }
}

void DrawPlanLabels(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p)
{
    canvas.setBrush({kWhite, BrushStyle::Solid});
    const int e = p.SymbolSize / 2;
    const int midX = (p.Left + p.Right) / 2;
    const int midY = (p.Top + p.Bottom) / 2;
    const auto label = [&](const TPipeLoopObject& object) {
        const QPoint at = At(p, object);
        const bool leftwards = at.x() >= midX;
        const QString name =
            ElideText(canvas, object.Name,
                      leftwards ? RoomLeftOf(canvas, at.x() - e) : RoomRightOf(canvas, at.x() + e));
        const QSize extent = canvas.textExtent(name);
        const int w = extent.width();
        const int h = extent.height();
        PixelRect box;
        if (leftwards) {
            box.left = at.x() - e - w;
            box.right = at.x() - e;
        } else {
            box.left = at.x() + e;
            box.right = at.x() + e + w;
        }
        if (at.y() >= midY) {
            box.top = at.y() - e - h;
            box.bottom = at.y() - e;
        } else {
            box.top = at.y() + e;
            box.bottom = at.y() + e + h;
        }
        canvas.textRect(box, name, HAlign::Left, VAlign::Top);
    };
    for (const auto& drop : design.Drops)
        label(*drop);
    for (const auto& inlet : design.Inlets)
        label(*inlet);
}

} // namespace pipeloop
