#pragma once

// The pages printed after the last view of a job: the drops page (every
// drop's and inlet's symbol stack in a cell of its own) and the notes pages.

#include "Canvas.h"

#include <vector>

namespace pipeloop
{

class PrintTarget;
class TPipeLoop;
class TObjectWithSymbols;

// One cell of the drops page: the object drawn and its rectangle on the page.
struct DropCell {
    int page = 0; // 0 for the first drops page
    PixelRect box;
    TObjectWithSymbols* object = nullptr;
};

// The cells of the drops page for a page of the given printable size at
// dpiX: S = dpiX div 3 is the symbol size, H the taller of the largest drop
// and inlet stacks at S (S x 1.3 per symbol), cells 2S wide. Every drop with
// at least one symbol, then every inlet with at least one symbol, gets a cell;
// the first at (0, t)-(2S, t + 2H) with t the height of a name. The next cell
// stands to the right; one whose right edge would pass the page's width
// starts a row at the left edge below, and one whose bottom would pass the
// page's height starts a new page at (0, t).
//
// Every row is 2H high, as the first. A row only H high cuts through the
// taller drop views (a female drop hangs its hose assembly and its stack
// below the triangle, with the view's own margins above and below), which
// then run over the names and drawings of the row below. And a new page
// starts its row at t rather than at the page's top edge: the names are
// written above their cells, and at 0 the first row's would fall off the
// paper.
std::vector<DropCell> LayoutDropCells(TPipeLoop& design, QSize page, int dpiX, int nameHeight);

// The drops page: a new page, the footer, the symbol label font, then each
// cell: the object's name centred on a line just above the cell, and its drop
// (or inlet) view in the cell, in print mode with the printer's pipe width.
// Cells running past the page go on new pages, each with its footer. Returns
// the number of pages begun.
int PrintDropsPages(PrintTarget& target, TPipeLoop& design);

// The notes pages: a new page, then the design's notes one line at a time in
// the printed notes font at x = 8, a line running into the footer going to a
// new page; every page has the footer. Returns the number of pages begun
// (none without notes).
int PrintNotesPages(PrintTarget& target, const TPipeLoop& design);

} // namespace pipeloop
