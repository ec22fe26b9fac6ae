// pipeloop-cli print, run as the installed program is: the PDF's pages for
// one view, all views and the extra pages, the stored and given settings,
// and the refusals, which leave no file behind.

#include "../PdfCount.h"
#include "CliRunner.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop::testing;

namespace
{

class PrintCli : public ::testing::Test
{
protected:
    // Prints and returns the PDF's page count (-1 without a file).
    int pagesOf(const QStringList& arguments)
    {
        const QString out = dir.filePath(QStringLiteral("out.pdf"));
        QFile::remove(out);
        last = RunCli(QStringList{QStringLiteral("print")} + arguments +
                      QStringList{QStringLiteral("--out"), out});
        const QByteArray pdf = ReadBytes(out);
        return pdf.isEmpty() ? -1 : pipeloop::test::PdfPageCount(pdf);
    }
    QTemporaryDir dir;
    CliRun last;
};

TEST_F(PrintCli, AllViewsOfALoopAreFivePagesAndTheExtraPagesComeOnTop)
{
    EXPECT_EQ(pagesOf({SampleFile("workshop.plf"), "--view", "all"}), 5);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_EQ(pagesOf({SampleFile("workshop.plf"), "--view", "all", "--notes"}), 6);
    // Six drops with symbols fit one drops page.
    EXPECT_EQ(pagesOf({SampleFile("workshop.plf"), "--view", "all", "--notes", "--drops"}), 7);
    EXPECT_EQ(pagesOf({SampleFile("workshop.plf"), "--view", "east", "--portrait"}), 1);
}

TEST_F(PrintCli, ACompressorHousePrintsOnePage)
{
    EXPECT_EQ(pagesOf({SampleFile("compressor-house.cph"), "--view", "all"}), 1);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_EQ(pagesOf({SampleFile("compressor-house.cph"), "--view", "north"}), -1);
    EXPECT_EQ(last.exitCode, 64);
    EXPECT_TRUE(
        last.err.contains(QStringLiteral("Compressor Houses can only be printed in plan.")));
}

TEST_F(PrintCli, AViewThatDoesNotFitWritesNothingAndBestFitMakesItFit)
{
    // The 60 m factory is 400 mm wide at 1:150: wider than A4 and A3 upright.
    const QString out = dir.filePath(QStringLiteral("out.pdf"));
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous");
    old.close();
    last = RunCli({"print", SampleFile("factory.plf"), "--view", "plan", "--out", out});
    EXPECT_EQ(last.exitCode, 2);
    EXPECT_TRUE(last.err.contains(
        QStringLiteral("error: Required print scale means drawing does not fit on page.")));
    EXPECT_EQ(ReadBytes(out), QByteArray("previous"));

    EXPECT_EQ(pagesOf({SampleFile("factory.plf"), "--view", "all", "--scale", "best"}), 5);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_EQ(pagesOf({SampleFile("factory.plf"), "--view", "plan", "--scale", "best", "--paper",
                       "A3", "--portrait"}),
              1);
    // The standard scale beside the best fit fits as well.
    EXPECT_EQ(pagesOf({SampleFile("factory.plf"), "--view", "all", "--scale", "standard"}), 5);
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    // A3 landscape takes the factory at 1:150.
    EXPECT_EQ(pagesOf({SampleFile("factory.plf"), "--view", "plan", "--paper", "a3"}), 1);
}

TEST_F(PrintCli, ThePrintSettingsAProjectCarriesApplyUnlessRefused)
{
    // The workshop with its options saved and the plan set upright at 1:200.
    QByteArray project = ReadBytes(SampleFile("workshop.plf"));
    ASSERT_TRUE(project.contains("[Options]\r\nSaved=0\r\n"));
    project.replace("[Options]\r\nSaved=0\r\n",
                    "[Options]\r\nSaved=1\r\n\r\n[PrintSetup]\r\nPrintScalingPLAN=200\r\n"
                    "LandscapePLAN=0\r\n");
    const QString path = dir.filePath(QStringLiteral("upright.plf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(project);
    file.close();

    const QString out = dir.filePath(QStringLiteral("upright.pdf"));
    const QByteArray upright = "/MediaBox [0 0 595";
    const QByteArray wide = "/MediaBox [0 0 842";
    last = RunCli({"print", path, "--view", "plan", "--out", out});
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();
    EXPECT_TRUE(ReadBytes(out).contains(upright));
    // --no refuses the project's settings: the defaults, landscape.
    last = RunCli({"print", path, "--view", "plan", "--no", "--out", out});
    EXPECT_TRUE(ReadBytes(out).contains(wide));
    // An option given on the command line wins over the stored setting.
    last = RunCli({"print", path, "--view", "plan", "--landscape", "--out", out});
    EXPECT_TRUE(ReadBytes(out).contains(wide));
}

TEST_F(PrintCli, BadArgumentsAreRefusedWithTheUsage)
{
    for (const QStringList& arguments :
         {QStringList{SampleFile("workshop.plf")},
          QStringList{SampleFile("workshop.plf"), "--view", "up"},
          QStringList{SampleFile("workshop.plf"), "--view", "all", "--scale", "0"},
          QStringList{SampleFile("workshop.plf"), "--view", "all", "--paper", "B99"},
          QStringList{SampleFile("workshop.plf"), "--view", "all", "--portrait", "--landscape"}}) {
        EXPECT_EQ(pagesOf(arguments), -1) << arguments.join(' ').toStdString();
        EXPECT_EQ(last.exitCode, 64) << arguments.join(' ').toStdString();
    }
}

} // namespace
