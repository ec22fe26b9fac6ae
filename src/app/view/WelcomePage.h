#pragma once

// The page the drawing area shows while no design is open: a faint
// background of random ISO 1219 symbols, the maker's name, a few lines of
// welcome and the vendor's logo in the two bottom corners.

#include "Canvas.h"

#include <QImage>

#include <cstdint>

namespace pipeloop
{

// The six drawings the background picks from at random.
inline constexpr int WelcomeSymbolKinds = 6;

// Draws the page over rect. seed makes the background repeatable (the window
// passes the clock, so it changes at each paint).
void DrawWelcome(Canvas& canvas, const PixelRect& rect, const QImage& logo, uint32_t seed);

} // namespace pipeloop
