#pragma once

// The print setup window's preview: the page the printer would print (walls
// on the plan, the view, the title block), drawn reduced onto any canvas.

#include "Canvas.h"
#include "ModelTypes.h"
#include "print/PrintLayout.h"

#include <QImage>
#include <QSize>

namespace pipeloop
{

class PrintSetup;
class TPipeLoop;

enum class PreviewMode {
    PageOutline,   // the page fitted into the preview box
    ShowPrintPage, // the page at true size on screen, in a scrolled area
};

// Where the page lies in the preview. Show Print Page: (0, 0) and the
// printable page's pixels x screen dpi / printer dpi. Page Outline: the page's
// aspect kept inside the box; a page at least as high as wide is 16 pixels
// less high than the box, 8 from its top and centred across; a wider page is
// 16 pixels less wide, 8 from its left and centred down.
PixelRect PreviewPageRect(const PageGeometry& printer, PreviewMode mode, QSize box, int screenDpiX,
                          int screenDpiY);

// Draws the page of the view at the print setup's scale and centring into
// the preview: the page white with a black outline, then the same drawing
// the printer makes at the page-to-preview ratio. The margin is the printed
// symbol size with Show Print Page and 5 pixels with Page Outline, and only
// Show Print Page draws symbols and names. A null logo draws the program's
// own. Does not check the fit (the window asks about it).
void DrawPrintPreview(Canvas& canvas, TPipeLoop& design, const PrintSetup& setup, ViewKind view,
                      const PageGeometry& printer, PreviewMode mode, QSize box, int screenDpiX,
                      int screenDpiY, const QImage& logo = QImage());

} // namespace pipeloop
