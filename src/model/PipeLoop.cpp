#include "PipeLoop.h"

#include <algorithm>
#include <type_traits>

namespace pipeloop
{

namespace
{

// The target of a move: a coordinate of -1 keeps the current value (a point
// taken from a section view cannot show one of its coordinates).
Position merged(const Position& target, const Position& current)
{
    return {target.NS == -1 ? current.NS : target.NS, target.EW == -1 ? current.EW : target.EW,
            target.HG == -1 ? current.HG : target.HG};
}

template <typename T> QString nextName(const ObjectList<T>& list, ObjectKind kind)
{
    return NamePrefix(kind) + QString::number(list.size() + 1);
}

template <typename List> auto findIn(List& list, const TPipeLoopObject* object)
{
    return std::find_if(list.begin(), list.end(),
                        [object](const auto& item) { return item.get() == object; });
}

// Calls visit with the design's list of the kind (const or not as the design is).
template <typename Design, typename F>
decltype(auto) withListOf(Design& design, ObjectKind kind, F&& visit)
{
    switch (kind) {
    case ObjectKind::Elbow:
        return visit(design.Elbows);
    case ObjectKind::Valve:
        return visit(design.Valves);
    case ObjectKind::BuildFeature:
        return visit(design.BuildFeatures);
    case ObjectKind::Inlet:
        return visit(design.Inlets);
    case ObjectKind::Drop:
        return visit(design.Drops);
    case ObjectKind::Spur:
        return visit(design.Spurs);
    case ObjectKind::Drain:
        break;
    }
    return visit(design.Drains);
}

template <typename T> int32_t maxStackHeight(const ObjectList<T>& list, int32_t symbolSize)
{
    int32_t result = 0;
    for (const auto& item : list)
        result = std::max(result, RoundExtended(static_cast<long double>(symbolSize) * 1.3L *
                                                static_cast<long double>(item->SymbolCount())));
    return result;
}

} // namespace

TPipeLoop::TPipeLoop(TPipeLoopOptions& options) : Options(options) {}

TPipeLoop::~TPipeLoop() = default;

// ---------------------------------------------------------------- objects

TBuildFeature& TPipeLoop::AddBuildFeature(std::unique_ptr<TBuildFeature> feature)
{
    BuildFeatures.push_back(std::move(feature));
    return *BuildFeatures.back();
}

TDrop& TPipeLoop::AddExistingDrop(std::unique_ptr<TDrop> drop)
{
    drop->Name = nextName(Drops, ObjectKind::Drop);
    Drops.push_back(std::move(drop));
    return *Drops.back();
}

TElbow& TPipeLoop::AddElbow(const Position& position, int32_t verticalDrop)
{
    return AppendElbow(Elbows, position, verticalDrop);
}

void TPipeLoop::CreateDefaultElbows()
{
    pipeloop::CreateDefaultElbows(Elbows, RoomNS, RoomEW, Height);
}

void TPipeLoop::DeleteSelected()
{
    if (Selected)
        TakeObject(*Selected); // the object goes with the result
}

TakenObject TPipeLoop::TakeObject(TPipeLoopObject& object)
{
    return withListOf(*this, object.Kind(), [this, &object](auto& list) {
        const auto found = findIn(list, &object);
        if (found == list.end())
            return TakenObject{};
        if (Selected == &object)
            Deselect();
        TakenObject taken{std::move(*found), size_t(found - list.begin())};
        list.erase(found);
        return taken;
    });
}

TPipeLoopObject& TPipeLoop::PutObject(std::unique_ptr<TPipeLoopObject> object, size_t index)
{
    return withListOf(*this, object->Kind(), [&](auto& list) -> TPipeLoopObject& {
        using T = typename std::decay_t<decltype(list)>::value_type::element_type;
        // The kind names the class: each class answers its own kind.
        std::unique_ptr<T> typed(static_cast<T*>(object.release()));
        const auto at = list.begin() + std::ptrdiff_t(std::min(index, list.size()));
        return **list.insert(at, std::move(typed));
    });
}

TElbow& TPipeLoop::InsertElbow(size_t index, std::unique_ptr<TElbow> elbow)
{
    return static_cast<TElbow&>(PutObject(std::move(elbow), index));
}

bool TPipeLoop::Contains(const TPipeLoopObject& object) const
{
    return withListOf(*this, object.Kind(),
                      [&object](const auto& list) { return findIn(list, &object) != list.end(); });
}

void TPipeLoop::Select(TPipeLoopObject& object)
{
    Deselect();
    select(&object);
}

void TPipeLoop::Deselect()
{
    if (!Selected)
        return;
    Selected->State = ObjectState::Normal;
    if (auto* withSymbols = dynamic_cast<TObjectWithSymbols*>(Selected))
        withSymbols->ClearSymbolSelection();
    Selected = nullptr;
}

void TPipeLoop::Highlight(TPipeLoopObject& object)
{
    if (&object == Selected)
        Deselect();
    object.State = ObjectState::Highlighted;
}

void TPipeLoop::ClearStates()
{
    const auto clear = [](auto& list) {
        for (auto& item : list)
            item->State = ObjectState::Normal;
    };
    clear(Spurs);
    clear(Inlets);
    clear(Drops);
    clear(Drains);
    clear(Valves);
    clear(Elbows);
}

int32_t TPipeLoop::MaxDropStackHeight(int32_t symbolSize) const
{
    return maxStackHeight(Drops, symbolSize);
}

int32_t TPipeLoop::MaxInletStackHeight(int32_t symbolSize) const
{
    return maxStackHeight(Inlets, symbolSize);
}

// ---------------------------------------------------------------- loop queries

int TPipeLoop::LoopSegmentCount() const
{
    return Elbows.size() < 2 ? 0 : static_cast<int>(Elbows.size() - 1);
}

int32_t TPipeLoop::LoopSegmentHeight(int index) const
{
    return Elbows[size_t(index)]->PipeHeight();
}

bool TPipeLoop::IsOnLoop(const Position& p) const
{
    for (int i = 0; i < LoopSegmentCount(); ++i)
        if (OnSegment(Elbows[size_t(i)]->position(), Elbows[size_t(i) + 1]->position(), p))
            return true;
    return false;
}

TSpur* TPipeLoop::SpurAt(const Position& p, const TPipeLoopObject* excluded) const
{
    for (const auto& spur : Spurs)
        if (spur.get() != excluded && OnSegment(spur->position(), spur->endPosition(), p))
            return spur.get();
    return nullptr;
}

float TPipeLoop::PipeSizeAt(const Position& p) const
{
    if (IsOnLoop(p))
        return PipeSize;
    if (const TSpur* spur = SpurAt(p))
        return spur->PipeSize;
    return 0.0f;
}

SnapResult TPipeLoop::snap(const Position& p, bool withSpurs, int excludedSpur) const
{
    SnapResult result{p, std::nullopt};
    NearestTracker nearest;
    // Distances are always measured from the clicked point p.
    const auto consider = [&](const Position& a, const Position& b, int32_t height) {
        if (nearest.cannotImprove(a, b, p))
            return;
        const std::optional<SegmentCandidate> candidate = NearestCandidate(a, b, p);
        if (!candidate || !nearest.offer(*candidate))
            return;
        result.Point.NS = RoundExtended(candidate->NS);
        result.Point.EW = RoundExtended(candidate->EW);
        result.Point.HG = height;
        result.Angle = SegmentAngle(a, b);
    };
    for (int i = 0; i < LoopSegmentCount(); ++i)
        consider(Elbows[size_t(i)]->position(), Elbows[size_t(i) + 1]->position(),
                 LoopSegmentHeight(i));
    if (withSpurs) {
        for (size_t j = 0; j < Spurs.size(); ++j) {
            if (static_cast<int64_t>(j) == excludedSpur)
                continue;
            const TSpur& spur = *Spurs[j];
            consider(spur.position(), spur.endPosition(), spur.PipeHeight());
        }
    }
    return result;
}

SnapResult TPipeLoop::SnapToPipe(const Position& p, int excludedSpur) const
{
    return snap(p, true, excludedSpur);
}

SnapResult TPipeLoop::SnapToLoop(const Position& p) const
{
    return snap(p, false, -1);
}

float TPipeLoop::SpurAngleToLoop(const TSpur& spur) const
{
    for (int i = 0; i < LoopSegmentCount(); ++i) {
        const Position a = Elbows[size_t(i)]->position();
        const Position b = Elbows[size_t(i) + 1]->position();
        if (OnSegment(a, b, spur.endPosition()))
            return SegmentAngle(spur.position(), spur.endPosition()) - SegmentAngle(a, b);
    }
    return 0.0f;
}

TPipeLoopObject* TPipeLoop::ObjectAt(const Position& p, bool startsOnly,
                                     const TPipeLoopObject* excluded, PositionMatch match) const
{
    const auto at = [&](const Position& position) {
        return match == PositionMatch::PlanOnly ? position.samePlan(p) : position == p;
    };
    for (const auto& elbow : Elbows)
        if (elbow.get() != excluded && at({elbow->NS, elbow->EW, elbow->PipeHeight()}))
            return elbow.get();
    TPipeLoopObject* found = nullptr;
    const auto search = [&](const auto& list) {
        for (const auto& item : list)
            if (item.get() != excluded && at(item->position())) {
                found = item.get();
                return true;
            }
        return false;
    };
    if (search(Drops) || search(Drains) || search(Valves) || search(Inlets) || search(Spurs))
        return found;
    if (!startsOnly)
        for (const auto& spur : Spurs)
            if (spur.get() != excluded && (at(spur->position()) || at(spur->endPosition())))
                return spur.get();
    return nullptr;
}

bool TPipeLoop::SpurEndsAt(const Position& p, const TPipeLoopObject* object)
{
    const auto* spur = dynamic_cast<const TSpur*>(object);
    return spur && spur->NS2 == p.NS && spur->EW2 == p.EW;
}

// ---------------------------------------------------------------- selection and moves

void TPipeLoop::select(TPipeLoopObject* object)
{
    Selected = object;
    if (Selected)
        Selected->State = ObjectState::Selected;
}

bool TPipeLoop::SelectAt(const Position& p, ViewKind view, int32_t tolerance, bool reverse)
{
    Deselect();
    int64_t best = FarAway;
    int64_t limit = FarAway;
    if (__builtin_mul_overflow(int64_t(tolerance), int64_t(tolerance), &limit))
        limit = FarAway;
    TPipeLoopObject* chosen = nullptr;
    const auto scan = [&](const auto& list) {
        const auto consider = [&](TPipeLoopObject& object) {
            const int64_t d = object.DistanceSq(p, view);
            if (d < best && d <= limit) {
                best = d;
                chosen = &object;
            }
        };
        if (reverse)
            for (auto it = list.rbegin(); it != list.rend(); ++it)
                consider(**it);
        else
            for (const auto& item : list)
                consider(*item);
    };
    if (reverse) {
        scan(Spurs);
        scan(Inlets);
        scan(Drops);
        scan(Drains);
        scan(Valves);
        scan(Elbows);
    } else {
        scan(Elbows);
        scan(Valves);
        scan(Drains);
        scan(Drops);
        scan(Inlets);
        scan(Spurs);
    }
    if (!chosen) {
        for (const auto& feature : BuildFeatures)
            if (feature->ContainsPlan(p)) {
                chosen = feature.get();
                break;
            }
    }
    select(chosen);
    return chosen != nullptr;
}

int TPipeLoop::indexOfSpur(const TSpur* spur) const
{
    for (size_t i = 0; i < Spurs.size(); ++i)
        if (Spurs[i].get() == spur)
            return static_cast<int>(i);
    return -1;
}

bool TPipeLoop::MoveSelected(const Position& target, bool snap, bool keepDetached)
{
    if (!Selected)
        return false;
    const Position before = Selected->position();

    if (auto* spur = dynamic_cast<TSpur*>(Selected)) {
        if (spur->NearEnd == TSpur::End::End) {
            const Position end = merged(target, spur->endPosition());
            const bool changed = end != spur->endPosition();
            spur->setEndPosition(end);
            return changed;
        }
        Position start = merged(target, before);
        if (snap && !keepDetached)
            start = SnapToPipe(start, indexOfSpur(spur)).Point;
        spur->setPosition(start);
        return start != before;
    }

    if (auto* feature = dynamic_cast<TBuildFeature*>(Selected)) {
        const Position moved = merged(target, before);
        feature->ShiftCorners(int64_t(moved.NS) - before.NS, int64_t(moved.EW) - before.EW);
        feature->setPosition(moved);
        return moved != before;
    }

    Position moved = merged(target, before);
    if (snap && Selected->Kind() != ObjectKind::Elbow) {
        const SnapResult snapped = SnapToPipe(moved, -1);
        moved = snapped.Point;
        // Without any pipe there is no direction: the valve keeps its angle.
        if (auto* valve = dynamic_cast<TValve*>(Selected); valve && snapped.Angle)
            valve->Angle = *snapped.Angle;
    }
    if (auto* inlet = dynamic_cast<TInlet*>(Selected)) {
        // Inlets follow the loop while dragged, snap or not.
        const SnapResult snapped = SnapToLoop(moved);
        moved = snapped.Point;
        if (snapped.Angle)
            inlet->Angle = *snapped.Angle - HalfPi;
    }
    Selected->setPosition(moved);
    return moved != before;
}

// ---------------------------------------------------------------- placing objects

TSpur& TPipeLoop::AddSpur(const Position& start, const Position& end, bool attach,
                          int32_t verticalDrop, float pipeSize)
{
    auto spur = std::make_unique<TSpur>();
    const Position from = attach ? SnapToPipe(start, -1).Point : start;
    spur->setPosition(from);
    spur->setEndPosition({end.NS, end.EW, from.HG}); // a spur is level
    spur->PipeSize = pipeSize;
    spur->VerticalDrop = verticalDrop;
    // A branch of a branch inherits its parent's size.
    if (const TSpur* parent = SpurAt(from))
        spur->PipeSize = parent->PipeSize;
    spur->Name = nextName(Spurs, ObjectKind::Spur);
    Spurs.push_back(std::move(spur));
    return *Spurs.back();
}

TValve& TPipeLoop::AddValve(const Position& p)
{
    auto valve = std::make_unique<TValve>();
    const SnapResult snapped = SnapToPipe(p, -1);
    valve->setPosition(snapped.Point);
    // No pipe at all: the angle a file gives a valve without one (half pi).
    valve->Angle = snapped.Angle.value_or(HalfPi);
    valve->Name = nextName(Valves, ObjectKind::Valve);
    Valves.push_back(std::move(valve));
    return *Valves.back();
}

TInlet& TPipeLoop::AddInlet(const Position& p, int32_t pipeLength, float pipeSize)
{
    auto inlet = std::make_unique<TInlet>();
    const SnapResult snapped = SnapToPipe(p, -1);
    inlet->setPosition(snapped.Point);
    // No pipe at all: the angle a file gives an inlet without one (0).
    inlet->Angle = snapped.Angle ? *snapped.Angle - HalfPi : 0.0f;
    inlet->PipeLength = pipeLength;
    inlet->PipeSize = pipeSize;
    inlet->Name = nextName(Inlets, ObjectKind::Inlet);
    Inlets.push_back(std::move(inlet));
    return *Inlets.back();
}

TDrain& TPipeLoop::AddDrain(const Position& p, bool manual, float pipeSize, int32_t pipeLength)
{
    auto drain = std::make_unique<TDrain>();
    drain->setPosition(SnapToPipe(p, -1).Point);
    drain->Manual = manual;
    drain->PipeSize = pipeSize;
    drain->PipeLen = pipeLength;
    drain->Name = nextName(Drains, ObjectKind::Drain);
    Drains.push_back(std::move(drain));
    return *Drains.back();
}

TDrop& TPipeLoop::AddDropFrom(const TDrop& templateDrop, const Position& p)
{
    auto drop = std::make_unique<TDrop>();
    drop->setPosition(SnapToPipe(p, -1).Point);
    drop->PipeLen = templateDrop.PipeLen;
    drop->OutletSize = templateDrop.OutletSize;
    drop->Style = templateDrop.Style;
    drop->HoseSize = templateDrop.HoseSize;
    drop->PartPackage = templateDrop.PartPackage;
    drop->Demand = templateDrop.Demand;
    for (const TSymbolEntry& entry : templateDrop.Symbols)
        drop->AddSymbol(entry.Keyword, entry.Record.Part, true);
    drop->Name = nextName(Drops, ObjectKind::Drop);
    Drops.push_back(std::move(drop));
    return *Drops.back();
}

// ---------------------------------------------------------------- checks

bool TPipeLoop::CheckConnections()
{
    const auto check = [this](const auto& list) {
        bool connected = true;
        for (const auto& item : list) {
            const Position at = item->position();
            if (!SpurAt(at, item.get()) && !IsOnLoop(at)) {
                Highlight(*item);
                connected = false;
            }
        }
        return connected;
    };
    return check(Drains) && check(Drops) && check(Valves) && check(Inlets);
}

} // namespace pipeloop
