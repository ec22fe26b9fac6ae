#include "MainCommands.h"

#include "AddFeatureTool.h"
#include "AddOnPipeTools.h"
#include "AddPipeTool.h"
#include "Additions.h"
#include "AvoidanceTool.h"
#include "CommandTable.h"
#include "DesignView.h"
#include "DisplayCommands.h"
#include "Document.h"
#include "DropSymbols.h"
#include "DropViewPanel.h"
#include "EditCommands.h"
#include "FileCommands.h"
#include "HelpTopics.h"
#include "MainForm.h"
#include "PipeLoopObjects.h"
#include "ToolManager.h"
#include "UpdateCheck.h"
#include "ViewMath.h"

#include <QRegularExpression>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <tuple>
#include <vector>

namespace pipeloop
{

namespace
{

bool Input(const EditorState& s)
{
    return s.input();
}

bool Editing(const EditorState& s)
{
    return s.editing();
}

bool DesignOpen(const EditorState& s)
{
    return s.designOpen;
}

bool Selection(const EditorState& s)
{
    return s.selection();
}

StateRule SelectionIs(std::initializer_list<ObjectKind> kinds)
{
    return [kinds = std::vector<ObjectKind>(kinds)](const EditorState& s) {
        return std::any_of(kinds.begin(), kinds.end(),
                           [&s](ObjectKind kind) { return s.selectionIs(kind); });
    };
}

CommandRow Item(const char* menu, const char* id, const char* caption, StateRule enabled,
                std::function<void()> handler = {}, const QKeySequence& shortcut = {})
{
    CommandRow row;
    row.menu = QString::fromLatin1(menu);
    row.id = QString::fromLatin1(id);
    row.caption = QString::fromLatin1(caption);
    row.enabled = std::move(enabled);
    row.handler = std::move(handler);
    row.shortcut = shortcut;
    return row;
}

ButtonRow ToolButton(const char* name, const char* hint, int slot, const char* text,
                     QStyle::StandardPixmap icon = QStyle::SP_CustomBase, int gapAfter = 0)
{
    ButtonRow button;
    button.panel = ButtonPanel::ToolBar;
    button.name = QString::fromLatin1(name);
    button.hint = QString::fromLatin1(hint);
    button.text = QString::fromLatin1(text);
    button.icon = icon;
    button.slot = slot;
    button.gapAfter = gapAfter;
    return button;
}

CommandRow ButtonOnly(ButtonRow button, StateRule enabled, std::function<void()> handler = {})
{
    CommandRow row;
    row.button = std::move(button);
    row.enabled = std::move(enabled);
    row.handler = std::move(handler);
    return row;
}

void AddFileMenu(CommandTable& table, TMainForm& form)
{
    FileCommands& files = form.files();
    table.addMenu({"muFile", "", "&File", Input, {}});
    CommandRow newProject = Item(
        "muFile", "moNewPipeLoopProject", "New Pipe Loop Project", Input,
        [&files] { files.newProject(false); }, QKeySequence("Ctrl+N"));
    newProject.button = ToolButton("sbNewProject", "New Project", 3, "", QStyle::SP_FileIcon);
    table.add(newProject);
    table.add(Item(
        "muFile", "moNewCompressorHouse", "New Compressor House", Input,
        [&files] { files.newProject(true); }, QKeySequence("Ctrl+H")));
    CommandRow save = Item(
        "muFile", "moSaveProject", "Save Project",
        [](const EditorState& s) { return s.input() && s.modified; }, [&files] { files.save(); },
        QKeySequence("Ctrl+S"));
    save.button = ToolButton("sbSaveProject", "Save Project", 1, "", QStyle::SP_DialogSaveButton);
    table.add(save);
    table.add(Item("muFile", "moSaveProjectAs", "Save Project As", Editing,
                   [&files] { files.saveAs(); }));
    CommandRow open = Item(
        "muFile", "moOpenProject", "Open Project", Input, [&files] { files.openProject(); },
        QKeySequence("Ctrl+O"));
    open.button = ToolButton("sbOpenProject", "Open Project", 2, "", QStyle::SP_DialogOpenButton);
    table.add(open);
    table.addMenu({"muRecentProjects", "muFile", "Recent Projects", Input,
                   [](const EditorState& s) { return s.recentFiles > 0; }});
    table.add(Separator("muFile"));
    table.add(Item("muFile", "moDataExchange", "Data Exchange", Editing,
                   [&form] { form.exchangeData(); }));
    table.add(Item("muFile", "moPrinter", "Print Setup", Editing, [&form] { form.printSetup(); }));
    CommandRow printView = Item(
        "muFile", "moPrintView", "Print View", Editing, [&form] { form.printView(); },
        QKeySequence("Ctrl+P"));
    printView.button = ToolButton("sbPrintView", "Print View", 4, "P", QStyle::SP_CustomBase, 8);
    table.add(printView);
    table.add(Item("muFile", "moPrintAllViews", "Print All Views", Editing,
                   [&form] { form.printAllViews(); }));
    table.add(Separator("muFile"));
    table.add(Item(
        "muFile", "moExit", "Exit", Input, [&form] { form.close(); }, QKeySequence("Ctrl+X")));
}

void AddViewAndZoomMenus(CommandTable& table, TMainForm& form)
{
    DesignView& view = form.view();
    table.addMenu({"muView", "", "&View", Editing, {}});
    const std::pair<const char*, ViewKind> views[] = {{"Plan", ViewKind::Plan},
                                                      {"North Section", ViewKind::North},
                                                      {"South Section", ViewKind::South},
                                                      {"East Section", ViewKind::East},
                                                      {"West Section", ViewKind::West}};
    for (const auto& [caption, kind] : views) {
        CommandRow row =
            Item("muView", "", caption, Editing, [&view, kind = kind] { view.setView(kind); });
        row.id = QStringLiteral("mo") + QString::fromLatin1(caption).remove(u' ');
        if (kind != ViewKind::Plan) // a compressor house is drawn in plan only
            row.enabled = [](const EditorState& s) { return s.editing() && !s.compressorHouse; };
        table.add(row);
    }

    // Zooming changes no design: it stays usable while a tool holds the drawing.
    table.addMenu({"muZoom", "", "&Zoom", DesignOpen, {}});
    for (int factor : {10, 20, 50, 100, 200}) {
        CommandRow row =
            Item("muZoom", "", "", DesignOpen, [&view, factor] { view.setZoom(factor); });
        row.id = QStringLiteral("moZoom%1").arg(factor);
        row.caption = QStringLiteral("Zoom %1:1").arg(factor);
        row.checked = [factor](const EditorState& s) { return s.zoom == factor; };
        row.data = factor;
        table.add(row);
    }
    table.add(Separator("muZoom"));
    table.add(
        Item("muZoom", "moZoomToFit", "Zoom To Fit", DesignOpen, [&view] { view.zoomToFit(); }));
    for (auto [id, caption, key, step] :
         {std::tuple{"moZoomIn", "Zoom In", Qt::Key_F2, -ZoomStep},
          std::tuple{"moZoomOut", "Zoom Out", Qt::Key_F3, ZoomStep}}) {
        CommandRow row = Item(
            "muZoom", id, caption, DesignOpen, [&view, step = step] { view.zoomBy(step); },
            QKeySequence(key));
        row.shortcutContext = Qt::ApplicationShortcut;
        table.add(row);
    }
    table.add(ButtonOnly(ToolButton("sbZoomIn", "Zoom In", 5, "+"), DesignOpen,
                         [&view] { view.zoomBy(-10); }));
    table.add(ButtonOnly(ToolButton("sbZoomOut", "Zoom Out", 6, "-"), DesignOpen,
                         [&view] { view.zoomBy(10); }));
}

void AddGridMenu(CommandTable& table, TMainForm& form)
{
    DisplayCommands& display = form.display();
    struct GridItem {
        const char* id;
        const char* caption;
        int spacing;
    };
    static constexpr GridItem Items[] = {
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
    table.addMenu({"muGrid", "", "&Grid", Editing, {}});
    for (const GridItem& entry : Items) {
        const int spacing = entry.spacing;
        CommandRow row = Item("muGrid", entry.id, entry.caption, Editing,
                              [&display, spacing] { display.setGridSpacing(spacing); });
        row.checked = [spacing](const EditorState& s) { return s.gridMark == spacing; };
        row.data = spacing;
        table.add(row);
        if (spacing == 0 || spacing == 10000)
            table.add(Separator("muGrid"));
    }
    table.add(Separator("muGrid"));
    CommandRow custom = Item("muGrid", "moCustomGridSpacing", "Custom Grid Spacing", Editing,
                             [&display] { display.askCustomGridSpacing(); });
    custom.checked = [](const EditorState& s) {
        return s.customGridSpacing != 0 && s.gridMark == s.customGridSpacing;
    };
    table.add(custom);
    table.add(Separator("muGrid"));
    Document& document = form.document();
    CommandRow snap =
        Item("muGrid", "moSnapToGrid", "Snap To Grid", Editing,
             [&display, &document] { display.setSnapToGrid(!document.options().SnapToGrid); });
    snap.checked = [](const EditorState& s) { return s.snapToGrid; };
    table.add(snap);
}

void AddEditMenu(CommandTable& table, TMainForm& form)
{
    Document& document = form.document();
    FileCommands& files = form.files();
    table.addMenu({"muEdit", "", "&Edit", Editing, {}});
    table.add(Item(
        "muEdit", "moUndo", "Undo", [](const EditorState& s) { return s.editing() && s.canUndo; },
        [&document] { document.undo(); }, QKeySequence("Ctrl+Z")));
    table.add(Item(
        "muEdit", "moRedo", "Redo", [](const EditorState& s) { return s.editing() && s.canRedo; },
        [&document] { document.redo(); }, QKeySequence("Ctrl+Y")));
    table.add(Separator("muEdit"));
    EditCommands& edits = form.edits();
    const StateRule dropOrDrain = SelectionIs({ObjectKind::Drop, ObjectKind::Drain});
    table.add(Item("muEdit", "moSelectedPosition", "Selected Position", Selection,
                   [&edits] { edits.editPosition(); }));
    CommandRow height = Item("muEdit", "moSelectedHeight", "Selected Height", dropOrDrain,
                             [&edits] { edits.editHeight(); });
    height.button = ToolButton("sbEditHeight", "Edit Height", 9, "H");
    table.add(height);
    table.add(Item("muEdit", "moDropAttributes", "Drop Attributes", SelectionIs({ObjectKind::Drop}),
                   [&edits] { edits.editDropAttributes(); }));
    CommandRow label = Item("muEdit", "moSelectedObjectLabel", "Selected Object Label", Selection,
                            [&edits] { edits.editLabel(); });
    label.button =
        ToolButton("sbEditLabel", "Edit Object Label", 10, "L", QStyle::SP_CustomBase, 8);
    table.add(label);
    table.add(Item("muEdit", "moSelectedSpurPipeSize", "Selected Spur Pipe Size",
                   SelectionIs({ObjectKind::Spur}), [&edits] { edits.editSize(); }));
    CommandRow remove = Item(
        "muEdit", "moDeleteSelected", "Delete Selected", Selection,
        [&edits] { edits.deleteSelected(); }, QKeySequence(Qt::Key_Delete));
    remove.button = ToolButton("sbDeleteSelection", "Delete Selection", 7, "X");
    table.add(remove);
    table.add(Item("muEdit", "moInletAttributes", "Inlet Attributes",
                   SelectionIs({ObjectKind::Inlet}), [&edits] { edits.editInletAttributes(); }));
    // Nothing selected sizes the main pipe; a selection sizes its own pipe or outlet.
    table.add(ButtonOnly(
        ToolButton("sbEditSize", "Edit Pipe or Outlet Size", 8, "S"),
        [](const EditorState& s) {
            return s.editing() &&
                   (!s.selected || s.selectionIs(ObjectKind::Drop) ||
                    s.selectionIs(ObjectKind::Spur) || s.selectionIs(ObjectKind::Inlet) ||
                    s.selectionIs(ObjectKind::Drain));
        },
        [&edits] { edits.editSize(); }));
    table.addMenu({"muProjectInformation", "muEdit", "Project Information", Editing, {}});
    using Field = SetProjectTextCommand::Field;
    for (auto [id, caption, field] :
         {std::tuple{"moProjectDescription", "Project Description", Field::Description},
          std::tuple{"moProjectCreator", "Project Creator", Field::CreatedBy},
          std::tuple{"moCustomer", "Customer", Field::CustomerCompany}})
        table.add(Item("muProjectInformation", id, caption, Editing,
                       [&files, field = field] { files.editProjectText(field); }));
    table.add(Item("muProjectInformation", "moProjectNotes", "Project Notes", Editing,
                   [&files] { files.editProjectNotes(); }));
    table.add(Item("muEdit", "moCopyPipeloopAsBitmap", "Copy Pipeloop As Bitmap", Editing,
                   [&form] { form.copyAsBitmap(); }));
    table.add(Item("muEdit", "moCopyPipeloopAsMetafile", "Copy Pipeloop As Metafile", Editing,
                   [&form] { form.copyAsMetafile(); }));
}

void AddOptionsMenu(CommandTable& table, TMainForm& form)
{
    table.addMenu({"muOptions", "", "&Options", Input, {}});
    CommandRow toolBar = Item(
        "muOptions", "moViewToolBar", "View Tool Bar", Input,
        [&form] { form.setToolBarShown(!form.toolBarShown()); }, QKeySequence("Ctrl+T"));
    toolBar.checked = [](const EditorState& s) { return s.viewToolBar; };
    table.add(toolBar);
    CommandRow view3D = Item("muOptions", "moView3DDisplay", "View 3D Display", Editing,
                             [&form] { form.toggleView3D(); });
    view3D.checked = [](const EditorState& s) { return s.view3DShown; };
    table.add(view3D);
    table.addMenu({"muDisplayDrop", "muOptions", "Display Drop", Editing, {}});
    DropViewPanel& dropView = form.dropView();
    for (auto [id, caption, mode] :
         {std::tuple{"moDisplayDropAlways", "Always", DisplayDrop::Always},
          std::tuple{"moDisplayDropNever", "Never", DisplayDrop::Never},
          std::tuple{"moDisplayDropAuto", "Auto", DisplayDrop::Auto}}) {
        CommandRow row = Item("muDisplayDrop", id, caption, Editing,
                              [&dropView, mode = mode] { dropView.setMode(mode); });
        row.checked = [mode = int(mode)](const EditorState& s) { return s.displayDrop == mode; };
        table.add(row);
    }
    table.add(Item(
        "muOptions", "moGeneratePipeWorkPartsList", "Generate Pipe Work Parts List", Editing,
        [&form] { form.generatePartsList(); }, QKeySequence("Ctrl+G")));
    table.add(Item("muOptions", "moAirFlowCalculations", "Air Flow Calculations", Editing,
                   [&form] { form.airFlowCalculations(); }));
    table.add(Item("muOptions", "moAnalyseAirSupply", "Analyse Air Supply", Editing,
                   [&form] { form.analyseAirSupply(); }));
    DesignView& view = form.view();
    CommandRow highlight = Item(
        "muOptions", "moHighlightElbows", "Highlight Elbows", Editing,
        [&view] { view.setHighlightElbows(!view.highlightElbows()); }, QKeySequence("Ctrl+E"));
    highlight.checked = [](const EditorState& s) { return s.highlightElbows; };
    table.add(highlight);
    table.add(Item("muOptions", "moPrintDisplayOptions", "Print && Display Options", Input,
                   [&form] { form.editOptions(); }));
    table.add(Item("muOptions", "moBrowsePartsDB", "Browse Parts Database", Input,
                   [&form] { form.browsePartsDatabase(); }));
}

void AddHelpMenus(CommandTable& table, TMainForm& form)
{
    table.addMenu({"muHelp", "", "&Help", Input, {}});
    // Without a help viewer the help items are shown disabled.
    std::function<void()> contents;
    std::function<void()> index;
    if (HelpAvailable()) {
        contents = [] { ShowHelpTopic(QString::fromLatin1(topic::Contents)); };
        index = [] { ShowHelpIndex(); };
    }
    table.add(Item("muHelp", "moHelpContents", "Help Contents", Input, contents));
    table.add(Item("muHelp", "moHelpTopics", "Help Topics", Input, index));
    table.add(
        Item("muHelp", "moEULA", "EULA && Disclaimer", Input, [&form] { form.showDisclaimer(); }));
    table.add(
        Item("muHelp", "moEMail", "EMail Zelkworks", Input, [&form] { form.emailZelkworks(); }));
    table.add(Item("muHelp", "moCheckForUpdate", "Check For Update", Input,
                   [&form] { form.updateCheck().checkForUpdate(); }));
    table.add(Item("muHelp", "moAbout", "About", Input, [&form] { form.showAbout(); }));

    // Shown by the lesson files found beside the program; one lesson at a
    // time.
    const StateRule noLesson = [](const EditorState& s) { return s.input() && !s.lessonShown; };
    table.addMenu({"muTutorials", "", "&Tutorials", noLesson, {}});
    const char* lessons[] = {"1. Creating a new project",
                             "2. Using the tool bar",
                             "3. Adding drops, inlets, spurs && drains",
                             "4. Adding drop symbols and part numbers",
                             "5. Printing Projects",
                             "6. Generate Parts List"};
    for (int i = 0; i < 6; ++i) {
        CommandRow row =
            Item("muTutorials", "", lessons[i], noLesson, [&form, i] { form.showLesson(i + 1); });
        row.id = QStringLiteral("moLesson%1").arg(i + 1);
        row.data = i + 1;
        table.add(row);
    }
}

// A command that starts a tool, made with these arguments each time.
template <typename T, typename... Args> std::function<void()> Starts(TMainForm& form, Args... args)
{
    return [&form, args...] { form.tools().start(std::make_unique<T>(args...)); };
}

// An "Add" item of the drawing's pop-up menu: the tool acts where the menu
// was opened.
template <typename T, typename... Args>
std::function<void()> StartsAtPopup(TMainForm& form, Args... args)
{
    return
        [&form, args...] { form.tools().start(std::make_unique<T>(args..., form.popupPoint())); };
}

// A symbol button or pop-up item that puts the symbol into the selected drop
// or inlet.
std::function<void()> AddsSymbol(TMainForm& form, const char* keyword)
{
    return [&form, keyword = QString::fromLatin1(keyword)] { form.edits().addSymbol(keyword); };
}

// The Valve button adds the symbol to a selected drop or inlet, and
// otherwise places valves on the loop.
std::function<void()> ValveCommand(TMainForm& form)
{
    return [&form, addToSelection = AddsSymbol(form, "VALVE")] {
        const TPipeLoopObject* selected = form.document().selected();
        if (!selected ||
            (selected->Kind() != ObjectKind::Drop && selected->Kind() != ObjectKind::Inlet)) {
            form.tools().start(std::make_unique<AddValveTool>());
            return;
        }
        addToSelection();
    };
}

// Symbol buttons in panel order: hint, the picture of what the button
// places, the tag that says in which designs and with which selection they
// show, and what they do. The equipment a drop or inlet takes (tag 1) shows
// only while one is selected and goes into its symbol stack.
void AddSymbolButtons(CommandTable& table, TMainForm& form)
{
    struct SymbolButton {
        const char* hint;
        ButtonPicture picture;
        int tag;
        std::function<void()> handler;
    };
    const auto tool = ButtonPicture::ofTool;
    const auto symbol = ButtonPicture::ofSymbol;
    const auto feature = [&form](const char* type) {
        return Starts<AddFeatureTool>(form, QString::fromLatin1(type));
    };
    const auto equipment = [&form](const char* keyword) { return AddsSymbol(form, keyword); };
    const SymbolButton symbols[] = {
        {"Manual Drain", tool(ToolPicture::ManualDrain), 4, Starts<AddDrainTool>(form, false)},
        {"Automatic Drain", tool(ToolPicture::AutomaticDrain), 4, Starts<AddDrainTool>(form, true)},
        {"Compressor Inlet", tool(ToolPicture::Inlet), 4, Starts<AddInletTool>(form)},
        {"Drop", tool(ToolPicture::Drop), 4, Starts<AddDropTool>(form)},
        {"Valve", symbol(Symbol::Valve), 7, ValveCommand(form)},
        {"Pressure Gauge", symbol(Symbol::Gauge), 1, equipment("GAUGE")},
        {"Air Dryer", symbol(Symbol::Dryer), 2, feature("DRYER")},
        {"Filter", symbol(Symbol::Filter), 2, feature("FILTER")},
        {"Filter with Automatic", symbol(Symbol::FilterAuto), 2, feature("FILTER_AUTO")},
        {"Lubricator", symbol(Symbol::Lubricator), 1, equipment("LUBRICATOR")},
        {"Regulator", symbol(Symbol::Regulator), 1, equipment("REGULATOR")},
        {"Compressor", symbol(Symbol::Compressor), 2, feature("COMPRESSOR")},
        {"Filter Regulator Lubricator", symbol(Symbol::Frl), 1, equipment("FRL")},
        {"1 Port Outlet", symbol(Symbol::OnePortOutlet), 1, equipment("1-PORT-OUTLET")},
        {"2 Port Outlet", symbol(Symbol::TwoPortOutlet), 1, equipment("2-PORT-OUTLET")},
        {"4 Port Outlet", symbol(Symbol::FourPortOutlet), 1, equipment("4-PORT-OUTLET")},
        {"Male Adapter", symbol(Symbol::MaleAdaptor), 1, equipment("MALE_ADAPTOR")},
        {"Air Receiver", symbol(Symbol::Receiver), 2, feature("RECEIVER")},
        {"Spur", tool(ToolPicture::Spur), 6, Starts<AddPipeTool>(form, PipeKind::Spur)},
        {"Vertical Drop Spur", tool(ToolPicture::VerticalDropSpur), 6,
         Starts<AddPipeTool>(form, PipeKind::VerticalDropSpur)},
        {"Building Avoidance Elbow", tool(ToolPicture::AvoidanceElbow), 4,
         Starts<AvoidanceTool>(form)},
        {"Unconnected Pipe", tool(ToolPicture::UnconnectedPipe), 2,
         Starts<AddPipeTool>(form, PipeKind::Unconnected)},
        {"Building Feature", tool(ToolPicture::BuildingFeature), 6, feature("GENERAL")},
        {"Female Adapter", symbol(Symbol::AdaptorFemale), 1, equipment("ADAPTOR_FEMALE")},
    };
    for (const SymbolButton& entry : symbols) {
        ButtonRow button;
        button.panel = ButtonPanel::Symbols;
        // Named for the language file: "sb" and the hint without its blanks.
        button.name = QStringLiteral("sb") + QString::fromLatin1(entry.hint).remove(u' ');
        button.hint = QString::fromLatin1(entry.hint);
        button.picture = entry.picture;
        button.symbolTag = entry.tag;
        table.add(ButtonOnly(button, Editing, entry.handler));
    }
}

// An item of a pop-up menu: "pm" and its caption without blanks and
// accelerator marks, unless given.
CommandRow PopupItem(const char* menu, const char* caption, StateRule enabled,
                     std::function<void()> handler = {}, const char* id = nullptr)
{
    CommandRow row = Item(menu, id ? id : "", caption, std::move(enabled), std::move(handler));
    if (!id)
        row.id = QStringLiteral("pm") + QString(row.caption).remove(u'&').remove(u' ');
    return row;
}

// The "Add" submenu: each item enabled where its symbol button's panel would
// offer it (the tag meets the symbol mask).
void AddDrawingPopupAdds(CommandTable& table, TMainForm& form)
{
    table.addMenu({"pmAdd", "pmDrawing", "Add", Editing, {}});
    const auto tagged = [](int tag) {
        return [tag](const EditorState& s) { return s.editing() && (tag & s.symbolMask()) != 0; };
    };
    table.add(PopupItem("pmAdd", "Drop", tagged(4), StartsAtPopup<AddDropTool>(form), "pmAddDrop"));
    table.add(
        PopupItem("pmAdd", "Valve", tagged(6), StartsAtPopup<AddValveTool>(form), "pmAddValve"));
    table.add(PopupItem("pmAdd", "Automatic Drain", tagged(2),
                        StartsAtPopup<AddDrainTool>(form, true), "pmAddAutomaticDrain"));
    table.add(PopupItem("pmAdd", "Manual Drain", tagged(2),
                        StartsAtPopup<AddDrainTool>(form, false), "pmAddManualDrain"));
    // The spur and the building feature take two points: they prompt for
    // both, as their buttons do.
    table.add(PopupItem("pmAdd", "Spur", tagged(6), Starts<AddPipeTool>(form, PipeKind::Spur),
                        "pmAddSpur"));
    table.add(
        PopupItem("pmAdd", "Inlet", tagged(4), StartsAtPopup<AddInletTool>(form), "pmAddInlet"));
    table.add(PopupItem("pmAdd", "Building Feature", tagged(6),
                        Starts<AddFeatureTool>(form, QStringLiteral("GENERAL")),
                        "pmAddBuildingFeature"));
}

// The rows that change the selected object, each on its kind of selection.
void AddDrawingPopupEdits(CommandTable& table, TMainForm& form)
{
    EditCommands& edits = form.edits();
    const StateRule drop = SelectionIs({ObjectKind::Drop});
    const StateRule elbow = SelectionIs({ObjectKind::Elbow});
    const StateRule inlet = SelectionIs({ObjectKind::Inlet});
    const auto editSize = [&edits] { edits.editSize(); };
    table.add(
        PopupItem("pmDrawing", "Edit Position", Selection, [&edits] { edits.editPosition(); }));
    table.add(PopupItem("pmDrawing", "Edit Height",
                        SelectionIs({ObjectKind::Drop, ObjectKind::Drain}),
                        [&edits] { edits.editHeight(); }));
    table.add(
        PopupItem("pmDrawing", "Edit Object Label", Selection, [&edits] { edits.editLabel(); }));
    table.add(PopupItem("pmDrawing", "Edit Drop Outlet Size", drop, editSize));
    table.add(
        PopupItem("pmDrawing", "Edit Spur Pipe Size", SelectionIs({ObjectKind::Spur}), editSize));
    table.add(PopupItem(
        "pmDrawing", "Edit Spur Height",
        [](const EditorState& s) { return s.selectionIs(ObjectKind::Spur) && s.compressorHouse; },
        [&edits] { edits.editSpurHeight(); }));
    table.add(PopupItem("pmDrawing", "Edit Inlet Pipe Length", inlet,
                        [&edits] { edits.editInletLength(); }));
    table.add(PopupItem("pmDrawing", "Edit Inlet Pipe Size", inlet, editSize));
    table.add(
        PopupItem("pmDrawing", "Edit Drain Pipe Size", SelectionIs({ObjectKind::Drain}), editSize));
    table.addMenu({"pmDropStyle", "pmDrawing", "Drop Style", drop, {}});
    const char* const styles[] = {"Female", "Tee",          "Saddle",
                                  "Quick",  "Female Quick", "Female Saddle"};
    for (int style = 0; style < 6; ++style) {
        CommandRow row = PopupItem("pmDropStyle", styles[style], drop,
                                   [&edits, style] { edits.setDropStyle(style); });
        row.id = QStringLiteral("pmDropStyle") + row.id.mid(2);
        row.checked = [style](const EditorState& s) { return s.dropStyle == style; };
        table.add(row);
    }
    CommandRow ellipse =
        PopupItem("pmDrawing", "Build Feature Ellipse", SelectionIs({ObjectKind::BuildFeature}),
                  [&edits] { edits.toggleFeatureEllipse(); });
    ellipse.checked = [](const EditorState& s) { return s.featureEllipse; };
    table.add(ellipse);
    table.add(PopupItem("pmDrawing", "Insert Elbow Before Selection", elbow,
                        [&edits] { edits.insertElbow(false); }));
    table.add(PopupItem("pmDrawing", "Insert Elbow After Selection", elbow,
                        [&edits] { edits.insertElbow(true); }));
    table.add(PopupItem("pmDrawing", "Copy Selected Drop", drop, [&edits] { edits.copyDrop(); }));
    table.add(PopupItem(
        "pmDrawing", "Paste New Drop",
        [](const EditorState& s) { return s.selectionIs(ObjectKind::Drop) && s.copiedDrop; },
        [&form] { form.edits().pasteDrop(form.popupPoint().at); }));
    table.add(PopupItem("pmDrawing", "D&elete Selection", Selection,
                        [&edits] { edits.deleteSelected(); }));
    table.add(Separator("pmDrawing"));
    table.add(PopupItem("pmDrawing", "Remove Highlighting", Editing,
                        [&edits] { edits.removeHighlighting(); }));
}

// The drawing's pop-up menu, opened by a right click while no tool holds
// the drawing. Its "Add To Drop" items are the drop view's "Add" items.
void AddDrawingPopup(CommandTable& table, TMainForm& form)
{
    MenuRow popup{"pmDrawing", "", "Drawing", Editing, {}};
    popup.popup = true;
    table.addMenu(popup);
    AddDrawingPopupAdds(table, form);
    MenuRow addToDrop{"pmAddToDrop",
                      "pmDrawing",
                      "Add To Drop",
                      SelectionIs({ObjectKind::Drop, ObjectKind::Inlet}),
                      {}};
    addToDrop.captionFor = [](const EditorState& s) {
        if (s.selected == ObjectKind::Inlet)
            return QStringLiteral("Add To Inlet");
        return s.selected == ObjectKind::Drop ? QStringLiteral("Add To Drop") : QString();
    };
    table.addMenu(addToDrop);
    table.add(Separator("pmDrawing"));
    AddDrawingPopupEdits(table, form);
    table.add(Separator("pmDrawing"));
    DesignView& view = form.view();
    table.add(PopupItem("pmDrawing", "Zoom In", DesignOpen, [&view] { view.zoomBy(-25); }));
    table.add(PopupItem("pmDrawing", "Zoom Out", DesignOpen, [&view] { view.zoomBy(25); }));
    table.add(PopupItem("pmDrawing", "Zoom To Fit", DesignOpen, [&view] { view.zoomToFit(); }));
}

// The drop view's pop-up menu, on the close-up of a selected drop or inlet:
// its equipment (each "Add" item is also in the drawing's "Add To Drop") and
// the symbol the close-up selected, with the part windows that assign it parts.
void AddDropViewPopup(CommandTable& table, TMainForm& form)
{
    const StateRule dropOrInlet = SelectionIs({ObjectKind::Drop, ObjectKind::Inlet});
    MenuRow popup{"pmDropView", "", "Drop View", dropOrInlet, {}};
    popup.popup = true;
    table.addMenu(popup);
    table.addMenu({"pmDropViewAdd", "pmDropView", "Add", dropOrInlet, {}});
    const std::pair<const char*, const char*> symbols[] = {
        {"Pressure Gauge", "GAUGE"},
        {"Dryer", "DRYER"},
        {"Lubricator", "LUBRICATOR"},
        {"Filter", "FILTER"},
        {"Filter With Automatic", "FILTER_AUTO"},
        {"Regulator", "REGULATOR"},
        {"Compressor", "COMPRESSOR"},
        {"Valve", "VALVE"},
        {"Air Receiver", "RECEIVER"},
        {"Filter-Regulator-Lubricator", "FRL"},
        {"1 Port Outlet/Manifold", "1-PORT-OUTLET"},
        {"2 Port Outlet/Manifold", "2-PORT-OUTLET"},
        {"3 Port Outlet/Manifold", "3-PORT-OUTLET"},
        {"4 Port Outlet/Manifold", "4-PORT-OUTLET"},
        {"Male Adapter", "MALE_ADAPTOR"},
        {"Female Tee", "FEMALE-TEE"},
        {"Female Adapter", "ADAPTOR_FEMALE"},
    };
    for (const auto& [caption, keyword] : symbols) {
        CommandRow row =
            PopupItem("pmDropViewAdd", caption, dropOrInlet, AddsSymbol(form, keyword));
        row.id = QStringLiteral("pmDropViewAdd") +
                 QString(row.caption).remove(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")));
        row.alsoIn = QStringList{QStringLiteral("pmAddToDrop")};
        table.add(row);
    }
    EditCommands& edits = form.edits();
    const StateRule symbol = [](const EditorState& s) {
        return s.symbolSelected &&
               (s.selectionIs(ObjectKind::Drop) || s.selectionIs(ObjectKind::Inlet));
    };
    table.add(PopupItem("pmDropView", "&Delete", symbol, [&edits] { edits.deleteSymbol(); }));
    table.add(PopupItem("pmDropView", "Move &Up", symbol, [&edits] { edits.moveSymbol(true); }));
    table.add(PopupItem("pmDropView", "Move &Down", symbol, [&edits] { edits.moveSymbol(false); }));
    table.add(PopupItem(
        "pmDropView", "Edit Hise Size",
        [](const EditorState& s) { return s.selectionIs(ObjectKind::Drop) && s.hoseSelected; },
        [&edits] { edits.editHoseSize(); }));
    table.add(Separator("pmDropView"));
    table.add(PopupItem("pmDropView", "Assign Generic Parts", symbol,
                        [&edits] { edits.assignGenericParts(); }));
    table.add(PopupItem(
        "pmDropView", "Assign ZAVOZA Parts",
        [](const EditorState& s) { return s.selectionIs(ObjectKind::Drop) && s.symbolSelected; },
        [&edits] { edits.assignVendorParts(); }));
    table.add(PopupItem("pmDropView", "View Catalogue", [](const EditorState& s) {
        return s.selectionIs(ObjectKind::Drop) && s.partPackage;
    }));
}

} // namespace

void AddMainCommands(CommandTable& table, TMainForm& form)
{
    AddFileMenu(table, form);
    AddViewAndZoomMenus(table, form);
    AddGridMenu(table, form);
    AddEditMenu(table, form);
    AddOptionsMenu(table, form);
    AddHelpMenus(table, form);
    AddSymbolButtons(table, form);
    AddDrawingPopup(table, form);
    AddDropViewPopup(table, form);
}

} // namespace pipeloop
