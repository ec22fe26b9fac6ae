// Pipe cutting and waste: which offcut a piece is cut from, what is
// ordered, and the waste report.

#include "PipeCutting.h"
#include "CatalogueTestSupport.h"
#include "PartsDatabase.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <random>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

// The generation's side of cutting: 6 m pipes of 25 and 32 mm, a straight
// connector of 25 mm only; records and log lines kept in order.
class Cutting : public CuttingContext
{
public:
    Cutting()
        : database(DatabaseFromText(QStringLiteral("[CATALOGUE]\r\nSUP=CUT\r\n"
                                                   "[P25]\r\nTYP=PIPE\r\nOD1=25\r\nLEN=6000\r\n"
                                                   "[P32]\r\nTYP=PIPE\r\nOD1=32\r\nLEN=6000\r\n"
                                                   "[S25]\r\nTYP=CONNECTOR\r\nOD1=25\r\n")))
    {
    }
    const TPartObject* SelectPipe(float size) override { return database->Pipe(0, 6000, size); }
    const TPartObject* SelectConnector(float size) override { return database->Connector(0, size); }
    bool Confirm(const TPartObject* part, TPipeLoopObject*, const QString& extra) override
    {
        if (!part)
            confirmFailures.append(extra + u'|' + database->NextError());
        return part != nullptr;
    }
    void Record(const TPartObject& part, const QString& description) override
    {
        records.append(part.PartKey() + u' ' + description);
    }
    void Log(const QString& line) override { log.append(line); }
    DisplayUnits Units() const override { return units; }

    std::unique_ptr<TPartsDatabase> database;
    DisplayUnits units = DisplayUnits::Millimetres;
    QStringList records;
    QStringList log;
    QStringList confirmFailures;
};

std::vector<TPipeWaste> Offcuts(std::initializer_list<int32_t> lengths, float size = 25.0f)
{
    std::vector<TPipeWaste> list;
    for (int32_t length : lengths)
        list.push_back({length, size});
    return list;
}

} // namespace

TEST(PipeCuttingTest, SecondPieceIsCutFromTheFirstOffcut)
{
    ScopedLocale locale(PoundFacts());
    Cutting context;
    TPipeCutter cutter;
    cutter.AddPiece(context, 2500, nullptr, false, QString(), 25.0f);
    cutter.AddPiece(context, 3000, nullptr, false, QString(), 25.0f);
    EXPECT_EQ(context.records, QStringList(QStringLiteral("P25 25mm x 2500mm PIPE")));
    EXPECT_EQ(context.log, QStringList(QStringLiteral("      P25 25mm x 3000mm PIPE from waste")));
    EXPECT_EQ(cutter.Waste(), Offcuts({500}));
}

TEST(PipeCuttingTest, OffcutWithTheLeastLeftoverWinsAndTheEarlierOnTies)
{
    TPipeCutter cutter;
    cutter.AddWaste(3500, 25.0f);
    cutter.AddWaste(1200, 25.0f);
    EXPECT_TRUE(cutter.TakeFromWaste(1000, 25.0f));
    EXPECT_EQ(cutter.Waste(), Offcuts({3500, 200}));

    TPipeCutter exact;
    exact.AddWaste(1200, 25.0f);
    exact.AddWaste(1000, 25.0f);
    EXPECT_TRUE(exact.TakeFromWaste(1000, 25.0f));
    EXPECT_EQ(exact.Waste(), Offcuts({1200}));

    TPipeCutter ties;
    ties.AddWaste(1500, 25.0f);
    ties.AddWaste(900, 25.0f);
    ties.AddWaste(1500, 25.0f);
    EXPECT_TRUE(ties.TakeFromWaste(1000, 25.0f));
    EXPECT_EQ(ties.Waste(), Offcuts({500, 900, 1500}));
    // A shortened offcut keeps its place in the list.
    EXPECT_TRUE(ties.TakeFromWaste(400, 25.0f));
    EXPECT_EQ(ties.Waste(), Offcuts({100, 900, 1500}));
}

TEST(PipeCuttingTest, OffcutsNeverCrossSizesAndNeverSupplyTooLongAPiece)
{
    TPipeCutter cutter;
    cutter.AddWaste(5000, 32.0f);
    EXPECT_FALSE(cutter.TakeFromWaste(1000, 25.0f));
    EXPECT_FALSE(cutter.TakeFromWaste(5001, 32.0f));
    EXPECT_TRUE(cutter.TakeFromWaste(5000, 32.0f));
    EXPECT_TRUE(cutter.WasteEmpty());
    EXPECT_FALSE(cutter.TakeFromWaste(1, 32.0f));
}

TEST(PipeCuttingTest, WholeStockPiecesAreOrderedAndLeaveNothing)
{
    ScopedLocale locale(PoundFacts());
    Cutting context;
    TPipeCutter cutter;
    cutter.AddWaste(6000, 25.0f); // even an offcut of the full length is not used
    cutter.AddPiece(context, 6000, nullptr, true, QString(), 25.0f);
    // One millimetre over the stock (a rounded diagonal) is a whole pipe too.
    cutter.AddPiece(context, 6001, nullptr, false, QString(), 25.0f);
    cutter.AddPiece(context, 0, nullptr, true, QString(), 25.0f); // nothing at all
    EXPECT_EQ(context.records,
              QStringList({QStringLiteral("P25 25mm x 6000mm PIPE"), QStringLiteral("S25 STRAIGHT"),
                           QStringLiteral("P25 25mm x 6000mm PIPE")}));
    EXPECT_EQ(cutter.Waste(), Offcuts({6000}));
}

TEST(PipeCuttingTest, MissingPipeOrConnectorIsConfirmedWithThePlace)
{
    ScopedLocale locale(PoundFacts());
    Cutting context;
    TPipeCutter cutter;
    cutter.AddPiece(context, 1000, nullptr, true, QStringLiteral("ELBOW-END"), 40.0f);
    cutter.AddPiece(context, 1000, nullptr, true, QStringLiteral("ELBOW-END"), 32.0f);
    EXPECT_EQ(
        context.confirmFailures,
        QStringList({QStringLiteral("ELBOW-END|CUT parts pipe size not found : 6000mm x 40mm"),
                     QStringLiteral("|CUT parts pipe connector not found : 32mm")}));
    EXPECT_EQ(context.records, QStringList(QStringLiteral("P32 32mm x 1000mm PIPE")));
}

TEST(PipeCuttingTest, WasteDetailsListOffcutsAboveFiveMillimetresInTheDesignsUnits)
{
    ScopedLocale locale(PoundFacts());
    TPipeCutter cutter;
    cutter.AddWaste(5, 25.0f);
    EXPECT_EQ(cutter.WasteDetails(DisplayUnits::Millimetres),
              QStringList({QString(), QStringLiteral("Waste Details ...")}));
    cutter.AddWaste(1250, 19.05f);
    cutter.AddWaste(6, 25.0f);
    EXPECT_EQ(cutter.WasteDetails(DisplayUnits::Metres),
              QStringList({QString(), QStringLiteral("Waste Details ..."),
                           QStringLiteral("3/4\" x 1.250m"), QStringLiteral("25mm x 0.006m")}));
    EXPECT_EQ(cutter.WasteDetails(DisplayUnits::FeetInches).at(2), QStringLiteral("3/4\" x 4'1\""));
    // The small offcut still supplies a piece.
    EXPECT_TRUE(cutter.TakeFromWaste(5, 25.0f));
    cutter.ClearWaste();
    EXPECT_TRUE(cutter.WasteEmpty());
}

TEST(PipeCuttingTest, ChoiceMatchesALiteralScanOfTheList)
{
    // The offcut scan, written out: least leftover, earlier on ties, an exact
    // length ends the search.
    const auto literal = [](std::vector<TPipeWaste>& list, int32_t length, float size) {
        int best = -1;
        for (size_t i = 0; i < list.size(); ++i) {
            if (list[i].size != size || list[i].length < length)
                continue;
            if (best < 0 || list[i].length - length < list[size_t(best)].length - length)
                best = int(i);
            if (list[i].length == length)
                break;
        }
        if (best < 0)
            return false;
        list[size_t(best)].length -= length;
        if (list[size_t(best)].length == 0)
            list.erase(list.begin() + best);
        return true;
    };
    std::mt19937 random(8);
    for (int round = 0; round < 50; ++round) {
        TPipeCutter cutter;
        std::vector<TPipeWaste> model;
        for (int step = 0; step < 200; ++step) {
            const float size = (random() % 3 == 0) ? 32.0f : 25.0f;
            const auto length = static_cast<int32_t>(random() % 60 * 100 + 100);
            if (random() % 2) {
                cutter.AddWaste(length, size);
                model.push_back({length, size});
            } else {
                ASSERT_EQ(cutter.TakeFromWaste(length, size), literal(model, length, size));
            }
        }
        ASSERT_EQ(cutter.Waste(), model);
    }
}
