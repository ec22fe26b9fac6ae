#pragma once

// The modal questions the main window asks that are not message boxes: file
// choices, one-line texts, the notes editor, the new project wizard and the
// clipboard. Each takes a value and returns one, so tests answer them from a
// script instead of a person.

#include "AttributeEntries.h"
#include "ModelTypes.h"
#include "NotesEditor.h"
#include "PipeLoopOptions.h"
#include "PrintDialog.h"
#include "Units.h"

#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class QWidget;

namespace pipeloop
{

class DropDialog;
class InletDialog;
class SettingsStore;
class SizeEntryDialog;
class TDrop;
class TInlet;
class TNewProjectForm;
class TPartSelectForm;
class TUserPartForm;
namespace catalogue
{
class TPartsDatabase;
class UserPartsDatabase;
} // namespace catalogue

class AppDialogs
{
public:
    virtual ~AppDialogs() = default;

    // filter is in the file dialog's own form: "Pipe Loop Files (*.plf);;All Files (*)".
    // An empty result means Cancel.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& start) = 0;
    // Asks before overwriting; defaultSuffix is added to a name typed without one.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& start) = 0;
    // OK replaces text and gives true.
    virtual bool queryText(QWidget* parent, const QString& title, const QString& prompt,
                           QString& text) = 0;
    virtual NotesEditorDialog::Result editNotes(NotesEditorDialog& editor, const QString& caption,
                                                const QString& notes) = 0;
    // Shows the prepared wizard modally; true when it closed with OK.
    virtual bool runWizard(TNewProjectForm& wizard) = 0;
    virtual QString clipboardText() = 0;
    // A colour, starting at current (0x00BBGGRR); nothing on Cancel.
    virtual std::optional<WinColour> chooseColour(QWidget* parent, const QString& title,
                                                  const QString& helpTopic, WinColour current) = 0;
    // The print dialog for the job: the output that takes it and, for a PDF,
    // the file. Nothing on Cancel, or when there is nothing to print on (said).
    virtual std::optional<PrintDestination> choosePrintDestination(QWidget* parent,
                                                                   const PrintJob& job) = 0;
    // A font, starting at current; nothing on Cancel.
    virtual std::optional<FontSpec> chooseFont(QWidget* parent, const FontSpec& current) = 0;

    // --- the attribute dialogs: each shows its refusals itself. The drop,
    // inlet and position dialogs keep asking until OK passes their checks or
    // the user cancels; the size and length entries close on a refusal.
    // The size entry (TEditForm): sizeList holds the offered sizes one per
    // line (empty: the built-in list, any size accepted). True with size set
    // on OK; an unlisted size only after Ignore.
    virtual bool enterSize(QWidget* parent, const QString& title, const QString& prompt,
                           float& size, const QString& sizeList) = 0;
    // A length in millimetres, shown and read in the design's units.
    virtual bool enterLength(QWidget* parent, const QString& title, const QString& prompt,
                             int32_t& millimetres, DisplayUnits units) = 0;
    // The drop dialog (TDropForm) on drop, which takes the values on OK. The
    // outlets offered are the catalogue's for the style at pipeSize. True on
    // OK for a new drop; for an existing one, whether it changed.
    virtual bool editDrop(QWidget* parent, TDrop& drop, const catalogue::TPartsDatabase& catalogue,
                          DisplayUnits units, bool isNew, float pipeSize) = 0;
    // The inlet dialog (TInletForm): an existing inlet takes the values on OK
    // (true when they changed); for a new one (inlet null) they go to values
    // and OK gives true.
    virtual bool editInlet(QWidget* parent, TInlet* inlet,
                           const catalogue::TPartsDatabase& catalogue, DisplayUnits units,
                           InletValues& values) = 0;
    // The position dialog (TEditPositionForm): OK with three readable texts
    // sets position.
    virtual bool editPosition(QWidget* parent, Position& position, const QString& caption,
                              DisplayUnits units) = 0;

    // --- the part windows: each closes with the symbol's new assigned-parts
    // text, nothing on Cancel. The part selector (TPartSelectForm) offers the
    // catalogue's parts for the symbol at the drop's size; the user part window
    // (TUserPartForm) the user's own parts, reading them on its first showing.
    virtual std::optional<QString> selectVendorParts(QWidget* parent,
                                                     catalogue::TPartsDatabase& catalogue,
                                                     const QString& symbolName, float dropSize,
                                                     const QString& assigned,
                                                     const QString& appDir) = 0;
    virtual std::optional<QString>
    selectUserParts(QWidget* parent, catalogue::UserPartsDatabase& userParts,
                    catalogue::TPartsDatabase& catalogue, const QString& symbolName,
                    const QString& assigned, const QString& connectingSize,
                    const QString& appDir) = 0;
};

// What a colour that must not be white answers white with: every colour of
// the design but the grid's.
inline constexpr char SelectColourNotWhite[] = "Selected colour cannot be white.";
inline constexpr char HighlightColourNotWhite[] = "Highlighted colour cannot be white.";
inline constexpr char WallColourNotWhite[] = "Wall colour cannot be white.";
inline constexpr char FeatureColourNotWhite[] = "Feature colour cannot be white.";
inline constexpr char PipeColourNotWhite[] = "Pipe colour cannot be white.";

// chooseColour for a colour that must not be white: white is refused with
// whiteRefusal shown, and gives nothing as Cancel does.
std::optional<WinColour> ChooseColourNotWhite(AppDialogs& dialogs, QWidget* parent,
                                              const QString& title, const QString& helpTopic,
                                              WinColour current, const QString& whiteRefusal);

// The real dialogs. The colour chooser keeps its custom colours in the
// settings (in memory for the run when none are given).
class WidgetAppDialogs : public AppDialogs
{
public:
    WidgetAppDialogs();
    explicit WidgetAppDialogs(SettingsStore& settings);
    ~WidgetAppDialogs() override;
    WidgetAppDialogs(const WidgetAppDialogs&) = delete;
    WidgetAppDialogs& operator=(const WidgetAppDialogs&) = delete;

    QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& start) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix, const QString& start) override;
    bool queryText(QWidget* parent, const QString& title, const QString& prompt,
                   QString& text) override;
    NotesEditorDialog::Result editNotes(NotesEditorDialog& editor, const QString& caption,
                                        const QString& notes) override;
    bool runWizard(TNewProjectForm& wizard) override;
    QString clipboardText() override;
    std::optional<WinColour> chooseColour(QWidget* parent, const QString& title,
                                          const QString& helpTopic, WinColour current) override;
    std::optional<PrintDestination> choosePrintDestination(QWidget* parent,
                                                           const PrintJob& job) override;
    std::optional<FontSpec> chooseFont(QWidget* parent, const FontSpec& current) override;
    bool enterSize(QWidget* parent, const QString& title, const QString& prompt, float& size,
                   const QString& sizeList) override;
    bool enterLength(QWidget* parent, const QString& title, const QString& prompt,
                     int32_t& millimetres, DisplayUnits units) override;
    bool editDrop(QWidget* parent, TDrop& drop, const catalogue::TPartsDatabase& catalogue,
                  DisplayUnits units, bool isNew, float pipeSize) override;
    bool editInlet(QWidget* parent, TInlet* inlet, const catalogue::TPartsDatabase& catalogue,
                   DisplayUnits units, InletValues& values) override;
    bool editPosition(QWidget* parent, Position& position, const QString& caption,
                      DisplayUnits units) override;
    std::optional<QString> selectVendorParts(QWidget* parent, catalogue::TPartsDatabase& catalogue,
                                             const QString& symbolName, float dropSize,
                                             const QString& assigned,
                                             const QString& appDir) override;
    std::optional<QString> selectUserParts(QWidget* parent, catalogue::UserPartsDatabase& userParts,
                                           catalogue::TPartsDatabase& catalogue,
                                           const QString& symbolName, const QString& assigned,
                                           const QString& connectingSize,
                                           const QString& appDir) override;

private:
    std::unique_ptr<SettingsStore> m_ownSettings;
    SettingsStore& m_settings;
    // The size, drop and inlet windows are made on first use and reused, so
    // that each keeps what it remembers between uses. A window's parent may
    // delete it first; the guard then knows.
    QPointer<SizeEntryDialog> m_sizeEntry;
    QPointer<DropDialog> m_dropDialog;
    QPointer<InletDialog> m_inletDialog;
    QPointer<TPartSelectForm> m_partSelector;
    QPointer<TUserPartForm> m_userPartWindow;
};

} // namespace pipeloop
