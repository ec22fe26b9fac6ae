#pragma once

// The objects of a design by the NS and EW lines they stand on, so that a
// section finds the objects on a segment's line without testing every object
// against every segment (the rules: "objects whose NS equals the NS of both
// corners, or whose EW equals the EW of both corners").

#include "ModelTypes.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pipeloop
{

class TPipeLoop;

class ObjectLineIndex
{
public:
    // The kinds a section draws on the loop's segments.
    enum Kind : uint8_t { Valves = 0, Drains = 1, Inlets = 2, Drops = 3 };

    // Indexes the design's valves, drains, inlets and drops as they are now.
    explicit ObjectLineIndex(const TPipeLoop& design);

    // The list indexes, in list order, of the objects of kind whose NS is *ns
    // or whose EW is *ew (each once); a null pointer leaves that axis out.
    // out is cleared first.
    void Collect(Kind kind, const int32_t* ns, const int32_t* ew, std::vector<int>& out) const;

    // The objects on the line of the segment from (ns1, ew1) to (ns2, ew2):
    // NS equal to both corners' NS, or EW equal to both corners' EW (the
    // line, not clipped to the ends).
    void CollectOnLine(Kind kind, int32_t ns1, int32_t ew1, int32_t ns2, int32_t ew2,
                       std::vector<int>& out) const;

private:
    // Each object's list index under the coordinate of its line, packed so
    // that in order they run by coordinate, then list index: a line's objects
    // lie together, in list order, in one block of memory built at each paint.
    using Lines = std::vector<uint64_t>;
    struct KindLines {
        Lines byNS;
        Lines byEW;
    };

    std::array<KindLines, 4> m_kinds;
};

} // namespace pipeloop
