#include "SectionRenderer.h"

#include "BuildingDrawing.h"
#include "ColourRules.h"
#include "IsoSymbols.h"
#include "Markers.h"
#include "ObjectLineIndex.h"
#include "PipeLoop.h"
#include "Projection.h"
#include "RecordingCanvas.h"
#include "Rounding.h"

#include <QHash>

#include <algorithm>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>

namespace pipeloop
{

namespace
{

// The single-precision half pi at which valves lie along the pipe in sections.
constexpr double kValveAngle = double(HalfPi);

int Next(int corner, int count)
{
    return corner + 1 < count ? corner + 1 : 0;
}

// The first corner (list order) with the given value on one axis whose other
// coordinate is the smallest (largest when wantLargest).
template <typename Axis, typename Other>
int PickCorner(const ElbowList& elbows, int32_t value, Axis axis, Other other, bool wantLargest)
{
    int best = -1;
    for (int i = 0; i < int(elbows.size()); ++i) {
        const TElbow& e = *elbows[size_t(i)];
        if (axis(e) != value)
            continue;
        if (best < 0)
            best = i;
        else if (wantLargest ? other(e) > other(*elbows[size_t(best)])
                             : other(e) < other(*elbows[size_t(best)]))
            best = i;
    }
    return best;
}

int32_t NsOf(const TElbow& e)
{
    return e.NS;
}
int32_t EwOf(const TElbow& e)
{
    return e.EW;
}

QPoint SectionPoint(const TDrawParams& p, const TPipeLoop& design, const TPipeLoopObject& object)
{
    return QPoint(SectionX(p, design, object.NS, object.EW), SectionY(p, object.HG));
}

// Pen and brush in the object's colour.
void UseColour(Canvas& canvas, WinColour colour)
{
    canvas.setPenColour(colour);
    canvas.setBrush({colour, BrushStyle::Solid});
}

// The hit rectangles that drawing a drop's leg stores, by the leg's look,
// relative to its anchor: one for each symbol, none where the drawing leaves
// a symbol's rectangle alone. A leg painted from a picture is not drawn, and
// takes its drop's rectangles from here.
using LegHitRects = std::vector<std::optional<SymbolRect>>;
using DropLegs = QHash<QByteArray, LegHitRects>;

void DrawDrop(Canvas& canvas, const TPipeLoop& design, TDrop& drop, const TDrawParams& p,
              DropLegs* legs);

// Draws the segments of a walk. An object lies on the line of every segment
// of the walk that shares its NS (a segment along NS) or its EW (along EW);
// the rules draw it at each of them, in both passes. Every drawing of an
// object paints the same pixels with the same state, so only its last drawing
// shows: the picture, DrawnInView and the hit rectangles are those of drawing
// it once, at the last of those segments of the last pass. That is what this
// does: a line's objects are visited once, and a loop with many corners along
// one wall stays linear.
class SectionDrawer
{
public:
    SectionDrawer(Canvas& canvas, TPipeLoop& design, const TDrawParams& p, std::vector<int> starts)
        : m_canvas(canvas), m_design(design), m_p(p), m_visible(canvas.clipBox()), m_index(design),
          m_starts(std::move(starts))
    {
        const int corners = int(design.Elbows.size());
        for (int k = 0; k < int(m_starts.size()); ++k) {
            const TElbow& a = *design.Elbows[size_t(m_starts[size_t(k)])];
            const TElbow& b = *design.Elbows[size_t(Next(m_starts[size_t(k)], corners))];
            if (a.NS == b.NS)
                m_lastAlongNS[a.NS] = k;
            if (a.EW == b.EW)
                m_lastAlongEW[a.EW] = k;
        }
    }

    // A walk of the run drawing the pipes (corner lines and pipe) and/or the
    // objects on the segments' lines.
    void Pass(bool withPipes, bool withObjects)
    {
        for (int k = 0; k < int(m_starts.size()); ++k)
            Segment(k, withPipes, withObjects);
    }

private:
    // The last segment of the walk whose line holds the point, or -1.
    int LastSegment(int32_t ns, int32_t ew) const
    {
        int last = -1;
        if (const auto it = m_lastAlongNS.find(ns); it != m_lastAlongNS.end())
            last = it->second;
        if (const auto it = m_lastAlongEW.find(ew); it != m_lastAlongEW.end())
            last = std::max(last, it->second);
        return last;
    }

    // The objects of one kind on the lines that end their part of the walk at
    // segment k, in list order.
    template <typename T, typename Draw>
    void DrawObjects(ObjectLineIndex::Kind kind, ObjectList<T>& list, const int32_t* ns,
                     const int32_t* ew, int k, Draw draw)
    {
        m_index.Collect(kind, ns, ew, m_found);
        for (int index : m_found) {
            T& object = *list[size_t(index)];
            if (LastSegment(object.NS, object.EW) == k)
                draw(m_canvas, m_design, object, m_p);
        }
    }

    // A line of the walk, left out where it cannot show: a loop of thousands
    // of corners seen close up costs what its visible part does.
    void Line(QPoint from, QPoint to, int penWidth)
    {
        if (!LineMayShow(m_visible, from, to, penWidth))
            return;
        m_lastCornerLine.reset();
        m_canvas.moveTo(from);
        m_canvas.lineTo(to);
    }

    // A corner line, black and as high as the picture. A corner seen end on
    // (a run along the line of sight) puts both its corner lines on the same
    // x: drawn again with nothing drawn since, a line changes no pixel.
    void CornerLine(int x)
    {
        if (m_lastCornerLine == x)
            return;
        Line({x, m_p.Top}, {x, m_p.Bottom}, 1);
        m_lastCornerLine = x;
    }

    void Segment(int k, bool withPipes, bool withObjects)
    {
        const int i = m_starts[size_t(k)];
        const int j = Next(i, int(m_design.Elbows.size()));
        TElbow& a = *m_design.Elbows[size_t(i)];
        TElbow& b = *m_design.Elbows[size_t(j)];
        const int xa = SectionX(m_p, m_design, a.NS, a.EW);
        const int xb = SectionX(m_p, m_design, b.NS, b.EW);

        // 1: corner lines.
        m_canvas.setPenWidth(1);
        if (withPipes) {
            m_canvas.setPenColour(kBlack);
            CornerLine(xa);
            CornerLine(xb);
        }
        // 2: the pipe.
        m_canvas.setPenColour(ObjectPenColour(m_design, a, m_p));
        if (withPipes) {
            m_canvas.setPenWidth(m_p.PipeWidth);
            Line({xa, SectionY(m_p, a.PipeHeight())}, {xb, SectionY(m_p, b.PipeHeight())},
                 m_p.PipeWidth);
            m_canvas.setPenWidth(1);
        }
        a.DrawnInView = true;
        b.DrawnInView = true;

        // 3-6: the objects on the segment's line: valves, drains, inlets, drops.
        m_canvas.setPenColour(kBlack);
        if (!withObjects)
            return;
        const auto lastHere = [&](const auto& lines, int32_t value) {
            const auto it = lines.find(value);
            return it != lines.end() && it->second == k;
        };
        const int32_t* ns = a.NS == b.NS && lastHere(m_lastAlongNS, a.NS) ? &a.NS : nullptr;
        const int32_t* ew = a.EW == b.EW && lastHere(m_lastAlongEW, a.EW) ? &a.EW : nullptr;
        if (ns == nullptr && ew == nullptr)
            return;
        m_lastCornerLine.reset();
        if (m_p.DrawSymbols)
            DrawObjects(ObjectLineIndex::Valves, m_design.Valves, ns, ew, k, DrawSectionValve);
        DrawObjects(ObjectLineIndex::Drains, m_design.Drains, ns, ew, k, DrawSectionDrain);
        DrawObjects(ObjectLineIndex::Inlets, m_design.Inlets, ns, ew, k, DrawSectionInlet);
        DrawObjects(ObjectLineIndex::Drops, m_design.Drops, ns, ew, k,
                    [this](Canvas& c, const TPipeLoop& d, TDrop& drop, const TDrawParams& p) {
                        DrawDrop(c, d, drop, p, &m_legs);
                    });
    }

    Canvas& m_canvas;
    TPipeLoop& m_design;
    const TDrawParams& m_p;
    PixelRect m_visible;
    ObjectLineIndex m_index;
    std::vector<int> m_starts;
    // The last segment (position in the walk) along each NS and each EW line.
    std::unordered_map<int32_t, int> m_lastAlongNS;
    std::unordered_map<int32_t, int> m_lastAlongEW;
    std::vector<int> m_found;
    DropLegs m_legs;
    // The x of the corner line drawn last while nothing has been drawn after it.
    std::optional<int> m_lastCornerLine;
};

// A drop's pipe from (x, y0) down, its outlet and its symbols, in the
// drop's colour; the symbols store their hit rectangles outside print mode.
void DrawDropLeg(Canvas& canvas, const TPipeLoop& design, TDrop& drop, const TDrawParams& p, int x,
                 int y0)
{
    const WinColour highlight = design.Options.SelectColour;
    const int s = p.SymbolSize;
    const int h = s / 2;
    UseColour(canvas, ObjectPenColour(design, drop, p));
    canvas.setPenWidth(p.PipeWidth);
    canvas.moveTo(x, y0);

    if (drop.IsFemale()) {
        // The outlet: a short leg and a triangle, the hose hanging below it.
        const int y1 = y0 + s;
        canvas.lineTo(x, y1);
        canvas.setPenWidth(1);
        canvas.polygon({QPoint(x - h, y1), QPoint(x + h, y1), QPoint(x, y1 + h)});
        canvas.setPenWidth(p.PipeWidth);
        canvas.moveTo(x, y1 + h);
        if (!drop.Symbols.empty()) {
            const int below = DrawHoseStack(canvas, drop.Symbols, x, drop.SelectedSymbol, highlight,
                                            p.PipeWidth, p.PrintMode, s, y1 + h);
            if (p.DrawSymbols)
                DrawSymbolStack(canvas, drop.Symbols, x, p.PipeWidth, below, drop.SelectedSymbol,
                                highlight, p.PrintMode, s, 0);
        }
    } else {
        const int end = SectionY(p, HeightBelow(drop.HG, drop.PipeLen));
        canvas.lineTo(x, end);
        if (p.DrawSymbols)
            DrawSymbolStack(canvas, drop.Symbols, x, p.PipeWidth, 0, drop.SelectedSymbol, highlight,
                            p.PrintMode, s, end - s);
    }
}

// All that DrawDropLeg reads, but the anchor.
QByteArray DropLegLook(const TPipeLoop& design, const TDrop& drop, const TDrawParams& p, int y0)
{
    std::vector<int32_t> look{int32_t(ObjectPenColour(design, drop, p)),
                              int32_t(design.Options.SelectColour),
                              p.SymbolSize,
                              p.PipeWidth,
                              int32_t(p.PrintMode),
                              int32_t(p.DrawSymbols),
                              int32_t(drop.IsFemale()),
                              drop.SelectedSymbol,
                              SectionY(p, HeightBelow(drop.HG, drop.PipeLen)) - y0};
    for (const TSymbolEntry& entry : drop.Symbols) {
        look.push_back(int32_t(entry.Keyword.size()));
        for (const QChar c : entry.Keyword)
            look.push_back(c.unicode());
    }
    return QByteArray(reinterpret_cast<const char*>(look.data()),
                      qsizetype(look.size() * sizeof(int32_t)));
}

SymbolRect Moved(const SymbolRect& r, QPoint by)
{
    return {r.Left + by.x(), r.Top + by.y(), r.Right + by.x(), r.Bottom + by.y()};
}

void StoreHitRects(TDrop& drop, const LegHitRects& rects, QPoint anchor)
{
    for (size_t i = 0; i < rects.size() && i < drop.Symbols.size(); ++i)
        if (rects[i])
            drop.Symbols[i].Record.Rect = Moved(*rects[i], anchor);
}

// Draws a drop's leg with DrawDropLeg, noting the hit rectangles it stores
// (relative to the anchor) the first time it runs.
class NotedLeg
{
public:
    NotedLeg(const TPipeLoop& design, TDrop& drop, const TDrawParams& p, QPoint anchor)
        : m_design(design), m_drop(drop), m_p(p), m_anchor(anchor)
    {
    }

    void operator()(Canvas& canvas)
    {
        if (m_ran) {
            DrawDropLeg(canvas, m_design, m_drop, m_p, m_anchor.x(), m_anchor.y());
            return;
        }
        // A rectangle the drawing does not store keeps an impossible value.
        constexpr SymbolRect unset{1, 1, 0, 0};
        std::vector<SymbolRect> before;
        before.reserve(m_drop.Symbols.size());
        for (TSymbolEntry& entry : m_drop.Symbols) {
            before.push_back(entry.Record.Rect);
            entry.Record.Rect = unset;
        }
        DrawDropLeg(canvas, m_design, m_drop, m_p, m_anchor.x(), m_anchor.y());
        m_ran = true;
        m_rects.resize(m_drop.Symbols.size());
        for (size_t i = 0; i < m_drop.Symbols.size(); ++i) {
            SymbolRect& rect = m_drop.Symbols[i].Record.Rect;
            if (rect == unset)
                rect = before[i];
            else
                m_rects[i] = Moved(rect, -m_anchor);
        }
    }

    bool ran() const { return m_ran; }
    const LegHitRects& rects() const { return m_rects; }

private:
    const TPipeLoop& m_design;
    TDrop& m_drop;
    const TDrawParams& m_p;
    QPoint m_anchor;
    bool m_ran = false;
    LegHitRects m_rects;
};

void ClearDrawnInView(TPipeLoop& design)
{
    for (auto& o : design.Drops)
        o->DrawnInView = false;
    for (auto& o : design.Drains)
        o->DrawnInView = false;
    for (auto& o : design.Elbows)
        o->DrawnInView = false;
    for (auto& o : design.Inlets)
        o->DrawnInView = false;
    for (auto& o : design.Valves)
        o->DrawnInView = false;
}

} // namespace

std::vector<int> CornerRun::segmentStarts(int cornerCount) const
{
    std::vector<int> starts;
    if (empty() || cornerCount <= 0)
        return starts;
    int i = first;
    do {
        starts.push_back(i);
        i = Next(i, cornerCount);
    } while (i != last);
    return starts;
}

CornerRun VisibleCornerRun(const ElbowList& elbows, ViewKind view)
{
    CornerRun run;
    if (elbows.empty() || view == ViewKind::Plan)
        return run;
    int32_t minNS = 0, maxEW = 0, minEW = 0, maxNS = 0;
    ElbowExtents(elbows, minNS, maxEW, minEW, maxNS);

    int a = -1;
    int b = -1;
    bool (*farSide)(const TElbow&, int32_t, int32_t, int32_t, int32_t) = nullptr;
    switch (view) {
    case ViewKind::North:
        a = PickCorner(elbows, minEW, EwOf, NsOf, false);
        b = PickCorner(elbows, maxEW, EwOf, NsOf, false);
        farSide = [](const TElbow& e, int32_t, int32_t, int32_t, int32_t mxNS) {
            return e.NS == mxNS;
        };
        break;
    case ViewKind::East:
        a = PickCorner(elbows, minNS, NsOf, EwOf, true);
        b = PickCorner(elbows, maxNS, NsOf, EwOf, true);
        farSide = [](const TElbow& e, int32_t, int32_t, int32_t mnEW, int32_t) {
            return e.EW == mnEW;
        };
        break;
    case ViewKind::South:
        a = PickCorner(elbows, minEW, EwOf, NsOf, true);
        b = PickCorner(elbows, maxEW, EwOf, NsOf, true);
        farSide = [](const TElbow& e, int32_t mnNS, int32_t, int32_t, int32_t) {
            return e.NS == mnNS;
        };
        break;
    case ViewKind::West:
        a = PickCorner(elbows, minNS, NsOf, EwOf, false);
        b = PickCorner(elbows, maxNS, NsOf, EwOf, false);
        farSide = [](const TElbow& e, int32_t, int32_t mxEW, int32_t, int32_t) {
            return e.EW == mxEW;
        };
        break;
    case ViewKind::Plan:
        return run;
    }
    if (a > b)
        std::swap(a, b);
    run.a = a;
    run.b = b;

    bool crossesFarSide = false;
    for (int i = a; i <= b && !crossesFarSide; ++i)
        crossesFarSide = farSide(*elbows[size_t(i)], minNS, maxEW, minEW, maxNS);
    run.first = crossesFarSide ? b : a;
    run.last = crossesFarSide ? a : b;
    return run;
}

void DrawSection(Canvas& canvas, TPipeLoop& design, const TDrawParams& p)
{
    // 1, 2
    canvas.setPenWidth(1);
    DrawGrid(canvas, design, p);
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    ClearDrawnInView(design);

    // 3, 4
    const std::vector<int> segments =
        VisibleCornerRun(design.Elbows, p.View).segmentStarts(int(design.Elbows.size()));
    DrawBuildFeatures(canvas, design, p);

    // 5: pass 1, pipes and objects; with symbols pass 2, the objects again on
    // top of every pipe. Pass 2 covers every object pass 1 drew with the same
    // pixels, so pass 1 leaves them out then (SectionDrawer).
    SectionDrawer drawer(canvas, design, p, segments);
    drawer.Pass(true, !p.DrawSymbols);
    if (p.DrawSymbols)
        drawer.Pass(false, true);

    if (design.Selected != nullptr && !p.PrintMode)
        DrawSectionSelection(canvas, design, p);
}

void DrawSectionValve(Canvas& canvas, const TPipeLoop& design, TValve& valve, const TDrawParams& p)
{
    canvas.setPenColour(ObjectPenColour(design, valve, p));
    // Hundreds of valves look alike: a figure, painted from a picture of the first.
    const QPoint at = SectionPoint(p, design, valve);
    canvas.figure(at, [&](Canvas& c) { DrawValveSymbol(c, at, p.SymbolSize, kValveAngle); });
    valve.DrawnInView = true;
}

void DrawSectionDrain(Canvas& canvas, const TPipeLoop& design, TDrain& drain, const TDrawParams& p)
{
    const QPoint top = SectionPoint(p, design, drain);
    const int bottom = SectionY(p, HeightBelow(drain.HG, drain.PipeLen));
    canvas.setPenColour(ObjectPenColour(design, drain, p));
    canvas.figure(top, [&](Canvas& c) {
        c.setPenWidth(p.PipeWidth);
        c.moveTo(top);
        c.lineTo(top.x(), bottom);
        c.setPenWidth(1);
        if (p.DrawSymbols)
            DrawDrainSymbol(c, QPoint(top.x(), bottom - p.SymbolSize), p.SymbolSize, drain.Manual);
    });
    drain.DrawnInView = true;
}

void DrawSectionInlet(Canvas& canvas, const TPipeLoop& design, TInlet& inlet, const TDrawParams& p)
{
    const int x = SectionX(p, design, inlet.NS, inlet.EW);
    // Top + OriginY + Round(PipeDepth · ScaleY): the main, PipeDepth below the roof.
    const QPoint tip(x, GridY(p, p.PipeDepth));
    UseColour(canvas, ObjectPenColour(design, inlet, p));
    canvas.setPenWidth(p.PipeWidth);
    DrawArrow(canvas, tip, p.SymbolSize, 0.0);
    if (p.SymbolNames) {
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.textOut(QPoint(x, tip.y() + p.SymbolSize),
                       ElideText(canvas, inlet.Name, RoomRightOf(canvas, x)));
    }
    inlet.DrawnInView = true;
}

void DrawSectionDrop(Canvas& canvas, const TPipeLoop& design, TDrop& drop, const TDrawParams& p)
{
    DrawDrop(canvas, design, drop, p, nullptr);
}

namespace
{

// With legs, a leg of a look seen before may be painted without drawing it.
void DrawDrop(Canvas& canvas, const TPipeLoop& design, TDrop& drop, const TDrawParams& p,
              DropLegs* legs)
{
    const int x = SectionX(p, design, drop.NS, drop.EW);
    const int y0 = SectionY(p, drop.HG);
    const QPoint anchor(x, y0);
    drop.DrawnInView = true;
    // The leg and its symbols: the same figure at every drop of the same
    // stack, length and colours, which a section of many drops repeats.
    if (legs == nullptr) {
        canvas.figure(anchor, [&](Canvas& c) { DrawDropLeg(c, design, drop, p, x, y0); });
    } else {
        // The leg starts by setting these: set first, they make the state
        // the figure starts in the same at every drop of the look.
        UseColour(canvas, ObjectPenColour(design, drop, p));
        canvas.setPenWidth(p.PipeWidth);
        canvas.moveTo(anchor);
        const QByteArray look = DropLegLook(design, drop, p, y0);
        NotedLeg leg(design, drop, p, anchor);
        canvas.figure(anchor, look, std::ref(leg));
        const auto known = legs->constFind(look);
        if (!leg.ran() && known != legs->constEnd()) {
            StoreHitRects(drop, *known, anchor);
        } else {
            if (!leg.ran()) {
                // Pictured by a canvas that saw the look in an earlier drawing.
                RecordingCanvas scratch(canvas.size());
                leg(scratch);
            }
            legs->insert(look, leg.rects());
        }
    }

    if (p.SymbolNames) {
        canvas.setBrushStyle(BrushStyle::Clear);
        const QString name = ElideText(canvas, drop.Name, RoomRightOf(canvas, x));
        canvas.textOut(QPoint(x, p.Top + p.OriginY - canvas.textExtent(name).height()), name);
    }
}

} // namespace

void DrawSectionSelection(Canvas& canvas, TPipeLoop& design, const TDrawParams& p)
{
    TPipeLoopObject* selected = design.Selected;
    if (selected == nullptr)
        return;
    UseColour(canvas, design.Options.SelectColour);

    switch (selected->Kind()) {
    case ObjectKind::Elbow: {
        const auto& elbow = static_cast<const TElbow&>(*selected);
        DrawCornerMarker(canvas, QPoint(SectionX(p, design, elbow.NS, elbow.EW), p.OriginY),
                         p.SymbolSize, elbow.VerticalDrop != 0);
        break;
    }
    case ObjectKind::Spur: {
        const auto& spur = static_cast<const TSpur&>(*selected);
        const int x = spur.NearEnd == TSpur::End::Start ? SectionX(p, design, spur.NS, spur.EW)
                                                        : SectionX(p, design, spur.NS2, spur.EW2);
        DrawCornerMarker(canvas, QPoint(x, p.OriginY), p.SymbolSize, spur.VerticalDrop != 0);
        break;
    }
    case ObjectKind::Inlet:
        DrawSectionInlet(canvas, design, static_cast<TInlet&>(*selected), p);
        break;
    case ObjectKind::Drop:
        DrawSectionDrop(canvas, design, static_cast<TDrop&>(*selected), p);
        break;
    case ObjectKind::Drain:
        DrawSectionDrain(canvas, design, static_cast<TDrain&>(*selected), p);
        break;
    case ObjectKind::Valve:
    case ObjectKind::BuildFeature:
        break;
    }
}

} // namespace pipeloop
