// DXF export: the bytes against golden files written by hand,
// the coordinate mapping, and the failure handling of the file
// writer (created first, every write verified, the error report, the partial
// file of the program versus the all-or-nothing file of the command line).

#include "DxfWriter.h"

#include "FileSizeLimit.h"
#include "LocaleInfo.h"
#include "PipeLoop.h"
#include "ScriptedUi.h"
#include "Version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace pipeloop
{
namespace
{

using testing::ScriptedUi;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// A golden file of tests/data/dxf with the program's version in place of
// @PROGRAM_VERSION@.
QByteArray Golden(const QString& name)
{
    QByteArray bytes = ReadFile(QStringLiteral(PIPELOOP_TEST_DATA "/dxf/") + name);
    bytes.replace("@PROGRAM_VERSION@", ProgramVersion().toLatin1());
    return bytes;
}

// The lines of a DXF text (CR LF ends every line).
QList<QByteArray> Lines(const QByteArray& bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.pop_back();
    for (QByteArray& line : lines)
        line.chop(1); // the CR
    return lines;
}

class DxfWriterTest : public ::testing::Test
{
protected:
    DxfWriterTest() : locale(LocaleFacts{}), design(options) {}

    // The design of building_20000.dxf: a 20000 x 10000 x 4000 building, three
    // corners, a spur and a drop with PipeLen 1500.
    void buildGoldenDesign()
    {
        design.RoomEW = 20000;
        design.RoomNS = 10000;
        design.RoomHG = 4000;
        design.Height = 3000;
        AppendElbow(design.Elbows, {1000, 1000, 3000});
        AppendElbow(design.Elbows, {1000, 19000, 3000});
        AppendElbow(design.Elbows, {9000, 19000, 3000});
        auto spur = std::make_unique<TSpur>();
        spur->setPosition({5000, 19000, 3000});
        spur->setEndPosition({5000, 15000, 3000});
        design.Spurs.push_back(std::move(spur));
        auto drop = std::make_unique<TDrop>();
        drop->setPosition({1000, 5000, 3000});
        drop->PipeLen = 1500;
        design.Drops.push_back(std::move(drop));
    }

    ScriptedUi ui;
    ScopedLocale locale;
    TPipeLoopOptions options;
    TPipeLoop design;
    QTemporaryDir dir;
};

// ---------------------------------------------------------------- bytes

TEST_F(DxfWriterTest, OneCornerGivesHeaderTableAndEmptyEntities)
{
    design.RoomEW = 5000;
    design.RoomNS = 2000;
    design.RoomHG = 4000;
    AppendElbow(design.Elbows, {0, 0, 2500});
    EXPECT_EQ(DxfBytes(design), Golden(QStringLiteral("one_corner.dxf")));
}

TEST_F(DxfWriterTest, NoCornersGiveTheSameEmptyEntities)
{
    design.RoomEW = 5000;
    design.RoomNS = 2000;
    design.RoomHG = 4000;
    EXPECT_EQ(DxfBytes(design), Golden(QStringLiteral("one_corner.dxf")));
}

TEST_F(DxfWriterTest, DesignMatchesTheHandWrittenFile)
{
    buildGoldenDesign();
    EXPECT_EQ(DxfBytes(design), Golden(QStringLiteral("building_20000.dxf")));
}

TEST_F(DxfWriterTest, CommentCarriesTheProgramVersion)
{
    const QList<QByteArray> lines = Lines(DxfBytes(design));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "999");
    EXPECT_EQ(lines[1], "PIPELOOP " + ProgramVersion().toLatin1());
}

TEST_F(DxfWriterTest, HeaderOfA20000By10000By4000Building)
{
    buildGoldenDesign();
    const QByteArray bytes = DxfBytes(design);
    EXPECT_TRUE(bytes.contains("9\r\n$EXTMAX\r\n10\r\n20000\r\n20\r\n10000\r\n30\r\n-4000\r\n"
                               "0\r\nENDSEC\r\n"));
    // The VPORT table follows the header directly, with no TABLES section.
    EXPECT_TRUE(bytes.contains("0\r\nENDSEC\r\n0\r\nTABLE\r\n2\r\nVPORT\r\n"));
    EXPECT_FALSE(bytes.contains("TABLES"));
    EXPECT_FALSE(bytes.contains("$ACADVER"));
}

TEST_F(DxfWriterTest, DropOf1500GoesDownTo31Minus1500)
{
    buildGoldenDesign();
    const QList<QByteArray> lines = Lines(DxfBytes(design));
    const qsizetype layer = lines.indexOf("DROP_LAYER");
    ASSERT_GT(layer, 0);
    EXPECT_EQ(lines.mid(layer + 1, 12),
              (QList<QByteArray>{"10", "5000", "20", "9000", "30", "0", "11", "5000", "21", "9000",
                                 "31", "-1500"}));
}

TEST_F(DxfWriterTest, EveryLineEndsWithCrLf)
{
    buildGoldenDesign();
    const QByteArray bytes = DxfBytes(design);
    ASSERT_TRUE(bytes.endsWith("0\r\nEOF\r\n"));
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
        }
        if (bytes[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes.size() && bytes[i + 1] == '\n') << "bare CR at " << i;
        }
    }
}

TEST_F(DxfWriterTest, LoopSegmentsFollowTheCornerListWithoutClosing)
{
    design.RoomNS = 3000;
    AppendElbow(design.Elbows, {0, 0, 0});
    AppendElbow(design.Elbows, {0, 4000, 0});
    AppendElbow(design.Elbows, {3000, 4000, 0});
    AppendElbow(design.Elbows, {3000, 0, 0});
    const QList<QByteArray> lines = Lines(DxfBytes(design));
    EXPECT_EQ(lines.count("ELBOW_LAYER"), 3);
    // The last segment runs from corner 3 to corner 4, not back to corner 1.
    const qsizetype last = lines.lastIndexOf("ELBOW_LAYER");
    EXPECT_EQ(lines.mid(last + 1, 12), (QList<QByteArray>{"10", "4000", "20", "0", "30", "0", "11",
                                                          "0", "21", "0", "31", "0"}));
}

TEST_F(DxfWriterTest, NegativeAndLargeIntegersHaveNoPaddingOrPlus)
{
    design.RoomNS = 0;
    auto spur = std::make_unique<TSpur>();
    spur->setPosition({2000000000, -7, 0});
    spur->setEndPosition({-2000000000, 0, 0});
    design.Spurs.push_back(std::move(spur));
    const QList<QByteArray> lines = Lines(DxfBytes(design));
    const qsizetype layer = lines.indexOf("SPUR_LAYER");
    ASSERT_GT(layer, 0);
    // Y = L - NS is computed without overflow.
    EXPECT_EQ(lines.mid(layer + 1, 12),
              (QList<QByteArray>{"10", "-7", "20", "-2000000000", "30", "0", "11", "0", "21",
                                 "2000000000", "31", "0"}));
}

// ---------------------------------------------------------------- files

TEST_F(DxfWriterTest, SaveWritesTheBytes)
{
    buildGoldenDesign();
    const QString path = dir.filePath(QStringLiteral("loop.dxf"));
    EXPECT_TRUE(SaveDxf(design, path));
    EXPECT_EQ(ReadFile(path), DxfBytes(design));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DxfWriterTest, SaveTruncatesAnExistingFile)
{
    const QString path = dir.filePath(QStringLiteral("loop.dxf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x'));
    }
    EXPECT_TRUE(SaveDxf(design, path));
    EXPECT_EQ(ReadFile(path), DxfBytes(design));
}

TEST_F(DxfWriterTest, AtomicSaveWritesTheSameBytes)
{
    buildGoldenDesign();
    const QString path = dir.filePath(QStringLiteral("loop.dxf"));
    EXPECT_TRUE(SaveDxf(design, path, {DxfFileMode::Atomic}));
    EXPECT_EQ(ReadFile(path), DxfBytes(design));
}

TEST_F(DxfWriterTest, FileThatCannotBeCreatedGoesToTheErrorReport)
{
    for (DxfFileMode mode : {DxfFileMode::InPlace, DxfFileMode::Atomic}) {
        ui.messages.clear();
        const QString path = dir.filePath(QStringLiteral("no such folder/loop.dxf"));
        EXPECT_FALSE(SaveDxf(design, path, {mode}));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].kind, UiServices::Kind::Error);
        const QString& text = ui.messages[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("An error has been detected within PIPELOOP :")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("Cannot create file : ") + path))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(QStringLiteral("Report the above to ZELK and close the "
                                                 "application.")));
        EXPECT_FALSE(QFileInfo::exists(path));
    }
}

TEST_F(DxfWriterTest, FolderInThePlaceOfTheFileIsReported)
{
    const QString path = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken")));
    EXPECT_FALSE(SaveDxf(design, path));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(DxfWriterTest, ReadOnlyFolderIsReported)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    const QString folder = dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QString path = folder + QStringLiteral("/loop.dxf");
    EXPECT_FALSE(SaveDxf(design, path));
    EXPECT_FALSE(SaveDxf(design, path, {DxfFileMode::Atomic}));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_FALSE(QFileInfo::exists(path));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(DxfWriterTest, FullDiskIsReported)
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_FALSE(SaveDxf(design, QStringLiteral("/dev/full")));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Problem writing to :\r\n/dev/full")))
        << ui.messages[0].text.toStdString();
}

TEST_F(DxfWriterTest, FailureInPlaceLeavesThePartlyWrittenFile)
{
    buildGoldenDesign();
    const QString path = dir.filePath(QStringLiteral("loop.dxf"));
    const QByteArray whole = DxfBytes(design);
    bool saved = true;
    {
        const test::FileSizeLimit limit(200);
        saved = SaveDxf(design, path);
    }
    EXPECT_FALSE(saved);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("Problem writing to :\r\n") + path));
    // the rules: the partial file stays; it is a true prefix that lacks "0 EOF".
    const QByteArray partial = ReadFile(path);
    EXPECT_GT(partial.size(), 0);
    EXPECT_LE(partial.size(), 200);
    EXPECT_TRUE(whole.startsWith(partial));
    EXPECT_FALSE(partial.endsWith("0\r\nEOF\r\n"));
}

TEST_F(DxfWriterTest, AtomicFailureLeavesTheOldFileAndNoTemporary)
{
    buildGoldenDesign();
    const QString path = dir.filePath(QStringLiteral("loop.dxf"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old drawing");
    }
    bool saved = true;
    {
        const test::FileSizeLimit limit(200);
        saved = SaveDxf(design, path, {DxfFileMode::Atomic});
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ReadFile(path), "old drawing");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("loop.dxf")});
}

// A device that takes only so many bytes: every write is verified.
class ShortDevice : public QIODevice
{
public:
    explicit ShortDevice(qint64 room) : m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray written;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        const qint64 taken = std::min(size, m_room);
        written.append(data, taken);
        m_room -= taken;
        return taken;
    }

private:
    qint64 m_room;
};

TEST_F(DxfWriterTest, ShortWriteStopsTheWriter)
{
    buildGoldenDesign();
    const QByteArray whole = DxfBytes(design);
    ShortDevice device(whole.size() / 2);
    EXPECT_THROW(WriteDxf(device, design), DxfWriteError);
    EXPECT_TRUE(whole.startsWith(device.written));
    EXPECT_LT(device.written.size(), whole.size());
}

} // namespace
} // namespace pipeloop
