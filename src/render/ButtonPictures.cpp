#include "ButtonPictures.h"

#include "IsoSymbols.h"
#include "QPainterCanvas.h"

#include <numbers>

namespace pipeloop
{

namespace
{

constexpr double QuarterTurn = std::numbers::pi / 2;

void Pipe(Canvas& canvas, std::initializer_list<QPoint> points)
{
    canvas.setPenWidth(2);
    canvas.polyline(points);
    canvas.setPenWidth(1);
}

void DrawToolPicture(Canvas& canvas, ToolPicture tool, QPoint c, int s)
{
    const int x = c.x();
    const int y = c.y();
    const int r = s / 3;
    switch (tool) {
    case ToolPicture::ManualDrain:
    case ToolPicture::AutomaticDrain:
        DrawDrainSymbol(canvas, c, s, tool == ToolPicture::ManualDrain);
        return;
    case ToolPicture::Inlet:
        // Air arriving on the main: an arrow into a pipe.
        Pipe(canvas, {{x + s, y - 2 * s}, {x + s, y + 2 * s}});
        canvas.setBrushColour(kBlack);
        DrawArrow(canvas, {x + s - 2, y}, 2 * s, -QuarterTurn);
        return;
    case ToolPicture::Drop:
        // A drop as the plan shows it: a dot on the main.
        Pipe(canvas, {{x - 2 * s, y}, {x + 2 * s, y}});
        canvas.setBrush({kBlack, BrushStyle::Solid});
        canvas.ellipse(x - r - 2, y - r - 2, x + r + 3, y + r + 3);
        return;
    case ToolPicture::Spur:
    case ToolPicture::VerticalDropSpur:
        // A branch leaving the main; the vertical one turns down at its end.
        Pipe(canvas, {{x - 2 * s, y - s}, {x + 2 * s, y - s}});
        if (tool == ToolPicture::Spur)
            Pipe(canvas, {{x, y - s}, {x, y + 2 * s}});
        else
            Pipe(canvas, {{x - s, y - s}, {x - s, y + s}, {x + s, y + s}, {x + s, y + 2 * s}});
        return;
    case ToolPicture::AvoidanceElbow:
        // The main stepping down past an obstacle.
        Pipe(canvas, {{x - 2 * s, y - s},
                      {x - s, y - s},
                      {x - s, y + s},
                      {x + s, y + s},
                      {x + s, y - s},
                      {x + 2 * s, y - s}});
        return;
    case ToolPicture::UnconnectedPipe:
        Pipe(canvas, {{x - 2 * s + 2, y + s}, {x + 2 * s - 2, y - s}});
        canvas.setBrush({kWhite, BrushStyle::Solid});
        canvas.ellipse(x - 2 * s, y + s - 2, x - 2 * s + 5, y + s + 3);
        canvas.ellipse(x + 2 * s - 5, y - s - 2, x + 2 * s, y - s + 3);
        return;
    case ToolPicture::BuildingFeature:
        canvas.setPenColour(0x0000C0); // the dark red of the drawing's features
        canvas.setBrush({0x0000C0, BrushStyle::Cross});
        canvas.rectangle(x - 2 * s + 2, y - s - s / 2, x + 2 * s - 1, y + s + s / 2);
        canvas.setPenColour(kBlack);
        return;
    }
}

} // namespace

void DrawButtonPicture(Canvas& canvas, const ButtonPicture& picture, QPoint centre, int size)
{
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    canvas.setBrush({kWhite, BrushStyle::Solid});
    // A symbol fills about 2·s; a tool's picture 4·s.
    const int symbolSize = size * 3 / 10;
    if (picture.keyword.isEmpty()) {
        const bool drain =
            picture.tool == ToolPicture::ManualDrain || picture.tool == ToolPicture::AutomaticDrain;
        DrawToolPicture(canvas, picture.tool, centre, drain ? symbolSize : size / 5);
    } else if (picture.keyword == Symbol::Frl) {
        // Three cells upwards from the anchor, about 6.5·s in all: the
        // first cell sits at the foot of the square.
        const int s = size * 2 / 15;
        DrawSymbol(canvas, picture.keyword, {centre.x(), centre.y() + size / 2 - s - 2}, s);
    } else {
        DrawSymbol(canvas, picture.keyword, centre, symbolSize);
    }
}

QImage RenderButtonPicture(const ButtonPicture& picture, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainterCanvas canvas(&image);
        canvas.setAntialiasing(true);
        DrawButtonPicture(canvas, picture, {size / 2, size / 2}, size);
    }
    return image;
}

} // namespace pipeloop
