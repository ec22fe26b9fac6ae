#pragma once

// An interactive tool: a small state machine that takes the drawing area's
// mouse and keys until it ends. Entering elbows and dragging the selection
// are each one tool (adding objects will be others). A tool sees the program
// only through its ToolHost and changes the design only by pushing commands
// on the document.

#include "ModelTypes.h"

#include <Qt>

namespace pipeloop
{

class ToolHost;

// A point of the drawing area: the model position under it (each coordinate
// -1 where the view does not show it) and the pixel.
struct ToolPoint {
    Position at{-1, -1, -1};
    int x = 0;
    int y = 0;
};

class Tool
{
public:
    // How a tool is ended from outside: the prompt's Done button, its Cancel
    // button (or Escape), or the window closing.
    enum class Ending { Done, Cancel, Close };

    virtual ~Tool() = default;

    virtual void start(ToolHost& host) = 0;
    virtual void mouseMove(const ToolPoint&, Qt::MouseButtons, Qt::KeyboardModifiers) {}
    virtual void release(const ToolPoint&, Qt::KeyboardModifiers) {}
    // A press and release of the left button in the drawing area.
    virtual void click(const ToolPoint&) {}
    // A key the window did not use; true when the tool took it.
    virtual bool key(int key) = 0;
    // The tool ends unless it refuses (Done with too little entered says
    // why and carries on); Close never is refused.
    virtual void end(Ending how) = 0;

    bool finished() const { return m_finished; }

protected:
    void finish() { m_finished = true; }

private:
    bool m_finished = false;
};

} // namespace pipeloop
