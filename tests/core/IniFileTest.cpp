#include "IniFile.h"

#include "Cp1252.h"
#include "LocaleInfo.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

using namespace pipeloop;

namespace
{
const QString Missing = QStringLiteral("<missing>");

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QString read(const IniFile& ini, QStringView section, QStringView key)
{
    return ini.readString(section, key, Missing);
}

QStringList list(std::initializer_list<const char*> items)
{
    QStringList result;
    for (const char* item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

LocaleFacts withSeparator(QChar separator)
{
    LocaleFacts facts;
    facts.decimalSeparator = separator;
    return facts;
}

// Parse, write, parse again: the content read must not change.
void expectStableRoundTrip(const QByteArray& input)
{
    const IniFile first = IniFile::fromBytes(input);
    const QByteArray written = first.toBytes();
    const IniFile second = IniFile::fromBytes(written);
    ASSERT_EQ(second.sectionNames(), first.sectionNames());
    for (const QString& section : first.sectionNames()) {
        ASSERT_EQ(second.keyNames(section), first.keyNames(section)) << section.toStdString();
        for (const QString& key : first.keyNames(section))
            ASSERT_EQ(second.value(section, key), first.value(section, key));
    }
    ASSERT_EQ(second.toBytes(), written);
}
} // namespace

// --- Reading: the grammar -------------------------------------------------------

TEST(IniReading, TrimsBlanksAndControlCharactersAroundLinesNamesAndValues)
{
    const IniFile ini = IniFile::fromBytes(" \t[  Project \x01]\x02 \r\n"
                                           "\x1F  Description \t=\t  two  inner  blanks\t \r\n"
                                           "Kept=\x7F"
                                           "del and nbsp\xA0\r\n");
    EXPECT_EQ(ini.sectionNames(), list({"Project"}));
    EXPECT_EQ(read(ini, u"Project", u"Description"), text("two  inner  blanks"));
    // Only bytes up to the blank count: DEL and the no-break space are text.
    EXPECT_EQ(read(ini, u"Project", u"Kept"), text("\x7F"
                                                   "del and nbsp\u00A0"));
}

TEST(IniReading, SkipsEmptyLinesAndCommentsButNotSemicolonsInValues)
{
    const IniFile ini = IniFile::fromBytes("[S]\r\n"
                                           "; a comment\r\n"
                                           "   ;Hidden=1\r\n"
                                           "\r\n \t \r\n"
                                           "Shown=;not a comment\r\n");
    EXPECT_EQ(ini.keyNames(u"S"), list({"Shown"}));
    EXPECT_FALSE(ini.valueExists(u"S", u"Hidden"));
    EXPECT_FALSE(ini.valueExists(u"S", u";Hidden"));
    EXPECT_EQ(read(ini, u"S", u"Shown"), text(";not a comment"));
}

TEST(IniReading, IgnoresEverythingBeforeTheFirstSection)
{
    const IniFile ini = IniFile::fromBytes("Key=outside\r\nstray text\r\n[S]\r\nKey=inside\r\n");
    EXPECT_EQ(ini.sectionNames(), list({"S"}));
    EXPECT_EQ(read(ini, u"S", u"Key"), text("inside"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[S]\r\nKey=inside\r\n\r\n"));
}

TEST(IniReading, SplitsAtTheFirstEqualsSign)
{
    const IniFile ini = IniFile::fromBytes("[S]\r\n"
                                           "Formula = a = b=c\r\n"
                                           "Empty=\r\n"
                                           " = no name\r\n");
    EXPECT_EQ(read(ini, u"S", u"Formula"), text("a = b=c"));
    EXPECT_EQ(read(ini, u"S", u"Empty"), QString());
    EXPECT_TRUE(ini.valueExists(u"S", u"Empty"));
    EXPECT_EQ(read(ini, u"S", u""), text("no name"));
    EXPECT_EQ(ini.keyNames(u"S"), list({"Formula", "Empty", ""}));
}

TEST(IniReading, ALineWithoutEqualsStaysInItsSectionButIsNoKey)
{
    const IniFile ini = IniFile::fromBytes("[S]\r\nA=1\r\n  free text  \r\nB=2\r\n");
    EXPECT_EQ(ini.keyNames(u"S"), list({"A", "B"}));
    EXPECT_FALSE(ini.valueExists(u"S", u"free text"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[S]\r\nA=1\r\nfree text\r\nB=2\r\n\r\n"));
}

TEST(IniReading, OnlyALineInBracketsOpensASection)
{
    const IniFile ini = IniFile::fromBytes("[First]\r\n"
                                           "[not closed\r\n"
                                           "[closed] trailing\r\n"
                                           "]\r\n"
                                           "[a=b]\r\n"
                                           "[]\r\n"
                                           "[[x]]\r\n");
    EXPECT_EQ(ini.sectionNames(), list({"First", "a=b", "", "[x]"}));
    EXPECT_TRUE(ini.keyNames(u"First").isEmpty());
    EXPECT_TRUE(ini.sectionExists(u""));
    EXPECT_TRUE(
        ini.toBytes().startsWith("[First]\r\n[not closed\r\n[closed] trailing\r\n]\r\n\r\n"));
}

TEST(IniReading, NamesCompareWithoutRegardToCase)
{
    const IniFile ini = IniFile::fromBytes("[Elbow1]\r\nVerticalDrop=250\r\n");
    EXPECT_EQ(ini.readInteger(u"ELBOW1", u"Verticaldrop", 0), 250);
    EXPECT_EQ(ini.readInteger(u"elbow1", u"VERTICALDROP", 0), 250);
    EXPECT_TRUE(ini.sectionExists(u"eLBOW1"));
    EXPECT_FALSE(ini.sectionExists(u"Elbow"));
}

TEST(IniReading, WindowsLettersCompareWithoutRegardToCaseToo)
{
    // Ä/ä, Š/š, Œ/œ, Ž/ž, Ÿ/ÿ, Þ/þ; ß and µ have no partner, × and ÷ are no letters.
    const IniFile ini = IniFile::fromBytes("[\xC4rger\x8A\x8C\x8E\x9F\xDE]\r\n"
                                           "Stra\xDF"
                                           "e=1\r\n\xD7=2\r\n");
    const QString lower = text("ärgeršœžÿþ");
    EXPECT_TRUE(ini.sectionExists(lower));
    EXPECT_TRUE(ini.sectionExists(lower.toUpper()));
    EXPECT_EQ(read(ini, lower, text("STRAßE")), text("1"));
    EXPECT_FALSE(ini.valueExists(lower, u"STRASSE"));
    EXPECT_FALSE(ini.valueExists(lower, text("÷")));
    EXPECT_FALSE(ini.sectionExists(u"argersoezyt"));
}

TEST(IniReading, LineFeedCrLfAndALoneCarriageReturnEachEndALine)
{
    const IniFile ini = IniFile::fromBytes("[S]\nA=1\r\nB=2\rC=3\n\rD=4");
    EXPECT_EQ(ini.keyNames(u"S"), list({"A", "B", "C", "D"}));
    EXPECT_EQ(read(ini, u"S", u"D"), text("4")); // no line end at the end of the text
    EXPECT_EQ(ini.toBytes(), QByteArray("[S]\r\nA=1\r\nB=2\r\nC=3\r\nD=4\r\n\r\n"));
}

TEST(IniReading, NulBytesAreOrdinaryText)
{
    const IniFile ini = IniFile::fromBytes(QByteArray("[S\0x]\r\nK\0=v\0w\0\r\n", 17));
    const QString section = QString(QChar(u'S')) + QChar(0) + u'x';
    EXPECT_TRUE(ini.sectionExists(section));
    // A NUL at the end of a line is a control character and trimmed.
    EXPECT_EQ(read(ini, section, u"K"), QString(QChar(u'v')) + QChar(0) + u'w');
    EXPECT_EQ(ini.toBytes(), QByteArray("[S\0x]\r\nK=v\0w\r\n\r\n", 16));
}

TEST(IniReading, AMissingSectionOrKeyGivesTheFallback)
{
    const IniFile ini = IniFile::fromBytes("[S]\r\nA=1\r\n");
    EXPECT_EQ(ini.readString(u"T", u"A", text("dflt")), text("dflt"));
    EXPECT_EQ(ini.readString(u"S", u"B", text("dflt")), text("dflt"));
    EXPECT_EQ(ini.readInteger(u"S", u"B", -7), -7);
    EXPECT_TRUE(ini.readBool(u"S", u"B", true));
    EXPECT_EQ(ini.value(u"S", u"B"), std::nullopt);
    EXPECT_TRUE(ini.keyNames(u"T").isEmpty());
    EXPECT_EQ(IniFile::fromBytes("").sectionNames(), QStringList());
    EXPECT_EQ(IniFile().readInteger(u"S", u"A", 3), 3);
}

// --- Repeated names: the last occurrence is read and written -----------------

TEST(IniRepeats, ARepeatedKeyTakesTheLastValueInThePlaceAndSpellingOfTheFirst)
{
    const IniFile ini = IniFile::fromBytes("[S]\r\nSize=1\r\nOther=x\r\nSIZE=2\r\nsize=3\r\n");
    EXPECT_EQ(ini.keyNames(u"S"), list({"Size", "Other"}));
    EXPECT_EQ(read(ini, u"S", u"size"), text("3"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[S]\r\nSize=3\r\nOther=x\r\n\r\n"));
}

TEST(IniRepeats, ARepeatedSectionReplacesTheEarlierOneWhereItStood)
{
    const IniFile ini = IniFile::fromBytes("[Drop1]\r\nNS=1\r\nEW=2\r\nnote\r\n"
                                           "[Drop2]\r\nNS=5\r\n"
                                           "[DROP1]\r\nEW=9\r\n");
    EXPECT_EQ(ini.sectionNames(), list({"Drop1", "Drop2"}));
    EXPECT_EQ(ini.keyNames(u"drop1"), list({"EW"}));
    EXPECT_FALSE(ini.valueExists(u"Drop1", u"NS"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[Drop1]\r\nEW=9\r\n\r\n[Drop2]\r\nNS=5\r\n\r\n"));
}

TEST(IniRepeats, KeysRepeatedInsideAReplacedSectionStillResolveToTheLast)
{
    const IniFile ini =
        IniFile::fromBytes("[A]\r\nk=1\r\n[A]\r\nk=2\r\nk=3\r\n[a]\r\n[A]\r\nk=4\r\n");
    EXPECT_EQ(ini.toBytes(), QByteArray("[A]\r\nk=4\r\n\r\n"));
}

// --- Writing: the byte-exact form --------------------------------------------

TEST(IniWriting, AnEmptyImageWritesNothing)
{
    EXPECT_TRUE(IniFile().toBytes().isEmpty());
    EXPECT_TRUE(IniFile::fromBytes("no sections at all\r\n").toBytes().isEmpty());
    IniFile ini;
    ini.writeString(u"S", u"K", text("v"));
    ini.clear();
    EXPECT_TRUE(ini.toBytes().isEmpty());
    EXPECT_FALSE(ini.sectionExists(u"S"));
}

TEST(IniWriting, SectionsAndKeysAppearInFirstWrittenOrderWithCrLfAndAnEmptyLine)
{
    IniFile ini;
    ini.writeInteger(u"PIPELOOP-FILE-INFO", u"File_Version", 1);
    ini.writeString(u"PIPELOOP-FILE-INFO", u"PipeLoop_Version", text("1.0.0.0"));
    ini.writeInteger(u"Project", u"ZoomFactorPLAN", 20);
    ini.writeString(u"Building", u"RoomEW", text("5000"));
    ini.writeInteger(u"Project", u"ZoomFactorNORTH", 30);
    ini.writeInteger(u"project", u"zoomfactorplan", 25); // replaces in place, keeps spelling
    const QByteArray expected = "[PIPELOOP-FILE-INFO]\r\n"
                                "File_Version=1\r\n"
                                "PipeLoop_Version=1.0.0.0\r\n"
                                "\r\n"
                                "[Project]\r\n"
                                "ZoomFactorPLAN=25\r\n"
                                "ZoomFactorNORTH=30\r\n"
                                "\r\n"
                                "[Building]\r\n"
                                "RoomEW=5000\r\n"
                                "\r\n";
    EXPECT_EQ(ini.toBytes(), expected);
    EXPECT_EQ(ini.toBytes().left(22), QByteArray("[PIPELOOP-FILE-INFO]\r\n"));
    EXPECT_EQ(IniFile::fromBytes(expected).toBytes(), expected);
}

TEST(IniWriting, ASectionWithoutKeysIsWrittenAsItsHeaderAndTheEmptyLine)
{
    EXPECT_EQ(IniFile::fromBytes("[Notes]").toBytes(), QByteArray("[Notes]\r\n\r\n"));
}

TEST(IniWriting, ReadingAndWritingKeepsContentAndDropsOnlyWhatTheGrammarDrops)
{
    const QByteArray messy = "; header comment\n"
                             "orphan=1\n"
                             "  [ Project ]  \n"
                             "\tDescription =  Pump house \n"
                             "\n"
                             "a loose line\n"
                             "Units=1\n";
    EXPECT_EQ(IniFile::fromBytes(messy).toBytes(), QByteArray("[Project]\r\n"
                                                              "Description=Pump house\r\n"
                                                              "a loose line\r\n"
                                                              "Units=1\r\n"
                                                              "\r\n"));
}

TEST(IniWriting, ErasedSectionsAndDeletedKeysReturnAtTheEndWhenWrittenAgain)
{
    IniFile ini = IniFile::fromBytes("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    ini.deleteKey(u"a", u"X");
    EXPECT_FALSE(ini.valueExists(u"A", u"x"));
    ini.writeString(u"A", u"x", text("new"));
    EXPECT_EQ(ini.keyNames(u"A"), list({"y", "x"}));
    ini.eraseSection(u"A");
    EXPECT_FALSE(ini.sectionExists(u"A"));
    EXPECT_FALSE(ini.valueExists(u"A", u"y"));
    ini.writeString(u"a", u"y", text("4"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[B]\r\nz=3\r\n\r\n[a]\r\ny=4\r\n\r\n"));
    ini.eraseSection(u"missing");
    ini.deleteKey(u"B", u"missing");
    ini.deleteKey(u"missing", u"z");
    EXPECT_EQ(ini.sectionNames(), list({"B", "a"}));
}

TEST(IniWriting, ValuesAndNamesStayOnOneLine)
{
    IniFile ini;
    ini.writeString(u"S", u"Text", text("line one\r\n[Injected]\nK=V\rend"));
    ini.writeString(text("Two\nLines"), text("Key\r"), text("v"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[S]\r\nText=line one  [Injected] K=V end\r\n\r\n"
                                        "[Two Lines]\r\nKey =v\r\n\r\n"));
    EXPECT_EQ(read(ini, text("Two\nLines"), text("Key\r")), text("v"));
}

TEST(IniWriting, CharactersOutsideWindows1252AreWrittenAsQuestionMarks)
{
    IniFile ini;
    ini.writeString(text("Ωhm"), text("Größe"), text("20€ ∑"));
    EXPECT_EQ(ini.toBytes(), QByteArray("[?hm]\r\nGr\xF6\xDF"
                                        "e=20\x80 ?\r\n\r\n"));
    EXPECT_EQ(read(ini, text("Ωhm"), text("GRÖßE")), text("20€ ?")); // names compare as written
    EXPECT_TRUE(ini.sectionExists(u"?HM"));
}

TEST(IniWriting, TextGivenAsCharactersIsReadAsItsWindows1252Bytes)
{
    const QString page = text("[Release]\r\nVersion=1.2.3.4\r\nNote=Größe €\r\n");
    const IniFile ini = IniFile::fromText(page);
    EXPECT_EQ(read(ini, u"release", u"note"), text("Größe €"));
    EXPECT_EQ(ini.toBytes(), IniFile::fromBytes(EncodeCp1252(page)).toBytes());
}

// --- Typed values --------------------------------------------------------------

TEST(IniValues, IntegersAreDecimalOrHexadecimalAfter0x)
{
    const IniFile ini = IniFile::fromBytes("[N]\r\n"
                                           "a=42\r\nb=-17\r\nc=+5\r\nd=007\r\n"
                                           "e=0x1F\r\nf=0XfF\r\ng=0x7FFFFFFF\r\nh=0x0000000010\r\n"
                                           "i=2147483647\r\nj=-2147483648\r\n");
    const std::pair<const char16_t*, int32_t> expected[] = {
        {u"a", 42},  {u"b", -17},        {u"c", 5},  {u"d", 7},         {u"e", 31},
        {u"f", 255}, {u"g", 2147483647}, {u"h", 16}, {u"i", INT32_MAX}, {u"j", INT32_MIN},
    };
    for (const auto& [key, value] : expected) {
        EXPECT_EQ(ini.readInteger(u"N", key, -99), value)
            << QStringView(key).toString().toStdString();
        EXPECT_EQ(ini.readParsedInteger(u"N", key, -99).valueOr(-99), value);
    }
    // A missing key is no failure: the fallback.
    EXPECT_EQ(ini.readParsedInteger(u"N", u"missing", -99).valueOr(0), -99);
    EXPECT_EQ(IniFile().readParsedInteger(u"N", u"a", 3).valueOr(0), 3);
}

TEST(IniValues, AnythingElseGivesTheDefault)
{
    const char* bad[] = {"",
                         "0x",
                         "0X",
                         "x10",
                         "12abc",
                         "1 2",
                         "1.5",
                         "-",
                         "+",
                         "--1",
                         "-0x10",
                         "0x-1",
                         "0x1G",
                         "0x80000000",
                         "2147483648",
                         "-2147483649",
                         "99999999999999999999",
                         "\xB9",
                         "$1F",
                         "1e3"};
    for (const char* value : bad) {
        IniFile ini = IniFile::fromBytes(QByteArray("[N]\r\nk=") + value);
        EXPECT_EQ(ini.readInteger(u"N", u"k", -99), -99) << value;
        // A reader that must know is told, with the text found.
        const Parsed<int32_t> parsed = ini.readParsedInteger(u"N", u"k", -99);
        EXPECT_FALSE(parsed) << value;
        EXPECT_EQ(parsed.error(),
                  "'" + QString::fromLatin1(value) + "' is not a valid integer value");
        EXPECT_TRUE(ini.readBool(u"N", u"k", true)) << value;
        EXPECT_FALSE(ini.readBool(u"N", u"k", false)) << value;
    }
}

TEST(IniValues, BooleansAreIntegersWrittenAsOneOrZero)
{
    const IniFile ini =
        IniFile::fromBytes("[B]\r\nt=1\r\nf=0\r\nminus=-3\r\nhex=0x10\r\nword=true\r\n");
    EXPECT_TRUE(ini.readBool(u"B", u"t", false));
    EXPECT_FALSE(ini.readBool(u"B", u"f", true));
    EXPECT_TRUE(ini.readBool(u"B", u"minus", false));
    EXPECT_TRUE(ini.readBool(u"B", u"hex", false));
    EXPECT_FALSE(ini.readBool(u"B", u"word", false)); // not an integer: the default
    IniFile out;
    out.writeBool(u"B", u"yes", true);
    out.writeBool(u"B", u"no", false);
    EXPECT_EQ(out.toBytes(), QByteArray("[B]\r\nyes=1\r\nno=0\r\n\r\n"));
}

TEST(IniValues, IntegersAreWrittenInDecimalOverTheWholeInt64Range)
{
    IniFile ini;
    ini.writeInteger(u"N", u"small", -42);
    ini.writeInteger(u"N", u"big", INT64_MIN);
    EXPECT_EQ(ini.toBytes(), QByteArray("[N]\r\nsmall=-42\r\nbig=-9223372036854775808\r\n\r\n"));
    EXPECT_EQ(ini.readInteger(u"N", u"big", 5), 5); // beyond int32 when read
}

TEST(IniValues, RealsAreWrittenWithFifteenDigitsAndTheLocaleSeparator)
{
    const float hoseSize = 6.35f;
    const float halfPi = static_cast<float>(std::numbers::pi / 2);
    {
        const ScopedLocale fullStop(withSeparator(u'.'));
        EXPECT_EQ(FormatIniReal(50.0), text("50"));
        EXPECT_EQ(FormatIniReal(hoseSize), text("6.34999990463257"));
        EXPECT_EQ(FormatIniReal(halfPi), text("1.57079637050629"));
        EXPECT_EQ(FormatIniReal(0.1), text("0.1"));
        EXPECT_EQ(FormatIniReal(-12.5), text("-12.5"));
        EXPECT_EQ(FormatIniReal(0.0), text("0"));
        EXPECT_EQ(FormatIniReal(1e-5), text("1e-05"));
        EXPECT_EQ(FormatIniReal(1e20), text("1e+20"));
    }
    {
        const ScopedLocale comma(withSeparator(u','));
        EXPECT_EQ(FormatIniReal(hoseSize), text("6,34999990463257"));
        EXPECT_EQ(FormatIniReal(50.0), text("50"));
        IniFile ini;
        ini.writeReal(u"PipeLoop", u"PipeSize", 63.5);
        EXPECT_EQ(ini.toBytes(), QByteArray("[PipeLoop]\r\nPipeSize=63,5\r\n\r\n"));
    }
}

TEST(IniValues, RealsReadBackUnderEitherLocale)
{
    IniFile ini;
    {
        const ScopedLocale comma(withSeparator(u','));
        ini.writeReal(u"Drop1", u"HoseSize", 6.35f);
        ini.writeReal(u"Valve1", u"Angle", static_cast<float>(std::numbers::pi / 2));
    }
    const ScopedLocale fullStop(withSeparator(u'.'));
    const IniFile reread = IniFile::fromBytes(ini.toBytes());
    const Parsed<double> hose = reread.readReal(u"Drop1", u"HoseSize", text("25.0"));
    ASSERT_TRUE(hose.ok());
    EXPECT_EQ(static_cast<float>(hose.value()), 6.35f);
    const Parsed<double> angle = reread.readReal(u"valve1", u"angle", text("0.0"));
    ASSERT_TRUE(angle.ok());
    EXPECT_EQ(static_cast<float>(angle.value()), static_cast<float>(std::numbers::pi / 2));
    const IniFile file = IniFile::fromBytes("[PipeLoop]\r\nPipeSize=63,5\r\nBad=abc\r\n");
    EXPECT_DOUBLE_EQ(file.readReal(u"PipeLoop", u"PipeSize", text("50.0")).value(), 63.5);
}

TEST(IniValues, AMissingRealReadsTheFallbackTextAndABadOneFails)
{
    const IniFile ini = IniFile::fromBytes("[PipeLoop]\r\nBad=abc\r\n");
    const Parsed<double> fallback = ini.readReal(u"PipeLoop", u"PipeSize", text("50.0"));
    ASSERT_TRUE(fallback.ok());
    EXPECT_DOUBLE_EQ(fallback.value(), 50.0);
    const Parsed<double> bad = ini.readReal(u"PipeLoop", u"Bad", text("50.0"));
    EXPECT_FALSE(bad.ok());
    EXPECT_FALSE(bad.error().isEmpty());
}

// --- Windows-1252 bytes survive ------------------------------------------------

TEST(IniBytes, EveryByteValueSurvivesInValuesAndNames)
{
    QByteArray input;
    IniFile rewritten;
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n')
            continue;
        const QByteArray byte(1, static_cast<char>(b));
        // Numbered, since "a" and "A" would name the same section.
        const QByteArray section = "S" + QByteArray::number(b) + byte + "S";
        input += "[" + section + "]\r\n" + "K" + byte + "K=<" + byte + ">\r\n\r\n";
        // The decoded text written back gives the same bytes.
        rewritten.writeString(DecodeCp1252(section), DecodeCp1252("K" + byte + "K"),
                              DecodeCp1252("<" + byte + ">"));
    }
    const IniFile ini = IniFile::fromBytes(input);
    EXPECT_EQ(ini.sectionNames().size(), 254);
    EXPECT_EQ(ini.toBytes(), input);
    EXPECT_EQ(rewritten.toBytes(), input);
    for (int b = 0; b < 256; ++b) {
        if (b == '\r' || b == '\n' || b == '=') // "K=K" is key "K" once written
            continue;
        const QByteArray byte(1, static_cast<char>(b));
        EXPECT_EQ(ini.value(DecodeCp1252("S" + QByteArray::number(b) + byte + "S"),
                            DecodeCp1252("K" + byte + "K")),
                  DecodeCp1252("<" + byte + ">"))
            << b;
    }
}

TEST(IniBytes, AValueHoldingEveryByteAtOnceSurvives)
{
    QByteArray value = "<";
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            value.append(static_cast<char>(b));
    value.append('>');
    const QByteArray input = "[S]\r\nAll=" + value + "\r\n\r\n";
    const IniFile ini = IniFile::fromBytes(input);
    EXPECT_EQ(ini.toBytes(), input);
    EXPECT_EQ(EncodeCp1252(*ini.value(u"S", u"All")), value);
    IniFile copy;
    copy.writeString(u"S", u"All", *ini.value(u"S", u"All"));
    EXPECT_EQ(copy.toBytes(), input);
}

// --- The image as a value -------------------------------------------------------

TEST(IniImage, CopiesAreIndependentAndMovedFromImagesAreEmpty)
{
    IniFile original = IniFile::fromBytes("[S]\r\nK=1\r\n");
    IniFile copy = original;
    copy.writeString(u"S", u"K", text("2"));
    copy.writeString(u"T", u"K", text("3"));
    EXPECT_EQ(original.toBytes(), QByteArray("[S]\r\nK=1\r\n\r\n"));
    EXPECT_EQ(read(copy, u"S", u"K"), text("2"));
    original = copy;
    EXPECT_EQ(original.toBytes(), copy.toBytes());

    IniFile moved = std::move(copy);
    EXPECT_EQ(moved.sectionNames(), list({"S", "T"}));
    EXPECT_TRUE(copy.toBytes().isEmpty()); // NOLINT(bugprone-use-after-move): valid but empty
    copy.writeString(u"X", u"Y", text("z"));
    EXPECT_EQ(copy.toBytes(), QByteArray("[X]\r\nY=z\r\n\r\n"));
}

TEST(IniImage, ManyRewritesAndDeletionsKeepExactlyTheLiveContent)
{
    // An ordered model of what the image must hold after a long mixed run.
    IniFile ini = IniFile::fromBytes("[Keep]\r\nfirst=1\r\n");
    std::vector<std::pair<QString, std::vector<std::pair<QString, QString>>>> model = {
        {text("Keep"), {{text("first"), text("1")}}}};
    QRandomGenerator random(1234);
    for (int step = 0; step < 60000; ++step) {
        const QString section = QStringLiteral("S%1").arg(random.bounded(20));
        const QString key = QStringLiteral("K%1").arg(random.bounded(30));
        auto sec = std::find_if(model.begin(), model.end(),
                                [&](const auto& s) { return s.first == section; });
        switch (random.bounded(10)) {
        case 0:
            ini.eraseSection(section);
            if (sec != model.end())
                model.erase(sec);
            break;
        case 1:
        case 2: {
            ini.deleteKey(section, key);
            if (sec != model.end())
                std::erase_if(sec->second, [&](const auto& kv) { return kv.first == key; });
            break;
        }
        default: {
            const QString value = QString(random.bounded(40), u'v') + QString::number(step);
            ini.writeString(section, key, value);
            if (sec == model.end())
                sec = model.insert(model.end(), {section, {}});
            auto kv = std::find_if(sec->second.begin(), sec->second.end(),
                                   [&](const auto& p) { return p.first == key; });
            if (kv == sec->second.end())
                sec->second.emplace_back(key, value);
            else
                kv->second = value;
        }
        }
    }
    QByteArray expected;
    for (const auto& [section, keys] : model) {
        expected += "[" + section.toLatin1() + "]\r\n";
        for (const auto& [key, value] : keys)
            expected += key.toLatin1() + "=" + value.toLatin1() + "\r\n";
        expected += "\r\n";
    }
    EXPECT_EQ(ini.toBytes(), expected);
}

// --- Large and hostile input ------------------------------------------------------

TEST(IniLarge, AMegabyteLineIsReadWhole)
{
    const QByteArray big(1 << 20, 'x');
    const IniFile ini =
        IniFile::fromBytes("[S]\r\nBig=" + big + "\r\n" + big + "\r\n[" + big + "]");
    EXPECT_EQ(ini.value(u"S", u"Big")->size(), 1 << 20);
    EXPECT_TRUE(ini.sectionExists(QString::fromLatin1(big)));
    expectStableRoundTrip("[S]\r\nBig=" + big + "\r\n" + big + "=" + big + "\r\n");
}

TEST(IniLarge, AHundredThousandSectionsAreAllFound)
{
    QByteArray input;
    for (int s = 0; s < 100000; ++s) {
        input += "[Drop" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 3; ++k)
            input += "Key" + QByteArray::number(k) + "=" + QByteArray::number(s * 3 + k) + "\r\n";
        input += "\r\n";
    }
    const IniFile ini = IniFile::fromBytes(input);
    ASSERT_EQ(ini.sectionNames().size(), 100000);
    for (int s = 0; s < 100000; ++s)
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(ini.readInteger(QStringLiteral("drop%1").arg(s),
                                      QStringLiteral("KEY%1").arg(k), -1),
                      s * 3 + k);
    EXPECT_EQ(ini.toBytes(), input);
}

TEST(IniLarge, RepetitionIsLinear)
{
    // One section repeated, and one key repeated, a few hundred thousand times.
    QByteArray sections, keys = "[S]\r\n";
    for (int i = 0; i < 300000; ++i) {
        sections +=
            "[Same]\r\nk" + QByteArray::number(i % 3) + "=" + QByteArray::number(i) + "\r\n";
        keys += "Key=" + QByteArray::number(i) + "\r\n";
    }
    const IniFile repeatedSections = IniFile::fromBytes(sections);
    EXPECT_EQ(repeatedSections.toBytes(), QByteArray("[Same]\r\nk2=299999\r\n\r\n"));
    const IniFile repeatedKeys = IniFile::fromBytes(keys);
    EXPECT_EQ(repeatedKeys.toBytes(), QByteArray("[S]\r\nKey=299999\r\n\r\n"));
    // A big section emptied again and again by bare headers of its name.
    QByteArray emptied = "[Big]\r\n";
    for (int i = 0; i < 200000; ++i)
        emptied += "K" + QByteArray::number(i) + "=1\r\n";
    for (int i = 0; i < 200000; ++i)
        emptied += (i % 2 ? "[big]\r\n" : "[Other]\r\n[BIG]\r\n");
    EXPECT_EQ(IniFile::fromBytes(emptied + "K7=x\r\n").toBytes(),
              QByteArray("[Big]\r\nK7=x\r\n\r\n[Other]\r\n\r\n"));
}

TEST(IniLarge, ArbitraryBytesReadWithoutHarmAndWriteStably)
{
    // Mostly grammar characters, so that the inputs reach every rule.
    const char alphabet[] = "[]=;; \t\r\n\r\nabAB\0\x80\x8A\x9A\xC4\xE4\xFFxyz";
    QRandomGenerator random(42);
    for (int round = 0; round < 300; ++round) {
        QByteArray input;
        const int size = random.bounded(4000);
        for (int i = 0; i < size; ++i)
            input.append(random.bounded(8) == 0
                             ? static_cast<char>(random.bounded(256))
                             : alphabet[random.bounded(int(sizeof alphabet - 1))]);
        expectStableRoundTrip(input);
        if (testing::Test::HasFatalFailure())
            FAIL() << "input " << input.toHex().toStdString();
    }
}
