#pragma once

// What the commands of the main window depend on, gathered in one value so
// that every enabled and checked rule is a plain function of it.

#include "ModelTypes.h"

#include <optional>

namespace pipeloop
{

struct EditorState {
    bool designOpen = false;
    bool compressorHouse = false;
    // The kind of the selected object; empty when nothing is selected.
    std::optional<ObjectKind> selected;
    // What the selected object shows: a drop's style (-1 for no drop) and
    // part package, a feature's ellipse flag, the symbol the drop view
    // selected (and whether it is a drop's hose).
    int dropStyle = -1;
    bool partPackage = false;
    bool featureEllipse = false;
    bool symbolSelected = false;
    bool hoseSelected = false;
    // A tool (a location prompt, a drag) holds the drawing area: only the
    // commands that change no design (zoom) stay usable.
    bool toolActive = false;
    // Copy Selected Drop chose a drop that is still in the design.
    bool copiedDrop = false;
    bool canUndo = false;
    bool canRedo = false;
    bool modified = false;
    int recentFiles = 0;

    // What the check marks show.
    int zoom = 20;
    int gridMark = 0;
    int customGridSpacing = 0;
    bool snapToGrid = true;
    int displayDrop = 0; // 0 Always, 1 Never, 2 Auto
    bool viewToolBar = false;
    bool highlightElbows = false;
    bool view3DShown = false;
    // A tutorial lesson's window is open.
    bool lessonShown = false;

    // The usual combinations.
    bool input() const { return !toolActive; }
    bool editing() const { return designOpen && !toolActive; }
    bool selection() const { return editing() && selected.has_value(); }
    bool selectionIs(ObjectKind kind) const { return selection() && *selected == kind; }
    // Which symbol buttons the panel shows: the house tools, a drop's or an
    // inlet's equipment, or the loop tools.
    int symbolMask() const
    {
        if (compressorHouse)
            return 2;
        if (selected == ObjectKind::Drop || selected == ObjectKind::Inlet)
            return 1;
        return 4;
    }
};

} // namespace pipeloop
