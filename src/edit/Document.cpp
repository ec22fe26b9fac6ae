#include "Document.h"

#include "ObjectCommands.h"
#include "PipeLoop.h"

#include <stdexcept>
#include <typeinfo>

namespace pipeloop
{

namespace
{

// Whether running the command would change anything it knows of.
bool HasEffect(const QUndoCommand& command)
{
    if (const auto* design = dynamic_cast<const DesignCommand*>(&command))
        return !design->changesNothing();
    if (typeid(command) != typeid(QUndoCommand))
        return true; // a command of its own kind: it cannot tell
    for (int i = 0; i < command.childCount(); ++i)
        if (HasEffect(*command.child(i)))
            return true;
    return false;
}

} // namespace

Document::Document(QObject* parent) : QObject(parent), m_toldOptions(m_options)
{
    connect(&m_stack, &QUndoStack::indexChanged, this, [this] { settle(); });
    connect(&m_stack, &QUndoStack::cleanChanged, this,
            [this] { emit modifiedChanged(isModified()); });
}

Document::~Document()
{
    // Commands refer to the design: they go first, and nobody is told of a
    // document that is going.
    m_stack.disconnect(this);
    m_stack.clear();
}

bool Document::isModified() const
{
    return m_design && !m_stack.isClean();
}

// ---------------------------------------------------------------- files

bool Document::open(const QString& path, const ReplaceQuestion& mayReplace)
{
    ProjectLoad load = OpenProject(path, m_options, m_printSetup, m_zoom, mayReplace);
    if (!load)
        return false;
    // The file on disk is not what a save writes: the next save restores its
    // line ends, so the design starts modified.
    takeLoad(load, path, load.LineEndingsChanged);
    return true;
}

bool Document::openCopy(QByteArrayView bytes, const QString& shownName, const QString& fileName,
                        const ReplaceQuestion& mayReplace)
{
    ProjectLoad load =
        LoadProjectFromBytes(bytes, shownName, m_options, m_printSetup, m_zoom, mayReplace);
    if (!load)
        return false;
    takeLoad(load, fileName, true);
    return true;
}

void Document::takeLoad(ProjectLoad& load, const QString& fileName, bool modified)
{
    forgetHistory(); // before the design its commands refer to goes
    load.Apply(m_design, m_options, m_printSetup, m_zoom);
    m_fileName = fileName;
    if (modified)
        m_stack.resetClean();
    designReplaced();
}

bool Document::save(const QString& path)
{
    if (!m_design || !SaveProject(*m_design, m_options, m_printSetup, m_zoom, path))
        return false;
    m_fileName = path;
    m_stack.setClean();
    return true;
}

void Document::adopt(std::unique_ptr<TPipeLoop> design)
{
    if (!design || &design->Options != &m_options)
        throw std::logic_error("A document's design must be made on the document's options");
    forgetHistory();
    m_design = std::move(design);
    m_fileName.clear();
    // No undo step leads back to "not modified".
    m_stack.resetClean();
    designReplaced();
}

void Document::forgetHistory()
{
    m_replacing = true;
    m_stack.clear();
    m_replacing = false;
    m_copiedDrop = nullptr;
    m_dragged = nullptr;
    m_pressImage.reset();
    m_macroDepth = 0;
    m_macroOnStack = false;
}

void Document::designReplaced()
{
    settle();
    emit modifiedChanged(isModified());
}

// ---------------------------------------------------------------- changes

bool Document::push(QUndoCommand* command)
{
    std::unique_ptr<QUndoCommand> owned(command);
    if (!m_design || !owned || !HasEffect(*owned))
        return false;
    if (m_macroDepth > 0 && !m_macroOnStack) {
        m_stack.beginMacro(m_macroText);
        m_macroOnStack = true;
    }
    m_stack.push(owned.release());
    // Inside a macro the stack tells nothing until the macro ends.
    if (m_macroDepth > 0)
        settle();
    return true;
}

void Document::beginMacro(const QString& text)
{
    if (m_macroDepth++ == 0) {
        m_macroText = text;
        m_macroOnStack = false;
    }
}

void Document::endMacro()
{
    if (m_macroDepth == 0 || --m_macroDepth > 0)
        return;
    if (m_macroOnStack)
        m_stack.endMacro();
    m_macroOnStack = false;
}

bool Document::undo()
{
    if (m_macroDepth > 0 || !m_stack.canUndo())
        return false;
    m_stack.undo();
    return true;
}

bool Document::redo()
{
    if (m_macroDepth > 0 || !m_stack.canRedo())
        return false;
    m_stack.redo();
    return true;
}

void Document::settle()
{
    if (m_replacing)
        return;
    // A copied drop that has left the design is forgotten before anyone can
    // paste it (an undone addition may yet free it).
    if (m_copiedDrop && !(m_design && m_design->Contains(*m_copiedDrop)))
        m_copiedDrop = nullptr;
    emit designChanged();
    optionsEdited();
    notifySelection();
}

void Document::optionsEdited()
{
    if (!(m_options == m_toldOptions)) {
        m_toldOptions = m_options;
        emit optionsChanged();
    }
}

void Document::notifySelection()
{
    TPipeLoopObject* now = selected();
    if (now == m_toldSelection)
        return;
    m_toldSelection = now;
    emit selectionChanged();
}

// ---------------------------------------------------------------- selection

TPipeLoopObject* Document::selected() const
{
    return m_design ? m_design->Selected : nullptr;
}

void Document::clearSelection()
{
    if (!m_design)
        return;
    m_design->Deselect();
    m_design->ClearStates();
    notifySelection();
}

void Document::select(TPipeLoopObject& object)
{
    clearSelection();
    if (m_design && m_design->Contains(object))
        m_design->Select(object);
    notifySelection();
}

void Document::selectUndrawn(TPipeLoopObject& object)
{
    if (!m_design || !m_design->Contains(object))
        return;
    m_design->Deselect();
    m_design->Selected = &object;
    notifySelection();
}

void Document::clearHighlights()
{
    if (!m_design)
        return;
    m_design->ClearStates();
    emit designChanged();
}

bool Document::selectAt(const Position& p, ViewKind view, int32_t tolerance, bool reverse)
{
    clearSelection();
    const bool found = m_design && m_design->SelectAt(p, view, tolerance, reverse);
    notifySelection();
    return found;
}

// ---------------------------------------------------------------- dragging

bool Document::beginDrag()
{
    endDrag();
    m_dragged = selected();
    if (!m_dragged)
        return false;
    m_pressImage = ObjectImage::Of(*m_dragged);
    return true;
}

bool Document::dragSelectionTo(const Position& target, bool final, bool keepDetached)
{
    if (!m_dragged || selected() != m_dragged)
        return false;
    ObjectImage before = ObjectImage::Of(*m_dragged);
    const bool moved = m_design->MoveSelected(target, final, keepDetached);
    push(new MoveObjectCommand(*m_dragged, std::move(before), ObjectImage::Of(*m_dragged), m_drag));
    return moved;
}

void Document::cancelDrag()
{
    if (!m_dragged || selected() != m_dragged)
        return;
    push(new MoveObjectCommand(*m_dragged, ObjectImage::Of(*m_dragged), *m_pressImage, m_drag));
}

void Document::endDrag()
{
    // The next drag's steps never merge with this one's.
    ++m_drag;
    m_dragged = nullptr;
    m_pressImage.reset();
}

// ---------------------------------------------------------------- objects

bool Document::pushAppended(TPipeLoopObject& object, const QString& text)
{
    if (!m_design)
        return false;
    TakenObject taken = m_design->TakeObject(object);
    if (!taken)
        return false;
    return push(new AddObjectCommand(*m_design, std::move(taken.Object), taken.Index, text));
}

bool Document::deleteObject(TPipeLoopObject& object)
{
    return m_design && push(new DeleteObjectCommand(*m_design, object));
}

bool Document::changeObject(TPipeLoopObject& object, const QString& text,
                            const std::function<void(TPipeLoopObject&)>& edit)
{
    if (!m_design || !m_design->Contains(object))
        return false;
    ObjectImage before = ObjectImage::Of(object);
    edit(object);
    return push(new ObjectStateCommand(object, std::move(before), ObjectImage::Of(object), text));
}

// ---------------------------------------------------------------- the copied drop

bool Document::copySelectedDrop()
{
    auto* drop = dynamic_cast<TDrop*>(selected());
    if (!drop)
        return false;
    m_copiedDrop = drop;
    return true;
}

TDrop* Document::pasteDrop(const Position& position)
{
    if (!m_design || !m_copiedDrop)
        return nullptr;
    TDrop& drop = m_design->AddDropFrom(*m_copiedDrop, position);
    if (!pushAppended(drop, tr("Paste %1").arg(drop.Name)))
        return nullptr;
    // Selected, but drawn as it was: the way Paste New Drop has always shown it.
    selectUndrawn(drop);
    return &drop;
}

} // namespace pipeloop
