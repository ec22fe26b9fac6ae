// The symbol stacks of drops and inlets: the hose assembly rule, parts,
// hit rectangles and the drop view's selected symbol.

#include "DesignFixture.h"

namespace pipeloop::testing
{
namespace
{

QStringList keywordsOf(const TObjectWithSymbols& object)
{
    QStringList keywords;
    for (int i = 0; i < object.SymbolCount(); ++i)
        keywords.append(object.SymbolName(i));
    return keywords;
}

TDrop dropWith(const QStringList& keywords)
{
    TDrop drop;
    for (const QString& keyword : keywords)
        drop.AddSymbol(keyword, {}, true);
    return drop;
}

struct InsertCase {
    const char* name;
    QStringList before;
    QString added;
    QStringList after;
};

TEST(SymbolStack, NewSymbolsGoAboveAHoseAssembly)
{
    const QString C = Symbol::Coupler, H = Symbol::AirHose, R = Symbol::RecoilHose;
    const InsertCase cases[] = {
        {"below a hose assembly",
         {Symbol::Regulator, C, H, C},
         Symbol::Filter,
         {Symbol::Regulator, Symbol::Filter, C, H, C}},
        {"hose assembly alone", {C, H, C}, Symbol::Filter, {Symbol::Filter, C, H, C}},
        {"recoil hose too",
         {Symbol::Gauge, C, R, C},
         Symbol::Valve,
         {Symbol::Gauge, Symbol::Valve, C, R, C}},
        {"only two entries", {C, H}, Symbol::Filter, {C, H, Symbol::Filter}},
        {"last is not a coupler",
         {C, R, Symbol::Gauge},
         Symbol::Gauge,
         {C, R, Symbol::Gauge, Symbol::Gauge}},
        {"middle is not a hose",
         {C, Symbol::Valve, C},
         Symbol::Filter,
         {C, Symbol::Valve, C, Symbol::Filter}},
        {"empty stack", {}, Symbol::Frl, {Symbol::Frl}},
    };
    for (const InsertCase& c : cases) {
        TDrop drop = dropWith(c.before);
        drop.AddSymbol(c.added);
        EXPECT_EQ(keywordsOf(drop), c.after) << c.name;
    }
}

TEST(SymbolStack, ForcedAddsAppendAndInsertFirstPrepends)
{
    TDrop drop = dropWith({Symbol::Coupler, Symbol::AirHose, Symbol::Coupler});
    drop.AddSymbol(Symbol::Filter, QStringLiteral("P-1"), true);
    drop.InsertSymbolFirst(Symbol::Gauge);
    EXPECT_EQ(keywordsOf(drop), (QStringList{Symbol::Gauge, Symbol::Coupler, Symbol::AirHose,
                                             Symbol::Coupler, Symbol::Filter}));
    EXPECT_EQ(drop.SymbolPart(4), QStringLiteral("P-1"));
    EXPECT_EQ(drop.SymbolPart(0), QString());
}

TEST(SymbolStack, PartsDeletionAndClearing)
{
    TDrop drop = dropWith({Symbol::Filter, Symbol::Regulator, Symbol::Lubricator});
    drop.SetSymbolPart(1, QStringLiteral("REG-8"));
    EXPECT_EQ(drop.SymbolPart(1), QStringLiteral("REG-8"));
    drop.DeleteSymbol(0);
    EXPECT_EQ(keywordsOf(drop), (QStringList{Symbol::Regulator, Symbol::Lubricator}));
    EXPECT_EQ(drop.SymbolPart(0), QStringLiteral("REG-8")) << "the record moves with its entry";
    EXPECT_EQ(drop.SymbolName(7), QString());
    drop.ClearSymbols();
    EXPECT_EQ(drop.SymbolCount(), 0);
}

TEST(SymbolStack, SymbolAtIsHalfOpen)
{
    TInlet inlet;
    inlet.AddSymbol(Symbol::Filter);
    inlet.AddSymbol(Symbol::Dryer);
    inlet.SetSymbolRect(0, {10, 20, 30, 40});
    inlet.SetSymbolRect(1, {10, 40, 30, 60});
    EXPECT_EQ(inlet.SymbolAt(QPoint(10, 20)), 0) << "left and top inclusive";
    EXPECT_EQ(inlet.SymbolAt(QPoint(29, 39)), 0);
    EXPECT_EQ(inlet.SymbolAt(QPoint(30, 30)), -1) << "right exclusive";
    EXPECT_EQ(inlet.SymbolAt(QPoint(20, 40)), 1) << "bottom exclusive: the next one";
    EXPECT_EQ(inlet.SymbolAt(QPoint(20, 60)), -1);
    EXPECT_EQ(TInlet().SymbolAt(QPoint(0, 0)), -1) << "an empty stack";
}

TEST(SymbolStack, OverlappingRectanglesGiveTheLowerIndex)
{
    TDrop drop = dropWith({Symbol::Filter, Symbol::Gauge});
    drop.SetSymbolRect(0, {0, 0, 50, 50});
    drop.SetSymbolRect(1, {0, 0, 50, 50});
    EXPECT_EQ(drop.SymbolAt(QPoint(5, 5)), 0);
}

class SelectedSymbolTest : public ::testing::Test
{
protected:
    SelectedSymbolTest() : drop(dropWith({Symbol::Filter, Symbol::Regulator, Symbol::Gauge}))
    {
        for (int i = 0; i < 3; ++i)
            drop.SetSymbolRect(i, {0, 100 - 20 * i, 20, 120 - 20 * i});
    }
    TDrop drop;
};

TEST_F(SelectedSymbolTest, SelectingByPointAndReadingIt)
{
    EXPECT_FALSE(drop.HasSelectedSymbol());
    EXPECT_EQ(drop.SelectedSymbolName(), QString());
    drop.SelectSymbolAt(QPoint(5, 85));
    EXPECT_EQ(drop.SelectedSymbol, 1);
    EXPECT_EQ(drop.SelectedSymbolName(), Symbol::Regulator);
    drop.SetSelectedSymbolPart(QStringLiteral("R-1"));
    EXPECT_EQ(drop.SelectedSymbolPart(), QStringLiteral("R-1"));
    drop.SelectSymbolAt(QPoint(500, 500));
    EXPECT_EQ(drop.SelectedSymbol, -1);
    drop.SetSelectedSymbolPart(QStringLiteral("ignored"));
    EXPECT_EQ(drop.SymbolPart(1), QStringLiteral("R-1"));
}

TEST_F(SelectedSymbolTest, MovingUpAndDownFollowsTheEntry)
{
    drop.SelectedSymbol = 0;
    drop.MoveSelectedSymbol(+1);
    EXPECT_EQ(keywordsOf(drop), (QStringList{Symbol::Regulator, Symbol::Filter, Symbol::Gauge}));
    EXPECT_EQ(drop.SelectedSymbol, 1);
    drop.MoveSelectedSymbol(-1);
    EXPECT_EQ(drop.SelectedSymbol, 0);
    EXPECT_EQ(drop.SelectedSymbolName(), Symbol::Filter);
}

TEST_F(SelectedSymbolTest, MovingPastEitherEndDoesNothing)
{
    drop.SelectedSymbol = 2;
    drop.MoveSelectedSymbol(+1);
    EXPECT_EQ(drop.SelectedSymbol, 2);
    EXPECT_EQ(drop.SymbolName(2), Symbol::Gauge);
    drop.SelectedSymbol = 0;
    drop.MoveSelectedSymbol(-1);
    EXPECT_EQ(drop.SymbolName(0), Symbol::Filter);
    drop.SelectedSymbol = -1;
    drop.MoveSelectedSymbol(+1);
    EXPECT_EQ(keywordsOf(drop), (QStringList{Symbol::Filter, Symbol::Regulator, Symbol::Gauge}));
}

TEST_F(SelectedSymbolTest, DeletingTheSelectionAlwaysClearsIt)
{
    drop.SelectedSymbol = 5;
    drop.DeleteSelectedSymbol();
    EXPECT_EQ(drop.SymbolCount(), 3);
    EXPECT_EQ(drop.SelectedSymbol, -1);

    drop.SelectedSymbol = 1;
    drop.DeleteSelectedSymbol();
    EXPECT_EQ(keywordsOf(drop), (QStringList{Symbol::Filter, Symbol::Gauge}));
    EXPECT_EQ(drop.SelectedSymbol, -1);
}

TEST(SymbolKeywords, VocabularyAndHoses)
{
    EXPECT_EQ(AllSymbolKeywords().size(), 21);
    EXPECT_TRUE(AllSymbolKeywords().contains(QStringLiteral("ADAPTOR_FEMALE")));
    EXPECT_TRUE(AllSymbolKeywords().contains(QStringLiteral("FEMALE-TEE")));
    EXPECT_TRUE(IsHoseSymbol(QStringLiteral("AIR-HOSE")));
    EXPECT_TRUE(IsHoseSymbol(QStringLiteral("RECOIL-HOSE")));
    EXPECT_FALSE(IsHoseSymbol(QStringLiteral("COUPLER")));
    EXPECT_FALSE(IsHoseSymbol(QStringLiteral("air-hose"))) << "keywords are upper case";
}

} // namespace
} // namespace pipeloop::testing
