// Making a design: the default loop, new objects on the pipe, names and the
// connection check that precedes a parts list.

#include "DesignFixture.h"

namespace pipeloop::testing
{
namespace
{

TEST_F(DesignFixture, NewDesignHasTheDocumentedDefaults)
{
    EXPECT_EQ(loop.PipeSize, 50.0f);
    EXPECT_EQ(loop.DefaultOutletSize, 25.0f);
    EXPECT_EQ(loop.PipeColour, PipeColour::Blue);
    EXPECT_EQ(loop.Units, DisplayUnits::Metres);
    EXPECT_FALSE(loop.CompressorHouse);
    EXPECT_EQ(&loop.Options, &options);
    EXPECT_TRUE(loop.Elbows.empty() && loop.Spurs.empty() && loop.Drops.empty() &&
                loop.Drains.empty() && loop.Valves.empty() && loop.Inlets.empty() &&
                loop.BuildFeatures.empty() && loop.Notes.isEmpty());
    EXPECT_EQ(loop.Selected, nullptr);
}

TEST_F(DesignFixture, DefaultLoopGoesRoundTheBuilding)
{
    withDefaultLoop();
    const Position expected[] = {P(0, 0, 2500), P(0, 5000, 2500), P(2000, 5000, 2500),
                                 P(2000, 0, 2500), P(0, 0, 2500)};
    ASSERT_EQ(loop.Elbows.size(), 5u);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(loop.Elbows[i]->position(), expected[i]);
        EXPECT_EQ(loop.Elbows[i]->Name, QStringLiteral("ELBOW%1").arg(i + 1));
        EXPECT_EQ(loop.Elbows[i]->VerticalDrop, 0);
    }
    EXPECT_EQ(loop.LoopSegmentCount(), 4);
}

class PlacingTest : public DesignFixture
{
protected:
    PlacingTest() { withDefaultLoop(); }
};

TEST_F(PlacingTest, ObjectsAreNamedByPrefixAndCount)
{
    loop.AddValve(P(10, 100));
    loop.AddValve(P(10, 200));
    loop.AddDrain(P(10, 300), true, 20.0f, 2500);
    loop.AddInlet(P(10, 400), 2000, 50.0f);
    loop.AddSpur(P(10, 500), P(900, 500), true, 0, 25.0f);
    loop.AddExistingDrop(std::make_unique<TDrop>());
    loop.AddDropFrom(*loop.Drops[0], P(10, 700));
    EXPECT_EQ(loop.Valves[1]->Name, QStringLiteral("VALVE2"));
    EXPECT_EQ(loop.Drains[0]->Name, QStringLiteral("DRAIN1"));
    EXPECT_EQ(loop.Inlets[0]->Name, QStringLiteral("INLET1"));
    EXPECT_EQ(loop.Spurs[0]->Name, QStringLiteral("SPUR1"));
    EXPECT_EQ(loop.Drops[1]->Name, QStringLiteral("DROP2"));

    // Names are labels: after a deletion the next one repeats a name.
    loop.Selected = loop.Valves[0].get();
    loop.DeleteSelected();
    EXPECT_EQ(loop.AddValve(P(10, 800)).Name, QStringLiteral("VALVE2"));
}

TEST_F(PlacingTest, ValveAndInletTakeTheDirectionOfTheirPipe)
{
    const TValve& valve = loop.AddValve(P(1200, 4800, 0));
    EXPECT_EQ(valve.position(), P(1200, 5000, 2500));
    EXPECT_FLOAT_EQ(valve.Angle, Pi);

    const TInlet& inlet = loop.AddInlet(P(50, 1000, 0), 3000, 63.0f);
    EXPECT_EQ(inlet.position(), P(0, 1000, 2500));
    EXPECT_FLOAT_EQ(inlet.Angle, -HalfPi - HalfPi);
    EXPECT_EQ(inlet.PipeLength, 3000);
    EXPECT_EQ(inlet.PipeSize, 63.0f);
}

TEST_F(DesignFixture, WithoutAnyPipeObjectsStayWhereClickedFacingEastWest)
{
    // The angles a file gives a valve (half pi) and an inlet (0) that have
    // none: both as if on an east-west run.
    const TValve& valve = loop.AddValve(P(100, 200, 300));
    EXPECT_EQ(valve.position(), P(100, 200, 300));
    EXPECT_EQ(valve.Angle, HalfPi);
    const TInlet& inlet = loop.AddInlet(P(100, 200, 300), 2000, 50.0f);
    EXPECT_EQ(inlet.Angle, 0.0f);
    EXPECT_EQ(loop.AddDrain(P(1, 2, 3), false, 20.0f, 100).position(), P(1, 2, 3));
}

TEST_F(PlacingTest, DrainSnapsAndKeepsItsSettings)
{
    const TDrain& drain = loop.AddDrain(P(1990, 700, 0), false, 25.0f, 1800);
    EXPECT_EQ(drain.position(), P(2000, 700, 2500));
    EXPECT_FALSE(drain.Manual);
    EXPECT_EQ(drain.PipeSize, 25.0f);
    EXPECT_EQ(drain.PipeLen, 1800);
}

TEST_F(PlacingTest, SpursAreLevelAndBranchesInheritTheirParentsSize)
{
    const TSpur& spur = loop.AddSpur(P(30, 2500, 0), P(1500, 2500, 999), true, 200, 32.0f);
    EXPECT_EQ(spur.position(), P(0, 2500, 2500)) << "attached: the start takes the pipe height";
    EXPECT_EQ(spur.endPosition(), P(1500, 2500, 2500));
    EXPECT_EQ(spur.VerticalDrop, 200);
    EXPECT_EQ(spur.PipeSize, 32.0f) << "starting on the loop keeps the proposed size";

    loop.Spurs[0]->PipeSize = 25.0f;
    const TSpur& branch = loop.AddSpur(P(800, 2510, 0), P(800, 3500), true, 0, 32.0f);
    EXPECT_EQ(branch.position(), P(800, 2500, 2300)) << "on the spur, at its run height";
    EXPECT_EQ(branch.PipeSize, 25.0f);
}

TEST_F(PlacingTest, UnconnectedPipesKeepTheirStart)
{
    const TSpur& pipe = loop.AddSpur(P(700, 700, 1200), P(700, 1700, 0), false, 0, 40.0f);
    EXPECT_EQ(pipe.position(), P(700, 700, 1200)) << "a compressor house pipe height survives";
    EXPECT_EQ(pipe.endPosition(), P(700, 1700, 1200));
    EXPECT_EQ(pipe.Name, QStringLiteral("SPUR1"));
}

TEST_F(PlacingTest, PastedDropCopiesTheTemplate)
{
    TDrop source;
    source.PipeLen = 1700;
    source.OutletSize = 12.7f;
    source.Style = DropStyle::FemaleQuick;
    source.HoseSize = 9.5f;
    source.PartPackage = QStringLiteral("KIT-7");
    source.AddSymbol(Symbol::Filter, QStringLiteral("F1"), true);
    source.AddSymbol(Symbol::Coupler, {}, true);
    source.AddSymbol(Symbol::AirHose, QStringLiteral("H2"), true);
    source.AddSymbol(Symbol::Coupler, {}, true);
    source.SetSymbolRect(0, {1, 2, 3, 4});

    const TDrop& copy = loop.AddDropFrom(source, P(40, 3000, 0));
    EXPECT_EQ(copy.position(), P(0, 3000, 2500));
    EXPECT_EQ(copy.PipeLen, 1700);
    EXPECT_EQ(copy.OutletSize, 12.7f);
    EXPECT_EQ(copy.Style, DropStyle::FemaleQuick);
    EXPECT_EQ(copy.HoseSize, 9.5f);
    EXPECT_EQ(copy.PartPackage, QStringLiteral("KIT-7"));
    ASSERT_EQ(copy.SymbolCount(), 4);
    EXPECT_EQ(copy.SymbolName(2), Symbol::AirHose);
    EXPECT_EQ(copy.SymbolPart(2), QStringLiteral("H2"));
    EXPECT_EQ(copy.SymbolRectOf(0), SymbolRect{}) << "not drawn yet";
}

class ConnectionTest : public PlacingTest
{
};

TEST_F(ConnectionTest, ObjectsOnTheLoopOrOnSpursAreConnected)
{
    loop.AddSpur(P(0, 2500), P(1500, 2500), true, 0, 25.0f);
    place(loop.Drops, P(1500, 2500, 0)); // the spur's end
    place(loop.Drains, P(0, 100, 2500));
    place(loop.Valves, P(700, 2500, 2500));
    place(loop.Inlets, P(2000, 4000, 2500));
    EXPECT_TRUE(loop.CheckConnections());
    loop.ForEachObject([](const TPipeLoopObject& object) {
        EXPECT_EQ(object.State, ObjectState::Normal) << object.Name.toStdString();
    });
}

TEST_F(ConnectionTest, StopsAtTheFirstListWithUnconnectedObjects)
{
    TDrain& looseDrain = place(loop.Drains, P(10, 100, 2500));
    TDrain& goodDrain = place(loop.Drains, P(0, 100, 2500));
    TDrop& looseDrop = place(loop.Drops, P(10, 200, 2500));
    TValve& looseValve = place(loop.Valves, P(10, 300, 2500));
    EXPECT_FALSE(loop.CheckConnections());
    EXPECT_EQ(looseDrain.State, ObjectState::Highlighted);
    EXPECT_EQ(goodDrain.State, ObjectState::Normal);
    EXPECT_EQ(looseDrop.State, ObjectState::Normal) << "drops are not checked after drains fail";
    EXPECT_EQ(looseValve.State, ObjectState::Normal);

    looseDrain.NS = 0;
    loop.ClearStates();
    EXPECT_FALSE(loop.CheckConnections());
    EXPECT_EQ(looseDrop.State, ObjectState::Highlighted);
    EXPECT_EQ(looseValve.State, ObjectState::Normal);
}

TEST_F(ConnectionTest, HighlightingASelectedObjectDeselectsIt)
{
    TInlet& inlet = place(loop.Inlets, P(10, 300, 2500));
    loop.Selected = &inlet;
    inlet.State = ObjectState::Selected;
    EXPECT_FALSE(loop.CheckConnections());
    EXPECT_EQ(loop.Selected, nullptr);
    EXPECT_EQ(inlet.State, ObjectState::Highlighted);
}

TEST_F(DesignFixture, WithoutPipesTheFirstNonEmptyKindIsAllHighlighted)
{
    TDrop& a = place(loop.Drops, P(1, 1));
    TDrop& b = place(loop.Drops, P(2, 2));
    TValve& valve = place(loop.Valves, P(3, 3));
    EXPECT_FALSE(loop.CheckConnections());
    EXPECT_TRUE(a.isHighlighted() && b.isHighlighted());
    EXPECT_FALSE(valve.isHighlighted());
}

} // namespace
} // namespace pipeloop::testing
