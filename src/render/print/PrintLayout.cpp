#include "PrintLayout.h"

#include "PipeLoop.h"
#include "PrintSetup.h"
#include "Rounding.h"

#include <algorithm>

namespace pipeloop
{

PageGeometry PageGeometry::fromLayout(const QPageLayout& layout, int dpiX, int dpiY)
{
    // QPageLayout measures in one resolution; a printer with different
    // horizontal and vertical resolutions gets each axis at its own.
    const QRect fullX = layout.fullRectPixels(dpiX);
    const QRect paintX = layout.paintRectPixels(dpiX);
    const QRect fullY = layout.fullRectPixels(dpiY);
    const QRect paintY = layout.paintRectPixels(dpiY);
    PageGeometry geometry;
    geometry.dpiX = dpiX;
    geometry.dpiY = dpiY;
    geometry.physical = QSize(fullX.width(), fullY.height());
    geometry.offset = QPoint(paintX.left() - fullX.left(), paintY.top() - fullY.top());
    return geometry;
}

ViewExtent PrintExtent(const TPipeLoop& design, ViewKind view)
{
    switch (view) {
    case ViewKind::Plan:
        return {design.RoomEW, design.RoomNS};
    case ViewKind::North:
    case ViewKind::South:
        return {design.RoomEW, design.RoomHG};
    case ViewKind::East:
    case ViewKind::West:
        return {design.RoomNS, design.RoomHG};
    }
    return {};
}

bool ViewFits(ViewExtent extent, int32_t scale, float paperWidthMm, float paperHeightMm,
              int32_t headerMarginMm)
{
    if (scale < 1)
        return false;
    return extent.across / scale <= paperWidthMm &&
           extent.down / scale <= paperHeightMm - float(headerMarginMm);
}

int32_t BestFitScale(ViewExtent extent, float paperWidthMm, float paperHeightMm,
                     int32_t headerMarginMm)
{
    const double width = paperWidthMm;
    const double height = double(paperHeightMm) - headerMarginMm;
    // No room at all: no scale fits, and the division below would be meaningless.
    if (width <= 0.0 || height <= 0.0)
        return PrintSetup::MaxScale;
    const int64_t sA = RoundToInt64(extent.across / width) + 1;
    const int64_t sB = RoundToInt64(extent.down / height) + 1;
    const int64_t s = std::max(sA, sB);
    const int64_t scale = (s / 5) * 5 + 5;
    return int32_t(std::clamp<int64_t>(scale, PrintSetup::MinScale, PrintSetup::MaxScale));
}

int32_t StandardFitScale(ViewExtent extent, float paperWidthMm, float paperHeightMm,
                         int32_t headerMarginMm)
{
    static constexpr int32_t Standard[] = {1, 2, 5, 10, 20, 25, 50, 100, 200, 250, 500, 1000};
    const int32_t best = BestFitScale(extent, paperWidthMm, paperHeightMm, headerMarginMm);
    for (int32_t scale : Standard)
        if (scale >= best && ViewFits(extent, scale, paperWidthMm, paperHeightMm, headerMarginMm))
            return scale;
    return PrintSetup::MaxScale;
}

bool ViewFitsPage(const TPipeLoop& design, ViewKind view, int32_t scale, const PageGeometry& page)
{
    return ViewFits(PrintExtent(design, view), scale, page.paperWidthMm(), page.paperHeightMm(),
                    design.Options.HeaderMargin);
}

int32_t BestFitScaleForPage(const TPipeLoop& design, ViewKind view, const PageGeometry& page)
{
    return BestFitScale(PrintExtent(design, view), page.paperWidthMm(), page.paperHeightMm(),
                        design.Options.HeaderMargin);
}

int32_t StandardFitScaleForPage(const TPipeLoop& design, ViewKind view, const PageGeometry& page)
{
    return StandardFitScale(PrintExtent(design, view), page.paperWidthMm(), page.paperHeightMm(),
                            design.Options.HeaderMargin);
}

PageFrame PageFrame::onPaper(const PageGeometry& geometry)
{
    return {geometry.pageRect(), double(geometry.dpiX), double(geometry.dpiY)};
}

PageFrame PageFrame::reduced(const PageGeometry& geometry, const PixelRect& page)
{
    const double f = page.width() > 0 ? double(geometry.printableWidth()) / page.width() : 1.0;
    return {page, geometry.dpiX / f, geometry.dpiY / f};
}

TDrawParams PrintDrawParams(const TPipeLoop& design, ViewKind view, int32_t scale, bool centre,
                            const PageFrame& frame, int titleBlockHeight, int margin)
{
    const TPipeLoopOptions& options = design.Options;
    const ViewExtent extent = PrintExtent(design, view);
    scale = std::max(scale, PrintSetup::MinScale);

    TDrawParams p;
    p.View = view;
    p.ScaleX = frame.dpiX / (scale * 25.4);
    p.ScaleY = frame.dpiY / (scale * 25.4);
    const int32_t symbolSize =
        margin >= 0 ? margin : Round(double(scale) * options.SymbolSize * p.ScaleX);
    p.OriginX = symbolSize;
    p.OriginY = symbolSize;
    p.SymbolSize = symbolSize;
    p.PipeDepth = design.RoomHG - design.Height;
    p.PrintMode = true;
    p.PipeWidth = std::max(1, Trunc(frame.dpiX) / 32);
    if (view == ViewKind::Plan) {
        p.DrawSymbols = true;
        p.SymbolNames = options.SymbolNamesOnPlan;
    } else {
        p.DrawSymbols = options.DrawSymbolsOnDrops;
        p.SymbolNames = options.SymbolNamesOnSection;
    }

    const int width = Round(extent.across * p.ScaleX);
    const int height = Round(extent.down * p.ScaleY);
    int top = Round(options.HeaderMargin * frame.dpiY / 25.4);
    const int drawingHeight = height + 2 * p.OriginY;
    const int titleTop = frame.page.height() - titleBlockHeight;
    if (titleBlockHeight > 0 && top + drawingHeight > titleTop)
        top = std::max(0, titleTop - drawingHeight);
    const int left = centre ? (frame.page.width() - width - 2 * p.OriginX) / 2 : 0;

    p.Left = frame.page.left + left;
    p.Top = frame.page.top + top;
    p.Right = p.Left + width + 2 * p.OriginY;
    p.Bottom = p.Top + drawingHeight;
    return p;
}

} // namespace pipeloop
