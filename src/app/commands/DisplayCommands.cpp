#include "DisplayCommands.h"

#include "AppDialogs.h"
#include "DesignCommands.h"
#include "Document.h"
#include "HelpTopics.h"
#include "UiServices.h"
#include "Units.h"

#include <algorithm>
#include <memory>

namespace pipeloop
{

DisplayCommands::DisplayCommands(Document& document, AppDialogs& dialogs, QWidget* window)
    : QObject(window), m_document(document), m_dialogs(dialogs), m_window(window)
{
}

int DisplayCommands::gridMark() const
{
    return m_document.options().GridSpacing;
}

void DisplayCommands::setGridSpacing(int spacing)
{
    if (spacing < 0)
        return;
    m_document.options().GridSpacing = spacing;
    emit changed();
}

void DisplayCommands::askCustomGridSpacing()
{
    QString text = QString::number(m_document.options().GridSpacing);
    if (!m_dialogs.queryText(m_window, QStringLiteral("Grid spacing"),
                             QStringLiteral("Enter spacing in mm :"), text))
        return;
    const Parsed<int32_t> spacing = ParseLength(text, DisplayUnits::Millimetres);
    if (!spacing || spacing.value() <= 0) {
        Ui().inform(QStringLiteral("Invalid grid spacing : ") + text);
        return;
    }
    m_customGridSpacing = spacing.value();
    setGridSpacing(spacing.value());
}

void DisplayCommands::setSnapToGrid(bool snap)
{
    // With a design open the option is part of it (a project may carry its
    // options): an undoable change.
    if (m_document.design()) {
        m_document.push(new SetSnapToGridCommand(m_document.options(), snap));
        return;
    }
    m_document.options().SnapToGrid = snap;
    emit changed();
}

void DisplayCommands::choosePipeColour(int sizeMm)
{
    TPipeLoopOptions& options = m_document.options();
    const auto& sizes = TPipeLoopOptions::ColourSizes;
    const auto at = std::find(sizes.begin(), sizes.end(), sizeMm);
    if (at == sizes.end())
        return;
    const bool bySize = options.PipeColourOption() == PipeColourScheme::BySize;
    if (!bySize &&
        !Ui().confirm(QStringLiteral("You do not have the pipe size colours option set.\r\n"
                                     "Do you want to set this option and change the colour ?")))
        return;
    const WinColour current = options.SizePipeColours[size_t(at - sizes.begin())];
    const std::optional<WinColour> chosen =
        ChooseColourNotWhite(m_dialogs, m_window, QStringLiteral("%1mm Pipe Colour").arg(sizeMm),
                             QString::fromLatin1(topic::PipeColours), current, PipeColourNotWhite);
    if (!chosen)
        return;
    auto command = std::make_unique<SetPipeColourCommand>(options, float(sizeMm), *chosen);
    // Options saved with the project are part of the design: the change is
    // then an undoable change of it. Otherwise they are the user's own.
    if (m_document.design() && options.Saved && (!bySize || *chosen != current)) {
        m_document.push(command.release());
    } else {
        command->redo();
        emit changed();
    }
}

} // namespace pipeloop
