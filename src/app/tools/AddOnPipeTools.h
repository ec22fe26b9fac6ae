#pragma once

// The tools that place an object on the pipe: drops and valves (several, one
// per click, until Done), drains and inlets (one). Each click is placed on
// the nearest pipe and checked there, where the object will stand; a
// refused position is explained and, for drops and valves, the prompt comes
// back. Each object added is its own undo step, so one Undo after adding
// three drops takes back the third. Started with a known point (the
// drawing's pop-up menu) a tool places one object there without a prompt.

#include "AddingTool.h"

namespace pipeloop
{

// Drops, each with the drop dialog of a new drop; Cancel in the dialog adds
// nothing and ends the tool.
class AddDropTool : public AddingTool
{
public:
    explicit AddDropTool(std::optional<ToolPoint> known = {}) : AddingTool(known) {}

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;
};

class AddValveTool : public AddingTool
{
public:
    explicit AddValveTool(std::optional<ToolPoint> known = {}) : AddingTool(known) {}

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;
};

// A manual or automatic drain: its pipe size (Cancel adds nothing), then its
// pipe length (Cancel keeps the loop's height).
class AddDrainTool : public AddingTool
{
public:
    explicit AddDrainTool(bool automatic, std::optional<ToolPoint> known = {})
        : AddingTool(known), m_automatic(automatic)
    {
    }

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;

private:
    bool m_automatic;
};

// A compressor inlet with the inlet dialog's pipe size and length.
class AddInletTool : public AddingTool
{
public:
    explicit AddInletTool(std::optional<ToolPoint> known = {}) : AddingTool(known) {}

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;
};

} // namespace pipeloop
