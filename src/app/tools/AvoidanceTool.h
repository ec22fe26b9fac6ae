#pragma once

// Building Avoidance Elbow: a detour of four elbows just before the selected
// elbow, where the pipe must duck under (or over) something in its way. The
// plan is shown, the selected elbow stays highlighted while the two points
// are clicked on the pipe that ends at it, then the vertical distance is
// asked (Cancel: 1000 mm). The whole detour is one undo step. A selection
// that cannot take a detour (not an elbow, or the loop's first elbow) is
// refused before any prompt.

#include "AddingTool.h"

namespace pipeloop
{

class AvoidanceTool : public AddingTool
{
public:
    static constexpr int32_t DefaultDistance = 1000;

protected:
    bool begin() override;
    Request request(int taken) const override;
    bool located(const Position& at) override;
    void leaving() override;

private:
    void addDetour(const Position& second);

    // The selected elbow is the mark of the detour until the tool ends.
    bool m_marking = false;
    std::optional<Position> m_first;
};

} // namespace pipeloop
