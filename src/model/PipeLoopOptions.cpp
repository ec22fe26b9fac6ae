#include "PipeLoopOptions.h"

#include "IniFile.h"
#include "PipeLoop.h"
#include "Rounding.h"
#include "SettingsStore.h"
#include "UiServices.h"

#include <QLatin1StringView>

#include <algorithm>
#include <span>

namespace pipeloop
{

namespace
{

using Options = TPipeLoopOptions;

const QString OptionsSection = QStringLiteral("Options");

// One stored option: its key, its kind and how it is read and written. Numbers
// and booleans pass through int32 accessors, which go through the setters so
// that every load applies the value rules; texts are plain fields.
struct StoredOption {
    enum Kind { Bool, Int, Text };
    QLatin1StringView key;
    Kind kind;
    int32_t (*get)(const Options&) = nullptr;
    void (*set)(Options&, int32_t) = nullptr;
    QString Options::*text = nullptr;
};

// clang-format off
#define PL_BOOL(field) StoredOption{QLatin1StringView(#field), StoredOption::Bool, \
    [](const Options& o) -> int32_t { return o.field ? 1 : 0; }, \
    [](Options& o, int32_t v) { o.field = v != 0; }}
#define PL_INT(field) StoredOption{QLatin1StringView(#field), StoredOption::Int, \
    [](const Options& o) -> int32_t { return o.field; }, \
    [](Options& o, int32_t v) { o.field = v; }}
#define PL_BOUNDED(field, low, high) StoredOption{QLatin1StringView(#field), StoredOption::Int, \
    [](const Options& o) -> int32_t { return o.field; }, \
    [](Options& o, int32_t v) { o.field = std::clamp(v, Options::low, Options::high); }}
#define PL_RULED(field) StoredOption{QLatin1StringView(#field), StoredOption::Int, \
    [](const Options& o) { return static_cast<int32_t>(o.field()); }, \
    [](Options& o, int32_t v) { o.Set##field(v); }}
#define PL_SIZE_COLOUR(mm, slot) \
    StoredOption{QLatin1StringView(#mm "mmPipeColour"), StoredOption::Int, \
    [](const Options& o) { return o.SizePipeColours[slot]; }, \
    [](Options& o, int32_t v) { o.SizePipeColours[slot] = v; }}
#define PL_TEXT(field) StoredOption{QLatin1StringView(#field), StoredOption::Text, \
    nullptr, nullptr, &Options::field}

const StoredOption AllOptions[] = {
    PL_BOOL(ShiftWheelScrollLeftRight),
    PL_INT(SelectColour),
    PL_INT(HighlightColour),
    PL_INT(BuildingWallColour),
    PL_RULED(BuildingWallStyle),
    PL_BOOL(DrawWalls),
    PL_INT(BuildFeaturesColour),
    PL_RULED(BuildFeaturesStyle),
    PL_BOOL(PrintInColour),
    PL_BOUNDED(HeaderMargin, MinHeaderMargin, MaxHeaderMargin),
    PL_BOOL(PrintGrids),
    PL_BOOL(PrintNotes),
    PL_BOUNDED(SymbolSize, MinSymbolSize, MaxSymbolSize),
    PL_BOOL(PrintDropsPage),
    PL_BOOL(SymbolNamesOnPlan),
    PL_BOOL(SymbolNamesOnSection),
    PL_BOOL(DrawSymbolsOnDrops),
    PL_BOOL(PrintPipeColourTable),
    PL_INT(MainPipeColour),
    PL_SIZE_COLOUR(20, 0),
    PL_SIZE_COLOUR(25, 1),
    PL_SIZE_COLOUR(32, 2),
    PL_SIZE_COLOUR(40, 3),
    PL_SIZE_COLOUR(50, 4),
    PL_SIZE_COLOUR(63, 5),
    PL_SIZE_COLOUR(80, 6),
    PL_SIZE_COLOUR(110, 7),
    PL_INT(NonPipeLoopPipeColour),
    PL_INT(GridSpacing),
    PL_INT(GridColour),
    PL_RULED(GridStyle),
    PL_BOOL(SnapToGrid),
    PL_TEXT(SupplierEMail),
    PL_TEXT(PartsPriceListFile),
    PL_BOOL(ShowAllSizes),
    PL_RULED(PipeColourOption),
};

#undef PL_BOOL
#undef PL_INT
#undef PL_BOUNDED
#undef PL_RULED
#undef PL_SIZE_COLOUR
#undef PL_TEXT

// The orders in which each store reads and writes its keys. They differ from
// one another, and files and registries written by earlier releases follow them.
using KeyOrder = std::span<const char* const>;

const char* const RegistryReadOrder[] = {
    "GridSpacing", "SnapToGrid", "GridColour", "SupplierEMail", "PartsPriceListFile",
    "ShowAllSizes", "ShiftWheelScrollLeftRight", "GridStyle", "PipeColourOption", "SelectColour",
    "HighlightColour", "BuildingWallColour", "DrawWalls", "BuildFeaturesColour",
    "BuildingWallStyle", "BuildFeaturesStyle", "PrintInColour", "MainPipeColour",
    "NonPipeLoopPipeColour", "110mmPipeColour", "80mmPipeColour", "63mmPipeColour",
    "50mmPipeColour", "40mmPipeColour", "32mmPipeColour", "25mmPipeColour", "20mmPipeColour",
    "HeaderMargin", "SymbolSize", "PrintGrids", "PrintNotes", "PrintDropsPage", "SymbolNamesOnPlan",
    "SymbolNamesOnSection", "DrawSymbolsOnDrops", "PrintPipeColourTable"};

const char* const RegistryWriteOrder[] = {
    "GridSpacing", "SnapToGrid", "GridColour", "ShiftWheelScrollLeftRight", "GridStyle",
    "SupplierEMail", "PartsPriceListFile", "ShowAllSizes", "SelectColour", "HighlightColour",
    "BuildingWallColour", "DrawWalls", "BuildFeaturesColour", "BuildFeaturesStyle",
    "BuildingWallStyle", "PrintInColour", "MainPipeColour", "NonPipeLoopPipeColour",
    "110mmPipeColour", "32mmPipeColour", "80mmPipeColour", "63mmPipeColour", "50mmPipeColour",
    "40mmPipeColour", "25mmPipeColour", "20mmPipeColour", "PipeColourOption", "HeaderMargin",
    "SymbolSize", "PrintGrids", "PrintNotes", "PrintDropsPage", "SymbolNamesOnPlan",
    "SymbolNamesOnSection", "DrawSymbolsOnDrops", "PrintPipeColourTable"};

const char* const ProjectWriteOrder[] = {
    "GridSpacing", "GridColour", "SnapToGrid", "ShiftWheelScrollLeftRight", "GridStyle",
    "PipeColourOption", "SelectColour", "HighlightColour", "BuildingWallColour", "DrawWalls",
    "BuildFeaturesColour", "BuildFeaturesStyle", "BuildingWallStyle", "PrintInColour",
    "MainPipeColour", "NonPipeLoopPipeColour", "110mmPipeColour", "32mmPipeColour",
    "80mmPipeColour", "63mmPipeColour", "50mmPipeColour", "40mmPipeColour", "25mmPipeColour",
    "20mmPipeColour", "HeaderMargin", "SymbolSize", "PrintGrids", "PrintNotes", "PrintDropsPage",
    "SymbolNamesOnPlan", "SymbolNamesOnSection", "DrawSymbolsOnDrops", "PrintPipeColourTable"};

const char* const ProjectReadOrder[] = {
    "GridSpacing", "GridColour", "SnapToGrid", "ShiftWheelScrollLeftRight", "GridStyle",
    "PipeColourOption", "SelectColour", "HighlightColour", "BuildingWallColour", "DrawWalls",
    "BuildFeaturesColour", "BuildingWallStyle", "BuildFeaturesStyle", "PrintInColour",
    "MainPipeColour", "NonPipeLoopPipeColour", "110mmPipeColour", "80mmPipeColour",
    "63mmPipeColour", "50mmPipeColour", "40mmPipeColour", "32mmPipeColour", "25mmPipeColour",
    "20mmPipeColour", "HeaderMargin", "SymbolSize", "PrintGrids", "PrintNotes", "PrintDropsPage",
    "SymbolNamesOnPlan", "SymbolNamesOnSection", "DrawSymbolsOnDrops", "PrintPipeColourTable"};
// clang-format on

const StoredOption& Find(const char* key)
{
    for (const StoredOption& option : AllOptions)
        if (option.key == QLatin1StringView(key))
            return option;
    Q_UNREACHABLE(); // every key of the orders above is in the table
}

// Walks an order, handing each option and its key as a QString to visit.
template <typename Visit> void ForEach(KeyOrder order, Visit visit)
{
    for (const char* key : order) {
        const StoredOption& option = Find(key);
        visit(option, QString(option.key));
    }
}

// Sizes compare at a thousandth of a millimetre.
int32_t SizeKey(double sizeMm)
{
    return Round(sizeMm * 1000.0);
}

bool Decide(SettingsMode mode, const QString& question)
{
    switch (mode) {
    case SettingsMode::Never:
        return false;
    case SettingsMode::Always:
        return true;
    case SettingsMode::Ask:
        break;
    }
    return Ui().confirm(question);
}

SettingsMode ModeRule(int32_t mode)
{
    return mode == 0 || mode == 1 ? static_cast<SettingsMode>(mode) : SettingsMode::Ask;
}

int32_t HatchRule(int32_t style)
{
    return style >= Options::BrushHorizontal && style <= Options::BrushDiagonalCross
               ? style
               : Options::BrushSolid;
}

} // namespace

void TPipeLoopOptions::SetBuildingWallStyle(int32_t style)
{
    m_buildingWallStyle = HatchRule(style);
}

void TPipeLoopOptions::SetBuildFeaturesStyle(int32_t style)
{
    m_buildFeaturesStyle = HatchRule(style);
}

void TPipeLoopOptions::SetGridStyle(int32_t style)
{
    const bool allowed =
        style == GridSolid || style == GridDash || style == GridDashDot || style == GridDashDotDot;
    m_gridStyle = allowed ? style : GridDot;
}

void TPipeLoopOptions::SetPipeColourOption(int32_t scheme)
{
    m_pipeColourOption = scheme == 1 || scheme == 2 ? static_cast<PipeColourScheme>(scheme)
                                                    : PipeColourScheme::OneColour;
}

void TPipeLoopOptions::SetRegistryUpdateMode(int32_t mode)
{
    m_registryUpdateMode = ModeRule(mode);
}

void TPipeLoopOptions::SetProjectSettingsMode(int32_t mode)
{
    m_projectSettingsMode = ModeRule(mode);
}

void TPipeLoopOptions::SetPipeColourForSize(float sizeMm, WinColour colour)
{
    for (size_t slot = 0; slot < ColourSizes.size(); ++slot)
        if (SizeKey(sizeMm) == SizeKey(ColourSizes[slot]))
            SizePipeColours[slot] = colour;
}

bool TPipeLoopOptions::LoadFromRegistry(const SettingsStore& store)
{
    if (!store.keyExists())
        return false;
    const TPipeLoopOptions initial;
    SupplierEMail = initial.SupplierEMail;
    PartsPriceListFile = initial.PartsPriceListFile;
    ShowAllSizes = initial.ShowAllSizes;
    ForEach(RegistryReadOrder, [&](const StoredOption& option, const QString& key) {
        switch (option.kind) {
        case StoredOption::Bool:
            option.set(*this, store.RegReadBool(key, option.get(*this) != 0));
            break;
        case StoredOption::Int:
            option.set(*this, store.RegReadInt(key, option.get(*this)));
            break;
        case StoredOption::Text:
            this->*option.text = store.RegReadText(key, this->*option.text);
            break;
        }
    });
    return true;
}

void TPipeLoopOptions::SaveToRegistry(SettingsStore& store) const
{
    ForEach(RegistryWriteOrder, [&](const StoredOption& option, const QString& key) {
        switch (option.kind) {
        case StoredOption::Bool:
            store.writeBool(key, option.get(*this) != 0);
            break;
        case StoredOption::Int:
            store.writeInt(key, option.get(*this));
            break;
        case StoredOption::Text:
            store.writeText(key, this->*option.text);
            break;
        }
    });
}

bool TPipeLoopOptions::MayUpdateRegistry() const
{
    return !m_loadedFromProject ||
           Decide(m_registryUpdateMode, QStringLiteral("Update registry from project file ?"));
}

void TPipeLoopOptions::SaveToProject(IniFile& ini) const
{
    ini.writeBool(OptionsSection, u"Saved", Saved);
    if (!Saved)
        return;
    ForEach(ProjectWriteOrder, [&](const StoredOption& option, const QString& key) {
        if (option.kind == StoredOption::Bool)
            ini.writeBool(OptionsSection, key, option.get(*this) != 0);
        else
            ini.writeInteger(OptionsSection, key, option.get(*this));
    });
}

bool TPipeLoopOptions::LoadFromProject(const IniFile& ini)
{
    Saved = ini.readBool(OptionsSection, u"Saved", false);
    if (!Saved || !Decide(m_projectSettingsMode, QStringLiteral("Load project file settings ?")))
        return false;
    ShiftWheelScrollLeftRight = false;
    ForEach(ProjectReadOrder, [&](const StoredOption& option, const QString& key) {
        if (option.kind == StoredOption::Bool)
            option.set(*this, ini.readBool(OptionsSection, key, option.get(*this) != 0));
        else
            option.set(*this, ini.readInteger(OptionsSection, key, option.get(*this)));
    });
    m_loadedFromProject = true;
    return true;
}

WinColour TPipeLoopOptions::PipeColourFor(bool notLoopPipe, bool printing, float sizeMm) const
{
    if (printing && !PrintInColour)
        return Black;
    switch (m_pipeColourOption) {
    case PipeColourScheme::OneColour:
        break;
    case PipeColourScheme::LoopAndOthers:
        if (notLoopPipe)
            return NonPipeLoopPipeColour;
        break;
    case PipeColourScheme::BySize:
        // Each colour covers the sizes above the next smaller colour size up to its own.
        for (size_t slot = 0; slot < ColourSizes.size(); ++slot)
            if (SizeKey(sizeMm) <= SizeKey(ColourSizes[slot]))
                return SizePipeColours[slot];
        break;
    }
    return MainPipeColour;
}

WinColour TPipeLoopOptions::ObjectColour(const TPipeLoop& design, const TPipeLoopObject& object,
                                         bool printing, bool colourDrops) const
{
    float size = 0.0f;
    switch (object.Kind()) {
    case ObjectKind::Elbow:
        size = design.PipeSize;
        break;
    case ObjectKind::Spur:
        size = static_cast<const TSpur&>(object).PipeSize;
        break;
    case ObjectKind::Drop:
        size = static_cast<const TDrop&>(object).OutletSize;
        break;
    default:
        break;
    }
    return ObjectColour(object.Kind(), object.State, size, printing, colourDrops);
}

WinColour TPipeLoopOptions::ObjectColour(ObjectKind kind, ObjectState state, float pipeSizeMm,
                                         bool printing, bool colourDrops) const
{
    if (!printing && state == ObjectState::Selected)
        return SelectColour;
    if (!printing && state == ObjectState::Highlighted)
        return HighlightColour;
    switch (kind) {
    case ObjectKind::Elbow:
        return PipeColourFor(false, printing, pipeSizeMm);
    case ObjectKind::Spur:
        return PipeColourFor(true, printing, pipeSizeMm);
    case ObjectKind::Drop:
        return colourDrops ? PipeColourFor(true, printing, pipeSizeMm) : Black;
    default:
        return Black;
    }
}

WinColour TPipeLoopOptions::FeatureColour(const TBuildFeature& feature, WinColour colour,
                                          bool printing) const
{
    return FeatureColour(feature.State, colour, printing);
}

WinColour TPipeLoopOptions::FeatureColour(ObjectState state, WinColour colour, bool printing) const
{
    if (printing)
        return PrintInColour ? colour : Black;
    if (state == ObjectState::Selected)
        return SelectColour;
    if (state == ObjectState::Highlighted)
        return HighlightColour;
    return colour;
}

bool TPipeLoopOptions::ShowGrid(bool printing) const
{
    return GridSpacing > 0 && (!printing || PrintGrids);
}

WinColour TPipeLoopOptions::GridColourFor() const
{
    return PrintInColour ? GridColour : Silver;
}

} // namespace pipeloop
