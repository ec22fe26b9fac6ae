#include "ScreenView.h"

#include "BuildingDrawing.h"
#include "PipeLoop.h"
#include "PlanRenderer.h"
#include "Rounding.h"
#include "SectionRenderer.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace pipeloop
{

ScreenGeometry ScreenViewGeometry(const TPipeLoop& design, ViewKind view, int zoom, int dpiX,
                                  int dpiY)
{
    const int z = std::max(zoom, MinZoomFactor);
    const double px = dpiX / 25.4;
    const double py = dpiY / 25.4;
    int32_t across = design.RoomEW;
    int32_t down = design.RoomNS;
    if (view == ViewKind::North || view == ViewKind::South) {
        down = design.RoomHG;
    } else if (view == ViewKind::East || view == ViewKind::West) {
        across = design.RoomNS;
        down = design.RoomHG;
    }
    // Round(extent × px / Z) + 36, no larger than an int holds.
    const auto side = [](double pixels) {
        return int(std::min<int64_t>(int64_t(Round(pixels)) + 2 * ScreenMargin, INT32_MAX));
    };
    ScreenGeometry g;
    g.area = QSize(side(across * px / z), side(down * py / z));
    g.pixelsPerMmX = px / z;
    g.pixelsPerMmY = py / z;
    g.params = ScreenDrawParams(design, view, PixelRect{0, 0, g.area.width(), g.area.height()},
                                g.pixelsPerMmX, g.pixelsPerMmY);
    return g;
}

int FittingZoom(const TPipeLoop& design, ViewKind view, QSize size, int dpiX, int dpiY)
{
    const auto fits = [&](int zoom) {
        const QSize area = ScreenViewGeometry(design, view, zoom, dpiX, dpiY).area;
        return area.width() <= size.width() && area.height() <= size.height();
    };
    // The area shrinks as the factor grows: the first factor that fits, halving.
    int low = MinZoomFactor;
    int high = std::numeric_limits<int>::max();
    if (fits(low))
        return low;
    if (!fits(high))
        return high;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (fits(middle) ? high : low) = middle;
    }
    return high;
}

TDrawParams ScreenDrawParams(const TPipeLoop& design, ViewKind view, const PixelRect& area,
                             double pixelsPerMmX, double pixelsPerMmY)
{
    TDrawParams p;
    p.Left = area.left;
    p.Top = area.top;
    p.Right = area.right;
    p.Bottom = area.bottom;
    p.View = view;
    p.ScaleX = pixelsPerMmX;
    p.ScaleY = pixelsPerMmY;
    p.OriginX = ScreenMargin;
    p.OriginY = ScreenMargin;
    p.SymbolSize = ScreenSymbolSize;
    p.PipeWidth = ScreenPipeWidth;
    p.DrawSymbols = true;
    p.PrintMode = false;
    p.SymbolNames = false;
    p.PipeDepth = HeightBelow(design.RoomHG, design.Height);
    return p;
}

void PaintDesignView(Canvas& canvas, TPipeLoop& design, const TDrawParams& p, bool highlightElbows)
{
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.fillRect(PixelRect{p.Left, p.Top, p.Right, p.Bottom});
    if (design.Options.DrawWalls)
        DrawScreenWalls(canvas, p, design.Options);
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    if (p.View == ViewKind::Plan)
        DrawPlan(canvas, design, p, highlightElbows);
    else
        DrawSection(canvas, design, p);
}

} // namespace pipeloop
