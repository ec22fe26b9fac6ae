#include "DesignIndex.h"

#include "LoopGeometry.h"

#include <algorithm>
#include <functional>
#include <tuple>
#include <utility>

namespace pipeloop::catalogue
{

namespace
{

int64_t Abs64(int64_t value)
{
    return value < 0 ? -value : value;
}

} // namespace

size_t PositionHash::operator()(const Position& p) const noexcept
{
    uint64_t h = uint64_t(uint32_t(p.NS)) * 0x9E3779B97F4A7C15ull;
    h ^= uint64_t(uint32_t(p.EW)) * 0xC2B2AE3D27D4EB4Full;
    h ^= uint64_t(uint32_t(p.HG)) * 0x165667B19E3779F9ull;
    return size_t(h ^ (h >> 29));
}

// ---------------------------------------------------------------- segments

void SegmentIndex::Build(const std::vector<std::pair<Position, Position>>& segments)
{
    m_segments = segments;
    std::vector<LineSpan>& spans = m_spans.Entries();
    spans.clear();
    m_others.clear();
    std::fill(std::begin(m_holds), std::end(m_holds), false);
    for (size_t i = 0; i < segments.size(); ++i) {
        const auto& [a, b] = segments[i];
        const int64_t dNS = int64_t(b.NS) - a.NS;
        const int64_t dEW = int64_t(b.EW) - a.EW;
        if (dNS == 0 && dEW == 0)
            continue; // a point has no direction and holds no other point
        Family family = EastWest;
        int64_t key = a.NS;
        int32_t from = a.NS;
        int32_t to = b.NS;
        if (dNS == 0) {
            from = a.EW;
            to = b.EW;
        } else if (dEW == 0) {
            family = NorthSouth;
            key = a.EW;
        } else if (dNS == dEW) {
            family = Falling;
            key = int64_t(a.NS) - a.EW;
        } else if (dNS == -dEW) {
            family = Rising;
            key = int64_t(a.NS) + a.EW;
        } else {
            m_others.push_back(int64_t(i));
            continue;
        }
        spans.push_back({family, key, {std::min(from, to), std::max(from, to), int64_t(i)}, 0});
        m_holds[family] = true;
    }
    std::stable_sort(spans.begin(), spans.end(), [](const LineSpan& x, const LineSpan& y) {
        return std::tie(x.family, x.key, x.span.low) < std::tie(y.family, y.key, y.span.low);
    });
    for (size_t i = 0; i < spans.size(); ++i) {
        spans[i].reach = i > 0 && SameLine(spans[i - 1], spans[i])
                             ? std::max(spans[i - 1].reach, spans[i].span.high)
                             : spans[i].span.high;
    }
    m_spans.Sample();
}

void SegmentIndex::Consider(Family family, int64_t key, int32_t along, const Position& p,
                            int64_t excluded, int64_t& best) const
{
    if (!m_holds[family])
        return;
    // The spans of the line, back from the last whose low end is at most
    // along, while they can reach it.
    const LineSpan at{family, key, {along, along, 0}, 0};
    const auto after = m_spans.PartitionPoint([&](const LineSpan& span) {
        return std::tie(span.family, span.key, span.span.low) <=
               std::tie(at.family, at.key, at.span.low);
    });
    const auto first = m_spans.Entries().begin();
    for (auto j = after; j != first && SameLine(*(j - 1), at) && (j - 1)->reach >= along;) {
        const Span& span = (--j)->span;
        if (span.high < along || span.segment == excluded || (best != None && span.segment > best))
            continue;
        const auto& [a, b] = m_segments[size_t(span.segment)];
        if (OnSegment(a, b, p))
            best = span.segment;
    }
}

int64_t SegmentIndex::First(const Position& p, int64_t excluded) const
{
    int64_t best = None;
    // A point lies within its segment's box, so a square-on segment holds
    // only points of its own line; rounding halves to even can put a point
    // of a diagonal one line beside it.
    Consider(EastWest, p.NS, p.EW, p, excluded, best);
    Consider(NorthSouth, p.EW, p.NS, p, excluded, best);
    for (int64_t beside = -1; beside <= 1; ++beside) {
        Consider(Falling, int64_t(p.NS) - p.EW + beside, p.NS, p, excluded, best);
        Consider(Rising, int64_t(p.NS) + p.EW + beside, p.NS, p, excluded, best);
    }
    for (const int64_t i : m_others) {
        if (best != None && i > best)
            break;
        const auto& [a, b] = m_segments[size_t(i)];
        if (i != excluded && OnSegment(a, b, p)) {
            best = i;
            break;
        }
    }
    return best;
}

// ---------------------------------------------------------------- the design

void DesignIndex::FirstTwo::add(TPipeLoopObject* object)
{
    if (!first)
        first = object;
    else if (!second)
        second = object;
}

TPipeLoopObject* DesignIndex::FirstTwo::other(const TPipeLoopObject* excluded) const
{
    return first != excluded ? first : second;
}

namespace
{

// Addresses in the total order std::less gives them.
bool ByAddress(const std::pair<const TSpur*, int64_t>& a, const std::pair<const TSpur*, int64_t>& b)
{
    return std::less<>{}(a.first, b.first);
}

bool Diagonal(const Position& a, const Position& b)
{
    const int64_t dNS = Abs64(int64_t(b.NS) - a.NS);
    return dNS != 0 && dNS == Abs64(int64_t(b.EW) - a.EW);
}

// Whether a run of the walk can be a diagonal: some spur or loop segment is.
bool HasDiagonalPipes(const TPipeLoop& design)
{
    for (const auto& spur : design.Spurs)
        if (Diagonal(spur->position(), spur->endPosition()))
            return true;
    for (size_t i = 0; i + 1 < design.Elbows.size(); ++i)
        if (Diagonal(design.Elbows[i]->position(), design.Elbows[i + 1]->position()))
            return true;
    return false;
}

} // namespace

void DesignIndex::AddPoints(const Position& p, uint32_t place)
{
    std::vector<LinePoint>& points = m_points.Entries();
    points.push_back({PointsEastWest, p.NS, p.EW, place});
    points.push_back({PointsNorthSouth, p.EW, p.NS, place});
    if (!m_diagonals)
        return;
    points.push_back({PointsFalling, int64_t(p.NS) - p.EW, p.NS, place});
    points.push_back({PointsRising, int64_t(p.NS) + p.EW, p.NS, place});
}

DesignIndex::Place& DesignIndex::PlaceAt(const Position& p)
{
    if (const uint32_t* found = m_placeOf.Find(p))
        return m_places[*found];
    const auto place = uint32_t(m_places.size());
    m_placeOf[p] = place;
    m_places.push_back({p, {}, {}});
    AddPoints(p, place);
    return m_places.back();
}

TPipeLoopObject* DesignIndex::Place::Object(bool startsOnly, const TPipeLoopObject* excluded) const
{
    if (TPipeLoopObject* object = starts.other(excluded))
        return object;
    return startsOnly ? nullptr : ends.other(excluded);
}

void DesignIndex::Build(const TPipeLoop& design)
{
    m_design = &design;
    std::vector<LinePoint>& points = m_points.Entries();
    points.clear();
    // Without a diagonal pipe no diagonal run is walked: its lines are not kept.
    m_diagonals = HasDiagonalPipes(design);
    const size_t starts = design.Elbows.size() + design.Drops.size() + design.Drains.size() +
                          design.Valves.size() + design.Inlets.size() + design.Spurs.size();
    m_places.clear();
    m_places.reserve(starts + design.Spurs.size());
    m_placeOf.Reset(starts + design.Spurs.size());
    m_cornerDrains.Reset(design.Drains.size());
    std::vector<std::pair<const TSpur*, int64_t>>& spurOrder = m_spurOrder.Entries();
    spurOrder.clear();
    spurOrder.reserve(design.Spurs.size());
    points.reserve((m_diagonals ? 4 : 2) * (starts + design.Spurs.size()));
    // ObjectAt's order: elbows (at their pipe height), drops, drains, valves,
    // inlets, spurs by start, then spurs by end.
    const auto add = [this](const Position& p, TPipeLoopObject* object) {
        PlaceAt(p).starts.add(object);
    };
    for (const auto& elbow : design.Elbows)
        add({elbow->NS, elbow->EW, elbow->PipeHeight()}, elbow.get());
    for (const auto& drop : design.Drops)
        add(drop->position(), drop.get());
    for (const auto& drain : design.Drains) {
        add(drain->position(), drain.get());
        if (PlaceAt(drain->position()).starts.first->Kind() == ObjectKind::Elbow) {
            TDrain*& corner = m_cornerDrains[drain->position()];
            if (!corner)
                corner = drain.get();
        }
    }
    for (const auto& valve : design.Valves)
        add(valve->position(), valve.get());
    for (const auto& inlet : design.Inlets)
        add(inlet->position(), inlet.get());
    for (const auto& spur : design.Spurs)
        add(spur->position(), spur.get());
    std::vector<std::pair<Position, Position>> pipes;
    pipes.reserve(std::max(design.Spurs.size(), design.Elbows.size()));
    for (const auto& spur : design.Spurs) {
        PlaceAt(spur->endPosition()).ends.add(spur.get());
        spurOrder.emplace_back(spur.get(), int64_t(pipes.size()));
        pipes.emplace_back(spur->position(), spur->endPosition());
    }
    std::sort(spurOrder.begin(), spurOrder.end(), ByAddress);
    m_spurOrder.Sample();
    std::sort(points.begin(), points.end());
    m_points.Sample();
    m_spurs.Build(pipes);
    pipes.clear();
    for (size_t i = 0; i + 1 < design.Elbows.size(); ++i)
        pipes.emplace_back(design.Elbows[i]->position(), design.Elbows[i + 1]->position());
    m_loop.Build(pipes);
}

TPipeLoopObject* DesignIndex::ObjectAt(const Position& p, bool startsOnly,
                                       const TPipeLoopObject* excluded) const
{
    const uint32_t* place = m_placeOf.Find(p);
    return place ? m_places[*place].Object(startsOnly, excluded) : nullptr;
}

TPipeLoopObject* DesignIndex::ObjectAtFront(const ObjectSteps& steps, const Position& p) const
{
    // The front step's points are the places on the run's line at that
    // value, one for each height there.
    const LinePoint* point = steps.m_next;
    for (size_t left = steps.m_left; left > 0 && point->value == steps.m_next->value; --left) {
        const Place& place = m_places[point->place];
        if (place.position == p)
            return place.Object(false, nullptr);
        point += steps.m_stride;
    }
    return nullptr;
}

TSpur* DesignIndex::SpurAt(const Position& p, const TSpur* excluded) const
{
    const auto order = m_spurOrder.PartitionPoint([excluded](const auto& spur) {
        return ByAddress(spur, {excluded, 0});
    });
    const bool known = order != m_spurOrder.Entries().end() && order->first == excluded;
    const int64_t found = m_spurs.First(p, known ? order->second : SegmentIndex::None);
    return found == SegmentIndex::None ? nullptr : m_design->Spurs[size_t(found)].get();
}

bool DesignIndex::IsOnLoop(const Position& p) const
{
    return m_loop.First(p) != SegmentIndex::None;
}

TDrain* DesignIndex::TakeCornerDrain(const Position& p)
{
    TDrain** found = m_cornerDrains.Find(p);
    return found ? std::exchange(*found, nullptr) : nullptr;
}

DesignIndex::ObjectSteps DesignIndex::StepsOnRun(const RunSteps& steps) const
{
    ObjectSteps found;
    if (steps.count <= 0)
        return found;
    const Position first = steps.At(1);
    const Position last = steps.At(steps.count);
    PointFamily family = PointsEastWest;
    int64_t key = 0;
    int32_t from = 0;
    int32_t to = 0;
    int32_t origin = 0;
    if (steps.stepNS == 0) {
        key = steps.start.NS;
        from = first.EW;
        to = last.EW;
        origin = steps.start.EW;
    } else {
        from = first.NS;
        to = last.NS;
        origin = steps.start.NS;
        if (steps.stepEW == 0) {
            family = PointsNorthSouth;
            key = steps.start.EW;
        } else if (steps.stepNS == steps.stepEW) {
            family = PointsFalling;
            key = int64_t(steps.start.NS) - steps.start.EW;
        } else {
            family = PointsRising;
            key = int64_t(steps.start.NS) + steps.start.EW;
        }
    }
    const LinePoint low{family, key, std::min(from, to)};
    const LinePoint high{family, key, std::max(from, to), UINT32_MAX};
    const auto begin = m_points.PartitionPoint([&](const LinePoint& p) { return p < low; });
    auto end = begin;
    while (end != m_points.Entries().end() && !(high < *end))
        ++end;
    if (begin == end)
        return found;
    // The points are in ascending value; the steps ascend with them unless
    // the run goes the other way.
    const bool down = to < from;
    found.m_next = &*(down ? end - 1 : begin);
    found.m_stride = down ? -1 : 1;
    found.m_left = size_t(end - begin);
    found.m_origin = origin;
    return found;
}

} // namespace pipeloop::catalogue
