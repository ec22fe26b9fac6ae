#include "DesignCommands.h"

#include "PipeLoop.h"

#include <algorithm>

#include <utility>

namespace pipeloop
{

namespace
{

// Drops the selection before the object it points at goes away.
void ForgetIfSelected(TPipeLoop& design, const TPipeLoopObject* object)
{
    if (design.Selected == object)
        design.Deselect();
}

void RemoveElbowsFrom(TPipeLoop& design, size_t count)
{
    while (design.Elbows.size() > count) {
        ForgetIfSelected(design, design.Elbows.back().get());
        design.Elbows.pop_back();
    }
}

} // namespace

AddElbowCommand::AddElbowCommand(TPipeLoop& design, const Position& position, QUndoCommand* parent)
    : QUndoCommand(QObject::tr("Add elbow"), parent), m_design(design), m_position(position)
{
}

void AddElbowCommand::redo()
{
    m_design.AddElbow(m_position);
}

void AddElbowCommand::undo()
{
    RemoveElbowsFrom(m_design, m_design.Elbows.size() - 1);
}

DefaultLoopCommand::DefaultLoopCommand(TPipeLoop& design, QUndoCommand* parent)
    : QUndoCommand(QObject::tr("Default loop"), parent), m_design(design)
{
}

void DefaultLoopCommand::redo()
{
    m_countBefore = m_design.Elbows.size();
    m_design.CreateDefaultElbows();
}

void DefaultLoopCommand::undo()
{
    RemoveElbowsFrom(m_design, m_countBefore);
}

SetProjectTextCommand::SetProjectTextCommand(TPipeLoop& design, Field field, QString text)
    : QUndoCommand(QObject::tr("Project information")), m_design(design), m_field(field),
      m_text(std::move(text)), m_previous(FieldOf(design, field))
{
}

QString& SetProjectTextCommand::FieldOf(TPipeLoop& design, Field field)
{
    switch (field) {
    case Field::Description:
        return design.Description;
    case Field::CreatedBy:
        return design.CreatedBy;
    case Field::CustomerCompany:
        break;
    }
    return design.CustomerCompany;
}

void SetProjectTextCommand::redo()
{
    FieldOf(m_design, m_field) = m_text;
}

void SetProjectTextCommand::undo()
{
    FieldOf(m_design, m_field) = m_previous;
}

SetNotesCommand::SetNotesCommand(TPipeLoop& design, QStringList lines)
    : QUndoCommand(QObject::tr("Project notes")), m_design(design), m_lines(std::move(lines)),
      m_previous(design.Notes)
{
}

void SetNotesCommand::redo()
{
    m_design.Notes = m_lines;
}

void SetNotesCommand::undo()
{
    m_design.Notes = m_previous;
}

SetSnapToGridCommand::SetSnapToGridCommand(TPipeLoopOptions& options, bool snap,
                                           std::function<void(bool)> applied)
    : QUndoCommand(QObject::tr("Snap to grid")), m_options(options), m_snap(snap),
      m_previous(options.SnapToGrid), m_applied(std::move(applied))
{
}

void SetSnapToGridCommand::redo()
{
    apply(m_snap);
}

void SetSnapToGridCommand::undo()
{
    apply(m_previous);
}

void SetSnapToGridCommand::apply(bool snap)
{
    m_options.SnapToGrid = snap;
    if (m_applied)
        m_applied(snap);
}

namespace
{

int32_t ColourOfSize(const TPipeLoopOptions& options, float sizeMm)
{
    const auto& sizes = TPipeLoopOptions::ColourSizes;
    const auto at = std::find(sizes.begin(), sizes.end(), sizeMm);
    return at == sizes.end() ? 0 : options.SizePipeColours[size_t(at - sizes.begin())];
}

} // namespace

SetPipeColourCommand::SetPipeColourCommand(TPipeLoopOptions& options, float sizeMm, int32_t colour,
                                           std::function<void()> applied)
    : QUndoCommand(QObject::tr("Pipe colour")), m_options(options), m_size(sizeMm),
      m_colour(colour), m_previousColour(ColourOfSize(options, sizeMm)),
      m_previousScheme(int32_t(options.PipeColourOption())), m_applied(std::move(applied))
{
}

void SetPipeColourCommand::redo()
{
    m_options.SetPipeColourOption(int32_t(PipeColourScheme::BySize));
    m_options.SetPipeColourForSize(m_size, m_colour);
    if (m_applied)
        m_applied();
}

void SetPipeColourCommand::undo()
{
    m_options.SetPipeColourOption(m_previousScheme);
    m_options.SetPipeColourForSize(m_size, m_previousColour);
    if (m_applied)
        m_applied();
}

} // namespace pipeloop
