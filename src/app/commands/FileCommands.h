#pragma once

// The File menu's project commands and the project information entries:
// new (with the wizard and the elbow import), open, recent projects, save,
// save as, the save question, and the header texts and notes. Each asks
// through AppDialogs and Ui() and changes the design only through the
// document, so tests answer every question from a script.

#include "DesignCommands.h"
#include "RecentFiles.h"

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

namespace pipeloop
{

class AbandonedCopy;
class AppDialogs;
class Document;
class NotesEditorDialog;
class SettingsStore;
class TNewProjectForm;
namespace catalogue
{
class TPartsDatabase;
}
using catalogue::TPartsDatabase;

class FileCommands : public QObject
{
    Q_OBJECT
public:
    // window is the parent of the dialogs; the wizard and the notes editor
    // are made once, as its children.
    FileCommands(Document& document, AppDialogs& dialogs, TPartsDatabase& catalogue,
                 QWidget* window);

    TNewProjectForm& wizard() const { return *m_wizard; }
    NotesEditorDialog& notesEditor() const { return *m_notesEditor; }
    const RecentFiles& recentFiles() const { return m_recentFiles; }
    void loadRecentFiles(const SettingsStore& settings);

    // True when the design may be replaced: nothing unsaved, or saved, or
    // the user said No. Yes with a save that did not happen asks again.
    bool querySaveChanges();
    // New Pipe Loop Project and New Compressor House.
    void newProject(bool compressorHouse);
    // Open Project: the open dialog, then open().
    void openProject();
    void openRecent(int index);
    // Every way of opening a project comes here (Open, Recent Projects, the
    // command line): the file's checks, the save question, the load. A
    // refusal or a No leaves the open design as it was.
    bool open(const QString& path);
    // A recovery copy opened as a project is (after the save question): it
    // carries its design's own file name and starts modified.
    bool recover(AbandonedCopy& copy);
    // Save Project: to the design's file, or as a new one.
    bool save();
    // Save Project As: always asks for the path.
    bool saveAs();
    bool saveTo(const QString& path);
    void addRecentFile(const QString& path);
    // The Recent Projects submenu: one item per recent path.
    void fillRecentMenu(QMenu* menu);

    void editProjectText(SetProjectTextCommand::Field field);
    void editProjectNotes();

signals:
    // A project came from a file (not a new one).
    void projectLoaded();
    // The project was written to path.
    void saved(const QString& path);
    void recentFilesChanged();
    // A new design whose elbows are to be entered by hand.
    void elbowEntryWanted();

private:
    bool saveWithDialog(bool fromQuery);
    bool importElbows(TPipeLoop& design, int choice);

    Document& m_document;
    AppDialogs& m_dialogs;
    TPartsDatabase& m_catalogue;
    QWidget* m_window;
    TNewProjectForm* m_wizard;
    NotesEditorDialog* m_notesEditor;
    RecentFiles m_recentFiles;
    QMenu* m_recentMenu = nullptr;
};

} // namespace pipeloop
