#include "BuildingDrawing.h"

#include "ColourRules.h"
#include "IsoSymbols.h"
#include "PipeLoop.h"
#include "Projection.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace pipeloop
{

namespace
{

// The feature words that carry an ISO 1219 symbol inside the outline.
bool IsEquipmentFeature(const QString& feature)
{
    return feature == Symbol::Compressor || feature == Symbol::Receiver ||
           feature == Symbol::Dryer || feature == Symbol::Filter || feature == Symbol::FilterAuto;
}

const QString kGeneral = QStringLiteral("GENERAL");

// The box a feature's name is written in: the outline, moved up a line at a
// time while the name's line would cover a name already written, so that the
// names of features behind each other in a section stay readable. Nothing
// when the outline has no free line left: names written over each other
// cannot be read either.
std::optional<PixelRect> NameBox(Canvas& canvas, const PixelRect& outline, const QString& name,
                                 VAlign v, std::vector<PixelRect>& written)
{
    const QSize extent = canvas.textExtent(name);
    if (name.isEmpty() || extent.height() <= 0)
        return outline;
    const int left = (outline.left + outline.right - extent.width()) / 2;
    const int bottom =
        v == VAlign::Bottom ? outline.bottom : (outline.top + outline.bottom + extent.height()) / 2;
    PixelRect line{left, bottom - extent.height(), left + extent.width(), bottom};
    const auto covers = [&line](const PixelRect& other) { return other.intersects(line); };
    while (std::any_of(written.begin(), written.end(), covers)) {
        line = {line.left, line.top - extent.height(), line.right, line.bottom - extent.height()};
        if (line.top < outline.top)
            return std::nullopt;
    }
    written.push_back(line);
    const int shift = bottom - line.bottom;
    return PixelRect{outline.left, outline.top - shift, outline.right, outline.bottom - shift};
}

} // namespace

void DrawGrid(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p)
{
    const TPipeLoopOptions& options = design.Options;
    if (!options.ShowGrid(p.PrintMode))
        return;

    int64_t across = design.RoomEW;
    int64_t down = design.RoomNS;
    switch (p.View) {
    case ViewKind::Plan:
        break;
    case ViewKind::North:
    case ViewKind::South:
        down = design.RoomHG;
        break;
    case ViewKind::East:
    case ViewKind::West:
        across = design.RoomNS;
        down = design.RoomHG;
        break;
    }

    const int64_t g = options.GridSpacing;
    canvas.setPenWidth(1);
    canvas.setPenStyle(PenStyleFromNumber(options.GridStyle()));
    canvas.setPenColour(GridPenColour(options));
    // The pixel of every grid value v = 0, G, 2G, … up to extent, and the line
    // there unless it lies outside the canvas's clip box (it could not show).
    // When G is less than a pixel, those pixels are every pixel from the first
    // to the last, each visited once: the same lines, not drawn many times.
    const PixelRect clip = canvas.clipBox();
    const auto forEachLine = [g](int64_t extent, double scale, int low, int high, auto toPixel,
                                 auto draw) {
        if (double(g) * scale < 1.0) {
            const int first = std::max(toPixel(0), low);
            const int last = std::min(toPixel(int32_t(extent / g * g)), high - 1);
            for (int pixel = first; pixel <= last; ++pixel)
                draw(pixel);
            return;
        }
        for (int64_t v = 0; v <= extent; v += g)
            if (const int pixel = toPixel(int32_t(v)); pixel >= low && pixel < high)
                draw(pixel);
    };
    const auto x = [&p](int32_t v) { return GridX(p, v); };
    const auto y = [&p](int32_t v) { return GridY(p, v); };
    const int yTop = y(0);
    const int yBottom = y(int32_t(down));
    forEachLine(across, p.ScaleX, clip.left, clip.right, x, [&](int px) {
        canvas.moveTo(px, yTop);
        canvas.lineTo(px, yBottom);
    });
    const int xLeft = x(0);
    const int xRight = x(int32_t(across));
    forEachLine(down, p.ScaleY, clip.top, clip.bottom, y, [&](int py) {
        canvas.moveTo(xLeft, py);
        canvas.lineTo(xRight, py);
    });
    canvas.setPenStyle(PenStyle::Solid);
}

void DrawBuildingWalls(Canvas& canvas, const TDrawParams& p, WinColour colour, BrushStyle style,
                       BrushStyle bottomStyle)
{
    canvas.setPen({colour, 1, PenStyle::Solid});
    canvas.setBrush({colour, style});
    canvas.rectangle(p.Left, p.Top, p.Right, p.Top + p.OriginY);
    canvas.rectangle(p.Right - p.OriginX, p.Top + p.OriginY, p.Right, p.Bottom - p.OriginY);
    canvas.rectangle(p.Left, p.Top + p.OriginY, p.Left + p.OriginX, p.Bottom - p.OriginY);
    canvas.setBrushStyle(bottomStyle);
    canvas.rectangle(p.Left, p.Bottom - p.OriginY, p.Right, p.Bottom);
}

void DrawScreenWalls(Canvas& canvas, const TDrawParams& p, const TPipeLoopOptions& options)
{
    const BrushStyle style = BrushStyleFromNumber(options.BuildingWallStyle());
    DrawBuildingWalls(canvas, p, options.BuildingWallColour, style,
                      p.isSection() ? BrushStyle::ForwardDiagonal : style);
}

void DrawBuildFeatures(Canvas& canvas, const TPipeLoop& design, const TDrawParams& p)
{
    const TPipeLoopOptions& options = design.Options;
    const BrushStyle style = BrushStyleFromNumber(options.BuildFeaturesStyle());
    std::vector<PixelRect> names;
    for (const auto& feature : design.BuildFeatures) {
        QPoint a;
        QPoint b;
        if (p.View == ViewKind::Plan) {
            a = PlanPoint(p, feature->P1NS, feature->P1EW);
            b = PlanPoint(p, feature->P2NS, feature->P2EW);
        } else {
            a = QPoint(FeatureSectionX(p, feature->P1NS, feature->P1EW), SectionY(p, 0));
            b = QPoint(FeatureSectionX(p, feature->P2NS, feature->P2EW),
                       SectionY(p, feature->Height));
        }
        const PixelRect box{std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()),
                            std::max(a.y(), b.y())};

        const WinColour colour = FeatureOutlineColour(options, *feature, p.PrintMode);
        canvas.setPenColour(colour);
        canvas.setBrush({colour, style});
        if (feature->Ellipse)
            canvas.ellipse(box);
        else
            canvas.rectangle(box);

        if (!p.DrawSymbols)
            continue;
        // The name is written inside the outline; one wider than the outline
        // is shortened visibly ("Machine…"), for cut off at both sides only
        // its middle would show.
        const QString name = ElideText(canvas, feature->Name, box.width());
        const VAlign v = feature->Feature == kGeneral ? VAlign::Centre : VAlign::Bottom;
        if (const std::optional<PixelRect> nameBox = NameBox(canvas, box, name, v, names))
            canvas.textRect(*nameBox, name, HAlign::Centre, v);
        if (feature->Feature == kGeneral)
            continue;
        if (IsEquipmentFeature(feature->Feature)) {
            const int s = std::min(box.width(), box.height()) / 3;
            canvas.setPenColour(FeatureSymbolColour(options, *feature, p.PrintMode));
            DrawSymbol(canvas, feature->Feature,
                       QPoint((box.left + box.right) / 2, (box.top + box.bottom) / 2), s);
        }
    }
}

} // namespace pipeloop
