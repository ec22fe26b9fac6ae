// Dragging and dropping the selection.

#include "DesignFixture.h"

namespace pipeloop::testing
{
namespace
{

class MoveTest : public DesignFixture
{
protected:
    MoveTest() { withDefaultLoop(); }

    void select(TPipeLoopObject& object)
    {
        loop.Deselect();
        loop.Selected = &object;
        object.State = ObjectState::Selected;
    }
    // A spur selected by a click near one of its ends, as the editor does.
    TSpur& selectSpurAt(TSpur& spur, Position click)
    {
        EXPECT_TRUE(loop.SelectAt(click, ViewKind::Plan, 50, false));
        EXPECT_EQ(loop.Selected, &spur);
        return spur;
    }
};

TEST_F(MoveTest, NothingSelectedNothingChanges)
{
    EXPECT_FALSE(loop.MoveSelected(P(1, 2, 3), true, false));
}

TEST_F(MoveTest, SpurEndFollowsThePointerAndNeverSnaps)
{
    TSpur& spur = addSpur(P(0, 2500, 2500), P(1000, 2500));
    selectSpurAt(spur, P(990, 2500));
    EXPECT_TRUE(loop.MoveSelected(P(1200, 2600, -1), true, false));
    EXPECT_EQ(spur.endPosition(), P(1200, 2600, 2500)) << "HG of -1 keeps the height";
    EXPECT_EQ(spur.position(), P(0, 2500, 2500));
    EXPECT_FALSE(loop.MoveSelected(P(1200, 2600, -1), true, false));
}

TEST_F(MoveTest, SpurStartSnapsToAnotherPipeButNotOntoItself)
{
    TSpur& spur = addSpur(P(500, 2000, 2500), P(500, 3000));
    selectSpurAt(spur, P(500, 2010));
    // Near the spur's own line, yet the nearest other pipe is the north run.
    EXPECT_TRUE(loop.MoveSelected(P(480, 2200, 0), true, false));
    EXPECT_EQ(spur.position(), P(0, 2200, 2500));
    EXPECT_EQ(spur.endPosition(), P(500, 3000, 2500)) << "the end point stays";
}

TEST_F(MoveTest, SpurStartKeptDetachedOrWhileDraggingStaysWherePut)
{
    TSpur& spur = addSpur(P(500, 2000, 2500), P(500, 3000));
    selectSpurAt(spur, P(500, 2010));
    EXPECT_TRUE(loop.MoveSelected(P(480, 2200, -1), false, true)); // dragging
    EXPECT_EQ(spur.position(), P(480, 2200, 2500));
    EXPECT_TRUE(loop.MoveSelected(P(470, 2100, -1), true, true)); // released with Shift
    EXPECT_EQ(spur.position(), P(470, 2100, 2500));
}

TEST_F(MoveTest, BuildingFeatureMovesWholeAndNeverSnaps)
{
    auto box = std::make_unique<TBuildFeature>();
    box->P1NS = 600;
    box->P1EW = 1000;
    box->P2NS = 900;
    box->P2EW = 1800;
    box->setPosition(P(600, 1000, 2000));
    TBuildFeature& feature = loop.AddBuildFeature(std::move(box));
    select(feature);

    EXPECT_TRUE(loop.MoveSelected(P(700, 950, -1), true, false)); // (+100, -50)
    EXPECT_EQ(feature.position(), P(700, 950, 2000));
    EXPECT_EQ(feature.P1NS, 700);
    EXPECT_EQ(feature.P2NS, 1000);
    EXPECT_EQ(feature.P1EW, 950);
    EXPECT_EQ(feature.P2EW, 1750);
    EXPECT_LE(feature.P1NS, feature.P2NS);
    EXPECT_LE(feature.P1EW, feature.P2EW);
}

TEST_F(MoveTest, DropSnapsOnReleaseOnly)
{
    TDrop& drop = place(loop.Drops, P(0, 1000, 2500));
    select(drop);
    EXPECT_TRUE(loop.MoveSelected(P(300, 1500, 0), false, true));
    EXPECT_EQ(drop.position(), P(300, 1500, 0)) << "dragging moves freely";
    EXPECT_TRUE(loop.MoveSelected(P(300, 1500, 0), true, false));
    EXPECT_EQ(drop.position(), P(0, 1500, 2500));
}

TEST_F(MoveTest, ElbowsNeverSnap)
{
    TElbow& corner = *loop.Elbows[2];
    select(corner);
    EXPECT_TRUE(loop.MoveSelected(P(2200, 5100, -1), true, false));
    EXPECT_EQ(corner.position(), P(2200, 5100, 2500));
}

TEST_F(MoveTest, SnappedValveTakesTheDirectionOfItsPipe)
{
    TValve& valve = place(loop.Valves, P(0, 1000, 2500));
    valve.Angle = -HalfPi;
    select(valve);
    EXPECT_TRUE(loop.MoveSelected(P(1000, 4900, 0), true, false));
    EXPECT_EQ(valve.position(), P(1000, 5000, 2500));
    EXPECT_FLOAT_EQ(valve.Angle, Pi) << "the east run goes south";
}

TEST_F(MoveTest, InletFollowsTheLoopAtEveryStepEvenPastSpurs)
{
    addSpur(P(0, 2500, 2500), P(1500, 2500));
    TInlet& inlet = place(loop.Inlets, P(0, 1000, 2500));
    select(inlet);

    // Dragging (no snap) right beside the spur: the inlet stays on the loop.
    EXPECT_TRUE(loop.MoveSelected(P(1200, 2520, 0), false, true));
    EXPECT_EQ(inlet.position(), P(2000, 2520, 2500));
    EXPECT_FLOAT_EQ(inlet.Angle, HalfPi - HalfPi) << "the south run goes west";

    EXPECT_TRUE(loop.MoveSelected(P(900, 4700, 0), false, true));
    EXPECT_EQ(inlet.position(), P(900, 5000, 2500));
    EXPECT_FLOAT_EQ(inlet.Angle, Pi - HalfPi);
}

TEST_F(MoveTest, WithoutAnyPipeMovedValvesKeepTheirAngle)
{
    loop.Elbows.clear();
    TValve& valve = place(loop.Valves, P(0, 0));
    valve.Angle = 0.25f;
    select(valve);
    EXPECT_TRUE(loop.MoveSelected(P(10, 20, 30), true, false));
    EXPECT_EQ(valve.position(), P(10, 20, 30));
    EXPECT_EQ(valve.Angle, 0.25f);
}

TEST_F(MoveTest, MinusOneKeepsEachCoordinate)
{
    TDrop& drop = place(loop.Drops, P(300, 1500, 700));
    select(drop);
    EXPECT_TRUE(loop.MoveSelected(P(-1, 1600, -1), false, true)); // a north section drag
    EXPECT_EQ(drop.position(), P(300, 1600, 700));
    EXPECT_TRUE(loop.MoveSelected(P(400, -1, 800), false, true)); // an east section drag
    EXPECT_EQ(drop.position(), P(400, 1600, 800));
    EXPECT_FALSE(loop.MoveSelected(P(-1, -1, -1), false, true));
}

} // namespace
} // namespace pipeloop::testing
