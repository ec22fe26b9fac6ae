#include "MainForm.h"

#include "AboutWindow.h"
#include "AirFlowForm.h"
#include "AirSupplyForm.h"
#include "Autosave.h"
#include "Canvas.h"
#include "DBBrowseForm.h"
#include "DataExchangeForm.h"
#include "DateForm.h"
#include "DesignView.h"
#include "DisclaimerWindow.h"
#include "DisplayCommands.h"
#include "DrawingArea.h"
#include "DropViewPanel.h"
#include "EditCommands.h"
#include "EditRules.h"
#include "EnterElbowsTool.h"
#include "FileCommands.h"
#include "HelpCommands.h"
#include "HelpTopics.h"
#include "LanguageFile.h"
#include "LessonCaptions.h"
#include "LessonForm.h"
#include "MainCommands.h"
#include "NewProjectWizard.h"
#include "NotesEditor.h"
#include "PartsDatabase.h"
#include "PartsListForm.h"
#include "PipeLoop.h"
#include "PrintSetupForm.h"
#include "PromptSession.h"
#include "Rounding.h"
#include "SettingsStore.h"
#include "ToolManager.h"
#include "UiServices.h"
#include "UpdateCheck.h"
#include "UserPartForm.h"
#include "UserParts.h"
#include "View3DForm.h"
#include "ViewMath.h"
#include "WindowToolHost.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace pipeloop
{

namespace
{

const QString Title = QStringLiteral("PIPELOOP");
const QString CatalogueFile = QStringLiteral("zavoza.pldbcab");
const QString DrawingPopup = QStringLiteral("pmDrawing");
const QString DropViewPopup = QStringLiteral("pmDropView");
const QString UserPartsFile = QStringLiteral("UserPartsFile");
const QString AutoSaveInterval = QStringLiteral("AutoSaveInterval"); // seconds; 0: none
const QString LastView = QStringLiteral("LastView");
const QString PlaceLeft = QStringLiteral("MainFormLeft");
const QString PlaceTop = QStringLiteral("MainFormTop");
const QString PlaceWidth = QStringLiteral("MainFormWidth");
const QString PlaceHeight = QStringLiteral("MainFormHeight");
const QString PlaceMaximised = QStringLiteral("MainFormMaximised");

constexpr int MinimumWidth = 750;
constexpr int MinimumHeight = 450;
constexpr std::array<int, 6> StatusWidths{75, 100, 100, 100, 100, 100};

// The panel in the pipe colour, its size written in black or white,
// whichever stands out: a legend must stay readable on navy as on yellow.
QString ColourStyle(WinColour colour)
{
    const QColor c = ToQColor(colour);
    // Perceived brightness (ITU-R BT.601 weights), 0..255.
    const int brightness = (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000;
    const QString text = brightness < 128 ? QStringLiteral("white") : QStringLiteral("black");
    return QStringLiteral("background-color: %1; color: %2; border: 1px solid gray;")
        .arg(c.name(), text);
}

// The window's place, moved onto the nearest screen when too little of its
// top (where it is dragged from) shows on any: a screen unplugged since, or
// settings brought from another machine, must not lose the window.
QRect OnAScreen(QRect place)
{
    constexpr int Grip = 40;
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return place;
    const QRect top(place.topLeft(), QSize(place.width(), Grip));
    const QScreen* nearest = screens.front();
    int nearestDistance = INT_MAX;
    for (const QScreen* screen : screens) {
        const QRect shown = screen->availableGeometry().intersected(top);
        if (shown.width() >= Grip && shown.height() >= Grip / 2)
            return place;
        const int distance =
            (screen->availableGeometry().center() - place.center()).manhattanLength();
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = screen;
        }
    }
    const QRect area = nearest->availableGeometry();
    place.setSize(place.size().boundedTo(area.size()));
    place.moveTopLeft({std::clamp(place.left(), area.left(), area.right() - place.width() + 1),
                       std::clamp(place.top(), area.top(), area.bottom() - place.height() + 1)});
    return place;
}

} // namespace

// ============================================================== creation step

TMainForm::TMainForm(SettingsStore& settings, AppDialogs& dialogs, const QString& appDir,
                     QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_appDir(appDir),
      m_partsDatabase(std::make_unique<TPartsDatabase>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Title);
    InstallHelpKey(*this, [] { return QString::fromLatin1(topic::Contents); });
    m_caption = Title;
    if (!m_appDir.endsWith(u'/') && !m_appDir.endsWith(u'\\'))
        m_appDir += u'/';

    // The windows made once at start, in their order.
    m_files = new FileCommands(m_document, dialogs, *m_partsDatabase, this);
    m_autosave = new Autosave(m_document, *m_files, this);
    m_aboutForm = new TAboutForm(this);
    m_prompt = new PromptSession(this);
    m_partsListForm = new TZAVOZAPartsListForm(dialogs, m_appDir, SystemDocumentOpener(),
                                               SystemMailOpener(), this);
    m_dataExchangeForm = new TDataExchangeForm(dialogs, this);
    m_printSetupForm = new TPrintSetupForm(dialogs, this);
    m_dbBrowseForm = new TDBBrowseForm(dialogs, SystemDocumentOpener(), this);
    m_lessonForm = new TLessonForm(this);
    m_airFlowForm = new TAirFlowForm(this);
    m_optionsForm = new TOptionsForm(dialogs, this);
    m_printSetupForm->SetOpenOptions([this](const std::function<void()>& repaintPreview) {
        editOptions(OptionsPage::Print, repaintPreview);
    });
    m_dialogs = &dialogs;

    m_view = new DesignView(m_document, this);
    m_dropView = new DropViewPanel(m_document);
    m_display = new DisplayCommands(m_document, dialogs, this);
    m_edits = new EditCommands(m_document, dialogs, *m_partsDatabase, m_appDir, this);
    m_view3DForm = new TView3DForm(m_document, dialogs, this);
    m_airSupplyForm = new TAirSupplyForm(m_document, dialogs, *m_partsDatabase, this);
    m_updateCheck = new UpdateCheck(this);
    m_toolHost = std::make_unique<WindowToolHost>(m_document, *m_partsDatabase, dialogs, this,
                                                  *m_view, *m_dropView, *m_prompt);
    m_tools = new ToolManager(*m_toolHost, this);

    createPanels();
    AddMainCommands(m_commands, *this);
    m_commands.build(menuBar(), m_toolBar, m_symbolPanel, this, [this] { refreshCommands(); });
    m_files->fillRecentMenu(m_commands.menu(QStringLiteral("muRecentProjects")));
    createLayout();
    createStatusBar();
    findLessons();

    const QString welcome = m_appDir + QStringLiteral("welcome.jpg");
    if (QFileInfo::exists(welcome))
        m_welcomeImage.load(welcome, "JPG"); // a picture that fails to load stays null
    m_view->setWelcomePictures(m_welcomeImage, m_logoImage);
    sizeFromWelcomePicture();

    connectDrawingArea();
    connectSignals();
    layOutToolBar();
    refreshCommands();
}

TMainForm::~TMainForm() = default;

void TMainForm::createPanels()
{
    m_symbolPanel = new QWidget;
    m_symbolPanel->setObjectName(QStringLiteral("pnSymbolButtons"));
    m_symbolPanel->setFixedHeight(43);
    m_symbolPanel->hide();

    m_toolBar = new QWidget;
    m_toolBar->setObjectName(QStringLiteral("pnToolBar"));
    m_toolBar->setFixedHeight(31);
    for (float size : PipeColourPanelSizes) {
        auto* panel = new QLabel(QString::number(size), m_toolBar);
        panel->setObjectName(QStringLiteral("pnPipeColour%1").arg(size));
        panel->setAlignment(Qt::AlignCenter);
        panel->setFixedSize(23, 22);
        panel->setToolTip(QStringLiteral("%1mm Pipe Colour").arg(size));
        panel->hide();
        panel->installEventFilter(this); // a click chooses the size's colour
        m_colourPanels.append(panel);
    }
    m_toolBar->hide();
}

void TMainForm::createLayout()
{
    auto* viewLayout = new QVBoxLayout;
    viewLayout->setContentsMargins(0, 0, 0, 0);
    viewLayout->setSpacing(0);
    viewLayout->addWidget(m_view->captionLabel());
    viewLayout->addWidget(m_view->scrollBox(), 1);
    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(0);
    lower->addWidget(m_dropView);
    lower->addLayout(viewLayout, 1);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_symbolPanel);
    layout->addWidget(m_toolBar);
    layout->addLayout(lower, 1);
    setCentralWidget(central);
}

void TMainForm::createStatusBar()
{
    for (size_t i = 0; i < m_statusPanels.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QStringLiteral("sbPanel%1").arg(i));
        panel->setFixedWidth(StatusWidths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        if (i < 5)
            panel->setAlignment(Qt::AlignCenter);
        statusBar()->addWidget(panel);
        m_statusPanels[i] = panel;
    }
    statusBar()->setSizeGripEnabled(false);
    statusBar()->hide();
}

void TMainForm::findLessons()
{
    QMenu* tutorials = m_commands.menu(QStringLiteral("muTutorials"));
    tutorials->menuAction()->setVisible(false);
    for (QAction* item : tutorials->actions()) {
        const std::optional<LessonScript> lesson =
            ReadLessonCaptions(LessonCaptionFile(m_appDir, item->data().toInt()));
        item->setVisible(lesson.has_value());
        if (!lesson)
            continue;
        if (!lesson->title.isEmpty())
            item->setText(lesson->title);
        tutorials->menuAction()->setVisible(true);
    }
}

void TMainForm::sizeFromWelcomePicture()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(1280, 1024);
    int width = 0;
    int height = 0;
    if (!m_welcomeImage.isNull() && m_welcomeImage.height() > 0) {
        const double aspect = double(m_welcomeImage.width()) / m_welcomeImage.height();
        if (aspect >= 1) {
            width = Round(0.7 * available.width());
            height = Round(width / aspect);
        } else {
            height = Round(0.7 * available.height());
            width = Round(height * aspect);
        }
        // The menu bar and frame come on top of the picture's client area.
        height += menuBar()->sizeHint().height();
    } else {
        height = Round(0.7 * available.height());
        width = Round(0.7 * available.width());
    }
    width = std::max(width, MinimumWidth);
    height = std::max(height, MinimumHeight);
    // A fixed border until a design is open.
    setFixedSize(width, height);
    if (screen)
        move(screen->availableGeometry().center() - QPoint(width / 2, height / 2));
}

// ==================================================================== wiring

void TMainForm::connectDrawingArea()
{
    PaintBox* area = m_view->drawingArea();
    const auto pointAt = [this](const QMouseEvent* event) {
        const QPoint pixel = event->position().toPoint();
        return ToolPoint{m_view->trackMouse(pixel), pixel.x(), pixel.y()};
    };
    area->onMove = [this, pointAt](QMouseEvent* event) {
        m_tools->mouseMove(pointAt(event), event->buttons(), event->modifiers());
    };
    area->onPress = [this, pointAt](QMouseEvent* event) {
        m_tools->press(pointAt(event), event->button(), event->modifiers());
    };
    area->onRelease = [this, area, pointAt](QMouseEvent* event) {
        const bool inside = area->rect().contains(event->position().toPoint());
        m_tools->release(pointAt(event), event->button(), event->modifiers(), inside);
        // Every click in the drawing re-applies "Display Drop".
        if (event->button() == Qt::LeftButton && inside)
            m_dropView->apply();
        if (event->button() == Qt::RightButton && inside)
            openDrawingPopup(pointAt(event), event->globalPosition().toPoint());
    };
}

void TMainForm::connectSignals()
{
    connect(&m_document, &Document::designChanged, this, &TMainForm::designChanged);
    connect(&m_document, &Document::selectionChanged, this, &TMainForm::selectionChanged);
    connect(&m_document, &Document::optionsChanged, this, [this] {
        applyPipeColourPanels();
        refreshCommands();
    });
    connect(&m_document, &Document::modifiedChanged, this, &TMainForm::refreshCommands);
    connect(&m_document, &Document::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_view3DForm, &TView3DForm::visibilityChanged, this, &TMainForm::refreshCommands);
    connect(m_lessonForm, &TLessonForm::visibilityChanged, this, &TMainForm::refreshCommands);
    connect(m_airSupplyForm, &TAirSupplyForm::highlightChanged, this, &TMainForm::repaintAreas);
    connect(m_view, &DesignView::zoomChanged, this, [this] {
        showZoom();
        refreshCommands();
    });
    connect(m_view, &DesignView::mouseMoved, this, [this](const Position& at) {
        const DisplayUnits units = m_document.design()->Units;
        setStatus(1, CoordinateText(at.EW, units, QStringLiteral(" EW")));
        setStatus(2, CoordinateText(at.NS, units, QStringLiteral(" NS")));
        setStatus(3, CoordinateText(at.HG, units, QString()));
    });
    connect(m_display, &DisplayCommands::changed, this, [this] {
        applyPipeColourPanels();
        m_view->update();
        refreshCommands();
    });
    connect(m_dropView, &DropViewPanel::symbolSelected, this, &TMainForm::refreshCommands);
    connect(m_dropView, &DropViewPanel::popupWanted, this, &TMainForm::openDropViewPopup);
    connect(m_files, &FileCommands::projectLoaded, this, [this] {
        m_display->setGridSpacing(m_document.options().GridSpacing);
        if (m_designsShown > 1)
            m_view->setView(ViewKind::Plan);
    });
    connect(m_files, &FileCommands::saved, this,
            [this](const QString& path) { showFileName(path); });
    connect(m_files, &FileCommands::recentFilesChanged, this, &TMainForm::refreshCommands);
    connect(m_files, &FileCommands::elbowEntryWanted, this,
            [this] { m_tools->start(std::make_unique<EnterElbowsTool>()); });
    connect(m_tools, &ToolManager::activeChanged, this, &TMainForm::refreshCommands);
    connect(m_prompt, &PromptSession::buttonPressed, m_tools, &ToolManager::promptButtonPressed);
    connect(m_prompt, &PromptSession::keyPressed, m_tools, &ToolManager::key);
}

// ============================================================ first activation

void TMainForm::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_firstActivation) {
        // Once the window is up, as its first activation.
        QTimer::singleShot(0, this, [this] { FirstActivation(m_commandLineProject); });
    }
}

void TMainForm::FirstActivation(const QString& commandLineProject)
{
    if (!m_firstActivation)
        return;
    m_firstActivation = false;

    const TLanguage& language = TLanguage::Instance();
    language.TranslateMenu(menuBar());
    language.TranslateMenu(m_commands.menu(DrawingPopup));
    language.TranslateMenu(m_commands.menu(DropViewPopup));
    language.TranslateForm(this);
    m_caption = windowTitle();
    language.TranslateForm(&m_files->wizard());
    language.TranslateForm(m_partsListForm);
    language.TranslateForm(m_dataExchangeForm);
    language.TranslateForm(m_view3DForm);
    language.TranslateForm(m_printSetupForm);
    language.TranslateForm(m_dbBrowseForm);
    language.TranslateForm(&m_dbBrowseForm->dateForm());
    language.TranslateForm(m_lessonForm);
    language.TranslateForm(m_airFlowForm);
    language.TranslateForm(m_airSupplyForm);
    language.TranslateForm(m_optionsForm);

    LoadSettings();
    m_partsDatabase->LoadContainer(m_appDir + CatalogueFile);
    for (float size : {80.0f, 110.0f, 32.0f}) {
        const auto index =
            std::find(PipeColourPanelSizes.begin(), PipeColourPanelSizes.end(), size) -
            PipeColourPanelSizes.begin();
        m_colourPanels[index]->show();
    }
    layOutToolBar();
    m_commands.action(QStringLiteral("moGeneratePipeWorkPartsList"))->setVisible(true);
    m_commands.action(QStringLiteral("moAirFlowCalculations"))->setVisible(false);
    if (m_partsDatabase->HasEntry(QStringLiteral("LOGO.JPG"))) {
        m_logoImage = m_partsDatabase->AssignPicture(QStringLiteral("LOGO.JPG"));
        m_airSupplyForm->setLogo(m_logoImage);
        m_view->setWelcomePictures(m_welcomeImage, m_logoImage);
    }
    m_commands.action(QStringLiteral("moBrowsePartsDB"))
        ->setVisible(m_partsDatabase->PartCount() > 0);
    LoadConfiguredPriceList(*m_partsDatabase, m_document.options().PartsPriceListFile);
    m_updateCheck->checkQuietly();
    refreshCommands();
    // A copy left by a crash is offered before the command line's project:
    // when it is that project's, it is the newer of the two.
    const bool recovered = m_autosave->offerRecovery();
    const bool sameProject = recovered && !m_document.fileName().isEmpty() &&
                             QFileInfo(commandLineProject).canonicalFilePath() ==
                                 QFileInfo(m_document.fileName()).canonicalFilePath();
    if (!commandLineProject.isEmpty() && QFileInfo(commandLineProject).isFile() && !sameProject)
        m_files->open(commandLineProject);
    applyPipeColourPanels();
    m_view->update();
}

void TMainForm::LoadSettings()
{
    if (!m_settings.keyExists())
        return;
    m_document.options().LoadFromRegistry(m_settings);
    m_files->notesEditor().LoadSettings(m_settings);
    m_display->setGridSpacing(m_document.options().GridSpacing);
    for (ViewKind view : AllViews) {
        m_document.zoomFactors()[size_t(view)] =
            m_settings.RegReadInt(QStringLiteral("ZoomFactor") + ViewWord(view), InitialZoomFactor);
    }
    m_view->setZoom(m_view->zoom());
    m_document.printSetup().LoadFromRegistry(m_settings);
    m_files->loadRecentFiles(m_settings);
    m_toolBarShown = m_settings.RegReadBool(QStringLiteral("ViewToolBar"), false);
    m_edits->userParts().SetUserFile(m_settings.RegReadText(UserPartsFile, QString()));
    m_autosave->setInterval(std::chrono::seconds(
        m_settings.RegReadInt(AutoSaveInterval, int32_t(DefaultAutosaveInterval.count()))));
    const int view = m_settings.RegReadInt(LastView, int(ViewKind::Plan));
    if (view >= 0 && view < int(AllViews.size()))
        m_view->setView(ViewKind(view));
    restorePlace();
    applyPipeColourPanels();
    refreshCommands();
}

void TMainForm::restorePlace()
{
    if (!m_settings.contains(PlaceLeft) || !m_settings.contains(PlaceTop))
        return;
    const QPoint topLeft(m_settings.RegReadInt(PlaceLeft, 0), m_settings.RegReadInt(PlaceTop, 0));
    const QSize size(m_settings.RegReadInt(PlaceWidth, 0), m_settings.RegReadInt(PlaceHeight, 0));
    if (size.width() >= MinimumWidth && size.height() >= MinimumHeight)
        m_restoredSize = size;
    m_restoredMaximised = m_settings.RegReadBool(PlaceMaximised, false);
    setGeometry(OnAScreen(QRect(topLeft, this->size())));
    if (m_document.design())
        applyRestoredSize();
}

void TMainForm::applyRestoredSize()
{
    if (m_restoredSize.isValid())
        setGeometry(OnAScreen(QRect(geometry().topLeft(), m_restoredSize)));
    if (m_restoredMaximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    m_restoredSize = {};
    m_restoredMaximised = false;
}

void TMainForm::savePlace()
{
    // Maximised, the window keeps the place it is restored to.
    const bool maximised = isMaximized();
    const QRect place = maximised || isFullScreen() ? normalGeometry() : geometry();
    m_settings.writeInt(PlaceLeft, place.left());
    m_settings.writeInt(PlaceTop, place.top());
    // The welcome page's size is its picture's, not the user's choice.
    if (m_designsShown > 0) {
        m_settings.writeInt(PlaceWidth, place.width());
        m_settings.writeInt(PlaceHeight, place.height());
        m_settings.writeBool(PlaceMaximised, maximised);
    }
}

void TMainForm::SaveSettings()
{
    if (m_document.options().MayUpdateRegistry()) {
        m_document.options().SaveToRegistry(m_settings);
        m_document.printSetup().SaveToRegistry(m_settings);
    }
    m_files->notesEditor().SaveSettings(m_settings);
    for (ViewKind view : AllViews)
        m_settings.writeInt(QStringLiteral("ZoomFactor") + ViewWord(view),
                            m_view->zoomFactor(view));
    m_files->recentFiles().Save(m_settings);
    if (!m_document.fileName().isEmpty())
        m_settings.writeText(QStringLiteral("LastFile"), m_document.fileName());
    m_settings.writeBool(QStringLiteral("ViewToolBar"), m_toolBarShown);
    m_settings.writeInt(LastView, int(m_view->currentView()));
    savePlace();
    catalogue::UserPartsDatabase& userParts = m_edits->userParts();
    userParts.SaveAtExit(
        [this, &userParts] { return ChooseUserPartsFile(*m_dialogs, this, userParts.UserFile()); });
    m_settings.writeText(UserPartsFile, userParts.UserFile());
    m_settings.flush();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_partsListForm && m_partsListForm->Running()) {
        // Quitting during a generation cancels it first; the window stays
        // until the generator has let go of the design.
        m_partsListForm->Cancel();
        event->ignore();
        return;
    }
    if (m_tools->active()) {
        // Closing during a tool ends the tool first; the window stays.
        m_tools->end(Tool::Ending::Close);
        event->ignore();
        return;
    }
    if (!m_files->querySaveChanges()) {
        event->ignore();
        return;
    }
    SaveSettings();
    // An orderly end leaves no copy to recover.
    m_autosave->discard();
    event->accept();
}

void TMainForm::keyPressEvent(QKeyEvent* event)
{
    if (m_tools->key(event->key()))
        return;
    QMainWindow::keyPressEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto panel = std::find(m_colourPanels.begin(), m_colourPanels.end(), watched);
        if (panel != m_colourPanels.end() && !m_tools->active()) {
            m_display->choosePipeColour(
                int(PipeColourPanelSizes[size_t(panel - m_colourPanels.begin())]));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ================================================================ window state

EditorState TMainForm::editorState() const
{
    EditorState state;
    const TPipeLoop* design = m_document.design();
    state.designOpen = design != nullptr;
    state.compressorHouse = design && design->CompressorHouse;
    DescribeSelection(m_document.selected(), state);
    state.toolActive = m_tools->active();
    state.copiedDrop = m_document.copiedDrop() != nullptr;
    state.canUndo = m_document.undoStack().canUndo();
    state.canRedo = m_document.undoStack().canRedo();
    state.modified = m_document.isModified();
    state.recentFiles = m_files->recentFiles().count();
    state.zoom = m_view->zoom();
    state.gridMark = m_display->gridMark();
    state.customGridSpacing = m_display->customGridSpacing();
    state.snapToGrid = m_document.options().SnapToGrid;
    state.displayDrop = int(m_dropView->mode());
    state.viewToolBar = m_toolBarShown;
    state.highlightElbows = m_view->highlightElbows();
    state.view3DShown = m_view3DForm->isVisible();
    state.lessonShown = m_lessonForm->isVisible();
    return state;
}

void TMainForm::openDrawingPopup(const ToolPoint& point, const QPoint& globalPosition)
{
    if (!editorState().editing())
        return;
    m_popupPoint = {m_view->snapped(point.at), point.x, point.y};
    m_commands.popUp(DrawingPopup, globalPosition);
}

void TMainForm::openDropViewPopup(const QPoint& globalPosition)
{
    if (m_commands.enabledIn(DropViewPopup, editorState()))
        m_commands.popUp(DropViewPopup, globalPosition);
}

void TMainForm::refreshCommands()
{
    m_commands.refresh(editorState());
    layOutSymbolButtons();
}

QString TMainForm::statusText(int panel) const
{
    return m_statusPanels[size_t(panel)]->text();
}

void TMainForm::setStatus(int panel, const QString& text)
{
    m_statusPanels[size_t(panel)]->setText(text);
}

// A name too long for the panel ends with a visible mark rather than a
// silent cut; the whole path is the panel's tip.
void TMainForm::showFileName(const QString& path)
{
    QLabel* panel = m_statusPanels[5];
    const QString text = path.isEmpty() ? QString() : u' ' + QFileInfo(path).fileName();
    const int room = panel->maximumWidth() - 2 * (panel->frameWidth() + panel->margin()) -
                     panel->fontMetrics().horizontalAdvance(u' ');
    panel->setText(panel->fontMetrics().elidedText(text, Qt::ElideRight, room));
    panel->setToolTip(QDir::toNativeSeparators(path));
    // The title names the project; "[*]" shows while it has unsaved changes.
    const QString name = QFileInfo(path).fileName();
    setWindowTitle(m_caption + (name.isEmpty() ? QString() : QStringLiteral(" - ") + name) +
                   QStringLiteral("[*]"));
}

void TMainForm::setToolBarShown(bool shown)
{
    m_toolBarShown = shown;
    m_toolBar->setVisible(m_document.design() && shown);
    layOutToolBar();
}

void TMainForm::showAbout()
{
    m_aboutForm->exec();
}

void TMainForm::showDisclaimer()
{
    if (!m_disclaimerForm)
        m_disclaimerForm = new TDisclaimerForm(this);
    m_disclaimerForm->exec();
}

void TMainForm::emailZelkworks()
{
    EmailZelkworks(m_updateCheck->internetDetected(), SystemMailOpener());
}

void TMainForm::toggleView3D()
{
    if (m_view3DForm->isVisible()) {
        m_view3DForm->hide();
        return;
    }
    m_view3DForm->show();
    m_view3DForm->raise();
}

void TMainForm::generatePartsList()
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    m_document.clearSelection();
    if (!m_partsDatabase->IsUsable()) {
        Ui().inform(QStringLiteral(
            "The parts database could not be loaded, no parts list generation possible."));
        return;
    }
    if (!design->CheckConnections()) {
        showSelectionStatus();
        Ui().warn(
            QStringLiteral("There are symbols not connected.\r\nThese have been highlighted."));
        return;
    }
    m_partsListForm->Open(*design, *m_partsDatabase, m_updateCheck->internetDetected(),
                          m_document.options().SupplierEMail);
    // A stop highlighted the object at fault.
    showSelectionStatus();
}

void TMainForm::browsePartsDatabase()
{
    if (m_partsDatabase->PartCount() > 0)
        m_dbBrowseForm->Open(*m_partsDatabase, m_document.options(), m_appDir);
}

PictureSource TMainForm::pictureSource() const
{
    const QWidget* area = m_view->drawingArea();
    PictureSource source;
    source.size = area->size();
    source.view = m_view->currentView();
    source.scaleX = m_view->pixelsPerMmX();
    source.scaleY = m_view->pixelsPerMmY();
    source.dpi = area->logicalDpiX();
    return source;
}

void TMainForm::exchangeData()
{
    if (TPipeLoop* design = m_document.design()) {
        m_document.clearSelection();
        m_dataExchangeForm->Open(*design, pictureSource());
    }
}

void TMainForm::copyAsBitmap()
{
    if (TPipeLoop* design = m_document.design()) {
        m_document.clearSelection();
        m_dataExchangeForm->CopyBitmap(*design, pictureSource());
    }
}

void TMainForm::copyAsMetafile()
{
    if (TPipeLoop* design = m_document.design()) {
        m_document.clearSelection();
        m_dataExchangeForm->CopyMetafile(*design, pictureSource());
    }
}

void TMainForm::airFlowCalculations()
{
    m_airFlowForm->Open();
}

void TMainForm::showLesson(int lesson)
{
    if (!m_lessonForm->openLesson(lesson, m_appDir))
        Ui().inform(QStringLiteral("One or more lesson files are missing."));
}

void TMainForm::analyseAirSupply()
{
    if (m_document.design())
        m_airSupplyForm->Open();
}

void TMainForm::printSetup()
{
    TPipeLoop* design = m_document.design();
    if (!design || !CheckPrintOutputs(AvailablePrintOutputs()))
        return;
    m_document.clearSelection();
    m_printSetupForm->SuggestPdf(SuggestedPdfPath(m_document.fileName()));
    SetPrintSetup(m_document, m_printSetupForm->Open(*design, m_document.printSetup(),
                                                     m_view->currentView(), m_logoImage));
}

PrintJob TMainForm::printJob(const QString& command) const
{
    return {command, {}, {}, SuggestedPdfPath(m_document.fileName())};
}

void TMainForm::editOptions(OptionsPage page, const std::function<void()>& afterApply)
{
    const TPipeLoopOptions before = m_document.options();
    const OptionsResult result =
        m_optionsForm->Open(m_document.options(), page, [this, afterApply] {
            repaintAreas();
            if (afterApply)
                afterApply();
        });
    KeepOptionsChange(m_document, before);
    if (result.priceListChanged && !m_document.options().PartsPriceListFile.isEmpty())
        m_partsDatabase->LoadPriceList(m_document.options().PartsPriceListFile);
    applyPipeColourPanels();
    repaintAreas();
}

void TMainForm::printView()
{
    if (TPipeLoop* design = m_document.design()) {
        m_document.clearSelection();
        RunPrintJob(*m_dialogs, this, printJob(QStringLiteral("Print View")), *design,
                    m_document.printSetup(), PrintRequest::view(*design, m_view->currentView()),
                    m_logoImage);
    }
}

void TMainForm::printAllViews()
{
    if (TPipeLoop* design = m_document.design()) {
        m_document.clearSelection();
        RunPrintJob(*m_dialogs, this, printJob(QStringLiteral("Print All Views")), *design,
                    m_document.printSetup(), PrintRequest::allViews(*design), m_logoImage);
    }
}

void TMainForm::showSelectionStatus()
{
    showSelectedLabel();
    repaintAreas();
}

void TMainForm::layOutToolBar()
{
    // From x = 4, 4 pixels between buttons and the extra gap after the
    // buttons that carry one; the visible colour panels follow 2 apart.
    int x = 4;
    for (QToolButton* button : m_commands.buttons(ButtonPanel::ToolBar)) {
        button->move(x, 4);
        x += button->width() + 4 + m_commands.find(button->objectName())->button.gapAfter;
    }
    for (QLabel* panel : std::as_const(m_colourPanels)) {
        if (panel->isHidden())
            continue;
        panel->move(x, 4);
        x += panel->width() + 2;
    }
}

void TMainForm::layOutSymbolButtons()
{
    // The visible buttons side by side from the left, in panel order.
    int x = 0;
    for (QToolButton* button : m_commands.buttons(ButtonPanel::Symbols)) {
        if (button->isHidden())
            continue;
        button->move(x, 3);
        x += button->width();
    }
}

void TMainForm::applyPipeColourPanels()
{
    const TPipeLoopOptions& options = m_document.options();
    for (size_t i = 0; i < PipeColourPanelSizes.size(); ++i)
        m_colourPanels[qsizetype(i)]->setStyleSheet(ColourStyle(options.SizePipeColours[i]));
}

void TMainForm::showZoom()
{
    if (m_document.design())
        setStatus(0, QStringLiteral("%1:1").arg(m_view->zoom()));
}

// ========================================================= the document's news

void TMainForm::repaintAreas()
{
    m_view->repaintNow();
    m_dropView->repaintNow();
}

void TMainForm::designChanged()
{
    if (m_document.design() != m_shownDesign) {
        m_shownDesign = m_document.design();
        projectOpened();
    }
    // An undone or redone label shows as a new one does.
    showSelectedLabel();
    repaintAreas();
    refreshCommands();
}

void TMainForm::selectionChanged()
{
    showSelectedLabel();
    m_dropView->showSelection();
    m_view->repaintNow();
    refreshCommands();
}

void TMainForm::showSelectedLabel()
{
    const TPipeLoopObject* selected = m_document.selected();
    setStatus(4, selected ? selected->Name : QString());
}

// A new design is shown: the window leaves its welcome state for good.
void TMainForm::projectOpened()
{
    showFileName(m_document.fileName());
    m_toolBar->setVisible(m_toolBarShown);
    layOutToolBar();
    m_view->updateGeometry();
    showZoom();
    m_view->setHint({});
    m_dropView->showOnFirstDesign();
    m_symbolPanel->show();
    statusBar()->show();
    m_view->captionLabel()->show();
    // Resizable from now on, but never smaller than the tools need.
    setMinimumSize(MinimumWidth, MinimumHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (++m_designsShown == 1)
        applyRestoredSize();
}

} // namespace pipeloop
