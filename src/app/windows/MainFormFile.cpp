// The main window's file and project commands, and the prompt that waits for
// a click in the drawing area.

#include "MainForm.h"

#include "AppDialogs.h"
#include "DesignCommands.h"
#include "DrawingArea.h"
#include "ElbowList.h"
#include "MsgBox.h"
#include "NewProjectWizard.h"
#include "NotesEditor.h"
#include "PipeLoop.h"
#include "UiServices.h"
#include "ViewMath.h"

#include <QAction>
#include <QEventLoop>
#include <QFileInfo>
#include <QMenu>

namespace pipeloop
{

namespace
{

const QString ProjectFilter =
    QStringLiteral("Pipe Loop Files (*.plf);;Compressor House Files (*.cph);;All Files (*)");

} // namespace

// ============================================================== file commands

bool TMainForm::QuerySaveChanges()
{
    if (m_promptLoop)
        return false; // the design is being edited by a prompt
    while (isModified()) {
        const QString answer =
            Ui().ask(UiServices::Kind::Information,
                     QStringLiteral("Current project changes not saved, save now ?"),
                     {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")});
        if (answer == QStringLiteral("&No"))
            return true;
        if (answer != QStringLiteral("&Yes"))
            return false; // "&Cancel", or the box went away without an answer
        Save(false, true);
    }
    return true;
}

void TMainForm::NewProject(bool compressorHouse)
{
    if (m_promptLoop || !QuerySaveChanges())
        return;
    ClearSelection();
    m_wizard->Prepare(*m_partsDatabase, m_options.ShowAllSizes, compressorHouse);
    if (!m_dialogs.runWizard(*m_wizard))
        return;
    const NewProjectValues& values = m_wizard->values();
    auto design = std::make_unique<TPipeLoop>(m_options);
    design->Units = values.Units;
    design->RoomEW = values.RoomEW;
    design->RoomNS = values.RoomNS;
    design->RoomHG = values.RoomHG;
    design->Height = values.Height;
    design->PipeSize = values.PipeSize;
    design->PipeColour = values.Colour;
    design->DefaultOutletSize = values.DefaultOutletSize;
    design->Description = values.Description;
    design->CreatedBy = values.CreatedBy;
    design->CustomerCompany = values.CustomerCompany;
    design->CompressorHouse = compressorHouse;
    replaceDesign(std::move(design));
    m_fileName.clear();
    if (!compressorHouse) {
        UpdateViewGeometry();
        makeElbows(int(values.Elbows));
    }
    UpdateSymbolButtons();
    ProjectOpened(QString());
    // A new design starts unsaved: no undo step leads back to "not modified".
    MarkModified(true);
}

void TMainForm::makeElbows(int choice)
{
    switch (static_cast<ElbowChoice>(choice)) {
    case ElbowChoice::DefaultLoop:
        m_design->CreateDefaultElbows();
        return;
    case ElbowChoice::ClipboardMm:
    case ElbowChoice::ClipboardMetres: {
        const double scale = choice == int(ElbowChoice::ClipboardMm) ? 1.0 : 1000.0;
        ImportElbowsFromClipboardText(m_design->Elbows, m_dialogs.clipboardText(), scale);
        if (m_design->Elbows.empty()) {
            Ui().inform(QStringLiteral(
                "No elbows loaded from clip board.\r\nYou will be required to enter elbows."));
            EnterElbows();
        }
        return;
    }
    case ElbowChoice::UserDefined:
        EnterElbows();
        return;
    case ElbowChoice::FileMm:
        importElbowsFromFile(1.0);
        return;
    case ElbowChoice::FileMetres:
        importElbowsFromFile(1000.0);
        return;
    }
}

void TMainForm::importElbowsFromFile(double scale)
{
    const QString path = m_dialogs.openFileName(this, QStringLiteral("Import Elbows From File"),
                                                QStringLiteral("All Files (*)"), QString());
    if (!path.isEmpty()) {
        const Parsed<int> added = ImportElbowsFromFile(m_design->Elbows, path, scale);
        if (!added)
            Ui().error(added.error());
    }
    if (m_design->Elbows.empty()) {
        Ui().inform(
            QStringLiteral("No elbows loaded from file.\r\nYou will be required to enter elbows."));
        EnterElbows();
    }
}

void TMainForm::OpenProject()
{
    if (m_promptLoop)
        return;
    ClearSelection();
    const QString start = m_fileName.isEmpty() ? QString() : m_fileName;
    const QString path =
        m_dialogs.openFileName(this, QStringLiteral("Open Project"), ProjectFilter, start);
    LoadProjectFile(path);
}

void TMainForm::OpenRecentProject(int index)
{
    ClearSelection();
    LoadProjectFile(m_recentFiles.at(index));
}

// Every way of opening a project comes here. The file's own checks (header,
// version, damage) run before the user is asked about unsaved changes, so a
// refused file never puts the open design at risk; a refusal or a No leaves
// the window as it was.
bool TMainForm::LoadProjectFile(const QString& path)
{
    if (path.isEmpty() || m_promptLoop)
        return false;
    ProjectLoad load = pipeloop::OpenProject(path, m_options, m_printSetup, m_zoomFactors,
                                             [this] { return QuerySaveChanges(); });
    if (!load)
        return false;
    AddRecentFile(path);
    m_undoStack.clear(); // before the design its commands refer to goes
    const bool optionsTaken = load.OptionsTaken;
    const bool lineEndingsChanged = load.LineEndingsChanged;
    load.Apply(m_design, m_options, m_printSetup, m_zoomFactors);
    if (optionsTaken)
        ApplyPipeColourPanels();
    SetZoom(m_zoomFactors[size_t(m_currentView)]);
    SetGridSpacing(m_options.GridSpacing);
    action(QStringLiteral("moSnapToGrid"))->setChecked(m_options.SnapToGrid);
    ProjectOpened(path);
    UpdateSymbolButtons();
    SetView(ViewKind::Plan);
    updateSaveCommands();
    // The file on disk is not what a save writes: Save restores its line ends.
    MarkModified(lineEndingsChanged);
    repaintAreas();
    return true;
}

bool TMainForm::Save(bool saveAs, bool fromQuery)
{
    if (!m_design)
        return false;
    bool written = false;
    if (!m_fileName.isEmpty() && !saveAs) {
        written = SaveProjectFile(m_fileName);
    } else {
        const bool house = m_design->CompressorHouse;
        const QString path = m_dialogs.saveFileName(
            this, QStringLiteral("Save Project"),
            house ? QStringLiteral("Compressor House Files (*.cph)")
                  : QStringLiteral("Pipe Loop Files (*.plf)"),
            house ? QStringLiteral("cph") : QStringLiteral("plf"), m_fileName);
        if (path.isEmpty())
            return false;
        written = SaveProjectFile(path);
    }
    if (fromQuery && written)
        m_fileName.clear();
    return written;
}

bool TMainForm::SaveProjectFile(const QString& path)
{
    if (!m_design)
        return false;
    // On the list before writing, so that a failed save can be retried from it.
    AddRecentFile(path);
    if (!SaveProject(*m_design, m_options, m_printSetup, m_zoomFactors, path))
        return false;
    m_undoStack.setClean();
    updateSaveCommands();
    m_fileName = path;
    setStatus(5, u' ' + QFileInfo(path).fileName());
    return true;
}

void TMainForm::AddRecentFile(const QString& path)
{
    m_recentFiles.Add(path);
    refreshRecentMenu();
}

void TMainForm::refreshRecentMenu()
{
    QMenu* recent = m_menus.value(QStringLiteral("muRecentProjects"));
    QList<QAction*> items = recent->actions();
    for (int i = 0; i < m_recentFiles.count(); ++i) {
        QAction* item = nullptr;
        if (i < items.size()) {
            item = items[i];
        } else {
            item = recent->addAction(QString());
            item->setObjectName(QStringLiteral("moRecent%1").arg(i + 1));
            connect(item, &QAction::triggered, this,
                    [this, item] { OpenRecentProject(item->data().toInt()); });
        }
        // Ampersands in paths are text, not accelerators.
        item->setText(QString(m_recentFiles.at(i)).replace(u'&', QStringLiteral("&&")));
        item->setData(i);
    }
    if (m_recentFiles.count() > 0)
        recent->menuAction()->setVisible(true);
}

void TMainForm::EditProjectText(int field)
{
    if (!m_design)
        return;
    const auto which = static_cast<SetProjectTextCommand::Field>(field);
    QString title;
    QString prompt;
    switch (which) {
    case SetProjectTextCommand::Field::Description:
        title = QStringLiteral("Project Description");
        prompt = QStringLiteral("Enter project description :");
        break;
    case SetProjectTextCommand::Field::CreatedBy:
        title = QStringLiteral("Project Creator");
        prompt = QStringLiteral("Enter project creator :");
        break;
    case SetProjectTextCommand::Field::CustomerCompany:
        title = QStringLiteral("Customer");
        prompt = QStringLiteral("Enter customer reference :");
        break;
    }
    QString text = SetProjectTextCommand::FieldOf(*m_design, which);
    if (!m_dialogs.queryText(this, title, prompt, text))
        return;
    if (text != SetProjectTextCommand::FieldOf(*m_design, which))
        Perform(new SetProjectTextCommand(*m_design, which, text));
}

void TMainForm::EditProjectNotes()
{
    if (!m_design)
        return;
    const NotesEditorDialog::Result result = m_dialogs.editNotes(
        *m_notesEditor, QStringLiteral("Project Notes"), m_design->Notes.join(u'\n'));
    if (!result.accepted || !result.changed)
        return;
    QString text = result.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (lines == m_design->Notes)
        return;
    Perform(new SetNotesCommand(*m_design, lines));
}

// ==================================================================== prompts

bool TMainForm::WaitForLocation(const QString& title, const QString& message, bool keepPosition,
                                TPipeLoopObject* mark, const QString& multiple)
{
    if (m_promptLoop)
        return false; // one prompt at a time
    ClearSelection(mark);
    m_locationClicked = false;
    const QString savedHint = m_drawing->toolTip();
    m_drawing->setToolTip(message);
    EnableCommands(false);

    const bool several = !multiple.isEmpty();
    const QString text =
        several ? message + QStringLiteral("\r\n\nSelect [&Done] when finished adding ") +
                      multiple + u'.'
                : message;
    m_promptBox->setMessage(title, text,
                            {several ? QStringLiteral("&Done") : QStringLiteral("&Cancel")});
    m_promptBox->setKeepPosition(keepPosition);
    m_promptBox->showModeless();

    QEventLoop loop;
    m_promptLoop = &loop;
    loop.exec();
    m_promptLoop = nullptr;

    m_promptBox->dismiss();
    m_drawing->setToolTip(savedHint);
    EnableCommands(true);
    return m_locationClicked;
}

void TMainForm::endPrompt(bool clicked)
{
    if (!clicked)
        m_locationClicked = false;
    if (m_promptLoop)
        m_promptLoop->quit();
}

void TMainForm::EnterElbows()
{
    if (!m_design)
        return;
    QAction* highlight = action(QStringLiteral("moHighlightElbows"));
    const bool highlighted = highlight->isChecked();
    highlight->setChecked(true);
    SetView(ViewKind::Plan);
    m_dropPanel->hide();
    m_showDropViewOnOpen = false;
    m_displayDrop = 1;
    action(QStringLiteral("moDisplayDropNever"))->setChecked(true);

    // One undo step for the whole entry, opened at the first elbow so that
    // an entry that adds nothing leaves no step behind.
    bool stepOpen = false;
    bool keepPosition = false;
    while (WaitForLocation(QStringLiteral("ADD ELBOWS"),
                           QStringLiteral("Position each elbow with a mouse click."), keepPosition,
                           nullptr, QStringLiteral("elbows"))) {
        keepPosition = true;
        if (!m_design)
            break;
        if (!stepOpen) {
            m_undoStack.beginMacro(tr("Enter elbows"));
            stepOpen = true;
        }
        Position at = SnapPosition();
        at.HG = m_design->Height;
        Perform(new AddElbowCommand(*m_design, at));
    }
    if (m_design && m_design->Elbows.empty()) {
        Ui().inform(QStringLiteral("No elbows added, elbows will default to building dimensions."));
        if (!stepOpen) {
            m_undoStack.beginMacro(tr("Enter elbows"));
            stepOpen = true;
        }
        Perform(new DefaultLoopCommand(*m_design));
    }
    if (stepOpen)
        m_undoStack.endMacro();
    highlight->setChecked(highlighted);
    repaintAreas();
}

} // namespace pipeloop
