#pragma once

#include "UiServices.h"

namespace pipeloop
{

// UiServices for the desktop program: every message and question of the
// headless layers appears in the program's own message box. A help topic adds
// a "&Help" button.
class WidgetUiServices : public UiServices
{
public:
    void show(Kind kind, const QString& text, const QString& helpTopic = {}) override;
    bool confirm(const QString& text, const QString& helpTopic = {}) override;
    QString ask(Kind kind, const QString& text, const QStringList& buttons,
                const QString& helpTopic = {}) override;
};

} // namespace pipeloop
