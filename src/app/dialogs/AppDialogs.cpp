#include "AppDialogs.h"

#include "ColorZELKDiag.h"
#include "DropDialog.h"
#include "EditLengthDialog.h"
#include "InletDialog.h"
#include "LanguageFile.h"
#include "NewProjectWizard.h"
#include "PartSelectForm.h"
#include "PositionDialog.h"
#include "SettingsStore.h"
#include "SizeEntryDialog.h"
#include "UiServices.h"
#include "UserPartForm.h"

#include "Canvas.h"
#include "PartsDatabase.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>

namespace pipeloop
{

namespace
{
// The window, made (by make) and translated on its first use.
template <typename Dialog, typename Make> Dialog& Reused(QPointer<Dialog>& dialog, Make make)
{
    if (!dialog) {
        dialog = make();
        TLanguage::Instance().TranslateForm(dialog);
    }
    return *dialog;
}

template <typename Dialog> Dialog& Reused(QPointer<Dialog>& dialog, QWidget* parent)
{
    return Reused(dialog, [parent] { return new Dialog(parent); });
}
} // namespace

std::optional<WinColour> ChooseColourNotWhite(AppDialogs& dialogs, QWidget* parent,
                                              const QString& title, const QString& helpTopic,
                                              WinColour current, const QString& whiteRefusal)
{
    const std::optional<WinColour> chosen = dialogs.chooseColour(parent, title, helpTopic, current);
    if (chosen && (*chosen & 0xFFFFFF) == 0xFFFFFF) {
        Ui().inform(whiteRefusal);
        return std::nullopt;
    }
    return chosen;
}

WidgetAppDialogs::WidgetAppDialogs()
    : m_ownSettings(std::make_unique<MemorySettingsStore>()), m_settings(*m_ownSettings)
{
}

WidgetAppDialogs::WidgetAppDialogs(SettingsStore& settings) : m_settings(settings) {}

WidgetAppDialogs::~WidgetAppDialogs()
{
    delete m_sizeEntry.data();
    delete m_dropDialog.data();
    delete m_inletDialog.data();
    delete m_partSelector.data();
    delete m_userPartWindow.data();
}

QString WidgetAppDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& start)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString WidgetAppDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& defaultSuffix, const QString& start)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool WidgetAppDialogs::queryText(QWidget* parent, const QString& title, const QString& prompt,
                                 QString& text)
{
    return EditText(parent, title, prompt, text);
}

NotesEditorDialog::Result WidgetAppDialogs::editNotes(NotesEditorDialog& editor,
                                                      const QString& caption, const QString& notes)
{
    return editor.edit(caption, notes);
}

bool WidgetAppDialogs::runWizard(TNewProjectForm& wizard)
{
    return wizard.exec() == QDialog::Accepted;
}

QString WidgetAppDialogs::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

std::optional<PrintDestination> WidgetAppDialogs::choosePrintDestination(QWidget* parent,
                                                                         const PrintJob& job)
{
    const std::vector<PrintOutput> outputs = AvailablePrintOutputs();
    if (!CheckPrintOutputs(outputs))
        return std::nullopt;
    PrintDialog dialog(job, outputs, parent);
    TLanguage::Instance().TranslateForm(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.destination();
}

std::optional<WinColour> WidgetAppDialogs::chooseColour(QWidget* parent, const QString& title,
                                                        const QString& helpTopic, WinColour current)
{
    const std::optional<QColor> chosen =
        TColorZELKDiag::Choose(parent, ToQColor(current), title, helpTopic, m_settings);
    if (!chosen)
        return std::nullopt;
    return FromQColor(*chosen);
}

std::optional<FontSpec> WidgetAppDialogs::chooseFont(QWidget* parent, const FontSpec& current)
{
    QFont start = Font::fromSpec(current).styledQFont();
    if (current.pointSize > 0)
        start.setPointSize(current.pointSize);
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, start, parent);
    if (!chosen)
        return std::nullopt;
    return FontSpec{font.family(),    font.pointSize() > 0 ? font.pointSize() : current.pointSize,
                    font.bold(),      font.italic(),
                    font.underline(), font.strikeOut()};
}

bool WidgetAppDialogs::enterSize(QWidget* parent, const QString& title, const QString& prompt,
                                 float& size, const QString& sizeList)
{
    SizeEntryDialog& dialog = Reused(m_sizeEntry, parent);
    dialog.prepare(title, prompt, size, sizeList);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    size = dialog.size();
    return true;
}

bool WidgetAppDialogs::enterLength(QWidget* parent, const QString& title, const QString& prompt,
                                   int32_t& millimetres, DisplayUnits units)
{
    return EditLength(parent, title, prompt, millimetres, units);
}

bool WidgetAppDialogs::editDrop(QWidget* parent, TDrop& drop,
                                const catalogue::TPartsDatabase& catalogue, DisplayUnits units,
                                bool isNew, float pipeSize)
{
    DropDialog& dialog = Reused(m_dropDialog, parent);
    dialog.prepare(drop, catalogue, units, isNew, pipeSize);
    return dialog.exec() == QDialog::Accepted && dialog.result();
}

bool WidgetAppDialogs::editInlet(QWidget* parent, TInlet* inlet,
                                 const catalogue::TPartsDatabase& catalogue, DisplayUnits units,
                                 InletValues& values)
{
    InletDialog& dialog = Reused(m_inletDialog, parent);
    dialog.prepare(inlet, catalogue.PipeSizeText(), units);
    return dialog.exec() == QDialog::Accepted &&
           TakeInletValues(inlet, dialog.values(), values, dialog.demand());
}

bool WidgetAppDialogs::editPosition(QWidget* parent, Position& position, const QString& caption,
                                    DisplayUnits units)
{
    PositionDialog dialog(position, caption, units, parent);
    TLanguage::Instance().TranslateForm(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    position = dialog.position();
    return true;
}

std::optional<QString> WidgetAppDialogs::selectVendorParts(QWidget* parent,
                                                           catalogue::TPartsDatabase& catalogue,
                                                           const QString& symbolName,
                                                           float dropSize, const QString& assigned,
                                                           const QString& appDir)
{
    TPartSelectForm& window = Reused(
        m_partSelector, [parent] { return new TPartSelectForm(SystemDocumentOpener(), parent); });
    return window.Open(catalogue, symbolName, dropSize, assigned, appDir);
}

std::optional<QString>
WidgetAppDialogs::selectUserParts(QWidget* parent, catalogue::UserPartsDatabase& userParts,
                                  catalogue::TPartsDatabase& catalogue, const QString& symbolName,
                                  const QString& assigned, const QString& connectingSize,
                                  const QString& appDir)
{
    TUserPartForm& window =
        Reused(m_userPartWindow, [&] { return new TUserPartForm(*this, appDir, parent); });
    return window.Open(userParts, catalogue, symbolName, assigned, connectingSize);
}

} // namespace pipeloop
