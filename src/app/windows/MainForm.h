#pragma once

// TMainForm: the one main window. It owns the options, the catalogue and the
// open design, and keeps its handlers short: each calls one of the public
// operations below, which tests drive directly.

#include "ModelTypes.h"
#include "PipeLoopOptions.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "RecentFiles.h"

#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QSet>
#include <QUndoStack>

#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QEventLoop;
class QLabel;
class QMenu;
class QScrollArea;
class QToolButton;

namespace pipeloop
{

class AppDialogs;
class NotesEditorDialog;
class PaintBox;
class SettingsStore;
class TAboutForm;
class TMsgBoxForm;
class TNewProjectForm;
namespace catalogue
{
class TPartsDatabase;
}
using catalogue::TPartsDatabase;
class TPipeLoop;
class TPipeLoopObject;

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

    // --- state ------------------------------------------------------------
    TPipeLoop* design() const { return m_design.get(); }
    TPipeLoopOptions& options() { return m_options; }
    TPartsDatabase& partsDatabase() { return *m_partsDatabase; }
    QUndoStack& undoStack() { return m_undoStack; }
    const RecentFiles& recentFiles() const { return m_recentFiles; }
    const QString& fileName() const { return m_fileName; }
    // The modified state: the Save command's enabled state.
    bool isModified() const;
    ViewKind currentView() const { return m_currentView; }
    int zoomFactor(ViewKind view) const { return m_zoomFactors[size_t(view)]; }
    double pixelsPerMmX() const { return m_pixelsPerMmX; }
    double pixelsPerMmY() const { return m_pixelsPerMmY; }
    Position mousePosition() const { return m_mousePosition; }
    bool inputEnabled() const { return m_inputEnabled; }
    QString statusText(int panel) const;
    QString viewCaption() const;
    PaintBox* drawingArea() const { return m_drawing; }
    PaintBox* dropView() const { return m_dropViewBox; }
    QWidget* dropViewPanel() const { return m_dropPanel; }
    QScrollArea* scrollBox() const { return m_scrollBox; }
    TNewProjectForm& wizard() const { return *m_wizard; }
    TMsgBoxForm* promptBox() const { return m_promptBox; }
    bool waitingForLocation() const { return m_promptLoop != nullptr; }
    QAction* action(const QString& name) const;
    QMenu* menu(const QString& name) const;
    QWidget* symbolPanel() const { return m_symbolPanel; }
    QWidget* toolBarPanel() const { return m_toolBar; }
    const QImage& logoImage() const { return m_logoImage; }

    // --- design changes ---------------------------------------------------
    // The one entry point of every change: runs the command, keeps it for
    // Undo, and repaints the drawing and the drop view at once.
    void Perform(QUndoCommand* command);
    // Repaints both areas at once (changed) after a change made elsewhere.
    void MarkModified(bool changed);

    // --- commands (file and project) ---------------------------------------
    bool QuerySaveChanges();
    void NewProject(bool compressorHouse);
    void OpenProject();
    void OpenRecentProject(int index);
    // Save (saveAs false) and Save As; fromQuery is the save question's use.
    bool Save(bool saveAs, bool fromQuery = false);
    // The one way a project is opened (Open, Recent Projects, the command
    // line): the file's checks, the save question, the load; true when the
    // project is open.
    bool LoadProjectFile(const QString& path);
    bool SaveProjectFile(const QString& path);
    void AddRecentFile(const QString& path);
    void EditProjectText(int field); // SetProjectTextCommand::Field
    void EditProjectNotes();

    // --- views ----------------------------------------------------------------
    void UpdateViewGeometry();
    void SetView(ViewKind view);
    void SetZoom(int factor);
    // Zoom In (negative step) and Zoom Out (positive step, only while the
    // drawing does not fit the visible area).
    void ZoomBy(int step);
    void SetGridSpacing(int spacing);
    void CustomGridSpacing();
    void ToggleSnapToGrid();
    void SetDisplayDrop(int mode); // 0 Always, 1 Never, 2 Auto
    void ApplyDisplayDrop();

    // --- the drawing area's mouse ------------------------------------------------
    void MouseMoveAt(QPoint pixel);
    void MousePressAt(QPoint pixel, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // A left-button press in the drop view: the symbol under it becomes the
    // selected drop's or inlet's selected symbol.
    void SelectDropSymbolAt(QPoint pixel);
    // A press and release of the left button on the drawing area.
    void ClickAt(QPoint pixel);
    // The mouse wheel over the window; true when it scrolled.
    bool WheelScroll(int wheelDelta, Qt::KeyboardModifiers modifiers);
    Position SnapPosition() const;

    // --- prompts ----------------------------------------------------------------
    bool WaitForLocation(const QString& title, const QString& message, bool keepPosition,
                         TPipeLoopObject* mark = nullptr, const QString& multiple = {});
    void EnterElbows();

    // --- window state ----------------------------------------------------------------
    void EnableCommands(bool enabled);
    void UpdateSelectionCommands();
    void UpdateSymbolButtons();
    void ClearSelection(TPipeLoopObject* mark = nullptr);
    void ProjectOpened(const QString& path);
    void ApplyPipeColourPanels();
    // A click on a pipe colour panel: the colour of that size (20 ... 110).
    void ChoosePipeColour(int sizeMm);
    QList<QLabel*> colourPanels() const { return m_colourPanels; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    void createToolBar();
    void createSymbolPanel();
    void createStatusBar();
    void createViewArea();
    void sizeFromWelcomePicture();
    void findLessons();
    QAction* addItem(QMenu* menu, const QString& name, const QString& caption,
                     const QKeySequence& shortcut = {}, bool built = true);
    void setCommandEnabled(QAction* action, bool enabled);
    void setButtonEnabled(QToolButton* button, bool enabled);
    void paintDrawing(QPainter& painter);
    void paintDropView(QPainter& painter);
    void fitWelcomeArea();
    void layOutToolBar();
    void repaintAreas();
    void replaceDesign(std::unique_ptr<TPipeLoop> design);
    void makeElbows(int choice);
    void importElbowsFromFile(double scale);
    void loadPriceList();
    void setStatus(int panel, const QString& text);
    void updateSaveCommands();
    void refreshRecentMenu();
    void endPrompt(bool clicked);

    SettingsStore& m_settings;
    AppDialogs& m_dialogs;
    QString m_appDir;
    QString m_commandLineProject;

    // State of the window.
    std::unique_ptr<TPipeLoop> m_design;
    TPipeLoopOptions m_options;
    PrintSetup m_printSetup;
    std::unique_ptr<TPartsDatabase> m_partsDatabase;
    ViewKind m_currentView = ViewKind::Plan;
    ZoomFactors m_zoomFactors = InitialZoomFactors;
    double m_pixelsPerMmX = 0.0;
    double m_pixelsPerMmY = 0.0;
    QString m_fileName;
    bool m_firstActivation = true;
    bool m_inputEnabled = true;
    bool m_locationClicked = false;
    QPoint m_mouseDownPoint;
    Position m_mousePosition{-1, -1, -1};
    bool m_showDropViewOnOpen = true;
    RecentFiles m_recentFiles;
    QImage m_welcomeImage;
    QImage m_logoImage;
    int m_displayDrop = 0;
    bool m_paintDetached = false;
    QUndoStack m_undoStack;

    // Windows made once and reused.
    TNewProjectForm* m_wizard = nullptr;
    NotesEditorDialog* m_notesEditor = nullptr;
    TAboutForm* m_aboutForm = nullptr;
    TMsgBoxForm* m_promptBox = nullptr;
    QEventLoop* m_promptLoop = nullptr;

    // Controls.
    QHash<QString, QAction*> m_actions;
    QHash<QString, QMenu*> m_menus;
    QSet<QAction*> m_notBuilt; // items whose commands come with later work
    QActionGroup* m_zoomGroup = nullptr;
    QActionGroup* m_gridGroup = nullptr;
    QAction* m_customGrid = nullptr;
    int m_customGridSpacing = 0;
    QWidget* m_symbolPanel = nullptr;
    QList<QToolButton*> m_symbolButtons;
    QWidget* m_toolBar = nullptr;
    QList<QToolButton*> m_toolButtons;
    QList<QLabel*> m_colourPanels;
    QHash<QString, QToolButton*> m_buttons;
    QWidget* m_dropPanel = nullptr;
    QLabel* m_dropCaption = nullptr;
    PaintBox* m_dropViewBox = nullptr;
    QLabel* m_viewCaption = nullptr;
    QScrollArea* m_scrollBox = nullptr;
    PaintBox* m_drawing = nullptr;
    std::array<QLabel*, 6> m_statusPanels{};
};

} // namespace pipeloop
