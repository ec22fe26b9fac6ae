#include "PrintSetup.h"
#include "IniFile.h"
#include "RegistryTestSupport.h"
#include "SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using pipeloop::testing::ExpectRegistryRoundTrip;
using pipeloop::testing::LoadFromSettingsFile;

namespace
{

const QStringList KeyOrder = {"PrintCenter",       "PrintScalingPLAN",  "LandscapePLAN",
                              "PrintScalingNORTH", "LandscapeNORTH",    "PrintScalingEAST",
                              "LandscapeEAST",     "PrintScalingSOUTH", "LandscapeSOUTH",
                              "PrintScalingWEST",  "LandscapeWEST",     "PrinterName",
                              "ShowPrintPage"};

// Settings with every value away from its initial one, each view different.
PrintSetup Customised()
{
    PrintSetup setup;
    setup.PrintCenter = false;
    setup.PrinterName = QStringLiteral("\\\\PRINTSRV\\HP LaserJet 4; A3=1");
    setup.ShowPrintPage = true;
    int32_t scale = 50;
    for (ViewKind view : AllViews) {
        setup.SetPrintScaling(view, scale);
        setup.SetLandscape(view, view == ViewKind::East);
        scale += 75;
    }
    return setup;
}

IniFile ProjectWithPrintSetup(const QString& lines)
{
    return IniFile::fromText(QStringLiteral("[PrintSetup]\r\n") + lines);
}

} // namespace

TEST(PrintSetup, StartsAtOneToOneHundredAndFiftyLandscapeCentredOnTheDefaultPrinter)
{
    const PrintSetup setup;
    for (ViewKind view : AllViews) {
        EXPECT_EQ(setup.PrintScaling(view), 150);
        EXPECT_TRUE(setup.Landscape(view));
    }
    EXPECT_TRUE(setup.PrintCenter);
    EXPECT_TRUE(setup.PrinterName.isEmpty());
    EXPECT_FALSE(setup.ShowPrintPage);
}

TEST(PrintSetup, ScaleStaysWithinOneToAThousand)
{
    PrintSetup setup;
    const std::pair<int32_t, int32_t> cases[] = {
        {1, 1}, {1000, 1000}, {1001, 1000}, {2000000000, 1000}, {0, 1000}, {-20, 1000}, {75, 75}};
    for (const auto& [scale, expected] : cases) {
        setup.SetPrintScaling(ViewKind::North, scale);
        EXPECT_EQ(setup.PrintScaling(ViewKind::North), expected) << scale;
    }
    EXPECT_EQ(setup.PrintScaling(ViewKind::Plan), 150);
}

// ---------------------------------------------------------------------------
// Registry

TEST(PrintSetupRegistry, WritesItsKeysInOrderWithTheirKinds)
{
    MemorySettingsStore store;
    Customised().SaveToRegistry(store);
    EXPECT_EQ(store.names(), KeyOrder);
    EXPECT_EQ(store.RegReadInt(QStringLiteral("PrintScalingNORTH"), 0), 125);
    EXPECT_EQ(store.RegReadInt(QStringLiteral("LandscapeEAST"), -1), 1);
    EXPECT_EQ(store.RegReadInt(QStringLiteral("LandscapePLAN"), -1), 0);
    EXPECT_EQ(store.RegReadText(QStringLiteral("PrinterName"), {}), Customised().PrinterName);
}

TEST(PrintSetupRegistry, RoundTripsThroughBothStores)
{
    ExpectRegistryRoundTrip(Customised());
}

TEST(PrintSetupRegistry, IgnoresScalesOfZeroOrLessAndCapsLargeOnes)
{
    MemorySettingsStore store;
    store.writeInt(QStringLiteral("PrintScalingPLAN"), 0);
    store.writeInt(QStringLiteral("PrintScalingNORTH"), -100);
    store.writeInt(QStringLiteral("PrintScalingEAST"), 1);
    store.writeInt(QStringLiteral("PrintScalingSOUTH"), 1000);
    store.writeInt(QStringLiteral("PrintScalingWEST"), 1500);
    PrintSetup setup = Customised();
    ASSERT_TRUE(setup.LoadFromRegistry(store));
    EXPECT_EQ(setup.PrintScaling(ViewKind::Plan), 50);
    EXPECT_EQ(setup.PrintScaling(ViewKind::North), 125);
    EXPECT_EQ(setup.PrintScaling(ViewKind::East), 1);
    EXPECT_EQ(setup.PrintScaling(ViewKind::South), 1000);
    EXPECT_EQ(setup.PrintScaling(ViewKind::West), 1000);
}

TEST(PrintSetupRegistry, MissingOrUnreadableValuesKeepWhatIsHeld)
{
    MemorySettingsStore store;
    store.writeBool(QStringLiteral("ShowPrintPage"), false);
    store.setRaw(QStringLiteral("PrintScalingSOUTH"), QStringLiteral("large"));
    store.setRaw(QStringLiteral("LandscapeEAST"), QStringLiteral("no"));
    PrintSetup setup = Customised();
    ASSERT_TRUE(setup.LoadFromRegistry(store));
    PrintSetup expected = Customised();
    expected.ShowPrintPage = false;
    EXPECT_EQ(setup, expected);
}

TEST(PrintSetupRegistry, AKeyNeverWrittenLeavesTheSettingsAlone)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    NativeSettingsStore native(dir.filePath(QStringLiteral("none.ini")));
    PrintSetup setup = Customised();
    EXPECT_FALSE(setup.LoadFromRegistry(native));
    EXPECT_FALSE(setup.LoadFromRegistry(MemorySettingsStore()));
    EXPECT_EQ(setup, Customised());
}

TEST(PrintSetupRegistry, AHandEditedSettingsFileGetsTheSameRules)
{
    PrintSetup setup;
    ASSERT_TRUE(LoadFromSettingsFile(
        setup, "[PL4ZAVOZA]\nPrintScalingPLAN=0\nPrintScalingNORTH=250\nPrintScalingEAST=abc\n"
               "PrintScalingWEST=99999\nLandscapeSOUTH=0\nPrinterName=Plotter\n"));
    EXPECT_EQ(setup.PrintScaling(ViewKind::Plan), 150);
    EXPECT_EQ(setup.PrintScaling(ViewKind::North), 250);
    EXPECT_EQ(setup.PrintScaling(ViewKind::East), 150);
    EXPECT_EQ(setup.PrintScaling(ViewKind::West), 1000);
    EXPECT_FALSE(setup.Landscape(ViewKind::South));
    EXPECT_TRUE(setup.Landscape(ViewKind::Plan));
    EXPECT_EQ(setup.PrinterName, QStringLiteral("Plotter"));
}

// ---------------------------------------------------------------------------
// Project files

TEST(PrintSetupProject, WritesSectionPrintSetupInOrder)
{
    IniFile ini;
    PrintSetup setup;
    setup.SetPrintScaling(ViewKind::West, 200);
    setup.SetLandscape(ViewKind::North, false);
    setup.PrinterName = QStringLiteral("Office");
    setup.SaveToProject(ini);
    EXPECT_EQ(ini.keyNames(u"PrintSetup"), KeyOrder);
    EXPECT_EQ(QString::fromLatin1(ini.toBytes()),
              QStringLiteral("[PrintSetup]\r\nPrintCenter=1\r\n"
                             "PrintScalingPLAN=150\r\nLandscapePLAN=1\r\n"
                             "PrintScalingNORTH=150\r\nLandscapeNORTH=0\r\n"
                             "PrintScalingEAST=150\r\nLandscapeEAST=1\r\n"
                             "PrintScalingSOUTH=150\r\nLandscapeSOUTH=1\r\n"
                             "PrintScalingWEST=200\r\nLandscapeWEST=1\r\n"
                             "PrinterName=Office\r\nShowPrintPage=0\r\n\r\n"));
}

TEST(PrintSetupProject, RoundTripsThroughTheFileText)
{
    IniFile ini;
    Customised().SaveToProject(ini);
    PrintSetup loaded;
    loaded.LoadFromProject(IniFile::fromBytes(ini.toBytes()));
    EXPECT_EQ(loaded, Customised());
}

TEST(PrintSetupProject, MissingOrUnreadableKeysKeepWhatIsHeld)
{
    PrintSetup setup = Customised();
    setup.LoadFromProject(ProjectWithPrintSetup(
        QStringLiteral("PrintScalingEAST=300\r\nLandscapeSOUTH=x\r\nPrintScalingWEST=\r\n")));
    PrintSetup expected = Customised();
    expected.SetPrintScaling(ViewKind::East, 300);
    EXPECT_EQ(setup, expected);

    setup.LoadFromProject(IniFile());
    EXPECT_EQ(setup, expected);
}

TEST(PrintSetupProject, ScalesOutOfRangeAreIgnoredOrCapped)
{
    PrintSetup setup;
    setup.LoadFromProject(ProjectWithPrintSetup(
        QStringLiteral("PrintScalingPLAN=0\r\nPrintScalingNORTH=-5\r\nPrintScalingEAST=5000\r\n")));
    EXPECT_EQ(setup.PrintScaling(ViewKind::Plan), 150);
    EXPECT_EQ(setup.PrintScaling(ViewKind::North), 150);
    EXPECT_EQ(setup.PrintScaling(ViewKind::East), 1000);
}

TEST(PrintSetupProject, ReadsKeysWrittenInAnotherCase)
{
    PrintSetup setup;
    setup.LoadFromProject(IniFile::fromText(QStringLiteral(
        "[printsetup]\r\nprintscalingplan=400\r\nlandscapeplan=0\r\nprintername=A\r\n")));
    EXPECT_EQ(setup.PrintScaling(ViewKind::Plan), 400);
    EXPECT_FALSE(setup.Landscape(ViewKind::Plan));
    EXPECT_EQ(setup.PrinterName, QStringLiteral("A"));
}
