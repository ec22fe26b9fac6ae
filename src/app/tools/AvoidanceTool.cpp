#include "AvoidanceTool.h"

#include "Additions.h"
#include "Document.h"
#include "UiServices.h"

namespace pipeloop
{

bool AvoidanceTool::begin()
{
    if (const EditResult elbow = CheckAvoidanceElbow(design()); !elbow) {
        Ui().inform(elbow.message());
        return false;
    }
    // The points are found on the plan's pipe; the selected elbow stays
    // selected, drawn highlighted, as the mark of where the detour goes.
    host().showPlan();
    m_marking = true;
    return true;
}

AddingTool::Request AvoidanceTool::request(int taken) const
{
    return {QStringLiteral("ADD DROP"),
            taken == 0 ? QStringLiteral("Enter the first drop location.")
                       : QStringLiteral("Enter the second drop location."),
            {}};
}

bool AvoidanceTool::located(const Position& at)
{
    const Parsed<Position> point = AvoidancePoint(design(), at);
    if (!point) {
        Ui().inform(point.error());
        return false;
    }
    if (!m_first) {
        m_first = point.value();
        return true;
    }
    addDetour(point.value());
    return false;
}

void AvoidanceTool::addDetour(const Position& second)
{
    const int32_t distance =
        enterLength(QStringLiteral("AVOIDANCE"), QStringLiteral("Enter vertical distance :"),
                    DefaultDistance)
            .value_or(DefaultDistance);
    if (const EditResult added = AddAvoidance(document(), *m_first, second, distance); !added)
        Ui().inform(added.message());
}

void AvoidanceTool::leaving()
{
    if (m_marking)
        document().clearSelection();
}

} // namespace pipeloop
