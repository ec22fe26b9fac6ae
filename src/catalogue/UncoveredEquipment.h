#pragma once

// The drop equipment that no ordered part covers: symbols on drops and
// inlets that the generator turned into no part of the list, so that a fitter
// sees what is on the drawing but missing from the order ("3 x FRL").

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace pipeloop
{
class TPipeLoop;
}

namespace pipeloop::catalogue
{

struct UncoveredSymbol {
    QString name;
    int64_t count = 0;

    friend bool operator==(const UncoveredSymbol&, const UncoveredSymbol&) = default;
};

// By symbol name, in the order first found (drops, then inlets). A symbol is
// covered when the vendor supplies it by its name (adapters, manifolds, a
// valve above another symbol, female tees, couplers, a drop's hoses) or when
// one of the vendor's parts (maker vendorMaker, the catalogue's) assigned to
// it is in the generated part list. A drop with a package is covered as a whole.
std::vector<UncoveredSymbol> UncoveredDropEquipment(const TPipeLoop& design,
                                                    const QStringList& partList,
                                                    const QString& vendorMaker);

// The summary lines ("3 x FRL"), nothing when everything is covered.
QStringList UncoveredEquipmentLines(const std::vector<UncoveredSymbol>& uncovered);

} // namespace pipeloop::catalogue
