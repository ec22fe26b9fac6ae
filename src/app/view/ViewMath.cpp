#include "ViewMath.h"

#include "PipeLoop.h"
#include "Projection.h"
#include "ScreenView.h"

#include <algorithm>

namespace pipeloop
{

Position ScreenToModel(const TPipeLoop& design, ViewKind view, double pixelsPerMmX,
                       double pixelsPerMmY, int x, int y)
{
    // The drawing area's own pixels: the screen's drawing parameters over an
    // area that starts at 0, inverted by the same projection that paints it.
    const TDrawParams screen =
        ScreenDrawParams(design, view, PixelRect{}, pixelsPerMmX, pixelsPerMmY);
    return ScreenToModel(screen, design, QPoint(x, y));
}

bool ShownInDropView(const TPipeLoopObject* object)
{
    return !DropViewCaption(object).isEmpty();
}

QString DropViewCaption(const TPipeLoopObject* object)
{
    switch (object ? object->Kind() : ObjectKind::Elbow) {
    case ObjectKind::Drain:
        return QStringLiteral(" Drain . . .");
    case ObjectKind::Drop:
        return QStringLiteral(" Drop View . . .");
    case ObjectKind::Inlet:
        return QStringLiteral(" Inlet view . . .");
    default:
        return {};
    }
}

int ClampZoom(int factor)
{
    return std::max(factor, MinimumZoom);
}

bool ZoomOutAllowed(const QSize& visibleClient, const QSize& drawingArea)
{
    return !(visibleClient.width() >= drawingArea.width() &&
             visibleClient.height() >= drawingArea.height());
}

QString CoordinateText(int32_t value, DisplayUnits units, const QString& suffix)
{
    if (value < 0)
        return QStringLiteral("---");
    return FormatLength(static_cast<uint32_t>(value), units) + suffix;
}

QString ViewCaption(ViewKind view)
{
    switch (view) {
    case ViewKind::Plan:
        return QStringLiteral(" Plan View . . .");
    case ViewKind::North:
        return QStringLiteral(" North Section . . .");
    case ViewKind::East:
        return QStringLiteral(" East Section . . .");
    case ViewKind::South:
        return QStringLiteral(" South Section . . .");
    case ViewKind::West:
        return QStringLiteral(" West Section . . .");
    }
    return {};
}

} // namespace pipeloop
