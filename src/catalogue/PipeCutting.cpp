#include "PipeCutting.h"

#include "PartObject.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

namespace pipeloop::catalogue
{

namespace
{
const QString Six = QStringLiteral("      ");
}

QString TPipeCutter::PieceText(float size, int32_t length, DisplayUnits units)
{
    return SizeText(size) + QStringLiteral(" x ") +
           FormatLength(static_cast<uint32_t>(std::max<int32_t>(length, 0)), units) +
           QStringLiteral(" PIPE");
}

void CuttingContext::LogPart(const TPartObject& part, const QString& description)
{
    Log(Six + part.PartKey() + u' ' + description);
}

QString TPipeCutter::pieceText(float size, int32_t length, DisplayUnits units, bool fromWaste)
{
    if (units != m_pieceUnits) {
        m_pieceTexts.clear();
        m_fromWasteTexts.clear();
        m_pieceUnits = units;
    }
    uint32_t bits = 0;
    std::memcpy(&bits, &size, sizeof bits);
    const uint64_t key = (uint64_t(bits) << 32) | uint32_t(length);
    auto& texts = fromWaste ? m_fromWasteTexts : m_pieceTexts;
    const auto found = texts.find(key);
    if (found != texts.end())
        return found->second;
    QString text = PieceText(size, length, units);
    if (fromWaste)
        text += QStringLiteral(" from waste");
    return texts.emplace(key, std::move(text)).first->second;
}

void TPipeCutter::AddPiece(CuttingContext& context, int32_t length, TPipeLoopObject* object,
                           bool straightAfter, const QString& place, float size)
{
    if (length == 0)
        return;
    const TPartObject* pipe = context.SelectPipe(size);
    if (!context.Confirm(pipe, object, object ? QString() : place))
        return;
    const int32_t stock = pipe->Length();
    // A rounded diagonal run can come out a millimetre over the stock length:
    // that piece is a whole stock pipe (and leaves no negative offcut).
    const int32_t piece = length > stock ? stock : length;
    if (piece == stock) {
        context.Record(*pipe, pieceText(size, piece, context.Units()));
    } else if (TakeFromWaste(piece, size)) {
        context.LogPart(*pipe, pieceText(size, piece, context.Units(), true));
    } else {
        context.Record(*pipe, pieceText(size, piece, context.Units()));
        AddWaste(stock - piece, pipe->Size1());
    }
    if (straightAfter) {
        const TPartObject* straight = context.SelectConnector(size);
        if (context.Confirm(straight, object, QString()))
            context.Record(*straight, QStringLiteral("STRAIGHT"));
    }
}

TPipeCutter::Ordered* TPipeCutter::ordered(float size, bool create)
{
    // Sizes match exactly (a NaN size matches nothing and is never kept).
    for (auto& [key, set] : m_bySize)
        if (key == size)
            return &set;
    if (!create || std::isnan(size))
        return nullptr;
    m_bySize.emplace_back(size, Ordered{});
    return &m_bySize.back().second;
}

bool TPipeCutter::TakeFromWaste(int32_t length, float size)
{
    if (m_live == 0)
        return false;
    Ordered* set = ordered(size, false);
    if (!set)
        return false;
    // The least length at or above the piece, the earliest of equals.
    const auto found = set->lower_bound({length, 0});
    if (found == set->end())
        return false;
    const size_t index = found->second;
    set->erase(found);
    Entry& entry = m_entries[index];
    entry.waste.length -= length;
    if (entry.waste.length == 0) {
        entry.live = false;
        --m_live;
    } else {
        set->insert({entry.waste.length, index});
    }
    return true;
}

void TPipeCutter::AddWaste(int32_t length, float size)
{
    Ordered* set = ordered(size, true);
    if (length <= 0 || !set)
        return;
    m_entries.push_back({{length, size}, true});
    set->insert({length, m_entries.size() - 1});
    ++m_live;
}

void TPipeCutter::ClearWaste()
{
    m_entries.clear();
    m_bySize.clear();
    m_pieceTexts.clear(); // the locale may change between generations
    m_fromWasteTexts.clear();
    m_live = 0;
}

std::vector<TPipeWaste> TPipeCutter::Waste() const
{
    std::vector<TPipeWaste> list;
    list.reserve(m_live);
    for (const Entry& entry : m_entries)
        if (entry.live)
            list.push_back(entry.waste);
    return list;
}

QStringList TPipeCutter::WasteDetails(DisplayUnits units) const
{
    QStringList lines{QString(), QStringLiteral("Waste Details ...")};
    for (const Entry& entry : m_entries)
        if (entry.live && entry.waste.length > 5)
            lines.append(SizeText(entry.waste.size) + QStringLiteral(" x ") +
                         FormatLength(static_cast<uint32_t>(entry.waste.length), units));
    return lines;
}

void TPipeCutter::WriteWasteDetails(CuttingContext& context) const
{
    for (const QString& line : WasteDetails(context.Units()))
        context.Log(line);
}

} // namespace pipeloop::catalogue
