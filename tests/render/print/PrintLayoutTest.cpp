// The arithmetic of a printed sheet: fit test, best-fit scale, page geometry
// and where a view lands on the page.

#include "print/PrintLayout.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "print/PagePrinter.h"

#include <gtest/gtest.h>

using namespace pipeloop;

namespace
{

struct FitCase {
    ViewExtent extent;
    int32_t scale;
    float paperWidth;
    float paperHeight;
    int32_t headerMargin;
    bool fits;
};

class FitTest : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(FitTest, ComparesWholeMillimetresOnPaperWithThePaperLessTheHeaderMargin)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(ViewFits(c.extent, c.scale, c.paperWidth, c.paperHeight, c.headerMargin), c.fits);
}

INSTANTIATE_TEST_SUITE_P(Cases, FitTest,
                         ::testing::Values(
                             // The worked example: 30000 div 150 = 200, 20000 div 150 = 133.
                             FitCase{{30000, 20000}, 150, 200.0f, 287.0f, 20, true},
                             // One step larger: 30000 div 149 = 201 is wider than the paper.
                             FitCase{{30000, 20000}, 149, 200.0f, 287.0f, 20, false},
                             // Integer division: 30149 div 150 is still 200.
                             FitCase{{30149, 20000}, 150, 200.0f, 287.0f, 20, true},
                             // Height against paper height less the margin: 267 fits, 268 does not.
                             FitCase{{1000, 26700}, 100, 200.0f, 287.0f, 20, true},
                             FitCase{{1000, 26800}, 100, 200.0f, 287.0f, 20, false},
                             // A scale of 0 never fits (and never divides by zero).
                             FitCase{{1000, 1000}, 0, 200.0f, 287.0f, 20, false},
                             // A header margin taller than the paper leaves no room.
                             FitCase{{1000, 1000}, 1000, 200.0f, 287.0f, 300, false}));

TEST(BestFit, WorkedExampleGives155)
{
    // sA = Round(150) + 1 = 151, sB = Round(74.9) + 1 = 76, (151 div 5) x 5 + 5.
    EXPECT_EQ(BestFitScale({30000, 20000}, 200.0f, 287.0f, 20), 155);
}

TEST(BestFit, RoundsHalvesToEvenAndStepsToTheNextFive)
{
    // 25000 / 200 = 125 exactly: s = 126, scale 130. 25100 / 200 = 125.5
    // rounds to 126 (even): s = 127, scale 130. 25300 / 200 = 126.5 rounds to
    // 126: s = 127, scale 130; 26100 / 200 = 130.5 rounds to 130: s = 131, 135.
    EXPECT_EQ(BestFitScale({25000, 100}, 200.0f, 287.0f, 20), 130);
    EXPECT_EQ(BestFitScale({25100, 100}, 200.0f, 287.0f, 20), 130);
    EXPECT_EQ(BestFitScale({26100, 100}, 200.0f, 287.0f, 20), 135);
    // A multiple of five already steps up: s = 150 gives 155.
    EXPECT_EQ(BestFitScale({29800, 100}, 200.0f, 287.0f, 20), 155);
}

TEST(BestFit, AlwaysFitsTheViewItWasComputedFor)
{
    const ViewExtent extents[] = {{30000, 20000}, {8000, 5000}, {60000, 30000},
                                  {150000, 900},  {500, 40000}, {1, 1}};
    const std::pair<float, float> papers[] = {
        {200.0f, 287.0f}, {287.0f, 200.0f}, {410.0f, 287.0f}, {205.9f, 269.4f}};
    for (const ViewExtent& extent : extents)
        for (const auto& [width, height] : papers) {
            const int32_t scale = BestFitScale(extent, width, height, 25);
            EXPECT_TRUE(ViewFits(extent, scale, width, height, 25))
                << extent.across << "x" << extent.down << " on " << width << "x" << height
                << " at 1:" << scale;
        }
}

TEST(BestFit, StaysWithinTheScalesThePrintSetupHolds)
{
    // Too large for 1:1000: the largest scale, which the fit test then refuses.
    EXPECT_EQ(BestFitScale({900000, 1000}, 200.0f, 287.0f, 20), PrintSetup::MaxScale);
    // No paper left under the header margin: no division by zero or a negative scale.
    EXPECT_EQ(BestFitScale({1000, 1000}, 200.0f, 20.0f, 20), PrintSetup::MaxScale);
    EXPECT_EQ(BestFitScale({1000, 1000}, 0.0f, 287.0f, 20), PrintSetup::MaxScale);
}

TEST(BestFit, TheStandardScaleBesideItIsTheNextOneThatFits)
{
    // A 42 m × 20 m hall on A4: best fit 1:215, standard 1:250.
    EXPECT_EQ(BestFitScale({42000, 20000}, 200.0f, 287.0f, 20), 215);
    EXPECT_EQ(StandardFitScale({42000, 20000}, 200.0f, 287.0f, 20), 250);
    // A best fit that is a standard scale stays; small rooms reach 1:20 and 1:25.
    EXPECT_EQ(BestFitScale({19000, 100}, 200.0f, 287.0f, 20), 100);
    EXPECT_EQ(StandardFitScale({19000, 100}, 200.0f, 287.0f, 20), 100);
    EXPECT_EQ(StandardFitScale({4000, 100}, 200.0f, 287.0f, 20), 25);
    EXPECT_EQ(StandardFitScale({60000, 1000}, 200.0f, 287.0f, 20), 500);
    // Too large for 1:1000: the largest scale, as the best fit gives.
    EXPECT_EQ(StandardFitScale({900000, 1000}, 200.0f, 287.0f, 20), PrintSetup::MaxScale);
}

TEST(PageGeometryTest, PrintableAreaIsThePageLessTheOffsetsOnBothSides)
{
    PdfPage a4;
    a4.dpi = 600;
    const PageGeometry portrait = PdfPageGeometry(a4, false);
    EXPECT_EQ(portrait.dpiX, 600);
    // 5 mm at 600 dpi, as Qt rounds the layout's margins.
    EXPECT_NEAR(portrait.offset.x(), 118, 1);
    EXPECT_EQ(portrait.offset.y(), portrait.offset.x());
    EXPECT_EQ(portrait.printableWidth(), portrait.physical.width() - 2 * portrait.offset.x());
    EXPECT_NEAR(portrait.paperWidthMm(), 200.0f, 0.1f);
    EXPECT_NEAR(portrait.paperHeightMm(), 287.0f, 0.2f);
    EXPECT_EQ(portrait.pageRect(),
              (PixelRect{0, 0, portrait.printableWidth(), portrait.printableHeight()}));

    const PageGeometry landscape = PdfPageGeometry(a4, true);
    EXPECT_EQ(landscape.printableWidth(), portrait.printableHeight());
    EXPECT_EQ(landscape.printableHeight(), portrait.printableWidth());
}

TEST(PageGeometryTest, PaperNamesAreQtsKeysInAnyCase)
{
    EXPECT_EQ(PaperSizeFromName(QStringLiteral("a3"))->id(), QPageSize::A3);
    EXPECT_EQ(PaperSizeFromName(QStringLiteral("Letter"))->id(), QPageSize::Letter);
    EXPECT_FALSE(PaperSizeFromName(QStringLiteral("A99")));
    EXPECT_FALSE(PaperSizeFromName(QString()));
}

class PlacementTest : public ::testing::Test
{
protected:
    PlacementTest() : design(options)
    {
        design.RoomEW = 30000;
        design.RoomNS = 20000;
        design.RoomHG = 6000;
        design.Height = 4500;
        page.dpiX = page.dpiY = 600;
        page.physical = QSize(7016, 4961);
        page.offset = QPoint(118, 118);
    }
    TPipeLoopOptions options;
    TPipeLoop design;
    PageGeometry page;
};

TEST_F(PlacementTest, ScalesMarginsAndAreaFollowThePrinter)
{
    options.SymbolSize = 4;
    options.HeaderMargin = 25;
    const PageFrame frame = PageFrame::onPaper(page);
    const TDrawParams p = PrintDrawParams(design, ViewKind::Plan, 150, false, frame);
    EXPECT_DOUBLE_EQ(p.ScaleX, 600.0 / (150 * 25.4));
    // 4 mm on paper at 600 dpi: Round(94.49).
    EXPECT_EQ(p.OriginX, 94);
    EXPECT_EQ(p.OriginY, 94);
    EXPECT_EQ(p.SymbolSize, 94);
    EXPECT_EQ(p.PipeWidth, 600 / 32);
    EXPECT_EQ(p.PipeDepth, 1500);
    EXPECT_TRUE(p.PrintMode);
    EXPECT_TRUE(p.DrawSymbols);
    // Top = Round(25 mm) = 591; the building is Round(30000 x ScaleX) = 4724
    // by Round(20000 x ScaleY) = 3150 pixels, walls around it.
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Top, 591);
    EXPECT_EQ(p.Right, 4724 + 2 * 94);
    EXPECT_EQ(p.Bottom, 591 + 3150 + 2 * 94);
}

TEST_F(PlacementTest, CentringSplitsTheSpareWidth)
{
    const PageFrame frame = PageFrame::onPaper(page);
    const TDrawParams p = PrintDrawParams(design, ViewKind::North, 150, true, frame);
    const int spare = page.printableWidth() - 4724 - 2 * p.OriginX;
    EXPECT_EQ(p.Left, spare / 2);
    EXPECT_EQ(p.Right - p.Left, 4724 + 2 * p.OriginX);
    // North shows W x H.
    EXPECT_EQ(p.Bottom - p.Top, 945 + 2 * p.OriginY);
}

TEST_F(PlacementTest, SectionsFollowTheSectionOptions)
{
    options.DrawSymbolsOnDrops = false;
    options.SymbolNamesOnSection = true;
    const TDrawParams p =
        PrintDrawParams(design, ViewKind::East, 150, true, PageFrame::onPaper(page));
    EXPECT_FALSE(p.DrawSymbols);
    EXPECT_TRUE(p.SymbolNames);
}

TEST_F(PlacementTest, ATallDrawingIsLiftedClearOfTheTitleBlock)
{
    // 1:120 puts the building 3937 pixels high; with the walls and a 591
    // pixel header margin it would end at 4716, inside a title block 500
    // pixels high at the foot of a 4725 pixel page.
    const PageFrame frame = PageFrame::onPaper(page);
    const TDrawParams free = PrintDrawParams(design, ViewKind::Plan, 120, true, frame);
    ASSERT_GT(free.Bottom, page.printableHeight() - 500);
    const TDrawParams lifted = PrintDrawParams(design, ViewKind::Plan, 120, true, frame, 500);
    EXPECT_EQ(lifted.Bottom, page.printableHeight() - 500);
    EXPECT_EQ(lifted.Bottom - lifted.Top, free.Bottom - free.Top);
    // A small drawing keeps the header margin.
    const TDrawParams small = PrintDrawParams(design, ViewKind::Plan, 300, true, frame, 500);
    EXPECT_EQ(small.Top, 591);
}

TEST_F(PlacementTest, TheReducedPageIsThePrintersPageScaledDown)
{
    const PageFrame paper = PageFrame::onPaper(page);
    const PixelRect preview{10, 20, 10 + page.printableWidth() / 10,
                            20 + page.printableHeight() / 10};
    const PageFrame reduced = PageFrame::reduced(page, preview);
    EXPECT_NEAR(reduced.factor(page), 10.0, 0.01);
    const TDrawParams big = PrintDrawParams(design, ViewKind::Plan, 150, true, paper);
    const TDrawParams small = PrintDrawParams(design, ViewKind::Plan, 150, true, reduced);
    EXPECT_NEAR(small.ScaleX * 10, big.ScaleX, 1e-3);
    EXPECT_NEAR(small.Left - 10, big.Left / 10.0, 1.0);
    EXPECT_NEAR(small.Top - 20, big.Top / 10.0, 1.0);
    EXPECT_NEAR(small.OriginX, big.OriginX / 10.0, 1.0);
}

} // namespace
