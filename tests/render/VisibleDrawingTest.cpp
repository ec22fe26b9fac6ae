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

// The lines a drawing makes, and those of them whose bounds meet the box.
QStringList Lines(const RecordingCanvas& canvas, const PixelRect* box = nullptr)
{
    QStringList lines;
    for (const Primitive& line : canvas.primitives()) {
        if (line.kind != Primitive::Kind::Line)
            continue;
        const QPoint a = line.points[0];
        const QPoint b = line.points[1];
        const PixelRect bounds{std::min(a.x(), b.x()), std::min(a.y(), b.y()),
                               std::max(a.x(), b.x()) + 1, std::max(a.y(), b.y()) + 1};
        if (box == nullptr || bounds.intersects(*box))
            lines.append(line.describe());
    }
    return lines;
}

TEST(VisibleDrawing, ALoopOfThousandsOfCornersSeenCloseUpDrawsWhatCanShow)
{
    // Teeth 2 m deep along the north side, which the plan and the north
    // section both show, and a window's worth of either at 1:20, near the
    // north-west corner: a ninth of the drawing's width.
    auto d = DenseLoopDesign(12000, 60000, 30000, 2000);
    const PixelRect window{3000, 200, 4280, 1100};
    for (ViewKind view : {ViewKind::Plan, ViewKind::North}) {
        const ScreenGeometry g = ScreenViewGeometry(d->loop, view, 20, 96, 96);
        RecordingCanvas whole(g.area);
        RecordingCanvas seen(g.area);
        seen.setClipBox(window);
        PaintDesignView(whole, d->loop, g.params);
        PaintDesignView(seen, d->loop, g.params);
        const QStringList all = Lines(whole);
        const QStringList drawn = Lines(seen);
        EXPECT_GT(all.size(), 11999) << int(view);
        EXPECT_LT(drawn.size(), all.size() / 5) << int(view);
        const QStringList crossing = Lines(whole, &window);
        EXPECT_GT(crossing.size(), 500) << int(view);
        for (const QString& line : crossing)
            ASSERT_TRUE(drawn.contains(line)) << line.toStdString();
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
