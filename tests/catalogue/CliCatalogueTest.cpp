// pipeloop-cli pack-catalogue, unpack-catalogue and catalogue, run as the
// program itself.

#include "CatalogueFolder.h"
#include "CatalogueTestSupport.h"
#include "CliRunner.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::CliRun;
using pipeloop::testing::RunCli;

namespace
{

class CliCatalogueTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString Tiny() const { return pipeloop::testing::CatalogueTestData(QStringLiteral("tiny")); }
    QString Temp(const QString& name) const { return dir.filePath(name); }
};

TEST_F(CliCatalogueTest, PackAndUnpackGiveBackTheFolder)
{
    const CliRun pack = RunCli({QStringLiteral("pack-catalogue"), Tiny(), QStringLiteral("--out"),
                                Temp(QStringLiteral("tiny.pldbcab"))});
    ASSERT_EQ(pack.exitCode, 0) << pack.err.toStdString();
    EXPECT_TRUE(
        pack.err.contains(QStringLiteral("info: not packed (not a catalogue entry): tiny.ppl")));
    const QByteArray packed = pipeloop::testing::ReadBytes(Temp(QStringLiteral("tiny.pldbcab")));
    const FolderEntries folder = ReadCatalogueFolder(Tiny());
    EXPECT_EQ(packed, BuildCab(folder.entries));

    const CliRun unpack =
        RunCli({QStringLiteral("unpack-catalogue"), Temp(QStringLiteral("tiny.pldbcab")),
                QStringLiteral("--out"), Temp(QStringLiteral("out"))});
    ASSERT_EQ(unpack.exitCode, 0) << unpack.err.toStdString();
    EXPECT_EQ(unpack.out, QStringLiteral("PARTS.PLDBI\n"));
    EXPECT_EQ(pipeloop::testing::ReadBytes(Temp(QStringLiteral("out/PARTS.PLDBI"))),
              pipeloop::testing::ReadBytes(Tiny() + QStringLiteral("/PARTS.PLDBI")));
}

TEST_F(CliCatalogueTest, TheDemoContainerUnpacksAndRepacksToTheSameBytes)
{
    const QString demo = pipeloop::testing::DemoContainerPath();
    ASSERT_EQ(RunCli({QStringLiteral("unpack-catalogue"), demo, QStringLiteral("--out"),
                      Temp(QStringLiteral("demo"))})
                  .exitCode,
              0);
    ASSERT_EQ(RunCli({QStringLiteral("pack-catalogue"), Temp(QStringLiteral("demo")),
                      QStringLiteral("--out"), Temp(QStringLiteral("again.pldbcab"))})
                  .exitCode,
              0);
    EXPECT_EQ(pipeloop::testing::ReadBytes(Temp(QStringLiteral("again.pldbcab"))),
              pipeloop::testing::ReadBytes(demo));
}

TEST_F(CliCatalogueTest, CatalogueListsAndValidates)
{
    const CliRun demo = RunCli({QStringLiteral("catalogue"), pipeloop::testing::DemoContainerPath(),
                                QStringLiteral("--parts"), QStringLiteral("--packages")});
    EXPECT_EQ(demo.exitCode, 0) << demo.err.toStdString();
    EXPECT_TRUE(demo.err.isEmpty()) << demo.err.toStdString();
    EXPECT_TRUE(demo.out.contains(QStringLiteral("supplier\tZAVOZA\n")));
    EXPECT_TRUE(demo.out.contains(QStringLiteral("expires\t2099-12-31\n")));
    EXPECT_TRUE(demo.out.contains(QStringLiteral("entry\tLOGO.JPG\t")));
    EXPECT_TRUE(demo.out.contains(QStringLiteral(
        "\n90015-110\tTPipeConnector\t90015-110\t110mm\t110mm\t0\tELBOW\t\t\t135\t")));
    EXPECT_TRUE(demo.out.contains(QStringLiteral("\nKIT-F20-HOSE\t20mm\t10000\t1/4\"\t")));

    // Loading messages make the check fail (status 1) but the listing is written.
    RunCli({QStringLiteral("pack-catalogue"), Tiny(), QStringLiteral("--out"),
            Temp(QStringLiteral("tiny.pldbcab"))});
    const CliRun tiny = RunCli({QStringLiteral("catalogue"), Temp(QStringLiteral("tiny.pldbcab"))});
    EXPECT_EQ(tiny.exitCode, 1);
    EXPECT_TRUE(tiny.out.contains(QStringLiteral("parts\t38\n")));
    EXPECT_TRUE(
        tiny.err.contains(QStringLiteral("error: Database error reading LEN for package KIT-BAD")));
}

TEST_F(CliCatalogueTest, FailuresAreMessagesAndStatuses)
{
    const CliRun missing =
        RunCli({QStringLiteral("catalogue"), Temp(QStringLiteral("none.pldbcab"))});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.startsWith(QStringLiteral("warning: Parts database not found : ")));

    EXPECT_EQ(RunCli({QStringLiteral("pack-catalogue"), Tiny()}).exitCode, 64);
    EXPECT_EQ(RunCli({QStringLiteral("unpack-catalogue"), QStringLiteral("x")}).exitCode, 64);
    EXPECT_EQ(
        RunCli({QStringLiteral("catalogue"), QStringLiteral("a"), QStringLiteral("b")}).exitCode,
        64);

    const CliRun empty = RunCli({QStringLiteral("pack-catalogue"), dir.path(),
                                 QStringLiteral("--out"), Temp(QStringLiteral("x.pldbcab"))});
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("PARTS.PLDBI not found in")));
    EXPECT_FALSE(QFile::exists(Temp(QStringLiteral("x.pldbcab"))));

    pipeloop::testing::WriteBytes(Temp(QStringLiteral("bad.pldbcab")), "ZELKCAB1 not a container");
    const CliRun bad =
        RunCli({QStringLiteral("unpack-catalogue"), Temp(QStringLiteral("bad.pldbcab")),
                QStringLiteral("--out"), Temp(QStringLiteral("bad"))});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("warning: Invalid CAB file CRC : ")));

    // An entry name that would leave the folder refuses the whole container.
    pipeloop::testing::WriteBytes(Temp(QStringLiteral("evil.pldbcab")),
                                  BuildCab({{QStringLiteral("../escape.txt"), "x"},
                                            {QStringLiteral("ok.txt"), "y"},
                                            {QStringLiteral("OK.TXT"), "z"}}));
    const CliRun evil =
        RunCli({QStringLiteral("unpack-catalogue"), Temp(QStringLiteral("evil.pldbcab")),
                QStringLiteral("--out"), Temp(QStringLiteral("evil"))});
    EXPECT_EQ(evil.exitCode, 2);
    EXPECT_EQ(evil.out, QString());
    EXPECT_FALSE(QFile::exists(Temp(QStringLiteral("escape.txt"))));
    EXPECT_FALSE(QFile::exists(Temp(QStringLiteral("evil"))));
}

TEST_F(CliCatalogueTest, UnpackIsAllOrNothingAndNeverWritesThroughALink)
{
    const auto unpack = [this](const std::vector<CabEntry>& entries, const QString& folder) {
        pipeloop::testing::WriteBytes(Temp(QStringLiteral("c.pldbcab")), BuildCab(entries));
        return RunCli({QStringLiteral("unpack-catalogue"), Temp(QStringLiteral("c.pldbcab")),
                       QStringLiteral("--out"), folder});
    };
    const std::vector<CabEntry> good = {{QStringLiteral("PARTS.PLDBI"), "[CATALOGUE]"},
                                        {QStringLiteral("A.JPG"), "picture"}};

    // A link in the folder where an entry goes, to a file outside or to
    // nothing yet: refused, the outside untouched, nothing created.
    const QString folder = Temp(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    pipeloop::testing::WriteBytes(Temp(QStringLiteral("outside.txt")), "mine");
    for (const QString& target :
         {Temp(QStringLiteral("outside.txt")), Temp(QStringLiteral("new"))}) {
        QFile::remove(folder + QStringLiteral("/A.JPG"));
        ASSERT_TRUE(QFile::link(target, folder + QStringLiteral("/A.JPG")));
        const CliRun linked = unpack(good, folder);
        EXPECT_EQ(linked.exitCode, 2);
        EXPECT_TRUE(
            linked.err.contains(QStringLiteral("error: Not a plain file, nothing unpacked : ") +
                                folder + QStringLiteral("/A.JPG")))
            << linked.err.toStdString();
        EXPECT_EQ(pipeloop::testing::ReadBytes(Temp(QStringLiteral("outside.txt"))), "mine");
        EXPECT_FALSE(QFile::exists(Temp(QStringLiteral("new"))));
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot |
                                         QDir::System),
                  QStringList{QStringLiteral("A.JPG")});
    }

    // Plain files are replaced; a repeated name is left out; nothing else is left.
    QFile::remove(folder + QStringLiteral("/A.JPG"));
    pipeloop::testing::WriteBytes(folder + QStringLiteral("/A.JPG"), "older");
    const CliRun again = unpack({good[0], good[1], {QStringLiteral("a.jpg"), "repeat"}}, folder);
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_EQ(again.out, QStringLiteral("PARTS.PLDBI\nA.JPG\n"));
    EXPECT_EQ(again.err, QStringLiteral("warning: entry not written (repeated name): a.jpg\n"));
    EXPECT_EQ(pipeloop::testing::ReadBytes(folder + QStringLiteral("/A.JPG")), "picture");
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QStringLiteral("A.JPG"), QStringLiteral("PARTS.PLDBI")}));

    // A name that could make a strange file, or a file elsewhere, refuses the
    // container before anything is written; packing refuses such a file too.
    for (const QString& bad : {QStringLiteral("two\nlines.JPG"), QStringLiteral("bell\a.JPG"),
                               QStringLiteral("../up.JPG"), QStringLiteral("sub/dir.JPG"),
                               QString(300, u'N') + QStringLiteral(".JPG"), QString()}) {
        const QString fresh = Temp(QStringLiteral("fresh"));
        const CliRun refused = unpack({good[0], {bad, "x"}, good[1]}, fresh);
        EXPECT_EQ(refused.exitCode, 2) << bad.toStdString();
        EXPECT_TRUE(refused.err.startsWith(
            QStringLiteral("error: Entry name not allowed, nothing unpacked : ")))
            << refused.err.toStdString();
        EXPECT_FALSE(QFile::exists(fresh)) << bad.toStdString();
    }
    const QString source = Temp(QStringLiteral("source"));
    ASSERT_TRUE(QDir().mkpath(source));
    pipeloop::testing::WriteBytes(source + QStringLiteral("/PARTS.PLDBI"), "[CATALOGUE]");
    pipeloop::testing::WriteBytes(source + QStringLiteral("/two\nlines.JPG"), "x");
    const CliRun pack = RunCli({QStringLiteral("pack-catalogue"), source, QStringLiteral("--out"),
                                Temp(QStringLiteral("p.pldbcab"))});
    EXPECT_EQ(pack.exitCode, 2);
    EXPECT_TRUE(pack.err.startsWith(
        QStringLiteral("error: File name not allowed in a parts container : two\\x0alines.JPG")))
        << pack.err.toStdString();
    EXPECT_FALSE(QFile::exists(Temp(QStringLiteral("p.pldbcab"))));
}

} // namespace
