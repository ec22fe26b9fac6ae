// The drops page: which drops and inlets get a cell, how the cells wrap
// across the page and onto new pages, and the preview of a page.

#include "PrintSetup.h"
#include "print/ExtraPages.h"
#include "print/PrintPreview.h"
#include "print/TitleBlock.h"

#include "PrintTestSupport.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

class DropsPage : public ::testing::Test, protected PrintDesignFixture
{
protected:
    void addDrops(int count, int symbols)
    {
        QStringList stack;
        for (int i = 0; i < symbols; ++i)
            stack.append(QStringLiteral("FILTER"));
        for (int i = 0; i < count; ++i)
            addDrop(2000 + 100 * i, stack, QStringLiteral("DROP%1").arg(loop.Drops.size() + 1));
    }
};

TEST_F(DropsPage, OnlyDropsAndInletsWithSymbolsGetACellDropsFirst)
{
    auto inlet = std::make_unique<TInlet>();
    inlet->Name = QStringLiteral("INLET1");
    inlet->Symbols.push_back({QStringLiteral("VALVE"), {}});
    loop.Inlets.push_back(std::move(inlet));
    auto bare = std::make_unique<TInlet>();
    bare->Name = QStringLiteral("INLET2");
    loop.Inlets.push_back(std::move(bare));
    addDrops(1, 2);
    addDrops(1, 0);
    addDrops(1, 1);

    const auto cells = LayoutDropCells(loop, QSize(3390, 2362), 300, 20);
    QStringList names;
    for (const DropCell& cell : cells)
        names.append(cell.object->Name);
    EXPECT_EQ(names, (QStringList{"DROP1", "DROP3", "INLET1"}));
}

TEST_F(DropsPage, CellsRunAcrossThenDownThenOntoANewPage)
{
    // S = 100 at 300 dpi: cells 200 wide; two symbols make H = Round(260) and
    // rows 2H = 520 high. A 1000 x 1200 page holds 5 cells a row and 2 rows.
    addDrops(23, 2);
    const auto cells = LayoutDropCells(loop, QSize(1000, 1200), 300, 20);
    ASSERT_EQ(cells.size(), 23u);
    EXPECT_EQ(cells[0].box, (PixelRect{0, 20, 200, 540}));
    EXPECT_EQ(cells[4].box, (PixelRect{800, 20, 1000, 540}));
    EXPECT_EQ(cells[5].box, (PixelRect{0, 540, 200, 1060}));
    EXPECT_EQ(cells[9].page, 0);
    // The third row would end at 1580: a new page, starting below a name's height.
    EXPECT_EQ(cells[10].page, 1);
    EXPECT_EQ(cells[10].box, (PixelRect{0, 20, 200, 540}));
    EXPECT_EQ(cells[20].page, 2);
    EXPECT_EQ(cells[22].box, (PixelRect{400, 20, 600, 540}));
}

TEST_F(DropsPage, TheRowsAreAsTallAsTheTallestStack)
{
    addDrops(1, 1);
    addDrops(1, 5); // H = Round(100 x 1.3 x 5) = 650
    const auto cells = LayoutDropCells(loop, QSize(3390, 2362), 300, 20);
    ASSERT_EQ(cells.size(), 2u);
    EXPECT_EQ(cells[0].box.height(), 1300);
    EXPECT_EQ(cells[1].box.height(), 1300);
}

TEST_F(DropsPage, PrintingDrawsEachNameAboveItsCellAndFootsEveryPage)
{
    addDrops(12, 2);
    RecordingTarget target;
    target.setLandscape(false); // 2362 wide: 11 cells of 200 a row, rows 520 high
    EXPECT_EQ(PrintDropsPages(target, loop), 1);
    ASSERT_EQ(target.pages.size(), 1u);
    const QStringList texts = target.texts(0);
    ASSERT_EQ(texts.size(), 13);
    EXPECT_EQ(texts.front(), FooterText());
    for (const Primitive& primitive : target.pages[0].canvas->primitives()) {
        if (primitive.kind != Primitive::Kind::TextRect || primitive.text == FooterText())
            continue;
        // The label font is 8 point: 33 pixels at 300 dpi, the height of a name.
        EXPECT_GE(primitive.box.top, 0) << primitive.text.toStdString();
        EXPECT_EQ(primitive.hAlign, HAlign::Centre);
    }
}

TEST(PreviewLayout, ThePageOutlineKeepsTheAspectInsideTheBox)
{
    PageGeometry printer;
    printer.dpiX = printer.dpiY = 600;
    printer.physical = QSize(4961 + 236, 7016 + 236);
    printer.offset = QPoint(118, 118);
    // Upright page: 16 pixels less high than the box, 8 from its top, centred across.
    const PixelRect upright =
        PreviewPageRect(printer, PreviewMode::PageOutline, QSize(400, 300), 96, 96);
    EXPECT_EQ(upright.top, 8);
    EXPECT_EQ(upright.height(), 284);
    EXPECT_EQ(upright.width(), 201); // Round(284 x 4961 / 7016)
    EXPECT_EQ(upright.left, (400 - 201) / 2);

    // A wide page: 16 pixels less wide than the box, 8 from its left, centred down.
    printer.physical.transpose();
    const PixelRect wide =
        PreviewPageRect(printer, PreviewMode::PageOutline, QSize(400, 300), 96, 96);
    EXPECT_EQ(wide.left, 8);
    EXPECT_EQ(wide.width(), 384);
    EXPECT_EQ(wide.height(), 272); // Round(384 x 4961 / 7016)
    EXPECT_EQ(wide.top, (300 - 272) / 2);

    // True size: printer pixels at screen resolution.
    EXPECT_EQ(PreviewPageRect(printer, PreviewMode::ShowPrintPage, QSize(400, 300), 96, 96),
              (PixelRect{0, 0, 1123, 794}));
}

TEST(PreviewLayout, TheOutlineDrawsThePageWithoutSymbolsAndTheTrueSizeWithThem)
{
    PrintDesignFixture fixture;
    fixture.addDrop(5000, {QStringLiteral("FILTER")}, QStringLiteral("DROP1"));
    fixture.options.SymbolNamesOnPlan = true;
    PrintSetup setup;
    PageGeometry printer;
    printer.dpiX = printer.dpiY = 600;
    printer.physical = QSize(7016 + 236, 4961 + 236);
    printer.offset = QPoint(118, 118);

    const auto labelled = [&](PreviewMode mode) {
        RecordingCanvas canvas(QSize(1200, 900), 96, 96);
        DrawPrintPreview(canvas, fixture.loop, setup, ViewKind::Plan, printer, mode,
                         QSize(600, 450), 96, 96);
        bool named = false;
        for (const Primitive& primitive : canvas.primitives())
            named = named || primitive.text == QStringLiteral("DROP1");
        EXPECT_EQ(canvas.primitives().front().kind, Primitive::Kind::Rectangle);
        return named;
    };
    EXPECT_FALSE(labelled(PreviewMode::PageOutline));
    EXPECT_TRUE(labelled(PreviewMode::ShowPrintPage));
}

} // namespace
