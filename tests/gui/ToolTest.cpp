// The interactive tools against a scripted host: what they prompt, what they
// put into the design and how much of it one Undo takes back. No window and
// no event loop: each step is a call.

#include "AddFeatureTool.h"
#include "AddOnPipeTools.h"
#include "AddPipeTool.h"
#include "AvoidanceTool.h"
#include "EditFixture.h"
#include "EnterElbowsTool.h"
#include "GuiTestSupport.h"
#include "LocaleInfo.h"
#include "MoveTool.h"
#include "PartsDatabase.h"
#include "Snapping.h"
#include "ToolHost.h"
#include "ToolManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace pipeloop::testing
{
namespace
{

class ScriptedToolHost : public ToolHost
{
public:
    ScriptedToolHost(Document& document, AppDialogs& dialogs)
        : m_document(document), m_dialogs(dialogs)
    {
    }

    Document& document() override { return m_document; }
    AppDialogs& dialogs() override { return m_dialogs; }
    QWidget* dialogParent() const override { return nullptr; }
    const catalogue::TPartsDatabase& catalogue() const override { return parts; }
    ViewKind currentView() const override { return view; }
    void showPlan() override { view = ViewKind::Plan; }
    Position snapToGrid(const Position& at) const override
    {
        return SnapPosition(at, view, grid, true);
    }
    int32_t selectionTolerance() const override { return SelectionTolerance(20); }
    void showPrompt(const PromptText& prompt) override
    {
        prompts.push_back(prompt);
        promptOpen = true;
    }
    void closePrompt() override { promptOpen = false; }
    void setHint(const QString& text) override { hint = text; }
    bool highlightElbows() const override { return highlight; }
    void setHighlightElbows(bool on) override { highlight = on; }
    void hideDropView() override { dropViewHidden = true; }

    catalogue::TPartsDatabase parts; // none loaded: the built-in sizes
    ViewKind view = ViewKind::North;
    int32_t grid = 250;
    std::vector<PromptText> prompts;
    bool promptOpen = false;
    QString hint = QStringLiteral("usual");
    bool highlight = false;
    bool dropViewHidden = false;

private:
    Document& m_document;
    AppDialogs& m_dialogs;
};

ToolPoint At(int32_t ns, int32_t ew, int x = 0, int y = 0)
{
    return {Position{ns, ew, -1}, x, y};
}

// A 5000 x 2000 building whose loop is to be drawn (no elbows yet), and the
// elbow entry started on it.
struct ElbowEntry {
    ElbowEntry()
    {
        auto empty = std::make_unique<TPipeLoop>(document.options());
        empty->RoomEW = 5000;
        empty->RoomNS = 2000;
        empty->RoomHG = 4000;
        empty->Height = 2500;
        document.adopt(std::move(empty));
        design = document.design();
        tool.start(host);
    }

    QStringList elbowNames() const
    {
        QStringList names;
        for (const auto& elbow : design->Elbows)
            names.append(elbow->Name);
        return names;
    }

    ScriptedUi ui;
    ScopedLocale locale{LocaleFacts{}};
    Document document;
    TPipeLoop* design = nullptr;
    ScriptedDialogs dialogs;
    ScriptedToolHost host{document, dialogs};
    EnterElbowsTool tool;
};

TEST(EnterElbows, DoneClosesTheRingAndTheEntryIsOneUndoStep)
{
    ElbowEntry e;
    // The prompt explains the entry, with no accelerator marks in its text.
    ASSERT_EQ(e.host.prompts.size(), 1u);
    const PromptText& prompt = e.host.prompts[0];
    EXPECT_EQ(prompt.title, "ADD ELBOWS");
    EXPECT_EQ(prompt.message, "Position each elbow with a mouse click.\r\n"
                              "The loop closes itself from the last elbow back to the first.\r\n"
                              "Backspace removes the last elbow, Escape cancels.\r\n\n"
                              "Select [Done] when finished adding elbows.");
    EXPECT_EQ(prompt.buttons, (QStringList{"&Done", "&Cancel"}));
    EXPECT_FALSE(prompt.keepPosition);
    EXPECT_EQ(e.host.hint, "Position each elbow with a mouse click.");
    EXPECT_EQ(e.host.view, ViewKind::Plan);
    EXPECT_TRUE(e.host.highlight);
    EXPECT_TRUE(e.host.dropViewHidden);

    // Clicks land on the grid at the loop's height.
    e.tool.click(At(1130, 380));
    e.tool.click(At(1130, 4100));
    ASSERT_EQ(e.design->Elbows.size(), 2u);
    EXPECT_EQ(e.design->Elbows[0]->position(), (Position{1250, 500, 2500}));

    // Two elbows make no ring: Done says so and the entry goes on.
    e.tool.end(Tool::Ending::Done);
    EXPECT_FALSE(e.tool.finished());
    EXPECT_EQ(e.ui.texts().last(), EnterElbowsTool::TooFewElbows);
    EXPECT_TRUE(e.host.prompts.back().keepPosition);

    // Backspace takes the last elbow back; its name is given again.
    EXPECT_TRUE(e.tool.key(Qt::Key_Backspace));
    EXPECT_EQ(e.elbowNames(), QStringList{"ELBOW1"});
    e.tool.click(At(0, 4000));
    e.tool.click(At(2000, 4000));
    e.tool.end(Tool::Ending::Done);
    ASSERT_TRUE(e.tool.finished());
    EXPECT_EQ(e.elbowNames(), (QStringList{"ELBOW1", "ELBOW2", "ELBOW3", "ELBOW4"}));
    EXPECT_EQ(e.design->Elbows.back()->position(), (Position{1250, 500, 2500}));
    EXPECT_FALSE(e.host.highlight) << "Highlight Elbows as it was";
    EXPECT_EQ(e.ui.messages.size(), 1u);

    EXPECT_EQ(e.document.undoStack().count(), 1);
    ASSERT_TRUE(e.document.undo());
    EXPECT_TRUE(e.design->Elbows.empty());
    ASSERT_TRUE(e.document.redo());
    EXPECT_EQ(e.design->Elbows.size(), 4u);
}

TEST(EnterElbows, ARingClosedByHandGetsNoSecondClosingElbow)
{
    ElbowEntry e;
    e.tool.click(At(0, 0));
    e.tool.click(At(0, 5000));
    e.tool.click(At(2000, 5000));
    e.tool.click(At(2000, 0));
    e.tool.click(At(60, 90)); // the first corner again, on the grid
    e.tool.end(Tool::Ending::Done);
    ASSERT_TRUE(e.tool.finished());
    EXPECT_EQ(e.design->Elbows.size(), 5u);
    EXPECT_TRUE(e.ui.messages.empty());
}

// Whatever way the entry ends without a ring, the design is left with the
// building's outline, and that too is one undo step back to no elbows.
TEST(EnterElbows, WithoutARingTheBuildingsOutlineIsTheLoop)
{
    struct Case {
        const char* what;
        int placed;
        std::function<void(EnterElbowsTool&)> end;
    };
    const Case cases[] = {
        {"Escape", 2, [](EnterElbowsTool& tool) { EXPECT_TRUE(tool.key(Qt::Key_Escape)); }},
        {"Cancel", 3, [](EnterElbowsTool& tool) { tool.end(Tool::Ending::Cancel); }},
        {"window closed", 1, [](EnterElbowsTool& tool) { tool.end(Tool::Ending::Close); }},
        {"Done with none", 0, [](EnterElbowsTool& tool) { tool.end(Tool::Ending::Done); }},
    };
    for (const Case& c : cases) {
        ElbowEntry e;
        for (int i = 0; i < c.placed; ++i)
            e.tool.click(At(500, 1000 * (i + 1)));
        c.end(e.tool);
        ASSERT_TRUE(e.tool.finished()) << c.what;
        EXPECT_EQ(e.ui.texts(), QStringList{EnterElbowsTool::DefaultLoopNotice}) << c.what;
        EXPECT_EQ(e.design->Elbows.size(), 5u) << c.what;
        EXPECT_EQ(e.design->Elbows[1]->position(), (Position{0, 5000, 2500})) << c.what;
        EXPECT_EQ(e.document.undoStack().count(), 1) << c.what;
        ASSERT_TRUE(e.document.undo());
        EXPECT_TRUE(e.design->Elbows.empty()) << c.what;
    }
}

// The drag through the tool manager: a press selects, leaving the press
// point starts the move tool, the release finishes it.
class MoveToolTest : public EditFixture
{
protected:
    MoveToolTest()
        : first(addDrop(P(0, 1000))), second(addDrop(P(0, 3000))),
          steps(document.undoStack().count())
    {
        host.view = ViewKind::Plan;
    }

    void press(const TPipeLoopObject& object, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        tools.press(At(object.NS, object.EW, 100, 100), Qt::LeftButton, keys);
    }
    void drag(int32_t ns, int32_t ew, int x, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        tools.mouseMove(At(ns, ew, x, 100), Qt::LeftButton, keys);
    }
    void release(int32_t ns, int32_t ew, int x, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        tools.release(At(ns, ew, x, 100), Qt::LeftButton, keys, true);
    }

    ScriptedDialogs dialogs;
    ScriptedToolHost host{document, dialogs};
    ToolManager tools{host};
    TDrop& first;
    TDrop& second;
    const int steps;
};

TEST_F(MoveToolTest, ADragPreviewsAtThePointerAndDropsOnThePipeAsOneStep)
{
    const Position start = first.position();
    press(first);
    ASSERT_EQ(document.selected(), &first);
    EXPECT_FALSE(tools.active()) << "a press alone is no drag";

    drag(420, 1630, 120);
    ASSERT_TRUE(tools.active());
    EXPECT_EQ(host.hint, MoveTool::SymbolHint);
    EXPECT_EQ(first.NS, 420) << "the preview follows the pointer, off the pipe";
    EXPECT_EQ(first.EW, 1630);

    release(130, 2010, 140);
    EXPECT_FALSE(tools.active());
    EXPECT_EQ(host.hint, "") << "the usual hint again";
    EXPECT_EQ(first.NS, 0) << "snapped to the grid, onto the pipe";
    EXPECT_EQ(first.EW, 2000);
    EXPECT_EQ(document.undoStack().count(), steps + 1);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(first.position(), start);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MoveToolTest, ARefusedOrAbandonedDragLeavesNoTrace)
{
    const Position start = first.position();

    // Onto the other drop: refused with the reason, and back where it was.
    press(first);
    drag(0, 2500, 130);
    release(second.NS, second.EW, 150);
    EXPECT_EQ(ui.texts(), QStringList{"Cannot move object, position occupied by : " + second.Name});
    EXPECT_EQ(first.position(), start);

    // Back at the press point, or Escape, moves nothing.
    press(first);
    drag(0, 2500, 130);
    release(0, 2500, 100);
    EXPECT_EQ(first.position(), start);
    press(first);
    drag(0, 2500, 130);
    EXPECT_TRUE(tools.key(Qt::Key_Escape));
    EXPECT_FALSE(tools.active());
    EXPECT_EQ(first.position(), start);

    // Control held, or the right button: no drag at all.
    press(first);
    drag(0, 2500, 130, Qt::ControlModifier);
    EXPECT_FALSE(tools.active());
    tools.press(At(first.NS, first.EW, 100, 100), Qt::RightButton, Qt::NoModifier);
    drag(0, 2500, 130);
    EXPECT_FALSE(tools.active());

    EXPECT_EQ(first.position(), start);
    EXPECT_EQ(document.undoStack().count(), steps);
    EXPECT_EQ(ui.messages.size(), 1u);
}

TEST_F(MoveToolTest, ASpurSaysHowToKeepItOffThePipe)
{
    TSpur& spur = design->AddSpur(P(0, 4000, 2500), P(1000, 4000, 2500), true, 0, 25.0f);
    ASSERT_TRUE(document.pushAppended(spur, "Add spur"));
    tools.press(At(1000, 4000, 100, 100), Qt::LeftButton, Qt::NoModifier);
    ASSERT_EQ(document.selected(), &spur);
    drag(1200, 4000, 110);
    EXPECT_EQ(host.hint, MoveTool::SpurHint);
    release(1500, 4000, 120, Qt::ShiftModifier);
    EXPECT_EQ(spur.NS2, 1500);
    EXPECT_EQ(document.undoStack().count(), steps + 2);

    // A tool in hand holds the mouse: no press selects, no drag starts.
    ASSERT_TRUE(tools.start(std::make_unique<EnterElbowsTool>()));
    press(first);
    EXPECT_EQ(document.selected(), nullptr);
    EXPECT_FALSE(tools.start(std::make_unique<EnterElbowsTool>())) << "one tool at a time";
    tools.promptButtonPressed("&Cancel");
    EXPECT_FALSE(tools.active());
    EXPECT_FALSE(host.promptOpen);
}

// The adding tools on the 5000 x 2000 loop (elbows at the building's
// corners, ELBOW1 at 0,0), clicked in the plan on a 250 mm grid.
class AddingToolTest : public EditFixture
{
protected:
    AddingToolTest() { host.view = ViewKind::Plan; }

    // The drop dialog's OK on what it shows.
    static std::optional<DropEntry> Ok(const DropEntry& shown) { return shown; }

    int steps() const { return document.undoStack().count(); }

    ScriptedDialogs dialogs;
    ScriptedToolHost host{document, dialogs};
};

TEST_F(AddingToolTest, DropsAreCheckedWhereTheyStandOnThePipeOneUndoStepEach)
{
    AddDropTool tool;
    tool.start(host);
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0].title, "ADD DROPS");
    EXPECT_EQ(host.prompts[0].message, "Select the position for the drop with a mouse click.\r\n\n"
                                       "Select [Done] when finished adding drops.");
    EXPECT_EQ(host.prompts[0].buttons, (QStringList{"&Done", "&Cancel"}));
    EXPECT_EQ(host.hint, "Select the position for the drop with a mouse click.");

    bool promptWhileAsking = true;
    dialogs.dropAnswers = {[&](const DropEntry& shown) -> std::optional<DropEntry> {
                               promptWhileAsking = host.promptOpen;
                               return shown;
                           },
                           Ok};
    tool.click(At(130, 1020)); // the grid, then the pipe
    EXPECT_FALSE(promptWhileAsking) << "the click answered the prompt before the dialog";
    ASSERT_EQ(design->Drops.size(), 1u);
    const TDrop& first = *design->Drops[0];
    EXPECT_EQ(first.position(), (Position{0, 1000, 2500}));
    EXPECT_EQ(first.PipeLen, design->Height);
    EXPECT_EQ(host.prompts.back().title, "ADD DROP");
    EXPECT_TRUE(host.prompts.back().keepPosition);

    // Beside the drop, off the pipe: the drop would stand on the first one.
    host.grid = 0;
    tool.click(At(40, 1000));
    EXPECT_EQ(ui.texts(), QStringList{"Position is already occupied by : " + first.Name});
    EXPECT_FALSE(tool.finished()) << "the prompt comes back";

    tool.click(At(0, 3000));
    tool.click(At(0, 4000)); // Cancel in the dialog: no drop, and the tool ends
    EXPECT_TRUE(tool.finished());
    EXPECT_EQ(dialogs.titles, QStringList(3, "New Drop Attributes"));
    ASSERT_EQ(design->Drops.size(), 2u);
    EXPECT_EQ(steps(), 2);
    ASSERT_TRUE(document.undo());
    ASSERT_EQ(design->Drops.size(), 1u);
    EXPECT_EQ(design->Drops[0]->EW, 1000);
}

TEST_F(AddingToolTest, ValvesArePlacedUntilDoneAndAnOccupiedPlaceIsRefused)
{
    AddValveTool tool;
    tool.start(host);
    EXPECT_EQ(host.prompts[0].title, "VALVE");
    EXPECT_TRUE(host.prompts[0].message.startsWith(
        "Select the position for the valve using a mouse click.\r\n\n"));
    tool.click(At(0, 2000));
    tool.click(At(100, 90)); // onto the first elbow
    tool.click(At(2000, 2500));
    tool.end(Tool::Ending::Done);
    EXPECT_TRUE(tool.finished());
    EXPECT_EQ(ui.texts(), QStringList{"Position is already occupied by : ELBOW1"});
    EXPECT_EQ(design->Valves.size(), 2u);
    EXPECT_EQ(steps(), 2);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(design->Valves.size(), 1u);
}

// The drawing's pop-up menu starts a tool at the point where it was opened:
// one object there, no prompt.
TEST_F(AddingToolTest, PopupItemsActOnceAtTheirPointWithoutAPrompt)
{
    dialogs.dropAnswers = {Ok};
    dialogs.sizeAnswers = {"25mm", "20mm"};
    dialogs.lengthAnswers = {std::nullopt, "1"};
    dialogs.inletAnswers = {std::pair<QString, QString>{"32mm", "3"}};
    std::unique_ptr<Tool> tools[] = {
        std::make_unique<AddDropTool>(At(120, 1000)),
        std::make_unique<AddValveTool>(At(0, 2000)),
        std::make_unique<AddDrainTool>(true, At(0, 3000)),
        std::make_unique<AddDrainTool>(false, At(2000, 1000)),
        std::make_unique<AddInletTool>(At(1880, 3000)),
    };
    for (auto& tool : tools) {
        tool->start(host);
        EXPECT_TRUE(tool->finished());
    }
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(dialogs.titles, (QStringList{"New Drop Attributes", "NEW DRAIN", "AUTOMATIC DRAIN",
                                           "NEW DRAIN", "MANUAL DRAIN", "Inlet Attributes"}));
    ASSERT_EQ(design->Drops.size(), 1u);
    EXPECT_EQ(design->Drops[0]->NS, 0);
    ASSERT_EQ(design->Valves.size(), 1u);
    ASSERT_EQ(design->Drains.size(), 2u);
    const TDrain& automatic = *design->Drains[0];
    EXPECT_FALSE(automatic.Manual);
    EXPECT_EQ(automatic.PipeSize, 25.0f);
    EXPECT_EQ(automatic.PipeLen, design->Height) << "the length's Cancel keeps the loop's height";
    EXPECT_TRUE(design->Drains[1]->Manual);
    EXPECT_EQ(design->Drains[1]->PipeLen, 1000);
    ASSERT_EQ(design->Inlets.size(), 1u);
    EXPECT_EQ(design->Inlets[0]->NS, 2000);
    EXPECT_EQ(design->Inlets[0]->PipeSize, 32.0f);
    EXPECT_EQ(design->Inlets[0]->PipeLength, 3000);
    EXPECT_EQ(steps(), 5);
}

TEST_F(AddingToolTest, SpursAndPipesTakeTheirStartThenTheirEndThenTheirSize)
{
    AddPipeTool spur(PipeKind::VerticalDropSpur);
    spur.start(host);
    EXPECT_EQ(host.prompts[0].title, "SPUR");
    EXPECT_EQ(host.prompts[0].message,
              "Select the spur start position on either the pipe loop or a spur.");
    EXPECT_EQ(host.prompts[0].buttons, QStringList{"&Cancel"});
    spur.click(At(120, 2000));
    EXPECT_EQ(host.prompts[1].message, "Select the spur end position.");
    EXPECT_TRUE(host.prompts[1].keepPosition);
    dialogs.sizeAnswers = {"25mm"};
    dialogs.lengthAnswers = {"0.5"};
    spur.click(At(1000, 2000));
    EXPECT_TRUE(spur.finished());
    EXPECT_EQ(dialogs.titles, (QStringList{"NEW SPUR", "NEW DROP SPUR"}));
    ASSERT_EQ(design->Spurs.size(), 1u);
    const TSpur& added = *design->Spurs[0];
    EXPECT_EQ(added.position(), (Position{0, 2000, 2500}));
    EXPECT_EQ(added.NS2, 1000);
    EXPECT_EQ(added.PipeSize, 25.0f);
    EXPECT_EQ(added.VerticalDrop, 500);

    // A pipe may start at a spur's end but not end at one.
    AddPipeTool pipe(PipeKind::Unconnected);
    pipe.start(host);
    EXPECT_EQ(host.prompts.back().title, "PIPE");
    EXPECT_EQ(host.prompts.back().message, "Select the pipe start position.");
    pipe.click(At(1500, 1000));
    EXPECT_EQ(host.prompts.back().message, "Select the pipe end position.");
    pipe.click(At(1000, 2000));
    EXPECT_TRUE(pipe.finished());
    EXPECT_EQ(ui.texts(), QStringList{"Only drops/spurs can be positioned at spur ends."});
    EXPECT_EQ(design->Spurs.size(), 1u);

    // In a compressor house a pipe runs at the height asked for.
    design->CompressorHouse = true;
    AddPipeTool housePipe(PipeKind::Unconnected);
    housePipe.start(host);
    dialogs.sizeAnswers = {"20mm"};
    dialogs.lengthAnswers = {"1.5"};
    housePipe.click(At(1500, 1000));
    housePipe.click(At(1500, 3000));
    EXPECT_EQ(dialogs.titles.mid(2), (QStringList{"NEW PIPE", "NEW SPUR"}));
    ASSERT_EQ(design->Spurs.size(), 2u);
    EXPECT_EQ(design->Spurs[1]->position(), (Position{1500, 1000, 1500}));
    EXPECT_EQ(steps(), 2);
}

TEST_F(AddingToolTest, AFeatureIsStoredNorthWestCornerFirstWithItsHeightAndLabel)
{
    AddFeatureTool dryer(QStringLiteral("DRYER"));
    dryer.start(host);
    EXPECT_EQ(host.prompts[0].title, "BUILD FEATURE");
    EXPECT_EQ(host.prompts[0].message, "Select the first corner of the DRYER.");
    dryer.click(At(1500, 4000));
    EXPECT_EQ(host.prompts[1].message, "Select the second corner of the DRYER.");
    dialogs.lengthAnswers = {"3"};
    dialogs.textAnswers = {"Dryer 1"};
    dryer.click(At(500, 1000));
    EXPECT_EQ(dialogs.titles, (QStringList{"NEW BUILD FEATURE", "FEATURE LABEL"}));
    ASSERT_EQ(design->BuildFeatures.size(), 1u);
    const TBuildFeature& feature = *design->BuildFeatures[0];
    EXPECT_EQ(feature.Feature, "DRYER");
    EXPECT_EQ(feature.Name, "Dryer 1");
    EXPECT_EQ(feature.Height, 3000);
    EXPECT_EQ((std::array{feature.P1NS, feature.P1EW, feature.P2NS, feature.P2EW}),
              (std::array{500, 1000, 1500, 4000}));

    AddFeatureTool general;
    general.start(host);
    EXPECT_EQ(host.prompts.back().message, "Select the first corner of the build feature.");
    general.click(At(500, 1000));
    general.click(At(500, 3000));
    EXPECT_TRUE(general.finished());
    EXPECT_EQ(ui.texts(), QStringList{"Feature dimensions zero, feature not added."});
    EXPECT_EQ(steps(), 1);
}

// Whichever way a single addition is given up, nothing is added and nothing
// is left to undo.
TEST_F(AddingToolTest, EveryCancelAndEveryRefusalAddsNothing)
{
    struct Case {
        const char* what;
        std::function<std::unique_ptr<Tool>()> make;
        std::vector<ToolPoint> clicks;
        std::function<void(ScriptedDialogs&)> answers;
    };
    const auto none = [](ScriptedDialogs&) {};
    const Case cases[] = {
        {"drain on an elbow",
         [] { return std::make_unique<AddDrainTool>(false); },
         {At(0, 5000)},
         none},
        {"drain size cancelled",
         [] { return std::make_unique<AddDrainTool>(true); },
         {At(0, 1000)},
         none},
        {"inlet dialog cancelled",
         [] { return std::make_unique<AddInletTool>(); },
         {At(0, 1000)},
         none},
        {"spur size cancelled",
         [] { return std::make_unique<AddPipeTool>(PipeKind::Spur); },
         {At(0, 1000), At(1000, 1000)},
         none},
        {"spur start cancelled",
         [] { return std::make_unique<AddPipeTool>(PipeKind::Spur); },
         {},
         none},
        {"feature height cancelled",
         [] { return std::make_unique<AddFeatureTool>(); },
         {At(250, 250), At(1000, 1000)},
         none},
        {"drop dialog cancelled",
         [] { return std::make_unique<AddDropTool>(); },
         {At(0, 1000)},
         none},
        {"invalid drop height",
         [] { return std::make_unique<AddDropTool>(); },
         {At(0, 1000)},
         [](ScriptedDialogs& d) {
             d.dropAnswers = {[](const DropEntry& shown) -> std::optional<DropEntry> {
                 DropEntry entry = shown;
                 entry.Length = "high";
                 return entry;
             }};
         }},
    };
    for (const Case& c : cases) {
        dialogs.sizeAnswers.clear();
        dialogs.lengthAnswers.clear();
        c.answers(dialogs);
        const std::unique_ptr<Tool> tool = c.make();
        tool->start(host);
        for (const ToolPoint& click : c.clicks)
            tool->click(click);
        if (!tool->finished()) {
            EXPECT_TRUE(tool->key(Qt::Key_Escape)) << c.what;
        }
        EXPECT_TRUE(tool->finished()) << c.what;
        EXPECT_EQ(steps(), 0) << c.what;
    }
    EXPECT_EQ(design->Drains.size() + design->Inlets.size() + design->Spurs.size() +
                  design->BuildFeatures.size() + design->Drops.size(),
              0u);
    EXPECT_EQ(ui.texts(),
              (QStringList{"Position is already occupied by : ELBOW2", "Height invalid."}));
}

TEST_F(AddingToolTest, AnAvoidanceDetourGoesOnThePipeBeforeTheSelectedElbowAsOneStep)
{
    host.view = ViewKind::North;
    TElbow& third = *design->Elbows[2]; // at 2000, 5000: its pipe comes down the east side
    document.select(third);
    AvoidanceTool tool;
    tool.start(host);
    EXPECT_EQ(host.view, ViewKind::Plan);
    EXPECT_EQ(document.selected(), &third) << "the elbow stays marked";
    EXPECT_EQ(host.prompts[0].title, "ADD DROP");
    EXPECT_EQ(host.prompts[0].message, "Enter the first drop location.");
    tool.click(At(500, 4900));
    EXPECT_EQ(host.prompts[1].message, "Enter the second drop location.");
    dialogs.lengthAnswers = {"0.8"};
    tool.click(At(1500, 5000));
    ASSERT_TRUE(tool.finished());
    EXPECT_EQ(dialogs.titles, QStringList{"AVOIDANCE"});
    EXPECT_EQ(document.selected(), nullptr);
    ASSERT_EQ(design->Elbows.size(), 9u);
    // The point nearer the elbow is next to it; the pipe drops between the two.
    const std::array<std::pair<int32_t, int32_t>, 5> detour{
        {{500, 0}, {500, 800}, {1500, 800}, {1500, 0}, {2000, 0}}};
    for (size_t i = 0; i < detour.size(); ++i) {
        const TElbow& elbow = *design->Elbows[2 + i];
        EXPECT_EQ(elbow.EW, 5000) << i;
        EXPECT_EQ(std::pair(elbow.NS, elbow.VerticalDrop), detour[i]) << i;
    }
    EXPECT_EQ(steps(), 1);
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(design->Elbows.size(), 5u);
    EXPECT_TRUE(ui.messages.empty());

    // Off the pipe that ends at the elbow: refused, and the mark is gone.
    document.select(third);
    AvoidanceTool offThePipe;
    offThePipe.start(host);
    offThePipe.click(At(0, 2500));
    EXPECT_TRUE(offThePipe.finished());
    EXPECT_EQ(document.selected(), nullptr);
    // The first elbow has no pipe before it: refused before any prompt.
    document.select(*design->Elbows[0]);
    const size_t prompts = host.prompts.size();
    AvoidanceTool first;
    first.start(host);
    EXPECT_TRUE(first.finished());
    EXPECT_EQ(host.prompts.size(), prompts);
    EXPECT_EQ(document.selected(), design->Elbows[0].get())
        << "a refused start keeps the selection";
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(design->Elbows.size(), 5u);
}

} // namespace
} // namespace pipeloop::testing
