// The seams of the core layer that every other layer leans on: rounding,
// locale facts, settings reads and the common error report.

#include "ErrorReport.h"
#include "LocaleInfo.h"
#include "Rounding.h"
#include "ScriptedUi.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace pipeloop;

namespace
{

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();
constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();
constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t Int64Max = std::numeric_limits<int64_t>::max();
constexpr int64_t Int64Min = std::numeric_limits<int64_t>::min();

// ---------------------------------------------------------------- rounding

TEST(Rounding, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(Round(0.5), 0);
    EXPECT_EQ(Round(1.5), 2);
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-0.5), 0);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(-3.5), -4);
    EXPECT_EQ(Round(2.4999999), 2);
    EXPECT_EQ(Round(2.5000001), 3);
    EXPECT_EQ(Round(609.6), 610);
    EXPECT_EQ(RoundToInt64(4503599627370495.5), 4503599627370496); // 2^52 - 0.5
    EXPECT_EQ(RoundToInt64(-2.5), -2);
}

TEST(Rounding, SaturatesAtTheRangeAndMapsNaNToZero)
{
    EXPECT_EQ(Round(1e10), Int32Max);
    EXPECT_EQ(Round(-1e10), Int32Min);
    EXPECT_EQ(Round(Inf), Int32Max);
    EXPECT_EQ(Round(-Inf), Int32Min);
    EXPECT_EQ(Round(NaN), 0);
    EXPECT_EQ(Round(2147483647.4), Int32Max);
    EXPECT_EQ(Round(-2147483648.5), Int32Min); // halves to even: -2^31 itself

    EXPECT_EQ(RoundToInt64(NaN), 0);
    EXPECT_EQ(RoundToInt64(Inf), Int64Max);
    EXPECT_EQ(RoundToInt64(-Inf), Int64Min);
    EXPECT_EQ(RoundToInt64(9223372036854775808.0), Int64Max);  // 2^63
    EXPECT_EQ(RoundToInt64(-9223372036854775808.0), Int64Min); // -2^63
    EXPECT_EQ(RoundToInt64(1e300), Int64Max);
    // The largest double below 2^63 is a valid int64 and must not saturate.
    EXPECT_EQ(RoundToInt64(9223372036854774784.0), 9223372036854774784);
    EXPECT_EQ(RoundToInt64(-9223372036854774784.0), -9223372036854774784);
}

TEST(Rounding, TruncationIsTowardZeroAndSaturates)
{
    EXPECT_EQ(Trunc(2.9), 2);
    EXPECT_EQ(Trunc(-2.9), -2);
    EXPECT_EQ(Trunc(0.999), 0);
    EXPECT_EQ(Trunc(NaN), 0);
    EXPECT_EQ(Trunc(1e12), Int32Max);
    EXPECT_EQ(Trunc(-1e12), Int32Min);
    EXPECT_EQ(Trunc(2147483647.9), Int32Max);
    EXPECT_EQ(Trunc(-2147483648.9), Int32Min);
}

TEST(Rounding, FitsInt32AgreesWithRound)
{
    EXPECT_TRUE(FitsInt32(0));
    EXPECT_TRUE(FitsInt32(2147483647.4));
    EXPECT_FALSE(FitsInt32(2147483647.5)); // rounds to 2^31
    EXPECT_TRUE(FitsInt32(-2147483648.5)); // rounds to -2^31
    EXPECT_FALSE(FitsInt32(-2147483648.6));
    EXPECT_FALSE(FitsInt32(NaN));
    EXPECT_FALSE(FitsInt32(Inf));
    EXPECT_FALSE(FitsInt32(-Inf));
    for (double value : {2147483646.5, 2147483647.49, -2147483647.5, -2147483648.49, 12.5})
        EXPECT_EQ(FitsInt32(value), double(Round(value)) == std::nearbyint(value)) << value;
}

// ---------------------------------------------------------------- locale

TEST(LocaleInfo, FactsOfNamedLocales)
{
    const LocaleFacts british = LocaleInfo::fromLocaleName("en_GB");
    EXPECT_EQ(british.decimalSeparator, u'.');
    EXPECT_EQ(british.currencySymbol, "£");
    EXPECT_EQ(british.currencyDecimals, 2);

    const LocaleFacts german = LocaleInfo::fromLocaleName("de_DE");
    EXPECT_EQ(german.decimalSeparator, u',');
    EXPECT_EQ(german.currencySymbol, "€");
    EXPECT_EQ(german.currencyDecimals, 2);

    const LocaleFacts plain = LocaleInfo::fromLocaleName("C");
    EXPECT_EQ(plain.decimalSeparator, u'.');
    EXPECT_TRUE(plain.currencySymbol.isEmpty());
    EXPECT_EQ(plain.currencyDecimals, 2);

    EXPECT_EQ(LocaleInfo::fromLocaleName("ja_JP").currencyDecimals, 0);
}

TEST(LocaleInfo, ScopedLocaleRestoresThePreviousFacts)
{
    const LocaleFacts before = LocaleInfo::current();
    {
        ScopedLocale german(QStringLiteral("de_DE"));
        EXPECT_EQ(LocaleInfo::decimalSeparator(), u',');
        EXPECT_EQ(LocaleInfo::current().currencySymbol, "€");
        {
            ScopedLocale custom(LocaleFacts{u'.', QStringLiteral("¥"), 0});
            EXPECT_EQ(LocaleInfo::decimalSeparator(), u'.');
            EXPECT_EQ(LocaleInfo::current().currencyDecimals, 0);
        }
        EXPECT_EQ(LocaleInfo::decimalSeparator(), u',');
        EXPECT_EQ(LocaleInfo::current().currencySymbol, "€");
    }
    EXPECT_EQ(LocaleInfo::decimalSeparator(), before.decimalSeparator);
    EXPECT_EQ(LocaleInfo::current().currencySymbol, before.currencySymbol);
    EXPECT_EQ(LocaleInfo::current().currencyDecimals, before.currencyDecimals);
}

// ---------------------------------------------------------------- settings

// The reads every store must give, whatever its backing.
void expectDefaultsOnMissingAndWrongKinds(const SettingsStore& store)
{
    // Missing
    EXPECT_EQ(store.RegReadInt("Missing", 42), 42);
    EXPECT_TRUE(store.RegReadBool("Missing", true));
    EXPECT_FALSE(store.RegReadBool("Missing", false));
    EXPECT_EQ(store.RegReadText("Missing", "fallback"), "fallback");
    // A text that is not a number is the wrong kind for integers and booleans.
    EXPECT_EQ(store.RegReadInt("Word", 7), 7);
    EXPECT_TRUE(store.RegReadBool("Word", true));
    EXPECT_EQ(store.RegReadText("Word", "fallback"), "hello");
    // Numbers beyond an int32 are not integers of the registry.
    EXPECT_EQ(store.RegReadInt("Huge", 7), 7);
    // An empty text is a text, not a number.
    EXPECT_EQ(store.RegReadText("Empty", "fallback"), "");
    EXPECT_EQ(store.RegReadInt("Empty", 7), 7);
    // Integers and booleans.
    EXPECT_EQ(store.RegReadInt("Number", 0), -12);
    EXPECT_TRUE(store.RegReadBool("Number", false));
    EXPECT_FALSE(store.RegReadBool("Zero", true));
    EXPECT_EQ(store.RegReadInt("Real", 7), 7);
}

TEST(MemorySettingsStore, WrittenValuesReadBackAndBadOnesGiveDefaults)
{
    MemorySettingsStore store;
    EXPECT_FALSE(store.keyExists());
    store.writeText("Word", "hello");
    store.writeInt("Number", -12);
    store.writeBool("Zero", false);
    store.writeText("Empty", QString());
    store.setRaw("Huge", QVariant(qlonglong(5000000000)));
    store.setRaw("Real", QVariant(3.7));
    EXPECT_TRUE(store.keyExists());
    expectDefaultsOnMissingAndWrongKinds(store);
    EXPECT_EQ(store.names(), QStringList({"Word", "Number", "Zero", "Empty", "Huge", "Real"}));

    // Kinds a registry editor could put there that no reader expects.
    store.setRaw("Binary", QByteArray("\x01\x02", 2));
    store.setRaw("List", QStringList({"a", "b"}));
    store.setRaw("NumericText", QStringLiteral("15"));
    EXPECT_EQ(store.RegReadText("Binary", "fallback"), "fallback");
    EXPECT_EQ(store.RegReadInt("Binary", 7), 7);
    EXPECT_EQ(store.RegReadText("List", "fallback"), "fallback");
    EXPECT_EQ(store.RegReadInt("List", 7), 7);
    EXPECT_EQ(store.RegReadInt("NumericText", 7), 15);
    EXPECT_EQ(store.RegReadText("Number", "fallback"), "-12");

    store.remove("Word");
    EXPECT_FALSE(store.contains("Word"));
    EXPECT_EQ(store.RegReadText("Word", "gone"), "gone");
}

TEST(NativeSettingsStore, ReadsBackAcrossInstancesAndGivesDefaults)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("settings.ini");
    {
        NativeSettingsStore store(path);
        EXPECT_FALSE(store.keyExists());
        store.writeText("Word", "hello");
        store.writeInt("Number", -12);
        store.writeBool("Zero", false);
        store.writeText("Empty", QString());
        store.writeText("Huge", "5000000000");
        store.writeText("Real", "3.7");
        store.writeText("Comma", "a, b");
        store.flush();
        expectDefaultsOnMissingAndWrongKinds(store);
    }
    NativeSettingsStore store(path);
    EXPECT_TRUE(store.keyExists());
    expectDefaultsOnMissingAndWrongKinds(store);
    EXPECT_EQ(store.RegReadText("Comma", "fallback"), "a, b");
    EXPECT_TRUE(store.contains("Word"));
    store.remove("Word");
    EXPECT_FALSE(store.contains("Word"));
}

TEST(NativeSettingsStore, AHandEditedFileNeverFailsAReader)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("settings.ini");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PL4ZAVOZA]\nWord=hello\nNumber=-12\nZero=0\nEmpty=\nHuge=5000000000\n"
               "Real=3.7\nList=a, b\nBinary=@ByteArray(abc)\nSize=@Size(1 2)\nBroken=@Variant(\n"
               "[Other]\nElsewhere=5\n");
    file.close();

    const NativeSettingsStore store(path);
    expectDefaultsOnMissingAndWrongKinds(store);
    for (const char* name : {"List", "Binary", "Size", "Broken"}) {
        EXPECT_EQ(store.RegReadInt(name, 7), 7) << name;
        EXPECT_TRUE(store.RegReadBool(name, true)) << name;
    }
    EXPECT_EQ(store.RegReadText("Size", "fallback"), "fallback");
    EXPECT_EQ(store.RegReadText("Binary", "fallback"), "fallback");
    EXPECT_EQ(store.RegReadInt("Elsewhere", 7), 7); // another key's value is not ours
}

// ---------------------------------------------------------------- error report

TEST(ErrorReport, TheReportsWordingIsExact)
{
    EXPECT_EQ(ReportErrorText("Some failure"),
              "An error has been detected within PIPELOOP :\r\nSome failure\r\n"
              "Report the above to ZELK and close the application.");
    EXPECT_EQ(ReportErrorText(QString()), "An error has been detected within PIPELOOP :\r\n\r\n"
                                          "Report the above to ZELK and close the application.");
}

TEST(ErrorReport, ErrorTextNamesTheTypeAndMessageOnTwoLines)
{
    const QString text = ErrorText(std::runtime_error("disk on fire"));
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 2) << text.toStdString();
    EXPECT_TRUE(lines[0].contains("std::runtime_error")) << text.toStdString();
    EXPECT_TRUE(lines[1].contains("disk on fire")) << text.toStdString();

    try {
        throw std::out_of_range("index 7");
    } catch (...) {
        const QString caught = ErrorText();
        EXPECT_TRUE(caught.contains("std::out_of_range")) << caught.toStdString();
        EXPECT_TRUE(caught.contains("index 7")) << caught.toStdString();
    }
    try {
        throw 42;
    } catch (...) {
        EXPECT_TRUE(ErrorText().startsWith("int")) << ErrorText().toStdString();
    }
    EXPECT_TRUE(ErrorText().contains("No exception"));
}

TEST(ErrorReport, ErrorTextIsAtMost1024CharactersAndNeverSplitsACharacter)
{
    const QString huge = ErrorText(std::runtime_error(std::string(5000, 'x')));
    EXPECT_EQ(huge.size(), 1024);

    // Characters outside the basic plane take two UTF-16 units; a cut must not
    // leave half of one behind, whatever the alignment.
    for (size_t pad = 0; pad < 2; ++pad) {
        std::string message(pad, 'y');
        for (int i = 0; i < 600; ++i)
            message += "\xF0\x9F\x94\xA7"; // U+1F527, a wrench
        const QString text = ErrorText(std::runtime_error(message));
        EXPECT_LE(text.size(), 1024);
        EXPECT_GE(text.size(), 1023);
        EXPECT_FALSE(text.back().isHighSurrogate()) << pad;
        EXPECT_TRUE(QString::fromUtf8(text.toUtf8()) == text) << pad;
    }
}

TEST(ErrorReport, ReportErrorShowsOneErrorMessageThroughTheUi)
{
    pipeloop::testing::ScriptedUi ui;
    try {
        throw std::logic_error("parts list walk");
    } catch (...) {
        ReportError();
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
    const QString& text = ui.messages[0].text;
    EXPECT_TRUE(text.startsWith("An error has been detected within PIPELOOP :\r\n"));
    EXPECT_TRUE(text.endsWith("\r\nReport the above to ZELK and close the application."));
    EXPECT_TRUE(text.contains("std::logic_error"));
    EXPECT_TRUE(text.contains("parts list walk"));
    EXPECT_TRUE(ui.questions.isEmpty());
}

} // namespace
