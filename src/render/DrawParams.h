#pragma once

// The drawing parameter record: where to draw, at which scale, in
// which view and with which device-dependent sizes. Built by the caller (the
// screen, the printer, the picture export), passed by value, never changed by
// the drawing routines.

#include "ModelTypes.h"

#include <cstdint>

namespace pipeloop
{

struct TDrawParams {
    // The drawing area in device pixels.
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    // 0 plan, 1 north, 2 east, 3 south, 4 west section.
    ViewKind View = ViewKind::Plan;
    // Device pixels per millimetre of the design.
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    // Margin in pixels between the area's edge and the building; also the
    // drawn wall thickness.
    int32_t OriginX = 0;
    int32_t OriginY = 0;
    // Symbol half-size s, in pixels.
    int32_t SymbolSize = 12;
    // Pen width of pipe lines.
    int32_t PipeWidth = 3;
    // Draw drops, inlets, drains, valves and (sections) the drop symbol stacks.
    bool DrawSymbols = true;
    // Printer or black-and-white output: no select/highlight colours, no hit
    // rectangles, the print colour rules.
    bool PrintMode = false;
    // Write object names (sections).
    bool SymbolNames = false;
    // Building height minus main pipe height, millimetres.
    int32_t PipeDepth = 0;

    bool isSection() const { return View != ViewKind::Plan; }
};

// The values the main window uses for the screen: margins 18,
// symbol size 12, pipe width 3, symbols drawn, not print mode, no names, and
// the depth of the main below the roof.
inline constexpr int32_t ScreenMargin = 18;
inline constexpr int32_t ScreenSymbolSize = 12;
inline constexpr int32_t ScreenPipeWidth = 3;

} // namespace pipeloop
