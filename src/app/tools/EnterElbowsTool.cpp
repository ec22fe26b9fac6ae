#include "EnterElbowsTool.h"

#include "DesignCommands.h"
#include "Document.h"
#include "ToolHost.h"
#include "UiServices.h"

namespace pipeloop
{

const QString EnterElbowsTool::Title = QStringLiteral("ADD ELBOWS");
const QString EnterElbowsTool::Hint = QStringLiteral("Position each elbow with a mouse click.");
const QString EnterElbowsTool::TooFewElbows =
    QStringLiteral("A loop needs at least three elbows.\r\n"
                   "Place more elbows, or press Cancel to use the building's outline.");
const QString EnterElbowsTool::DefaultLoopNotice =
    QStringLiteral("No elbows added, elbows will default to building dimensions.");

namespace
{

const QString Explanation =
    QStringLiteral("\r\nThe loop closes itself from the last elbow back to the first."
                   "\r\nBackspace removes the last elbow, Escape cancels.");

// One or two elbows make no ring; none gets the building's outline.
bool TooFew(const TPipeLoop& design)
{
    return !design.Elbows.empty() && design.Elbows.size() < 3;
}

} // namespace

TPipeLoop& EnterElbowsTool::design() const
{
    return *m_host->document().design();
}

void EnterElbowsTool::start(ToolHost& host)
{
    m_host = &host;
    Document& document = host.document();
    if (!document.design()) {
        finish();
        return;
    }
    m_highlighted = host.highlightElbows();
    host.setHighlightElbows(true);
    host.showPlan();
    host.hideDropView();
    document.clearSelection();
    // Every elbow of the entry, and what Done or Cancel add, is one step.
    document.beginMacro(QObject::tr("Enter elbows"));
    prompt(false);
    host.setHint(Hint);
}

void EnterElbowsTool::prompt(bool keepPosition)
{
    m_host->showPrompt(
        SeveralLocationsPrompt(Title, Hint + Explanation, QStringLiteral("elbows"), keepPosition));
}

void EnterElbowsTool::click(const ToolPoint& point)
{
    Position at = m_host->snapToGrid(point.at);
    at.HG = design().Height;
    auto* command = new AddElbowCommand(design(), at);
    auto& elbow = static_cast<TElbow&>(command->object());
    if (m_host->document().push(command))
        m_placed.push_back(&elbow);
}

bool EnterElbowsTool::key(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        end(Ending::Cancel);
        return true;
    case Qt::Key_Backspace:
        removeLastPlaced();
        return true;
    default:
        return false;
    }
}

void EnterElbowsTool::end(Ending how)
{
    const bool tooFew = TooFew(design());
    if (how == Ending::Done && tooFew) {
        Ui().inform(TooFewElbows);
        prompt(true); // the box closed with its button; the entry goes on
        return;
    }
    if (how == Ending::Cancel || (how == Ending::Close && tooFew)) {
        while (!m_placed.empty())
            removeLastPlaced();
    } else {
        closeRing();
    }
    finishEntry();
}

void EnterElbowsTool::removeLastPlaced()
{
    if (m_placed.empty())
        return;
    TElbow* last = m_placed.back();
    m_placed.pop_back();
    m_host->document().deleteObject(*last);
}

// The loop's segments run from each elbow to the next: a ring ends where it
// began, as the loop around the building repeats its first corner.
void EnterElbowsTool::closeRing()
{
    const auto& elbows = design().Elbows;
    if (elbows.size() < 3)
        return;
    const TElbow& first = *elbows.front();
    const TElbow& last = *elbows.back();
    if (first.NS == last.NS && first.EW == last.EW)
        return;
    m_host->document().push(
        new AddElbowCommand(design(), Position{first.NS, first.EW, design().Height}));
}

void EnterElbowsTool::finishEntry()
{
    Document& document = m_host->document();
    if (design().Elbows.empty()) {
        Ui().inform(DefaultLoopNotice);
        document.push(new DefaultLoopCommand(design()));
    }
    document.endMacro();
    m_host->setHighlightElbows(m_highlighted);
    finish();
}

} // namespace pipeloop
