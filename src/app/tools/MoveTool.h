#pragma once

// Dragging the selection: started once the pointer, with the left button
// held, leaves the press point. Each move shows the object at the pointer (a
// preview that never attaches to a pipe); the release checks the snapped
// position and makes the final move (Shift held keeps a spur from attaching),
// or shows why not and puts the object back. Releasing at the press point,
// Escape or Cancel move nothing. The whole drag is one undo step.

#include "Tool.h"

#include <QPoint>
#include <QString>

namespace pipeloop
{

class MoveTool : public Tool
{
public:
    static const QString SpurHint;
    static const QString SymbolHint;

    explicit MoveTool(QPoint pressPixel) : m_pressPixel(pressPixel) {}

    // Whether the keys held let the left button drag: none, or Shift only
    // (Alt is ignored).
    static bool Drags(Qt::KeyboardModifiers modifiers);

    void start(ToolHost& host) override;
    void mouseMove(const ToolPoint& point, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers) override;
    void release(const ToolPoint& point, Qt::KeyboardModifiers modifiers) override;
    bool key(int key) override;
    void end(Ending how) override;

private:
    void cancel();

    ToolHost* m_host = nullptr;
    QPoint m_pressPixel;
    bool m_moved = false;
};

} // namespace pipeloop
