// the rules: the container's layout, its acceptance and every rejection.

#include "Cab.h"
#include "CatalogueTestSupport.h"
#include "ScriptedUi.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;

namespace
{

const QString Path = QStringLiteral("test.pldbcab");

QByteArray U32(uint32_t value)
{
    QByteArray bytes;
    for (int i = 0; i < 4; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

// Signature, reserved bytes and body, then the CRC of all of it.
QByteArray WithCrc(const QByteArray& withoutCrc)
{
    return withoutCrc + U32(Crc32(withoutCrc));
}

QByteArray Header(uint32_t count)
{
    return QByteArray("ZELKCAB1") + QByteArray("RESERVED") + U32(count);
}

std::vector<CabEntry> SampleEntries()
{
    return {{QStringLiteral("PARTS.PLDBI"), QByteArray("[CATALOGUE]\r\nSUP=X\r\n")},
            {QStringLiteral("LOGO.JPG"), QByteArray("\xff\xd8not really a jpeg\xff\xd9")},
            {QStringLiteral("EMPTY.JPG"), QByteArray()},
            {QString(), QByteArray("nameless")}};
}

class CabTest : public ::testing::Test
{
protected:
    ScriptedUi ui;
    TCAB cab;
};

TEST_F(CabTest, Crc32CheckValue)
{
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc32(QByteArrayView()), 0u);
}

TEST_F(CabTest, LayoutIsExactlyThatOfPart42)
{
    const QByteArray file = BuildCab({{QStringLiteral("AB"), QByteArray("xyz")}}, "12345678");
    const QByteArray expected = WithCrc(QByteArray("ZELKCAB1") + QByteArray("12345678") + U32(1) +
                                        QByteArray("\x02\x00"
                                                   "AB",
                                                   4) +
                                        U32(3) + "xyz");
    EXPECT_EQ(file.toHex(), expected.toHex());
}

TEST_F(CabTest, AValidContainerLoadsEveryEntry)
{
    const QByteArray file = BuildCab(SampleEntries(), "RESERVED");
    cab.LoadBytes(file, Path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(cab.Valid());
    ASSERT_EQ(cab.Count(), 4);
    EXPECT_EQ(cab.Names(), QStringList({QStringLiteral("PARTS.PLDBI"), QStringLiteral("LOGO.JPG"),
                                        QStringLiteral("EMPTY.JPG"), QString()}));
    EXPECT_EQ(*cab.Entry(0), SampleEntries()[0].data);
    EXPECT_EQ(*cab.Entry(1), SampleEntries()[1].data);
    EXPECT_TRUE(cab.Entry(2)->isEmpty());             // S = 0 gives an empty stream
    EXPECT_EQ(*cab.Entry(3), QByteArray("nameless")); // a name of length 0
    EXPECT_EQ(cab.Reserved(), QByteArray("RESERVED"));
    EXPECT_EQ(cab.StoredCrc(), Crc32(QByteArrayView(file).first(file.size() - 4)));
}

TEST_F(CabTest, LookupIgnoresLetterCaseAndFindsTheFirst)
{
    std::vector<CabEntry> entries = SampleEntries();
    entries.push_back({QStringLiteral("logo.jpg"), QByteArray("second")});
    cab.LoadBytes(BuildCab(entries), Path);
    EXPECT_EQ(cab.IndexOf(QStringLiteral("parts.pldbi")), 0);
    EXPECT_EQ(cab.IndexOf(QStringLiteral("LOGO.jpg")), 1);
    EXPECT_EQ(cab.IndexOf(QStringLiteral("MISSING.JPG")), -1);
    EXPECT_EQ(cab.Entry(-1), nullptr);
    EXPECT_EQ(cab.Entry(cab.Count()), nullptr);
}

TEST_F(CabTest, NoEntriesIsAValidEmptyContainer)
{
    const QByteArray file = WithCrc(Header(0));
    EXPECT_EQ(file.size(), 24);
    cab.LoadBytes(file, Path);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(cab.Valid());
    EXPECT_EQ(cab.Count(), 0);
}

TEST_F(CabTest, EverySingleFlippedByteIsRefused)
{
    const QByteArray good = BuildCab(SampleEntries(), "RESERVED");
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const char mask : {'\x01', '\x80'}) {
            ScriptedUi scripted;
            QByteArray bad = good;
            bad[at] = static_cast<char>(bad[at] ^ mask);
            TCAB damaged;
            damaged.LoadBytes(bad, Path);
            const QString expected = at < 8
                                         ? QStringLiteral("Invalid CAB file header : test.pldbcab")
                                         : QStringLiteral("Invalid CAB file CRC : test.pldbcab");
            ASSERT_EQ(scripted.texts(), QStringList{expected}) << "byte " << at;
            EXPECT_EQ(scripted.messages[0].kind, UiServices::Kind::Warning);
            EXPECT_EQ(damaged.Count(), 0);
            EXPECT_FALSE(damaged.Valid());
        }
    }
}

TEST_F(CabTest, TheSignatureIsCaseSensitiveAndCheckedFirst)
{
    QByteArray file = BuildCab(SampleEntries());
    file.replace(0, 8, "zelkcab1");
    cab.LoadBytes(file, Path); // the CRC is wrong too, but the header is reported
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Invalid CAB file header : test.pldbcab")});
    ui.messages.clear();
    cab.LoadBytes(QByteArray("ZELKCAB"), Path);
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Invalid CAB file header : test.pldbcab")});
    EXPECT_EQ(cab.Count(), 0);
}

TEST_F(CabTest, CountsAndSizesPastTheEndLeaveTheContainerEmpty)
{
    const QString message = QStringLiteral(
        "Invalid CAB file, its entry table runs past the end of the file : test.pldbcab");
    const QList<QByteArray> files = {
        WithCrc(Header(0xFFFFFFFFu)), // count past the end
        WithCrc(Header(2) +
                QByteArray("\x01\x00"
                           "A",
                           3) +
                U32(0)), // second name missing
        WithCrc(Header(1) +
                QByteArray("\xFF\xFF"
                           "AB",
                           4) +
                U32(0)), // name length past the end
        WithCrc(Header(1) + QByteArray("\x01\x00"
                                       "A",
                                       3)), // data record missing
        WithCrc(Header(1) +
                QByteArray("\x01\x00"
                           "A",
                           3) +
                U32(5) + "abc"), // data past the end
        WithCrc(Header(1) +
                QByteArray("\x01\x00"
                           "A",
                           3) +
                U32(0xFFFFFFFFu)),
        WithCrc(QByteArray("ZELKCAB1")),                     // no header at all
        WithCrc(QByteArray("ZELKCAB1RESERVED\x01\x00", 18)), // half a count
    };
    for (const QByteArray& file : files) {
        ScriptedUi scripted;
        TCAB damaged;
        damaged.LoadBytes(file, Path);
        EXPECT_EQ(scripted.texts(), QStringList{message}) << file.toHex().toStdString();
        EXPECT_EQ(damaged.Count(), 0);
        EXPECT_FALSE(damaged.Valid());
    }
}

TEST_F(CabTest, BytesAfterTheDataTableAreNotChecked)
{
    // The reader takes the last four bytes as the CRC and reads N records; what
    // lies between is not looked at.
    const QByteArray file = WithCrc(Header(1) +
                                    QByteArray("\x01\x00"
                                               "A",
                                               3) +
                                    U32(1) + "x" + "junk");
    cab.LoadBytes(file, Path);
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_EQ(cab.Count(), 1);
    EXPECT_EQ(*cab.Entry(0), QByteArray("x"));
}

TEST_F(CabTest, LoadFromAFileAndFromAMissingFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.pldbcab"));
    ASSERT_TRUE(pipeloop::testing::WriteBytes(path, BuildCab(SampleEntries())));
    cab.Load(path);
    EXPECT_EQ(cab.Count(), 4);
    EXPECT_THROW(cab.Load(dir.filePath(QStringLiteral("missing.pldbcab"))), CabReadError);
    EXPECT_EQ(cab.Count(), 0);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(CabTest, NamesAreWindows1252)
{
    cab.LoadBytes(BuildCab({{QStringLiteral("CAF\u00c9.JPG"), QByteArray("x")}}), Path);
    ASSERT_EQ(cab.Count(), 1);
    EXPECT_EQ(cab.Names().front(), QStringLiteral("CAF\u00c9.JPG"));
    EXPECT_THROW(BuildCab({{QString(70000, u'A'), QByteArray()}}), std::invalid_argument);
}

} // namespace
