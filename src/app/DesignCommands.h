#pragma once

// Every change the main window makes to a design is one of these commands,
// pushed through TMainForm::Perform. Undo and Redo come with them, and the
// undo stack's clean state is the design's "not modified" state.
//
// A command holds the design by pointer: the main window clears the undo
// stack before it replaces or frees a design, so no command outlives it.

#include "ModelTypes.h"

#include <QString>
#include <QStringList>
#include <QUndoCommand>

#include <cstdint>
#include <functional>

namespace pipeloop
{

class TPipeLoop;
class TPipeLoopOptions;

// One elbow appended to the loop by a click ("ELBOW" + count + 1).
class AddElbowCommand : public QUndoCommand
{
public:
    AddElbowCommand(TPipeLoop& design, const Position& position, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    TPipeLoop& m_design;
    Position m_position;
};

// The default loop around the building, made when no elbows were entered.
class DefaultLoopCommand : public QUndoCommand
{
public:
    explicit DefaultLoopCommand(TPipeLoop& design, QUndoCommand* parent = nullptr);
    void redo() override;
    void undo() override;

private:
    TPipeLoop& m_design;
    size_t m_countBefore = 0;
};

// One of the project's header texts (description, creator, customer).
class SetProjectTextCommand : public QUndoCommand
{
public:
    enum class Field { Description, CreatedBy, CustomerCompany };
    SetProjectTextCommand(TPipeLoop& design, Field field, QString text);
    void redo() override;
    void undo() override;
    static QString& FieldOf(TPipeLoop& design, Field field);

private:
    TPipeLoop& m_design;
    Field m_field;
    QString m_text;
    QString m_previous;
};

// The project's note lines.
class SetNotesCommand : public QUndoCommand
{
public:
    SetNotesCommand(TPipeLoop& design, QStringList lines);
    void redo() override;
    void undo() override;

private:
    TPipeLoop& m_design;
    QStringList m_lines;
    QStringList m_previous;
};

// The "Snap To Grid" option. It lives in the options, which a project may
// carry, so a change counts as a change of the design. applied keeps the menu
// check mark in step after undo and redo.
class SetSnapToGridCommand : public QUndoCommand
{
public:
    SetSnapToGridCommand(TPipeLoopOptions& options, bool snap, std::function<void(bool)> applied);
    void redo() override;
    void undo() override;

private:
    void apply(bool snap);
    TPipeLoopOptions& m_options;
    bool m_snap;
    bool m_previous;
    std::function<void(bool)> m_applied;
};

// The colour of one pipe size, with the option that colours pipes by size.
// Only a change of options saved with the project is a change of the design.
class SetPipeColourCommand : public QUndoCommand
{
public:
    SetPipeColourCommand(TPipeLoopOptions& options, float sizeMm, int32_t colour,
                         std::function<void()> applied);
    void redo() override;
    void undo() override;

private:
    TPipeLoopOptions& m_options;
    float m_size;
    int32_t m_colour;
    int32_t m_previousColour;
    int32_t m_previousScheme;
    std::function<void()> m_applied;
};

} // namespace pipeloop
