// The preview painted for real: the page stays inside its outline, and the
// PDF output every print command of the desktop program shares.

#include "print/PrintPreview.h"
#include "PrintSetup.h"
#include "QPainterCanvas.h"

#include "PdfCount.h"
#include "PrintTestSupport.h"
#include "ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::test;

namespace
{

// Whether any pixel outside the rectangle differs from the background.
bool DrawsOutside(const QImage& image, const PixelRect& inside, QRgb background)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool in =
                x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
            if (!in && image.pixel(x, y) != background)
                return true;
        }
    return false;
}

int InkInside(const QImage& image, const PixelRect& inside)
{
    int ink = 0;
    for (int y = inside.top + 1; y < inside.bottom - 1; ++y)
        for (int x = inside.left + 1; x < inside.right - 1; ++x)
            ink += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
    return ink;
}

TEST(PrintPreviewPicture, BothModesDrawThePageInsideItsOutline)
{
    PrintDesignFixture fixture;
    fixture.addDrop(5000, {QStringLiteral("FILTER")}, QStringLiteral("DROP1"));
    PrintSetup setup;
    RecordingTarget printer; // landscape A4 at 300 dpi
    printer.setLandscape(true);
    const PageGeometry page = printer.geometry();
    const QSize box(480, 360);
    const QRgb grey = qRgb(160, 160, 160);

    for (const PreviewMode mode : {PreviewMode::PageOutline, PreviewMode::ShowPrintPage}) {
        const PixelRect outline = PreviewPageRect(page, mode, box, 96, 96);
        QImage image(std::max(box.width(), outline.right + 1),
                     std::max(box.height(), outline.bottom + 1), QImage::Format_RGB32);
        image.fill(grey);
        {
            QPainterCanvas canvas(&image);
            DrawPrintPreview(canvas, fixture.loop, setup, ViewKind::Plan, page, mode, box, 96, 96);
        }
        const bool outlineMode = mode == PreviewMode::PageOutline;
        QDir().mkpath(QStringLiteral(PIPELOOP_RENDER_TEST_OUTPUT));
        image.save(QDir(QStringLiteral(PIPELOOP_RENDER_TEST_OUTPUT))
                       .filePath(outlineMode ? QStringLiteral("preview-outline.png")
                                             : QStringLiteral("preview-page.png")));
        EXPECT_FALSE(DrawsOutside(image, outline, grey)) << int(mode);
        // The walls, the loop and the title block leave ink on the page.
        EXPECT_GT(InkInside(image, outline), 500) << int(mode);
    }
}

TEST(PrinterPdfOutput, APdfIsWrittenWholeOrNotAtAll)
{
    pipeloop::testing::ScriptedUi ui;
    PrintDesignFixture fixture;
    PrintSetup setup;
    setup.SetLandscape(ViewKind::East, false);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    const PrintOutput pdf{PrintOutput::Kind::PdfFile, PdfOutputName()};
    const auto fileBytes = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    ASSERT_TRUE(
        PrintToOutput({pdf, path}, fixture.loop, setup, PrintRequest::allViews(fixture.loop)));
    const QByteArray printed = fileBytes();
    EXPECT_EQ(PdfPageCount(printed), 5);

    // A job that fails half way leaves the earlier PDF as it was, and no
    // temporary file beside it.
    const bool failed = PrintOn({pdf, path}, QStringLiteral("half"), PdfPage(), false,
                                [](QPagedPaintDevice& device) {
                                    QPainter painter(&device);
                                    painter.drawText(10, 10, QStringLiteral("first page"));
                                    return false;
                                });
    EXPECT_FALSE(failed);
    EXPECT_EQ(fileBytes(), printed);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("job.pdf")});

    // A folder that is not there is reported, and nothing is written.
    const QString lost = dir.filePath(QStringLiteral("gone/job.pdf"));
    EXPECT_FALSE(
        PrintToOutput({pdf, lost}, fixture.loop, setup, PrintRequest::allViews(fixture.loop)));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(lost));
}

} // namespace
