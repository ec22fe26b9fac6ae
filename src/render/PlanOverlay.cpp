#include "PlanOverlay.h"

#include "Projection.h"
#include "Rounding.h"

#include <algorithm>

namespace pipeloop
{

namespace
{

constexpr int ScaleUnits = 8; // the colour scale's height in legend units

// Where the parts of a legend go, measured from its top left corner.
struct LegendLayout {
    int pad = 0;
    int titleHeight = 0;
    int barTop = 0;
    int barHeight = 0;
    int beyondTop = 0; // 0: no beyond band
    int labelX = 0;
    QSize size;
};

Font LegendFont(int unit)
{
    Font font;
    font.pixelHeight = unit;
    return font;
}

LegendLayout LayOut(Canvas& canvas, const OverlayLegend& legend, int unit)
{
    canvas.setFont(LegendFont(unit));
    LegendLayout l;
    l.pad = std::max(1, unit / 2);
    const QSize title = canvas.textExtent(legend.title);
    l.titleHeight = title.height();
    l.barTop = l.pad + l.titleHeight + l.pad;
    l.barHeight = ScaleUnits * unit;
    l.labelX = l.pad + unit + l.pad;
    int labelWidth = 0;
    for (const LegendTick& tick : legend.ticks)
        labelWidth = std::max(labelWidth, canvas.textExtent(tick.label).width());
    int bottom = l.barTop + l.barHeight;
    if (!legend.beyondLabel.isEmpty()) {
        l.beyondTop = bottom + l.pad;
        bottom = l.beyondTop + unit;
        labelWidth = std::max(labelWidth, canvas.textExtent(legend.beyondLabel).width());
    }
    const int width = std::max(l.pad + title.width(), l.labelX + labelWidth) + l.pad;
    l.size = QSize(width, bottom + l.titleHeight / 2 + l.pad);
    return l;
}

void DrawLabel(Canvas& canvas, int x, int centreY, int height, const QString& text)
{
    canvas.textOut(QPoint(x, centreY - height / 2), text);
}

void DrawMarker(Canvas& canvas, const OverlayMarker& marker, const TDrawParams& p)
{
    const QPoint centre = PlanPoint(p, marker.at.NS, marker.at.EW);
    const int radius = std::max(4, p.SymbolSize * 2);
    canvas.setPen({marker.colour, std::max(2, p.PipeWidth), PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.ellipse(centre.x() - radius, centre.y() - radius, centre.x() + radius + 1,
                   centre.y() + radius + 1);
    if (marker.label.isEmpty())
        return;
    canvas.setFont(LegendFont(std::max(8, p.SymbolSize)));
    canvas.setBrush({kWhite, BrushStyle::Solid});
    const QSize extent = canvas.textExtent(marker.label);
    canvas.textOut(QPoint(centre.x() + radius + 2, centre.y() - radius - extent.height()),
                   marker.label);
}

} // namespace

QSize OverlayLegendSize(Canvas& canvas, const OverlayLegend& legend, int unit)
{
    return legend.empty() ? QSize() : LayOut(canvas, legend, unit).size;
}

void DrawOverlayLegend(Canvas& canvas, const OverlayLegend& legend, QPoint topLeft, int unit)
{
    if (legend.empty())
        return;
    const LegendLayout l = LayOut(canvas, legend, unit);
    const int left = topLeft.x(), top = topLeft.y();
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.rectangle(left, top, left + l.size.width(), top + l.size.height());
    canvas.textOut(QPoint(left + l.pad, top + l.pad), legend.title);

    const int barLeft = left + l.pad, barTop = top + l.barTop;
    const int count = int(legend.bands.size());
    for (int i = 0; i < count; ++i) {
        canvas.setBrush({legend.bands[size_t(i)], BrushStyle::Solid});
        canvas.fillRect({barLeft, barTop + l.barHeight * i / count, barLeft + unit,
                         barTop + l.barHeight * (i + 1) / count});
    }
    canvas.setBrush({kWhite, BrushStyle::Clear});
    canvas.rectangle(barLeft, barTop, barLeft + unit, barTop + l.barHeight);

    canvas.setBrush({kWhite, BrushStyle::Solid});
    for (const LegendTick& tick : legend.ticks) {
        const int y = barTop + Round(std::clamp(tick.fraction, 0.0, 1.0) * l.barHeight);
        canvas.moveTo(barLeft + unit, y);
        canvas.lineTo(barLeft + unit + l.pad, y);
        DrawLabel(canvas, left + l.labelX, y, l.titleHeight, tick.label);
    }
    if (l.beyondTop > 0) {
        const int y = top + l.beyondTop;
        canvas.setBrush({legend.beyondColour, BrushStyle::Solid});
        canvas.rectangle(barLeft, y, barLeft + unit, y + unit);
        canvas.setBrush({kWhite, BrushStyle::Solid});
        DrawLabel(canvas, left + l.labelX, y + unit / 2, l.titleHeight, legend.beyondLabel);
    }
}

void DrawOverlayLines(Canvas& canvas, const PlanOverlay& overlay, const TDrawParams& p)
{
    const PixelRect clip = canvas.clipBox();
    const int width = p.PipeWidth + 2;
    for (const OverlayLine& line : overlay.lines) {
        const QPoint from = PlanPoint(p, line.from.NS, line.from.EW);
        const QPoint to = PlanPoint(p, line.to.NS, line.to.EW);
        if (!LineMayShow(clip, from, to, width))
            continue;
        canvas.setPen({line.colour, width, PenStyle::Solid});
        canvas.moveTo(from);
        canvas.lineTo(to); // wide pens have round ends: pieces in a row leave no gap
    }
    const int radius = std::max(2, p.SymbolSize / 2);
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    for (const OverlaySpot& spot : overlay.spots) {
        const QPoint at = PlanPoint(p, spot.at.NS, spot.at.EW);
        const PixelRect box{at.x() - radius, at.y() - radius, at.x() + radius + 1,
                            at.y() + radius + 1};
        if (!box.intersects(clip))
            continue;
        canvas.setBrush({spot.colour, BrushStyle::Solid});
        canvas.ellipse(box);
    }
    if (overlay.marker)
        DrawMarker(canvas, *overlay.marker, p);
}

void DrawPlanOverlay(Canvas& canvas, const PlanOverlay& overlay, const TDrawParams& p)
{
    DrawOverlayLines(canvas, overlay, p);
    const int unit = std::max(8, p.SymbolSize);
    const QSize size = OverlayLegendSize(canvas, overlay.legend, unit);
    DrawOverlayLegend(canvas, overlay.legend, QPoint(p.Right - unit - size.width(), p.Top + unit),
                      unit);
}

} // namespace pipeloop
