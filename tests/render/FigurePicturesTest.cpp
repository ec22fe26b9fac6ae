// A raster canvas paints repeated figures (the legs and symbol stacks of
// drops) from a picture of their first drawing. That is a speed-up only: the
// pixels and the hit rectangles must be those of drawing every figure.

#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "RenderTestSupport.h"
#include "SampleDesign.h"
#include "ScreenView.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

// Drops of every style and stack, many alike, along the north run, the
// south run and the east run of a long loop; one with a selected symbol.
std::unique_ptr<Design> ManyDropsDesign()
{
    auto d = std::make_unique<Design>(60000, 12000, 7000, 5000);
    d->loop.CreateDefaultElbows();
    const QStringList stacks[] = {
        {QStringLiteral("FRL"), QStringLiteral("2-PORT-OUTLET")},
        {QStringLiteral("GAUGE"), QStringLiteral("COUPLER"), QStringLiteral("AIR-HOSE"),
         QStringLiteral("COUPLER")},
        {QStringLiteral("REGULATOR"), QStringLiteral("RECOIL-HOSE")},
        {QStringLiteral("FILTER"), QStringLiteral("VALVE"), QStringLiteral("1-PORT-OUTLET")},
    };
    const TElbow& corner = *d->loop.Elbows.front();
    const int32_t h = d->loop.Height;
    for (int i = 0; i < 240; ++i) {
        auto drop = std::make_unique<TDrop>();
        const int32_t along = 2000 + (i % 80) * 700;
        const Position at = i < 160 ? Position{corner.NS + (i < 80 ? 0 : 10000), along, h}
                                    : Position{2000 + (i % 80) * 100, 59000, h};
        drop->setPosition(at);
        drop->Style = i % 3 == 0 ? DropStyle::Female : DropStyle::Tee;
        drop->PipeLen = 2500 + (i % 2) * 500;
        for (const QString& symbol : stacks[i % 4])
            drop->AddSymbol(symbol, {}, true);
        d->loop.AddExistingDrop(std::move(drop));
    }
    d->loop.Drops[7]->SelectedSymbol = 1;
    return d;
}

struct Painted {
    QImage image;
    std::vector<SymbolRect> hitRectangles;
};

// The view painted into an image of the given size at the given offset
// (a window onto the drawing), and every symbol's hit rectangle after it;
// painted again and again on the same canvas when asked.
Painted Paint(TPipeLoop& loop, const ScreenGeometry& g, QRect window, bool pictures,
              int paintings = 1)
{
    Painted painted{QImage(window.size(), QImage::Format_RGB32), {}};
    {
        QPainter painter(&painted.image);
        painter.translate(-window.topLeft());
        QPainterCanvas canvas(painter);
        canvas.setFigurePictures(pictures);
        for (int i = 0; i < paintings; ++i) {
            for (auto& drop : loop.Drops)
                for (TSymbolEntry& entry : drop->Symbols)
                    entry.Record.Rect = {};
            PaintDesignView(canvas, loop, g.params);
        }
    }
    for (const auto& drop : loop.Drops)
        for (const TSymbolEntry& entry : drop->Symbols)
            painted.hitRectangles.push_back(entry.Record.Rect);
    return painted;
}

} // namespace

TEST(FigurePictures, SectionsOfManyDropsHaveThePixelsAndHitRectanglesOfDrawingEachDrop)
{
    auto d = ManyDropsDesign();
    for (ViewKind view : {ViewKind::North, ViewKind::East, ViewKind::South, ViewKind::West}) {
        const ScreenGeometry g = ScreenViewGeometry(d->loop, view, 40, 96, 96);
        // The whole view, windows whose bottom edge cuts the stacks (the
        // dash-dot boxes of FRLs among them), one whose left and right edges
        // cut drops (and leave out those beyond them), one whose top and
        // bottom edges cut them.
        const QSize area = g.area;
        std::vector<QRect> windows{
            QRect(QPoint(0, 0), area), QRect(333, 0, 500, area.height()),
            QRect(0, area.height() / 2 + 7, area.width(), area.height() / 5)};
        for (int bottom = area.height() / 2; bottom < area.height(); bottom += 13)
            windows.emplace_back(0, 0, area.width(), bottom);
        for (const QRect& window : windows) {
            const Painted drawn = Paint(d->loop, g, window, false);
            const Painted pictured = Paint(d->loop, g, window, true);
            EXPECT_EQ(pictured.image, drawn.image)
                << int(view) << " in " << window.width() << "x" << window.height();
            EXPECT_EQ(pictured.hitRectangles, drawn.hitRectangles) << int(view);
        }
        // Painted again, a canvas has a picture of every leg from the start.
        const QRect whole(QPoint(0, 0), area);
        const Painted again = Paint(d->loop, g, whole, true, 2);
        EXPECT_EQ(again.image, Paint(d->loop, g, whole, false).image) << int(view);
        EXPECT_EQ(again.hitRectangles, Paint(d->loop, g, whole, false).hitRectangles) << int(view);
    }
}

TEST(FigurePictures, FiguresCutByTheEdgeOfThePictureHaveThePixelsOfDrawingThem)
{
    // A dash-dot box, a wide zig-zag, a filled triangle and a circle: the
    // same figure again and again, wholly inside, cut on every side at many
    // depths (alike and differently), and wholly outside, overlapping.
    const auto figure = [](QPoint at) {
        return [at](Canvas& c) {
            c.setPen({0x0000FF, 1, PenStyle::DashDot});
            c.setBrush({0xFFFFFF, BrushStyle::Clear});
            c.rectangle(at.x() - 9, at.y(), at.x() + 9, at.y() + 23);
            c.setPen({0x008000, 3, PenStyle::Solid});
            c.moveTo(at);
            for (int k = 1; k <= 6; ++k)
                c.lineTo(at.x() + (k % 2 ? 5 : -5), at.y() + 4 * k);
            c.setPen({0x800000, 1, PenStyle::Solid});
            c.setBrush({0x00FFFF, BrushStyle::Solid});
            c.polygon({at + QPoint(-4, 26), at + QPoint(4, 26), at + QPoint(0, 30)});
            c.ellipse(at.x() - 3, at.y() + 31, at.x() + 4, at.y() + 38);
        };
    };
    const auto paint = [&](bool pictures) {
        QImage image(120, 90, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainterCanvas canvas(&image);
        canvas.setFigurePictures(pictures);
        for (int y = -45; y < 100; y += 9)
            for (int x = -15; x < 135; x += 13)
                canvas.figure(QPoint(x, y), figure(QPoint(x, y)));
        canvas.end();
        return image;
    };
    EXPECT_EQ(paint(true), paint(false));
}

TEST(FigurePictures, AFigureOfAKnownLookIsPaintedAsTheStateItStartsInDraws)
{
    // A look names what the drawing reads, but not the state it starts in:
    // the same look under another pen, brush or pen position is another figure.
    const auto figure = [](QPoint at) {
        return [at](Canvas& c) {
            c.lineTo(at + QPoint(12, 20));
            c.rectangle(at.x() - 6, at.y() + 2, at.x() + 6, at.y() + 11);
            c.setPenWidth(3);
            c.lineTo(at + QPoint(-8, 24));
        };
    };
    const Pen pens[] = {{0x0000FF, 1, PenStyle::Solid},
                        {0x0000FF, 1, PenStyle::Dot},
                        {0x00A000, 1, PenStyle::Solid}};
    const Brush brushes[] = {{0xFFFFFF, BrushStyle::Solid}, {0x00FFFF, BrushStyle::Solid}};
    const auto paint = [&](bool pictures) {
        QImage image(220, 170, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainterCanvas canvas(&image);
        canvas.setFigurePictures(pictures);
        int drawn = 0;
        for (int i = 0; i < 72; ++i) {
            const QPoint at(12 + (i % 12) * 16, 10 + (i / 12) * 24);
            canvas.setPen(pens[i % 3]);
            canvas.setBrush(brushes[(i / 3) % 2]);
            canvas.moveTo(at + QPoint(0, i % 4 == 0 ? 1 : 0));
            canvas.figure(at, QByteArrayLiteral("leg"), [&](Canvas& c) {
                ++drawn;
                figure(at)(c);
            });
        }
        canvas.end();
        return std::pair{image, drawn};
    };
    const auto [pictured, drawnPictured] = paint(true);
    const auto [drawn, drawnEach] = paint(false);
    EXPECT_EQ(pictured, drawn);
    EXPECT_EQ(drawnEach, 72);
    EXPECT_LT(drawnPictured, 72); // figures met before come from their pictures
}
