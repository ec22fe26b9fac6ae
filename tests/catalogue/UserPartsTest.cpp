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

TEST_F(UserPartsTest, OpeningAFileReplacesTheUsersEntries)
{
    const QString other = Write(QStringLiteral("other.updb"), "X:1\r\n");
    const QString third = Write(QStringLiteral("third.updb"), "Y:2 Two\r\n");
    parts.ReadBytes("A:1\r\n");
    parts.MarkDefaults();
    EXPECT_TRUE(parts.OpenUserFile(other));
    EXPECT_TRUE(parts.OpenUserFile(other)); // twice is still once
    EXPECT_EQ(parts.UserEntriesBytes(), QByteArray("X:1 \r\n"));
    EXPECT_TRUE(parts.OpenUserFile(third)); // never merged with the last one
    EXPECT_EQ(parts.Keys(), QStringList({QStringLiteral("A:1"), QStringLiteral("Y:2")}));
    EXPECT_EQ(parts.Makers(), QStringList({QStringLiteral("A"), QStringLiteral("Y")}));
    EXPECT_EQ(parts.UserFile(), third);
    EXPECT_TRUE(ui.questions.isEmpty());

    // Unsaved additions are asked about; No keeps them and the file.
    ASSERT_TRUE(parts.AddPart(QStringLiteral("Y"), QStringLiteral("3"), QString()));
    ui.confirmAnswers = {false, true};
    EXPECT_FALSE(parts.OpenUserFile(other));
    EXPECT_EQ(parts.Count(), 3);
    EXPECT_TRUE(parts.OpenUserFile(other));
    EXPECT_EQ(parts.Keys(), QStringList({QStringLiteral("A:1"), QStringLiteral("X:1")}));
    EXPECT_FALSE(parts.HasUnsavedAdditions());
    EXPECT_EQ(ui.questions.size(), 2);

    // A file that cannot be read changes nothing.
    EXPECT_FALSE(parts.OpenUserFile(dir.filePath(QStringLiteral("missing.updb"))));
    EXPECT_EQ(parts.UserFile(), other);
    EXPECT_EQ(parts.Count(), 2);
    ASSERT_EQ(ui.messages.size(), 1u); // the common error report
    EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("An error has been detected")));
}

TEST_F(UserPartsTest, KeysTheFileOrAnAssignmentCannotHoldAreRefusedByName)
{
    const std::pair<QString, QString> refused[] = {{QStringLiteral("AC ME"), QStringLiteral("1")},
                                                   {QStringLiteral("ACME"), QStringLiteral("1+2")},
                                                   {QStringLiteral("ACME"), QStringLiteral("1:2")},
                                                   {QStringLiteral("ACME"), QStringLiteral("1\n2")},
                                                   {QStringLiteral("ACME"), QString()},
                                                   {QString(), QStringLiteral("1")}};
    for (const auto& [maker, number] : refused)
        EXPECT_FALSE(parts.AddPart(maker, number, QString()));
    EXPECT_EQ(ui.texts(),
              QStringList({QStringLiteral("The manufacturer cannot contain a blank."),
                           QStringLiteral("The part number cannot contain \"+\"."),
                           QStringLiteral("The part number cannot contain \":\"."),
                           QStringLiteral("The part number cannot contain a line break."),
                           QStringLiteral("Enter a part number."),
                           QStringLiteral("Select a manufacturer.")}));
    EXPECT_FALSE(parts.AddPartAndMaker(QStringLiteral("New+Co"), QStringLiteral("1"), QString()));
    EXPECT_EQ(ui.texts().last(), QStringLiteral("The manufacturer cannot contain \"+\"."));
    EXPECT_EQ(parts.Count(), 0);
    // A description stays on its line.
    EXPECT_TRUE(parts.AddPart(QStringLiteral("ACME"), QStringLiteral("1"), "two\r\nlines"));
    EXPECT_EQ(parts.UserEntriesBytes(), QByteArray("ACME:1 two  lines\r\n"));
}

TEST_F(UserPartsTest, TheExitQuestionSavesOrSaysTheAdditionsWereNotSaved)
{
    int chooserCalls = 0;
    QString chosen;
    const auto chooser = [&] {
        ++chooserCalls;
        return chosen;
    };
    parts.SaveAtExit(chooser); // nothing added: nothing asked
    EXPECT_TRUE(ui.questions.isEmpty());

    ASSERT_TRUE(parts.AddPart(QStringLiteral("ACME"), QStringLiteral("1"), QStringLiteral("One")));
    parts.SaveAtExit(chooser); // No
    EXPECT_EQ(ui.questions,
              QStringList(QStringLiteral("You have added your own part numbers.\r\n"
                                         "Do you want to save them for use again ?")));
    ui.confirmAnswers = {true};
    parts.SaveAtExit(chooser); // Yes without a file, then the file choice cancelled
    EXPECT_EQ(chooserCalls, 1);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral("Your part numbers were not saved.")));
    EXPECT_TRUE(parts.HasUnsavedAdditions());

    chosen = dir.filePath(QStringLiteral("chosen.updb"));
    ui.confirmAnswers = {true};
    parts.SaveAtExit(chooser); // Yes, a file chosen
    EXPECT_EQ(pipeloop::testing::ReadBytes(chosen), QByteArray("ACME:1 One\r\n"));
    EXPECT_EQ(parts.UserFile(), chosen);

    ASSERT_TRUE(parts.AddPart(QStringLiteral("ACME"), QStringLiteral("2"), QString()));
    ui.confirmAnswers = {true};
    parts.SaveAtExit(chooser); // Yes with a user file: no choice asked
    EXPECT_EQ(chooserCalls, 2);
    EXPECT_EQ(pipeloop::testing::ReadBytes(chosen), QByteArray("ACME:1 One\r\nACME:2 \r\n"));
    EXPECT_FALSE(parts.HasUnsavedAdditions());
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
