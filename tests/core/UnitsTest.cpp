// the rules: lengths, units and pipe sizes, under a full-stop and a comma locale.

#include "Units.h"
#include "LocaleInfo.h"

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace pipeloop;

namespace
{

const LocaleFacts FullStop{u'.', QStringLiteral("£"), 2};
const LocaleFacts Comma{u',', QStringLiteral("€"), 2};

constexpr DisplayUnits Metres = DisplayUnits::Metres;
constexpr DisplayUnits Millimetres = DisplayUnits::Millimetres;
constexpr DisplayUnits Feet = DisplayUnits::FeetInches;
constexpr DisplayUnits AllUnits[] = {Metres, Millimetres, Feet};

// The millimetres a typed text gives, or INT32_MIN after a failed expectation.
int32_t lengthOf(const QString& text, DisplayUnits units)
{
    const Parsed<int32_t> length = ParseLength(text, units);
    EXPECT_TRUE(length.ok()) << text.toStdString() << ": " << length.error().toStdString();
    return length.valueOr(std::numeric_limits<int32_t>::min());
}

// The message of a refused text, or "" after a failed expectation.
QString refusalOf(const QString& text, DisplayUnits units)
{
    const Parsed<int32_t> length = ParseLength(text, units);
    EXPECT_FALSE(length.ok()) << text.toStdString() << " gave " << length.valueOr(0);
    return length.error();
}

float sizeOf(const QString& text)
{
    const std::optional<float> size = ParseSizeText(text);
    EXPECT_TRUE(size.has_value()) << text.toStdString();
    return size.value_or(std::numeric_limits<float>::quiet_NaN());
}

double realOf(const QString& text)
{
    const Parsed<double> value = ParseReal(text);
    EXPECT_TRUE(value.ok()) << text.toStdString() << ": " << value.error().toStdString();
    return value.valueOr(std::numeric_limits<double>::quiet_NaN());
}

// ---------------------------------------------------------------- constants

TEST(Units, ConstantsAndDisplayUnitNumbers)
{
    EXPECT_DOUBLE_EQ(MmPerInch, 25.4);
    EXPECT_DOUBLE_EQ(MmPerFoot, 304.8);
    EXPECT_DOUBLE_EQ(MmPerFoot, 12 * MmPerInch);
    EXPECT_DOUBLE_EQ(MmPerMetre, 1000.0);
    EXPECT_DOUBLE_EQ(MmPerSixteenth, 1.5875);
    // The numbers are stored in project files.
    EXPECT_EQ(static_cast<int>(Metres), 0);
    EXPECT_EQ(static_cast<int>(Millimetres), 1);
    EXPECT_EQ(static_cast<int>(Feet), 2);
}

// ---------------------------------------------------------------- FormatLength

TEST(FormatLength, MetresHaveThreeDecimalsWithTheLocaleSeparator)
{
    {
        ScopedLocale locale(FullStop);
        EXPECT_EQ(FormatLength(5000, Metres), "5.000m");
        EXPECT_EQ(FormatLength(0, Metres), "0.000m");
        EXPECT_EQ(FormatLength(1, Metres), "0.001m");
        EXPECT_EQ(FormatLength(1234567, Metres), "1234.567m");
        EXPECT_EQ(FormatLength(std::numeric_limits<uint32_t>::max(), Metres), "4294967.295m");
    }
    ScopedLocale locale(Comma);
    EXPECT_EQ(FormatLength(5000, Metres), "5,000m");
    EXPECT_EQ(FormatLength(1050, Metres), "1,050m");
}

TEST(FormatLength, MillimetresAreAWholeNumberInAnyLocale)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        EXPECT_EQ(FormatLength(5000, Millimetres), "5000mm");
        EXPECT_EQ(FormatLength(0, Millimetres), "0mm");
        EXPECT_EQ(FormatLength(std::numeric_limits<uint32_t>::max(), Millimetres), "4294967295mm");
    }
}

TEST(FormatLength, FeetAndInchesRoundToTheNearestInch)
{
    EXPECT_EQ(FormatLength(5000, Feet), "16'5\""); // 196.85 inches
    EXPECT_EQ(FormatLength(0, Feet), "0'0\"");
    EXPECT_EQ(FormatLength(304, Feet), "1'0\""); // 11.97 inches round up to a foot
    EXPECT_EQ(FormatLength(25, Feet), "0'1\"");
    EXPECT_EQ(FormatLength(12, Feet), "0'0\""); // 0.47 inches
    EXPECT_EQ(FormatLength(1676, Feet), "5'6\"");
    EXPECT_EQ(FormatLength(std::numeric_limits<uint32_t>::max(), Feet), "14091100'1\"");
}

// ---------------------------------------------------------------- ParseLength

TEST(ParseLength, EmptyTextIsAMissingValue)
{
    for (DisplayUnits units : AllUnits)
        EXPECT_EQ(refusalOf(QString(), units), "Missing value");
}

TEST(ParseLength, MetreNotationWorksInEveryDisplayUnit)
{
    {
        ScopedLocale locale(FullStop);
        for (DisplayUnits units : AllUnits) {
            EXPECT_EQ(lengthOf("1.5m", units), 1500);
            EXPECT_EQ(lengthOf("2m", units), 2000);
            EXPECT_EQ(lengthOf("0.0004m", units), 0);
            EXPECT_EQ(lengthOf("0.0025m", units), 2); // 2.5 mm: halves to even
            EXPECT_EQ(lengthOf("0.0035m", units), 4);
        }
        EXPECT_EQ(refusalOf("1,5m", Metres), "'1,5' is not a valid floating point value");
    }
    ScopedLocale locale(Comma);
    for (DisplayUnits units : AllUnits)
        EXPECT_EQ(lengthOf("1,5m", units), 1500);
    // A real in the locale's format takes the locale's separator only.
    EXPECT_EQ(refusalOf("1.5m", Metres), "'1.5' is not a valid floating point value");
}

TEST(ParseLength, MillimetreNotationTakesWholeNumbersOnly)
{
    for (DisplayUnits units : AllUnits) {
        EXPECT_EQ(lengthOf("1500mm", units), 1500);
        EXPECT_EQ(lengthOf("0mm", units), 0);
        EXPECT_EQ(refusalOf("12.5mm", units), "'12.5' is not a valid integer value");
        EXPECT_EQ(refusalOf("mm", units), "'' is not a valid integer value");
    }
}

TEST(ParseLength, FeetAndInchMarks)
{
    for (DisplayUnits units : AllUnits) {
        EXPECT_EQ(lengthOf("5'6\"", units), 1676);
        EXPECT_EQ(lengthOf("5'", units), 1524);
        EXPECT_EQ(lengthOf("6\"", units), 152);
        EXPECT_EQ(lengthOf("5'6", units), 1676); // no inch mark: the rest is inches
        EXPECT_EQ(lengthOf("0'0\"", units), 0);
        EXPECT_EQ(lengthOf("1'0\"", units), 305); // 304.8
        EXPECT_EQ(lengthOf("16'5\"", units), 5004);
    }
    EXPECT_EQ(refusalOf("5'x\"", Metres), "'x' is not a valid integer value");
    EXPECT_EQ(refusalOf("5.5'", Metres), "'5.5' is not a valid integer value");
    EXPECT_EQ(refusalOf("5'\"", Metres), "'' is not a valid integer value");
}

TEST(ParseLength, BareNumbersAreReadInTheDisplayUnits)
{
    {
        ScopedLocale locale(FullStop);
        EXPECT_EQ(lengthOf("2", Metres), 2000);
        EXPECT_EQ(lengthOf("2", Millimetres), 2);
        EXPECT_EQ(lengthOf("2", Feet), 610); // 609.6
        EXPECT_EQ(lengthOf("2.5", Metres), 2500);
        EXPECT_EQ(lengthOf("1.5", Feet), 457); // 457.2
        EXPECT_EQ(refusalOf("2.5", Millimetres), "'2.5' is not a valid integer value");
        EXPECT_EQ(refusalOf("2,5", Metres), "'2,5' is not a valid floating point value");
    }
    ScopedLocale locale(Comma);
    EXPECT_EQ(lengthOf("2,5", Metres), 2500);
    EXPECT_EQ(lengthOf("1,5", Feet), 457);
    EXPECT_EQ(refusalOf("2.5", Metres), "'2.5' is not a valid floating point value");
}

TEST(ParseLength, ConversionFailuresQuoteTheNumber)
{
    EXPECT_EQ(refusalOf("m", Metres), "'' is not a valid floating point value");
    EXPECT_EQ(refusalOf("abc", Metres), "'abc' is not a valid floating point value");
    EXPECT_EQ(refusalOf("abc", Feet), "'abc' is not a valid floating point value");
    EXPECT_EQ(refusalOf("abc", Millimetres), "'abc' is not a valid integer value");
    EXPECT_EQ(refusalOf("5mm5", Millimetres), "'5mm5' is not a valid integer value");
    EXPECT_EQ(refusalOf("1.5mx", Metres), "'1.5mx' is not a valid floating point value");
    EXPECT_EQ(InvalidValueMessage("12.5mm"), "Invalid value : 12.5mm");
}

TEST(ParseLength, HugeNumbersFailInsteadOfWrapping)
{
    ScopedLocale locale(FullStop);
    // Metres
    EXPECT_EQ(refusalOf("99999999999m", Metres), "'99999999999m' is out of range for a length");
    EXPECT_EQ(lengthOf("2147483.647m", Metres), 2147483647);
    EXPECT_EQ(refusalOf("2147483.648m", Metres), "'2147483.648m' is out of range for a length");
    EXPECT_EQ(lengthOf("-2147483.648m", Metres), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(refusalOf("99999999999", Metres), "'99999999999' is out of range for a length");
    EXPECT_EQ(refusalOf("1e300m", Metres), "'1e300m' is out of range for a length");
    // Millimetres
    EXPECT_EQ(refusalOf("99999999999mm", Metres), "'99999999999' is not a valid integer value");
    EXPECT_EQ(lengthOf("2147483647mm", Metres), 2147483647);
    EXPECT_EQ(refusalOf("2147483648mm", Metres), "'2147483648' is not a valid integer value");
    EXPECT_EQ(lengthOf("-2147483648mm", Metres), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(refusalOf("99999999999999999999999", Millimetres),
              "'99999999999999999999999' is not a valid integer value");
    // Feet and inches: 7045123 feet still fit, 99999999 feet do not.
    EXPECT_EQ(lengthOf("7045123'", Metres), 2147353490);
    EXPECT_EQ(refusalOf("99999999'", Metres), "'99999999'' is out of range for a length");
    EXPECT_EQ(refusalOf("2147483647'11\"", Metres),
              "'2147483647'11\"' is out of range for a length");
    EXPECT_EQ(refusalOf("99999999\"", Metres), "'99999999\"' is out of range for a length");
    EXPECT_EQ(refusalOf("9999999", Feet), "'9999999' is out of range for a length");
}

TEST(ParseLength, NotANumberTextsNeverGiveALength)
{
    for (DisplayUnits units : AllUnits)
        for (const char* text : {"nan", "NaN", "inf", "-inf", "INFm", "nanm", "1e999", "1e999m",
                                 "infinity", "0x10", "1 000", "--5", "+-5", "1e", ".", "5 m'"}) {
            const Parsed<int32_t> length = ParseLength(text, units);
            EXPECT_FALSE(length.ok()) << text << " gave " << length.valueOr(0);
            EXPECT_FALSE(length.error().isEmpty()) << text;
        }
}

TEST(ParseLength, FormattedLengthsReadBackInTheirOwnUnits)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        for (uint32_t mm : {0u, 1u, 999u, 1000u, 5000u, 123456u, 2147483647u}) {
            EXPECT_EQ(lengthOf(FormatLength(mm, Metres), Feet), int32_t(mm));
            EXPECT_EQ(lengthOf(FormatLength(mm, Millimetres), Feet), int32_t(mm));
            // Feet and inches lose the fraction of an inch, never more.
            EXPECT_NEAR(lengthOf(FormatLength(mm, Feet), Metres), double(mm), 12.7 + 0.5);
        }
    }
}

// ---------------------------------------------------------------- key filter

TEST(LengthKeyAllowed, DigitsAndBackspaceAlways)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        for (char digit = '0'; digit <= '9'; ++digit)
            EXPECT_TRUE(LengthKeyAllowed("1.5m'\"", QChar(digit)));
        EXPECT_TRUE(LengthKeyAllowed("12mm", BackspaceKey));
        EXPECT_TRUE(LengthKeyAllowed(QString(), BackspaceKey));
        const QString refusedKeys = QStringLiteral("- Mxe+/\t;") + QChar(0);
        for (QChar refused : refusedKeys)
            EXPECT_FALSE(LengthKeyAllowed("12", refused)) << int(refused.unicode());
    }
}

TEST(LengthKeyAllowed, MarksAndSeparatorOnceUnderAFullStopLocale)
{
    ScopedLocale locale(FullStop);
    EXPECT_TRUE(LengthKeyAllowed("1", u'.'));
    EXPECT_FALSE(LengthKeyAllowed("1.5", u'.'));
    EXPECT_FALSE(LengthKeyAllowed("1", u','));
    EXPECT_TRUE(LengthKeyAllowed("5", u'\''));
    EXPECT_FALSE(LengthKeyAllowed("5'6", u'\''));
    EXPECT_TRUE(LengthKeyAllowed("5'6", u'"'));
    EXPECT_FALSE(LengthKeyAllowed("6\"", u'"'));
    // "m": once, or a second one after a whole number so that "mm" can be typed.
    EXPECT_TRUE(LengthKeyAllowed("1.5", u'm'));
    EXPECT_FALSE(LengthKeyAllowed("1.5m", u'm'));
    EXPECT_TRUE(LengthKeyAllowed("12m", u'm'));
    EXPECT_FALSE(LengthKeyAllowed("12mm", u'm'));
}

TEST(LengthKeyAllowed, TheCommaPlaysTheFullStopsRoleUnderACommaLocale)
{
    ScopedLocale locale(Comma);
    EXPECT_TRUE(LengthKeyAllowed("1", u','));
    EXPECT_FALSE(LengthKeyAllowed("1,5", u','));
    EXPECT_FALSE(LengthKeyAllowed("1", u'.')); // ParseLength would refuse it
    EXPECT_TRUE(LengthKeyAllowed("1,5", u'm'));
    EXPECT_FALSE(LengthKeyAllowed("1,5m", u'm'));
    EXPECT_TRUE(LengthKeyAllowed("12m", u'm'));
    EXPECT_TRUE(LengthKeyAllowed("5", u'\''));
    EXPECT_FALSE(LengthKeyAllowed("5'", u'\''));
}

TEST(LengthKeyAllowed, EverythingTypeableByTheFilterThatLooksCompleteParses)
{
    // Type a few texts key by key through the filter; what it lets through is
    // read by ParseLength in the same locale.
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        const QString separator(facts.decimalSeparator);
        for (const QString& wanted :
             {QStringLiteral("1") + separator + QStringLiteral("5m"), QStringLiteral("1500mm"),
              QStringLiteral("5'6\""), QStringLiteral("2") + separator + QStringLiteral("25")}) {
            QString typed;
            for (QChar key : wanted) {
                ASSERT_TRUE(LengthKeyAllowed(typed, key)) << wanted.toStdString();
                typed += key;
            }
            EXPECT_TRUE(ParseLength(typed, Metres).ok()) << typed.toStdString();
        }
    }
}

// ---------------------------------------------------------------- sizes

TEST(SizeText, WholeMillimetresAndNominalInchSizes)
{
    EXPECT_EQ(SizeText(25.0f), "25mm");
    EXPECT_EQ(SizeText(110.0f), "110mm");
    EXPECT_EQ(SizeText(0.0f), "0mm");
    EXPECT_EQ(SizeText(25.4f), "1\""); // not a whole number of millimetres
    EXPECT_EQ(SizeText(12.7f), "1/2\"");
    EXPECT_EQ(SizeText(6.35f), "1/4\"");
    EXPECT_EQ(SizeText(31.75f), "1\"1/4");
    EXPECT_EQ(SizeText(63.5f), "2\"1/2");
}

TEST(SizeText, OtherSizesHaveThreeDecimalsWithTheLocaleSeparator)
{
    {
        ScopedLocale locale(FullStop);
        EXPECT_EQ(SizeText(20.5f), "20.500mm");
        EXPECT_EQ(SizeText(20.6f), "20.600mm"); // 13 sixteenths: not in the table
        EXPECT_EQ(SizeText(0.25f), "0.250mm");
    }
    ScopedLocale locale(Comma);
    EXPECT_EQ(SizeText(20.5f), "20,500mm");
    EXPECT_EQ(SizeText(25.0f), "25mm");
    EXPECT_EQ(SizeText(12.7f), "1/2\"");
}

TEST(SizeText, TheNominalTableInFull)
{
    const std::pair<int, const char*> table[] = {
        {2, "1/8\""},  {4, "1/4\""},   {6, "3/8\""}, {8, "1/2\""},   {10, "5/8\""},
        {12, "3/4\""}, {14, "7/8\""},  {16, "1\""},  {20, "1\"1/4"}, {24, "1\"1/2"},
        {32, "2\""},   {40, "2\"1/2"}, {48, "3\""},  {56, "3\"1/2"}, {64, "4\""}};
    for (const auto& [sixteenths, text] : table) {
        EXPECT_EQ(NominalSizeText(sixteenths), text);
        const float size = float(sixteenths * MmPerSixteenth);
        EXPECT_EQ(SizeText(size), text);
        EXPECT_NEAR(sizeOf(text), size, 1e-4) << text;
    }
    for (int notNominal : {0, 1, 3, 13, 18, 22, 28, 36, 60, 72, -8})
        EXPECT_TRUE(NominalSizeText(notNominal).isEmpty()) << notNominal;
}

TEST(SizeText, ValuesThatAreNotNumbersStaySo)
{
    EXPECT_EQ(SizeText(std::numeric_limits<float>::quiet_NaN()), "NANmm");
    EXPECT_EQ(SizeText(std::numeric_limits<float>::infinity()), "INFmm");
    EXPECT_EQ(SizeText(-std::numeric_limits<float>::infinity()), "-INFmm");
    EXPECT_EQ(SizeText(1099511627776.0f), "1099511627776mm"); // 2^40
}

TEST(ParseSizeText, MillimetresAndInchFractions)
{
    ScopedLocale locale(FullStop);
    EXPECT_FLOAT_EQ(sizeOf("25mm"), 25.0f);
    EXPECT_FLOAT_EQ(sizeOf("25"), 25.0f);
    EXPECT_FLOAT_EQ(sizeOf("12.5"), 12.5f);
    EXPECT_FLOAT_EQ(sizeOf("1/2\""), 12.7f);
    EXPECT_FLOAT_EQ(sizeOf("1/2"), 12.7f);
    EXPECT_FLOAT_EQ(sizeOf("1\""), 25.4f);
    EXPECT_FLOAT_EQ(sizeOf("1.5\""), 38.1f);
    EXPECT_FLOAT_EQ(sizeOf("1\"1/4"), 31.75f);
    EXPECT_FLOAT_EQ(sizeOf("2\"1/2"), 63.5f);
    EXPECT_FLOAT_EQ(sizeOf("3/2\""), 38.1f);
    EXPECT_FLOAT_EQ(sizeOf(" 1 / 4 \""), 6.35f); // numerator and denominator are trimmed
}

TEST(ParseSizeText, FailuresAreNothing)
{
    ScopedLocale locale(FullStop);
    for (const char* text :
         {"", "mm", "abc", "1 1/4\"", "3/0", "1/x", "x/2", "\"", "1\"x", "1\"1/", "12,5", "nan",
          "inf", "1e39", "1e300mm", "1e999", "1/2/3", "1/2\"\"", "99999999999/1"})
        EXPECT_FALSE(ParseSizeText(text).has_value()) << text;
}

TEST(ParseSizeText, ReadsTheLocalesSeparator)
{
    ScopedLocale locale(Comma);
    EXPECT_FLOAT_EQ(sizeOf("12,5"), 12.5f);
    EXPECT_FLOAT_EQ(sizeOf("20,500mm"), 20.5f);
    EXPECT_FLOAT_EQ(sizeOf("1/2\""), 12.7f);
    EXPECT_FALSE(ParseSizeText("12.5").has_value());
}

TEST(ParseSizeText, SizeTextsReadBack)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        for (float size : {6.35f, 12.7f, 20.0f, 20.5f, 25.0f, 31.75f, 110.0f, 0.125f})
            EXPECT_FLOAT_EQ(sizeOf(SizeText(size)), size) << size;
    }
}

// ---------------------------------------------------------------- reals

TEST(ParseReal, TakesEitherSeparatorUnderEitherLocale)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        EXPECT_DOUBLE_EQ(realOf("50.0"), 50.0);
        EXPECT_DOUBLE_EQ(realOf("50,0"), 50.0);
        EXPECT_DOUBLE_EQ(realOf("50"), 50.0);
        EXPECT_DOUBLE_EQ(realOf("1.5E3"), 1500.0);
        EXPECT_DOUBLE_EQ(realOf("1,5e-3"), 0.0015);
        EXPECT_DOUBLE_EQ(realOf("-2.5"), -2.5);
        EXPECT_DOUBLE_EQ(realOf("+7"), 7.0);
        EXPECT_DOUBLE_EQ(realOf("6;35"), 6.35); // any other character is a separator
        EXPECT_DOUBLE_EQ(realOf(".5"), 0.5);
        EXPECT_DOUBLE_EQ(realOf(" 12 "), 12.0);  // blanks around are not separators
        EXPECT_DOUBLE_EQ(realOf("1e-400"), 0.0); // too small to tell from zero
        EXPECT_DOUBLE_EQ(realOf("0.0000000001e-320"), 0.0);
        EXPECT_DOUBLE_EQ(realOf("0x10"), 0.1); // the x is a separator too
        EXPECT_DOUBLE_EQ(realOf("1e308"), 1e308);
        EXPECT_DOUBLE_EQ(realOf("0.00000001e316"), 1e308);
    }
}

TEST(ParseReal, FailsOnEmptyAndNonNumbers)
{
    for (const LocaleFacts& facts : {FullStop, Comma}) {
        ScopedLocale locale(facts);
        EXPECT_EQ(ParseReal(QString()).error(), "'' is not a valid floating point value");
        EXPECT_EQ(ParseReal("abc").error(), "'abc' is not a valid floating point value");
        for (const char* text :
             {"", " ", ".", "1.2.3", "1,2.3", "nan", "inf", "-inf", "infinity", "1e999", "-1e999",
              "e5", "10000e305", "1e99999999999999", "1e", "1e+", "--1", "1-", "1 2 3"})
            EXPECT_FALSE(ParseReal(text).ok()) << text;
    }
}

TEST(StrictConversions, IntegersAndLocaleReals)
{
    EXPECT_EQ(ParseInteger("42").valueOr(0), 42);
    EXPECT_EQ(ParseInteger("-42").valueOr(0), -42);
    EXPECT_EQ(ParseInteger("+42").valueOr(0), 42);
    EXPECT_EQ(ParseInteger("  7").valueOr(0), 7); // leading blanks, as the runtime allows
    EXPECT_EQ(ParseInteger("2147483647").valueOr(0), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648").valueOr(0), std::numeric_limits<int32_t>::min());
    for (const char* text :
         {"", "-", "+", "7 ", "1.0", "2147483648", "-2147483649", "0x1F", "١٢", "1e3"})
        EXPECT_FALSE(ParseInteger(QString::fromUtf8(text)).ok()) << text;
    EXPECT_EQ(ParseInteger("x").error(), "'x' is not a valid integer value");

    {
        ScopedLocale locale(FullStop);
        EXPECT_DOUBLE_EQ(ParseLocaleReal(" 1.25 ").valueOr(0), 1.25);
        EXPECT_DOUBLE_EQ(ParseLocaleReal("5.").valueOr(0), 5.0);
        EXPECT_FALSE(ParseLocaleReal("1,25").ok());
    }
    ScopedLocale locale(Comma);
    EXPECT_DOUBLE_EQ(ParseLocaleReal("1,25").valueOr(0), 1.25);
    EXPECT_EQ(ParseLocaleReal("1.25").error(), "'1.25' is not a valid floating point value");
}

TEST(FormatFixed, FixedDecimalsWithTheLocaleSeparator)
{
    {
        ScopedLocale locale(FullStop);
        EXPECT_EQ(FormatFixed(20.5, 3), "20.500");
        EXPECT_EQ(FormatFixed(2.5, 0), "3"); // the runtime rounds the digits half up
        EXPECT_EQ(FormatFixed(-0.0001, 3), "0.000");
        EXPECT_EQ(FormatFixed(-1.5, 2), "-1.50");
    }
    ScopedLocale locale(Comma);
    EXPECT_EQ(FormatFixed(20.5, 3), "20,500");
    EXPECT_EQ(FormatFixed(std::nan(""), 3), "NAN");
}

} // namespace
