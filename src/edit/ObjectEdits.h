#pragma once

// Changing what is already in a design: the Edit commands on the selected
// object (position, heights, label, sizes, lengths, attributes, style,
// ellipse), deleting it, inserting loop corners beside a selected elbow, and
// the symbol stack of a selected drop or inlet. The desktop program's menu
// items, pop-up items, buttons and keys and pipeloop-cli edit's operations
// both call these once their dialogs have answered, so both change and refuse
// alike. Every change is one undo step; one that changes nothing pushes
// nothing and returns false. Each works on the document's selection.

#include "EditRules.h"
#include "ModelTypes.h"
#include "Parsed.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace pipeloop
{

class Document;
class TDrop;
class TInlet;
struct AirDemand;
class TObjectWithSymbols;
class TPipeLoop;
class TPipeLoopObject;

// A length entry as a command shows it: title, prompt and the value it starts from.
struct LengthEntryPrompt {
    QString Title;
    QString Prompt;
    int32_t Value = 0;
};

// ---------------------------------------------------------------- position

// The position dialog on the selection: its caption (a spur's label says which
// end, the one nearer the press) and the point it starts from (a building
// feature's north-west corner at its height).
QString PositionCaption(const TPipeLoopObject& object);
Position EditablePosition(const TPipeLoopObject& object);
// The point takes the position ("Position is outside pipe loop limits." past
// the building's north-south or east-west size). A building feature moves
// both its corners by the change and takes the height.
EditResult SetSelectedPosition(Document& document, const Position& position);

// ---------------------------------------------------------------- heights, label, lengths

// Edit Height on a drop or drain: the entry it shows, or the refusal for a
// female drop without a hose ("... is a female outlet withhout any hose.").
Parsed<LengthEntryPrompt> HeightPrompt(const TPipeLoopObject& object);
bool SetSelectedHeight(Document& document, int32_t millimetres);
// Edit Spur Height (compressor house): both ends take the height.
LengthEntryPrompt SpurHeightPrompt(const TPipeLoopObject& spur);
bool SetSelectedSpurHeight(Document& document, int32_t millimetres);
// "Edit Inlet Pipe Length".
LengthEntryPrompt InletLengthPrompt(const TPipeLoopObject& inlet);
bool SetSelectedInletLength(Document& document, int32_t millimetres);
bool SetSelectedLabel(Document& document, const QString& label);

// ---------------------------------------------------------------- sizes

// Which list the size entry offers: the catalogue's pipe sizes, or the
// outlets a drop's style offers at the pipe size where it stands.
enum class SizeList { PipeSizes, DropOutlets };

struct SelectedSizePrompt {
    QString Title;
    QString Prompt;
    float Size = 0.0f;
    SizeList List = SizeList::PipeSizes;
    // For DropOutlets: the drop's style and the pipe size at the drop.
    int Style = 0;
    float PipeSize = 0.0f;
};
// The size entry of the Edit Pipe or Outlet Size button and the size items
// for the selected spur, drop (outlet), inlet or drain; with nothing selected
// the main pipe's (MainPipeSizePrompt). None for another selection, or a
// compressor house without pipes.
std::optional<SelectedSizePrompt> SizePrompt(const TPipeLoop& design);
// Stores the size where SizePrompt said (every house pipe with nothing selected).
bool SetSelectedSize(Document& document, float size);
// "Edit Hise Size" of the drop view: the selected drop's hose size.
bool SetSelectedHoseSize(Document& document, float size);
// The air demand of the selected drop (on an inlet: what its compressor
// delivers), one undo step. False when nothing changed or neither is selected.
bool SetSelectedDemand(Document& document, const AirDemand& demand);

// ---------------------------------------------------------------- attributes and style

// Drop Attributes / Inlet Attributes: the dialog runs on a copy of the
// selected object; what it changed is one undo step. dialog returns the
// dialog's result (for an existing object: whether it changed).
bool EditSelectedDrop(Document& document, const std::function<bool(TDrop& copy)>& dialog);
bool EditSelectedInlet(Document& document, const std::function<bool(TInlet& copy)>& dialog);
// The Drop Style items: warns for styles 3 and 4 (DropStyleWarning with the
// supplier), then sets the style either way.
bool SetSelectedStyle(Document& document, int style, const QString& supplier);
bool SetSelectedEllipse(Document& document, bool ellipse);

// ---------------------------------------------------------------- delete, highlights, elbows

// Asks "Delete " + label + " ?" and on Yes takes the selection out (a copied
// drop is forgotten with it). False on No or without a selection.
bool DeleteSelected(Document& document);
// Every object back to normal; the selection stays. Not an undo step: it
// changes how the design is shown, not the design.
void RemoveHighlighting(Document& document);
// Insert Elbow Before / After Selection: the midpoint with the neighbour
// (truncated toward zero) at the height of the segment it splits, selected;
// refused before the first and after the last elbow.
EditResult InsertElbowBeside(Document& document, bool after);

// ---------------------------------------------------------------- symbols

// Changes the symbol stack of the selected drop or inlet as one step. A
// drop's package goes with the change once ConfirmPackageChange agrees
// (action: "Adding", "Deleting", "Moving"); on Cancel nothing changes.
EditResult ChangeSelectedSymbols(Document& document, const QString& action, const QString& text,
                                 const std::function<void(TObjectWithSymbols&)>& change);
// The symbol of the selected drop or inlet that the drop view's commands act
// on (index from 0); false when there is none at the index.
bool SelectSymbol(Document& document, int index);
// "&Delete" of the drop view: the selected symbol goes (a drop's package is
// cleared after its question, Cancel changes nothing).
EditResult DeleteSelectedSymbol(Document& document);
// "Move &Up" / "Move &Down": the selected symbol moves one place (up: index +1)
// and stays selected. At the end of the stack nothing is asked or changed.
EditResult MoveSelectedSymbol(Document& document, bool up);
// "Assign Generic Parts" / "Assign ZAVOZA Parts": the selected symbol takes
// the assigned-parts text the part window closed with (empty removes the
// assignment). A package stays: it is the drop's, the parts are the symbol's.
bool SetSelectedSymbolParts(Document& document, const QString& assigned);

} // namespace pipeloop
