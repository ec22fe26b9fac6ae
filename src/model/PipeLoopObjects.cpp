#include "PipeLoopObjects.h"

#include "ErrorReport.h"
#include "IniFile.h"
#include "UiServices.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace pipeloop
{

namespace
{

const QString KeyNS = QStringLiteral("NS");
const QString KeyEW = QStringLiteral("EW");
const QString KeyHG = QStringLiteral("HG");
const QString KeyName = QStringLiteral("Name");

// Symbol entries a section may list beyond its SYMi keys (they load empty).
constexpr int64_t MaxPhantomSymbols = 1000;

// The squared difference, or nothing on overflow.
bool addSquare(int64_t difference, int64_t& sum)
{
    int64_t square = 0;
    return !__builtin_mul_overflow(difference, difference, &square) &&
           !__builtin_add_overflow(sum, square, &sum);
}

// A real of a file as a single; a value beyond the single range (1e39) is no
// more a size or an angle than text is.
bool toSingle(double value, float& out)
{
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return false;
    out = static_cast<float>(value);
    return true;
}

// A size or length read with a fallback for text that does not parse.
float readSize(const IniFile& ini, const QString& section, const QString& key,
               const QString& defaultText, float unparsable)
{
    const Parsed<double> value = ini.readReal(section, key, defaultText);
    float size = 0.0f;
    return value && toSingle(value.value(), size) ? size : unparsable;
}

// A real with no fallback: text that does not parse stops the load.
LoadResult readStrictReal(const IniFile& ini, const QString& section, const QString& key,
                          const QString& defaultText, float& out)
{
    const Parsed<double> value = ini.readReal(section, key, defaultText);
    float single = 0.0f;
    if (value && toSingle(value.value(), single)) {
        out = single;
        return LoadResult::success();
    }
    if (!value && !value.error().isEmpty())
        return LoadResult::failure(value.error());
    const QString text = ini.value(section, key).value_or(defaultText);
    return LoadResult::failure(
        QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

void writeSize(IniFile& ini, const QString& section, const QString& key, float value)
{
    ini.writeReal(section, key, static_cast<double>(value));
}

const QString KeyAirDemand = QStringLiteral("AirDemand");
const QString KeyUsageFactor = QStringLiteral("UsageFactor");

} // namespace

double ReadRealWithin(const IniFile& ini, const QString& section, const QString& key,
                      double fallback, double low, double high)
{
    if (!ini.valueExists(section, key))
        return fallback;
    const Parsed<double> value = ini.readReal(section, key, QString());
    if (!value || !std::isfinite(value.value()) || value.value() < low || value.value() > high)
        return fallback;
    return value.value();
}

int64_t BaseDistanceSq(int32_t ns, int32_t ew, const Position& point, ViewKind view)
{
    const int64_t dEW = int64_t(point.EW) - ew;
    const int64_t dNS = int64_t(point.NS) - ns;
    int64_t sum = 0;
    bool ok = true;
    switch (view) {
    case ViewKind::Plan:
        ok = addSquare(dEW, sum) && addSquare(dNS, sum);
        break;
    case ViewKind::North:
    case ViewKind::South:
        ok = addSquare(dEW, sum);
        break;
    case ViewKind::East:
    case ViewKind::West:
        ok = addSquare(dNS, sum);
        break;
    }
    if (!ok) {
        // The differences of two int32 values fit an int64, but their squares
        // and sum need not: the failure is reported as an unexpected one.
        Ui().reportError(ErrorText(std::overflow_error("Integer overflow in DistanceSq")));
        return FarAway;
    }
    return sum;
}

// ---------------------------------------------------------------- TPipeLoopObject

int64_t TPipeLoopObject::DistanceSq(const Position& point, ViewKind view) const
{
    if (view != ViewKind::Plan && !DrawnInView)
        return FarAway;
    return BaseDistanceSq(NS, EW, point, view);
}

void TPipeLoopObject::SaveToIni(IniFile& ini, const QString& section) const
{
    ini.writeInteger(section, KeyNS, NS);
    ini.writeInteger(section, KeyEW, EW);
    ini.writeInteger(section, KeyHG, HG);
    ini.writeString(section, KeyName, Name);
}

LoadResult TPipeLoopObject::LoadFromIni(const IniFile& ini, const QString& section)
{
    NS = ini.readInteger(section, KeyNS, NS);
    EW = ini.readInteger(section, KeyEW, EW);
    HG = ini.readInteger(section, KeyHG, HG);
    Name = ini.readString(section, KeyName, section);
    return LoadResult::success();
}

QString SectionPrefix(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Elbow:
        return QStringLiteral("Elbow");
    case ObjectKind::Valve:
        return QStringLiteral("Valve");
    case ObjectKind::BuildFeature:
        return QStringLiteral("BuildFeature");
    case ObjectKind::Inlet:
        return QStringLiteral("Inlet");
    case ObjectKind::Drop:
        return QStringLiteral("Drop");
    case ObjectKind::Spur:
        return QStringLiteral("Spur");
    case ObjectKind::Drain:
        return QStringLiteral("Drain");
    }
    return {};
}

QString NamePrefix(ObjectKind kind)
{
    switch (kind) {
    case ObjectKind::Elbow:
        return QStringLiteral("ELBOW");
    case ObjectKind::Valve:
        return QStringLiteral("VALVE");
    case ObjectKind::BuildFeature:
        return {};
    case ObjectKind::Inlet:
        return QStringLiteral("INLET");
    case ObjectKind::Drop:
        return QStringLiteral("DROP");
    case ObjectKind::Spur:
        return QStringLiteral("SPUR");
    case ObjectKind::Drain:
        return QStringLiteral("DRAIN");
    }
    return {};
}

// ---------------------------------------------------------------- TElbow

void TElbow::SaveToIni(IniFile& ini, const QString& section) const
{
    TPipeLoopObject::SaveToIni(ini, section);
    ini.writeInteger(section, QStringLiteral("VerticalDrop"), VerticalDrop);
}

LoadResult TElbow::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TPipeLoopObject::LoadFromIni(ini, section);
    if (!result)
        return result;
    VerticalDrop = ini.readInteger(section, QStringLiteral("VerticalDrop"), 0);
    return LoadResult::success();
}

// ---------------------------------------------------------------- TValve

void TValve::SaveToIni(IniFile& ini, const QString& section) const
{
    TPipeLoopObject::SaveToIni(ini, section);
    writeSize(ini, section, QStringLiteral("Angle"), Angle);
}

LoadResult TValve::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TPipeLoopObject::LoadFromIni(ini, section);
    if (!result)
        return result;
    // Older files said Vertical or Rotate instead of giving an angle.
    float fallback = HalfPi;
    if (ini.readBool(section, QStringLiteral("Vertical"), false))
        fallback = 0.0f;
    else if (ini.readBool(section, QStringLiteral("Rotate"), false))
        fallback = 0.0f;
    return readStrictReal(ini, section, QStringLiteral("Angle"),
                          FormatIniReal(static_cast<double>(fallback)), Angle);
}

// ---------------------------------------------------------------- TBuildFeature

void TBuildFeature::SaveToIni(IniFile& ini, const QString& section) const
{
    ini.writeString(section, KeyName, Name);
    ini.writeString(section, QStringLiteral("Feature"), Feature);
    ini.writeInteger(section, QStringLiteral("P1EW"), P1EW);
    ini.writeInteger(section, QStringLiteral("P1NS"), P1NS);
    ini.writeInteger(section, QStringLiteral("P2EW"), P2EW);
    ini.writeInteger(section, QStringLiteral("P2NS"), P2NS);
    ini.writeInteger(section, QStringLiteral("Height"), Height);
    ini.writeBool(section, QStringLiteral("Ellipse"), Ellipse);
}

LoadResult TBuildFeature::LoadFromIni(const IniFile& ini, const QString& section)
{
    Name = ini.readString(section, KeyName, section);
    Feature = ini.readString(section, QStringLiteral("Feature"), QStringLiteral("GENERAL"));
    P1EW = ini.readInteger(section, QStringLiteral("P1EW"), 0);
    P1NS = ini.readInteger(section, QStringLiteral("P1NS"), 0);
    P2EW = ini.readInteger(section, QStringLiteral("P2EW"), 0);
    P2NS = ini.readInteger(section, QStringLiteral("P2NS"), 0);
    Height = ini.readInteger(section, QStringLiteral("Height"), 1000);
    Ellipse = ini.readBool(section, QStringLiteral("Ellipse"), false);
    NS = P1NS;
    EW = P1EW;
    HG = Height;
    return LoadResult::success();
}

void TBuildFeature::ShiftCorners(int64_t dNS, int64_t dEW)
{
    const auto shifted = [](int32_t value, int64_t by) {
        return static_cast<int32_t>(std::clamp<int64_t>(int64_t(value) + by,
                                                        std::numeric_limits<int32_t>::min(),
                                                        std::numeric_limits<int32_t>::max()));
    };
    P1NS = shifted(P1NS, dNS);
    P2NS = shifted(P2NS, dNS);
    P1EW = shifted(P1EW, dEW);
    P2EW = shifted(P2EW, dEW);
}

// ---------------------------------------------------------------- TObjectWithSymbols

void TObjectWithSymbols::SaveToIni(IniFile& ini, const QString& section) const
{
    TPipeLoopObject::SaveToIni(ini, section);
    ini.writeInteger(section, QStringLiteral("Symbols"), SymbolCount());
    for (int i = 0; i < SymbolCount(); ++i) {
        const QString number = QString::number(i + 1);
        ini.writeString(section, QStringLiteral("SYM") + number, Symbols[size_t(i)].Keyword);
        const QString& part = Symbols[size_t(i)].Record.Part;
        if (!part.isEmpty())
            ini.writeString(section, QStringLiteral("PART") + number, part);
    }
    if (!Demand.IsNone()) {
        ini.writeReal(section, KeyAirDemand, Demand.LitresPerSecond);
        ini.writeReal(section, KeyUsageFactor, Demand.UsageFactor);
    }
}

LoadResult TObjectWithSymbols::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TPipeLoopObject::LoadFromIni(ini, section);
    if (!result)
        return result;
    // Missing SYMi keys give empty entries; a count far beyond the keys the
    // section holds (a damaged file) must not fill memory with them.
    const int64_t limit = int64_t(ini.keyNames(section).size()) + MaxPhantomSymbols;
    const int64_t count =
        std::min<int64_t>(ini.readInteger(section, QStringLiteral("Symbols"), 0), limit);
    for (int64_t i = 1; i <= count; ++i) {
        const QString number = QString::number(i);
        AddSymbol(ini.readString(section, QStringLiteral("SYM") + number, QString()),
                  ini.readString(section, QStringLiteral("PART") + number, QString()), true);
    }
    const AirDemand none;
    Demand.LitresPerSecond = ReadRealWithin(ini, section, KeyAirDemand, none.LitresPerSecond, 0,
                                            std::numeric_limits<double>::max());
    Demand.UsageFactor = ReadRealWithin(ini, section, KeyUsageFactor, none.UsageFactor, 0, 1);
    return LoadResult::success();
}

void TObjectWithSymbols::AddSymbol(const QString& keyword, const QString& part, bool forced)
{
    const size_t count = Symbols.size();
    const bool beforeHose = !forced && count > 2 && Symbols[count - 1].Keyword == Symbol::Coupler &&
                            Symbols[count - 3].Keyword == Symbol::Coupler &&
                            IsHoseSymbol(Symbols[count - 2].Keyword);
    TSymbolEntry entry{keyword, TDropSymbolClass(part)};
    if (beforeHose)
        Symbols.insert(Symbols.end() - 3, std::move(entry));
    else
        Symbols.push_back(std::move(entry));
}

void TObjectWithSymbols::InsertSymbolFirst(const QString& keyword, const QString& part)
{
    Symbols.insert(Symbols.begin(), TSymbolEntry{keyword, TDropSymbolClass(part)});
}

void TObjectWithSymbols::DeleteSymbol(int index)
{
    if (validIndex(index))
        Symbols.erase(Symbols.begin() + index);
}

void TObjectWithSymbols::ClearSymbols()
{
    while (!Symbols.empty())
        DeleteSymbol(0);
}

QString TObjectWithSymbols::SymbolName(int index) const
{
    return validIndex(index) ? Symbols[size_t(index)].Keyword : QString();
}

QString TObjectWithSymbols::SymbolPart(int index) const
{
    return validIndex(index) ? Symbols[size_t(index)].Record.Part : QString();
}

void TObjectWithSymbols::SetSymbolPart(int index, const QString& part)
{
    if (validIndex(index))
        Symbols[size_t(index)].Record.Part = part;
}

SymbolRect TObjectWithSymbols::SymbolRectOf(int index) const
{
    return validIndex(index) ? Symbols[size_t(index)].Record.Rect : SymbolRect();
}

void TObjectWithSymbols::SetSymbolRect(int index, const SymbolRect& rect)
{
    if (validIndex(index))
        Symbols[size_t(index)].Record.Rect = rect;
}

int TObjectWithSymbols::SymbolAt(QPoint point) const
{
    for (int i = 0; i < SymbolCount(); ++i)
        if (Symbols[size_t(i)].Record.Rect.contains(point))
            return i;
    return -1;
}

QString TObjectWithSymbols::SelectedSymbolName() const
{
    return SymbolName(SelectedSymbol);
}

QString TObjectWithSymbols::SelectedSymbolPart() const
{
    return SymbolPart(SelectedSymbol);
}

void TObjectWithSymbols::SetSelectedSymbolPart(const QString& part)
{
    SetSymbolPart(SelectedSymbol, part);
}

void TObjectWithSymbols::DeleteSelectedSymbol()
{
    DeleteSymbol(SelectedSymbol);
    SelectedSymbol = -1;
}

void TObjectWithSymbols::MoveSelectedSymbol(int delta)
{
    if (SelectedSymbol < 0)
        return;
    const int64_t target = int64_t(SelectedSymbol) + delta;
    if (!validIndex(SelectedSymbol) || target < 0 || target >= SymbolCount())
        return;
    std::swap(Symbols[size_t(SelectedSymbol)], Symbols[size_t(target)]);
    SelectedSymbol = static_cast<int32_t>(target);
}

// ---------------------------------------------------------------- TInlet

void TInlet::SaveToIni(IniFile& ini, const QString& section) const
{
    TObjectWithSymbols::SaveToIni(ini, section);
    writeSize(ini, section, QStringLiteral("Angle"), Angle);
    ini.writeInteger(section, QStringLiteral("PipeLength"), PipeLength);
    writeSize(ini, section, QStringLiteral("PipeSize"), PipeSize);
}

LoadResult TInlet::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TObjectWithSymbols::LoadFromIni(ini, section);
    if (!result)
        return result;
    result = readStrictReal(ini, section, QStringLiteral("Angle"), QStringLiteral("0.0"), Angle);
    if (!result)
        return result;
    PipeLength = ini.readInteger(section, QStringLiteral("PipeLength"), 2000);
    return readStrictReal(ini, section, QStringLiteral("PipeSize"), QStringLiteral("50.0"),
                          PipeSize);
}

// ---------------------------------------------------------------- TDrop

void TDrop::SaveToIni(IniFile& ini, const QString& section) const
{
    TObjectWithSymbols::SaveToIni(ini, section);
    ini.writeInteger(section, QStringLiteral("PipeLen"), PipeLen);
    writeSize(ini, section, QStringLiteral("OutletSize"), OutletSize);
    ini.writeString(section, QStringLiteral("Style"), DropStyleWord(Style));
    if (IsFemale())
        writeSize(ini, section, QStringLiteral("HoseSize"), HoseSize);
    if (!PartPackage.isEmpty())
        ini.writeString(section, QStringLiteral("PartPackage"), PartPackage);
}

LoadResult TDrop::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TObjectWithSymbols::LoadFromIni(ini, section);
    if (!result)
        return result;
    PipeLen = ini.readInteger(section, QStringLiteral("PipeLen"), 0);
    OutletSize =
        readSize(ini, section, QStringLiteral("OutletSize"), QStringLiteral("25.0"), 25.0f);
    Style = DropStyle::Female;
    SetStyleByName(ini.readString(section, QStringLiteral("Style"), DropStyleWord(Style)));
    if (IsFemale()) {
        HoseSize =
            readSize(ini, section, QStringLiteral("HoseSize"), QStringLiteral("6.35"), 25.0f);
        // Older files named the hose instead of listing it among the symbols.
        const QString hoseType =
            ini.readString(section, QStringLiteral("HoseType"), QStringLiteral("NONE"));
        QString hose;
        if (hoseType == QLatin1String("HOSE"))
            hose = Symbol::AirHose;
        else if (hoseType == QLatin1String("RECOIL"))
            hose = Symbol::RecoilHose;
        if (!hose.isEmpty()) {
            InsertSymbolFirst(Symbol::Coupler);
            InsertSymbolFirst(hose);
            InsertSymbolFirst(Symbol::Coupler);
        }
    } else {
        HoseSize = 0.0f;
    }
    PartPackage = ini.readString(section, QStringLiteral("PartPackage"), QString());
    return LoadResult::success();
}

void TDrop::SetStyleByName(const QString& text)
{
    if (const auto style = DropStyleFromWord(text))
        Style = *style;
}

void TDrop::SetStyle(int index)
{
    if (index >= 0 && index < DropStyleCount)
        Style = static_cast<DropStyle>(index);
}

// ---------------------------------------------------------------- TSpur

int64_t TSpur::DistanceSq(const Position& point, ViewKind view) const
{
    if (view != ViewKind::Plan && !DrawnInView) {
        NearEnd = End::End;
        return FarAway;
    }
    const int64_t toStart = BaseDistanceSq(NS, EW, point, view);
    const int64_t toEnd = BaseDistanceSq(NS2, EW2, point, view);
    if (toEnd <= toStart) {
        NearEnd = End::End;
        return toEnd;
    }
    NearEnd = End::Start;
    return toStart;
}

void TSpur::SaveToIni(IniFile& ini, const QString& section) const
{
    TPipeLoopObject::SaveToIni(ini, section);
    ini.writeInteger(section, QStringLiteral("NS2"), NS2);
    ini.writeInteger(section, QStringLiteral("EW2"), EW2);
    ini.writeInteger(section, QStringLiteral("HG2"), HG2);
    writeSize(ini, section, QStringLiteral("PipeSize"), PipeSize);
    ini.writeInteger(section, QStringLiteral("VerticalDrop"), VerticalDrop);
}

LoadResult TSpur::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TPipeLoopObject::LoadFromIni(ini, section);
    if (!result)
        return result;
    NS2 = ini.readInteger(section, QStringLiteral("NS2"), 0);
    EW2 = ini.readInteger(section, QStringLiteral("EW2"), 0);
    HG2 = ini.readInteger(section, QStringLiteral("HG2"), 0);
    PipeSize = readSize(ini, section, QStringLiteral("PipeSize"), QStringLiteral("0"), 0.0f);
    VerticalDrop = ini.readInteger(section, QStringLiteral("VerticalDrop"), 0);
    return LoadResult::success();
}

// ---------------------------------------------------------------- TDrain

void TDrain::SaveToIni(IniFile& ini, const QString& section) const
{
    TPipeLoopObject::SaveToIni(ini, section);
    ini.writeInteger(section, QStringLiteral("PipeLen"), PipeLen);
    ini.writeBool(section, QStringLiteral("Manual"), Manual);
    writeSize(ini, section, QStringLiteral("PipeSize"), PipeSize);
}

LoadResult TDrain::LoadFromIni(const IniFile& ini, const QString& section)
{
    LoadResult result = TPipeLoopObject::LoadFromIni(ini, section);
    if (!result)
        return result;
    PipeLen = ini.readInteger(section, QStringLiteral("PipeLen"), 0);
    Manual = ini.readBool(section, QStringLiteral("Manual"), true);
    PipeSize = readSize(ini, section, QStringLiteral("PipeSize"), QStringLiteral("20.0"), 20.0f);
    return LoadResult::success();
}

} // namespace pipeloop
