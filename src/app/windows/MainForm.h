#pragma once

// TMainForm: the one main window, a shell. It lays out the symbol panel, the
// tool bar, the drop view and the drawing, and owns the document, the command
// table (every menu item and button, with its rules), the tool manager (the
// drawing area's mouse and the prompts), the catalogue and the settings.
// What the commands do lives in the objects it hands out: files(), edits(),
// view(), display() and tools().

#include "CommandTable.h"
#include "Document.h"
#include "OptionsForm.h"
#include "PrintDialog.h"
#include "Tool.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

class QLabel;

namespace pipeloop
{

class AppDialogs;
class Autosave;
class DesignView;
class DisplayCommands;
class DropViewPanel;
class EditCommands;
class FileCommands;
class PromptSession;
class SettingsStore;
class TAboutForm;
class TDisclaimerForm;
class TAirFlowForm;
class TAirSupplyForm;
class TDataExchangeForm;
class TLessonForm;
class TDBBrowseForm;
struct PictureSource;
class TView3DForm;
class UpdateCheck;
class TZAVOZAPartsListForm;
class TOptionsForm;
class TPrintSetupForm;
class ToolManager;
class WindowToolHost;
namespace catalogue
{
class TPartsDatabase;
}
using catalogue::TPartsDatabase;

// The sizes of the tool bar's pipe colour panels, in their order.
inline constexpr std::array<float, 8> PipeColourPanelSizes{20, 25, 32, 40, 50, 63, 80, 110};

class TMainForm : public QMainWindow
{
    Q_OBJECT
public:
    // appDir is the program's folder (the catalogue, the welcome picture and
    // the lesson files are looked up there).
    TMainForm(SettingsStore& settings, AppDialogs& dialogs, const QString& appDir,
              QWidget* parent = nullptr);
    ~TMainForm() override;

    // --- start-up and shut-down -------------------------------------------
    // The steps of the first activation (once; later calls do nothing). The
    // window runs them itself just after it is first shown.
    void FirstActivation(const QString& commandLineProject = {});
    // The project named on the command line, opened by the first activation.
    void setCommandLineProject(const QString& path) { m_commandLineProject = path; }
    bool firstActivationDone() const { return !m_firstActivation; }
    void LoadSettings();
    void SaveSettings();

    // --- what the window holds ---------------------------------------------
    Document& document() { return m_document; }
    TPartsDatabase& partsDatabase() { return *m_partsDatabase; }
    CommandTable& commands() { return m_commands; }
    FileCommands& files() const { return *m_files; }
    // The recovery copies: main() names their folder.
    Autosave& autosave() const { return *m_autosave; }
    EditCommands& edits() const { return *m_edits; }
    DesignView& view() const { return *m_view; }
    DisplayCommands& display() const { return *m_display; }
    DropViewPanel& dropView() const { return *m_dropView; }
    ToolManager& tools() const { return *m_tools; }
    PromptSession& prompt() const { return *m_prompt; }
    // What every command's rules are applied to.
    EditorState editorState() const;
    // Where the drawing's pop-up menu was last opened (snapped to the grid):
    // its "Add" items act there.
    const ToolPoint& popupPoint() const { return m_popupPoint; }
    // The drawing's pop-up menu, as a right click in the drawing opens it
    // while no tool holds it.
    void openDrawingPopup(const ToolPoint& point, const QPoint& globalPosition);
    // The drop view's pop-up menu, while it shows a drop or an inlet and no
    // tool holds the window.
    void openDropViewPopup(const QPoint& globalPosition);

    // --- the shell's own parts ----------------------------------------------
    QString statusText(int panel) const;
    QWidget* symbolPanel() const { return m_symbolPanel; }
    QWidget* toolBarPanel() const { return m_toolBar; }
    QList<QLabel*> colourPanels() const { return m_colourPanels; }
    const QImage& logoImage() const { return m_logoImage; }
    bool toolBarShown() const { return m_toolBarShown; }
    void setToolBarShown(bool shown);
    void showAbout();
    // "EULA && Disclaimer", modal.
    void showDisclaimer();
    // "EMail Zelkworks": a message to the maker, when a connection was found.
    void emailZelkworks();
    // "Check For Update", the quiet check at start-up and the internet flag.
    UpdateCheck& updateCheck() const { return *m_updateCheck; }
    // "Generate Pipe Work Parts List": refused with an unusable catalogue and
    // with unconnected symbols (highlighted), else the parts list window.
    void generatePartsList();
    TZAVOZAPartsListForm& partsListForm() const { return *m_partsListForm; }
    // "Data Exchange" and the Edit menu's two copies: the current view as the
    // drawing area shows it, handed to the data exchange window.
    void exchangeData();
    void copyAsBitmap();
    void copyAsMetafile();
    TDataExchangeForm& dataExchangeForm() const { return *m_dataExchangeForm; }
    // "View 3D Display": shows the 3D window, or hides it when it shows.
    void toggleView3D();
    TView3DForm& view3DForm() const { return *m_view3DForm; }
    // "Print Setup": the print setup window on the design; settings it closes
    // with are an undoable change of the design when the options are saved
    // with the project, the user's own otherwise.
    void printSetup();
    // "Print View" (the current view) and "Print All Views", each one job.
    void printView();
    void printAllViews();
    TPrintSetupForm& printSetupForm() const { return *m_printSetupForm; }
    // "Browse Parts Database": the browser on the catalogue and the options.
    void browsePartsDatabase();
    TDBBrowseForm& dbBrowseForm() const { return *m_dbBrowseForm; }
    // "Air Flow Calculations" (hidden in this edition): the calculator window.
    void airFlowCalculations();
    TAirFlowForm& airFlowForm() const { return *m_airFlowForm; }
    // "Analyse Air Supply": the design's pressures in their window.
    void analyseAirSupply();
    TAirSupplyForm& airSupplyForm() const { return *m_airSupplyForm; }
    // "Print && Display Options": the options window at the page, the drawing
    // (and afterApply's window) repainted after every apply. A change of
    // options saved with the project is an undoable change of the design; a
    // newly chosen price list is loaded; the pipe colour panels follow.
    void editOptions(OptionsPage page = OptionsPage::General,
                     const std::function<void()>& afterApply = {});
    TOptionsForm& optionsForm() const { return *m_optionsForm; }
    // A Tutorials item: lesson n's window, or a message when a file of the
    // lesson is missing.
    void showLesson(int lesson);
    TLessonForm& lessonForm() const { return *m_lessonForm; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A print command's job for the print dialog: its name, a PDF beside the project.
    PrintJob printJob(const QString& command) const;
    void createPanels();
    void createLayout();
    void createStatusBar();
    void connectDrawingArea();
    void connectSignals();
    void sizeFromWelcomePicture();
    void findLessons();
    void refreshCommands();
    void layOutToolBar();
    void layOutSymbolButtons();
    void repaintAreas();
    void designChanged();
    void selectionChanged();
    void showSelectedLabel();
    void projectOpened();
    // The window where it last was, brought onto a screen; its size and
    // maximised state wait for the first design (the welcome page has a
    // fixed size).
    void restorePlace();
    void savePlace();
    void applyRestoredSize();
    void showZoom();
    void applyPipeColourPanels();
    void setStatus(int panel, const QString& text);
    // Status panel 5 and the title: the file name, or nothing for a design
    // never saved.
    void showFileName(const QString& path);
    // The selection's label and the drawing redrawn (highlights shown).
    void showSelectionStatus();
    // What the main window hands over for a picture of its current view.
    PictureSource pictureSource() const;

    SettingsStore& m_settings;
    QString m_appDir;
    QString m_commandLineProject;
    bool m_firstActivation = true;
    bool m_toolBarShown = false;
    // The window's caption as the language file gives it; the project's name
    // follows it in the title.
    QString m_caption;
    QImage m_welcomeImage;
    QImage m_logoImage;

    Document m_document;
    std::unique_ptr<TPartsDatabase> m_partsDatabase;
    // The design last shown: another one means a project was opened.
    const TPipeLoop* m_shownDesign = nullptr;
    // Designs shown since the start: the first keeps the view the window
    // was left with last time, later ones open in plan.
    int m_designsShown = 0;
    QSize m_restoredSize;
    bool m_restoredMaximised = false;
    ToolPoint m_popupPoint;
    CommandTable m_commands;
    std::unique_ptr<WindowToolHost> m_toolHost;

    // Children of the window, made once.
    FileCommands* m_files = nullptr;
    Autosave* m_autosave = nullptr;
    EditCommands* m_edits = nullptr;
    TAboutForm* m_aboutForm = nullptr;
    TDisclaimerForm* m_disclaimerForm = nullptr;
    TZAVOZAPartsListForm* m_partsListForm = nullptr;
    TDataExchangeForm* m_dataExchangeForm = nullptr;
    TView3DForm* m_view3DForm = nullptr;
    UpdateCheck* m_updateCheck = nullptr;
    TPrintSetupForm* m_printSetupForm = nullptr;
    TDBBrowseForm* m_dbBrowseForm = nullptr;
    TAirFlowForm* m_airFlowForm = nullptr;
    TAirSupplyForm* m_airSupplyForm = nullptr;
    TOptionsForm* m_optionsForm = nullptr;
    TLessonForm* m_lessonForm = nullptr;
    AppDialogs* m_dialogs = nullptr;
    PromptSession* m_prompt = nullptr;
    DesignView* m_view = nullptr;
    DropViewPanel* m_dropView = nullptr;
    DisplayCommands* m_display = nullptr;
    ToolManager* m_tools = nullptr;
    QWidget* m_symbolPanel = nullptr;
    QWidget* m_toolBar = nullptr;
    QList<QLabel*> m_colourPanels;
    std::array<QLabel*, 6> m_statusPanels{};
};

} // namespace pipeloop
