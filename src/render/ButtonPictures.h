#pragma once

// Pictures for the symbol buttons: each button shows what its tool places,
// drawn by the same symbol code as the views, so that a fitter recognises a
// valve, a gauge or an outlet rather than a letter code.

#include "Canvas.h"

#include <QImage>
#include <QString>

namespace pipeloop
{

// What a placing tool's button shows when it is no equipment symbol.
enum class ToolPicture : uint8_t {
    ManualDrain,
    AutomaticDrain,
    Inlet,
    Drop,
    Spur,
    VerticalDropSpur,
    AvoidanceElbow,
    UnconnectedPipe,
    BuildingFeature,
};

// The picture of a button: what a tool places, or an equipment symbol by its
// keyword ("FILTER", "FRL", "1-PORT-OUTLET", ...).
struct ButtonPicture {
    ToolPicture tool = ToolPicture::Drop;
    QString keyword; // when set, the symbol instead of the tool's picture

    static ButtonPicture ofTool(ToolPicture tool) { return {tool, {}}; }
    static ButtonPicture ofSymbol(const QString& keyword) { return {ToolPicture::Drop, keyword}; }
};

// Draws the picture centred on centre within a square of side size, in black
// on the canvas's background.
void DrawButtonPicture(Canvas& canvas, const ButtonPicture& picture, QPoint centre, int size);

// The picture on a white size × size square with a transparent margin.
QImage RenderButtonPicture(const ButtonPicture& picture, int size);

} // namespace pipeloop
