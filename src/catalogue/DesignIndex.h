#pragma once

// The design as the parts list walk looks it up: objects by position and
// pipes by a point on them, answered as TPipeLoop's ObjectAt, SpurAt and
// IsOnLoop answer, but from tables built once per generation. Those queries
// scan every object; asked once per spur, they made a design of many spurs
// cost the square of its size.

#include "PipeLoop.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace pipeloop::catalogue
{

// The steps of a straight or 45-degree run: count steps of (stepNS, stepEW),
// each stepLength long, from start (the run's start lowered by the height
// offset) to the end.
struct RunSteps {
    Position start;
    int32_t stepNS = 0;
    int32_t stepEW = 0;
    int64_t count = 0;
    double stepLength = 1;

    Position At(int64_t step) const
    {
        return {static_cast<int32_t>(start.NS + stepNS * step),
                static_cast<int32_t>(start.EW + stepEW * step), start.HG};
    }
};

struct PositionHash {
    size_t operator()(const Position& p) const noexcept;
};

// A hash table in one block of slots (open addressing, linear probing) for
// the tables the walk asks once or twice per object. A node-based map puts
// every entry in a heap block of its own: on a design of many thousand spurs
// each question then goes through scattered memory, and every new generation
// frees and allocates all the nodes again. Here a question reads one or two
// neighbouring slots, and a new generation reuses the block.
template <typename Key, typename Value, typename Hash> class FlatTable
{
public:
    // Empties the table, with room for about expected keys.
    void Reset(size_t expected)
    {
        size_t capacity = 16;
        while (capacity < 2 * expected)
            capacity *= 2;
        m_slots.assign(capacity, Slot{});
        m_size = 0;
    }

    // The value of key, default-constructed when the key is new.
    Value& operator[](const Key& key)
    {
        if (2 * (m_size + 1) > m_slots.size())
            Grow();
        Slot& slot = m_slots[SlotOf(key)];
        if (!slot.used) {
            slot = {key, true, Value{}};
            ++m_size;
        }
        return slot.value;
    }

    // The value of key; nullptr when the key is not in the table.
    const Value* Find(const Key& key) const
    {
        if (m_slots.empty())
            return nullptr;
        const Slot& slot = m_slots[SlotOf(key)];
        return slot.used ? &slot.value : nullptr;
    }
    Value* Find(const Key& key) { return const_cast<Value*>(std::as_const(*this).Find(key)); }

private:
    struct Slot {
        Key key{};
        bool used = false;
        Value value{};
    };

    // The slot that holds key, or the free slot where it belongs.
    size_t SlotOf(const Key& key) const
    {
        const size_t mask = m_slots.size() - 1;
        size_t i = Hash{}(key)&mask;
        while (m_slots[i].used && !(m_slots[i].key == key))
            i = (i + 1) & mask;
        return i;
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(m_slots);
        Reset(std::max<size_t>(m_size + 1, old.size()));
        for (const Slot& slot : old)
            if (slot.used)
                (*this)[slot.key] = slot.value;
    }

    std::vector<Slot> m_slots; // a power of two of them, at most half used
    size_t m_size = 0;
};

// A sorted table searched first in a sample of every Stride-th entry, small
// enough to stay in the cache, then within one stretch of Stride entries. On a
// design of many thousand spurs a binary search over the whole table misses
// the cache at each of its last steps, once or twice for every spur walked.
template <typename Entry> class SampledTable
{
public:
    static constexpr size_t Stride = 16;

    // The entries: filled and sorted, then sampled.
    std::vector<Entry>& Entries() { return m_entries; }
    const std::vector<Entry>& Entries() const { return m_entries; }
    void Sample()
    {
        m_sample.clear();
        for (size_t i = 0; i < m_entries.size(); i += Stride)
            m_sample.push_back(m_entries[i]);
    }

    // std::partition_point over the entries: the first for which before is
    // false, before being true for a leading part of them.
    template <typename Before>
    typename std::vector<Entry>::const_iterator PartitionPoint(Before before) const
    {
        // The first entry sampled past the point bounds the point's stretch.
        const auto past = size_t(std::partition_point(m_sample.begin(), m_sample.end(), before) -
                                 m_sample.begin());
        const size_t low = past == 0 ? 0 : (past - 1) * Stride + 1;
        const size_t high = std::min(m_entries.size(), past * Stride);
        return std::partition_point(m_entries.begin() + ptrdiff_t(low),
                                    m_entries.begin() + ptrdiff_t(high), before);
    }

private:
    std::vector<Entry> m_entries;
    std::vector<Entry> m_sample;
};

// Straight pipes found by a point that lies on one of them (OnSegment), in
// list order. Square-on and 45-degree pipes, which designs are made of, are
// kept by the line they lie on; a pipe at another angle is tried one by one.
class SegmentIndex
{
public:
    static constexpr int64_t None = -1;

    void Build(const std::vector<std::pair<Position, Position>>& segments);
    // The first segment, other than the excluded one, on which p lies; None when there is none.
    int64_t First(const Position& p, int64_t excluded = None) const;

private:
    // The stretch of a line that one segment covers, along the line's own
    // coordinate (EW on an east-west line, NS on the others).
    struct Span {
        int32_t low = 0;
        int32_t high = 0;
        int64_t segment = 0;
    };
    enum Family { EastWest, NorthSouth, Falling, Rising, Families };
    // A span on the line key of its family, with reach, the highest high
    // among the spans of its line up to it (by low end), so that a search for
    // a point stops at the first span that cannot reach it.
    struct LineSpan {
        Family family = EastWest;
        int64_t key = 0;
        Span span;
        int32_t reach = 0;
    };

    static bool SameLine(const LineSpan& a, const LineSpan& b)
    {
        return a.family == b.family && a.key == b.key;
    }
    void Consider(Family family, int64_t key, int32_t along, const Position& p, int64_t excluded,
                  int64_t& best) const;

    std::vector<std::pair<Position, Position>> m_segments;
    // Every line's spans together, by family, line and low end: one table
    // instead of one per line, which a design of thousands of short spurs,
    // each on a line of its own, would scatter over memory.
    SampledTable<LineSpan> m_spans;
    bool m_holds[Families] = {};   // whether any span is of the family
    std::vector<int64_t> m_others; // ascending
};

class DesignIndex
{
public:
    void Build(const TPipeLoop& design);

    // TPipeLoop::ObjectAt with full positions.
    TPipeLoopObject* ObjectAt(const Position& p, bool startsOnly = false,
                              const TPipeLoopObject* excluded = nullptr) const;
    // TPipeLoop::SpurAt and IsOnLoop.
    TSpur* SpurAt(const Position& p, const TSpur* excluded) const;
    bool IsOnLoop(const Position& p) const;

    // A drain on the corner at p (which ObjectAt finds as the corner), handed out once.
    TDrain* TakeCornerDrain(const Position& p);

private:
    struct LinePoint;

public:
    // The steps 1..count of a run at which some object's point lies, in
    // ascending order, read in place from the index's points (valid until
    // the index is built again): a walk of many thousand short runs needs no
    // list of its own for each.
    class ObjectSteps
    {
    public:
        bool Empty() const { return m_left == 0; }
        int64_t Front() const
        {
            const int64_t step = int64_t(m_next->value) - m_origin;
            return step < 0 ? -step : step;
        }
        // On to the next step (past every point of this one: points at other heights).
        void Pop()
        {
            const int32_t value = m_next->value;
            do {
                m_next += m_stride;
                --m_left;
            } while (m_left > 0 && m_next->value == value);
        }

    private:
        friend class DesignIndex;
        const LinePoint* m_next = nullptr;
        ptrdiff_t m_stride = 1; // -1 where the run goes down its line's values
        size_t m_left = 0;
        int32_t m_origin = 0;
    };
    ObjectSteps StepsOnRun(const RunSteps& steps) const;
    // ObjectAt(p) for the point p of the run at the front step of steps,
    // without looking p up: the step's points lead to their objects.
    TPipeLoopObject* ObjectAtFront(const ObjectSteps& steps, const Position& p) const;

private:
    // The first two objects at a point, in ObjectAt's order: the second
    // answers when the first is the one excluded.
    struct FirstTwo {
        TPipeLoopObject* first = nullptr;
        TPipeLoopObject* second = nullptr;

        void add(TPipeLoopObject* object);
        TPipeLoopObject* other(const TPipeLoopObject* excluded) const;
    };
    // The objects at one position: starting there (elbows, drops, drains,
    // valves, inlets, spurs) and spurs ending there.
    struct Place {
        Position position;
        FirstTwo starts;
        FirstTwo ends;

        TPipeLoopObject* Object(bool startsOnly, const TPipeLoopObject* excluded) const;
    };

    Place& PlaceAt(const Position& p);
    void AddPoints(const Position& p, uint32_t place);

    const TPipeLoop* m_design = nullptr;
    // In the order the design lists its objects, which is about the order a
    // walk meets them.
    std::vector<Place> m_places;
    FlatTable<Position, uint32_t, PositionHash> m_placeOf;
    FlatTable<Position, TDrain*, PositionHash> m_cornerDrains; // null once handed out
    // The places by line, in one table sorted by family, line and value:
    // east-west lines by NS (values EW), north-south lines by EW (values NS),
    // diagonals by NS - EW and by NS + EW (values NS).
    enum PointFamily : int8_t { PointsEastWest, PointsNorthSouth, PointsFalling, PointsRising };
    struct LinePoint {
        PointFamily family = PointsEastWest;
        int64_t key = 0;
        int32_t value = 0;
        uint32_t place = 0; // in m_places
        friend auto operator<=>(const LinePoint&, const LinePoint&) = default;
    };
    SampledTable<LinePoint> m_points;
    bool m_diagonals = false; // the diagonal lines are kept
    SegmentIndex m_spurs;
    // Each spur's place in the design's list, by address: the walk asks for
    // spurs in about the order they were made, which is about the order of
    // their addresses, so that neighbouring questions read neighbouring entries.
    SampledTable<std::pair<const TSpur*, int64_t>> m_spurOrder;
    SegmentIndex m_loop;
};

} // namespace pipeloop::catalogue
