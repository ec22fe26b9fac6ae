#include "ObjectLineIndex.h"

#include "PipeLoop.h"

#include <algorithm>
#include <iterator>

namespace pipeloop
{

namespace
{

template <typename T>
void IndexList(const ObjectList<T>& list, std::unordered_map<int32_t, std::vector<int>>& byNS,
               std::unordered_map<int32_t, std::vector<int>>& byEW)
{
    for (int i = 0; i < int(list.size()); ++i) {
        byNS[list[size_t(i)]->NS].push_back(i);
        byEW[list[size_t(i)]->EW].push_back(i);
    }
}

const std::vector<int>* Find(const std::unordered_map<int32_t, std::vector<int>>& lines,
                             int32_t key)
{
    const auto it = lines.find(key);
    return it == lines.end() ? nullptr : &it->second;
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
    const std::vector<int>* alongNS = ns != nullptr ? Find(lines.byNS, *ns) : nullptr;
    const std::vector<int>* alongEW = ew != nullptr ? Find(lines.byEW, *ew) : nullptr;
    if (alongNS != nullptr && alongEW != nullptr) {
        // Both lines: each object once, in list order.
        std::set_union(alongNS->begin(), alongNS->end(), alongEW->begin(), alongEW->end(),
                       std::back_inserter(out));
    } else if (alongNS != nullptr) {
        out = *alongNS;
    } else if (alongEW != nullptr) {
        out = *alongEW;
    }
}

void ObjectLineIndex::CollectOnLine(Kind kind, int32_t ns1, int32_t ew1, int32_t ns2, int32_t ew2,
                                    std::vector<int>& out) const
{
    Collect(kind, ns1 == ns2 ? &ns1 : nullptr, ew1 == ew2 ? &ew1 : nullptr, out);
}

} // namespace pipeloop
