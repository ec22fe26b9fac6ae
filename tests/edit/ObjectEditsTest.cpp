// The Edit commands on the selected object: what they change, what they
// refuse, that each is one undo step and that nothing changed is no step;
// deleting, copying and pasting, inserted elbows and the symbol stacks.

#include "ObjectEdits.h"
#include "Additions.h"
#include "EditFixture.h"

#include <array>
#include <utility>

namespace pipeloop::testing
{
namespace
{

// The fixture's loop runs (0,0) -> (0,5000) -> (2000,5000) -> (2000,0) -> (0,0) at 2500.
class ObjectEditsTest : public EditFixture
{
protected:
    int steps() const { return document.undoStack().count(); }

    TDrop& selectedDrop(const Position& at, DropStyle style, QStringList symbols = {})
    {
        TDrop& drop = addDrop(at);
        drop.Style = style;
        for (const QString& symbol : symbols)
            drop.AddSymbol(symbol);
        document.select(drop);
        return drop;
    }

    TBuildFeature& feature()
    {
        NewFeature made;
        made.Corner1 = P(300, 1000);
        made.Corner2 = P(700, 1600);
        made.Height = 1200;
        EXPECT_TRUE(AddFeature(document, made));
        return *design->BuildFeatures.back();
    }

    TSpur& spur(const Position& start, const Position& end)
    {
        NewPipe pipe;
        pipe.Kind = PipeKind::Unconnected;
        pipe.Start = start;
        pipe.End = end;
        pipe.PipeSize = 25.0f;
        pipe.Height = start.HG;
        EXPECT_TRUE(AddPipe(document, pipe));
        return *design->Spurs.back();
    }
};

TEST_F(ObjectEditsTest, LabelsHeightsAndLengthsAreOneStepAndNoChangeIsNoStep)
{
    TDrop& tee = selectedDrop(P(0, 1000), DropStyle::Tee);
    document.undoStack().setClean();
    EXPECT_FALSE(SetSelectedLabel(document, tee.Name));
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(SetSelectedLabel(document, QStringLiteral("Bench")));
    EXPECT_EQ(tee.Name, QStringLiteral("Bench"));

    // The entry each kind gets, titled with the label.
    const Parsed<LengthEntryPrompt> teeHeight = HeightPrompt(tee);
    EXPECT_EQ(teeHeight.value().Title, QStringLiteral("Bench"));
    EXPECT_EQ(teeHeight.value().Prompt, QStringLiteral("Enter drop height :"));
    const TDrop& bare = selectedDrop(P(0, 2000), DropStyle::FemaleQuick);
    EXPECT_EQ(HeightPrompt(bare).error(),
              QStringLiteral("DROP2 is a female outlet withhout any hose."));
    const TDrop& hosed = selectedDrop(P(0, 3000), DropStyle::FemaleSaddle, {Symbol::Coupler});
    EXPECT_EQ(HeightPrompt(hosed).value().Prompt, QStringLiteral("Enter hose length :"));
    ASSERT_TRUE(AddDrain(document, P(2000, 1000), false, 20.0f, 300));
    const TDrain& drain = *design->Drains.back();
    EXPECT_EQ(HeightPrompt(drain).value().Prompt, QStringLiteral("Enter drain height :"));
    EXPECT_EQ(HeightPrompt(drain).value().Value, 300);
    EXPECT_FALSE(HeightPrompt(*design->Elbows[0]).ok());

    document.select(*design->Drains.back());
    const int before = steps();
    EXPECT_TRUE(SetSelectedHeight(document, 450));
    EXPECT_FALSE(SetSelectedHeight(document, 450));
    EXPECT_EQ(drain.PipeLen, 450);
    EXPECT_EQ(steps(), before + 1);

    // Both ends of a spur take its height, so a spur level at its start but
    // not at its end is a change.
    TSpur& pipe = spur(P(500, 500, 2500), P(500, 1500));
    pipe.HG2 = 2000;
    document.select(pipe);
    EXPECT_EQ(SpurHeightPrompt(pipe).Prompt, QStringLiteral("Enter spur height :"));
    EXPECT_TRUE(SetSelectedSpurHeight(document, 2500));
    EXPECT_EQ(pipe.HG2, 2500);
    EXPECT_FALSE(SetSelectedSpurHeight(document, 2500));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(pipe.HG2, 2000);
}

TEST_F(ObjectEditsTest, EditPositionMovesAFeatureWholeAndRefusesBeyondTheBuilding)
{
    TBuildFeature& column = feature();
    document.select(column);
    EXPECT_EQ(EditablePosition(column), P(300, 1000, 1200));
    EXPECT_EQ(PositionCaption(column), column.Name);

    const EditResult outside = SetSelectedPosition(document, P(2001, 1000, 1200));
    EXPECT_EQ(outside.message(), QStringLiteral("Position is outside pipe loop limits."));
    EXPECT_FALSE(SetSelectedPosition(document, P(100, 5001, 1200)).ok());
    const int before = steps();
    // Negative positions and any height are the user's to choose.
    ASSERT_TRUE(SetSelectedPosition(document, P(-100, 4000, 900)));
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ((std::array{column.P1NS, column.P1EW, column.P2NS, column.P2EW, column.Height}),
              (std::array{-100, 4000, 300, 4600, 900}));
    EXPECT_EQ(column.position(), P(-100, 4000, 900));
    ASSERT_TRUE(document.undo());
    EXPECT_EQ((std::array{column.P1NS, column.P1EW, column.P2NS, column.P2EW, column.Height}),
              (std::array{300, 1000, 700, 1600, 1200}));

    // A spur edits the end the click was nearer.
    TSpur& pipe = spur(P(500, 500, 2500), P(500, 1500));
    document.selectAt(P(500, 1490), ViewKind::Plan, 50, false);
    ASSERT_EQ(document.selected(), &pipe);
    EXPECT_EQ(PositionCaption(pipe), pipe.Name + QStringLiteral(" (spur end)"));
    EXPECT_EQ(EditablePosition(pipe), P(500, 1500, 2500));
    ASSERT_TRUE(SetSelectedPosition(document, P(800, 1500, 2500)));
    EXPECT_EQ(pipe.endPosition(), P(800, 1500, 2500));
    EXPECT_EQ(pipe.position(), P(500, 500, 2500));
}

TEST_F(ObjectEditsTest, InsertedElbowsSplitTheRunAtItsMidpointAndHeight)
{
    // A first run from below zero, dropping 300 at its start.
    design->Elbows[0]->setPosition(P(-1001, -2999, 2500));
    design->Elbows[0]->VerticalDrop = 300;
    design->Elbows[1]->setPosition(P(-2, 5000, 2500));
    document.select(*design->Elbows[0]);
    EXPECT_EQ(InsertElbowBeside(document, false).message(),
              QStringLiteral("Cannot insert elbow before first elbow."));

    const int before = steps();
    ASSERT_TRUE(InsertElbowBeside(document, true));
    EXPECT_EQ(steps(), before + 1);
    ASSERT_EQ(design->Elbows.size(), 6u);
    const TElbow& inserted = *design->Elbows[1];
    EXPECT_EQ(inserted.Name, QStringLiteral("ELBOW6"));
    // Halves truncate toward zero: -1003 / 2 is -501.
    EXPECT_EQ(inserted.position(), P(-501, 1000, 2200));
    EXPECT_EQ(inserted.VerticalDrop, 0);
    EXPECT_EQ(document.selected(), &inserted);
    EXPECT_FALSE(inserted.isSelected()); // selected, drawn as it was
    EXPECT_FALSE(design->Elbows[0]->isSelected());

    document.select(*design->Elbows[3]); // (2000,5000), after the run from (-2,5000)
    ASSERT_TRUE(InsertElbowBeside(document, false));
    EXPECT_EQ(design->Elbows[3]->position(), P(999, 5000, 2500));
    document.select(*design->Elbows.back());
    EXPECT_EQ(InsertElbowBeside(document, true).message(),
              QStringLiteral("Cannot insert elbow after last elbow."));
    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(design->Elbows.size(), 5u);
    EXPECT_EQ(design->Elbows[1]->position(), P(-2, 5000, 2500));
}

TEST_F(ObjectEditsTest, ADeletedCopiedDropIsForgottenEvenWhenTheDeleteIsUndone)
{
    TDrop& drop = selectedDrop(P(0, 1000), DropStyle::Tee);
    ASSERT_TRUE(document.copySelectedDrop());
    EXPECT_FALSE(DeleteSelected(document)); // No
    EXPECT_EQ(document.copiedDrop(), &drop);
    ui.confirmAnswers = {true};
    ASSERT_TRUE(DeleteSelected(document));
    EXPECT_EQ(ui.questions, QStringList({"Delete DROP1 ?", "Delete DROP1 ?"}));
    EXPECT_TRUE(design->Drops.empty());
    EXPECT_EQ(document.copiedDrop(), nullptr);
    ASSERT_TRUE(document.undo());
    ASSERT_EQ(design->Drops.size(), 1u);
    EXPECT_EQ(PasteDrop(document, P(0, 3000, -1)).message(),
              QStringLiteral("No drop has been copied."));
    EXPECT_EQ(design->Drops.size(), 1u);

    // Copied again, it pastes on the pipe, checked there.
    document.select(drop);
    ASSERT_TRUE(document.copySelectedDrop());
    EXPECT_EQ(PasteDrop(document, P(5, 1000, -1)).message(),
              QStringLiteral("Position is already occupied by : DROP1"));
    ASSERT_TRUE(PasteDrop(document, P(5, 3000, -1)));
    EXPECT_EQ(design->Drops.back()->position(), P(0, 3000, 2500));
}

TEST_F(ObjectEditsTest, APackageIsAskedAboutAndAnEndSymbolNeverMoves)
{
    TDrop& drop = selectedDrop(P(0, 1000), DropStyle::Tee, {Symbol::Valve, Symbol::Gauge});
    drop.PartPackage = QStringLiteral("KIT-1");
    const QString ask = QStringLiteral("Drop is a package - KIT-1\r\n%1 a symbol will remove "
                                       "package attribute.");
    const auto symbolsOf = [&] { return std::pair(drop.Symbols.size(), drop.PartPackage); };
    const auto untouched = symbolsOf();
    const int before = steps();

    // Cancel (the last button) keeps both the symbols and the package.
    EXPECT_EQ(AddSymbolToSelected(document, Symbol::Filter).message(), ask.arg("Adding"));
    ASSERT_TRUE(SelectSymbol(document, 1));
    EXPECT_EQ(DeleteSelectedSymbol(document).message(), ask.arg("Deleting"));
    ASSERT_TRUE(SelectSymbol(document, 0));
    EXPECT_FALSE(MoveSelectedSymbol(document, true).ok());
    EXPECT_EQ(ui.questions.back(), ask.arg("Moving"));
    EXPECT_EQ(symbolsOf(), untouched);

    // At either end nothing is asked and nothing changes.
    ui.questions.clear();
    EXPECT_TRUE(MoveSelectedSymbol(document, false));
    ASSERT_TRUE(SelectSymbol(document, 1));
    EXPECT_TRUE(MoveSelectedSymbol(document, true));
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(symbolsOf(), untouched);
    EXPECT_EQ(steps(), before);

    ui.askAnswers = {QStringLiteral("&Ok")};
    ASSERT_TRUE(MoveSelectedSymbol(document, false));
    EXPECT_EQ(drop.SymbolName(0), Symbol::Gauge);
    EXPECT_EQ(drop.SelectedSymbol, 0);
    EXPECT_TRUE(drop.PartPackage.isEmpty());
    ASSERT_TRUE(DeleteSelectedSymbol(document)); // no package, no question
    EXPECT_EQ(drop.Symbols.size(), 1u);
    EXPECT_EQ(steps(), before + 2);
    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(symbolsOf(), untouched);
    EXPECT_EQ(drop.SymbolName(0), Symbol::Valve);
}

TEST_F(ObjectEditsTest, AssignedPartsAreOneUndoableStepOnTheSelectedSymbol)
{
    TDrop& drop = selectedDrop(P(0, 1000), DropStyle::Tee, {Symbol::Valve, Symbol::Frl});
    drop.PartPackage = QStringLiteral("KIT-1");
    const int before = steps();
    EXPECT_FALSE(SetSelectedSymbolParts(document, QStringLiteral("ZAVOZA:V25"))); // no symbol
    ASSERT_TRUE(SelectSymbol(document, 1));
    ASSERT_TRUE(SetSelectedSymbolParts(document, QStringLiteral("ZAVOZA:V25+ZAVOZA:V25")));
    EXPECT_EQ(drop.SymbolPart(1), QStringLiteral("ZAVOZA:V25+ZAVOZA:V25"));
    EXPECT_EQ(drop.SymbolPart(0), QString());
    EXPECT_EQ(drop.PartPackage, QStringLiteral("KIT-1")); // no question, no package lost
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_FALSE(SetSelectedSymbolParts(document, QStringLiteral("ZAVOZA:V25+ZAVOZA:V25")));
    EXPECT_EQ(steps(), before + 1);
    ASSERT_TRUE(SetSelectedSymbolParts(document, QString())); // removes the assignment
    EXPECT_EQ(drop.SymbolPart(1), QString());
    ASSERT_TRUE(document.undo());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(drop.SymbolPart(1), QString());
    ASSERT_TRUE(document.redo());
    EXPECT_EQ(drop.SymbolPart(1), QStringLiteral("ZAVOZA:V25+ZAVOZA:V25"));
}

TEST_F(ObjectEditsTest, SizesAttributesStyleAndEllipseGoWhereTheSelectionSays)
{
    TDrop& drop = selectedDrop(P(0, 1000), DropStyle::Tee);
    const std::optional<SelectedSizePrompt> outlet = SizePrompt(*design);
    ASSERT_TRUE(outlet);
    EXPECT_EQ(outlet->Prompt, QStringLiteral("Enter outlet size/diameter."));
    EXPECT_EQ(outlet->List, SizeList::DropOutlets);
    EXPECT_EQ(outlet->Style, 1);
    EXPECT_EQ(outlet->PipeSize, design->PipeSize);
    ASSERT_TRUE(SetSelectedSize(document, 20.0f));
    EXPECT_EQ(drop.OutletSize, 20.0f);

    // The attribute dialog works on a copy; what it changed is one step, a
    // Cancel none.
    const int dialogs = steps();
    EXPECT_FALSE(EditSelectedDrop(document, [](TDrop& copy) {
        copy.PipeLen = 900;
        return false;
    }));
    ASSERT_TRUE(EditSelectedDrop(document, [](TDrop& copy) {
        copy.PipeLen = 900;
        copy.AddSymbol(Symbol::Gauge);
        return true;
    }));
    EXPECT_EQ(std::pair(drop.PipeLen, drop.SymbolCount()), std::pair(900, 1));
    EXPECT_EQ(steps(), dialogs + 1);

    // A style the supplier does not carry is warned about and set all the same.
    ASSERT_TRUE(SetSelectedStyle(document, 3, QStringLiteral("ZAVOZA")));
    EXPECT_EQ(drop.Style, DropStyle::Quick);
    EXPECT_EQ(ui.texts(), QStringList(QStringLiteral(
                              "The drop style you have chosen is not supported by ZAVOZA\r\n\n"
                              "You may continue but part list generation may fail.")));

    TBuildFeature& column = feature();
    document.select(column);
    EXPECT_FALSE(SizePrompt(*design));
    ASSERT_TRUE(SetSelectedEllipse(document, true));
    EXPECT_TRUE(column.Ellipse);

    // With nothing selected in a compressor house, every pipe in one step.
    design->CompressorHouse = true;
    spur(P(500, 500, 2500), P(500, 1500));
    spur(P(900, 500, 2500), P(900, 1500));
    design->Spurs[1]->PipeSize = 32.0f;
    document.clearSelection();
    const std::optional<SelectedSizePrompt> house = SizePrompt(*design);
    EXPECT_EQ(house->Title, QStringLiteral("HOUSE PIPES"));
    EXPECT_EQ(house->Size, 25.0f);
    const int before = steps();
    ASSERT_TRUE(SetSelectedSize(document, 40.0f));
    EXPECT_EQ(steps(), before + 1);
    EXPECT_EQ(design->Spurs[0]->PipeSize + design->Spurs[1]->PipeSize, 80.0f);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(design->Spurs[1]->PipeSize, 32.0f);
}

} // namespace
} // namespace pipeloop::testing
