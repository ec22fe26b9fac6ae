#include "ProjectCommands.h"

#include "PipeLoop.h"
#include "PrintSetup.h"
#include "ProjectFile.h"
#include "UiServices.h"
#include "Units.h"

#include <memory>

namespace pipeloop::cli
{

namespace
{

// A project loaded the way the desktop program opens one: header check, then
// the load with the program's own options (questions answered by --yes/--no).
struct OpenedProject {
    TPipeLoopOptions options;
    PrintSetup printSetup;
    ZoomFactors zoom = InitialZoomFactors;
    std::unique_ptr<TPipeLoop> design;
    bool optionsSaved = false;
    bool optionsTaken = false;

    // Shows the failure and answers false.
    bool open(const QString& path)
    {
        ProjectLoad load = OpenProject(path, options, printSetup, zoom);
        if (!load)
            return false;
        optionsSaved = load.Options.Saved;
        optionsTaken = load.OptionsTaken;
        load.Apply(design, options, printSetup, zoom);
        return true;
    }
};

QString LengthText(int32_t millimetres, DisplayUnits units)
{
    const int64_t mm = millimetres;
    const QString text = FormatLength(static_cast<uint32_t>(mm < 0 ? -mm : mm), units);
    return mm < 0 ? u'-' + text : text;
}

QString UnitsText(DisplayUnits units)
{
    switch (units) {
    case DisplayUnits::Metres:
        return QStringLiteral("metres");
    case DisplayUnits::Millimetres:
        return QStringLiteral("millimetres");
    case DisplayUnits::FeetInches:
        return QStringLiteral("feet and inches");
    }
    return {};
}

QString YesNo(bool value)
{
    return value ? QStringLiteral("yes") : QStringLiteral("no");
}

// The section of the project file an object was read from (Drop3), which
// names it uniquely where object names may repeat.
template <typename T>
void ListHighlighted(const std::vector<std::unique_ptr<T>>& list, QString& text)
{
    int number = 0;
    for (const auto& object : list) {
        ++number;
        if (object->isHighlighted())
            text += QStringLiteral("%1%2\t%3\t%4\t%5\t%6\n")
                        .arg(SectionPrefix(object->Kind()))
                        .arg(number)
                        .arg(object->Name)
                        .arg(object->NS)
                        .arg(object->EW)
                        .arg(object->HG);
    }
}

} // namespace

// ---------------------------------------------------------------- info

QString InfoCommand::summary() const
{
    return QStringLiteral("a project file's header, building, loop and object counts");
}

int InfoCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    OpenedProject project;
    if (!project.open(path))
        return ExitStopped;
    const TPipeLoop& d = *project.design;
    const DisplayUnits u = d.Units;

    QString text;
    const auto line = [&text](const QString& label, const QString& value) {
        text += label + QStringLiteral(": ") + value + u'\n';
    };
    line(QStringLiteral("File"), path);
    line(QStringLiteral("Kind"), d.CompressorHouse ? QStringLiteral("compressor house")
                                                   : QStringLiteral("pipe loop project"));
    line(QStringLiteral("Description"), d.Description);
    line(QStringLiteral("Created by"), d.CreatedBy);
    line(QStringLiteral("Customer"), d.CustomerCompany);
    line(QStringLiteral("Units"), UnitsText(u));
    line(QStringLiteral("Building"),
         QStringLiteral("%1 east-west x %2 north-south x %3 high")
             .arg(LengthText(d.RoomEW, u), LengthText(d.RoomNS, u), LengthText(d.RoomHG, u)));
    line(QStringLiteral("Loop height"), LengthText(d.Height, u));
    line(QStringLiteral("Loop pipe size"), SizeText(d.PipeSize));
    line(QStringLiteral("Pipe colour"), PipeColourWord(d.PipeColour));
    line(QStringLiteral("Default outlet size"), SizeText(d.DefaultOutletSize));
    const auto count = [](const auto& list) { return QString::number(list.size()); };
    line(QStringLiteral("Elbows"), count(d.Elbows));
    line(QStringLiteral("Build features"), count(d.BuildFeatures));
    line(QStringLiteral("Drains"), count(d.Drains));
    line(QStringLiteral("Drops"), count(d.Drops));
    line(QStringLiteral("Valves"), count(d.Valves));
    line(QStringLiteral("Inlets"), count(d.Inlets));
    line(QStringLiteral("Spurs"), count(d.Spurs));
    line(QStringLiteral("Note lines"), QString::number(d.Notes.size()));
    line(QStringLiteral("Options saved with project"), YesNo(project.optionsSaved));
    line(QStringLiteral("Options taken from project"), YesNo(project.optionsTaken));
    return invocation.writeResult(text.toUtf8()) ? ExitOk : ExitStopped;
}

// ---------------------------------------------------------------- resave

QString ResaveCommand::summary() const
{
    return QStringLiteral("loads a project file and saves it again");
}

int ResaveCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    const QString out = invocation.argument(1, QStringLiteral("OUT"));
    invocation.expectArguments(2);
    OpenedProject project;
    if (!project.open(path))
        return ExitStopped;
    if (!SaveProject(*project.design, project.options, project.printSetup, project.zoom, out))
        return ExitStopped;
    return ExitOk;
}

// ---------------------------------------------------------------- check

QString CheckCommand::summary() const
{
    return QStringLiteral("the connection check: lists drains, drops, valves and inlets that "
                          "stand on no pipe");
}

int CheckCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    OpenedProject project;
    if (!project.open(path))
        return ExitStopped;
    TPipeLoop& design = *project.design;
    if (design.CheckConnections())
        return invocation.writeResult(QByteArray()) ? ExitOk : ExitStopped;

    QString text;
    ListHighlighted(design.Drains, text);
    ListHighlighted(design.Drops, text);
    ListHighlighted(design.Valves, text);
    ListHighlighted(design.Inlets, text);
    Ui().warn(QStringLiteral("There are symbols not connected.\r\nThese have been highlighted."));
    return invocation.writeResult(text.toUtf8()) ? ExitCheckFailed : ExitStopped;
}

} // namespace pipeloop::cli
