#pragma once

// The plan primitives: directions, exact on-segment membership and
// the nearest point of a segment. Computed in extended precision (long double)
// from the integer coordinates; coordinates that result are rounded to whole
// millimetres with halves to the even neighbour. Heights are ignored.

#include "ModelTypes.h"

#include <cstdint>
#include <optional>

namespace pipeloop
{

// Round half to even from extended precision, saturating to the int32 range
// (Round() of Rounding.h for long double: rounding through a double first
// could turn x.5000000000000000001 into x.5 and round it the wrong way).
int32_t RoundExtended(long double value);

// Direction of the segment a -> b as a single-precision angle:
// atan2(a.EW - b.EW, a.NS - b.NS). North 0, south pi, east -pi/2, west pi/2.
float SegmentAngle(const Position& a, const Position& b);

// Whether p lies exactly on the segment a -> b (ends included): the rounded
// foot of p's projection is p itself. A zero-length segment contains nothing.
bool OnSegment(const Position& a, const Position& b, const Position& p);

// The nearest point of the segment a -> b to p in the plan, unrounded, and the
// square of its plan distance; nothing for a zero-length segment.
struct SegmentCandidate {
    long double NS = 0;
    long double EW = 0;
    long double DistanceSq = 0;

    long double Distance() const;
};
std::optional<SegmentCandidate> NearestCandidate(const Position& a, const Position& b,
                                                 const Position& p);

// Keeps the nearest of candidates offered in turn: a candidate wins when its
// plan distance is smaller than the best so far (ties keep the earlier one).
// The square root is only taken when the squares leave the answer open.
class NearestTracker
{
public:
    explicit NearestTracker(long double best = -1)
        : m_best(best), m_bestSq(best < 0 ? -1 : best * best)
    {
    }
    bool offer(const SegmentCandidate& candidate);
    // Whether no point of the segment a -> b can beat the best so far: its
    // bounding box is already clearly farther from p. A cheap test that lets
    // a scan over thousands of segments skip the projection of most of them
    // without changing its outcome.
    bool cannotImprove(const Position& a, const Position& b, const Position& p) const;
    long double best() const { return m_best; }

private:
    long double m_best;
    long double m_bestSq; // the square the best distance was taken from
};

// If the segment's nearest point to p is nearer than best (or best < 0, no
// candidate yet), p's NS and EW become that point rounded, best becomes its
// distance and the answer is true. Ties keep the earlier candidate. A
// zero-length segment changes nothing.
bool NearestOnSegment(const Position& a, const Position& b, Position& p, long double& best);

} // namespace pipeloop
