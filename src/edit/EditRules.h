#pragma once

// The checks and entries the editing commands share, so that the desktop
// program and pipeloop-cli edit accept and refuse the same things with the
// same words. Each returns the refusal instead of showing it: the desktop
// program shows it in its message box, pipeloop-cli stops the script with it.

#include "ModelTypes.h"
#include "Parsed.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <utility>

namespace pipeloop
{

class Document;
class TDrop;
class TElbow;
class TPipeLoop;

// The outcome of an editing operation: done, or refused with the message the
// desktop program shows for it.
class [[nodiscard]] EditResult
{
public:
    static EditResult done() { return EditResult(); }
    static EditResult refused(QString message)
    {
        EditResult result;
        result.m_refused = true;
        result.m_message = std::move(message);
        return result;
    }

    bool ok() const { return !m_refused; }
    explicit operator bool() const { return ok(); }
    const QString& message() const { return m_message; }

private:
    EditResult() = default;
    bool m_refused = false;
    QString m_message;
};

// Whether the position may take the selection (moving) or a new object
// (adding). The object found there by plan position (other than a moving
// selection itself) does not count when it is the loop's first elbow and the
// selection its last (or the other way round: the loop may be closed), or
// when both are spurs. Onto a spur's end only with allowSpurEnd (drops and
// spurs); onto anything else never.
EditResult CheckPositionFree(const TPipeLoop& design, const Position& position, bool moving,
                             bool allowSpurEnd);

// The release of a drag begun with Document::beginDrag at a position snapped
// as the click is: the position check for moving (spur ends allowed for a
// drop or a spur), then the final move (keepDetached: Shift held). A refused
// release puts the selection back where the press found it. Either way the
// drag ends.
EditResult ReleaseDrag(Document& document, const Position& snapped, bool keepDetached);

// The selected elbow and its index in the loop; none when the selection is
// not an elbow.
std::pair<TElbow*, size_t> SelectedElbow(const TPipeLoop& design);

// Before a drop's symbol stack changes (action: "Adding", "Deleting",
// "Moving"): a drop that is a catalogue package stops being one, so the user
// is asked first with &Ok and &Cancel. Done for a drop without a package or
// on &Ok; on &Cancel refused with the question's text.
EditResult ConfirmPackageChange(const TDrop& drop, const QString& action);

// What the size entry makes of the text confirmed in it: the size, or the
// refusal. Text that is no size (or no size above 0) is refused with "Invalid
// size : " + text. With a list (sizes one per line), a size whose text is not
// one of its lines asks "Entered size not support." with Ignore and Cancel:
// Ignore takes the size, Cancel refuses it with that text.
Parsed<float> ReadSizeEntry(const QString& text, const QString& sizeList);

// Edit Pipe or Outlet Size with nothing selected: the entry it shows (title,
// prompt and the size it starts from), or nothing for a compressor house
// without pipes.
struct SizeEntryPrompt {
    QString Title;
    QString Prompt;
    float Size = 0.0f;
};
std::optional<SizeEntryPrompt> MainPipeSizePrompt(const TPipeLoop& design);

// The print setup a window closed with: nothing when unchanged; an undoable
// change of the design when the options are saved with the project, else the
// user's own setting, which marks nothing.
void SetPrintSetup(Document& document, const PrintSetup& setup);

// Options edited in place from before (the options window applies as it
// goes, so that the drawing shows each step): nothing when they are equal;
// with a design open and the options saved with the project (before or
// after), an undoable change of the design; else the user's own setting,
// which marks nothing. Listeners are told either way.
void KeepOptionsChange(Document& document, const TPipeLoopOptions& before);

// Sets the main pipe size, one undo step: the loop's pipe size, or in a
// compressor house every pipe's. False when nothing changed.
bool SetMainPipeSize(Document& document, float size);

// The air analysis' gauge pressure at the compressor inlets and the drop
// allowed from it, in bar, each one undo step. A value that is not above
// zero (or a drop not below the supply) is refused with the message returned;
// nothing changes then. Empty when set (or already so).
QString SetSupplyPressure(Document& document, double bar);
QString SetAllowedPressureDrop(Document& document, double bar);

} // namespace pipeloop
