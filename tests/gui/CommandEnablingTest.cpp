// Which commands a user can reach in each state of the window: the table's
// rules, and the real menu items and buttons they are applied to.

#include "EnterElbowsTool.h"
#include "GuiTestSupport.h"
#include "TestFiles.h"
#include "ToolManager.h"

#include <QIcon>
#include <QImage>
#include <QToolButton>

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace pipeloop::testing
{
namespace
{

// The states, in the order of the patterns below.
enum State { NoDesign, Design, DropSelected, CompressorHouse, Prompt, StateCount };
const char* const StateNames[] = {"no design", "design", "drop selected", "compressor house",
                                  "prompt"};

struct Expectation {
    const char* id;
    // '1' where the command's rule allows it, per state.
    const char* rule;
    // Not built yet: shown disabled whatever its rule says.
    bool built = true;
};

const Expectation Expectations[] = {
    // File: usable whenever no tool holds the drawing.
    {"muFile", "11110"},
    {"moNewPipeLoopProject", "11110"},
    {"sbNewProject", "11110"},
    {"moOpenProject", "11110"},
    {"sbOpenProject", "11110"},
    {"muRecentProjects", "11110"},
    {"moSaveProject", "00010"}, // only the new compressor house is unsaved
    {"sbSaveProject", "00010"},
    {"moSaveProjectAs", "01110"},
    {"moDataExchange", "01110"},
    {"moPrintView", "01110"},
    {"sbPrintView", "01110"},
    {"moPrinter", "01110"},
    {"moPrintAllViews", "01110"},
    {"moExit", "11110"},
    // Views: a compressor house has no sections.
    {"muView", "01110"},
    {"moPlan", "01110"},
    {"moNorthSection", "01100"},
    // Zoom changes no design: usable during a prompt too.
    {"muZoom", "01111"},
    {"moZoom50", "01111"},
    {"moZoomIn", "01111"},
    {"moZoomOut", "01111"},
    {"moZoomToFit", "01111"},
    {"sbZoomIn", "01111"},
    {"sbZoomOut", "01111"},
    {"muGrid", "01110"},
    {"moGrid1m", "01110"},
    {"moCustomGridSpacing", "01110"},
    {"moSnapToGrid", "01110"},
    // Edit: the selection's commands follow its kind.
    {"muEdit", "01110"},
    {"moUndo", "00000"},
    {"muProjectInformation", "01110"},
    {"moProjectNotes", "01110"},
    {"moSelectedPosition", "00100"},
    {"moSelectedObjectLabel", "00100"},
    {"sbEditLabel", "00100"},
    {"moDeleteSelected", "00100"},
    {"sbDeleteSelection", "00100"},
    {"moSelectedHeight", "00100"},
    {"sbEditHeight", "00100"},
    {"moDropAttributes", "00100"},
    {"moSelectedSpurPipeSize", "00000"},
    {"moInletAttributes", "00000"},
    {"sbEditSize", "01110"}, // nothing selected sizes the main pipe
    // The adding tools: usable with a design and no tool; which of them the
    // panel shows is the symbol mask's business.
    {"sbDrop", "01110"},
    {"sbValve", "01110"},
    {"sbManualDrain", "01110"},
    {"sbAutomaticDrain", "01110"},
    {"sbCompressorInlet", "01110"},
    {"sbSpur", "01110"},
    {"sbVerticalDropSpur", "01110"},
    {"sbBuildingAvoidanceElbow", "01110"},
    {"sbUnconnectedPipe", "01110"},
    {"sbBuildingFeature", "01110"},
    {"sbAirDryer", "01110"},
    {"sbFilter", "01110"},
    {"sbFilterwithAutomatic", "01110"},
    {"sbCompressor", "01110"},
    {"sbAirReceiver", "01110"},
    // A drop's or inlet's equipment: shown only with one selected.
    {"sbPressureGauge", "01110"},
    {"sbLubricator", "01110"},
    {"sbRegulator", "01110"},
    {"sbFilterRegulatorLubricator", "01110"},
    {"sb1PortOutlet", "01110"},
    {"sb2PortOutlet", "01110"},
    {"sb4PortOutlet", "01110"},
    {"sbMaleAdapter", "01110"},
    {"sbFemaleAdapter", "01110"},
    // The drawing's pop-up menu: its Add items where the panel would offer them.
    {"pmDrawing", "01110"},
    {"pmAdd", "01110"},
    {"pmAddDrop", "01000"},
    {"pmAddValve", "01010"},
    {"pmAddAutomaticDrain", "00010"},
    {"pmAddManualDrain", "00010"},
    {"pmAddSpur", "01010"},
    {"pmAddInlet", "01000"},
    {"pmAddBuildingFeature", "01010"},
    {"pmZoomIn", "01111"},
    {"pmZoomOut", "01111"},
    {"pmZoomToFit", "01111"},
    // Its editing items follow the selection's kind.
    {"pmAddToDrop", "00100"},
    {"pmEditPosition", "00100"},
    {"pmEditHeight", "00100"},
    {"pmEditObjectLabel", "00100"},
    {"pmEditDropOutletSize", "00100"},
    {"pmEditSpurPipeSize", "00000"},
    {"pmEditSpurHeight", "00000"},
    {"pmEditInletPipeLength", "00000"},
    {"pmEditInletPipeSize", "00000"},
    {"pmEditDrainPipeSize", "00000"},
    {"pmDropStyle", "00100"},
    {"pmDropStyleFemale", "00100"},
    {"pmDropStyleQuick", "00100"},
    {"pmDropStyleFemaleSaddle", "00100"},
    {"pmBuildFeatureEllipse", "00000"},
    {"pmInsertElbowBeforeSelection", "00000"},
    {"pmInsertElbowAfterSelection", "00000"},
    {"pmCopySelectedDrop", "00100"},
    {"pmPasteNewDrop", "00000"},
    {"pmDeleteSelection", "00100"},
    {"pmRemoveHighlighting", "01110"},
    // The drop view's pop-up, on the selected drop whose hose the close-up
    // selected; the part windows assign parts to its selected symbol.
    {"pmDropView", "00100"},
    {"pmDropViewAdd", "00100"},
    {"pmDropViewAddPressureGauge", "00100"},
    {"pmDropViewAdd3PortOutletManifold", "00100"},
    {"pmDropViewAddFemaleAdapter", "00100"},
    {"pmDelete", "00100"},
    {"pmMoveUp", "00100"},
    {"pmMoveDown", "00100"},
    {"pmEditHiseSize", "00100"},
    {"pmAssignGenericParts", "00100"},
    {"pmAssignZAVOZAParts", "00100"},
    {"pmViewCatalogue", "00000", false}, // the drop carries no package
    {"moCopyPipeloopAsBitmap", "01110"},
    {"moCopyPipeloopAsMetafile", "01110"},
    // Options and Help.
    {"muOptions", "11110"},
    {"moViewToolBar", "11110"},
    {"moView3DDisplay", "01110"},
    {"muDisplayDrop", "01110"},
    {"moDisplayDropAuto", "01110"},
    {"moHighlightElbows", "01110"},
    {"moPrintDisplayOptions", "11110"},
    {"moBrowsePartsDB", "11110"},
    {"muHelp", "11110"},
    // No help viewer is installed in these tests: its two items stay disabled.
    {"moHelpContents", "11110", false},
    {"moHelpTopics", "11110", false},
    {"moEULA", "11110"},
    {"moEMail", "11110"},
    {"moAbout", "11110"},
    // Lessons: no lesson files beside the test program, but the rules hold.
    {"muTutorials", "11110"},
    {"moLesson1", "11110"},
};

// Each state reached as a user reaches it.
void Reach(MainWindowFixture& f, State state, const QTemporaryDir& dir)
{
    // A recent project in every state, so that its menu is there to check.
    const QString recent = dir.filePath(QStringLiteral("recent.plf"));
    QFile::copy(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf", recent);
    f.settings.writeText("LastFile1", recent);
    f.start();
    if (state == NoDesign)
        return;
    if (state == CompressorHouse) {
        f.dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
        f.form.files().newProject(true);
        return;
    }
    const QString sample = dir.filePath(QStringLiteral("w%1.plf").arg(int(state)));
    QFile::copy(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf", sample);
    ASSERT_TRUE(f.form.files().open(sample));
    if (state == DropSelected) {
        const TDrop& drop = *f.design()->Drops[0];
        Click(f.form, QPoint(18 + int(drop.EW * f.form.view().pixelsPerMmX()),
                             18 + int(drop.NS * f.form.view().pixelsPerMmY())));
        ASSERT_EQ(f.form.document().selected(), &drop);
        ASSERT_EQ(drop.SymbolName(2), "AIR-HOSE");
        ClickDropViewSymbol(f.form, 2);
        ASSERT_EQ(drop.SelectedSymbol, 2);
    }
    if (state == Prompt) {
        ASSERT_TRUE(f.form.tools().start(std::make_unique<EnterElbowsTool>()));
    }
}

// A hidden item (the lessons without their files) is one Qt keeps disabled;
// its rule is still checked through the table.
bool ShownEnabled(MainWindowFixture& f, const QString& id, bool enabled)
{
    const auto shown = [enabled](const QAction* item) {
        return item->isVisible() ? item->isEnabled() : enabled;
    };
    if (QAction* item = f.form.commands().action(id))
        return shown(item);
    if (QMenu* menu = f.form.commands().menu(id))
        return shown(menu->menuAction());
    QToolButton* button = f.form.commands().button(id);
    return button && button->isEnabled();
}

TEST(CommandEnabling, EveryCommandInTheFiveStatesOfTheWindow)
{
    QTemporaryDir dir;
    for (int s = 0; s < StateCount; ++s) {
        MainWindowFixture f;
        Reach(f, State(s), dir);
        const EditorState state = f.form.editorState();
        const CommandTable& table = f.form.commands();
        for (const Expectation& e : Expectations) {
            const QString id = QString::fromLatin1(e.id);
            const bool allowed = e.rule[s] == '1';
            const bool enabled = e.built && allowed;
            const std::string where = std::string(e.id) + " in state '" + StateNames[s] + "'";
            EXPECT_EQ(table.enabledIn(id, state), enabled) << where;
            EXPECT_EQ(ShownEnabled(f, id, enabled), enabled) << where;
            if (const CommandRow* row = table.find(id)) {
                EXPECT_EQ(row->built(), e.built) << e.id;
                EXPECT_EQ(!row->enabled || row->enabled(state), allowed) << where << " (rule)";
            }
        }
    }
}

// Every symbol button shows a picture of what it places, drawn whole inside
// the button, and no two show the same picture; its name is its hint.
TEST(CommandEnabling, SymbolButtonsShowTheirOwnPictures)
{
    MainWindowFixture f;
    f.start();
    QList<QImage> pictures;
    for (QToolButton* button : f.form.commands().buttons(ButtonPanel::Symbols)) {
        const QString name = button->objectName();
        EXPECT_TRUE(button->text().isEmpty()) << name.toStdString();
        EXPECT_EQ(button->accessibleName(), button->toolTip()) << name.toStdString();
        const QImage picture = button->icon().pixmap(button->iconSize()).toImage();
        ASSERT_FALSE(picture.isNull()) << name.toStdString();
        int ink = 0;
        bool onBorder = false;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                if (qAlpha(picture.pixel(x, y)) == 0)
                    continue;
                ++ink;
                onBorder = onBorder || x == 0 || y == 0 || x == picture.width() - 1 ||
                           y == picture.height() - 1;
            }
        EXPECT_GT(ink, 20) << name.toStdString();
        EXPECT_FALSE(onBorder) << name.toStdString() << " is cut off";
        EXPECT_FALSE(pictures.contains(picture)) << name.toStdString() << " repeats a picture";
        pictures.append(picture);
    }
    EXPECT_EQ(pictures.size(), 24);
}

} // namespace
} // namespace pipeloop::testing
