// Symbol stacks of drops and inlets: the upward and downward
// layouts, the hose stack, colours and the hit rectangles stored into the
// symbol list. s = 12 throughout: cells are 24 high and 27 apart.

#include "RenderTestSupport.h"

#include <gtest/gtest.h>

#include <map>

using namespace pipeloop;
using pipeloop::test::Rect;
using pipeloop::test::Stack;

namespace
{

constexpr WinColour kHighlight = 0xC0C0C0;
constexpr WinColour kBlue = 0xFF0000;

// Whether the recorded calls include one symbol's calls drawn at anchor.
bool DrewSymbolAt(const RecordingCanvas& canvas, const QString& keyword, QPoint anchor)
{
    RecordingCanvas alone;
    DrawSymbol(alone, keyword, anchor, 12);
    const QStringList all = canvas.descriptions();
    const QStringList wanted = alone.descriptions();
    for (qsizetype i = 0; i + wanted.size() <= all.size(); ++i)
        if (all.mid(i, wanted.size()) == wanted)
            return true;
    return false;
}

std::vector<SymbolRect> Rects(const std::vector<TSymbolEntry>& symbols)
{
    std::vector<SymbolRect> rects;
    for (const TSymbolEntry& entry : symbols)
        rects.push_back(entry.Record.Rect);
    return rects;
}

} // namespace

TEST(SymbolStack, UpwardLayoutStartsAtStartAboveAndStoresCells)
{
    auto symbols = Stack({"FILTER", "REGULATOR", "GAUGE"});
    RecordingCanvas canvas;
    DrawSymbolStack(canvas, symbols, 50, 3, 0, -1, kHighlight, false, 12, 200);

    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER", QPoint(50, 200)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "REGULATOR", QPoint(50, 173)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "GAUGE", QPoint(50, 146)));
    EXPECT_EQ(Rects(symbols),
              (std::vector<SymbolRect>{Rect(38, 188, 62, 212), Rect(38, 161, 62, 185),
                                       Rect(38, 134, 62, 158)}));
    // No pipe pieces in the upward layout: every call is a symbol's, in width 1.
    for (const Primitive& p : canvas.primitives())
        EXPECT_EQ(p.pen.width, 1);
}

TEST(SymbolStack, FrlMovesTheUpwardLayoutThreeCells)
{
    auto symbols = Stack({"FRL", "GAUGE"});
    RecordingCanvas canvas;
    DrawSymbolStack(canvas, symbols, 50, 3, 0, -1, kHighlight, false, 12, 200);

    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER_AUTO", QPoint(50, 200)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "REGULATOR", QPoint(50, 173)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "LUBRICATOR", QPoint(50, 146)));
    // Two moves inside the FRL and the ordinary advance: 200 - 3 * 27.
    EXPECT_TRUE(DrewSymbolAt(canvas, "GAUGE", QPoint(50, 119)));
    // The FRL's hit rectangle is its whole dash-dot box.
    EXPECT_EQ(Rects(symbols),
              (std::vector<SymbolRect>{Rect(35, 134, 65, 212), Rect(38, 107, 62, 131)}));
}

TEST(SymbolStack, DownwardLayoutGoesFromTheLastEntryWithPipePieces)
{
    auto symbols = Stack({"FILTER", "GAUGE"});
    RecordingCanvas canvas;
    canvas.setPenColour(kBlue);
    DrawSymbolStack(canvas, symbols, 50, 3, 100, -1, kHighlight, false, 12, 999);

    // First cell centred at 100 + 12 + 3; the last entry comes first.
    const QStringList calls = canvas.descriptions();
    ASSERT_FALSE(calls.isEmpty());
    // The pipe piece runs from a quarter above the cell to its bottom, in the
    // pen colour then current: the caller's for the first cell...
    EXPECT_EQ(calls.first(), "line (50,100)-(50,127) pen FF0000 w3 solid");
    EXPECT_TRUE(DrewSymbolAt(canvas, "GAUGE", QPoint(50, 115)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER", QPoint(50, 142)));
    // ...and the previous symbol's black for the next.
    EXPECT_TRUE(calls.contains("line (50,127)-(50,154) pen 000000 w3 solid"));
    EXPECT_EQ(Rects(symbols),
              (std::vector<SymbolRect>{Rect(38, 130, 62, 154), Rect(38, 103, 62, 127)}));
}

TEST(SymbolStack, SelectedEntryTakesTheHighlightColourOnScreenOnly)
{
    auto symbols = Stack({"FILTER", "GAUGE", "DRYER"});
    RecordingCanvas screen;
    DrawSymbolStack(screen, symbols, 50, 3, 0, 1, kHighlight, false, 12, 200);
    for (const Primitive& p : screen.primitives()) {
        const bool gauge = p.kind == Primitive::Kind::Ellipse ||
                           (p.points.size() > 1 && p.points[0] == QPoint(50, 173));
        if (gauge) {
            EXPECT_EQ(p.pen.colour, kHighlight) << p.describe().toStdString();
        }
    }
    EXPECT_EQ(screen.primitives().front().pen.colour, kBlack);
    EXPECT_EQ(screen.primitives().back().pen.colour, kBlack);

    auto printed = Stack({"FILTER", "GAUGE", "DRYER"});
    RecordingCanvas paper;
    DrawSymbolStack(paper, printed, 50, 3, 0, 1, kHighlight, true, 12, 200);
    for (const Primitive& p : paper.primitives())
        EXPECT_NE(p.pen.colour, kHighlight);
    // No hit rectangles in print mode.
    EXPECT_EQ(Rects(printed), std::vector<SymbolRect>(3));
}

TEST(SymbolStack, HoseItemsAreSkippedAndDoNotAdvance)
{
    auto symbols = Stack({"FILTER", "COUPLER", "AIR-HOSE", "COUPLER", "GAUGE"});
    RecordingCanvas canvas;
    DrawSymbolStack(canvas, symbols, 50, 3, 0, -1, kHighlight, false, 12, 200);
    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER", QPoint(50, 200)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "GAUGE", QPoint(50, 173)));
    EXPECT_EQ(Rects(symbols)[1], SymbolRect{});
    EXPECT_EQ(Rects(symbols)[2], SymbolRect{});
}

TEST(SymbolStack, UnknownKeywordsOccupyACellWithoutDrawing)
{
    auto symbols = Stack({"WIDGET", "FILTER"});
    RecordingCanvas canvas;
    DrawSymbolStack(canvas, symbols, 50, 3, 0, -1, kHighlight, false, 12, 200);
    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER", QPoint(50, 173)));
    EXPECT_EQ(Rects(symbols)[0], Rect(38, 188, 62, 212));
}

TEST(SymbolStack, HoseOnlyListDrawsEverythingInTheHoseStack)
{
    auto symbols = Stack({"COUPLER", "AIR-HOSE", "COUPLER"});
    RecordingCanvas canvas;
    DrawSymbolStack(canvas, symbols, 50, 3, 100, -1, kHighlight, false, 12, 300);
    EXPECT_TRUE(canvas.primitives().empty());
    DrawSymbolStack(canvas, symbols, 50, 3, 0, -1, kHighlight, false, 12, 300);
    EXPECT_TRUE(canvas.primitives().empty());
    EXPECT_EQ(Rects(symbols), std::vector<SymbolRect>(3));

    const int bottom = DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100);
    EXPECT_FALSE(canvas.primitives().empty());
    EXPECT_EQ(bottom, 205);
    for (const SymbolRect& rect : Rects(symbols))
        EXPECT_NE(rect, SymbolRect{});
}

TEST(HoseStack, CouplerAirHoseCouplerHangsFromStartY)
{
    // r = 3; the first cell is centred at 100 + 12 + 3.
    auto symbols = Stack({"FILTER", "COUPLER", "AIR-HOSE", "COUPLER"});
    RecordingCanvas canvas;
    const int bottom = DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100);
    const QStringList calls = canvas.descriptions();

    // The last coupler: a pipe through its cell and the gaps, the coupler on top.
    EXPECT_EQ(calls.first(), "line (50,100)-(50,130) pen 000000 w3 solid");
    EXPECT_EQ(calls[1],
              "polygon (44,103) (56,103) (56,127) (44,127) pen 000000 w1 solid brush FFFFFF solid");
    EXPECT_TRUE(calls.contains("ellipse (47,112)-(53,118) pen 000000 w1 solid brush 000000 solid"));
    EXPECT_TRUE(calls.contains("line (50,111)-(46,107) pen 000000 w1 solid"));

    // The air hose: from a quarter above its cell (y0 = 130) two sine periods
    // of amplitude 12 down to y0 + 48, then a black tail to y0 + 63.
    EXPECT_TRUE(calls.contains("line (50,127)-(50,130) pen 000000 w3 solid"));
    std::map<int, int> sine; // y -> x of every step of the curve
    for (const Primitive& p : canvas.primitives())
        if (p.kind == Primitive::Kind::Line && p.pen.width == 3 && p.points[1].y() > 130 &&
            p.points[1].y() <= 178 && p.points[0].y() + 1 == p.points[1].y())
            sine[p.points[1].y()] = p.points[1].x();
    EXPECT_EQ(sine.size(), 48u);   // one step per pixel row, y0 + 1 to y0 + 48
    EXPECT_EQ(sine[133], 50 + 8);  // Round(12 sin(pi/4)) = Round(8.49)
    EXPECT_EQ(sine[136], 50 + 12); // a crest
    EXPECT_EQ(sine[142], 50);      // half a period
    EXPECT_EQ(sine[148], 50 - 12); // a trough
    EXPECT_EQ(sine[160], 50 + 12); // the second crest
    EXPECT_EQ(sine[178], 50);      // two full periods
    EXPECT_TRUE(calls.contains("line (50,178)-(50,193) pen 000000 w3 solid"));

    // The first coupler, and the filter ends the hose stack.
    EXPECT_EQ(calls.last(), "line (50,197)-(54,201) pen 000000 w1 solid");
    EXPECT_EQ(bottom, 205);
    EXPECT_EQ(Rects(symbols),
              (std::vector<SymbolRect>{SymbolRect{}, Rect(38, 181, 62, 205), Rect(38, 130, 62, 178),
                                       Rect(38, 103, 62, 127)}));
}

TEST(HoseStack, RecoilHoseIsFourCoils)
{
    auto symbols = Stack({"RECOIL-HOSE"});
    RecordingCanvas canvas;
    const int bottom = DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100);
    EXPECT_EQ(canvas.descriptions(),
              (QStringList{"arc (38,103)-(62,115) from (50,103) to (50,115) pen 000000 w3 solid",
                           "ellipse (38,115)-(62,127) pen 000000 w3 solid brush clear",
                           "ellipse (38,127)-(62,139) pen 000000 w3 solid brush clear",
                           "arc (38,139)-(62,151) from (50,151) to (50,139) pen 000000 w3 solid"}));
    EXPECT_EQ(bottom, 151);
    EXPECT_EQ(Rects(symbols)[0], Rect(38, 103, 62, 151));
}

TEST(HoseStack, HoseWithExtraTextIsStillAHose)
{
    auto plain = Stack({"AIR-HOSE"});
    auto named = Stack({"AIR-HOSE 10M"});
    RecordingCanvas a;
    RecordingCanvas b;
    EXPECT_EQ(DrawHoseStack(a, plain, 50, -1, kHighlight, 3, false, 12, 100),
              DrawHoseStack(b, named, 50, -1, kHighlight, 3, false, 12, 100));
    EXPECT_EQ(a.descriptions(), b.descriptions());
    EXPECT_FALSE(a.descriptions().isEmpty());
}

TEST(HoseStack, CouplerWithExtraTextEndsTheHoseStack)
{
    // At the end of the list it stops the walk at once.
    auto symbols = Stack({"COUPLER", "AIR-HOSE", "COUPLER X"});
    RecordingCanvas canvas;
    EXPECT_EQ(DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100), 100);
    EXPECT_TRUE(canvas.primitives().empty());
    EXPECT_EQ(Rects(symbols), std::vector<SymbolRect>(3));

    // Further up the list it ends the stack after the items below it.
    auto lower = Stack({"COUPLER", "XCOUPLER", "AIR-HOSE", "COUPLER"});
    RecordingCanvas c2;
    EXPECT_EQ(DrawHoseStack(c2, lower, 50, -1, kHighlight, 3, false, 12, 100), 178);
    EXPECT_EQ(lower[0].Record.Rect, SymbolRect{});
    EXPECT_EQ(lower[1].Record.Rect, SymbolRect{});

    // It is not a hose item for the symbol stack either: it takes a cell there.
    auto stack = Stack({"COUPLER X", "FILTER"});
    RecordingCanvas c3;
    DrawSymbolStack(c3, stack, 50, 3, 0, -1, kHighlight, false, 12, 200);
    EXPECT_EQ(stack[0].Record.Rect, Rect(38, 188, 62, 212));
    EXPECT_TRUE(DrewSymbolAt(c3, "FILTER", QPoint(50, 173)));
}

TEST(HoseStack, SelectedHoseIsHighlightedButItsTailIsBlack)
{
    auto symbols = Stack({"AIR-HOSE"});
    RecordingCanvas canvas;
    canvas.setPenColour(kBlue);
    DrawHoseStack(canvas, symbols, 50, 0, kHighlight, 3, false, 12, 100);
    const auto& prims = canvas.primitives();
    EXPECT_EQ(prims.front().pen.colour, kHighlight);
    EXPECT_EQ(prims.back().pen.colour, kBlack);
    // The pen colour from before the item comes back.
    EXPECT_EQ(canvas.pen().colour, kBlue);

    RecordingCanvas paper;
    auto printed = Stack({"AIR-HOSE"});
    DrawHoseStack(paper, printed, 50, 0, kHighlight, 3, true, 12, 100);
    EXPECT_EQ(paper.primitives().front().pen.colour, kBlack);
    EXPECT_EQ(printed[0].Record.Rect, SymbolRect{});
}

TEST(HoseStack, NothingToDrawReturnsTheStart)
{
    auto empty = Stack({});
    auto noHose = Stack({"FILTER", "REGULATOR"});
    RecordingCanvas canvas;
    EXPECT_EQ(DrawHoseStack(canvas, empty, 50, -1, kHighlight, 3, false, 12, 77), 77);
    EXPECT_EQ(DrawHoseStack(canvas, noHose, 50, -1, kHighlight, 3, false, 12, 77), 77);
    EXPECT_TRUE(canvas.primitives().empty());
}

TEST(HoseStack, SymbolStackBelowTheHoseStackAsADropInASectionDrawsIt)
{
    // A female drop: hose stack from the outlet, then the symbol stack downward
    // below the hose stack.
    auto symbols = Stack({"FILTER", "REGULATOR", "COUPLER", "AIR-HOSE", "COUPLER"});
    RecordingCanvas canvas;
    const int below = DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100);
    DrawSymbolStack(canvas, symbols, 50, 3, below, -1, kHighlight, false, 12, 0);
    // Regulator first (the last non-hose entry) in the cell under the hose stack.
    EXPECT_TRUE(DrewSymbolAt(canvas, "REGULATOR", QPoint(50, 205 + 15)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER", QPoint(50, 205 + 15 + 27)));
    EXPECT_EQ(symbols[1].Record.Rect, Rect(38, 208, 62, 232));
}

TEST(HoseStack, AnFrlBelowTheHoseStackHangsDownAndLeavesTheCouplerVisible)
{
    // FRL, COUPLER, AIR-HOSE, COUPLER below a female drop: the FRL's box
    // begins under the hose stack (which ends at 205 from 100) instead of
    // reaching up over its last coupler, and the next item follows its box.
    auto symbols = Stack({"GAUGE", "FRL", "COUPLER", "AIR-HOSE", "COUPLER"});
    RecordingCanvas canvas;
    const int below = DrawHoseStack(canvas, symbols, 50, -1, kHighlight, 3, false, 12, 100);
    ASSERT_EQ(below, 205);
    const SymbolRect lastCoupler = symbols[2].Record.Rect;
    DrawSymbolStack(canvas, symbols, 50, 3, below, -1, kHighlight, false, 12, 0);
    const SymbolRect frl = symbols[1].Record.Rect;
    EXPECT_EQ(frl, Rect(35, 208, 65, 286));
    EXPECT_GE(frl.Top, lastCoupler.Bottom);
    EXPECT_TRUE(DrewSymbolAt(canvas, "LUBRICATOR", QPoint(50, 220)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "FILTER_AUTO", QPoint(50, 274)));
    EXPECT_TRUE(DrewSymbolAt(canvas, "GAUGE", QPoint(50, 301)));
    // One pipe piece through the whole box, from a quarter cell above it.
    EXPECT_TRUE(canvas.descriptions().contains("line (50,205)-(50,286) pen 000000 w3 solid"));
}
