// the rules: version strings, money, text alignment, replacement and the network test.

#include "BuildVersion.h"
#include "LocaleInfo.h"
#include "Money.h"
#include "Network.h"
#include "TextUtil.h"
#include "Version.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace pipeloop;

namespace
{

const LocaleFacts Pounds{u'.', QStringLiteral("£"), 2};
const LocaleFacts Euros{u',', QStringLiteral("€"), 2};
const LocaleFacts Yen{u'.', QStringLiteral("¥"), 0};
const LocaleFacts ThreeDecimals{u'.', QStringLiteral("BD"), 3};
const LocaleFacts SixDecimals{u'.', QStringLiteral("X"), 6};

// ---------------------------------------------------------------- versions

TEST(VersionString, FileAndProductVersionAreTheProjectVersion)
{
    const QString version = VersionString("FileVersion");
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
        << version.toStdString();
    EXPECT_TRUE(version.startsWith(QStringLiteral(PIPELOOP_FILE_VERSION)));
    EXPECT_EQ(VersionString("ProductVersion"), version);
    EXPECT_EQ(ProgramVersion(), version);
    EXPECT_FALSE(IsNewerVersion(version, ProgramVersion()));
}

TEST(VersionString, OtherNamesAreEmpty)
{
    for (const char* name : {"", "CompanyName", "FileDescription", "Version", "FileVersion "})
        EXPECT_TRUE(VersionString(name).isEmpty()) << name;
}

TEST(IsNewerVersion, ComparesFourNumbersFirstPartFirst)
{
    EXPECT_TRUE(IsNewerVersion("1.3.16.2", "1.3.16.1"));
    EXPECT_TRUE(IsNewerVersion("1.4", "1.3.16.1"));
    EXPECT_FALSE(IsNewerVersion("1.3.16.1", "1.3.16.1"));
    EXPECT_FALSE(IsNewerVersion("1.3.16.1", "1.3.16.2"));
    EXPECT_TRUE(IsNewerVersion("1.3.x.9", "1.3.0.1")); // x counts as 0, then 9 > 1
    EXPECT_TRUE(IsNewerVersion("10.0", "9.9.9.9"));    // numbers, not texts
    EXPECT_TRUE(IsNewerVersion("2", "1.99"));
}

TEST(IsNewerVersion, MissingBadAndExtraPartsCountAsNothing)
{
    EXPECT_FALSE(IsNewerVersion("1.3", "1.3.0.0"));
    EXPECT_FALSE(IsNewerVersion("1.3.0.0", "1.3"));
    EXPECT_FALSE(IsNewerVersion("1.3.16.1.9", "1.3.16.1")); // the fifth part is ignored
    EXPECT_FALSE(IsNewerVersion("", "0.0.0.0"));
    EXPECT_FALSE(IsNewerVersion("garbage", ""));
    EXPECT_TRUE(IsNewerVersion("0.0.0.1", "garbage"));
    EXPECT_FALSE(IsNewerVersion("99999999999.0", "0.1")); // beyond an integer: 0
    EXPECT_FALSE(IsNewerVersion("1.-2", "1.0"));
    EXPECT_TRUE(IsNewerVersion("1.0", "1.-2"));
}

// ---------------------------------------------------------------- money

TEST(FormatMoney, TheLocalesSymbolAndDecimals)
{
    {
        ScopedLocale locale(Pounds);
        EXPECT_EQ(FormatMoney(12 * MoneyUnit + MoneyUnit / 2, true), "£12.50");
        EXPECT_EQ(FormatMoney(125000, false), "12.50");
        EXPECT_EQ(FormatMoney(0, true), "£0.00");
        EXPECT_EQ(FormatMoney(12345678900000, false), "1234567890.00"); // no thousands separators
        EXPECT_EQ(FormatMoney(-125000, true), "£-12.50");
    }
    {
        ScopedLocale locale(Euros);
        EXPECT_EQ(FormatMoney(125000, true), "€12,50");
        EXPECT_EQ(FormatMoney(125000, false), "12,50");
    }
    {
        ScopedLocale locale(Yen);
        EXPECT_EQ(FormatMoney(1230000, true), "¥123");
    }
    {
        ScopedLocale locale(SixDecimals);
        EXPECT_EQ(FormatMoney(12345, false), "1.234500");
    }
}

TEST(FormatMoney, RoundsHalvesToEvenExactly)
{
    {
        ScopedLocale locale(Pounds);
        EXPECT_EQ(FormatMoney(1250, false), "0.12");
        EXPECT_EQ(FormatMoney(1350, false), "0.14");
        EXPECT_EQ(FormatMoney(1251, false), "0.13");
        EXPECT_EQ(FormatMoney(1249, false), "0.12");
        EXPECT_EQ(FormatMoney(-1350, false), "-0.14");
        EXPECT_EQ(FormatMoney(-49, false), "0.00"); // no negative zero
        EXPECT_EQ(FormatMoney(999950, false), "100.00");
    }
    {
        ScopedLocale locale(Yen);
        EXPECT_EQ(FormatMoney(125000, false), "12");
        EXPECT_EQ(FormatMoney(135000, false), "14");
    }
    ScopedLocale locale(ThreeDecimals);
    EXPECT_EQ(FormatMoney(12345, true), "BD1.234");
    EXPECT_EQ(FormatMoney(12355, true), "BD1.236");
}

TEST(FormatMoney, TheWholeInt64Range)
{
    ScopedLocale locale(Pounds);
    EXPECT_EQ(FormatMoney(std::numeric_limits<Money>::max(), false), "922337203685477.58");
    EXPECT_EQ(FormatMoney(std::numeric_limits<Money>::min(), false), "-922337203685477.58");
    ScopedLocale four(LocaleFacts{u'.', QStringLiteral("£"), 4});
    EXPECT_EQ(FormatMoney(std::numeric_limits<Money>::max(), false), "922337203685477.5807");
    EXPECT_EQ(FormatMoney(std::numeric_limits<Money>::min(), true), "£-922337203685477.5808");
}

TEST(ParseMoney, ReadsTenThousandthsWithOrWithoutTheSymbol)
{
    {
        ScopedLocale locale(Pounds);
        EXPECT_EQ(ParseMoney("£1.234").valueOr(-1), 12340);
        EXPECT_EQ(ParseMoney("1.234").valueOr(-1), 12340);
        EXPECT_EQ(ParseMoney("£12,50").valueOr(-1), 125000); // either separator
        EXPECT_EQ(ParseMoney("£-3.5").valueOr(-1), -35000);
        EXPECT_EQ(ParseMoney("0.00004").valueOr(-1), 0);
        EXPECT_EQ(ParseMoney("0.00006").valueOr(-1), 1);
    }
    ScopedLocale locale(Euros);
    EXPECT_EQ(ParseMoney("€12,50").valueOr(-1), 125000);
    EXPECT_EQ(ParseMoney("12,50 €").valueOr(-1), 125000);
}

TEST(ParseMoney, UnreadableAndHugeAmountsFail)
{
    ScopedLocale locale(Pounds);
    for (const char* text : {"", "£", "abc", "£abc", "nan", "£inf", "1e999", "1.2.3"})
        EXPECT_FALSE(ParseMoney(QString::fromUtf8(text)).ok()) << text;
    EXPECT_EQ(ParseMoney("abc").error(), "'abc' is not a valid floating point value");
    EXPECT_EQ(ParseMoney("£1e30").error(), "'£1e30' is out of range for an amount of money");
    EXPECT_FALSE(ParseMoney("-1e15").ok());
    EXPECT_EQ(ParseMoney("-1e14").valueOr(0), Money(-1e18));
}

TEST(Money, FormattedAmountsReadBack)
{
    for (const LocaleFacts& facts : {Pounds, Euros, Yen, ThreeDecimals}) {
        ScopedLocale locale(facts);
        Money step = 1; // the smallest amount the locale shows
        for (int i = facts.currencyDecimals; i < 4; ++i)
            step *= 10;
        for (Money amount : {Money(0), Money(10000), Money(125000), Money(-35000), Money(1230),
                             Money(987654321000000)}) {
            if (amount % step != 0)
                continue;
            const Parsed<Money> back = ParseMoney(FormatMoney(amount, true));
            ASSERT_TRUE(back.ok()) << FormatMoney(amount, true).toStdString();
            EXPECT_EQ(back.value(), amount) << FormatMoney(amount, true).toStdString();
        }
    }
}

// ---------------------------------------------------------------- text

TEST(TextUtil, PadsToAWidthAndNeverCuts)
{
    EXPECT_EQ(PadLeft("12", 5), "   12");
    EXPECT_EQ(PadRight("12", 5), "12   ");
    EXPECT_EQ(PadRight("123456", 3), "123456");
    EXPECT_EQ(PadLeft("123456", 3), "123456");
    EXPECT_EQ(PadLeft("abc", 3), "abc");
    EXPECT_EQ(PadLeft(QString(), 2), "  ");
    EXPECT_EQ(PadLeft("x", 0), "x");
    EXPECT_EQ(PadRight("x", -4), "x");
}

TEST(TextUtil, ReplaceFirstReplacesOnlyTheFirst)
{
    QString text = QStringLiteral("a-b-c");
    ReplaceFirst(text, "-", "+");
    EXPECT_EQ(text, "a+b-c");
    ReplaceFirst(text, "x", "y");
    EXPECT_EQ(text, "a+b-c");
    ReplaceFirst(text, QString(), "y"); // nothing to find: nothing happens
    EXPECT_EQ(text, "a+b-c");
    ReplaceFirst(text, "a+", QString());
    EXPECT_EQ(text, "b-c");
    QString again = QStringLiteral("aa");
    ReplaceFirst(again, "a", "aa"); // the replacement is not searched again
    EXPECT_EQ(again, "aaa");
    QString money = QStringLiteral("££1");
    ReplaceFirst(money, "£", QString());
    EXPECT_EQ(money, "£1");
}

// ---------------------------------------------------------------- network

TEST(NetworkPresent, AgreesWithTheKernelsViewOfItsInterfaces)
{
    const bool present = NetworkPresent();
    EXPECT_EQ(NetworkPresent(), present); // no state, same answer
    // An interface other than loopback that the kernel reports "up" is a network.
    const QDir interfaces(QStringLiteral("/sys/class/net"));
    if (!interfaces.exists())
        GTEST_SKIP() << "no /sys/class/net on this system";
    bool anyUp = false;
    for (const QString& name : interfaces.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile state(interfaces.filePath(name + QStringLiteral("/operstate")));
        if (name != QStringLiteral("lo") && state.open(QIODevice::ReadOnly) &&
            state.readAll().trimmed() == "up")
            anyUp = true;
    }
    if (anyUp) {
        EXPECT_TRUE(present);
    }
}

} // namespace
