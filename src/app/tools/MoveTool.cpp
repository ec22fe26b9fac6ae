#include "MoveTool.h"

#include "Document.h"
#include "EditRules.h"
#include "PipeLoop.h"
#include "ToolHost.h"
#include "UiServices.h"

namespace pipeloop
{

const QString MoveTool::SpurHint =
    QStringLiteral("Moving spur, use shift key to stop pipe attachment.");
const QString MoveTool::SymbolHint =
    QStringLiteral("Moving symbol, release mouse button to complete move.");

bool MoveTool::Drags(Qt::KeyboardModifiers modifiers)
{
    modifiers &= ~Qt::AltModifier;
    return modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier;
}

void MoveTool::start(ToolHost& host)
{
    m_host = &host;
    if (!host.document().beginDrag())
        finish();
}

void MoveTool::mouseMove(const ToolPoint& point, Qt::MouseButtons buttons,
                         Qt::KeyboardModifiers modifiers)
{
    if (!buttons.testFlag(Qt::LeftButton) || !Drags(modifiers) ||
        QPoint(point.x, point.y) == m_pressPixel)
        return;
    Document& document = m_host->document();
    const TPipeLoopObject* selected = document.selected();
    m_host->setHint(selected && selected->Kind() == ObjectKind::Spur ? SpurHint : SymbolHint);
    document.dragSelectionTo(point.at, false, true);
    m_moved = true;
}

void MoveTool::release(const ToolPoint& point, Qt::KeyboardModifiers modifiers)
{
    Document& document = m_host->document();
    if (!m_moved || QPoint(point.x, point.y) == m_pressPixel) {
        cancel();
        return;
    }
    const EditResult released =
        ReleaseDrag(document, m_host->snapToGrid(point.at), modifiers == Qt::ShiftModifier);
    finish();
    if (!released)
        Ui().inform(released.message());
}

bool MoveTool::key(int key)
{
    if (key != Qt::Key_Escape)
        return false;
    cancel();
    return true;
}

void MoveTool::end(Ending)
{
    cancel();
}

void MoveTool::cancel()
{
    Document& document = m_host->document();
    document.cancelDrag();
    document.endDrag();
    finish();
}

} // namespace pipeloop
