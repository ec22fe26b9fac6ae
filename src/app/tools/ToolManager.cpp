#include "ToolManager.h"

#include "Document.h"
#include "MoveTool.h"
#include "ToolHost.h"

namespace pipeloop
{

ToolManager::ToolManager(ToolHost& host, QObject* parent) : QObject(parent), m_host(host) {}

ToolManager::~ToolManager() = default;

bool ToolManager::start(std::unique_ptr<Tool> tool)
{
    if (m_tool || !tool)
        return false;
    m_dragArmed = false;
    m_tool = std::move(tool);
    m_tool->start(m_host);
    if (m_tool->finished()) {
        m_tool.reset();
        return false;
    }
    emit activeChanged(true);
    return true;
}

void ToolManager::press(const ToolPoint& point, Qt::MouseButton button,
                        Qt::KeyboardModifiers modifiers)
{
    m_pressPixel = QPoint(point.x, point.y);
    m_dragArmed = false;
    Document& document = m_host.document();
    // A tool holds the drawing area: a press does not select.
    if (m_tool || !document.design() || button != Qt::LeftButton)
        return;
    document.selectAt(point.at, m_host.currentView(), m_host.selectionTolerance(),
                      modifiers.testFlag(Qt::AltModifier));
    m_dragArmed = document.selected() != nullptr;
}

void ToolManager::mouseMove(const ToolPoint& point, Qt::MouseButtons buttons,
                            Qt::KeyboardModifiers modifiers)
{
    if (!m_tool && m_dragArmed && buttons.testFlag(Qt::LeftButton) && MoveTool::Drags(modifiers) &&
        QPoint(point.x, point.y) != m_pressPixel)
        start(std::make_unique<MoveTool>(m_pressPixel));
    if (!m_tool)
        return;
    m_tool->mouseMove(point, buttons, modifiers);
    settle();
}

void ToolManager::release(const ToolPoint& point, Qt::MouseButton button,
                          Qt::KeyboardModifiers modifiers, bool inside)
{
    m_dragArmed = false;
    if (!m_tool)
        return;
    m_tool->release(point, modifiers);
    settle();
    if (m_tool && button == Qt::LeftButton && inside) {
        m_tool->click(point);
        settle();
    }
}

bool ToolManager::key(int key)
{
    if (!m_tool)
        return false;
    const bool taken = m_tool->key(key);
    settle();
    return taken;
}

void ToolManager::end(Tool::Ending how)
{
    if (!m_tool)
        return;
    m_tool->end(how);
    settle();
}

void ToolManager::promptButtonPressed(const QString& caption)
{
    end(caption == QStringLiteral("&Done") ? Tool::Ending::Done : Tool::Ending::Cancel);
}

void ToolManager::settle()
{
    if (!m_tool || !m_tool->finished())
        return;
    m_tool.reset();
    m_host.closePrompt();
    m_host.setHint({});
    emit activeChanged(false);
}

} // namespace pipeloop
