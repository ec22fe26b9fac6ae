#include "GuiTestSupport.h"

#include "DesignCommands.h"
#include "DisplayCommands.h"
#include "DrawingArea.h"
#include "DropViewPanel.h"
#include "EnterElbowsTool.h"
#include "PartsDatabase.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"
#include "TestFiles.h"
#include "ToolManager.h"
#include "ViewMath.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

QString CopySample(const QTemporaryDir& dir, const QString& sample, const QString& as)
{
    const QString target = dir.filePath(as);
    QFile::copy(QStringLiteral(PIPELOOP_SAMPLES) + sample, target);
    QFile(target).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return target;
}

// The drawing area's pixel of a plan position at the view's scale.
QPoint PixelAt(TMainForm& form, int32_t ew, int32_t ns)
{
    return QPoint(18 + int(ew * form.view().pixelsPerMmX()),
                  18 + int(ns * form.view().pixelsPerMmY()));
}

TEST(MainWindowStart, FirstStartWithoutSettingsKeepsTheDefaults)
{
    MainWindowFixture f;
    f.start();
    for (ViewKind view : AllViews)
        EXPECT_EQ(f.form.view().zoomFactor(view), 20);
    EXPECT_FALSE(f.action("moViewToolBar")->isChecked());
    EXPECT_EQ(f.form.files().recentFiles().count(), 0);
    EXPECT_FALSE(f.menu("muRecentProjects")->menuAction()->isVisible());
    // The Grid menu marks the spacing the drawing is shown with.
    EXPECT_EQ(f.form.document().options().GridSpacing, 1000);
    EXPECT_TRUE(f.action("moGrid1m")->isChecked());
    EXPECT_FALSE(f.action("moGridOff")->isChecked());
    EXPECT_TRUE(f.action("moSnapToGrid")->isChecked());
    // The welcome state: no design, only File, Options and Help usable.
    EXPECT_EQ(f.design(), nullptr);
    EXPECT_FALSE(f.menu("muView")->menuAction()->isEnabled());
    EXPECT_TRUE(f.menu("muFile")->menuAction()->isEnabled());
    EXPECT_FALSE(f.form.document().isModified());
    // The demo catalogue beside the program was loaded, with its logo.
    EXPECT_GT(f.form.partsDatabase().PartCount(), 0);
    EXPECT_FALSE(f.form.logoImage().isNull());
    // Commands of later work are there, and honestly disabled.
    EXPECT_FALSE(f.action("moPrintView")->isEnabled());
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(MainWindowStart, SettingsAreRestoredAndWrittenBack)
{
    MainWindowFixture f;
    QTemporaryDir dir;
    const QString sample = CopySample(dir, "workshop.plf", "a.plf");
    f.settings.writeInt("ZoomFactorPLAN", 50);
    f.settings.writeInt("ZoomFactorNORTH", 3); // below the minimum
    f.settings.writeText("LastFile1", sample);
    f.settings.writeText("LastFile2", dir.filePath("gone.plf"));
    f.settings.writeBool("ViewToolBar", true);
    f.start();
    EXPECT_EQ(f.form.view().zoomFactor(ViewKind::Plan), 50);
    EXPECT_TRUE(f.action("moZoom50")->isChecked());
    EXPECT_EQ(f.form.files().recentFiles().paths(), QStringList{sample});
    EXPECT_TRUE(f.menu("muRecentProjects")->menuAction()->isVisible());
    EXPECT_TRUE(f.action("moViewToolBar")->isChecked());

    f.form.SaveSettings();
    EXPECT_EQ(f.settings.RegReadInt("ZoomFactorPLAN", 0), 50);
    EXPECT_EQ(f.settings.RegReadText("LastFile1", {}), sample);
    EXPECT_TRUE(f.settings.RegReadBool("ViewToolBar", false));
}

TEST(MainWindowStart, MissingPriceListOffersIgnoreRemoveAndHelp)
{
    MainWindowFixture f;
    f.settings.writeText("PartsPriceListFile", "/nowhere/prices.ppl");
    f.ui.askAnswers.push_back("&Remove");
    f.start();
    ASSERT_EQ(f.ui.questions.size(), 1);
    EXPECT_EQ(f.ui.questions[0], "Cannot find parts price list file : /nowhere/prices.ppl");
    EXPECT_TRUE(f.form.document().options().PartsPriceListFile.isEmpty());
}

TEST(RecentProjects, OpeningTheNinthDropsTheOldestAndReopeningMovesItUp)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    QStringList files;
    for (int i = 1; i <= 9; ++i)
        files.append(CopySample(dir, "workshop.plf", QStringLiteral("Project%1.plf").arg(i)));
    for (const QString& file : files)
        ASSERT_TRUE(f.form.files().open(file));
    EXPECT_EQ(f.form.files().recentFiles().count(), 8);
    EXPECT_FALSE(f.form.files().recentFiles().paths().contains(files[0]));
    EXPECT_EQ(f.menu("muRecentProjects")->actions().size(), 8);

    // The same file by a path in other case is the same entry (Windows paths).
    ASSERT_TRUE(f.form.files().open(files[4]));
    f.form.files().addRecentFile(files[4].toUpper());
    EXPECT_EQ(f.form.files().recentFiles().count(), 8);
    EXPECT_EQ(f.form.files().recentFiles().at(0), files[4].toUpper());
    EXPECT_EQ(f.menu("muRecentProjects")->actions()[0]->data().toInt(), 0);
}

TEST(RecentProjects, AFileOfAnotherVersionIsRefusedAndTheOpenDesignStays)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString good = CopySample(dir, "workshop.plf", "good.plf");
    ASSERT_TRUE(f.form.files().open(good));
    TPipeLoop* before = f.design();
    const QString bad = dir.filePath("v2.plf");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PIPELOOP-FILE-INFO]\r\nFile_Version=2\r\n\r\n");
    file.close();
    EXPECT_FALSE(f.form.files().open(bad));
    EXPECT_EQ(f.design(), before);
    EXPECT_EQ(f.form.document().fileName(), good);
    EXPECT_FALSE(f.form.files().recentFiles().paths().contains(bad));
    EXPECT_TRUE(f.ui.texts().last().contains("Expected version 1 , found version 2"));
}

TEST(SaveQuestion, YesThenCancellingTheSaveDialogAsksAgain)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    ASSERT_TRUE(f.form.document().isModified());
    f.ui.askAnswers = {"&Yes", "&Cancel"};
    // no save path queued: the save dialog is cancelled
    EXPECT_FALSE(f.form.files().querySaveChanges());
    EXPECT_EQ(f.ui.questions.size(), 2);
    EXPECT_EQ(f.ui.questions[0], "Current project changes not saved, save now ?");
    EXPECT_EQ(f.dialogs.titles, QStringList{"Save Project"});
    EXPECT_TRUE(f.form.document().isModified());
}

TEST(SaveQuestion, YesWithAPathSavesAndGoesOnNoGoesOnWithoutSaving)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    QTemporaryDir dir;
    const QString path = dir.filePath("saved.plf");
    f.ui.askAnswers = {"&Yes"};
    f.dialogs.saveAnswers = {path};
    EXPECT_TRUE(f.form.files().querySaveChanges());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(CheckProjectHeader(path));
    EXPECT_FALSE(f.form.document().isModified());
    EXPECT_TRUE(
        f.form.document().fileName().isEmpty()); // a save made for the question forgets the name
    EXPECT_EQ(f.form.files().recentFiles().at(0), path);

    f.form.document().push(new SetNotesCommand(*f.design(), {"changed"}));
    f.ui.askAnswers = {"&No"};
    EXPECT_TRUE(f.form.files().querySaveChanges());
    EXPECT_TRUE(f.form.document().isModified());
}

TEST(FileCommands, SaveAsAlwaysAsksAndSaveReusesTheName)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    EXPECT_FALSE(f.form.document().isModified());
    EXPECT_EQ(f.form.statusText(5), " w.plf");
    f.dialogs.textAnswers = {QStringLiteral("New description")};
    f.form.files().editProjectText(SetProjectTextCommand::Field::Description);
    EXPECT_TRUE(f.form.document().isModified());
    EXPECT_TRUE(f.form.files().save());
    EXPECT_TRUE(f.dialogs.titles.filter("Save Project").isEmpty());
    EXPECT_FALSE(f.form.document().isModified());

    const QString other = dir.filePath("other.plf");
    f.dialogs.saveAnswers = {other};
    EXPECT_TRUE(f.form.files().saveAs());
    EXPECT_EQ(f.form.document().fileName(), other);
    EXPECT_EQ(f.dialogs.titles.filter("Save Project").size(), 1);

    // What was written comes back.
    ASSERT_TRUE(f.form.files().open(other));
    EXPECT_EQ(f.design()->Description, "New description");
}

TEST(FileCommands, AHeaderThatIsNotAProjectIsRefusedBeforeTheSaveQuestion)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    QTemporaryDir dir;
    const QString text = dir.filePath("notes.txt");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("hello\r\n");
    file.close();
    f.dialogs.openAnswers = {text};
    f.form.files().openProject();
    EXPECT_TRUE(f.ui.questions.isEmpty());
    EXPECT_EQ(f.ui.texts().last(), HeaderInvalidMessage(text));
}

TEST(NewProject, BuildsTheDesignFromTheWizardAndStartsModified)
{
    MainWindowFixture f;
    f.start();
    f.newDesign(ElbowChoice::DefaultLoop);
    TPipeLoop* design = f.design();
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->RoomEW, 5000);
    EXPECT_EQ(design->RoomNS, 3000);
    EXPECT_EQ(design->Elbows.size(), 5u);
    EXPECT_FLOAT_EQ(design->PipeSize, 50.0f);
    EXPECT_TRUE(f.form.document().isModified());
    EXPECT_TRUE(f.form.document().fileName().isEmpty());
    EXPECT_TRUE(f.menu("muView")->menuAction()->isEnabled());
    EXPECT_TRUE(f.form.dropView().isVisibleTo(&f.form));
    // Undoing everything cannot make a new design "saved".
    while (f.form.document().undoStack().canUndo())
        f.form.document().undoStack().undo();
    EXPECT_TRUE(f.form.document().isModified());
}

TEST(NewProject, ClipboardElbowsInMetresAndAnEmptyClipboardFallsBackToEntry)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.clipboard = "0 0\r\n4 0\r\n4 2.5\r\n0 2.5\r\n0 0\r\n";
    f.newDesign(ElbowChoice::ClipboardMetres);
    ASSERT_EQ(f.design()->Elbows.size(), 5u);
    EXPECT_EQ(f.design()->Elbows[2]->EW, 4000);
    EXPECT_EQ(f.design()->Elbows[2]->NS, 2500);

    f.dialogs.clipboard.clear();
    f.ui.askAnswers = {"&No"};
    f.newDesign(ElbowChoice::ClipboardMm);
    ASSERT_TRUE(f.form.tools().active()) << "the elbow entry takes over";
    PressPromptButton(f.form, "&Done");
    EXPECT_TRUE(f.ui.texts().contains("No data on clip board to import."));
    EXPECT_TRUE(f.ui.texts().contains(
        "No elbows loaded from clip board.\r\nYou will be required to enter elbows."));
    // Nothing entered either: the default loop.
    EXPECT_TRUE(
        f.ui.texts().contains("No elbows added, elbows will default to building dimensions."));
    EXPECT_EQ(f.design()->Elbows.size(), 5u);
}

TEST(FileCommands, TheFileNamePanelFollowsTheDesignAndMarksALongName)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString longName =
        CopySample(dir, "workshop.plf", "North factory extension, second floor, revision 7.plf");
    ASSERT_TRUE(f.form.files().open(longName));
    const QString shown = f.form.statusText(5);
    EXPECT_TRUE(shown.startsWith(" North")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << shown.toStdString();
    const auto* panel = f.form.findChild<QLabel*>("sbPanel5");
    EXPECT_EQ(panel->toolTip(), QDir::toNativeSeparators(longName));
    // The title names the project and marks unsaved changes.
    EXPECT_EQ(f.form.windowTitle(),
              "PIPELOOP - North factory extension, second floor, revision 7.plf[*]");
    EXPECT_FALSE(f.form.isWindowModified());
    f.form.document().push(new SetNotesCommand(*f.design(), {"changed"}));
    EXPECT_TRUE(f.form.isWindowModified());
    // A new design has no file yet: the previous name goes.
    f.ui.askAnswers = {"&No"}; // not saved
    f.newDesign();
    EXPECT_EQ(f.form.statusText(5), "");
    EXPECT_EQ(panel->toolTip(), "");
    EXPECT_EQ(f.form.windowTitle(), "PIPELOOP[*]");
    EXPECT_TRUE(f.form.isWindowModified()); // never saved
    f.ui.askAnswers = {"&No"};
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    EXPECT_EQ(f.form.statusText(5), " w.plf");
    EXPECT_EQ(f.form.windowTitle(), "PIPELOOP - w.plf[*]");
}

TEST(NewProject, CompressorHouseHasNoSectionsAndNoElbows)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
    f.form.files().newProject(true);
    ASSERT_NE(f.design(), nullptr);
    EXPECT_TRUE(f.design()->CompressorHouse);
    EXPECT_TRUE(f.design()->Elbows.empty());
    EXPECT_FALSE(f.action("moNorthSection")->isEnabled());
    EXPECT_TRUE(f.action("moPlan")->isEnabled());
}

TEST(Views, ZoomTwentyAt96DpiGives981By603AndTheMenuStepsStopAtFive)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    ASSERT_EQ(f.form.view().drawingArea()->logicalDpiX(), 96);
    EXPECT_EQ(f.form.view().drawingArea()->size(), QSize(981, 603));
    EXPECT_EQ(f.form.statusText(0), "20:1");
    EXPECT_EQ(f.form.view().caption(), " Plan View . . .");

    f.form.view().setZoom(8);
    f.action("moZoomIn")->trigger();
    EXPECT_EQ(f.form.view().zoomFactor(ViewKind::Plan), 5);

    // Each view keeps its own factor.
    f.form.view().setView(ViewKind::South);
    EXPECT_EQ(f.form.view().zoomFactor(ViewKind::South), 20);
    EXPECT_EQ(f.form.view().caption(), " South Section . . .");
    f.form.view().setView(ViewKind::Plan);
    EXPECT_EQ(f.form.statusText(0), "5:1");
}

TEST(Views, ZoomOutDoesNothingOnceTheDrawingFits)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.resize(1200, 900);
    f.form.show();
    f.form.view().setZoom(200); // a drawing far smaller than the window
    ASSERT_TRUE(f.form.view().scrollBox()->viewport()->width() >=
                f.form.view().drawingArea()->width());
    f.action("moZoomOut")->trigger();
    EXPECT_EQ(f.form.view().zoomFactor(ViewKind::Plan), 200);
    f.form.view().setZoom(10);
    f.action("moZoomOut")->trigger();
    EXPECT_EQ(f.form.view().zoomFactor(ViewKind::Plan), 15);
}

TEST(Views, MouseMovesShowTheModelPositionInTheDesignsUnits)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    const double ppm = f.form.view().pixelsPerMmX();
    MoveMouse(f.form, QPoint(18 + int(1000 * ppm), 18 + int(500 * ppm)));
    EXPECT_TRUE(f.form.statusText(1).endsWith("mm EW"));
    EXPECT_TRUE(f.form.statusText(2).endsWith("mm NS"));
    EXPECT_EQ(f.form.statusText(3), "---");
    MoveMouse(f.form, QPoint(2, 2));
    EXPECT_EQ(f.form.statusText(1), "---");
}

TEST(Views, TheWheelScrollsAQuarterOfItsDeltaAndShiftOnlyWhenAskedFor)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.resize(800, 500);
    f.form.show();
    f.form.view().setZoom(10);         // larger than the window both ways
    QCoreApplication::processEvents(); // lets the scroll box lay out its bars
    QScrollBar* vertical = f.form.view().scrollBox()->verticalScrollBar();
    QScrollBar* horizontal = f.form.view().scrollBox()->horizontalScrollBar();
    ASSERT_TRUE(vertical->isVisible());
    vertical->setValue(200);
    EXPECT_TRUE(f.form.view().wheelScroll(120, Qt::NoModifier));
    EXPECT_EQ(vertical->value(), 170);
    EXPECT_TRUE(f.form.view().wheelScroll(-121, Qt::NoModifier));
    EXPECT_EQ(vertical->value(), 200); // -121 div 4 is -30

    f.form.document().options().ShiftWheelScrollLeftRight = false;
    horizontal->setValue(100);
    f.form.view().wheelScroll(120, Qt::ShiftModifier);
    EXPECT_EQ(horizontal->value(), 100);
    EXPECT_EQ(vertical->value(), 200);
    f.form.document().options().ShiftWheelScrollLeftRight = true;
    f.form.view().wheelScroll(120, Qt::ShiftModifier);
    EXPECT_EQ(horizontal->value(), 70);
    EXPECT_FALSE(f.form.view().wheelScroll(120, Qt::AltModifier)); // left to the system
}

TEST(Views, ZoomToFitShowsTheWholeBuildingAndCtrlWheelZoomsAboutThePointer)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.resize(800, 500);
    f.form.show();
    DesignView& view = f.form.view();
    QCoreApplication::processEvents();
    const QSize window = view.scrollBox()->maximumViewportSize();
    for (ViewKind kind : {ViewKind::Plan, ViewKind::East}) {
        view.setView(kind);
        view.setZoom(10);
        view.zoomToFit();
        const QSize fitted = view.drawingArea()->size();
        EXPECT_LE(fitted.width(), window.width());
        EXPECT_LE(fitted.height(), window.height());
        // The largest such zoom: one step in no longer fits.
        const int zoom = view.zoom();
        view.setZoom(zoom - 1);
        const QSize closer = view.drawingArea()->size();
        EXPECT_TRUE(closer.width() > window.width() || closer.height() > window.height())
            << int(kind) << " at " << zoom;
    }

    // Ctrl+wheel: forward zooms in a step, back out, the point under the
    // pointer stays under it.
    view.setView(ViewKind::Plan);
    view.setZoom(15); // larger than the window both ways
    QCoreApplication::processEvents();
    const QPoint pointer(300, 200); // in the window
    const QPoint pixel = view.drawingArea()->mapFrom(view.scrollBox()->viewport(), pointer);
    const Position before = view.trackMouse(pixel);
    view.zoomAt(pixel, -ZoomStep);
    EXPECT_EQ(view.zoom(), 10);
    const Position after =
        view.trackMouse(view.drawingArea()->mapFrom(view.scrollBox()->viewport(), pointer));
    const double mmPerPixel = 1.0 / view.pixelsPerMmX();
    EXPECT_NEAR(after.EW, before.EW, mmPerPixel);
    EXPECT_NEAR(after.NS, before.NS, mmPerPixel);
    EXPECT_TRUE(view.wheelScroll(-120, Qt::ControlModifier));
    EXPECT_EQ(view.zoom(), 15);
}

TEST(Views, GridMenuAndCustomSpacing)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.action("moGrid25cm")->trigger();
    EXPECT_EQ(f.form.document().options().GridSpacing, 250);
    EXPECT_TRUE(f.action("moGrid25cm")->isChecked());
    EXPECT_FALSE(f.action("moGridOff")->isChecked());

    f.dialogs.textAnswers = {QStringLiteral("1.2m")};
    f.action("moCustomGridSpacing")->trigger();
    EXPECT_EQ(f.form.document().options().GridSpacing, 1200);
    EXPECT_TRUE(f.action("moCustomGridSpacing")->isChecked());
    EXPECT_FALSE(f.action("moGrid25cm")->isChecked());

    f.dialogs.textAnswers = {QStringLiteral("0")};
    f.action("moCustomGridSpacing")->trigger();
    EXPECT_EQ(f.ui.texts().last(), "Invalid grid spacing : 0");
    EXPECT_EQ(f.form.document().options().GridSpacing, 1200);
    EXPECT_TRUE(f.action("moCustomGridSpacing")->isChecked());
}

TEST(Views, SnapToGridIsAnUndoableChange)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    const bool before = f.form.document().options().SnapToGrid;
    f.action("moSnapToGrid")->trigger();
    EXPECT_EQ(f.form.document().options().SnapToGrid, !before);
    EXPECT_EQ(f.action("moSnapToGrid")->isChecked(), !before);
    EXPECT_TRUE(f.form.document().isModified());
    f.action("moUndo")->trigger();
    EXPECT_EQ(f.form.document().options().SnapToGrid, before);
    EXPECT_EQ(f.action("moSnapToGrid")->isChecked(), before);
    EXPECT_FALSE(f.form.document().isModified());
}

TEST(Selection, TiesGoToTheFirstMetAndAltReachesTheOther)
{
    MainWindowFixture f;
    f.start();
    f.newDesign(ElbowChoice::DefaultLoop); // ELBOW1 and ELBOW5 both at the north-west corner
    const QPoint corner(18, 18);
    Click(f.form, corner);
    ASSERT_NE(f.design()->Selected, nullptr);
    EXPECT_EQ(f.design()->Selected->Name, "ELBOW1");
    EXPECT_EQ(f.form.statusText(4), "ELBOW1");
    Click(f.form, corner, Qt::AltModifier);
    EXPECT_EQ(f.design()->Selected->Name, "ELBOW5");

    // Far from everything: nothing selected, the label panel cleared.
    Click(f.form, QPoint(400, 300));
    EXPECT_EQ(f.design()->Selected, nullptr);
    EXPECT_EQ(f.form.statusText(4), "");
    // The right button never selects.
    PressMouse(f.form, corner, Qt::RightButton);
    EXPECT_EQ(f.design()->Selected, nullptr);
}

TEST(Prompts, EnteredElbowsAreOneUndoStepBackToTheSavedState)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    const size_t before = f.design()->Elbows.size();
    f.form.document().options().SnapToGrid = true;
    f.form.display().setGridSpacing(250);
    ASSERT_TRUE(f.form.tools().start(std::make_unique<EnterElbowsTool>()));
    // Shortcuts too: Ctrl+N or Ctrl+Z must not run now; zooming changes no
    // design and stays usable.
    EXPECT_FALSE(f.menu("muFile")->menuAction()->isEnabled());
    EXPECT_FALSE(f.action("moNewPipeLoopProject")->isEnabled());
    EXPECT_FALSE(f.action("moUndo")->isEnabled());
    EXPECT_TRUE(f.action("moZoomIn")->isEnabled());
    EXPECT_TRUE(f.form.prompt().isOpen());
    EXPECT_EQ(f.form.prompt().box()->buttonCaptions(), (QStringList{"&Done", "&Cancel"}));

    Click(f.form, PixelAt(f.form, 1130, 1880));
    const int zoom = f.form.view().zoom();
    f.action("moZoomIn")->trigger();
    EXPECT_EQ(f.form.view().zoom(), zoom - 5);
    Click(f.form, PixelAt(f.form, 1500, 1880));
    PressPromptButton(f.form, "&Done");
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_FALSE(f.form.prompt().isOpen());
    EXPECT_TRUE(f.menu("muFile")->menuAction()->isEnabled());
    // Two elbows and the one that closes the ring back to the first.
    ASSERT_EQ(f.design()->Elbows.size(), before + 3);
    const TElbow& first = *f.design()->Elbows[before];
    EXPECT_EQ(first.EW % 250, 0); // snapped to the grid
    EXPECT_EQ(first.NS % 250, 0);
    EXPECT_EQ(first.HG, f.design()->Height);
    EXPECT_EQ(first.Name, QStringLiteral("ELBOW%1").arg(before + 1));
    EXPECT_EQ(f.design()->Elbows.back()->EW, f.design()->Elbows.front()->EW);
    EXPECT_EQ(f.design()->Elbows.back()->NS, f.design()->Elbows.front()->NS);
    EXPECT_TRUE(f.form.document().isModified());

    f.action("moUndo")->trigger();
    EXPECT_EQ(f.design()->Elbows.size(), before);
    EXPECT_FALSE(f.form.document().isModified());
    f.action("moRedo")->trigger();
    EXPECT_EQ(f.design()->Elbows.size(), before + 3);
    EXPECT_TRUE(f.form.document().isModified());
}

TEST(Prompts, EscapeCancelOrClosingTheWindowEndTheEntryAndGiveTheCommandsBack)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    const size_t before = f.design()->Elbows.size();
    const auto enter = [&f] {
        ASSERT_TRUE(f.form.tools().start(std::make_unique<EnterElbowsTool>()));
        EXPECT_FALSE(f.menu("muView")->menuAction()->isEnabled());
        EXPECT_EQ(f.form.view().drawingArea()->toolTip(),
                  "Position each elbow with a mouse click.");
        Click(f.form, QPoint(200, 200));
    };
    enter();
    QTest::keyClick(&f.form, Qt::Key_Escape);
    EXPECT_FALSE(f.form.tools().active());
    enter();
    PressPromptButton(f.form, "&Cancel");
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_EQ(f.design()->Elbows.size(), before);
    // Closing the window ends the entry as Done does; the window stays.
    enter();
    EXPECT_FALSE(f.form.close());
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_EQ(f.design()->Elbows.size(), before + 2) << "the elbow and the ring's closing one";

    EXPECT_FALSE(f.form.prompt().isOpen());
    EXPECT_TRUE(f.menu("muView")->menuAction()->isEnabled());
    EXPECT_EQ(f.form.view().drawingArea()->toolTip(), "Click near symbol or elbow to select.");
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(ProjectInformation, NotesAndTextsAreUndoable)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    const QStringList notes = f.design()->Notes;
    f.dialogs.notesAnswer = QStringLiteral("line one\nline two");
    f.form.files().editProjectNotes();
    EXPECT_EQ(f.design()->Notes, (QStringList{"line one", "line two"}));
    f.dialogs.textAnswers = {QStringLiteral("ACME")};
    f.action("moCustomer")->trigger();
    EXPECT_EQ(f.design()->CustomerCompany, "ACME");
    f.form.document().undoStack().undo();
    f.form.document().undoStack().undo();
    EXPECT_EQ(f.design()->Notes, notes);
    EXPECT_FALSE(f.form.document().isModified());

    // An unchanged text is no change.
    f.dialogs.textAnswers = {f.design()->CreatedBy};
    f.form.files().editProjectText(SetProjectTextCommand::Field::CreatedBy);
    EXPECT_FALSE(f.form.document().isModified());
}

} // namespace
} // namespace pipeloop::testing

namespace pipeloop::testing
{
namespace
{

QPoint PixelOf(TMainForm& form, const TPipeLoopObject& object)
{
    return QPoint(18 + int(object.EW * form.view().pixelsPerMmX()),
                  18 + int(object.NS * form.view().pixelsPerMmY()));
}

QStringList VisibleSymbolHints(TMainForm& form)
{
    QStringList hints;
    for (QToolButton* button : form.symbolPanel()->findChildren<QToolButton*>())
        if (button->isVisibleTo(form.symbolPanel()))
            hints.append(button->toolTip());
    return hints;
}

TEST(Selection, ADropShowsItsCloseUpAndTheEquipmentButtons)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    f.action("moDisplayDropAuto")->trigger(); // only for a drain, drop or inlet
    EXPECT_FALSE(f.form.dropView().isVisibleTo(&f.form));
    EXPECT_TRUE(VisibleSymbolHints(f.form).contains("Manual Drain"));
    EXPECT_FALSE(VisibleSymbolHints(f.form).contains("Pressure Gauge"));

    const TDrop& drop = *f.design()->Drops[0];
    const QPoint at = PixelOf(f.form, drop);
    Click(f.form, at);
    ASSERT_EQ(f.design()->Selected, &drop);
    EXPECT_EQ(f.form.statusText(4), drop.Name);
    EXPECT_TRUE(f.form.dropView().isVisibleTo(&f.form));
    EXPECT_TRUE(VisibleSymbolHints(f.form).contains("Pressure Gauge"));
    EXPECT_FALSE(VisibleSymbolHints(f.form).contains("Manual Drain"));

    const QPoint empty(2, 2);
    Click(f.form, empty);
    EXPECT_FALSE(f.form.dropView().isVisibleTo(&f.form));
}

TEST(Selection, DraggingADropAlongItsPipeIsOneUndoStep)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    TDrop& drop = *f.design()->Drops[0];
    const Position start = drop.position();
    const QPoint at = PixelOf(f.form, drop);
    PressMouse(f.form, at);
    ASSERT_EQ(f.form.document().selected(), &drop);
    MoveMouse(f.form, at + QPoint(15, 0), Qt::LeftButton);
    MoveMouse(f.form, at + QPoint(30, 0), Qt::LeftButton);
    // The drag holds the window: no command can change the design under it.
    EXPECT_TRUE(f.form.tools().active());
    EXPECT_FALSE(f.menu("muEdit")->menuAction()->isEnabled());
    EXPECT_EQ(f.form.view().drawingArea()->toolTip(),
              "Moving symbol, release mouse button to complete move.");
    ReleaseMouse(f.form, at + QPoint(30, 0));
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_EQ(f.form.view().drawingArea()->toolTip(), "Click near symbol or elbow to select.");
    EXPECT_GT(drop.EW, start.EW);
    EXPECT_EQ(drop.NS, start.NS) << "back on its pipe";
    EXPECT_TRUE(f.form.document().isModified());
    f.action("moUndo")->trigger();
    EXPECT_EQ(drop.position(), start);
    EXPECT_FALSE(f.form.document().isModified());
    EXPECT_TRUE(f.ui.messages.empty());
}

// The plan pixel halfway along the loop's first pipe.
QPoint OnFirstPipe(TMainForm& form)
{
    const TElbow& a = *form.document().design()->Elbows[0];
    const TElbow& b = *form.document().design()->Elbows[1];
    return PixelAt(form, (a.EW + b.EW) / 2, (a.NS + b.NS) / 2);
}

TEST(Adding, TheDropButtonPlacesADropWhereThePlanIsClickedAndUndoTakesItBack)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    const size_t drops = f.design()->Drops.size();
    f.form.commands().button("sbDrop")->click();
    ASSERT_TRUE(f.form.tools().active());
    EXPECT_TRUE(f.form.prompt().isOpen());
    EXPECT_FALSE(f.menu("muEdit")->menuAction()->isEnabled());

    f.dialogs.dropAnswers = {[](const DropEntry& shown) { return std::optional(shown); }};
    Click(f.form, OnFirstPipe(f.form));
    EXPECT_EQ(f.dialogs.titles.last(), "New Drop Attributes");
    PressPromptButton(f.form, "&Done");
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_EQ(f.design()->Drops.size(), drops + 1);
    EXPECT_TRUE(f.ui.messages.empty());
    f.action("moUndo")->trigger();
    EXPECT_EQ(f.design()->Drops.size(), drops);
    EXPECT_FALSE(f.form.document().isModified());

    // With a drop selected the Valve button puts a valve into the drop.
    TDrop& drop = *f.design()->Drops[0];
    const auto valvesIn = [&drop] {
        return std::count_if(drop.Symbols.begin(), drop.Symbols.end(),
                             [](const TSymbolEntry& s) { return s.Keyword == "VALVE"; });
    };
    const auto valves = valvesIn();
    Click(f.form, PixelOf(f.form, drop));
    ASSERT_EQ(f.form.document().selected(), &drop);
    f.form.commands().button("sbValve")->click();
    EXPECT_FALSE(f.form.tools().active());
    EXPECT_EQ(valvesIn(), valves + 1);
    f.action("moUndo")->trigger();
    EXPECT_EQ(valvesIn(), valves);
}

// A right click opens the drawing's pop-up menu; its "Add" items act where it
// was opened, without a prompt.
TEST(Adding, ThePopupMenusAddItemsActWhereItWasOpened)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    f.form.document().options().SnapToGrid = false;
    const size_t valves = f.design()->Valves.size();
    QMenu* popup = f.menu("pmDrawing");
    ASSERT_NE(popup, nullptr);
    EXPECT_FALSE(f.form.menuBar()->actions().contains(popup->menuAction()));

    const QPoint at = OnFirstPipe(f.form);
    PressMouse(f.form, at, Qt::RightButton);
    ReleaseMouse(f.form, at, Qt::RightButton);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_TRUE(f.action("pmAddValve")->isEnabled());
    EXPECT_FALSE(f.action("pmAddManualDrain")->isEnabled()) << "a drain is the house's item";
    f.action("pmAddValve")->trigger();
    popup->close();
    EXPECT_FALSE(f.form.tools().active());
    ASSERT_EQ(f.design()->Valves.size(), valves + 1);
    const TValve& valve = *f.design()->Valves.back();
    EXPECT_LE((PixelOf(f.form, valve) - at).manhattanLength(), 1) << "on the pipe under the click";
    EXPECT_TRUE(f.ui.messages.empty());

    // During a prompt the menu does not open.
    f.form.commands().button("sbValve")->click();
    ASSERT_TRUE(f.form.tools().active());
    PressMouse(f.form, at + QPoint(40, 0), Qt::RightButton);
    ReleaseMouse(f.form, at + QPoint(40, 0), Qt::RightButton);
    EXPECT_FALSE(popup->isVisible());
    PressPromptButton(f.form, "&Done");
    EXPECT_EQ(f.design()->Valves.size(), valves + 1);
}

TEST(Selection, ACompressorHouseShowsTheHouseTools)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
    f.form.files().newProject(true);
    const QStringList hints = VisibleSymbolHints(f.form);
    EXPECT_TRUE(hints.contains("Air Receiver"));
    EXPECT_TRUE(hints.contains("Valve"));
    EXPECT_FALSE(hints.contains("Drop"));
    EXPECT_FALSE(hints.contains("Pressure Gauge"));
}

} // namespace
} // namespace pipeloop::testing

namespace pipeloop::testing
{
namespace
{

TEST(MainWindowStart, AMissingCommandLineProjectLeavesTheWelcomePageSilently)
{
    MainWindowFixture f;
    f.form.FirstActivation(QStringLiteral("/no/such/project.plf"));
    EXPECT_EQ(f.design(), nullptr);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_FALSE(f.form.statusBar()->isVisibleTo(&f.form));
}

TEST(MainWindowStart, ACommandLineProjectOpensWithoutQuestions)
{
    MainWindowFixture f;
    f.form.FirstActivation(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf");
    ASSERT_NE(f.design(), nullptr);
    EXPECT_FALSE(f.form.document().isModified());
    EXPECT_EQ(f.form.statusText(5), " factory.plf");
    EXPECT_TRUE(f.ui.questions.isEmpty());
}

// Every way of opening a project makes the same checks, and a refused file
// leaves the window as it was: the welcome page, or the open design with its
// name and unsaved changes.
TEST(OpeningProjects, ACommandLineFileThatIsNoProjectLeavesTheWelcomePage)
{
    MainWindowFixture f;
    QTemporaryDir dir;
    const QString path = dir.filePath("noise.plf");
    QByteArray noise;
    QRandomGenerator random(11);
    while (noise.size() < 200)
        noise += char(random.bounded(256));
    noise[0] = 'x'; // whatever the generator gives, no header
    ASSERT_TRUE(WriteBytes(path, noise));
    f.form.FirstActivation(path);
    EXPECT_EQ(f.ui.texts(), QStringList{"File header invalid : " + path});
    EXPECT_EQ(f.design(), nullptr);
    EXPECT_TRUE(f.form.document().fileName().isEmpty());
    EXPECT_FALSE(f.form.document().isModified());
    EXPECT_FALSE(f.menu("muView")->menuAction()->isEnabled());
    EXPECT_EQ(f.form.files().recentFiles().count(), 0);
    // Nothing can be saved over the user's file.
    EXPECT_FALSE(f.form.files().save());
    EXPECT_EQ(ReadBytes(path), noise);
}

TEST(OpeningProjects, ADamagedRecentProjectIsRefusedBeforeTheSaveQuestion)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString recent = CopySample(dir, "workshop.plf", "recent.plf");
    const QString open = CopySample(dir, "workshop.plf", "open.plf");
    ASSERT_TRUE(f.form.files().open(recent));
    ASSERT_TRUE(f.form.files().open(open));
    f.form.document().push(new SetNotesCommand(*f.design(), {"changed"}));
    const TPipeLoop* before = f.design();

    // Another program cut the recent project short among its drops.
    const QByteArray whole = ReadBytes(recent);
    ASSERT_TRUE(WriteBytes(recent, whole.left(whole.indexOf("[Drop4]"))));
    QAction* item = f.menu("muRecentProjects")->actions().value(1);
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(item->text(), recent);
    item->trigger();
    EXPECT_EQ(f.ui.texts(), QStringList{"The project file is damaged : " + recent +
                                        "\r\nSection Drop4 is missing (Drops=7 in section "
                                        "PipeLoop)."});
    // A header that is no longer one, by Open this time.
    ASSERT_TRUE(WriteBytes(recent, "PIPELOOP-FILE-INFO\r\n" + whole));
    f.dialogs.openAnswers = {recent};
    f.form.files().openProject();
    EXPECT_EQ(f.ui.texts().value(1), "File header invalid : " + recent);

    EXPECT_TRUE(f.ui.questions.isEmpty());
    EXPECT_EQ(f.design(), before);
    EXPECT_EQ(f.design()->Notes, QStringList{"changed"});
    EXPECT_EQ(f.form.document().fileName(), open);
    EXPECT_TRUE(f.form.document().isModified());
    EXPECT_EQ(f.form.files().recentFiles().paths(), (QStringList{open, recent}));
}

TEST(OpeningProjects, AProjectWithLineFeedsOpensWithAWarningAndSavingRestoresCrLf)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString path = dir.filePath("unix.plf");
    QByteArray lineFeeds = ReadBytes(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf");
    lineFeeds.replace("\r\n", "\n");
    ASSERT_TRUE(WriteBytes(path, lineFeeds));
    f.dialogs.openAnswers = {path};
    f.form.files().openProject();
    ASSERT_NE(f.design(), nullptr);
    EXPECT_EQ(f.ui.texts(), QStringList{"The file's line endings were changed (LF instead of CR "
                                        "LF) by another program : " +
                                        path + "\r\nSaving the project restores them."});
    EXPECT_EQ(f.design()->Drops.size(), 7u);
    EXPECT_EQ(f.form.document().fileName(), path);
    EXPECT_TRUE(f.form.document().isModified()); // so that Save can restore them
    ASSERT_TRUE(f.form.files().save());
    const QByteArray saved = ReadBytes(path);
    EXPECT_EQ(saved.count("\r\n"), saved.count('\n'));
    EXPECT_EQ(saved.count('\n'), lineFeeds.count('\n'));
}

TEST(Views, EveryViewOfEverySamplePaints)
{
    MainWindowFixture f;
    f.start();
    for (const char* sample : {"workshop.plf", "factory.plf", "compressor-house.cph"}) {
        ASSERT_TRUE(f.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + sample)) << sample;
        for (ViewKind view : AllViews) {
            if (f.design()->CompressorHouse && view != ViewKind::Plan)
                continue;
            f.form.view().setView(view);
            f.form.view().setZoom(100);
            const QImage picture = f.form.view().drawingArea()->grab().toImage();
            int drawn = 0;
            for (int y = 0; y < picture.height(); y += 2)
                for (int x = 0; x < picture.width(); x += 2)
                    drawn += picture.pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_GT(drawn, 100) << sample << " view " << int(view);
        }
    }
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(Views, APartOfTheDrawingRepaintsAsTheDrawingIsThere)
{
    // The drawing leaves out what lies outside the part being repainted, as
    // when scrolling exposes a strip: what it paints there must be the drawing.
    MainWindowFixture f;
    f.start();
    ASSERT_TRUE(f.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf"));
    TPipeLoop& design = *f.form.document().design();
    PaintBox* area = f.form.view().drawingArea();
    for (ViewKind view : {ViewKind::Plan, ViewKind::South}) {
        f.form.view().setView(view);
        f.form.view().setZoom(20);
        const ScreenGeometry g =
            ScreenViewGeometry(design, view, 20, area->logicalDpiX(), area->logicalDpiY());
        ASSERT_EQ(area->size(), g.area);
        for (const QRect& part : {QRect(3000, 300, 500, 300), QRect(9000, 600, 300, 200)}) {
            const QImage painted = area->grab(part).toImage().convertToFormat(QImage::Format_RGB32);
            QImage expected(part.size(), QImage::Format_RGB32);
            {
                QPainter painter(&expected);
                painter.translate(-part.topLeft());
                QPainterCanvas canvas(painter);
                PaintDesignView(canvas, design, g.params);
            }
            EXPECT_EQ(painted, expected) << int(view) << " at " << part.x();
            int drawn = 0;
            for (int y = 0; y < painted.height(); ++y)
                for (int x = 0; x < painted.width(); ++x)
                    drawn += painted.pixel(x, y) != qRgb(255, 255, 255);
            EXPECT_GT(drawn, 100) << int(view) << " at " << part.x();
        }
    }
}

} // namespace
} // namespace pipeloop::testing

namespace pipeloop::testing
{
namespace
{

TEST(PipeColours, APanelSetsItsSizesColourRefusingWhite)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    f.form.document().options().SetPipeColourOption(0);
    f.dialogs.colourAnswer = 0xFFFFFF;
    f.form.display().choosePipeColour(32); // "No" to switching the scheme: nothing happens
    EXPECT_EQ(f.ui.questions.size(), 1);
    EXPECT_TRUE(f.dialogs.titles.isEmpty());

    f.ui.confirmAnswers = {true};
    f.form.display().choosePipeColour(32);
    EXPECT_EQ(f.dialogs.titles.last(), "32mm Pipe Colour");
    EXPECT_EQ(f.ui.texts().last(), "Pipe colour cannot be white.");
    EXPECT_EQ(f.form.document().options().PipeColourOption(), PipeColourScheme::OneColour);

    f.ui.confirmAnswers = {true};
    f.dialogs.colourAnswer = 0x0000FF;
    f.form.document().options().Saved = true; // the project carries its options
    f.form.display().choosePipeColour(32);
    EXPECT_EQ(f.form.document().options().PipeColourOption(), PipeColourScheme::BySize);
    EXPECT_EQ(f.form.document().options().SizePipeColours[2], 0x0000FF);
    EXPECT_TRUE(f.form.document().isModified());
    f.form.document().undoStack().undo();
    EXPECT_EQ(f.form.document().options().PipeColourOption(), PipeColourScheme::OneColour);
    EXPECT_FALSE(f.form.document().isModified());

    // Options that are the user's own change without touching the design.
    f.form.document().options().Saved = false;
    f.ui.confirmAnswers = {true};
    f.form.display().choosePipeColour(110);
    EXPECT_EQ(f.form.document().options().SizePipeColours[7], 0x0000FF);
    EXPECT_FALSE(f.form.document().isModified());

    // The legend stays readable whatever colour its panel takes: its size is
    // written in pixels far brighter, or far darker, than the panel.
    const auto legendContrast = [&f](WinColour colour) {
        f.ui.confirmAnswers = {true};
        f.dialogs.colourAnswer = colour;
        f.form.display().choosePipeColour(110);
        const QImage legend = f.form.colourPanels().at(7)->grab().toImage();
        const int panel = qGray(ToQColor(colour).rgb());
        int contrast = 0;
        for (int y = 2; y < legend.height() - 2; ++y) // inside the border
            for (int x = 2; x < legend.width() - 2; ++x)
                contrast = std::max(contrast, std::abs(qGray(legend.pixel(x, y)) - panel));
        return contrast;
    };
    EXPECT_GT(legendContrast(0x800000), 100); // navy
    EXPECT_GT(legendContrast(0x00FFFF), 100); // yellow
}

} // namespace
} // namespace pipeloop::testing

namespace pipeloop::testing
{
namespace
{

// The drawing's pop-up menu opened by a right click at a pixel.
void RightClick(TMainForm& form, QPoint pixel)
{
    PressMouse(form, pixel, Qt::RightButton);
    ReleaseMouse(form, pixel, Qt::RightButton);
}

QString DropViewCaption(TMainForm& form)
{
    return form.dropView().findChild<QLabel*>(QStringLiteral("lbDropView"))->text();
}

struct EditingFixture : MainWindowFixture {
    QTemporaryDir dir;
    EditingFixture()
    {
        start();
        EXPECT_TRUE(form.files().open(CopySample(dir, "workshop.plf", "w.plf")));
    }
    void select(const TPipeLoopObject& object)
    {
        Click(form, PixelOf(form, object));
        ASSERT_EQ(form.document().selected(), &object);
    }
    int steps() { return form.document().undoStack().count(); }
};

TEST(EditingObjects, DeleteAsksFirstUndoBringsItBackAndTheCopiedDropGoesWithIt)
{
    EditingFixture f;
    TDrop* drop = f.design()->Drops[0].get();
    const size_t drops = f.design()->Drops.size();
    f.select(*drop);
    f.action("pmCopySelectedDrop")->trigger();
    EXPECT_TRUE(f.action("pmPasteNewDrop")->isEnabled());

    f.ui.confirmAnswers = {false};
    f.action("moDeleteSelected")->trigger();
    EXPECT_EQ(f.ui.questions, QStringList{"Delete DROP1 ?"});
    EXPECT_EQ(f.design()->Drops.size(), drops);
    EXPECT_FALSE(f.form.document().isModified());

    f.ui.confirmAnswers = {true};
    f.form.commands().button("sbDeleteSelection")->click();
    EXPECT_EQ(f.design()->Drops.size(), drops - 1);
    EXPECT_EQ(f.form.statusText(4), "");
    EXPECT_EQ(DropViewCaption(f.form), "");
    EXPECT_FALSE(f.action("moDeleteSelected")->isEnabled());

    f.action("moUndo")->trigger();
    ASSERT_EQ(f.design()->Drops.size(), drops);
    EXPECT_EQ(f.form.document().selected(), drop);
    EXPECT_EQ(drop->State, ObjectState::Selected) << "drawn as the selection it is";
    EXPECT_EQ(f.form.statusText(4), "DROP1");
    EXPECT_EQ(DropViewCaption(f.form), " Drop View . . .");
    // The copy was forgotten with the deletion, until a drop is copied again.
    EXPECT_FALSE(f.action("pmPasteNewDrop")->isEnabled());
    f.action("pmCopySelectedDrop")->trigger();
    ASSERT_TRUE(f.action("pmPasteNewDrop")->isEnabled());

    // Pasted where the pop-up was opened (snapped to the grid), and only
    // onto a free place.
    f.action("moGrid50cm")->trigger();
    ASSERT_TRUE(f.form.document().options().SnapToGrid);
    RightClick(f.form, PixelOf(f.form, *f.design()->Drops[1]));
    f.action("pmPasteNewDrop")->trigger();
    f.menu("pmDrawing")->close();
    EXPECT_EQ(f.ui.texts(), QStringList{"Position is already occupied by : DROP2"});
    EXPECT_EQ(f.design()->Drops.size(), drops);
    RightClick(f.form, PixelAt(f.form, 6500, 500));
    f.action("pmPasteNewDrop")->trigger();
    f.menu("pmDrawing")->close();
    ASSERT_EQ(f.design()->Drops.size(), drops + 1);
    EXPECT_EQ(f.form.document().selected(), f.design()->Drops.back().get());
    EXPECT_EQ(f.design()->Drops.back()->position(), (Position{500, 6500, drop->HG}));
    EXPECT_EQ(f.design()->Drops.back()->Symbols.size(), drop->Symbols.size());
}

TEST(EditingObjects, LabelAndHeightEditsShowAndUndoLikeAnyChange)
{
    EditingFixture f;
    TDrop& drop = *f.design()->Drops[1]; // a tee: its height is the drop's own
    f.select(drop);
    f.dialogs.textAnswers = {QStringLiteral("OUTLET A")};
    f.form.commands().button("sbEditLabel")->click();
    EXPECT_EQ(f.dialogs.titles.last(), "Object Label");
    EXPECT_EQ(drop.Name, "OUTLET A");
    EXPECT_EQ(f.form.statusText(4), "OUTLET A");
    f.action("moUndo")->trigger();
    EXPECT_EQ(drop.Name, "DROP2");
    EXPECT_EQ(f.form.statusText(4), "DROP2");
    f.action("moRedo")->trigger();
    EXPECT_EQ(f.form.statusText(4), "OUTLET A");

    // The same label again is no change.
    const int steps = f.steps();
    f.dialogs.textAnswers = {QStringLiteral("OUTLET A")};
    f.action("pmEditObjectLabel")->trigger();
    EXPECT_EQ(f.steps(), steps);

    f.dialogs.lengthAnswers = {QStringLiteral("2.5")}; // metres, the design's units
    f.action("pmEditHeight")->trigger();
    EXPECT_EQ(f.dialogs.titles.last(), "OUTLET A");
    EXPECT_EQ(drop.PipeLen, 2500);
    f.dialogs.lengthAnswers = {std::nullopt}; // Cancel
    f.action("moSelectedHeight")->trigger();
    EXPECT_EQ(drop.PipeLen, 2500);
    EXPECT_EQ(f.steps(), steps + 1);
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST(EditingObjects, TheDropViewPopupAddsMovesAndDeletesSymbolsAskingForAPackage)
{
    EditingFixture f;
    QMenu* popup = f.menu("pmDropView");
    auto* closeUp = f.form.dropView().findChild<PaintBox*>(QStringLiteral("pbDropView"));
    const auto rightClickCloseUp = [&] {
        const QPoint at(40, 40);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at),
                            QPointF(closeUp->mapToGlobal(at)), Qt::RightButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(closeUp, &release);
    };
    rightClickCloseUp();
    EXPECT_FALSE(popup->isVisible()) << "nothing shown, no pop-up";

    TDrop& drop = *f.design()->Drops[3]; // a package with one outlet
    ASSERT_EQ(drop.PartPackage, "KIT-T25-FRL");
    f.select(drop);
    rightClickCloseUp();
    EXPECT_TRUE(popup->isVisible());
    popup->close();
    EXPECT_FALSE(f.action("pmMoveUp")->isEnabled()) << "no symbol selected yet";

    // At the top of the stack the symbol cannot move: nothing is asked.
    ClickDropViewSymbol(f.form, 0);
    ASSERT_TRUE(f.action("pmMoveUp")->isEnabled());
    f.action("pmMoveUp")->trigger();
    EXPECT_TRUE(f.ui.questions.isEmpty());
    EXPECT_EQ(drop.PartPackage, "KIT-T25-FRL");

    // The drawing's "Add To Drop" offers the same items.
    QAction* gauge = f.action("pmDropViewAddPressureGauge");
    EXPECT_TRUE(f.menu("pmAddToDrop")->actions().contains(gauge));
    f.ui.askAnswers = {"&Cancel"};
    gauge->trigger();
    EXPECT_EQ(f.ui.questions,
              QStringList{"Drop is a package - KIT-T25-FRL\r\nAdding a symbol will remove "
                          "package attribute."});
    EXPECT_EQ(drop.SymbolCount(), 1);
    EXPECT_EQ(drop.PartPackage, "KIT-T25-FRL");
    f.ui.askAnswers = {"&Ok"};
    gauge->trigger();
    ASSERT_EQ(drop.SymbolCount(), 2);
    EXPECT_EQ(drop.SymbolName(1), "GAUGE");
    EXPECT_TRUE(drop.PartPackage.isEmpty());

    f.action("pmMoveUp")->trigger();
    EXPECT_EQ(drop.SymbolName(1), "1-PORT-OUTLET");
    EXPECT_EQ(drop.SelectedSymbol, 1) << "the moved symbol stays selected";
    f.action("pmDelete")->trigger();
    EXPECT_EQ(drop.SymbolCount(), 1);
    EXPECT_EQ(drop.SymbolName(0), "GAUGE");
    EXPECT_EQ(f.ui.questions.size(), 2) << "the package was gone: no more questions";

    for (int step = 0; step < 3; ++step)
        f.action("moUndo")->trigger();
    EXPECT_EQ(drop.SymbolCount(), 1);
    EXPECT_EQ(drop.SymbolName(0), "1-PORT-OUTLET");
    EXPECT_EQ(drop.PartPackage, "KIT-T25-FRL");
    EXPECT_FALSE(f.form.document().isModified());

    // An inlet takes the same items under its own caption.
    f.select(*f.design()->Inlets[0]);
    EXPECT_EQ(f.menu("pmAddToDrop")->title(), "Add To Inlet");
    EXPECT_TRUE(gauge->isEnabled());
}

TEST(EditingObjects, DropStyleMarksAndInsertedElbowsFollowTheSelection)
{
    EditingFixture f;
    TDrop& drop = *f.design()->Drops[0];
    f.select(drop);
    const auto checkedStyles = [&f] {
        QStringList checked;
        for (QAction* item : f.menu("pmDropStyle")->actions())
            if (item->isChecked())
                checked.append(item->text());
        return checked;
    };
    EXPECT_EQ(checkedStyles(), QStringList{"Female"});
    f.action("pmDropStyleQuick")->trigger();
    EXPECT_TRUE(f.ui.texts().last().startsWith("The drop style you have chosen is not supported"));
    EXPECT_EQ(drop.Style, DropStyle::Quick);
    EXPECT_EQ(checkedStyles(), QStringList{"Quick"});

    TBuildFeature& feature = *f.design()->BuildFeatures[0];
    f.form.document().select(feature);
    const bool ellipse = feature.Ellipse;
    EXPECT_EQ(f.action("pmBuildFeatureEllipse")->isChecked(), ellipse);
    f.action("pmBuildFeatureEllipse")->trigger();
    EXPECT_EQ(feature.Ellipse, !ellipse);
    EXPECT_EQ(f.action("pmBuildFeatureEllipse")->isChecked(), !ellipse);

    const size_t elbows = f.design()->Elbows.size();
    f.select(*f.design()->Elbows[0]);
    f.action("pmInsertElbowBeforeSelection")->trigger();
    EXPECT_EQ(f.ui.texts().last(), "Cannot insert elbow before first elbow.");
    f.action("pmInsertElbowAfterSelection")->trigger();
    ASSERT_EQ(f.design()->Elbows.size(), elbows + 1);
    const TElbow& inserted = *f.design()->Elbows[1];
    EXPECT_EQ(f.form.document().selected(), &inserted);
    EXPECT_EQ(f.form.statusText(4), inserted.Name);
    EXPECT_EQ(inserted.HG, f.design()->Height) << "at the loop's level";
    EXPECT_TRUE(f.action("pmEditPosition")->isEnabled());

    f.action("moUndo")->trigger();
    EXPECT_EQ(f.design()->Elbows.size(), elbows);
    EXPECT_EQ(f.form.document().selected(), nullptr);
    EXPECT_EQ(f.form.statusText(4), "");
    EXPECT_FALSE(f.action("pmEditPosition")->isEnabled());
}

} // namespace
} // namespace pipeloop::testing
