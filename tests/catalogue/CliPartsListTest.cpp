// pipeloop-cli partslist, run as the program itself on the sample projects
// and on small projects written for the test, with the demo catalogue.

#include "CatalogueTestSupport.h"
#include "CliRunner.h"
#include "PartsListDesigns.h"
#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "ScriptedUi.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

CliRun PartsList(const QStringList& arguments)
{
    return RunCli(QStringList{QStringLiteral("partslist")} + arguments +
                  QStringList{QStringLiteral("--locale"), QStringLiteral("en_GB")});
}

QString DemoPriceList()
{
    return DemoSourcePath(QStringLiteral("demo.ppl"));
}

class CliPartsListTest : public ::testing::Test
{
protected:
    // A 6 m x 3 m loop of 25 mm pipe with one drop, saved as a project file.
    QString Project(DropStyle style, bool connected = true)
    {
        ScriptedUi ui;
        TPipeLoopOptions options;
        TPipeLoop design(options);
        design.Description = QStringLiteral("Test & workshop");
        design.CustomerCompany = QStringLiteral("ACME");
        design.PipeSize = 25.0f;
        design.Height = 3000;
        design.RoomEW = 8000;
        design.RoomNS = 5000;
        DesignBuilder b(design);
        for (const auto& [ns, ew] : {std::pair{0, 0}, {0, 6000}, {3000, 6000}, {3000, 0}, {0, 0}})
            b.Corner(ns, ew);
        b.Drop({connected ? 0 : 100, 3000, 3000}, style, 20.0f, 1500);
        const QString path = dir.filePath(QStringLiteral("test.plf"));
        EXPECT_TRUE(SaveProject(design, options, PrintSetup{}, InitialZoomFactors, path));
        return path;
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(CliPartsListTest, TextReportOfASmallProject)
{
    const CliRun run = PartsList({Project(DropStyle::Tee)});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString text = run.out;
    EXPECT_TRUE(text.startsWith(QStringLiteral("Project    : Test & workshop\nCustomer   : ACME\n"
                                               "Created By : \n\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("    4 off   90010-25      ")));
    EXPECT_TRUE(text.contains(QStringLiteral("    1 off   90100-25-20   ")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Parts list created with ...\nPIPELOOP 1.0.0.0  (c) "
                                             "Zelkworks - pipework design software\n")));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

TEST_F(CliPartsListTest, PricedSpreadsheetAndRichText)
{
    const QString project = Project(DropStyle::Tee);
    const CliRun tsv =
        PartsList({project, QStringLiteral("--format"), QStringLiteral("tsv"),
                   QStringLiteral("--prices"), QStringLiteral("--price-list"), DemoPriceList(),
                   QStringLiteral("--stock"), QStringLiteral("4000")});
    ASSERT_EQ(tsv.exitCode, 0) << tsv.err.toStdString();
    const QStringList rows = tsv.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(rows.front(), QStringLiteral("QUANTITY\tPART-NUMBER\tPRICE\tDESCRIPTION"));
    EXPECT_TRUE(rows.at(1).startsWith(QStringLiteral("4\t90010-25\t\u00a3")));
    EXPECT_TRUE(tsv.out.contains(QStringLiteral("\t90000-25\t")));
    EXPECT_TRUE(tsv.err.startsWith(QStringLiteral("info: Total price = \u00a3")));

    const QString out = dir.filePath(QStringLiteral("list.rtf"));
    const CliRun rtf = PartsList(
        {project, QStringLiteral("--format"), QStringLiteral("rtf"), QStringLiteral("--out"), out});
    ASSERT_EQ(rtf.exitCode, 0) << rtf.err.toStdString();
    const QByteArray written = ReadBytes(out);
    EXPECT_TRUE(written.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(written.contains("{\\info{\\title Test & workshop}}"));
    EXPECT_TRUE(written.contains("{\\cf2\\i Parts list created with ...}\\par"));
}

TEST_F(CliPartsListTest, StopExitsWithTwoAndTheMessageAndTheLogShowsHowFarItWent)
{
    const QString project = Project(DropStyle::Quick);
    const CliRun text = PartsList({project});
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_TRUE(text.out.isEmpty());
    EXPECT_EQ(text.err, QStringLiteral("error: Drop style not supported for DROP1\r\n"
                                       "Parts list generation will stop.\n"));

    const CliRun log = PartsList({project, QStringLiteral("--format"), QStringLiteral("log")});
    EXPECT_EQ(log.exitCode, 2);
    EXPECT_TRUE(log.out.endsWith("      90001-25 25mm x 3.000m PIPE\n    DROP1>>>\n    >>>DROP1\n"))
        << log.out.toStdString();
}

TEST_F(CliPartsListTest, UnconnectedSymbolsAndBadOptions)
{
    const CliRun unconnected = PartsList({Project(DropStyle::Tee, false)});
    EXPECT_EQ(unconnected.exitCode, 1);
    EXPECT_EQ(unconnected.err, QStringLiteral("warning: There are symbols not connected.\r\n"
                                              "These have been highlighted.\n"));

    const QString project = Project(DropStyle::Tee);
    for (const QStringList& bad :
         {QStringList{QStringLiteral("--stock"), QStringLiteral("5000")},
          QStringList{QStringLiteral("--format"), QStringLiteral("pdf")},
          QStringList{QStringLiteral("--manifold"), QStringLiteral("90603")},
          QStringList{QStringLiteral("--end-caps"), QStringLiteral("maybe")}})
        EXPECT_EQ(PartsList(QStringList{project} + bad).exitCode, 64)
            << bad.join(u' ').toStdString();

    const CliRun missing = PartsList(
        {project, QStringLiteral("--catalogue"), dir.filePath(QStringLiteral("none.pldbcab"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.endsWith(QStringLiteral(
        "info: The parts database could not be loaded, no parts list generation possible.\n")));
}

TEST_F(CliPartsListTest, EverySampleProjectGivesAPricedListFromTheDemoCatalogue)
{
    // The samples are what a new user tries first: each must build from the
    // demo catalogue's fittings, every part priced.
    for (const QString& name : {QStringLiteral("workshop.plf"), QStringLiteral("factory.plf"),
                                QStringLiteral("compressor-house.cph")}) {
        SCOPED_TRACE(name.toStdString());
        const CliRun run = PartsList({SampleFile(name), QStringLiteral("--prices"),
                                      QStringLiteral("--price-list"), DemoPriceList()});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString report = run.out;
        EXPECT_TRUE(report.contains(QStringLiteral("Parts list created with ...")))
            << report.toStdString();
        EXPECT_FALSE(run.err.contains(QStringLiteral("not found"))) << run.err.toStdString();
    }
}

TEST_F(CliPartsListTest, APriceListWithAnUnreadablePriceIsRefusedUnlessAnsweredOk)
{
    // The demo list with the elbows' price spoilt.
    QByteArray list = ReadBytes(DemoPriceList());
    const QByteArray section = "[90010-25]\r\nPRC=";
    const qsizetype value = list.indexOf(section) + section.size();
    ASSERT_GE(value, section.size());
    list.replace(value, list.indexOf('\r', value) - value, "ask");
    const QString path = dir.filePath(QStringLiteral("spoilt.ppl"));
    ASSERT_TRUE(WriteBytes(path, list));
    const QString question = QStringLiteral("Price list error reading PRC for 90010-25\r\nLine %1: "
                                            "PRC=ask -> ")
                                 .arg(list.left(value).count('\n') + 1);
    const QStringList arguments{Project(DropStyle::Tee), QStringLiteral("--prices"),
                                QStringLiteral("--price-list"), path};

    // --no (the default) answers Abort: no list, no parts list.
    const CliRun refused = PartsList(arguments);
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(refused.err, QStringLiteral("warning: ") + question +
                               QStringLiteral("&Abort\nerror: Parts price list : ") + path +
                               QStringLiteral("\r\n\nThis will not be loaded.\n"));

    // --yes answers OK: the list is used, the elbows have no price (their
    // part-number section is the same one: a second warning) and so no total.
    const CliRun accepted = PartsList(arguments + QStringList{QStringLiteral("--yes")});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err.toStdString();
    EXPECT_EQ(accepted.err, QStringLiteral("warning: ") + question +
                                QStringLiteral("&Ok\nwarning: ") + question.chopped(4) + u'\n');
    const auto priced = [&accepted](const QString& key, const QString& price) {
        return accepted.out.contains(QRegularExpression(QStringLiteral(" off +") + key +
                                                        QStringLiteral(" +") + price + u' '));
    };
    EXPECT_TRUE(priced(QStringLiteral("90010-25"), QStringLiteral("\u00a3-\\.--")))
        << accepted.out.toStdString();
    EXPECT_TRUE(priced(QStringLiteral("90100-25-20"), QStringLiteral("\u00a35\\.85")));
}
