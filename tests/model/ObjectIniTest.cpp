// Each object's section of a project file: the exact keys in their order,
// reading them back, the defaults of missing keys and the older keys that are
// converted on reading.

#include "DesignFixture.h"
#include "IniFile.h"

namespace pipeloop::testing
{
namespace
{

QByteArray sectionText(const char* name, const QStringList& lines)
{
    QByteArray text = QByteArray("[") + name + "]\r\n";
    for (const QString& line : lines)
        text += line.toLatin1() + "\r\n";
    return text + "\r\n";
}

QByteArray saved(const TPipeLoopObject& object, const QString& section)
{
    IniFile ini;
    object.SaveToIni(ini, section);
    return ini.toBytes();
}

template <typename T> T loaded(const QByteArray& bytes, const QString& section)
{
    T object;
    const LoadResult result = object.LoadFromIni(IniFile::fromBytes(bytes), section);
    EXPECT_TRUE(result.ok()) << result.error().toStdString();
    return object;
}

template <typename T> LoadResult loadInto(T& object, const char* text, const QString& section)
{
    return object.LoadFromIni(IniFile::fromBytes(QByteArray(text)), section);
}

class ObjectIniTest : public ::testing::Test
{
protected:
    ScopedLocale locale{LocaleFacts{}};
};

TEST_F(ObjectIniTest, ElbowRoundTrip)
{
    TElbow elbow;
    elbow.setPosition(P(0, 5000, 2500));
    elbow.Name = QStringLiteral("ELBOW2");
    elbow.VerticalDrop = 300;
    const QByteArray bytes = saved(elbow, QStringLiteral("Elbow2"));
    EXPECT_EQ(bytes, sectionText("Elbow2", {"NS=0", "EW=5000", "HG=2500", "Name=ELBOW2",
                                            "VerticalDrop=300"}));

    const TElbow back = loaded<TElbow>(bytes, QStringLiteral("elbow2"));
    EXPECT_EQ(back.position(), elbow.position());
    EXPECT_EQ(back.Name, elbow.Name);
    EXPECT_EQ(back.VerticalDrop, 300);
}

TEST_F(ObjectIniTest, MissingKeysGiveDefaultsAndTheSectionName)
{
    const TElbow elbow = loaded<TElbow>("[Other]\r\nNS=1\r\n", QStringLiteral("Elbow3"));
    EXPECT_EQ(elbow.position(), P(0, 0, 0));
    EXPECT_EQ(elbow.Name, QStringLiteral("Elbow3"));
    EXPECT_EQ(elbow.VerticalDrop, 0);

    // Keys are found whatever their case.
    const TElbow lower =
        loaded<TElbow>("[Elbow1]\r\nverticaldrop=40\r\nns=7\r\n", QStringLiteral("Elbow1"));
    EXPECT_EQ(lower.VerticalDrop, 40);
    EXPECT_EQ(lower.NS, 7);
}

TEST_F(ObjectIniTest, ValveRoundTripKeepsTheSinglePrecisionAngle)
{
    TValve valve;
    valve.setPosition(P(1200, 5000, 2500));
    valve.Name = QStringLiteral("VALVE1");
    valve.Angle = -HalfPi;
    const QByteArray bytes = saved(valve, QStringLiteral("Valve1"));
    EXPECT_EQ(bytes, sectionText("Valve1", {"NS=1200", "EW=5000", "HG=2500", "Name=VALVE1",
                                            "Angle=-1.57079637050629"}));
    EXPECT_EQ(loaded<TValve>(bytes, QStringLiteral("Valve1")).Angle, -HalfPi);
}

TEST_F(ObjectIniTest, ValveAngleDefaultsFollowTheOlderKeys)
{
    struct Case {
        const char* text;
        float angle;
    } cases[] = {
        {"[Valve1]\r\nNS=1\r\n", HalfPi},
        {"[Valve1]\r\nVertical=1\r\n", 0.0f},
        {"[Valve1]\r\nRotate=1\r\n", 0.0f},
        {"[Valve1]\r\nVertical=0\r\nRotate=0\r\n", HalfPi},
        {"[Valve1]\r\nVertical=1\r\nAngle=3,5\r\n", 3.5f},
    };
    for (const Case& c : cases) {
        TValve valve;
        valve.Angle = 9.0f;
        EXPECT_TRUE(loadInto(valve, c.text, QStringLiteral("Valve1")).ok());
        EXPECT_EQ(valve.Angle, c.angle) << c.text;
    }
    TValve valve;
    valve.Angle = HalfPi;
    IniFile ini;
    valve.SaveToIni(ini, QStringLiteral("Valve1"));
    EXPECT_FALSE(ini.valueExists(u"Valve1", u"Vertical"));
    EXPECT_FALSE(ini.valueExists(u"Valve1", u"Rotate"));
}

TEST_F(ObjectIniTest, UnreadableAnglesAndInletSizesStopTheLoad)
{
    TValve valve;
    const LoadResult valveResult =
        loadInto(valve, "[Valve1]\r\nName=V\r\nAngle=north\r\n", QStringLiteral("Valve1"));
    ASSERT_FALSE(valveResult.ok());
    EXPECT_EQ(valveResult.error(), QStringLiteral("'north' is not a valid floating point value"));
    EXPECT_EQ(valve.Name, QStringLiteral("V")) << "what was read before stays";

    TInlet inlet;
    const LoadResult angle = loadInto(inlet, "[Inlet1]\r\nAngle=\r\n", QStringLiteral("Inlet1"));
    ASSERT_FALSE(angle.ok());
    EXPECT_EQ(angle.error(), QStringLiteral("'' is not a valid floating point value"));

    const LoadResult size =
        loadInto(inlet, "[Inlet1]\r\nPipeSize=2 inch\r\n", QStringLiteral("Inlet1"));
    ASSERT_FALSE(size.ok());
    EXPECT_EQ(size.error(), QStringLiteral("'2 inch' is not a valid floating point value"));
}

TEST_F(ObjectIniTest, RealsBeyondTheSingleRangeAreUnreadable)
{
    const TDrain drain = loaded<TDrain>("[Drain1]\r\nPipeSize=1e39\r\n", QStringLiteral("Drain1"));
    EXPECT_EQ(drain.PipeSize, 20.0f);
    TValve valve;
    const LoadResult result =
        loadInto(valve, "[Valve1]\r\nAngle=1E39\r\n", QStringLiteral("Valve1"));
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error(), QStringLiteral("'1E39' is not a valid floating point value"));
}

TEST_F(ObjectIniTest, AHugeSymbolCountDoesNotFillMemory)
{
    const TDrop drop =
        loaded<TDrop>("[Drop1]\r\nSymbols=2147483647\r\nSYM1=FILTER\r\n", QStringLiteral("Drop1"));
    EXPECT_EQ(drop.SymbolName(0), Symbol::Filter);
    EXPECT_LE(drop.SymbolCount(), 1002) << "entries past the keys of the section load empty";
    EXPECT_GE(drop.SymbolCount(), 1000);

    const TDrop few = loaded<TDrop>("[Drop1]\r\nSymbols=3\r\n", QStringLiteral("Drop1"));
    EXPECT_EQ(few.SymbolCount(), 3) << "a few missing SYM keys still give empty entries";
}

TEST_F(ObjectIniTest, BuildFeatureWritesOnlyItsOwnKeys)
{
    TBuildFeature feature;
    feature.Name = QStringLiteral("Compressor room");
    feature.Feature = QStringLiteral("COMPRESSOR");
    feature.P1NS = 100;
    feature.P1EW = 200;
    feature.P2NS = 900;
    feature.P2EW = 1400;
    feature.Height = 2000;
    feature.Ellipse = true;
    feature.setPosition(P(1, 2, 3));
    const QByteArray bytes = saved(feature, QStringLiteral("BuildFeature1"));
    EXPECT_EQ(bytes, sectionText("BuildFeature1", {"Name=Compressor room", "Feature=COMPRESSOR",
                                                   "P1EW=200", "P1NS=100", "P2EW=1400", "P2NS=900",
                                                   "Height=2000", "Ellipse=1"}));

    const TBuildFeature back = loaded<TBuildFeature>(bytes, QStringLiteral("BuildFeature1"));
    EXPECT_EQ(back.Feature, QStringLiteral("COMPRESSOR"));
    EXPECT_TRUE(back.Ellipse);
    EXPECT_EQ(back.P2EW, 1400);
    EXPECT_EQ(back.position(), P(100, 200, 2000)) << "the position comes from the corners";
}

TEST_F(ObjectIniTest, BuildFeatureDefaults)
{
    const TBuildFeature feature =
        loaded<TBuildFeature>("[BuildFeature4]\r\nNS=55\r\n", QStringLiteral("BuildFeature4"));
    EXPECT_EQ(feature.Name, QStringLiteral("BuildFeature4"));
    EXPECT_EQ(feature.Feature, QStringLiteral("GENERAL"));
    EXPECT_EQ(feature.Height, 1000);
    EXPECT_FALSE(feature.Ellipse);
    EXPECT_EQ(feature.position(), P(0, 0, 1000)) << "NS is not one of its keys";
}

TEST_F(ObjectIniTest, DrainRoundTripAndDefaults)
{
    TDrain drain;
    drain.setPosition(P(0, 700, 2500));
    drain.Name = QStringLiteral("DRAIN1");
    drain.PipeLen = 1800;
    drain.Manual = false;
    drain.PipeSize = 25.0f;
    const QByteArray bytes = saved(drain, QStringLiteral("Drain1"));
    EXPECT_EQ(bytes, sectionText("Drain1", {"NS=0", "EW=700", "HG=2500", "Name=DRAIN1",
                                            "PipeLen=1800", "Manual=0", "PipeSize=25"}));
    const TDrain back = loaded<TDrain>(bytes, QStringLiteral("Drain1"));
    EXPECT_FALSE(back.Manual);
    EXPECT_EQ(back.PipeSize, 25.0f);
    EXPECT_EQ(back.PipeLen, 1800);

    const TDrain defaults =
        loaded<TDrain>("[Drain1]\r\nPipeSize=wide\r\n", QStringLiteral("Drain1"));
    EXPECT_TRUE(defaults.Manual);
    EXPECT_EQ(defaults.PipeSize, 20.0f);
    EXPECT_EQ(defaults.PipeLen, 0);
}

TEST_F(ObjectIniTest, FemaleDropRoundTrip)
{
    TDrop drop;
    drop.setPosition(P(0, 2500, 2500));
    drop.Name = QStringLiteral("DROP1");
    drop.AddSymbol(Symbol::Filter, QStringLiteral("F-20"), true);
    drop.AddSymbol(Symbol::Coupler, {}, true);
    drop.AddSymbol(Symbol::AirHose, QStringLiteral("HOSE-5"), true);
    drop.AddSymbol(Symbol::Coupler, {}, true);
    drop.PipeLen = 1500;
    drop.OutletSize = 12.7f;
    drop.Style = DropStyle::FemaleSaddle;
    drop.HoseSize = 6.35f;
    drop.PartPackage = QStringLiteral("KIT-1");
    const QByteArray bytes = saved(drop, QStringLiteral("Drop1"));
    EXPECT_EQ(bytes,
              sectionText("Drop1", {"NS=0", "EW=2500", "HG=2500", "Name=DROP1", "Symbols=4",
                                    "SYM1=FILTER", "PART1=F-20", "SYM2=COUPLER", "SYM3=AIR-HOSE",
                                    "PART3=HOSE-5", "SYM4=COUPLER", "PipeLen=1500",
                                    "OutletSize=12.6999998092651", "Style=FEMALE_SADDLE",
                                    "HoseSize=6.34999990463257", "PartPackage=KIT-1"}));

    const TDrop back = loaded<TDrop>(bytes, QStringLiteral("Drop1"));
    EXPECT_EQ(back.Style, DropStyle::FemaleSaddle);
    EXPECT_EQ(back.OutletSize, 12.7f);
    EXPECT_EQ(back.HoseSize, 6.35f);
    EXPECT_EQ(back.PartPackage, QStringLiteral("KIT-1"));
    ASSERT_EQ(back.SymbolCount(), 4);
    EXPECT_EQ(back.SymbolName(0), Symbol::Filter) << "stored order is kept exactly";
    EXPECT_EQ(back.SymbolName(3), Symbol::Coupler);
    EXPECT_EQ(back.SymbolPart(2), QStringLiteral("HOSE-5"));
    EXPECT_EQ(back.SymbolPart(1), QString());
    EXPECT_EQ(saved(back, QStringLiteral("Drop1")), bytes);
}

TEST_F(ObjectIniTest, NonFemaleDropHasNoHoseSize)
{
    TDrop drop;
    drop.Name = QStringLiteral("DROP2");
    drop.Style = DropStyle::Tee;
    drop.PipeLen = 2500;
    drop.HoseSize = 12.0f;
    const QByteArray bytes = saved(drop, QStringLiteral("Drop2"));
    EXPECT_EQ(bytes, sectionText("Drop2", {"NS=0", "EW=0", "HG=0", "Name=DROP2", "Symbols=0",
                                           "PipeLen=2500", "OutletSize=25", "Style=TEE"}));

    const TDrop fromFile =
        loaded<TDrop>("[Drop2]\r\nStyle=TEE\r\nHoseSize=12\r\n", QStringLiteral("Drop2"));
    EXPECT_EQ(fromFile.HoseSize, 0.0f);
    EXPECT_FALSE(saved(fromFile, QStringLiteral("Drop2")).contains("HoseSize"));
}

TEST_F(ObjectIniTest, DropStyleWordsAndFallbacks)
{
    struct Case {
        const char* text;
        DropStyle style;
        float outlet;
        float hose;
    } cases[] = {
        {"[Drop1]\r\n", DropStyle::Female, 25.0f, 6.35f},
        {"[Drop1]\r\nStyle=quick\r\n", DropStyle::Quick, 25.0f, 0.0f},
        {"[Drop1]\r\nStyle=Female_Quick\r\n", DropStyle::FemaleQuick, 25.0f, 6.35f},
        {"[Drop1]\r\nStyle=BAYONET\r\n", DropStyle::Female, 25.0f, 6.35f},
        {"[Drop1]\r\nOutletSize=?\r\nHoseSize=?\r\n", DropStyle::Female, 25.0f, 25.0f},
        {"[Drop1]\r\nOutletSize=12,7\r\nHoseSize=9.525\r\n", DropStyle::Female, 12.7f, 9.525f},
    };
    for (const Case& c : cases) {
        TDrop drop;
        drop.Style = DropStyle::Saddle;
        EXPECT_TRUE(loadInto(drop, c.text, QStringLiteral("Drop1")).ok());
        EXPECT_EQ(drop.Style, c.style) << c.text;
        EXPECT_EQ(drop.OutletSize, c.outlet) << c.text;
        EXPECT_EQ(drop.HoseSize, c.hose) << c.text;
    }
}

TEST_F(ObjectIniTest, OlderHoseTypeBecomesAHoseAssemblyOfFemaleDrops)
{
    struct Case {
        const char* text;
        QStringList symbols;
    } cases[] = {
        {"[Drop1]\r\nStyle=FEMALE\r\nSymbols=1\r\nSYM1=FILTER\r\nHoseType=HOSE\r\n",
         {"COUPLER", "AIR-HOSE", "COUPLER", "FILTER"}},
        {"[Drop1]\r\nStyle=FEMALE_QUICK\r\nHoseType=RECOIL\r\n",
         {"COUPLER", "RECOIL-HOSE", "COUPLER"}},
        {"[Drop1]\r\nStyle=FEMALE\r\nSymbols=1\r\nSYM1=FILTER\r\nHoseType=hose\r\n",
         {"FILTER"}}, // exactly HOSE
        {"[Drop1]\r\nStyle=TEE\r\nSymbols=1\r\nSYM1=FILTER\r\nHoseType=HOSE\r\n", {"FILTER"}},
    };
    for (const Case& c : cases) {
        const TDrop drop = loaded<TDrop>(c.text, QStringLiteral("Drop1"));
        QStringList symbols;
        for (int i = 0; i < drop.SymbolCount(); ++i) {
            symbols.append(drop.SymbolName(i));
            EXPECT_EQ(drop.SymbolPart(i), QString());
        }
        EXPECT_EQ(symbols, c.symbols) << c.text;
        EXPECT_FALSE(saved(drop, QStringLiteral("Drop1")).contains("HoseType"));
    }
}

TEST_F(ObjectIniTest, InletRoundTripAndDefaults)
{
    TInlet inlet;
    inlet.setPosition(P(2000, 4000, 2500));
    inlet.Name = QStringLiteral("INLET1");
    inlet.AddSymbol(Symbol::Compressor);
    inlet.AddSymbol(Symbol::Receiver, QStringLiteral("R-500"));
    inlet.Angle = HalfPi - HalfPi;
    inlet.PipeLength = 3000;
    inlet.PipeSize = 63.0f;
    const QByteArray bytes = saved(inlet, QStringLiteral("Inlet1"));
    EXPECT_EQ(bytes,
              sectionText("Inlet1", {"NS=2000", "EW=4000", "HG=2500", "Name=INLET1", "Symbols=2",
                                     "SYM1=COMPRESSOR", "SYM2=RECEIVER", "PART2=R-500", "Angle=0",
                                     "PipeLength=3000", "PipeSize=63"}));
    const TInlet back = loaded<TInlet>(bytes, QStringLiteral("Inlet1"));
    EXPECT_EQ(back.PipeLength, 3000);
    EXPECT_EQ(back.PipeSize, 63.0f);
    EXPECT_EQ(back.SymbolPart(1), QStringLiteral("R-500"));

    const TInlet defaults = loaded<TInlet>("[Inlet1]\r\n", QStringLiteral("Inlet1"));
    EXPECT_EQ(defaults.Angle, 0.0f);
    EXPECT_EQ(defaults.PipeLength, 2000);
    EXPECT_EQ(defaults.PipeSize, 50.0f);
    EXPECT_EQ(defaults.SymbolCount(), 0);
}

TEST_F(ObjectIniTest, SpurRoundTripAndDefaults)
{
    TSpur spur;
    spur.setPosition(P(0, 2500, 2500));
    spur.setEndPosition(P(1500, 2500, 2500));
    spur.Name = QStringLiteral("SPUR1");
    spur.PipeSize = 31.75f;
    spur.VerticalDrop = 500;
    spur.NearEnd = TSpur::End::End;
    spur.Connected = true;
    const QByteArray bytes = saved(spur, QStringLiteral("Spur1"));
    EXPECT_EQ(bytes,
              sectionText("Spur1", {"NS=0", "EW=2500", "HG=2500", "Name=SPUR1", "NS2=1500",
                                    "EW2=2500", "HG2=2500", "PipeSize=31.75", "VerticalDrop=500"}));
    const TSpur back = loaded<TSpur>(bytes, QStringLiteral("Spur1"));
    EXPECT_EQ(back.endPosition(), P(1500, 2500, 2500));
    EXPECT_EQ(back.PipeSize, 31.75f);
    EXPECT_EQ(back.VerticalDrop, 500);
    EXPECT_FALSE(back.Connected) << "transient";

    EXPECT_EQ(loaded<TSpur>("[Spur1]\r\nPipeSize=n/a\r\n", QStringLiteral("Spur1")).PipeSize, 0.0f);
}

TEST_F(ObjectIniTest, RealsFollowTheLocaleAndReadBackUnderAnother)
{
    TDrain drain;
    drain.PipeSize = 63.5f;
    QByteArray bytes;
    {
        ScopedLocale comma(LocaleFacts{u',', QStringLiteral("€"), 2});
        bytes = saved(drain, QStringLiteral("Drain1"));
    }
    EXPECT_TRUE(bytes.contains("PipeSize=63,5\r\n"));
    EXPECT_EQ(loaded<TDrain>(bytes, QStringLiteral("Drain1")).PipeSize, 63.5f);
}

TEST_F(ObjectIniTest, InheritedKeysComeFirstInAnExistingSection)
{
    IniFile ini;
    ini.writeString(u"Drop1", u"PipeLen", QStringLiteral("stale"));
    TDrop drop;
    drop.Style = DropStyle::Quick;
    drop.SaveToIni(ini, QStringLiteral("Drop1"));
    EXPECT_EQ(ini.keyNames(u"Drop1").first(), QStringLiteral("PipeLen"))
        << "a key that exists is replaced where it stands";
    EXPECT_EQ(ini.readString(u"Drop1", u"PipeLen", {}), QStringLiteral("0"));
}

} // namespace
} // namespace pipeloop::testing
