#include "FileCommands.h"

#include "AppDialogs.h"
#include "Document.h"
#include "ElbowList.h"
#include "NewProjectWizard.h"
#include "NotesEditor.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "Recovery.h"
#include "UiServices.h"

#include <QAction>
#include <QMenu>

namespace pipeloop
{

namespace
{

const QString ProjectFilter =
    QStringLiteral("Pipe Loop Files (*.plf);;Compressor House Files (*.cph);;All Files (*)");

std::unique_ptr<TPipeLoop> DesignFrom(const NewProjectValues& values, TPipeLoopOptions& options,
                                      bool compressorHouse)
{
    auto design = std::make_unique<TPipeLoop>(options);
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
    return design;
}

} // namespace

FileCommands::FileCommands(Document& document, AppDialogs& dialogs, TPartsDatabase& catalogue,
                           QWidget* window)
    : QObject(window), m_document(document), m_dialogs(dialogs), m_catalogue(catalogue),
      m_window(window), m_wizard(new TNewProjectForm(window)),
      m_notesEditor(new NotesEditorDialog(window))
{
    m_notesEditor->setObjectName(QStringLiteral("EditNotesForm"));
}

// ============================================================== the question

bool FileCommands::querySaveChanges()
{
    while (m_document.isModified()) {
        const QString answer =
            Ui().ask(UiServices::Kind::Information,
                     QStringLiteral("Current project changes not saved, save now ?"),
                     {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")});
        if (answer == QStringLiteral("&No"))
            return true;
        if (answer != QStringLiteral("&Yes"))
            return false; // "&Cancel", or the box went away without an answer
        // The design is about to be replaced or left: the file saved for the
        // question is not its file any more.
        if (save())
            m_document.forgetFileName();
    }
    return true;
}

// ========================================================================= new

void FileCommands::newProject(bool compressorHouse)
{
    if (!querySaveChanges())
        return;
    m_document.clearSelection();
    m_wizard->Prepare(m_catalogue, m_document.options().ShowAllSizes, compressorHouse);
    if (!m_dialogs.runWizard(*m_wizard))
        return;
    const NewProjectValues& values = m_wizard->values();
    std::unique_ptr<TPipeLoop> design = DesignFrom(values, m_document.options(), compressorHouse);
    // Imported elbows are part of the new design, not a change of it.
    const bool elbowsMade = compressorHouse || importElbows(*design, int(values.Elbows));
    m_document.adopt(std::move(design));
    if (!elbowsMade)
        emit elbowEntryWanted();
}

// The elbows of a new loop by the wizard's choice; false when there are none
// and the user is to enter them.
bool FileCommands::importElbows(TPipeLoop& design, int choice)
{
    switch (static_cast<ElbowChoice>(choice)) {
    case ElbowChoice::DefaultLoop:
        design.CreateDefaultElbows();
        return true;
    case ElbowChoice::UserDefined:
        return false;
    case ElbowChoice::ClipboardMm:
    case ElbowChoice::ClipboardMetres: {
        const double scale = choice == int(ElbowChoice::ClipboardMm) ? 1.0 : 1000.0;
        ImportElbowsFromClipboardText(design.Elbows, m_dialogs.clipboardText(), scale);
        if (!design.Elbows.empty())
            return true;
        Ui().inform(QStringLiteral(
            "No elbows loaded from clip board.\r\nYou will be required to enter elbows."));
        return false;
    }
    case ElbowChoice::FileMm:
    case ElbowChoice::FileMetres: {
        const double scale = choice == int(ElbowChoice::FileMm) ? 1.0 : 1000.0;
        const QString path =
            m_dialogs.openFileName(m_window, QStringLiteral("Import Elbows From File"),
                                   QStringLiteral("All Files (*)"), QString());
        if (!path.isEmpty()) {
            const Parsed<int> added = ImportElbowsFromFile(design.Elbows, path, scale);
            if (!added)
                Ui().error(added.error());
        }
        if (!design.Elbows.empty())
            return true;
        Ui().inform(
            QStringLiteral("No elbows loaded from file.\r\nYou will be required to enter elbows."));
        return false;
    }
    }
    return true;
}

// ======================================================================== open

void FileCommands::openProject()
{
    m_document.clearSelection();
    open(m_dialogs.openFileName(m_window, QStringLiteral("Open Project"), ProjectFilter,
                                m_document.fileName()));
}

void FileCommands::openRecent(int index)
{
    m_document.clearSelection();
    open(m_recentFiles.at(index));
}

bool FileCommands::open(const QString& path)
{
    if (path.isEmpty())
        return false;
    // The file's own checks run before the save question, so a refused file
    // never puts the open design at risk.
    if (!m_document.open(path, [this] { return querySaveChanges(); }))
        return false;
    addRecentFile(path);
    emit projectLoaded();
    return true;
}

bool FileCommands::recover(AbandonedCopy& copy)
{
    if (!copy.recoverInto(m_document, [this] { return querySaveChanges(); }))
        return false;
    emit projectLoaded();
    return true;
}

// ======================================================================== save

bool FileCommands::save()
{
    if (!m_document.design())
        return false;
    if (!m_document.fileName().isEmpty())
        return saveTo(m_document.fileName());
    return saveAs();
}

bool FileCommands::saveAs()
{
    const TPipeLoop* design = m_document.design();
    if (!design)
        return false;
    const bool house = design->CompressorHouse;
    const QString path = m_dialogs.saveFileName(
        m_window, QStringLiteral("Save Project"),
        house ? QStringLiteral("Compressor House Files (*.cph)")
              : QStringLiteral("Pipe Loop Files (*.plf)"),
        house ? QStringLiteral("cph") : QStringLiteral("plf"), m_document.fileName());
    return !path.isEmpty() && saveTo(path);
}

bool FileCommands::saveTo(const QString& path)
{
    if (!m_document.design())
        return false;
    // On the list before writing, so that a failed save can be retried from it.
    addRecentFile(path);
    if (!m_document.save(path))
        return false;
    emit saved(path);
    return true;
}

// ============================================================ recent projects

void FileCommands::loadRecentFiles(const SettingsStore& settings)
{
    m_recentFiles.Load(settings);
    if (m_recentMenu)
        fillRecentMenu(m_recentMenu);
    emit recentFilesChanged();
}

void FileCommands::addRecentFile(const QString& path)
{
    m_recentFiles.Add(path);
    if (m_recentMenu)
        fillRecentMenu(m_recentMenu);
    emit recentFilesChanged();
}

void FileCommands::fillRecentMenu(QMenu* menu)
{
    m_recentMenu = menu;
    const QList<QAction*> items = menu->actions();
    // Items are reused and never removed: the list only grows, up to its capacity.
    for (int i = 0; i < m_recentFiles.count(); ++i) {
        QAction* item = i < items.size() ? items[i] : nullptr;
        if (!item) {
            item = menu->addAction(QString());
            item->setObjectName(QStringLiteral("moRecent%1").arg(i + 1));
            connect(item, &QAction::triggered, this,
                    [this, item] { openRecent(item->data().toInt()); });
        }
        // Ampersands in paths are text, not accelerators.
        item->setText(QString(m_recentFiles.at(i)).replace(u'&', QStringLiteral("&&")));
        item->setData(i);
    }
}

// ======================================================== project information

void FileCommands::editProjectText(SetProjectTextCommand::Field field)
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    QString title;
    QString prompt;
    switch (field) {
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
    QString text = SetProjectTextCommand::FieldOf(*design, field);
    if (m_dialogs.queryText(m_window, title, prompt, text))
        m_document.push(new SetProjectTextCommand(*design, field, text));
}

void FileCommands::editProjectNotes()
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    const NotesEditorDialog::Result result = m_dialogs.editNotes(
        *m_notesEditor, QStringLiteral("Project Notes"), design->Notes.join(u'\n'));
    if (!result.accepted || !result.changed)
        return;
    QString text = result.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    m_document.push(new SetNotesCommand(*design, text.split(u'\n')));
}

} // namespace pipeloop
