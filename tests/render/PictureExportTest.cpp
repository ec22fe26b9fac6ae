// Picture export: the picture's drawing parameters, the drawing
// (the screen's view without the walls), every file format's header, the
// clipboard data, and the failures (the error report, no file that looks
// complete when it is not).

#include "PictureExport.h"

#include "FileSizeLimit.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "PlanRenderer.h"
#include "RecordingCanvas.h"
#include "RenderTestSupport.h"
#include "ScreenView.h"
#include "ScriptedUi.h"
#include "SectionRenderer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace pipeloop
{
namespace
{

uint16_t U16(const QByteArray& b, qsizetype at)
{
    return uint16_t(uint8_t(b.at(at)) | (uint8_t(b.at(at + 1)) << 8));
}
uint32_t U32(const QByteArray& b, qsizetype at)
{
    return uint32_t(U16(b, at)) | (uint32_t(U16(b, at + 2)) << 16);
}
int32_t I32(const QByteArray& b, qsizetype at)
{
    return int32_t(U32(b, at));
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PictureExportTest : public ::testing::Test
{
protected:
    PictureExportTest() : locale(LocaleFacts{}), design(options)
    {
        design.Description = QStringLiteral("Workshop ring main");
        design.RoomEW = 5000;
        design.RoomNS = 3000;
        design.RoomHG = 4000;
        design.Height = 3000;
        design.CreateDefaultElbows();
        auto inlet = std::make_unique<TInlet>();
        inlet->setPosition({0, 2000, 3000});
        inlet->Angle = -HalfPi;
        design.Inlets.push_back(std::move(inlet));
        auto drop = std::make_unique<TDrop>();
        drop->setPosition({0, 3500, 3000});
        drop->PipeLen = 1500;
        drop->Style = DropStyle::Tee;
        drop->Symbols = test::Stack({"FILTER", "GAUGE"});
        design.Drops.push_back(std::move(drop));
        auto feature = std::make_unique<TBuildFeature>();
        feature->P1NS = 1000;
        feature->P1EW = 1000;
        feature->P2NS = 2000;
        feature->P2EW = 2500;
        feature->Height = 1500;
        feature->Feature = QStringLiteral("GENERAL");
        design.BuildFeatures.push_back(std::move(feature));
    }

    PictureSource source(ViewKind view = ViewKind::Plan, int zoom = 20)
    {
        return ScreenPictureSource(design, view, zoom);
    }

    testing::ScriptedUi ui;
    ScopedLocale locale;
    TPipeLoopOptions options;
    TPipeLoop design;
    QTemporaryDir dir;
};

// ---------------------------------------------------------------- parameters

TEST_F(PictureExportTest, SourceIsTheScreensAreaScaleAndOrigin)
{
    // the rules: 96 dpi and zoom 20 give 0.18898 pixels per millimetre, and a
    // 5000 x 3000 building a plan area of 981 x 603 pixels.
    const PictureSource s = source();
    EXPECT_EQ(s.size, QSize(981, 603));
    EXPECT_NEAR(s.scaleX, 0.18898, 1e-5);
    EXPECT_NEAR(s.scaleY, 0.18898, 1e-5);
    EXPECT_EQ(s.originX, 18);
    EXPECT_EQ(s.originY, 18);
    EXPECT_EQ(s.view, ViewKind::Plan);
    EXPECT_EQ(source(ViewKind::East).size, QSize(603, 792)); // L x H
}

TEST_F(PictureExportTest, DrawingParametersOfThePicture)
{
    PictureSource s = source(ViewKind::South);
    s.size = QSize(700, 500);
    s.originX = 7;
    s.originY = 9;
    const TDrawParams p = PictureDrawParams(design, s);
    EXPECT_EQ(p.Left, 0);
    EXPECT_EQ(p.Top, 0);
    EXPECT_EQ(p.Right, 700);
    EXPECT_EQ(p.Bottom, 500);
    EXPECT_EQ(p.View, ViewKind::South);
    EXPECT_DOUBLE_EQ(p.ScaleX, s.scaleX);
    EXPECT_DOUBLE_EQ(p.ScaleY, s.scaleY);
    EXPECT_EQ(p.OriginX, 7);
    EXPECT_EQ(p.OriginY, 9);
    EXPECT_EQ(p.SymbolSize, 12);
    EXPECT_EQ(p.PipeWidth, 3);
    EXPECT_TRUE(p.DrawSymbols);
    EXPECT_FALSE(p.PrintMode);
    EXPECT_FALSE(p.SymbolNames);
    EXPECT_EQ(p.PipeDepth, 1000); // RoomHG - Height
}

// ---------------------------------------------------------------- drawing

TEST_F(PictureExportTest, PlanIsTheScreensViewWithoutWalls)
{
    options.DrawWalls = true;
    options.GridSpacing = 1000;
    const PictureSource s = source();
    const TDrawParams p = PictureDrawParams(design, s);

    RecordingCanvas picture(s.size);
    DrawPicture(picture, design, p);
    RecordingCanvas plan(s.size);
    plan.setPen({kBlack, 1, PenStyle::Solid});
    plan.setBrush({kWhite, BrushStyle::Solid});
    DrawPlan(plan, design, p, false);
    EXPECT_EQ(picture.descriptions(), plan.descriptions());

    // The grid is there (as on screen), the walls are not.
    RecordingCanvas screen(s.size);
    PaintDesignView(screen, design,
                    ScreenDrawParams(design, ViewKind::Plan,
                                     {0, 0, s.size.width(), s.size.height()}, s.scaleX, s.scaleY));
    EXPECT_GT(screen.primitives().size(), picture.primitives().size());
    EXPECT_TRUE(picture.descriptions().filter(QStringLiteral("C0C0C0")).size() > 0 ||
                picture.descriptions().filter(QStringLiteral("line")).size() > 0);
    for (const QString& call : picture.descriptions())
        EXPECT_FALSE(call.startsWith(QStringLiteral("fill"))) << call.toStdString();
}

TEST_F(PictureExportTest, SectionShowsTheInletArrowWhereTheScreenDoes)
{
    const PictureSource s = source(ViewKind::North);
    RecordingCanvas picture(s.size);
    DrawPicture(picture, design, PictureDrawParams(design, s));
    RecordingCanvas screen(s.size);
    PaintDesignView(screen, design,
                    ScreenDrawParams(design, ViewKind::North,
                                     {0, 0, s.size.width(), s.size.height()}, s.scaleX, s.scaleY));
    const auto arrows = [](const RecordingCanvas& canvas) {
        QStringList polygons;
        for (const Primitive& p : canvas.primitives())
            if (p.kind == Primitive::Kind::Polygon && p.brush.colour == kBlack)
                polygons << p.describe();
        return polygons;
    };
    ASSERT_FALSE(arrows(picture).isEmpty());
    EXPECT_EQ(arrows(picture), arrows(screen));
}

// ---------------------------------------------------------------- formats

TEST_F(PictureExportTest, BitmapHeaderFields)
{
    const PictureSource s = source();
    const QByteArray bmp = PictureBytes(design, s, PictureFormat::Bmp);
    ASSERT_GT(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), "BM");
    EXPECT_EQ(U32(bmp, 2), uint32_t(bmp.size())); // bfSize
    EXPECT_EQ(U32(bmp, 10), 54u);                 // bfOffBits
    EXPECT_EQ(U32(bmp, 14), 40u);                 // biSize
    EXPECT_EQ(I32(bmp, 18), 981);                 // biWidth
    EXPECT_EQ(I32(bmp, 22), 603);                 // biHeight (bottom-up)
    EXPECT_EQ(U16(bmp, 26), 1);                   // biPlanes
    EXPECT_EQ(U16(bmp, 28), 24);                  // biBitCount
    EXPECT_EQ(U32(bmp, 30), 0u);                  // BI_RGB
    const uint32_t stride = (981 * 3 + 3) / 4 * 4;
    EXPECT_EQ(U32(bmp, 34), stride * 603); // biSizeImage
    EXPECT_EQ(I32(bmp, 38), 3780);         // 96 dpi
    EXPECT_EQ(I32(bmp, 42), 3780);
    EXPECT_EQ(uint32_t(bmp.size()), 54 + stride * 603);
    // The first pixel of the file is the bottom-left one: white.
    EXPECT_EQ(QByteArray(bmp.constData() + 54, 3), QByteArray(3, char(0xFF)));
}

TEST_F(PictureExportTest, BitmapIsWhiteWithTheDrawing)
{
    const QImage image = PictureImage(design, source());
    EXPECT_EQ(image.size(), QSize(981, 603));
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.dotsPerMeterX(), 3780);
    // The loop's first corner at the margin: pipe colour, not white.
    EXPECT_NE(image.pixel(18, 18), qRgb(255, 255, 255));
}

TEST_F(PictureExportTest, EveryFormatHasItsSignature)
{
    const PictureSource s = source();
    const QByteArray png = PictureBytes(design, s, PictureFormat::Png);
    EXPECT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(QImage::fromData(png).size(), QSize(981, 603));

    const QByteArray svg = PictureBytes(design, s, PictureFormat::Svg);
    EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 981 603\"")) << svg.left(400).toStdString();
    EXPECT_TRUE(svg.contains("Workshop ring main"));

    const QByteArray pdf = PictureBytes(design, s, PictureFormat::Pdf);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    // One page the picture's size: 981 x 603 px at 96 dpi are 735.75 x 452.25
    // points, which Qt writes in whole points.
    const qsizetype box = pdf.indexOf("/MediaBox [");
    ASSERT_GE(box, 0);
    const QList<QByteArray> numbers =
        pdf.mid(box + 11, pdf.indexOf(']', box) - box - 11).simplified().split(' ');
    ASSERT_EQ(numbers.size(), 4);
    EXPECT_NEAR(numbers[2].toDouble(), 735.75, 1.0);
    EXPECT_NEAR(numbers[3].toDouble(), 452.25, 1.0);

    const QByteArray emf = PictureBytes(design, s, PictureFormat::Emf);
    EXPECT_EQ(U32(emf, 0), 1u);
    EXPECT_EQ(U32(emf, 40), 0x464D4520u);
    EXPECT_EQ(U32(emf, 48), uint32_t(emf.size()));
    EXPECT_EQ(I32(emf, 16), 980); // bounds right
    EXPECT_EQ(I32(emf, 20), 602);

    const QByteArray wmf = PictureBytes(design, s, PictureFormat::Wmf);
    EXPECT_EQ(U32(wmf, 0), 0x9AC6CDD7u);
    EXPECT_EQ(U16(wmf, 10), 981);
    EXPECT_EQ(U16(wmf, 12), 603);
    EXPECT_EQ(U32(wmf, 22 + 6), uint32_t((wmf.size() - 22) / 2));
}

TEST_F(PictureExportTest, MetafileCreatorIsTheDescription)
{
    const QByteArray emf = PictureBytes(design, source(), PictureFormat::Emf);
    const uint32_t chars = U32(emf, 60);
    QString description;
    for (uint32_t i = 0; i < chars; ++i)
        description += QChar(U16(emf, 108 + 2 * i));
    EXPECT_TRUE(description.startsWith(QStringLiteral("Workshop ring main") + QChar(0) +
                                       MetafileProductNotice() + QChar(0)));
}

TEST_F(PictureExportTest, FormatNames)
{
    EXPECT_EQ(PictureFormatFromName(QStringLiteral("EMF")), PictureFormat::Emf);
    EXPECT_EQ(PictureFormatFromName(QStringLiteral(".wmf")), PictureFormat::Wmf);
    EXPECT_EQ(PictureFormatOfFile(QStringLiteral("/x/plan.Bmp")), PictureFormat::Bmp);
    EXPECT_EQ(PictureFormatOfFile(QStringLiteral("plan.svg")), PictureFormat::Svg);
    EXPECT_EQ(PictureFormatOfFile(QStringLiteral("plan")), std::nullopt);
    EXPECT_EQ(PictureFormatOfFile(QStringLiteral("plan.gif")), std::nullopt);
    EXPECT_EQ(PictureSuffix(PictureFormat::Wmf), QStringLiteral("wmf"));
    EXPECT_EQ(PictureMimeType(PictureFormat::Emf), QStringLiteral("image/x-emf"));
}

// ---------------------------------------------------------------- clipboard

TEST_F(PictureExportTest, ClipboardBitmap)
{
    const ClipboardPicture clip = ClipboardBitmap(design, source());
    EXPECT_EQ(clip.bitmap.size(), QSize(981, 603));
    ASSERT_EQ(clip.formats.size(), 2u);
    EXPECT_EQ(clip.formats[0].first, QStringLiteral("image/bmp"));
    EXPECT_TRUE(clip.data(QStringLiteral("image/bmp")).startsWith("BM"));
    EXPECT_TRUE(clip.data(QStringLiteral("image/png")).startsWith("\x89PNG"));
    const std::unique_ptr<QMimeData> mime = clip.mimeData();
    EXPECT_TRUE(mime->hasImage());
    EXPECT_TRUE(mime->hasFormat(QStringLiteral("image/png")));
}

TEST_F(PictureExportTest, ClipboardMetafile)
{
    const ClipboardPicture enhanced = ClipboardMetafile(design, source(), true);
    QStringList types;
    for (const auto& format : enhanced.formats)
        types << format.first;
    EXPECT_EQ(types, (QStringList{"image/x-emf", "image/svg+xml", "image/png"}));
    EXPECT_EQ(U32(enhanced.data(QStringLiteral("image/x-emf")), 40), 0x464D4520u);
    const ClipboardPicture classic = ClipboardMetafile(design, source(), false);
    EXPECT_EQ(classic.formats.front().first, QStringLiteral("image/x-wmf"));
    EXPECT_EQ(U32(classic.formats.front().second, 0), 0x9AC6CDD7u);
    EXPECT_EQ(CopiedAsMetafileMessage(),
              QStringLiteral("PIPELOOP copied to clipboard as meta-file."));
    EXPECT_EQ(CopiedAsBitmapMessage(), QStringLiteral("PIPELOOP copied to clipboard as bitmap."));
}

// ---------------------------------------------------------------- files

TEST_F(PictureExportTest, SaveWritesEveryFormat)
{
    for (PictureFormat format : {PictureFormat::Emf, PictureFormat::Wmf, PictureFormat::Bmp,
                                 PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf}) {
        const QString path = dir.filePath(QStringLiteral("plan.") + PictureSuffix(format));
        EXPECT_TRUE(SavePicture(design, source(), format, path));
        const QByteArray bytes = ReadFile(path);
        EXPECT_GT(bytes.size(), 100);
        if (format != PictureFormat::Pdf && format != PictureFormat::Svg) {
            EXPECT_EQ(bytes, PictureBytes(design, source(), format));
        }
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PictureExportTest, SaveIntoAMissingFolderIsReported)
{
    const QString path = dir.filePath(QStringLiteral("missing/plan.emf"));
    EXPECT_FALSE(SavePicture(design, source(), PictureFormat::Emf, path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
    EXPECT_TRUE(ui.messages[0].text.startsWith(
        QStringLiteral("An error has been detected within PIPELOOP :")));
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Cannot create file : ") + path));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(PictureExportTest, PictureOfNoSizeIsReported)
{
    PictureSource s = source();
    s.size = QSize(0, 100);
    EXPECT_THROW(PictureBytes(design, s, PictureFormat::Png), PictureError);
    s.size = QSize(40000, 100);
    EXPECT_THROW(PictureBytes(design, s, PictureFormat::Wmf), PictureError);
    const QString path = dir.filePath(QStringLiteral("plan.png"));
    EXPECT_FALSE(SavePicture(design, s, PictureFormat::Png, path));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(PictureExportTest, FullDiskLeavesTheOldFileAndNoTemporary)
{
    for (PictureFormat format : {PictureFormat::Emf, PictureFormat::Bmp}) {
        ui.messages.clear();
        const QString path = dir.filePath(QStringLiteral("plan.") + PictureSuffix(format));
        {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old picture");
        }
        bool saved = true;
        {
            const test::FileSizeLimit limit(1000);
            saved = SavePicture(design, source(), format, path);
        }
        EXPECT_FALSE(saved);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_TRUE(
            ui.messages[0].text.contains(QStringLiteral("Problem writing to :\r\n") + path));
        EXPECT_EQ(ReadFile(path), "old picture");
        QDir folder(dir.path());
        for (const QString& name : folder.entryList(QDir::Files))
            EXPECT_TRUE(name.startsWith(QStringLiteral("plan.")) && !name.contains(u'~') &&
                        name.count(u'.') == 1)
                << name.toStdString();
    }
}

} // namespace
} // namespace pipeloop
