#pragma once

// Adding objects to a design. The desktop program's tools and pipeloop-cli
// edit's add-* operations both call these, so both place, check and refuse
// alike. Each placement takes the clicked position already snapped to the
// grid and says where the object will really stand (on the pipe, for the
// objects that sit on one) or why it may not: the occupancy check is made on
// that final position, never on the click. Each addition is one undo step.

#include "EditRules.h"
#include "ModelTypes.h"
#include "Parsed.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace pipeloop
{

class Document;
class TDrop;
class TPipeLoop;

// ---------------------------------------------------------------- on the pipe

// Where a drop, valve, drain or inlet clicked at `clicked` stands: the nearest
// point of any pipe, with the position check for adding. Only a drop
// (allowSpurEnd) may stand at a spur's end, as only a drop may be dragged there.
Parsed<Position> PipePlacement(const TPipeLoop& design, const Position& clicked,
                               bool allowSpurEnd = false);

// A new drop as the drop dialog first shows it: the loop's height as its
// length, the design's default outlet size, not yet in the design.
std::unique_ptr<TDrop> NewDrop(const TPipeLoop& design);
// The drop (filled in by its dialog) at a position PipePlacement gave.
bool AddDrop(Document& document, std::unique_ptr<TDrop> drop, const Position& at);
bool AddValve(Document& document, const Position& at);
bool AddDrain(Document& document, const Position& at, bool automatic, float pipeSize,
              int32_t pipeLength);
bool AddInlet(Document& document, const Position& at, float pipeSize, int32_t pipeLength);
// Valve (or another symbol button) with a drop or an inlet selected: the
// symbol joins its stack (before a hose group that ends it), one undo step. A
// drop that is a catalogue package stops being one once the user agrees;
// refused with the question's text on Cancel, and without such a selection.
EditResult AddSymbolToSelected(Document& document, const QString& keyword);
// Paste New Drop at a clicked position: a copy of the copied drop, placed and
// checked as a new drop is. Refused without a copied drop.
EditResult PasteDrop(Document& document, const Position& clicked);

// ---------------------------------------------------------------- spurs and pipes

// "Spur" and "Vertical Drop Spur" branch off the loop or a spur; an
// "Unconnected Pipe" (the compressor house's pipework) stands where clicked.
enum class PipeKind { Spur, VerticalDropSpur, Unconnected };

// The start of a new pipe: on the pipe for a spur (it may start at another
// spur's end), as clicked for an unconnected pipe.
Parsed<Position> PipeStartPlacement(const TPipeLoop& design, const Position& clicked,
                                    PipeKind kind);
// The end of a new pipe, as clicked; never onto another spur's end.
Parsed<Position> PipeEndPlacement(const TPipeLoop& design, const Position& clicked);

struct NewPipe {
    PipeKind Kind = PipeKind::Spur;
    Position Start; // from PipeStartPlacement
    Position End;   // from PipeEndPlacement
    float PipeSize = 0.0f;
    int32_t VerticalDrop = 0;
    // In a compressor house, the height the pipe runs at.
    std::optional<int32_t> Height;
};
bool AddPipe(Document& document, const NewPipe& pipe);

// ---------------------------------------------------------------- building features

struct NewFeature {
    Position Corner1; // the two clicked corners, in any order
    Position Corner2;
    QString Type = QStringLiteral("GENERAL"); // DRYER, FILTER, FILTER_AUTO, COMPRESSOR, RECEIVER
    int32_t Height = 2000;
    QString Label;
};
// "Feature dimensions zero, feature not added." when the corners share a
// north-south or an east-west coordinate.
EditResult CheckFeatureCorners(const Position& corner1, const Position& corner2);
// Stores the corners ordered (north-west first); refused as CheckFeatureCorners.
EditResult AddFeature(Document& document, const NewFeature& feature);

// ---------------------------------------------------------------- avoidance detour

// Whether the selection can take a detour before it: an elbow other than the
// loop's first.
EditResult CheckAvoidanceElbow(const TPipeLoop& design);
// A plan point of the detour: the click projected onto the loop segment that
// ends at the selected elbow; refused off that segment.
Parsed<Position> AvoidancePoint(const TPipeLoop& design, const Position& clicked);
// Four elbows before the selected elbow, dropping by `distance` between the
// two points (the point nearer the elbow next to it), one undo step; the
// selection is dropped. Refused for two points at one place.
EditResult AddAvoidance(Document& document, const Position& first, const Position& second,
                        int32_t distance);

} // namespace pipeloop
