#include "PressureOverlay.h"

#include "Rounding.h"
#include "Units.h"

#include <algorithm>
#include <array>

namespace pipeloop
{

namespace
{

using analysis::AirAnalysis;

// A segment is drawn in this many pieces, each in the colour of the pressure
// at its middle: the pressure falls along it.
constexpr int PiecesPerSegment = 8;
constexpr int LegendBands = 12;
constexpr int LegendDecimals = 3;

struct Rgb {
    double r, g, b;
};
constexpr std::array<Rgb, 3> Scale{{{0, 160, 0}, {230, 200, 0}, {220, 0, 0}}};
constexpr WinColour BeyondColour = 0x000070; // dark red
constexpr WinColour MarkerColour = 0x800000; // navy: apart from every colour of the scale

WinColour ToWinColour(const Rgb& c)
{
    return WinColour(Round(c.b)) << 16 | WinColour(Round(c.g)) << 8 | WinColour(Round(c.r));
}

// 0 the supply pressure, 1 the allowed drop below it.
WinColour ScaleColour(double fraction)
{
    const double at = std::clamp(fraction, 0.0, 1.0) * double(Scale.size() - 1);
    const size_t low = std::min(size_t(at), Scale.size() - 2);
    const double t = at - double(low);
    const Rgb& a = Scale[low];
    const Rgb& b = Scale[low + 1];
    return ToWinColour({a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t});
}

Position Between(const Position& a, const Position& b, double t)
{
    return MakePosition(Round(a.NS + (double(b.NS) - a.NS) * t),
                        Round(a.EW + (double(b.EW) - a.EW) * t));
}

void AddSegments(const AirAnalysis& a, PlanOverlay& overlay)
{
    for (const auto& segment : a.segments) {
        const auto& from = a.points[size_t(segment.from)];
        const auto& to = a.points[size_t(segment.to)];
        if (!from.at || !to.at || !from.supplied || !to.supplied)
            continue;
        for (int k = 0; k < PiecesPerSegment; ++k) {
            const double start = double(k) / PiecesPerSegment;
            const double end = double(k + 1) / PiecesPerSegment;
            const double middle = (start + end) / 2;
            const double pressure = from.pressure + (to.pressure - from.pressure) * middle;
            overlay.lines.push_back({Between(*from.at, *to.at, start),
                                     Between(*from.at, *to.at, end), PressureColour(a, pressure)});
        }
    }
}

QString Bar(double pressure)
{
    return FormatFixed(pressure, LegendDecimals);
}

OverlayLegend Legend(const AirAnalysis& a)
{
    OverlayLegend legend;
    legend.title = PressureLegendTitle();
    for (int i = 0; i < LegendBands; ++i)
        legend.bands.push_back(ScaleColour((i + 0.5) / LegendBands));
    for (double fraction : {0.0, 0.5, 1.0})
        legend.ticks.push_back({fraction, Bar(a.supplyPressure - fraction * a.allowedDrop)});
    legend.beyondColour = BeyondColour;
    legend.beyondLabel = QStringLiteral("< ") + Bar(a.supplyPressure - a.allowedDrop);
    return legend;
}

} // namespace

QString PressureLegendTitle()
{
    return QStringLiteral("Pressure (bar)");
}

WinColour PressureColour(const AirAnalysis& a, double pressure)
{
    const double drop = a.supplyPressure - pressure;
    if (!(a.allowedDrop > 0))
        return drop > 0 ? BeyondColour : ScaleColour(0);
    const double fraction = drop / a.allowedDrop;
    return fraction > 1 ? BeyondColour : ScaleColour(fraction);
}

PlanOverlay PressureOverlay(const AirAnalysis& a)
{
    PlanOverlay overlay;
    if (!a.solved())
        return overlay;
    AddSegments(a, overlay);
    for (const auto& drop : a.drops)
        if (drop.supplied && drop.demand > 0)
            overlay.spots.push_back({drop.drop->position(), PressureColour(a, drop.pressure)});
    overlay.legend = Legend(a);
    if (a.worst >= 0) {
        const auto& worst = a.drops[size_t(a.worst)];
        overlay.marker = OverlayMarker{
            worst.drop->position(),
            QStringLiteral("%1 %2 bar").arg(worst.drop->Name, Bar(worst.pressure)), MarkerColour};
    }
    return overlay;
}

} // namespace pipeloop
