// pipeloop-cli units: the built program, run as an installer or a script would.

#include "CliRunner.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace pipeloop::testing;

namespace
{

// Runs pipeloop-cli with the words given; the locale is fixed to en_GB unless
// the words name another, so that the system's locale cannot change results.
CliRun cli(QStringList words)
{
    if (!words.contains(QStringLiteral("--locale")))
        words << QStringLiteral("--locale") << QStringLiteral("en_GB");
    const CliRun run = RunCli(words);
    if (run.exitCode < 0)
        ADD_FAILURE() << "pipeloop-cli did not finish normally: " << words.join(' ').toStdString();
    return run;
}

TEST(CliUnits, FormatsLengthsInEachDisplayUnit)
{
    EXPECT_EQ(cli({"units", "format", "5000", "--units", "feet"}).out, "16'5\"\n");
    EXPECT_EQ(cli({"units", "format", "5000", "--units", "metres"}).out, "5.000m\n");
    EXPECT_EQ(cli({"units", "format", "5000", "--units", "mm"}).out, "5000mm\n");
    // Options may come before the arguments.
    EXPECT_EQ(cli({"units", "--units", "feet", "format", "304"}).out, "1'0\"\n");
    // The program's "no value" shows as three dashes.
    EXPECT_EQ(cli({"units", "format", "-1", "--units", "mm"}).out, "---\n");
    const CliRun run = cli({"units", "format", "4294967295", "--units", "metres"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "4294967.295m\n");
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST(CliUnits, TheLocaleSetsTheDecimalSeparator)
{
    EXPECT_EQ(cli({"units", "format", "5000", "--units", "metres", "--locale", "de_DE"}).out,
              "5,000m\n");
    EXPECT_EQ(cli({"units", "parse", "1,5m", "--units", "mm", "--locale", "de_DE"}).out, "1500\n");
    EXPECT_EQ(cli({"units", "size", "20.5", "--locale", "de_DE"}).out, "20,500mm\n");
    // Common options may also come before the subcommand.
    EXPECT_EQ(cli({"--locale", "de_DE", "--no", "units", "size", "20.5"}).out, "20,500mm\n");
    EXPECT_EQ(cli({"--locale", "de_DE"}).exitCode, 64);
}

TEST(CliUnits, ParsesTypedLengths)
{
    EXPECT_EQ(cli({"units", "parse", "5'6\"", "--units", "mm"}).out, "1676\n");
    EXPECT_EQ(cli({"units", "parse", "1.5m", "--units", "feet"}).out, "1500\n");
    EXPECT_EQ(cli({"units", "parse", "2", "--units", "feet"}).out, "610\n");
    EXPECT_EQ(cli({"units", "parse", "2", "--units", "metres"}).out, "2000\n");
    EXPECT_EQ(cli({"units", "parse", "-3mm", "--units", "metres"}).out, "-3\n");
}

TEST(CliUnits, BadTextIsAFailedCheckWithTheMessage)
{
    CliRun run = cli({"units", "parse", "12.5mm", "--units", "mm"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, "error: '12.5' is not a valid integer value\n");

    run = cli({"units", "parse", "99999999999m", "--units", "metres"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "error: '99999999999m' is out of range for a length\n");

    run = cli({"units", "parse", "", "--units", "metres"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "error: Missing value\n");
}

TEST(CliUnits, NamesSizes)
{
    EXPECT_EQ(cli({"units", "size", "31.75"}).out, "1\"1/4\n");
    EXPECT_EQ(cli({"units", "size", "25"}).out, "25mm\n");
    EXPECT_EQ(cli({"units", "size", "12,7"}).out, "1/2\"\n"); // either separator
    EXPECT_EQ(cli({"units", "size", "20.6"}).out, "20.600mm\n");
}

TEST(CliUnits, BadArgumentsAreUsageErrors)
{
    const QList<QStringList> bad = {
        {"units"},
        {"units", "convert", "5"},
        {"units", "format", "5000"},
        {"units", "format", "5000", "--units"},
        {"units", "format", "5000", "--units", "furlongs"},
        {"units", "format", "--units", "mm"},
        {"units", "format", "abc", "--units", "mm"},
        {"units", "format", "-5", "--units", "mm"},
        {"units", "format", "4294967296", "--units", "mm"},
        {"units", "format", "5000", "6000", "--units", "mm"},
        {"units", "parse", "5m"},
        {"units", "parse", "5m", "--units", "inches"},
        {"units", "size"},
        {"units", "size", "big"},
        {"units", "size", "1e300"},
        {"units", "size", "25", "--frobnicate"},
    };
    for (const QStringList& words : bad) {
        const CliRun run = cli(words);
        EXPECT_EQ(run.exitCode, 64) << words.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("error: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains("usage: pipeloop-cli units")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    }
}

TEST(CliUnits, HelpAndResultFile)
{
    const CliRun help = cli({"units", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("usage: pipeloop-cli units format MM --units"))
        << help.out.toStdString();

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath("length.txt");
    const CliRun run = cli({"units", "format", "5000", "--units", "feet", "--out", path});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "16'5\"\n");
}

} // namespace
