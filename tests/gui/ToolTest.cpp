// The interactive tools against a scripted host: what they prompt, what they
// put into the design and how much of it one Undo takes back. No window and
// no event loop: each step is a call.

#include "EditFixture.h"
#include "EnterElbowsTool.h"
#include "GuiTestSupport.h"
#include "LocaleInfo.h"
#include "MoveTool.h"
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

} // namespace
} // namespace pipeloop::testing
