#pragma once

// The ISO 1219 symbol vocabulary of drops and inlets and the record
// each stack entry carries.

#include <QPoint>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace pipeloop
{

// Symbol keywords: the text stored in project files and matched by the
// renderer and the parts list, compared exactly. The mixed separators are part
// of the file format.
namespace Symbol
{
inline const QString Filter = QStringLiteral("FILTER");
inline const QString FilterAuto = QStringLiteral("FILTER_AUTO");
inline const QString Dryer = QStringLiteral("DRYER");
inline const QString Gauge = QStringLiteral("GAUGE");
inline const QString Lubricator = QStringLiteral("LUBRICATOR");
inline const QString Compressor = QStringLiteral("COMPRESSOR");
inline const QString Receiver = QStringLiteral("RECEIVER");
inline const QString Valve = QStringLiteral("VALVE");
inline const QString Regulator = QStringLiteral("REGULATOR");
inline const QString OnePortOutlet = QStringLiteral("1-PORT-OUTLET");
inline const QString TwoPortOutlet = QStringLiteral("2-PORT-OUTLET");
inline const QString ThreePortOutlet = QStringLiteral("3-PORT-OUTLET");
inline const QString FourPortOutlet = QStringLiteral("4-PORT-OUTLET");
inline const QString MaleAdaptor = QStringLiteral("MALE_ADAPTOR");
inline const QString FemaleTee = QStringLiteral("FEMALE-TEE");
inline const QString Reducer = QStringLiteral("REDUCER");
inline const QString AdaptorFemale = QStringLiteral("ADAPTOR_FEMALE");
inline const QString Frl = QStringLiteral("FRL");
inline const QString Coupler = QStringLiteral("COUPLER");
inline const QString AirHose = QStringLiteral("AIR-HOSE");
inline const QString RecoilHose = QStringLiteral("RECOIL-HOSE");
} // namespace Symbol

// Every keyword in the order of the table.
const QStringList& AllSymbolKeywords();

// An entry counts as a hose when its keyword contains "AIR-HOSE" or "RECOIL-HOSE".
bool IsHoseSymbol(const QString& keyword);

// A rectangle in screen integers; containment is half-open (left and top
// inclusive, right and bottom exclusive).
struct SymbolRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool contains(QPoint point) const
    {
        return point.x() >= Left && point.x() < Right && point.y() >= Top && point.y() < Bottom;
    }
    friend bool operator==(const SymbolRect&, const SymbolRect&) = default;
};

// The record attached to each entry of a symbol stack: where the renderer last
// drew the entry in the drop or inlet view (all 0 until drawn), and the
// catalogue part code chosen for it (empty for none).
class TDropSymbolClass
{
public:
    TDropSymbolClass() = default;
    explicit TDropSymbolClass(QString part) : Part(std::move(part)) {}

    SymbolRect Rect;
    QString Part;
};

// One entry of a stack: the keyword and its record.
struct TSymbolEntry {
    QString Keyword;
    TDropSymbolClass Record;
};

} // namespace pipeloop
