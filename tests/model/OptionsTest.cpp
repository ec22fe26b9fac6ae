#include "IniFile.h"
#include "PipeLoop.h"
#include "PipeLoopOptions.h"
#include "RegistryTestSupport.h"
#include "ScriptedUi.h"
#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <map>

using namespace pipeloop;
using pipeloop::testing::ExpectRegistryRoundTrip;
using pipeloop::testing::LoadFromSettingsFile;
using pipeloop::testing::ScriptedUi;

namespace
{

// A memory store that also lets a test see the raw values and the order of reads.
class InspectableStore : public MemorySettingsStore
{
public:
    QVariant raw(const QString& name) const { return MemorySettingsStore::load(name); }
    mutable QStringList reads;

protected:
    QVariant load(const QString& name) const override
    {
        reads.append(name);
        return MemorySettingsStore::load(name);
    }
};

// Options with every stored value away from its initial one.
TPipeLoopOptions Customised()
{
    TPipeLoopOptions o;
    o.ShiftWheelScrollLeftRight = true;
    o.SelectColour = 111;
    o.HighlightColour = 222;
    o.BuildingWallColour = 333;
    o.SetBuildingWallStyle(TPipeLoopOptions::BrushForwardDiagonal);
    o.DrawWalls = false;
    o.BuildFeaturesColour = 444;
    o.SetBuildFeaturesStyle(TPipeLoopOptions::BrushVertical);
    o.PrintInColour = false;
    o.HeaderMargin = 31;
    o.PrintGrids = false;
    o.PrintNotes = true;
    o.SymbolSize = 7;
    o.PrintDropsPage = true;
    o.SymbolNamesOnPlan = true;
    o.SymbolNamesOnSection = true;
    o.DrawSymbolsOnDrops = true;
    o.PrintPipeColourTable = true;
    o.MainPipeColour = 555;
    o.NonPipeLoopPipeColour = 666;
    for (size_t i = 0; i < o.SizePipeColours.size(); ++i)
        o.SizePipeColours[i] = static_cast<WinColour>(1000 + i);
    o.GridSpacing = 250;
    o.GridColour = 777;
    o.SetGridStyle(TPipeLoopOptions::GridDashDot);
    o.SnapToGrid = false;
    o.SupplierEMail = QStringLiteral("orders@example.com");
    o.PartsPriceListFile = QStringLiteral("C:\\Prices\\2024 list.ppl");
    o.ShowAllSizes = false;
    o.SetPipeColourOption(1);
    return o;
}

IniFile ProjectWithOptions(const QString& optionsLines)
{
    return IniFile::fromText(QStringLiteral("[Options]\r\n") + optionsLines);
}

const QStringList RegistryWriteOrder = {"GridSpacing",         "SnapToGrid",
                                        "GridColour",          "ShiftWheelScrollLeftRight",
                                        "GridStyle",           "SupplierEMail",
                                        "PartsPriceListFile",  "ShowAllSizes",
                                        "SelectColour",        "HighlightColour",
                                        "BuildingWallColour",  "DrawWalls",
                                        "BuildFeaturesColour", "BuildFeaturesStyle",
                                        "BuildingWallStyle",   "PrintInColour",
                                        "MainPipeColour",      "NonPipeLoopPipeColour",
                                        "110mmPipeColour",     "32mmPipeColour",
                                        "80mmPipeColour",      "63mmPipeColour",
                                        "50mmPipeColour",      "40mmPipeColour",
                                        "25mmPipeColour",      "20mmPipeColour",
                                        "PipeColourOption",    "HeaderMargin",
                                        "SymbolSize",          "PrintGrids",
                                        "PrintNotes",          "PrintDropsPage",
                                        "SymbolNamesOnPlan",   "SymbolNamesOnSection",
                                        "DrawSymbolsOnDrops",  "PrintPipeColourTable"};

} // namespace

// ---------------------------------------------------------------------------
// Registry

TEST(OptionsRegistry, FreshOptionsWriteTheirInitialValues)
{
    InspectableStore store;
    TPipeLoopOptions().SaveToRegistry(store);
    const std::map<QString, int> numbers = {{"GridSpacing", 1000},
                                            {"SnapToGrid", 1},
                                            {"GridColour", 12632256},
                                            {"ShiftWheelScrollLeftRight", 0},
                                            {"GridStyle", 2},
                                            {"ShowAllSizes", 1},
                                            {"SelectColour", 12632256},
                                            {"HighlightColour", 255},
                                            {"BuildingWallColour", 7566265},
                                            {"DrawWalls", 1},
                                            {"BuildFeaturesColour", 255},
                                            {"BuildFeaturesStyle", 6},
                                            {"BuildingWallStyle", 7},
                                            {"PrintInColour", 1},
                                            {"MainPipeColour", 0},
                                            {"NonPipeLoopPipeColour", 8421504},
                                            {"110mmPipeColour", 16711680},
                                            {"80mmPipeColour", 16750848},
                                            {"63mmPipeColour", 16737792},
                                            {"50mmPipeColour", 13369344},
                                            {"40mmPipeColour", 13408640},
                                            {"32mmPipeColour", 13408512},
                                            {"25mmPipeColour", 16776960},
                                            {"20mmPipeColour", 16777120},
                                            {"PipeColourOption", 2},
                                            {"HeaderMargin", 25},
                                            {"SymbolSize", 4},
                                            {"PrintGrids", 1},
                                            {"PrintNotes", 0},
                                            {"PrintDropsPage", 0},
                                            {"SymbolNamesOnPlan", 0},
                                            {"SymbolNamesOnSection", 0},
                                            {"DrawSymbolsOnDrops", 0},
                                            {"PrintPipeColourTable", 0}};
    for (const auto& [name, value] : numbers) {
        const QVariant stored = store.raw(name);
        EXPECT_EQ(stored.typeId(), QMetaType::Int) << name.toStdString();
        EXPECT_EQ(stored.toInt(), value) << name.toStdString();
    }
    for (const QString& name :
         {QStringLiteral("SupplierEMail"), QStringLiteral("PartsPriceListFile")}) {
        EXPECT_EQ(store.raw(name).typeId(), QMetaType::QString) << name.toStdString();
        EXPECT_EQ(store.raw(name).toString(), QString());
    }
    EXPECT_EQ(store.names().size(), 36);
}

TEST(OptionsRegistry, KeysAreWrittenAndReadInTheirOrders)
{
    InspectableStore store;
    TPipeLoopOptions().SaveToRegistry(store);
    EXPECT_EQ(store.names(), RegistryWriteOrder);

    TPipeLoopOptions loaded;
    ASSERT_TRUE(loaded.LoadFromRegistry(store));
    const QStringList readOrder = {"GridSpacing",
                                   "SnapToGrid",
                                   "GridColour",
                                   "SupplierEMail",
                                   "PartsPriceListFile",
                                   "ShowAllSizes",
                                   "ShiftWheelScrollLeftRight",
                                   "GridStyle",
                                   "PipeColourOption",
                                   "SelectColour",
                                   "HighlightColour",
                                   "BuildingWallColour",
                                   "DrawWalls",
                                   "BuildFeaturesColour",
                                   "BuildingWallStyle",
                                   "BuildFeaturesStyle",
                                   "PrintInColour",
                                   "MainPipeColour",
                                   "NonPipeLoopPipeColour",
                                   "110mmPipeColour",
                                   "80mmPipeColour",
                                   "63mmPipeColour",
                                   "50mmPipeColour",
                                   "40mmPipeColour",
                                   "32mmPipeColour",
                                   "25mmPipeColour",
                                   "20mmPipeColour",
                                   "HeaderMargin",
                                   "SymbolSize",
                                   "PrintGrids",
                                   "PrintNotes",
                                   "PrintDropsPage",
                                   "SymbolNamesOnPlan",
                                   "SymbolNamesOnSection",
                                   "DrawSymbolsOnDrops",
                                   "PrintPipeColourTable"};
    EXPECT_EQ(store.reads, readOrder);
}

TEST(OptionsRegistry, RoundTripsThroughBothStores)
{
    ExpectRegistryRoundTrip(Customised());
}

TEST(OptionsRegistry, AKeyNeverWrittenLeavesTheOptionsAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    NativeSettingsStore native(dir.filePath(QStringLiteral("none.ini")));
    MemorySettingsStore memory;
    for (const SettingsStore* store :
         {static_cast<const SettingsStore*>(&native), static_cast<const SettingsStore*>(&memory)}) {
        TPipeLoopOptions options = Customised();
        EXPECT_FALSE(options.LoadFromRegistry(*store));
        EXPECT_EQ(options, Customised());
    }
}

TEST(OptionsRegistry, MissingOrUnreadableValuesKeepWhatIsHeldSilently)
{
    ScriptedUi ui;
    MemorySettingsStore store;
    store.writeInt(QStringLiteral("HeaderMargin"), 40);
    store.setRaw(QStringLiteral("GridSpacing"), QStringLiteral("wide"));
    store.setRaw(QStringLiteral("SymbolSize"), QVariant(5000000000LL)); // beyond 32 bits
    store.setRaw(QStringLiteral("DrawWalls"), QStringLiteral("yes"));

    TPipeLoopOptions options = Customised();
    ASSERT_TRUE(options.LoadFromRegistry(store));
    EXPECT_EQ(options.HeaderMargin, 40);
    EXPECT_EQ(options.GridSpacing, 250);
    EXPECT_EQ(options.SymbolSize, 7);
    EXPECT_FALSE(options.DrawWalls);
    EXPECT_EQ(options.GridColour, 777);
    EXPECT_EQ(options.SizePipeColours, Customised().SizePipeColours);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST(OptionsRegistry, PartsSettingsFallBackToTheirInitialValues)
{
    MemorySettingsStore store;
    store.writeInt(QStringLiteral("GridSpacing"), 500);
    TPipeLoopOptions options = Customised();
    ASSERT_TRUE(options.LoadFromRegistry(store));
    EXPECT_EQ(options.SupplierEMail, QString());
    EXPECT_EQ(options.PartsPriceListFile, QString());
    EXPECT_TRUE(options.ShowAllSizes);
    EXPECT_EQ(options.GridSpacing, 500);
}

TEST(OptionsRegistry, ValuesOutsideTheirRangesAreBroughtBack)
{
    struct Case {
        const char* key;
        int stored;
        int expected;
    };
    const Case cases[] = {
        {"BuildingWallStyle", 1, 0},
        {"BuildingWallStyle", 9, 0},
        {"BuildingWallStyle", 5, 5},
        {"BuildingWallStyle", -3, 0},
        {"BuildFeaturesStyle", 1, 0},
        {"BuildFeaturesStyle", 2, 2},
        {"BuildFeaturesStyle", 8, 0},
        {"GridStyle", 7, 2},
        {"GridStyle", 4, 4},
        {"GridStyle", -1, 2},
        {"PipeColourOption", 1, 1},
        {"PipeColourOption", 3, 0},
        {"PipeColourOption", -2, 0},
        // Sizes that would break drawing and page layout are held to their bounds.
        {"SymbolSize", 0, 1},
        {"SymbolSize", -5, 1},
        {"SymbolSize", 500, 20},
        {"SymbolSize", 7, 7},
        {"HeaderMargin", -10, 0},
        {"HeaderMargin", 1000, 100},
        {"HeaderMargin", 40, 40},
    };
    for (const Case& c : cases) {
        const QString key = QString::fromLatin1(c.key);
        MemorySettingsStore store;
        store.writeInt(key, c.stored);
        TPipeLoopOptions options;
        ASSERT_TRUE(options.LoadFromRegistry(store));
        MemorySettingsStore resaved;
        options.SaveToRegistry(resaved);
        EXPECT_EQ(resaved.RegReadInt(key, -99), c.expected) << c.key << " " << c.stored;
    }
}

// A settings file edited by hand holds every value as text.
TEST(OptionsRegistry, AHandEditedSettingsFileGetsTheSameRules)
{
    TPipeLoopOptions options;
    ASSERT_TRUE(LoadFromSettingsFile(
        options, "[PL4ZAVOZA]\nGridSpacing=500\nBuildingWallStyle=1\nBuildFeaturesStyle=5\n"
                 "GridStyle=7\nPipeColourOption=9\nSymbolSize=big\nDrawWalls=0\n"
                 "SupplierEMail=parts@example.com\n"));
    EXPECT_EQ(options.GridSpacing, 500);
    EXPECT_EQ(options.BuildingWallStyle(), TPipeLoopOptions::BrushSolid);
    EXPECT_EQ(options.BuildFeaturesStyle(), TPipeLoopOptions::BrushBackwardDiagonal);
    EXPECT_EQ(options.GridStyle(), TPipeLoopOptions::GridDot);
    EXPECT_EQ(options.PipeColourOption(), PipeColourScheme::OneColour);
    EXPECT_EQ(options.SymbolSize, 4);
    EXPECT_FALSE(options.DrawWalls);
    EXPECT_EQ(options.SupplierEMail, QStringLiteral("parts@example.com"));
}

// ---------------------------------------------------------------------------
// Project files

TEST(OptionsProject, NotSavedWritesOnlyTheFlag)
{
    IniFile ini;
    TPipeLoopOptions options = Customised();
    options.Saved = false;
    options.SaveToProject(ini);
    EXPECT_EQ(ini.keyNames(u"Options"), QStringList{"Saved"});
    EXPECT_EQ(ini.readString(u"Options", u"Saved", {}), QStringLiteral("0"));
}

TEST(OptionsProject, SavedWritesEveryOptionInOrder)
{
    IniFile ini;
    TPipeLoopOptions options;
    options.Saved = true;
    options.SaveToProject(ini);
    const QStringList expected = {"Saved",
                                  "GridSpacing",
                                  "GridColour",
                                  "SnapToGrid",
                                  "ShiftWheelScrollLeftRight",
                                  "GridStyle",
                                  "PipeColourOption",
                                  "SelectColour",
                                  "HighlightColour",
                                  "BuildingWallColour",
                                  "DrawWalls",
                                  "BuildFeaturesColour",
                                  "BuildFeaturesStyle",
                                  "BuildingWallStyle",
                                  "PrintInColour",
                                  "MainPipeColour",
                                  "NonPipeLoopPipeColour",
                                  "110mmPipeColour",
                                  "32mmPipeColour",
                                  "80mmPipeColour",
                                  "63mmPipeColour",
                                  "50mmPipeColour",
                                  "40mmPipeColour",
                                  "25mmPipeColour",
                                  "20mmPipeColour",
                                  "HeaderMargin",
                                  "SymbolSize",
                                  "PrintGrids",
                                  "PrintNotes",
                                  "PrintDropsPage",
                                  "SymbolNamesOnPlan",
                                  "SymbolNamesOnSection",
                                  "DrawSymbolsOnDrops",
                                  "PrintPipeColourTable"};
    EXPECT_EQ(ini.keyNames(u"Options"), expected);
    EXPECT_EQ(
        QString::fromLatin1(ini.toBytes()),
        QStringLiteral("[Options]\r\nSaved=1\r\nGridSpacing=1000\r\nGridColour=12632256\r\n"
                       "SnapToGrid=1\r\nShiftWheelScrollLeftRight=0\r\nGridStyle=2\r\n"
                       "PipeColourOption=2\r\nSelectColour=12632256\r\nHighlightColour=255\r\n"
                       "BuildingWallColour=7566265\r\nDrawWalls=1\r\nBuildFeaturesColour=255\r\n"
                       "BuildFeaturesStyle=6\r\nBuildingWallStyle=7\r\nPrintInColour=1\r\n"
                       "MainPipeColour=0\r\nNonPipeLoopPipeColour=8421504\r\n"
                       "110mmPipeColour=16711680\r\n32mmPipeColour=13408512\r\n"
                       "80mmPipeColour=16750848\r\n63mmPipeColour=16737792\r\n"
                       "50mmPipeColour=13369344\r\n40mmPipeColour=13408640\r\n"
                       "25mmPipeColour=16776960\r\n20mmPipeColour=16777120\r\n"
                       "HeaderMargin=25\r\nSymbolSize=4\r\nPrintGrids=1\r\nPrintNotes=0\r\n"
                       "PrintDropsPage=0\r\nSymbolNamesOnPlan=0\r\nSymbolNamesOnSection=0\r\n"
                       "DrawSymbolsOnDrops=0\r\nPrintPipeColourTable=0\r\n\r\n"));
}

TEST(OptionsProject, RoundTripsThroughTheFileText)
{
    TPipeLoopOptions saved = Customised();
    saved.Saved = true;
    IniFile ini;
    saved.SaveToProject(ini);

    TPipeLoopOptions loaded;
    loaded.SetProjectSettingsMode(1);
    ASSERT_TRUE(loaded.LoadFromProject(IniFile::fromBytes(ini.toBytes())));
    EXPECT_TRUE(loaded.LoadedFromProject());
    IniFile again;
    loaded.SaveToProject(again);
    EXPECT_EQ(again.toBytes(), ini.toBytes());
    // The registry-only values do not travel.
    EXPECT_EQ(loaded.SupplierEMail, QString());
    EXPECT_EQ(loaded.PartsPriceListFile, QString());
    EXPECT_TRUE(loaded.ShowAllSizes);
}

TEST(OptionsProject, MissingKeysKeepWhatIsHeldButTheShiftWheelTurnsOff)
{
    TPipeLoopOptions options = Customised();
    options.SetProjectSettingsMode(1);
    ASSERT_TRUE(options.LoadFromProject(
        ProjectWithOptions(QStringLiteral("Saved=1\r\nGridSpacing=500\r\nSymbolSize=x\r\n"))));
    EXPECT_EQ(options.GridSpacing, 500);
    EXPECT_EQ(options.SymbolSize, 7);            // unreadable
    EXPECT_EQ(options.BuildFeaturesColour, 444); // missing
    EXPECT_EQ(options.BuildingWallStyle(), TPipeLoopOptions::BrushForwardDiagonal);
    EXPECT_FALSE(options.ShiftWheelScrollLeftRight);
    EXPECT_EQ(options.SupplierEMail, QStringLiteral("orders@example.com"));
}

TEST(OptionsProject, ValuesOutsideTheirRangesAreBroughtBack)
{
    TPipeLoopOptions options;
    options.SetProjectSettingsMode(1);
    ASSERT_TRUE(options.LoadFromProject(ProjectWithOptions(
        QStringLiteral("Saved=1\r\nBuildingWallStyle=1\r\nBuildFeaturesStyle=9\r\nGridStyle=7\r\n"
                       "PipeColourOption=4\r\nSymbolSize=0\r\nHeaderMargin=-25\r\n"))));
    EXPECT_EQ(options.BuildingWallStyle(), TPipeLoopOptions::BrushSolid);
    EXPECT_EQ(options.SymbolSize, 1);
    EXPECT_EQ(options.HeaderMargin, 0);
    EXPECT_EQ(options.BuildFeaturesStyle(), TPipeLoopOptions::BrushSolid);
    EXPECT_EQ(options.GridStyle(), TPipeLoopOptions::GridDot);
    EXPECT_EQ(options.PipeColourOption(), PipeColourScheme::OneColour);
}

TEST(OptionsProject, AFileWithoutSavedOptionsIsNotTakenAndClearsSaved)
{
    ScriptedUi ui;
    for (const QString& lines : {QString(), QStringLiteral("Saved=0\r\nGridSpacing=500\r\n")}) {
        TPipeLoopOptions options = Customised();
        options.Saved = true;
        EXPECT_FALSE(options.LoadFromProject(ProjectWithOptions(lines)));
        EXPECT_FALSE(options.Saved);
        EXPECT_EQ(options.GridSpacing, 250);
        EXPECT_FALSE(options.LoadedFromProject());
    }
    EXPECT_TRUE(ui.questions.isEmpty());
}

// ---------------------------------------------------------------------------
// Project settings mode and registry update mode

TEST(OptionsModes, BothModesStartAtAskAndOnlyNeverAndAlwaysStay)
{
    TPipeLoopOptions options;
    EXPECT_EQ(options.ProjectSettingsMode(), SettingsMode::Ask);
    EXPECT_EQ(options.RegistryUpdateMode(), SettingsMode::Ask);
    const std::pair<int, SettingsMode> cases[] = {{0, SettingsMode::Never},
                                                  {1, SettingsMode::Always},
                                                  {2, SettingsMode::Ask},
                                                  {3, SettingsMode::Ask},
                                                  {-1, SettingsMode::Ask}};
    for (const auto& [value, mode] : cases) {
        options.SetProjectSettingsMode(value);
        options.SetRegistryUpdateMode(value);
        EXPECT_EQ(options.ProjectSettingsMode(), mode) << value;
        EXPECT_EQ(options.RegistryUpdateMode(), mode) << value;
    }
}

TEST(OptionsModes, ProjectSettingsModeDecidesWhetherSavedOptionsAreTaken)
{
    const IniFile project = ProjectWithOptions(QStringLiteral("Saved=1\r\nGridSpacing=500\r\n"));
    struct Case {
        int mode;
        std::deque<bool> answers;
        bool taken;
        int questions;
    };
    const Case cases[] = {
        {1, {}, true, 0}, {0, {}, false, 0}, {2, {true}, true, 1}, {2, {false}, false, 1}};
    for (const Case& c : cases) {
        ScriptedUi ui;
        ui.confirmAnswers = c.answers;
        TPipeLoopOptions options;
        options.SetProjectSettingsMode(c.mode);
        EXPECT_EQ(options.LoadFromProject(project), c.taken) << c.mode;
        EXPECT_EQ(options.LoadedFromProject(), c.taken);
        EXPECT_EQ(options.GridSpacing, c.taken ? 500 : 1000);
        EXPECT_TRUE(options.Saved);
        ASSERT_EQ(ui.questions.size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(ui.questions.front(), QStringLiteral("Load project file settings ?"));
        }
    }
}

TEST(OptionsModes, OptionsNotFromAProjectAlwaysMayUpdateTheRegistry)
{
    ScriptedUi ui;
    TPipeLoopOptions options;
    for (int mode : {0, 1, 2}) {
        options.SetRegistryUpdateMode(mode);
        EXPECT_TRUE(options.MayUpdateRegistry());
    }
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST(OptionsModes, RegistryUpdateModeDecidesAfterAProjectWasTaken)
{
    struct Case {
        int mode;
        std::deque<bool> answers;
        bool mayUpdate;
        int questions;
    };
    const Case cases[] = {
        {0, {}, false, 0}, {1, {}, true, 0}, {2, {true}, true, 1}, {2, {false}, false, 1}};
    for (const Case& c : cases) {
        TPipeLoopOptions options;
        options.SetProjectSettingsMode(1);
        ASSERT_TRUE(options.LoadFromProject(ProjectWithOptions(QStringLiteral("Saved=1\r\n"))));
        options.SetRegistryUpdateMode(c.mode);
        ScriptedUi ui;
        ui.confirmAnswers = c.answers;
        EXPECT_EQ(options.MayUpdateRegistry(), c.mayUpdate) << c.mode;
        ASSERT_EQ(ui.questions.size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(ui.questions.front(), QStringLiteral("Update registry from project file ?"));
        }
    }
}

// A whole run: start from the registry, open a project that carries a grid of
// 500, exit saying No to updating the registry.
TEST(OptionsModes, ProjectGridIsUsedButTheRegistryKeepsTheUsersGrid)
{
    MemorySettingsStore registry;
    TPipeLoopOptions().SaveToRegistry(registry);

    TPipeLoopOptions options;
    options.LoadFromRegistry(registry);
    options.SetProjectSettingsMode(1);
    ASSERT_TRUE(options.LoadFromProject(
        ProjectWithOptions(QStringLiteral("Saved=1\r\nGridSpacing=500\r\n"))));
    EXPECT_EQ(options.GridSpacing, 500);

    ScriptedUi ui;
    ui.confirmAnswers = {false};
    if (options.MayUpdateRegistry())
        options.SaveToRegistry(registry);
    EXPECT_EQ(ui.questions, QStringList{"Update registry from project file ?"});
    EXPECT_EQ(registry.RegReadInt(QStringLiteral("GridSpacing"), 0), 1000);
}

TEST(OptionsModes, NeverUsingProjectSettingsStillAdoptsTheSavedChoice)
{
    TPipeLoopOptions options;
    options.GridSpacing = 750;
    options.SetProjectSettingsMode(0);
    EXPECT_FALSE(options.LoadFromProject(
        ProjectWithOptions(QStringLiteral("Saved=1\r\nGridSpacing=500\r\nSymbolSize=9\r\n"))));
    TPipeLoopOptions unchanged;
    unchanged.GridSpacing = 750;
    unchanged.SetProjectSettingsMode(0);
    unchanged.Saved = true;
    EXPECT_EQ(options, unchanged);

    IniFile next;
    options.SaveToProject(next);
    EXPECT_EQ(next.readInteger(u"Options", u"GridSpacing", 0), 750);
    EXPECT_EQ(next.readInteger(u"Options", u"SymbolSize", 0), 4);
}

// ---------------------------------------------------------------------------
// Setters

TEST(OptionsSetters, HatchesAllowOnlyTheSixHatchedStyles)
{
    TPipeLoopOptions options;
    for (int style = -1; style <= 9; ++style) {
        options.SetBuildingWallStyle(style);
        options.SetBuildFeaturesStyle(style);
        const int expected = style >= 2 && style <= 7 ? style : 0;
        EXPECT_EQ(options.BuildingWallStyle(), expected) << style;
        EXPECT_EQ(options.BuildFeaturesStyle(), expected) << style;
    }
}

TEST(OptionsSetters, PipeColourForSizeSetsOnlyTheEightPanelSizes)
{
    TPipeLoopOptions options;
    const auto before = options.SizePipeColours;
    options.SetPipeColourForSize(63.0f, 1);
    options.SetPipeColourForSize(110.0004f, 2); // the same size at a thousandth of a mm
    options.SetPipeColourForSize(65.0f, 3);
    options.SetPipeColourForSize(6.35f, 4);
    options.SetPipeColourForSize(0.0f, 5);
    auto expected = before;
    expected[5] = 1;
    expected[7] = 2;
    EXPECT_EQ(options.SizePipeColours, expected);
    EXPECT_EQ(options.MainPipeColour, 0);
}

// ---------------------------------------------------------------------------
// Colour and grid queries

TEST(OptionsColours, BySizeTakesTheColourOfTheNextSizeUp)
{
    TPipeLoopOptions options;
    options.MainPipeColour = 42;
    const auto& c = options.SizePipeColours;
    const std::pair<float, WinColour> cases[] = {
        {16.0f, c[0]}, {20.0f, c[0]},  {20.0004f, c[0]}, {20.001f, c[1]}, {25.0f, c[1]},
        {32.0f, c[2]}, {33.0f, c[3]},  {50.0f, c[4]},    {63.0f, c[5]},   {75.0f, c[6]},
        {90.0f, c[7]}, {110.0f, c[7]}, {125.0f, 42},     {0.0f, c[0]},
    };
    for (const auto& [size, colour] : cases) {
        EXPECT_EQ(options.PipeColourFor(false, false, size), colour) << size;
        EXPECT_EQ(options.PipeColourFor(true, true, size), colour) << size;
    }
}

TEST(OptionsColours, OtherSchemesUseTheMainAndNonLoopColours)
{
    TPipeLoopOptions options;
    options.MainPipeColour = 42;
    options.NonPipeLoopPipeColour = 43;
    options.SetPipeColourOption(1);
    EXPECT_EQ(options.PipeColourFor(false, false, 50.0f), 42);
    EXPECT_EQ(options.PipeColourFor(true, false, 50.0f), 43);
    options.SetPipeColourOption(0);
    EXPECT_EQ(options.PipeColourFor(false, false, 50.0f), 42);
    EXPECT_EQ(options.PipeColourFor(true, false, 20.0f), 42);
}

TEST(OptionsColours, PrintingWithoutColourIsBlackWithASilverGrid)
{
    TPipeLoopOptions options;
    options.MainPipeColour = 42;
    options.GridColour = 99;
    EXPECT_EQ(options.GridColourFor(), 99);
    options.PrintInColour = false;
    for (int scheme : {0, 1, 2}) {
        options.SetPipeColourOption(scheme);
        for (float size : {20.0f, 63.0f, 200.0f}) {
            EXPECT_EQ(options.PipeColourFor(false, true, size), 0);
            EXPECT_EQ(options.PipeColourFor(true, true, size), 0);
        }
    }
    EXPECT_EQ(options.GridColourFor(), 12632256);
    EXPECT_EQ(options.FeatureColour(ObjectState::Normal, 300, true), 0);
    // The screen keeps its colours.
    EXPECT_EQ(options.PipeColourFor(false, false, 200.0f), 42);
}

TEST(OptionsColours, ObjectsShowSelectionOnScreenAndPipeColourOtherwise)
{
    TPipeLoopOptions options;
    options.SelectColour = 1;
    options.HighlightColour = 2;
    const WinColour size50 = options.SizePipeColours[4];
    const WinColour size25 = options.SizePipeColours[1];

    EXPECT_EQ(options.ObjectColour(ObjectKind::Drain, ObjectState::Selected, 0, false, false), 1);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Valve, ObjectState::Highlighted, 0, false, false),
              2);
    // Printing ignores the state.
    EXPECT_EQ(options.ObjectColour(ObjectKind::Elbow, ObjectState::Selected, 50, true, false),
              size50);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Elbow, ObjectState::Normal, 50, false, false),
              size50);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Spur, ObjectState::Normal, 25, false, false),
              size25);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Drop, ObjectState::Normal, 25, false, false), 0);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Drop, ObjectState::Normal, 25, false, true), size25);
    for (ObjectKind other :
         {ObjectKind::Valve, ObjectKind::Drain, ObjectKind::Inlet, ObjectKind::BuildFeature})
        EXPECT_EQ(options.ObjectColour(other, ObjectState::Normal, 25, false, true), 0);

    // Under the loop-and-others scheme spurs and drops are not the loop.
    options.SetPipeColourOption(1);
    options.NonPipeLoopPipeColour = 7;
    EXPECT_EQ(options.ObjectColour(ObjectKind::Spur, ObjectState::Normal, 50, false, false), 7);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Drop, ObjectState::Normal, 50, false, true), 7);
    EXPECT_EQ(options.ObjectColour(ObjectKind::Elbow, ObjectState::Normal, 50, false, true), 0);
}

TEST(OptionsColours, DesignObjectsAreColouredByTheirOwnSizes)
{
    TPipeLoopOptions options;
    options.SelectColour = 1;
    TPipeLoop design(options);
    design.PipeSize = 63.0f;
    TElbow elbow;
    TSpur spur;
    spur.PipeSize = 25.0f;
    TDrop drop;
    drop.OutletSize = 32.0f;
    drop.State = ObjectState::Selected;
    TValve valve;
    const auto& c = options.SizePipeColours;
    EXPECT_EQ(options.ObjectColour(design, elbow, false, false), c[5]);
    EXPECT_EQ(options.ObjectColour(design, spur, false, false), c[1]);
    EXPECT_EQ(options.ObjectColour(design, drop, false, true), 1);
    EXPECT_EQ(options.ObjectColour(design, drop, true, true), c[2]);
    EXPECT_EQ(options.ObjectColour(design, valve, false, true), 0);

    TBuildFeature feature;
    feature.State = ObjectState::Selected;
    EXPECT_EQ(options.FeatureColour(feature, 300, false), 1);
    EXPECT_EQ(options.FeatureColour(feature, 300, true), 300);
}

TEST(OptionsColours, FeaturesShowSelectionOnScreenOnly)
{
    TPipeLoopOptions options;
    options.SelectColour = 1;
    options.HighlightColour = 2;
    EXPECT_EQ(options.FeatureColour(ObjectState::Normal, 300, false), 300);
    EXPECT_EQ(options.FeatureColour(ObjectState::Selected, 300, false), 1);
    EXPECT_EQ(options.FeatureColour(ObjectState::Highlighted, 300, false), 2);
    EXPECT_EQ(options.FeatureColour(ObjectState::Selected, 300, true), 300);
}

TEST(OptionsColours, GridShowsWhenItHasASpacingAndOnPaperWhenPrinted)
{
    TPipeLoopOptions options;
    EXPECT_TRUE(options.ShowGrid(false));
    EXPECT_TRUE(options.ShowGrid(true));
    options.PrintGrids = false;
    EXPECT_TRUE(options.ShowGrid(false));
    EXPECT_FALSE(options.ShowGrid(true));
    options.PrintGrids = true;
    for (int spacing : {0, -500}) {
        options.GridSpacing = spacing;
        EXPECT_FALSE(options.ShowGrid(false));
        EXPECT_FALSE(options.ShowGrid(true));
    }
}
