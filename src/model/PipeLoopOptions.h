#pragma once

#include "ModelTypes.h"

#include <QString>

#include <array>
#include <cstdint>

namespace pipeloop
{

class IniFile;
class SettingsStore;
class TBuildFeature;
class TPipeLoop;
class TPipeLoopObject;

// A Windows colour value laid out 0x00BBGGRR (the low byte is red), stored in
// the registry and in project files as this decimal integer. Kept signed so
// that any stored value, system colours included, is written back unchanged.
using WinColour = int32_t;

// How pipes are coloured.
enum class PipeColourScheme : int32_t {
    OneColour = 0,     // every pipe in MainPipeColour
    LoopAndOthers = 1, // the loop in MainPipeColour, spurs and drops in NonPipeLoopPipeColour
    BySize = 2,        // by the size ranges of SizePipeColours
};

// What to do with options carried by a project file (loading them, and later
// writing them to the registry): never, always, or ask the user each time.
enum class SettingsMode : int32_t { Never = 0, Always = 1, Ask = 2 };

// A font as plain values; the desktop program makes a QFont of it.
struct FontSpec {
    QString family;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;

    bool operator==(const FontSpec&) const = default;
};

// The user's display and print preferences: grid, snapping, colours and
// hatches, pipe colours, symbol size and labels, print choices and a few parts
// list settings. One instance lives for the whole run; it is kept in the
// registry and, when the user asks for it (Saved), in each project file.
//
// The fields are named by their stored keys. Those that only take certain
// values are reached through setters that bring any other value to an allowed
// one; every load goes through the same setters.
class TPipeLoopOptions
{
public:
    // Windows brush styles, the hatches of walls and building features.
    enum BrushStyle : int32_t {
        BrushSolid = 0,
        BrushClear = 1,
        BrushHorizontal = 2,
        BrushVertical = 3,
        BrushForwardDiagonal = 4,
        BrushBackwardDiagonal = 5,
        BrushCross = 6,
        BrushDiagonalCross = 7,
    };
    // Pen styles of the grid lines.
    enum GridPenStyle : int32_t {
        GridSolid = 0,
        GridDash = 1,
        GridDot = 2,
        GridDashDot = 3,
        GridDashDotDot = 4,
    };

    static constexpr WinColour Black = 0;
    static constexpr WinColour Red = 255;
    static constexpr WinColour Silver = 12632256; // grey 192,192,192

    // The bounds of the printed symbol size (mm on paper) and of the header
    // margin (mm): a value outside them breaks the page layout, so stored
    // values are brought inside on every load.
    static constexpr int32_t MinSymbolSize = 1;
    static constexpr int32_t MaxSymbolSize = 20;
    static constexpr int32_t MinHeaderMargin = 0;
    static constexpr int32_t MaxHeaderMargin = 100;

    // The sizes that have a colour of their own in SizePipeColours, smallest first.
    static constexpr std::array<int, 8> ColourSizes{20, 25, 32, 40, 50, 63, 80, 110};

    bool ShiftWheelScrollLeftRight = false;
    WinColour SelectColour = Silver;
    WinColour HighlightColour = Red;
    WinColour BuildingWallColour = 7566265; // 185,115,115
    bool DrawWalls = true;
    WinColour BuildFeaturesColour = Red;
    bool PrintInColour = true;
    int32_t HeaderMargin = 25; // mm
    bool PrintGrids = true;
    bool PrintNotes = false;
    int32_t SymbolSize = 4;
    FontSpec SymbolLabelFont{QStringLiteral("Arial"), 8};
    FontSpec NotesFont{QStringLiteral("Arial"), 12};
    bool NoLogo = false; // print without the company graphic
    bool PrintDropsPage = false;
    bool SymbolNamesOnPlan = false;
    bool SymbolNamesOnSection = false;
    bool DrawSymbolsOnDrops = false;
    bool PrintPipeColourTable = false;
    WinColour MainPipeColour = Black;
    WinColour NonPipeLoopPipeColour = 8421504; // grey 128
    // Colours of ColourSizes, same order; stored as "20mmPipeColour" ... "110mmPipeColour".
    std::array<WinColour, 8> SizePipeColours{
        16777120, // 20 mm: 160,255,255
        16776960, // 25 mm: 0,255,255
        13408512, // 32 mm: 0,153,204
        13408640, // 40 mm: 128,153,204
        13369344, // 50 mm: 0,0,204
        16737792, // 63 mm: 0,102,255
        16750848, // 80 mm: 0,153,255
        16711680, // 110 mm: blue
    };
    int32_t GridSpacing = 1000; // mm; 0 means no grid
    WinColour GridColour = Silver;
    bool SnapToGrid = true;
    // Kept in the registry only.
    QString SupplierEMail;
    QString PartsPriceListFile;
    bool ShowAllSizes = true;
    // Whether the options are saved with each project (kept in project files only).
    bool Saved = false;

    // 2..7 stay; anything else becomes solid (clear is not allowed).
    int32_t BuildingWallStyle() const { return m_buildingWallStyle; }
    void SetBuildingWallStyle(int32_t style);
    int32_t BuildFeaturesStyle() const { return m_buildFeaturesStyle; }
    void SetBuildFeaturesStyle(int32_t style);
    // 0, 1, 3 and 4 stay; anything else becomes dot.
    int32_t GridStyle() const { return m_gridStyle; }
    void SetGridStyle(int32_t style);
    // 1 and 2 stay; anything else becomes one colour.
    PipeColourScheme PipeColourOption() const { return m_pipeColourOption; }
    void SetPipeColourOption(int32_t scheme);
    // 0 and 1 stay; anything else becomes ask. Neither mode is stored.
    SettingsMode RegistryUpdateMode() const { return m_registryUpdateMode; }
    void SetRegistryUpdateMode(int32_t mode);
    SettingsMode ProjectSettingsMode() const { return m_projectSettingsMode; }
    void SetProjectSettingsMode(int32_t mode);

    // Set for the rest of the run once a project's options were taken.
    bool LoadedFromProject() const { return m_loadedFromProject; }

    // Sets the colour of one of ColourSizes (the pipe colour panels); other sizes are ignored.
    void SetPipeColourForSize(float sizeMm, WinColour colour);

    // Registry. Loading does nothing and answers false when the key has never
    // been written; a value that is missing or not a number keeps the value held
    // (SupplierEMail, PartsPriceListFile and ShowAllSizes fall back to their
    // initial values instead).
    bool LoadFromRegistry(const SettingsStore& store);
    void SaveToRegistry(SettingsStore& store) const;
    // Asked at exit, before SaveToRegistry: true unless the options came from a
    // project, when the registry update mode decides (and may ask the user).
    bool MayUpdateRegistry() const;

    // Section "Options" of a project file. Saving writes only Saved when Saved is false.
    void SaveToProject(IniFile& ini) const;
    // Takes Saved from the file whatever follows. When Saved is set and the
    // project settings mode allows it (asking the user in mode Ask), reads the
    // options, a missing key keeping the value held (ShiftWheelScrollLeftRight
    // becoming false), and answers true: the caller then reads the print setup
    // from the same file.
    bool LoadFromProject(const IniFile& ini);

    // The colour of a pipe of the given size: black when printing without
    // colour, otherwise by the pipe colour scheme.
    WinColour PipeColourFor(bool notLoopPipe, bool printing, float sizeMm) const;
    // The colour of a design object: on screen the selection and highlight
    // colours win; elbows (the loop, in the design's pipe size), spurs and, when
    // colourDrops, drops (by outlet size) take their pipe colour; everything
    // else is black.
    WinColour ObjectColour(const TPipeLoop& design, const TPipeLoopObject& object, bool printing,
                           bool colourDrops) const;
    // The same for an object of the given kind and state whose pipe is
    // pipeSizeMm (the design's pipe size for an elbow, the spur's pipe size,
    // the drop's outlet size).
    WinColour ObjectColour(ObjectKind kind, ObjectState state, float pipeSizeMm, bool printing,
                           bool colourDrops) const;
    // The colour of a building feature drawn in colour (the renderer passes
    // BuildFeaturesColour for its outline, black for the symbol inside).
    WinColour FeatureColour(const TBuildFeature& feature, WinColour colour, bool printing) const;
    WinColour FeatureColour(ObjectState state, WinColour colour, bool printing) const;
    bool ShowGrid(bool printing) const;
    // The grid colour on paper: GridColour when printing in colour, else silver.
    WinColour GridColourFor() const;

    bool operator==(const TPipeLoopOptions&) const = default;

private:
    int32_t m_buildingWallStyle = BrushDiagonalCross;
    int32_t m_buildFeaturesStyle = BrushCross;
    int32_t m_gridStyle = GridDot;
    PipeColourScheme m_pipeColourOption = PipeColourScheme::BySize;
    SettingsMode m_registryUpdateMode = SettingsMode::Ask;
    SettingsMode m_projectSettingsMode = SettingsMode::Ask;
    bool m_loadedFromProject = false;
};

} // namespace pipeloop
