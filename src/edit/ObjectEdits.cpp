#include "ObjectEdits.h"

#include "AttributeEntries.h"
#include "Document.h"
#include "ElbowList.h"
#include "ObjectCommands.h"
#include "PipeLoop.h"
#include "UiServices.h"

#include <QObject>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

namespace pipeloop
{

namespace
{

const QString NothingSelected = QStringLiteral("Nothing is selected.");

template <typename T> T* SelectedAs(const Document& document)
{
    return dynamic_cast<T*>(document.selected());
}

// One undo step of an edit made to the selection when it is a T; false (and
// no step) for another selection or when the edit changed nothing stored.
template <typename T, typename Edit>
bool ChangeSelected(Document& document, const QString& text, Edit&& edit)
{
    T* object = SelectedAs<T>(document);
    return object && document.changeObject(*object, text, [&edit](TPipeLoopObject& changed) {
        edit(static_cast<T&>(changed));
    });
}

// A dialog run on a copy of the selection; the copy's stored fields become
// the selection's as one step when the dialog says it changed something.
template <typename T>
bool EditSelectedCopy(Document& document, const QString& text,
                      const std::function<bool(T& copy)>& dialog)
{
    T* object = SelectedAs<T>(document);
    if (!object)
        return false;
    T copy = *object;
    if (!dialog(copy))
        return false;
    const ObjectImage edited = ObjectImage::Of(copy);
    return document.changeObject(*object, text,
                                 [&edited](TPipeLoopObject& changed) { edited.applyTo(changed); });
}

bool IsSpurEnd(const TPipeLoopObject& object)
{
    const auto* spur = dynamic_cast<const TSpur*>(&object);
    return spur && spur->NearEnd == TSpur::End::End;
}

// The point of the object that the position dialog edits takes the position.
void PlaceAt(TPipeLoopObject& object, const Position& position)
{
    if (auto* feature = dynamic_cast<TBuildFeature*>(&object)) {
        // As a drag moves it: the whole outline, not one corner.
        feature->ShiftCorners(int64_t(position.NS) - feature->P1NS,
                              int64_t(position.EW) - feature->P1EW);
        feature->Height = position.HG;
        feature->setPosition({feature->P1NS, feature->P1EW, feature->Height});
    } else if (IsSpurEnd(object)) {
        static_cast<TSpur&>(object).setEndPosition(position);
    } else {
        object.setPosition(position);
    }
}

LengthEntryPrompt LengthPrompt(const TPipeLoopObject& object, const char* prompt, int32_t value)
{
    return {object.Name, QString::fromLatin1(prompt), value};
}

SelectedSizePrompt PipeSizePrompt(const TPipeLoopObject& object, const char* prompt, float size)
{
    return {object.Name, QString::fromLatin1(prompt), size};
}

// The selected drop's or inlet's symbol stack with a selected symbol.
Parsed<TObjectWithSymbols*> SelectedSymbolCarrier(const Document& document)
{
    auto* carrier = SelectedAs<TObjectWithSymbols>(document);
    if (!carrier)
        return Parsed<TObjectWithSymbols*>::failure(QStringLiteral("Select a drop or an inlet."));
    if (!carrier->HasSelectedSymbol())
        return Parsed<TObjectWithSymbols*>::failure(QStringLiteral("No symbol is selected."));
    return carrier;
}

} // namespace

// ---------------------------------------------------------------- position

QString PositionCaption(const TPipeLoopObject& object)
{
    if (object.Kind() != ObjectKind::Spur)
        return object.Name;
    return object.Name +
           (IsSpurEnd(object) ? QStringLiteral(" (spur end)") : QStringLiteral(" (spur start)"));
}

Position EditablePosition(const TPipeLoopObject& object)
{
    if (const auto* feature = dynamic_cast<const TBuildFeature*>(&object))
        return {feature->P1NS, feature->P1EW, feature->Height};
    if (IsSpurEnd(object))
        return static_cast<const TSpur&>(object).endPosition();
    return object.position();
}

EditResult SetSelectedPosition(Document& document, const Position& position)
{
    TPipeLoopObject* selected = document.selected();
    if (!selected)
        return EditResult::refused(NothingSelected);
    const TPipeLoop& design = *document.design();
    if (position.NS > design.RoomNS || position.EW > design.RoomEW)
        return EditResult::refused(QStringLiteral("Position is outside pipe loop limits."));
    document.changeObject(*selected, QObject::tr("Position"),
                          [&position](TPipeLoopObject& object) { PlaceAt(object, position); });
    return EditResult::done();
}

// ---------------------------------------------------------------- heights, label, lengths

Parsed<LengthEntryPrompt> HeightPrompt(const TPipeLoopObject& object)
{
    if (const auto* drain = dynamic_cast<const TDrain*>(&object))
        return LengthPrompt(*drain, "Enter drain height :", drain->PipeLen);
    const auto* drop = dynamic_cast<const TDrop*>(&object);
    if (!drop)
        return Parsed<LengthEntryPrompt>::failure(QStringLiteral("Select a drop or a drain."));
    if (!drop->IsFemale())
        return LengthPrompt(*drop, "Enter drop height :", drop->PipeLen);
    if (drop->SymbolCount() == 0)
        return Parsed<LengthEntryPrompt>::failure(
            drop->Name + QStringLiteral(" is a female outlet withhout any hose."));
    return LengthPrompt(*drop, "Enter hose length :", drop->PipeLen);
}

bool SetSelectedHeight(Document& document, int32_t millimetres)
{
    const QString text = QObject::tr("Height");
    if (SelectedAs<TDrain>(document))
        return ChangeSelected<TDrain>(document, text,
                                      [=](TDrain& drain) { drain.PipeLen = millimetres; });
    return ChangeSelected<TDrop>(document, text, [=](TDrop& drop) { drop.PipeLen = millimetres; });
}

LengthEntryPrompt SpurHeightPrompt(const TPipeLoopObject& spur)
{
    return LengthPrompt(spur, "Enter spur height :", spur.HG);
}

bool SetSelectedSpurHeight(Document& document, int32_t millimetres)
{
    // Both ends are compared, as both take the height.
    return ChangeSelected<TSpur>(document, QObject::tr("Spur height"), [=](TSpur& spur) {
        spur.HG = millimetres;
        spur.HG2 = millimetres;
    });
}

LengthEntryPrompt InletLengthPrompt(const TPipeLoopObject& inlet)
{
    const auto* asInlet = dynamic_cast<const TInlet*>(&inlet);
    return LengthPrompt(inlet, "Enter inlet pipe length :", asInlet ? asInlet->PipeLength : 0);
}

bool SetSelectedInletLength(Document& document, int32_t millimetres)
{
    return ChangeSelected<TInlet>(document, QObject::tr("Inlet pipe length"),
                                  [=](TInlet& inlet) { inlet.PipeLength = millimetres; });
}

bool SetSelectedLabel(Document& document, const QString& label)
{
    return ChangeSelected<TPipeLoopObject>(
        document, QObject::tr("Label"), [&label](TPipeLoopObject& object) { object.Name = label; });
}

// ---------------------------------------------------------------- sizes

std::optional<SelectedSizePrompt> SizePrompt(const TPipeLoop& design)
{
    const TPipeLoopObject* selected = design.Selected;
    if (!selected) {
        const std::optional<SizeEntryPrompt> main = MainPipeSizePrompt(design);
        if (!main)
            return std::nullopt;
        return SelectedSizePrompt{main->Title, main->Prompt, main->Size};
    }
    switch (selected->Kind()) {
    case ObjectKind::Spur:
        return PipeSizePrompt(*selected, "Enter spur pipe size.",
                              static_cast<const TSpur&>(*selected).PipeSize);
    case ObjectKind::Inlet:
        return PipeSizePrompt(*selected, "Enter inlet pipe size.",
                              static_cast<const TInlet&>(*selected).PipeSize);
    case ObjectKind::Drain:
        return PipeSizePrompt(*selected, "Enter drain pipe size.",
                              static_cast<const TDrain&>(*selected).PipeSize);
    case ObjectKind::Drop: {
        const auto& drop = static_cast<const TDrop&>(*selected);
        return SelectedSizePrompt{drop.Name,       QStringLiteral("Enter outlet size/diameter."),
                                  drop.OutletSize, SizeList::DropOutlets,
                                  int(drop.Style), design.PipeSizeAt(drop.position())};
    }
    default:
        return std::nullopt;
    }
}

bool SetSelectedSize(Document& document, float size)
{
    const TPipeLoopObject* selected = document.selected();
    if (!selected)
        return SetMainPipeSize(document, size);
    const QString text = QObject::tr("Size");
    switch (selected->Kind()) {
    case ObjectKind::Spur:
        return ChangeSelected<TSpur>(document, text, [=](TSpur& spur) { spur.PipeSize = size; });
    case ObjectKind::Inlet:
        return ChangeSelected<TInlet>(document, text,
                                      [=](TInlet& inlet) { inlet.PipeSize = size; });
    case ObjectKind::Drain:
        return ChangeSelected<TDrain>(document, text,
                                      [=](TDrain& drain) { drain.PipeSize = size; });
    case ObjectKind::Drop:
        return ChangeSelected<TDrop>(document, text, [=](TDrop& drop) { drop.OutletSize = size; });
    default:
        return false;
    }
}

bool SetSelectedHoseSize(Document& document, float size)
{
    return ChangeSelected<TDrop>(document, QObject::tr("Hose size"),
                                 [=](TDrop& drop) { drop.HoseSize = size; });
}

bool SetSelectedDemand(Document& document, const AirDemand& demand)
{
    return ChangeSelected<TObjectWithSymbols>(
        document, QObject::tr("Air demand"),
        [&demand](TObjectWithSymbols& object) { object.Demand = demand; });
}

// ---------------------------------------------------------------- attributes and style

bool EditSelectedDrop(Document& document, const std::function<bool(TDrop& copy)>& dialog)
{
    return EditSelectedCopy<TDrop>(document, QObject::tr("Drop attributes"), dialog);
}

bool EditSelectedInlet(Document& document, const std::function<bool(TInlet& copy)>& dialog)
{
    return EditSelectedCopy<TInlet>(document, QObject::tr("Inlet attributes"), dialog);
}

bool SetSelectedStyle(Document& document, int style, const QString& supplier)
{
    if (!SelectedAs<TDrop>(document))
        return false;
    // The style is the user's choice all the same.
    if (const QString warning = DropStyleWarning(style, supplier); !warning.isEmpty())
        Ui().warn(warning);
    return ChangeSelected<TDrop>(document, QObject::tr("Drop style"),
                                 [=](TDrop& drop) { drop.SetStyle(style); });
}

bool SetSelectedEllipse(Document& document, bool ellipse)
{
    return ChangeSelected<TBuildFeature>(
        document, QObject::tr("Ellipse"),
        [=](TBuildFeature& feature) { feature.Ellipse = ellipse; });
}

// ---------------------------------------------------------------- delete, highlights, elbows

bool DeleteSelected(Document& document)
{
    TPipeLoopObject* selected = document.selected();
    if (!selected ||
        !Ui().confirm(QStringLiteral("Delete ") + selected->Name + QStringLiteral(" ?")))
        return false;
    // The document forgets a copied drop that leaves the design.
    return document.deleteObject(*selected);
}

void RemoveHighlighting(Document& document)
{
    document.clearHighlights();
}

EditResult InsertElbowBeside(Document& document, bool after)
{
    TPipeLoop* design = document.design();
    if (!design)
        return EditResult::refused(NothingSelected);
    const auto [elbow, index] = SelectedElbow(*design);
    if (!elbow)
        return EditResult::refused(QStringLiteral("Select an elbow."));
    if (!after && index == 0)
        return EditResult::refused(QStringLiteral("Cannot insert elbow before first elbow."));
    if (after && index + 1 == design->Elbows.size())
        return EditResult::refused(QStringLiteral("Cannot insert elbow after last elbow."));
    const size_t neighbour = after ? index + 1 : index - 1;
    const TElbow& other = *design->Elbows[neighbour];
    // Integer division truncates toward zero, as the midpoint always has.
    const auto midpoint = [](int32_t a, int32_t b) { return int32_t((int64_t(a) + b) / 2); };
    // The new corner carries on the run it splits at that run's height, so
    // the loop keeps its level on both sides of it.
    const int32_t height = design->LoopSegmentHeight(int(std::min(index, neighbour)));
    const Position at{midpoint(elbow->NS, other.NS), midpoint(elbow->EW, other.EW), height};
    std::vector<std::unique_ptr<TElbow>> inserted;
    inserted.push_back(NewElbow(design->Elbows.size() + 1, at));
    TElbow& added = *inserted.front();
    document.clearSelection();
    document.push(new InsertElbowsCommand(*design, after ? index + 1 : index, std::move(inserted),
                                          QObject::tr("Insert %1").arg(added.Name)));
    document.selectUndrawn(added);
    return EditResult::done();
}

// ---------------------------------------------------------------- symbols

EditResult ChangeSelectedSymbols(Document& document, const QString& action, const QString& text,
                                 const std::function<void(TObjectWithSymbols&)>& change)
{
    auto* carrier = SelectedAs<TObjectWithSymbols>(document);
    if (!carrier)
        return EditResult::refused(QStringLiteral("Select a drop or an inlet."));
    if (const auto* drop = dynamic_cast<const TDrop*>(carrier)) {
        if (EditResult agreed = ConfirmPackageChange(*drop, action); !agreed)
            return agreed;
    }
    document.changeObject(*carrier, text, [&change](TPipeLoopObject& object) {
        change(static_cast<TObjectWithSymbols&>(object));
        if (auto* drop = dynamic_cast<TDrop*>(&object))
            drop->PartPackage.clear();
    });
    return EditResult::done();
}

bool SelectSymbol(Document& document, int index)
{
    auto* carrier = SelectedAs<TObjectWithSymbols>(document);
    if (!carrier || index < 0 || index >= carrier->SymbolCount())
        return false;
    carrier->SelectedSymbol = index;
    return true;
}

EditResult DeleteSelectedSymbol(Document& document)
{
    if (const Parsed<TObjectWithSymbols*> carrier = SelectedSymbolCarrier(document); !carrier)
        return EditResult::refused(carrier.error());
    return ChangeSelectedSymbols(
        document, QStringLiteral("Deleting"), QObject::tr("Delete symbol"),
        [](TObjectWithSymbols& symbols) { symbols.DeleteSelectedSymbol(); });
}

EditResult MoveSelectedSymbol(Document& document, bool up)
{
    const Parsed<TObjectWithSymbols*> carrier = SelectedSymbolCarrier(document);
    if (!carrier)
        return EditResult::refused(carrier.error());
    const int delta = up ? 1 : -1;
    const int target = carrier.value()->SelectedSymbol + delta;
    // At the end of the stack the symbol cannot move: nothing to ask about.
    if (target < 0 || target >= carrier.value()->SymbolCount())
        return EditResult::done();
    return ChangeSelectedSymbols(
        document, QStringLiteral("Moving"), QObject::tr("Move symbol"),
        [delta](TObjectWithSymbols& symbols) { symbols.MoveSelectedSymbol(delta); });
}

bool SetSelectedSymbolParts(Document& document, const QString& assigned)
{
    const Parsed<TObjectWithSymbols*> carrier = SelectedSymbolCarrier(document);
    return carrier &&
           document.changeObject(
               *carrier.value(), QObject::tr("Assign parts"), [&assigned](TPipeLoopObject& object) {
                   static_cast<TObjectWithSymbols&>(object).SetSelectedSymbolPart(assigned);
               });
}

} // namespace pipeloop
