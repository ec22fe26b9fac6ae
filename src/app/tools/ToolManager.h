#pragma once

// Routes the drawing area's mouse and the window's keys to the active tool.
// With none active, a left press selects (Alt reaches the object below) and
// dragging the selection away from the press starts the move tool. One tool
// at a time; the prompt's buttons end it.

#include "Tool.h"

#include <QObject>
#include <QPoint>

#include <memory>

namespace pipeloop
{

class ToolHost;

class ToolManager : public QObject
{
    Q_OBJECT
public:
    explicit ToolManager(ToolHost& host, QObject* parent = nullptr);
    ~ToolManager() override;

    // Starts the tool; false (and the tool dropped) while another is active.
    bool start(std::unique_ptr<Tool> tool);
    bool active() const { return m_tool != nullptr; }

    void press(const ToolPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void mouseMove(const ToolPoint& point, Qt::MouseButtons buttons,
                   Qt::KeyboardModifiers modifiers);
    // inside: released over the drawing area, which makes a left release a click.
    void release(const ToolPoint& point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                 bool inside);
    // True when the active tool took the key.
    bool key(int key);
    // Done, Cancel or Close from outside (the prompt's buttons, the window).
    void end(Tool::Ending how);
    // A prompt button by its caption: "&Done" is Done, any other Cancel.
    void promptButtonPressed(const QString& caption);

signals:
    // A tool started, or the active one ended.
    void activeChanged(bool active);

private:
    // Drops the active tool once it has finished.
    void settle();

    ToolHost& m_host;
    std::unique_ptr<Tool> m_tool;
    // A press that selected something: dragging from here moves it.
    bool m_dragArmed = false;
    QPoint m_pressPixel;
};

} // namespace pipeloop
