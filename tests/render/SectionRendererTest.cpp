// The sections through the recording canvas: the visible corner
// run, the two passes, DrawnInView, the objects on a segment's line, drops by
// style, inlets, names and the selection. The building is 10 m × 6 m × 4 m,
// the loop at 3 m, a sixteenth of a pixel a millimetre with margins 18: in
// the north section EW lands on x = 18 + (10 000 − EW)/16, a height on
// y = 268 − HG/16 (the loop on 80).

#include "SectionRenderer.h"
#include "RenderTestSupport.h"
#include "SampleDesign.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

const QString kLoop = QStringLiteral("CC0000"); // 50 mm in colour scheme 2
const QString kDrop = QStringLiteral("FFFF00"); // 25 mm outlets

std::vector<int> Segments(const ElbowList& elbows, ViewKind view)
{
    return VisibleCornerRun(elbows, view).segmentStarts(int(elbows.size()));
}

// The L-shaped loop: the north-east quarter of the building is cut out.
std::unique_ptr<Design> LShapedDesign()
{
    auto d = std::make_unique<Design>(10000, 6000, 4000, 3000);
    for (Position p : {Position{0, 0, 3000}, Position{0, 6000, 3000}, Position{3000, 6000, 3000},
                       Position{3000, 10000, 3000}, Position{6000, 10000, 3000},
                       Position{6000, 0, 3000}, Position{0, 0, 3000}})
        d->loop.AddElbow(p);
    return d;
}

std::unique_ptr<Design> NoGridDesign()
{
    auto d = RectangularDesign();
    d->options.GridSpacing = 0;
    return d;
}

QStringList Section(Design& d, ViewKind view, TDrawParams p = {})
{
    if (p.Right == 0)
        p = TestParams(d.loop, view);
    RecordingCanvas canvas;
    Font font;
    font.pixelHeight = 10;
    canvas.setFont(font);
    DrawSection(canvas, d.loop, p);
    return canvas.descriptions();
}

QStringList Filter(const QStringList& lines, const QString& part)
{
    QStringList out;
    for (const QString& line : lines)
        if (line.contains(part))
            out << line;
    return out;
}

} // namespace

TEST(VisibleCornerRun, RectangularLoopShowsOneSidePerView)
{
    auto d = RectangularDesign(); // corners (0,0) (0,W) (L,W) (L,0) (0,0)
    const ElbowList& e = d->loop.Elbows;
    EXPECT_EQ(Segments(e, ViewKind::North), std::vector<int>{0});
    EXPECT_EQ(Segments(e, ViewKind::East), std::vector<int>{1});
    EXPECT_EQ(Segments(e, ViewKind::South), std::vector<int>{2});
    // West: a = 0, b = 3, and corners 1 and 2 lie on the far (east) side, so
    // the walk goes from 3 forward round to 0: 3 -> 4, then 4 -> 0.
    const CornerRun west = VisibleCornerRun(e, ViewKind::West);
    EXPECT_EQ(west.a, 0);
    EXPECT_EQ(west.b, 3);
    EXPECT_EQ(west.first, 3);
    EXPECT_EQ(west.last, 0);
    EXPECT_EQ(Segments(e, ViewKind::West), (std::vector<int>{3, 4}));
    EXPECT_TRUE(VisibleCornerRun(e, ViewKind::Plan).empty());
}

TEST(VisibleCornerRun, LShapedLoopFollowsTheStep)
{
    auto d = LShapedDesign();
    const ElbowList& e = d->loop.Elbows;
    // North: from the west end of the north side to the east corner nearest
    // the north, round the step.
    EXPECT_EQ(Segments(e, ViewKind::North), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(Segments(e, ViewKind::East), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Segments(e, ViewKind::South), std::vector<int>{4});
    EXPECT_EQ(Segments(e, ViewKind::West), (std::vector<int>{5, 6}));
}

TEST(VisibleCornerRun, ALoopListedTheOtherWayRoundWraps)
{
    Design d(10000, 6000, 4000, 3000);
    for (Position p : {Position{0, 0, 3000}, Position{6000, 0, 3000}, Position{6000, 10000, 3000},
                       Position{0, 10000, 3000}, Position{0, 0, 3000}})
        d.loop.AddElbow(p);
    // North: a = 0, b = 3 and corners 1, 2 are on the south side: 3 -> 4 -> 0.
    EXPECT_EQ(Segments(d.loop.Elbows, ViewKind::North), (std::vector<int>{3, 4}));
}

TEST(VisibleCornerRun, EqualCornersChooseTheFirstAndOneCornerGoesRoundOnce)
{
    Design d(10000, 6000, 4000, 3000);
    d.loop.AddElbow({2000, 3000, 3000});
    EXPECT_EQ(Segments(d.loop.Elbows, ViewKind::North), std::vector<int>{0});
    d.loop.AddElbow({2000, 3000, 3000});
    // Both corners are minEW and maxEW with the same NS: the first wins, a = b
    // = 0, and the walk goes once round the whole (two-corner) loop.
    EXPECT_EQ(Segments(d.loop.Elbows, ViewKind::North), (std::vector<int>{0, 1}));
    Design empty(10000, 6000, 4000, 3000);
    EXPECT_TRUE(VisibleCornerRun(empty.loop.Elbows, ViewKind::North).empty());
}

TEST(SectionRenderer, ObjectsComeOutOnTopOfEveryPipe)
{
    auto d = NoGridDesign();
    d->valve(0, 2000, -HalfPi, QStringLiteral("VALVE1"));
    d->drain(0, 4000, true, 1600, QStringLiteral("DRAIN1"));
    d->place(d->loop.Inlets, 0, 6000, 3000, QStringLiteral("INLET1"));
    d->drop(0, 8000, DropStyle::Tee, 1600, {}, QStringLiteral("DROP1"));

    const QStringList objects{
        // the valve lies along the pipe (angle: single-precision half pi)
        "polygon (518,80) (506,86) (506,74) pen 000000 w1 solid brush FFFFFF solid",
        "polygon (518,80) (530,86) (530,74) pen 000000 w1 solid brush FFFFFF solid",
        // the drain: its pipe down by PipeLen, the symbol SymbolSize above the end
        "line (393,80)-(393,180) pen 000000 w3 solid",
        "polygon (381,168) (393,156) (405,168) (393,180) pen 000000 w1 solid brush FFFFFF solid",
        "line (387,174)-(399,174) pen 000000 w1 solid",
        // the inlet: an arrow up, its tip PipeDepth below the roof (62.5 -> 62)
        "line (268,80)-(268,92) pen 000000 w3 solid",
        "polygon (268,80) (262,86) (274,86) pen 000000 w1 solid brush 000000 solid",
        // the tee drop in its size colour
        "line (143,80)-(143,180) pen " + kDrop + " w3 solid",
    };
    // Pass 1 draws the pipes, pass 2 the objects on top (the objects of pass 1
    // are covered by the same pixels of pass 2, so they are left out).
    QStringList expected{
        "line (643,0)-(643,286) pen 000000 w1 solid", // corner lines, full height
        "line (18,0)-(18,286) pen 000000 w1 solid",
        "line (643,80)-(18,80) pen " + kLoop + " w3 solid", // the pipe
    };
    expected << objects;
    EXPECT_EQ(Section(*d, ViewKind::North), expected);

    // Without symbols: one pass of pipes and objects, no valves, drains
    // without their symbol.
    TDrawParams p = TestParams(d->loop, ViewKind::North);
    p.DrawSymbols = false;
    EXPECT_EQ(Section(*d, ViewKind::North, p), (QStringList{
                                                   expected[0],
                                                   expected[1],
                                                   expected[2],
                                                   objects[2],
                                                   objects[5],
                                                   objects[6],
                                                   objects[7],
                                               }));
}

TEST(SectionRenderer, ACornerSeenEndOnDrawsItsLineOnceUnlessAPipeCrossesIt)
{
    // North: the run from (0, 6000) to (3000, 6000) is seen end on: both its
    // corner lines are at x = 268, drawn once. Its pipe (a point) and the pipe
    // before it are drawn over that line, so each segment draws it again.
    auto d = LShapedDesign();
    d->options.GridSpacing = 0;
    const QStringList lines = Filter(Section(*d, ViewKind::North), QStringLiteral("line"));
    EXPECT_EQ(lines, (QStringList{
                         "line (643,0)-(643,286) pen 000000 w1 solid",
                         "line (268,0)-(268,286) pen 000000 w1 solid",
                         "line (643,80)-(268,80) pen " + kLoop + " w3 solid",
                         "line (268,0)-(268,286) pen 000000 w1 solid",
                         "line (268,80)-(268,80) pen " + kLoop + " w3 solid",
                         "line (268,0)-(268,286) pen 000000 w1 solid",
                         "line (18,0)-(18,286) pen 000000 w1 solid",
                         "line (268,80)-(18,80) pen " + kLoop + " w3 solid",
                     }));
}

TEST(SectionRenderer, DrawnInViewMarksExactlyWhatWasDrawn)
{
    auto d = NoGridDesign();
    TDrop& north = d->drop(0, 8000, DropStyle::Tee, 1600, {}, QStringLiteral("N"));
    TDrop& south = d->drop(6000, 8000, DropStyle::Tee, 1600, {}, QStringLiteral("S"));
    TValve& valve = d->valve(0, 2000, -HalfPi, QStringLiteral("V"));
    TDrain& drain = d->drain(6000, 4000, true, 1600, QStringLiteral("DR"));
    south.DrawnInView = true; // left over from another view
    drain.DrawnInView = true;

    Section(*d, ViewKind::North);
    EXPECT_TRUE(north.DrawnInView);
    EXPECT_FALSE(south.DrawnInView);
    EXPECT_TRUE(valve.DrawnInView);
    EXPECT_FALSE(drain.DrawnInView);
    const ElbowList& e = d->loop.Elbows;
    EXPECT_TRUE(e[0]->DrawnInView && e[1]->DrawnInView);
    EXPECT_FALSE(e[2]->DrawnInView || e[3]->DrawnInView || e[4]->DrawnInView);

    // The section hit-test then only finds what the section drew.
    EXPECT_TRUE(d->loop.SelectAt({-1, 8000, 2000}, ViewKind::North, 100, false));
    EXPECT_EQ(d->loop.Selected, &north);
    d->loop.Deselect();

    Section(*d, ViewKind::South);
    EXPECT_FALSE(north.DrawnInView);
    EXPECT_TRUE(south.DrawnInView);
    EXPECT_TRUE(drain.DrawnInView);
    EXPECT_FALSE(valve.DrawnInView);

    // Without symbols valves are not drawn, so not marked.
    TDrawParams p = TestParams(d->loop, ViewKind::North);
    p.DrawSymbols = false;
    Section(*d, ViewKind::North, p);
    EXPECT_FALSE(valve.DrawnInView);
    EXPECT_TRUE(north.DrawnInView);
}

TEST(SectionRenderer, ObjectsOnTheSegmentsLineBeyondItsEndsAreDrawn)
{
    auto d = LShapedDesign();
    d->options.GridSpacing = 0;
    // On the line of the step (NS 3000) but west of its corners at EW 6000 and 10 000.
    TDrop& beyond = d->drop(3000, 3000, DropStyle::Tee, 1600, {}, QStringLiteral("B"));
    TDrop& off = d->drop(3100, 3000, DropStyle::Tee, 1600, {}, QStringLiteral("O"));
    const QStringList lines = Section(*d, ViewKind::North);
    EXPECT_TRUE(beyond.DrawnInView);
    EXPECT_FALSE(off.DrawnInView);
    // x = 18 + 7000/16 = 455.5 -> 456
    EXPECT_EQ(Filter(lines, "pen " + kDrop).size(), 1);
    EXPECT_EQ(Filter(lines, "line (456,80)-(456,180)").size(), 1);
}

TEST(SectionRenderer, FemaleDropsHangTheirHoseBelowTheOutlet)
{
    auto d = NoGridDesign();
    TDrop& drop = d->drop(0, 8000, DropStyle::Female, 1600,
                          {QStringLiteral("FILTER"), QStringLiteral("COUPLER"),
                           QStringLiteral("AIR-HOSE"), QStringLiteral("COUPLER")},
                          QStringLiteral("F"));
    TDrawParams p = TestParams(d->loop, ViewKind::North);
    p.DrawSymbols = false;
    const QStringList lines = Section(*d, ViewKind::North, p);
    // After the pipe: the short leg (SymbolSize) and the outlet triangle (h = 6).
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[3], "line (143,80)-(143,92) pen " + kDrop + " w3 solid");
    EXPECT_EQ(lines[4], "polygon (137,92) (149,92) (143,98) pen " + kDrop + " w1 solid brush " +
                            kDrop + " solid");
    // Then the hose stack from y = 98: the lower coupler's pipe piece first
    // (y = 98 + 12 + 3 = 113, from 113 − 15 to 113 + 15).
    EXPECT_EQ(lines[5], "line (143,98)-(143,128) pen 000000 w3 solid");
    // The filter is a symbol: not drawn without DrawSymbols (the hose is).
    EXPECT_TRUE(Filter(lines, "dot").isEmpty());
    // Outside print mode the hose items store their rectangles.
    EXPECT_EQ(drop.Symbols[3].Record.Rect, (SymbolRect{131, 101, 155, 125}));
    EXPECT_EQ(drop.Symbols[0].Record.Rect, SymbolRect{});

    // With symbols the filter hangs below the hose (downward layout).
    Section(*d, ViewKind::North);
    EXPECT_NE(drop.Symbols[0].Record.Rect, SymbolRect{});
    EXPECT_GT(drop.Symbols[0].Record.Rect.Top, drop.Symbols[1].Record.Rect.Bottom);

    // Printing stores nothing.
    for (TSymbolEntry& entry : drop.Symbols)
        entry.Record.Rect = {};
    p.PrintMode = true;
    p.DrawSymbols = true;
    Section(*d, ViewKind::North, p);
    for (const TSymbolEntry& entry : drop.Symbols)
        EXPECT_EQ(entry.Record.Rect, SymbolRect{});
}

TEST(SectionRenderer, OtherDropsStackTheirSymbolsUpFromTheEnd)
{
    auto d = NoGridDesign();
    TDrop& drop =
        d->drop(0, 8000, DropStyle::Saddle, 1600,
                {QStringLiteral("FILTER"), QStringLiteral("LUBRICATOR")}, QStringLiteral("T"));
    const QStringList lines = Section(*d, ViewKind::North);
    EXPECT_EQ(lines[3], "line (143,80)-(143,180) pen " + kDrop + " w3 solid");
    // The first cell is centred SymbolSize above the end, the next 2s + s div 4 higher.
    EXPECT_EQ(drop.Symbols[0].Record.Rect, (SymbolRect{131, 156, 155, 180}));
    EXPECT_EQ(drop.Symbols[1].Record.Rect, (SymbolRect{131, 129, 155, 153}));
    EXPECT_EQ(lines[4],
              "polygon (131,168) (143,156) (155,168) (143,180) pen 000000 w1 solid brush FFFFFF "
              "solid");
}

TEST(SectionRenderer, NamesOfDropsAndInletsWhenAsked)
{
    auto d = NoGridDesign();
    d->drop(0, 8000, DropStyle::Tee, 1600, {}, QStringLiteral("DROP1"));
    d->place(d->loop.Inlets, 0, 6000, 3000, QStringLiteral("IN1"));
    TDrawParams p = TestParams(d->loop, ViewKind::North);
    EXPECT_TRUE(Filter(Section(*d, ViewKind::North, p), "text").isEmpty());
    p.SymbolNames = true;
    const QStringList texts = Filter(Section(*d, ViewKind::North, p), "text");
    // The inlet's name below its arrow (tip 80 + 12), the drop's above the top margin.
    EXPECT_EQ(texts, (QStringList{
                         "text (268,92) \"IN1\" font \"Arial\" 10px 000000 brush clear",
                         "text (143,8) \"DROP1\" font \"Arial\" 10px 000000 brush clear",
                     }));
}

TEST(SectionRenderer, FeaturesUseTheirOwnPositionRule)
{
    auto d = NoGridDesign();
    // EW 1600 … 4800, 2000 high: north x from 661 − 18 − 100 = 543 to 661 − 18 − 300 = 343.
    d->feature(800, 1600, 2400, 4800, 2000, QStringLiteral("GENERAL"), QStringLiteral("M"));
    const QStringList lines = Section(*d, ViewKind::North);
    EXPECT_EQ(lines[0], "rectangle (343,143)-(543,268) pen 0000FF w1 solid brush 0000FF cross");
    EXPECT_EQ(lines[1], "textrect (343,143)-(543,268) centre/centre \"M\" font \"Arial\" 10px "
                        "000000 brush 0000FF cross");
}

TEST(SectionRenderer, NamesOfFeaturesBehindEachOtherAreStackedNotOverprinted)
{
    // Machines one behind the other seen from the north: the same outline
    // (343,143)-(543,268); the second name goes a line (10 px) higher, and
    // so on while the outline has room (12 lines of 125 px); a name with no
    // free line left is not written over the others. One apart keeps its place.
    auto d = NoGridDesign();
    for (int i = 0; i < 14; ++i)
        d->feature(100 + 400 * i, 1600, 400 + 400 * i, 4800, 2000, QStringLiteral("MACHINE"),
                   QStringLiteral("M%1").arg(i));
    d->feature(800, 6000, 2400, 8000, 2000, QStringLiteral("MACHINE"), QStringLiteral("Saw"));
    const QStringList names = Filter(Section(*d, ViewKind::North), "textrect");
    ASSERT_EQ(names.size(), 13);
    EXPECT_TRUE(names[0].startsWith("textrect (343,143)-(543,268) centre/bottom \"M0\""));
    EXPECT_TRUE(names[1].startsWith("textrect (343,133)-(543,258) centre/bottom \"M1\""));
    EXPECT_TRUE(names[11].startsWith("textrect (343,33)-(543,158) centre/bottom \"M11\""));
    EXPECT_TRUE(names[12].contains(",268) centre/bottom \"Saw\"")) << names[12].toStdString();
}

TEST(SectionRenderer, SelectionMarkersSitOnTheTopMargin)
{
    auto d = NoGridDesign();
    TElbow& corner = *d->loop.Elbows[1];
    d->loop.Selected = &corner;
    corner.State = ObjectState::Selected;
    EXPECT_EQ(Section(*d, ViewKind::North).last(),
              "ellipse (6,6)-(30,30) pen C0C0C0 w1 solid brush C0C0C0 solid");

    corner.State = ObjectState::Normal;
    TDrop& drop = d->drop(0, 8000, DropStyle::Tee, 1600, {}, QStringLiteral("D"));
    d->loop.Selected = &drop;
    drop.State = ObjectState::Selected;
    EXPECT_EQ(Section(*d, ViewKind::North).last(), "line (143,80)-(143,180) pen C0C0C0 w3 solid");

    // The overlay draws the selection at its section position even when it is
    // not on the visible run, and so marks it drawn (it can be clicked there).
    const QStringList south = Section(*d, ViewKind::South);
    EXPECT_EQ(south.last(), "line (518,80)-(518,180) pen C0C0C0 w3 solid");
    EXPECT_EQ(Filter(south, "C0C0C0").size(), 1);
    EXPECT_TRUE(drop.DrawnInView);
}

TEST(SectionRenderer, CornersInARowDrawTheirObjectsOncePerPass)
{
    Design d(10000, 6000, 4000, 3000);
    d.options.GridSpacing = 0;
    for (Position p : {Position{0, 0, 3000}, Position{0, 3000, 3000}, Position{0, 6000, 3000},
                       Position{0, 10000, 3000}, Position{6000, 10000, 3000},
                       Position{6000, 0, 3000}, Position{0, 0, 3000}})
        d.loop.AddElbow(p);
    TDrop& drop = d.drop(0, 1000, DropStyle::Tee, 1600, {}, QStringLiteral("D"));
    EXPECT_EQ(Segments(d.loop.Elbows, ViewKind::North), (std::vector<int>{0, 1, 2}));
    const QStringList lines = Section(d, ViewKind::North);
    // Every segment's line holds the drop; it is drawn once, after the pipes.
    EXPECT_EQ(Filter(lines, "pen " + kDrop).size(), 1);
    EXPECT_EQ(lines.size(), 3 * 3 + 1);
    EXPECT_TRUE(lines[9].contains(kDrop));

    // Without symbols, once in the one pass, after the last segment on its line.
    TDrawParams p = TestParams(d.loop, ViewKind::North);
    p.DrawSymbols = false;
    const QStringList single = Section(d, ViewKind::North, p);
    EXPECT_EQ(single.size(), 3 * 3 + 1);
    EXPECT_TRUE(single[9].contains(kDrop));
    EXPECT_TRUE(drop.DrawnInView);
}
