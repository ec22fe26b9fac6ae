#pragma once

// Small helpers shared by the render tests.

#include "IsoSymbols.h"
#include "RecordingCanvas.h"

#include <QString>
#include <QStringList>

#include <ostream>

QT_BEGIN_NAMESPACE
// One call per line, so that a failing comparison shows the calls readably.
inline void PrintTo(const QStringList& lines, std::ostream* out)
{
    *out << "\n    " << lines.join(QStringLiteral("\n    ")).toStdString() << "\n";
}
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace pipeloop::test
{

// The calls DrawSymbol makes for one keyword, as offsets from the anchor.
inline QStringList SymbolCalls(const QString& keyword, int s, QPoint anchor = QPoint(100, 200))
{
    RecordingCanvas canvas;
    DrawSymbol(canvas, keyword, anchor, s);
    return canvas.descriptions(anchor);
}

// A symbol list of the given keywords, no parts, rectangles all 0.
inline std::vector<TSymbolEntry> Stack(const QStringList& keywords)
{
    std::vector<TSymbolEntry> symbols;
    for (const QString& keyword : keywords)
        symbols.push_back({keyword, {}});
    return symbols;
}

inline SymbolRect Rect(int left, int top, int right, int bottom)
{
    return {left, top, right, bottom};
}

} // namespace pipeloop::test

namespace pipeloop
{
inline void PrintTo(const SymbolRect& r, std::ostream* out)
{
    *out << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
}
} // namespace pipeloop
