#include "ElbowsCommand.h"

#include "ElbowList.h"
#include "UiServices.h"

namespace pipeloop::cli
{

namespace
{
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
    throw UsageError{
        QStringLiteral("--scale must be 1 (millimetres) or 1000 (metres), not '%1'").arg(scale)};
}
} // namespace

QString ElbowsCommand::name() const
{
    return QStringLiteral("elbows");
}

QString ElbowsCommand::summary() const
{
    return QStringLiteral("the elbows an elbow coordinate file yields (name, EW, NS, vertical "
                          "drop)");
}

QString ElbowsCommand::usage() const
{
    return QStringLiteral("FILE [--scale 1|1000]");
}

QStringList ElbowsCommand::valueOptions() const
{
    return {ScaleOption};
}

int ElbowsCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const double scale = scaleOf(invocation);

    // The file is read a line at a time and each elbow written as it comes:
    // only the result is held, which the output must have whole.
    QByteArray text;
    qsizetype count = 0;
    const Parsed<int> read = ReadElbowFile(path, scale, [&](const ElbowLine& elbow) {
        text += ElbowName(++count).toLatin1() + '\t' + QByteArray::number(elbow.EW) + '\t' +
                QByteArray::number(elbow.NS) + '\t' + QByteArray::number(elbow.VerticalDrop) + '\n';
    });
    if (!read) {
        Ui().error(read.error());
        return ExitStopped;
    }
    if (count == 0) {
        // What the New Project command says before it falls back to clicks.
        Ui().warn(QStringLiteral("No elbows loaded from file."));
        return ExitStopped;
    }
    return invocation.writeResult(text) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
