// Elbow coordinate lines, the file and clipboard imports and the extents.

#include "ElbowList.h"
#include "DesignFixture.h"

#include <QFile>
#include <QPoint>
#include <QTemporaryDir>

#include <optional>

namespace pipeloop::testing
{
namespace
{

struct LineCase {
    const char* line;
    double scale;
    std::optional<ElbowLine> expected;
};

void expectLines(const std::vector<LineCase>& cases)
{
    for (const LineCase& c : cases) {
        const std::optional<ElbowLine> parsed = ParseElbowLine(QString::fromUtf8(c.line), c.scale);
        ASSERT_EQ(parsed.has_value(), c.expected.has_value()) << "'" << c.line << "'";
        if (parsed) {
            EXPECT_EQ(parsed->EW, c.expected->EW) << c.line;
            EXPECT_EQ(parsed->NS, c.expected->NS) << c.line;
            EXPECT_EQ(parsed->VerticalDrop, c.expected->VerticalDrop) << c.line;
        }
    }
}

constexpr std::nullopt_t Fails = std::nullopt;

TEST(ParseElbowLine, ExamplesUnderAFullStopLocale)
{
    ScopedLocale locale(LocaleFacts{});
    expectLines({
        {"1000 2000", 1, ElbowLine{1000, 2000, 0}},
        {"1000,2000", 1, ElbowLine{1000, 2000, 0}},
        {"1000;2000;", 1, ElbowLine{1000, 2000, 0}},
        {"1000, 2000", 1, Fails},                // the blank after the comma makes an empty token
        {"-500 200", 1, ElbowLine{500, 200, 0}}, // the minus sign is a separator
        {"1.5 2", 1000, ElbowLine{1500, 2000, 0}},
    });
}

TEST(ParseElbowLine, TokensAndTheirLimits)
{
    ScopedLocale locale(LocaleFacts{});
    expectLines({
        {"1000 2000 300", 1, ElbowLine{1000, 2000, 300}},
        {"1000 2000 300 7 8", 1, ElbowLine{1000, 2000, 300}}, // further tokens are ignored
        {" \t1000\t2000 \t", 1, ElbowLine{1000, 2000, 0}},    // the line is trimmed
        {"X=1000 Y=2000", 1, Fails}, // "Y" after the blank makes an empty token
        {"1000", 1, Fails},
        {"", 1, Fails},
        {"EW NS", 1, Fails},
        {"1000 2000;;", 1, Fails}, // an empty third token
        {"1000 2000 x", 1, Fails},
        {"1.2.3 5", 1, Fails},
        {"2.5 3.5", 1, ElbowLine{2, 4, 0}}, // halves to even
        {"9999999999 1", 1, Fails},         // beyond a 32-bit length
    });
}

TEST(ParseElbowLine, CommaLocaleTakesTheCommaAsPartOfANumber)
{
    ScopedLocale locale(LocaleFacts{u',', QStringLiteral("€"), 2});
    expectLines({
        {"1,5 2", 1000, ElbowLine{1500, 2000, 0}},
        {"1000,2000", 1, Fails},                      // one token only
        {"1.5 2", 1000, ElbowLine{1000, 5000, 2000}}, // the full stop separates
        {"1000;2000", 1, ElbowLine{1000, 2000, 0}},
    });
}

QStringList namesAndPositions(const ElbowList& elbows)
{
    QStringList text;
    for (const auto& elbow : elbows)
        text.append(QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(elbow->Name)
                        .arg(elbow->EW)
                        .arg(elbow->NS)
                        .arg(elbow->HG)
                        .arg(elbow->VerticalDrop));
    return text;
}

TEST(ImportElbows, TextLinesEndInAnyWayAndBadLinesAreSkipped)
{
    ScopedLocale locale(LocaleFacts{});
    ElbowList elbows;
    EXPECT_EQ(ImportElbowsFromText(elbows,
                                   QStringLiteral("EW NS\r\n0 0\r\n10000 0\n\n"
                                                  "10000, 5000\r10000 5000 250"),
                                   1),
              3);
    EXPECT_EQ(namesAndPositions(elbows),
              (QStringList{"ELBOW1 0 0 0 0", "ELBOW2 10000 0 0 0", "ELBOW3 10000 5000 0 250"}));
}

TEST(ImportElbows, NamesContinueTheList)
{
    ElbowList elbows;
    CreateDefaultElbows(elbows, 2000, 5000, 2500);
    ImportElbowsFromText(elbows, QStringLiteral("7 8"), 1);
    EXPECT_EQ(elbows.back()->Name, QStringLiteral("ELBOW6"));
    EXPECT_EQ(elbows.back()->HG, 0) << "imported elbows do not take the loop height";
}

TEST(ImportElbows, FromFileInMetres)
{
    ScopedLocale locale(LocaleFacts{});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loop.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("0 0\r\n12.5 0\r\n12.5 8\r\n\xA0\xB0 comment\r\n0 8 0.4\r\n");
    file.close();

    ElbowList elbows;
    const Parsed<int> added = ImportElbowsFromFile(elbows, path, 1000);
    ASSERT_TRUE(added.ok()) << added.error().toStdString();
    EXPECT_EQ(added.value(), 4);
    EXPECT_EQ(namesAndPositions(elbows),
              (QStringList{"ELBOW1 0 0 0 0", "ELBOW2 12500 0 0 0", "ELBOW3 12500 8000 0 0",
                           "ELBOW4 0 8000 0 400"}));
}

TEST(ImportElbows, UnreadableFileIsAnErrorAndAddsNothing)
{
    ElbowList elbows;
    QTemporaryDir dir;
    const Parsed<int> missing =
        ImportElbowsFromFile(elbows, dir.filePath(QStringLiteral("none.txt")), 1);
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error().contains(QStringLiteral("none.txt")));
    EXPECT_FALSE(ImportElbowsFromFile(elbows, dir.path(), 1).ok()) << "a folder";
    EXPECT_TRUE(elbows.empty());
}

TEST(ImportElbows, LargeFilesAreReadALineAtATimeAndAbsurdLinesRefused)
{
    ScopedLocale locale(LocaleFacts{});
    QTemporaryDir dir;
    const auto write = [&dir](const char* name, const QByteArray& bytes) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    };

    // Several hundred kilobytes with every kind of line end, some falling
    // across the edges of what is read at once, and a last line exactly as
    // long as allowed.
    QByteArray many;
    const char* ends[] = {"\r\n", "\r", "\n", "\r\n\r\n"};
    for (int i = 0; i < 30000; ++i)
        many += QByteArray::number(i) + ' ' + QByteArray::number(2 * i) + ends[i % 4];
    many += "7 8" + QByteArray(MaxElbowFileLine - 3, ' ');
    ElbowList elbows;
    const Parsed<int> added = ImportElbowsFromFile(elbows, write("many.txt", many), 1);
    ASSERT_TRUE(added.ok()) << added.error().toStdString();
    EXPECT_EQ(added.value(), 30001);
    ASSERT_EQ(elbows.size(), 30001u);
    for (int i = 0; i < 30000; ++i)
        ASSERT_EQ(QPoint(elbows[size_t(i)]->EW, elbows[size_t(i)]->NS), QPoint(i, 2 * i));
    EXPECT_EQ(elbows.back()->Name, QStringLiteral("ELBOW30001"));
    EXPECT_EQ(elbows.back()->EW, 7);

    // One line too long stops the import, which adds nothing.
    elbows.resize(2);
    const QString tooLong =
        write("long.txt", "0 0\r\n1 1\r\n" + QByteArray(MaxElbowFileLine + 1, '5') + "\r\n2 2\r\n");
    const Parsed<int> refused = ImportElbowsFromFile(elbows, tooLong, 1);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), QStringLiteral("Line 3 of %1 is too long.").arg(tooLong));
    EXPECT_EQ(elbows.size(), 2u);
}

TEST(ImportElbows, ExampleFileOfTheTestData)
{
    ScopedLocale locale(LocaleFacts{});
    ElbowList elbows;
    const Parsed<int> added =
        ImportElbowsFromFile(elbows, QStringLiteral(PIPELOOP_TEST_DATA "/elbows/examples.txt"), 1);
    ASSERT_TRUE(added.ok());
    EXPECT_EQ(namesAndPositions(elbows),
              (QStringList{"ELBOW1 1000 2000 0 0", "ELBOW2 1000 2000 0 0", "ELBOW3 1000 2000 0 0",
                           "ELBOW4 500 200 0 0"}));
}

TEST(ClipboardElbows, LimitIs16383Characters)
{
    ScopedLocale locale(LocaleFacts{});
    ScriptedUi ui;
    QString text = QStringLiteral("0 0\r\n10000 0\r\n10000 5000\r\n");
    text += QString(MaxClipboardElbowText - text.size(), u' ');
    ASSERT_EQ(text.size(), 16383);

    ElbowList elbows;
    EXPECT_EQ(ImportElbowsFromClipboardText(elbows, text, 1), 3);
    EXPECT_EQ(namesAndPositions(elbows),
              (QStringList{"ELBOW1 0 0 0 0", "ELBOW2 10000 0 0 0", "ELBOW3 10000 5000 0 0"}));
    EXPECT_TRUE(ui.messages.empty());

    elbows.clear();
    EXPECT_EQ(ImportElbowsFromClipboardText(elbows, text + u' ', 1), 0);
    EXPECT_TRUE(elbows.empty());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Warning);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("Too much data on clip board to import."));
}

TEST(ClipboardElbows, NoTextIsWarnedAbout)
{
    ScriptedUi ui;
    ElbowList elbows;
    EXPECT_EQ(ImportElbowsFromClipboardText(elbows, QString(), 1000), 0);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("No data on clip board to import.")});
}

TEST(ElbowExtents, SmallestAndLargestCoordinates)
{
    ElbowList elbows;
    int32_t minNS = -7, maxEW = -7, minEW = -7, maxNS = -7;
    ElbowExtents(elbows, minNS, maxEW, minEW, maxNS);
    EXPECT_EQ(minNS, -7) << "no elbows: the outputs are left as they were";
    EXPECT_EQ(maxNS, -7);

    AppendElbow(elbows, P(300, 4000));
    AppendElbow(elbows, P(1200, 200));
    AppendElbow(elbows, P(900, 6000));
    ElbowExtents(elbows, minNS, maxEW, minEW, maxNS);
    EXPECT_EQ(minNS, 300);
    EXPECT_EQ(maxNS, 1200);
    EXPECT_EQ(minEW, 200);
    EXPECT_EQ(maxEW, 6000);
}

} // namespace
} // namespace pipeloop::testing
