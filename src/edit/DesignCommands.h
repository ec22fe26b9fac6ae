#pragma once

// Every change of a design is one of these commands, pushed through
// Document::push. Undo and Redo come with them, and the undo stack's clean
// state is the design's "not modified" state.
//
// A command holds the design (or the options) by reference: the stack is
// cleared before the design it refers to is replaced or freed, so no command
// outlives it. A command that can tell before it runs that it would change
// nothing says so, and the document does not keep it.

#include "ObjectCommands.h"
#include "PipeLoop.h"
#include "PrintSetup.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <utility>

namespace pipeloop
{

// One field of the design (the loop's pipe size, a header text, the notes).
template <typename T> class DesignValueCommand : public DesignCommand
{
public:
    DesignValueCommand(TPipeLoop& design, T TPipeLoop::*field, T value, const QString& text,
                       QUndoCommand* parent = nullptr)
        : DesignCommand(text, parent), m_design(design), m_field(field), m_value(std::move(value)),
          m_previous(design.*field)
    {
    }
    void redo() override { m_design.*m_field = m_value; }
    void undo() override { m_design.*m_field = m_previous; }
    bool changesNothing() const override { return m_value == m_previous; }

private:
    TPipeLoop& m_design;
    T TPipeLoop::*m_field;
    T m_value;
    T m_previous;
};

// One elbow appended to the loop by a click ("ELBOW" + count + 1).
class AddElbowCommand : public AddObjectCommand
{
public:
    AddElbowCommand(TPipeLoop& design, const Position& position, QUndoCommand* parent = nullptr);
};

// The default loop around the building, made when no elbows were entered.
class DefaultLoopCommand : public InsertElbowsCommand
{
public:
    explicit DefaultLoopCommand(TPipeLoop& design, QUndoCommand* parent = nullptr);
};

// One of the project's header texts (description, creator, customer).
class SetProjectTextCommand : public DesignValueCommand<QString>
{
public:
    enum class Field { Description, CreatedBy, CustomerCompany };
    SetProjectTextCommand(TPipeLoop& design, Field field, QString text);
    static QString& FieldOf(TPipeLoop& design, Field field);
};

// The project's note lines.
class SetNotesCommand : public DesignValueCommand<QStringList>
{
public:
    SetNotesCommand(TPipeLoop& design, QStringList lines);
};

// The "Snap To Grid" option. It lives in the options, which a project may
// carry, so a change counts as a change of the design.
class SetSnapToGridCommand : public DesignCommand
{
public:
    SetSnapToGridCommand(TPipeLoopOptions& options, bool snap);
    void redo() override;
    void undo() override;
    bool changesNothing() const override { return m_snap == m_previous; }

private:
    TPipeLoopOptions& m_options;
    bool m_snap;
    bool m_previous;
};

// The colour of one pipe size, with the option that colours pipes by size.
// Only a change of options saved with the project is a change of the design.
class SetPipeColourCommand : public DesignCommand
{
public:
    SetPipeColourCommand(TPipeLoopOptions& options, float sizeMm, int32_t colour);
    void redo() override;
    void undo() override;
    bool changesNothing() const override;

private:
    TPipeLoopOptions& m_options;
    float m_size;
    int32_t m_colour;
    int32_t m_previousColour;
    int32_t m_previousScheme;
};

// The print settings a project carries when its options are saved with it:
// closing the print setup window with other settings is then a change of the
// design.
class SetPrintSetupCommand : public DesignCommand
{
public:
    SetPrintSetupCommand(PrintSetup& setup, PrintSetup before, PrintSetup after);
    void redo() override { m_setup = m_after; }
    void undo() override { m_setup = m_before; }
    bool changesNothing() const override { return m_before == m_after; }

private:
    PrintSetup& m_setup;
    PrintSetup m_before;
    PrintSetup m_after;
};

// The options the options window applied, when they are saved with the
// project: then a change of them is a change of the design.
class SetOptionsCommand : public DesignCommand
{
public:
    SetOptionsCommand(TPipeLoopOptions& options, TPipeLoopOptions before, TPipeLoopOptions after);
    void redo() override { m_options = m_after; }
    void undo() override { m_options = m_before; }
    bool changesNothing() const override { return m_before == m_after; }

private:
    TPipeLoopOptions& m_options;
    TPipeLoopOptions m_before;
    TPipeLoopOptions m_after;
};

} // namespace pipeloop
