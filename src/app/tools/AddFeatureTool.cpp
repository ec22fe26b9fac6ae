#include "AddFeatureTool.h"

#include "Additions.h"
#include "AppDialogs.h"
#include "UiServices.h"

namespace pipeloop
{

AddingTool::Request AddFeatureTool::request(int taken) const
{
    const QString what =
        m_type == QStringLiteral("GENERAL") ? QStringLiteral("build feature") : m_type;
    const QString corner = taken == 0 ? QStringLiteral("first") : QStringLiteral("second");
    return {QStringLiteral("BUILD FEATURE"),
            QStringLiteral("Select the %1 corner of the %2.").arg(corner, what),
            {}};
}

bool AddFeatureTool::located(const Position& at)
{
    if (!m_corner1) {
        m_corner1 = at;
        return true;
    }
    addFeature(at);
    return false;
}

void AddFeatureTool::addFeature(const Position& corner2)
{
    if (const EditResult corners = CheckFeatureCorners(*m_corner1, corner2); !corners) {
        Ui().inform(corners.message());
        return;
    }
    NewFeature feature;
    feature.Corner1 = *m_corner1;
    feature.Corner2 = corner2;
    feature.Type = m_type;
    const std::optional<int32_t> height = enterLength(
        QStringLiteral("NEW BUILD FEATURE"), QStringLiteral("Enter height :"), feature.Height);
    if (!height)
        return;
    feature.Height = *height;
    if (!host().dialogs().queryText(host().dialogParent(), QStringLiteral("FEATURE LABEL"),
                                    QStringLiteral("Enter feature label"), feature.Label))
        feature.Label.clear();
    if (const EditResult added = AddFeature(document(), feature); !added)
        Ui().inform(added.message());
}

} // namespace pipeloop
