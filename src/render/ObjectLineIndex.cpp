#include "ObjectLineIndex.h"

#include "PipeLoop.h"

#include <algorithm>
#include <climits>
#include <span>

namespace pipeloop
{

namespace
{

uint64_t Entry(int32_t coordinate, int index)
{
    return uint64_t(uint32_t(coordinate)) << 32 | uint32_t(index);
}

int IndexOf(uint64_t entry)
{
    return int(uint32_t(entry));
}

template <typename T>
void IndexList(const ObjectList<T>& list, std::vector<uint64_t>& byNS, std::vector<uint64_t>& byEW)
{
    byNS.reserve(list.size());
    byEW.reserve(list.size());
    for (int i = 0; i < int(list.size()); ++i) {
        byNS.push_back(Entry(list[size_t(i)]->NS, i));
        byEW.push_back(Entry(list[size_t(i)]->EW, i));
    }
    std::sort(byNS.begin(), byNS.end());
    std::sort(byEW.begin(), byEW.end());
}

// The objects on the line at a coordinate, in list order.
std::span<const uint64_t> Find(const std::vector<uint64_t>& lines, int32_t coordinate)
{
    const auto first = std::lower_bound(lines.begin(), lines.end(), Entry(coordinate, 0));
    const auto last = std::upper_bound(first, lines.end(), Entry(coordinate, INT_MAX));
    return {first, last};
}

} // namespace

ObjectLineIndex::ObjectLineIndex(const TPipeLoop& design)
{
    IndexList(design.Valves, m_kinds[Valves].byNS, m_kinds[Valves].byEW);
    IndexList(design.Drains, m_kinds[Drains].byNS, m_kinds[Drains].byEW);
    IndexList(design.Inlets, m_kinds[Inlets].byNS, m_kinds[Inlets].byEW);
    IndexList(design.Drops, m_kinds[Drops].byNS, m_kinds[Drops].byEW);
}

void ObjectLineIndex::Collect(Kind kind, const int32_t* ns, const int32_t* ew,
                              std::vector<int>& out) const
{
    out.clear();
    const KindLines& lines = m_kinds[kind];
    const std::span<const uint64_t> alongNS =
        ns != nullptr ? Find(lines.byNS, *ns) : std::span<const uint64_t>();
    const std::span<const uint64_t> alongEW =
        ew != nullptr ? Find(lines.byEW, *ew) : std::span<const uint64_t>();
    // Both lines: each object once, in list order.
    auto a = alongNS.begin();
    auto b = alongEW.begin();
    while (a != alongNS.end() || b != alongEW.end()) {
        if (b == alongEW.end() || (a != alongNS.end() && IndexOf(*a) < IndexOf(*b))) {
            out.push_back(IndexOf(*a++));
        } else {
            if (a != alongNS.end() && IndexOf(*a) == IndexOf(*b))
                ++a;
            out.push_back(IndexOf(*b++));
        }
    }
}

void ObjectLineIndex::CollectOnLine(Kind kind, int32_t ns1, int32_t ew1, int32_t ns2, int32_t ew2,
                                    std::vector<int>& out) const
{
    Collect(kind, ns1 == ns2 ? &ns1 : nullptr, ew1 == ew2 ? &ew1 : nullptr, out);
}

} // namespace pipeloop
