#include "HelpTopics.h"

#include <utility>

namespace pipeloop
{

namespace
{
HelpTopicHandler& installedHandler()
{
    static HelpTopicHandler handler;
    return handler;
}
} // namespace

void SetHelpTopicHandler(HelpTopicHandler handler)
{
    installedHandler() = std::move(handler);
}

bool HelpAvailable()
{
    return static_cast<bool>(installedHandler());
}

void ShowHelpTopic(const QString& topic)
{
    // Copied first: a viewer may install another handler while it runs.
    const HelpTopicHandler handler = installedHandler();
    if (handler)
        handler(topic);
}

void ShowHelpIndex()
{
    ShowHelpTopic(QString());
}

} // namespace pipeloop
