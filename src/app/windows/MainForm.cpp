#include "MainForm.h"

#include "AboutWindow.h"
#include "AppDialogs.h"
#include "DesignCommands.h"
#include "DrawingArea.h"
#include "DropViewRenderer.h"
#include "HelpTopics.h"
#include "LanguageFile.h"
#include "MsgBox.h"
#include "NewProjectWizard.h"
#include "NotesEditor.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "Rounding.h"
#include "SettingsStore.h"
#include "UiServices.h"
#include "ViewMath.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace pipeloop
{

namespace
{

const QString Title = QStringLiteral("PIPELOOP");
const QString DrawingHint = QStringLiteral("Click near symbol or elbow to select.");
const QString CatalogueFile = QStringLiteral("zavoza.pldbcab");

constexpr int MinimumWidth = 750;
constexpr int MinimumHeight = 450;
constexpr std::array<int, 6> StatusWidths{75, 100, 100, 100, 100, 100};

struct GridItem {
    const char* name;
    const char* caption;
    int spacing;
};

constexpr GridItem GridItems[] = {
    {"moGridOff", "Off", 0},
    {"moGrid10cm", "10cm Spacing", 100},
    {"moGrid25cm", "25cm Spacing", 250},
    {"moGrid50cm", "50cm Spacing", 500},
    {"moGrid1m", "1m Spacing", 1000},
    {"moGrid2m", "2m Spacing", 2000},
    {"moGrid5m", "5m Spacing", 5000},
    {"moGrid10m", "10m Spacing", 10000},
    {"moGrid1ft", "1 feet Spacing", 305},
    {"moGrid3ft", "3 feet Spacing", 914},
    {"moGrid10ft", "10 feet Spacing", 3048},
    {"moGrid30ft", "30 feet Spacing", 9144},
    {"moGrid100ft", "100 feet Spacing", 30480},
};

// Symbol buttons in panel order: hint, short caption and visibility tag.
struct SymbolButton {
    const char* hint;
    const char* caption;
    int tag;
};

constexpr SymbolButton SymbolButtons[] = {
    {"Manual Drain", "MD", 4},
    {"Automatic Drain", "AD", 4},
    {"Compressor Inlet", "IN", 4},
    {"Drop", "DR", 4},
    {"Valve", "V", 7},
    {"Pressure Gauge", "G", 1},
    {"Air Dryer", "DRY", 2},
    {"Filter", "F", 2},
    {"Filter with Automatic", "FA", 2},
    {"Lubricator", "L", 1},
    {"Regulator", "R", 1},
    {"Compressor", "C", 2},
    {"Filter Regulator Lubricator", "F+R+L", 1},
    {"1 Port Outlet", "1P", 1},
    {"2 Port Outlet", "2P", 1},
    {"4 Port Outlet", "4P", 1},
    {"Male Adapter", "MA", 1},
    {"Air Receiver", "AR", 2},
    {"Spur", "SP", 6},
    {"Vertical Drop Spur", "VSP", 6},
    {"Building Avoidance Elbow", "BAE", 4},
    {"Unconnected Pipe", "UP", 2},
    {"Building Feature", "BF", 6},
    {"Female Adapter", "FA", 1},
};

QString ColourStyle(WinColour colour)
{
    const QColor c = ToQColor(colour);
    return QStringLiteral("background-color: %1; border: 1px solid gray;").arg(c.name());
}

} // namespace

// ============================================================== creation step

TMainForm::TMainForm(SettingsStore& settings, AppDialogs& dialogs, const QString& appDir,
                     QWidget* parent)
    : QMainWindow(parent), m_settings(settings), m_dialogs(dialogs), m_appDir(appDir),
      m_partsDatabase(std::make_unique<TPartsDatabase>())
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Title);
    if (!m_appDir.endsWith(u'/') && !m_appDir.endsWith(u'\\'))
        m_appDir += u'/';

    // The windows made once at start, in their order.
    m_wizard = new TNewProjectForm(this);
    m_aboutForm = new TAboutForm(this);
    m_notesEditor = new NotesEditorDialog(this);
    m_notesEditor->setObjectName(QStringLiteral("EditNotesForm"));
    m_promptBox = new TMsgBoxForm(this);
    connect(m_promptBox, &TMsgBoxForm::buttonPressed, this, [this] { endPrompt(false); });

    createMenus();
    createSymbolPanel();
    createToolBar();
    createViewArea();
    createStatusBar();
    findLessons();

    const QString welcome = m_appDir + QStringLiteral("welcome.jpg");
    if (QFileInfo::exists(welcome))
        m_welcomeImage.load(welcome, "JPG"); // a picture that fails to load stays null
    sizeFromWelcomePicture();

    connect(&m_undoStack, &QUndoStack::cleanChanged, this, [this] { updateSaveCommands(); });
    connect(&m_undoStack, &QUndoStack::indexChanged, this, [this] {
        if (m_design && !m_design->Selected)
            setStatus(4, QString());
        // Undo and redo may change options the window shows.
        action(QStringLiteral("moSnapToGrid"))->setChecked(m_options.SnapToGrid);
        ApplyPipeColourPanels();
        repaintAreas();
    });
    updateSaveCommands();
    EnableCommands(true);
}

TMainForm::~TMainForm()
{
    // Commands refer to the design: they go first.
    m_undoStack.clear();
}

QAction* TMainForm::addItem(QMenu* menu, const QString& name, const QString& caption,
                            const QKeySequence& shortcut, bool built)
{
    auto* item = menu->addAction(caption);
    item->setObjectName(name);
    if (!shortcut.isEmpty())
        item->setShortcut(shortcut);
    m_actions.insert(name, item);
    if (!built) {
        m_notBuilt.insert(item);
        item->setEnabled(false);
    }
    return item;
}

void TMainForm::createMenus()
{
    auto addMenu = [this](QMenu* parent, const QString& name, const QString& caption) {
        QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        m_menus.insert(name, menu);
        return menu;
    };

    QMenu* file = addMenu(nullptr, QStringLiteral("muFile"), QStringLiteral("&File"));
    connect(addItem(file, "moNewPipeLoopProject", "New Pipe Loop Project", QKeySequence("Ctrl+N")),
            &QAction::triggered, this, [this] { NewProject(false); });
    connect(addItem(file, "moNewCompressorHouse", "New Compressor House", QKeySequence("Ctrl+H")),
            &QAction::triggered, this, [this] { NewProject(true); });
    connect(addItem(file, "moSaveProject", "Save Project", QKeySequence("Ctrl+S")),
            &QAction::triggered, this, [this] { Save(false); });
    connect(addItem(file, "moSaveProjectAs", "Save Project As"), &QAction::triggered, this,
            [this] { Save(true); });
    connect(addItem(file, "moOpenProject", "Open Project", QKeySequence("Ctrl+O")),
            &QAction::triggered, this, [this] { OpenProject(); });
    QMenu* recent =
        addMenu(file, QStringLiteral("muRecentProjects"), QStringLiteral("Recent Projects"));
    recent->menuAction()->setVisible(false);
    file->addSeparator();
    addItem(file, "moDataExchange", "Data Exchange", {}, false);
    addItem(file, "moPrinter", "Print Setup", {}, false);
    addItem(file, "moPrintView", "Print View", QKeySequence("Ctrl+P"), false);
    addItem(file, "moPrintAllViews", "Print All Views", {}, false);
    file->addSeparator();
    connect(addItem(file, "moExit", "Exit", QKeySequence("Ctrl+X")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* view = addMenu(nullptr, QStringLiteral("muView"), QStringLiteral("&View"));
    const std::pair<const char*, ViewKind> views[] = {{"Plan", ViewKind::Plan},
                                                      {"North Section", ViewKind::North},
                                                      {"South Section", ViewKind::South},
                                                      {"East Section", ViewKind::East},
                                                      {"West Section", ViewKind::West}};
    for (const auto& [caption, kind] : views) {
        const QString name = QStringLiteral("mo") + QString::fromLatin1(caption).remove(u' ');
        connect(addItem(view, name, caption), &QAction::triggered, this,
                [this, kind] { SetView(kind); });
    }

    QMenu* zoom = addMenu(nullptr, QStringLiteral("muZoom"), QStringLiteral("&Zoom"));
    m_zoomGroup = new QActionGroup(this);
    m_zoomGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (int factor : {10, 20, 50, 100, 200}) {
        QAction* item = addItem(zoom, QStringLiteral("moZoom%1").arg(factor),
                                QStringLiteral("Zoom %1:1").arg(factor));
        item->setCheckable(true);
        item->setChecked(factor == InitialZoomFactor);
        item->setData(factor);
        m_zoomGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, factor] { SetZoom(factor); });
    }
    zoom->addSeparator();
    connect(addItem(zoom, "moZoomIn", "Zoom In", QKeySequence(Qt::Key_F2)), &QAction::triggered,
            this, [this] { ZoomBy(-5); });
    connect(addItem(zoom, "moZoomOut", "Zoom Out", QKeySequence(Qt::Key_F3)), &QAction::triggered,
            this, [this] { ZoomBy(5); });

    QMenu* grid = addMenu(nullptr, QStringLiteral("muGrid"), QStringLiteral("&Grid"));
    m_gridGroup = new QActionGroup(this);
    m_gridGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const GridItem& entry : GridItems) {
        QAction* item = addItem(grid, entry.name, entry.caption);
        item->setCheckable(true);
        item->setChecked(entry.spacing == 0);
        item->setData(entry.spacing);
        m_gridGroup->addAction(item);
        const int spacing = entry.spacing;
        connect(item, &QAction::triggered, this, [this, spacing] { SetGridSpacing(spacing); });
        if (entry.spacing == 10000 || entry.spacing == 0)
            grid->addSeparator();
    }
    grid->addSeparator();
    m_customGrid = addItem(grid, "moCustomGridSpacing", "Custom Grid Spacing");
    m_customGrid->setCheckable(true);
    m_customGrid->setData(-1);
    m_gridGroup->addAction(m_customGrid);
    connect(m_customGrid, &QAction::triggered, this, [this] { CustomGridSpacing(); });
    grid->addSeparator();
    QAction* snap = addItem(grid, "moSnapToGrid", "Snap To Grid");
    snap->setCheckable(true);
    snap->setChecked(true);
    connect(snap, &QAction::triggered, this, [this] { ToggleSnapToGrid(); });

    QMenu* edit = addMenu(nullptr, QStringLiteral("muEdit"), QStringLiteral("&Edit"));
    QAction* undo = addItem(edit, "moUndo", "Undo", QKeySequence("Ctrl+Z"));
    QAction* redo = addItem(edit, "moRedo", "Redo", QKeySequence("Ctrl+Y"));
    connect(undo, &QAction::triggered, &m_undoStack, &QUndoStack::undo);
    connect(redo, &QAction::triggered, &m_undoStack, &QUndoStack::redo);
    auto updateUndo = [this] {
        const bool usable = m_design && m_inputEnabled;
        setCommandEnabled(action(QStringLiteral("moUndo")), usable && m_undoStack.canUndo());
        setCommandEnabled(action(QStringLiteral("moRedo")), usable && m_undoStack.canRedo());
    };
    connect(&m_undoStack, &QUndoStack::canUndoChanged, this, updateUndo);
    connect(&m_undoStack, &QUndoStack::canRedoChanged, this, updateUndo);
    edit->addSeparator();
    addItem(edit, "moSelectedPosition", "Selected Position", {}, false);
    addItem(edit, "moSelectedHeight", "Selected Height", {}, false);
    addItem(edit, "moDropAttributes", "Drop Attributes", {}, false);
    addItem(edit, "moSelectedObjectLabel", "Selected Object Label", {}, false);
    addItem(edit, "moSelectedSpurPipeSize", "Selected Spur Pipe Size", {}, false);
    addItem(edit, "moDeleteSelected", "Delete Selected", QKeySequence(Qt::Key_Delete), false);
    addItem(edit, "moInletAttributes", "Inlet Attributes", {}, false);
    QMenu* info = addMenu(edit, QStringLiteral("muProjectInformation"),
                          QStringLiteral("Project Information"));
    connect(addItem(info, "moProjectDescription", "Project Description"), &QAction::triggered, this,
            [this] { EditProjectText(int(SetProjectTextCommand::Field::Description)); });
    connect(addItem(info, "moProjectCreator", "Project Creator"), &QAction::triggered, this,
            [this] { EditProjectText(int(SetProjectTextCommand::Field::CreatedBy)); });
    connect(addItem(info, "moCustomer", "Customer"), &QAction::triggered, this,
            [this] { EditProjectText(int(SetProjectTextCommand::Field::CustomerCompany)); });
    connect(addItem(info, "moProjectNotes", "Project Notes"), &QAction::triggered, this,
            [this] { EditProjectNotes(); });
    addItem(edit, "moCopyPipeloopAsBitmap", "Copy Pipeloop As Bitmap", {}, false);
    addItem(edit, "moCopyPipeloopAsMetafile", "Copy Pipeloop As Metafile", {}, false);

    QMenu* options = addMenu(nullptr, QStringLiteral("muOptions"), QStringLiteral("&Options"));
    QAction* toolBar = addItem(options, "moViewToolBar", "View Tool Bar", QKeySequence("Ctrl+T"));
    toolBar->setCheckable(true);
    connect(toolBar, &QAction::toggled, this, [this](bool) {
        m_toolBar->setVisible(m_design && action("moViewToolBar")->isChecked());
        layOutToolBar();
    });
    addItem(options, "moView3DDisplay", "View 3D Display", {}, false);
    QMenu* displayDrop =
        addMenu(options, QStringLiteral("muDisplayDrop"), QStringLiteral("Display Drop"));
    auto* dropGroup = new QActionGroup(this);
    const char* dropModes[] = {"Always", "Never", "Auto"};
    for (int mode = 0; mode < 3; ++mode) {
        QAction* item = addItem(displayDrop, QStringLiteral("moDisplayDrop") + dropModes[mode],
                                dropModes[mode]);
        item->setCheckable(true);
        item->setChecked(mode == 0);
        dropGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, mode] { SetDisplayDrop(mode); });
    }
    addItem(options, "moGeneratePipeWorkPartsList", "Generate Pipe Work Parts List",
            QKeySequence("Ctrl+G"), false);
    addItem(options, "moAirFlowCalculations", "Air Flow Calculations", {}, false);
    QAction* highlight =
        addItem(options, "moHighlightElbows", "Highlight Elbows", QKeySequence("Ctrl+E"));
    highlight->setCheckable(true);
    connect(highlight, &QAction::toggled, this, [this](bool) { repaintAreas(); });
    addItem(options, "moPrintDisplayOptions", "Print && Display Options", {}, false);
    addItem(options, "moBrowsePartsDB", "Browse Parts Database", {}, false);

    QMenu* help = addMenu(nullptr, QStringLiteral("muHelp"), QStringLiteral("&Help"));
    QAction* contents = addItem(help, "moHelpContents", "Help Contents", {}, HelpAvailable());
    connect(contents, &QAction::triggered, this, [] { ShowHelpTopic(QStringLiteral("Contents")); });
    addItem(help, "moHelpTopics", "Help Topics", {}, false);
    addItem(help, "moEULA", "EULA && Disclaimer", {}, false);
    addItem(help, "moEMail", "EMail Zelkworks", {}, false);
    addItem(help, "moCheckForUpdate", "Check For Update", {}, false);
    connect(addItem(help, "moAbout", "About"), &QAction::triggered, this,
            [this] { m_aboutForm->exec(); });

    QMenu* tutorials =
        addMenu(nullptr, QStringLiteral("muTutorials"), QStringLiteral("&Tutorials"));
    const char* lessons[] = {"1. Creating a new project",
                             "2. Using the tool bar",
                             "3. Adding drops, inlets, spurs && drains",
                             "4. Adding drop symbols and part numbers",
                             "5. Printing Projects",
                             "6. Generate Parts List"};
    for (int i = 0; i < 6; ++i) {
        QAction* item =
            addItem(tutorials, QStringLiteral("moLesson%1").arg(i + 1), lessons[i], {}, false);
        item->setData(i + 1);
        item->setVisible(false);
    }
    tutorials->menuAction()->setVisible(false);
}

void TMainForm::findLessons()
{
    for (QAction* item : m_menus.value(QStringLiteral("muTutorials"))->actions()) {
        const QString path = m_appDir + QStringLiteral("lesson%1.txt").arg(item->data().toInt());
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        item->setVisible(true);
        const QString first = QString::fromLatin1(file.readLine()).trimmed();
        if (!first.isEmpty())
            item->setText(first);
        m_menus.value(QStringLiteral("muTutorials"))->menuAction()->setVisible(true);
    }
}

void TMainForm::createSymbolPanel()
{
    m_symbolPanel = new QWidget;
    m_symbolPanel->setObjectName(QStringLiteral("pnSymbolButtons"));
    m_symbolPanel->setFixedHeight(43);
    for (const SymbolButton& entry : SymbolButtons) {
        auto* button = new QToolButton(m_symbolPanel);
        button->setText(QString::fromLatin1(entry.caption));
        // Named for the language file: "sb" and the hint without its blanks.
        button->setObjectName(QStringLiteral("sb") + QString::fromLatin1(entry.hint).remove(u' '));
        button->setToolTip(QString::fromLatin1(entry.hint));
        button->setProperty("tag", entry.tag);
        const int textWidth = button->fontMetrics().horizontalAdvance(button->text()) + 12;
        button->setFixedSize(std::max(37, textWidth), 37);
        // Placing objects comes with the editing tools; until then the
        // buttons show which tools a selection offers, and do nothing.
        button->setEnabled(false);
        m_symbolButtons.append(button);
    }
    m_symbolPanel->hide();
}

void TMainForm::createToolBar()
{
    m_toolBar = new QWidget;
    m_toolBar->setObjectName(QStringLiteral("pnToolBar"));
    m_toolBar->setFixedHeight(31);
    struct Entry {
        const char* name;
        const char* hint;
        QStyle::StandardPixmap icon;
        const char* text;
        int extraGap;
        bool built;
    };
    const Entry entries[] = {
        {"sbSaveProject", "Save Project", QStyle::SP_DialogSaveButton, "", 0, true},
        {"sbOpenProject", "Open Project", QStyle::SP_DialogOpenButton, "", 0, true},
        {"sbNewProject", "New Project", QStyle::SP_FileIcon, "", 0, true},
        {"sbPrintView", "Print View", QStyle::SP_CustomBase, "P", 8, false},
        {"sbZoomIn", "Zoom In", QStyle::SP_CustomBase, "+", 0, true},
        {"sbZoomOut", "Zoom Out", QStyle::SP_CustomBase, "-", 0, true},
        {"sbDeleteSelection", "Delete Selection", QStyle::SP_CustomBase, "X", 0, false},
        {"sbEditSize", "Edit Pipe or Outlet Size", QStyle::SP_CustomBase, "S", 0, false},
        {"sbEditHeight", "Edit Height", QStyle::SP_CustomBase, "H", 0, false},
        {"sbEditLabel", "Edit Object Label", QStyle::SP_CustomBase, "L", 8, false},
    };
    for (const Entry& entry : entries) {
        auto* button = new QToolButton(m_toolBar);
        button->setObjectName(QString::fromLatin1(entry.name));
        button->setToolTip(QString::fromLatin1(entry.hint));
        if (entry.icon != QStyle::SP_CustomBase)
            button->setIcon(style()->standardIcon(entry.icon));
        else
            button->setText(QString::fromLatin1(entry.text));
        button->setFixedSize(23, 22);
        button->setProperty("tag", entry.extraGap);
        button->setProperty("built", entry.built);
        button->setEnabled(entry.built);
        button->setAutoRaise(true);
        m_toolButtons.append(button);
        m_buttons.insert(button->objectName(), button);
    }
    connect(m_buttons["sbSaveProject"], &QToolButton::clicked, this, [this] { Save(false); });
    connect(m_buttons["sbOpenProject"], &QToolButton::clicked, this, [this] { OpenProject(); });
    connect(m_buttons["sbNewProject"], &QToolButton::clicked, this, [this] { NewProject(false); });
    connect(m_buttons["sbZoomIn"], &QToolButton::clicked, this, [this] { ZoomBy(-10); });
    connect(m_buttons["sbZoomOut"], &QToolButton::clicked, this, [this] { ZoomBy(10); });
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

void TMainForm::layOutToolBar()
{
    // From x = 4, 4 pixels between buttons and 8 more after the buttons
    // that carry the extra gap; the visible colour panels follow 2 apart.
    int x = 4;
    for (QToolButton* button : m_toolButtons) {
        button->move(x, 4);
        x += button->width() + 4 + button->property("tag").toInt();
    }
    for (QLabel* panel : m_colourPanels) {
        if (panel->isHidden())
            continue;
        panel->move(x, 4);
        x += panel->width() + 2;
    }
}

void TMainForm::createViewArea()
{
    m_dropPanel = new QWidget;
    m_dropPanel->setObjectName(QStringLiteral("pnDropView"));
    m_dropPanel->setFixedWidth(80);
    m_dropCaption = new QLabel;
    m_dropCaption->setObjectName(QStringLiteral("lbDropView"));
    m_dropViewBox = new PaintBox(QStringLiteral("pbDropView"));
    m_dropViewBox->onPaint = [this](QPainter& painter) { paintDropView(painter); };
    m_dropViewBox->onPress = [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton && event->modifiers() == Qt::NoModifier)
            SelectDropSymbolAt(event->position().toPoint());
    };
    auto* dropLayout = new QVBoxLayout(m_dropPanel);
    dropLayout->setContentsMargins(0, 0, 0, 0);
    dropLayout->setSpacing(0);
    dropLayout->addWidget(m_dropCaption);
    dropLayout->addWidget(m_dropViewBox, 1);
    m_dropPanel->hide();

    m_viewCaption = new QLabel;
    m_viewCaption->setObjectName(QStringLiteral("lbViewCaption"));
    m_viewCaption->hide();
    m_drawing = new PaintBox(QStringLiteral("pbPipeLoop"));
    m_drawing->onPaint = [this](QPainter& painter) { paintDrawing(painter); };
    m_drawing->onMove = [this](QMouseEvent* event) { MouseMoveAt(event->position().toPoint()); };
    m_drawing->onPress = [this](QMouseEvent* event) {
        MousePressAt(event->position().toPoint(), event->button(), event->modifiers());
    };
    m_drawing->onRelease = [this](QMouseEvent* event) {
        if (event->button() == Qt::LeftButton &&
            m_drawing->rect().contains(event->position().toPoint()))
            ClickAt(event->position().toPoint());
    };
    m_scrollBox = new QScrollArea;
    m_scrollBox->setObjectName(QStringLiteral("sbPipeLoop"));
    m_scrollBox->setWidget(m_drawing);
    m_scrollBox->setWidgetResizable(false);
    m_scrollBox->setBackgroundRole(QPalette::Dark);
    m_scrollBox->viewport()->installEventFilter(this);

    auto* viewLayout = new QVBoxLayout;
    viewLayout->setContentsMargins(0, 0, 0, 0);
    viewLayout->setSpacing(0);
    viewLayout->addWidget(m_viewCaption);
    viewLayout->addWidget(m_scrollBox, 1);
    auto* lower = new QHBoxLayout;
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(0);
    lower->addWidget(m_dropPanel);
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
    language.TranslateForm(this);
    language.TranslateForm(m_wizard);

    LoadSettings();
    m_partsDatabase->LoadContainer(m_appDir + CatalogueFile);
    for (float size : {80.0f, 110.0f, 32.0f}) {
        const auto index =
            std::find(PipeColourPanelSizes.begin(), PipeColourPanelSizes.end(), size) -
            PipeColourPanelSizes.begin();
        m_colourPanels[index]->show();
    }
    layOutToolBar();
    action(QStringLiteral("moGeneratePipeWorkPartsList"))->setVisible(true);
    action(QStringLiteral("moAirFlowCalculations"))->setVisible(false);
    if (m_partsDatabase->HasEntry(QStringLiteral("LOGO.JPG")))
        m_logoImage = m_partsDatabase->AssignPicture(QStringLiteral("LOGO.JPG"));
    action(QStringLiteral("moBrowsePartsDB"))->setVisible(m_partsDatabase->PartCount() > 0);
    loadPriceList();
    EnableCommands(true);
    if (!commandLineProject.isEmpty() && QFileInfo(commandLineProject).isFile())
        LoadProjectFile(commandLineProject);
    ApplyPipeColourPanels();
    m_drawing->update();
}

void TMainForm::loadPriceList()
{
    const QString path = m_options.PartsPriceListFile;
    if (path.isEmpty())
        return;
    QString text;
    if (!QFileInfo::exists(path))
        text = QStringLiteral("Cannot find parts price list file : ") + path;
    else if (TPartsDatabase::IsPriceListFile(path)) {
        m_partsDatabase->LoadPriceList(path);
        return;
    } else
        text = QStringLiteral("Parts price list file invalid :\r\n") + path;
    const QString answer =
        Ui().ask(UiServices::Kind::Warning, text,
                 {QStringLiteral("&Ignore"), QStringLiteral("&Remove"), QStringLiteral("&Help")},
                 QStringLiteral("PriceListFileErrorHelp"));
    if (answer == QStringLiteral("&Remove"))
        m_options.PartsPriceListFile.clear();
}

void TMainForm::LoadSettings()
{
    if (!m_settings.keyExists())
        return;
    m_options.LoadFromRegistry(m_settings);
    m_notesEditor->LoadSettings(m_settings);
    SetGridSpacing(m_options.GridSpacing);
    action(QStringLiteral("moSnapToGrid"))->setChecked(m_options.SnapToGrid);
    for (ViewKind view : AllViews) {
        m_zoomFactors[size_t(view)] =
            m_settings.RegReadInt(QStringLiteral("ZoomFactor") + ViewWord(view), InitialZoomFactor);
    }
    SetZoom(m_zoomFactors[size_t(m_currentView)]);
    m_printSetup.LoadFromRegistry(m_settings);
    m_recentFiles.Load(m_settings);
    refreshRecentMenu();
    action(QStringLiteral("moViewToolBar"))
        ->setChecked(m_settings.RegReadBool(QStringLiteral("ViewToolBar"), false));
    ApplyPipeColourPanels();
}

void TMainForm::SaveSettings()
{
    if (m_options.MayUpdateRegistry()) {
        m_options.SaveToRegistry(m_settings);
        m_printSetup.SaveToRegistry(m_settings);
    }
    m_notesEditor->SaveSettings(m_settings);
    for (ViewKind view : AllViews)
        m_settings.writeInt(QStringLiteral("ZoomFactor") + ViewWord(view),
                            m_zoomFactors[size_t(view)]);
    m_recentFiles.Save(m_settings);
    if (!m_fileName.isEmpty())
        m_settings.writeText(QStringLiteral("LastFile"), m_fileName);
    m_settings.writeBool(QStringLiteral("ViewToolBar"),
                         action(QStringLiteral("moViewToolBar"))->isChecked());
    m_settings.flush();
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_promptLoop) {
        // Closing during a prompt ends the prompt first; the window stays.
        endPrompt(false);
        event->ignore();
        return;
    }
    if (!QuerySaveChanges()) {
        event->ignore();
        return;
    }
    SaveSettings();
    event->accept();
}

// ================================================================ window state

QAction* TMainForm::action(const QString& name) const
{
    return m_actions.value(name);
}

QMenu* TMainForm::menu(const QString& name) const
{
    return m_menus.value(name);
}

QString TMainForm::statusText(int panel) const
{
    return m_statusPanels[size_t(panel)]->text();
}

QString TMainForm::viewCaption() const
{
    return m_viewCaption->text();
}

void TMainForm::setStatus(int panel, const QString& text)
{
    m_statusPanels[size_t(panel)]->setText(text);
}

bool TMainForm::isModified() const
{
    return m_design && !m_undoStack.isClean();
}

void TMainForm::updateSaveCommands()
{
    const bool modified = m_design && !m_undoStack.isClean();
    // Shown disabled during a prompt, but the state is the stack's.
    action(QStringLiteral("moSaveProject"))->setEnabled(modified && m_inputEnabled);
    m_buttons.value(QStringLiteral("sbSaveProject"))->setEnabled(modified && m_inputEnabled);
}

void TMainForm::setCommandEnabled(QAction* item, bool enabled)
{
    if (item)
        item->setEnabled(enabled && !m_notBuilt.contains(item));
}

void TMainForm::setButtonEnabled(QToolButton* button, bool enabled)
{
    if (button)
        button->setEnabled(enabled && button->property("built").toBool());
}

namespace
{

// Every action of a menu and of its submenus.
QList<QAction*> AllActions(const QMenu* menu)
{
    QList<QAction*> all;
    for (QAction* item : menu->actions()) {
        if (item->isSeparator())
            continue;
        if (item->menu())
            all += AllActions(item->menu());
        else
            all.append(item);
    }
    return all;
}

} // namespace

void TMainForm::EnableCommands(bool enabled)
{
    const bool open = m_design != nullptr;
    const bool withDesign = open && enabled;
    if (enabled)
        m_drawing->setToolTip(open ? DrawingHint : QString());
    m_inputEnabled = enabled;
    // The items themselves, not only their menus: a shortcut (Ctrl+N during
    // a prompt) must not run a command the menu shows disabled.
    for (const char* name : {"muFile", "muOptions", "muHelp"}) {
        QMenu* menu = m_menus.value(QString::fromLatin1(name));
        menu->menuAction()->setEnabled(enabled);
        for (QAction* item : AllActions(menu))
            setCommandEnabled(item, enabled);
    }
    for (const char* name : {"muView", "muZoom", "muGrid", "muEdit"}) {
        QMenu* menu = m_menus.value(QString::fromLatin1(name));
        menu->menuAction()->setEnabled(withDesign);
        for (QAction* item : AllActions(menu))
            setCommandEnabled(item, withDesign);
    }
    for (const char* name : {"moPrintView", "moPrinter", "moPrintAllViews", "moDataExchange",
                             "moGeneratePipeWorkPartsList", "moAirFlowCalculations",
                             "moHighlightElbows", "moView3DDisplay", "moSaveProjectAs"})
        setCommandEnabled(action(QString::fromLatin1(name)), withDesign);
    m_menus.value(QStringLiteral("muDisplayDrop"))->menuAction()->setEnabled(withDesign);
    for (QAction* item : AllActions(m_menus.value(QStringLiteral("muDisplayDrop"))))
        setCommandEnabled(item, withDesign);
    setCommandEnabled(action(QStringLiteral("moUndo")), withDesign && m_undoStack.canUndo());
    setCommandEnabled(action(QStringLiteral("moRedo")), withDesign && m_undoStack.canRedo());
    for (const char* name : {"sbPrintView", "sbZoomIn", "sbZoomOut"})
        setButtonEnabled(m_buttons.value(QString::fromLatin1(name)), withDesign);
    for (const char* name : {"sbOpenProject", "sbNewProject"})
        setButtonEnabled(m_buttons.value(QString::fromLatin1(name)), enabled);
    m_symbolPanel->setEnabled(withDesign);
    const bool sections = withDesign && !m_design->CompressorHouse;
    for (const char* name : {"moNorthSection", "moSouthSection", "moEastSection", "moWestSection"})
        setCommandEnabled(action(QString::fromLatin1(name)), sections);
    if (enabled && open && m_showDropViewOnOpen) {
        m_showDropViewOnOpen = false;
        m_dropPanel->show();
    }
    updateSaveCommands();
    if (withDesign)
        UpdateSelectionCommands();
}

void TMainForm::UpdateSelectionCommands()
{
    const TPipeLoopObject* selected = m_design ? m_design->Selected : nullptr;
    m_dropCaption->setText(DropViewCaption(selected));
    const auto is = [selected](ObjectKind kind) { return selected && selected->Kind() == kind; };
    setCommandEnabled(action(QStringLiteral("moSelectedPosition")), selected != nullptr);
    setCommandEnabled(action(QStringLiteral("moSelectedObjectLabel")), selected != nullptr);
    setCommandEnabled(action(QStringLiteral("moDeleteSelected")), selected != nullptr);
    setCommandEnabled(action(QStringLiteral("moSelectedHeight")),
                      is(ObjectKind::Drop) || is(ObjectKind::Drain));
    setCommandEnabled(action(QStringLiteral("moDropAttributes")), is(ObjectKind::Drop));
    setCommandEnabled(action(QStringLiteral("moSelectedSpurPipeSize")), is(ObjectKind::Spur));
    setCommandEnabled(action(QStringLiteral("moInletAttributes")), is(ObjectKind::Inlet));
    setButtonEnabled(m_buttons.value(QStringLiteral("sbDeleteSelection")), selected != nullptr);
    setButtonEnabled(m_buttons.value(QStringLiteral("sbEditLabel")), selected != nullptr);
    setButtonEnabled(m_buttons.value(QStringLiteral("sbEditHeight")),
                     is(ObjectKind::Drop) || is(ObjectKind::Drain));
    setButtonEnabled(m_buttons.value(QStringLiteral("sbEditSize")),
                     !selected || is(ObjectKind::Drop) || is(ObjectKind::Spur) ||
                         is(ObjectKind::Inlet) || is(ObjectKind::Drain));
    UpdateSymbolButtons();
}

void TMainForm::UpdateSymbolButtons()
{
    const TPipeLoopObject* selected = m_design ? m_design->Selected : nullptr;
    int mask = 4;
    if (m_design && m_design->CompressorHouse)
        mask = 2;
    else if (selected &&
             (selected->Kind() == ObjectKind::Drop || selected->Kind() == ObjectKind::Inlet))
        mask = 1;
    int x = 0;
    for (QToolButton* button : m_symbolButtons) {
        const bool visible = (button->property("tag").toInt() & mask) != 0;
        button->setVisible(visible);
        if (visible) {
            button->move(x, 3);
            x += button->width();
        }
    }
}

void TMainForm::ClearSelection(TPipeLoopObject* mark)
{
    if (!m_design)
        return;
    m_design->Deselect();
    m_design->ClearStates();
    if (mark)
        m_design->Highlight(*mark);
    setStatus(4, QString());
    repaintAreas();
    UpdateSelectionCommands();
}

void TMainForm::ProjectOpened(const QString& path)
{
    m_fileName = path;
    setStatus(5, path.isEmpty() ? QString() : u' ' + QFileInfo(path).fileName());
    m_toolBar->setVisible(action(QStringLiteral("moViewToolBar"))->isChecked());
    layOutToolBar();
    UpdateViewGeometry();
    EnableCommands(true);
    UpdateSelectionCommands();
    m_symbolPanel->show();
    statusBar()->show();
    m_viewCaption->show();
    // Resizable from now on, but never smaller than the tools need.
    setMinimumSize(MinimumWidth, MinimumHeight);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void TMainForm::ApplyPipeColourPanels()
{
    for (size_t i = 0; i < PipeColourPanelSizes.size(); ++i)
        m_colourPanels[qsizetype(i)]->setStyleSheet(ColourStyle(m_options.SizePipeColours[i]));
}

void TMainForm::ChoosePipeColour(int sizeMm)
{
    const auto& sizes = TPipeLoopOptions::ColourSizes;
    const auto at = std::find(sizes.begin(), sizes.end(), sizeMm);
    if (at == sizes.end())
        return;
    const bool bySize = m_options.PipeColourOption() == PipeColourScheme::BySize;
    if (!bySize &&
        !Ui().confirm(QStringLiteral("You do not have the pipe size colours option set.\r\n"
                                     "Do you want to set this option and change the colour ?")))
        return;
    const WinColour current = m_options.SizePipeColours[size_t(at - sizes.begin())];
    const std::optional<WinColour> chosen =
        m_dialogs.chooseColour(this, QStringLiteral("%1mm Pipe Colour").arg(sizeMm),
                               QStringLiteral("PipeColours"), current);
    if (!chosen)
        return;
    if ((*chosen & 0xFFFFFF) == 0xFFFFFF) {
        Ui().inform(QStringLiteral("Pipe colour cannot be white."));
        return;
    }
    auto command = std::make_unique<SetPipeColourCommand>(m_options, float(sizeMm), *chosen);
    // Options saved with the project are part of the design: the change is
    // then an undoable change of it. Otherwise they are the user's own.
    if (m_design && m_options.Saved && (!bySize || *chosen != current)) {
        Perform(command.release());
    } else {
        command->redo();
        ApplyPipeColourPanels();
        repaintAreas();
    }
}

// ==================================================================== changes

void TMainForm::Perform(QUndoCommand* command)
{
    m_undoStack.push(command); // runs the command; the stack leaves its clean state
    repaintAreas();
}

void TMainForm::MarkModified(bool changed)
{
    if (!changed)
        return;
    // A change made outside a command cannot be undone: no undo step may
    // bring the design back to its saved state.
    if (m_design)
        m_undoStack.resetClean();
    repaintAreas();
}

void TMainForm::repaintAreas()
{
    // At once, as the user's change is seen; not a deferred update.
    if (m_drawing->isVisible())
        m_drawing->repaint();
    else
        m_drawing->update();
    if (m_dropViewBox->isVisible())
        m_dropViewBox->repaint();
}

void TMainForm::replaceDesign(std::unique_ptr<TPipeLoop> design)
{
    // Commands refer to the old design: they go before it does.
    m_undoStack.clear();
    m_design = std::move(design);
}

} // namespace pipeloop
