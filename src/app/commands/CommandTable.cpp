#include "CommandTable.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QSet>
#include <QToolButton>

#include <algorithm>

namespace pipeloop
{

namespace
{

bool Holds(const StateRule& rule, const EditorState& state)
{
    return !rule || rule(state);
}

constexpr int SymbolButtonHeight = 37;
constexpr int MinimumSymbolButtonWidth = 37;
constexpr int SymbolPictureSize = 30;

} // namespace

CommandRow Separator(const QString& menu)
{
    CommandRow row;
    row.menu = menu;
    return row;
}

void CommandTable::addMenu(MenuRow row)
{
    m_order.push_back({true, m_menuRows.size()});
    m_menuRows.push_back(std::move(row));
}

void CommandTable::add(CommandRow row)
{
    m_order.push_back({false, m_rows.size()});
    m_rows.push_back(std::move(row));
}

void CommandTable::build(QMenuBar* menuBar, QWidget* toolBar, QWidget* symbolPanel, QObject* owner,
                         const std::function<void()>& afterCommand)
{
    for (const Entry& entry : m_order) {
        if (entry.isMenu) {
            buildMenu(m_menuRows[entry.index], menuBar);
            continue;
        }
        const CommandRow& row = m_rows[entry.index];
        std::function<void()> run;
        if (row.built()) {
            run = [handler = row.handler, afterCommand] {
                handler();
                afterCommand();
            };
        }
        if (!row.menu.isEmpty())
            buildItem(row, owner, run);
        if (row.button.panel == ButtonPanel::ToolBar)
            buildButton(row, toolBar, owner, run);
        else if (row.button.panel == ButtonPanel::Symbols)
            buildButton(row, symbolPanel, owner, run);
    }
}

void CommandTable::buildMenu(const MenuRow& row, QMenuBar* menuBar)
{
    QMenu* parent = m_menus.value(row.parent);
    QMenu* menu = nullptr;
    if (parent)
        menu = parent->addMenu(row.caption);
    else if (row.popup)
        menu = new QMenu(row.caption, menuBar); // the menu bar's window owns it
    else
        menu = menuBar->addMenu(row.caption);
    menu->setObjectName(row.id);
    menu->menuAction()->setObjectName(row.id);
    m_menus.insert(row.id, menu);
}

void CommandTable::buildItem(const CommandRow& row, QObject* owner,
                             const std::function<void()>& run)
{
    QMenu* menu = m_menus.value(row.menu);
    Q_ASSERT(menu);
    if (row.id.isEmpty()) {
        menu->addSeparator();
        return;
    }
    QAction* item = menu->addAction(row.caption);
    item->setObjectName(row.id);
    item->setShortcut(row.shortcut);
    item->setShortcutContext(row.shortcutContext);
    item->setCheckable(static_cast<bool>(row.checked));
    item->setData(row.data);
    item->setEnabled(false); // until the first refresh
    if (run)
        QObject::connect(item, &QAction::triggered, owner, run);
    for (const QString& other : row.alsoIn) {
        Q_ASSERT(m_menus.contains(other));
        m_menus.value(other)->addAction(item);
    }
    m_actions.insert(row.id, item);
}

void CommandTable::buildButton(const CommandRow& row, QWidget* panel, QObject* owner,
                               const std::function<void()>& run)
{
    auto* button = new QToolButton(panel);
    button->setObjectName(row.button.name);
    button->setToolTip(row.button.hint);
    button->setAccessibleName(row.button.hint);
    if (row.button.picture) {
        button->setIcon(
            QIcon(QPixmap::fromImage(RenderButtonPicture(*row.button.picture, SymbolPictureSize))));
        button->setIconSize({SymbolPictureSize, SymbolPictureSize});
    } else if (row.button.icon != QStyle::SP_CustomBase) {
        button->setIcon(QApplication::style()->standardIcon(row.button.icon));
    } else {
        button->setText(row.button.text);
    }
    if (row.button.panel == ButtonPanel::ToolBar) {
        button->setFixedSize(23, 22);
        button->setAutoRaise(true);
    } else {
        const int textWidth = button->fontMetrics().horizontalAdvance(button->text()) + 12;
        button->setFixedSize(std::max(MinimumSymbolButtonWidth, textWidth), SymbolButtonHeight);
    }
    button->setEnabled(false);
    if (run)
        QObject::connect(button, &QToolButton::clicked, owner, run);
    m_buttons.insert(row.button.name, button);
}

void CommandTable::popUp(const QString& id, const QPoint& globalPosition) const
{
    if (QMenu* menu = m_menus.value(id))
        menu->popup(globalPosition);
}

QList<QToolButton*> CommandTable::buttons(ButtonPanel panel) const
{
    std::vector<const CommandRow*> rows;
    for (const CommandRow& row : m_rows)
        if (row.button.panel == panel)
            rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(), [](const CommandRow* a, const CommandRow* b) {
        return a->button.slot < b->button.slot;
    });
    QList<QToolButton*> result;
    for (const CommandRow* row : rows)
        result.append(m_buttons.value(row->button.name));
    return result;
}

const CommandRow* CommandTable::find(const QString& idOrButton) const
{
    for (const CommandRow& row : m_rows)
        if ((!row.id.isEmpty() && row.id == idOrButton) || row.button.name == idOrButton)
            return &row;
    return nullptr;
}

bool CommandTable::enabledIn(const QString& idOrButton, const EditorState& state) const
{
    if (const CommandRow* row = find(idOrButton))
        return row->built() && Holds(row->enabled, state);
    for (const MenuRow& row : m_menuRows)
        if (row.id == idOrButton)
            return Holds(row.enabled, state);
    return false;
}

void CommandTable::refresh(const EditorState& state)
{
    QSet<QAction*> rowItems;
    for (const CommandRow& row : m_rows) {
        // A shortcut works while its item is enabled, even in a closed or
        // disabled menu: each item carries its own rule, not only its menu.
        const bool enabled = row.built() && Holds(row.enabled, state);
        if (QAction* item = m_actions.value(row.id)) {
            rowItems.insert(item);
            item->setEnabled(enabled);
            if (row.checked)
                item->setChecked(row.checked(state));
        }
        if (QToolButton* button = m_buttons.value(row.button.name)) {
            button->setEnabled(enabled);
            if (row.button.panel == ButtonPanel::Symbols)
                button->setVisible((row.button.symbolTag & state.symbolMask()) != 0);
        }
    }
    for (const MenuRow& row : m_menuRows) {
        QMenu* menu = m_menus.value(row.id);
        const bool enabled = Holds(row.enabled, state);
        menu->menuAction()->setEnabled(enabled);
        if (row.captionFor) {
            if (const QString caption = row.captionFor(state); !caption.isEmpty())
                menu->setTitle(caption);
        }
        if (row.visible)
            menu->menuAction()->setVisible(row.visible(state));
        for (QAction* item : menu->actions())
            if (!item->isSeparator() && !item->menu() && !rowItems.contains(item))
                item->setEnabled(enabled);
    }
}

} // namespace pipeloop
