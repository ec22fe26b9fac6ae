// The plan primitives: directions, exact membership and nearest points.

#include "DesignFixture.h"
#include "LoopGeometry.h"

namespace pipeloop::testing
{
namespace
{

struct AngleCase {
    const char* name;
    Position to;
    float expected;
};

TEST(SegmentAngle, CompassDirectionsFromTheOrigin)
{
    const AngleCase cases[] = {
        {"north", P(-100, 0), 0.0f},
        {"south", P(100, 0), Pi},
        {"east", P(0, 100), -HalfPi},
        {"west", P(0, -100), HalfPi},
    };
    for (const AngleCase& c : cases)
        EXPECT_FLOAT_EQ(SegmentAngle(P(0, 0), c.to), c.expected) << c.name;
}

TEST(SegmentAngle, IsSinglePrecision)
{
    const float angle = SegmentAngle(P(0, 0), P(0, -100));
    EXPECT_EQ(angle, HalfPi);
    EXPECT_EQ(static_cast<double>(angle), 1.5707963705062866);
}

TEST(OnSegment, EndsBelongAndOneMillimetreBeyondDoesNot)
{
    const Position a = P(0, 0), b = P(0, 1000);
    EXPECT_TRUE(OnSegment(a, b, a));
    EXPECT_TRUE(OnSegment(a, b, b));
    EXPECT_TRUE(OnSegment(a, b, P(0, 500)));
    EXPECT_FALSE(OnSegment(a, b, P(0, 1001)));
    EXPECT_FALSE(OnSegment(a, b, P(0, -1)));
    EXPECT_FALSE(OnSegment(a, b, P(1, 500))) << "one millimetre beside the pipe";
}

TEST(OnSegment, HeightsAreIgnored)
{
    EXPECT_TRUE(OnSegment(P(0, 0, 2500), P(0, 1000, 2500), P(0, 400, 0)));
}

TEST(OnSegment, ZeroLengthSegmentContainsNothing)
{
    EXPECT_FALSE(OnSegment(P(5, 5), P(5, 5), P(5, 5)));
}

TEST(OnSegment, DiagonalPointsWithinRoundingBelong)
{
    // The segment (0,0)-(3,1000) passes EW 250 at NS 0.75: (1, 250) rounds
    // onto it, (0, 250) does not.
    EXPECT_TRUE(OnSegment(P(0, 0), P(3, 1000), P(1, 250)));
    EXPECT_FALSE(OnSegment(P(0, 0), P(3, 1000), P(0, 250)));
}

TEST(NearestOnSegment, ProjectsClampsAndRounds)
{
    long double best = -1;
    Position p = P(300, 500);
    EXPECT_TRUE(NearestOnSegment(P(0, 0), P(0, 1000), p, best));
    EXPECT_EQ(p, P(0, 500));
    EXPECT_EQ(best, 300.0L);

    best = -1;
    p = P(0, 1500);
    EXPECT_TRUE(NearestOnSegment(P(0, 0), P(0, 1000), p, best));
    EXPECT_EQ(p, P(0, 1000)) << "beyond the end the end itself is nearest";

    best = -1;
    p = P(1, 1);
    EXPECT_TRUE(NearestOnSegment(P(0, 0), P(3, 1), p, best));
    EXPECT_EQ(p, P(1, 0)) << "(1.2, 0.4) rounds to (1, 0)";
}

TEST(NearestOnSegment, KeepsTheEarlierCandidateOnTies)
{
    long double best = 100;
    Position p = P(100, 500);
    EXPECT_FALSE(NearestOnSegment(P(0, 0), P(0, 1000), p, best));
    EXPECT_EQ(p, P(100, 500));
    EXPECT_EQ(best, 100.0L);
}

TEST(NearestOnSegment, ZeroLengthSegmentChangesNothing)
{
    long double best = -1;
    Position p = P(7, 7);
    EXPECT_FALSE(NearestOnSegment(P(1, 1), P(1, 1), p, best));
    EXPECT_EQ(p, P(7, 7));
    EXPECT_EQ(best, -1.0L);
}

TEST(RoundExtended, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(RoundExtended(2.5L), 2);
    EXPECT_EQ(RoundExtended(3.5L), 4);
    EXPECT_EQ(RoundExtended(-2.5L), -2);
    EXPECT_EQ(RoundExtended(2.5000000000000000003L), 3) << "no detour through a double";
    EXPECT_EQ(RoundExtended(1e12L), INT32_MAX);
}

} // namespace
} // namespace pipeloop::testing
