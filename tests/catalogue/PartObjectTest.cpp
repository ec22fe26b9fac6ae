// the rules: decoding one catalogue record, the attribute word scans, derived
// values, image names and the standard size tables.

#include "PartObject.h"
#include "CatalogueTestSupport.h"
#include "IniFile.h"
#include "ScriptedUi.h"
#include "Units.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;

namespace
{

class PartObjectTest : public ::testing::Test
{
protected:
    ScopedLocale locale{pipeloop::testing::PoundFacts()};
    ScriptedUi ui;

    // Decodes section KEY of the given record lines with maker "MAKER".
    std::unique_ptr<TPartObject> Decode(const QString& lines, PartClass partClass = PartClass::Pipe)
    {
        const IniFile ini = IniFile::fromText(QStringLiteral("[KEY]\n") + lines);
        auto part = CreatePart(partClass, QStringLiteral("KEY"));
        part->Load(ini, QStringLiteral("MAKER"));
        return part;
    }
    AttrSet Atr(const QString& text) { return ScanAttributeWords(QStringLiteral("KEY"), text); }
    EndSet At2(const QString& text) { return ScanEndWords(QStringLiteral("KEY"), text, 2); }
};

TEST_F(PartObjectTest, AbsentKeysTakeTheirDefaults)
{
    const auto part = Decode(QString());
    EXPECT_EQ(part->PartKey(), QStringLiteral("KEY"));
    EXPECT_EQ(part->PartNumber(), QStringLiteral("KEY")); // APN absent: the section name
    EXPECT_EQ(part->Description(), QString());
    EXPECT_EQ(part->Size1(), 0.0f);
    EXPECT_EQ(part->Size2(), 0.0f);
    EXPECT_EQ(part->Length(), 0);
    EXPECT_EQ(part->Attributes(), 0);
    EXPECT_EQ(part->End1(), 0);
    EXPECT_EQ(part->End2(), 0);
    EXPECT_EQ(part->Angle(), 0.0f);
    EXPECT_EQ(part->Ports(), 0);
    EXPECT_EQ(part->Price(), 0);
    EXPECT_EQ(part->UnitsPerPackage(), 1);
    EXPECT_EQ(part->Maker(), QStringLiteral("MAKER"));
    EXPECT_EQ(part->Image(), QString());
    EXPECT_EQ(part->CataloguePage(), 0);
    EXPECT_EQ(part->CatalogueCode(), QString());
    EXPECT_FALSE(part->EndOfLine());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PartObjectTest, EveryKeyDecodes)
{
    const auto part = Decode(QStringLiteral(
        "APN=90642-110-XY\nDSC=A manifold\nOD1=25\nOD2=1/2\"\nLEN=6000\nATR=BLUE QUICK\n"
        "AT1=MALE BSP\nAT2=FEMALE NPT\nANG=45\nNPO=4\nPRC=12.345\nUPP=10\nMAK=ACME\n"
        "IMG=PIC.JPG\nCPN=41\nCOD=C-1\nEOL=1\n"));
    EXPECT_EQ(part->PartNumber(), QStringLiteral("90642-110-XY"));
    EXPECT_EQ(part->Description(), QStringLiteral("A manifold"));
    EXPECT_EQ(part->Size1(), 25.0f);
    EXPECT_FLOAT_EQ(part->Size2(), 12.7f);
    EXPECT_EQ(part->Length(), 6000);
    EXPECT_EQ(part->Attributes(), Flags(Attr::Blue, Attr::Quick));
    EXPECT_EQ(part->End1(), Flags(EndAttr::Male, EndAttr::Bsp));
    EXPECT_EQ(part->End2(), Flags(EndAttr::Female, EndAttr::Npt));
    EXPECT_EQ(part->Angle(), 45.0f);
    EXPECT_EQ(part->Ports(), 4);
    EXPECT_EQ(part->Price(), 123450);
    EXPECT_EQ(part->UnitsPerPackage(), 10);
    EXPECT_EQ(part->Maker(), QStringLiteral("ACME"));
    EXPECT_EQ(part->Image(), QStringLiteral("PIC.JPG"));
    EXPECT_EQ(part->CataloguePage(), 41);
    EXPECT_EQ(part->CatalogueCode(), QStringLiteral("C-1"));
    EXPECT_TRUE(part->EndOfLine());
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join(u'|').toStdString();
}

TEST_F(PartObjectTest, SizeTwoDefaultsToSizeOneThroughItsText)
{
    EXPECT_EQ(Decode(QStringLiteral("OD1=32"))->Size2(), 32.0f);
    EXPECT_FLOAT_EQ(Decode(QStringLiteral("OD1=1\"1/4"))->Size2(), 31.75f);
    // Not a nominal size: the text has three decimals, so the default is that text.
    EXPECT_FLOAT_EQ(Decode(QStringLiteral("OD1=20.5004"))->Size2(), 20.5f);
}

TEST_F(PartObjectTest, BadValuesShowOneErrorEachAndKeepTheDefault)
{
    const auto part = Decode(QStringLiteral("OD1=1 1/4\"\nOD2=3/0\nANG=ninety\nPRC=\nLEN=9"));
    EXPECT_EQ(part->Size1(), 0.0f);
    EXPECT_EQ(part->Size2(), 0.0f);
    EXPECT_EQ(part->Angle(), 0.0f);
    EXPECT_EQ(part->Price(), 0);
    EXPECT_EQ(part->Length(), 9); // decoding went on
    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("Database error reading OD1 for KEY"),
                                       QStringLiteral("Database error reading OD2 for KEY"),
                                       QStringLiteral("Database error reading ANG for KEY"),
                                       QStringLiteral("Database error reading PRC for KEY")}));
    for (const auto& message : ui.messages)
        EXPECT_EQ(message.kind, UiServices::Kind::Error);
}

TEST_F(PartObjectTest, SizesWrittenWithEitherSeparatorLoadUnderACommaLocale)
{
    LocaleFacts comma = pipeloop::testing::PoundFacts();
    comma.decimalSeparator = u',';
    ScopedLocale german(comma);
    EXPECT_FLOAT_EQ(Decode(QStringLiteral("OD1=9.25"))->Size1(), 9.25f);
    EXPECT_FLOAT_EQ(Decode(QStringLiteral("OD1=9,25mm"))->Size1(), 9.25f);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PartObjectTest, ColourWordsSetAtMostOneColour)
{
    EXPECT_EQ(Atr(QStringLiteral("GREY BLUE")), Flag(Attr::Blue));
    EXPECT_EQ(Atr(QStringLiteral("GREEN")), Flag(Attr::Green));
    EXPECT_EQ(Atr(QStringLiteral("GREY")), Flag(Attr::Grey));
    EXPECT_EQ(Decode(QString())->ColourIndex(), ColourBlue);
    EXPECT_EQ(Decode(QStringLiteral("ATR=GREY"))->ColourIndex(), ColourGrey);
    EXPECT_EQ(Decode(QStringLiteral("ATR=GREEN"))->ColourIndex(), ColourGreen);
    EXPECT_EQ(ColourName(ColourGrey), QStringLiteral("GREY"));
}

TEST_F(PartObjectTest, TechnopolymericIsNotAlsoPolymer)
{
    EXPECT_EQ(Atr(QStringLiteral("TECHNOPOLYMERIC")), Flag(Attr::Technopolymeric));
    EXPECT_EQ(Atr(QStringLiteral("POLYMER TECHNOPOLYMERIC")),
              Flags(Attr::Polymer, Attr::Technopolymeric));
    EXPECT_EQ(Atr(QStringLiteral("STAINLESS STEEL")), Flags(Attr::Stainless, Attr::Steel));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(PartObjectTest, WordsMayBeSeparatedByAnythingOrNothing)
{
    const AttrSet expected = Flags(Attr::Blue, Attr::Elbow, Attr::Quick);
    EXPECT_EQ(Atr(QStringLiteral("BLUE ELBOW QUICK")), expected);
    EXPECT_EQ(Atr(QStringLiteral("QUICK,ELBOW,BLUE")), expected);
    EXPECT_EQ(Atr(QStringLiteral("BLUEELBOWQUICK")), expected);
    EXPECT_EQ(Atr(QStringLiteral(" QUICK; ELBOW / BLUE ,")), expected);
    // Separators alone are not an unknown word (the mended leftover check).
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join(u'|').toStdString();
}

TEST_F(PartObjectTest, AnUnknownWordStillWarnsWithTheRemainder)
{
    EXPECT_EQ(Atr(QStringLiteral("BLUE WOBBLY")), Flag(Attr::Blue));
    EXPECT_EQ(Atr(QStringLiteral("BLUE,WOBBLY,ELBOW")), Flags(Attr::Blue, Attr::Elbow));
    EXPECT_EQ(At2(QStringLiteral("FEMALE BSP LEFT")), Flags(EndAttr::Female, EndAttr::Bsp));
    ASSERT_EQ(ui.messages.size(), 3u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Warning);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("KEY unknown ATR : \r\nWOBBLY"));
    EXPECT_EQ(ui.messages[1].text, QStringLiteral("KEY unknown ATR : \r\nWOBBLY"));
    EXPECT_EQ(ui.messages[2].text, QStringLiteral("KEY unknown AT2 : \r\nLEFT"));
}

TEST_F(PartObjectTest, FemaleNeverAlsoCountsAsMale)
{
    EXPECT_EQ(At2(QStringLiteral("FEMALE BSP")), Flags(EndAttr::Female, EndAttr::Bsp));
    EXPECT_EQ(At2(QStringLiteral("MALE")), Flag(EndAttr::Male));
    EXPECT_EQ(At2(QStringLiteral("MALE FEMALE")), Flag(EndAttr::Female));
    EXPECT_EQ(ui.texts(), QStringList({QStringLiteral("KEY unknown AT2 : \r\nMALE")}));
    EXPECT_EQ(ScanEndWords(QStringLiteral("K"), QStringLiteral("X"), 1), 0);
    EXPECT_EQ(ui.texts().last(), QStringLiteral("K unknown AT1 : \r\nX"));
}

TEST_F(PartObjectTest, ThreadOfEndTwo)
{
    EXPECT_EQ(Decode(QStringLiteral("AT2=FEMALE BSP"))->ThreadOfEnd2(), ThreadBsp);
    EXPECT_EQ(Decode(QStringLiteral("AT2=BSP NPT"))->ThreadOfEnd2(), ThreadNpt);
    EXPECT_EQ(Decode(QString())->ThreadOfEnd2(), ThreadMetric);
    EXPECT_EQ(ThreadName(ThreadMetric), QStringLiteral("METRIC"));
    EXPECT_EQ(Decode(QStringLiteral("AT2=FEMALE BSP"))->End2(), 0b10001);
}

TEST_F(PartObjectTest, SetWithinTests)
{
    const auto part = Decode(QStringLiteral("ATR=ELBOW SADDLE\nAT1=MALE\nAT2=FEMALE BSP"));
    EXPECT_TRUE(part->AttributesWithin(0));
    EXPECT_TRUE(part->AttributesWithin(Flag(Attr::Saddle)));
    EXPECT_TRUE(part->AttributesWithin(Flags(Attr::Saddle, Attr::Elbow)));
    EXPECT_FALSE(part->AttributesWithin(Flags(Attr::Saddle, Attr::Quick)));
    EXPECT_TRUE(part->End1Within(Flag(EndAttr::Male)));
    EXPECT_FALSE(part->End2Within(Flag(EndAttr::Male)));
    EXPECT_TRUE(part->End2Within(Flags(EndAttr::Female, EndAttr::Bsp)));
}

TEST_F(PartObjectTest, ImageNames)
{
    EXPECT_EQ(ImageNameOf(QStringLiteral("90642-110-AB")), QStringLiteral("90642-110"));
    EXPECT_EQ(ImageNameOf(QStringLiteral("90642/12")), QStringLiteral("90642"));
    EXPECT_EQ(ImageNameOf(QStringLiteral("90010-25")), QStringLiteral("90010"));
    EXPECT_EQ(ImageNameOf(QStringLiteral("AB12.x")), QStringLiteral("AB12"));
    EXPECT_EQ(ImageNameOf(QStringLiteral("-X")), QString());
}

TEST_F(PartObjectTest, StandardSizeTables)
{
    EXPECT_EQ(FullPipeSizes().size(), 11);
    EXPECT_EQ(FullPipeSizeTexts().first(), QStringLiteral("20mm"));
    EXPECT_EQ(FullPipeSizeTexts().last(), QStringLiteral("1\""));
    EXPECT_EQ(DropSizeText(),
              QStringLiteral("20mm\n25mm\n32mm\n40mm\n50mm\n63mm\n80mm\n110mm\n5/8\""));
    EXPECT_EQ(SmallSizes(), QList<float>({6.35f, 9.25f, 12.7f}));
}

TEST_F(PartObjectTest, SameSizeToAThousandthOfAMillimetre)
{
    EXPECT_TRUE(SameSize(19.05f, 19.0504f));
    EXPECT_FALSE(SameSize(19.05f, 19.06f));
    EXPECT_TRUE(SameSize(12.7f, 25.4f / 2));
}

TEST_F(PartObjectTest, ClassMembership)
{
    const auto tee = CreatePart(PartClass::OutletTee, QStringLiteral("X"));
    EXPECT_TRUE(tee->IsA<TOutletTee>());
    EXPECT_TRUE(tee->IsA<TOutlet>());
    EXPECT_TRUE(tee->IsA<TPipePartObject>());
    EXPECT_TRUE(tee->IsA<TPartObject>());
    EXPECT_FALSE(tee->IsA<TSaddleOutlet>());
    const auto reducer = CreatePart(PartClass::Reducer, QStringLiteral("R"));
    EXPECT_FALSE(reducer->IsA<TPipePartObject>());
    EXPECT_TRUE(reducer->IsA<TPartObject>());
    EXPECT_EQ(PartClassName(CreatePart(PartClass::Valve, QStringLiteral("V"))->partClass()),
              QStringLiteral("TValve"));
}

} // namespace
