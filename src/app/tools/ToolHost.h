#pragma once

// What a tool may use of the program: the document, the catalogue, the
// current view and its snapping, the prompt box, the dialogs (and the window
// they belong to) and the display switches the elbow entry needs. Nothing else of the main window;
// tests give tools a scripted host.

#include "ModelTypes.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QWidget;

namespace pipeloop
{

class AppDialogs;
class Document;
namespace catalogue
{
class TPartsDatabase;
}

// The modeless prompt box of a tool: a title, a text and its buttons
// ("&Done" ends the tool, any other button cancels it).
struct PromptText {
    QString title;
    QString message;
    QStringList buttons;
    bool keepPosition = false; // stay where it was last shown instead of centring
};

// The prompt of a tool that places several objects, one per click, until
// Done ("drops", "valves", "elbows"); Cancel gives up the entry.
inline PromptText SeveralLocationsPrompt(const QString& title, const QString& message,
                                         const QString& objects, bool keepPosition)
{
    return {title,
            message + QStringLiteral("\r\n\nSelect [Done] when finished adding ") + objects + u'.',
            {QStringLiteral("&Done"), QStringLiteral("&Cancel")},
            keepPosition};
}

class ToolHost
{
public:
    virtual ~ToolHost() = default;

    virtual Document& document() = 0;
    virtual AppDialogs& dialogs() = 0;
    // The window the dialogs are shown over (none in tests).
    virtual QWidget* dialogParent() const = 0;
    // The parts catalogue: the sizes the size entries and the drop dialog offer.
    virtual const catalogue::TPartsDatabase& catalogue() const = 0;

    virtual ViewKind currentView() const = 0;
    virtual void showPlan() = 0;
    // A clicked position snapped to the grid as the design's options say.
    virtual Position snapToGrid(const Position& at) const = 0;
    // How far from a click an object may be and still be selected.
    virtual int32_t selectionTolerance() const = 0;

    virtual void showPrompt(const PromptText& prompt) = 0;
    virtual void closePrompt() = 0;
    // The drawing area's hint (tool tip); empty gives back the usual one.
    virtual void setHint(const QString& hint) = 0;

    virtual bool highlightElbows() const = 0;
    virtual void setHighlightElbows(bool on) = 0;
    // Hides the drop view for good while the loop is drawn ("Display Drop"
    // becomes "Never").
    virtual void hideDropView() = 0;
};

} // namespace pipeloop
