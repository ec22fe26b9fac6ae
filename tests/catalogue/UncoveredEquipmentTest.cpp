#include "UncoveredEquipment.h"
#include "PartsListTestSupport.h"

#include <utility>
#include <vector>

namespace pipeloop::testing
{

using catalogue::GenerationOutcome;
using catalogue::UncoveredDropEquipment;
using catalogue::UncoveredEquipmentLines;
using catalogue::UncoveredSymbol;

TEST_F(PartsListTest, EquipmentNoOrderedPartCoversIsCountedBySymbolName)
{
    Rectangle(6000, 3000);
    // Two FRLs and a gauge nobody supplies, a valve at the foot of its stack;
    // the manifold, the adapter and the valve above it come from the vendor.
    Drop(P(0, 1000, Height), DropStyle::Female, 12.7f, 0, {Symbol::Frl, Symbol::Gauge});
    Drop(P(0, 2000, Height), DropStyle::Female, 12.7f, 0, {Symbol::Valve, Symbol::Frl});
    TInlet& inlet = Inlet(P(0, 3000, Height), 25.0f, 0,
                          {Symbol::Filter, Symbol::FourPortOutlet, Symbol::Valve, Symbol::Frl});
    // The filter's own vendor part is ordered; the FRL's maker is not the vendor.
    inlet.SetSymbolPart(0, QStringLiteral("TINYMAKER:OLD-32"));
    inlet.SetSymbolPart(3, QStringLiteral("ACME:123"));
    // A drop with a package is ordered as a whole.
    TDrop& kit = Drop(P(0, 4000, Height), DropStyle::Tee, 20.0f, 0, {Symbol::Frl});
    kit.PartPackage = QStringLiteral("KIT-1");
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);

    const std::vector<UncoveredSymbol> uncovered =
        UncoveredDropEquipment(design, Parts(), database->Maker());
    EXPECT_EQ(UncoveredEquipmentLines(uncovered),
              QStringList({QStringLiteral("3 x FRL"), QStringLiteral("1 x GAUGE"),
                           QStringLiteral("1 x VALVE")}));

    // An assigned vendor part that never reached the list does not cover its symbol.
    EXPECT_EQ(UncoveredEquipmentLines(UncoveredDropEquipment(design, {}, database->Maker())),
              QStringList({QStringLiteral("3 x FRL"), QStringLiteral("1 x GAUGE"),
                           QStringLiteral("1 x VALVE"), QStringLiteral("1 x FILTER")}));
    design.Drops.clear();
    design.Inlets.clear();
    EXPECT_TRUE(UncoveredDropEquipment(design, Parts(), database->Maker()).empty());
}

TEST_F(PartsListTest, ProgressCountsObjectsWalkedUpToTheTotal)
{
    Rectangle(6000, 3000);
    Drop(P(0, 1000, Height), DropStyle::Tee, 20.0f, 1500);
    Drop(P(0, 2000, Height), DropStyle::Tee, 20.0f, 1500);
    generator = std::make_unique<catalogue::TPartsListGenerator>(design, *database);
    std::vector<std::pair<int64_t, int64_t>> told;
    generator->SetProgress(
        [&told](int64_t walked, int64_t total) { told.emplace_back(walked, total); });
    ASSERT_EQ(generator->Generate(options), GenerationOutcome::Completed);

    // Five corners (the closing one repeats the first) and two drops.
    ASSERT_FALSE(told.empty());
    EXPECT_EQ(told.back(), std::make_pair(int64_t(7), int64_t(7)));
    for (size_t i = 1; i < told.size(); ++i) {
        EXPECT_LE(told[i - 1].first, told[i].first);
        EXPECT_LE(told[i].first, told[i].second);
    }
    EXPECT_LT(told.front().first, 7);

    // A cancel from inside the walk leaves the progress short of the total.
    told.clear();
    generator->SetYield([this] { generator->Cancel(); });
    EXPECT_EQ(generator->Generate(options), GenerationOutcome::Cancelled);
    EXPECT_LT(told.back().first, told.back().second);
}

} // namespace pipeloop::testing
