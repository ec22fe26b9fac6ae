#include "EditScript.h"

#include "Additions.h"
#include "AirFlow.h"
#include "AttributeEntries.h"
#include "CatalogueCommands.h"
#include "Document.h"
#include "DropSymbols.h"
#include "EditRules.h"
#include "ObjectEdits.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "Snapping.h"
#include "Subcommand.h"
#include "UiServices.h"
#include "Units.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <functional>

namespace pipeloop::cli
{

namespace
{

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

// ---------------------------------------------------------------- words to values

// A click in the plan at EW, NS (whole millimetres): it cannot land beyond
// the building's far walls, and the plan shows no height.
Parsed<Position> PlanPoint(const TPipeLoop& design, const QString& ew, const QString& ns)
{
    const Parsed<int32_t> east = ParseInteger(ew);
    if (!east)
        return Parsed<Position>::failure(east.error());
    const Parsed<int32_t> south = ParseInteger(ns);
    if (!south)
        return Parsed<Position>::failure(south.error());
    return Position{std::min(south.value(), design.RoomNS), std::min(east.value(), design.RoomEW),
                    -1};
}

// A click at EW, NS where the desktop program takes it: snapped to the grid
// when the options have grid snapping on.
Parsed<Position> ClickAt(ScriptContext& context, const QString& ew, const QString& ns)
{
    const Parsed<Position> point = PlanPoint(context.design(), ew, ns);
    if (!point)
        return point;
    const TPipeLoopOptions& options = context.document().options();
    return SnapPosition(point.value(), ViewKind::Plan, options.GridSpacing, options.SnapToGrid);
}

// A length word: whole millimetres, not negative.
Parsed<int32_t> Millimetres(const QString& word)
{
    const Parsed<int32_t> length = ParseInteger(word);
    if (!length || length.value() < 0)
        return Parsed<int32_t>::failure(InvalidValueMessage(word));
    return length;
}

// The same length as the text a length field holds: exact in any units.
QString MillimetreText(int32_t millimetres)
{
    return QString::number(millimetres) + QStringLiteral("mm");
}

// The words after an operation's positions: "key=value" words and bare
// flags, each of the known ones (keys written with their "=").
class OptionWords
{
public:
    static Parsed<OptionWords> read(const QStringList& words, qsizetype from,
                                    const QStringList& known)
    {
        OptionWords options;
        for (qsizetype i = from; i < words.size(); ++i) {
            const QString& word = words.at(i);
            const qsizetype equals = word.indexOf(u'=');
            const QString key = equals < 0 ? word : word.left(equals + 1);
            if (!known.contains(key))
                return Parsed<OptionWords>::failure(QStringLiteral("Unknown word : ") + word);
            options.m_values.insert(key, equals < 0 ? QString() : word.mid(equals + 1));
        }
        return options;
    }

    bool has(const QString& key) const { return m_values.contains(key); }
    QString value(const QString& key, const QString& fallback = {}) const
    {
        return m_values.value(key, fallback);
    }
    // A length word's millimetres, or the fallback when the word is absent.
    Parsed<int32_t> millimetres(const QString& key, int32_t fallback) const
    {
        return has(key) ? Millimetres(value(key)) : Parsed<int32_t>(fallback);
    }

private:
    QHash<QString, QString> m_values;
};

// What a size entry makes of the size word, or of the size it shows first.
Parsed<float> SizeEntry(ScriptContext& context, const OptionWords& options, float shown)
{
    return ReadSizeEntry(options.value(QStringLiteral("size="), SizeText(shown)),
                         context.pipeSizes());
}

// ---------------------------------------------------------------- operations

EditResult SelectByName(ScriptContext& context, const QStringList& words)
{
    TPipeLoopObject* found = nullptr;
    context.design().ForEachObject([&](TPipeLoopObject& object) {
        if (!found && object.Name == words.at(0))
            found = &object;
    });
    if (!found)
        return EditResult::refused(QStringLiteral("Object not found : ") + words.at(0));
    // No click says which end of a spur a move takes: its start.
    if (auto* spur = dynamic_cast<TSpur*>(found))
        spur->NearEnd = TSpur::End::Start;
    context.document().select(*found);
    return EditResult::done();
}

EditResult SelectAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<Position> point = PlanPoint(context.design(), words.at(0), words.at(1));
    if (!point)
        return EditResult::refused(point.error());
    Document& document = context.document();
    const int32_t tolerance = SelectionTolerance(document.zoomFactors()[size_t(ViewKind::Plan)]);
    if (!document.selectAt(point.value(), ViewKind::Plan, tolerance, false))
        return EditResult::refused(
            QStringLiteral("Nothing to select at : %1 %2").arg(words.at(0), words.at(1)));
    return EditResult::done();
}

EditResult Deselect(ScriptContext& context, const QStringList&)
{
    context.document().clearSelection();
    return EditResult::done();
}

// The drag as the mouse makes it: the selection follows the pointer to the
// point, and the release there is snapped to the grid, checked and made final.
EditResult Move(ScriptContext& context, const QStringList& words)
{
    const bool detach = words.size() > 2;
    if (detach && words.at(2) != QStringLiteral("detach"))
        return EditResult::refused(QStringLiteral("Unknown word : ") + words.at(2));
    const Parsed<Position> point = PlanPoint(context.design(), words.at(0), words.at(1));
    if (!point)
        return EditResult::refused(point.error());
    Document& document = context.document();
    if (!document.beginDrag())
        return EditResult::refused(QStringLiteral("Nothing is selected."));
    document.dragSelectionTo(point.value(), false, true);
    return ReleaseDrag(document, ClickAt(context, words.at(0), words.at(1)).value(), detach);
}

// ---------------------------------------------------------------- adding

// The click of an adding command on the pipe: the selection is dropped, and
// the object will stand where the click snaps onto the pipe, if free.
Parsed<Position> PipeClick(ScriptContext& context, const QStringList& words,
                           bool allowSpurEnd = false)
{
    context.document().clearSelection();
    const Parsed<Position> click = ClickAt(context, words.at(0), words.at(1));
    if (!click)
        return click;
    return PipePlacement(context.design(), click.value(), allowSpurEnd);
}

// The drop dialog's entry for a new drop at a pipe of the size, as it opens
// with the style the words choose (the first outlet offered selected), then
// changed by the words.
Parsed<DropEntry> NewDropEntry(ScriptContext& context, const TDrop& drop, float pipeSize,
                               const OptionWords& options)
{
    const DisplayUnits units = context.design().Units;
    DropEntry entry = DropEntryOf(drop, units);
    if (options.has(QStringLiteral("style="))) {
        const Parsed<int32_t> style = ParseInteger(options.value(QStringLiteral("style=")));
        if (!style || style.value() < 0 || style.value() >= DropStyleCount)
            return Parsed<DropEntry>::failure(QStringLiteral("Unknown drop style : ") +
                                              options.value(QStringLiteral("style=")));
        entry.Style = style.value();
    }
    const catalogue::TPartsDatabase& catalogue = context.catalogue();
    if (const QString warning = DropStyleWarning(entry.Style, catalogue.Supplier());
        !warning.isEmpty())
        Ui().warn(warning);
    const QString outlets = catalogue.DropOutletSizes(entry.Style, pipeSize);
    if (outlets.isEmpty())
        Ui().inform(NoOutletsMessage());
    entry.Outlet = options.value(QStringLiteral("outlet="), outlets.section(u'\n', 0, 0));
    if (options.has(QStringLiteral("length="))) {
        const Parsed<int32_t> length = Millimetres(options.value(QStringLiteral("length=")));
        if (!length)
            return Parsed<DropEntry>::failure(length.error());
        entry.Length = MillimetreText(length.value());
    }
    static const QHash<QString, HoseConnection> hoses = {
        {QStringLiteral("none"), HoseConnection::None},
        {QStringLiteral("air"), HoseConnection::AirHose},
        {QStringLiteral("recoil"), HoseConnection::RecoilHose}};
    const QString hose = options.value(QStringLiteral("hose="), QStringLiteral("none"));
    if (!hoses.contains(hose))
        return Parsed<DropEntry>::failure(QStringLiteral("Unknown word : hose=") + hose);
    entry.Connection = hoses.value(hose);
    entry.HoseSize = options.value(QStringLiteral("hose-size="), entry.HoseSize);
    return entry;
}

EditResult AddDropAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<OptionWords> options = OptionWords::read(
        words, 2, {"style=", "length=", "outlet=", "hose=", "hose-size=", "label="});
    if (!options)
        return EditResult::refused(options.error());
    const Parsed<Position> at = PipeClick(context, words, true);
    if (!at)
        return EditResult::refused(at.error());
    Document& document = context.document();
    TPipeLoop& design = context.design();
    std::unique_ptr<TDrop> drop = NewDrop(design);
    const Parsed<DropEntry> entry =
        NewDropEntry(context, *drop, design.PipeSizeAt(at.value()), options.value());
    if (!entry)
        return EditResult::refused(entry.error());
    if (const Parsed<bool> applied = ApplyDropEntry(*drop, entry.value(), design.Units); !applied)
        return EditResult::refused(applied.error());
    TDrop& added = *drop;
    document.beginMacro(QObject::tr("Add drop"));
    AddDrop(document, std::move(drop), at.value());
    if (options.value().has(QStringLiteral("label=")))
        document.changeObject(added, QObject::tr("Label"), [&](TPipeLoopObject& object) {
            object.Name = options.value().value(QStringLiteral("label="));
        });
    document.endMacro();
    return EditResult::done();
}

// Valve on a selected drop or inlet adds the symbol; else a valve on the pipe.
EditResult AddValveAt(ScriptContext& context, const QStringList& words)
{
    Document& document = context.document();
    if (dynamic_cast<TObjectWithSymbols*>(document.selected()))
        return AddSymbolToSelected(document, Symbol::Valve);
    const Parsed<Position> at = PipeClick(context, words);
    if (!at)
        return EditResult::refused(at.error());
    AddValve(document, at.value());
    return EditResult::done();
}

EditResult AddDrainAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<OptionWords> options =
        OptionWords::read(words, 2, {"automatic", "size=", "length="});
    if (!options)
        return EditResult::refused(options.error());
    const Parsed<Position> at = PipeClick(context, words);
    if (!at)
        return EditResult::refused(at.error());
    Document& document = context.document();
    TPipeLoop& design = context.design();
    const Parsed<float> size = SizeEntry(context, options.value(), design.PipeSize);
    if (!size)
        return EditResult::refused(size.error());
    const Parsed<int32_t> length =
        options.value().millimetres(QStringLiteral("length="), design.Height);
    if (!length)
        return EditResult::refused(length.error());
    AddDrain(document, at.value(), options.value().has(QStringLiteral("automatic")), size.value(),
             length.value());
    return EditResult::done();
}

EditResult AddInletAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<OptionWords> options = OptionWords::read(words, 2, {"size=", "length="});
    if (!options)
        return EditResult::refused(options.error());
    const Parsed<Position> at = PipeClick(context, words);
    if (!at)
        return EditResult::refused(at.error());
    Document& document = context.document();
    TPipeLoop& design = context.design();
    // The inlet dialog opens on the first size of the list and 2000 mm.
    const QString size =
        options.value().value(QStringLiteral("size="), context.pipeSizes().section(u'\n', 0, 0));
    const Parsed<int32_t> length = options.value().millimetres(QStringLiteral("length="), 2000);
    if (!length)
        return EditResult::refused(length.error());
    const Parsed<InletValues> values =
        ReadInletEntry(size, MillimetreText(length.value()), design.Units);
    if (!values)
        return EditResult::refused(values.error());
    AddInlet(document, at.value(), values.value().PipeSize, values.value().PipeLength);
    return EditResult::done();
}

EditResult AddSpurAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<OptionWords> options =
        OptionWords::read(words, 4, {"size=", "drop=", "unconnected"});
    if (!options)
        return EditResult::refused(options.error());
    NewPipe pipe;
    if (options.value().has(QStringLiteral("unconnected"))) {
        if (options.value().has(QStringLiteral("drop=")))
            return EditResult::refused(QStringLiteral("An unconnected pipe has no drop."));
        pipe.Kind = PipeKind::Unconnected;
    } else if (options.value().has(QStringLiteral("drop="))) {
        pipe.Kind = PipeKind::VerticalDropSpur;
    }
    Document& document = context.document();
    document.clearSelection();
    TPipeLoop& design = context.design();
    const Parsed<Position> startClick = ClickAt(context, words.at(0), words.at(1));
    if (!startClick)
        return EditResult::refused(startClick.error());
    const Parsed<Position> start = PipeStartPlacement(design, startClick.value(), pipe.Kind);
    if (!start)
        return EditResult::refused(start.error());
    const Parsed<Position> endClick = ClickAt(context, words.at(2), words.at(3));
    if (!endClick)
        return EditResult::refused(endClick.error());
    const Parsed<Position> end = PipeEndPlacement(design, endClick.value());
    if (!end)
        return EditResult::refused(end.error());
    const Parsed<float> size = SizeEntry(context, options.value(), design.PipeSize);
    if (!size)
        return EditResult::refused(size.error());
    const Parsed<int32_t> drop = options.value().millimetres(QStringLiteral("drop="), 0);
    if (!drop)
        return EditResult::refused(drop.error());
    pipe.Start = start.value();
    pipe.End = end.value();
    pipe.PipeSize = size.value();
    pipe.VerticalDrop = drop.value();
    if (design.CompressorHouse)
        pipe.Height = design.Height;
    AddPipe(document, pipe);
    return EditResult::done();
}

EditResult AddFeatureAt(ScriptContext& context, const QStringList& words)
{
    const Parsed<OptionWords> options = OptionWords::read(words, 4, {"type=", "height=", "label="});
    if (!options)
        return EditResult::refused(options.error());
    static const QStringList types = {"GENERAL",     "DRYER",      "FILTER",
                                      "FILTER_AUTO", "COMPRESSOR", "RECEIVER"};
    NewFeature feature;
    feature.Type = options.value().value(QStringLiteral("type="), feature.Type);
    if (!types.contains(feature.Type))
        return EditResult::refused(QStringLiteral("Unknown feature type : ") + feature.Type);
    const Parsed<Position> corner1 = ClickAt(context, words.at(0), words.at(1));
    if (!corner1)
        return EditResult::refused(corner1.error());
    const Parsed<Position> corner2 = ClickAt(context, words.at(2), words.at(3));
    if (!corner2)
        return EditResult::refused(corner2.error());
    const Parsed<int32_t> height =
        options.value().millimetres(QStringLiteral("height="), feature.Height);
    if (!height)
        return EditResult::refused(height.error());
    feature.Corner1 = corner1.value();
    feature.Corner2 = corner2.value();
    feature.Height = height.value();
    feature.Label = options.value().value(QStringLiteral("label="));
    context.document().clearSelection();
    return AddFeature(context.document(), feature);
}

// Building Avoidance Elbow on the selected elbow, the two points clicked in the plan.
EditResult Avoid(ScriptContext& context, const QStringList& words)
{
    TPipeLoop& design = context.design();
    if (EditResult selection = CheckAvoidanceElbow(design); !selection)
        return selection;
    Position points[2];
    for (int i = 0; i < 2; ++i) {
        const Parsed<Position> click = ClickAt(context, words.at(2 * i), words.at(2 * i + 1));
        if (!click)
            return EditResult::refused(click.error());
        const Parsed<Position> point = AvoidancePoint(design, click.value());
        if (!point)
            return EditResult::refused(point.error());
        points[i] = point.value();
    }
    const Parsed<int32_t> distance = Millimetres(words.at(4));
    if (!distance)
        return EditResult::refused(distance.error());
    return AddAvoidance(context.document(), points[0], points[1], distance.value());
}

EditResult Undo(ScriptContext& context, const QStringList&)
{
    return context.document().undo() ? EditResult::done()
                                     : EditResult::refused(QStringLiteral("Nothing to undo."));
}

EditResult Redo(ScriptContext& context, const QStringList&)
{
    return context.document().redo() ? EditResult::done()
                                     : EditResult::refused(QStringLiteral("Nothing to redo."));
}

// Edit Pipe or Outlet Size with nothing selected, the size typed into its entry.
EditResult MainSize(ScriptContext& context, const QStringList& words)
{
    if (!MainPipeSizePrompt(context.design()))
        return EditResult::refused(QStringLiteral("The compressor house has no pipes."));
    const Parsed<float> size = ReadSizeEntry(words.at(0), context.pipeSizes());
    if (!size)
        return EditResult::refused(size.error());
    SetMainPipeSize(context.document(), size.value());
    return EditResult::done();
}

// ---------------------------------------------------------------- the Edit commands

// The selection when it is a T, else the refusal.
template <typename T> Parsed<T*> SelectedAs(ScriptContext& context, const char* refusal)
{
    if (auto* selected = dynamic_cast<T*>(context.document().selected()))
        return selected;
    return Parsed<T*>::failure(QString::fromLatin1(refusal));
}

const char* const NothingSelected = "Nothing is selected.";

EditResult Label(ScriptContext& context, const QStringList& words)
{
    if (!context.document().selected())
        return EditResult::refused(QString::fromLatin1(NothingSelected));
    SetSelectedLabel(context.document(), words.at(0));
    return EditResult::done();
}

// Edit Height on a drop or drain, Edit Spur Height on a compressor house's spur.
EditResult Height(ScriptContext& context, const QStringList& words)
{
    const Parsed<int32_t> height = Millimetres(words.at(0));
    if (!height)
        return EditResult::refused(height.error());
    Document& document = context.document();
    const TPipeLoopObject* selected = document.selected();
    if (!selected)
        return EditResult::refused(QString::fromLatin1(NothingSelected));
    if (selected->Kind() == ObjectKind::Spur && context.design().CompressorHouse) {
        SetSelectedSpurHeight(document, height.value());
        return EditResult::done();
    }
    if (const Parsed<LengthEntryPrompt> prompt = HeightPrompt(*selected); !prompt)
        return EditResult::refused(prompt.error());
    SetSelectedHeight(document, height.value());
    return EditResult::done();
}

// The position dialog's three values, in whole millimetres (no click: they
// are taken as typed, and only the building's far walls limit them).
EditResult PositionOf(ScriptContext& context, const QStringList& words)
{
    int32_t values[3] = {};
    for (int i = 0; i < 3; ++i) {
        const Parsed<int32_t> value = ParseInteger(words.at(i));
        if (!value)
            return EditResult::refused(value.error());
        values[i] = value.value();
    }
    return SetSelectedPosition(context.document(), Position{values[1], values[0], values[2]});
}

// The Edit Pipe or Outlet Size entry of the selection (the main pipe with
// nothing selected), the size typed into it.
EditResult Size(ScriptContext& context, const QStringList& words)
{
    const std::optional<SelectedSizePrompt> prompt = SizePrompt(context.design());
    if (!prompt)
        return EditResult::refused(
            context.document().selected()
                ? QStringLiteral("Select a drop, spur, inlet or drain, or nothing.")
                : QStringLiteral("The compressor house has no pipes."));
    const QString list = prompt->List == SizeList::DropOutlets
                             ? context.catalogue().EditOutletSizes(prompt->Style, prompt->PipeSize)
                             : context.pipeSizes();
    const Parsed<float> size = ReadSizeEntry(words.at(0), list);
    if (!size)
        return EditResult::refused(size.error());
    SetSelectedSize(context.document(), size.value());
    return EditResult::done();
}

// "Edit Hise Size" of the drop view: offered only with a hose in the drop's stack.
EditResult HoseSize(ScriptContext& context, const QStringList& words)
{
    const Parsed<TDrop*> drop = SelectedAs<TDrop>(context, "Select a drop.");
    if (!drop)
        return EditResult::refused(drop.error());
    const auto& symbols = drop.value()->Symbols;
    if (std::none_of(symbols.begin(), symbols.end(),
                     [](const TSymbolEntry& entry) { return IsHoseSymbol(entry.Keyword); }))
        return EditResult::refused(drop.value()->Name + QStringLiteral(" has no hose."));
    const Parsed<float> size = ReadSizeEntry(words.at(0), context.pipeSizes());
    if (!size)
        return EditResult::refused(size.error());
    SetSelectedHoseSize(context.document(), size.value());
    return EditResult::done();
}

EditResult InletLength(ScriptContext& context, const QStringList& words)
{
    if (const Parsed<TInlet*> inlet = SelectedAs<TInlet>(context, "Select an inlet."); !inlet)
        return EditResult::refused(inlet.error());
    const Parsed<int32_t> length = Millimetres(words.at(0));
    if (!length)
        return EditResult::refused(length.error());
    SetSelectedInletLength(context.document(), length.value());
    return EditResult::done();
}

// A number of the air analysis (l/s, a factor, bar): the locale's decimal
// separator or a full stop, as the air flow calculator reads its fields.
Parsed<double> Quantity(const QString& word)
{
    const Parsed<double> value = ParseAirFlowField(word);
    if (!value || !std::isfinite(value.value()) || value.value() < 0)
        return Parsed<double>::failure(InvalidValueMessage(word));
    return value;
}

EditResult Demand(ScriptContext& context, const QStringList& words)
{
    if (!dynamic_cast<TObjectWithSymbols*>(context.document().selected()))
        return EditResult::refused(QStringLiteral("Select a drop or an inlet."));
    const Parsed<OptionWords> options = OptionWords::read(words, 1, {"usage="});
    if (!options)
        return EditResult::refused(options.error());
    const QString usage = options.value().has(QStringLiteral("usage="))
                              ? options.value().value(QStringLiteral("usage="))
                              : QStringLiteral("1");
    const Parsed<AirDemand> demand = ReadDemandEntry(words.at(0), usage);
    if (!demand)
        return EditResult::refused(demand.error());
    SetSelectedDemand(context.document(), demand.value());
    return EditResult::done();
}

EditResult Pressure(const QString& word, const std::function<QString(double)>& set)
{
    const Parsed<double> bar = Quantity(word);
    if (!bar)
        return EditResult::refused(bar.error());
    const QString refusal = set(bar.value());
    return refusal.isEmpty() ? EditResult::done() : EditResult::refused(refusal);
}

EditResult SupplyPressure(ScriptContext& context, const QStringList& words)
{
    return Pressure(words.at(0),
                    [&context](double bar) { return SetSupplyPressure(context.document(), bar); });
}

EditResult AllowedDrop(ScriptContext& context, const QStringList& words)
{
    return Pressure(words.at(0), [&context](double bar) {
        return SetAllowedPressureDrop(context.document(), bar);
    });
}

EditResult Style(ScriptContext& context, const QStringList& words)
{
    if (const Parsed<TDrop*> drop = SelectedAs<TDrop>(context, "Select a drop."); !drop)
        return EditResult::refused(drop.error());
    const Parsed<int32_t> style = ParseInteger(words.at(0));
    if (!style || style.value() < 0 || style.value() >= DropStyleCount)
        return EditResult::refused(QStringLiteral("Unknown drop style : ") + words.at(0));
    SetSelectedStyle(context.document(), style.value(), context.catalogue().Supplier());
    return EditResult::done();
}

EditResult Ellipse(ScriptContext& context, const QStringList& words)
{
    if (const Parsed<TBuildFeature*> feature =
            SelectedAs<TBuildFeature>(context, "Select a building feature.");
        !feature)
        return EditResult::refused(feature.error());
    const QString& word = words.at(0);
    if (word != QStringLiteral("on") && word != QStringLiteral("off"))
        return EditResult::refused(QStringLiteral("Unknown word : ") + word);
    SetSelectedEllipse(context.document(), word == QStringLiteral("on"));
    return EditResult::done();
}

// The question is answered by --yes / --no. A script that asked for a delete
// and was told No has not done what it says: the run stops there.
EditResult Delete(ScriptContext& context, const QStringList&)
{
    const TPipeLoopObject* selected = context.document().selected();
    if (!selected)
        return EditResult::refused(QString::fromLatin1(NothingSelected));
    const QString question = QStringLiteral("Delete ") + selected->Name + QStringLiteral(" ?");
    if (!DeleteSelected(context.document()))
        return EditResult::refused(question + QStringLiteral(" No"));
    return EditResult::done();
}

EditResult Copy(ScriptContext& context, const QStringList&)
{
    if (!context.document().copySelectedDrop())
        return EditResult::refused(QStringLiteral("Select a drop."));
    return EditResult::done();
}

EditResult Paste(ScriptContext& context, const QStringList& words)
{
    const Parsed<Position> click = ClickAt(context, words.at(0), words.at(1));
    if (!click)
        return EditResult::refused(click.error());
    return PasteDrop(context.document(), click.value());
}

EditResult InsertElbow(ScriptContext& context, const QStringList& words)
{
    const QString& side = words.at(0);
    if (side != QStringLiteral("before") && side != QStringLiteral("after"))
        return EditResult::refused(QStringLiteral("Unknown word : ") + side);
    return InsertElbowBeside(context.document(), side == QStringLiteral("after"));
}

// The words of the symbol buttons and of the drop view's Add items.
EditResult AddSymbol(ScriptContext& context, const QStringList& words)
{
    static const QStringList addable = {Symbol::Gauge,           Symbol::Dryer,
                                        Symbol::Lubricator,      Symbol::Filter,
                                        Symbol::FilterAuto,      Symbol::Regulator,
                                        Symbol::Compressor,      Symbol::Valve,
                                        Symbol::Receiver,        Symbol::Frl,
                                        Symbol::OnePortOutlet,   Symbol::TwoPortOutlet,
                                        Symbol::ThreePortOutlet, Symbol::FourPortOutlet,
                                        Symbol::MaleAdaptor,     Symbol::FemaleTee,
                                        Symbol::AdaptorFemale};
    if (!addable.contains(words.at(0)))
        return EditResult::refused(QStringLiteral("Unknown symbol : ") + words.at(0));
    return AddSymbolToSelected(context.document(), words.at(0));
}

// Symbol N of the selected drop or inlet (from 1, the bottom of the stack)
// chosen in the drop view, then the drop view's command on it.
EditResult OnSymbol(ScriptContext& context, const QString& word,
                    const std::function<EditResult(Document&)>& command)
{
    const Parsed<int32_t> number = ParseInteger(word);
    if (!dynamic_cast<TObjectWithSymbols*>(context.document().selected()))
        return EditResult::refused(QStringLiteral("Select a drop or an inlet."));
    if (!number || !SelectSymbol(context.document(), number.value() - 1))
        return EditResult::refused(QStringLiteral("No symbol : ") + word);
    return command(context.document());
}

EditResult DeleteSymbol(ScriptContext& context, const QStringList& words)
{
    return OnSymbol(context, words.at(0), DeleteSelectedSymbol);
}

EditResult SymbolUp(ScriptContext& context, const QStringList& words)
{
    return OnSymbol(context, words.at(0),
                    [](Document& document) { return MoveSelectedSymbol(document, true); });
}

EditResult SymbolDown(ScriptContext& context, const QStringList& words)
{
    return OnSymbol(context, words.at(0),
                    [](Document& document) { return MoveSelectedSymbol(document, false); });
}

const ScriptOperation* Find(const QString& name)
{
    const auto& operations = ScriptOperations();
    const auto found = std::find_if(operations.begin(), operations.end(),
                                    [&name](const ScriptOperation& op) { return op.name == name; });
    return found == operations.end() ? nullptr : &*found;
}

} // namespace

const std::vector<ScriptOperation>& ScriptOperations()
{
    static const std::vector<ScriptOperation> operations = {
        {QStringLiteral("select"), QStringLiteral("NAME"), 1, 1, SelectByName},
        {QStringLiteral("select-at"), QStringLiteral("EW NS"), 2, 2, SelectAt},
        {QStringLiteral("deselect"), QString(), 0, 0, Deselect},
        {QStringLiteral("move"), QStringLiteral("EW NS [detach]"), 2, 3, Move},
        {QStringLiteral("undo"), QString(), 0, 0, Undo},
        {QStringLiteral("redo"), QString(), 0, 0, Redo},
        {QStringLiteral("main-size"), QStringLiteral("SIZE"), 1, 1, MainSize},
        {QStringLiteral("add-drop"),
         QStringLiteral("EW NS [style=0..5] [length=MM] [outlet=SIZE] [hose=none|air|recoil] "
                        "[hose-size=SIZE] [label=TEXT]"),
         2, 8, AddDropAt},
        {QStringLiteral("add-valve"), QStringLiteral("EW NS"), 2, 2, AddValveAt},
        {QStringLiteral("add-drain"), QStringLiteral("EW NS [automatic] [size=SIZE] [length=MM]"),
         2, 5, AddDrainAt},
        {QStringLiteral("add-inlet"), QStringLiteral("EW NS [size=SIZE] [length=MM]"), 2, 4,
         AddInletAt},
        {QStringLiteral("add-spur"),
         QStringLiteral("EW1 NS1 EW2 NS2 [size=SIZE] [drop=MM] [unconnected]"), 4, 7, AddSpurAt},
        {QStringLiteral("add-feature"),
         QStringLiteral("EW1 NS1 EW2 NS2 "
                        "[type=GENERAL|DRYER|FILTER|FILTER_AUTO|COMPRESSOR|RECEIVER] "
                        "[height=MM] [label=TEXT]"),
         4, 7, AddFeatureAt},
        {QStringLiteral("avoid"), QStringLiteral("EW1 NS1 EW2 NS2 DISTANCE"), 5, 5, Avoid},
        {QStringLiteral("insert-elbow"), QStringLiteral("before|after"), 1, 1, InsertElbow},
        {QStringLiteral("delete"), QString(), 0, 0, Delete},
        {QStringLiteral("label"), QStringLiteral("TEXT"), 1, 1, Label},
        {QStringLiteral("height"), QStringLiteral("MM"), 1, 1, Height},
        {QStringLiteral("position"), QStringLiteral("EW NS HEIGHT"), 3, 3, PositionOf},
        {QStringLiteral("size"), QStringLiteral("SIZE"), 1, 1, Size},
        {QStringLiteral("hose-size"), QStringLiteral("SIZE"), 1, 1, HoseSize},
        {QStringLiteral("inlet-length"), QStringLiteral("MM"), 1, 1, InletLength},
        {QStringLiteral("style"), QStringLiteral("0..5"), 1, 1, Style},
        {QStringLiteral("demand"), QStringLiteral("L/S [usage=FACTOR]"), 1, 2, Demand},
        {QStringLiteral("supply-pressure"), QStringLiteral("BAR"), 1, 1, SupplyPressure},
        {QStringLiteral("allowed-drop"), QStringLiteral("BAR"), 1, 1, AllowedDrop},
        {QStringLiteral("ellipse"), QStringLiteral("on|off"), 1, 1, Ellipse},
        {QStringLiteral("add-symbol"), QStringLiteral("NAME"), 1, 1, AddSymbol},
        {QStringLiteral("delete-symbol"), QStringLiteral("N"), 1, 1, DeleteSymbol},
        {QStringLiteral("symbol-up"), QStringLiteral("N"), 1, 1, SymbolUp},
        {QStringLiteral("symbol-down"), QStringLiteral("N"), 1, 1, SymbolDown},
        {QStringLiteral("copy"), QString(), 0, 0, Copy},
        {QStringLiteral("paste"), QStringLiteral("EW NS"), 2, 2, Paste},
    };
    return operations;
}

Parsed<QStringList> SplitScriptWords(const QString& line)
{
    QStringList words;
    qsizetype i = 0;
    const qsizetype end = line.size();
    while (true) {
        while (i < end && IsBlank(line.at(i)))
            ++i;
        if (i == end)
            break;
        if (words.isEmpty() && line.at(i) == u'#')
            break; // a comment line
        QString word;
        if (line.at(i) != u'"') {
            while (i < end && !IsBlank(line.at(i)))
                word.append(line.at(i++));
        } else {
            ++i;
            while (true) {
                if (i == end)
                    return Parsed<QStringList>::failure(QStringLiteral("Missing closing quote."));
                if (line.at(i) == u'"') {
                    if (i + 1 < end && line.at(i + 1) == u'"') {
                        word.append(u'"');
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                word.append(line.at(i++));
            }
            if (i < end && !IsBlank(line.at(i)))
                return Parsed<QStringList>::failure(
                    QStringLiteral("A closing quote must end the word."));
        }
        words.append(word);
    }
    return words;
}

QStringList ScriptLines(const QString& text)
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineEnd);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    return lines;
}

ScriptContext::ScriptContext(Document& document, const Invocation& invocation)
    : m_document(document), m_invocation(invocation)
{
}

TPipeLoop& ScriptContext::design() const
{
    return *m_document.design();
}

ScriptContext::~ScriptContext() = default;

const catalogue::TPartsDatabase& ScriptContext::catalogue()
{
    if (!m_catalogue) {
        m_catalogue = std::make_unique<catalogue::TPartsDatabase>();
        m_catalogue->LoadContainer(CataloguePathOf(m_invocation));
    }
    return *m_catalogue;
}

const QString& ScriptContext::pipeSizes()
{
    if (!m_pipeSizes)
        m_pipeSizes = catalogue().PipeSizeText();
    return *m_pipeSizes;
}

EditResult RunScriptLine(ScriptContext& context, const QString& line)
{
    const Parsed<QStringList> split = SplitScriptWords(line);
    if (!split)
        return EditResult::refused(split.error());
    QStringList words = split.value();
    if (words.isEmpty())
        return EditResult::done();
    const QString name = words.takeFirst();
    const ScriptOperation* operation = Find(name);
    if (!operation)
        return EditResult::refused(QStringLiteral("Unknown operation : ") + name);
    if (words.size() < operation->minimumWords || words.size() > operation->maximumWords)
        return EditResult::refused(
            QStringLiteral("usage: %1 %2").arg(name, operation->words).trimmed());
    return operation->run(context, words);
}

} // namespace pipeloop::cli
