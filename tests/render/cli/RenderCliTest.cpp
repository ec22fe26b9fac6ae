// pipeloop-cli render, run as the installed program is: every view of every
// sample project as PNG, SVG and PDF, the picture the same pixels as the
// screen's drawing made in-process, the options, and the refusals.

#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"

#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

class RenderCli : public ::testing::Test
{
protected:
    QString out(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(RenderCli, EveryViewOfEverySampleInEveryFormat)
{
    const QStringList views{"plan", "north", "east", "south", "west", "drop", "3d"};
    for (const QString& file : {QStringLiteral("workshop.plf"), QStringLiteral("factory.plf")})
        for (const QString& view : views)
            for (const QString& suffix :
                 {QStringLiteral("png"), QStringLiteral("svg"), QStringLiteral("pdf")}) {
                const QString target = out(view + u'.' + suffix);
                // Small zooms keep the pictures small; the drawing is the same.
                const CliRun run = RunCli(
                    {"render", SampleFile(file), "--view", view, "--zoom", "100", "--out", target});
                ASSERT_EQ(run.exitCode, 0) << file.toStdString() << " " << view.toStdString() << " "
                                           << run.err.toStdString();
                EXPECT_EQ(run.err, QString());
                const QByteArray bytes = ReadBytes(target);
                if (suffix == QStringLiteral("png"))
                    EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
                else if (suffix == QStringLiteral("svg"))
                    EXPECT_TRUE(bytes.contains("<svg"));
                else
                    EXPECT_TRUE(bytes.startsWith("%PDF-"));
            }
    // The compressor house has only its plan.
    EXPECT_EQ(RunCli({"render", SampleFile("compressor-house.cph"), "--view", "plan", "--out",
                      out("house.png")})
                  .exitCode,
              0);
    const CliRun section = RunCli({"render", SampleFile("compressor-house.cph"), "--view", "north",
                                   "--out", out("house-north.png")});
    EXPECT_EQ(section.exitCode, 64);
    EXPECT_TRUE(section.err.contains("error: A compressor house has only the plan view."));
    EXPECT_FALSE(QFile::exists(out("house-north.png")));
}

TEST_F(RenderCli, ThePictureIsTheScreensDrawing)
{
    // The workshop's plan and north section at zoom 40: the drawing area's
    // size and every pixel as the main window paints them.
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;
    ProjectLoad load = OpenProject(SampleFile("workshop.plf"), options, printSetup, zoom);
    ASSERT_TRUE(load.ok());
    load.Apply(design, options, printSetup, zoom);

    for (ViewKind view : {ViewKind::Plan, ViewKind::North}) {
        const ScreenGeometry g = ScreenViewGeometry(*design, view, 40, 96, 96);
        QImage expected(g.area, QImage::Format_RGB32);
        expected.setDotsPerMeterX(3780);
        expected.setDotsPerMeterY(3780);
        expected.fill(Qt::white);
        {
            QPainterCanvas canvas(&expected);
            PaintDesignView(canvas, *design, g.params);
        }
        const QString target = out(ViewWord(view) + QStringLiteral(".png"));
        const CliRun run = RunCli({"render", SampleFile("workshop.plf"), "--view",
                                   ViewWord(view).toLower(), "--zoom", "40", "--out", target});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QImage actual(target);
        ASSERT_EQ(actual.size(), g.area);
        EXPECT_EQ(actual.convertToFormat(QImage::Format_RGB32), expected) << int(view);
    }
}

TEST_F(RenderCli, ZoomDpiAndSize)
{
    // 15 m × 9 m at 1:50 and 96 dpi: Round(1133.9) + 36 by Round(680.3) + 36.
    ASSERT_EQ(RunCli({"render", SampleFile("workshop.plf"), "--view", "plan", "--zoom", "50",
                      "--out", out("a.png")})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(out("a.png")).size(), QSize(1170, 716));
    // Twice the resolution, twice the pixels (less the fixed margins).
    ASSERT_EQ(RunCli({"render", SampleFile("workshop.plf"), "--view", "plan", "--zoom", "50",
                      "--dpi", "192", "--out", out("b.png")})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(out("b.png")).size(), QSize(2304, 1397));
    // A size: the picture has it; without a zoom the area fits inside it.
    ASSERT_EQ(RunCli({"render", SampleFile("workshop.plf"), "--view", "east", "--size", "800x300",
                      "--out", out("c.png")})
                  .exitCode,
              0);
    const QImage fitted(out("c.png"));
    EXPECT_EQ(fitted.size(), QSize(800, 300));
    EXPECT_EQ(fitted.pixel(799, 299), qRgb(255, 255, 255));
    // The drop view panel and the 3D view have sizes of their own.
    ASSERT_EQ(RunCli({"render", SampleFile("workshop.plf"), "--view", "drop:DROP2", "--out",
                      out("d.png")})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(out("d.png")).size(), QSize(80, 480));
    ASSERT_EQ(RunCli({"render", SampleFile("workshop.plf"), "--view", "3d", "--bearing", "1.2",
                      "--size", "300x200", "--out", out("e.png")})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(out("e.png")).size(), QSize(300, 200));
}

TEST_F(RenderCli, TheDefault3DPictureShowsTheWholeModel)
{
    // What is drawn keeps off the picture's edges, at the first bearing and
    // turned, and still fills a good part of it.
    const auto drawnBox = [](const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255))
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    for (const QString& file : {QStringLiteral("workshop.plf"), QStringLiteral("factory.plf")})
        for (const QString& bearing : {QStringLiteral("5.3"), QStringLiteral("0.8")}) {
            const QString target = out(file + bearing + QStringLiteral(".png"));
            ASSERT_EQ(RunCli({"render", SampleFile(file), "--view", "3d", "--bearing", bearing,
                              "--out", target})
                          .exitCode,
                      0);
            const QImage picture = QImage(target).convertToFormat(QImage::Format_RGB32);
            const QRect drawn = drawnBox(picture);
            EXPECT_TRUE(picture.rect().adjusted(1, 1, -1, -1).contains(drawn))
                << file.toStdString() << " " << bearing.toStdString();
            EXPECT_GT(drawn.width(), picture.width() / 2);
        }
}

TEST_F(RenderCli, RefusesWhatItCannotDo)
{
    // EMF, WMF and BMP come from the picture export's writers (issue 6).
    for (const QString& suffix :
         {QStringLiteral("emf"), QStringLiteral("wmf"), QStringLiteral("bmp")}) {
        const CliRun run = RunCli(
            {"render", SampleFile("workshop.plf"), "--view", "plan", "--out", out("x." + suffix)});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
        EXPECT_TRUE(QFile::exists(out("x." + suffix)));
    }
    const auto status = [&](const QStringList& arguments) {
        return RunCli(QStringList{"render"} + arguments).exitCode;
    };
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--out", out("y.png")}), 64); // no view
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--view", "plan"}), 64);      // no out
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--view", "top", "--out", out("y.png")}), 64);
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--view", "plan", "--out", out("y.jpg")}), 64);
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--view", "plan", "--size", "0x5", "--out",
                      out("y.png")}),
              64);
    EXPECT_EQ(status({SampleFile("workshop.plf"), "--view", "plan", "--zoom", "x", "--out",
                      out("y.png")}),
              64);
    const CliRun unknown = RunCli(
        {"render", SampleFile("workshop.plf"), "--view", "drop:NOPE", "--out", out("y.png")});
    EXPECT_EQ(unknown.exitCode, 64);
    EXPECT_TRUE(unknown.err.contains("No drop, inlet or drain named 'NOPE'."));
    EXPECT_EQ(status({out("missing.plf"), "--view", "plan", "--out", out("y.png")}), 2);
    EXPECT_FALSE(QFile::exists(out("y.png")));
}
