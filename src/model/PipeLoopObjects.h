#pragma once

// The objects placed in a design: the base TPipeLoopObject and its
// classes, each of which measures itself for hit-testing and writes and reads
// its own section of a project file. The symbol stack of drops and inlets is
// the rules.

#include "DropSymbols.h"
#include "ModelTypes.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <limits>
#include <vector>

namespace pipeloop
{

class IniFile;

// The result of DistanceSq when the object cannot be hit (or on overflow).
inline constexpr int64_t FarAway = std::numeric_limits<int64_t>::max();

// The overflow-checked squared distance of the base rule from the
// object point (ns, ew) to point: dEW² + dNS² on the plan, dEW² in the north
// and south sections, dNS² in the east and west sections. An overflow shows
// the common error report and gives FarAway. The caller checks DrawnInView.
int64_t BaseDistanceSq(int32_t ns, int32_t ew, const Position& point, ViewKind view);

// Base of every placed object.
class TPipeLoopObject
{
public:
    TPipeLoopObject() = default;
    virtual ~TPipeLoopObject() = default;

    virtual ObjectKind Kind() const = 0;

    // Squared distance to point as seen in view: in a section view
    // only objects the renderer drew there (DrawnInView) can be near; the
    // others are FarAway.
    virtual int64_t DistanceSq(const Position& point, ViewKind view) const;
    // Writes the object's keys into section: NS, EW, HG, Name, then the
    // class's own keys.
    virtual void SaveToIni(IniFile& ini, const QString& section) const;
    // Reads the same keys; NS, EW, HG default to the current values and Name
    // to the section's own name. See LoadResult for the only failures.
    virtual LoadResult LoadFromIni(const IniFile& ini, const QString& section);

    Position position() const { return {NS, EW, HG}; }
    void setPosition(const Position& p)
    {
        NS = p.NS;
        EW = p.EW;
        HG = p.HG;
    }
    bool isSelected() const { return State == ObjectState::Selected; }
    bool isHighlighted() const { return State == ObjectState::Highlighted; }

    int32_t NS = 0;
    int32_t EW = 0;
    int32_t HG = 0;
    QString Name;
    // Transient: set by the section renderer for each object it draws in the
    // current section view; section hit-tests only consider these.
    bool DrawnInView = false;
    ObjectState State = ObjectState::Normal;

protected:
    TPipeLoopObject(const TPipeLoopObject&) = default;
    TPipeLoopObject& operator=(const TPipeLoopObject&) = default;
};

// The section name prefix of a kind in the project file: Elbow, BuildFeature,
// Drain, Drop, Valve, Inlet, Spur (sections are prefix + number from 1).
QString SectionPrefix(ObjectKind kind);
// The name prefix of objects made by the editor: ELBOW, SPUR, DROP, DRAIN,
// VALVE, INLET (empty for building features, which the editor names itself).
QString NamePrefix(ObjectKind kind);

// One corner of the loop. The pipe that leaves this elbow towards the next
// runs at HG - VerticalDrop.
class TElbow : public TPipeLoopObject
{
public:
    ObjectKind Kind() const override { return ObjectKind::Elbow; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Height of the loop segment that starts here.
    int32_t PipeHeight() const { return HeightBelow(HG, VerticalDrop); }

    int32_t VerticalDrop = 0;
};

// An isolating valve on the loop or a spur.
class TValve : public TPipeLoopObject
{
public:
    ObjectKind Kind() const override { return ObjectKind::Valve; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    // Fails when Angle does not parse.
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Direction of the pipe run at the valve (SegmentAngle), radians.
    float Angle = HalfPi;
};

// A rectangular or elliptical obstacle drawn on the plan. Its section holds
// only its own keys; after loading, the position is (P1NS, P1EW, Height).
class TBuildFeature : public TPipeLoopObject
{
public:
    ObjectKind Kind() const override { return ObjectKind::BuildFeature; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Whether the plan point lies inside the corners (edges included).
    bool ContainsPlan(const Position& p) const
    {
        return P1EW <= p.EW && p.EW <= P2EW && P1NS <= p.NS && p.NS <= P2NS;
    }
    // Moves both corners by the change, each coordinate held within the
    // range of a length.
    void ShiftCorners(int64_t dNS, int64_t dEW);

    int32_t Height = 1000;
    // Corners with P1NS <= P2NS and P1EW <= P2EW (hit-testing relies on it).
    int32_t P1NS = 0;
    int32_t P1EW = 0;
    int32_t P2NS = 0;
    int32_t P2EW = 0;
    // GENERAL, COMPRESSOR, RECEIVER, DRYER, FILTER or FILTER_AUTO.
    QString Feature = QStringLiteral("GENERAL");
    bool Ellipse = false;
};

// The air an object draws from the network, in litres per second of free air,
// and the share of the time it draws it (1: always). On an inlet the same two
// values describe what its compressor delivers. Both are kept as entered; an
// object with no demand (the default) writes neither key.
struct AirDemand {
    double LitresPerSecond = 0.0;
    double UsageFactor = 1.0;

    // The flow the network has to carry on average, litres per second.
    double Average() const { return LitresPerSecond * UsageFactor; }
    bool IsNone() const { return LitresPerSecond == 0.0 && UsageFactor == 1.0; }
    friend bool operator==(const AirDemand&, const AirDemand&) = default;
};

// A real of a file within [low, high]: a missing key, text that is not a
// number and a value outside the range give the fallback. For the values a
// file may hold since the air analysis, which older releases neither wrote
// nor read.
double ReadRealWithin(const IniFile& ini, const QString& section, const QString& key,
                      double fallback, double low, double high);

// An object carrying a stack of ISO 1219 symbols. Index 0 is the
// bottom of the stack. Index operations ignore invalid indexes.
class TObjectWithSymbols : public TPipeLoopObject
{
public:
    // Writes the base keys, then Symbols, SYMi and (only when assigned) PARTi,
    // then AirDemand and UsageFactor when the object has a demand.
    void SaveToIni(IniFile& ini, const QString& section) const override;
    // Appends the stored symbols in their stored order. A demand or usage
    // factor that is not a number, negative (or a factor above 1) reads as
    // the default: files of older releases have neither key.
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Unforced, a new entry goes before a hose assembly (COUPLER, a hose,
    // COUPLER) that ends a stack of more than two entries; otherwise, and
    // always when forced, it is appended.
    void AddSymbol(const QString& keyword, const QString& part = {}, bool forced = false);
    void InsertSymbolFirst(const QString& keyword, const QString& part = {});
    void DeleteSymbol(int index);
    void ClearSymbols();

    int SymbolCount() const { return static_cast<int>(Symbols.size()); }
    QString SymbolName(int index) const;
    QString SymbolPart(int index) const;
    void SetSymbolPart(int index, const QString& part);
    SymbolRect SymbolRectOf(int index) const;
    void SetSymbolRect(int index, const SymbolRect& rect);
    // The first entry (from index 0) whose rectangle contains the point, or -1.
    int SymbolAt(QPoint point) const;

    // The drop view's selected entry.
    void SelectSymbolAt(QPoint point) { SelectedSymbol = SymbolAt(point); }
    bool HasSelectedSymbol() const { return validIndex(SelectedSymbol); }
    QString SelectedSymbolName() const;
    QString SelectedSymbolPart() const;
    void SetSelectedSymbolPart(const QString& part);
    // Deletes the selected entry if the index is valid; the selection is cleared in any case.
    void DeleteSelectedSymbol();
    // Exchanges the selected entry with the one delta places up (+1) or down
    // (-1) when that exists; the selection follows the moved entry.
    void MoveSelectedSymbol(int delta);
    void ClearSymbolSelection() { SelectedSymbol = -1; }

    // Index of the selected entry in the drop view, -1 for none.
    int32_t SelectedSymbol = -1;
    std::vector<TSymbolEntry> Symbols;
    pipeloop::AirDemand Demand;

protected:
    bool validIndex(int index) const { return index >= 0 && index < SymbolCount(); }
};

// The feed from the compressor into the loop.
class TInlet : public TObjectWithSymbols
{
public:
    ObjectKind Kind() const override { return ObjectKind::Inlet; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    // Fails when Angle or PipeSize does not parse.
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Direction of the inlet arrow: the loop segment's angle minus half pi.
    float Angle = 0.0f;
    int32_t PipeLength = 2000;
    float PipeSize = 50.0f;
};

// A drop from the loop or a spur down to an outlet.
class TDrop : public TObjectWithSymbols
{
public:
    ObjectKind Kind() const override { return ObjectKind::Drop; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    // Converts the older HoseType key of female drops into a hose assembly.
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // Upper-cases the text and takes the style of that word; another word
    // leaves Style unchanged.
    void SetStyleByName(const QString& text);
    // 0..5 sets Style; other values leave it unchanged.
    void SetStyle(int index);
    bool IsFemale() const { return IsFemaleStyle(Style); }

    // Drop pipe length, or hose length for the female styles.
    int32_t PipeLen = 0;
    float OutletSize = 25.0f;
    DropStyle Style = DropStyle::Female;
    // Meaningful only for the female styles.
    float HoseSize = 6.35f;
    // Code of an assigned catalogue package; empty for none.
    QString PartPackage;
};

// A branch pipe (or an unconnected pipe) from the inherited start point to
// the end point (NS2, EW2, HG2).
class TSpur : public TPipeLoopObject
{
public:
    enum class End : uint8_t { Start = 0, End = 1 };

    ObjectKind Kind() const override { return ObjectKind::Spur; }
    // The nearer of the two ends by the base rule; sets NearEnd (ties choose
    // the end point).
    int64_t DistanceSq(const Position& point, ViewKind view) const override;
    void SaveToIni(IniFile& ini, const QString& section) const override;
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    Position endPosition() const { return {NS2, EW2, HG2}; }
    void setEndPosition(const Position& p)
    {
        NS2 = p.NS;
        EW2 = p.EW;
        HG2 = p.HG;
    }
    // Height of the spur's run.
    int32_t PipeHeight() const { return HeightBelow(HG, VerticalDrop); }

    int32_t NS2 = 0;
    int32_t EW2 = 0;
    int32_t HG2 = 0;
    // Transient, set by DistanceSq: the end a move of the selected spur moves.
    mutable End NearEnd = End::Start;
    float PipeSize = 0.0f;
    // Transient, set by the parts list generator for spurs reached from the loop.
    bool Connected = false;
    int32_t VerticalDrop = 0;
};

// A condensate drain.
class TDrain : public TPipeLoopObject
{
public:
    ObjectKind Kind() const override { return ObjectKind::Drain; }
    void SaveToIni(IniFile& ini, const QString& section) const override;
    LoadResult LoadFromIni(const IniFile& ini, const QString& section) override;

    // The drain height the user edits.
    int32_t PipeLen = 0;
    bool Manual = true;
    float PipeSize = 20.0f;
};

} // namespace pipeloop
