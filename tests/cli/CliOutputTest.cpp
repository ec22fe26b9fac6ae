// pipeloop-cli's output, run as the program: a result that standard output
// or a file cannot take is a failure the user is told about (status 2), never
// a success with the output lost, nor a report of a fault in the program.

#include "CliRunner.h"
#include "FileSizeLimit.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop::testing;

namespace
{

const QString FullDisk = QStringLiteral("/dev/full");

QString Data(const QString& relative)
{
    return QStringLiteral(PIPELOOP_TEST_DATA "/") + relative;
}

// The workshop with a drain moved off its pipe: the check lists it.
QString UnconnectedProject(const QTemporaryDir& dir)
{
    QByteArray project = ReadBytes(SampleFile(QStringLiteral("workshop.plf")));
    project.replace("[Drain2]\r\nNS=4500\r\n", "[Drain2]\r\nNS=4700\r\n");
    const QString path = dir.filePath(QStringLiteral("unconnected.plf"));
    return WriteBytes(path, project) ? path : QString();
}

// What the folder holds, hidden files too.
QStringList Contents(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

TEST(CliOutput, AResultThatStandardOutputCannotTakeIsAFailure)
{
    if (!QFileInfo::exists(FullDisk))
        GTEST_SKIP() << "no /dev/full";
    QTemporaryDir dir;
    const QString workshop = SampleFile(QStringLiteral("workshop.plf"));
    const QString demo = QStringLiteral(PIPELOOP_DEMO_CONTAINER);
    const QList<QStringList> commands = {
        {"info", workshop},
        {"check", UnconnectedProject(dir)},
        {"dxf", workshop},
        {"picture", workshop, "--view", "north"},
        {"print", workshop, "--view", "plan"},
        {"partslist", workshop, "--catalogue", demo},
        {"catalogue", demo, "--parts"},
        {"elbows", Data(QStringLiteral("elbows/loop-metres.txt"))},
        {"units", "format", "5000", "--units", "feet"},
        {"airflow", "--calculate", "pressure"},
        {"analyse", workshop, "--format", "json"},
        {"pack-catalogue", Data(QStringLiteral("catalogue/tiny")), "--out",
         dir.filePath(QStringLiteral("tiny.pldbcab"))},
        {"unpack-catalogue", demo, "--out", dir.filePath(QStringLiteral("demo"))},
        {"info", "--help"},
        {"--help"},
        {"--version"},
    };
    for (const QStringList& command : commands) {
        const std::string name = command.join(u' ').toStdString();
        const CliRun shown = RunCli(command);
        EXPECT_TRUE(shown.exitCode == 0 || shown.exitCode == 1) << name;
        EXPECT_FALSE(shown.out.isEmpty()) << name;

        const CliRun lost = RunCli(command, FullDisk);
        EXPECT_EQ(lost.exitCode, 2) << name;
        EXPECT_EQ(lost.err.count(QStringLiteral("error: Problem writing to standard output :\r\n")),
                  1)
            << name << ": " << lost.err.toStdString();
    }
    // An empty result needs nothing of standard output.
    EXPECT_EQ(RunCli({"check", workshop}, FullDisk).exitCode, 0);
}

TEST(CliOutput, AFileThatCannotBeWrittenIsTheUsersProblemAndLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString workshop = SampleFile(QStringLiteral("workshop.plf"));
    const QList<QPair<QStringList, QString>> commands = {
        {{"dxf", workshop}, "drawing.dxf"},
        {{"picture", workshop}, "plan.emf"},
        {{"render", workshop, "--view", "plan"}, "plan.png"},
        {{"print", workshop, "--view", "plan"}, "sheet.pdf"},
        {{"info", workshop}, "info.txt"},
    };
    for (const auto& [command, file] : commands) {
        const std::string name = command.join(u' ').toStdString();
        // A folder that is not there.
        const QString nowhere = dir.filePath(QStringLiteral("missing/") + file);
        const CliRun missing = RunCli(command + QStringList{"--out", nowhere});
        EXPECT_EQ(missing.exitCode, 2) << name;
        EXPECT_TRUE(missing.err.startsWith("error: Problem writing to :\r\n" + nowhere + "\r\n"))
            << name << ": " << missing.err.toStdString();
        EXPECT_FALSE(missing.err.contains(QStringLiteral("Report the above"))) << name;
        EXPECT_FALSE(QFileInfo::exists(nowhere)) << name;

        // A disk that fills up while the file is written.
        const QString path = dir.filePath(file);
        ASSERT_TRUE(WriteBytes(path, "older"));
        CliRun full;
        {
            const pipeloop::test::FileSizeLimit limit(200);
            full = RunCli(command + QStringList{"--out", path});
        }
        EXPECT_EQ(full.exitCode, 2) << name;
        EXPECT_TRUE(full.err.startsWith("error: Problem writing to :\r\n" + path + "\r\n"))
            << name << ": " << full.err.toStdString();
        EXPECT_EQ(ReadBytes(path), "older") << name;
        EXPECT_EQ(Contents(dir.path()), QStringList{file}) << name; // no temporary file left
        QFile::remove(path);
    }
}

// Demands set by scripted editing, then the analysis in its three forms:
// a drop that loses more than allowed fails the check (status 1) with its
// name and loss, a looser allowance passes, and refusals keep their statuses.
TEST(CliOutput, AnalyseReportsEveryDropAndFailsOnOneBeyondTheAllowedDrop)
{
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("factory.plf"));
    const QString script = dir.filePath(QStringLiteral("ops.txt"));
    const auto edit = [&](const QByteArray& ops, const QString& from) {
        EXPECT_TRUE(WriteBytes(script, ops));
        return RunCli({"edit", from, "--script", script, "--out", project});
    };
    const CliRun edited = edit("select DROP2\ndemand 20 usage=0.5\nselect DROP3\ndemand 4\n"
                               "supply-pressure 6.5\nallowed-drop 0.01\n",
                               SampleFile(QStringLiteral("factory.plf")));
    ASSERT_EQ(edited.exitCode, 0) << edited.err.toStdString();

    const CliRun text = RunCli({"analyse", project});
    EXPECT_EQ(text.exitCode, 1);
    EXPECT_TRUE(text.out.contains(QStringLiteral("Supply pressure: 6.500 bar\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("Total demand: 14.00 l/s\n")));
    EXPECT_TRUE(text.out.contains(QStringLiteral("\nDROP2\t10.00\t")));
    // DROP3's 4 l/s through its hose loses more than DROP2's 10 l/s through its tee.
    EXPECT_TRUE(text.err.startsWith(QStringLiteral("error: DROP3 is "))) << text.err.toStdString();
    EXPECT_FALSE(text.err.contains(QStringLiteral("DROP2")));

    const CliRun json = RunCli({"analyse", project, "--format", "json"});
    const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8()).object();
    EXPECT_EQ(report.value("worst").toString(), QStringLiteral("DROP3"));
    EXPECT_DOUBLE_EQ(report.value("totalDemand").toDouble(), 14);
    EXPECT_GT(report.value("iterations").toInt(), 0);
    const CliRun tsv = RunCli({"analyse", project, "--format", "tsv", "--locale", "de_DE"});
    EXPECT_TRUE(tsv.out.startsWith(QStringLiteral("supply\t6,5\nallowed\t0,01\n")));

    ASSERT_EQ(edit("allowed-drop 2\n", project).exitCode, 0);
    const CliRun relaxed = RunCli({"analyse", project, "--format", "tsv"});
    EXPECT_EQ(relaxed.exitCode, 0) << relaxed.err.toStdString();
    EXPECT_TRUE(relaxed.err.isEmpty());

    EXPECT_EQ(edit("supply-pressure 0\n", project).exitCode, 2);
    EXPECT_EQ(edit("deselect\ndemand 3\n", project).exitCode, 2);
    EXPECT_EQ(RunCli({"analyse", project, "--format", "rtf"}).exitCode, 64);

    QByteArray withoutInlet = ReadBytes(SampleFile(QStringLiteral("workshop.plf")));
    withoutInlet.replace("\r\nInlets=1\r\n", "\r\nInlets=0\r\n");
    ASSERT_TRUE(WriteBytes(project, withoutInlet));
    const CliRun noInlet = RunCli({"analyse", project});
    EXPECT_EQ(noInlet.exitCode, 1);
    EXPECT_EQ(noInlet.err, QStringLiteral("error: No compressor inlet stands on a pipe.\n"));
}

// --air-analysis draws the pressures over the plan of a printed page and a
// picture: the legend's title and ticks and the worst drop's name are on the
// page; a design with no demand, or a section, is refused and writes nothing.
TEST(CliOutput, PrintAndPictureCarryTheAirAnalysisOnThePlan)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils, scripts/setup) is missing";
    QTemporaryDir dir;
    const QString project = dir.filePath(QStringLiteral("factory.plf"));
    const QString script = dir.filePath(QStringLiteral("ops.txt"));
    ASSERT_TRUE(WriteBytes(script, "select DROP3\ndemand 4\nselect DROP2\ndemand 2\n"));
    const QString sample = SampleFile(QStringLiteral("factory.plf"));
    ASSERT_EQ(RunCli({"edit", sample, "--script", script, "--out", project}).exitCode, 0);

    const auto pageText = [&](const QString& file) {
        const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
        QFile::remove(pdf);
        const CliRun run = RunCli(
            {"print", file, "--view", "plan", "--scale", "best", "--air-analysis", "--out", pdf});
        QProcess reader;
        reader.start(pdftotext, {pdf, QStringLiteral("-")});
        reader.waitForFinished(30000);
        return std::pair{run, QString::fromUtf8(reader.readAllStandardOutput())};
    };
    const auto [printed, text] = pageText(project);
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    for (const char* expected : {"Pressure (bar)", "7.000", "6.950", "6.900", "< 6.900"})
        EXPECT_TRUE(text.contains(QLatin1String(expected))) << expected;
    const CliRun analysis = RunCli({"analyse", project, "--format", "json"});
    const QString worst =
        QJsonDocument::fromJson(analysis.out.toUtf8()).object().value("worst").toString();
    EXPECT_TRUE(text.contains(worst + QStringLiteral(" 6.")) && !worst.isEmpty())
        << text.toStdString();
    const CliRun plain = RunCli({"print", project, "--view", "plan", "--scale", "best", "--out",
                                 dir.filePath(QStringLiteral("plain.pdf"))});
    ASSERT_EQ(plain.exitCode, 0);

    // No demand: nothing to colour, said so, and no file.
    const auto [refused, none] = pageText(sample);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.startsWith(QStringLiteral("error: No drop has an air demand")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("plan.pdf"))));

    const QString png = dir.filePath(QStringLiteral("plan.png"));
    const QString plainPng = dir.filePath(QStringLiteral("plain.png"));
    ASSERT_EQ(RunCli({"picture", project, "--air-analysis", "--out", png}).exitCode, 0);
    ASSERT_EQ(RunCli({"picture", project, "--out", plainPng}).exitCode, 0);
    EXPECT_NE(ReadBytes(png), ReadBytes(plainPng));
    EXPECT_EQ(RunCli({"picture", project, "--view", "north", "--air-analysis", "--out",
                      dir.filePath(QStringLiteral("north.png"))})
                  .exitCode,
              64);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("north.png"))));
}

} // namespace
