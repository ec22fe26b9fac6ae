// the rules: the user parts file, its defaults, the maker list and the
// assigned-parts text.

#include "UserParts.h"
#include "CatalogueTestSupport.h"
#include "ScriptedUi.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::catalogue;
using pipeloop::testing::ScriptedUi;

namespace
{

class UserPartsTest : public ::testing::Test
{
protected:
    ScriptedUi ui;
    QTemporaryDir dir;
    UserPartsDatabase parts;

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        pipeloop::testing::WriteBytes(path, bytes);
        return path;
    }
};

TEST_F(UserPartsTest, LinesAreAKeyAndTheRestAsDescription)
{
    parts.ReadBytes("ACME:123 Filter regulator, 1/2\" ports\r\nACME:9\nBOSCO:X1 \r\n\r\nBOSCO:X2 "
                    "two  spaces\rNOMAKER");
    EXPECT_EQ(parts.Keys(), QStringList({QStringLiteral("ACME:123"), QStringLiteral("ACME:9"),
                                         QStringLiteral("BOSCO:X1"), QStringLiteral("BOSCO:X2"),
                                         QStringLiteral("NOMAKER")}));
    EXPECT_EQ(parts.Descriptions(),
              QStringList({QStringLiteral("Filter regulator, 1/2\" ports"), QString(), QString(),
                           QStringLiteral("two  spaces"), QString()}));
    EXPECT_EQ(parts.Makers(), QStringList({QStringLiteral("ACME"), QStringLiteral("BOSCO")}));
    EXPECT_EQ(parts.PartNumbersOf(QStringLiteral("ACME")),
              QStringList({QStringLiteral("123"), QStringLiteral("9")}));
    EXPECT_EQ(parts.DescriptionOf(QStringLiteral("ACME:9")), QString());
    EXPECT_EQ(parts.DescriptionOf(QStringLiteral("BOSCO:X2")), QStringLiteral("two  spaces"));
}

TEST_F(UserPartsTest, DefaultEntriesAreNeverWrittenToTheUsersFile)
{
    Write(UserPartsDatabase::DefaultFileName(), "ZAVOZA:90010-25 Elbow\r\nACME:1 One\r\n");
    const QString user = Write(QStringLiteral("mine.updb"), "ACME:2 Two\r\n");
    parts.Load(dir.path(), user);
    EXPECT_EQ(parts.Count(), 3);
    EXPECT_EQ(parts.DefaultCount(), 2);
    EXPECT_EQ(parts.Makers(), QStringList({QStringLiteral("ZAVOZA"), QStringLiteral("ACME")}));
    EXPECT_TRUE(parts.AddPart(QStringLiteral("ACME"), QStringLiteral("3b"), QString()));
    EXPECT_TRUE(parts.HasUnsavedAdditions());
    EXPECT_EQ(parts.UserEntriesBytes(), QByteArray("ACME:2 Two\r\nACME:3B \r\n"));

    const QString saved = dir.filePath(QStringLiteral("saved.updb"));
    EXPECT_TRUE(parts.SaveUserEntries(saved));
    EXPECT_FALSE(parts.HasUnsavedAdditions());
    EXPECT_EQ(parts.UserFile(), saved);

    // Round trip: the saved file read after the same defaults gives the same entries.
    UserPartsDatabase again;
    again.Load(dir.path(), saved);
    EXPECT_EQ(again.Keys(), parts.Keys());
    EXPECT_EQ(again.Descriptions(), parts.Descriptions());
    EXPECT_EQ(again.UserEntriesBytes(), parts.UserEntriesBytes());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(UserPartsTest, AddingRefusesKnownKeysAndBadMakers)
{
    parts.ReadBytes("ACME:ABC Thing\r\n");
    EXPECT_FALSE(parts.AddPart(QStringLiteral("ACME"), QStringLiteral("abc"), QStringLiteral("x")));
    EXPECT_EQ(ui.texts(), QStringList{QStringLiteral("Part already in database.")});
    EXPECT_FALSE(parts.AddPartAndMaker(QString(), QStringLiteral("1"), QString()));
    EXPECT_FALSE(parts.AddPartAndMaker(QStringLiteral("Enter New Manufacturer"),
                                       QStringLiteral("1"), QString()));
    EXPECT_EQ(ui.texts().mid(1), QStringList(2, QStringLiteral("Invalid manufacturer.")));
    EXPECT_TRUE(parts.AddPartAndMaker(QStringLiteral("newco"), QStringLiteral("z-1"),
                                      QStringLiteral("New thing")));
    EXPECT_EQ(parts.Keys().last(), QStringLiteral("NEWCO:Z-1"));
    EXPECT_EQ(parts.Makers(), QStringList({QStringLiteral("ACME"), QStringLiteral("NEWCO")}));
    EXPECT_EQ(parts.Count(), 2);
}

TEST_F(UserPartsTest, OpeningAFileAppendsItAndMakesItTheUsersFile)
{
    const QString other = Write(QStringLiteral("other.updb"), "X:1\r\n");
    parts.ReadBytes("A:1\r\n");
    parts.MarkDefaults();
    EXPECT_TRUE(parts.OpenUserFile(other));
    EXPECT_TRUE(parts.OpenUserFile(other)); // twice appends twice
    EXPECT_EQ(parts.Count(), 3);
    EXPECT_EQ(parts.UserFile(), other);
    EXPECT_FALSE(parts.OpenUserFile(dir.filePath(QStringLiteral("missing.updb"))));
    ASSERT_EQ(ui.messages.size(), 1u); // the common error report
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("An error has been detected")));
}

TEST_F(UserPartsTest, AssignedTextSplitsAndJoins)
{
    const auto items = SplitAssignedText(QStringLiteral("ZAVOZA:90010-25++ACME:12:b+LOOSE"));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0], (AssignedItem{QStringLiteral("ZAVOZA"), QStringLiteral("90010-25")}));
    EXPECT_EQ(items[1], (AssignedItem{QStringLiteral("ACME"), QStringLiteral("12:b")}));
    EXPECT_EQ(items[2], (AssignedItem{QString(), QStringLiteral("LOOSE")}));
    EXPECT_EQ(JoinAssignedText(items), QStringLiteral("ZAVOZA:90010-25+ACME:12:b+:LOOSE"));
    EXPECT_EQ(JoinAssignedText({}), QString());
    EXPECT_TRUE(SplitAssignedText(QString()).empty());
    // One item shows its own description.
    parts.ReadBytes("ACME:7 Seven\r\n");
    const auto one = SplitAssignedText(QStringLiteral("ACME:7"));
    EXPECT_EQ(parts.DescriptionOf(one[0].maker + u':' + one[0].partNumber),
              QStringLiteral("Seven"));
}

TEST_F(UserPartsTest, TextIsWindows1252)
{
    parts.ReadBytes("CAF\xc9:1 Cr\xe8me\r\n");
    EXPECT_EQ(parts.Keys().front(), QStringLiteral("CAF\u00c9:1"));
    EXPECT_EQ(parts.Descriptions().front(), QStringLiteral("Cr\u00e8me"));
    EXPECT_EQ(parts.UserEntriesBytes(), QByteArray("CAF\xc9:1 Cr\xe8me\r\n"));
}

} // namespace
