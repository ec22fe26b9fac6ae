// The projections and their inverse, the screen's view
// geometry, and the colour rules.

#include "Projection.h"
#include "ColourRules.h"
#include "SampleDesign.h"
#include "ScreenView.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

// A 10 m × 6 m × 4 m building on an area at (100, 50) with margins 18 and a
// sixteenth of a pixel a millimetre (exact in binary, so halves are halves).
TDrawParams Params(ViewKind view)
{
    TDrawParams p;
    p.Left = 100;
    p.Top = 50;
    p.View = view;
    p.ScaleX = 0.0625;
    p.ScaleY = 0.0625;
    p.OriginX = 18;
    p.OriginY = 18;
    const int across = view == ViewKind::East || view == ViewKind::West ? 6000 : 10000;
    const int down = view == ViewKind::Plan ? 6000 : 4000;
    p.Right = p.Left + 36 + int(across * p.ScaleX);
    p.Bottom = p.Top + 36 + int(down * p.ScaleY);
    return p;
}

} // namespace

TEST(Projection, PlanPutsEastRightAndSouthDown)
{
    auto d = RectangularDesign();
    const TDrawParams p = Params(ViewKind::Plan);
    EXPECT_EQ(PlanPoint(p, 0, 0), QPoint(118, 68));
    EXPECT_EQ(PlanPoint(p, 6000, 10000), QPoint(743, 443));
    // Halves go to the even neighbour: EW 40 -> 2.5 -> 2, NS 24 -> 1.5 -> 2.
    EXPECT_EQ(PlanPoint(p, 24, 40), QPoint(120, 70));
    EXPECT_EQ(PlanPoint(p, 56, 72), QPoint(122, 72)); // 4.5 -> 4, 3.5 -> 4
}

TEST(Projection, SectionHeightsRiseFromTheFloorBand)
{
    const TDrawParams p = Params(ViewKind::North);
    EXPECT_EQ(p.Bottom, 336);
    EXPECT_EQ(SectionY(p, 0), 318);
    EXPECT_EQ(SectionY(p, 4000), 68);  // the roof on the top margin
    EXPECT_EQ(SectionY(p, 3000), 130); // 187.5 -> 188
}

TEST(Projection, SectionPositionsOfLoopObjectsMirrorNorthAndEast)
{
    auto d = RectangularDesign();
    const TPipeLoop& loop = d->loop;
    // A point 2000 mm from the north wall and 3000 mm from the west wall.
    EXPECT_EQ(SectionX(Params(ViewKind::North), loop, 2000, 3000), 118 + 438); // W − EW: 437.5
    EXPECT_EQ(SectionX(Params(ViewKind::East), loop, 2000, 3000), 118 + 250);  // L − NS
    EXPECT_EQ(SectionX(Params(ViewKind::South), loop, 2000, 3000), 118 + 188); // EW: 187.5
    EXPECT_EQ(SectionX(Params(ViewKind::West), loop, 2000, 3000), 118 + 125);  // NS
}

TEST(Projection, FeaturePositionsCountFromTheRightEdgeInNorthAndEast)
{
    // With the area sized to the building the two rules agree.
    auto d = RectangularDesign();
    for (ViewKind view : {ViewKind::North, ViewKind::East, ViewKind::South, ViewKind::West})
        EXPECT_EQ(FeatureSectionX(Params(view), 2000, 3200),
                  SectionX(Params(view), d->loop, 2000, 3200))
            << int(view);
    // On a wider area they do not: the feature rule follows the right edge.
    TDrawParams wide = Params(ViewKind::North);
    wide.Right += 40;
    EXPECT_EQ(FeatureSectionX(wide, 2000, 3200), wide.Right - 18 - 200);
    EXPECT_EQ(SectionX(wide, d->loop, 2000, 3200), 118 + 425);
    // At a half the two roundings part even on a fitting area: 437.5 -> 438, 625 − 188.
    EXPECT_EQ(FeatureSectionX(Params(ViewKind::North), 2000, 3000), 118 + 437);
}

TEST(Projection, GridCoordinatesAreThoseOfThePlanInEveryView)
{
    const TDrawParams p = Params(ViewKind::East);
    EXPECT_EQ(GridX(p, 1000), 180); // 62.5 -> 62
    EXPECT_EQ(GridY(p, 1000), 130);
}

TEST(Projection, ScreenToModelInvertsEveryView)
{
    auto d = RectangularDesign();
    const TPipeLoop& loop = d->loop;
    const Position p{2000, 3200, 1600}; // whole pixels at a sixteenth

    const TDrawParams plan = Params(ViewKind::Plan);
    EXPECT_EQ(ScreenToModel(plan, loop, PlanPoint(plan, p.NS, p.EW)), (Position{2000, 3200, -1}));

    for (ViewKind view : {ViewKind::North, ViewKind::East, ViewKind::South, ViewKind::West}) {
        const TDrawParams s = Params(view);
        const QPoint at(SectionX(s, loop, p.NS, p.EW), SectionY(s, p.HG));
        const Position back = ScreenToModel(s, loop, at);
        const bool alongEW = view == ViewKind::North || view == ViewKind::South;
        EXPECT_EQ(back.EW, alongEW ? 3200 : -1) << int(view);
        EXPECT_EQ(back.NS, alongEW ? -1 : 2000) << int(view);
        EXPECT_EQ(back.HG, 1600) << int(view);
    }
}

TEST(Projection, ScreenToModelAtTheMarginEdge)
{
    auto d = RectangularDesign();
    // the rules: at dx = 0 the north section gives EW = RoomEW, the south EW = 0.
    EXPECT_EQ(ScreenToModel(Params(ViewKind::North), d->loop, QPoint(118, 100)).EW, 10000);
    EXPECT_EQ(ScreenToModel(Params(ViewKind::South), d->loop, QPoint(118, 100)).EW, 0);
    // Beyond the building the coordinates are bounded above; the margin gives negatives.
    const Position far = ScreenToModel(Params(ViewKind::Plan), d->loop, QPoint(2000, 2000));
    EXPECT_EQ(far.EW, 10000);
    EXPECT_EQ(far.NS, 6000);
    EXPECT_EQ(ScreenToModel(Params(ViewKind::Plan), d->loop, QPoint(108, 58)).EW, -160);
}

TEST(ScreenView, GeometryAt96DpiAndZoom20)
{
    Design d(5000, 3000, 4000, 3000);
    const ScreenGeometry g = ScreenViewGeometry(d.loop, ViewKind::Plan, 20, 96, 96);
    EXPECT_NEAR(g.pixelsPerMmX, 0.18898, 0.00001);
    EXPECT_EQ(g.area, QSize(981, 603));
    EXPECT_EQ(ScreenViewGeometry(d.loop, ViewKind::North, 20, 96, 96).area, QSize(981, 792));
    EXPECT_EQ(ScreenViewGeometry(d.loop, ViewKind::West, 20, 96, 96).area, QSize(603, 792));
    // A zoom factor below 5 counts as 5.
    EXPECT_EQ(ScreenViewGeometry(d.loop, ViewKind::Plan, 2, 96, 96).area,
              ScreenViewGeometry(d.loop, ViewKind::Plan, 5, 96, 96).area);

    const TDrawParams& p = g.params;
    EXPECT_EQ(p.Right, 981);
    EXPECT_EQ(p.Bottom, 603);
    EXPECT_EQ(p.OriginX, 18);
    EXPECT_EQ(p.OriginY, 18);
    EXPECT_EQ(p.SymbolSize, 12);
    EXPECT_EQ(p.PipeWidth, 3);
    EXPECT_TRUE(p.DrawSymbols);
    EXPECT_FALSE(p.PrintMode);
    EXPECT_FALSE(p.SymbolNames);
    EXPECT_EQ(p.PipeDepth, 1000);
}

// ---- colour rules

TEST(ColourRules, DropsTakeTheirSizeColourOnlyInSections)
{
    auto d = RectangularDesign();
    d->options.SetPipeColourOption(2);
    TDrop& drop = d->drop(0, 5000, DropStyle::Tee, 2000, {}, QStringLiteral("D"));
    drop.OutletSize = 100.0f;
    const WinColour size110 = d->options.SizePipeColours[7];
    EXPECT_EQ(ObjectPenColour(d->loop, drop, Params(ViewKind::North)), size110);
    EXPECT_EQ(ObjectPenColour(d->loop, drop, Params(ViewKind::Plan)), kBlack);
    drop.OutletSize = 125.0f;
    EXPECT_EQ(ObjectPenColour(d->loop, drop, Params(ViewKind::North)), d->options.MainPipeColour);
}

TEST(ColourRules, CornersFollowTheLoopSizeAndSpursTheirOwn)
{
    auto d = RectangularDesign();
    d->options.SetPipeColourOption(2);
    d->loop.PipeSize = 63.0f;
    TSpur& spur = d->loop.AddSpur({0, 5000, 3000}, {3000, 5000, 3000}, true, 0, 16.0f);
    const TDrawParams plan = Params(ViewKind::Plan);
    EXPECT_EQ(ObjectPenColour(d->loop, *d->loop.Elbows[0], plan), d->options.SizePipeColours[5]);
    EXPECT_EQ(ObjectPenColour(d->loop, spur, plan), d->options.SizePipeColours[0]);

    // Scheme 1: the loop in the main colour, everything else in the other one.
    d->options.SetPipeColourOption(1);
    EXPECT_EQ(ObjectPenColour(d->loop, *d->loop.Elbows[0], plan), d->options.MainPipeColour);
    EXPECT_EQ(ObjectPenColour(d->loop, spur, plan), d->options.NonPipeLoopPipeColour);
}

TEST(ColourRules, SelectedAndHighlightedOnScreenOnly)
{
    auto d = RectangularDesign();
    TElbow& corner = *d->loop.Elbows[1];
    TDrawParams p = Params(ViewKind::Plan);
    corner.State = ObjectState::Selected;
    EXPECT_EQ(ObjectPenColour(d->loop, corner, p), d->options.SelectColour);
    corner.State = ObjectState::Highlighted;
    EXPECT_EQ(ObjectPenColour(d->loop, corner, p), d->options.HighlightColour);
    p.PrintMode = true;
    EXPECT_EQ(ObjectPenColour(d->loop, corner, p),
              d->options.PipeColourFor(false, true, d->loop.PipeSize));
}

TEST(ColourRules, PrintingWithoutColourIsBlackAndTheGridSilver)
{
    auto d = RectangularDesign();
    d->options.PrintInColour = false;
    d->options.GridColour = 0x00FF00;
    TDrawParams p = Params(ViewKind::North);
    p.PrintMode = true;
    EXPECT_EQ(ObjectPenColour(d->loop, *d->loop.Elbows[0], p), kBlack);
    TBuildFeature& f = d->feature(100, 100, 200, 200, 1000, QStringLiteral("DRYER"), {});
    EXPECT_EQ(FeatureOutlineColour(d->options, f, true), kBlack);
    EXPECT_EQ(GridPenColour(d->options), 0xC0C0C0);
    d->options.PrintInColour = true;
    EXPECT_EQ(GridPenColour(d->options), 0x00FF00);
    EXPECT_EQ(FeatureOutlineColour(d->options, f, true), d->options.BuildFeaturesColour);
    // On screen a selected feature is drawn in the selection colour, its symbol too.
    f.State = ObjectState::Selected;
    EXPECT_EQ(FeatureOutlineColour(d->options, f, false), d->options.SelectColour);
    EXPECT_EQ(FeatureSymbolColour(d->options, f, false), d->options.SelectColour);
    f.State = ObjectState::Normal;
    EXPECT_EQ(FeatureSymbolColour(d->options, f, false), kBlack);
}
