// The factory design (and every sample project, once data/samples holds some)
// drawn as the screen shows it, through the Qt backend into PNG files in the
// build folder, to be looked at. The assertions here only check that each
// picture is a drawing: walls, pipes and symbols in the places they belong.

#include "DropViewRenderer.h"
#include "Model3D.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "Projection.h"
#include "QPainterCanvas.h"
#include "SampleDesign.h"
#include "ScreenView.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

QString OutputPath(const QString& name)
{
    QDir().mkpath(QStringLiteral(PIPELOOP_RENDER_TEST_OUTPUT));
    return QStringLiteral(PIPELOOP_RENDER_TEST_OUTPUT "/") + name;
}

QImage NewImage(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780); // 96 dots per inch
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    return image;
}

QImage RenderView(TPipeLoop& design, ViewKind view, int zoom)
{
    const ScreenGeometry g = ScreenViewGeometry(design, view, zoom, 96, 96);
    QImage image = NewImage(g.area);
    {
        QPainterCanvas canvas(&image);
        PaintDesignView(canvas, design, g.params);
    }
    return image;
}

int CountColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour ? 1 : 0;
    return n;
}

} // namespace

TEST(DesignPictures, FactoryPlanShowsWallsLoopAndObjects)
{
    auto d = FactoryDesign();
    d->loop.Elbows[3]->State = ObjectState::Highlighted;
    const QImage image = RenderView(d->loop, ViewKind::Plan, 100);
    ASSERT_TRUE(image.save(OutputPath(QStringLiteral("factory_plan.png"))));

    // The top wall band carries the wall colour (RGB 185,115,115) hatched.
    EXPECT_GT(CountColour(image.copy(0, 0, image.width(), 18), qRgb(185, 115, 115)), 100);
    // The loop is 50 mm in colour scheme 2: the 50 mm colour (0,0,204) along the north run.
    const ScreenGeometry g = ScreenViewGeometry(d->loop, ViewKind::Plan, 100, 96, 96);
    const QPoint north = PlanPoint(g.params, 1000, 8000);
    EXPECT_EQ(image.pixel(north), qRgb(0, 0, 204));
}

TEST(DesignPictures, FactorySectionsShowTheVisibleRun)
{
    auto d = FactoryDesign();
    for (ViewKind view : {ViewKind::North, ViewKind::East, ViewKind::South, ViewKind::West}) {
        const QImage image = RenderView(d->loop, view, 50);
        ASSERT_TRUE(
            image.save(OutputPath(QStringLiteral("factory_%1.png").arg(ViewWord(view).toLower()))));
        int drawnDrops = 0;
        for (const auto& drop : d->loop.Drops)
            drawnDrops += drop->DrawnInView ? 1 : 0;
        EXPECT_GT(drawnDrops, 0) << ViewWord(view).toStdString();
        // The floor band at the bottom is hatched in the wall colour.
        EXPECT_GT(
            CountColour(image.copy(0, image.height() - 18, image.width(), 18), qRgb(185, 115, 115)),
            100);
    }
}

TEST(DesignPictures, FactoryWithASelectedDrop)
{
    auto d = FactoryDesign();
    TDrop& drop = *d->loop.Drops[4];
    d->loop.Selected = &drop;
    drop.State = ObjectState::Selected;
    drop.SelectedSymbol = 2;
    ASSERT_TRUE(RenderView(d->loop, ViewKind::Plan, 100)
                    .save(OutputPath(QStringLiteral("factory_plan_selected.png"))));
    ASSERT_TRUE(RenderView(d->loop, ViewKind::North, 50)
                    .save(OutputPath(QStringLiteral("factory_north_selected.png"))));
}

TEST(DesignPictures, DropViewsOfEveryStyle)
{
    auto d = FactoryDesign();
    // The panel beside the drawing area is 80 pixels wide.
    const int w = 80;
    const int h = 480;
    std::vector<TPipeLoopObject*> objects;
    for (const auto& drop : d->loop.Drops)
        objects.push_back(drop.get());
    objects.push_back(d->loop.Inlets[0].get());
    objects.push_back(d->loop.Drains[0].get());
    objects.push_back(d->loop.Drains[1].get());
    QImage sheet = NewImage(QSize(w * int(objects.size()), h));
    {
        QPainterCanvas canvas(&sheet);
        for (int i = 0; i < int(objects.size()); ++i) {
            if (i == 4)
                static_cast<TDrop*>(objects[size_t(i)])->SelectedSymbol = 1;
            const PixelRect area{i * w, 0, (i + 1) * w, h};
            EXPECT_TRUE(
                PaintDropViewPanel(canvas, objects[size_t(i)], area, d->options.SelectColour));
            canvas.setPen({0xC0C0C0, 1, PenStyle::Solid});
            canvas.moveTo(area.right - 1, 0);
            canvas.lineTo(area.right - 1, h);
        }
    }
    ASSERT_TRUE(sheet.save(OutputPath(QStringLiteral("factory_drop_views.png"))));
    // Every drawn stack entry got a hit rectangle inside its own panel.
    const TDrop& first = *d->loop.Drops[0];
    for (const TSymbolEntry& entry : first.Symbols) {
        EXPECT_GE(entry.Record.Rect.Left, 0);
        EXPECT_LE(entry.Record.Rect.Right, w);
        EXPECT_GT(entry.Record.Rect.Bottom, entry.Record.Rect.Top);
    }
}

TEST(DesignPictures, Factory3D)
{
    auto d = FactoryDesign();
    View3DModel model;
    model.Rebuild(d->loop);
    QImage image = NewImage(QSize(800, 600));
    {
        QPainterCanvas canvas(&image);
        model.Paint(canvas, image.size());
        DrawCompass(canvas, model.bearing());
    }
    ASSERT_TRUE(image.save(OutputPath(QStringLiteral("factory_3d.png"))));
    model.setBearing(BearingFromCompassPoint(70, 40)); // east
    image.fill(Qt::white);
    {
        QPainterCanvas canvas(&image);
        model.Paint(canvas, image.size());
        DrawCompass(canvas, model.bearing());
    }
    ASSERT_TRUE(image.save(OutputPath(QStringLiteral("factory_3d_east.png"))));
    EXPECT_GT(CountColour(image, qRgb(192, 192, 192)), 10000); // the floor
}

TEST(DesignPictures, EverySampleProjectInEveryView)
{
    const QDir samples(QStringLiteral(PIPELOOP_SOURCE_DIR "/data/samples"));
    const QFileInfoList files =
        samples.entryInfoList({QStringLiteral("*.plf"), QStringLiteral("*.cph")}, QDir::Files);
    if (files.isEmpty())
        GTEST_SKIP() << "no sample projects";
    for (const QFileInfo& file : files) {
        TPipeLoopOptions options;
        PrintSetup printSetup;
        ZoomFactors zoom = InitialZoomFactors;
        std::unique_ptr<TPipeLoop> design;
        ProjectLoad load = OpenProject(file.filePath(), options, printSetup, zoom);
        ASSERT_TRUE(load.ok()) << file.fileName().toStdString();
        load.Apply(design, options, printSetup, zoom);
        const QString stem = QStringLiteral("sample_") + file.completeBaseName();

        for (ViewKind view : AllViews) {
            if (design->CompressorHouse && view != ViewKind::Plan)
                continue; // a compressor house has only its plan
            // Zoom 50: the whole building on a screen or two.
            const QImage image = RenderView(*design, view, 50);
            ASSERT_TRUE(image.save(
                OutputPath(stem + QStringLiteral("_%1.png").arg(ViewWord(view).toLower()))));
            // The loop (or, in a compressor house, the pipes) is on the picture:
            // plenty besides white, walls and grid.
            int drawing = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb pixel = image.pixel(x, y);
                    drawing += pixel != qRgb(255, 255, 255) && pixel != qRgb(192, 192, 192) &&
                                       pixel != qRgb(185, 115, 115)
                                   ? 1
                                   : 0;
                }
            EXPECT_GT(drawing, 500) << stem.toStdString() << " " << int(view);
            if (view != ViewKind::Plan && !design->Elbows.empty()) {
                int drawn = 0;
                for (const auto& elbow : design->Elbows)
                    drawn += elbow->DrawnInView ? 1 : 0;
                EXPECT_GE(drawn, 2) << stem.toStdString() << " " << int(view);
            }
        }

        // The drop views of every drop, inlet and drain side by side.
        std::vector<TPipeLoopObject*> objects;
        for (const auto& o : design->Drops)
            objects.push_back(o.get());
        for (const auto& o : design->Inlets)
            objects.push_back(o.get());
        for (const auto& o : design->Drains)
            objects.push_back(o.get());
        const int shown = std::min(int(objects.size()), 24);
        if (shown == 0)
            continue;
        QImage sheet = NewImage(QSize(80 * shown, 480));
        {
            QPainterCanvas canvas(&sheet);
            for (int i = 0; i < shown; ++i)
                PaintDropViewPanel(canvas, objects[size_t(i)],
                                   PixelRect{80 * i, 0, 80 * (i + 1), 480}, options.SelectColour);
        }
        ASSERT_TRUE(sheet.save(OutputPath(stem + QStringLiteral("_drop_views.png"))));

        View3DModel model;
        model.Rebuild(*design);
        QImage view3d = NewImage(QSize(640, 480));
        {
            QPainterCanvas canvas(&view3d);
            model.Paint(canvas, view3d.size());
        }
        ASSERT_TRUE(view3d.save(OutputPath(stem + QStringLiteral("_3d.png"))));
    }
}
