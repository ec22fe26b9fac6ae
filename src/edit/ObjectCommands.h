#pragma once

// The undo commands that add, delete, insert and change the objects of a
// design. An object that leaves the design stays alive in the command that
// took it out, and the same object (the same pointer) goes back to the same
// index of its list: pointers held elsewhere (the selection, the copied drop,
// later commands) keep meaning what they meant.

#include "ObjectImage.h"
#include "PipeLoop.h"

#include <QString>
#include <QUndoCommand>

#include <memory>
#include <vector>

namespace pipeloop
{

// A command that can tell, before it runs, that it would change nothing;
// Document::push does not keep such a command.
class DesignCommand : public QUndoCommand
{
public:
    using QUndoCommand::QUndoCommand;
    virtual bool changesNothing() const { return false; }
};

// An object of any kind put into its list at an index. While undone the
// command holds the object.
class AddObjectCommand : public DesignCommand
{
public:
    AddObjectCommand(TPipeLoop& design, std::unique_ptr<TPipeLoopObject> object, size_t index,
                     const QString& text, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;
    TPipeLoopObject& object() const { return *m_object; }

private:
    TPipeLoop& m_design;
    TPipeLoopObject* m_object;
    std::unique_ptr<TPipeLoopObject> m_held;
    size_t m_index;
};

// An object taken out of the design; undo puts it back where it was, and
// selected again when it was the selection.
class DeleteObjectCommand : public DesignCommand
{
public:
    DeleteObjectCommand(TPipeLoop& design, TPipeLoopObject& object, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;
    bool changesNothing() const override { return !m_held && !m_design.Contains(*m_object); }

private:
    TPipeLoop& m_design;
    TPipeLoopObject* m_object;
    std::unique_ptr<TPipeLoopObject> m_held;
    size_t m_index = 0;
    bool m_wasSelected = false;
};

// Several elbows inserted into the loop at one index in one step, in the
// order given (the first lands at index).
class InsertElbowsCommand : public DesignCommand
{
public:
    InsertElbowsCommand(TPipeLoop& design, size_t index,
                        std::vector<std::unique_ptr<TElbow>> elbows, const QString& text,
                        QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;
    bool changesNothing() const override { return m_elbows.empty(); }

private:
    TPipeLoop& m_design;
    size_t m_index;
    std::vector<TElbow*> m_elbows;
    std::vector<std::unique_ptr<TElbow>> m_held;
};

// One object's stored fields before and after a change made to it.
class ObjectStateCommand : public DesignCommand
{
public:
    ObjectStateCommand(TPipeLoopObject& object, ObjectImage before, ObjectImage after,
                       const QString& text, QUndoCommand* parent = nullptr);
    void redo() override { m_after.applyTo(*m_object); }
    void undo() override { m_before.applyTo(*m_object); }
    bool changesNothing() const override { return m_before == m_after; }

protected:
    TPipeLoopObject* m_object;
    ObjectImage m_before;
    ObjectImage m_after;
};

// One step of dragging an object. The steps of one drag (the same drag
// number) merge into one command while the mouse is held, so the drag is one
// undo step back to the state the press found; steps that bring the object
// back to that state leave no command at all.
class MoveObjectCommand : public ObjectStateCommand
{
public:
    MoveObjectCommand(TPipeLoopObject& object, ObjectImage before, ObjectImage after, int drag);
    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;

private:
    int m_drag;
};

} // namespace pipeloop
