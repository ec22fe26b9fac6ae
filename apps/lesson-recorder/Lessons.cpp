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

Finder Ok()
{
    return Named(QStringLiteral("bbOk"));
}

Lesson CreatingANewProject()
{
    return {QStringLiteral("1. Creating a new project"),
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
                Say("The Information page sets up the pipe loop.",
                    ClickOn(Captioned("Information"))),
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
    (void)samples;
    switch (number) {
    case 1:
        return CreatingANewProject();
    default:
        return {};
    }
}

} // namespace pipeloop::lessons
