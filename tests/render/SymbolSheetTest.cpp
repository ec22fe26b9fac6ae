// Every symbol and stack drawn through the Qt backend into an image: saved as
// PNG in the build folder to be looked at, and compared with a golden image at
// the screen size s = 12 (antialiasing off, no text, so no fonts involved).

#include "QPainterCanvas.h"
#include "RenderTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

#include <numbers>

using namespace pipeloop;
using pipeloop::test::Stack;

namespace
{

// The keywords DrawSymbol draws (the hose items are drawn by the hose stack).
QStringList SingleSymbols()
{
    QStringList keywords;
    for (const QString& keyword : AllSymbolKeywords())
        if (!IsHoseStackItem(keyword))
            keywords << keyword;
    return keywords;
}

struct Sheet {
    QImage image;
    std::vector<QRect> cells; // one per symbol or stack, for the golden comparison
};

// Row 1: every symbol in a cell 4s wide and 9s high, anchored 2.5s above the
// cell's bottom (the FRL rises from there), with the pipe line behind it and,
// when asked, its keyword at the top of the cell.
// Row 2: stacks as drops and inlets show them, and the loop primitives.
Sheet DrawSheet(int s, bool labels)
{
    const QStringList keywords = SingleSymbols();
    const int cellW = 4 * s;
    const int row1 = 9 * s;
    const int row2 = 20 * s;
    Sheet sheet;
    sheet.image = QImage(int(keywords.size()) * cellW, row1 + row2, QImage::Format_RGB32);
    sheet.image.fill(Qt::white);
    QPainterCanvas canvas(&sheet.image);

    for (int i = 0; i < int(keywords.size()); ++i) {
        const int x = i * cellW + cellW / 2;
        const int y = row1 - 5 * s / 2;
        sheet.cells.push_back(QRect(i * cellW, 0, cellW, row1));
        canvas.setPen({kBlack, 3, PenStyle::Solid});
        canvas.moveTo(x, y - 3 * s / 2);
        canvas.lineTo(x, y + 3 * s / 2);
        canvas.setPenWidth(1);
        DrawSymbol(canvas, keywords[i], QPoint(x, y), s);
        if (labels) {
            canvas.setBrushStyle(BrushStyle::Clear);
            canvas.setFont(Font{"DejaVu Sans", 0, std::max(9, s / 3)});
            canvas.textRect({i * cellW, 2, (i + 1) * cellW, 2 + s / 2}, keywords[i], HAlign::Centre,
                            VAlign::Top);
        }
    }

    const int pipeWidth = 3;
    const int top = row1 + s;
    int column = 0;
    const auto nextColumn = [&]() {
        const QRect cell(column * 2 * cellW, row1, 2 * cellW, row2);
        sheet.cells.push_back(cell);
        ++column;
        return cell;
    };

    // A female drop in a section: down to the outlet, the hose stack, then
    // the symbol stack downward below it.
    for (const QStringList& list :
         {QStringList{"FILTER_AUTO", "REGULATOR", "GAUGE", "COUPLER", "AIR-HOSE", "COUPLER"},
          QStringList{"LUBRICATOR", "COUPLER", "RECOIL-HOSE", "COUPLER"}}) {
        const QRect cell = nextColumn();
        const int x = cell.center().x();
        auto symbols = Stack(list);
        const int h = s / 2;
        canvas.setPen({kBlack, pipeWidth, PenStyle::Solid});
        canvas.moveTo(x - 2 * s, top);
        canvas.lineTo(x + 2 * s, top);
        canvas.moveTo(x, top);
        const int y1 = top + s;
        canvas.lineTo(x, y1);
        canvas.setPenWidth(1);
        canvas.setBrush({kBlack, BrushStyle::Solid});
        canvas.moveTo(x - h, y1);
        canvas.lineTo(x + h, y1);
        canvas.lineTo(x, y1 + h);
        canvas.lineTo(x - h, y1);
        canvas.setPenWidth(pipeWidth);
        canvas.moveTo(x, y1 + h);
        const int below =
            DrawHoseStack(canvas, symbols, x, -1, 0xC0C0C0, pipeWidth, false, s, y1 + h);
        DrawSymbolStack(canvas, symbols, x, pipeWidth, below, 1, 0x0000FF, false, s, 0);
    }

    // A tee drop and an inlet: the stack upward from the end of the pipe.
    for (const QStringList& list : {QStringList{"3-PORT-OUTLET", "FRL", "VALVE"},
                                    QStringList{"MALE_ADAPTOR", "REDUCER", "DRYER", "RECEIVER"}}) {
        const QRect cell = nextColumn();
        const int x = cell.center().x();
        const int end = cell.bottom() - s;
        auto symbols = Stack(list);
        canvas.setPen({kBlack, pipeWidth, PenStyle::Solid});
        canvas.moveTo(x - 2 * s, top);
        canvas.lineTo(x + 2 * s, top);
        canvas.moveTo(x, top);
        canvas.lineTo(x, end);
        DrawSymbolStack(canvas, symbols, x, pipeWidth, 0, -1, 0xC0C0C0, false, s, end - s);
    }

    // The loop's primitives: drains, valves along a pipe, inlet arrows.
    {
        const QRect cell = nextColumn();
        const int x = cell.left() + 2 * s;
        canvas.setPen({kBlack, pipeWidth, PenStyle::Solid});
        canvas.moveTo(cell.left() + s, top + 2 * s);
        canvas.lineTo(cell.right() - s, top + 2 * s);
        canvas.setPenWidth(1);
        DrawValveSymbol(canvas, QPoint(x, top + 2 * s), s, double(1.5707964f));
        DrawValveSymbol(canvas, QPoint(x + 4 * s, top + 2 * s), s, 0.6);
        DrawDrainSymbol(canvas, QPoint(x, top + 6 * s), s, false);
        DrawDrainSymbol(canvas, QPoint(x + 4 * s, top + 6 * s), s, true);
        canvas.setBrush({kBlack, BrushStyle::Solid});
        canvas.setPenWidth(pipeWidth);
        DrawArrow(canvas, QPoint(x, top + 9 * s), s, 0.0);
        canvas.setPenWidth(pipeWidth);
        DrawArrow(canvas, QPoint(x + 4 * s, top + 10 * s), s, std::numbers::pi / 4);
    }
    canvas.end();
    return sheet;
}

QString OutputPath(const QString& name)
{
    return QDir(QStringLiteral(PIPELOOP_RENDER_TEST_OUTPUT)).filePath(name);
}

int InkPixels(const QImage& image, const QRect& rect)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

} // namespace

TEST(SymbolSheet, DrawsEverySymbolAndStackIntoAPng)
{
    for (int s : {12, 32}) {
        const Sheet sheet = DrawSheet(s, s > 12);
        const QString path = OutputPath(QStringLiteral("symbol_sheet_s%1.png").arg(s));
        ASSERT_TRUE(sheet.image.save(path)) << path.toStdString();
        // Every cell has something in it.
        for (const QRect& cell : sheet.cells)
            EXPECT_GT(InkPixels(sheet.image, cell), 4 * s) << s;
    }
}

TEST(SymbolSheet, ScreenSizeRenderMatchesTheGoldenImage)
{
    const Sheet sheet = DrawSheet(12, false);
    const QString goldenPath =
        QStringLiteral(PIPELOOP_TEST_DATA) + QStringLiteral("/render/symbol_sheet_s12.png");
    if (qEnvironmentVariableIsSet("PIPELOOP_UPDATE_GOLDEN")) {
        ASSERT_TRUE(sheet.image.save(goldenPath));
        GTEST_SKIP() << "golden image written to " << goldenPath.toStdString();
    }
    const QImage golden = QImage(goldenPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << goldenPath.toStdString();
    ASSERT_EQ(golden.size(), sheet.image.size());

    // Pixel geometry is exact, but a Qt build may flatten a curve a pixel
    // differently: allow a few pixels per cell, far fewer than any stroke.
    QImage diff = sheet.image.copy();
    int total = 0;
    for (size_t i = 0; i < sheet.cells.size(); ++i) {
        const QRect& cell = sheet.cells[i];
        int differing = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                if (sheet.image.pixel(x, y) != golden.pixel(x, y)) {
                    ++differing;
                    diff.setPixel(x, y, qRgb(255, 0, 255));
                }
        const int allowed = std::max(2, InkPixels(golden, cell) / 50);
        EXPECT_LE(differing, allowed) << "cell " << i;
        total += differing;
    }
    // On a difference, the render and the differing pixels (magenta) are left
    // beside the test program to be looked at.
    if (total > 0) {
        sheet.image.save(OutputPath("symbol_sheet_s12_actual.png"));
        diff.save(OutputPath("symbol_sheet_s12_diff.png"));
    } else {
        QFile::remove(OutputPath("symbol_sheet_s12_actual.png"));
        QFile::remove(OutputPath("symbol_sheet_s12_diff.png"));
    }
}
