#pragma once

// Will the ring deliver? The ring main with its spurs is solved as a pipe
// network with loops: every pipe between two points where something joins
// it is a segment, the drops and the inlets' compressors are what flows out
// and in, and the flows are found by Newton's method on the loop equations
// (around every loop the pressure drops add up to nothing) with the air flow
// calculator's friction formula (AirFlow.h) for every segment. The pressure
// in that formula is the design's supply pressure throughout: the drops it
// is meant for are a few per cent of it.
//
// What a segment is made of:
// - its length as the parts list cuts it: the plan length between the two
//   points, plus the vertical legs of an elbow or spur that drops;
// - its bore: the pipe size the parts list orders (the ring's, or the
//   spur's), in millimetres;
// - the equivalent length of its fittings, in bores (FittingAllowance):
//   an elbow at every loop corner (a turn above 45 degrees takes a 90 degree
//   elbow, a smaller one a 45 degree elbow), two elbows for each vertical
//   leg, a tee where a spur or an inlet joins a pipe (the through-run
//   allowance shared by the two segments on either side, the branch
//   allowance on the branch).
// A drop takes its air through its own leg (its pipe length at its outlet
// size, a female drop's hose at the hose size), with a tee branch allowance;
// its pressure is the one at the end of that leg. An inlet feeds the network
// through its pipe from the supply pressure.
//
// Flows are average flows: a drop's demand times its usage factor.

#include "PipeLoop.h"

#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace pipeloop::catalogue
{
class TPartsDatabase;
}

namespace pipeloop::analysis
{

// Equivalent lengths of fittings in bores (L/d), the usual values for
// screwed and push-fit fittings of compressed-air pipework.
struct FittingAllowance {
    static constexpr double Elbow90 = 30;
    static constexpr double Elbow45 = 16;
    static constexpr double TeeRun = 20;
    static constexpr double TeeBranch = 60;
};

// A point of the network: where pipes meet or something joins a pipe.
struct NetworkPoint {
    QString name;          // the objects there, joined by "/"; "SUPPLY" for the compressors
    double demand = 0;     // l/s leaving the network here (the drops on it)
    double pressure = 0;   // bar
    bool supplied = false; // reached from an inlet
    // Where it stands on the plan (mm, height 0), so that a segment can be
    // drawn; none for "SUPPLY", which stands for the compressors off the plan.
    std::optional<Position> at;
};

// One segment and its solved flow, from point `from` towards point `to`
// (negative: the other way).
struct SegmentFlow {
    int from = 0;
    int to = 0;
    double metres = 0;       // pipe and fittings
    float size = 0;          // bore, mm
    double flow = 0;         // l/s
    double pressureDrop = 0; // bar, from `from` to `to`
};

struct DropResult {
    const TDrop* drop = nullptr;
    double demand = 0;   // average l/s
    double pressure = 0; // bar at the outlet
    bool supplied = false;
};

enum class AnalysisOutcome {
    Solved,
    NotAnalysable, // the design cannot be analysed as it stands (no inlet on a pipe)
    NotSettled,    // the flows did not settle: the analysis stopped
};

struct AirAnalysis {
    AnalysisOutcome outcome = AnalysisOutcome::Solved;
    // Empty when the network was solved; else why not.
    QString problem;
    int iterations = 0;
    double supplyPressure = DefaultSupplyPressure;
    double allowedDrop = DefaultAllowedPressureDrop;
    double totalDemand = 0;   // l/s
    double inletDelivery = 0; // l/s the inlets' compressors state they deliver
    std::vector<NetworkPoint> points;
    std::vector<SegmentFlow> segments;
    std::vector<DropResult> drops; // in the design's order
    int worst = -1;                // the supplied drop with the lowest pressure

    bool solved() const { return outcome == AnalysisOutcome::Solved; }
    double pressureDropAt(const DropResult& drop) const { return supplyPressure - drop.pressure; }
    // Fed, and no more than the allowed drop below the supply.
    bool dropWithinAllowed(const DropResult& drop) const
    {
        return drop.supplied && pressureDropAt(drop) <= allowedDrop;
    }
    // A drop with a demand it does not get as it should.
    bool dropFails(const DropResult& drop) const
    {
        return drop.demand > 0 && !dropWithinAllowed(drop);
    }
    // Solved, every drop with a demand supplied, none beyond the allowed drop.
    bool withinAllowed() const;
};

// Solves the design's network. ringSize, when given, replaces the ring
// main's size (the sizing suggestion's trials). Never throws; a design with
// no inlet on a pipe, or a network that does not converge, says so in problem.
AirAnalysis AnalyseAirSupply(const TPipeLoop& design, std::optional<float> ringSize = {});

// The smallest of the sizes (ascending order not needed) with which every
// drop stays within the allowed drop; nothing when none does or the network
// cannot be solved.
std::optional<float> SuggestRingSize(const TPipeLoop& design, QList<float> sizes);

// The ring sizes to try: the catalogue's pipe sizes, or the standard sizes
// when it has none (or none is loaded).
QList<float> RingSizes(const catalogue::TPartsDatabase* database);

} // namespace pipeloop::analysis
