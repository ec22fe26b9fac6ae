#pragma once

// What the part selector offers and keeps for one symbol of a drop: the
// catalogue's candidates by the symbol's name, the parts an assigned-parts
// text names, and that text written back. The catalogue's own maker is the
// one rule for "a vendor part": the selector keeps only such items and the
// parts list generator orders only such items, so a part chosen here is
// never silently left out of an order.

#include "PartsDatabase.h"
#include "UserParts.h"

#include <QList>
#include <QString>

namespace pipeloop::catalogue
{

// Whether an assigned item is one of the catalogue's own parts (its maker is
// the catalogue's maker).
bool IsVendorItem(const TPartsDatabase& database, const AssignedItem& item);

// The catalogue parts a symbol may be given: manifolds by port count for the
// outlets, adapters of the drop size by their second end, valves of exactly
// the drop size. Nothing for any other symbol.
QList<PartChoice> PartCandidates(const TPartsDatabase& database, const QString& symbolName,
                                 float dropSize);

// The parts an assigned text names, in its order. An item of another maker is
// reported ("... is not supported.") and left out; so is a key the catalogue
// no longer holds ("Part ... is not in the parts database.").
QList<PartChoice> AssignedVendorParts(const TPartsDatabase& database, const QString& assigned);

// The parts as an assigned text: each part's maker + ":" + its key, in order,
// joined with "+" (a part chosen twice appears twice); empty for no parts.
QString VendorAssignedText(const QList<PartChoice>& parts);

} // namespace pipeloop::catalogue
