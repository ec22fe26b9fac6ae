#include "DropViewRenderer.h"

#include "IsoSymbols.h"
#include "PipeLoopObjects.h"

namespace pipeloop
{

namespace
{

// The area of a drop view shrunk by q on every side, with its centre line.
struct ViewFrame {
    int xc;
    int q;
    int left;
    int top;
    int right;
    int bottom;

    explicit ViewFrame(const PixelRect& area)
        : xc((area.left + area.right) / 2), q((area.right - area.left) / 4), left(area.left + q),
          top(area.top + q), right(area.right - q), bottom(area.bottom - q)
    {
    }
};

void Line(Canvas& canvas, int x1, int y1, int x2, int y2)
{
    canvas.moveTo(x1, y1);
    canvas.lineTo(x2, y2);
}

// The inlet's and the drain's pipe: a vertical line down the centre and the
// main across the top.
void PipeAndMain(Canvas& canvas, const ViewFrame& f, int pipeWidth)
{
    canvas.setPen({kBlack, pipeWidth, PenStyle::Solid});
    Line(canvas, f.xc, f.top, f.xc, f.bottom);
    Line(canvas, f.left, f.top, f.right, f.top);
}

} // namespace

void DrawDropView(Canvas& canvas, TDrop& drop, const PixelRect& area, const DropViewStyle& style)
{
    const ViewFrame f(area);
    const int q = f.q;
    canvas.setPen({kBlack, style.pipeWidth, PenStyle::Solid});
    Line(canvas, f.xc - q, f.top, f.xc + q, f.top);

    switch (drop.Style) {
    case DropStyle::Female:
    case DropStyle::FemaleQuick:
    case DropStyle::FemaleSaddle: {
        Line(canvas, f.xc, f.top, f.xc, f.top + q);
        canvas.setPenWidth(1);
        const int tip = f.top + q + q / 2;
        canvas.polygon(
            {QPoint(f.xc - q / 2, f.top + q), QPoint(f.xc + q / 2, f.top + q), QPoint(f.xc, tip)});
        if (!drop.Symbols.empty()) {
            const int below =
                DrawHoseStack(canvas, drop.Symbols, f.xc, drop.SelectedSymbol,
                              style.highlightColour, style.pipeWidth, style.printMode, q, tip);
            DrawSymbolStack(canvas, drop.Symbols, f.xc, style.pipeWidth, below, drop.SelectedSymbol,
                            style.highlightColour, style.printMode, q, f.bottom - q);
        }
        break;
    }
    case DropStyle::Tee:
        Line(canvas, f.xc, f.bottom, f.xc, f.top);
        DrawSymbolStack(canvas, drop.Symbols, f.xc, style.pipeWidth, 0, drop.SelectedSymbol,
                        style.highlightColour, style.printMode, q, f.bottom - q);
        break;
    case DropStyle::Saddle:
    case DropStyle::Quick: {
        Line(canvas, f.xc, f.bottom, f.xc, f.top);
        canvas.setPenWidth(1);
        const int t = q / 3;
        canvas.rectangle(f.xc - t, f.top, f.xc + t, f.top + 2 * t);
        DrawSymbolStack(canvas, drop.Symbols, f.xc, style.pipeWidth, 0, drop.SelectedSymbol,
                        style.highlightColour, style.printMode, q, f.bottom - q);
        break;
    }
    }
}

void DrawInletView(Canvas& canvas, TInlet& inlet, const PixelRect& area, const DropViewStyle& style)
{
    const ViewFrame f(area);
    const int q = f.q;
    PipeAndMain(canvas, f, style.pipeWidth);
    canvas.setPenWidth(1);
    canvas.setBrush({kBlack, BrushStyle::Solid});
    canvas.polygon(
        {QPoint(f.xc, f.top), QPoint(f.xc - q / 2, f.top + q), QPoint(f.xc + q / 2, f.top + q)});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    DrawSymbolStack(canvas, inlet.Symbols, f.xc, style.pipeWidth, 0, inlet.SelectedSymbol,
                    style.highlightColour, style.printMode, q, f.bottom - q);
}

void DrawDrainView(Canvas& canvas, const TDrain& drain, const PixelRect& area,
                   const DropViewStyle& style)
{
    const ViewFrame f(area);
    PipeAndMain(canvas, f, style.pipeWidth);
    canvas.setPenWidth(1);
    DrawDrainSymbol(canvas, QPoint(f.xc, f.bottom - f.q), f.q, drain.Manual);
}

bool DrawObjectView(Canvas& canvas, TPipeLoopObject& object, const PixelRect& area,
                    const DropViewStyle& style)
{
    switch (object.Kind()) {
    case ObjectKind::Drop:
        DrawDropView(canvas, static_cast<TDrop&>(object), area, style);
        return true;
    case ObjectKind::Inlet:
        DrawInletView(canvas, static_cast<TInlet&>(object), area, style);
        return true;
    case ObjectKind::Drain:
        DrawDrainView(canvas, static_cast<const TDrain&>(object), area, style);
        return true;
    default:
        return false;
    }
}

bool PaintDropViewPanel(Canvas& canvas, TPipeLoopObject* selected, const PixelRect& area,
                        WinColour selectColour)
{
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.fillRect(area);
    if (selected == nullptr)
        return false;
    return DrawObjectView(canvas, *selected, area, DropViewStyle{3, false, selectColour});
}

} // namespace pipeloop
