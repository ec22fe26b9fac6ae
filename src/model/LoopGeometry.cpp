#include "LoopGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pipeloop
{

namespace
{
using Real = long double;

// The projection parameter of p on a -> b, or nothing for a zero-length segment.
std::optional<Real> projection(const Position& a, const Position& b, const Position& p)
{
    const Real f = Real(b.EW) - Real(a.EW);
    const Real g = Real(b.NS) - Real(a.NS);
    const Real lengthSq = f * f + g * g;
    if (lengthSq == 0)
        return std::nullopt;
    return ((Real(p.EW) - Real(a.EW)) * f + (Real(p.NS) - Real(a.NS)) * g) / lengthSq;
}
} // namespace

int32_t RoundExtended(long double value)
{
    if (std::isnan(value))
        return 0;
    const long double rounded = std::nearbyint(value); // FE_TONEAREST: halves to even
    if (rounded >= static_cast<long double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (rounded <= static_cast<long double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

float SegmentAngle(const Position& a, const Position& b)
{
    return static_cast<float>(std::atan2(Real(a.EW) - Real(b.EW), Real(a.NS) - Real(b.NS)));
}

bool OnSegment(const Position& a, const Position& b, const Position& p)
{
    const std::optional<Real> t = projection(a, b, p);
    if (!t || *t < 0 || *t > 1)
        return false;
    const Real f = Real(b.EW) - Real(a.EW);
    const Real g = Real(b.NS) - Real(a.NS);
    return RoundExtended(Real(a.EW) + f * *t) == p.EW && RoundExtended(Real(a.NS) + g * *t) == p.NS;
}

std::optional<SegmentCandidate> NearestCandidate(const Position& a, const Position& b,
                                                 const Position& p)
{
    const std::optional<Real> t = projection(a, b, p);
    if (!t)
        return std::nullopt;
    SegmentCandidate candidate;
    if (*t < 0) {
        candidate.NS = a.NS;
        candidate.EW = a.EW;
    } else if (*t > 1) {
        candidate.NS = b.NS;
        candidate.EW = b.EW;
    } else {
        candidate.NS = Real(a.NS) + *t * (Real(b.NS) - Real(a.NS));
        candidate.EW = Real(a.EW) + *t * (Real(b.EW) - Real(a.EW));
    }
    const Real dNS = Real(p.NS) - candidate.NS;
    const Real dEW = Real(p.EW) - candidate.EW;
    candidate.DistanceSq = dNS * dNS + dEW * dEW;
    return candidate;
}

long double SegmentCandidate::Distance() const
{
    return std::sqrt(DistanceSq);
}

bool NearestTracker::cannotImprove(const Position& a, const Position& b, const Position& p) const
{
    if (m_best < 0)
        return false;
    const auto gap = [](int32_t value, int32_t end1, int32_t end2) -> Real {
        const int32_t low = std::min(end1, end2);
        const int32_t high = std::max(end1, end2);
        if (value < low)
            return Real(low) - Real(value);
        if (value > high)
            return Real(value) - Real(high);
        return 0;
    };
    const Real dNS = gap(p.NS, a.NS, b.NS);
    const Real dEW = gap(p.EW, a.EW, b.EW);
    // The margin is far above any rounding of the exact computation, so a
    // segment skipped here would not have won.
    return dNS * dNS + dEW * dEW > m_bestSq * (1 + 1e-9L) + 1e-6L;
}

bool NearestTracker::offer(const SegmentCandidate& candidate)
{
    // sqrt is monotonic: a larger square can never give a smaller distance.
    if (m_best >= 0 && candidate.DistanceSq > m_bestSq)
        return false;
    const long double distance = candidate.Distance();
    if (m_best >= 0 && !(distance < m_best))
        return false;
    m_best = distance;
    m_bestSq = candidate.DistanceSq;
    return true;
}

bool NearestOnSegment(const Position& a, const Position& b, Position& p, long double& best)
{
    const std::optional<SegmentCandidate> candidate = NearestCandidate(a, b, p);
    if (!candidate || !(best < 0 || candidate->Distance() < best))
        return false;
    p.NS = RoundExtended(candidate->NS);
    p.EW = RoundExtended(candidate->EW);
    best = candidate->Distance();
    return true;
}

} // namespace pipeloop
