#include "Lessons.h"

#include "Actions.h"

namespace pipeloop::lessons
{

namespace
{

Step Say(const QString& caption, Beats beats = {}, int hold = 0)
{
    return {caption, std::move(beats), hold};
}

// A step whose action shows messages, each read and answered.
Step SayAnswering(const QString& caption, Beats beats, int hold = 0)
{
    return {caption, std::move(beats), hold, true};
}

Finder Ok()
{
    return Named(QStringLiteral("bbOk"));
}

Beats Done()
{
    return ClickOn(Captioned("Done"));
}

Lesson UsingTheToolBar(const QString& samples)
{
    return {QStringLiteral("2. Using the tool bar"),
            samples + "workshop.plf",
            {
                Say("This lesson shows the tool bar on the workshop sample project."),
                Say("Options, View Tool Bar shows the tool bar below the symbol buttons.",
                    ChooseMenu("moViewToolBar")),
                Say("New Project starts the project creator for a new design.",
                    PointTo(Named("sbNewProject"))),
                Say("Open Project opens a project saved before.", PointTo(Named("sbOpenProject"))),
                Say("Save Project saves the changes; it is enabled while there are some.",
                    PointTo(Named("sbSaveProject"))),
                Say("Print View prints the view the drawing shows.", PointTo(Named("sbPrintView"))),
                Say("Zoom In shows the drawing larger.",
                    Join({ClickOn(Named("sbZoomIn")), ClickOn(Named("sbZoomIn"))})),
                Say("Zoom Out shows more of the building.",
                    Join({ClickOn(Named("sbZoomOut")), ClickOn(Named("sbZoomOut"))})),
                Say("Click an object in the drawing to select it: here the first drop.",
                    ClickPlan(3500, 500)),
                Say("The label button gives the selected object a new label.",
                    Join({ClickOn(Named("sbEditLabel")), TypeInto(FirstField(), "BENCH DROP"),
                          PressKey(QKeySequence(Qt::Key_Return))})),
                Say("The height button changes the height of the selected object.",
                    PointTo(Named("sbEditHeight"))),
                Say("Delete Selection removes the selected object from the design.",
                    Join({ClickOn(Named("sbDeleteSelection")), ClickOn(Captioned("Yes"))})),
                Say("Edit, Undo (Ctrl+Z) brings it back.", ChooseMenu("moUndo")),
                Say("The coloured panels on the right show the colour of each pipe size."),
            }};
}

Lesson AddingObjects(const QString& samples)
{
    return {
        QStringLiteral("3. Adding drops, inlets, spurs && drains"),
        samples + "workshop.plf",
        {
            Say("This lesson adds drops, an inlet, a spur and drains to the workshop."),
            Say("Select the Drop button, then click on the pipe where the drop goes.",
                Join({ClickOn(Named("sbDrop")), ClickPlan(6500, 8500)})),
            Say("Give the drop its style, length and outlet, then select Ok.", ClickOn(Ok()), 10),
            Say("Drops are added one after another: click the next place on the pipe.",
                Join({ClickPlan(12500, 500), ClickOn(Ok())})),
            Say("Select Done when all the drops are placed.", Done()),
            Say("The Compressor Inlet button places an inlet, where the compressed air "
                "comes in.",
                Join({ClickOn(Named("sbCompressorInlet")), ClickPlan(5000, 8500)})),
            Say("Enter the inlet's size and length and select Ok.", ClickOn(Ok()), 10),
            Say("A spur is a branch pipe. Select Spur, click its start on the loop...",
                Join({ClickOn(Named("sbSpur")), ClickPlan(14500, 6500)})),
            Say("...then click where the spur ends.", ClickPlan(11500, 6500)),
            Say("Enter the spur's pipe size and select Ok.",
                Join({TypeInto(Named("cbSize"), "25"), ClickOn(Ok())})),
            Say("Drains let the water out of the pipes. Select Manual Drain and click on "
                "the spur.",
                Join({ClickOn(Named("sbManualDrain")), ClickPlan(12500, 6500)})),
            Say("Enter the drain's pipe size, then the length of its pipe.",
                Join({ClickOn(Ok()), ClickOn(Captioned("OK"))})),
            Say("Automatic drains belong at the low points of the loop.",
                Join({ClickOn(Named("sbAutomaticDrain")), ClickPlan(14500, 2500), ClickOn(Ok()),
                      ClickOn(Captioned("OK"))})),
            Say("Every object added can be undone with Edit, Undo (Ctrl+Z)."),
        }};
}

Lesson SymbolsAndPartNumbers(const QString& samples)
{
    return {QStringLiteral("4. Adding drop symbols and part numbers"),
            samples + "workshop.plf",
            {
                Say("This lesson adds equipment symbols to a drop and gives them part numbers."),
                Say("Click a drop to select it. The drop view on the left shows its symbols.",
                    ClickPlan(7500, 500)),
                Say("With a drop selected, the symbol buttons show the equipment it can carry.",
                    PointTo(Named("sbPressureGauge"))),
                Say("Select a button to add its symbol to the drop: here a pressure gauge.",
                    ClickOn(Named("sbPressureGauge"))),
                Say("And a lubricator.", ClickOn(Named("sbLubricator"))),
                Say("Click a symbol in the drop view to select it; a right click opens its menu.",
                    Join({ClickOn(DropViewSymbol(0)), RightClickOn(DropViewSymbol(0))})),
                Say("Assign ZAVOZA Parts chooses the vendor's part for the symbol.",
                    ClickOn(Captioned("Assign ZAVOZA Parts"))),
                Say("Pick the part from the list and select Ok.",
                    Join({ClickOn(FirstRow()), ClickOn(Captioned("Add Part")),
                          ClickOn(Captioned("OK"))})),
                Say("The parts list orders the chosen part for this drop."),
            }};
}

Lesson PrintingProjects(const QString& samples)
{
    return {
        QStringLiteral("5. Printing Projects"),
        samples + "workshop.plf",
        {
            Say("This lesson sets up a page and prints the workshop project."),
            Say("File, Print Setup shows the page as it will print.", ChooseMenu("moPrinter")),
            Say("Best Fit Scaling makes the drawing fill the page.", ClickOn(Named("btnBestFit"))),
            Say("Select Close to keep the settings.", ClickOn(Named("btnClose"))),
            Say("File, Print View prints the current view.", ChooseMenu("moPrintView")),
            Say("Choose the printer, or print to a PDF file.",
                ChooseEntry(Named("cbPrinter"), "Print to PDF")),
            Say("Enter the name of the PDF file.", TypeInto(Named("PDF file:"), "workshop.pdf")),
            Say("Select Print. The PDF holds the plan at the scale set up.", ClickOn(Ok())),
            Say("File, Print All Views prints the plan and the four sections in one job.",
                ChooseMenu("moPrintAllViews")),
            Say("Select Cancel to leave it for now.", ClickOn(Captioned("Cancel"))),
        }};
}

Lesson PartsList(const QString& samples)
{
    return {QStringLiteral("6. Generate Parts List"),
            samples + "workshop.plf",
            {
                Say("This lesson makes the priced parts list of the workshop project."),
                Say("Options, Generate Pipe Work Parts List (Ctrl+G) opens the parts list.",
                    ChooseMenu("moGeneratePipeWorkPartsList")),
                SayAnswering(
                    "Select Generate: every pipe, fitting, clip and hose is counted and priced. "
                    "Parts the catalogue cannot supply are reported; select Ok for each.",
                    ClickOn(Named("btnGenerate")), 30),
                Say("Print List prints it, Save List saves it as a file, EMail List sends it.",
                    Join({PointTo(Named("btnPrintList")), PointTo(Named("btnSaveList")),
                          PointTo(Named("btnEMailList"))})),
                Say("Select Close to return to the drawing.", ClickOn(Named("btnClose"))),
            }};
}

Lesson CreatingANewProject()
{
    return {
        QStringLiteral("1. Creating a new project"),
        {},
        {
            Say("Welcome to PIPELOOP. This lesson creates a new pipe loop project."),
            Say("Choose File, New Pipe Loop Project (or press Ctrl+N).",
                ChooseMenu("moNewPipeLoopProject")),
            Say("The project creator opens. Enter the inside size of the building from "
                "north to south, in millimetres.",
                TypeInto(Named("edNorthSouth"), "12000")),
            Say("Then from east to west.", TypeInto(Named("edEastWest"), "20000")),
            Say("And the height of the room.", TypeInto(Named("edRoomHeight"), "5000")),
            Say("The Information page sets up the pipe loop.", ClickOn(Captioned("Information"))),
            Say("The default loop runs round the inside of the building.",
                ClickOn(Named("rbElbows0"))),
            Say("Enter the height at which the pipe loop runs above the floor.",
                TypeInto(Named("edPLHeight"), "3500")),
            Say("Choose the pipe size of the loop and the default outlet size.",
                Join({TypeInto(Named("cbPLPipeSize"), "40mm"),
                      TypeInto(Named("cbOutletSize"), "25mm")})),
            Say("Describe the project and say who it is for.",
                Join({TypeInto(Named("edDescription"), "Assembly hall ring main"),
                      TypeInto(Named("edCreatedBy"), "A. Fitter"),
                      TypeInto(Named("edCustomer"), "Harbour Engineering Ltd")})),
            Say("Select Ok to create the project.", Join({ClickOn(Ok()), Maximise()})),
            Say("The building and its pipe loop are drawn in the plan view. Zoom, Zoom To "
                "Fit shows all of it.",
                ChooseMenu("moZoomToFit")),
            Say("The status bar shows the position under the mouse pointer.",
                Join({PointAtPlan(6000, 3000), PointAtPlan(15000, 9000)})),
            Say("Save the project with File, Save Project (Ctrl+S) when it is ready.",
                Join({ChooseMenu("moSaveProject"), TypeInto(Named("fileNameEdit"), "assembly hall"),
                      ClickOn(Captioned("Save"))}),
                10),
        }};
}

} // namespace

Lesson MakeLesson(int number, const QString& samples)
{
    const QString folder = samples.endsWith(u'/') ? samples : samples + u'/';
    switch (number) {
    case 1:
        return CreatingANewProject();
    case 2:
        return UsingTheToolBar(folder);
    case 3:
        return AddingObjects(folder);
    case 4:
        return SymbolsAndPartNumbers(folder);
    case 5:
        return PrintingProjects(folder);
    default:
        return PartsList(folder);
    }
}

} // namespace pipeloop::lessons
