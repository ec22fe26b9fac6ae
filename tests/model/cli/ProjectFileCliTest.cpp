// pipeloop-cli info, check and resave, run as the installed program is: the
// summary of a project, the connection check with its exit status, and a
// load-and-save that is complete or leaves the target alone.

#include "CliRunner.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace pipeloop::testing;

namespace
{

QString projectData(const char* name)
{
    return QStringLiteral(PIPELOOP_TEST_DATA "/projects/") + QString::fromLatin1(name);
}

QByteArray expected(const char* name, const QString& version)
{
    QByteArray bytes = ReadBytes(projectData(name));
    bytes.replace("@VERSION@", version.toLatin1());
    return bytes;
}

QString programVersion()
{
    return RunCli({"--version"}).out.trimmed();
}

// ---------------------------------------------------------------- info

TEST(ProjectInfo, SummarisesTheWorkshopSample)
{
    const CliRun run = RunCli({"info", SampleFile("workshop.plf"), "--locale", "en_GB"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(run.out, QStringLiteral("File: %1\n"
                                      "Kind: pipe loop project\n"
                                      "Description: Workshop ring main\n"
                                      "Created by: PipeLoop sample\n"
                                      "Customer: Harbour Engineering Ltd\n"
                                      "Units: metres\n"
                                      "Building: 15.000m east-west x 9.000m north-south x "
                                      "4.500m high\n"
                                      "Loop height: 3.000m\n"
                                      "Loop pipe size: 32mm\n"
                                      "Pipe colour: BLUE\n"
                                      "Default outlet size: 25mm\n"
                                      "Elbows: 5\n"
                                      "Build features: 2\n"
                                      "Drains: 3\n"
                                      "Drops: 7\n"
                                      "Valves: 2\n"
                                      "Inlets: 1\n"
                                      "Spurs: 2\n"
                                      "Note lines: 3\n"
                                      "Options saved with project: no\n"
                                      "Options taken from project: no\n")
                           .arg(SampleFile("workshop.plf")));
}

TEST(ProjectInfo, OptionsSavedWithTheProjectAreAskedAbout)
{
    const CliRun declined = RunCli({"info", projectData("options.cph")});
    EXPECT_EQ(declined.exitCode, 0);
    EXPECT_TRUE(declined.out.contains("Kind: compressor house\n"));
    EXPECT_TRUE(declined.out.contains("Units: feet and inches\n"));
    EXPECT_TRUE(declined.out.contains("Options saved with project: yes\n"));
    EXPECT_TRUE(declined.out.contains("Options taken from project: no\n"));
    EXPECT_EQ(declined.err, QStringLiteral("question: Load project file settings ? -> no\n"));

    const CliRun taken = RunCli({"info", "--yes", projectData("options.cph")});
    EXPECT_TRUE(taken.out.contains("Options taken from project: yes\n"));
}

TEST(ProjectInfo, ResultGoesToOut)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("info.txt");
    const CliRun run = RunCli({"info", SampleFile("factory.plf"), "--out", out});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QString());
    const QByteArray text = ReadBytes(out);
    EXPECT_TRUE(text.contains("Drops: 182\n")) << text.toStdString();
}

TEST(ProjectInfo, RefusedFilesStopWithTheMessage)
{
    QTemporaryDir dir;
    const QString notes = dir.filePath("notes.txt");
    ASSERT_TRUE(WriteBytes(notes, "Shopping list\r\n"));
    const CliRun header = RunCli({"info", notes});
    EXPECT_EQ(header.exitCode, 2);
    EXPECT_EQ(header.out, QString());
    EXPECT_EQ(header.err, "error: File header invalid : " + notes + "\n");

    const QString v2 = dir.filePath("v2.plf");
    ASSERT_TRUE(WriteBytes(v2, "[PIPELOOP-FILE-INFO]\r\nFile_Version=2\r\n"));
    const CliRun version = RunCli({"info", v2});
    EXPECT_EQ(version.exitCode, 2);
    EXPECT_EQ(version.err, QStringLiteral("error: The file version is not supported.\r\n\n"
                                          "Expected version 1 , found version 2\n"));

    const QString huge = dir.filePath("huge.plf");
    ASSERT_TRUE(WriteBytes(huge, "[PIPELOOP-FILE-INFO]\r\n[PipeLoop]\r\nDrops=2000000000\r\n"));
    const CliRun count = RunCli({"info", huge});
    EXPECT_EQ(count.exitCode, 2);
    EXPECT_TRUE(count.err.startsWith("error: The project file is damaged : " + huge))
        << count.err.toStdString();

    EXPECT_EQ(RunCli({"info", dir.filePath("missing.plf")}).exitCode, 2);
}

// The files of tests/data/projects/hostile: each is refused with exit status 2
// and the message that says what is wrong, or loads (a file whose line ends
// were changed, with a warning). Every file there must be listed here.
TEST(ProjectInfo, HostileFilesStopWithWhatIsWrong)
{
    const QString damaged = QStringLiteral("error: The project file is damaged : %1\r\n");
    const QString version = QStringLiteral("error: The file version is not supported.\r\n\n"
                                           "Expected version 1 , found version ");
    const std::map<QString, std::pair<int, QString>> expected = {
        {"base.plf", {0, ""}},
        {"counts-absent.plf", {0, ""}},
        {"line-feeds.plf",
         {0, "warning: The file's line endings were changed (LF instead of CR LF) by another "
             "program : %1\r\nSaving the project restores them.\n"}},
        {"random-bytes.plf", {2, "error: File header invalid : %1\n"}},
        {"truncated-mid-objects.plf",
         {2, damaged + "Section Drop3 is missing (Drops=3 in section PipeLoop).\n"}},
        {"drops-7x.plf", {2, damaged + "Drops=7x in section PipeLoop is not a count.\n"}},
        {"drops-negative.plf", {2, damaged + "Drops=-1 in section PipeLoop is not a count.\n"}},
        {"drops-real.plf", {2, damaged + "Drops=7.0 in section PipeLoop is not a count.\n"}},
        {"drops-huge.plf",
         {2, damaged + "Drops=99999999999 in section PipeLoop is not a count.\n"}},
        {"drops-empty.plf", {2, damaged + "Drops= in section PipeLoop is not a count.\n"}},
        {"symbols-unreadable.plf", {2, damaged + "Symbols=1x in section Drop1 is not a count.\n"}},
        {"lines-negative.plf", {2, damaged + "Lines=-3 in section Notes is not a count.\n"}},
        {"version-abc.plf", {2, version + "abc\n"}},
        {"version-empty.plf", {2, version + "(empty)\n"}},
        {"version-real.plf", {2, version + "1.0\n"}},
        {"version-huge.plf", {2, version + "4294967297\n"}},
        {"version-2.plf", {2, version + "2\n"}},
    };
    const QDir folder(projectData("hostile"));
    const QStringList files = folder.entryList({"*.plf"}, QDir::Files);
    EXPECT_EQ(files.size(), qsizetype(expected.size()));
    for (const QString& name : files) {
        const auto found = expected.find(name);
        ASSERT_NE(found, expected.end()) << "no expectation for " << name.toStdString();
        const QString path = folder.filePath(name);
        const CliRun run = RunCli({"info", path});
        const auto& [status, err] = found->second;
        EXPECT_EQ(run.exitCode, status) << name.toStdString();
        EXPECT_EQ(run.err, err.contains("%1") ? err.arg(path) : err) << name.toStdString();
        EXPECT_EQ(run.out.isEmpty(), status != 0) << name.toStdString();
    }
    // Without counts the file counts nothing.
    const CliRun absent = RunCli({"info", folder.filePath("counts-absent.plf")});
    EXPECT_TRUE(absent.out.contains("Elbows: 0\nBuild features: 0\nDrains: 0\nDrops: 0\n"))
        << absent.out.toStdString();
    EXPECT_TRUE(absent.out.contains("Note lines: 0\n"));
}

TEST(ProjectInfo, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(RunCli({"info"}).exitCode, 64);
    EXPECT_EQ(RunCli({"info", SampleFile("workshop.plf"), "extra"}).exitCode, 64);
    const CliRun help = RunCli({"info", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("usage: pipeloop-cli info FILE"));
}

// ---------------------------------------------------------------- check

TEST(ProjectCheck, SamplesPass)
{
    for (const char* name : {"workshop.plf", "factory.plf", "compressor-house.cph"}) {
        const CliRun run = RunCli({"check", SampleFile(name)});
        EXPECT_EQ(run.exitCode, 0)
            << name << ": " << run.out.toStdString() << run.err.toStdString();
        EXPECT_EQ(run.out, QString()) << name;
        EXPECT_EQ(run.err, QString()) << name;
    }
}

TEST(ProjectCheck, UnconnectedObjectsAreListedAndTheCheckFails)
{
    // Two drains off the pipe, one drop off the pipe: only the drains are
    // highlighted (the lists after the first failing one are not checked).
    QByteArray project = ReadBytes(SampleFile("workshop.plf"));
    ASSERT_FALSE(project.isEmpty());
    project.replace("[Drain2]\r\nNS=4500\r\nEW=4500\r\n", "[Drain2]\r\nNS=4700\r\nEW=4500\r\n");
    project.replace("[Drain3]\r\nNS=6500\r\n", "[Drain3]\r\nNS=6000\r\n");
    project.replace("[Drop1]\r\nNS=500\r\n", "[Drop1]\r\nNS=900\r\n");
    QTemporaryDir dir;
    const QString path = dir.filePath("moved.plf");
    ASSERT_TRUE(WriteBytes(path, project));
    const CliRun run = RunCli({"check", path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QStringLiteral("Drain2\tDRAIN2\t4700\t4500\t3000\n"
                                      "Drain3\tDRAIN3\t6000\t10000\t1500\n"));
    EXPECT_EQ(run.err, QStringLiteral("warning: There are symbols not connected.\r\n"
                                      "These have been highlighted.\n"));

    // With the drains back on the pipe the drop is reported.
    project.replace("[Drain2]\r\nNS=4700\r\n", "[Drain2]\r\nNS=4500\r\n");
    project.replace("[Drain3]\r\nNS=6000\r\n", "[Drain3]\r\nNS=6500\r\n");
    ASSERT_TRUE(WriteBytes(path, project));
    const CliRun drop = RunCli({"check", path});
    EXPECT_EQ(drop.exitCode, 1);
    EXPECT_EQ(drop.out, QStringLiteral("Drop1\tDROP1\t900\t3500\t3000\n"));
}

TEST(ProjectCheck, AFileThatDoesNotLoadStops)
{
    const CliRun run = RunCli({"check", projectData("missing.plf")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith("error: File header invalid : ")) << run.err.toStdString();
}

// ---------------------------------------------------------------- resave

TEST(ProjectResave, WritesTheCurrentForm)
{
    const QString version = programVersion();
    ASSERT_FALSE(version.isEmpty());
    QTemporaryDir dir;
    const QString out = dir.filePath("legacy.plf");
    const CliRun run = RunCli({"resave", projectData("legacy.plf"), out, "--locale", "en_GB"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, QString());
    EXPECT_EQ(run.err, QString());
    EXPECT_EQ(ReadBytes(out), expected("legacy.expected.plf", version));
}

TEST(ProjectResave, YesKeepsTheProjectsOptionsAndNoWritesTheProgramsOwn)
{
    const QString version = programVersion();
    QTemporaryDir dir;
    const QString out = dir.filePath("options.cph");
    EXPECT_EQ(
        RunCli({"resave", projectData("options.cph"), out, "--yes", "--locale", "C"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(out), expected("options.expected.cph", version));
    EXPECT_EQ(RunCli({"resave", projectData("options.cph"), out, "--locale", "C"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(out), expected("options-not-taken.expected.cph", version));
}

TEST(ProjectResave, UnderACommaLocaleRealsTakeTheComma)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("workshop.plf");
    ASSERT_EQ(RunCli({"resave", SampleFile("workshop.plf"), out, "--locale", "de_DE"}).exitCode, 0);
    const QByteArray comma = ReadBytes(out);
    EXPECT_TRUE(comma.contains("\r\nHoseSize=6,34999990463257\r\n"));
    // And it reads back under a full-stop locale to the sample itself.
    const QString back = dir.filePath("back.plf");
    ASSERT_EQ(RunCli({"resave", out, back, "--locale", "en_GB"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(back), ReadBytes(SampleFile("workshop.plf")));
}

TEST(ProjectResave, AFailedLoadOrSaveLeavesTheTargetAlone)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("target.plf");
    const QByteArray old = "[PIPELOOP-FILE-INFO]\r\nearlier\r\n";
    ASSERT_TRUE(WriteBytes(out, old));

    const QString bad = dir.filePath("bad.plf");
    ASSERT_TRUE(WriteBytes(bad, "[PIPELOOP-FILE-INFO]\r\n[PipeLoop]\r\nValves=1\r\n"
                                "[Valve1]\r\nAngle=north\r\n"));
    const CliRun load = RunCli({"resave", bad, out});
    EXPECT_EQ(load.exitCode, 2);
    EXPECT_EQ(load.err, QStringLiteral("error: 'north' is not a valid floating point value\n"));
    EXPECT_EQ(ReadBytes(out), old);

    // A folder where the file should go cannot be overwritten.
    const QString folder = dir.filePath("folder.plf");
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.plf"));
    const CliRun overwrite = RunCli({"resave", SampleFile("workshop.plf"), folder});
    EXPECT_EQ(overwrite.exitCode, 2);
    EXPECT_EQ(overwrite.err, "error: Cannot overwrite file : " + folder + "\n");

    // A path where no file can be made is a failed write.
    const QString nowhere = dir.filePath("no/such/folder/x.plf");
    const CliRun write = RunCli({"resave", SampleFile("workshop.plf"), nowhere});
    EXPECT_EQ(write.exitCode, 2);
    EXPECT_TRUE(write.err.startsWith("error: Problem writing to :\r\n" + nowhere + "\r\n"))
        << write.err.toStdString();
    EXPECT_FALSE(QFile::exists(nowhere));
}

TEST(ProjectResave, AFileWithLineFeedsIsWrittenWithCrLfAndADamagedOneNotAtAll)
{
    const QDir folder(projectData("hostile"));
    QTemporaryDir dir;
    const QString restored = dir.filePath("restored.plf");
    const QString sound = dir.filePath("sound.plf");
    const CliRun run = RunCli({"resave", folder.filePath("line-feeds.plf"), restored});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.startsWith("warning: The file's line endings were changed"));
    ASSERT_EQ(RunCli({"resave", folder.filePath("base.plf"), sound}).exitCode, 0);
    EXPECT_EQ(ReadBytes(restored), ReadBytes(sound));

    const QString cut = dir.filePath("cut.plf");
    EXPECT_EQ(RunCli({"resave", folder.filePath("truncated-mid-objects.plf"), cut}).exitCode, 2);
    EXPECT_EQ(RunCli({"resave", folder.filePath("drops-7x.plf"), cut}).exitCode, 2);
    EXPECT_FALSE(QFile::exists(cut));
}

TEST(ProjectResave, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(RunCli({"resave", SampleFile("workshop.plf")}).exitCode, 64);
    EXPECT_EQ(RunCli({"resave"}).exitCode, 64);
    EXPECT_EQ(RunCli({"resave", "a", "b", "c"}).exitCode, 64);
}

} // namespace
