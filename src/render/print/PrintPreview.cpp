#include "print/PrintPreview.h"

#include "PipeLoop.h"
#include "PrintSetup.h"
#include "Rounding.h"
#include "print/PagePrinter.h"
#include "print/ProgramLogo.h"

namespace pipeloop
{

namespace
{
constexpr int OutlineInset = 8;
constexpr int OutlineMargin = 5;
} // namespace

PixelRect PreviewPageRect(const PageGeometry& printer, PreviewMode mode, QSize box, int screenDpiX,
                          int screenDpiY)
{
    const int pageWidth = printer.printableWidth();
    const int pageHeight = printer.printableHeight();
    if (mode == PreviewMode::ShowPrintPage) {
        return {0, 0, Round(double(pageWidth) * screenDpiX / printer.dpiX),
                Round(double(pageHeight) * screenDpiY / printer.dpiY)};
    }
    if (pageWidth <= 0 || pageHeight <= 0)
        return {};
    if (pageHeight >= pageWidth) {
        const int height = box.height() - 2 * OutlineInset;
        const int width = Round(double(height) * pageWidth / pageHeight);
        const int left = (box.width() - width) / 2;
        return {left, OutlineInset, left + width, OutlineInset + height};
    }
    const int width = box.width() - 2 * OutlineInset;
    const int height = Round(double(width) * pageHeight / pageWidth);
    const int top = (box.height() - height) / 2;
    return {OutlineInset, top, OutlineInset + width, top + height};
}

void DrawPrintPreview(Canvas& canvas, TPipeLoop& design, const PrintSetup& setup, ViewKind view,
                      const PageGeometry& printer, PreviewMode mode, QSize box, int screenDpiX,
                      int screenDpiY, const QImage& logo)
{
    const PixelRect page = PreviewPageRect(printer, mode, box, screenDpiX, screenDpiY);
    if (page.width() <= 0 || page.height() <= 0)
        return;
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.rectangle(page);

    PageDrawing drawing;
    drawing.printerPage = &printer;
    drawing.frame = PageFrame::reduced(printer, page);
    drawing.scale = setup.PrintScaling(view);
    drawing.centre = setup.PrintCenter;
    drawing.symbols = mode == PreviewMode::ShowPrintPage;
    drawing.margin = mode == PreviewMode::ShowPrintPage ? -1 : OutlineMargin;
    DrawViewPage(canvas, design, view, drawing, logo.isNull() ? ProgramLogo() : logo);
}

} // namespace pipeloop
