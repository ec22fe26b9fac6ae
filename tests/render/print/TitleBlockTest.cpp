// The title block through a RecordingCanvas: its rows, its box and logo, the
// colour table, and the same block reduced for the preview.

#include "print/TitleBlock.h"
#include "LocaleInfo.h"

#include "PrintTestSupport.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

class TitleBlockTest : public ::testing::Test, protected PrintDesignFixture
{
protected:
    // A 3390 x 2362 page at 300 dpi (landscape A4 less 5 mm each side).
    RecordingCanvas canvas{QSize(3390, 2362), 300, 300};
    const PixelRect page{0, 0, 3390, 2362};
    QImage logo{200, 100, QImage::Format_RGB32};

    TitleBlockMetrics draw(double f = 1.0)
    {
        const TitleBlockMetrics metrics = MeasureTitleBlock(canvas, loop, logo, 300, 300, f);
        DrawTitleBlock(canvas, page, loop,
                       TitleBlockRows(loop, ViewKind::East, 120, 287.0f, 200.0f), logo, metrics);
        return metrics;
    }

    std::vector<Primitive> ofKind(Primitive::Kind kind) const
    {
        std::vector<Primitive> found;
        for (const Primitive& primitive : canvas.primitives())
            if (primitive.kind == kind)
                found.push_back(primitive);
        return found;
    }
};

TEST_F(TitleBlockTest, RowsNameTheViewScalePaperAndGridInTheLocalesSeparator)
{
    options.GridSpacing = 500;
    options.PrintGrids = true;
    {
        ScopedLocale comma(QStringLiteral("de_DE"));
        EXPECT_EQ(TitleBlockRows(loop, ViewKind::South, 75, 410.0f, 287.04f).at(3),
                  QStringLiteral(" SOUTH/SCALE : 75:1, PAPER SIZE : 410,0x287,0mm, GRID : 500mm"));
    }
    // No grid on paper: no grid part.
    options.PrintGrids = false;
    EXPECT_EQ(TitleBlockRows(loop, ViewKind::West, 150, 200.0f, 287.0f).at(3),
              QStringLiteral(" WEST/SCALE : 150:1, PAPER SIZE : 200.0x287.0mm"));
    options.PrintGrids = true;
    options.GridSpacing = 0;
    EXPECT_FALSE(TitleBlockRows(loop, ViewKind::West, 150, 200.0f, 287.0f)
                     .at(3)
                     .contains(QStringLiteral("GRID")));
}

TEST_F(TitleBlockTest, FiveRowsInCourierNineAtTheFootOfThePageRightOfTheLogo)
{
    const TitleBlockMetrics metrics = draw();
    // 9 point at 300 dpi is 38 pixels; "M|y" measures 38 high: Round(39.9) + 4.
    EXPECT_EQ(metrics.font.family, QStringLiteral("Courier New"));
    EXPECT_EQ(metrics.font.pixelHeight, 38);
    EXPECT_EQ(metrics.rowHeight, 44);
    EXPECT_EQ(metrics.rows, 5);

    // The logo: Round(1.25 x 300) = 375 wide, half as high, at the bottom-left corner.
    const auto pictures = ofKind(Primitive::Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].box, (PixelRect{0, 2362 - 188, 375, 2362}));

    // Left, top and right sides of the box from 2 pixels right of the logo;
    // a separator above each row but the first.
    const int top = 2362 - 5 * 44;
    const auto lines = ofKind(Primitive::Kind::Line);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0].points, (std::vector<QPoint>{{377, 2362}, {377, top}}));
    EXPECT_EQ(lines[1].points, (std::vector<QPoint>{{377, top}, {3389, top}}));
    EXPECT_EQ(lines[2].points, (std::vector<QPoint>{{3389, top}, {3389, 2362}}));
    EXPECT_EQ(lines.size(), 3u + 4u);
    EXPECT_EQ(lines[3].points, (std::vector<QPoint>{{377, top + 44}, {3389, top + 44}}));

    const auto rows = ofKind(Primitive::Kind::TextRect);
    ASSERT_EQ(rows.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[size_t(i)].box, (PixelRect{377, top + i * 44, 3389, top + (i + 1) * 44}));
        EXPECT_EQ(rows[size_t(i)].vAlign, VAlign::Centre);
        EXPECT_EQ(rows[size_t(i)].brush.style, BrushStyle::Clear);
    }
    EXPECT_EQ(rows[3].text,
              QStringLiteral(" EAST/SCALE : 120:1, PAPER SIZE : 287.0x200.0mm, GRID : 1000mm"));
}

TEST_F(TitleBlockTest, WithoutTheLogoTheBoxStartsAtThePagesLeftEdge)
{
    options.NoLogo = true;
    draw();
    EXPECT_TRUE(ofKind(Primitive::Kind::Picture).empty());
    EXPECT_EQ(ofKind(Primitive::Kind::Line)[0].points[0], QPoint(0, 2362));
    EXPECT_EQ(ofKind(Primitive::Kind::TextRect)[0].box.left, 0);
}

TEST_F(TitleBlockTest, TheColourTableIsASixthRowWithEachSizeInItsColour)
{
    options.PrintPipeColourTable = true;
    options.PrintInColour = true;
    options.SizePipeColours = {1, 2, 3, 4, 5, 6, 7, 8};
    const TitleBlockMetrics metrics = draw();
    EXPECT_EQ(metrics.rows, 6);
    const auto texts = ofKind(Primitive::Kind::TextRect);
    ASSERT_EQ(texts.size(), 5u + 8u);
    const QStringList sizes = {" 20mm", " 25mm", " 32mm", " 40mm",
                               " 50mm", " 63mm", " 80mm", " 110mm"};
    int x = 377;
    for (int i = 0; i < 8; ++i) {
        const Primitive& entry = texts[size_t(5 + i)];
        EXPECT_EQ(entry.text, sizes.at(i));
        EXPECT_EQ(entry.font.colour, i + 1);
        EXPECT_EQ(entry.box.left, x);
        EXPECT_EQ(entry.box.top, 2362 - 44);
        x += canvas.textExtent(sizes.at(i)).width();
    }

    // Printed in black and white, the table is black.
    options.PrintInColour = false;
    for (const ColouredText& entry : PipeColourTable(loop))
        EXPECT_EQ(entry.colour, kBlack);
}

TEST_F(TitleBlockTest, ThePreviewDividesFontAndLogoByTheReduction)
{
    const TitleBlockMetrics metrics = draw(4.0);
    EXPECT_EQ(metrics.font.pixelHeight, 10); // Round(38 / 4)
    EXPECT_EQ(metrics.logo.width(), 94);     // Round(375 / 4)
    EXPECT_EQ(metrics.logo.height(), 47);
}

TEST_F(TitleBlockTest, TheFooterIsGreyItalicAtTheFootOfThePage)
{
    Font font;
    font.pointSize = 10;
    DrawFooter(canvas, page, font);
    const auto texts = ofKind(Primitive::Kind::TextRect);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, FooterText());
    EXPECT_TRUE(texts[0].text.startsWith(QStringLiteral("PIPELOOP ")));
    EXPECT_EQ(texts[0].font.colour, 0x808080);
    EXPECT_TRUE(texts[0].font.italic);
    EXPECT_EQ(texts[0].box, page);
    EXPECT_EQ(texts[0].vAlign, VAlign::Bottom);
}

} // namespace
