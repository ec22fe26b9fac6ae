#include "Additions.h"

#include "Document.h"
#include "DropSymbols.h"
#include "ElbowList.h"
#include "LoopGeometry.h"
#include "ObjectCommands.h"
#include "ObjectEdits.h"
#include "PipeLoop.h"
#include "UiServices.h"

#include <QObject>

#include <algorithm>
#include <utility>
#include <vector>

namespace pipeloop
{

namespace
{

Parsed<Position> CheckedPlacement(const TPipeLoop& design, const Position& at, bool allowSpurEnd)
{
    const EditResult free = CheckPositionFree(design, at, false, allowSpurEnd);
    if (!free)
        return Parsed<Position>::failure(free.message());
    return at;
}

// An object a model function has just appended, made one undo step.
bool KeepAdded(Document& document, TPipeLoopObject& object)
{
    return document.pushAppended(object, QObject::tr("Add %1").arg(object.Name));
}

} // namespace

// ---------------------------------------------------------------- on the pipe

Parsed<Position> PipePlacement(const TPipeLoop& design, const Position& clicked, bool allowSpurEnd)
{
    return CheckedPlacement(design, design.SnapToPipe(clicked).Point, allowSpurEnd);
}

std::unique_ptr<TDrop> NewDrop(const TPipeLoop& design)
{
    auto drop = std::make_unique<TDrop>();
    drop->PipeLen = design.Height;
    drop->OutletSize = design.DefaultOutletSize;
    return drop;
}

bool AddDrop(Document& document, std::unique_ptr<TDrop> drop, const Position& at)
{
    TPipeLoop* design = document.design();
    if (!design || !drop)
        return false;
    drop->setPosition(at);
    return KeepAdded(document, design->AddExistingDrop(std::move(drop)));
}

bool AddValve(Document& document, const Position& at)
{
    TPipeLoop* design = document.design();
    return design && KeepAdded(document, design->AddValve(at));
}

bool AddDrain(Document& document, const Position& at, bool automatic, float pipeSize,
              int32_t pipeLength)
{
    TPipeLoop* design = document.design();
    return design && KeepAdded(document, design->AddDrain(at, !automatic, pipeSize, pipeLength));
}

bool AddInlet(Document& document, const Position& at, float pipeSize, int32_t pipeLength)
{
    TPipeLoop* design = document.design();
    return design && KeepAdded(document, design->AddInlet(at, pipeLength, pipeSize));
}

EditResult AddSymbolToSelected(Document& document, const QString& keyword)
{
    return ChangeSelectedSymbols(
        document, QStringLiteral("Adding"), QObject::tr("Add %1").arg(keyword),
        [&keyword](TObjectWithSymbols& symbols) { symbols.AddSymbol(keyword); });
}

EditResult PasteDrop(Document& document, const Position& clicked)
{
    const TPipeLoop* design = document.design();
    if (!design || !document.copiedDrop())
        return EditResult::refused(QStringLiteral("No drop has been copied."));
    const Parsed<Position> at = PipePlacement(*design, clicked, true);
    if (!at)
        return EditResult::refused(at.error());
    document.pasteDrop(at.value());
    return EditResult::done();
}

// ---------------------------------------------------------------- spurs and pipes

Parsed<Position> PipeStartPlacement(const TPipeLoop& design, const Position& clicked, PipeKind kind)
{
    const Position start =
        kind == PipeKind::Unconnected ? clicked : design.SnapToPipe(clicked).Point;
    return CheckedPlacement(design, start, true);
}

Parsed<Position> PipeEndPlacement(const TPipeLoop& design, const Position& clicked)
{
    return CheckedPlacement(design, clicked, false);
}

bool AddPipe(Document& document, const NewPipe& pipe)
{
    TPipeLoop* design = document.design();
    if (!design)
        return false;
    Position start = pipe.Start;
    if (pipe.Height)
        start.HG = *pipe.Height;
    else if (pipe.Kind == PipeKind::Unconnected && start.HG < 0)
        start.HG = design->Height; // a plan click has no height: the loop's
    const bool attach = pipe.Kind != PipeKind::Unconnected;
    const int32_t drop = pipe.Kind == PipeKind::VerticalDropSpur ? pipe.VerticalDrop : 0;
    return KeepAdded(document, design->AddSpur(start, pipe.End, attach, drop, pipe.PipeSize));
}

// ---------------------------------------------------------------- building features

EditResult CheckFeatureCorners(const Position& corner1, const Position& corner2)
{
    if (corner1.EW == corner2.EW || corner1.NS == corner2.NS)
        return EditResult::refused(QStringLiteral("Feature dimensions zero, feature not added."));
    return EditResult::done();
}

EditResult AddFeature(Document& document, const NewFeature& feature)
{
    TPipeLoop* design = document.design();
    if (!design)
        return EditResult::refused(QStringLiteral("No design is open."));
    if (EditResult corners = CheckFeatureCorners(feature.Corner1, feature.Corner2); !corners)
        return corners;
    auto made = std::make_unique<TBuildFeature>();
    made->P1NS = std::min(feature.Corner1.NS, feature.Corner2.NS);
    made->P1EW = std::min(feature.Corner1.EW, feature.Corner2.EW);
    made->P2NS = std::max(feature.Corner1.NS, feature.Corner2.NS);
    made->P2EW = std::max(feature.Corner1.EW, feature.Corner2.EW);
    made->Feature = feature.Type;
    made->Height = feature.Height;
    made->Name = feature.Label;
    // Where a loaded feature stands: its first corner at its height.
    made->setPosition({made->P1NS, made->P1EW, made->Height});
    TBuildFeature& added = design->AddBuildFeature(std::move(made));
    document.pushAppended(added, QObject::tr("Add building feature"));
    return EditResult::done();
}

// ---------------------------------------------------------------- avoidance detour

EditResult CheckAvoidanceElbow(const TPipeLoop& design)
{
    const auto [elbow, index] = SelectedElbow(design);
    if (!elbow)
        return EditResult::refused(
            QStringLiteral("To add building avoidance pipe loop elbows\r\n"
                           "you must select the elbow after the location required."));
    if (index == 0)
        return EditResult::refused(QStringLiteral("The first elbow has no pipe before it:\r\n"
                                                  "select the elbow after the location required."));
    return EditResult::done();
}

Parsed<Position> AvoidancePoint(const TPipeLoop& design, const Position& clicked)
{
    if (EditResult selection = CheckAvoidanceElbow(design); !selection)
        return Parsed<Position>::failure(selection.message());
    const size_t index = SelectedElbow(design).second;
    const Position from = design.Elbows[index - 1]->position();
    const Position to = design.Elbows[index]->position();
    // The nearest point of the whole loop, so that a click nearer another run
    // of pipe is never pulled onto this one; the elbows themselves are no
    // place for a detour.
    const Position projected = design.SnapToLoop(clicked).Point;
    if (!OnSegment(from, to, projected) || projected.samePlan(from) || projected.samePlan(to))
        return Parsed<Position>::failure(
            QStringLiteral("Select a point on the pipe that ends at the selected elbow."));
    return projected;
}

EditResult AddAvoidance(Document& document, const Position& first, const Position& second,
                        int32_t distance)
{
    TPipeLoop* design = document.design();
    if (!design)
        return EditResult::refused(QStringLiteral("No design is open."));
    if (EditResult selection = CheckAvoidanceElbow(*design); !selection)
        return selection;
    if (first.samePlan(second))
        return EditResult::refused(QStringLiteral("Select two different points on the pipe."));
    const auto [elbow, index] = SelectedElbow(*design);
    const size_t number = design->Elbows.size() + 1;
    const auto at = [&](const Position& point) { return Position{point.NS, point.EW, elbow->HG}; };
    // The loop drops by distance between the two points; the point nearer the
    // selected elbow is the one next to it.
    std::vector<std::unique_ptr<TElbow>> detour;
    detour.push_back(NewElbow(number, at(second), 0));
    detour.push_back(NewElbow(number, at(second), distance));
    detour.push_back(NewElbow(number, at(first), distance));
    detour.push_back(NewElbow(number, at(first), 0));
    if (elbow->DistanceSq(first, ViewKind::Plan) >= elbow->DistanceSq(second, ViewKind::Plan))
        std::reverse(detour.begin(), detour.end());
    document.clearSelection();
    document.push(new InsertElbowsCommand(*design, index, std::move(detour),
                                          QObject::tr("Avoidance detour")));
    return EditResult::done();
}

} // namespace pipeloop
