#pragma once

// The title block at the foot of every printed view: the logo at the
// bottom-left corner and, right of it, a box of single-line rows
// (description, creator, company, view with scale, paper size and grid, date
// and program version, and optionally the pipe colour table). Also the footer
// of the extra pages (drops and notes).

#include "Canvas.h"
#include "ModelTypes.h"

#include <QImage>
#include <QStringList>

#include <algorithm>
#include <vector>

#include <cstdint>

namespace pipeloop
{

class TPipeLoop;

// Our notice after the version in the title block and the footer.
QString MakersNotice();

// "PIPELOOP " + the program's file version + the notice: the footer of the
// drops and notes pages.
QString FooterText();

// The text rows of the title block for a view printed at 1:scale on paper of
// the given printable size (millimetres), dated today by the Clock:
//   " DESCRIPTION : " + Description
//   " CREATED BY : " + CreatedBy
//   " COMPANY : " + CustomerCompany
//   " PLAN/SCALE : 150:1, PAPER SIZE : 287.0x200.0mm[, GRID : 1000mm]"
//   " DATE : 07-Dec-2026, PIPELOOP : 1.0.0.0" + notice
// The paper size uses the locale's decimal separator; the grid part is there
// when the grid is printed.
QStringList TitleBlockRows(const TPipeLoop& design, ViewKind view, int32_t scale,
                           float paperWidthMm, float paperHeightMm);

// The pipe colour table: " 20mm" ... " 110mm", each written in its size's
// colour (black when not printing in colour).
struct ColouredText {
    QString text;
    WinColour colour = kBlack;
};
std::vector<ColouredText> PipeColourTable(const TPipeLoop& design);

// The sizes of a title block drawn with factor f (1 on paper, the
// page-to-preview ratio in the preview) for a printer of the given
// resolution.
struct TitleBlockMetrics {
    Font font;
    int rowHeight = 0;
    int rows = 5;
    // The logo's rectangle size; empty without a logo.
    QSize logo;

    int boxHeight() const { return rows * rowHeight; }
    // How far up from the page's foot the title block reaches.
    int height() const { return std::max(boxHeight(), logo.height()); }
};

// "Courier New" 9 point at the printer's resolution, its height divided by f
// (rounded); row height Round(text height of "M|y" x 1.05) + 4; 6 rows with
// "PrintPipeColourTable"; the logo Round(1.25 x dpi / f) wide and as high as
// its aspect gives, unless the no-logo option is on or there is no picture.
// Sets the canvas's font.
TitleBlockMetrics MeasureTitleBlock(Canvas& canvas, const TPipeLoop& design, const QImage& logo,
                                    int printerDpiX, int printerDpiY, double f);

// Draws the title block over page: the logo stretched into its rectangle at
// the bottom-left corner, the box from 2 pixels right of it (or from the
// page's left edge) to the page's right edge, its left, top and right sides
// in a black pen of width 1 (the page's edge closes it), each row's text
// vertically centred with a separator line above every row but the first.
void DrawTitleBlock(Canvas& canvas, const PixelRect& page, const TPipeLoop& design,
                    const QStringList& rows, const QImage& logo, const TitleBlockMetrics& metrics);

// The footer of an extra page: FooterText() in grey (0x808080), single line
// at the bottom of the page rectangle, in font made italic. The caller sets
// its own font afterwards.
void DrawFooter(Canvas& canvas, const PixelRect& page, const Font& font);

} // namespace pipeloop
