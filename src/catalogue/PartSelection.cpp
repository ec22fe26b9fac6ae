#include "PartSelection.h"

#include "DropSymbols.h"
#include "UiServices.h"

namespace pipeloop::catalogue
{

bool IsVendorItem(const TPartsDatabase& database, const AssignedItem& item)
{
    return item.maker == database.Maker();
}

QList<PartChoice> PartCandidates(const TPartsDatabase& database, const QString& symbolName,
                                 float dropSize)
{
    static const QStringList outlets = {Symbol::OnePortOutlet, Symbol::TwoPortOutlet,
                                        Symbol::ThreePortOutlet, Symbol::FourPortOutlet};
    QList<PartChoice> candidates;
    if (const qsizetype ports = outlets.indexOf(symbolName); ports >= 0)
        database.ManifoldsWith(candidates, int(ports) + 1);
    else if (symbolName == Symbol::MaleAdaptor)
        database.AdaptersFor(candidates, EndAttr::Male, dropSize);
    else if (symbolName == Symbol::AdaptorFemale)
        database.AdaptersFor(candidates, EndAttr::Female, dropSize);
    else if (symbolName == Symbol::Valve)
        database.ValvesOfSize(candidates, dropSize);
    return candidates;
}

QList<PartChoice> AssignedVendorParts(const TPartsDatabase& database, const QString& assigned)
{
    QList<PartChoice> parts;
    for (const AssignedItem& item : SplitAssignedText(assigned)) {
        if (!IsVendorItem(database, item)) {
            Ui().inform(QStringLiteral("Part ") + item.partNumber + QStringLiteral(" maker ") +
                        item.maker + QStringLiteral("\r\nis not supported."));
            continue;
        }
        // A newer catalogue may have dropped a part an older design chose.
        const TPartObject* part = database.PartOfKey(item.partNumber);
        if (!part) {
            Ui().inform(QStringLiteral("Part ") + item.partNumber +
                        QStringLiteral(" is not in the parts database."));
            continue;
        }
        parts.append({part->PartNumber(), part});
    }
    return parts;
}

QString VendorAssignedText(const QList<PartChoice>& parts)
{
    std::vector<AssignedItem> items;
    for (const PartChoice& choice : parts)
        items.push_back({choice.part->Maker(), choice.part->PartKey()});
    return JoinAssignedText(items);
}

} // namespace pipeloop::catalogue
