// The sample projects of data/samples: they load without a message, pass the
// connection check, save back to the same bytes, and make sense as real
// installations (every object inside the building and on a pipe at the
// pipe's height, spurs starting on the loop or another spur, drains at the
// ends and low points, no two objects on one spot).

#include "ProjectFileTest.h"

#include <QSet>

#include <algorithm>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

class Samples : public ::testing::TestWithParam<const char*>
{
protected:
    ScriptedUi ui;
    ScopedLocale locale{LocaleFacts{}};
    Session s;

    const TPipeLoop& load()
    {
        const ProjectLoad result = s.open(SampleFile(GetParam()));
        EXPECT_TRUE(result.ok()) << result.error().toStdString();
        EXPECT_TRUE(ui.messages.empty());
        return *s.design;
    }
};

// The height of the pipe a point stands on (loop first, as SnapToPipe
// prefers), or nothing.
std::optional<int32_t> PipeHeightAt(const TPipeLoop& d, const Position& p)
{
    for (int i = 0; i < d.LoopSegmentCount(); ++i)
        if (OnSegment(d.Elbows[size_t(i)]->position(), d.Elbows[size_t(i) + 1]->position(), p))
            return d.LoopSegmentHeight(i);
    if (const TSpur* spur = d.SpurAt(p))
        return spur->PipeHeight();
    return std::nullopt;
}

TEST_P(Samples, PassTheConnectionCheck)
{
    TPipeLoop& d = const_cast<TPipeLoop&>(load());
    EXPECT_TRUE(d.CheckConnections());
    d.ForEachObject([](const TPipeLoopObject& o) { EXPECT_FALSE(o.isHighlighted()); });
}

TEST_P(Samples, SaveBackToTheSameBytes)
{
    load();
    const QByteArray original = ReadBytes(SampleFile(GetParam()));
    EXPECT_TRUE(SameBytes(WithoutProgramVersion(original), WithoutProgramVersion(s.bytes())));
}

TEST_P(Samples, EveryObjectStandsInsideTheBuilding)
{
    const TPipeLoop& d = load();
    const auto inside = [&d](const Position& p) {
        return p.NS >= 0 && p.NS <= d.RoomNS && p.EW >= 0 && p.EW <= d.RoomEW && p.HG >= 0 &&
               p.HG <= d.RoomHG;
    };
    d.ForEachObject([&](const TPipeLoopObject& o) {
        EXPECT_TRUE(inside(o.position())) << o.Name.toStdString();
    });
    for (const auto& spur : d.Spurs)
        EXPECT_TRUE(inside(spur->endPosition())) << spur->Name.toStdString();
    for (const auto& f : d.BuildFeatures) {
        EXPECT_TRUE(inside({f->P2NS, f->P2EW, f->Height})) << f->Name.toStdString();
        EXPECT_LT(f->P1NS, f->P2NS);
        EXPECT_LT(f->P1EW, f->P2EW);
    }
}

TEST_P(Samples, ObjectsStandOnAPipeAtItsHeight)
{
    const TPipeLoop& d = load();
    const auto onPipe = [&](const TPipeLoopObject& o) {
        const std::optional<int32_t> height = PipeHeightAt(d, o.position());
        ASSERT_TRUE(height.has_value()) << o.Name.toStdString();
        EXPECT_EQ(o.HG, *height) << o.Name.toStdString();
    };
    for (const auto& o : d.Drains)
        onPipe(*o);
    for (const auto& o : d.Drops)
        onPipe(*o);
    for (const auto& o : d.Valves)
        onPipe(*o);
    for (const auto& o : d.Inlets)
        onPipe(*o);
    // Valves point along their pipe, inlets across it.
    for (const auto& v : d.Valves) {
        const SnapResult snap = d.SnapToPipe(v->position());
        ASSERT_TRUE(snap.Angle.has_value());
        EXPECT_EQ(v->Angle, *snap.Angle) << v->Name.toStdString();
    }
    for (const auto& inlet : d.Inlets) {
        const SnapResult snap =
            d.CompressorHouse ? d.SnapToPipe(inlet->position()) : d.SnapToLoop(inlet->position());
        ASSERT_TRUE(snap.Angle.has_value());
        EXPECT_EQ(inlet->Angle, *snap.Angle - HalfPi) << inlet->Name.toStdString();
    }
}

TEST_P(Samples, DropsReachDownToTheirOutlets)
{
    const TPipeLoop& d = load();
    for (const auto& drop : d.Drops) {
        EXPECT_GT(drop->SymbolCount(), 0) << drop->Name.toStdString();
        if (drop->IsFemale()) {
            // A hose assembly ends the stack, and the hose has a size.
            const int n = drop->SymbolCount();
            ASSERT_GE(n, 3);
            EXPECT_EQ(drop->SymbolName(n - 1), "COUPLER");
            EXPECT_TRUE(IsHoseSymbol(drop->SymbolName(n - 2))) << drop->Name.toStdString();
            EXPECT_GT(drop->HoseSize, 0.0f);
            EXPECT_GT(drop->PipeLen, 0);
        } else {
            // The drop pipe ends above the floor.
            EXPECT_GT(drop->PipeLen, 0);
            EXPECT_LT(drop->PipeLen, drop->HG) << drop->Name.toStdString();
        }
    }
    for (const auto& drain : d.Drains) {
        EXPECT_GT(drain->PipeLen, 0);
        EXPECT_LT(drain->PipeLen, drain->HG) << drain->Name.toStdString();
    }
}

TEST_P(Samples, SpursStartOnThePipeAndDrainsSitAtEndsAndLowPoints)
{
    const TPipeLoop& d = load();
    for (const auto& spur : d.Spurs) {
        // A spur of a pipe loop starts on the loop or on an earlier spur; a
        // compressor house also has unconnected pipes between its equipment.
        const Position start = spur->position();
        const TSpur* parent = d.SpurAt(start, spur.get());
        if (!d.CompressorHouse || d.IsOnLoop(start) || parent) {
            EXPECT_TRUE(d.IsOnLoop(start) || parent) << spur->Name.toStdString();
            if (parent)
                EXPECT_EQ(spur->HG, parent->PipeHeight()) << spur->Name.toStdString();
            else
                EXPECT_EQ(PipeHeightAt(d, start), spur->HG) << spur->Name.toStdString();
        }
        EXPECT_EQ(spur->HG2, spur->HG) << spur->Name.toStdString(); // level
        EXPECT_GT(spur->PipeSize, 0.0f);
        EXPECT_LE(spur->PipeSize, d.PipeSize);
    }
    // Every dead end of a pipe loop's spurs and the lowest pipe run have a drain.
    if (d.CompressorHouse)
        return;
    QSet<QPair<int32_t, int32_t>> drains;
    for (const auto& drain : d.Drains)
        drains.insert({drain->NS, drain->EW});
    for (const auto& spur : d.Spurs) {
        const bool feedsAnotherSpur =
            std::any_of(d.Spurs.begin(), d.Spurs.end(), [&](const auto& other) {
                return other.get() != spur.get() && other->position().samePlan(spur->endPosition());
            });
        if (!feedsAnotherSpur) {
            EXPECT_TRUE(drains.contains({spur->NS2, spur->EW2})) << spur->Name.toStdString();
        }
    }
    int32_t lowest = INT32_MAX;
    for (const auto& spur : d.Spurs)
        lowest = std::min(lowest, spur->PipeHeight());
    bool lowestDrained = false;
    for (const auto& drain : d.Drains)
        lowestDrained = lowestDrained || drain->HG == lowest;
    EXPECT_TRUE(lowestDrained);
}

TEST_P(Samples, NoTwoObjectsShareASpot)
{
    const TPipeLoop& d = load();
    QSet<QPair<int32_t, int32_t>> taken;
    const auto take = [&](const TPipeLoopObject& o) {
        const QPair<int32_t, int32_t> at{o.NS, o.EW};
        EXPECT_FALSE(taken.contains(at)) << o.Name.toStdString();
        taken.insert(at);
    };
    for (const auto& o : d.Drains)
        take(*o);
    for (const auto& o : d.Drops)
        take(*o);
    for (const auto& o : d.Valves)
        take(*o);
    for (const auto& o : d.Inlets)
        take(*o);
}

TEST_P(Samples, TheLoopIsClosed)
{
    const TPipeLoop& d = load();
    if (d.CompressorHouse) {
        EXPECT_TRUE(d.Elbows.empty());
        EXPECT_FALSE(d.Inlets.empty());
        return;
    }
    ASSERT_GE(d.Elbows.size(), 5u);
    EXPECT_TRUE(d.Elbows.front()->position().samePlan(d.Elbows.back()->position()));
    EXPECT_EQ(d.Elbows.front()->HG, d.Elbows.back()->HG);
    // The loop runs at its height; a detour comes back down to it.
    EXPECT_EQ(d.LoopSegmentHeight(0), d.Height);
    EXPECT_EQ(d.LoopSegmentHeight(d.LoopSegmentCount() - 1), d.Height);
    EXPECT_FALSE(d.Inlets.empty());
    EXPECT_FALSE(d.Valves.empty());
    EXPECT_FALSE(d.BuildFeatures.empty());
    EXPECT_FALSE(d.Notes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(DataSamples, Samples,
                         ::testing::Values("workshop.plf", "factory.plf", "compressor-house.cph"));

TEST(SampleSizes, TheFactoryHasSeveralHundredObjectsAndTheWorkshopEveryKind)
{
    ScriptedUi ui;
    Session factory;
    ASSERT_TRUE(factory.open(SampleFile("factory.plf")));
    int objects = 0;
    factory.design->ForEachObject([&objects](const TPipeLoopObject&) { ++objects; });
    EXPECT_GE(objects, 300);

    Session workshop;
    ASSERT_TRUE(workshop.open(SampleFile("workshop.plf")));
    const TPipeLoop& w = *workshop.design;
    // Every drop style the vendor's fittings build (quick-coupling outlets
    // are not among them).
    QSet<DropStyle> styles;
    for (const auto& drop : w.Drops)
        styles.insert(drop->Style);
    EXPECT_EQ(styles, QSet<DropStyle>({DropStyle::Female, DropStyle::Tee, DropStyle::Saddle,
                                       DropStyle::FemaleSaddle}));
    EXPECT_TRUE(std::any_of(w.Spurs.begin(), w.Spurs.end(),
                            [](const auto& s) { return s->VerticalDrop > 0; }));
    EXPECT_TRUE(
        std::any_of(w.Drains.begin(), w.Drains.end(), [](const auto& d) { return d->Manual; }));
    EXPECT_TRUE(
        std::any_of(w.Drains.begin(), w.Drains.end(), [](const auto& d) { return !d->Manual; }));

    Session house;
    ASSERT_TRUE(house.open(SampleFile("compressor-house.cph")));
    EXPECT_TRUE(house.design->CompressorHouse);
}

} // namespace
