// The generator's rules on small hand-built designs against the
// tiny catalogue, with the part lists and status logs worked out by hand.

#include "PartsListTestSupport.h"

#include "ReferenceRunWalk.h"

#include <chrono>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using namespace pipeloop::testing;

namespace
{

const QString Elbow = QStringLiteral("      E90-25 ELBOW");
const QString Clip = QStringLiteral("      CLIP25-S CLIP");
const QString Straight = QStringLiteral("      S25 STRAIGHT");
const QString Stop = QStringLiteral("\r\nParts list generation will stop.");

QString Piece(const QString& key, int mm, const QString& size = QStringLiteral("25mm"))
{
    return QStringLiteral("      %1 %2 x %3mm PIPE").arg(key, size).arg(mm);
}

} // namespace

// ---------------------------------------------------------------- the loop walk

TEST_F(PartsListTest, FourCornerLoopGivesElbowsPipesAndClipsOfItsSides)
{
    design.Description = QStringLiteral("Workshop");
    design.CustomerCompany = QStringLiteral("ACME");
    design.CreatedBy = QStringLiteral("J. Smith");
    Rectangle(6000, 3000);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);

    const QString E = QStringLiteral("E90-25"), C = QStringLiteral("CLIP25-S"),
                  P = QStringLiteral("P25-B6");
    // East 6000: clips at 0, 2000, 4000, 6000; south 3000: clips at 0 and 2000,
    // a new pipe leaving 3000; west 6000; north 3000 cut from that offcut.
    EXPECT_EQ(Parts(), QStringList({E, C, C, C, C, P, E, C, C, P, E, C, C, C, C, P, E, C, C}));
    EXPECT_EQ(Log(), QStringList({QStringLiteral("ELBOW1...ELBOW2"),
                                  Elbow,
                                  Clip,
                                  Clip,
                                  Clip,
                                  Clip,
                                  Piece(P, 6000),
                                  QStringLiteral("ELBOW2...ELBOW3"),
                                  Elbow,
                                  Clip,
                                  Clip,
                                  Piece(P, 3000),
                                  QStringLiteral("ELBOW3...ELBOW4"),
                                  Elbow,
                                  Clip,
                                  Clip,
                                  Clip,
                                  Clip,
                                  Piece(P, 6000),
                                  QStringLiteral("ELBOW4...ELBOW5"),
                                  Elbow,
                                  Clip,
                                  Clip,
                                  Piece(P, 3000) + QStringLiteral(" from waste")}));
    EXPECT_TRUE(generator->Waste().empty());
    EXPECT_EQ(
        generator->Report().LineTexts(),
        QStringList({QStringLiteral("Project    : Workshop"), QStringLiteral("Customer   : ACME"),
                     QStringLiteral("Created By : J. Smith"), QString(),
                     QStringLiteral("    4 off   E90-25     Elbow 25mm"),
                     QStringLiteral("   12 off   CLIP25-S   Steel clip 25mm"),
                     QStringLiteral("    3 off   P25-B6     Blue pipe 25mm 6m"), QString(),
                     QStringLiteral("Tiny test catalogue"), QString(),
                     QStringLiteral("Parts list created with ..."), FooterVersionLine()}));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(generator->CommandsEnabled());
}

TEST_F(PartsListTest, ChamferTurnsByFortyFiveDegreesAtBothEnds)
{
    Loop({{0, 0}, {0, 5000}, {1000, 6000}, {3000, 6000}, {3000, 0}});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QString connector45 = QStringLiteral("      E135-25 CONNECTOR-45");
    // The diagonal: 1000 steps of the square root of two, 1414 mm, cut from a
    // new pipe; a clip at its start and one after it (1414 > 1000).
    EXPECT_EQ(LogBetween(QStringLiteral("ELBOW2...ELBOW3"), QStringLiteral("ELBOW3...ELBOW4")),
              QStringList({QStringLiteral("ELBOW2...ELBOW3"), connector45, Clip,
                           Piece(QStringLiteral("P25-B6"), 1414), Clip,
                           QStringLiteral("ELBOW3...ELBOW4")}));
    EXPECT_EQ(
        LogBetween(QStringLiteral("ELBOW3...ELBOW4"), QStringLiteral("ELBOW4...ELBOW5")).mid(0, 2),
        QStringList({QStringLiteral("ELBOW3...ELBOW4"), connector45}));
    EXPECT_EQ(Count(QStringLiteral("E135-25")), 2);
    EXPECT_EQ(Count(QStringLiteral("E90-25")), 3);
    // Offcuts: 1000 (the 5000 side), 4586 - 2000 (the diagonal's, then the
    // 2000 side), 3000 (the last side).
    EXPECT_EQ(Log().mid(Log().size() - 5),
              QStringList({QString(), QStringLiteral("Waste Details ..."),
                           QStringLiteral("25mm x 1000mm"), QStringLiteral("25mm x 2586mm"),
                           QStringLiteral("25mm x 3000mm")}));
}

TEST_F(PartsListTest, LongSideIsCutIntoStockLengthsWithStraightConnectors)
{
    options.stockLength = 4000;
    Rectangle(9000, 2000);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QString P = QStringLiteral("P25-B4");
    // Clips: one at the start, one every 2000 mm (4), none after the last
    // 1000 mm; the pieces 4000, 4000 and 1000 with a straight after the first two.
    EXPECT_EQ(LogBetween(QStringLiteral("ELBOW1...ELBOW2"), QStringLiteral("ELBOW2...ELBOW3")),
              QStringList({QStringLiteral("ELBOW1...ELBOW2"), Elbow, Clip, Clip, Clip,
                           Piece(P, 4000), Straight, Clip, Clip, Piece(P, 4000), Straight,
                           Piece(P, 1000), QStringLiteral("ELBOW2...ELBOW3")}));
}

TEST_F(PartsListTest, RunsAndLegsThousandsOfKilometresLongAreCountedInAMoment)
{
    // 1 800 km by 1 200 km, a drop at 600 km on the first side with a leg of
    // 2 000 km: millions of clips and pipes, counted rather than walked.
    const int32_t width = 1'800'000'000, depth = 1'200'000'000;
    Rectangle(width, depth);
    Drop(P(0, 600'000'000, Height), DropStyle::Tee, 20.0f, 2'000'000'000);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    // Clips: one at each side's start and one every 2 m. Stock pipes of 6 m
    // with a straight between two, none where the drop splits the side; the
    // leg: 333 333 whole pipes with their straights and a last 2 m piece.
    const QStringList report = generator->Report().LineTexts();
    const auto quantity = [&report](const QString& key) {
        for (const QString& line : report)
            if (line.section(QStringLiteral(" off   "), 1).startsWith(key + u' '))
                return line.section(QStringLiteral(" off   "), 0, 0).trimmed().toLongLong();
        return -1LL;
    };
    EXPECT_EQ(quantity(QStringLiteral("E90-25")), 4);
    EXPECT_EQ(quantity(QStringLiteral("CLIP25-S")), 4 + (2LL * width + 2LL * depth) / 2000);
    EXPECT_EQ(quantity(QStringLiteral("P25-B6")), (2LL * width + 2LL * depth) / 6000);
    EXPECT_EQ(quantity(QStringLiteral("S25")), (2LL * width + 2LL * depth) / 6000 - 5);
    EXPECT_EQ(quantity(QStringLiteral("OT25-20")), 1);
    EXPECT_EQ(quantity(QStringLiteral("CLIP20-T")), 1'000'000);
    EXPECT_EQ(quantity(QStringLiteral("P20-B6")), 333'334);
    EXPECT_EQ(quantity(QStringLiteral("S20")), 333'333);
    EXPECT_EQ(generator->Waste(), std::vector<TPipeWaste>({{4000, 20.0f}}));
}

TEST_F(PartsListTest, DropSplitsTheSidePipeWithoutAStraightConnector)
{
    Rectangle(6000, 3000);
    Drop(P(0, 2500, Height), DropStyle::Female, 12.7f, 0);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    // FemaleOutlet takes the first female outlet whose attributes hold the
    // empty set: the saddle one is listed first in the tiny catalogue.
    EXPECT_EQ(LogBetween(QStringLiteral("ELBOW1...ELBOW2"), QStringLiteral("ELBOW2...ELBOW3")),
              QStringList({QStringLiteral("ELBOW1...ELBOW2"), Elbow, Clip, Clip,
                           Piece(QStringLiteral("P25-B6"), 2500), QStringLiteral("    DROP1>>>"),
                           QStringLiteral("      FO25-12S FEMALE/THREADED TEE"),
                           QStringLiteral("    >>>DROP1"), Clip, Clip,
                           Piece(QStringLiteral("P25-B6"), 3500) + QStringLiteral(" from waste"),
                           QStringLiteral("ELBOW2...ELBOW3")}));
    EXPECT_EQ(Count(QStringLiteral("S25")), 0);
}

TEST_F(PartsListTest, AvoidanceDetourHasABendAtEachOfItsFourCorners)
{
    Corners({{0, 0},
             {0, 2000},
             {0, 2000, 500},
             {0, 4000, 500},
             {0, 4000},
             {0, 6000},
             {3000, 6000},
             {3000, 0},
             {0, 0}});
    Drop(P(0, 3000, Height - 500), DropStyle::Female, 12.7f, 0); // on the raised pipe
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QString avoidance = QStringLiteral("      E90-25 ELBOW FOR AVOIDANCE");
    const QString dropClip = QStringLiteral("      CLIP25-T CLIP");
    // Up: the bend, 500 mm of pipe (from the 4000 offcut of the first piece)
    // and the leg's two clips; along: the bend and the walk at the raised
    // height, which meets the drop; down: the same as up.
    EXPECT_EQ(LogBetween(QStringLiteral("ELBOW2...ELBOW3"), QStringLiteral("ELBOW5...ELBOW6")),
              QStringList({QStringLiteral("ELBOW2...ELBOW3"),
                           avoidance,
                           Piece(QStringLiteral("P25-B6"), 500) + QStringLiteral(" from waste"),
                           dropClip,
                           dropClip,
                           QStringLiteral("ELBOW3...ELBOW4"),
                           avoidance,
                           Clip,
                           Piece(QStringLiteral("P25-B6"), 1000) + QStringLiteral(" from waste"),
                           QStringLiteral("    DROP1>>>"),
                           QStringLiteral("      FO25-12S FEMALE/THREADED TEE"),
                           QStringLiteral("    >>>DROP1"),
                           Clip,
                           Piece(QStringLiteral("P25-B6"), 1000) + QStringLiteral(" from waste"),
                           QStringLiteral("ELBOW4...ELBOW5"),
                           avoidance,
                           Piece(QStringLiteral("P25-B6"), 500) + QStringLiteral(" from waste"),
                           dropClip,
                           dropClip,
                           QStringLiteral("ELBOW5...ELBOW6")}));
    // Four corners and four bends of the detour.
    EXPECT_EQ(Count(QStringLiteral("E90-25")), 8);
}

TEST_F(PartsListTest, DetourOnANorthSouthRunBendsOutOfItsRiser)
{
    // The same detour on the east side, running south: the level run leaving
    // the riser's foot bends out of the vertical like any other.
    Corners({{0, 0},
             {0, 6000},
             {1000, 6000},
             {1000, 6000, 500},
             {2000, 6000, 500},
             {2000, 6000},
             {3000, 6000},
             {3000, 0},
             {0, 0}});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed) << ui.texts().join("|").toStdString();
    EXPECT_EQ(
        LogBetween(QStringLiteral("ELBOW6...ELBOW7"), QStringLiteral("ELBOW7...ELBOW8")).value(1),
        Elbow);
    EXPECT_EQ(Count(QStringLiteral("E90-25")), 8);
}

TEST_F(PartsListTest, UnsupportedLoopGeometryStopsAndHighlightsBothCorners)
{
    Loop({{0, 0}, {0, 6000}, {3000, 3000}, {3000, 0}});
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(
        ui.texts(),
        QStringList(QStringLiteral("Connector angle 135 not supported for ELBOW2..ELBOW3") + Stop));
    EXPECT_TRUE(design.Elbows[1]->isHighlighted());
    EXPECT_TRUE(design.Elbows[2]->isHighlighted());
    EXPECT_FALSE(design.Elbows[0]->isHighlighted());
    EXPECT_FALSE(design.Elbows[3]->isHighlighted());
    // The report keeps only its header; the log shows how far the walk went.
    EXPECT_EQ(generator->Report().Lines().size(), 3u);
    EXPECT_EQ(Log().back(), QStringLiteral("ELBOW2...ELBOW3"));
    EXPECT_FALSE(generator->CommandsEnabled());
}

TEST_F(PartsListTest, TwoCornersAtOnePlaceWithoutARiseAreAnElbowProblem)
{
    Loop({{0, 0}, {0, 6000}, {0, 6000}, {3000, 6000}, {3000, 0}});
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(),
              QStringList(QStringLiteral("Elbow problem found with ELBOW2 and ELBOW3") + Stop));
    EXPECT_TRUE(design.Elbows[1]->isHighlighted());
    EXPECT_TRUE(design.Elbows[2]->isHighlighted());
}

TEST_F(PartsListTest, ZeroLengthRunsGetTheirStartClipAndNothingElse)
{
    // Two raised corners at one place (an avoidance segment of no length) and
    // a spur that starts where it ends: neither may hang the walk.
    Corners({{0, 0},
             {0, 3000},
             {0, 3000, 400},
             {0, 3000, 400},
             {0, 3000},
             {0, 6000},
             {3000, 6000},
             {3000, 0},
             {0, 0}});
    Spur(P(0, 5000, Height), P(0, 5000, Height));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(LogBetween(QStringLiteral("ELBOW3...ELBOW4"), QStringLiteral("ELBOW4...ELBOW5")),
              QStringList({QStringLiteral("ELBOW3...ELBOW4"),
                           QStringLiteral("      E90-25 ELBOW FOR AVOIDANCE"), Clip,
                           QStringLiteral("ELBOW4...ELBOW5")}));
    const QStringList spur = LogBetween(QStringLiteral("  SPUR1..."), QStringLiteral("  ...SPUR1"));
    EXPECT_EQ(spur.count(Clip), 1);
    EXPECT_FALSE(spur.join(u'\n').contains(QStringLiteral(" PIPE")));
}

// ---------------------------------------------------------------- objects on runs

TEST_F(PartsListTest, InletOfAnotherSizeGetsAReducingTee)
{
    Rectangle(6000, 3000);
    Inlet(P(3000, 3000, Height), 20.0f, 1000);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const qsizetype at = Log().indexOf(QStringLiteral("  INLET1"));
    EXPECT_EQ(
        Log().mid(at, 7),
        QStringList({QStringLiteral("  INLET1"),
                     QStringLiteral("      T25 EQUAL TEE (REDUCING TEE PART 1)"),
                     QStringLiteral("      R25-20 REDUCER (REDUCING TEE PART 2)"),
                     QStringLiteral("      CLIP20-T CLIP"), QStringLiteral("      CLIP20-T CLIP"),
                     Piece(QStringLiteral("P20-B6"), 1000, QStringLiteral("20mm")),
                     QStringLiteral("  INLET1")}));
}

TEST_F(PartsListTest, DemoCatalogueReducingTeeForAnInletAndARecoilHoseDrop)
{
    database = std::make_unique<TPartsDatabase>();
    database->LoadContainer(DemoContainerPath());
    ASSERT_TRUE(database->IsUsable());
    design.PipeSize = 50.0f;
    Rectangle(6000, 3000);
    Inlet(P(3000, 3000, Height), 25.0f, 0);
    TDrop& drop = Drop(P(0, 3000, Height), DropStyle::Female, 12.7f, 6000,
                       {Symbol::Coupler, Symbol::RecoilHose, Symbol::Coupler});
    drop.HoseSize = 6.35f;
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const qsizetype at = Log().indexOf(QStringLiteral("  INLET1"));
    EXPECT_EQ(Log().mid(at, 5),
              QStringList({QStringLiteral("  INLET1"),
                           QStringLiteral("      90020-50 EQUAL TEE (REDUCING TEE PART 1)"),
                           QStringLiteral("      90030-50-25 REDUCER (REDUCING TEE PART 2)"),
                           QStringLiteral("      90810-25 CLIP"), QStringLiteral("  INLET1")}));
    EXPECT_EQ(LogBetween(QStringLiteral("    DROP1>>>"), QStringLiteral("    >>>DROP1")),
              QStringList({QStringLiteral("    DROP1>>>"),
                           QStringLiteral("      90300-50-12 FEMALE/THREADED TEE"),
                           QStringLiteral("      90036-12-06 REDUCER BUSH"),
                           QStringLiteral("      91100-06-F COUPLING"),
                           QStringLiteral("      91050-06-6 RECOIL HOSE"),
                           QStringLiteral("    >>>DROP1")}));
}

TEST(PartsListAnglesTest, TurnsAreWholeDegreesFoldedToAHalfCircle)
{
    constexpr float pi = 3.14159265f;
    EXPECT_EQ(TurnAngle(0.0f, -pi / 2), 90);
    EXPECT_EQ(TurnAngle(-pi / 2, pi), 90);     // 270 folds to 90
    EXPECT_EQ(TurnAngle(-3 * pi / 4, pi), 45); // 315 folds to 45
    EXPECT_EQ(TurnAngle(pi, -pi), 0);          // 360 is 0
    EXPECT_EQ(TurnAngle(pi / 2, -pi / 2), 180);
    EXPECT_EQ(TurnAngle(0.0f, 0.7854f), 45); // 45.0001 rounds to 45
}

TEST_F(PartsListTest, DropLegClipsFollowTheTwoMetreRule)
{
    Rectangle(9000, 3000);
    Drop(P(0, 2000, Height), DropStyle::Tee, 20.0f, 3100);
    Drop(P(0, 4000, Height), DropStyle::Tee, 20.0f, 900);
    Drop(P(0, 6000, Height), DropStyle::Tee, 20.0f, 0);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QString legClip = QStringLiteral("      CLIP20-T CLIP");
    const auto leg = [this](const QString& name) {
        return LogBetween(QStringLiteral("    ") + name + QStringLiteral(">>>"),
                          QStringLiteral("    >>>") + name);
    };
    EXPECT_EQ(leg(QStringLiteral("DROP1")),
              QStringList({QStringLiteral("    DROP1>>>"),
                           QStringLiteral("      OT25-20 OUTLET TEE"), legClip, legClip,
                           Piece(QStringLiteral("P20-B6"), 3100, QStringLiteral("20mm")),
                           QStringLiteral("    >>>DROP1")}));
    EXPECT_EQ(leg(QStringLiteral("DROP2")).count(legClip), 2);
    EXPECT_EQ(leg(QStringLiteral("DROP3")), QStringList({QStringLiteral("    DROP3>>>"),
                                                         QStringLiteral("      OT25-20 OUTLET TEE"),
                                                         legClip, QStringLiteral("    >>>DROP3")}));
}

TEST_F(PartsListTest, DropStylesPackagesValvesAndDrains)
{
    Rectangle(9000, 3000);
    Drop(P(0, 1000, Height), DropStyle::FemaleSaddle, 12.7f, 0);
    TDrop& kit = Drop(P(0, 2000, Height), DropStyle::Tee, 20.0f, 1500, {Symbol::Valve});
    kit.PartPackage = QStringLiteral("KIT-1");
    auto valve = std::make_unique<pipeloop::TValve>();
    valve->setPosition(P(0, 3000, Height));
    valve->Name = QStringLiteral("VALVE1");
    design.Valves.push_back(std::move(valve));
    Drain(P(0, 4000, Height), 2500);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);

    EXPECT_TRUE(Log().contains(QStringLiteral("      FO25-12S FEMALE/THREADED TEE")));
    // A package records its parts as they stand and nothing else for the drop.
    EXPECT_EQ(
        LogBetween(QStringLiteral("    DROP2>>>"), QStringLiteral("    >>>DROP2")),
        QStringList({QStringLiteral("    DROP2>>>"), QStringLiteral("      PACKAGE:KIT-1"),
                     QStringLiteral("      OT25-20 KIT-1 (PART)"),
                     QStringLiteral("      P25-B4 KIT-1 (PART)"),
                     QStringLiteral("      V25 KIT-1 (PART)"), QStringLiteral("    >>>DROP2")}));
    EXPECT_TRUE(Log().contains(QStringLiteral("      V25 BALL VALVE")));
    // A drain: an equal tee, then clips and pipe of the main's size.
    const qsizetype at = Log().indexOf(QStringLiteral("    DRAIN1"));
    EXPECT_EQ(
        Log().mid(at, 6),
        QStringList({QStringLiteral("    DRAIN1"), QStringLiteral("      T25 EQUAL TEE"),
                     QStringLiteral("      CLIP25-T CLIP"), QStringLiteral("      CLIP25-T CLIP"),
                     Piece(QStringLiteral("P25-B6"), 2500), QStringLiteral("    DRAIN1")}));
}

TEST_F(PartsListTest, DrainsOnCornersAreListedOnceWithTheirCorner)
{
    // The lookup finds a corner before a drain at the same place; the drain
    // still needs its tee and leg, once, also on the corner that closes the loop.
    Rectangle(6000, 3000);
    for (const Position& at : {P(3000, 6000, Height), P(0, 0, Height)})
        Drain(at, 1000);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);

    EXPECT_EQ(Log().count(QStringLiteral("    DRAIN1")), 2);
    EXPECT_EQ(Log().count(QStringLiteral("    DRAIN2")), 2);
    EXPECT_EQ(Parts().count(QStringLiteral("T25")), 2);
    const qsizetype far = Log().indexOf(QStringLiteral("    DRAIN1"));
    EXPECT_GT(far, Log().indexOf(QStringLiteral("ELBOW2...ELBOW3")));
    EXPECT_LT(far, Log().indexOf(QStringLiteral("ELBOW3...ELBOW4")));
}

TEST_F(PartsListTest, UnsupportedDropsStopWithTheDropHighlighted)
{
    Rectangle(6000, 3000);
    TDrop& quick = Drop(P(0, 2000, Height), DropStyle::Quick, 12.7f, 0);
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Drop style not supported for DROP1") + Stop));
    EXPECT_TRUE(quick.isHighlighted());

    ui.messages.clear();
    quick.Style = DropStyle::Female;
    quick.PartPackage = QStringLiteral("NO-SUCH-KIT");
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("No package found : NO-SUCH-KIT") + Stop));
}

// ---------------------------------------------------------------- spurs

TEST_F(PartsListTest, OpenSpurEndGetsAMessageOrAnEndCap)
{
    Rectangle(6000, 3000);
    Spur(P(0, 3000, Height), P(2000, 3000, Height));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(
        LogBetween(QStringLiteral("  SPUR1..."), QStringLiteral("  ...SPUR1")),
        QStringList({QStringLiteral("  SPUR1..."), QStringLiteral("      T25 EQUAL TEE"), Clip,
                     Clip, Piece(QStringLiteral("P25-B6"), 2000) + QStringLiteral(" from waste"),
                     QStringLiteral("  ...SPUR1")}));
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("SPUR1 end is not connected.")));

    ui.messages.clear();
    options.endCaps = true;
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    const QStringList spur = LogBetween(QStringLiteral("  SPUR1..."), QStringLiteral("  ...SPUR1"));
    EXPECT_EQ(spur.mid(spur.size() - 3),
              QStringList({QStringLiteral("      S25 STRAIGHT FOR END CAP"),
                           QStringLiteral("      CAP25 END CAP"), QStringLiteral("  ...SPUR1")}));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PartsListTest, SpurEndsOnTheLoopWithATeeOrStopsAtAnotherAngle)
{
    Rectangle(6000, 3000);
    Spur(P(0, 3000, Height), P(3000, 3000, Height));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(Count(QStringLiteral("T25")), 2); // where it starts and where it ends
    EXPECT_TRUE(ui.messages.empty());

    // A spur meeting a diagonal of the loop at 135 degrees.
    design.Spurs.clear();
    design.Elbows.clear();
    Loop({{0, 0}, {0, 6000}, {3000, 6000}, {3000, 1000}, {2000, 0}});
    TSpur& slanted = Spur(P(0, 500, Height), P(2500, 500, Height));
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Problem found with : SPUR1\r\nSpur P2 "
                                                     "connects with pipe loop at 135 degrees.") +
                                      Stop));
    EXPECT_TRUE(slanted.isHighlighted());
}

TEST_F(PartsListTest, SpurEndingOnAnUnconnectedPipeTakesItIn)
{
    Rectangle(8000, 4000);
    TSpur& pipe = Spur(P(2000, 1000, Height), P(2000, 5000, Height));
    Spur(P(0, 3000, Height), P(2000, 3000, Height));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    // SPUR2 tees onto the loop and onto SPUR1, which is then walked as its
    // branch; both of SPUR1's ends are free.
    EXPECT_EQ(Count(QStringLiteral("T25")), 2);
    EXPECT_TRUE(pipe.Connected);
    EXPECT_FALSE(pipe.isHighlighted());
    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("SPUR1 end is not connected."),
                                       QStringLiteral("SPUR1 end is not connected.")}));
    const qsizetype inner = Log().indexOf(QStringLiteral("  SPUR1..."));
    EXPECT_GT(inner, Log().indexOf(QStringLiteral("  SPUR2...")));
    EXPECT_LT(inner, Log().indexOf(QStringLiteral("  ...SPUR2")));
}

TEST_F(PartsListTest, SpurContinuingFromTheEndOfAnotherUsesAConnectorAndReducer)
{
    Rectangle(6000, 3000);
    Spur(P(0, 3000, Height), P(1500, 3000, Height));
    Spur(P(1500, 3000, Height), P(1500, 4500, Height), 20.0f);
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(LogBetween(QStringLiteral("  SPUR2..."), QStringLiteral("  ...SPUR2")),
              QStringList(
                  {QStringLiteral("  SPUR2..."), QStringLiteral("      E90-25 90 DEGREE CONNECTOR"),
                   QStringLiteral("      R25-20 REDUCER"), QStringLiteral("      CLIP20-S CLIP"),
                   Piece(QStringLiteral("P20-B6"), 1500, QStringLiteral("20mm")),
                   QStringLiteral("      CLIP20-S CLIP"), QStringLiteral("  ...SPUR2")}));
    // Only the branch's far end is free.
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("SPUR2 end is not connected.")));
}

TEST_F(PartsListTest, SpursChainedTwentyThousandDeepAreWalkedOneInsideTheOther)
{
    // Each spur starts where the one before it ends: every one is handled
    // inside the walk of the one before, 20 000 deep. (Built directly: the
    // editor's AddSpur looks for a parent among all spurs every time.)
    Rectangle(6000, 3000);
    constexpr int Depth = 20'000;
    for (int i = 0; i < Depth; ++i) {
        auto spur = std::make_unique<TSpur>();
        spur->setPosition(P(-1000 * i, 3000, Height));
        spur->setEndPosition(P(-1000 * (i + 1), 3000, Height));
        spur->PipeSize = 25.0f;
        spur->Name = QStringLiteral("SPUR%1").arg(i + 1);
        design.Spurs.push_back(std::move(spur));
    }
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    for (const auto& spur : design.Spurs)
        ASSERT_TRUE(spur->Connected) << spur->Name.toStdString();
    EXPECT_EQ(Count(QStringLiteral("S25")), Depth - 1); // the joints, end to end
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("SPUR20000 end is not connected.")));
    // The last spur's lines come inside the first's, the closing lines in reverse.
    const QStringList& log = Log();
    const qsizetype last = log.indexOf(QStringLiteral("  ...SPUR20000"));
    EXPECT_LT(log.indexOf(QStringLiteral("  SPUR20000...")), last);
    EXPECT_EQ(log.mid(last, 3),
              QStringList({QStringLiteral("  ...SPUR20000"), QStringLiteral("  ...SPUR19999"),
                           QStringLiteral("  ...SPUR19998")}));
    EXPECT_GT(log.indexOf(QStringLiteral("  ...SPUR1")), last);
}

TEST_F(PartsListTest, SpursAtUnsupportedAnglesStop)
{
    Rectangle(6000, 3000);
    TSpur& slanted = Spur(P(0, 3000, Height), P(1000, 4000, Height));
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(),
              QStringList(QStringLiteral("SPUR1 tee angle not supported 45 degrees.") + Stop));
    EXPECT_TRUE(slanted.isHighlighted());
}

TEST_F(PartsListTest, CompressorHouseStartsEverySpurWithoutATee)
{
    design.CompressorHouse = true;
    Spur(P(0, 0, Height), P(0, 3000, Height));
    Spur(P(0, 1500, Height), P(2000, 1500, Height));
    TSpur& crooked = Spur(P(5000, 0, Height), P(6000, 3000, Height));
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    // The branch still gets its tee; no end is reported open in a house.
    EXPECT_EQ(
        Log().mid(0, 5),
        QStringList({QStringLiteral("  SPUR1..."), Clip, Piece(QStringLiteral("P25-B6"), 1500),
                     QStringLiteral("  SPUR2..."), QStringLiteral("      T25 EQUAL TEE")}));
    EXPECT_EQ(ui.texts(),
              QStringList(QStringLiteral("Problem found with spur/main angle.") + Stop));
    EXPECT_TRUE(crooked.isHighlighted());
}

TEST_F(PartsListTest, SpursNobodyReachesAreHighlightedAfterTheList)
{
    Rectangle(6000, 3000);
    TSpur& lost = Spur(P(5000, 1000, Height), P(5000, 3000, Height));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_TRUE(lost.isHighlighted());
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("There are spurs not connected to the pipe "
                                                     "loop.\r\nThese have been highlighted on "
                                                     "the design.")));
    EXPECT_TRUE(generator->CommandsEnabled());
}

// ---------------------------------------------------------------- symbol chains

class SymbolChainTest : public PartsListTest
{
protected:
    SymbolChainTest() { Rectangle(6000, 3000); }

    // An inlet on the loop (its chain starts at 25 mm) with a stack.
    TInlet& Inlet(std::initializer_list<QString> symbols)
    {
        return PartsListTest::Inlet(P(0, 3000, Height), 25.0f, 0, symbols);
    }
    QStringList Chain() const
    {
        QStringList records;
        const qsizetype from = Log().indexOf(QStringLiteral("  INLET1"));
        // After the inlet's tee and its one clip (a leg of length 0).
        for (qsizetype i = from + 3; i < Log().size() && Log().at(i) != QStringLiteral("  INLET1");
             ++i)
            records.append(Log().at(i).trimmed());
        return records;
    }
};

TEST_F(SymbolChainTest, FourPortOutletNeedsAnAdapterUnlessTheSizeIsAThread)
{
    Inlet({Symbol::FourPortOutlet});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(Chain(), QStringList({QStringLiteral("A25-34 MALE ADAPTER"),
                                    QStringLiteral("M4-34 MANIFOLD")}));

    // At 1/2" the manifold fits directly (the NPT one is passed over).
    Drop(P(0, 1000, Height), DropStyle::Female, 12.7f, 0, {Symbol::FourPortOutlet});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(LogBetween(QStringLiteral("    DROP1>>>"), QStringLiteral("    >>>DROP1")).mid(2, 1),
              QStringList(QStringLiteral("      M4-12 MANIFOLD")));
}

TEST_F(SymbolChainTest, MissingManifoldAdapterStops)
{
    TDrop& drop = Drop(P(0, 1000, Height), DropStyle::Tee, 20.0f, 0, {Symbol::FourPortOutlet});
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(ui.texts(),
              QStringList(QStringLiteral("No 20mm adapter required by manifold found for : DROP1") +
                          Stop));
    EXPECT_TRUE(drop.isHighlighted());
}

TEST_F(SymbolChainTest, ValveAboveAFourPortOutletIsFemaleEndedAndSetsTheChainSize)
{
    // Walked from the top: the valve at 25 mm with a female end 2, whose 3/4"
    // then carries the manifold without an adapter.
    Inlet({Symbol::FourPortOutlet, Symbol::Valve});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(Chain(),
              QStringList({QStringLiteral("V25F BALL VALVE"), QStringLiteral("M4-34 MANIFOLD")}));
}

TEST_F(SymbolChainTest, ValveAsFirstSymbolAndUnknownEquipmentAreOnlyReported)
{
    Inlet({Symbol::Valve, Symbol::Filter});
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_TRUE(Chain().isEmpty());
    EXPECT_EQ(ui.texts(),
              QStringList({QStringLiteral("Component type FILTER is not provided by : TINY"),
                           QStringLiteral("Component type VALVE is not provided by : TINY")}));
}

TEST_F(SymbolChainTest, AssignedPartsOfTheCataloguesMakerAreRecordedOthersIgnored)
{
    // The vendor is whoever made the catalogue, not a maker's name written in.
    TInlet& inlet = Inlet({Symbol::Filter, Symbol::FourPortOutlet});
    inlet.SetSymbolPart(0, QStringLiteral("TINYMAKER:OLD-32+ACME:123+ZAVOZA:P25-B4"));
    ASSERT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(Chain(),
              QStringList({QStringLiteral("A25-34 MALE ADAPTER"), QStringLiteral("M4-34 MANIFOLD"),
                           QStringLiteral("OLD-32 PREFERED PART")}));
    EXPECT_EQ(ui.texts(),
              QStringList({QStringLiteral("Ignoring part : 123\r\nMaker's code : ACME"),
                           QStringLiteral("Ignoring part : P25-B4\r\nMaker's code : ZAVOZA")}));
}

TEST_F(SymbolChainTest, AirHosesGiveTwoCouplingsAndAddUpPerHoseSize)
{
    Drop(P(0, 1000, Height), DropStyle::Female, 12.7f, 8000,
         {Symbol::Coupler, Symbol::AirHose, Symbol::Coupler});
    Drop(P(0, 2000, Height), DropStyle::Female, 12.7f, 9000,
         {Symbol::Coupler, Symbol::AirHose, Symbol::Coupler});
    TDrop& other = Drop(P(0, 4000, Height), DropStyle::Female, 12.7f, 3000,
                        {Symbol::Coupler, Symbol::AirHose, Symbol::Coupler});
    other.HoseSize = 9.25f;
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped); // no 9.25 mm hose in the tiny catalogue
    EXPECT_EQ(Count(QStringLiteral("CPL-12M")), 6);
    EXPECT_EQ(generator->HoseTotals(), (std::vector<HoseTotal>{{6.35f, 17000}, {9.25f, 3000}}));
    // 17 m of 1/4": no hose is that long, so the last (10 m) once, then the
    // first at least 7 m long (10 m again), 3 m cut off.
    EXPECT_TRUE(Log().contains(QStringLiteral("1/4\" x 3000mm air hose")));
    const QStringList report = generator->Report().LineTexts();
    // The hose lines pad to the widest part number of the list (8) + 3.
    const QString hoseLine = QStringLiteral("    1 off   H-10       Air hose 1/4\" 10m");
    EXPECT_EQ(report.mid(4, 2), QStringList({hoseLine, hoseLine}));
    EXPECT_EQ(ui.texts().back(),
              SelectionProblemText(QString(), QStringLiteral("TINY parts hose not found : ") +
                                                  SizeText(9.25f) + QStringLiteral(" x 3000mm")));
    EXPECT_FALSE(generator->CommandsEnabled());
}

// ---------------------------------------------------------------- the protocol

TEST_F(PartsListTest, MissingMainPartsAreEachReportedUnderMainPipe)
{
    design.PipeSize = 32.0f;
    Rectangle(6000, 3000);
    database->Pipe(ColourBlue, 1234, 99.0f); // an old message nobody took
    EXPECT_EQ(Generate(), GenerationOutcome::Stopped);
    EXPECT_EQ(
        ui.texts(),
        QStringList(
            {SelectionProblemText(QStringLiteral("MAIN PIPE"),
                                  QStringLiteral("TINY parts pipe size not found : 6000mm x 32mm")),
             SelectionProblemText(QStringLiteral("MAIN PIPE"),
                                  QStringLiteral("TINY parts elbow not found : 32mm")),
             SelectionProblemText(QStringLiteral("MAIN PIPE"),
                                  QStringLiteral("TINY parts pipe clip not found : 32mm"))}));
    EXPECT_TRUE(Parts().isEmpty());
    EXPECT_TRUE(Log().isEmpty());
}

TEST_F(PartsListTest, ExpiredCatalogueAsksFirstAndNoEndsWithAnEmptyReport)
{
    Rectangle(6000, 3000);
    clock.set(QDateTime(QDate(2031, 1, 1), QTime(0, 0)));
    EXPECT_EQ(Generate(), GenerationOutcome::Declined);
    EXPECT_EQ(ui.questions, QStringList(QStringLiteral(
                                "The TINY parts DB expired on 31-Dec-2030\r\nYou should obtain a "
                                "new database.\r\nContinue parts list generation ?")));
    EXPECT_EQ(generator->Report().Lines().size(), 3u);
    EXPECT_TRUE(Parts().isEmpty());

    // The question already comes on the expiry date itself; Yes goes on.
    clock.set(QDateTime(QDate(2030, 12, 31), QTime(9, 0)));
    ui.confirmAnswers.push_back(true);
    EXPECT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(ui.questions.size(), 2);
    clock.set(QDateTime(QDate(2030, 12, 30), QTime(23, 59)));
    EXPECT_EQ(Generate(), GenerationOutcome::Completed);
    EXPECT_EQ(ui.questions.size(), 2);
}

TEST_F(PartsListTest, CancelInTheYieldEndsWithoutMessageOrReport)
{
    Rectangle(6000, 3000);
    Spur(P(5000, 1000, Height), P(5000, 3000, Height)); // would be reported at the end
    generator = std::make_unique<TPartsListGenerator>(design, *database);
    int yields = 0;
    generator->SetYield([&] {
        if (++yields == 2)
            generator->Cancel();
    });
    EXPECT_EQ(generator->Generate(options), GenerationOutcome::Cancelled);
    EXPECT_EQ(yields, 2);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(generator->Report().Lines().size(), 3u);
    EXPECT_FALSE(generator->IsRunning());
    EXPECT_FALSE(generator->CommandsEnabled());

    // Without Cancel the yield comes once per segment and once per object.
    generator->SetYield([&] { ++yields; });
    yields = 0;
    EXPECT_EQ(generator->Generate(options), GenerationOutcome::Completed);
    EXPECT_EQ(yields, 4 + 4);
}

TEST(PartsListProtocolTest, EndOfLinePartsAreCautionedOncePerGeneration)
{
    ScriptedUi ui;
    ScopedLocale locale(PoundFacts());
    auto database = DatabaseFromText(
        QStringLiteral("[OLD-CLIP]\r\nTYP=PIPE-CLIP\r\nOD1=25\r\nATR=STEEL\r\nEOL=1\r\n") +
        TinyCatalogueText());
    ui.messages.clear();
    TPipeLoopOptions designOptions;
    TPipeLoop design(designOptions);
    design.PipeSize = 25.0f;
    design.Height = 3000;
    for (const auto& [ns, ew] : {std::pair{0, 0}, {0, 1000}, {1000, 1000}, {1000, 0}, {0, 0}})
        design.AddElbow(P(ns, ew, 3000));
    FixedClock clock(QDateTime(QDate(2025, 1, 1), QTime(0, 0)));
    Clock::install(&clock);
    TPartsListGenerator generator(design, *database);
    const QString caution = QStringLiteral("Caution, part is end of line:\r\nOLD-CLIP");
    EXPECT_EQ(generator.Generate(PartsListOptions{}), GenerationOutcome::Completed);
    EXPECT_EQ(generator.PartList().count(QStringLiteral("OLD-CLIP")), 4);
    EXPECT_EQ(ui.texts(), QStringList(caution));
    // The next generation cautions again, once.
    EXPECT_EQ(generator.Generate(PartsListOptions{}), GenerationOutcome::Completed);
    Clock::install(nullptr);
    EXPECT_EQ(ui.texts(), Times(2, caution));
    // No description: only the end-of-line marks.
    EXPECT_TRUE(generator.Report().LineTexts().contains(
        QStringLiteral("    4 off   OLD-CLIP   *  (end of line)")));
}
