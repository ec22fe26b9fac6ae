#pragma once

// A long sequence in little memory: consecutive equal items are one entry
// with a count, and a block of entries that occurs again and again (the
// clips, pipes and straights of a long run of pipe) is kept once with the
// number of times it occurs. The parts list generator keeps its part list
// and status log this way, so that their size follows the design's objects
// and not its pipe lengths; they are listed in full only when asked for.

#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace pipeloop::catalogue
{

template <typename Item> class RunList
{
public:
    struct Entry {
        Item item;
        int64_t count = 1;
    };

    // times copies of item at the end (nothing for times <= 0).
    void Append(const Item& item, int64_t times = 1)
    {
        if (times <= 0)
            return;
        m_size += times;
        ++m_version;
        if (m_entries.size() > m_open && m_entries.back().item == item)
            m_entries.back().count += times;
        else
            m_entries.push_back({item, times});
    }

    // The end of the list as it stands: the items appended after it start an
    // entry of their own, so that they can be repeated as a block.
    size_t Mark()
    {
        m_open = m_entries.size();
        return m_open;
    }

    // The items appended since mark occur `more` times more. No item may be
    // appended to them afterwards; the next one starts a new entry.
    void Repeat(size_t mark, int64_t more)
    {
        Q_ASSERT(mark >= m_open && (m_blocks.empty() || mark >= m_blocks.back().end));
        const size_t end = m_entries.size();
        if (more <= 0 || mark >= end)
            return;
        int64_t items = 0;
        for (size_t i = mark; i < end; ++i)
            items += m_entries[i].count;
        m_size += items * more;
        ++m_version;
        m_blocks.push_back({mark, end, more + 1});
        m_open = end;
    }

    void Clear()
    {
        m_entries.clear();
        m_blocks.clear();
        m_open = 0;
        m_size = 0;
        ++m_version;
    }

    // The number of items, repeats included.
    int64_t Size() const { return m_size; }
    // The number of entries kept.
    size_t EntryCount() const { return m_entries.size(); }

    // visit(item, count) for every entry in order, a repeated block as often as it occurs.
    template <typename Visit> void ForEach(Visit visit) const
    {
        size_t i = 0;
        for (const Block& block : m_blocks) {
            for (; i < block.begin; ++i)
                visit(m_entries[i].item, m_entries[i].count);
            for (int64_t time = 0; time < block.times; ++time)
                for (size_t j = block.begin; j < block.end; ++j)
                    visit(m_entries[j].item, m_entries[j].count);
            i = block.end;
        }
        for (; i < m_entries.size(); ++i)
            visit(m_entries[i].item, m_entries[i].count);
    }

    // Every entry once, in order, its count multiplied by the times its block occurs.
    std::vector<Entry> Totals() const
    {
        std::vector<Entry> totals(m_entries);
        for (const Block& block : m_blocks)
            for (size_t j = block.begin; j < block.end; ++j)
                totals[j].count *= block.times;
        return totals;
    }

    // The item at index (0 <= index < Size()), without listing the items
    // before it: the first call after a change indexes the entries, later
    // ones find the item in logarithmic time.
    const Item& At(int64_t index) const
    {
        if (m_indexedVersion != m_version)
            BuildIndex();
        const auto segment =
            std::upper_bound(m_segments.begin(), m_segments.end(), index,
                             [](int64_t i, const Segment& s) { return i < s.start; }) -
            1;
        const int64_t within = (index - segment->start) % segment->passItems;
        const auto first = m_entryStarts.begin() + qsizetype(segment->begin);
        const auto last = m_entryStarts.begin() + qsizetype(segment->end);
        const auto entry = std::upper_bound(first, last, within) - 1;
        return m_entries[size_t(entry - m_entryStarts.begin())].item;
    }

private:
    // Consecutive entries that occur `times` times in a row from item start
    // on, passItems items each time.
    struct Segment {
        int64_t start = 0;
        size_t begin = 0;
        size_t end = 0;
        int64_t passItems = 0;
    };

    void BuildIndex() const
    {
        m_segments.clear();
        m_entryStarts.assign(m_entries.size(), 0);
        int64_t start = 0;
        const auto add = [&](size_t begin, size_t end, int64_t times) {
            if (begin >= end)
                return;
            int64_t pass = 0;
            for (size_t i = begin; i < end; ++i) {
                m_entryStarts[i] = pass;
                pass += m_entries[i].count;
            }
            m_segments.push_back({start, begin, end, pass});
            start += pass * times;
        };
        size_t i = 0;
        for (const Block& block : m_blocks) {
            add(i, block.begin, 1);
            add(block.begin, block.end, block.times);
            i = block.end;
        }
        add(i, m_entries.size(), 1);
        m_indexedVersion = m_version;
    }

    struct Block {
        size_t begin = 0;
        size_t end = 0;
        int64_t times = 2;
    };

    std::vector<Entry> m_entries;
    std::vector<Block> m_blocks;
    size_t m_open = 0; // entries before this one take no more items
    int64_t m_size = 0;
    // Changes, so that the index of At() knows when it is stale.
    uint64_t m_version = 0;
    mutable uint64_t m_indexedVersion = ~uint64_t(0);
    mutable std::vector<Segment> m_segments;
    mutable std::vector<int64_t> m_entryStarts;
};

} // namespace pipeloop::catalogue
