#include "HelpTopics.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

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
// Watches the window for an F1 that reached it: a key a control ignores is
// passed on to its window, so a control that uses F1 keeps it.
class HelpKeyFilter final : public QObject
{
public:
    HelpKeyFilter(QWidget& window, std::function<QString()> topic)
        : QObject(&window), m_topic(std::move(topic))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier)
            return false;
        ShowHelpTopic(m_topic());
        return true;
    }

private:
    std::function<QString()> m_topic;
};

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

void InstallHelpKey(QWidget& window, std::function<QString()> topic)
{
    window.installEventFilter(new HelpKeyFilter(window, std::move(topic)));
}

void ShowHelpIndex()
{
    ShowHelpTopic(QString());
}

} // namespace pipeloop
