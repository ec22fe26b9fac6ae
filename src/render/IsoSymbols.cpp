#include "IsoSymbols.h"

#include "Rounding.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace pipeloop
{

namespace
{

constexpr Brush kWhiteBrush{kWhite, BrushStyle::Solid};

// s times a decimal factor given in hundredths (0.7 is 70), as a real. The
// integer product is exact and the one division is correctly rounded, so the
// result is the decimal product whenever that is representable (every whole
// and half value is), and Trunc and Round see exactly what the formula means.
double Times(int s, int hundredths)
{
    return double(hundredths) * double(s) / 100.0;
}

// Draws from a to b (b itself not drawn).
void Line(Canvas& canvas, QPoint a, QPoint b)
{
    canvas.moveTo(a);
    canvas.lineTo(b);
}

// A point at an offset from an anchor.
struct At {
    QPoint anchor;
    QPoint operator()(int dx, int dy) const { return anchor + QPoint(dx, dy); }
};

// The regulator's pilot line: dashes of one step, starting with a dash, from
// (x, y) until the end coordinate along the direction of the positive step.
void DashedLine(Canvas& canvas, int x, int y, int dx, int dy, int endX, int endY)
{
    bool draw = true;
    for (;;) {
        canvas.moveTo(x, y);
        x += dx;
        y += dy;
        if (draw)
            canvas.lineTo(x, y);
        draw = !draw;
        if ((dx > 0 && x >= endX) || (dy > 0 && y >= endY))
            break;
    }
}

void DrawFilter(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    DrawDiamond(canvas, anchor, s);
    canvas.setPenStyle(PenStyle::Dot);
    Line(canvas, p(0, -s), p(0, s));
    canvas.setPenStyle(PenStyle::Solid);
}

void DrawFilterAuto(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int h = s / 2;
    const int q = h / 2;
    DrawDiamond(canvas, anchor, s);
    Line(canvas, p(-h, h), p(h, h));
    canvas.polyline({p(-q, h), p(0, h + q), p(q, h)});
    canvas.setPenStyle(PenStyle::Dot);
    Line(canvas, p(0, -s), p(0, h));
    canvas.setPenStyle(PenStyle::Solid);
}

void DrawDryer(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int h = s / 2;
    DrawDiamond(canvas, anchor, s);
    Line(canvas, p(-h, h), p(h, h));
    Line(canvas, p(-h, -h), p(h, -h));
}

void DrawLubricator(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    DrawDiamond(canvas, anchor, s);
    Line(canvas, p(0, -s), p(0, -(s / 2)));
}

void DrawGauge(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int h = s / 2;
    const int q = s / 4;
    canvas.setBrush(kWhiteBrush);
    canvas.ellipse(anchor.x() - s, anchor.y() - s, anchor.x() + s, anchor.y() + s);
    Line(canvas, p(0, 0), p(-h, -h));
    canvas.polyline({p(-h, -h + q), p(-h, -h), p(-h + q, -h)});
}

void DrawCompressor(Canvas& canvas, QPoint anchor, int s)
{
    const int r = Trunc(Times(s, 70));
    const int q = s / 4;
    const int e = s / 6;
    const QPoint c = anchor + QPoint(0, q); // the body sits q below the anchor
    const At p{c};
    Line(canvas, p(0, -e), p(-s, -e));
    Line(canvas, p(0, e), p(-s, e));
    canvas.setBrush(kWhiteBrush);
    canvas.ellipse(c.x() - r, c.y() - r, c.x() + r, c.y() + r);
    canvas.polygon({p(-q, -s), p(q, -s), p(0, -s + q)});
    Line(canvas, p(0, -s + q), p(0, -r));
    canvas.moveTo(p(r, 0));
    canvas.lineTo(p(e, q));
    canvas.lineTo(p(e, -q));
    canvas.lineTo(p(r, 0));
}

void DrawReceiver(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int r = Round(Times(s, 55));
    const int X = anchor.x();
    const int Y = anchor.y();
    canvas.setBrush(kWhiteBrush);
    canvas.ellipse(X - s, Y - r, X - s + 2 * r, Y + r);
    canvas.ellipse(X + s - 2 * r, Y - r, X + s, Y + r);
    const WinColour saved = canvas.pen().colour;
    canvas.setPenColour(kWhite);
    canvas.rectangle(X - r, Y - r, X + r, Y + r);
    canvas.setPenColour(saved);
    Line(canvas, p(-r, -r), p(r, -r));
    Line(canvas, p(-r, r), p(r, r));
}

void DrawRegulator(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int X = anchor.x();
    const int Y = anchor.y();
    const int a = Trunc(Times(s, 60));
    const int t = Trunc(Times(s, 15));
    int u = Trunc(Times(s, 5));
    const int m = a / 2;

    // 1. Clear the cell.
    const WinColour saved = canvas.pen().colour;
    canvas.setPenColour(kWhite);
    canvas.rectangle(X - s, Y - s, X + s, Y + a);
    canvas.setPenColour(saved);
    // 2. The body.
    canvas.rectangle(X - a, Y - a, X + a, Y + a);
    // 3. Flow line.
    canvas.moveTo(p(-a, 0));
    canvas.lineTo(p(m, 0));
    canvas.lineTo(p(m, a));
    // 4. Arrow heads, filled in the pen colour.
    canvas.setBrush({canvas.pen().colour, BrushStyle::Solid});
    canvas.polygon({p(-a, 0), p(-a + 2 * t, -t), p(-a + 2 * t, t)});
    canvas.polygon({p(m, 0), p(m - 2 * t, -t), p(m - 2 * t, t)});
    // 5. Adjustment mark.
    const int t2 = Round(2.0 * t);
    canvas.moveTo(p(-a, -a));
    canvas.lineTo(p(-a - t2, -a + t2));
    canvas.lineTo(p(-a, -a + 2 * t2));
    // 6. Spring.
    const int k = a / 3;
    const int v = Round(Times(a, 15)) / 2;
    canvas.polyline({p(-k, -a), p(k, -a - 2 * v), p(-k, -a - 4 * v), p(k, -a - 6 * v),
                     p(-k, -a - 8 * v), p(k, -a - 10 * v)});
    // 7. Dashed pilot line.
    int n = 3;
    if (u < 3) {
        u = 3;
        n = 1;
    }
    const int L = n * u;
    DashedLine(canvas, X + a, Y, u, 0, X + a + L, 0);
    DashedLine(canvas, X + a + L, Y, 0, u, 0, Y + a + L);
    DashedLine(canvas, X, Y + a + L, u, 0, X + a + L, 0);
}

void DrawPortOutlet(Canvas& canvas, QPoint anchor, int s, int ports)
{
    const At p{anchor};
    const int b = Round(Times(s, 80));
    const int t = Round(Times(s, 20));
    canvas.setBrush(kWhiteBrush);
    canvas.rectangle(anchor.x() - b, anchor.y() - b, anchor.x() + b, anchor.y() + b);
    if (ports == 1 || ports == 3)
        canvas.polygon({p(-t, b), p(t, b), p(0, s)});
    if (ports >= 2) {
        const int pairs = (ports == 3 ? 2 : ports) / 2;
        const int step = (2 * b) / (pairs + 1);
        for (int k = 1; k <= pairs; ++k) {
            const int y = k * step - b;
            canvas.polygon({p(-b, y - t), p(-b, y + t), p(-b - t, y)});
            canvas.polygon({p(b, y - t), p(b, y + t), p(b + t, y)});
        }
    }
}

void DrawAdaptor(Canvas& canvas, QPoint anchor, int s, bool female)
{
    const At p{anchor};
    const int b = Round(Times(s, 60));
    const int q = (2 * b) / 3;
    EraseSymbolBox(canvas, anchor, s);
    canvas.polygon({p(-b, -s), p(b, -s), p(b, 2 * b - s), p(-b, 2 * b - s)});
    Line(canvas, p(0, 2 * b - s), p(0, s - q));
    if (female)
        canvas.setBrush({canvas.pen().colour, BrushStyle::Solid});
    canvas.polygon({p(-q, s - q), p(q, s - q), p(0, s)});
    if (female)
        canvas.setBrush(kWhiteBrush);
}

void DrawFemaleTee(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int q = s / 4;
    canvas.polygon({p(-2 * q, -s), p(2 * q, -s), p(2 * q, s), p(-2 * q, s), p(-2 * q, q), p(-s, q),
                    p(-s, -q), p(-2 * q, -q)});
}

void DrawReducer(Canvas& canvas, QPoint anchor, int s)
{
    const int a = Round(Times(s, 80));
    const int h = a / 2;
    const double theta = 0.0 + std::numbers::pi; // the caller passes 0; the routine adds pi
    const auto r = [&](int dx, int dy) { return RotateOffset(anchor, dx, dy, theta); };
    canvas.polygon({r(-a, -a), r(a, -a), r(a, 0), r(h, 0), r(h, a), r(-h, a), r(-h, 0), r(-a, 0)});
}

void DrawCoupler(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    const int h = s / 2;
    const int q = s / 4;
    const int t = s / 3;
    canvas.setBrush(kWhiteBrush);
    canvas.polygon({p(-h, -s), p(h, -s), p(h, s), p(-h, s)});
    Line(canvas, p(0, -s), p(0, s));
    const Brush saved = canvas.brush();
    canvas.setBrush({canvas.pen().colour, BrushStyle::Solid});
    canvas.ellipse(anchor.x() - q, anchor.y() - q, anchor.x() + q, anchor.y() + q);
    canvas.setBrush(saved);
    Line(canvas, p(0, -t), p(-t, -2 * t));
    Line(canvas, p(0, -t), p(t, -2 * t));
    Line(canvas, p(0, t), p(-t, 2 * t));
    Line(canvas, p(0, t), p(t, 2 * t));
}

// Draws one keyword at (x, y). An FRL moves y up by its two inner cells and
// gives its enclosing box; every other keyword leaves y and the box alone.
void DrawKeyword(Canvas& canvas, const QString& keyword, int x, int& y, int s, PixelRect* frlBox)
{
    const QPoint anchor(x, y);
    if (keyword == Symbol::Frl) {
        const int q = s / 4;
        const int left = x - s - q;
        const int right = x + s + q;
        const int bottom = y + s;
        DrawKeyword(canvas, Symbol::FilterAuto, x, y, s, nullptr);
        y -= 2 * s + q;
        DrawKeyword(canvas, Symbol::Regulator, x, y, s, nullptr);
        y -= 2 * s + q;
        DrawKeyword(canvas, Symbol::Lubricator, x, y, s, nullptr);
        const int top = y - s;
        canvas.setPenStyle(PenStyle::DashDot);
        canvas.moveTo(left, top);
        canvas.lineTo(right, top);
        canvas.lineTo(right, bottom);
        canvas.lineTo(left, bottom);
        canvas.lineTo(left, top);
        canvas.setPenStyle(PenStyle::Solid);
        if (frlBox)
            *frlBox = {left, top, right, bottom};
        return;
    }

    using Draw = void (*)(Canvas&, QPoint, int);
    static const std::pair<const QString*, Draw> table[] = {
        {&Symbol::Filter, DrawFilter},
        {&Symbol::FilterAuto, DrawFilterAuto},
        {&Symbol::Dryer, DrawDryer},
        {&Symbol::Gauge, DrawGauge},
        {&Symbol::Lubricator, DrawLubricator},
        {&Symbol::Compressor, DrawCompressor},
        {&Symbol::Receiver, DrawReceiver},
        {&Symbol::Valve, [](Canvas& c, QPoint a, int s) { DrawValveSymbol(c, a, s, 0.0); }},
        {&Symbol::Regulator, DrawRegulator},
        {&Symbol::OnePortOutlet, [](Canvas& c, QPoint a, int s) { DrawPortOutlet(c, a, s, 1); }},
        {&Symbol::TwoPortOutlet, [](Canvas& c, QPoint a, int s) { DrawPortOutlet(c, a, s, 2); }},
        {&Symbol::ThreePortOutlet, [](Canvas& c, QPoint a, int s) { DrawPortOutlet(c, a, s, 3); }},
        {&Symbol::FourPortOutlet, [](Canvas& c, QPoint a, int s) { DrawPortOutlet(c, a, s, 4); }},
        {&Symbol::MaleAdaptor, [](Canvas& c, QPoint a, int s) { DrawAdaptor(c, a, s, false); }},
        {&Symbol::FemaleTee, DrawFemaleTee},
        {&Symbol::Reducer, DrawReducer},
        {&Symbol::AdaptorFemale, [](Canvas& c, QPoint a, int s) { DrawAdaptor(c, a, s, true); }},
    };
    for (const auto& [name, draw] : table) {
        if (keyword == *name) {
            canvas.setBrush(kWhiteBrush); // every symbol starts with a white fill
            draw(canvas, anchor, s);
            return;
        }
    }
}

WinColour ItemColour(int index, int selectedIndex, WinColour highlightColour, bool printMode)
{
    return !printMode && index == selectedIndex ? highlightColour : kBlack;
}

} // namespace

QPoint RotateOffset(QPoint anchor, int dx, int dy, double theta)
{
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    return QPoint(anchor.x() + Round(dx * c + dy * s), anchor.y() + Round(dy * c - dx * s));
}

void DrawDiamond(Canvas& canvas, QPoint anchor, int s)
{
    const At p{anchor};
    canvas.setBrush(kWhiteBrush);
    canvas.polygon({p(-s, 0), p(0, -s), p(s, 0), p(0, s)});
}

void EraseSymbolBox(Canvas& canvas, QPoint anchor, int s)
{
    const WinColour saved = canvas.pen().colour;
    canvas.setPenColour(kWhite);
    canvas.rectangle(anchor.x() - s, anchor.y() - s, anchor.x() + s, anchor.y() + s);
    canvas.setPenColour(saved);
}

void DrawArrow(Canvas& canvas, QPoint tip, int length, double theta)
{
    const int h = length / 2;
    Line(canvas, tip, RotateOffset(tip, 0, 2 * h, theta));
    canvas.setPenWidth(1);
    canvas.polygon({tip, RotateOffset(tip, -h, h, theta), RotateOffset(tip, h, h, theta)});
}

void DrawValveSymbol(Canvas& canvas, QPoint anchor, int s, double theta)
{
    const int h = s / 2;
    const auto r = [&](int dx, int dy) { return RotateOffset(anchor, dx, dy, theta); };
    canvas.setBrush(kWhiteBrush);
    canvas.polygon({anchor, r(-h, -s), r(h, -s)});
    canvas.polygon({anchor, r(-h, s), r(h, s)});
}

void DrawDrainSymbol(Canvas& canvas, QPoint anchor, int s, bool manual)
{
    const At p{anchor};
    DrawDiamond(canvas, anchor, s);
    const int h = s / 2;
    Line(canvas, p(-h, h), p(h, h));
    if (!manual) {
        const int q = h / 2;
        canvas.polyline({p(-q, h), p(0, h + q), p(q, h)});
    }
}

void DrawSymbol(Canvas& canvas, const QString& keyword, QPoint anchor, int s)
{
    int y = anchor.y();
    DrawKeyword(canvas, keyword, anchor.x(), y, s, nullptr);
}

bool IsHoseStackItem(const QString& keyword)
{
    return IsHoseSymbol(keyword) || keyword == Symbol::Coupler;
}

void DrawSymbolStack(Canvas& canvas, std::vector<TSymbolEntry>& symbols, int x, int pipeWidth,
                     int startBelow, int selectedIndex, WinColour highlightColour, bool printMode,
                     int s, int startAbove)
{
    const int q = s / 4;
    const int count = int(symbols.size());
    const bool downward = startBelow > 0;
    int y = downward ? startBelow + s + q : startAbove;

    for (int n = 0; n < count; ++n) {
        const int index = downward ? count - 1 - n : n;
        TSymbolEntry& entry = symbols[size_t(index)];
        if (IsHoseStackItem(entry.Keyword))
            continue;

        // An FRL is drawn upward from its anchor over three cells. Hanging
        // below a drop it must start where its first cell begins, or it covers
        // what is above it (the hose stack's last coupler) and the next item.
        const int step = 2 * s + q;
        const int cellsAbove = downward && entry.Keyword == Symbol::Frl ? 2 : 0;
        int anchorY = y + cellsAbove * step;
        PixelRect cell{x - s, anchorY - s, x + s, anchorY + s};
        if (downward) {
            canvas.setPenWidth(pipeWidth);
            Line(canvas, QPoint(x, y - s - q), QPoint(x, cell.bottom));
        }
        canvas.setPenWidth(1);
        canvas.setPenColour(ItemColour(index, selectedIndex, highlightColour, printMode));
        DrawKeyword(canvas, entry.Keyword, x, anchorY, s, &cell);

        if (!printMode)
            entry.Record.Rect = {cell.left, cell.top, cell.right, cell.bottom};

        y = downward ? y + (cellsAbove + 1) * step : anchorY - step;
    }
}

int DrawHoseStack(Canvas& canvas, std::vector<TSymbolEntry>& symbols, int x, int selectedIndex,
                  WinColour highlightColour, int pipeWidth, bool printMode, int s, int startY)
{
    const int r = s / 4;
    int y = startY + s + r;
    int bottom = startY;

    for (int index = int(symbols.size()) - 1; index >= 0; --index) {
        TSymbolEntry& entry = symbols[size_t(index)];
        const QString& keyword = entry.Keyword;
        if (!IsHoseStackItem(keyword))
            break;

        const WinColour savedColour = canvas.pen().colour;
        canvas.setPenColour(ItemColour(index, selectedIndex, highlightColour, printMode));
        const int top = y - s;

        if (keyword == Symbol::Coupler) {
            canvas.setPenWidth(pipeWidth);
            Line(canvas, QPoint(x, y - s - r), QPoint(x, y + s + r));
            canvas.setPenWidth(1);
            DrawCoupler(canvas, QPoint(x, y), s);
            y += s;
        } else if (keyword.startsWith(Symbol::AirHose)) {
            canvas.setPenWidth(pipeWidth);
            const int y0 = y - s;
            canvas.moveTo(x, y0 - r);
            for (int yy = y0; yy <= y0 + 4 * s; ++yy)
                canvas.lineTo(x + Round(s * std::sin((yy - y0) * std::numbers::pi / s)), yy);
            canvas.setPenColour(kBlack);
            Line(canvas, QPoint(x, y0 + 4 * s), QPoint(x, y0 + 5 * s + r));
            y = y0 + 4 * s;
        } else if (keyword.startsWith(Symbol::RecoilHose)) {
            canvas.setPenWidth(pipeWidth);
            const int y0 = y - s;
            canvas.setBrushStyle(BrushStyle::Clear);
            for (int k = 1; k <= 4; ++k) {
                const PixelRect box{x - s, y0 + (k - 1) * s, x + s, y0 + k * s};
                const QPoint topPoint(x, box.top);
                const QPoint bottomPoint(x, box.bottom);
                if (k == 1)
                    canvas.arc(box, topPoint, bottomPoint); // left half
                else if (k == 4)
                    canvas.arc(box, bottomPoint, topPoint); // right half
                else
                    canvas.ellipse(box);
            }
            y = y0 + 4 * s;
        }

        bottom = y;
        y += s + r;
        canvas.setPenColour(savedColour);
        if (!printMode)
            entry.Record.Rect = {x - s, top, x + s, bottom};
    }
    return bottom;
}

} // namespace pipeloop
