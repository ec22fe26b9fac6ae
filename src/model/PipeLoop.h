#pragma once

// The design and the loop geometry that keeps it consistent
// snapping to the pipe, placing and moving objects, selecting and
// finding objects by position, and the connection check.

#include "ElbowList.h"
#include "LoopGeometry.h"
#include "ModelTypes.h"
#include "PipeLoopObjects.h"
#include "PipeLoopOptions.h"
#include "Units.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace pipeloop
{

// Typical of compressed-air practice: 7 bar at the compressor, no drop
// losing more than 0.1 bar of it.
inline constexpr double DefaultSupplyPressure = 7.0;
inline constexpr double DefaultAllowedPressureDrop = 0.1;

template <typename T> using ObjectList = std::vector<std::unique_ptr<T>>;

// A point snapped to a pipe, with the direction of the pipe there. Angle is
// empty when the design has no segment to snap to (the point is unchanged).
struct SnapResult {
    Position Point;
    std::optional<float> Angle;
};

// An object taken out of the design, and the index it had in its list.
// Empty when the object was not in the design.
struct TakenObject {
    std::unique_ptr<TPipeLoopObject> Object;
    size_t Index = 0;

    explicit operator bool() const { return Object != nullptr; }
};

// How ObjectAt compares positions: all three coordinates (the parts list
// walk), or NS and EW alone (the editor's occupancy rule, whose clicked
// height means nothing).
enum class PositionMatch : uint8_t { Full, PlanOnly };

// One open design: the building, the loop (its corner elbows in loop order)
// and every object placed on or near it. It owns the objects of its seven
// lists; it does not own the options.
class TPipeLoop
{
public:
    explicit TPipeLoop(TPipeLoopOptions& options);
    ~TPipeLoop();
    TPipeLoop(const TPipeLoop&) = delete;
    TPipeLoop& operator=(const TPipeLoop&) = delete;

    // ------------------------------------------------------------ objects

    // Appends a feature whose corners the editor has filled and ordered.
    TBuildFeature& AddBuildFeature(std::unique_ptr<TBuildFeature> feature);
    // Names the drop "DROP" + (count + 1) and appends it.
    TDrop& AddExistingDrop(std::unique_ptr<TDrop> drop);
    // Appends an elbow named "ELBOW" + (count + 1) (elbows entered by clicks).
    TElbow& AddElbow(const Position& position, int32_t verticalDrop = 0);
    // The default loop of the building: five elbows around RoomNS x RoomEW at Height.
    void CreateDefaultElbows();

    // Frees the selection and removes it from its list; nothing else is
    // adjusted. No selection: nothing happens.
    void DeleteSelected();
    // Removes the object from its list and hands it over, still the same
    // object, with the index it had; the selection is dropped when it is the
    // one. Undoable deletion and addition keep the object and put it back.
    TakenObject TakeObject(TPipeLoopObject& object);
    // Puts an object into the list of its kind at index (at the end when the
    // list is shorter) and returns it. The object keeps its name.
    TPipeLoopObject& PutObject(std::unique_ptr<TPipeLoopObject> object, size_t index);
    // The loop gains the elbow at index (Insert Elbow, avoidance detours).
    TElbow& InsertElbow(size_t index, std::unique_ptr<TElbow> elbow);
    // Whether the object is in one of the design's lists.
    bool Contains(const TPipeLoopObject& object) const;

    // Makes the object the selection (deselecting any other) in the
    // selected state.
    void Select(TPipeLoopObject& object);
    // The selection returns to normal (and loses its selected symbol); none is selected.
    void Deselect();
    // Marks the object (deselecting it first if it is the selection).
    void Highlight(TPipeLoopObject& object);
    // Every object but the building features returns to normal.
    void ClearStates();

    // symbol size x 1.3 x the number of symbols, rounded, largest over the
    // drops (inlets); 0 with none.
    int32_t MaxDropStackHeight(int32_t symbolSize) const;
    int32_t MaxInletStackHeight(int32_t symbolSize) const;

    // ------------------------------------------------------------ loop

    // Segment i runs from elbow i to elbow i + 1 (there is no closing segment).
    int LoopSegmentCount() const;
    // Height of the pipe along loop segment i: HG - VerticalDrop of elbow i.
    int32_t LoopSegmentHeight(int index) const;

    bool IsOnLoop(const Position& p) const;
    // The first spur (list order) other than excluded whose segment contains p.
    TSpur* SpurAt(const Position& p, const TPipeLoopObject* excluded = nullptr) const;
    // The loop size on the loop, else the size of the spur there, else 0.
    float PipeSizeAt(const Position& p) const;
    // The nearest point of any pipe (loop segments first, then spurs other
    // than the one at excludedSpur; -1 excludes none), with the pipe's height
    // and direction. Ties keep the segment met first.
    SnapResult SnapToPipe(const Position& p, int excludedSpur = -1) const;
    // The same over the loop segments only.
    SnapResult SnapToLoop(const Position& p) const;
    // Angle between the spur and the first loop segment containing its end
    // point, in single precision; 0 when none does.
    float SpurAngleToLoop(const TSpur& spur) const;
    // The first object other than excluded at p, searching elbows, drops,
    // drains, valves, inlets, spurs (starts); unless startsOnly, then a spur
    // starting or ending at p.
    TPipeLoopObject* ObjectAt(const Position& p, bool startsOnly,
                              const TPipeLoopObject* excluded = nullptr,
                              PositionMatch match = PositionMatch::Full) const;
    // Whether object is a spur whose end point is p in the plan.
    static bool SpurEndsAt(const Position& p, const TPipeLoopObject* object);

    // Selects the nearest object within tolerance (a building feature around
    // p when none); reverse scans the lists backwards so that hidden objects
    // can be reached. Returns whether something is selected.
    bool SelectAt(const Position& p, ViewKind view, int32_t tolerance, bool reverse);
    // Moves the selection to target; a coordinate of -1 keeps its value.
    // Returns whether the stored position changed. A snapped valve takes the
    // direction of its pipe, an inlet always that of the loop; with no pipe to
    // take it from they keep the angle they had.
    bool MoveSelected(const Position& target, bool snap, bool keepDetached);

    // Each creates its object snapped to the pipe, names it with its prefix +
    // (count + 1) and appends it. With no pipe at all in the design (no angle
    // produced) a valve gets half pi and an inlet 0: the angles a project file
    // gives them when it has none, both as on an east-west run.
    TSpur& AddSpur(const Position& start, const Position& end, bool attach, int32_t verticalDrop,
                   float pipeSize);
    TValve& AddValve(const Position& p);
    TInlet& AddInlet(const Position& p, int32_t pipeLength, float pipeSize);
    TDrain& AddDrain(const Position& p, bool manual, float pipeSize, int32_t pipeLength);
    // A copy of the template's drop fields, demand and symbols (with part codes) at p.
    TDrop& AddDropFrom(const TDrop& templateDrop, const Position& p);

    // Highlights every drain, drop, valve and inlet that stands neither on a
    // spur nor on the loop, list by list in this order, stopping after the
    // first list that has one. True when every checked object is connected.
    bool CheckConnections();

    // Every object, list by list in the order of the project file's sections
    // (elbows, build features, drains, drops, valves, inlets, spurs).
    template <typename F> void ForEachObject(F&& visit) const;

    // ------------------------------------------------------------ fields

    DisplayUnits Units = DisplayUnits::Metres;
    int32_t RoomEW = 0;
    int32_t RoomHG = 0;
    int32_t RoomNS = 0;
    // Height of the loop; elbows of the default loop and of clicks, proposed
    // drop and drain lengths.
    int32_t Height = 0;
    float PipeSize = 50.0f;
    pipeloop::PipeColour PipeColour = pipeloop::PipeColour::Blue;
    bool CompressorHouse = false;
    TPipeLoopOptions& Options;
    QStringList Notes;
    ElbowList Elbows;
    ObjectList<TSpur> Spurs;
    ObjectList<TDrop> Drops;
    ObjectList<TDrain> Drains;
    ObjectList<TValve> Valves;
    ObjectList<TInlet> Inlets;
    ObjectList<TBuildFeature> BuildFeatures;
    QString Description;
    QString CreatedBy;
    QString CustomerCompany;
    float DefaultOutletSize = 25.0f;
    // The air analysis: the gauge pressure at the compressor inlets and the
    // largest drop from it that a drop may see, both in bar.
    double SupplyPressure = DefaultSupplyPressure;
    double AllowedPressureDrop = DefaultAllowedPressureDrop;
    // The current selection, one object of the lists, or none.
    TPipeLoopObject* Selected = nullptr;

private:
    SnapResult snap(const Position& p, bool withSpurs, int excludedSpur) const;
    int indexOfSpur(const TSpur* spur) const;
    void select(TPipeLoopObject* object);
};

template <typename F> void TPipeLoop::ForEachObject(F&& visit) const
{
    for (const auto& o : Elbows)
        visit(*o);
    for (const auto& o : BuildFeatures)
        visit(*o);
    for (const auto& o : Drains)
        visit(*o);
    for (const auto& o : Drops)
        visit(*o);
    for (const auto& o : Valves)
        visit(*o);
    for (const auto& o : Inlets)
        visit(*o);
    for (const auto& o : Spurs)
        visit(*o);
}

} // namespace pipeloop
