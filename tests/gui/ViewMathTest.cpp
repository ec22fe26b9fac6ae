#include "ViewMath.h"

#include "PipeLoop.h"
#include "RecentFiles.h"
#include "ScreenView.h"
#include "SettingsStore.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipeloop
{
namespace
{

struct SnapCase {
    int32_t value;
    int32_t grid;
    int32_t expected;
};

class SnapValueTest : public ::testing::TestWithParam<SnapCase>
{
};

TEST_P(SnapValueTest, RoundsHalfTowardZeroAndMoreThanHalfAway)
{
    const SnapCase c = GetParam();
    EXPECT_EQ(SnapValue(c.value, c.grid), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Grid250, SnapValueTest,
                         ::testing::Values(SnapCase{125, 250, 0}, SnapCase{126, 250, 250},
                                           SnapCase{-130, 250, 0}, SnapCase{-126, 250, 0},
                                           SnapCase{374, 250, 250}, SnapCase{376, 250, 500},
                                           SnapCase{777, 0, 777}));

TEST(SnapPosition, SnapsOnlyThePlaneOfTheView)
{
    const Position p{126, 376, 1130};
    EXPECT_EQ(SnapPosition(p, ViewKind::Plan, 250, true), (Position{250, 500, 1130}));
    EXPECT_EQ(SnapPosition(p, ViewKind::North, 250, true), (Position{126, 500, 1250}));
    EXPECT_EQ(SnapPosition(p, ViewKind::West, 250, true), (Position{250, 376, 1250}));
    EXPECT_EQ(SnapPosition(p, ViewKind::Plan, 250, false), p);
    EXPECT_EQ(SnapPosition(p, ViewKind::Plan, 0, true), p);
}

class ScreenToModelTest : public ::testing::Test
{
protected:
    TPipeLoopOptions options;
    TPipeLoop design{options};
    void SetUp() override
    {
        design.RoomEW = 5000;
        design.RoomNS = 3000;
        design.RoomHG = 2000;
    }
};

TEST_F(ScreenToModelTest, LeftMarginEdgeIsTheFarWallInTheNorthSectionAndZeroInTheSouth)
{
    const double ppm = 96 / 25.4 / 20;
    EXPECT_EQ(ScreenToModel(design, ViewKind::North, ppm, ppm, 18, 18).EW, 5000);
    EXPECT_EQ(ScreenToModel(design, ViewKind::South, ppm, ppm, 18, 18).EW, 0);
    const Position north = ScreenToModel(design, ViewKind::North, ppm, ppm, 18, 18);
    EXPECT_EQ(north.NS, -1);
    EXPECT_EQ(north.HG, 2000); // the top of the section is the roof
}

TEST_F(ScreenToModelTest, PlanHasNoHeightAndTheMarginsGiveNegativeValues)
{
    const double ppm = 96 / 25.4 / 20;
    const Position p = ScreenToModel(design, ViewKind::Plan, ppm, ppm, 0, 0);
    EXPECT_LT(p.EW, 0);
    EXPECT_LT(p.NS, 0);
    EXPECT_EQ(p.HG, -1);
    // Beyond the building the values stop at the walls.
    const Position far = ScreenToModel(design, ViewKind::Plan, ppm, ppm, 5000, 5000);
    EXPECT_EQ(far.EW, 5000);
    EXPECT_EQ(far.NS, 3000);
}

TEST_F(ScreenToModelTest, ZoomTwentyAt96DpiGives981By603For5000By3000)
{
    const ScreenGeometry geometry = ScreenViewGeometry(design, ViewKind::Plan, 20, 96, 96);
    EXPECT_EQ(geometry.area, QSize(981, 603));
    EXPECT_NEAR(geometry.pixelsPerMmX, 0.18898, 1e-5);
}

TEST(ZoomOut, StopsOnlyWhenTheAreaFitsBothWays)
{
    EXPECT_FALSE(ZoomOutAllowed(QSize(1000, 700), QSize(981, 603)));
    EXPECT_TRUE(ZoomOutAllowed(QSize(1000, 600), QSize(981, 603)));
    EXPECT_TRUE(ZoomOutAllowed(QSize(900, 700), QSize(981, 603)));
    EXPECT_EQ(ClampZoom(3), 5);
    EXPECT_EQ(ClampZoom(15), 15);
}

TEST(CoordinateText, DashesBelowZeroAndTheDesignsUnitsOtherwise)
{
    EXPECT_EQ(CoordinateText(-1, DisplayUnits::Millimetres, " EW"), "---");
    EXPECT_EQ(CoordinateText(2500, DisplayUnits::Millimetres, " EW"), "2500mm EW");
    EXPECT_EQ(CoordinateText(2500, DisplayUnits::Metres, " NS"), "2.500m NS");
}

TEST(RecentFiles, TheNinthDropsTheOldestAndReopeningIgnoresCase)
{
    RecentFiles recent;
    for (int i = 1; i <= 9; ++i)
        recent.Add(QStringLiteral("/p/Project%1.plf").arg(i));
    ASSERT_EQ(recent.count(), 8);
    EXPECT_EQ(recent.at(0), "/p/Project9.plf");
    EXPECT_FALSE(recent.paths().contains("/p/Project1.plf"));
    recent.Add(QStringLiteral("/P/PROJECT4.PLF"));
    EXPECT_EQ(recent.count(), 8);
    EXPECT_EQ(recent.at(0), "/P/PROJECT4.PLF");
    EXPECT_EQ(recent.paths().filter("project4", Qt::CaseInsensitive).size(), 1);
}

TEST(RecentFiles, SettingsKeepTheOrderAndDropFilesThatAreGone)
{
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 1; i <= 4; ++i) {
        paths.append(dir.filePath(QStringLiteral("f%1.plf").arg(i)));
        QFile file(paths.last());
        if (i != 3) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }
    MemorySettingsStore store;
    for (int i = 0; i < 4; ++i)
        store.writeText(QStringLiteral("LastFile%1").arg(i + 1), paths[i]);
    RecentFiles recent;
    recent.Load(store);
    EXPECT_EQ(recent.paths(), (QStringList{paths[0], paths[1], paths[3]}));

    MemorySettingsStore saved;
    recent.Save(saved);
    EXPECT_EQ(saved.RegReadText("LastFile3", {}), paths[3]);
    EXPECT_FALSE(saved.contains("LastFile4"));
}

TEST(DropViewPanel, ClosesUpDropsInletsAndDrainsOnly)
{
    TDrop drop;
    TInlet inlet;
    TDrain drain;
    TValve valve;
    TElbow elbow;
    EXPECT_EQ(DropViewCaption(&drop), " Drop View . . .");
    EXPECT_EQ(DropViewCaption(&inlet), " Inlet view . . .");
    EXPECT_EQ(DropViewCaption(&drain), " Drain . . .");
    for (const TPipeLoopObject* other :
         {static_cast<const TPipeLoopObject*>(&valve), static_cast<const TPipeLoopObject*>(&elbow),
          static_cast<const TPipeLoopObject*>(nullptr)}) {
        EXPECT_EQ(DropViewCaption(other), QString());
        EXPECT_FALSE(ShownInDropView(other));
    }
    EXPECT_TRUE(ShownInDropView(&drain));
}

} // namespace
} // namespace pipeloop
