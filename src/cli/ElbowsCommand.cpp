#include "ElbowsCommand.h"

#include "ElbowList.h"
#include "UiServices.h"

namespace pipeloop::cli {

namespace {
const QString ScaleOption = QStringLiteral("--scale");

// 1 reads the file in millimetres, 1000 in metres: the two choices the New
// Project command offers.
double scaleOf(const Invocation& invocation)
{
    const QString scale = invocation.option(ScaleOption, QStringLiteral("1"));
    if (scale == QStringLiteral("1"))
        return 1.0;
    if (scale == QStringLiteral("1000"))
        return 1000.0;
    throw UsageError{QStringLiteral("--scale must be 1 (millimetres) or 1000 (metres), not '%1'")
                         .arg(scale)};
}
} // namespace

QString ElbowsCommand::name() const { return QStringLiteral("elbows"); }

QString ElbowsCommand::summary() const
{
    return QStringLiteral("the elbows an elbow coordinate file yields (name, EW, NS, vertical "
                          "drop)");
}

QString ElbowsCommand::usage() const { return QStringLiteral("FILE [--scale 1|1000]"); }

QStringList ElbowsCommand::valueOptions() const { return {ScaleOption}; }

int ElbowsCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const double scale = scaleOf(invocation);

    ElbowList elbows;
    const Parsed<int> imported = ImportElbowsFromFile(elbows, path, scale);
    if (!imported) {
        Ui().error(imported.error());
        return ExitStopped;
    }
    if (elbows.empty()) {
        // What the New Project command says before it falls back to clicks.
        Ui().warn(QStringLiteral("No elbows loaded from file."));
        return ExitStopped;
    }
    QString text;
    for (const auto& elbow : elbows)
        text += QStringLiteral("%1\t%2\t%3\t%4\n")
                    .arg(elbow->Name)
                    .arg(elbow->EW)
                    .arg(elbow->NS)
                    .arg(elbow->VerticalDrop);
    return invocation.writeResult(text.toUtf8()) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
