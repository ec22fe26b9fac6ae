// The air analysis against cases worked by hand: one pipe as the air flow
// calculator gives it, a symmetric ring, two demands on a ring against the
// loop equation solved by bisection, and the balance of flows at every point
// of the factory sample, which must settle within 50 iterations.

#include "AirAnalysis.h"
#include "AirFlow.h"
#include "LocaleInfo.h"
#include "PartsListDesigns.h"
#include "ProjectFile.h"
#include "ScriptedUi.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pipeloop::testing
{
namespace
{

using analysis::AirAnalysis;
using analysis::AnalyseAirSupply;
using analysis::FittingAllowance;

class AirAnalysisTest : public ::testing::Test
{
protected:
    // A square ring of 100 m sides at 50 mm, fed at the middle of its north
    // side (NS 0) through 2 m of 50 mm pipe.
    void SquareRing()
    {
        design.PipeSize = 50.0f;
        for (auto [ns, ew] : {std::pair{0, 0}, {0, 100000}, {100000, 100000}, {100000, 0}, {0, 0}})
            b.Corner(ns, ew);
        b.Inlet(P(0, 50000), 50.0f, 2000);
    }

    TDrop& Demand(const Position& at, double litresPerSecond, double usage = 1)
    {
        TDrop& drop = b.Drop(at, DropStyle::Tee, 25.0f, 1000, {});
        drop.Demand = {litresPerSecond, usage};
        return drop;
    }

    static Position P(int32_t ns, int32_t ew) { return {ns, ew, 4000}; }

    // The segment between the points named so (either way round).
    static const analysis::SegmentFlow& Between(const AirAnalysis& a, const QString& one,
                                                const QString& other)
    {
        for (const auto& s : a.segments) {
            const QString x = a.points[size_t(s.from)].name, y = a.points[size_t(s.to)].name;
            if ((x == one && y == other) || (x == other && y == one))
                return s;
        }
        ADD_FAILURE() << "no segment " << one.toStdString() << " - " << other.toStdString();
        return a.segments.front();
    }

    // Flow into each point minus flow out of it, less what its drops take.
    static double WorstImbalance(const AirAnalysis& a)
    {
        std::vector<double> net(a.points.size(), 0);
        for (const auto& s : a.segments) {
            net[size_t(s.from)] -= s.flow;
            net[size_t(s.to)] += s.flow;
        }
        double worst = 0;
        for (size_t i = 0; i < a.points.size(); ++i)
            if (a.points[i].name != QStringLiteral("SUPPLY"))
                worst = std::max(worst, std::fabs(net[i] - a.points[i].demand));
        return worst;
    }

    ScopedLocale locale{LocaleFacts{}};
    ScriptedUi ui;
    TPipeLoopOptions options;
    TPipeLoop design{options};
    DesignBuilder b{design};
};

TEST_F(AirAnalysisTest, OnePipeDropsAsTheCalculatorSays)
{
    // The calculator's own main: 300 m of 90 mm bore, 0.18 m^3/s from 9 bar.
    design.PipeSize = 90.0f;
    design.SupplyPressure = 9;
    b.Corner(0, 0);
    b.Corner(0, 300000);
    b.Inlet(P(0, 0), 90.0f, 0);
    Demand(P(0, 300000), 180);
    const AirAnalysis a = AnalyseAirSupply(design);
    ASSERT_TRUE(a.solved()) << a.problem.toStdString();
    const AirFlowReport calculator = CalculateAirFlow(AirFlowRequest{});
    ASSERT_TRUE(calculator.ok());
    const double expected = calculator.lines.front().mid(3).toDouble(); // "dp 0.0378..."
    const auto& main = Between(a, QStringLiteral("ELBOW1/INLET1"), QStringLiteral("ELBOW2/DROP1"));
    EXPECT_NEAR(main.pressureDrop, expected, expected * 1e-12);
    EXPECT_DOUBLE_EQ(main.flow, 180);
    EXPECT_EQ(a.iterations, 0); // no loop to solve
    // The plan knows where to draw it: its ends stand where their objects
    // do; the supply behind the inlet stands nowhere on the plan.
    const std::optional<Position> from = a.points[size_t(main.from)].at;
    const std::optional<Position> to = a.points[size_t(main.to)].at;
    ASSERT_TRUE(from && to);
    EXPECT_EQ(std::min(from->EW, to->EW), 0);
    EXPECT_EQ(std::max(from->EW, to->EW), 300000);
    EXPECT_EQ(from->NS, 0);
    EXPECT_EQ(to->NS, 0);
    for (const auto& point : a.points)
        EXPECT_EQ(point.at.has_value(), point.name != QStringLiteral("SUPPLY"));
}

TEST_F(AirAnalysisTest, RingsSplitTheFlowAsTheirLoopEquationSays)
{
    SquareRing();
    TDrop& far = Demand(P(100000, 50000), 30);
    AirAnalysis a = AnalyseAirSupply(design);
    ASSERT_TRUE(a.solved()) << a.problem.toStdString();
    // Symmetric: half each way, both halves arriving at the same pressure.
    EXPECT_NEAR(std::fabs(Between(a, "DROP1", "ELBOW3").flow), 15, 1e-9);
    EXPECT_NEAR(std::fabs(Between(a, "DROP1", "ELBOW4").flow), 15, 1e-9);
    EXPECT_EQ(a.worst, 0);

    // A second demand at the north-east corner: the loop equation
    // sum(L_i * q_i * |q_i|^0.85) = 0 over the six pieces of the ring, with
    // the corner elbows and the inlet tee in metres of 50 mm pipe, solved
    // for q, the flow leaving the inlet eastwards.
    far.Demand = {20, 1};
    Demand(P(0, 100000), 10);
    const double d = 0.05, d1 = 10e-3, d2 = 20e-3;
    const double corner = FittingAllowance::Elbow90 * d, halfTee = FittingAllowance::TeeRun * d / 2;
    const double lengths[] = {50 + halfTee, 100 + corner, 50 + corner,
                              50,           100 + corner, 50 + corner + halfTee};
    const auto loopSum = [&](double q) {
        const double flows[] = {q, q - d1, q - d1, q - d1 - d2, q - d1 - d2, q - d1 - d2};
        double sum = 0;
        for (int i = 0; i < 6; ++i)
            sum += lengths[i] * std::copysign(std::pow(std::fabs(flows[i]), 1.85), flows[i]);
        return sum;
    };
    double low = 0, high = d1 + d2;
    for (int i = 0; i < 200; ++i)
        (loopSum((low + high) / 2) < 0 ? low : high) = (low + high) / 2;
    a = AnalyseAirSupply(design);
    ASSERT_TRUE(a.solved()) << a.problem.toStdString();
    EXPECT_NEAR(Between(a, "INLET1", "ELBOW2/DROP2").flow, low * 1000, 1e-9);
    EXPECT_NEAR(WorstImbalance(a), 0, 30 * 1e-9);
    EXPECT_LT(a.iterations, 10);

    // The sizing suggestion: the smallest size that keeps both drops within
    // a tight allowance, and the one below it that does not.
    design.AllowedPressureDrop = 0.02;
    const QList<float> sizes = {20, 25, 32, 40, 50, 63};
    const std::optional<float> suggested = analysis::SuggestRingSize(design, sizes);
    ASSERT_TRUE(suggested);
    EXPECT_TRUE(AnalyseAirSupply(design, *suggested).withinAllowed());
    EXPECT_FALSE(AnalyseAirSupply(design, sizes.at(sizes.indexOf(*suggested) - 1)).withinAllowed());
    design.AllowedPressureDrop = 1e-9;
    EXPECT_FALSE(analysis::SuggestRingSize(design, sizes));
}

TEST_F(AirAnalysisTest, DesignsThatCannotBeSolvedSayWhy)
{
    SquareRing();
    Demand(P(100000, 50000), 5);
    Demand(P(50000, 50000), 5); // on no pipe
    design.Inlets.clear();
    EXPECT_FALSE(AnalyseAirSupply(design).solved());
    b.Inlet(P(0, 50000), 50.0f, 2000);
    const AirAnalysis a = AnalyseAirSupply(design);
    ASSERT_TRUE(a.solved());
    EXPECT_TRUE(a.drops[0].supplied);
    EXPECT_FALSE(a.drops[1].supplied);
    EXPECT_FALSE(a.withinAllowed()); // a demand nobody feeds

    // Numbers past the range of the formula stop the analysis instead of
    // reporting infinite pressures.
    design.Drops.front()->Demand = {1e300, 1};
    EXPECT_EQ(AnalyseAirSupply(design).outcome, analysis::AnalysisOutcome::NotSettled);
}

TEST_F(AirAnalysisTest, FactorySampleSettlesQuicklyWithEveryPointBalanced)
{
    TPipeLoopOptions sampleOptions;
    ProjectLoad load =
        OpenProject(SampleFile("factory.plf"), sampleOptions, PrintSetup(), InitialZoomFactors);
    ASSERT_TRUE(load.ok());
    double demand = 0;
    for (const auto& drop : load.Design->Drops) {
        drop->Demand = {2.5 + drop->Name.size() % 3, 0.4};
        demand += drop->Demand.Average();
    }
    const AirAnalysis a = AnalyseAirSupply(*load.Design);
    ASSERT_TRUE(a.solved()) << a.problem.toStdString();
    EXPECT_GE(a.iterations, 1);
    EXPECT_LT(a.iterations, 50);
    EXPECT_NEAR(WorstImbalance(a), 0, demand * 1e-9);
    EXPECT_NEAR(a.totalDemand, demand, 1e-9);
    ASSERT_GE(a.worst, 0);
    for (const auto& drop : a.drops)
        EXPECT_GE(drop.pressure, a.drops[size_t(a.worst)].pressure);
}

} // namespace
} // namespace pipeloop::testing
