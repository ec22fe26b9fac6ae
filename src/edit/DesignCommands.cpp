#include "DesignCommands.h"

#include "ElbowList.h"

#include <algorithm>

namespace pipeloop
{

namespace
{

QString TPipeLoop::*MemberOf(SetProjectTextCommand::Field field)
{
    switch (field) {
    case SetProjectTextCommand::Field::Description:
        return &TPipeLoop::Description;
    case SetProjectTextCommand::Field::CreatedBy:
        return &TPipeLoop::CreatedBy;
    case SetProjectTextCommand::Field::CustomerCompany:
        break;
    }
    return &TPipeLoop::CustomerCompany;
}

std::vector<std::unique_ptr<TElbow>> DefaultLoopElbows(const TPipeLoop& design)
{
    std::vector<std::unique_ptr<TElbow>> elbows;
    size_t number = design.Elbows.size();
    for (const Position& corner : DefaultLoopCorners(design.RoomNS, design.RoomEW, design.Height))
        elbows.push_back(NewElbow(++number, corner));
    return elbows;
}

int32_t ColourOfSize(const TPipeLoopOptions& options, float sizeMm)
{
    const auto& sizes = TPipeLoopOptions::ColourSizes;
    const auto at = std::find(sizes.begin(), sizes.end(), sizeMm);
    return at == sizes.end() ? 0 : options.SizePipeColours[size_t(at - sizes.begin())];
}

} // namespace

AddElbowCommand::AddElbowCommand(TPipeLoop& design, const Position& position, QUndoCommand* parent)
    : AddObjectCommand(design, NewElbow(design.Elbows.size() + 1, position), design.Elbows.size(),
                       QObject::tr("Add elbow"), parent)
{
}

DefaultLoopCommand::DefaultLoopCommand(TPipeLoop& design, QUndoCommand* parent)
    : InsertElbowsCommand(design, design.Elbows.size(), DefaultLoopElbows(design),
                          QObject::tr("Default loop"), parent)
{
}

SetProjectTextCommand::SetProjectTextCommand(TPipeLoop& design, Field field, QString text)
    : DesignValueCommand(design, MemberOf(field), std::move(text),
                         QObject::tr("Project information"))
{
}

QString& SetProjectTextCommand::FieldOf(TPipeLoop& design, Field field)
{
    return design.*MemberOf(field);
}

SetNotesCommand::SetNotesCommand(TPipeLoop& design, QStringList lines)
    : DesignValueCommand(design, &TPipeLoop::Notes, std::move(lines), QObject::tr("Project notes"))
{
}

SetSnapToGridCommand::SetSnapToGridCommand(TPipeLoopOptions& options, bool snap)
    : DesignCommand(QObject::tr("Snap to grid")), m_options(options), m_snap(snap),
      m_previous(options.SnapToGrid)
{
}

void SetSnapToGridCommand::redo()
{
    m_options.SnapToGrid = m_snap;
}

void SetSnapToGridCommand::undo()
{
    m_options.SnapToGrid = m_previous;
}

SetPipeColourCommand::SetPipeColourCommand(TPipeLoopOptions& options, float sizeMm, int32_t colour)
    : DesignCommand(QObject::tr("Pipe colour")), m_options(options), m_size(sizeMm),
      m_colour(colour), m_previousColour(ColourOfSize(options, sizeMm)),
      m_previousScheme(int32_t(options.PipeColourOption()))
{
}

void SetPipeColourCommand::redo()
{
    m_options.SetPipeColourOption(int32_t(PipeColourScheme::BySize));
    m_options.SetPipeColourForSize(m_size, m_colour);
}

void SetPipeColourCommand::undo()
{
    m_options.SetPipeColourOption(m_previousScheme);
    m_options.SetPipeColourForSize(m_size, m_previousColour);
}

bool SetPipeColourCommand::changesNothing() const
{
    return m_previousScheme == int32_t(PipeColourScheme::BySize) && m_previousColour == m_colour;
}

SetPrintSetupCommand::SetPrintSetupCommand(PrintSetup& setup, PrintSetup before, PrintSetup after)
    : DesignCommand(QObject::tr("Print setup")), m_setup(setup), m_before(std::move(before)),
      m_after(std::move(after))
{
}

SetOptionsCommand::SetOptionsCommand(TPipeLoopOptions& options, TPipeLoopOptions before,
                                     TPipeLoopOptions after)
    : DesignCommand(QObject::tr("Options")), m_options(options), m_before(std::move(before)),
      m_after(std::move(after))
{
}

} // namespace pipeloop
