#pragma once

// What a lesson's steps are made of: the pointer moving to a control and
// clicking it, a menu opened and an item chosen, text typed into a field, a
// click on the drawing at a plan position, a key. Each returns the beats
// that show it at a human pace; a control is looked up when its beat comes,
// so it may belong to a window the step before opened.

#include "ModelTypes.h"
#include "Stage.h"

#include <QKeySequence>

#include <initializer_list>

namespace pipeloop::lessons
{

// A place to point at: a widget and a point of it (its centre unless a part
// of it, such as a tab, is meant).
struct Spot {
    QWidget* widget = nullptr;
    QPoint at;
    QString sought; // what was looked for, for the message when nothing was found
};
using Finder = std::function<Spot(Stage&)>;
using Beats = std::vector<Beat>;

// A visible widget with this object (or accessible) name, looked for in the
// front window first.
Finder Named(const QString& objectName);
// A visible button (or tab, or item of an open menu) whose caption, without its '&', is this text.
Finder Captioned(const QString& caption);
// The symbol at this index of the selected drop's stack, in the drop view.
Finder DropViewSymbol(int index);
// The first text field of the front window.
Finder FirstField();
// The first row of the list or table in the front window.
Finder FirstRow();

Beats PointTo(const Finder& target);
Beats RightClickOn(const Finder& target);
Beats ClickOn(const Finder& target);
// Opens the menu bar's menu holding the action and chooses it.
Beats ChooseMenu(const QString& actionId);
// Clicks into the field, selects what it holds and types the text.
Beats TypeInto(const Finder& field, const QString& text);
// Picks an entry of a combo box by its text.
Beats ChooseEntry(const Finder& box, const QString& text);
// The pointer to, and a click at, a position of the plan in the drawing.
Beats PointAtPlan(int32_t ew, int32_t ns);
Beats ClickPlan(int32_t ew, int32_t ns, Qt::MouseButton button = Qt::LeftButton);
// A key pressed in the window that has the focus.
Beats PressKey(const QKeySequence& key);
// The main window made as large as the desktop, as a user maximises it.
Beats Maximise();
// Anything else the program does when asked, in one beat.
Beats Do(std::function<void(Stage&)> act, int frames = 3);

Beats Join(std::initializer_list<Beats> parts);

} // namespace pipeloop::lessons
