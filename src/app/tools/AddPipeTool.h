#pragma once

// Spur, Vertical Drop Spur and Unconnected Pipe: two clicks, the start and
// then the end, each placed and checked where the pipe will run (a spur may
// start at another spur's end; no pipe may end at one). Then the pipe's size
// (Cancel adds nothing), for a vertical drop spur its drop distance (Cancel:
// none) and in a compressor house the height it runs at (Cancel: the
// design's height). One undo step.

#include "AddingTool.h"
#include "Additions.h"

namespace pipeloop
{

class AddPipeTool : public AddingTool
{
public:
    explicit AddPipeTool(PipeKind kind) : m_kind(kind) {}

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;

private:
    bool connected() const { return m_kind != PipeKind::Unconnected; }
    void addPipe(const Position& end);

    PipeKind m_kind;
    std::optional<Position> m_start;
};

} // namespace pipeloop
