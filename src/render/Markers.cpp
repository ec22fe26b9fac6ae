#include "Markers.h"

namespace pipeloop
{

void DrawCornerMarker(Canvas& canvas, QPoint centre, int s, bool square)
{
    const PixelRect box{centre.x() - s, centre.y() - s, centre.x() + s, centre.y() + s};
    if (square)
        canvas.rectangle(box);
    else
        canvas.ellipse(box);
}

void DrawDiamondMarker(Canvas& canvas, QPoint centre, int s)
{
    const int x = centre.x();
    const int y = centre.y();
    canvas.polygon({QPoint(x - s, y), QPoint(x, y - s), QPoint(x + s, y), QPoint(x, y + s)});
}

} // namespace pipeloop
