// The document's history: objects that leave the design come back as
// themselves, a drag is one step, a change that changes nothing is none, and
// whatever refers to a departed object (the selection, the copied drop) lets
// go of it.

#include "DesignCommands.h"
#include "EditFixture.h"
#include "EditRules.h"
#include "ElbowList.h"
#include "TestFiles.h"

#include <QTemporaryDir>

namespace pipeloop::testing
{
namespace
{

using DocumentTest = EditFixture;

TEST_F(DocumentTest, UndoAndRedoGiveBackTheSameObjectsAtTheirIndexes)
{
    TDrop& first = addDrop(P(0, 1000));
    TDrop& second = addDrop(P(0, 2000));

    // Delete: the selected, copied drop leaves, and both let go of it.
    document.select(first);
    ASSERT_TRUE(document.copySelectedDrop());
    ASSERT_TRUE(document.deleteObject(first));
    EXPECT_EQ(design->Drops.size(), 1u);
    EXPECT_EQ(document.selected(), nullptr);
    EXPECT_EQ(document.copiedDrop(), nullptr);
    ASSERT_TRUE(document.undo());
    ASSERT_EQ(design->Drops.size(), 2u);
    EXPECT_EQ(design->Drops[0].get(), &first);
    EXPECT_EQ(design->Drops[1].get(), &second);
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(design->Drops[0].get(), &second);
    ASSERT_TRUE(document.undo());

    // Insert: two elbows in one step between the first two of the loop.
    std::vector<std::unique_ptr<TElbow>> elbows;
    elbows.push_back(NewElbow(6, P(0, 1000, 2500)));
    elbows.push_back(NewElbow(7, P(0, 2000, 2500)));
    const TElbow* sixth = elbows[0].get();
    const TElbow* seventh = elbows[1].get();
    ASSERT_TRUE(document.push(new InsertElbowsCommand(*design, 1, std::move(elbows), "Insert")));
    document.select(*design->Elbows[2]);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(design->Elbows.size(), 5u);
    EXPECT_EQ(document.selected(), nullptr);
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(design->Elbows[1].get(), sixth);
    EXPECT_EQ(design->Elbows[2].get(), seventh);
    EXPECT_EQ(design->Elbows[3]->Name, QStringLiteral("ELBOW2"));

    // Paste: a copy of the copied drop, selected but not drawn as selected.
    document.select(second);
    ASSERT_TRUE(document.copySelectedDrop());
    TDrop* pasted = document.pasteDrop(P(0, 3000, 2500));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Name, QStringLiteral("DROP3"));
    EXPECT_EQ(document.selected(), pasted);
    EXPECT_FALSE(pasted->isSelected());

    // Add: undoing the copied drop's creation forgets the copy, so a paste
    // after the undone drop has gone for good makes nothing.
    document.select(*pasted);
    ASSERT_TRUE(document.copySelectedDrop());
    ASSERT_TRUE(document.undo());
    EXPECT_FALSE(design->Contains(*pasted));
    EXPECT_EQ(document.copiedDrop(), nullptr);
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(design->Drops.back().get(), pasted);
    ASSERT_TRUE(document.undo());
    addDrop(P(0, 4000)); // the undone paste, and its drop, are gone
    EXPECT_EQ(document.pasteDrop(P(0, 4500)), nullptr);
    EXPECT_EQ(design->Drops.size(), 3u);
}

TEST_F(DocumentTest, ADragIsOneUndoStepBackToThePressAndNoneWhereItStarted)
{
    TValve& valve = design->AddValve(P(0, 1000));
    ASSERT_TRUE(document.pushAppended(valve, "Add valve"));
    const TDrop& drop = addDrop(P(1000, 5000));
    const int steps = document.undoStack().count();
    const ObjectImage pressed = ObjectImage::Of(valve);
    document.select(valve);

    // Round the corner onto the east run, where the valve takes its direction.
    ASSERT_TRUE(document.beginDrag());
    document.dragSelectionTo(P(300, 1500, -1), false, true);
    document.dragSelectionTo(P(700, 4800, -1), false, true);
    document.dragSelectionTo(P(700, 4900, -1), true, false);
    document.endDrag();
    EXPECT_EQ(valve.position(), P(700, 5000, 2500));
    EXPECT_EQ(document.undoStack().count(), steps + 1);
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(ObjectImage::Of(valve) == pressed) << "position and angle as pressed";
    EXPECT_TRUE(valve.isSelected()) << "the selection is not part of the history";
    ASSERT_TRUE(document.redo());
    const ObjectImage moved = ObjectImage::Of(valve);

    // Back where it started: no step. Another drag: a step of its own.
    ASSERT_TRUE(document.beginDrag());
    document.dragSelectionTo(P(1500, 3000, -1), false, true);
    document.dragSelectionTo(P(700, 5000, -1), true, false);
    document.endDrag();
    EXPECT_EQ(document.undoStack().count(), steps + 1);
    ASSERT_TRUE(document.beginDrag());
    document.dragSelectionTo(P(1500, 5000, -1), true, false);
    document.endDrag();
    EXPECT_EQ(document.undoStack().count(), steps + 2);
    ASSERT_TRUE(document.undo());

    // A release onto the drop is refused and puts the valve back, with no step.
    ASSERT_TRUE(document.beginDrag());
    document.dragSelectionTo(drop.position(), false, true);
    const EditResult released = ReleaseDrag(document, drop.position(), false);
    EXPECT_EQ(released.message(),
              QStringLiteral("Cannot move object, position occupied by : DROP1"));
    EXPECT_TRUE(ObjectImage::Of(valve) == moved);
    EXPECT_EQ(document.undoStack().index(), steps + 1);
    EXPECT_EQ(document.undoStack().count(), steps + 1) << "a drag, like any change, ends redo";
}

TEST_F(DocumentTest, ChangesThatChangeNothingAreNoStepsAndSignalsFollowTheHistory)
{
    int selections = 0;
    int options = 0;
    int changes = 0;
    QObject::connect(&document, &Document::selectionChanged, [&] { ++selections; });
    QObject::connect(&document, &Document::optionsChanged, [&] { ++options; });
    QObject::connect(&document, &Document::designChanged, [&] { ++changes; });
    TDrop& drop = addDrop(P(0, 1000));
    document.select(drop);
    const int steps = document.undoStack().count();

    EXPECT_FALSE(document.changeObject(drop, "Nothing", [](TPipeLoopObject&) {}));
    EXPECT_FALSE(document.push(new DesignValueCommand<float>(*design, &TPipeLoop::PipeSize,
                                                             design->PipeSize, "Same size")));
    EXPECT_FALSE(
        document.push(new SetSnapToGridCommand(document.options(), document.options().SnapToGrid)));
    document.beginMacro("Nothing either");
    EXPECT_FALSE(document.push(new SetNotesCommand(*design, design->Notes)));
    document.endMacro();
    EXPECT_EQ(document.undoStack().count(), steps);
    EXPECT_EQ(options, 0);

    // Stored fields come back; the selection stays as it is.
    EXPECT_TRUE(document.changeObject(drop, "Gauge", [](TPipeLoopObject& object) {
        auto& changed = static_cast<TDrop&>(object);
        changed.AddSymbol(Symbol::Gauge, QStringLiteral("G-1"));
        changed.Name = QStringLiteral("TAP");
    }));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(drop.SymbolCount(), 0);
    EXPECT_EQ(drop.Name, QStringLiteral("DROP1"));
    EXPECT_TRUE(drop.isSelected());
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(drop.SymbolPart(0), QStringLiteral("G-1"));

    EXPECT_TRUE(document.push(
        new SetSnapToGridCommand(document.options(), !document.options().SnapToGrid)));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(options, 2);
    EXPECT_EQ(selections, 1);
    ASSERT_TRUE(document.deleteObject(drop));
    EXPECT_EQ(selections, 2) << "the selected drop left";
    EXPECT_EQ(changes, 7) << "add, change, undo, redo, push, undo, delete";
}

TEST_F(DocumentTest, SavingAndOpeningMakeTheDesignUnmodified)
{
    EXPECT_TRUE(document.isModified()) << "a new design is unsaved";
    addDrop(P(0, 1000));
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.isModified()) << "no undo makes a new design saved";

    QTemporaryDir folder;
    const QString path = folder.filePath("new.plf");
    ASSERT_TRUE(document.save(path));
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.fileName(), path);
    addDrop(P(0, 1000));
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.undo());
    EXPECT_FALSE(document.isModified());

    ASSERT_TRUE(document.open(SampleFile("workshop.plf")));
    EXPECT_FALSE(document.isModified());
    EXPECT_EQ(document.design()->Drops.size(), 7u);
    EXPECT_EQ(document.zoomFactors()[size_t(ViewKind::Plan)], 75);
    EXPECT_FALSE(document.undo()) << "the history starts afresh";
    EXPECT_FALSE(document.open(folder.filePath("missing.plf")));
    EXPECT_EQ(document.fileName(), SampleFile("workshop.plf"));
}

} // namespace
} // namespace pipeloop::testing
