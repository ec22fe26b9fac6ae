// the rules pictures: which entry is shown, the fitting rule, "NO IMAGE", the
// one-entry decoding cache, and the demo logo.

#include "CatalogueTestSupport.h"
#include "ScriptedUi.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;
using pipeloop::testing::SolidJpeg;

namespace
{

bool IsRed(QRgb pixel)
{
    return qRed(pixel) > 200 && qGreen(pixel) < 60 && qBlue(pixel) < 60;
}
bool IsGreen(QRgb pixel)
{
    return qGreen(pixel) > 100 && qRed(pixel) < 60 && qBlue(pixel) < 60;
}
bool IsBlack(QRgb pixel)
{
    return qRed(pixel) < 40 && qGreen(pixel) < 40 && qBlue(pixel) < 40;
}
bool IsWhite(QRgb pixel)
{
    return qRed(pixel) > 240 && qGreen(pixel) > 240 && qBlue(pixel) > 240;
}

class PictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.LoadContainerBytes(
            BuildCab({{QStringLiteral("PARTS.PLDBI"), "[CATALOGUE]\r\nSUP=PIC\r\n"},
                      {QStringLiteral("A25.JPG"), SolidJpeg(40, 20, Qt::red)},
                      {QStringLiteral("KIT1.JPG"), SolidJpeg(10, 10, Qt::green)},
                      {QStringLiteral("DIRECT"), SolidJpeg(10, 10, Qt::green)},
                      {QStringLiteral("BROKEN.JPG"), "not a picture"}}),
            QStringLiteral("pictures.pldbcab"));
        ASSERT_TRUE(ui.messages.empty());
        canvas = QImage(120, 120, QImage::Format_RGB32);
        canvas.fill(Qt::blue);
    }
    QString Show(const QString& name, const QRect& box)
    {
        QPainter painter(&canvas);
        return db.ShowPicture(name, painter, box);
    }

    ScriptedUi ui;
    TPartsDatabase db;
    QImage canvas;
};

TEST_F(PictureTest, FittingRule)
{
    EXPECT_EQ(FitPicture(QSize(200, 100), QSize(400, 100)), QRect(3, 28, 194, 44));
    EXPECT_EQ(FitPicture(QSize(100, 100), QSize(40, 20)), QRect(3, 28, 94, 44));
    // The spare pixel of an odd width is not split: the offset rounds toward zero.
    EXPECT_EQ(FitPicture(QSize(101, 100), QSize(100, 100)), QRect(3, 3, 94, 94));
    EXPECT_EQ(FitPicture(QSize(100, 100), QSize(3, 2)), QRect(3, 19, 94, 61)); // 66.67 rounds to 67
    EXPECT_TRUE(FitPicture(QSize(100, 100), QSize(0, 10)).isNull());
}

TEST_F(PictureTest, ShowsTheEntryByNameByJpgNameOrByImageName)
{
    EXPECT_EQ(db.PictureEntryFor(QStringLiteral("DIRECT")), QStringLiteral("DIRECT"));
    EXPECT_EQ(db.PictureEntryFor(QStringLiteral("kit1")), QStringLiteral("KIT1.JPG"));
    EXPECT_EQ(db.PictureEntryFor(QStringLiteral("A25-34")), QStringLiteral("A25.JPG"));
    EXPECT_EQ(db.PictureEntryFor(QStringLiteral("B25-34")), QString());

    const QRect box(10, 10, 100, 100);
    EXPECT_EQ(Show(QStringLiteral("A25-34"), box), QStringLiteral("A25.JPG"));
    EXPECT_TRUE(IsBlack(canvas.pixel(10, 10))); // the frame
    EXPECT_TRUE(IsBlack(canvas.pixel(12, 60))); // 3 pixels wide
    EXPECT_TRUE(IsWhite(canvas.pixel(13, 20))); // white above the fitted picture
    EXPECT_TRUE(IsRed(canvas.pixel(60, 60)));   // the picture
    EXPECT_TRUE(IsRed(canvas.pixel(13, 38)));   // from (3, 28) inside the box
    EXPECT_TRUE(IsWhite(canvas.pixel(13, 37)));
    EXPECT_TRUE(IsBlack(canvas.pixel(109, 109)));
    EXPECT_EQ(canvas.pixel(9, 9), QColor(Qt::blue).rgb()); // nothing outside the box
    EXPECT_EQ(canvas.pixel(110, 110), QColor(Qt::blue).rgb());
}

TEST_F(PictureTest, NoImage)
{
    const QRect box(0, 0, 120, 120);
    EXPECT_EQ(Show(QStringLiteral("NOTHING"), box), QString());
    EXPECT_TRUE(IsBlack(canvas.pixel(1, 1)));
    EXPECT_TRUE(IsWhite(canvas.pixel(20, 20)));
    // "NO IMAGE" in the middle row, nothing far above it.
    int dark = 0;
    for (int x = 3; x < 117; ++x)
        for (int y = 50; y < 70; ++y)
            dark += IsBlack(canvas.pixel(x, y));
    EXPECT_GT(dark, 20);
    // An entry that is no JPEG shows "NO IMAGE" too.
    EXPECT_EQ(Show(QStringLiteral("BROKEN"), box), QString());
}

TEST_F(PictureTest, OnlyTheLastDecodedPictureIsKept)
{
    const QRect box(0, 0, 50, 50);
    Show(QStringLiteral("A25-12"), box);
    Show(QStringLiteral("A25-20"), box);
    EXPECT_EQ(db.DecodeCount(), 1);
    Show(QStringLiteral("KIT1"), box);
    EXPECT_EQ(db.DecodeCount(), 2);
    Show(QStringLiteral("A25"), box);
    EXPECT_EQ(db.DecodeCount(), 3);
    EXPECT_EQ(db.AssignPicture(QStringLiteral("A25.JPG")).size(), QSize(40, 20));
    EXPECT_EQ(db.DecodeCount(), 3);
}

TEST_F(PictureTest, DrawPictureAndAssignPicture)
{
    QPainter painter(&canvas);
    EXPECT_TRUE(db.DrawPicture(QStringLiteral("DIRECT"), painter, QRect(0, 0, 120, 120)));
    EXPECT_FALSE(db.DrawPicture(QStringLiteral("BROKEN.JPG"), painter, QRect(0, 0, 120, 120)));
    EXPECT_FALSE(db.DrawPicture(QStringLiteral("MISSING.JPG"), painter, QRect(0, 0, 120, 120)));
    painter.end();
    EXPECT_TRUE(IsGreen(canvas.pixel(60, 60)));
    EXPECT_EQ(canvas.pixel(1, 1), QColor(Qt::blue).rgb()); // DrawPicture draws no frame
    EXPECT_TRUE(db.AssignPicture(QStringLiteral("BROKEN.JPG")).isNull());
}

TEST_F(PictureTest, TheDemoLogo)
{
    TPartsDatabase demo;
    demo.LoadContainer(pipeloop::testing::DemoContainerPath());
    const QImage logo = demo.AssignPicture(QStringLiteral("LOGO.JPG"));
    EXPECT_EQ(logo.size(), QSize(320, 120));
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
