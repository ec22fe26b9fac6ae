#pragma once

#include "Money.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>

namespace pipeloop
{
class IniFile;
}

namespace pipeloop::catalogue
{

// Flags of the ATR attribute set; the number is the flag's position.
enum class Attr : uint8_t {
    Blue = 0,
    Grey = 1,
    Green = 2,
    Aluminium = 3,
    Stainless = 4,
    Steel = 5,
    Technopolymeric = 6,
    Plastic = 7,
    Polymer = 8,
    Ball = 9,
    Butterfly = 10,
    Elbow = 11,
    Quick = 12,
    Recoil = 13,
    Bush = 14,
    Saddle = 15,
};

// Flags of the AT1/AT2 end sets; position 2 is never set.
enum class EndAttr : uint8_t { Bsp = 0, Npt = 1, Male = 3, Female = 4 };

// A set of ATR flags, bit n for flag n.
using AttrSet = uint16_t;
// A set of end flags, bit n for flag n.
using EndSet = uint8_t;

constexpr AttrSet Flag(Attr attr)
{
    return static_cast<AttrSet>(1u << static_cast<unsigned>(attr));
}
constexpr EndSet Flag(EndAttr attr)
{
    return static_cast<EndSet>(1u << static_cast<unsigned>(attr));
}
template <typename... Rest> constexpr AttrSet Flags(Attr first, Rest... rest)
{
    return static_cast<AttrSet>(Flag(first) | (AttrSet{0} | ... | Flag(rest)));
}
template <typename... Rest> constexpr EndSet Flags(EndAttr first, Rest... rest)
{
    return static_cast<EndSet>(Flag(first) | (EndSet{0} | ... | Flag(rest)));
}

// Colour indexes and their names.
enum PipeColourIndex : int { ColourBlue = 0, ColourGrey = 1, ColourGreen = 2 };
// Thread indexes and their names.
enum ThreadIndex : int { ThreadBsp = 0, ThreadNpt = 1, ThreadMetric = 2 };
QString ColourName(int colourIndex);
QString ThreadName(int threadIndex);

// A real as a single, infinite when beyond the single range.
float ToFloat(double value);

// A size of the catalogue text (OD1, OD2, CON, HOS): the size parser of
// the rules; when that refuses a text holding a full stop or a comma, the text
// again with those read as the locale's separator, so that a catalogue written
// with full stops loads under a comma locale as project files do.
std::optional<float> ParseCatalogueSize(const QString& text);

// Two sizes are the same size when both, times 1000 and rounded, are equal.
bool SameSize(float a, float b);

// The small (hose) sizes 6.35, 9.25, 12.7; the pipe size tables are
// FullPipeSizes and DropSizeText (Units.h).
const QList<float>& SmallSizes();

// The picture name of a part number: up to and including the first "-110",
// else its leading run of ASCII letters and digits.
QString ImageNameOf(const QString& partNumber);

// Which class of the catalogue's class tree an object belongs to.
enum class PartClass : uint8_t {
    PartObject,
    PipePartObject,
    Pipe,
    Hose,
    EndCap,
    PipeTee,
    PipeConnector,
    Adapter,
    Manifold,
    Valve,
    PipeClip,
    Outlet,
    OutletTee,
    SaddleOutlet,
    FemaleOutlet,
    Reducer,
    Coupling,
};
// The class name as the program spells it ("TPipe", "TValve"...).
QString PartClassName(PartClass partClass);
// Whether an object of class `actual` passes a membership test for `wanted`
// (a test for TOutlet accepts its three subclasses, TPartObject accepts all).
bool IsKindOf(PartClass actual, PartClass wanted);

// One orderable item of the vendor catalogue. The subclasses add no
// fields; they are type tags, tested with IsA<T>() or IsKindOf().
class TPartObject
{
public:
    explicit TPartObject(QString partKey) : m_partKey(std::move(partKey)), m_partNumber(m_partKey)
    {
    }
    virtual ~TPartObject() = default;
    TPartObject(const TPartObject&) = delete;
    TPartObject& operator=(const TPartObject&) = delete;

    virtual PartClass partClass() const { return PartClass::PartObject; }
    template <typename T> bool IsA() const { return IsKindOf(partClass(), T::StaticClass); }
    static constexpr PartClass StaticClass = PartClass::PartObject;

    // Decodes the record of section PartKey() with every default and message of
    // the rules; catalogueMaker is the default maker.
    void Load(const IniFile& catalogue, const QString& catalogueMaker);

    const QString& PartKey() const { return m_partKey; }
    const QString& PartNumber() const { return m_partNumber; }
    const QString& Description() const { return m_description; }
    float Size1() const { return m_size1; }
    float Size2() const { return m_size2; }
    int32_t Length() const { return m_length; }
    AttrSet Attributes() const { return m_attributes; }
    EndSet End1() const { return m_end1; }
    EndSet End2() const { return m_end2; }
    float Angle() const { return m_angle; }
    uint8_t Ports() const { return m_ports; }
    Money Price() const { return m_price; }
    int32_t UnitsPerPackage() const { return m_unitsPerPackage; }
    const QString& Maker() const { return m_maker; }
    const QString& Image() const { return m_image; }
    int32_t CataloguePage() const { return m_cataloguePage; }
    const QString& CatalogueCode() const { return m_catalogueCode; }
    bool EndOfLine() const { return m_endOfLine; }

    // 2 if GREEN, else 1 if GREY, else 0.
    int ColourIndex() const;
    // 1 (NPT) if NPT is in end 2, else 0 (BSP) if BSP is, else 2 (METRIC).
    int ThreadOfEnd2() const;
    bool HasAttribute(Attr attr) const { return (m_attributes & Flag(attr)) != 0; }
    bool HasEnd2(EndAttr attr) const { return (m_end2 & Flag(attr)) != 0; }
    bool AttributesWithin(AttrSet set) const { return (set & m_attributes) == set; }
    bool End1Within(EndSet set) const { return (set & m_end1) == set; }
    bool End2Within(EndSet set) const { return (set & m_end2) == set; }

    // The price list replaces these.
    void SetPrice(Money price) { m_price = price; }
    void SetUnitsPerPackage(int32_t units) { m_unitsPerPackage = units; }

private:
    QString m_partKey;
    QString m_partNumber;
    QString m_description;
    float m_size1 = 0;
    float m_size2 = 0;
    int32_t m_length = 0;
    AttrSet m_attributes = 0;
    EndSet m_end1 = 0;
    EndSet m_end2 = 0;
    float m_angle = 0;
    uint8_t m_ports = 0;
    Money m_price = 0;
    int32_t m_unitsPerPackage = 1;
    QString m_maker;
    QString m_image;
    int32_t m_cataloguePage = 0;
    QString m_catalogueCode;
    bool m_endOfLine = false;
};

class TPipePartObject : public TPartObject
{
public:
    using TPartObject::TPartObject;
    static constexpr PartClass StaticClass = PartClass::PipePartObject;
    PartClass partClass() const override { return PartClass::PipePartObject; }
};
class TOutlet : public TPipePartObject
{
public:
    using TPipePartObject::TPipePartObject;
    static constexpr PartClass StaticClass = PartClass::Outlet;
    PartClass partClass() const override { return PartClass::Outlet; }
};
// The leaf classes. (Written out: the class names carry the "T".)
#define PIPELOOP_LEAF(TName, Kind, Base)                                                           \
    class TName : public Base                                                                      \
    {                                                                                              \
    public:                                                                                        \
        using Base::Base;                                                                          \
        static constexpr PartClass StaticClass = PartClass::Kind;                                  \
        PartClass partClass() const override { return PartClass::Kind; }                           \
    };
PIPELOOP_LEAF(TPipe, Pipe, TPipePartObject)
PIPELOOP_LEAF(THose, Hose, TPipePartObject)
PIPELOOP_LEAF(TEndCap, EndCap, TPipePartObject)
PIPELOOP_LEAF(TPipeTee, PipeTee, TPipePartObject)
PIPELOOP_LEAF(TPipeConnector, PipeConnector, TPipePartObject)
PIPELOOP_LEAF(TAdapter, Adapter, TPipePartObject)
PIPELOOP_LEAF(TManifold, Manifold, TPipePartObject)
// The catalogue valve; the design's valve is pipeloop::TValve.
PIPELOOP_LEAF(TValve, Valve, TPipePartObject)
PIPELOOP_LEAF(TPipeClip, PipeClip, TPipePartObject)
PIPELOOP_LEAF(TOutletTee, OutletTee, TOutlet)
PIPELOOP_LEAF(TSaddleOutlet, SaddleOutlet, TOutlet)
PIPELOOP_LEAF(TFemaleOutlet, FemaleOutlet, TOutlet)
PIPELOOP_LEAF(TReducer, Reducer, TPartObject)
PIPELOOP_LEAF(TCoupling, Coupling, TPartObject)
#undef PIPELOOP_LEAF

// A part object of a class, with only its key set.
std::unique_ptr<TPartObject> CreatePart(PartClass partClass, const QString& partKey);

// The word scans, each showing its warning for unknown words.
AttrSet ScanAttributeWords(const QString& partKey, const QString& text);
EndSet ScanEndWords(const QString& partKey, const QString& text, int endNumber);

// The ATR / AT1 / AT2 text of a flag set (words in flag order, blank-separated).
QString AttributeWords(AttrSet set);
QString EndWords(EndSet set);

} // namespace pipeloop::catalogue
