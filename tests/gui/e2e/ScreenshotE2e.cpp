// The real program, started under Xvfb on a sample project: it must come up,
// open the project, paint the plan and save its window.

#include "Canvas.h"
#include "PipeLoop.h"
#include "ProjectFile.h"
#include "ScriptedUi.h"

#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace pipeloop
{
namespace
{

TEST(DesktopProgram, OpensTheWorkshopSampleAndPaintsItsPlan)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("xvfb-run"));
    if (xvfb.isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed (scripts/setup installs it)";
    QTemporaryDir dir;
    const QString sample = QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf";
    const QString shot = dir.filePath("plan.png");
    QProcess program;
    program.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the real X server this time
    program.setProcessEnvironment(environment);
    program.start(xvfb, {"-a", "-s", "-screen 0 1280x900x24", PIPELOOP_PROGRAM, sample,
                         "--settings", dir.filePath("settings.ini"), "--screenshot", shot});
    ASSERT_TRUE(program.waitForFinished(60000)) << program.readAll().toStdString();
    const QString output = QString::fromLocal8Bit(program.readAll());
    ASSERT_EQ(program.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("painted after")) << output.toStdString();

    QImage picture(shot);
    ASSERT_FALSE(picture.isNull());
    picture = picture.convertToFormat(QImage::Format_RGB32);

    // The colour the loop of this sample is drawn in.
    testing::ScriptedUi ui;
    TPipeLoopOptions options;
    ProjectLoad load = OpenProject(sample, options, PrintSetup(), InitialZoomFactors);
    ASSERT_TRUE(load.ok());
    const QRgb pipe =
        ToQColor(load.Options.PipeColourFor(false, false, load.Design->PipeSize)).rgb();
    ASSERT_NE(pipe, qRgb(255, 255, 255));

    int pipePixels = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((picture.pixel(x, y) & 0xFFFFFF) == (pipe & 0xFFFFFF))
                ++pipePixels;
    // A pipe 3 pixels wide over a few hundred pixels of loop, at least.
    EXPECT_GT(pipePixels, 1000) << "pipe colour " << std::hex << pipe;
}

} // namespace
} // namespace pipeloop
