// Choosing objects by position, marking them and deleting the selection.

#include "DesignFixture.h"

namespace pipeloop::testing
{
namespace
{

class SelectAtTest : public DesignFixture
{
protected:
    SelectAtTest()
    {
        first = &place(loop.Drops, P(500, 1000));
        second = &place(loop.Drops, P(500, 1010));
    }
    bool click(Position p, bool reverse = false, ViewKind view = ViewKind::Plan,
               int32_t tolerance = 20)
    {
        return loop.SelectAt(p, view, tolerance, reverse);
    }
    TDrop* first = nullptr;
    TDrop* second = nullptr;
};

TEST_F(SelectAtTest, ChoosesTheNearerObject)
{
    EXPECT_TRUE(click(P(500, 1003)));
    EXPECT_EQ(loop.Selected, first);
    EXPECT_TRUE(click(P(500, 1007)));
    EXPECT_EQ(loop.Selected, second);
    EXPECT_EQ(first->State, ObjectState::Normal) << "the previous selection is let go";
    EXPECT_EQ(second->State, ObjectState::Selected);
}

TEST_F(SelectAtTest, TiesGoToTheLowerIndexAndToTheHigherInReverse)
{
    EXPECT_TRUE(click(P(500, 1005)));
    EXPECT_EQ(loop.Selected, first);
    EXPECT_TRUE(click(P(500, 1005), true));
    EXPECT_EQ(loop.Selected, second);
}

TEST_F(SelectAtTest, ReverseScanReachesAnObjectHiddenUnderAnother)
{
    // An elbow and a drop on the same point: forwards the elbow is met first,
    // backwards the drop.
    loop.AddElbow(P(500, 1000));
    EXPECT_TRUE(click(P(500, 1000)));
    EXPECT_EQ(loop.Selected, loop.Elbows[0].get());
    EXPECT_TRUE(click(P(500, 1000), true));
    EXPECT_EQ(loop.Selected, first);
}

TEST_F(SelectAtTest, ToleranceIsInclusive)
{
    EXPECT_TRUE(click(P(520, 1000), false, ViewKind::Plan, 20));
    EXPECT_FALSE(click(P(521, 1000), false, ViewKind::Plan, 20));
    EXPECT_EQ(loop.Selected, nullptr);
    EXPECT_EQ(first->State, ObjectState::Normal);
}

TEST_F(SelectAtTest, SectionViewsOnlyChooseDrawnObjects)
{
    // In the north section only EW counts; the first drop was not drawn.
    second->DrawnInView = true;
    EXPECT_TRUE(click(P(-1, 1000, 2000), false, ViewKind::North));
    EXPECT_EQ(loop.Selected, second);

    second->DrawnInView = false;
    EXPECT_FALSE(click(P(-1, 1000, 2000), false, ViewKind::North));
}

TEST_F(SelectAtTest, SectionViewsMeasureOneCoordinate)
{
    first->DrawnInView = second->DrawnInView = true;
    // East section: NS alone; both drops stand at NS 500, so the first wins.
    EXPECT_TRUE(click(P(505, -1, 0), false, ViewKind::East));
    EXPECT_EQ(loop.Selected, first);
    // South section: EW alone, far NS does not matter.
    EXPECT_TRUE(click(P(-1, 1009, 0), false, ViewKind::South));
    EXPECT_EQ(loop.Selected, second);
}

TEST_F(SelectAtTest, BuildingFeatureIsChosenOnlyWhenNothingIsNear)
{
    auto feature = std::make_unique<TBuildFeature>();
    feature->P1NS = 400;
    feature->P1EW = 900;
    feature->P2NS = 700;
    feature->P2EW = 1500;
    TBuildFeature& box = loop.AddBuildFeature(std::move(feature));

    EXPECT_TRUE(click(P(500, 1005)));
    EXPECT_EQ(loop.Selected, first);
    EXPECT_TRUE(click(P(700, 1500))) << "corners belong to the feature";
    EXPECT_EQ(loop.Selected, &box);
    EXPECT_EQ(box.State, ObjectState::Selected);
    EXPECT_FALSE(click(P(701, 1500)));
}

TEST_F(SelectAtTest, SpursAreHitAtEitherEndAndRememberWhich)
{
    TSpur& spur = addSpur(P(1500, 3000), P(1500, 4000));
    EXPECT_TRUE(click(P(1500, 3010)));
    EXPECT_EQ(loop.Selected, &spur);
    EXPECT_EQ(spur.NearEnd, TSpur::End::Start);
    EXPECT_TRUE(click(P(1500, 3990)));
    EXPECT_EQ(spur.NearEnd, TSpur::End::End);
    EXPECT_FALSE(click(P(1500, 3500))) << "the middle of a spur is not a handle";
}

TEST_F(SelectAtTest, ShortSpurTiesChooseTheEndPoint)
{
    TSpur& spur = addSpur(P(1500, 3000), P(1500, 3010));
    EXPECT_TRUE(click(P(1500, 3005)));
    EXPECT_EQ(loop.Selected, &spur);
    EXPECT_EQ(spur.NearEnd, TSpur::End::End);
}

TEST_F(DesignFixture, DistanceOverflowIsReportedAndMeansFarAway)
{
    TDrop& drop = place(loop.Drops, P(0, INT32_MIN));
    EXPECT_EQ(drop.DistanceSq(P(0, INT32_MAX), ViewKind::Plan), FarAway);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("An error has been detected within PIPELOOP :\r\n")));

    // Large but representable distances are exact.
    EXPECT_EQ(drop.DistanceSq(P(0, 0), ViewKind::Plan), int64_t(1) << 62);
    EXPECT_EQ(ui.messages.size(), 1u);
}

class MarkingTest : public DesignFixture
{
protected:
    MarkingTest()
    {
        withDefaultLoop();
        drop = &place(loop.Drops, P(0, 1000, 2500));
        drop->AddSymbol(Symbol::Filter);
        drain = &place(loop.Drains, P(0, 2000, 2500));
        feature = &loop.AddBuildFeature(std::make_unique<TBuildFeature>());
    }
    TDrop* drop = nullptr;
    TDrain* drain = nullptr;
    TBuildFeature* feature = nullptr;
};

TEST_F(MarkingTest, DeselectClearsTheSelectedSymbolToo)
{
    ASSERT_TRUE(loop.SelectAt(P(0, 1000), ViewKind::Plan, 10, false));
    drop->SelectedSymbol = 0;
    loop.Deselect();
    EXPECT_EQ(loop.Selected, nullptr);
    EXPECT_EQ(drop->State, ObjectState::Normal);
    EXPECT_EQ(drop->SelectedSymbol, -1);
    loop.Deselect(); // nothing selected: nothing happens
}

TEST_F(MarkingTest, HighlightingTheSelectionDeselectsItFirst)
{
    ASSERT_TRUE(loop.SelectAt(P(0, 1000), ViewKind::Plan, 10, false));
    loop.Highlight(*drop);
    EXPECT_EQ(loop.Selected, nullptr);
    EXPECT_EQ(drop->State, ObjectState::Highlighted);
}

TEST_F(MarkingTest, ClearStatesLeavesBuildingFeaturesAlone)
{
    loop.Highlight(*drop);
    loop.Highlight(*drain);
    loop.Highlight(*loop.Elbows[2]);
    loop.Highlight(*feature);
    loop.ClearStates();
    EXPECT_EQ(drop->State, ObjectState::Normal);
    EXPECT_EQ(drain->State, ObjectState::Normal);
    EXPECT_EQ(loop.Elbows[2]->State, ObjectState::Normal);
    EXPECT_EQ(feature->State, ObjectState::Highlighted);
}

TEST_F(MarkingTest, DeleteSelectedRemovesOnlyTheSelection)
{
    loop.DeleteSelected(); // no selection: nothing happens
    EXPECT_EQ(loop.Drops.size(), 1u);

    ASSERT_TRUE(loop.SelectAt(P(0, 2000), ViewKind::Plan, 10, false));
    loop.DeleteSelected();
    EXPECT_TRUE(loop.Drains.empty());
    EXPECT_EQ(loop.Drops.size(), 1u);
    EXPECT_EQ(loop.Selected, nullptr);
}

TEST_F(MarkingTest, DeletingAnElbowJoinsItsNeighbours)
{
    ASSERT_TRUE(loop.SelectAt(P(2000, 5000), ViewKind::Plan, 10, false));
    loop.DeleteSelected();
    ASSERT_EQ(loop.Elbows.size(), 4u);
    EXPECT_EQ(loop.Elbows[2]->Name, QStringLiteral("ELBOW4")) << "names are not renumbered";
    // The new segment 2 runs straight from (0, 5000) to (2000, 0).
    EXPECT_TRUE(loop.IsOnLoop(P(1000, 2500)));
    EXPECT_FALSE(loop.IsOnLoop(P(1000, 5000)));
}

TEST_F(MarkingTest, StackHeightsRunOverTheirOwnList)
{
    for (int symbols : {2, 5, 0}) {
        auto& inlet = place(loop.Inlets, P(0, 0));
        for (int i = 0; i < symbols; ++i)
            inlet.AddSymbol(Symbol::Valve);
    }
    for (int i = 0; i < 9; ++i)
        drop->AddSymbol(Symbol::Gauge);
    EXPECT_EQ(loop.MaxInletStackHeight(4), 26) << "4 x 1.3 x 5";
    EXPECT_EQ(loop.MaxDropStackHeight(4), 52) << "4 x 1.3 x 10";
    loop.Drops.clear();
    EXPECT_EQ(loop.MaxDropStackHeight(4), 0);
}

} // namespace
} // namespace pipeloop::testing
