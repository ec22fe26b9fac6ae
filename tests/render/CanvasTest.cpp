// The canvas: GDI semantics on the Qt backend (checked pixel by pixel on a
// QImage), the recording backend, and the other paint devices.

#include "QPainterCanvas.h"
#include "RenderTestSupport.h"

#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

using namespace pipeloop;

namespace
{

QImage WhiteImage(int w = 40, int h = 30)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

bool Ink(const QImage& image, int x, int y)
{
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

// The bounding box of every non-white pixel.
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Ink(image, x, y))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(CanvasTypes, WindowsColoursAreBlueGreenRed)
{
    EXPECT_EQ(ToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(ToQColor(7566265), QColor(185, 115, 115)); // the default wall colour
    EXPECT_EQ(FromQColor(QColor(0, 153, 255)), 16750848);
    EXPECT_EQ(ToQColor(WinColour(0x80000005)),
              QColor(5, 0, 0)); // system colours keep their low bits
}

TEST(CanvasTypes, StoredStyleNumbers)
{
    EXPECT_EQ(BrushStyleFromNumber(0), BrushStyle::Solid);
    EXPECT_EQ(BrushStyleFromNumber(1), BrushStyle::Clear);
    EXPECT_EQ(BrushStyleFromNumber(4), BrushStyle::ForwardDiagonal);
    EXPECT_EQ(BrushStyleFromNumber(7), BrushStyle::DiagonalCross);
    EXPECT_EQ(BrushStyleFromNumber(8), BrushStyle::Solid);
    EXPECT_EQ(PenStyleFromNumber(2), PenStyle::Dot);
    EXPECT_EQ(PenStyleFromNumber(4), PenStyle::DashDotDot);
    EXPECT_EQ(PenStyleFromNumber(-1), PenStyle::Solid);
}

TEST(RecordingCanvas, RecordsCallsWithTheStateInForce)
{
    RecordingCanvas canvas(QSize(800, 600), 300, 150);
    EXPECT_EQ(canvas.size(), QSize(800, 600));
    EXPECT_EQ(canvas.dpiX(), 300);
    EXPECT_EQ(canvas.dpiY(), 150);
    // A fresh canvas has Delphi's defaults: black pen of width 1, white solid brush.
    EXPECT_EQ(canvas.pen(), (Pen{kBlack, 1, PenStyle::Solid}));
    EXPECT_EQ(canvas.brush(), (Brush{kWhite, BrushStyle::Solid}));

    canvas.moveTo(1, 2);
    canvas.lineTo(3, 4);
    EXPECT_EQ(canvas.penPos(), QPoint(3, 4));
    canvas.setPen({0x0000FF, 2, PenStyle::Dash});
    canvas.polyline({QPoint(0, 0), QPoint(5, 0), QPoint(5, 5)});
    EXPECT_EQ(canvas.penPos(), QPoint(3, 4)); // a polyline leaves the current position alone
    canvas.setBrush({0x00FF00, BrushStyle::Cross});
    canvas.rectangle(0, 0, 10, 10);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.arc({0, 0, 10, 10}, QPoint(5, 0), QPoint(5, 10));
    canvas.fillRect({1, 1, 2, 2});
    canvas.setFont(Font{"Courier New", 9, 0, true, false, false, false, 0x808080});
    canvas.textOut(QPoint(7, 8), "Hi");
    canvas.textRect({0, 0, 100, 20}, "Mid", HAlign::Centre, VAlign::Centre);
    canvas.stretchDraw({0, 0, 50, 25}, QImage(4, 2, QImage::Format_RGB32));
    canvas.textOut(QPoint(0, 0), QString()); // nothing to draw

    EXPECT_EQ(canvas.descriptions(),
              (QStringList{"line (1,2)-(3,4) pen 000000 w1 solid",
                           "polyline (0,0) (5,0) (5,5) pen 0000FF w2 dash",
                           "rectangle (0,0)-(10,10) pen 0000FF w2 dash brush 00FF00 cross",
                           "arc (0,0)-(10,10) from (5,0) to (5,10) pen 0000FF w2 dash",
                           "fill (1,1)-(2,2) brush clear",
                           "text (7,8) \"Hi\" font \"Courier New\" 9pt bold 808080 brush clear",
                           "textrect (0,0)-(100,20) centre/centre \"Mid\" font \"Courier New\" 9pt "
                           "bold 808080 brush clear",
                           "picture (0,0)-(50,25) 4x2"}));
    // Offsets from an origin.
    EXPECT_EQ(canvas.descriptions(QPoint(1, 2)).first(), "line (0,0)-(2,2) pen 000000 w1 solid");
}

TEST(RecordingCanvas, MeasuresTextWithoutFonts)
{
    RecordingCanvas canvas(QSize(), 96, 96);
    canvas.setFont(Font{"Arial", 12}); // 12 points at 96 dpi: 16 pixels
    EXPECT_EQ(canvas.textExtent("abcd"), QSize(32, 16));
    Font pixels;
    pixels.pixelHeight = 10;
    canvas.setFont(pixels);
    EXPECT_EQ(canvas.textExtent("abc"), QSize(15, 10));
    EXPECT_EQ(canvas.textExtent(QString()), QSize(0, 10));
}

TEST(ElideText, KeepsWhatFitsAndEndsTheRestWithAnEllipsis)
{
    RecordingCanvas canvas;
    Font font;
    font.pixelHeight = 10; // five pixels a character
    canvas.setFont(font);
    const QString ellipsis(QChar(0x2026));
    EXPECT_EQ(ElideText(canvas, "PIPELOOP", 40), "PIPELOOP");
    EXPECT_EQ(ElideText(canvas, "PIPELOOPS", 40), "PIPELOO" + ellipsis);
    EXPECT_EQ(ElideText(canvas, "PIPELOOPS", 44), "PIPELOO" + ellipsis);
    EXPECT_EQ(ElideText(canvas, "PIPELOOPS", 5), ellipsis);
    EXPECT_EQ(ElideText(canvas, "PIPELOOPS", 4), QString());
    EXPECT_EQ(ElideText(canvas, "PIPELOOPS", -3), QString());
    // A character beyond the Basic Multilingual Plane is not cut in two.
    const QString clef = "AB" + QString::fromUcs4(U"\U0001D11E") + "CD";
    EXPECT_EQ(ElideText(canvas, clef, 20), "AB" + ellipsis);
    EXPECT_EQ(ElideText(canvas, clef, 25), clef.left(4) + ellipsis);

    // Ten million characters in a real font: the same line as a thousand,
    // in far less time than measuring them all would take.
    QImage image = WhiteImage(800, 40);
    QPainterCanvas painter(&image);
    font.family = "DejaVu Sans";
    font.pixelHeight = 20;
    painter.setFont(font);
    const QString huge(10'000'000, u'W');
    QElapsedTimer timer;
    timer.start();
    const QString line = ElideText(painter, huge, 600);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(line.endsWith(ellipsis));
    EXPECT_LE(painter.textExtent(line).width(), 600);
    EXPECT_GT(painter.textExtent(QStringLiteral("W") + line).width(), 600);
    EXPECT_EQ(line, ElideText(painter, huge.left(1000), 600));
}

TEST(QPainterCanvas, LinesLeaveTheirEndPointUndrawn)
{
    QImage image = WhiteImage();
    {
        QPainterCanvas canvas(&image);
        canvas.moveTo(2, 2);
        canvas.lineTo(10, 2);
        canvas.polyline({QPoint(2, 10), QPoint(10, 10), QPoint(10, 20)});
    }
    EXPECT_TRUE(Ink(image, 2, 2));
    EXPECT_TRUE(Ink(image, 9, 2));
    EXPECT_FALSE(Ink(image, 10, 2));
    EXPECT_TRUE(Ink(image, 10, 10)); // an inner vertex is drawn
    EXPECT_TRUE(Ink(image, 10, 19));
    EXPECT_FALSE(Ink(image, 10, 20));
}

TEST(QPainterCanvas, FiguresAreBoundedByTheirBoxRightAndBottomExclusive)
{
    for (int figure = 0; figure < 3; ++figure) {
        QImage image = WhiteImage();
        {
            QPainterCanvas canvas(&image);
            canvas.setBrush({0x0000FF, BrushStyle::Solid});
            if (figure == 0)
                canvas.rectangle(3, 4, 13, 24);
            else if (figure == 1)
                canvas.ellipse(3, 4, 13, 24);
            else
                canvas.ellipse(13, 24, 3, 4); // corners the wrong way round, as GDI takes them
        }
        EXPECT_EQ(InkBounds(image), QRect(QPoint(3, 4), QPoint(12, 23))) << figure;
        EXPECT_EQ(image.pixel(8, 14), qRgb(255, 0, 0)) << figure; // filled with the brush
        EXPECT_EQ(image.pixel(8, 4), qRgb(0, 0, 0)) << figure;    // outlined with the pen
    }
}

TEST(QPainterCanvas, ArcsGoCounterClockwiseFromStartToEnd)
{
    QImage left = WhiteImage();
    QImage right = WhiteImage();
    {
        QPainterCanvas canvas(&left);
        canvas.arc({10, 5, 30, 25}, QPoint(20, 5), QPoint(20, 25));
    }
    {
        QPainterCanvas canvas(&right);
        canvas.arc({10, 5, 30, 25}, QPoint(20, 25), QPoint(20, 5));
    }
    const QRect l = InkBounds(left);
    const QRect r = InkBounds(right);
    EXPECT_EQ(l.left(), 10);
    EXPECT_LE(l.right(), 20);
    EXPECT_GE(r.left(), 19);
    EXPECT_EQ(r.right(), 29);
    EXPECT_EQ(l.top(), 5);
    EXPECT_EQ(l.bottom(), 24);
}

TEST(QPainterCanvas, StyledPenGapsTakeASolidBrushColour)
{
    QImage image = WhiteImage(40, 6);
    {
        QPainterCanvas canvas(&image);
        canvas.setPenStyle(PenStyle::Dot);
        canvas.setBrush({0x00FF00, BrushStyle::Solid});
        canvas.moveTo(0, 1);
        canvas.lineTo(40, 1);
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.moveTo(0, 4);
        canvas.lineTo(40, 4);
    }
    std::set<QRgb> opaque;
    std::set<QRgb> clear;
    for (int x = 0; x < 40; ++x) {
        opaque.insert(image.pixel(x, 1));
        clear.insert(image.pixel(x, 4));
    }
    EXPECT_EQ(opaque, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(0, 255, 0)}));
    EXPECT_EQ(clear, (std::set<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}));
}

TEST(QPainterCanvas, WidePensAreSolid)
{
    QImage image = WhiteImage();
    {
        QPainterCanvas canvas(&image);
        canvas.setPen({kBlack, 3, PenStyle::Dot});
        canvas.moveTo(5, 10);
        canvas.lineTo(35, 10);
    }
    for (int x = 6; x < 34; ++x)
        EXPECT_TRUE(Ink(image, x, 9) && Ink(image, x, 10) && Ink(image, x, 11)) << x;
}

TEST(QPainterCanvas, HatchBrushesFollowTheWindowsStyles)
{
    const auto hatch = [](BrushStyle style) {
        QImage image = WhiteImage(32, 32);
        {
            QPainterCanvas canvas(&image);
            canvas.setBrush({0x000000, style});
            canvas.fillRect({0, 0, 32, 32});
        }
        return image;
    };
    const QImage horizontal = hatch(BrushStyle::Horizontal);
    const QImage vertical = hatch(BrushStyle::Vertical);
    const QImage forward = hatch(BrushStyle::ForwardDiagonal);
    const QImage backward = hatch(BrushStyle::BackwardDiagonal);
    const QImage cross = hatch(BrushStyle::Cross);
    const QImage diagonalCross = hatch(BrushStyle::DiagonalCross);
    int inked = 0;
    for (int y = 1; y < 31; ++y)
        for (int x = 1; x < 31; ++x) {
            inked += Ink(forward, x, y);
            EXPECT_EQ(Ink(horizontal, x, y), Ink(horizontal, x + 1, y));
            EXPECT_EQ(Ink(vertical, x, y), Ink(vertical, x, y + 1));
            EXPECT_EQ(Ink(forward, x, y), Ink(forward, x + 1, y + 1));   // "\\\\"
            EXPECT_EQ(Ink(backward, x, y), Ink(backward, x + 1, y - 1)); // "////"
            EXPECT_EQ(Ink(cross, x, y), Ink(horizontal, x, y) || Ink(vertical, x, y));
            EXPECT_EQ(Ink(diagonalCross, x, y), Ink(forward, x, y) || Ink(backward, x, y));
        }
    // Sparse lines (one in eight), the rest left as it was.
    EXPECT_GT(inked, 900 / 16);
    EXPECT_LT(inked, 900 / 4);

    QImage clear = hatch(BrushStyle::Clear);
    EXPECT_FALSE(InkBounds(clear).isValid());
}

TEST(QPainterCanvas, AntialiasingIsOffUnlessAskedFor)
{
    const auto colours = [](bool antialiased) {
        QImage image = WhiteImage();
        {
            QPainterCanvas canvas(&image);
            EXPECT_FALSE(canvas.antialiasing());
            canvas.setAntialiasing(antialiased);
            canvas.moveTo(1, 1);
            canvas.lineTo(38, 17);
            canvas.ellipse(5, 5, 25, 25);
        }
        std::set<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen.size();
    };
    EXPECT_EQ(colours(false), 2u);
    EXPECT_GT(colours(true), 2u);
}

TEST(QPainterCanvas, TextHasAnOpaqueCellOnASolidBrush)
{
    QImage image = WhiteImage(120, 40);
    {
        QPainterCanvas canvas(&image);
        Font font;
        font.family = "DejaVu Sans";
        font.pixelHeight = 14;
        canvas.setFont(font);
        const QSize extent = canvas.textExtent("Wall");
        EXPECT_GT(extent.width(), 10);
        EXPECT_GE(extent.height(), 14);
        canvas.setBrush({0x00FFFF, BrushStyle::Solid}); // yellow
        canvas.textOut(QPoint(4, 4), "Wall");
        EXPECT_EQ(image.pixel(4, 4), qRgb(255, 255, 0));
        canvas.setBrushStyle(BrushStyle::Clear);
        canvas.textOut(QPoint(60, 4), "Wall");
    }
    EXPECT_EQ(image.pixel(60, 4), qRgb(255, 255, 255));
    const QRect ink = InkBounds(image.copy(60, 0, 60, 40)).translated(60, 0);
    EXPECT_GE(ink.left(), 60);
    EXPECT_LT(ink.bottom(), 4 + 20);
}

TEST(QPainterCanvas, TextWidthsKeptBetweenCanvasesFollowTheFontAndTheDevice)
{
    // Widths are kept for every canvas of the thread: a later canvas on a
    // device of another resolution, or in another font, measures anew, and a
    // change of colour alone measures the same.
    const auto widthOn = [](int dotsPerInch, int pointSize, bool bold, WinColour colour) {
        QImage image = WhiteImage(10, 10);
        image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
        image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
        QPainterCanvas canvas(&image);
        Font font;
        font.family = "DejaVu Sans";
        font.pointSize = pointSize;
        font.bold = bold;
        font.colour = colour;
        canvas.setFont(font);
        return canvas.textExtent("Compressor house").width();
    };
    const int screen = widthOn(96, 10, false, kBlack);
    EXPECT_EQ(widthOn(96, 10, false, 0x0000FF), screen);
    EXPECT_GT(widthOn(300, 10, false, kBlack), screen * 2);    // about 300 / 96 times
    EXPECT_GT(widthOn(96, 20, false, kBlack), screen * 3 / 2); // about twice
    EXPECT_GT(widthOn(96, 10, true, kBlack), screen);
    EXPECT_EQ(widthOn(96, 10, false, kBlack), screen);
}

TEST(QPainterCanvas, TextRectIsClippedToItsBox)
{
    QImage image = WhiteImage(120, 40);
    {
        QPainterCanvas canvas(&image);
        canvas.setBrushStyle(BrushStyle::Clear);
        Font font;
        font.family = "DejaVu Sans";
        font.pixelHeight = 20;
        canvas.setFont(font);
        canvas.textRect({10, 10, 30, 20}, "MMMMMMMM", HAlign::Left, VAlign::Top);
    }
    const QRect ink = InkBounds(image);
    ASSERT_TRUE(ink.isValid());
    EXPECT_GE(ink.left(), 10);
    EXPECT_LE(ink.right(), 29);
    EXPECT_GE(ink.top(), 10);
    EXPECT_LE(ink.bottom(), 19);
}

TEST(QPainterCanvas, StretchedPicture)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 0, 255));
    QImage image = WhiteImage();
    {
        QPainterCanvas canvas(&image);
        canvas.stretchDraw({10, 10, 30, 20}, picture);
    }
    EXPECT_EQ(InkBounds(image), QRect(10, 10, 20, 10));
    EXPECT_EQ(image.pixel(12, 12), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(28, 18), qRgb(0, 0, 255));
}

TEST(QPainterCanvas, ReportsTheDevicesFacts)
{
    QImage image(300, 200, QImage::Format_RGB32);
    image.setDotsPerMeterX(11811); // 300 dpi
    image.setDotsPerMeterY(11811);
    QPainterCanvas canvas(&image);
    EXPECT_EQ(canvas.dpiX(), 300);
    EXPECT_EQ(canvas.dpiY(), 300);
    EXPECT_EQ(canvas.size(), QSize(300, 200));
}

TEST(QPainterCanvas, DrawsThroughAPainterTheCallerOwns)
{
    QImage image = WhiteImage();
    QPainter painter(&image);
    painter.setBrush(Qt::red);
    {
        QPainterCanvas canvas(painter);
        canvas.setBrush({0x000000, BrushStyle::Solid});
        canvas.rectangle(0, 0, 4, 4);
    }
    // The caller's painter state comes back.
    EXPECT_EQ(painter.brush().color(), QColor(Qt::red));
    painter.end();
    EXPECT_EQ(image.pixel(1, 1), qRgb(0, 0, 0));
}

TEST(QPainterCanvas, DrawsSymbolsIntoSvgAndPdf)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QBuffer svg;
    svg.open(QIODevice::WriteOnly);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&svg);
        generator.setSize(QSize(100, 100));
        generator.setResolution(96);
        QPainterCanvas canvas(&generator);
        EXPECT_EQ(canvas.dpiX(), 96);
        DrawSymbol(canvas, "FILTER", QPoint(50, 50), 12);
    }
    EXPECT_TRUE(svg.data().contains("<svg"));
    EXPECT_TRUE(svg.data().contains("polygon") || svg.data().contains("path"));

    const QString pdfPath = dir.filePath("symbol.pdf");
    {
        QPdfWriter writer(pdfPath);
        writer.setResolution(600);
        QPainterCanvas canvas(&writer);
        EXPECT_EQ(canvas.dpiX(), 600);
        EXPECT_GT(canvas.size().width(), 4000); // an A4 page at 600 dpi
        DrawSymbol(canvas, "REGULATOR", QPoint(300, 300), 94);
    }
    QFile pdf(pdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
}
