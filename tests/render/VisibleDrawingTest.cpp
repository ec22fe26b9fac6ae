// A drawing costs what can be seen of it: a loop of thousands of corners seen
// close up draws only the pipes that can show, and a window onto a drawing
// has the pixels of the whole.

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

bool IsLine(const Primitive& primitive)
{
    return primitive.kind == Primitive::Kind::Line;
}

TEST(VisibleDrawing, ALoopOfThousandsOfCornersSeenCloseUpDrawsWhatCanShow)
{
    // Teeth 2 m deep along the north side: the plan and the north section
    // both show them.
    auto d = DenseLoopDesign(12000, 60000, 30000, 2000);
    // A window's worth of the drawing at 1:20 near its north-west corner.
    const PixelRect window{3000, 200, 4280, 1100};
    for (ViewKind view : {ViewKind::Plan, ViewKind::North}) {
        const ScreenGeometry g = ScreenViewGeometry(d->loop, view, 20, 96, 96);
        RecordingCanvas whole(g.area);
        RecordingCanvas seen(g.area);
        seen.setClipBox(window);
        PaintDesignView(whole, d->loop, g.params);
        PaintDesignView(seen, d->loop, g.params);

        const auto lines = [](const RecordingCanvas& canvas) {
            QStringList drawn;
            for (const Primitive& primitive : canvas.primitives())
                if (IsLine(primitive))
                    drawn.append(primitive.describe());
            return drawn;
        };
        const QStringList all = lines(whole);
        const QStringList drawn = lines(seen);
        EXPECT_GT(all.size(), 11999) << "every segment of the loop, and more";
        // The window is a ninth of the drawing's width.
        EXPECT_LT(drawn.size(), all.size() / 5) << int(view);
        // Every line that crosses the window is drawn.
        int crossing = 0;
        for (const Primitive& primitive : whole.primitives()) {
            if (!IsLine(primitive))
                continue;
            const QPoint a = primitive.points[0];
            const QPoint b = primitive.points[1];
            const PixelRect bounds{std::min(a.x(), b.x()), std::min(a.y(), b.y()),
                                   std::max(a.x(), b.x()) + 1, std::max(a.y(), b.y()) + 1};
            if (bounds.intersects(window)) {
                ++crossing;
                EXPECT_TRUE(drawn.contains(primitive.describe()))
                    << primitive.describe().toStdString();
            }
        }
        EXPECT_GT(crossing, 500) << int(view);
    }
}

TEST(VisibleDrawing, AWindowOntoTheDrawingHasThePixelsOfTheWhole)
{
    auto d = DenseLoopDesign(1500, 9000, 6000, 4000);
    // Qt starts the dots of a styled line afresh where it cuts the line at the
    // device's edge: a dotted grid does differ in a window.
    d->options.GridSpacing = 0;
    for (ViewKind view : {ViewKind::Plan, ViewKind::North}) {
        const ScreenGeometry g = ScreenViewGeometry(d->loop, view, 20, 96, 96);
        QImage whole(g.area, QImage::Format_RGB32);
        {
            QPainterCanvas canvas(&whole);
            PaintDesignView(canvas, d->loop, g.params);
        }
        for (const QRect& window : {QRect(700, 300, 400, 300), QRect(0, 0, 300, 200)}) {
            QImage part(window.size(), QImage::Format_RGB32);
            {
                QPainter painter(&part);
                painter.translate(-window.topLeft());
                QPainterCanvas canvas(painter);
                PaintDesignView(canvas, d->loop, g.params);
            }
            EXPECT_EQ(part, whole.copy(window)) << int(view) << " at " << window.x();
        }
    }
}

} // namespace
