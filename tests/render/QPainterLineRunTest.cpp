// The Qt backend draws runs of connected solid lines as one polyline, solid
// lines of width 3 along an axis by filling their pixels directly, and hatched
// fills from a wide tile. All are speed-ups only: the pixels must be those of
// drawing every primitive with QPainter as it comes.

#include "QPainterCanvas.h"
#include "Rounding.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <functional>
#include <numbers>

using namespace pipeloop;

namespace
{

QImage Blank(QSize size = QSize(120, 120))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// One line as the canvas's pen describes it, straight through QPainter.
void PlainLine(QPainter& painter, QPoint a, QPoint b, int width)
{
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (width <= 1) {
        pen = QPen(Qt::black, 1);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
    }
    painter.setPen(pen);
    painter.drawLine(QPointF(a), QPointF(b));
}

} // namespace

TEST(QPainterLineRun, Width1And3AxisLinesHaveTheStrokersPixels)
{
    // Lines inside the picture and lines that cross its edges.
    const QSize size(1200, 120);
    for (int width : {1, 3})
        for (int length : {1, 2, 3, 4, 5, 7, 12, 13, 30, 59, 60, 333, 1000, 1300})
            for (int direction = 0; direction < 4; ++direction)
                for (int offset : {0, 1, 2, -7, 113}) {
                    QPoint a(10 + offset, 10 + offset);
                    QPoint b = a;
                    switch (direction) {
                    case 0:
                        b.ry() += std::min(length, 150);
                        break;
                    case 1:
                        a.ry() += std::min(length, 150);
                        break;
                    case 2:
                        b.rx() += length;
                        break;
                    default:
                        a.rx() += length;
                        break;
                    }
                    QImage expected = Blank(size);
                    {
                        QPainter painter(&expected);
                        PlainLine(painter, a, b, width);
                    }
                    QImage actual = Blank(size);
                    {
                        QPainterCanvas canvas(&actual);
                        canvas.setPen({kBlack, width, PenStyle::Solid});
                        canvas.moveTo(a);
                        canvas.lineTo(b);
                    }
                    EXPECT_EQ(actual, expected)
                        << "width " << width << " length " << length << " direction " << direction
                        << " offset " << offset;
                }
}

TEST(QPainterLineRun, ConnectedLinesMakeTheSamePicture)
{
    // An air hose: two sine periods of line-tos, as DrawHoseStack draws it,
    // then a pipe piece across, in width 3 (drawn from a picture made once)
    // and in width 1, at several places including far from the origin.
    const QSize size(2000, 120);
    for (int width : {1, 3})
        for (int x : {60, 61, 1003, 1937}) {
            std::vector<QPoint> points{{x, 7}};
            for (int y = 10; y <= 58; ++y)
                points.emplace_back(x + Round(12 * std::sin((y - 10) * std::numbers::pi / 12)), y);
            points.emplace_back(x, 80);
            points.emplace_back(x + 30, 80);

            QImage expected = Blank(size);
            {
                QPainter painter(&expected);
                for (size_t i = 1; i < points.size(); ++i)
                    PlainLine(painter, points[i - 1], points[i], width);
            }
            QImage actual = Blank(size);
            {
                QPainterCanvas canvas(&actual);
                canvas.setPen({kBlack, width, PenStyle::Solid});
                for (int repeat = 0; repeat < 2; ++repeat) { // the second from the picture
                    canvas.moveTo(points[0]);
                    for (size_t i = 1; i < points.size(); ++i)
                        canvas.lineTo(points[i]);
                    canvas.ellipse(0, 0, 1, 1); // ends the run
                }
            }
            QImage withDot = expected;
            {
                QPainter painter(&withDot);
                QPainterCanvas canvas(painter);
                canvas.ellipse(0, 0, 1, 1);
            }
            EXPECT_EQ(actual, withDot) << "width " << width << " at " << x;
        }
}

TEST(QPainterLineRun, AThousandsOfLinesLongRunIsQuickAndHasItsLinesPixels)
{
    // A closed zigzag of 12 000 overlapping lines, as a dense loop seen from
    // afar draws it: stroked whole, it took Qt seconds.
    const QSize size(1000, 500);
    std::vector<QPoint> points;
    for (int i = 0; i < 11999; ++i)
        points.emplace_back(20 + i / 16, (i / 2) % 2 == i % 2 ? 20 : 480);
    points.push_back(points.front());

    QImage expected = Blank(size);
    {
        QPainter painter(&expected);
        for (size_t i = 1; i < points.size(); ++i)
            PlainLine(painter, points[i - 1], points[i], 3);
    }
    QImage actual = Blank(size);
    const std::clock_t start = std::clock();
    {
        QPainterCanvas canvas(&actual);
        canvas.setPen({kBlack, 3, PenStyle::Solid});
        canvas.moveTo(points[0]);
        for (size_t i = 1; i < points.size(); ++i)
            canvas.lineTo(points[i]);
    }
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    EXPECT_EQ(actual, expected);
    EXPECT_LT(seconds, 2.0) << "process time, a few hundredths of a second as it should be";
}

TEST(QPainterLineRun, ARunEndsWhenThePenChangesOrAnotherPrimitiveComes)
{
    QImage image = Blank();
    {
        QPainterCanvas canvas(&image);
        canvas.setPen({0x0000FF, 1, PenStyle::Solid});
        canvas.moveTo(10, 10);
        canvas.lineTo(50, 10);
        canvas.setPenColour(0x00FF00);
        canvas.lineTo(50, 50);          // another colour: a new run
        canvas.ellipse(60, 60, 70, 70); // draws the pending run first
        canvas.moveTo(10, 100);
        canvas.lineTo(40, 100);
    } // the last run is drawn when the canvas ends
    EXPECT_EQ(image.pixel(30, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(50, 30), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(20, 100), qRgb(0, 255, 0));
}

// A white image painted on a painter moved by shift.
QImage Painted(QSize size, QPoint shift, const std::function<void(QPainter&)>& paint)
{
    QImage image = Blank(size);
    QPainter painter(&image);
    painter.translate(shift);
    paint(painter);
    return image;
}

// What a canvas draws on the image, directly.
QImage DrawnDirectly(QSize size, QPoint shift, const std::function<void(Canvas&)>& draw)
{
    return Painted(size, shift, [&](QPainter& painter) {
        QPainterCanvas canvas(painter);
        draw(canvas);
    });
}

TEST(QPainterLineRun, StyledAxisLinesHaveTheStrokersPixels)
{
    // Every styled pen, with its gaps clear and filled, lines of many lengths
    // both ways along both axes, inside the picture (set from a strip) and
    // across its edges (stroked), the same line again from the strip kept.
    const auto draw = [](Canvas& canvas) {
        for (PenStyle style :
             {PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot})
            for (BrushStyle gaps : {BrushStyle::Clear, BrushStyle::Solid}) {
                canvas.setPen({0x2040C0, 1, style});
                canvas.setBrush({0x30A050, gaps});
                int offset = 0;
                for (int length : {1, 2, 5, 17, 100, 299, 1000, 1300})
                    for (int direction = 0; direction < 4; ++direction) {
                        const int at = -3 + (offset += 37) % 1400;
                        const QPoint a(direction % 2 ? at + length : at, 5 + offset % 390);
                        const QPoint b(direction % 2 ? at : at + length, a.y());
                        const bool vertical = direction >= 2;
                        for (int again = 0; again < 2; ++again) {
                            canvas.moveTo(vertical ? a.transposed() : a);
                            canvas.lineTo(vertical ? b.transposed() : b);
                        }
                    }
            }
    };
    // A painter clipped, even to the whole picture, draws every line through Qt.
    for (QPoint shift : {QPoint(0, 0), QPoint(7, -2)}) {
        const QSize size(1400, 1400);
        const QImage expected = Painted(size, shift, [&](QPainter& painter) {
            painter.setClipRect(QRect(-shift, size));
            QPainterCanvas canvas(painter);
            draw(canvas);
        });
        EXPECT_EQ(DrawnDirectly(size, shift, draw), expected)
            << "moved by " << shift.x() << ", " << shift.y();
    }
}

TEST(QPainterLineRun, FilledShapesHaveQtsPixels)
{
    // Rectangles, small and large, ellipses and polygons in every brush,
    // across the picture's edges and far from its origin, on a painter moved
    // by whole pixels and by none. A picture records the pattern brush and
    // the rectangle's outline as they are.
    const auto draw = [](Canvas& canvas) {
        int colour = 0;
        for (BrushStyle style :
             {BrushStyle::Horizontal, BrushStyle::Vertical, BrushStyle::ForwardDiagonal,
              BrushStyle::BackwardDiagonal, BrushStyle::Cross, BrushStyle::DiagonalCross,
              BrushStyle::Solid, BrushStyle::Clear})
            for (int x : {-37, 3, 250, 1101}) {
                const int y = x / 3 + colour % 5;
                canvas.setBrush({0x102030 * ++colour, style});
                canvas.setPen({0x0F0F0F * colour, 1, PenStyle::Solid});
                canvas.rectangle(x, y, x + 611, y + 97);
                canvas.ellipse(x + 13, y + 51, x + 404, y + 270);
                canvas.polygon({{x, y + 300}, {x + 500, y + 180}, {x + 333, y + 390}});
                for (int size : {1, 2, 3, 9})
                    canvas.rectangle(x + 20 * size, y + 20, x + 21 * size, y + 20 + size * 2);
            }
    };
    QPicture recorded;
    {
        QPainterCanvas canvas(&recorded);
        draw(canvas);
    }
    for (QPoint shift : {QPoint(0, 0), QPoint(5, -3)}) {
        const QSize size(1500, 700);
        const QImage expected =
            Painted(size, shift, [&](QPainter& painter) { painter.drawPicture(0, 0, recorded); });
        EXPECT_EQ(DrawnDirectly(size, shift, draw), expected)
            << "moved by " << shift.x() << ", " << shift.y();
    }
}
