#include "GuiTestSupport.h"

#include "DesignCommands.h"
#include "DrawingArea.h"
#include "PartsDatabase.h"
#include "ProjectFile.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
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

TEST(MainWindowStart, FirstStartWithoutSettingsKeepsTheDefaults)
{
    MainWindowFixture f;
    f.start();
    for (ViewKind view : AllViews)
        EXPECT_EQ(f.form.zoomFactor(view), 20);
    EXPECT_FALSE(f.form.action("moViewToolBar")->isChecked());
    EXPECT_EQ(f.form.recentFiles().count(), 0);
    EXPECT_FALSE(f.form.menu("muRecentProjects")->menuAction()->isVisible());
    // The Grid menu keeps its own marks while the options keep theirs.
    EXPECT_TRUE(f.form.action("moGridOff")->isChecked());
    EXPECT_TRUE(f.form.action("moSnapToGrid")->isChecked());
    EXPECT_EQ(f.form.options().GridSpacing, 1000);
    // The welcome state: no design, only File, Options and Help usable.
    EXPECT_EQ(f.form.design(), nullptr);
    EXPECT_FALSE(f.form.menu("muView")->menuAction()->isEnabled());
    EXPECT_TRUE(f.form.menu("muFile")->menuAction()->isEnabled());
    EXPECT_FALSE(f.form.isModified());
    // The demo catalogue beside the program was loaded, with its logo.
    EXPECT_GT(f.form.partsDatabase().PartCount(), 0);
    EXPECT_FALSE(f.form.logoImage().isNull());
    // Commands of later work are there, and honestly disabled.
    EXPECT_FALSE(f.form.action("moPrintView")->isEnabled());
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
    EXPECT_EQ(f.form.zoomFactor(ViewKind::Plan), 50);
    EXPECT_TRUE(f.form.action("moZoom50")->isChecked());
    EXPECT_EQ(f.form.recentFiles().paths(), QStringList{sample});
    EXPECT_TRUE(f.form.menu("muRecentProjects")->menuAction()->isVisible());
    EXPECT_TRUE(f.form.action("moViewToolBar")->isChecked());

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
    EXPECT_TRUE(f.form.options().PartsPriceListFile.isEmpty());
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
        ASSERT_TRUE(f.form.LoadProjectFile(file));
    EXPECT_EQ(f.form.recentFiles().count(), 8);
    EXPECT_FALSE(f.form.recentFiles().paths().contains(files[0]));
    EXPECT_EQ(f.form.menu("muRecentProjects")->actions().size(), 8);

    // The same file by a path in other case is the same entry (Windows paths).
    ASSERT_TRUE(f.form.LoadProjectFile(files[4]));
    f.form.AddRecentFile(files[4].toUpper());
    EXPECT_EQ(f.form.recentFiles().count(), 8);
    EXPECT_EQ(f.form.recentFiles().at(0), files[4].toUpper());
    EXPECT_EQ(f.form.menu("muRecentProjects")->actions()[0]->data().toInt(), 0);
}

TEST(RecentProjects, AFileOfAnotherVersionIsRefusedAndTheOpenDesignStays)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    const QString good = CopySample(dir, "workshop.plf", "good.plf");
    ASSERT_TRUE(f.form.LoadProjectFile(good));
    TPipeLoop* before = f.form.design();
    const QString bad = dir.filePath("v2.plf");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[PIPELOOP-FILE-INFO]\r\nFile_Version=2\r\n\r\n");
    file.close();
    EXPECT_FALSE(f.form.LoadProjectFile(bad));
    EXPECT_EQ(f.form.design(), before);
    EXPECT_EQ(f.form.fileName(), good);
    EXPECT_FALSE(f.form.recentFiles().paths().contains(bad));
    EXPECT_TRUE(f.ui.texts().last().contains("Expected version 1 , found version 2"));
}

TEST(SaveQuestion, YesThenCancellingTheSaveDialogAsksAgain)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    ASSERT_TRUE(f.form.isModified());
    f.ui.askAnswers = {"&Yes", "&Cancel"};
    // no save path queued: the save dialog is cancelled
    EXPECT_FALSE(f.form.QuerySaveChanges());
    EXPECT_EQ(f.ui.questions.size(), 2);
    EXPECT_EQ(f.ui.questions[0], "Current project changes not saved, save now ?");
    EXPECT_EQ(f.dialogs.titles, QStringList{"Save Project"});
    EXPECT_TRUE(f.form.isModified());
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
    EXPECT_TRUE(f.form.QuerySaveChanges());
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_TRUE(CheckProjectHeader(path));
    EXPECT_FALSE(f.form.isModified());
    EXPECT_TRUE(f.form.fileName().isEmpty()); // a save made for the question forgets the name
    EXPECT_EQ(f.form.recentFiles().at(0), path);

    f.form.Perform(new SetNotesCommand(*f.form.design(), {"changed"}));
    f.ui.askAnswers = {"&No"};
    EXPECT_TRUE(f.form.QuerySaveChanges());
    EXPECT_TRUE(f.form.isModified());
}

TEST(FileCommands, SaveAsAlwaysAsksAndSaveReusesTheName)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    EXPECT_FALSE(f.form.isModified());
    EXPECT_EQ(f.form.statusText(5), " w.plf");
    f.dialogs.textAnswers = {QStringLiteral("New description")};
    f.form.EditProjectText(int(SetProjectTextCommand::Field::Description));
    EXPECT_TRUE(f.form.isModified());
    EXPECT_TRUE(f.form.Save(false));
    EXPECT_TRUE(f.dialogs.titles.filter("Save Project").isEmpty());
    EXPECT_FALSE(f.form.isModified());

    const QString other = dir.filePath("other.plf");
    f.dialogs.saveAnswers = {other};
    EXPECT_TRUE(f.form.Save(true));
    EXPECT_EQ(f.form.fileName(), other);
    EXPECT_EQ(f.dialogs.titles.filter("Save Project").size(), 1);

    // What was written comes back.
    ASSERT_TRUE(f.form.LoadProjectFile(other));
    EXPECT_EQ(f.form.design()->Description, "New description");
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
    f.form.OpenProject();
    EXPECT_TRUE(f.ui.questions.isEmpty());
    EXPECT_EQ(f.ui.texts().last(), HeaderInvalidMessage(text));
}

TEST(NewProject, BuildsTheDesignFromTheWizardAndStartsModified)
{
    MainWindowFixture f;
    f.start();
    f.newDesign(ElbowChoice::DefaultLoop);
    TPipeLoop* design = f.form.design();
    ASSERT_NE(design, nullptr);
    EXPECT_EQ(design->RoomEW, 5000);
    EXPECT_EQ(design->RoomNS, 3000);
    EXPECT_EQ(design->Elbows.size(), 5u);
    EXPECT_FLOAT_EQ(design->PipeSize, 50.0f);
    EXPECT_TRUE(f.form.isModified());
    EXPECT_TRUE(f.form.fileName().isEmpty());
    EXPECT_TRUE(f.form.menu("muView")->menuAction()->isEnabled());
    EXPECT_TRUE(f.form.dropViewPanel()->isVisibleTo(&f.form));
    // Undoing everything cannot make a new design "saved".
    while (f.form.undoStack().canUndo())
        f.form.undoStack().undo();
    EXPECT_TRUE(f.form.isModified());
}

TEST(NewProject, ClipboardElbowsInMetresAndAnEmptyClipboardFallsBackToEntry)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.clipboard = "0 0\r\n4 0\r\n4 2.5\r\n0 2.5\r\n0 0\r\n";
    f.newDesign(ElbowChoice::ClipboardMetres);
    ASSERT_EQ(f.form.design()->Elbows.size(), 5u);
    EXPECT_EQ(f.form.design()->Elbows[2]->EW, 4000);
    EXPECT_EQ(f.form.design()->Elbows[2]->NS, 2500);

    f.dialogs.clipboard.clear();
    f.ui.askAnswers = {"&No"};
    WhilePrompting(f.form, {[&] { PressPromptButton(f.form, "&Done"); }});
    f.newDesign(ElbowChoice::ClipboardMm);
    EXPECT_TRUE(f.ui.texts().contains("No data on clip board to import."));
    EXPECT_TRUE(f.ui.texts().contains(
        "No elbows loaded from clip board.\r\nYou will be required to enter elbows."));
    // Nothing entered either: the default loop.
    EXPECT_TRUE(
        f.ui.texts().contains("No elbows added, elbows will default to building dimensions."));
    EXPECT_EQ(f.form.design()->Elbows.size(), 5u);
}

TEST(NewProject, CompressorHouseHasNoSectionsAndNoElbows)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
    f.form.NewProject(true);
    ASSERT_NE(f.form.design(), nullptr);
    EXPECT_TRUE(f.form.design()->CompressorHouse);
    EXPECT_TRUE(f.form.design()->Elbows.empty());
    EXPECT_FALSE(f.form.action("moNorthSection")->isEnabled());
    EXPECT_TRUE(f.form.action("moPlan")->isEnabled());
}

TEST(Views, ZoomTwentyAt96DpiGives981By603AndTheMenuStepsStopAtFive)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    ASSERT_EQ(f.form.drawingArea()->logicalDpiX(), 96);
    EXPECT_EQ(f.form.drawingArea()->size(), QSize(981, 603));
    EXPECT_EQ(f.form.statusText(0), "20:1");
    EXPECT_EQ(f.form.viewCaption(), " Plan View . . .");

    f.form.SetZoom(8);
    f.form.action("moZoomIn")->trigger();
    EXPECT_EQ(f.form.zoomFactor(ViewKind::Plan), 5);

    // Each view keeps its own factor.
    f.form.SetView(ViewKind::South);
    EXPECT_EQ(f.form.zoomFactor(ViewKind::South), 20);
    EXPECT_EQ(f.form.viewCaption(), " South Section . . .");
    f.form.SetView(ViewKind::Plan);
    EXPECT_EQ(f.form.statusText(0), "5:1");
}

TEST(Views, ZoomOutDoesNothingOnceTheDrawingFits)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.resize(1200, 900);
    f.form.show();
    f.form.SetZoom(200); // a drawing far smaller than the window
    ASSERT_TRUE(f.form.scrollBox()->viewport()->width() >= f.form.drawingArea()->width());
    f.form.action("moZoomOut")->trigger();
    EXPECT_EQ(f.form.zoomFactor(ViewKind::Plan), 200);
    f.form.SetZoom(10);
    f.form.action("moZoomOut")->trigger();
    EXPECT_EQ(f.form.zoomFactor(ViewKind::Plan), 15);
}

TEST(Views, MouseMovesShowTheModelPositionInTheDesignsUnits)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    const double ppm = f.form.pixelsPerMmX();
    f.form.MouseMoveAt(QPoint(18 + int(1000 * ppm), 18 + int(500 * ppm)));
    EXPECT_TRUE(f.form.statusText(1).endsWith("mm EW"));
    EXPECT_TRUE(f.form.statusText(2).endsWith("mm NS"));
    EXPECT_EQ(f.form.statusText(3), "---");
    f.form.MouseMoveAt(QPoint(2, 2));
    EXPECT_EQ(f.form.statusText(1), "---");
}

TEST(Views, TheWheelScrollsAQuarterOfItsDeltaAndShiftOnlyWhenAskedFor)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.resize(800, 500);
    f.form.show();
    f.form.SetZoom(10);                // larger than the window both ways
    QCoreApplication::processEvents(); // lets the scroll box lay out its bars
    QScrollBar* vertical = f.form.scrollBox()->verticalScrollBar();
    QScrollBar* horizontal = f.form.scrollBox()->horizontalScrollBar();
    ASSERT_TRUE(vertical->isVisible());
    vertical->setValue(200);
    EXPECT_TRUE(f.form.WheelScroll(120, Qt::NoModifier));
    EXPECT_EQ(vertical->value(), 170);
    EXPECT_TRUE(f.form.WheelScroll(-121, Qt::NoModifier));
    EXPECT_EQ(vertical->value(), 200); // -121 div 4 is -30

    f.form.options().ShiftWheelScrollLeftRight = false;
    horizontal->setValue(100);
    f.form.WheelScroll(120, Qt::ShiftModifier);
    EXPECT_EQ(horizontal->value(), 100);
    EXPECT_EQ(vertical->value(), 200);
    f.form.options().ShiftWheelScrollLeftRight = true;
    f.form.WheelScroll(120, Qt::ShiftModifier);
    EXPECT_EQ(horizontal->value(), 70);
    EXPECT_FALSE(f.form.WheelScroll(120, Qt::ControlModifier)); // left to the system
}

TEST(Views, GridMenuAndCustomSpacing)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    f.form.action("moGrid25cm")->trigger();
    EXPECT_EQ(f.form.options().GridSpacing, 250);
    EXPECT_TRUE(f.form.action("moGrid25cm")->isChecked());
    EXPECT_FALSE(f.form.action("moGridOff")->isChecked());

    f.dialogs.textAnswers = {QStringLiteral("1.2m")};
    f.form.action("moCustomGridSpacing")->trigger();
    EXPECT_EQ(f.form.options().GridSpacing, 1200);
    EXPECT_TRUE(f.form.action("moCustomGridSpacing")->isChecked());
    EXPECT_FALSE(f.form.action("moGrid25cm")->isChecked());

    f.dialogs.textAnswers = {QStringLiteral("0")};
    f.form.action("moCustomGridSpacing")->trigger();
    EXPECT_EQ(f.ui.texts().last(), "Invalid grid spacing : 0");
    EXPECT_EQ(f.form.options().GridSpacing, 1200);
    EXPECT_TRUE(f.form.action("moCustomGridSpacing")->isChecked());
}

TEST(Views, SnapToGridIsAnUndoableChange)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    const bool before = f.form.options().SnapToGrid;
    f.form.action("moSnapToGrid")->trigger();
    EXPECT_EQ(f.form.options().SnapToGrid, !before);
    EXPECT_EQ(f.form.action("moSnapToGrid")->isChecked(), !before);
    EXPECT_TRUE(f.form.isModified());
    f.form.action("moUndo")->trigger();
    EXPECT_EQ(f.form.options().SnapToGrid, before);
    EXPECT_EQ(f.form.action("moSnapToGrid")->isChecked(), before);
    EXPECT_FALSE(f.form.isModified());
}

TEST(Selection, TiesGoToTheFirstMetAndAltReachesTheOther)
{
    MainWindowFixture f;
    f.start();
    f.newDesign(ElbowChoice::DefaultLoop); // ELBOW1 and ELBOW5 both at the north-west corner
    const QPoint corner(18, 18);
    f.form.MousePressAt(corner, Qt::LeftButton, Qt::NoModifier);
    ASSERT_NE(f.form.design()->Selected, nullptr);
    EXPECT_EQ(f.form.design()->Selected->Name, "ELBOW1");
    EXPECT_EQ(f.form.statusText(4), "ELBOW1");
    f.form.MousePressAt(corner, Qt::LeftButton, Qt::AltModifier);
    EXPECT_EQ(f.form.design()->Selected->Name, "ELBOW5");

    // Far from everything: nothing selected, the label panel cleared.
    f.form.MousePressAt(QPoint(400, 300), Qt::LeftButton, Qt::NoModifier);
    EXPECT_EQ(f.form.design()->Selected, nullptr);
    EXPECT_EQ(f.form.statusText(4), "");
    // The right button never selects.
    f.form.MousePressAt(corner, Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(f.form.design()->Selected, nullptr);
}

TEST(Prompts, EnteredElbowsAreOneUndoStepBackToTheSavedState)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    const size_t before = f.form.design()->Elbows.size();
    f.form.options().SnapToGrid = true;
    f.form.SetGridSpacing(250);
    const double ppm = f.form.pixelsPerMmX();
    const QPoint at(18 + int(1130 * ppm), 18 + int(1880 * ppm));
    bool commandsOffWhileWaiting = false;
    WhilePrompting(f.form, {
                               [&] {
                                   // Shortcuts too: Ctrl+N or F2 must not run now.
                                   commandsOffWhileWaiting =
                                       !f.form.menu("muFile")->menuAction()->isEnabled() &&
                                       !f.form.inputEnabled() &&
                                       !f.form.action("moNewPipeLoopProject")->isEnabled() &&
                                       !f.form.action("moZoomIn")->isEnabled() &&
                                       !f.form.action("moUndo")->isEnabled();
                                   EXPECT_EQ(f.form.promptBox()->buttonCaptions(),
                                             QStringList{"&Done"});
                                   f.form.ClickAt(at);
                               },
                               [&] { f.form.ClickAt(at + QPoint(60, 0)); },
                               [&] { PressPromptButton(f.form, "&Done"); },
                           });
    f.form.EnterElbows();
    EXPECT_TRUE(commandsOffWhileWaiting);
    EXPECT_TRUE(f.form.inputEnabled());
    ASSERT_EQ(f.form.design()->Elbows.size(), before + 2);
    const TElbow& first = *f.form.design()->Elbows[before];
    EXPECT_EQ(first.EW % 250, 0); // snapped to the grid
    EXPECT_EQ(first.NS % 250, 0);
    EXPECT_EQ(first.HG, f.form.design()->Height);
    EXPECT_EQ(first.Name, QStringLiteral("ELBOW%1").arg(before + 1));
    EXPECT_TRUE(f.form.isModified());

    f.form.action("moUndo")->trigger();
    EXPECT_EQ(f.form.design()->Elbows.size(), before);
    EXPECT_FALSE(f.form.isModified());
    f.form.action("moRedo")->trigger();
    EXPECT_EQ(f.form.design()->Elbows.size(), before + 2);
    EXPECT_TRUE(f.form.isModified());
}

TEST(Prompts, CancelReturnsFalseAndRestoresTheCommands)
{
    MainWindowFixture f;
    f.start();
    f.newDesign();
    WhilePrompting(f.form, {[&] { PressPromptButton(f.form, "&Cancel"); }});
    EXPECT_FALSE(f.form.WaitForLocation("TITLE", "Click somewhere.", false));
    EXPECT_TRUE(f.form.menu("muView")->menuAction()->isEnabled());
    EXPECT_EQ(f.form.drawingArea()->toolTip(), "Click near symbol or elbow to select.");
}

TEST(ProjectInformation, NotesAndTextsAreUndoable)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    const QStringList notes = f.form.design()->Notes;
    f.dialogs.notesAnswer = QStringLiteral("line one\nline two");
    f.form.EditProjectNotes();
    EXPECT_EQ(f.form.design()->Notes, (QStringList{"line one", "line two"}));
    f.dialogs.textAnswers = {QStringLiteral("ACME")};
    f.form.action("moCustomer")->trigger();
    EXPECT_EQ(f.form.design()->CustomerCompany, "ACME");
    f.form.undoStack().undo();
    f.form.undoStack().undo();
    EXPECT_EQ(f.form.design()->Notes, notes);
    EXPECT_FALSE(f.form.isModified());

    // An unchanged text is no change.
    f.dialogs.textAnswers = {f.form.design()->CreatedBy};
    f.form.EditProjectText(int(SetProjectTextCommand::Field::CreatedBy));
    EXPECT_FALSE(f.form.isModified());
}

} // namespace
} // namespace pipeloop::testing

namespace pipeloop::testing
{
namespace
{

QPoint PixelOf(const TMainForm& form, const TPipeLoopObject& object)
{
    return QPoint(18 + int(object.EW * form.pixelsPerMmX()),
                  18 + int(object.NS * form.pixelsPerMmY()));
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
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    f.form.SetDisplayDrop(2); // Auto: only for a drain, drop or inlet
    EXPECT_FALSE(f.form.dropViewPanel()->isVisibleTo(&f.form));
    EXPECT_TRUE(VisibleSymbolHints(f.form).contains("Manual Drain"));
    EXPECT_FALSE(VisibleSymbolHints(f.form).contains("Pressure Gauge"));

    const TDrop& drop = *f.form.design()->Drops[0];
    const QPoint at = PixelOf(f.form, drop);
    f.form.MousePressAt(at, Qt::LeftButton, Qt::NoModifier);
    f.form.ClickAt(at);
    ASSERT_EQ(f.form.design()->Selected, &drop);
    EXPECT_EQ(f.form.statusText(4), drop.Name);
    EXPECT_TRUE(f.form.dropViewPanel()->isVisibleTo(&f.form));
    EXPECT_TRUE(VisibleSymbolHints(f.form).contains("Pressure Gauge"));
    EXPECT_FALSE(VisibleSymbolHints(f.form).contains("Manual Drain"));

    const QPoint empty(2, 2);
    f.form.MousePressAt(empty, Qt::LeftButton, Qt::NoModifier);
    f.form.ClickAt(empty);
    EXPECT_FALSE(f.form.dropViewPanel()->isVisibleTo(&f.form));
}

TEST(Selection, ACompressorHouseShowsTheHouseTools)
{
    MainWindowFixture f;
    f.start();
    f.dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
    f.form.NewProject(true);
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
    EXPECT_EQ(f.form.design(), nullptr);
    EXPECT_TRUE(f.ui.messages.empty());
    EXPECT_FALSE(f.form.statusBar()->isVisibleTo(&f.form));
}

TEST(MainWindowStart, ACommandLineProjectOpensWithoutQuestions)
{
    MainWindowFixture f;
    f.form.FirstActivation(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf");
    ASSERT_NE(f.form.design(), nullptr);
    EXPECT_FALSE(f.form.isModified());
    EXPECT_EQ(f.form.statusText(5), " factory.plf");
    EXPECT_TRUE(f.ui.questions.isEmpty());
}

TEST(Views, EveryViewOfEverySamplePaints)
{
    MainWindowFixture f;
    f.start();
    for (const char* sample : {"workshop.plf", "factory.plf", "compressor-house.cph"}) {
        ASSERT_TRUE(f.form.LoadProjectFile(QStringLiteral(PIPELOOP_SAMPLES) + sample)) << sample;
        for (ViewKind view : AllViews) {
            if (f.form.design()->CompressorHouse && view != ViewKind::Plan)
                continue;
            f.form.SetView(view);
            f.form.SetZoom(100);
            const QImage picture = f.form.drawingArea()->grab().toImage();
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
    ASSERT_TRUE(f.form.LoadProjectFile(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf"));
    TPipeLoop& design = *f.form.design();
    PaintBox* area = f.form.drawingArea();
    for (ViewKind view : {ViewKind::Plan, ViewKind::South}) {
        f.form.SetView(view);
        f.form.SetZoom(20);
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
    ASSERT_TRUE(f.form.LoadProjectFile(CopySample(dir, "workshop.plf", "w.plf")));
    f.form.options().SetPipeColourOption(0);
    f.dialogs.colourAnswer = 0xFFFFFF;
    f.form.ChoosePipeColour(32); // "No" to switching the scheme: nothing happens
    EXPECT_EQ(f.ui.questions.size(), 1);
    EXPECT_TRUE(f.dialogs.titles.isEmpty());

    f.ui.confirmAnswers = {true};
    f.form.ChoosePipeColour(32);
    EXPECT_EQ(f.dialogs.titles.last(), "32mm Pipe Colour");
    EXPECT_EQ(f.ui.texts().last(), "Pipe colour cannot be white.");
    EXPECT_EQ(f.form.options().PipeColourOption(), PipeColourScheme::OneColour);

    f.ui.confirmAnswers = {true};
    f.dialogs.colourAnswer = 0x0000FF;
    f.form.options().Saved = true; // the project carries its options
    f.form.ChoosePipeColour(32);
    EXPECT_EQ(f.form.options().PipeColourOption(), PipeColourScheme::BySize);
    EXPECT_EQ(f.form.options().SizePipeColours[2], 0x0000FF);
    EXPECT_TRUE(f.form.isModified());
    f.form.undoStack().undo();
    EXPECT_EQ(f.form.options().PipeColourOption(), PipeColourScheme::OneColour);
    EXPECT_FALSE(f.form.isModified());

    // Options that are the user's own change without touching the design.
    f.form.options().Saved = false;
    f.ui.confirmAnswers = {true};
    f.form.ChoosePipeColour(110);
    EXPECT_EQ(f.form.options().SizePipeColours[7], 0x0000FF);
    EXPECT_FALSE(f.form.isModified());
}

} // namespace
} // namespace pipeloop::testing
