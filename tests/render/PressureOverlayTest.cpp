// The air supply drawn over the plan: the pipe near the compressor inlet and
// the pipe at the worst drop in different colours of the pressure scale, the
// worst drop ringed, and the legend in bar with the supply pressure at its top.

#include "PressureOverlay.h"
#include "PictureExport.h"
#include "Projection.h"
#include "RecordingCanvas.h"
#include "SampleDesign.h"

#include <gtest/gtest.h>

namespace pipeloop::test
{
namespace
{

struct Drawn {
    std::vector<Primitive> primitives;
    TDrawParams params;
};

Drawn DrawWithOverlay(TPipeLoop& loop, const PlanOverlay& overlay)
{
    const TDrawParams p = TestParams(loop, ViewKind::Plan);
    RecordingCanvas canvas(QSize(p.Right, p.Bottom));
    DrawPicture(canvas, loop, p, &overlay);
    return {canvas.primitives(), p};
}

// The colour of the overlay's line that touches the device point.
std::optional<WinColour> OverlayColourAt(const Drawn& drawn, QPoint at)
{
    for (const Primitive& line : drawn.primitives)
        if (line.kind == Primitive::Kind::Line && line.pen.width == drawn.params.PipeWidth + 2 &&
            (line.points[0] == at || line.points[1] == at))
            return line.pen.colour;
    return std::nullopt;
}

bool HasText(const Drawn& drawn, const QString& text)
{
    return std::any_of(drawn.primitives.begin(), drawn.primitives.end(),
                       [&](const Primitive& p) { return p.text == text; });
}

TEST(PressureOverlayTest, ColoursThePipesByPressureAndExplainsTheColours)
{
    auto d = FactoryDesign();
    TPipeLoop& loop = d->loop;
    for (const auto& drop : loop.Drops)
        drop->Demand = {12, 0.8};
    const analysis::AirAnalysis a = analysis::AnalyseAirSupply(loop);
    ASSERT_TRUE(a.solved()) << a.problem.toStdString();
    ASSERT_GE(a.worst, 0);
    const TDrop& worst = *a.drops[size_t(a.worst)].drop;
    const PlanOverlay overlay = PressureOverlay(a);
    const Drawn drawn = DrawWithOverlay(loop, overlay);

    const Position inlet = loop.Inlets.front()->position();
    const auto atInlet = OverlayColourAt(drawn, PlanPoint(drawn.params, inlet.NS, inlet.EW));
    const auto atWorst =
        OverlayColourAt(drawn, PlanPoint(drawn.params, worst.position().NS, worst.position().EW));
    ASSERT_TRUE(atInlet && atWorst);
    // Nearly the supply pressure at the inlet: the green end of the scale;
    // redder where the pressure is lowest.
    const auto red = [](WinColour c) { return int(c & 0xFF); };
    const auto green = [](WinColour c) { return int(c >> 8 & 0xFF); };
    EXPECT_GT(green(*atInlet), red(*atInlet));
    EXPECT_GT(red(*atWorst), red(*atInlet));

    // The worst drop ringed and named.
    EXPECT_TRUE(HasText(drawn, overlay.marker->label));
    EXPECT_TRUE(overlay.marker->label.startsWith(worst.Name));
    // The legend: its title and its ticks from the supply down to the allowed drop.
    EXPECT_TRUE(HasText(drawn, QStringLiteral("Pressure (bar)")));
    EXPECT_TRUE(HasText(drawn, QStringLiteral("7.000")));
    EXPECT_TRUE(HasText(drawn, QStringLiteral("6.900")));
    EXPECT_TRUE(HasText(drawn, QStringLiteral("< 6.900")));

    // Past the allowed drop the pipe turns dark red, and the plan without an
    // overlay keeps its own pipe colours.
    loop.AllowedPressureDrop = 1e-6;
    const analysis::AirAnalysis tight = analysis::AnalyseAirSupply(loop);
    const Drawn beyond = DrawWithOverlay(loop, PressureOverlay(tight));
    EXPECT_EQ(
        OverlayColourAt(beyond, PlanPoint(beyond.params, worst.position().NS, worst.position().EW)),
        PressureColour(tight, tight.supplyPressure - 1));
    EXPECT_NE(PressureColour(tight, tight.supplyPressure - 1),
              PressureColour(tight, tight.supplyPressure - 0.9e-6));
    analysis::AirAnalysis unsettled;
    unsettled.outcome = analysis::AnalysisOutcome::NotSettled;
    EXPECT_TRUE(PressureOverlay(unsettled).lines.empty());
}

} // namespace
} // namespace pipeloop::test
