#pragma once

// ISO 1219 symbol drawing: every piece of air-treatment and outlet
// equipment as a simplified fluid-power symbol centred on an anchor with a
// half-size s in device pixels, and the vertical stacks of a drop's or an
// inlet's symbol list.
//
// The geometry is integer pixel geometry and reproduced exactly: `div`
// truncates toward zero, Trunc truncates, Round rounds halves to even. A real
// factor of s such as 0.7·s is formed as 7·s/10, so that the product is the
// exact decimal one (0.7·90 is 63, not the 62.99999999999999 of a binary 0.7).

#include "Canvas.h"
#include "DropSymbols.h" // TSymbolEntry

#include <QPoint>
#include <QString>

#include <vector>

namespace pipeloop
{

// (X + Round(dx·cos θ + dy·sin θ), Y + Round(dy·cos θ − dx·sin θ)).
QPoint RotateOffset(QPoint anchor, int dx, int dy, double theta);

// Shared primitives.
void DrawDiamond(Canvas& canvas, QPoint anchor, int s);
void EraseSymbolBox(Canvas& canvas, QPoint anchor, int s);
// Arrow with its head at tip, pointing up when theta is 0; the shaft (2·(length
// div 2) long) is drawn with the caller's pen width, the head with width 1 in
// the current brush.
void DrawArrow(Canvas& canvas, QPoint tip, int length, double theta);
// Bow-tie whose waist is the anchor; vertical when theta is 0.
void DrawValveSymbol(Canvas& canvas, QPoint anchor, int s, double theta);
void DrawDrainSymbol(Canvas& canvas, QPoint anchor, int s, bool manual);

// Draws the symbol of one keyword (compared whole and case-sensitively) centred
// on the anchor. "FRL" draws its three parts upwards from the anchor in a
// dash-dot box. "COUPLER", "AIR-HOSE", "RECOIL-HOSE" and unknown keywords draw
// nothing here (the hose items are drawn by DrawHoseStack).
void DrawSymbol(Canvas& canvas, const QString& keyword, QPoint anchor, int s);

// An entry of a symbol list drawn by DrawHoseStack rather than DrawSymbolStack:
// one whose keyword contains "AIR-HOSE" or "RECOIL-HOSE" or equals "COUPLER".
bool IsHoseStackItem(const QString& keyword);

// Lays out the non-hose entries of a symbol list in cells 2s high and 2s + s div 4
// apart along the vertical x. With startBelow > 0 the entries go downwards
// from the last to the first, the first cell centred at startBelow + s + s div 4,
// each with a pipe piece of width pipeWidth above it; otherwise upwards from the
// first to the last, the first cell centred at startAbove. Each symbol is drawn
// in black, the entry selectedIndex in highlightColour unless printMode. Unless
// printMode, each drawn cell (an FRL's whole box) is stored as its entry's
// hit rectangle.
void DrawSymbolStack(Canvas& canvas, std::vector<TSymbolEntry>& symbols, int x, int pipeWidth,
                     int startBelow, int selectedIndex, WinColour highlightColour, bool printMode,
                     int s, int startAbove);

// Draws the hose assembly at the end of a symbol list (couplers, air hose,
// recoil hose), from the last entry back while entries are hose items, hanging
// down from startY along the vertical x. Returns the bottom of the last cell
// drawn (startY when there is none). Colours and hit rectangles as for
// DrawSymbolStack.
int DrawHoseStack(Canvas& canvas, std::vector<TSymbolEntry>& symbols, int x, int selectedIndex,
                  WinColour highlightColour, int pipeWidth, bool printMode, int s, int startY);

} // namespace pipeloop
