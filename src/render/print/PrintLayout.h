#pragma once

// The arithmetic of a printed sheet: the printer's page in device pixels, the
// fit test and best-fit scale of a view, and where a view is placed on the
// page with which drawing parameters. No device is touched here, so the same
// numbers serve the printer, the PDF writer and the preview.

#include "Canvas.h"
#include "DrawParams.h"

#include <QPageLayout>
#include <QPoint>
#include <QSize>

#include <cstdint>

namespace pipeloop
{

class PrintSetup;
class TPipeLoop;

// A printer page as the device reports it.
struct PageGeometry {
    int dpiX = 600;
    int dpiY = 600;
    // The whole sheet in device pixels.
    QSize physical;
    // The unprintable margin at the left and at the top (the printer's
    // physical offsets); the same margin is assumed on the opposite sides.
    QPoint offset;

    int printableWidth() const { return physical.width() - 2 * offset.x(); }
    int printableHeight() const { return physical.height() - 2 * offset.y(); }
    // The page rectangle used for drawing, in the device's own coordinates,
    // whose origin is the printable area's top-left corner: the rectangle
    // (offset) to (physical - offset) of the sheet.
    PixelRect pageRect() const { return {0, 0, printableWidth(), printableHeight()}; }
    // The printable size in millimetres, in single precision.
    float paperWidthMm() const { return float(printableWidth() * 25.4 / dpiX); }
    float paperHeightMm() const { return float(printableHeight() * 25.4 / dpiY); }

    // The geometry of a page layout on a device of the given resolution.
    static PageGeometry fromLayout(const QPageLayout& layout, int dpiX, int dpiY);
};

// The extent of a view in millimetres of the design: across (A) and down (B).
// Plan W x L, north and south W x H, east and west L x H.
struct ViewExtent {
    int32_t across = 0;
    int32_t down = 0;
};
ViewExtent PrintExtent(const TPipeLoop& design, ViewKind view);

// Whether the view fits the paper at 1:scale: across div scale is at most the
// paper width and down div scale at most the paper height less the header
// margin (millimetres). A scale below 1 never fits.
bool ViewFits(ViewExtent extent, int32_t scale, float paperWidthMm, float paperHeightMm,
              int32_t headerMarginMm);

// The best-fit scale: sA = Round(across / paper width) + 1, sB = Round(down /
// (paper height - header margin)) + 1, s the larger, the scale (s div 5) x 5 +
// 5, at most PrintSetup::MaxScale. Paper with no height left under the
// header margin gets MaxScale (the fit test then refuses it).
int32_t BestFitScale(ViewExtent extent, float paperWidthMm, float paperHeightMm,
                     int32_t headerMarginMm);

// The first standard drawing scale (1:1, 1:2, 1:5, 1:10, 1:20, 1:25, 1:50,
// 1:100, 1:200, 1:250, 1:500, 1:1000) from the best fit on at which the view
// fits: contractors print at those. PrintSetup::MaxScale when none fits.
int32_t StandardFitScale(ViewExtent extent, float paperWidthMm, float paperHeightMm,
                         int32_t headerMarginMm);

// The fit test and best fit of a design's view on a page.
bool ViewFitsPage(const TPipeLoop& design, ViewKind view, int32_t scale, const PageGeometry& page);
int32_t BestFitScaleForPage(const TPipeLoop& design, ViewKind view, const PageGeometry& page);
int32_t StandardFitScaleForPage(const TPipeLoop& design, ViewKind view, const PageGeometry& page);

// Where a page is drawn: the page rectangle on the canvas and the resolution
// that page has there. On paper that is the printer's page at the printer's
// resolution; the preview draws the same page reduced by a factor, so its
// resolution is the printer's divided by that factor.
struct PageFrame {
    PixelRect page;
    double dpiX = 600.0;
    double dpiY = 600.0;

    static PageFrame onPaper(const PageGeometry& geometry);
    // The printer's page drawn into page on another canvas (the preview).
    static PageFrame reduced(const PageGeometry& geometry, const PixelRect& page);
    // How many printer pixels one pixel of this frame stands for.
    double factor(const PageGeometry& geometry) const { return geometry.dpiX / dpiX; }
};

// The drawing parameters of a view printed at 1:scale on the frame:
// ScaleX = dpiX / (scale x 25.4), likewise Y; margin and symbol size the
// printed symbol size ("SymbolSize" millimetres on paper); pipe width dpiX div
// 32; print mode; symbols always on the plan and with "DrawSymbolsOnDrops" on
// the sections, names by "SymbolNamesOnPlan" / "SymbolNamesOnSection". The
// area: Top = the header margin, Bottom = Top + Round(down x ScaleY) + 2 x
// margin, Left = 0 or, centring, (page width - Round(across x ScaleX) - 2 x
// margin) div 2, Right = Left + Round(across x ScaleX) + 2 x margin, all
// from the frame's top-left corner.
//
// A drawing tall enough to reach the title block at the foot of the page is
// lifted (never above the page's top) so that it ends where the title block
// begins: the header margin is reserved for the title block, and a best-fit
// scale would otherwise print the bottom of the building under it.
//
// margin, when not negative, replaces the printed symbol size as margin and
// symbol size (the preview's page outline uses 5 pixels).
TDrawParams PrintDrawParams(const TPipeLoop& design, ViewKind view, int32_t scale, bool centre,
                            const PageFrame& frame, int titleBlockHeight = 0, int margin = -1);

} // namespace pipeloop
