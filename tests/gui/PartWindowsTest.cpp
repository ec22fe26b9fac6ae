// The part windows and the drop view's two Assign commands: the part
// selector on the demo catalogue, the user part window on a folder of its
// own, and what the commands leave in the design.

#include "GuiTestSupport.h"

#include "EditCommands.h"
#include "PartSelectForm.h"
#include "PartSelection.h"
#include "TestFiles.h"
#include "UserPartForm.h"
#include "UserParts.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QTextEdit>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

using namespace catalogue;

QStringList Texts(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts.append(list.item(row)->text());
    return texts;
}

QStringList Row(const QTableWidget& grid, int row)
{
    return {grid.item(row, 0)->text(), grid.item(row, 1)->text(), grid.item(row, 2)->text()};
}

TEST(PartSelector, CandidatesSelectionOkTextAndClearPartsBackToTheOpeningAssignment)
{
    MainWindowFixture f;
    f.start();
    TPartsDatabase& db = f.form.partsDatabase();
    const QList<PartChoice> outlets = PartCandidates(db, QStringLiteral("2-PORT-OUTLET"), 20);
    ASSERT_GE(outlets.size(), 2);
    const QString first = outlets[0].part->PartKey();
    const QString second = outlets[1].part->PartKey();
    QTemporaryDir appDir;
    const QString document = appDir.filePath("vurazizo2014.pdf");
    WriteBytes(document, "%PDF");
    QStringList opened;
    TPartSelectForm form([&opened](const QString& path, const QString& destination) {
        opened << path << destination;
        return true;
    });

    // A foreign maker and a part the catalogue dropped are reported and left out.
    const QString assigned = "ZAVOZA:" + second + "+ACME:7+ZAVOZA:NO-SUCH-PART";
    form.Prepare(db, QStringLiteral("2-PORT-OUTLET"), 20, assigned, appDir.path());
    EXPECT_EQ(f.ui.texts(), QStringList({"Part 7 maker ACME\r\nis not supported.",
                                         "Part NO-SUCH-PART is not in the parts database."}));
    EXPECT_EQ(form.candidates()->count(), outlets.size());
    EXPECT_EQ(form.candidates()->currentRow(), 0);
    EXPECT_EQ(form.description()->toPlainText(), outlets[0].part->Description());
    EXPECT_FALSE(form.picture()->pixmap().isNull()) << "the demo parts have pictures";
    EXPECT_EQ(form.dropSizeLabel()->text(), QStringLiteral("Drop Size ") + SizeText(20));
    EXPECT_EQ(Texts(*form.selected()), QStringList(outlets[1].part->PartNumber()));
    EXPECT_FALSE(form.button("btnOK")->isEnabled());

    // The same part twice, in the order chosen.
    form.button("btnAddPart")->click();
    form.AddPart();
    EXPECT_TRUE(form.button("btnOK")->isEnabled());
    EXPECT_EQ(form.AssignedText(), "ZAVOZA:" + second + "+ZAVOZA:" + first + "+ZAVOZA:" + first);
    form.selected()->setCurrentRow(1);
    EXPECT_EQ(form.candidates()->currentItem(), nullptr);
    form.button("btnViewCatalog")->click(); // the selected part, as nothing else is highlighted
    EXPECT_EQ(opened, QStringList({document, ImageNameOf(first)}));
    form.button("btnClearParts")->click();
    EXPECT_EQ(form.AssignedText(), "ZAVOZA:" + second);
    EXPECT_FALSE(form.button("btnOK")->isEnabled());

    f.ui.messages.clear();
    form.Prepare(db, QStringLiteral("FRL"), 20, QString(), appDir.path());
    EXPECT_EQ(f.ui.texts(), QStringList("Cannot find any parts in the database for : FRL"));
    EXPECT_EQ(form.candidates()->count(), 0);
    EXPECT_EQ(form.picture()->text(), QStringLiteral("NO IMAGE"));
    EXPECT_EQ(form.AssignedText(), QString());
}

class UserPartWindowTest : public ::testing::Test
{
protected:
    UserPartWindowTest()
    {
        main.start();
        WriteBytes(dir.filePath(UserPartsDatabase::DefaultFileName()), "ACME:1 One\r\n");
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    MainWindowFixture main;
    QTemporaryDir dir;
    UserPartsDatabase parts;
    TUserPartForm form{main.dialogs, dir.path()};
};

TEST_F(UserPartWindowTest, AssignedRowsNewPartsAndTheUsersFile)
{
    form.Prepare(parts, main.form.partsDatabase(), "FRL", "ACME:1+LOOSE", "1/2\"");
    EXPECT_EQ(form.windowTitle(), "User Part Selector : FRL");
    EXPECT_EQ(form.connectingLabel()->text(), "Connecting Pipe OD : 1/2\"");
    ASSERT_EQ(form.assignedGrid()->rowCount(), 2);
    EXPECT_EQ(Row(*form.assignedGrid(), 0), QStringList({"ACME", "1", "One"}));
    EXPECT_EQ(Row(*form.assignedGrid(), 1), QStringList({"", "LOOSE", ""}));
    EXPECT_FALSE(form.button("btnSaveUserDB")->isEnabled());

    form.AddPart(); // nothing chosen
    // A new part of a known maker, then one of a new maker; a refused key adds nothing.
    form.makerList()->setCurrentRow(0);
    form.newPartEdit()->setText("x9");
    form.descriptionEdit()->setText("Nine");
    form.button("btnAddNewPart")->click();
    form.newPartEdit()->setText("a b");
    form.button("btnAddNewPart")->click();
    form.button("btnAddNewPartAndMaker")->click(); // the box still holds its prompt
    form.newMakerEdit()->setText("bosco");
    form.newPartEdit()->setText("7");
    form.button("btnAddNewPartAndMaker")->click();
    EXPECT_EQ(main.ui.texts(),
              QStringList({"Select a part before using the button.",
                           "The part number cannot contain a blank.", "Invalid manufacturer."}));
    EXPECT_EQ(form.makerBox()->count(), 2);
    EXPECT_TRUE(form.button("btnSaveUserDB")->isEnabled());

    form.ChooseMaker("ACME");
    EXPECT_EQ(Texts(*form.partList()), QStringList({"1", "X9"}));
    form.ChoosePart("X9");
    EXPECT_EQ(form.partList()->toolTip(), "Nine");
    form.button("btnAddPart")->click();
    EXPECT_EQ(form.AssignedText(), "ACME:1+:LOOSE+ACME:X9");

    main.ui.confirmAnswers = {false, true};
    form.button("btnClearParts")->click();
    EXPECT_EQ(form.assignedGrid()->rowCount(), 3);
    form.button("btnClearParts")->click();
    EXPECT_EQ(form.AssignedText(), QString());

    // Only the user's own entries are saved; opening a file replaces them.
    main.dialogs.saveAnswers = {path("mine.updb")};
    form.button("btnSaveUserDB")->click();
    EXPECT_EQ(ReadBytes(path("mine.updb")), QByteArray("ACME:X9 Nine\r\nBOSCO:7 Nine\r\n"));
    EXPECT_FALSE(form.button("btnSaveUserDB")->isEnabled());
    WriteBytes(path("other.updb"), "ZED:5 Five\r\n");
    main.dialogs.openAnswers = {path("other.updb")};
    form.button("btnOpenUserDB")->click();
    EXPECT_EQ(parts.Keys(), QStringList({"ACME:1", "ZED:5"}));
    EXPECT_EQ(form.makerBox()->count(), 2);
    EXPECT_EQ(parts.UserFile(), path("other.updb"));
}

TEST(AssignCommands, TheWindowsTextIsOneStepOnTheSymbolAndTheFileIsAskedForAtExit)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString sample = dir.filePath("w.plf");
    QFile::copy(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf", sample);
    ASSERT_TRUE(f.form.files().open(sample));
    TDrop& drop = *f.design()->Drops[0];
    f.form.document().select(drop);
    ClickDropViewSymbol(f.form, 0);
    ASSERT_EQ(drop.SymbolName(0), "FRL");
    const int steps = f.form.document().undoStack().count();

    f.dialogs.partAnswers = {std::nullopt, QStringLiteral("ACME:1"), QStringLiteral("ACME:1")};
    f.action("pmAssignGenericParts")->trigger(); // Cancel
    f.action("pmAssignGenericParts")->trigger();
    f.action("pmAssignGenericParts")->trigger(); // the same text: no step
    EXPECT_EQ(f.dialogs.partWindows.first(), "FRL " + SizeText(drop.OutletSize) + " FRL-14");
    EXPECT_EQ(drop.SymbolPart(0), "ACME:1");
    EXPECT_EQ(f.form.document().undoStack().count(), steps + 1);

    f.dialogs.partAnswers = {QStringLiteral("ZAVOZA:90000-20")};
    f.action("pmAssignZAVOZAParts")->trigger();
    EXPECT_EQ(f.dialogs.partWindows.last(), "FRL 12.7 ACME:1");
    EXPECT_EQ(drop.SymbolPart(0), "ZAVOZA:90000-20");
    f.action("moUndo")->trigger();
    EXPECT_EQ(drop.SymbolPart(0), "ACME:1");

    // An addition with no user file: the exit asks for one; Cancel says so.
    UserPartsDatabase& parts = f.form.edits().userParts();
    ASSERT_TRUE(parts.AddPart("ACME", "2", QString()));
    f.ui.confirmAnswers = {true};
    f.form.SaveSettings();
    EXPECT_EQ(f.dialogs.titles.last(), "Save User Parts Database");
    EXPECT_EQ(f.ui.texts().last(), "Your part numbers were not saved.");
    f.ui.confirmAnswers = {true};
    f.dialogs.saveAnswers = {dir.filePath("mine.updb")};
    f.form.SaveSettings();
    EXPECT_EQ(ReadBytes(dir.filePath("mine.updb")), QByteArray("ACME:2 \r\n"));
    EXPECT_EQ(f.settings.RegReadText("UserPartsFile", {}), dir.filePath("mine.updb"));
}

} // namespace
} // namespace pipeloop::testing
