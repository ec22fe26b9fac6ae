// pipeloop-cli edit as scripts use it: select, move, undo and redo round
// trips on the samples, all or nothing with the line of the refusal, the
// script's words, and a script on standard input.

#include "CliRunner.h"
#include "EditScript.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

using namespace pipeloop::testing;

// Readable failure messages for Qt text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace
{

class EditCli : public ::testing::Test
{
protected:
    // A copy of the sample to edit in place.
    QString copyOf(const char* sample)
    {
        const QString path = folder.filePath(QString::fromLatin1(sample));
        EXPECT_TRUE(WriteBytes(path, ReadBytes(SampleFile(sample))));
        return path;
    }
    // Runs the script on file, writing out ("" for in place), with the answer
    // to every question (--yes or --no, the default).
    CliRun edit(const QString& file, const QString& script, const QString& out = {},
                const QString& answer = "--no")
    {
        const QString scriptPath = folder.filePath("script.txt");
        EXPECT_TRUE(WriteBytes(scriptPath, script.toUtf8()));
        QStringList arguments{"edit", file, "--script", scriptPath, answer};
        if (!out.isEmpty())
            arguments << "--out" << out;
        return RunCli(arguments);
    }
    // A script the run must refuse: status 2 and exactly these messages.
    struct Refusal {
        const char* script;
        const char* error;
    };
    void expectRefused(const QString& file, const Refusal& refusal)
    {
        const CliRun run = edit(file, QString::fromLatin1(refusal.script));
        EXPECT_EQ(run.exitCode, 2) << refusal.script;
        EXPECT_EQ(run.err, QString::fromLatin1(refusal.error));
    }
    QByteArray editedBytes(const QString& file, const QString& script)
    {
        const QString out = folder.filePath("out");
        QFile::remove(out);
        const CliRun run = edit(file, script, out);
        EXPECT_EQ(run.exitCode, 0) << script.toStdString() << run.err.toStdString();
        return ReadBytes(out);
    }

    QTemporaryDir folder;
};

TEST_F(EditCli, MovesUndoAndRedoRoundTripOnTheSamples)
{
    struct Case {
        const char* sample;
        const char* move;  // selects and drags one object
        const char* moved; // a line of the moved object's section
    };
    const Case cases[] = {
        {"workshop.plf", "select-at 3600 600\nmove 4000 800\n", "EW=4000"},
        {"factory.plf", "select VALVE1\nmove 9000 1000\n", "Angle=-1.57079637050629"},
        {"compressor-house.cph", "select \"Service point\"\nmove 7700 2600\n", "EW=8000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        const QString file = copyOf(c.sample);
        const QByteArray original = ReadBytes(file);
        const QString move = QString::fromLatin1(c.move);
        const QByteArray moved = editedBytes(file, move);
        EXPECT_NE(moved, original);
        EXPECT_TRUE(moved.contains(c.moved));
        EXPECT_EQ(editedBytes(file, move + "undo\n"), original);
        EXPECT_EQ(editedBytes(file, move + "undo\nredo\n"), moved);
        EXPECT_EQ(ReadBytes(file), original) << "--out leaves the project alone";
    }
}

TEST_F(EditCli, ARefusedLineStopsTheRunAndLeavesTheFileAsItWas)
{
    const QString file = copyOf("factory.plf");
    const QByteArray original = ReadBytes(file);
    const QString script = "# DROP1 onto DROP2, after a move that was fine\n"
                           "select DROP1\n"
                           "\n"
                           "move 5600 3000\n"
                           "   move 5000 4000   \n"
                           "undo\n";
    const CliRun refused = edit(file, script);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(refused.err, "error: line 5: Cannot move object, position occupied by : DROP2\n");
    EXPECT_EQ(ReadBytes(file), original);

    const Refusal refusals[] = {
        {"undo\n", "error: line 1: Nothing to undo.\n"},
        {"move 1 1\n", "error: line 1: Nothing is selected.\n"},
        {"select DROP999\n", "error: line 1: Object not found : DROP999\n"},
        {"select-at -5000 -5000\n", "error: line 1: Nothing to select at : -5000 -5000\n"},
        {"select DROP1\nmove 5000 1e3\n", "error: line 2: '1e3' is not a valid integer value\n"},
        {"main-size 2x\n", "error: line 1: Invalid size : 2x\n"},
        {"deselect now\n", "error: line 1: usage: deselect\n"},
        {"rotate 90\n", "error: line 1: Unknown operation : rotate\n"},
    };
    for (const Refusal& r : refusals)
        expectRefused(file, r);
    EXPECT_EQ(ReadBytes(file), original);

    // The size entry's question: --no declines an unlisted size, --yes takes it.
    const CliRun declined = edit(file, "main-size 16.5mm\n");
    EXPECT_EQ(declined.exitCode, 2);
    EXPECT_EQ(declined.err, "warning: Entered size not support. -> &Cancel\n"
                            "error: line 1: Entered size not support.\n");
    EXPECT_EQ(ReadBytes(file), original);
    EXPECT_TRUE(editedBytes(file, "main-size 40mm\n").contains("\r\nPipeSize=40\r\n"));
}

TEST_F(EditCli, AddsEveryKindOfObjectAsTheDesktopCommandsDo)
{
    const QString file = copyOf("workshop.plf");
    const QString script = "add-drop 9500 520 style=1 length=2500 \"label=Bench 4\"\n"
                           "add-drop 2500 480 hose=air\n"
                           "add-valve 13000 8510\n"
                           "add-drain 14510 7000 automatic size=32mm length=1200\n"
                           "add-inlet 500 3000 length=1500\n"
                           "add-spur 14500 2000 12000 2000 size=25mm\n"
                           "add-spur 14500 6000 12000 6000 drop=800\n"
                           "add-spur 2000 7000 4000 7000 unconnected\n"
                           "add-feature 6000 8000 3000 6000 type=DRYER height=1500 label=Dryer\n"
                           "select ELBOW3\n"
                           "avoid 15000 3000 15000 5000 600\n"
                           "select DROP1\n"
                           "add-valve 0 0\n";
    const QString out = folder.filePath("added.plf");
    const CliRun run = edit(file, script, out);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    const CliRun info = RunCli({"info", out});
    for (const char* count : {"Elbows: 9", "Build features: 3", "Drains: 4", "Drops: 9",
                              "Valves: 3", "Inlets: 2", "Spurs: 5"})
        EXPECT_TRUE(info.out.contains(QString::fromLatin1(count))) << count;
    const QByteArray added = ReadBytes(out);
    // The tee drop with the catalogue's first tee outlet for the loop's 32 mm pipe, renamed.
    EXPECT_TRUE(added.contains("Name=Bench 4\r\nSymbols=0\r\nPipeLen=2500\r\n"
                               "OutletSize=20\r\nStyle=TEE\r\n"));
    EXPECT_TRUE(added.contains("Name=DROP9\r\nSymbols=3\r\nSYM1=COUPLER\r\nSYM2=AIR-HOSE\r\n"));
    // The valve joins DROP1's stack before its hose group.
    EXPECT_TRUE(added.contains("SYM1=FRL\r\nPART1=FRL-14\r\nSYM2=VALVE\r\nSYM3=COUPLER\r\n"));
    EXPECT_TRUE(added.contains("Name=ELBOW6\r\nVerticalDrop=600\r\n"));

    // Adding and renaming a drop is one step.
    const QByteArray original = ReadBytes(file);
    EXPECT_EQ(editedBytes(file, "add-drop 9000 1000 label=Spare\nundo\n"), original);
}

TEST_F(EditCli, RefusedAdditionsStopTheRunWithTheDesktopsMessage)
{
    const QString file = copyOf("workshop.plf");
    const QByteArray original = ReadBytes(file);
    const Refusal refusals[] = {
        // The drop lands on the pipe at NS 500, where the valve already stands.
        {"add-valve 7000 1000\nadd-drop 7000 1000\n",
         "error: line 2: Position is already occupied by : VALVE3\n"},
        {"add-spur 14500 2000 12000 2000\nadd-spur 14500 5000 12000 2000\n",
         "error: line 2: Only drops/spurs can be positioned at spur ends.\n"},
        {"add-feature 1000 1000 3000 1000\n",
         "error: line 1: Feature dimensions zero, feature not added.\n"},
        {"select ELBOW3\navoid 1000 1000 15000 4000 600\n",
         "error: line 2: Select a point on the pipe that ends at the selected elbow.\n"},
        {"add-drop 9000 1000 colour=red\n", "error: line 1: Unknown word : colour=red\n"},
        {"add-drain 9000 1000 length=-5\n", "error: line 1: Invalid value : -5\n"},
        {"add-feature 1000 1000 3000 3000 type=SHED\n",
         "error: line 1: Unknown feature type : SHED\n"},
    };
    for (const Refusal& r : refusals)
        expectRefused(file, r);
    EXPECT_EQ(ReadBytes(file), original);
}

TEST_F(EditCli, EditsTheSelectionAsTheEditCommandsDo)
{
    const QString file = copyOf("workshop.plf");
    const QString script = "select DROP2\n"
                           "label \"Bench drop\"\n"
                           "height 1650\n"
                           "size 25mm\n"
                           "style 2\n"
                           "add-symbol GAUGE\n"
                           "symbol-up 1\n"
                           "symbol-down 1\n"
                           "delete-symbol 2\n"
                           "copy\n"
                           "paste 5000 520\n"
                           "select DROP1\n"
                           "hose-size 20mm\n"
                           "select INLET1\n"
                           "inlet-length 2500\n"
                           "select \"Column C1\"\n"
                           "ellipse on\n"
                           "position 1000 2000 3000\n"
                           "select ELBOW1\n"
                           "insert-elbow after\n"
                           "select DRAIN1\n"
                           "delete\n"
                           "select DROP4\n"
                           "add-symbol VALVE\n";
    const QString out = folder.filePath("edited.plf");
    const CliRun run = edit(file, script, out, "--yes");
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "question: Delete DRAIN1 ? -> yes\n"
                       "warning: Drop is a package - KIT-T25-FRL\r\n"
                       "Adding a symbol will remove package attribute. -> &Ok\n");
    const CliRun info = RunCli({"info", out});
    for (const char* count : {"Elbows: 6", "Drains: 2", "Drops: 8"})
        EXPECT_TRUE(info.out.contains(QString::fromLatin1(count))) << count;
    const QByteArray edited = ReadBytes(out);
    // VALVE moved above FILTER_AUTO, then deleted; the gauge joined the top.
    const QByteArray bench = "Symbols=5\r\nSYM1=FILTER_AUTO\r\nSYM2=REGULATOR\r\nPART2=REG-12\r\n"
                             "SYM3=GAUGE\r\nSYM4=2-PORT-OUTLET\r\nSYM5=GAUGE\r\n"
                             "PipeLen=1650\r\nOutletSize=25\r\nStyle=SADDLE\r\n";
    EXPECT_TRUE(edited.contains("Name=Bench drop\r\n" + bench));
    EXPECT_TRUE(
        edited.contains("[Drop8]\r\nNS=500\r\nEW=5000\r\nHG=3000\r\nName=DROP8\r\n" + bench));
    EXPECT_TRUE(edited.contains("Style=FEMALE\r\nHoseSize=20\r\n"));
    EXPECT_TRUE(edited.contains("PipeLength=2500\r\n"));
    EXPECT_TRUE(edited.contains("P1EW=1000\r\nP1NS=2000\r\nP2EW=1400\r\nP2NS=2400\r\n"
                                "Height=3000\r\nEllipse=1\r\n"));
    EXPECT_TRUE(edited.contains("[Elbow2]\r\nNS=500\r\nEW=7500\r\nHG=3000\r\nName=ELBOW6\r\n"));
    EXPECT_TRUE(edited.contains("SYM1=1-PORT-OUTLET\r\nSYM2=VALVE\r\nPipeLen=1500\r\n"
                                "OutletSize=25\r\nStyle=TEE\r\n\r\n"));
}

TEST_F(EditCli, RefusedEditsStopTheRunWithTheDesktopsMessage)
{
    const QString file = copyOf("workshop.plf");
    const QByteArray original = ReadBytes(file);
    const Refusal refusals[] = {
        {"select DROP1\ndelete\n",
         "question: Delete DROP1 ? -> no\nerror: line 2: Delete DROP1 ? No\n"},
        {"select DROP4\ndelete-symbol 1\n",
         "warning: Drop is a package - KIT-T25-FRL\r\nDeleting a symbol will remove package "
         "attribute. -> &Cancel\nerror: line 2: Drop is a package - KIT-T25-FRL\r\nDeleting a "
         "symbol will remove package attribute.\n"},
        {"select \"Column C1\"\nposition 1000 9001 3000\n",
         "error: line 2: Position is outside pipe loop limits.\n"},
        {"select ELBOW1\ninsert-elbow before\n",
         "error: line 2: Cannot insert elbow before first elbow.\n"},
        {"select ELBOW5\ninsert-elbow after\n",
         "error: line 2: Cannot insert elbow after last elbow.\n"},
        {"select DROP2\nadd-symbol REDUCER\n", "error: line 2: Unknown symbol : REDUCER\n"},
        {"select DROP2\nsymbol-up 6\n", "error: line 2: No symbol : 6\n"},
        {"select DROP2\nsize 12mm\n", "warning: Entered size not support. -> &Cancel\n"
                                      "error: line 2: Entered size not support.\n"},
        {"select DROP2\nstyle 6\n", "error: line 2: Unknown drop style : 6\n"},
        {"select VALVE1\nstyle 1\n", "error: line 2: Select a drop.\n"},
        {"select DROP2\nhose-size 20mm\n", "error: line 2: DROP2 has no hose.\n"},
        {"select DROP2\nellipse on\n", "error: line 2: Select a building feature.\n"},
        {"label Nothing\n", "error: line 1: Nothing is selected.\n"},
        {"paste 5000 520\n", "error: line 1: No drop has been copied.\n"},
        {"select DROP2\ncopy\npaste 7000 520\npaste 7000 520\n",
         "error: line 4: Position is already occupied by : DROP8\n"},
    };
    for (const Refusal& r : refusals)
        expectRefused(file, r);
    // A copied drop deleted, even with the delete undone, is gone from the clipboard.
    const CliRun forgotten =
        edit(file, "select DROP2\ncopy\ndelete\nundo\npaste 5000 520\n", {}, "--yes");
    EXPECT_EQ(forgotten.exitCode, 2);
    EXPECT_TRUE(forgotten.err.endsWith("error: line 5: No drop has been copied.\n"));
    EXPECT_EQ(ReadBytes(file), original);
}

TEST_F(EditCli, AScriptOnStandardInputEditsTheProjectInPlace)
{
    const QString file = copyOf("workshop.plf");
    QProcess process;
    process.start(QStringLiteral(PIPELOOP_CLI), {"edit", file, "--script", "-", "--yes"});
    process.write("main-size 1/2\"\nselect DROP2\r\nmove 8000 800\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(CliTimeoutMs));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QByteArray edited = ReadBytes(file);
    EXPECT_TRUE(edited.contains("\r\nPipeSize=12.6999998092651\r\n"));
    EXPECT_TRUE(edited.contains("[Drop2]\r\nNS=500\r\nEW=8000\r\n"));
}

TEST(EditScriptWords, BlanksSeparateWordsAndQuotesHoldThem)
{
    using pipeloop::cli::SplitScriptWords;
    const auto words = [](const char* line) {
        return SplitScriptWords(QString::fromUtf8(line)).value();
    };
    EXPECT_EQ(words("  move\t1200  300 detach "), QStringList({"move", "1200", "300", "detach"}));
    EXPECT_EQ(words("select \"Compressor 1\""), QStringList({"select", "Compressor 1"}));
    EXPECT_EQ(words("label \"say \"\"hi\"\"\" \"\""), QStringList({"label", "say \"hi\"", ""}));
    EXPECT_EQ(words("main-size 1\"1/4"), QStringList({"main-size", "1\"1/4"}));
    EXPECT_TRUE(words("   # select DROP1").isEmpty());
    EXPECT_TRUE(words("").isEmpty());
    EXPECT_EQ(SplitScriptWords("select \"DROP1").error(), "Missing closing quote.");
    EXPECT_EQ(SplitScriptWords("select \"DROP\"1").error(), "A closing quote must end the word.");
}

} // namespace
