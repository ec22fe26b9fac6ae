// The project file: golden files written by hand
// (tests/data/projects), the byte form, every section's keys and defaults,
// the legacy keys, the options and print setup that travel with a project,
// the header check, the version check and the locale of reals.

#include "ProjectFileTest.h"

#include <QTemporaryDir>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

class ProjectFormat : public ::testing::Test
{
protected:
    ScriptedUi ui;
    ScopedLocale locale{LocaleFacts{}}; // full stop
    Session s;
};

// ---------------------------------------------------------------- golden files

TEST_F(ProjectFormat, LegacyFileLoadsAndSavesAsTheHandWrittenExpectation)
{
    ASSERT_TRUE(s.open(ProjectData("legacy.plf"))) << ui.texts().join("|").toStdString();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(ui.questions.isEmpty()); // Saved=0: nothing to ask
    EXPECT_TRUE(SameBytes(Expected("legacy.expected.plf"), s.bytes()));

    QTemporaryDir dir;
    const QString path = dir.filePath("saved.plf");
    ASSERT_TRUE(s.save(path));
    EXPECT_TRUE(SameBytes(Expected("legacy.expected.plf"), ReadBytes(path)));
}

TEST_F(ProjectFormat, LegacyFileGivesTheValuesOfEveryRule)
{
    ASSERT_TRUE(s.open(ProjectData("legacy.plf")));
    const TPipeLoop& d = *s.design;
    EXPECT_EQ(s.zoom, (ZoomFactors{25, 30, 16, 20, 20})); // hex, unreadable, missing
    EXPECT_EQ(d.Description, "Legacy workshop");
    EXPECT_EQ(d.Units, DisplayUnits::Metres);  // UseMM=0
    EXPECT_EQ(d.RoomHG, 3500);                 // Building Height wins over RoomHG
    EXPECT_EQ(d.PipeSize, 63.5f);              // "63,5" under a full-stop locale
    EXPECT_EQ(d.DefaultOutletSize, 25.0f);     // unparsable
    EXPECT_EQ(d.PipeColour, PipeColour::Blue); // "green": case matters
    ASSERT_EQ(d.Elbows.size(), 5u);
    EXPECT_EQ(d.Elbows[2]->VerticalDrop, 300); // key "Verticaldrop"
    EXPECT_EQ(d.Elbows[3]->NS, 8000);          // section [ELBOW4], lower-case keys
    EXPECT_EQ(d.Elbows[4]->Name, "Elbow5");    // no Name: the section's name
    ASSERT_EQ(d.Drops.size(), 3u);
    const TDrop& hose = *d.Drops[0];
    ASSERT_EQ(hose.SymbolCount(), 4);
    EXPECT_EQ(hose.SymbolName(0), "COUPLER");
    EXPECT_EQ(hose.SymbolName(1), "AIR-HOSE");
    EXPECT_EQ(hose.SymbolName(2), "COUPLER");
    EXPECT_EQ(hose.SymbolName(3), "FILTER");
    EXPECT_EQ(hose.SymbolPart(3), "F-100");
    EXPECT_EQ(hose.SymbolPart(1), "");
    EXPECT_EQ(d.Drops[1]->Style, DropStyle::Tee);
    EXPECT_EQ(d.Drops[1]->HoseSize, 0.0f);   // 12 in the file, not a female style
    EXPECT_EQ(d.Drops[1]->SymbolCount(), 0); // HoseType ignored for a tee
    EXPECT_EQ(d.Drops[2]->Name, "Drop3");    // an empty section: the defaults
    EXPECT_EQ(d.Drops[2]->position(), Position{});
    ASSERT_EQ(d.Valves.size(), 3u);
    EXPECT_EQ(d.Valves[0]->Angle, 0.0f);   // Vertical
    EXPECT_EQ(d.Valves[1]->Angle, 0.0f);   // Rotate
    EXPECT_EQ(d.Valves[2]->Angle, HalfPi); // neither
    EXPECT_EQ(d.Drains[0]->PipeLen, 500);  // 0x1F4
    EXPECT_EQ(d.Drains[1]->PipeLen, 150);  // the later of a repeated key
    EXPECT_EQ(d.Spurs[0]->PipeSize, 0.0f); // unparsable
    EXPECT_EQ(d.Spurs[1]->Name, "SPUR2");  // the later of a repeated section
    EXPECT_EQ(d.Notes,
              (QStringList{"First line of the notes", "", "Third line, after an empty one"}));
}

TEST_F(ProjectFormat, OptionsTakenFromTheFileAreSavedBackWithTheirValueRules)
{
    s.options.SetProjectSettingsMode(1); // always
    ASSERT_TRUE(s.open(ProjectData("options.cph")));
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_TRUE(s.options.Saved);
    EXPECT_TRUE(s.options.LoadedFromProject());
    EXPECT_EQ(s.options.GridSpacing, 500);
    EXPECT_EQ(s.options.GridStyle(), 2);           // 7
    EXPECT_EQ(s.options.BuildingWallStyle(), 0);   // 1, clear
    EXPECT_EQ(s.options.BuildFeaturesStyle(), 0);  // 9
    EXPECT_EQ(s.options.BuildFeaturesColour, 255); // missing: the value held
    EXPECT_EQ(s.printSetup.PrintScaling(ViewKind::North), 1000);
    EXPECT_EQ(s.printSetup.PrintScaling(ViewKind::East), 150);
    EXPECT_EQ(s.printSetup.PrinterName, "Workshop Laser");
    EXPECT_TRUE(s.design->CompressorHouse);
    EXPECT_EQ(s.design->Units, DisplayUnits::FeetInches);
    EXPECT_EQ(s.design->PipeColour, PipeColour::Green);
    EXPECT_EQ(s.design->Drops[0]->Style, DropStyle::FemaleQuick); // "Female_Quick"
    EXPECT_EQ(s.zoom, (ZoomFactors{10, 12, 14, 16, 18}));
    EXPECT_TRUE(SameBytes(Expected("options.expected.cph"), s.bytes()));
}

TEST_F(ProjectFormat, TakenOptionsKeepTheValuesHeldForMissingKeys)
{
    // options.cph has neither ShiftWheelScrollLeftRight nor BuildFeaturesColour.
    s.options.SetProjectSettingsMode(1);
    s.options.ShiftWheelScrollLeftRight = true;
    s.options.BuildFeaturesColour = 4242;
    s.printSetup.SetLandscape(ViewKind::South, false);
    ASSERT_TRUE(s.open(ProjectData("options.cph")));
    EXPECT_FALSE(s.options.ShiftWheelScrollLeftRight); // the rules: this one becomes false
    EXPECT_EQ(s.options.BuildFeaturesColour, 4242);
    EXPECT_FALSE(s.printSetup.Landscape(ViewKind::South)); // LandscapeSOUTH is missing
    EXPECT_TRUE(s.printSetup.Landscape(ViewKind::East));   // "2" is true
}

TEST_F(ProjectFormat, AskModeAsksAndYesTakesTheOptions)
{
    ui.confirmAnswers = {true};
    ASSERT_TRUE(s.open(ProjectData("options.cph")));
    EXPECT_EQ(ui.questions, QStringList{"Load project file settings ?"});
    EXPECT_TRUE(SameBytes(Expected("options.expected.cph"), s.bytes()));
}

TEST_F(ProjectFormat, DecliningKeepsTheOwnOptionsButTakesSaved)
{
    ui.confirmAnswers = {false};
    ASSERT_TRUE(s.open(ProjectData("options.cph")));
    EXPECT_EQ(ui.questions, QStringList{"Load project file settings ?"});
    EXPECT_TRUE(s.options.Saved);
    EXPECT_FALSE(s.options.LoadedFromProject());
    EXPECT_EQ(s.options.GridSpacing, 1000);
    EXPECT_EQ(s.printSetup, PrintSetup());
    // The next save writes the user's own options into the project.
    EXPECT_TRUE(SameBytes(Expected("options-not-taken.expected.cph"), s.bytes()));
}

TEST_F(ProjectFormat, NeverModeDoesNotAsk)
{
    s.options.SetProjectSettingsMode(0);
    ASSERT_TRUE(s.open(ProjectData("options.cph")));
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_TRUE(SameBytes(Expected("options-not-taken.expected.cph"), s.bytes()));
}

TEST_F(ProjectFormat, FileOfAnOlderReleaseOpensAndSavesInTheCurrentForm)
{
    ASSERT_TRUE(CheckProjectHeader(ProjectData("old-release.plf")));
    ASSERT_TRUE(s.open(ProjectData("old-release.plf")));
    EXPECT_EQ(s.design->Units, DisplayUnits::Millimetres); // neither Units nor UseMM
    EXPECT_EQ(s.design->RoomHG, 2700);                     // Building Height 0
    EXPECT_TRUE(SameBytes(Expected("old-release.expected.plf"), s.bytes()));
}

TEST_F(ProjectFormat, ExpectedFilesAreFixedPoints)
{
    for (const char* name :
         {"legacy.expected.plf", "options.expected.cph", "options-not-taken.expected.cph",
          "old-release.expected.plf", "cp1252.expected.plf"}) {
        SCOPED_TRACE(name);
        Session fresh;
        fresh.options.SetProjectSettingsMode(1);
        QTemporaryDir dir;
        const QString path = dir.filePath("in.plf");
        ASSERT_TRUE(WriteBytes(path, Expected(name)));
        ASSERT_TRUE(fresh.open(path));
        EXPECT_TRUE(SameBytes(Expected(name), fresh.bytes()));
    }
}

TEST_F(ProjectFormat, WindowsCodePageTextSurvivesByteForByte)
{
    ASSERT_TRUE(s.open(ProjectData("cp1252.plf")));
    EXPECT_EQ(s.design->Description, QString::fromUtf8("Straße – Öl-Abscheider €5"));
    EXPECT_EQ(s.design->Notes.value(0), QString::fromUtf8("Müller’s “note” ½"));
    EXPECT_TRUE(SameBytes(Expected("cp1252.expected.plf"), s.bytes()));
}

// ---------------------------------------------------------------- byte form

TEST_F(ProjectFormat, FileBeginsWithTheHeaderAndEndsWithAnEmptyLine)
{
    FillEveryKind(*s.design);
    const QByteArray bytes = s.bytes();
    EXPECT_EQ(bytes.left(22), QByteArray("[PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n\r\n"));
    EXPECT_FALSE(bytes.endsWith("\r\n\r\n\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nPipeLoop_Version=" + ProgramVersion().toLatin1() + "\r\n"));
    // Every line ends with CR LF.
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_EQ(bytes.count('\r'), bytes.count("\r\n"));
}

TEST_F(ProjectFormat, SectionsAndKeysComeInTheWritingOrder)
{
    FillEveryKind(*s.design);
    const IniFile ini = IniFile::fromBytes(s.bytes());
    EXPECT_EQ(ini.sectionNames(),
              (QStringList{"PIPELOOP-FILE-INFO", "Project", "Options", "Building", "PipeLoop",
                           "Elbow1", "Elbow2", "Elbow3", "Elbow4", "Elbow5", "BuildFeature1",
                           "Drain1", "Drop1", "Drop2", "Valve1", "Inlet1", "Spur1", "Notes"}));
    EXPECT_EQ(ini.keyNames(u"Project"),
              (QStringList{"ZoomFactorPLAN", "ZoomFactorNORTH", "ZoomFactorEAST", "ZoomFactorSOUTH",
                           "ZoomFactorWEST", "Description", "CreatedBy", "CustomerCompany", "Units",
                           "CompressorHouse"}));
    EXPECT_EQ(ini.keyNames(u"PipeLoop"),
              (QStringList{"Height", "PipeSize", "DefaultOutletSize", "PipeColour", "Elbows",
                           "Drains", "Drops", "Valves", "Inlets", "Spurs", "BuildFeatures"}));
    EXPECT_EQ(ini.keyNames(u"Building"), (QStringList{"RoomEW", "RoomHG", "RoomNS"}));
    EXPECT_EQ(ini.keyNames(u"Options"), QStringList{"Saved"});
    EXPECT_EQ(
        ini.keyNames(u"Drop1"),
        (QStringList{"NS", "EW", "HG", "Name", "Symbols", "SYM1", "PART1", "SYM2", "SYM3", "PART3",
                     "SYM4", "PipeLen", "OutletSize", "Style", "HoseSize", "PartPackage"}));
    EXPECT_EQ(ini.keyNames(u"Drop2"), (QStringList{"NS", "EW", "HG", "Name", "Symbols", "SYM1",
                                                   "PipeLen", "OutletSize", "Style"}));
    EXPECT_EQ(ini.keyNames(u"Notes"), (QStringList{"Lines", "1", "2", "3"}));
}

TEST_F(ProjectFormat, SavedOptionsBringTheirSectionAndThePrintSetup)
{
    s.options.Saved = true;
    s.printSetup.SetPrintScaling(ViewKind::West, 75);
    const IniFile ini = IniFile::fromBytes(s.bytes());
    EXPECT_EQ(ini.sectionNames().mid(0, 5),
              (QStringList{"PIPELOOP-FILE-INFO", "Project", "Options", "PrintSetup", "Building"}));
    EXPECT_EQ(ini.keyNames(u"Options").size(), 34);
    EXPECT_EQ(ini.keyNames(u"PrintSetup"),
              (QStringList{"PrintCenter", "PrintScalingPLAN", "LandscapePLAN", "PrintScalingNORTH",
                           "LandscapeNORTH", "PrintScalingEAST", "LandscapeEAST",
                           "PrintScalingSOUTH", "LandscapeSOUTH", "PrintScalingWEST",
                           "LandscapeWEST", "PrinterName", "ShowPrintPage"}));
    EXPECT_EQ(ini.readInteger(u"PrintSetup", u"PrintScalingWEST", 0), 75);
}

TEST_F(ProjectFormat, RealsHaveSinglePrecisionDigits)
{
    s.design->PipeSize = 6.35f;
    s.design->DefaultOutletSize = 50.0f;
    auto valve = std::make_unique<TValve>();
    valve->Angle = HalfPi;
    s.design->Valves.push_back(std::move(valve));
    const QByteArray bytes = s.bytes();
    EXPECT_TRUE(bytes.contains("\r\nPipeSize=6.34999990463257\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nDefaultOutletSize=50\r\n"));
    EXPECT_TRUE(bytes.contains("\r\nAngle=1.57079637050629\r\n"));
}

TEST_F(ProjectFormat, SaveLoadSaveIsByteIdentical)
{
    FillEveryKind(*s.design);
    s.zoom = {7, 8, 9, 10, 11};
    const QByteArray first = s.bytes();
    Session again;
    ASSERT_TRUE(again.openBytes(first));
    EXPECT_TRUE(SameBytes(first, again.bytes()));
    EXPECT_EQ(again.zoom, s.zoom);

    // With the options saved too.
    s.options.Saved = true;
    s.options.GridSpacing = 250;
    s.printSetup.PrinterName = QStringLiteral("Plotter");
    const QByteArray withOptions = s.bytes();
    Session third;
    third.options.SetProjectSettingsMode(1);
    ASSERT_TRUE(third.openBytes(withOptions));
    EXPECT_TRUE(SameBytes(withOptions, third.bytes()));
}

TEST_F(ProjectFormat, ResavingAnotherReleasesFileChangesOnlyTheProgramVersion)
{
    QByteArray older = Expected("legacy.expected.plf");
    older.replace("PipeLoop_Version=" + ProgramVersion().toLatin1(), "PipeLoop_Version=0.9.3.1");
    ASSERT_TRUE(s.openBytes(older));
    const QByteArray resaved = s.bytes();
    EXPECT_NE(resaved, older);
    EXPECT_EQ(WithoutProgramVersion(resaved), WithoutProgramVersion(older));
}

TEST_F(ProjectFormat, LegacyKeysNeverReappear)
{
    ASSERT_TRUE(s.open(ProjectData("legacy.plf")));
    const IniFile ini = IniFile::fromBytes(s.bytes());
    EXPECT_FALSE(ini.valueExists(u"Project", u"UseMM"));
    EXPECT_FALSE(ini.valueExists(u"Building", u"Height"));
    for (const QString& section : ini.sectionNames()) {
        EXPECT_FALSE(ini.valueExists(section, u"HoseType")) << section.toStdString();
        EXPECT_FALSE(ini.valueExists(section, u"Vertical")) << section.toStdString();
        EXPECT_FALSE(ini.valueExists(section, u"Rotate")) << section.toStdString();
    }
}

// ---------------------------------------------------------------- edge cases

TEST_F(ProjectFormat, OptionsNotSavedLeaveTheCurrentOptionsUntouched)
{
    s.options.GridSpacing = 250;
    s.options.SetProjectSettingsMode(1);
    const TPipeLoopOptions before = s.options;
    ASSERT_TRUE(s.openBytes(ProjectText("[Options]\nSaved=0\nGridSpacing=500\n")));
    EXPECT_EQ(s.options, before);
    const IniFile ini = IniFile::fromBytes(s.bytes());
    EXPECT_EQ(ini.keyNames(u"Options"), QStringList{"Saved"});
    EXPECT_FALSE(ini.sectionExists(u"PrintSetup"));
}

TEST_F(ProjectFormat, GridSpacingWrittenByThisSystemIsReadBack)
{
    s.options.Saved = true;
    s.options.GridSpacing = 750;
    const QByteArray bytes = s.bytes();
    Session other;
    other.options.SetProjectSettingsMode(1);
    ASSERT_TRUE(other.openBytes(bytes));
    EXPECT_EQ(other.options.GridSpacing, 750);
}

TEST_F(ProjectFormat, UnitsAndTheOlderUseMM)
{
    const auto unitsOf = [](const QByteArray& project) {
        Session one;
        EXPECT_TRUE(one.openBytes(ProjectText("[Project]\n" + project)));
        return one.design->Units;
    };
    EXPECT_EQ(unitsOf("UseMM=0\n"), DisplayUnits::Metres);
    EXPECT_EQ(unitsOf(""), DisplayUnits::Millimetres);
    EXPECT_EQ(unitsOf("UseMM=1\n"), DisplayUnits::Millimetres);
    EXPECT_EQ(unitsOf("Units=-4\nUseMM=0\n"), DisplayUnits::Metres);
    EXPECT_EQ(unitsOf("Units=0\nUseMM=1\n"), DisplayUnits::Metres);
    EXPECT_EQ(unitsOf("Units=2\n"), DisplayUnits::FeetInches);
    EXPECT_EQ(unitsOf("Units=7\n"), DisplayUnits::Millimetres);
    EXPECT_EQ(unitsOf("Units=feet\nUseMM=0\n"), DisplayUnits::Metres); // unreadable: -1
}

TEST_F(ProjectFormat, BuildingHeightAndItsOlderKey)
{
    const auto heightOf = [](const QByteArray& building) {
        Session one;
        EXPECT_TRUE(one.openBytes(ProjectText("[Building]\n" + building)));
        return one.design->RoomHG;
    };
    EXPECT_EQ(heightOf("Height=3500\nRoomHG=2500\n"), 3500);
    EXPECT_EQ(heightOf("Height=0\nRoomHG=2500\n"), 2500);
    EXPECT_EQ(heightOf("Height=-10\nRoomHG=2500\n"), 2500);
    EXPECT_EQ(heightOf(""), 2000);
}

TEST_F(ProjectFormat, AHeaderFollowedByNothingGivesEveryDefault)
{
    s.zoom = {1, 2, 3, 4, 5};
    ASSERT_TRUE(s.openBytes("[PIPELOOP-FILE-INFO]\r\n"));
    const TPipeLoop& d = *s.design;
    EXPECT_EQ(s.zoom, (ZoomFactors{1, 2, 3, 4, 5}));
    EXPECT_EQ(d.RoomEW, 5000);
    EXPECT_EQ(d.RoomNS, 2000);
    EXPECT_EQ(d.RoomHG, 2000);
    EXPECT_EQ(d.Height, 2000);
    EXPECT_EQ(d.PipeSize, 50.0f);
    EXPECT_EQ(d.DefaultOutletSize, 25.0f);
    EXPECT_EQ(d.PipeColour, PipeColour::Blue);
    EXPECT_EQ(d.Units, DisplayUnits::Millimetres);
    EXPECT_FALSE(d.CompressorHouse);
    EXPECT_TRUE(d.Elbows.empty());
    EXPECT_TRUE(d.Notes.isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectFormat, PipeColourWordsAreCaseSensitive)
{
    const auto colourOf = [](const QByteArray& word) {
        Session one;
        EXPECT_TRUE(one.openBytes(ProjectText("[PipeLoop]\nPipeColour=" + word + "\n")));
        return one.design->PipeColour;
    };
    EXPECT_EQ(colourOf("green"), PipeColour::Blue);
    EXPECT_EQ(colourOf("GREEN"), PipeColour::Green);
    EXPECT_EQ(colourOf("GRAY"), PipeColour::Gray);
    EXPECT_EQ(colourOf("GREY"), PipeColour::Blue);
}

TEST_F(ProjectFormat, RecoilHoseTypeBecomesARecoilHoseAssembly)
{
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=2\n"
                                        "[Drop1]\nStyle=FEMALE_SADDLE\nHoseType=RECOIL\n"
                                        "[Drop2]\nStyle=FEMALE\nHoseType=hose\n")));
    const TDrop& recoil = *s.design->Drops[0];
    ASSERT_EQ(recoil.SymbolCount(), 3);
    EXPECT_EQ(recoil.SymbolName(1), "RECOIL-HOSE");
    EXPECT_EQ(s.design->Drops[1]->SymbolCount(), 0); // "hose": the match is exact
}

TEST_F(ProjectFormat, ADropWithoutAKnownStyleIsFemale)
{
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nDrops=2\n[Drop1]\nStyle=PLUG\n"
                                        "[Drop2]\nStyle=saddle\nHoseSize=9\n")));
    EXPECT_EQ(s.design->Drops[0]->Style, DropStyle::Female);
    EXPECT_EQ(s.design->Drops[0]->HoseSize, 6.35f);
    EXPECT_EQ(s.design->Drops[1]->Style, DropStyle::Saddle);
    EXPECT_EQ(s.design->Drops[1]->HoseSize, 0.0f);
}

TEST_F(ProjectFormat, UnparsableSizesTakeTheirFallbacks)
{
    ASSERT_TRUE(s.openBytes(ProjectText(
        "[PipeLoop]\nPipeSize=big\nDrops=1\nDrains=1\nSpurs=1\n"
        "[Drop1]\nOutletSize=x\nHoseSize=1/4\"\n[Drain1]\nPipeSize=--\n[Spur1]\nPipeSize=?\n")));
    EXPECT_EQ(s.design->PipeSize, 50.0f);
    EXPECT_EQ(s.design->Drops[0]->OutletSize, 25.0f);
    EXPECT_EQ(s.design->Drops[0]->HoseSize, 25.0f);
    EXPECT_EQ(s.design->Drains[0]->PipeSize, 20.0f);
    EXPECT_EQ(s.design->Spurs[0]->PipeSize, 0.0f);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ProjectFormat, BuildFeatureDefaultsAndPosition)
{
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nBuildFeatures=1\n"
                                        "[BuildFeature1]\nP1NS=100\nP1EW=200\nNS=5\nEW=6\n")));
    const TBuildFeature& f = *s.design->BuildFeatures[0];
    EXPECT_EQ(f.Name, "BuildFeature1");
    EXPECT_EQ(f.Feature, "GENERAL");
    EXPECT_EQ(f.Height, 1000);
    EXPECT_FALSE(f.Ellipse);
    EXPECT_EQ(f.position(), (Position{100, 200, 1000})); // NS, EW keys mean nothing here
}

TEST_F(ProjectFormat, InletDefaults)
{
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nInlets=1\n[Inlet1]\nNS=3\n")));
    const TInlet& inlet = *s.design->Inlets[0];
    EXPECT_EQ(inlet.Angle, 0.0f);
    EXPECT_EQ(inlet.PipeLength, 2000);
    EXPECT_EQ(inlet.PipeSize, 50.0f);
    EXPECT_EQ(inlet.Name, "Inlet1");
}

TEST_F(ProjectFormat, NotesWithMissingLinesLoadEmptyLines)
{
    ASSERT_TRUE(s.openBytes(ProjectText("[Notes]\nLines=3\n1=one\n3=three\n")));
    EXPECT_EQ(s.design->Notes, (QStringList{"one", "", "three"}));
    ASSERT_TRUE(s.openBytes(ProjectText("[Notes]\n1=one\n"))); // no Lines: none
    EXPECT_TRUE(s.design->Notes.isEmpty());
}

TEST_F(ProjectFormat, EmptyObjectSectionsMakeObjectsOfDefaultsAndMissingOnesAreRefused)
{
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nElbows=2\nValves=2\nSpurs=1\n"
                                         "[Elbow1]\nNS=10\n[Valve2]\nName=V\n")));
    EXPECT_EQ(ui.texts(), QStringList{"The project file is damaged : test.plf\r\n"
                                      "Section Elbow2 is missing (Elbows=2 in section PipeLoop)."});
    ASSERT_TRUE(s.openBytes(ProjectText("[PipeLoop]\nElbows=2\nValves=2\nSpurs=1\n"
                                        "[Elbow1]\nNS=10\n[Elbow2]\n[Valve1]\n[Valve2]\nName=V\n"
                                        "[Spur1]\n")));
    const TPipeLoop& d = *s.design;
    ASSERT_EQ(d.Elbows.size(), 2u);
    EXPECT_EQ(d.Elbows[1]->Name, "Elbow2");
    EXPECT_EQ(d.Valves[0]->Name, "Valve1");
    EXPECT_EQ(d.Valves[0]->Angle, HalfPi);
    EXPECT_EQ(d.Valves[1]->Name, "V");
    EXPECT_EQ(d.Spurs[0]->Name, "Spur1");
    EXPECT_EQ(d.Spurs[0]->endPosition(), Position{});
}

TEST_F(ProjectFormat, NegativeCountsAreRefused)
{
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nElbows=-1\nDrops=-2147483648\n")));
    EXPECT_FALSE(s.openBytes(ProjectText("[PipeLoop]\nDrops=1\n[Drop1]\nSymbols=-7\n")));
    EXPECT_EQ(ui.texts(), (QStringList{"The project file is damaged : test.plf\r\n"
                                       "Elbows=-1 in section PipeLoop is not a count.",
                                       "The project file is damaged : test.plf\r\n"
                                       "Symbols=-7 in section Drop1 is not a count."}));
    EXPECT_TRUE(s.design->Elbows.empty()); // nothing was loaded
}

TEST_F(ProjectFormat, ObjectsWithTheSameNameAreBothKept)
{
    s.design->CreateDefaultElbows();
    s.design->Elbows[3]->Name = QStringLiteral("ELBOW1");
    const QByteArray bytes = s.bytes();
    Session other;
    ASSERT_TRUE(other.openBytes(bytes));
    ASSERT_EQ(other.design->Elbows.size(), 5u);
    EXPECT_EQ(other.design->Elbows[0]->Name, "ELBOW1");
    EXPECT_EQ(other.design->Elbows[3]->Name, "ELBOW1");
}

TEST_F(ProjectFormat, BlanksAroundTextValuesAreLost)
{
    s.design->Description = QStringLiteral("  padded  ");
    s.design->Notes = QStringList{QStringLiteral("  indented")};
    const QByteArray bytes = s.bytes();
    EXPECT_TRUE(bytes.contains("\r\nDescription=  padded  \r\n")); // written raw
    Session other;
    ASSERT_TRUE(other.openBytes(bytes));
    EXPECT_EQ(other.design->Description, "padded");
    EXPECT_EQ(other.design->Notes, QStringList{"indented"});
}

TEST_F(ProjectFormat, LineBreaksInsideATextStayOnOneLine)
{
    s.design->Description = QStringLiteral("two\r\nlines\n[Elbow1]");
    const QByteArray bytes = s.bytes();
    EXPECT_TRUE(bytes.contains("\r\nDescription=two  lines [Elbow1]\r\n"));
    Session other;
    ASSERT_TRUE(other.openBytes(bytes));
    EXPECT_TRUE(other.design->Elbows.empty());
}

TEST_F(ProjectFormat, ZoomFactorsDefaultToTheValuesHeld)
{
    s.zoom = {41, 42, 43, 44, 45};
    ASSERT_TRUE(s.openBytes(ProjectText("[Project]\nZoomFactornorth=7\nZoomFactorWEST=x\n")));
    EXPECT_EQ(s.zoom, (ZoomFactors{41, 7, 43, 44, 45}));
}

// ---------------------------------------------------------------- header and version

TEST(ProjectHeader, TheTwoHeadersAreAcceptedByteForByte)
{
    EXPECT_TRUE(CheckProjectHeaderBytes("[PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_TRUE(CheckProjectHeaderBytes("[PIPELOOP-FILE-INFO]\r\nFile_Version=1\r\n"));
    EXPECT_TRUE(CheckProjectHeaderBytes("[PIPELOOP]\r\n"));
    EXPECT_TRUE(CheckProjectHeaderBytes("[PIPELOOP]\r\nHeight=2000\r\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes("[PIPELOOP-FILE-INFO]\r"));
    EXPECT_FALSE(CheckProjectHeaderBytes("[PIPELOOP-FILE-INFO]\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes("[PIPELOOP]\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes("[pipeloop]\r\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes("[Pipeloop-File-Info]\r\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes(" [PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes("\xEF\xBB\xBF[PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_FALSE(CheckProjectHeaderBytes(""));
    EXPECT_FALSE(CheckProjectHeaderBytes("[PIPELOOP]\r"));
}

TEST(ProjectHeader, FilesAreCheckedOnTheirFirstBytes)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.plf");
    const QString bad = dir.filePath("bad.plf");
    const QString empty = dir.filePath("empty.plf");
    ASSERT_TRUE(WriteBytes(good, ProjectText("")));
    ASSERT_TRUE(WriteBytes(bad, "[Project]\r\n"));
    ASSERT_TRUE(WriteBytes(empty, ""));
    EXPECT_TRUE(CheckProjectHeader(good));
    EXPECT_FALSE(CheckProjectHeader(bad));
    EXPECT_FALSE(CheckProjectHeader(empty));
    EXPECT_FALSE(CheckProjectHeader(dir.filePath("missing.plf")));
    EXPECT_FALSE(CheckProjectHeader(dir.path())); // a folder
}

TEST_F(ProjectFormat, OpeningAFileWithAnotherHeaderShowsTheMessage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    ASSERT_TRUE(WriteBytes(path, "Shopping list\r\n"));
    const ProjectLoad load = s.open(path);
    EXPECT_FALSE(load);
    EXPECT_EQ(ui.texts(), QStringList{"File header invalid : " + path});
    EXPECT_EQ(load.error(), "File header invalid : " + path);
}

TEST_F(ProjectFormat, AnotherFileVersionIsRefusedWithTheMessage)
{
    TPipeLoop* before = s.design.get();
    const ProjectLoad load = s.openBytes(ProjectText("[PIPELOOP-FILE-INFO]\nFile_Version=2\n"
                                                     "[PipeLoop]\nElbows=1\n"));
    EXPECT_FALSE(load);
    EXPECT_EQ(ui.texts(), QStringList{"The file version is not supported.\r\n\n"
                                      "Expected version 1 , found version 2"});
    EXPECT_EQ(s.design.get(), before);

    ui.messages.clear();
    // The message shows the text found, readable as a number or not.
    for (const QByteArray text : {"0x10", "-1", "one", "1.0", "4294967297", ""}) {
        ui.messages.clear();
        EXPECT_FALSE(s.openBytes("[PIPELOOP-FILE-INFO]\r\nFile_Version=" + text + "\r\n"));
        EXPECT_EQ(ui.texts(), QStringList{"The file version is not supported.\r\n\n"
                                          "Expected version 1 , found version " +
                                          (text.isEmpty() ? "(empty)" : QString(text))});
    }
    EXPECT_EQ(s.design.get(), before);
}

TEST_F(ProjectFormat, AMissingVersionIsVersionOne)
{
    EXPECT_TRUE(s.openBytes("[PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_TRUE(s.openBytes("[PIPELOOP-FILE-INFO]\r\nfile_version=01\r\n"));
    EXPECT_TRUE(ui.messages.empty());
}

// ---------------------------------------------------------------- locale

TEST(ProjectLocale, AFileWrittenUnderACommaLocaleLoadsUnderAFullStopLocale)
{
    ScriptedUi ui;
    Session writer;
    FillEveryKind(*writer.design);
    writer.design->PipeSize = 6.35f;
    QByteArray comma;
    {
        ScopedLocale german(QStringLiteral("de_DE"));
        comma = writer.bytes();
    }
    EXPECT_TRUE(comma.contains("\r\nPipeSize=6,34999990463257\r\n"));
    EXPECT_TRUE(comma.contains("\r\nDefaultOutletSize=31,75\r\n"));
    EXPECT_TRUE(comma.contains("\r\nAngle=3,14159274101257\r\n"));

    ScopedLocale english(QStringLiteral("en_GB"));
    Session reader;
    ASSERT_TRUE(reader.openBytes(comma));
    EXPECT_EQ(reader.design->PipeSize, 6.35f);
    EXPECT_EQ(reader.design->DefaultOutletSize, 31.75f);
    EXPECT_EQ(reader.design->Drops[0]->HoseSize, 6.35f);
    EXPECT_EQ(reader.design->Drops[0]->OutletSize, 12.7f);
    // Written again under the full-stop locale it is the full-stop file.
    EXPECT_TRUE(SameBytes(writer.bytes(), reader.bytes()));
    EXPECT_TRUE(ui.messages.empty());
}

TEST(ProjectLocale, AFileWrittenUnderAFullStopLocaleLoadsUnderACommaLocale)
{
    ScriptedUi ui;
    Session writer;
    FillEveryKind(*writer.design);
    QByteArray stop;
    {
        ScopedLocale english(QStringLiteral("en_GB"));
        stop = writer.bytes();
    }
    EXPECT_TRUE(stop.contains("\r\nOutletSize=12.6999998092651\r\n"));

    ScopedLocale german(QStringLiteral("de_DE"));
    Session reader;
    ASSERT_TRUE(reader.openBytes(stop));
    EXPECT_EQ(reader.design->Drops[0]->OutletSize, 12.7f);
    EXPECT_EQ(reader.design->Valves[0]->Angle, writer.design->Valves[0]->Angle);
    EXPECT_EQ(reader.design->Inlets[0]->Angle, writer.design->Inlets[0]->Angle);
    EXPECT_TRUE(reader.bytes().contains("\r\nOutletSize=12,6999998092651\r\n"));
    QByteArray back = reader.bytes();
    {
        ScopedLocale english(QStringLiteral("en_GB"));
        Session third;
        ASSERT_TRUE(third.openBytes(back));
        EXPECT_TRUE(SameBytes(stop, third.bytes()));
    }
}

} // namespace

namespace
{

// ---------------------------------------------------------------- air analysis

TEST_F(ProjectFormat, AirDemandsAndPressuresAreWrittenOnlyWhenSetAndReadBack)
{
    FillEveryKind(*s.design);
    const QByteArray plain = s.bytes();
    for (const char* key : {"AirDemand=", "UsageFactor=", "SupplyPressure=", "AllowedPressure"})
        EXPECT_FALSE(plain.contains(key)) << key;

    s.design->Drops.front()->Demand = {12.5, 0.5};
    s.design->Inlets.front()->Demand = {100, 1};
    s.design->SupplyPressure = 8;
    s.design->AllowedPressureDrop = 0.25;
    const QByteArray carried = s.bytes();
    EXPECT_TRUE(carried.contains("\r\nAirDemand=12.5\r\nUsageFactor=0.5\r\n"));
    EXPECT_TRUE(carried.contains("\r\nSupplyPressure=8\r\nAllowedPressureDrop=0.25\r\n"));
    Session again;
    ASSERT_TRUE(again.openBytes(carried));
    EXPECT_EQ(again.design->Drops.front()->Demand, (AirDemand{12.5, 0.5}));
    EXPECT_EQ(again.design->Inlets.front()->Demand, (AirDemand{100, 1}));
    EXPECT_TRUE(again.design->Drops.back()->Demand.IsNone());
    EXPECT_EQ(again.design->SupplyPressure, 8);
    EXPECT_EQ(again.design->AllowedPressureDrop, 0.25);
    EXPECT_TRUE(SameBytes(carried, again.bytes()));

    // Values no release writes read as the defaults instead of stopping the load.
    QByteArray damaged = carried;
    damaged.replace("AirDemand=12.5", "AirDemand=lots").replace("UsageFactor=0.5", "UsageFactor=2");
    damaged.replace("SupplyPressure=8", "SupplyPressure=-3");
    damaged.replace("AllowedPressureDrop=0.25", "AllowedPressureDrop=nan");
    Session third;
    ASSERT_TRUE(third.openBytes(damaged));
    EXPECT_TRUE(third.design->Drops.front()->Demand.IsNone());
    EXPECT_EQ(third.design->SupplyPressure, DefaultSupplyPressure);
    EXPECT_EQ(third.design->AllowedPressureDrop, DefaultAllowedPressureDrop);
    EXPECT_TRUE(SameBytes(plain, [&] {
        third.design->Inlets.front()->Demand = {};
        return third.bytes();
    }()));
}

} // namespace
