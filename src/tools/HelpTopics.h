#pragma once

#include <QString>

#include <functional>

namespace pipeloop
{

// Context help by topic name. Every window's help button and F1 key go through
// ShowHelpTopic; the help viewer itself is installed as a handler, so that the
// windows do not depend on how help is shown.
using HelpTopicHandler = std::function<void(const QString& topic)>;

// Installs the viewer that shows a topic; an empty handler removes it.
void SetHelpTopicHandler(HelpTopicHandler handler);

// Whether a viewer is installed. Without one, help buttons are shown disabled
// rather than offering help that cannot come.
bool HelpAvailable();

// Shows the topic through the installed viewer; does nothing without one.
void ShowHelpTopic(const QString& topic);

} // namespace pipeloop
