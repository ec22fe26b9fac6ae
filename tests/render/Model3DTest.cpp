// The drawing model of the 3D view: the item list and its
// capacity, the rebuild from a design, the projection, the extents, back-line
// visibility, painting and the compass.

#include "Model3D.h"
#include "RenderTestSupport.h"
#include "SampleDesign.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

constexpr float kPi = std::numbers::pi_v<float>;

int CountLabel(const View3DModel& model, QChar first)
{
    int n = 0;
    for (const Item3D& item : model.items())
        n += item.label.startsWith(first) ? 1 : 0;
    return n;
}

} // namespace

TEST(Model3D, ItemListStopsAtItsCapacity)
{
    View3DModel model;
    Item3D item;
    for (int i = 0; i < View3DModel::Capacity; ++i)
        ASSERT_TRUE(model.add(item));
    EXPECT_FALSE(model.add(item));
    EXPECT_EQ(model.count(), 8192);

    // A design that would need more items fills the list and stops.
    auto d = RectangularDesign();
    for (int i = 0; i < 9000; ++i)
        d->drop(0, i % 10000, DropStyle::Tee, 1000, {}, QStringLiteral("D"));
    model.Rebuild(d->loop);
    EXPECT_EQ(model.count(), 8192);
    EXPECT_EQ(model.items().back().label, QStringLiteral("D8190")); // floor + 8191 drops
}

TEST(Model3D, RebuildMakesFloorFeaturesDropsDrainsMainAndSpurs)
{
    auto d = RectangularDesign(); // W 10 000, L 6 000, H 4 000, loop at 3 000
    d->feature(1000, 1000, 2000, 3000, 1500, QStringLiteral("GENERAL"), QStringLiteral("Box"));
    d->feature(3000, 5000, 5000, 9000, 2500, QStringLiteral("GENERAL"), QStringLiteral("Tank"),
               true);
    d->drop(0, 5000, DropStyle::Tee, 2000, {}, QStringLiteral("DROP1"));
    d->drain(6000, 5000, false, 2500, QStringLiteral("DRAIN1"));
    d->loop.AddSpur({0, 2000, 3000}, {2000, 2000, 3000}, true, 0, 25.0f);
    d->loop.AddSpur({6000, 8000, 3000}, {4000, 8000, 3000}, true, 500, 32.0f);
    d->loop.Elbows[2]->VerticalDrop = 400;

    View3DModel model;
    model.setBearing(1.0f);
    model.Rebuild(d->loop);
    EXPECT_FLOAT_EQ(model.eyeDistance(), 500000.0f); // 50 × the larger side (W)
    EXPECT_FLOAT_EQ(model.bearing(), 5.3f);          // every rebuild turns the view back

    const std::vector<Item3D>& items = model.items();
    ASSERT_EQ(items.size(), 1 + (1 + 4) + (1 + 16) + 1 + 1 + 4 + (1 + 3));

    // The floor, centred: x along NS, y along EW, z up.
    EXPECT_EQ(items[0].kind, Item3D::Kind::FilledRect);
    EXPECT_EQ(items[0].start, (Point3{-3000.0f, -5000.0f, -2000.0f}));
    EXPECT_EQ(items[0].end, (Point3{3000.0f, 5000.0f, -2000.0f}));
    EXPECT_EQ(items[0].colour, 0xC0C0C0);

    // The rectangular feature: its top face, then four edges always drawn.
    EXPECT_EQ(items[1].kind, Item3D::Kind::FilledRect);
    EXPECT_EQ(items[1].start, (Point3{-2000.0f, -4000.0f, -500.0f}));
    EXPECT_EQ(items[1].colour, d->options.BuildFeaturesColour);
    EXPECT_EQ(items[2].start, (Point3{-1000.0f, -4000.0f, -500.0f})); // (P1EW, P2NS)
    EXPECT_EQ(items[2].end, (Point3{-1000.0f, -4000.0f, -2000.0f}));
    EXPECT_FLOAT_EQ(items[2].facing, -1.0f);
    EXPECT_EQ(items[2].width, 1);

    // The ellipse: 16 edges round it, each facing its own angle.
    EXPECT_EQ(items[6].kind, Item3D::Kind::FilledEllipse);
    EXPECT_EQ(items[7].start, (Point3{1000.0f, 4000.0f, 500.0f})); // φ = 0: (cNS, cEW + aEW)
    EXPECT_FLOAT_EQ(items[7].facing, 0.0f);
    EXPECT_FLOAT_EQ(items[11].facing, float(4 * std::numbers::pi / 8));
    EXPECT_EQ(items[11].start, (Point3{2000.0f, 2000.0f, 500.0f})); // φ = π/2: (cNS + aNS, cEW)

    // Drops and drains hang from their height by their length, 3 wide.
    const Item3D& drop = items[23];
    EXPECT_EQ(drop.label, QStringLiteral("D0"));
    EXPECT_EQ(drop.start, (Point3{-3000.0f, 0.0f, 1000.0f}));
    EXPECT_EQ(drop.end, (Point3{-3000.0f, 0.0f, -1000.0f}));
    EXPECT_EQ(drop.width, 3);
    EXPECT_EQ(drop.colour, d->options.SizePipeColours[1]); // 25 mm outlet
    const Item3D& drain = items[24];
    EXPECT_EQ(drain.label, QStringLiteral("D0"));
    EXPECT_EQ(drain.colour, d->options.SizePipeColours[4]); // the design's 50 mm

    // The main: corner to corner at the loop height less each corner's drop.
    EXPECT_EQ(CountLabel(model, 'E'), 4);
    EXPECT_EQ(items[26].label, QStringLiteral("E1"));
    EXPECT_EQ(items[26].end.z, 1000.0f - 400.0f);
    EXPECT_EQ(items[27].start.z, 1000.0f - 400.0f);

    // Spurs: one line, or three for a vertical drop spur.
    EXPECT_EQ(items[29].label, QStringLiteral("S0"));
    EXPECT_EQ(CountLabel(model, 'S'), 4);
    EXPECT_EQ(items[30].start.z, 1000.0f);
    EXPECT_EQ(items[30].end.z, 500.0f);
    EXPECT_EQ(items[31].end, (Point3{1000.0f, 3000.0f, 500.0f}));
    EXPECT_EQ(items[32].end.z, 1000.0f);
}

TEST(Model3D, SelectedAndHighlightedObjectsKeepTheirColours)
{
    auto d = RectangularDesign();
    d->drop(0, 5000, DropStyle::Tee, 2000, {}, QStringLiteral("D")).State = ObjectState::Selected;
    d->drain(6000, 5000, false, 2500, QStringLiteral("R")).State = ObjectState::Highlighted;
    View3DModel model;
    model.Rebuild(d->loop);
    EXPECT_EQ(model.items()[1].colour, d->options.SelectColour);
    EXPECT_EQ(model.items()[2].colour, d->options.HighlightColour);
}

TEST(Model3D, SquareBuildingAndFewCorners)
{
    Design d(8000, 8000, 3000, 2500);
    d.loop.AddElbow({0, 0, 2500});
    View3DModel model;
    model.Rebuild(d.loop);
    EXPECT_FLOAT_EQ(model.eyeDistance(), 400000.0f);
    EXPECT_EQ(CountLabel(model, 'E'), 0); // fewer than two corners: no main
}

TEST(Model3D, ProjectionRotatesAboutTheVerticalAxis)
{
    View3DModel model;
    model.setEyeDistance(100000.0f);
    // The centre stays at the centre.
    EXPECT_EQ(model.Project({0.0f, 0.0f, 0.0f}), (PointUV{0.0f, 0.0f}));
    // A quarter turn of the bearing carries the y axis onto the x axis.
    model.setBearing(kPi / 2);
    const PointUV turned = model.Project({0.0f, 1000.0f, 0.0f});
    model.setBearing(0.0f);
    const PointUV straight = model.Project({1000.0f, 0.0f, 0.0f});
    EXPECT_NEAR(turned.u, straight.u, 0.01f);
    EXPECT_NEAR(turned.v, straight.v, 0.01f);
    // At bearing 0: x'' = x, so u = −D·x / (D − y'') with y'' = sin(0.2)·z.
    EXPECT_NEAR(straight.u, -1000.0f, 0.001f);
    // A point on the vertical axis tilts towards the eye by θ3 = 0.2.
    const PointUV up = model.Project({0.0f, 0.0f, 1000.0f});
    const double y2 = std::sin(0.2) * 1000.0;
    EXPECT_NEAR(up.u, 0.0f, 1e-6);
    EXPECT_NEAR(up.v, std::cos(0.2) * 1000.0 * 100000.0 / (100000.0 - y2), 0.01);
    // At or behind the eye a point projects to (0, 0).
    EXPECT_EQ(model.Project({0.0f, 200000.0f, 0.0f}), (PointUV{0.0f, 0.0f}));
}

TEST(Model3D, ExtentsCoverEveryBearingAndResetTheBearing)
{
    View3DModel model;
    model.setEyeDistance(500000.0f);
    model.setBearing(1.0f);
    model.ComputeExtents(6000, 10000, 4000);
    EXPECT_FLOAT_EQ(model.bearing(), 5.3f);
    EXPECT_LT(model.xMin(), 0.0f);
    EXPECT_GT(model.xMax(), 0.0f);
    // The far room corner (L, W, H) reaches the extents at some bearing; x
    // extents are then a quarter of that.
    float umin = 0, umax = 0, vmin = 0, vmax = 0;
    for (int k = 0; k < 360; ++k) {
        model.setBearing(float(k * 0.017453292));
        const PointUV uv = model.Project({6000.0f, 10000.0f, 4000.0f});
        umin = std::min(umin, uv.u);
        umax = std::max(umax, uv.u);
        vmin = std::min(vmin, uv.v);
        vmax = std::max(vmax, uv.v);
    }
    EXPECT_FLOAT_EQ(model.xMin(), umin * 0.25f);
    EXPECT_FLOAT_EQ(model.xMax(), umax * 0.25f);
    EXPECT_FLOAT_EQ(model.yMin(), vmin);
    EXPECT_FLOAT_EQ(model.yMax(), vmax);
}

TEST(Model3D, ToPixelsScalesByTheExtents)
{
    View3DModel model;
    model.setEyeDistance(500000.0f);
    model.ComputeExtents(6000, 10000, 4000);
    const float w = model.xMax() - model.xMin();
    const float h = model.yMax() - model.yMin();
    EXPECT_EQ(model.ToPixels({0.0f, 0.0f}, 400, 300, 540), QPoint(400, 300));
    EXPECT_EQ(model.ToPixels({w / 2, h / 4}, 400, 300, 540), QPoint(400 + 270, 300 - 135));
}

TEST(Model3D, BackLinesShowOnlyOnTheNearSide)
{
    View3DModel model;
    EXPECT_TRUE(model.IsVisible(-1.0f));
    model.setBearing(0.0f);              // d = −π/2, e = π/2
    EXPECT_FALSE(model.IsVisible(0.0f)); // g = π
    EXPECT_TRUE(model.IsVisible(kPi));   // g = 0
    EXPECT_TRUE(model.IsVisible(kPi / 2 + 0.01f));
    EXPECT_FALSE(model.IsVisible(kPi / 2 - 0.01f));
    model.setBearing(5.3f); // e > π: visible when g ≥ d or g ≤ e − 2π
    EXPECT_TRUE(model.IsVisible(kPi));
    EXPECT_FALSE(model.IsVisible(0.0f));
    model.setBearing(-3.0f); // d < −π: visible when g ≤ e or g ≥ d + 2π
    EXPECT_TRUE(model.IsVisible(0.0f));
    EXPECT_FALSE(model.IsVisible(kPi));
}

TEST(Model3D, EllipseEdgesComeAndGoWithTheBearingRectangleEdgesStay)
{
    auto d = RectangularDesign();
    d->loop.Elbows.clear();
    d->feature(1000, 1000, 2000, 3000, 1500, QStringLiteral("GENERAL"), {});
    d->feature(3000, 5000, 5000, 9000, 2500, QStringLiteral("GENERAL"), {}, true);
    View3DModel model;
    model.Rebuild(d->loop);
    const auto lines = [&](float bearing) {
        model.setBearing(bearing);
        RecordingCanvas canvas;
        model.Paint(canvas, QSize(800, 600));
        int n = 0;
        for (const Primitive& p : canvas.primitives())
            n += p.kind == Primitive::Kind::Line ? 1 : 0;
        return n;
    };
    // 4 rectangle edges always, and half of the 16 ellipse edges.
    EXPECT_EQ(lines(0.0f), 4 + 8);
    EXPECT_EQ(lines(kPi), 4 + 8);

    // Which half: the ellipse's edges are items 7 … 22, edge i facing i·π/8.
    const auto visibleEdges = [&](float bearing) {
        model.setBearing(bearing);
        std::vector<int> edges;
        for (int i = 0; i < 16; ++i)
            if (model.IsVisible(model.items()[size_t(7 + i)].facing))
                edges.push_back(i);
        return edges;
    };
    // Bearing 0: facings from π/2 to 3π/2 (single-precision 3π/2 lies just beyond).
    EXPECT_EQ(visibleEdges(0.0f), (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11}));
    // Bearing π: the other side.
    EXPECT_EQ(visibleEdges(kPi), (std::vector<int>{0, 1, 2, 3, 4, 13, 14, 15}));
}

TEST(Model3D, PaintClearsToWhiteAndFillsFacesInTheirColour)
{
    auto d = RectangularDesign();
    d->loop.Elbows.clear();
    View3DModel model;
    model.Rebuild(d->loop);
    RecordingCanvas canvas;
    model.Paint(canvas, QSize(800, 600));
    const QStringList lines = canvas.descriptions();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "fill (0,0)-(800,600) brush FFFFFF solid");
    EXPECT_TRUE(lines[1].startsWith("polygon"));
    EXPECT_TRUE(lines[1].endsWith("pen C0C0C0 w1 solid brush C0C0C0 solid"));
    EXPECT_EQ(canvas.primitives()[1].points.size(), 4u);
}

TEST(Model3D, CompassDrawsTheBearingAndReadsTheMouse)
{
    RecordingCanvas canvas;
    DrawCompass(canvas, 0.0f);
    EXPECT_EQ(canvas.descriptions(),
              (QStringList{
                  "ellipse (0,0)-(80,80) pen 000000 w1 solid brush FFFFFF solid",
                  "line (40,0)-(40,80) pen 000000 w1 solid",
                  "line (0,40)-(80,40) pen 000000 w1 solid",
                  "polygon (40,0) (44,8) (36,8) pen 000000 w1 solid brush 000000 solid",
                  "line (40,40)-(40,0) pen 0000FF w1 solid",
              }));
    canvas.clear();
    DrawCompass(canvas, 5.3f); // r + Trunc(40·−0.832) = 7, r − Trunc(40·0.554) = 18
    EXPECT_EQ(canvas.descriptions().last(), "line (40,40)-(7,18) pen 0000FF w1 solid");

    // The needle points at the place the mouse set the bearing from.
    for (const QPoint click :
         {QPoint(80, 40), QPoint(40, 80), QPoint(0, 40), QPoint(68, 12), QPoint(12, 68)}) {
        canvas.clear();
        DrawCompass(canvas, BearingFromCompassPoint(click.x(), click.y()));
        const QPoint tip = canvas.primitives().back().points.back();
        const QPoint direction = click - QPoint(40, 40);
        EXPECT_GT(QPoint::dotProduct(tip - QPoint(40, 40), direction),
                  0.95 * 40 * std::hypot(direction.x(), direction.y()))
            << click.x() << "," << click.y();
    }

    EXPECT_FLOAT_EQ(BearingFromCompassPoint(40, 0), 0.0f);
    EXPECT_FLOAT_EQ(BearingFromCompassPoint(80, 40), kPi / 2);
    EXPECT_FLOAT_EQ(BearingFromCompassPoint(40, 80), kPi);
    EXPECT_FLOAT_EQ(BearingFromCompassPoint(0, 40), -kPi / 2);
    EXPECT_EQ(CompassHint(kPi / 2), QStringLiteral("90.0"));
    EXPECT_EQ(CompassHint(5.3f), QStringLiteral("303.7"));
}

TEST(Model3D, ExtremeValuesPaintWithoutOverflow)
{
    Design d(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX);
    d.loop.AddElbow({INT32_MIN, INT32_MAX, 0}, INT32_MIN);
    d.loop.AddElbow({INT32_MAX, INT32_MIN, 0}, INT32_MAX);
    d.feature(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MAX, QStringLiteral("GENERAL"), {},
              true);
    d.drop(INT32_MAX, INT32_MAX, DropStyle::Tee, INT32_MIN, {}, QStringLiteral("D"));
    d.loop.AddSpur({INT32_MIN, INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX, INT32_MAX}, false,
                   INT32_MIN, 25.0f);
    View3DModel model;
    model.Rebuild(d.loop);
    RecordingCanvas canvas;
    model.Paint(canvas, QSize(400, 300));
    EXPECT_FALSE(canvas.primitives().empty());
    // An empty room (all extents zero) paints too.
    Design empty(0, 0, 0, 0);
    empty.loop.AddElbow({0, 0, 0});
    empty.loop.AddElbow({0, 0, 0});
    model.Rebuild(empty.loop);
    model.Paint(canvas, QSize(400, 300));
}
