#pragma once

// The main window's commands as data: one row per command with its
// component name (the name language files look up), where it appears (a menu
// item, a tool bar button, a symbol button), its caption and shortcut, the
// rules that enable and check it, and its handler. Menus, the tool bar and
// the symbol panel are built from the rows, and one refresh() applies every
// rule, so enabling lives in one place instead of in each handler.

#include "ButtonPictures.h"
#include "EditorState.h"

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QVariant>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QObject;
class QPoint;
class QToolButton;
class QWidget;

namespace pipeloop
{

using StateRule = std::function<bool(const EditorState&)>;

// A menu or submenu: its component name, its parent ("" for the menu bar)
// and its caption. It takes its place among the rows in the order added.
// Items added to it at run time (the recent projects) follow its rule.
struct MenuRow {
    QString id;
    QString parent;
    QString caption;
    StateRule enabled; // empty: always
    StateRule visible; // empty: left as it is (shown unless the window hides it)
    // A pop-up menu of its own ("pm..."): not on the menu bar, shown at a
    // point by popUp().
    bool popup = false;
    // A caption that follows the state; empty text (or no rule) leaves the
    // caption as it is.
    std::function<QString(const EditorState&)> captionFor = {};
};

// Where a command has a button besides (or instead of) its menu item.
enum class ButtonPanel { None, ToolBar, Symbols };

struct ButtonRow {
    ButtonPanel panel = ButtonPanel::None;
    QString name; // component name, "sb..."
    QString hint; // tool tip, and the accessible name of a picture button
    QString text; // shown when the button has no picture
    QStyle::StandardPixmap icon = QStyle::SP_CustomBase;
    // Symbol panel: the program's own drawing of what the button places.
    std::optional<ButtonPicture> picture;
    int slot = 0;      // order on its panel (rows order break ties)
    int gapAfter = 0;  // tool bar: extra pixels after the button
    int symbolTag = 0; // symbol panel: shown when the tag meets EditorState::symbolMask()
};

struct CommandRow {
    QString id;   // component name of the menu item ("mo..."); empty for a button only
    QString menu; // the menu it sits in; empty: no menu item
    // Further menus that show the same item (one action, one handler).
    QStringList alsoIn;
    QString caption;
    QKeySequence shortcut;
    // Zoom keys work from the prompt box too: the one command a prompt leaves usable.
    Qt::ShortcutContext shortcutContext = Qt::WindowShortcut;
    ButtonRow button;
    StateRule enabled; // empty: always
    StateRule checked; // empty: not checkable
    // Empty for a command whose work comes later: the item is there,
    // honestly disabled.
    std::function<void()> handler;
    QVariant data;

    bool built() const { return static_cast<bool>(handler); }
};

// A separator line in a menu.
CommandRow Separator(const QString& menu);

class CommandTable
{
public:
    void addMenu(MenuRow row);
    void add(CommandRow row);

    // Creates the menus on the menu bar, the menu items and the buttons on
    // their panels. owner keeps the connections; afterCommand runs after
    // every handler (the window refreshes its commands there).
    void build(QMenuBar* menuBar, QWidget* toolBar, QWidget* symbolPanel, QObject* owner,
               const std::function<void()>& afterCommand);
    // Applies every rule to the items and buttons.
    void refresh(const EditorState& state);

    // Shows a pop-up menu at a point of the screen, without waiting for it.
    void popUp(const QString& id, const QPoint& globalPosition) const;

    QAction* action(const QString& id) const { return m_actions.value(id); }
    QMenu* menu(const QString& id) const { return m_menus.value(id); }
    QToolButton* button(const QString& name) const { return m_buttons.value(name); }
    // The buttons of a panel in their order.
    QList<QToolButton*> buttons(ButtonPanel panel) const;
    // Whether a row (by menu item id or button name) is usable in a state:
    // built, and its rule holds.
    bool enabledIn(const QString& idOrButton, const EditorState& state) const;
    const CommandRow* find(const QString& idOrButton) const;

private:
    void buildMenu(const MenuRow& row, QMenuBar* menuBar);
    void buildItem(const CommandRow& row, QObject* owner, const std::function<void()>& run);
    void buildButton(const CommandRow& row, QWidget* panel, QObject* owner,
                     const std::function<void()>& run);

    // Menus and rows in the order added: an entry is a menu (index into
    // m_menuRows) or a row (index into m_rows).
    struct Entry {
        bool isMenu;
        size_t index;
    };
    std::vector<Entry> m_order;
    std::vector<MenuRow> m_menuRows;
    std::vector<CommandRow> m_rows;
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QHash<QString, QToolButton*> m_buttons;
};

} // namespace pipeloop
