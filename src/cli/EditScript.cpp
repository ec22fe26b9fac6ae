#include "EditScript.h"

#include "CatalogueCommands.h"
#include "Document.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "Snapping.h"
#include "Subcommand.h"
#include "Units.h"

#include <QRegularExpression>

#include <algorithm>

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
    const TPipeLoopOptions& options = document.options();
    const Position snapped =
        SnapPosition(point.value(), ViewKind::Plan, options.GridSpacing, options.SnapToGrid);
    return ReleaseDrag(document, snapped, detach);
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

const QString& ScriptContext::pipeSizes()
{
    if (!m_pipeSizes) {
        catalogue::TPartsDatabase database;
        database.LoadContainer(CataloguePathOf(m_invocation));
        m_pipeSizes = database.PipeSizeText();
    }
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
