#include "UncoveredEquipment.h"

#include "DropSymbols.h"
#include "PipeLoop.h"
#include "PipeLoopObjects.h"

#include <QSet>

#include <algorithm>

namespace pipeloop::catalogue
{

namespace
{

// The symbols the generator turns into the vendor's parts by their names.
bool SuppliedByName(const QString& name, int position, bool onDrop)
{
    static const QStringList everywhere = {
        Symbol::MaleAdaptor,    Symbol::AdaptorFemale, Symbol::OnePortOutlet, Symbol::TwoPortOutlet,
        Symbol::FourPortOutlet, Symbol::FemaleTee,     Symbol::Coupler};
    if (everywhere.contains(name))
        return true;
    if (name == Symbol::Valve)
        return position > 0;
    return onDrop && (name == Symbol::AirHose || name == Symbol::RecoilHose);
}

// An assigned "maker:key+maker:key" text covers the symbol when one of its
// vendor keys was ordered.
bool AssignedPartOrdered(const QString& assigned, const QString& vendorMaker,
                         const QSet<QString>& ordered)
{
    const QStringList items = assigned.split(u'+', Qt::SkipEmptyParts);
    return std::any_of(items.begin(), items.end(), [&](const QString& item) {
        const qsizetype colon = item.indexOf(u':');
        const QString maker = colon < 0 ? QString() : item.left(colon);
        const QString key = colon < 0 ? item : item.mid(colon + 1);
        return maker == vendorMaker && ordered.contains(key.toUpper());
    });
}

void CountUncovered(const TObjectWithSymbols& object, bool onDrop, const QString& vendorMaker,
                    const QSet<QString>& ordered, std::vector<UncoveredSymbol>& uncovered)
{
    for (int i = 0; i < object.SymbolCount(); ++i) {
        const QString assigned = object.SymbolPart(i);
        const QString name = object.SymbolName(i);
        const bool covered = assigned.isEmpty()
                                 ? SuppliedByName(name, i, onDrop)
                                 : AssignedPartOrdered(assigned, vendorMaker, ordered);
        if (covered)
            continue;
        auto entry = std::find_if(uncovered.begin(), uncovered.end(),
                                  [&name](const UncoveredSymbol& u) { return u.name == name; });
        if (entry == uncovered.end())
            uncovered.push_back({name, 1});
        else
            ++entry->count;
    }
}

} // namespace

std::vector<UncoveredSymbol> UncoveredDropEquipment(const TPipeLoop& design,
                                                    const QStringList& partList,
                                                    const QString& vendorMaker)
{
    // The keys once each, upper-cased: a factory's list holds thousands of
    // records of a few dozen parts.
    QSet<QString> ordered;
    for (const QString& key : QSet<QString>(partList.begin(), partList.end()))
        ordered.insert(key.toUpper());
    std::vector<UncoveredSymbol> uncovered;
    for (const auto& drop : design.Drops)
        if (drop->PartPackage.isEmpty())
            CountUncovered(*drop, true, vendorMaker, ordered, uncovered);
    for (const auto& inlet : design.Inlets)
        CountUncovered(*inlet, false, vendorMaker, ordered, uncovered);
    return uncovered;
}

QStringList UncoveredEquipmentLines(const std::vector<UncoveredSymbol>& uncovered)
{
    QStringList lines;
    for (const UncoveredSymbol& symbol : uncovered)
        lines.append(QStringLiteral("%1 x %2").arg(symbol.count).arg(symbol.name));
    return lines;
}

} // namespace pipeloop::catalogue
