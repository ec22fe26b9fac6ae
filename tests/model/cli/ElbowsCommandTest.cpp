// pipeloop-cli elbows, run as the installed program is: the elbows an elbow
// coordinate file yields, and how a failed import ends.

#include "CliRunner.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop::testing;

namespace
{

QString dataFile(const char* name)
{
    return QStringLiteral(PIPELOOP_TEST_DATA "/elbows/") + QString::fromLatin1(name);
}

TEST(ElbowsCommand, PrintsTheExamplesOfTheCoordinateGrammar)
{
    const CliRun run = RunCli({"elbows", dataFile("examples.txt"), "--locale", "en_GB"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("ELBOW1\t1000\t2000\t0\n"
                                      "ELBOW2\t1000\t2000\t0\n"
                                      "ELBOW3\t1000\t2000\t0\n"
                                      "ELBOW4\t500\t200\t0\n"));
    EXPECT_EQ(run.err, QString());
}

TEST(ElbowsCommand, ReadsMetresWithScale1000)
{
    const CliRun run =
        RunCli({"elbows", "--scale", "1000", dataFile("loop-metres.txt"), "--locale", "en_GB"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QStringLiteral("ELBOW1\t0\t0\t0\n"
                                      "ELBOW2\t12500\t0\t0\n"
                                      "ELBOW3\t12500\t8000\t0\n"
                                      "ELBOW4\t6000\t8000\t300\n"
                                      "ELBOW5\t0\t8000\t0\n"
                                      "ELBOW6\t0\t0\t0\n"));
}

TEST(ElbowsCommand, CommaLocaleReadsTheFullStopAsASeparator)
{
    // "12.5 0" becomes the three tokens 12, 5 and 0 under a comma locale.
    const CliRun run = RunCli({"elbows", dataFile("loop-metres.txt"), "--locale", "de_DE"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("ELBOW1\t0\t0\t0\nELBOW2\t12\t5\t0\n")))
        << run.out.toStdString();
}

TEST(ElbowsCommand, FileWithoutElbowsStops)
{
    const CliRun run = RunCli({"elbows", dataFile("no-elbows.txt")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QStringLiteral("warning: No elbows loaded from file.\n"));
}

TEST(ElbowsCommand, UnreadableFileStopsWithTheMessage)
{
    const CliRun run = RunCli({"elbows", dataFile("missing.txt")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, QString());
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("error: Cannot read elbow file ")))
        << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("missing.txt")));
}

TEST(ElbowsCommand, FileWithAnAbsurdLineIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge-line.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1000 2000\n" + QByteArray(8 * 1024 * 1024, '1') + " 2\n");
    file.close();

    const CliRun run = RunCli({"elbows", path});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, QString()) << "nothing of a refused file is written";
    EXPECT_EQ(run.err, QStringLiteral("error: Line 2 of %1 is too long.\n").arg(path));
}

TEST(ElbowsCommand, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(RunCli({"elbows"}).exitCode, 64);
    EXPECT_EQ(RunCli({"elbows", dataFile("examples.txt"), "--scale", "10"}).exitCode, 64);
    EXPECT_EQ(RunCli({"elbows", dataFile("examples.txt"), "extra"}).exitCode, 64);
    const CliRun help = RunCli({"elbows", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains(QStringLiteral("elbows FILE [--scale 1|1000]")));
}

} // namespace
