#include "AttributeEntries.h"

#include "AirFlow.h"

#include "DropSymbols.h"
#include "PipeLoopObjects.h"

#include <cmath>
#include <optional>

namespace pipeloop
{

namespace
{

// A size typed into a combo: nothing for text that is no size, or no size above 0.
std::optional<float> TypedSize(const QString& text)
{
    const std::optional<float> size = ParseSizeText(text);
    if (!size || *size <= 0.0f)
        return std::nullopt;
    return size;
}

// The hose keyword of a connection type; empty for none.
QString HoseKeyword(HoseConnection connection)
{
    switch (connection) {
    case HoseConnection::AirHose:
        return Symbol::AirHose;
    case HoseConnection::RecoilHose:
        return Symbol::RecoilHose;
    case HoseConnection::None:
        break;
    }
    return {};
}

// The connection a stack ending in a coupler, a hose and a coupler makes.
HoseConnection ConnectionOf(const TDrop& drop)
{
    const int count = drop.SymbolCount();
    if (count < 3 || drop.SymbolName(count - 1) != Symbol::Coupler ||
        drop.SymbolName(count - 3) != Symbol::Coupler)
        return HoseConnection::None;
    const QString hose = drop.SymbolName(count - 2);
    if (hose.contains(Symbol::RecoilHose))
        return HoseConnection::RecoilHose;
    if (hose.contains(Symbol::AirHose))
        return HoseConnection::AirHose;
    return HoseConnection::None;
}

} // namespace

DropEntry DropEntryOf(const TDrop& drop, DisplayUnits units)
{
    DropEntry entry;
    entry.Style = int(drop.Style);
    // A length not yet set (negative) shows as an empty field, not as the
    // huge number its unsigned form would give.
    if (drop.PipeLen >= 0)
        entry.Length = FormatLength(uint32_t(drop.PipeLen), units);
    entry.Outlet = SizeText(drop.OutletSize);
    entry.Connection = ConnectionOf(drop);
    entry.HoseSize = SizeText(drop.HoseSize);
    return entry;
}

QString DropStyleWarning(int style, const QString& supplier)
{
    if (style != int(DropStyle::Quick) && style != int(DropStyle::FemaleQuick))
        return {};
    return QStringLiteral("The drop style you have chosen is not supported by ") + supplier +
           QStringLiteral("\r\n\nYou may continue but part list generation may fail.");
}

QString NoOutletsMessage()
{
    return QStringLiteral("There are no supported outlets for this pipe size and drop style.");
}

Parsed<bool> ApplyDropEntry(TDrop& drop, const DropEntry& entry, DisplayUnits units)
{
    const Parsed<int32_t> length = ReadTypedLength(entry.Length, units);
    if (!length)
        return Parsed<bool>::failure(QStringLiteral("Height invalid."));
    const std::optional<float> outlet = TypedSize(entry.Outlet);
    if (!outlet)
        return Parsed<bool>::failure(QStringLiteral("Outlet size invalid."));
    // The hose size means something only for a threaded outlet with a hose on it.
    const bool withHose =
        IsThreadedOutletStyle(entry.Style) && entry.Connection != HoseConnection::None;
    std::optional<float> hoseSize;
    if (withHose) {
        hoseSize = TypedSize(entry.HoseSize);
        if (!hoseSize)
            return Parsed<bool>::failure(QStringLiteral("Hose size invalid."));
    }

    const int symbolsBefore = drop.SymbolCount();
    const DropStyle styleBefore = drop.Style;
    bool changed = length.value() != drop.PipeLen || *outlet != drop.OutletSize;
    drop.PipeLen = length.value();
    drop.OutletSize = *outlet;
    drop.SetStyle(entry.Style);
    if (hoseSize) {
        changed = changed || *hoseSize != drop.HoseSize;
        drop.HoseSize = *hoseSize;
    }
    // The hose group goes only onto a drop that carries nothing yet: a stack
    // of the user's own is never added to.
    const QString hose = HoseKeyword(entry.Connection);
    if (!hose.isEmpty() && symbolsBefore == 0) {
        drop.AddSymbol(Symbol::Coupler);
        drop.AddSymbol(hose);
        drop.AddSymbol(Symbol::Coupler);
    }
    return changed || drop.Style != styleBefore || drop.SymbolCount() != symbolsBefore;
}

Parsed<InletValues> ReadInletEntry(const QString& size, const QString& length, DisplayUnits units)
{
    const std::optional<float> pipeSize = TypedSize(size);
    if (!pipeSize)
        return Parsed<InletValues>::failure(QStringLiteral("Invalid pipe size : ") + size);
    const Parsed<int32_t> pipeLength = ReadTypedLength(length, units);
    if (!pipeLength)
        return Parsed<InletValues>::failure(QStringLiteral("Invalid pipe length : ") + length);
    return InletValues{*pipeSize, pipeLength.value()};
}

Parsed<Position> ReadPositionEntry(const QString& ew, const QString& ns, const QString& hg,
                                   DisplayUnits units)
{
    const Parsed<int32_t> east = ReadTypedLength(ew, units);
    if (!east)
        return Parsed<Position>::failure(east.error());
    const Parsed<int32_t> south = ReadTypedLength(ns, units);
    if (!south)
        return Parsed<Position>::failure(south.error());
    const Parsed<int32_t> height = ReadTypedLength(hg, units);
    if (!height)
        return Parsed<Position>::failure(height.error());
    return Position{south.value(), east.value(), height.value()};
}

Parsed<AirDemand> ReadDemandEntry(const QString& litresPerSecond, const QString& usageFactor)
{
    const auto quantity = [](const QString& text) -> std::optional<double> {
        const Parsed<double> value = ParseAirFlowField(text);
        if (!value || !std::isfinite(value.value()) || value.value() < 0)
            return std::nullopt;
        return value.value();
    };
    const std::optional<double> flow = quantity(litresPerSecond);
    if (!flow)
        return Parsed<AirDemand>::failure(InvalidValueMessage(litresPerSecond));
    const std::optional<double> usage = quantity(usageFactor);
    if (!usage || *usage > 1)
        return Parsed<AirDemand>::failure(
            QStringLiteral("The usage factor must be from 0 to 1 : ") + usageFactor);
    return AirDemand{*flow, *usage};
}

} // namespace pipeloop
