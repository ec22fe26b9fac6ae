// The drop view: the selected drop, inlet or drain in a narrow
// area. The area here is the main window's panel, 80 wide and 480 high: Xc =
// 40, q = 20, and the area shrinks to (20, 20)-(60, 460).

#include "DropViewRenderer.h"
#include "RenderTestSupport.h"
#include "SampleDesign.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

const PixelRect kPanel{0, 0, 80, 480};
const DropViewStyle kScreen{3, false, 0xC0C0C0};

TDrop MakeDrop(DropStyle style, const QStringList& symbols)
{
    TDrop drop;
    drop.Style = style;
    for (const QString& symbol : symbols)
        drop.AddSymbol(symbol, {}, true);
    return drop;
}

QStringList View(TPipeLoopObject& object, const DropViewStyle& style = kScreen)
{
    RecordingCanvas canvas;
    canvas.setBrush({kWhite, BrushStyle::Solid});
    EXPECT_TRUE(DrawObjectView(canvas, object, kPanel, style));
    return canvas.descriptions();
}

} // namespace

TEST(DropView, TeeDropStandsItsStackOnTheBottom)
{
    TDrop drop = MakeDrop(DropStyle::Tee, {QStringLiteral("FILTER"), QStringLiteral("GAUGE")});
    EXPECT_EQ(
        View(drop),
        (QStringList{
            "line (20,20)-(60,20) pen 000000 w3 solid",  // the main
            "line (40,460)-(40,20) pen 000000 w3 solid", // the drop, bottom to top
            // FILTER centred at Bottom − q = 440
            "polygon (20,440) (40,420) (60,440) (40,460) pen 000000 w1 solid brush FFFFFF solid",
            "line (40,420)-(40,460) pen 000000 w1 dot",
            // GAUGE one cell (2q + q div 4 = 45) higher, at 395
            "ellipse (20,375)-(60,415) pen 000000 w1 solid brush FFFFFF solid",
            "line (40,395)-(30,385) pen 000000 w1 solid",
            "polyline (30,390) (30,385) (35,385) pen 000000 w1 solid",
        }));
    // The hit rectangles of the cells, for the drop view's hit-test.
    EXPECT_EQ(drop.Symbols[0].Record.Rect, (SymbolRect{20, 420, 60, 460}));
    EXPECT_EQ(drop.Symbols[1].Record.Rect, (SymbolRect{20, 375, 60, 415}));
    EXPECT_EQ(drop.SymbolAt(QPoint(40, 400)), 1);
    EXPECT_EQ(drop.SymbolAt(QPoint(40, 417)), -1); // between the cells
    EXPECT_EQ(drop.SymbolAt(QPoint(40, 420)), 0);
}

TEST(DropView, SaddleAndQuickDropsShowTheirFitting)
{
    for (DropStyle style : {DropStyle::Saddle, DropStyle::Quick}) {
        TDrop drop = MakeDrop(style, {});
        EXPECT_EQ(View(drop),
                  (QStringList{
                      "line (20,20)-(60,20) pen 000000 w3 solid",
                      "line (40,460)-(40,20) pen 000000 w3 solid",
                      "rectangle (34,20)-(46,32) pen 000000 w1 solid brush FFFFFF solid",
                  }));
    }
}

TEST(DropView, FemaleDropsHangTheHoseAndThenTheSymbolsBelowTheOutlet)
{
    TDrop drop = MakeDrop(DropStyle::FemaleSaddle,
                          {QStringLiteral("REGULATOR"), QStringLiteral("COUPLER"),
                           QStringLiteral("RECOIL-HOSE"), QStringLiteral("COUPLER")});
    const QStringList lines = View(drop);
    EXPECT_EQ(lines[0], "line (20,20)-(60,20) pen 000000 w3 solid");
    EXPECT_EQ(lines[1], "line (40,20)-(40,40) pen 000000 w3 solid");
    EXPECT_EQ(lines[2], "polygon (30,40) (50,40) (40,50) pen 000000 w1 solid brush FFFFFF solid");
    // The hose stack from Top + q + q div 2 = 50 (r = 5): coupler centred at 75 …
    EXPECT_EQ(lines[3], "line (40,50)-(40,100) pen 000000 w3 solid");
    EXPECT_EQ(drop.Symbols[3].Record.Rect, (SymbolRect{20, 55, 60, 95}));
    // … the recoil hose 4q high from 100, the other coupler from 145 to 185 …
    EXPECT_EQ(drop.Symbols[2].Record.Rect, (SymbolRect{20, 100, 60, 180}));
    EXPECT_EQ(drop.Symbols[1].Record.Rect, (SymbolRect{20, 185, 60, 225}));
    // … and the regulator in the downward layout below: 225 + q + q div 4 = 250.
    EXPECT_EQ(drop.Symbols[0].Record.Rect, (SymbolRect{20, 230, 60, 270}));
}

TEST(DropView, FemaleDropWithoutSymbolsShowsOnlyItsOutlet)
{
    TDrop drop = MakeDrop(DropStyle::Female, {});
    EXPECT_EQ(View(drop).size(), 3);
}

TEST(DropView, TheSelectedSymbolTakesTheHighlightColourOnScreenOnly)
{
    TDrop drop = MakeDrop(DropStyle::Tee, {QStringLiteral("FILTER"), QStringLiteral("LUBRICATOR")});
    drop.SelectedSymbol = 1;
    const QStringList screen = View(drop);
    EXPECT_EQ(screen[2],
              "polygon (20,440) (40,420) (60,440) (40,460) pen 000000 w1 solid brush FFFFFF solid");
    EXPECT_EQ(screen[4],
              "polygon (20,395) (40,375) (60,395) (40,415) pen C0C0C0 w1 solid brush FFFFFF solid");

    // On the printed drops page: print mode, no highlight, no rectangles.
    for (TSymbolEntry& entry : drop.Symbols)
        entry.Record.Rect = {};
    const QStringList paper = View(drop, DropViewStyle{2, true, 0xC0C0C0});
    EXPECT_EQ(paper[0], "line (20,20)-(60,20) pen 000000 w2 solid");
    EXPECT_EQ(paper[4],
              "polygon (20,395) (40,375) (60,395) (40,415) pen 000000 w1 solid brush FFFFFF solid");
    EXPECT_EQ(drop.Symbols[0].Record.Rect, SymbolRect{});
    EXPECT_EQ(drop.Symbols[1].Record.Rect, SymbolRect{});
}

TEST(DropView, InletHasAnArrowIntoTheMainAndItsStack)
{
    TInlet inlet;
    inlet.AddSymbol(QStringLiteral("DRYER"), {}, true);
    const QStringList lines = View(inlet);
    EXPECT_EQ(
        lines.mid(0, 4),
        (QStringList{
            "line (40,20)-(40,460) pen 000000 w3 solid",
            "line (20,20)-(60,20) pen 000000 w3 solid",
            "polygon (40,20) (30,40) (50,40) pen 000000 w1 solid brush 000000 solid",
            "polygon (20,440) (40,420) (60,440) (40,460) pen 000000 w1 solid brush FFFFFF solid",
        }));
    EXPECT_EQ(inlet.Symbols[0].Record.Rect, (SymbolRect{20, 420, 60, 460}));
}

TEST(DropView, DrainShowsItsSymbolAtTheBottom)
{
    TDrain drain;
    drain.Manual = false;
    EXPECT_EQ(
        View(drain),
        (QStringList{
            "line (40,20)-(40,460) pen 000000 w3 solid",
            "line (20,20)-(60,20) pen 000000 w3 solid",
            "polygon (20,440) (40,420) (60,440) (40,460) pen 000000 w1 solid brush FFFFFF solid",
            "line (30,450)-(50,450) pen 000000 w1 solid",
            "polyline (35,450) (40,455) (45,450) pen 000000 w1 solid",
        }));
}

TEST(DropView, PanelClearsToWhiteAndShowsOnlyDropsInletsAndDrains)
{
    RecordingCanvas canvas;
    TValve valve;
    EXPECT_FALSE(PaintDropViewPanel(canvas, &valve, kPanel, 0xC0C0C0));
    EXPECT_FALSE(PaintDropViewPanel(canvas, nullptr, kPanel, 0xC0C0C0));
    EXPECT_EQ(canvas.descriptions(), (QStringList{"fill (0,0)-(80,480) brush FFFFFF solid",
                                                  "fill (0,0)-(80,480) brush FFFFFF solid"}));
    TDrain drain;
    EXPECT_TRUE(PaintDropViewPanel(canvas, &drain, kPanel, 0xC0C0C0));
}
