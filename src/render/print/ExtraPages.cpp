#include "print/ExtraPages.h"

#include "DropViewRenderer.h"
#include "PipeLoop.h"
#include "print/PagePrinter.h"
#include "print/TitleBlock.h"

#include <algorithm>

namespace pipeloop
{

namespace
{

// The symbol label font at the printer's resolution.
Font LabelFont(const TPipeLoop& design)
{
    return Font::fromSpec(design.Options.SymbolLabelFont);
}

Font NotesFont(const TPipeLoop& design)
{
    return Font::fromSpec(design.Options.NotesFont);
}

Canvas& BeginExtraPage(PrintTarget& target, const Font& font)
{
    Canvas& canvas = target.beginPage();
    DrawFooter(canvas, target.geometry().pageRect(), font);
    canvas.setFont(font);
    return canvas;
}

} // namespace

std::vector<DropCell> LayoutDropCells(TPipeLoop& design, QSize page, int dpiX, int nameHeight)
{
    const int s = dpiX / 3;
    const int h = std::max(design.MaxDropStackHeight(s), design.MaxInletStackHeight(s));
    const int cellWidth = 2 * s;
    const int rowHeight = 2 * h;
    const int t = nameHeight;

    std::vector<TObjectWithSymbols*> objects;
    for (const auto& drop : design.Drops)
        if (drop->SymbolCount() > 0)
            objects.push_back(drop.get());
    for (const auto& inlet : design.Inlets)
        if (inlet->SymbolCount() > 0)
            objects.push_back(inlet.get());

    std::vector<DropCell> cells;
    int pageIndex = 0;
    PixelRect box{0, t, cellWidth, t + rowHeight};
    for (TObjectWithSymbols* object : objects) {
        if (!cells.empty()) {
            box.left += cellWidth;
            box.right += cellWidth;
            if (box.right > page.width()) {
                box = {0, box.bottom, cellWidth, box.bottom + rowHeight};
            }
            // A cell that would leave the page starts the next one, unless it
            // is already the first row of a page (a page too small for one
            // row still gets each cell, on pages of their own).
            if (box.bottom > page.height() && box.top > t) {
                ++pageIndex;
                box = {0, t, cellWidth, t + rowHeight};
            }
        }
        cells.push_back({pageIndex, box, object});
    }
    return cells;
}

int PrintDropsPages(PrintTarget& target, TPipeLoop& design)
{
    const Font font = LabelFont(design);
    Canvas* canvas = &BeginExtraPage(target, font);
    int pages = 1;
    const PageGeometry geometry = target.geometry();
    const int t = canvas->textExtent(QStringLiteral("gM8|")).height();
    const DropViewStyle style{std::max(1, geometry.dpiX / 32), true, kBlack};

    int currentPage = 0;
    for (const DropCell& cell :
         LayoutDropCells(design, QSize(geometry.printableWidth(), geometry.printableHeight()),
                         geometry.dpiX, t)) {
        if (cell.page != currentPage) {
            canvas = &BeginExtraPage(target, font);
            currentPage = cell.page;
            ++pages;
        }
        canvas->setBrush({kWhite, BrushStyle::Clear});
        canvas->setFont(font);
        canvas->textRect({cell.box.left, cell.box.top - t, cell.box.right, cell.box.bottom - t},
                         ElideText(*canvas, cell.object->Name, cell.box.width()), HAlign::Centre,
                         VAlign::Top);
        canvas->setPen({kBlack, 1, PenStyle::Solid});
        canvas->setBrush({kWhite, BrushStyle::Solid});
        DrawObjectView(*canvas, *cell.object, cell.box, style);
    }
    return pages;
}

int PrintNotesPages(PrintTarget& target, const TPipeLoop& design)
{
    if (design.Notes.isEmpty())
        return 0;
    const Font font = NotesFont(design);
    int pages = 0;
    Canvas* canvas = nullptr;
    int y = 0;
    int limit = 0;
    int lineHeight = 0;
    for (const QString& line : design.Notes) {
        if (canvas == nullptr || y + lineHeight > limit) {
            canvas = &BeginExtraPage(target, font);
            ++pages;
            const PixelRect page = target.geometry().pageRect();
            Font footer = font;
            footer.italic = true;
            canvas->setFont(footer);
            limit = page.bottom - canvas->textExtent(FooterText()).height();
            canvas->setFont(font);
            // Every line advances by the font's height, so that an empty
            // line keeps its place.
            lineHeight = canvas->textExtent(QStringLiteral("M|gy")).height();
            y = page.top;
        }
        canvas->setBrush({kWhite, BrushStyle::Clear});
        canvas->textOut(QPoint(8, y), ElideText(*canvas, line, RoomRightOf(*canvas, 8)));
        y += lineHeight;
    }
    return pages;
}

} // namespace pipeloop
