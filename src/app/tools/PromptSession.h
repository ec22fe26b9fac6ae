#pragma once

// The prompt box of the active tool: the program's own message box, shown
// modeless and on top, with the tool's title, text and buttons. It answers
// through signals instead of a nested event loop: the tool keeps running on
// the window's own loop while the user clicks locations. Escape and
// Backspace typed while the box has the focus go to the tool as well.

#include "ToolHost.h"

#include <QObject>

class QWidget;

namespace pipeloop
{

class TMsgBoxForm;

class PromptSession : public QObject
{
    Q_OBJECT
public:
    // The box is made once, as a child of owner, and reused.
    explicit PromptSession(QWidget* owner);

    void show(const PromptText& prompt);
    void close();
    bool isOpen() const;
    TMsgBoxForm* box() const { return m_box; }

signals:
    void buttonPressed(const QString& caption);
    void keyPressed(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TMsgBoxForm* m_box;
};

} // namespace pipeloop
