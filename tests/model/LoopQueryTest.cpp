// Snapping clicks to the pipe and the position queries of a design.

#include "DesignFixture.h"

#include <random>

namespace pipeloop::testing
{
namespace
{

class SnapToPipeTest : public DesignFixture
{
protected:
    SnapToPipeTest() { withDefaultLoop(); }
};

TEST_F(SnapToPipeTest, ClickNearTheNorthWallLandsOnItsPipe)
{
    const SnapResult snapped = loop.SnapToPipe(P(100, 2500, 7), -1);
    EXPECT_EQ(snapped.Point, P(0, 2500, 2500));
    ASSERT_TRUE(snapped.Angle);
    EXPECT_FLOAT_EQ(*snapped.Angle, -HalfPi) << "ELBOW1 -> ELBOW2 runs east";
}

TEST_F(SnapToPipeTest, PointAnywhereSnapsThereIsNoDistanceLimit)
{
    const SnapResult snapped = loop.SnapToPipe(P(-90000, 2500), -1);
    EXPECT_EQ(snapped.Point, P(0, 2500, 2500));
}

TEST_F(SnapToPipeTest, EquallyNearLoopSegmentsGoToTheEarlierOne)
{
    // (1000, 4000) is 1000 from the north, east and south runs.
    const SnapResult snapped = loop.SnapToPipe(P(1000, 4000), -1);
    EXPECT_EQ(snapped.Point, P(0, 4000, 2500));
    EXPECT_FLOAT_EQ(*snapped.Angle, -HalfPi);
}

TEST_F(SnapToPipeTest, LoopWinsTiesWithSpursAndNearerSpursWin)
{
    // A spur southwards from the north run, its pipe 300 lower.
    addSpur(P(0, 2500, 2500), P(1900, 2500), 25.0f, 300);

    const SnapResult tie = loop.SnapToPipe(P(1800, 2700), -1); // 200 from both
    EXPECT_EQ(tie.Point, P(2000, 2700, 2500));
    EXPECT_FLOAT_EQ(*tie.Angle, HalfPi) << "the south run goes west";

    const SnapResult spur = loop.SnapToPipe(P(1799, 2700), -1);
    EXPECT_EQ(spur.Point, P(1799, 2500, 2200)) << "the spur's pipe height";
    EXPECT_FLOAT_EQ(*spur.Angle, Pi);
}

TEST_F(SnapToPipeTest, EquallyNearSpursGoToTheLowerIndex)
{
    addSpur(P(500, 1000, 2500), P(500, 2000), 25.0f, 100);
    addSpur(P(700, 1000, 2500), P(700, 2000), 25.0f, 200);
    const SnapResult snapped = loop.SnapToPipe(P(600, 1500), -1);
    EXPECT_EQ(snapped.Point, P(500, 1500, 2400));
}

TEST_F(SnapToPipeTest, ExcludedSpurIsIgnored)
{
    addSpur(P(500, 1000, 2500), P(500, 2000));
    addSpur(P(700, 1000, 2500), P(700, 2000));
    EXPECT_EQ(loop.SnapToPipe(P(550, 1500), 0).Point, P(700, 1500, 2500));
    EXPECT_EQ(loop.SnapToPipe(P(550, 1500), -1).Point, P(500, 1500, 2500));
}

TEST_F(SnapToPipeTest, SnapToLoopIgnoresSpurs)
{
    addSpur(P(0, 2500, 2500), P(1900, 2500));
    EXPECT_EQ(loop.SnapToLoop(P(1000, 2600)).Point, P(0, 2600, 2500));
}

TEST_F(DesignFixture, WithoutSegmentsNothingSnapsAndNoAngleIsProduced)
{
    for (int elbows = 0; elbows < 2; ++elbows) {
        const SnapResult snapped = loop.SnapToPipe(P(123, 456, 789), -1);
        EXPECT_EQ(snapped.Point, P(123, 456, 789));
        EXPECT_FALSE(snapped.Angle);
        EXPECT_FALSE(loop.SnapToLoop(P(1, 2, 3)).Angle);
        loop.AddElbow(P(0, 0, 2500));
    }
}

TEST_F(DesignFixture, ZeroLengthLoopSegmentsAreSkipped)
{
    loop.AddElbow(P(0, 0, 2500));
    loop.AddElbow(P(0, 0, 2500));
    loop.AddElbow(P(0, 1000, 2500));
    const SnapResult snapped = loop.SnapToPipe(P(0, 0), -1);
    EXPECT_EQ(snapped.Point, P(0, 0, 2500));
    EXPECT_FLOAT_EQ(*snapped.Angle, -HalfPi);
}

TEST_F(DesignFixture, DetourElbowsLowerTheSegmentThatLeavesThem)
{
    loop.AddElbow(P(0, 0, 2500), 400);
    loop.AddElbow(P(0, 1000, 2100));
    EXPECT_EQ(loop.SnapToPipe(P(10, 500), -1).Point, P(0, 500, 2100));
}

TEST_F(DesignFixture, SnapToPipeIsTheNearestOnSegmentOfEverySegmentInTurn)
{
    // A reference built from the primitive alone, on a random design with
    // crossing pipes, many near-ties and zero-length segments.
    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> coordinate(0, 3000);
    for (int i = 0; i < 60; ++i)
        loop.AddElbow(P(coordinate(random) / 100 * 100, coordinate(random) / 100 * 100, 2500),
                      i % 3 * 100);
    for (int i = 0; i < 60; ++i)
        addSpur(P(coordinate(random), coordinate(random), 2000),
                P(coordinate(random) / 50 * 50, coordinate(random) / 50 * 50), 25.0f, i);

    for (int n = 0; n < 3000; ++n) {
        const Position p = P(coordinate(random) - 200, coordinate(random) - 200, 1);
        Position expected = p;
        std::optional<float> angle;
        long double best = -1;
        const auto offer = [&](const Position& a, const Position& b, int32_t height) {
            Position candidate = p;
            if (NearestOnSegment(a, b, candidate, best)) {
                expected = P(candidate.NS, candidate.EW, height);
                angle = SegmentAngle(a, b);
            }
        };
        for (int i = 0; i + 1 < int(loop.Elbows.size()); ++i)
            offer(loop.Elbows[i]->position(), loop.Elbows[i + 1]->position(),
                  loop.Elbows[i]->PipeHeight());
        for (const auto& spur : loop.Spurs)
            offer(spur->position(), spur->endPosition(), spur->PipeHeight());

        const SnapResult snapped = loop.SnapToPipe(p, -1);
        ASSERT_EQ(snapped.Point, expected) << "click " << p.NS << ", " << p.EW;
        ASSERT_EQ(snapped.Angle, angle);
    }
}

class LoopQueryTest : public DesignFixture
{
protected:
    LoopQueryTest()
    {
        withDefaultLoop();
        loop.PipeSize = 50.0f;
        addSpur(P(0, 2500, 2500), P(1000, 2500), 25.0f);
    }
};

TEST_F(LoopQueryTest, MembershipOfLoopAndSpurs)
{
    EXPECT_TRUE(loop.IsOnLoop(P(0, 2500)));
    EXPECT_TRUE(loop.IsOnLoop(P(2000, 0)));
    EXPECT_FALSE(loop.IsOnLoop(P(1, 2500)));
    EXPECT_EQ(loop.SpurAt(P(600, 2500)), loop.Spurs[0].get());
    EXPECT_EQ(loop.SpurAt(P(600, 2500), loop.Spurs[0].get()), nullptr);
    EXPECT_EQ(loop.SpurAt(P(1001, 2500)), nullptr);
}

TEST_F(LoopQueryTest, PipeSizeAtPrefersTheLoop)
{
    EXPECT_EQ(loop.PipeSizeAt(P(0, 2500)), 50.0f) << "the spur starts on the loop";
    EXPECT_EQ(loop.PipeSizeAt(P(500, 2500)), 25.0f);
    EXPECT_EQ(loop.PipeSizeAt(P(500, 2501)), 0.0f);
}

TEST_F(LoopQueryTest, SpurAngleToLoopOfASpurEndingOnTheLoop)
{
    // Northwards (angle 0) onto the east-running north run (-pi/2).
    TSpur& back = addSpur(P(1000, 1000, 2500), P(0, 1000));
    EXPECT_FLOAT_EQ(loop.SpurAngleToLoop(back), HalfPi);
    EXPECT_EQ(loop.SpurAngleToLoop(*loop.Spurs[0]), 0.0f) << "its end is not on the loop";
}

TEST_F(LoopQueryTest, NoLoopMeansNothingIsOnIt)
{
    loop.Elbows.resize(1);
    EXPECT_FALSE(loop.IsOnLoop(P(0, 0)));
}

class ObjectAtTest : public DesignFixture
{
protected:
    ObjectAtTest()
    {
        withDefaultLoop();
        loop.Elbows[1]->VerticalDrop = 300; // ELBOW2 at (0, 5000) leads on at 2200
        drop = &place(loop.Drops, P(0, 2500, 2500));
        spur = &addSpur(P(0, 1000, 2500), P(1000, 1000));
    }
    TDrop* drop = nullptr;
    TSpur* spur = nullptr;
};

TEST_F(ObjectAtTest, FullPositionsCompareHeights)
{
    EXPECT_EQ(loop.ObjectAt(P(0, 2500, 2500), true), drop);
    EXPECT_EQ(loop.ObjectAt(P(0, 2500, 0), true), nullptr);
    EXPECT_EQ(loop.ObjectAt(P(0, 5000, 2200), true), loop.Elbows[1].get())
        << "an elbow is met at the height of the pipe leaving it";
    EXPECT_EQ(loop.ObjectAt(P(0, 5000, 2500), true), nullptr);
}

TEST_F(ObjectAtTest, PlanOnlyFormIgnoresHeights)
{
    EXPECT_EQ(loop.ObjectAt(P(0, 2500, 0), true, nullptr, PositionMatch::PlanOnly), drop);
    EXPECT_EQ(loop.ObjectAt(P(0, 5000, -1), true, nullptr, PositionMatch::PlanOnly),
              loop.Elbows[1].get());
    EXPECT_EQ(loop.ObjectAt(P(1000, 1000, 9), false, nullptr, PositionMatch::PlanOnly), spur);
}

TEST_F(ObjectAtTest, ElbowsComeFirstAndTheExcludedObjectIsSkipped)
{
    TDrain& drain = place(loop.Drains, P(0, 0, 2500));
    EXPECT_EQ(loop.ObjectAt(P(0, 0, 2500), true), loop.Elbows[0].get());
    EXPECT_EQ(loop.ObjectAt(P(0, 0, 2500), true, loop.Elbows[0].get()), loop.Elbows[4].get())
        << "ELBOW5 closes the loop at the same point";
    EXPECT_EQ(loop.ObjectAt(P(0, 2500, 2500), true, drop), nullptr);
    (void)drain;
}

TEST_F(ObjectAtTest, SpurEndsCountOnlyWhenNotAskingForStarts)
{
    EXPECT_EQ(loop.ObjectAt(P(0, 1000, 2500), true), spur);
    EXPECT_EQ(loop.ObjectAt(P(1000, 1000, 2500), true), nullptr);
    EXPECT_EQ(loop.ObjectAt(P(1000, 1000, 2500), false), spur);
    EXPECT_EQ(loop.ObjectAt(P(1000, 1000, 2500), false, spur), nullptr);
}

TEST_F(ObjectAtTest, SpurEndsAtComparesThePlanEndPoint)
{
    EXPECT_TRUE(TPipeLoop::SpurEndsAt(P(1000, 1000, 77), spur));
    EXPECT_FALSE(TPipeLoop::SpurEndsAt(P(0, 1000, 2500), spur)) << "that is its start";
    EXPECT_FALSE(TPipeLoop::SpurEndsAt(P(0, 2500, 2500), drop));
    EXPECT_FALSE(TPipeLoop::SpurEndsAt(P(0, 0), nullptr));
}

} // namespace
} // namespace pipeloop::testing
