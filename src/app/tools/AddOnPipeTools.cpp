#include "AddOnPipeTools.h"

#include "Additions.h"
#include "AppDialogs.h"
#include "PipeLoop.h"
#include "PipeLoopObjects.h"
#include "UiServices.h"

namespace pipeloop
{

namespace
{

// Where an object clicked at `at` stands on the pipe; a refusal is shown.
std::optional<Position> OnPipe(const TPipeLoop& design, const Position& at,
                               bool allowSpurEnd = false)
{
    const Parsed<Position> placed = PipePlacement(design, at, allowSpurEnd);
    if (!placed) {
        Ui().inform(placed.error());
        return std::nullopt;
    }
    return placed.value();
}

} // namespace

// ---------------------------------------------------------------- drops

AddingTool::Request AddDropTool::request(int taken) const
{
    return {taken == 0 ? QStringLiteral("ADD DROPS") : QStringLiteral("ADD DROP"),
            QStringLiteral("Select the position for the drop with a mouse click."),
            QStringLiteral("drops")};
}

bool AddDropTool::located(const Position& at)
{
    // A drop may hang from a spur's end; nothing else may stand there.
    const std::optional<Position> onPipe = OnPipe(design(), at, true);
    if (!onPipe)
        return true;
    std::unique_ptr<TDrop> drop = NewDrop(design());
    if (!host().dialogs().editDrop(host().dialogParent(), *drop, host().catalogue(), units(), true,
                                   design().PipeSizeAt(*onPipe)))
        return false;
    AddDrop(document(), std::move(drop), *onPipe);
    return true;
}

// ---------------------------------------------------------------- valves

AddingTool::Request AddValveTool::request(int) const
{
    return {QStringLiteral("VALVE"),
            QStringLiteral("Select the position for the valve using a mouse click."),
            QStringLiteral("valves")};
}

bool AddValveTool::located(const Position& at)
{
    if (const std::optional<Position> onPipe = OnPipe(design(), at))
        AddValve(document(), *onPipe);
    return true;
}

// ---------------------------------------------------------------- drains

AddingTool::Request AddDrainTool::request(int) const
{
    return {QStringLiteral("DRAIN"),
            m_automatic ? QStringLiteral("Select the position for the automatic drain.")
                        : QStringLiteral("Select the position for the manual drain."),
            {}};
}

bool AddDrainTool::located(const Position& at)
{
    const std::optional<Position> onPipe = OnPipe(design(), at);
    if (!onPipe)
        return false;
    const std::optional<float> size = enterSize(
        QStringLiteral("NEW DRAIN"), QStringLiteral("Enter drain pipe size."), design().PipeSize);
    if (!size)
        return false;
    const int32_t length = enterLength(m_automatic ? QStringLiteral("AUTOMATIC DRAIN")
                                                   : QStringLiteral("MANUAL DRAIN"),
                                       QStringLiteral("Enter drain pipe length :"), design().Height)
                               .value_or(design().Height);
    AddDrain(document(), *onPipe, m_automatic, *size, length);
    return false;
}

// ---------------------------------------------------------------- inlets

AddingTool::Request AddInletTool::request(int) const
{
    return {QStringLiteral("INLET"), QStringLiteral("Select the position for the inlet."), {}};
}

bool AddInletTool::located(const Position& at)
{
    const std::optional<Position> onPipe = OnPipe(design(), at);
    if (!onPipe)
        return false;
    InletValues values;
    if (host().dialogs().editInlet(host().dialogParent(), nullptr, host().catalogue(), units(),
                                   values))
        AddInlet(document(), *onPipe, values.PipeSize, values.PipeLength);
    return false;
}

} // namespace pipeloop
