#include "EditCommands.h"

#include "Additions.h"
#include "AppDialogs.h"
#include "Document.h"
#include "DropSymbols.h"
#include "ObjectEdits.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "PipeLoopObjects.h"
#include "UiServices.h"
#include "Units.h"

namespace pipeloop
{

void DescribeSelection(const TPipeLoopObject* selected, EditorState& state)
{
    if (!selected)
        return;
    state.selected = selected->Kind();
    if (const auto* stack = dynamic_cast<const TObjectWithSymbols*>(selected))
        state.symbolSelected = stack->HasSelectedSymbol();
    if (const auto* drop = dynamic_cast<const TDrop*>(selected)) {
        state.dropStyle = int(drop->Style);
        state.partPackage = !drop->PartPackage.isEmpty();
        state.hoseSelected = drop->HasSelectedSymbol() && IsHoseSymbol(drop->SelectedSymbolName());
    }
    if (const auto* feature = dynamic_cast<const TBuildFeature*>(selected))
        state.featureEllipse = feature->Ellipse;
}

EditCommands::EditCommands(Document& document, AppDialogs& dialogs,
                           catalogue::TPartsDatabase& catalogue, const QString& appDir,
                           QWidget* window)
    : QObject(window), m_document(document), m_dialogs(dialogs), m_catalogue(catalogue),
      m_appDir(appDir), m_window(window)
{
}

TPipeLoopObject* EditCommands::selected() const
{
    return m_document.design() ? m_document.selected() : nullptr;
}

void EditCommands::enterLength(const LengthEntryPrompt& prompt, LengthSetter store)
{
    int32_t millimetres = prompt.Value;
    if (m_dialogs.enterLength(m_window, prompt.Title, prompt.Prompt, millimetres,
                              m_document.design()->Units))
        store(m_document, millimetres);
}

void EditCommands::refuse(const QString& message) const
{
    Ui().inform(message);
}

// ---------------------------------------------------------------- the selected object

void EditCommands::editPosition()
{
    const TPipeLoopObject* object = selected();
    if (!object)
        return;
    Position position = EditablePosition(*object);
    if (!m_dialogs.editPosition(m_window, position, PositionCaption(*object),
                                m_document.design()->Units))
        return;
    if (const EditResult result = SetSelectedPosition(m_document, position); !result)
        refuse(result.message());
}

void EditCommands::editHeight()
{
    const TPipeLoopObject* object = selected();
    if (!object)
        return;
    const Parsed<LengthEntryPrompt> prompt = HeightPrompt(*object);
    if (!prompt) {
        refuse(prompt.error());
        return;
    }
    enterLength(prompt.value(), SetSelectedHeight);
}

void EditCommands::editSpurHeight()
{
    const TPipeLoopObject* object = selected();
    if (!object || object->Kind() != ObjectKind::Spur)
        return;
    enterLength(SpurHeightPrompt(*object), SetSelectedSpurHeight);
}

void EditCommands::editInletLength()
{
    const TPipeLoopObject* object = selected();
    if (!object || object->Kind() != ObjectKind::Inlet)
        return;
    enterLength(InletLengthPrompt(*object), SetSelectedInletLength);
}

void EditCommands::editLabel()
{
    const TPipeLoopObject* object = selected();
    if (!object)
        return;
    QString label = object->Name;
    if (m_dialogs.queryText(m_window, QStringLiteral("Object Label"),
                            QStringLiteral("Enter label :"), label))
        SetSelectedLabel(m_document, label);
}

void EditCommands::editSize()
{
    if (!m_document.design())
        return;
    const std::optional<SelectedSizePrompt> prompt = SizePrompt(*m_document.design());
    if (!prompt)
        return;
    const QString sizes = prompt->List == SizeList::DropOutlets
                              ? m_catalogue.EditOutletSizes(prompt->Style, prompt->PipeSize)
                              : m_catalogue.PipeSizeText();
    float size = prompt->Size;
    if (m_dialogs.enterSize(m_window, prompt->Title, prompt->Prompt, size, sizes))
        SetSelectedSize(m_document, size);
}

void EditCommands::editDropAttributes()
{
    const TPipeLoopObject* object = selected();
    if (!object || object->Kind() != ObjectKind::Drop)
        return;
    const TPipeLoop& design = *m_document.design();
    const float pipeSize = design.PipeSizeAt(object->position());
    EditSelectedDrop(m_document, [&](TDrop& copy) {
        return m_dialogs.editDrop(m_window, copy, m_catalogue, design.Units, false, pipeSize);
    });
}

void EditCommands::editInletAttributes()
{
    const TPipeLoop* design = m_document.design();
    if (!design)
        return;
    EditSelectedInlet(m_document, [&](TInlet& copy) {
        InletValues values;
        return m_dialogs.editInlet(m_window, &copy, m_catalogue, design->Units, values);
    });
}

void EditCommands::setDropStyle(int style)
{
    SetSelectedStyle(m_document, style, m_catalogue.Supplier());
}

void EditCommands::toggleFeatureEllipse()
{
    if (const auto* feature = dynamic_cast<const TBuildFeature*>(selected()))
        SetSelectedEllipse(m_document, !feature->Ellipse);
}

void EditCommands::deleteSelected()
{
    DeleteSelected(m_document); // asks first; No keeps the object
}

void EditCommands::removeHighlighting()
{
    RemoveHighlighting(m_document);
}

void EditCommands::insertElbow(bool after)
{
    if (const EditResult result = InsertElbowBeside(m_document, after); !result)
        refuse(result.message());
}

void EditCommands::copyDrop()
{
    m_document.copySelectedDrop();
}

void EditCommands::pasteDrop(const Position& at)
{
    if (const EditResult result = PasteDrop(m_document, at); !result)
        refuse(result.message());
}

// ---------------------------------------------------------------- symbols

// A refusal of the symbol commands is the user's own Cancel of the package
// question, or a selection the command's rule does not offer it for: there
// is nothing more to tell.

void EditCommands::addSymbol(const QString& keyword)
{
    static_cast<void>(AddSymbolToSelected(m_document, keyword));
}

void EditCommands::deleteSymbol()
{
    static_cast<void>(DeleteSelectedSymbol(m_document));
}

void EditCommands::moveSymbol(bool up)
{
    static_cast<void>(MoveSelectedSymbol(m_document, up));
}

void EditCommands::editHoseSize()
{
    const auto* drop = dynamic_cast<const TDrop*>(selected());
    if (!drop)
        return;
    float size = drop->HoseSize;
    if (m_dialogs.enterSize(m_window, QStringLiteral("HOSE SIZE"),
                            QStringLiteral("Enter hose size."), size, m_catalogue.PipeSizeText()))
        SetSelectedHoseSize(m_document, size);
}

void EditCommands::assignGenericParts()
{
    const auto* symbols = dynamic_cast<const TObjectWithSymbols*>(selected());
    if (!symbols || !symbols->HasSelectedSymbol())
        return;
    // A drop connects at its outlet, an inlet at the loop's pipe.
    const auto* drop = dynamic_cast<const TDrop*>(symbols);
    const float size = drop ? drop->OutletSize : m_document.design()->PipeSize;
    if (const std::optional<QString> assigned = m_dialogs.selectUserParts(
            m_window, m_userParts, m_catalogue, symbols->SelectedSymbolName(),
            symbols->SelectedSymbolPart(), SizeText(size), m_appDir))
        SetSelectedSymbolParts(m_document, *assigned);
}

void EditCommands::assignVendorParts()
{
    const auto* drop = dynamic_cast<const TDrop*>(selected());
    if (!drop || !drop->HasSelectedSymbol())
        return;
    if (const std::optional<QString> assigned =
            m_dialogs.selectVendorParts(m_window, m_catalogue, drop->SelectedSymbolName(),
                                        drop->OutletSize, drop->SelectedSymbolPart(), m_appDir))
        SetSelectedSymbolParts(m_document, *assigned);
}

} // namespace pipeloop
