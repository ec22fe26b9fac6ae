#pragma once

// A building feature: the plan's "Building Feature" (type GENERAL) and the
// compressor house's dryer, filters, compressor and receiver. Two corners in
// either order, then the height (Cancel adds nothing) and a label (Cancel:
// none). Corners on one line are refused. One undo step.

#include "AddingTool.h"

namespace pipeloop
{

class AddFeatureTool : public AddingTool
{
public:
    explicit AddFeatureTool(QString type = QStringLiteral("GENERAL")) : m_type(std::move(type)) {}

protected:
    Request request(int taken) const override;
    bool located(const Position& at) override;

private:
    void addFeature(const Position& corner2);

    QString m_type;
    std::optional<Position> m_corner1;
};

} // namespace pipeloop
