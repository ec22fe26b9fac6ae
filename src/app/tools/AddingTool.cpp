#include "AddingTool.h"

#include "AppDialogs.h"
#include "Document.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"

namespace pipeloop
{

Document& AddingTool::document() const
{
    return m_host->document();
}

TPipeLoop& AddingTool::design() const
{
    return *document().design();
}

DisplayUnits AddingTool::units() const
{
    return design().Units;
}

void AddingTool::start(ToolHost& host)
{
    m_host = &host;
    if (!document().design() || !begin()) {
        stop();
        return;
    }
    if (m_known) {
        located(host.snapToGrid(m_known->at));
        stop();
        return;
    }
    ask();
}

bool AddingTool::begin()
{
    document().clearSelection();
    return true;
}

void AddingTool::click(const ToolPoint& point)
{
    // The click answers the prompt: the box goes before any dialog the
    // placement opens, and comes back if another location is wanted.
    m_host->closePrompt();
    ++m_taken;
    if (located(m_host->snapToGrid(point.at)))
        ask();
    else
        stop();
}

void AddingTool::ask()
{
    const Request next = request(m_taken);
    // After the first location the box stays where the user left it.
    const bool keepPosition = m_taken > 0;
    if (next.objects.isEmpty())
        m_host->showPrompt({next.title, next.message, {QStringLiteral("&Cancel")}, keepPosition});
    else
        m_host->showPrompt(
            SeveralLocationsPrompt(next.title, next.message, next.objects, keepPosition));
    m_host->setHint(next.message);
}

bool AddingTool::key(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    end(Ending::Cancel);
    return true;
}

void AddingTool::end(Ending)
{
    stop();
}

void AddingTool::stop()
{
    if (finished())
        return;
    leaving();
    finish();
}

std::optional<float> AddingTool::enterSize(const QString& title, const QString& prompt,
                                           float size) const
{
    if (!m_host->dialogs().enterSize(m_host->dialogParent(), title, prompt, size,
                                     m_host->catalogue().PipeSizeText()))
        return std::nullopt;
    return size;
}

std::optional<int32_t> AddingTool::enterLength(const QString& title, const QString& prompt,
                                               int32_t millimetres) const
{
    if (!m_host->dialogs().enterLength(m_host->dialogParent(), title, prompt, millimetres, units()))
        return std::nullopt;
    return millimetres;
}

} // namespace pipeloop
