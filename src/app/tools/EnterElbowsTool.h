#pragma once

// Drawing the loop by hand: each click places an elbow at the loop's height
// (snapped to the grid), Backspace takes the last one back, Done closes the
// ring from the last elbow to the first and Cancel (or Escape) gives up the
// entry. A design left without elbows gets the loop around the building.
// The whole entry, closing elbow and all, is one undo step.

#include "Tool.h"

#include <QString>

#include <vector>

namespace pipeloop
{

class TElbow;
class TPipeLoop;

class EnterElbowsTool : public Tool
{
public:
    static const QString Title;
    static const QString Hint;
    static const QString TooFewElbows;
    static const QString DefaultLoopNotice;

    void start(ToolHost& host) override;
    void click(const ToolPoint& point) override;
    bool key(int key) override;
    void end(Ending how) override;

private:
    TPipeLoop& design() const;
    void prompt(bool keepPosition);
    void removeLastPlaced();
    void closeRing();
    void finishEntry();

    ToolHost* m_host = nullptr;
    bool m_highlighted = false;
    // The elbows this entry placed, oldest first.
    std::vector<TElbow*> m_placed;
};

} // namespace pipeloop
