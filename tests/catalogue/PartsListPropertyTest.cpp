// The generator jumps from event to event along a run; the rules define the
// result by a walk in 1 mm steps. On a few hundred random designs (loops with
// 90- and 45-degree corners, chamfers, avoidance detours, spurs of spurs, end
// to end and across the building, every drop style, packages, symbol stacks,
// compressor houses) the two must give the same part list, status log, waste,
// messages, highlights and report.

#include "CatalogueTestSupport.h"
#include "Clock.h"
#include "PartsListDesigns.h"
#include "PartsListTestSupport.h"
#include "ReferenceRunWalk.h"
#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

struct Result {
    GenerationOutcome outcome = GenerationOutcome::Completed;
    QStringList parts;
    QStringList log;
    std::vector<TPipeWaste> waste;
    QStringList messages;
    QStringList highlighted;
    QStringList report;
    QString spreadsheet;
};

template <typename Generator>
Result Generated(TPipeLoop& design, TPartsDatabase& database, const PartsListOptions& options)
{
    ScriptedUi ui;
    design.ClearStates();
    Generator generator(design, database);
    Result result;
    result.outcome = generator.Generate(options);
    result.parts = generator.PartList();
    result.log = generator.StatusLog();
    result.waste = generator.Waste();
    result.messages = ui.texts();
    design.ForEachObject([&](const TPipeLoopObject& object) {
        if (object.isHighlighted())
            result.highlighted.append(object.Name);
    });
    result.report = generator.Report().LineTexts();
    result.spreadsheet = ReportSpreadsheetText(generator.Report());
    return result;
}

// The first line where two lists part, for a readable failure.
QString FirstDifference(const QStringList& a, const QStringList& b)
{
    for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a.at(i) != b.at(i))
            return QStringLiteral("line %1: '%2' against '%3'")
                .arg(i)
                .arg(i < a.size() ? a.at(i) : QStringLiteral("(none)"),
                     i < b.size() ? b.at(i) : QStringLiteral("(none)"));
    return {};
}

} // namespace

TEST(PartsListPropertyTest, JumpWalkEqualsTheMillimetreWalkOnRandomDesigns)
{
    ScriptedUi loading;
    ScopedLocale locale(PoundFacts());
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);
    TPartsDatabase database;
    database.LoadContainer(DemoContainerPath());
    ASSERT_TRUE(database.IsUsable());

    int completed = 0, withDiagonals = 0, withDetours = 0, houses = 0, withHoses = 0;
    constexpr uint32_t Designs = 300;
    for (uint32_t seed = 1; seed <= Designs; ++seed) {
        TPipeLoopOptions designOptions;
        TPipeLoop design(designOptions);
        PartsListOptions options;
        RandomDesign(seed).Build(design, options);

        const Result reference = Generated<ReferenceGenerator>(design, database, options);
        const Result jump = Generated<TPartsListGenerator>(design, database, options);
        SCOPED_TRACE(QStringLiteral("seed %1").arg(seed).toStdString());
        ASSERT_EQ(jump.log, reference.log)
            << FirstDifference(jump.log, reference.log).toStdString();
        ASSERT_EQ(jump.parts, reference.parts);
        ASSERT_EQ(jump.waste, reference.waste);
        ASSERT_EQ(jump.messages, reference.messages);
        ASSERT_EQ(jump.highlighted, reference.highlighted);
        ASSERT_EQ(jump.report, reference.report);
        ASSERT_EQ(jump.spreadsheet, reference.spreadsheet);
        ASSERT_EQ(jump.outcome, reference.outcome);

        completed += jump.outcome == GenerationOutcome::Completed;
        houses += design.CompressorHouse;
        withDetours += jump.log.join(u'\n').contains(QStringLiteral("FOR AVOIDANCE"));
        withDiagonals += jump.log.join(u'\n').contains(QStringLiteral("CONNECTOR-45"));
        withHoses += jump.log.join(u'\n').contains(QStringLiteral("mm air hose"));
    }
    Clock::install(nullptr);
    // The designs reach the deep rules, not only the early stops.
    EXPECT_GE(completed, int(Designs) / 3);
    EXPECT_GE(withDiagonals, 30);
    EXPECT_GE(withDetours, 30);
    EXPECT_GE(houses, 10);
    EXPECT_GE(withHoses, 10);
    std::printf("[ designs ] %u: %d completed, %d with chamfers, %d with detours, %d houses, "
                "%d with hose lines\n",
                Designs, completed, withDiagonals, withDetours, houses, withHoses);
}

// Between two objects the jump walk walks one period of clips and stock pipes
// and counts the others. Short stock lengths make such periods short enough
// for the millimetre walk to follow: long square-on and diagonal runs,
// objects at odd places, long legs and risers, a discontinued straight whose
// caution must come once per straight.
TEST(PartsListPropertyTest, LongStretchesCountedByPeriodEqualTheMillimetreWalk)
{
    ScriptedUi loading;
    ScopedLocale locale(PoundFacts());
    FixedClock clock(QDateTime(QDate(2025, 6, 1), QTime(12, 0)));
    Clock::install(&clock);
    QString shortPipes;
    for (const int length : {250, 300})
        for (const int size : {20, 25})
            shortPipes += QStringLiteral("[P%1-%2]\r\nTYP=PIPE\r\nOD1=%1\r\nLEN=%2\r\nATR=BLUE\r\n")
                              .arg(size)
                              .arg(length);
    const auto database =
        DatabaseFromText(QStringLiteral("[OLD-S25]\r\nTYP=CONNECTOR\r\nOD1=25\r\nEOL=1\r\n") +
                         TinyCatalogueText(ExtraParts() + shortPipes));

    for (const int32_t stock : {250, 300}) {
        SCOPED_TRACE(stock);
        TPipeLoopOptions designOptions;
        TPipeLoop design(designOptions);
        design.PipeSize = 25.0f;
        design.Height = 3000;
        DesignBuilder b(design);
        const int32_t width = 1'500'000, depth = 1'000'000, chamfer = 900'001;
        for (const auto& [ns, ew] : {std::pair{0, 0},
                                     {0, width - chamfer},
                                     {chamfer, width},
                                     {depth, width},
                                     {depth, 0},
                                     {0, 0}})
            b.Corner(ns, ew);
        b.Drop({0, 123'457, 3000}, DropStyle::Tee, 20.0f, 99'999);
        b.Drop({777'777, width - chamfer + 777'777, 3000}, DropStyle::Female, 12.7f, 0);
        TSpur& spur = b.Spur({depth, 654'321, 3000}, depth - 100'003, 654'321, 25.0f, 3'001);
        b.Valve({depth - 54'321, 654'321, spur.PipeHeight()});
        b.Drain({765'432, 0, 3000}, 25.0f, 2'500);
        PartsListOptions options;
        options.stockLength = stock;

        const Result reference = Generated<ReferenceGenerator>(design, *database, options);
        const Result jump = Generated<TPartsListGenerator>(design, *database, options);
        ASSERT_EQ(jump.outcome, GenerationOutcome::Completed)
            << jump.messages.join(u'\n').toStdString();
        ASSERT_EQ(jump.log, reference.log)
            << FirstDifference(jump.log, reference.log).toStdString();
        EXPECT_EQ(jump.parts, reference.parts);
        EXPECT_EQ(jump.waste, reference.waste);
        EXPECT_EQ(jump.messages, reference.messages);
        EXPECT_EQ(jump.report, reference.report);
        // Recorded many thousand times, cautioned once.
        EXPECT_EQ(jump.messages.count(QStringLiteral("Caution, part is end of line:\r\nOLD-S25")),
                  1);
    }
    Clock::install(nullptr);
}

// The walk looks the design up in tables built once; they must answer as the
// design's own scans do, at the objects, along and beside every pipe, and for
// pipes at any angle (rounding puts some points beside a diagonal on it).
TEST(PartsListPropertyTest, DesignIndexAnswersAsTheDesign)
{
    std::mt19937 random(7);
    // One index, rebuilt for every design, as a generator rebuilds its own:
    // nothing of an earlier design may answer.
    DesignIndex index;
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        TPipeLoopOptions designOptions;
        TPipeLoop design(designOptions);
        PartsListOptions options;
        RandomDesign(seed).Build(design, options);
        DesignBuilder b(design);
        b.Spur({0, 1, design.Height}, 10, 11, 25.0f);
        b.Spur({40, 0, design.Height}, 30, 10, 25.0f);
        b.Spur({0, 3, design.Height}, 7, 1000, 25.0f);
        b.Spur({2, 2, design.Height}, 2, 2, 25.0f);
        index.Build(design);

        std::vector<Position> probes;
        design.ForEachObject([&](const TPipeLoopObject& object) {
            probes.push_back(object.position());
            if (object.Kind() == ObjectKind::Spur)
                probes.push_back(static_cast<const TSpur&>(object).endPosition());
        });
        std::vector<DesignPipe> pipes = b.LoopPipes();
        for (const auto& spur : design.Spurs)
            pipes.push_back(DesignBuilder::PipeOf(*spur));
        for (const DesignPipe& pipe : pipes)
            for (int i = 0; i < 8; ++i) {
                const int64_t steps = std::max<int64_t>(pipe.Steps(), 1);
                const Position on =
                    pipe.At(std::uniform_int_distribution<int64_t>(-1, steps + 1)(random));
                for (const auto& [dNS, dEW] : {std::pair{0, 0}, {1, 0}, {0, 1}, {-1, 0}, {0, -1}})
                    probes.push_back({on.NS + dNS, on.EW + dEW, on.HG});
            }

        SCOPED_TRACE(seed);
        for (const Position& p : probes) {
            ASSERT_EQ(index.IsOnLoop(p), design.IsOnLoop(p)) << p.NS << ',' << p.EW;
            ASSERT_EQ(index.SpurAt(p, nullptr), design.SpurAt(p, nullptr)) << p.NS << ',' << p.EW;
            ASSERT_EQ(index.ObjectAt(p), design.ObjectAt(p, false));
            ASSERT_EQ(index.ObjectAt(p, true), design.ObjectAt(p, true));
            for (const auto& spur : design.Spurs) {
                ASSERT_EQ(index.SpurAt(p, spur.get()), design.SpurAt(p, spur.get()));
                ASSERT_EQ(index.ObjectAt(p, false, spur.get()),
                          design.ObjectAt(p, false, spur.get()));
                ASSERT_EQ(index.ObjectAt(p, true, spur.get()),
                          design.ObjectAt(p, true, spur.get()));
            }
        }
    }
}

// The index's sorted tables are searched through a sample of their entries:
// every split of every size, stretch boundaries included, must be found where
// a plain binary search finds it.
TEST(PartsListPropertyTest, SampledTableSplitsWhereABinarySearchDoes)
{
    SampledTable<int> table;
    for (int size = 0; size <= 3 * int(SampledTable<int>::Stride) + 1; ++size) {
        table.Entries().resize(size_t(size));
        std::iota(table.Entries().begin(), table.Entries().end(), 0);
        table.Sample();
        const auto& entries = table.Entries();
        for (int split = 0; split <= size; ++split) {
            const auto before = [split](int value) { return value < split; };
            EXPECT_EQ(table.PartitionPoint(before) - entries.begin(), split) << size;
        }
    }
}

// The index's position tables are sized for the design; one given more
// positions than it was sized for grows and still answers for every one.
TEST(PartsListPropertyTest, PositionTableGrowsPastItsExpectedSize)
{
    FlatTable<Position, uint32_t, PositionHash> table;
    table.Reset(1);
    for (uint32_t i = 0; i < 1000; ++i)
        table[{int32_t(i % 37), int32_t(i / 37), 0}] = i;
    for (uint32_t i = 0; i < 1000; ++i) {
        const uint32_t* found = table.Find({int32_t(i % 37), int32_t(i / 37), 0});
        ASSERT_TRUE(found);
        EXPECT_EQ(*found, i);
    }
    EXPECT_FALSE(table.Find({0, 0, 1}));
}
