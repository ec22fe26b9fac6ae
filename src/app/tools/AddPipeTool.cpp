#include "AddPipeTool.h"

#include "PipeLoop.h"
#include "UiServices.h"

namespace pipeloop
{

AddingTool::Request AddPipeTool::request(int taken) const
{
    const QString title = connected() ? QStringLiteral("SPUR") : QStringLiteral("PIPE");
    if (taken == 0)
        return {title,
                connected()
                    ? QStringLiteral("Select the spur start position on either the pipe loop or "
                                     "a spur.")
                    : QStringLiteral("Select the pipe start position."),
                {}};
    return {title,
            connected() ? QStringLiteral("Select the spur end position.")
                        : QStringLiteral("Select the pipe end position."),
            {}};
}

bool AddPipeTool::located(const Position& at)
{
    const Parsed<Position> placed =
        m_start ? PipeEndPlacement(design(), at) : PipeStartPlacement(design(), at, m_kind);
    if (!placed) {
        Ui().inform(placed.error());
        return false;
    }
    if (!m_start) {
        m_start = placed.value();
        return true;
    }
    addPipe(placed.value());
    return false;
}

void AddPipeTool::addPipe(const Position& end)
{
    NewPipe pipe;
    pipe.Kind = m_kind;
    pipe.Start = *m_start;
    pipe.End = end;
    const std::optional<float> size =
        connected() ? enterSize(QStringLiteral("NEW SPUR"), QStringLiteral("Enter spur pipe size."),
                                design().PipeSize)
                    : enterSize(QStringLiteral("NEW PIPE"), QStringLiteral("Enter pipe size."),
                                design().PipeSize);
    if (!size)
        return;
    pipe.PipeSize = *size;
    if (m_kind == PipeKind::VerticalDropSpur)
        pipe.VerticalDrop = enterLength(QStringLiteral("NEW DROP SPUR"),
                                        QStringLiteral("Enter spur drop distance :"), 0)
                                .value_or(0);
    if (design().CompressorHouse)
        pipe.Height = enterLength(QStringLiteral("NEW SPUR"), QStringLiteral("Enter pipe height :"),
                                  design().Height)
                          .value_or(design().Height);
    AddPipe(document(), pipe);
}

} // namespace pipeloop
