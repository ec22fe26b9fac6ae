#pragma once

// One open project: the design with its options, print setup, zoom factors
// and file name, the undo stack every change goes through, the selection and
// the copied drop. The desktop window and pipeloop-cli edit both edit through
// it; views and windows listen to its signals instead of being told.
//
// "Modified" is the undo stack away from its clean state. Every change of
// the design is a QUndoCommand given to push(); a command that changes
// nothing is not kept.

#include "ModelTypes.h"
#include "ObjectImage.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"
#include "ProjectFile.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <memory>
#include <optional>

namespace pipeloop
{

class TDrop;
class TPipeLoop;
class TPipeLoopObject;

class Document : public QObject
{
    Q_OBJECT
public:
    explicit Document(QObject* parent = nullptr);
    ~Document() override;

    // --- what is open -------------------------------------------------------
    // None until a project is opened or adopted.
    TPipeLoop* design() const { return m_design.get(); }
    // The options of the whole run; a design refers to them.
    TPipeLoopOptions& options() { return m_options; }
    const TPipeLoopOptions& options() const { return m_options; }
    PrintSetup& printSetup() { return m_printSetup; }
    const PrintSetup& printSetup() const { return m_printSetup; }
    ZoomFactors& zoomFactors() { return m_zoom; }
    const ZoomFactors& zoomFactors() const { return m_zoom; }
    // Empty for a design never saved.
    const QString& fileName() const { return m_fileName; }
    QUndoStack& undoStack() { return m_stack; }
    const QUndoStack& undoStack() const { return m_stack; }
    bool isModified() const;
    // The options were changed outside the history (the user's own settings,
    // not the design's): listeners are told as after a change.
    void optionsEdited();

    // --- files -----------------------------------------------------------------
    // The Open command's file steps (the file's checks, then mayReplace --
    // the save question --, then the load, asking what the file's options
    // need through Ui()). On failure or a No the message has been shown and
    // nothing held changes; on success the design, options, print setup and
    // zoom factors are the file's and the history starts afresh. A file whose
    // line ends another program changed opens modified.
    bool open(const QString& path, const ReplaceQuestion& mayReplace = {});
    // A project's bytes kept aside (a recovery copy) opened as open() opens a
    // file, shownName naming them in messages. The design takes fileName as
    // its own (empty: never saved) and starts modified: that file does not
    // hold it, and the next Save writes it there.
    bool openCopy(QByteArrayView bytes, const QString& shownName, const QString& fileName,
                  const ReplaceQuestion& mayReplace = {});
    // Writes the project to path completely or not at all (messages through
    // Ui()); on success the design is not modified and path is its file name.
    bool save(const QString& path);
    // The design stays but is no longer tied to its file: the next Save asks
    // for a path. (A save made for the save question leaves it so.)
    void forgetFileName() { m_fileName.clear(); }
    // A new design, never saved, made on options(): it replaces the open one,
    // the history starts afresh and the design counts as modified.
    void adopt(std::unique_ptr<TPipeLoop> design);

    // --- changes -----------------------------------------------------------------
    // Runs the command and keeps it for Undo; true when it was kept. The
    // document takes the command in any case: one that changes nothing
    // (DesignCommand::changesNothing, or a plain command whose children all
    // do) is deleted unrun, as is any command while no design is open.
    bool push(QUndoCommand* command);
    // Commands pushed between these two are one undo step; an empty step is not kept.
    void beginMacro(const QString& text);
    void endMacro();
    // False when there is nothing to undo (redo).
    bool undo();
    bool redo();

    // --- selection ----------------------------------------------------------------
    TPipeLoopObject* selected() const;
    // The selection is dropped and every highlight removed.
    void clearSelection();
    // The object becomes the only selection.
    void select(TPipeLoopObject& object);
    // The object becomes the selection but is drawn as it was (a pasted drop,
    // an inserted elbow).
    void selectUndrawn(TPipeLoopObject& object);
    // Every object is drawn normally again; the selection stays. Not a change
    // of the design, so no undo step, but views are told to redraw.
    void clearHighlights();
    // A click that selects: clears the selection, then TPipeLoop::SelectAt.
    bool selectAt(const Position& p, ViewKind view, int32_t tolerance, bool reverse);

    // --- dragging the selection ----------------------------------------------------
    // A drag starts at the press on the selection (false without one). Each
    // step moves it as TPipeLoop::MoveSelected does (final: the release's
    // snapping move; keepDetached: Shift held) and all steps until endDrag
    // are one undo step. cancelDrag puts the object back where the press
    // found it (a release the position check refused).
    bool beginDrag();
    bool dragSelectionTo(const Position& target, bool final, bool keepDetached);
    void cancelDrag();
    void endDrag();

    // --- objects ----------------------------------------------------------------
    // Makes an object that a model function (AddValve, AddDrain, AddSpur, ...)
    // has just put into the design one undo step: it is taken out and put
    // back by an AddObjectCommand.
    bool pushAppended(TPipeLoopObject& object, const QString& text);
    // Takes the object out of the design, undoably.
    bool deleteObject(TPipeLoopObject& object);
    // Runs edit on the object and keeps its stored fields before and after as
    // one undo step; false (and no step) when they did not change.
    bool changeObject(TPipeLoopObject& object, const QString& text,
                      const std::function<void(TPipeLoopObject&)>& edit);

    // --- the copied drop ------------------------------------------------------------
    // The drop Copy Selected Drop chose, while it is in the design: the copy
    // is forgotten when a project opens and whenever an undo, redo or change
    // takes that drop out of the design.
    TDrop* copiedDrop() const { return m_copiedDrop; }
    // False when the selection is not a drop.
    bool copySelectedDrop();
    // A new drop made as a copy of the copied drop at the (snapped) position,
    // one undo step; it becomes the selection without being drawn as one.
    // Nothing without a copied drop.
    TDrop* pasteDrop(const Position& position);

signals:
    // After every push, undo and redo, and after a project opens or is adopted.
    void designChanged();
    // The selection is another object, or none, than when last told.
    void selectionChanged();
    // The options differ from what they were when last told.
    void optionsChanged();
    void modifiedChanged(bool modified);

private:
    void forgetHistory();
    // A successful load replaces the design; modified when the file will not
    // be what a save writes.
    void takeLoad(ProjectLoad& load, const QString& fileName, bool modified);
    void designReplaced();
    void settle();
    void notifySelection();

    std::unique_ptr<TPipeLoop> m_design;
    TPipeLoopOptions m_options;
    PrintSetup m_printSetup;
    ZoomFactors m_zoom = InitialZoomFactors;
    QString m_fileName;
    QUndoStack m_stack;
    // An open macro becomes a step of the stack at its first kept command.
    int m_macroDepth = 0;
    QString m_macroText;
    bool m_macroOnStack = false;
    TDrop* m_copiedDrop = nullptr;

    // The drag in progress: its number (steps of one number merge), the
    // object and its fields at the press.
    int m_drag = 0;
    TPipeLoopObject* m_dragged = nullptr;
    std::optional<ObjectImage> m_pressImage;

    // What listeners were last told.
    TPipeLoopObject* m_toldSelection = nullptr;
    TPipeLoopOptions m_toldOptions;
    bool m_replacing = false;
};

} // namespace pipeloop
