// The plan through the recording canvas: drawing order, colours,
// markers, the selected-object overlay and the labels on paper. The building
// is 10 m × 6 m at a sixteenth of a pixel a millimetre with margins 18, so
// model (NS, EW) lands on pixel (18 + EW/16, 18 + NS/16).

#include "PlanRenderer.h"
#include "RenderTestSupport.h"
#include "SampleDesign.h"
#include "SectionRenderer.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

const QString kLoop = QStringLiteral("CC0000");   // 50 mm in colour scheme 2
const QString kSpur = QStringLiteral("FFFF00");   // 25 mm
const QString kSelect = QStringLiteral("C0C0C0"); // SelectColour

std::unique_ptr<Design> NoGridDesign()
{
    auto d = RectangularDesign();
    d->options.GridSpacing = 0;
    return d;
}

QStringList Plan(Design& d, bool highlightElbows = false, TDrawParams p = {})
{
    if (p.Right == 0)
        p = TestParams(d.loop, ViewKind::Plan);
    RecordingCanvas canvas;
    DrawPlan(canvas, d.loop, p, highlightElbows);
    return canvas.descriptions();
}

QStringList Filter(const QStringList& lines, const QString& start)
{
    QStringList out;
    for (const QString& line : lines)
        if (line.startsWith(start))
            out << line;
    return out;
}

} // namespace

TEST(PlanRenderer, DrawsEveryKindInItsOrder)
{
    auto d = NoGridDesign();
    d->feature(1600, 1600, 3200, 4800, 1000, QStringLiteral("GENERAL"), QStringLiteral("Bench"));
    d->loop.AddSpur({0, 5000, 3000}, {3200, 5000, 3000}, true, 0, 25.0f);
    TInlet& inlet = d->place(d->loop.Inlets, 3200, 0, 3000, QStringLiteral("INLET1"));
    inlet.Angle = 0.0f - HalfPi; // on the west side, which runs north: the arrow points east
    d->drop(0, 8000, DropStyle::Tee, 2000, {QStringLiteral("FILTER")}, QStringLiteral("DROP1"));
    d->drain(6000, 8000, true, 2000, QStringLiteral("DRAIN1"));
    d->valve(0, 2400, -HalfPi, QStringLiteral("VALVE1"));

    const QStringList expected{
        // building feature, name centred
        "rectangle (118,118)-(318,218) pen 0000FF w1 solid brush 0000FF cross",
        "textrect (118,118)-(318,218) centre/centre \"Bench\" font \"Arial\" 8pt 000000 "
        "brush 0000FF cross",
        // the loop, corner by corner
        "line (18,18)-(643,18) pen " + kLoop + " w3 solid",
        "line (643,18)-(643,393) pen " + kLoop + " w3 solid",
        "line (643,393)-(18,393) pen " + kLoop + " w3 solid",
        "line (18,393)-(18,18) pen " + kLoop + " w3 solid",
        // the spur (EW 5000 -> 312.5 -> 312)
        "line (330,18)-(330,218) pen " + kSpur + " w3 solid",
        // inlet arrow: shaft in the pipe width, head in width 1
        "line (18,218)-(6,218) pen 000000 w3 solid",
        "polygon (18,218) (12,212) (12,224) pen 000000 w1 solid brush 000000 solid",
        // drop: a filled circle of radius Trunc(0.5 · 12)
        "ellipse (512,12)-(524,24) pen 000000 w1 solid brush 000000 solid",
        // manual drain
        "polygon (506,393) (518,381) (530,393) (518,405) pen 000000 w1 solid brush FFFFFF solid",
        "line (512,399)-(524,399) pen 000000 w1 solid",
        // valve lying along the north side
        "polygon (168,18) (180,12) (180,24) pen 000000 w1 solid brush FFFFFF solid",
        "polygon (168,18) (156,12) (156,24) pen 000000 w1 solid brush FFFFFF solid",
    };
    EXPECT_EQ(Plan(*d), expected);
}

TEST(PlanRenderer, GridComesFirstInSilverDotsAndNotWithoutSpacing)
{
    auto d = RectangularDesign(); // grid 1000 mm
    const QStringList lines = Plan(*d);
    // 11 vertical lines (0 … 10 000) and 7 horizontal ones (0 … 6 000) come first.
    for (int i = 0; i < 18; ++i)
        EXPECT_TRUE(lines[i].endsWith("pen C0C0C0 w1 dot")) << lines[i].toStdString();
    EXPECT_EQ(lines[0], "line (18,18)-(18,393) pen C0C0C0 w1 dot");
    EXPECT_EQ(lines[1], "line (80,18)-(80,393) pen C0C0C0 w1 dot"); // 62.5 -> 62
    EXPECT_EQ(lines[11], "line (18,18)-(643,18) pen C0C0C0 w1 dot");
    EXPECT_EQ(lines[18], "line (18,18)-(643,18) pen " + kLoop + " w3 solid");

    // A spacing of 0 or less draws no grid (and does not hang).
    d->options.GridSpacing = -5;
    EXPECT_EQ(Plan(*d)[0], "line (18,18)-(643,18) pen " + kLoop + " w3 solid");
}

TEST(PlanRenderer, AnOpenCornerListIsAnOpenPolyline)
{
    auto d = NoGridDesign();
    d->loop.Elbows.pop_back(); // four corners, the last not on the first
    EXPECT_EQ(Filter(Plan(*d), "line").size(), 3);
}

TEST(PlanRenderer, TheSegmentArrivingAtACornerTakesThatCornersColour)
{
    auto d = NoGridDesign();
    d->loop.Elbows[2]->State = ObjectState::Highlighted;
    const QStringList lines = Plan(*d);
    EXPECT_EQ(lines[0], "line (18,18)-(643,18) pen " + kLoop + " w3 solid");
    EXPECT_EQ(lines[1], "line (643,18)-(643,393) pen 0000FF w3 solid"); // arrives at corner 2
    // A highlighted corner gets its marker, then the pen goes on from the corner.
    EXPECT_EQ(lines[2], "ellipse (631,381)-(655,405) pen 0000FF w1 solid brush clear");
    EXPECT_EQ(lines[3], "line (643,393)-(18,393) pen " + kLoop + " w3 solid");
}

TEST(PlanRenderer, HighlightElbowsMarksEveryCornerAndVerticalDropSpurs)
{
    auto d = NoGridDesign();
    d->loop.Elbows[1]->VerticalDrop = 500;
    d->loop.AddSpur({0, 5000, 3000}, {3200, 5000, 3000}, true, 0, 25.0f);
    d->loop.AddSpur({6000, 5000, 3000}, {4800, 5000, 3000}, true, 400, 25.0f);

    const QStringList plain = Plan(*d, false);
    EXPECT_TRUE(Filter(plain, "ellipse").isEmpty());
    EXPECT_TRUE(Filter(plain, "rectangle").isEmpty());

    const QStringList marked = Plan(*d, true);
    EXPECT_EQ(Filter(marked, "ellipse").size(), 4); // corners 0, 2, 3, 4
    EXPECT_EQ(Filter(marked, "rectangle"),
              QStringList{"rectangle (631,6)-(655,30) pen " + kLoop + " w1 solid brush clear"});
    // Only the vertical drop spur gets diamonds, one at each end.
    EXPECT_EQ(Filter(marked, "polygon"),
              (QStringList{
                  "polygon (318,393) (330,381) (342,393) (330,405) pen " + kSpur +
                      " w1 solid brush clear",
                  "polygon (318,318) (330,306) (342,318) (330,330) pen " + kSpur +
                      " w1 solid brush clear",
              }));
}

TEST(PlanRenderer, HighlightedSpursGetCirclesOrDiamonds)
{
    auto d = NoGridDesign();
    TSpur& spur = d->loop.AddSpur({0, 5000, 3000}, {3200, 5000, 3000}, true, 0, 25.0f);
    spur.State = ObjectState::Highlighted;
    EXPECT_EQ(Filter(Plan(*d), "ellipse"),
              (QStringList{"ellipse (318,6)-(342,30) pen 0000FF w1 solid brush clear",
                           "ellipse (318,206)-(342,230) pen 0000FF w1 solid brush clear"}));
    spur.VerticalDrop = 300;
    EXPECT_EQ(Filter(Plan(*d), "polygon").size(), 2);
}

TEST(PlanRenderer, WithoutSymbolsOnlyTheBuildingAndThePipes)
{
    auto d = NoGridDesign();
    d->drop(0, 8000, DropStyle::Tee, 2000, {}, QStringLiteral("DROP1"));
    d->drain(6000, 8000, true, 2000, QStringLiteral("DRAIN1"));
    TDrawParams p = TestParams(d->loop, ViewKind::Plan);
    p.DrawSymbols = false;
    d->loop.Selected = d->loop.Drops[0].get();
    d->loop.Drops[0]->State = ObjectState::Selected;
    EXPECT_EQ(Filter(Plan(*d, false, p), "line").size(), 4);
    EXPECT_EQ(Plan(*d, false, p).size(), 4);
}

TEST(PlanRenderer, DropsAreBlackOnThePlanEvenWhenColouredBySize)
{
    auto d = NoGridDesign();
    d->drop(0, 8000, DropStyle::Tee, 2000, {}, QStringLiteral("DROP1")).OutletSize = 100.0f;
    EXPECT_EQ(Filter(Plan(*d), "ellipse"),
              QStringList{"ellipse (512,12)-(524,24) pen 000000 w1 solid brush 000000 solid"});
}

TEST(PlanRenderer, SelectionOverlayComesLastInTheSelectColour)
{
    auto d = NoGridDesign();
    TDrop& drop = d->drop(0, 8000, DropStyle::Tee, 2000, {}, QStringLiteral("DROP1"));
    d->valve(0, 2400, -HalfPi, QStringLiteral("VALVE1"));
    d->loop.Selected = &drop;
    drop.State = ObjectState::Selected;
    const QStringList lines = Plan(*d);
    // The drop in its own step, in the selection colour, then again after the valves.
    EXPECT_EQ(
        Filter(lines, "ellipse"),
        (QStringList{
            "ellipse (512,12)-(524,24) pen " + kSelect + " w1 solid brush " + kSelect + " solid",
            "ellipse (512,12)-(524,24) pen " + kSelect + " w1 solid brush " + kSelect + " solid",
        }));
    EXPECT_TRUE(lines.last().startsWith("ellipse"));

    // Printing draws no overlay.
    TDrawParams print = TestParams(d->loop, ViewKind::Plan);
    print.PrintMode = true;
    EXPECT_EQ(Filter(Plan(*d, false, print), "ellipse").size(), 1);
}

TEST(PlanRenderer, SelectedCornerAndSpurEndGetFilledMarkers)
{
    auto d = NoGridDesign();
    TElbow& corner = *d->loop.Elbows[1];
    d->loop.Selected = &corner;
    corner.State = ObjectState::Selected;
    EXPECT_EQ(Plan(*d).last(),
              "ellipse (631,6)-(655,30) pen " + kSelect + " w1 solid brush " + kSelect + " solid");
    corner.VerticalDrop = 100;
    EXPECT_EQ(Plan(*d).last(), "rectangle (631,6)-(655,30) pen " + kSelect + " w1 solid brush " +
                                   kSelect + " solid");

    corner.State = ObjectState::Normal;
    corner.VerticalDrop = 0;
    TSpur& spur = d->loop.AddSpur({0, 5000, 3000}, {3200, 5000, 3000}, true, 600, 25.0f);
    d->loop.Selected = &spur;
    spur.State = ObjectState::Selected;
    spur.NearEnd = TSpur::End::End;
    EXPECT_EQ(Plan(*d).last(), "polygon (318,218) (330,206) (342,218) (330,230) pen " + kSelect +
                                   " w1 solid brush " + kSelect + " solid");
    spur.NearEnd = TSpur::End::Start;
    spur.VerticalDrop = 0;
    EXPECT_EQ(Plan(*d).last(),
              "ellipse (318,6)-(342,30) pen " + kSelect + " w1 solid brush " + kSelect + " solid");
}

TEST(PlanRenderer, LabelsOnPaperLeanTowardsTheCentre)
{
    auto d = NoGridDesign();
    d->options.SymbolNamesOnPlan = true;
    d->drop(5600, 9600, DropStyle::Tee, 2000, {}, QStringLiteral("D1")); // bottom right
    d->drop(800, 1600, DropStyle::Tee, 2000, {}, QStringLiteral("D2"));  // top left
    TInlet& inlet = d->place(d->loop.Inlets, 5600, 800, 3000, QStringLiteral("IN"));
    inlet.Angle = 0.0f;

    TDrawParams p = TestParams(d->loop, ViewKind::Plan);
    p.PrintMode = true;
    RecordingCanvas canvas;
    Font font;
    font.pixelHeight = 10; // the recording canvas: 10 high, 5 a character
    canvas.setFont(font);
    DrawPlan(canvas, d->loop, p);
    const QStringList labels = Filter(canvas.descriptions(), "textrect");
    // e = 6, w = 10, h = 10. D1 at (618, 368): left of and above it.
    EXPECT_EQ(labels,
              (QStringList{
                  "textrect (602,352)-(612,362) left/top \"D1\" font \"Arial\" 10px 000000 brush "
                  "FFFFFF solid",
                  "textrect (124,74)-(134,84) left/top \"D2\" font \"Arial\" 10px 000000 brush "
                  "FFFFFF solid",
                  "textrect (74,352)-(84,362) left/top \"IN\" font \"Arial\" 10px 000000 brush "
                  "FFFFFF solid",
              }));

    // Not on screen, nor on paper without the option.
    d->options.SymbolNamesOnPlan = false;
    RecordingCanvas paper;
    DrawPlan(paper, d->loop, p);
    EXPECT_TRUE(Filter(paper.descriptions(), "textrect").isEmpty());
}

TEST(PlanRenderer, EquipmentFeaturesCarryTheirSymbol)
{
    auto d = NoGridDesign();
    // 3200 × 1600 mm: 200 × 100 pixels, symbol half-size 100 div 3 = 33.
    d->feature(1600, 1600, 3200, 4800, 1000, QStringLiteral("RECEIVER"), QStringLiteral("R1"));
    RecordingCanvas canvas;
    DrawPlan(canvas, d->loop, TestParams(d->loop, ViewKind::Plan));
    const QStringList lines = canvas.descriptions();
    EXPECT_EQ(lines[0], "rectangle (118,118)-(318,218) pen 0000FF w1 solid brush 0000FF cross");
    EXPECT_EQ(lines[1], "textrect (118,118)-(318,218) centre/bottom \"R1\" font \"Arial\" 8pt "
                        "000000 brush 0000FF cross");
    // The receiver at the centre (218, 168): r = Round(0.55 · 33) = 18.
    EXPECT_EQ(lines[2], "ellipse (185,150)-(221,186) pen 000000 w1 solid brush FFFFFF solid");
}

TEST(PlanRenderer, AFeatureNameWiderThanItsOutlineIsShortenedVisibly)
{
    // 800 mm across: 50 pixels, ten characters of the recording canvas.
    auto d = NoGridDesign();
    d->feature(1600, 1600, 3200, 2400, 1000, QStringLiteral("GENERAL"), QStringLiteral("Bench 2"));
    d->feature(3200, 1600, 4800, 2400, 1000, QStringLiteral("MACHINE"),
               QStringLiteral("Machine M01"));
    const QStringList names = Filter(Plan(*d), "textrect");
    ASSERT_EQ(names.size(), 2);
    EXPECT_TRUE(names[0].contains(" centre/centre \"Bench 2\" ")) << names[0].toStdString();
    EXPECT_TRUE(names[1].contains(QStringLiteral(" centre/bottom \"Machine M\u2026\" ")))
        << names[1].toStdString();
}

TEST(PlanRenderer, AGridFinerThanAPixelDrawsEachPixelsLineOnce)
{
    auto d = RectangularDesign();
    d->options.GridSpacing = 10; // 0.625 pixels at a sixteenth of a pixel a millimetre
    d->loop.Elbows.clear();
    const QStringList lines = Plan(*d);
    // Every pixel from x(0) = 18 to x(10 000) = 643, and from y(0) = 18 to y(6 000) = 393.
    ASSERT_EQ(lines.size(), (643 - 18 + 1) + (393 - 18 + 1));
    EXPECT_EQ(lines[0], "line (18,18)-(18,393) pen C0C0C0 w1 dot");
    EXPECT_EQ(lines[625], "line (643,18)-(643,393) pen C0C0C0 w1 dot");
    EXPECT_EQ(lines[626], "line (18,18)-(643,18) pen C0C0C0 w1 dot");

    // On a canvas of known size the lines off it are left out.
    RecordingCanvas small(QSize(100, 50));
    DrawPlan(small, d->loop, TestParams(d->loop, ViewKind::Plan));
    EXPECT_EQ(small.primitives().size(), size_t((99 - 18 + 1) + (49 - 18 + 1)));
}

TEST(PlanRenderer, ExtremeValuesFromAFileDrawWithoutOverflow)
{
    // Every coordinate at the ends of the 32-bit range: the drawing stays
    // within its integer arithmetic (the sanitizer build checks) and ends.
    Design d(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MIN);
    d.options.GridSpacing = 1;
    for (Position p : {Position{INT32_MIN, INT32_MAX, INT32_MAX}, Position{INT32_MAX, INT32_MIN, 0},
                       Position{INT32_MIN, INT32_MAX, INT32_MIN}})
        d.loop.AddElbow(p, INT32_MIN);
    d.feature(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, QStringLiteral("DRYER"),
              QStringLiteral("F"));
    d.drop(INT32_MAX, INT32_MIN, DropStyle::Female, INT32_MIN,
           {QStringLiteral("FRL"), QStringLiteral("COUPLER"), QStringLiteral("AIR-HOSE"),
            QStringLiteral("COUPLER")},
           QStringLiteral("D"));
    d.drop(INT32_MIN, INT32_MAX, DropStyle::Tee, INT32_MAX, {QStringLiteral("GAUGE")},
           QStringLiteral("T"));
    d.drain(INT32_MIN, INT32_MIN, false, INT32_MAX, QStringLiteral("R"));
    d.valve(INT32_MAX, INT32_MAX, 1e30f, QStringLiteral("V"));
    TInlet& inlet = d.place(d.loop.Inlets, INT32_MIN, INT32_MIN, INT32_MAX, QStringLiteral("I"));
    inlet.Angle = -1e30f;
    d.loop.AddSpur({INT32_MIN, INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX, INT32_MAX}, false,
                   INT32_MAX, 1e30f);
    for (ViewKind view : AllViews) {
        TDrawParams p = TestParams(d.loop, view);
        p.PipeDepth = INT32_MIN;
        p.SymbolNames = true;
        RecordingCanvas canvas(QSize(200, 100));
        if (view == ViewKind::Plan)
            DrawPlan(canvas, d.loop, p, true);
        else
            DrawSection(canvas, d.loop, p);
        EXPECT_FALSE(canvas.primitives().empty());
    }
}
