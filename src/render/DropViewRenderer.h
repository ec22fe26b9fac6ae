#pragma once

// The drop view: the selected drop, inlet or drain enlarged in a
// narrow area, its symbol stack drawn with a half-size of a quarter of the
// area's width. Outside print mode the stacks store each symbol's hit
// rectangle in its entry, for the drop view's hit-test.

#include "Canvas.h"

namespace pipeloop
{

class TDrain;
class TDrop;
class TInlet;
class TPipeLoopObject;

struct DropViewStyle {
    // Pen width of the main and the drop pipe (3 in the main window; the
    // printer's PipeWidth on the drops page).
    int pipeWidth = 3;
    bool printMode = false;
    // Colour of the selected symbol ("SelectColour"); unused in print mode.
    WinColour highlightColour = kBlack;
};

// Xc = (Left + Right) div 2, q = (Right − Left) div 4; the area shrinks by q
// on every side and q is the symbol half-size.
void DrawDropView(Canvas& canvas, TDrop& drop, const PixelRect& area, const DropViewStyle& style);
void DrawInletView(Canvas& canvas, TInlet& inlet, const PixelRect& area,
                   const DropViewStyle& style);
void DrawDrainView(Canvas& canvas, const TDrain& drain, const PixelRect& area,
                   const DropViewStyle& style);

// The view of whichever of the three the object is; false (nothing drawn) for
// any other object.
bool DrawObjectView(Canvas& canvas, TPipeLoopObject& object, const PixelRect& area,
                    const DropViewStyle& style);

// The main window's drop view panel: the area filled white (solid white
// brush), then the close-up of the selection, if it is a drop, an inlet or a
// drain, with pipe width 3, not print mode and "SelectColour" for the
// selected symbol. Returns whether a close-up was drawn.
bool PaintDropViewPanel(Canvas& canvas, TPipeLoopObject* selected, const PixelRect& area,
                        WinColour selectColour);

} // namespace pipeloop
