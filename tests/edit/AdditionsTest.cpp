// Adding objects: where each lands and whether it may, additions as undo
// steps, building features, avoidance detours, and what the attribute
// dialogs make of their texts.

#include "Additions.h"
#include "AttributeEntries.h"
#include "EditFixture.h"

#include <algorithm>
#include <array>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

namespace pipeloop::testing
{
namespace
{

// The fixture's loop runs (0,0) -> (0,5000) -> (2000,5000) -> (2000,0) -> (0,0).
class AdditionsTest : public EditFixture
{
protected:
    Position placed(const Position& clicked, bool allowSpurEnd = false)
    {
        const Parsed<Position> at = PipePlacement(*design, clicked, allowSpurEnd);
        EXPECT_TRUE(at.ok()) << at.error().toStdString();
        return at.valueOr({});
    }
    TSpur& addSpur(const Position& start, const Position& end)
    {
        NewPipe pipe;
        pipe.Start = PipeStartPlacement(*design, start, PipeKind::Spur).value();
        pipe.End = PipeEndPlacement(*design, end).value();
        pipe.PipeSize = 25.0f;
        EXPECT_TRUE(AddPipe(document, pipe));
        return *design->Spurs.back();
    }
    // Five elbows of the loop from `from` on, as (NS, EW, vertical drop).
    std::vector<std::array<int32_t, 3>> loopFrom(size_t from) const
    {
        std::vector<std::array<int32_t, 3>> loop;
        for (size_t i = from; i < std::min(from + 5, design->Elbows.size()); ++i)
            loop.push_back(
                {design->Elbows[i]->NS, design->Elbows[i]->EW, design->Elbows[i]->VerticalDrop});
        return loop;
    }
};

TEST_F(AdditionsTest, OccupancyIsCheckedWhereTheObjectWillStand)
{
    const QString occupied = QStringLiteral("Position is already occupied by : VALVE1");
    ASSERT_TRUE(AddValve(document, placed(P(-3, 1000, -1))));
    EXPECT_EQ(design->Valves[0]->position(), P(0, 1000, 2500));

    // Clicked 5 mm off the pipe, beside the valve: snapped onto it, so refused.
    EXPECT_EQ(PipePlacement(*design, P(5, 1000, -1)).error(), occupied);
    EXPECT_EQ(PipePlacement(*design, P(4, 1000, -1), true).error(), occupied);

    // A spur starts on a spur's end but does not end on one; a drop may stand there.
    addSpur(P(10, 3000, -1), P(1500, 3000, -1));
    EXPECT_EQ(design->Spurs[0]->position(), P(0, 3000, 2500));
    EXPECT_EQ(PipeStartPlacement(*design, P(1500, 3003, -1), PipeKind::Spur).value(),
              P(1500, 3000, 2500));
    EXPECT_EQ(PipeEndPlacement(*design, P(1500, 3000, -1)).error(),
              QStringLiteral("Only drops/spurs can be positioned at spur ends."));
    EXPECT_EQ(PipePlacement(*design, P(1500, 3000, -1)).error(),
              QStringLiteral("Only drops/spurs can be positioned at spur ends."));
    EXPECT_TRUE(PipePlacement(*design, P(1500, 3000, -1), true));

    // Paste New Drop: refused without a copy, and onto the valve.
    EXPECT_EQ(PasteDrop(document, P(0, 4000, -1)).message(),
              QStringLiteral("No drop has been copied."));
    TDrop& drop = addDrop(P(0, 2000));
    document.select(drop);
    ASSERT_TRUE(document.copySelectedDrop());
    EXPECT_EQ(PasteDrop(document, P(6, 1000, -1)).message(), occupied);
    EXPECT_EQ(design->Drops.size(), 1u);
    EXPECT_TRUE(PasteDrop(document, P(6, 4000, -1)));
    EXPECT_EQ(design->Drops.back()->position(), P(0, 4000, 2500));
}

TEST_F(AdditionsTest, EveryAdditionIsOneUndoStepThatRedoRestores)
{
    struct Case {
        const char* name;
        std::function<void()> add;
        std::function<const TPipeLoopObject*()> last;
    };
    const auto lastOf = [](const auto& list) -> const TPipeLoopObject* {
        return list.empty() ? nullptr : list.back().get();
    };
    const Case cases[] = {
        {"DROP1",
         [&] {
             auto drop = NewDrop(*design);
             EXPECT_EQ(drop->PipeLen, 2500);
             EXPECT_TRUE(AddDrop(document, std::move(drop), placed(P(9, 500, -1), true)));
         },
         [&] { return lastOf(design->Drops); }},
        {"VALVE1", [&] { EXPECT_TRUE(AddValve(document, placed(P(0, 1500, -1)))); },
         [&] { return lastOf(design->Valves); }},
        {"DRAIN1",
         [&] { EXPECT_TRUE(AddDrain(document, placed(P(500, 5010, -1)), true, 20.0f, 1200)); },
         [&] { return lastOf(design->Drains); }},
        {"INLET1", [&] { EXPECT_TRUE(AddInlet(document, placed(P(1990, 2500, -1)), 25.0f, 3000)); },
         [&] { return lastOf(design->Inlets); }},
        {"SPUR1", [&] { addSpur(P(700, 0, -1), P(700, 1500, -1)); },
         [&] { return lastOf(design->Spurs); }},
        {"Press",
         [&] {
             NewFeature press;
             press.Corner1 = P(1500, 4000);
             press.Corner2 = P(1000, 3000);
             press.Label = QStringLiteral("Press");
             EXPECT_TRUE(AddFeature(document, press));
         },
         [&] { return lastOf(design->BuildFeatures); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int steps = document.undoStack().count();
        c.add();
        const TPipeLoopObject* added = c.last();
        ASSERT_NE(added, nullptr);
        EXPECT_EQ(added->Name, QString::fromLatin1(c.name));
        EXPECT_EQ(document.undoStack().count(), steps + 1);
        EXPECT_EQ(document.selected(), nullptr);
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(c.last(), nullptr);
        ASSERT_TRUE(document.redo());
        EXPECT_EQ(c.last(), added);
        EXPECT_EQ(c.last()->Name, QString::fromLatin1(c.name));
    }
    EXPECT_FALSE(design->Drains[0]->Manual);
    EXPECT_EQ(design->Drains[0]->position(), P(500, 5000, 2500));
    EXPECT_EQ(design->Inlets[0]->PipeLength, 3000);
}

TEST_F(AdditionsTest, FeatureCornersAreStoredOrderedAndZeroSizeIsRefused)
{
    NewFeature dryer;
    dryer.Type = QStringLiteral("DRYER");
    dryer.Height = 1500;
    dryer.Corner1 = P(1800, 4000); // south-east first
    dryer.Corner2 = P(1200, 3500);
    ASSERT_TRUE(AddFeature(document, dryer));
    const TBuildFeature& stored = *design->BuildFeatures.back();
    EXPECT_EQ(std::make_tuple(stored.P1NS, stored.P1EW, stored.P2NS, stored.P2EW),
              std::make_tuple(1200, 3500, 1800, 4000));
    EXPECT_EQ(stored.Feature, QStringLiteral("DRYER"));
    EXPECT_EQ(stored.Height, 1500);

    const QString zero = QStringLiteral("Feature dimensions zero, feature not added.");
    for (const Position& corner2 : {P(1800, 3000), P(1000, 4000)}) {
        dryer.Corner2 = corner2;
        EXPECT_EQ(AddFeature(document, dryer).message(), zero);
    }
    EXPECT_EQ(design->BuildFeatures.size(), 1u);
}

TEST_F(AdditionsTest, AvoidanceDetoursDropBetweenTwoPointsOfThePipeBeforeTheElbow)
{
    const QString notElbow =
        QStringLiteral("To add building avoidance pipe loop elbows\r\n"
                       "you must select the elbow after the location required.");
    EXPECT_EQ(CheckAvoidanceElbow(*design).message(), notElbow);
    document.select(addDrop(P(0, 1000)));
    EXPECT_EQ(CheckAvoidanceElbow(*design).message(), notElbow);
    document.select(*design->Elbows[0]);
    EXPECT_FALSE(CheckAvoidanceElbow(*design));
    EXPECT_NE(CheckAvoidanceElbow(*design).message(), notElbow);

    // ELBOW3 at (2000, 5000) ends the pipe from ELBOW2 at (0, 5000).
    TElbow* selected = design->Elbows[2].get();
    document.select(*selected);
    const QString offPipe =
        QStringLiteral("Select a point on the pipe that ends at the selected elbow.");
    for (const Position& off : {P(100, 3000, -1), P(1000, 0, -1), P(0, 5000, -1)})
        EXPECT_EQ(AvoidancePoint(*design, off).error(), offPipe);
    const Position a = AvoidancePoint(*design, P(500, 5030, -1)).value();
    const Position b = AvoidancePoint(*design, P(1500, 4990, -1)).value();
    EXPECT_EQ(a, P(500, 5000, 2500));

    // Either click order: the point nearer the elbow is next to it, and the
    // loop drops by the distance between the two.
    const std::vector<std::array<int32_t, 3>> detour = {
        {500, 5000, 0}, {500, 5000, 700}, {1500, 5000, 700}, {1500, 5000, 0}, {2000, 5000, 0}};
    for (const auto& [first, second] : {std::pair{a, b}, std::pair{b, a}}) {
        document.select(*selected);
        const int steps = document.undoStack().index();
        ASSERT_TRUE(AddAvoidance(document, first, second, 700));
        EXPECT_EQ(loopFrom(2), detour);
        EXPECT_EQ(document.undoStack().index(), steps + 1);
        EXPECT_EQ(document.selected(), nullptr);
        for (size_t i = 2; i < 6; ++i) {
            EXPECT_EQ(design->Elbows[i]->Name, QStringLiteral("ELBOW6"));
            EXPECT_EQ(design->Elbows[i]->HG, 2500);
        }
        ASSERT_TRUE(document.undo());
        EXPECT_EQ(design->Elbows.size(), 5u);
        EXPECT_EQ(design->Elbows[2].get(), selected);
    }
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(loopFrom(2), detour);
    document.select(*selected);
    EXPECT_EQ(AddAvoidance(document, a, a, 700).message(),
              QStringLiteral("Select two different points on the pipe."));
}

TEST_F(AdditionsTest, TheDropDialogShowsTheDropsOwnStateAndCountsEveryChange)
{
    const DisplayUnits mm = DisplayUnits::Millimetres;
    TDrop hosed;
    DropEntry entry = DropEntryOf(hosed, mm);
    entry.Connection = HoseConnection::AirHose;
    ASSERT_TRUE(ApplyDropEntry(hosed, entry, mm).value()) << "added symbols are a change";
    EXPECT_EQ(hosed.SymbolCount(), 3);
    EXPECT_EQ(hosed.SymbolName(1), QStringLiteral("AIR-HOSE"));
    EXPECT_EQ(DropEntryOf(hosed, mm).Connection, HoseConnection::AirHose);

    // Another drop opens with its own (bare) state: no hose group leaks in.
    TDrop bare;
    entry = DropEntryOf(bare, mm);
    EXPECT_EQ(entry.Connection, HoseConnection::None);
    EXPECT_EQ(entry.Length, QStringLiteral("0mm"));
    EXPECT_FALSE(ApplyDropEntry(bare, entry, mm).value());
    EXPECT_EQ(bare.SymbolCount(), 0);

    // The hose group goes only onto a drop without symbols.
    bare.AddSymbol(QStringLiteral("VALVE"));
    entry.Connection = HoseConnection::RecoilHose;
    EXPECT_FALSE(ApplyDropEntry(bare, entry, mm).value());
    EXPECT_EQ(bare.SymbolCount(), 1);

    // The hose size counts, read for a threaded drop with a hose.
    entry = DropEntryOf(hosed, mm);
    entry.HoseSize = QStringLiteral("1/2\"");
    EXPECT_TRUE(ApplyDropEntry(hosed, entry, mm).value());
    EXPECT_FLOAT_EQ(hosed.HoseSize, 12.7f);
    EXPECT_FALSE(ApplyDropEntry(hosed, entry, mm).value());

    // Refusals leave the drop as it was.
    struct Refusal {
        int style;
        const char* length;
        const char* outlet;
        const char* hoseSize;
        const char* message;
    };
    for (const Refusal& r : {Refusal{0, "abc", "25mm", "1/4\"", "Height invalid."},
                             Refusal{0, "-5", "25mm", "1/4\"", "Height invalid."},
                             Refusal{1, "1200", "", "1/4\"", "Outlet size invalid."},
                             Refusal{4, "1200", "25mm", "x", "Hose size invalid."}}) {
        entry = DropEntryOf(hosed, mm);
        entry.Style = r.style;
        entry.Length = QString::fromLatin1(r.length);
        entry.Outlet = QString::fromLatin1(r.outlet);
        entry.HoseSize = QString::fromLatin1(r.hoseSize);
        EXPECT_EQ(ApplyDropEntry(hosed, entry, mm).error(), QString::fromLatin1(r.message));
    }
    EXPECT_EQ(DropEntryOf(hosed, mm).Style, 0);
    EXPECT_EQ(hosed.PipeLen, 0);

    // A tee drop reads no hose size; style and length, in the design's units, are changes.
    entry.Style = 1;
    entry.Length = QStringLiteral("1.25");
    entry.Outlet = QStringLiteral("20");
    EXPECT_TRUE(ApplyDropEntry(hosed, entry, DisplayUnits::Metres).value());
    EXPECT_EQ(hosed.Style, DropStyle::Tee);
    EXPECT_EQ(hosed.PipeLen, 1250);

    const QString zavoza = QStringLiteral("The drop style you have chosen is not supported by "
                                          "ZAVOZA\r\n\nYou may continue but part list "
                                          "generation may fail.");
    EXPECT_EQ(DropStyleWarning(3, QStringLiteral("ZAVOZA")), zavoza);
    EXPECT_EQ(DropStyleWarning(4, QStringLiteral("ZAVOZA")), zavoza);
    EXPECT_TRUE(DropStyleWarning(5, QStringLiteral("ZAVOZA")).isEmpty());
}

TEST_F(AdditionsTest, InletAndPositionEntriesReadLengthsInTheDesignsUnits)
{
    const Parsed<InletValues> inlet =
        ReadInletEntry(QStringLiteral("3/4\""), QStringLiteral("2.5"), DisplayUnits::Metres);
    EXPECT_FLOAT_EQ(inlet.value().PipeSize, 19.05f);
    EXPECT_EQ(inlet.value().PipeLength, 2500);
    EXPECT_EQ(
        ReadInletEntry(QStringLiteral("big"), QStringLiteral("1"), DisplayUnits::Metres).error(),
        QStringLiteral("Invalid pipe size : big"));
    EXPECT_EQ(
        ReadInletEntry(QStringLiteral("25mm"), QStringLiteral("-1"), DisplayUnits::Metres).error(),
        QStringLiteral("Invalid pipe length : -1"));

    struct Case {
        DisplayUnits units;
        const char* texts[3];
        Position read;
    };
    for (const Case& c :
         {Case{DisplayUnits::Metres, {"1.5", "2", "0.25"}, P(2000, 1500, 250)},
          Case{DisplayUnits::Millimetres, {"1500", "2m", "250"}, P(2000, 1500, 250)},
          Case{DisplayUnits::FeetInches, {"5'", "1'6\"", "10"}, P(457, 1524, 3048)}}) {
        const Parsed<Position> read =
            ReadPositionEntry(QString::fromLatin1(c.texts[0]), QString::fromLatin1(c.texts[1]),
                              QString::fromLatin1(c.texts[2]), c.units);
        ASSERT_TRUE(read) << read.error().toStdString();
        EXPECT_EQ(read.value(), c.read);
    }
    EXPECT_EQ(ReadPositionEntry(QStringLiteral("1"), QStringLiteral("two"), QStringLiteral("x"),
                                DisplayUnits::Metres)
                  .error(),
              QStringLiteral("Invalid value : two"));
}

} // namespace
} // namespace pipeloop::testing
