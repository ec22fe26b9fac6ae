#include "ObjectCommands.h"

#include <utility>

namespace pipeloop
{

namespace
{
// The id under which drag steps merge (QUndoCommand::id).
constexpr int MoveCommandId = 1;
} // namespace

AddObjectCommand::AddObjectCommand(TPipeLoop& design, std::unique_ptr<TPipeLoopObject> object,
                                   size_t index, const QString& text, QUndoCommand* parent)
    : DesignCommand(text, parent), m_design(design), m_object(object.get()),
      m_held(std::move(object)), m_index(index)
{
}

void AddObjectCommand::redo()
{
    if (m_held)
        m_design.PutObject(std::move(m_held), m_index);
}

void AddObjectCommand::undo()
{
    if (TakenObject taken = m_design.TakeObject(*m_object))
        m_held = std::move(taken.Object);
}

DeleteObjectCommand::DeleteObjectCommand(TPipeLoop& design, TPipeLoopObject& object,
                                         QUndoCommand* parent)
    : DesignCommand(QObject::tr("Delete %1").arg(object.Name), parent), m_design(design),
      m_object(&object)
{
}

void DeleteObjectCommand::redo()
{
    m_wasSelected = m_design.Selected == m_object;
    if (TakenObject taken = m_design.TakeObject(*m_object)) {
        m_held = std::move(taken.Object);
        m_index = taken.Index;
    }
}

void DeleteObjectCommand::undo()
{
    if (!m_held)
        return;
    m_design.PutObject(std::move(m_held), m_index);
    if (m_wasSelected)
        m_design.Select(*m_object);
}

InsertElbowsCommand::InsertElbowsCommand(TPipeLoop& design, size_t index,
                                         std::vector<std::unique_ptr<TElbow>> elbows,
                                         const QString& text, QUndoCommand* parent)
    : DesignCommand(text, parent), m_design(design), m_index(index), m_held(std::move(elbows))
{
    for (const auto& elbow : m_held)
        m_elbows.push_back(elbow.get());
}

void InsertElbowsCommand::redo()
{
    if (m_held.empty())
        return;
    size_t at = m_index;
    for (auto& elbow : m_held)
        m_design.InsertElbow(at++, std::move(elbow));
    m_held.clear();
}

void InsertElbowsCommand::undo()
{
    if (!m_held.empty())
        return;
    for (TElbow* elbow : m_elbows)
        if (TakenObject taken = m_design.TakeObject(*elbow))
            m_held.emplace_back(static_cast<TElbow*>(taken.Object.release()));
}

ObjectStateCommand::ObjectStateCommand(TPipeLoopObject& object, ObjectImage before,
                                       ObjectImage after, const QString& text, QUndoCommand* parent)
    : DesignCommand(text, parent), m_object(&object), m_before(std::move(before)),
      m_after(std::move(after))
{
}

MoveObjectCommand::MoveObjectCommand(TPipeLoopObject& object, ObjectImage before, ObjectImage after,
                                     int drag)
    : ObjectStateCommand(object, std::move(before), std::move(after),
                         QObject::tr("Move %1").arg(object.Name)),
      m_drag(drag)
{
}

int MoveObjectCommand::id() const
{
    return MoveCommandId;
}

bool MoveObjectCommand::mergeWith(const QUndoCommand* other)
{
    const auto* step = dynamic_cast<const MoveObjectCommand*>(other);
    if (!step || step->m_object != m_object || step->m_drag != m_drag)
        return false;
    m_after = step->m_after;
    // Back where the press found it: the stack drops the command.
    setObsolete(changesNothing());
    return true;
}

} // namespace pipeloop
