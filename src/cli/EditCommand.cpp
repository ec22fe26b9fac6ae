#include "EditCommand.h"

#include "Document.h"
#include "EditScript.h"
#include "UiServices.h"

#include <QFile>

#include <cstdio>
#include <optional>

namespace pipeloop::cli
{

namespace
{

// The script's text (UTF-8) from its file, or from standard input for "-";
// nothing after the failure has been shown.
std::optional<QString> ReadScript(const QString& path)
{
    const bool standardInput = path == QStringLiteral("-");
    QFile file(standardInput ? QString() : path);
    const bool opened =
        standardInput ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    QByteArray bytes;
    if (opened)
        bytes = file.readAll();
    if (!opened || file.error() != QFileDevice::NoError) {
        Ui().error(QStringLiteral("Cannot read script %1 : %2").arg(path, file.errorString()));
        return std::nullopt;
    }
    return QString::fromUtf8(bytes);
}

} // namespace

QString EditCommand::summary() const
{
    QStringList names;
    for (const ScriptOperation& operation : ScriptOperations())
        names.append(operation.name);
    return QStringLiteral(
               "runs a script of editing operations on a project through the desktop program's\n"
               "own commands and saves the result (to OUT, else FILE); the first refused line\n"
               "stops the run with exit 2 and writes nothing. Operations: ") +
           names.join(QStringLiteral(", "));
}

QString EditCommand::usage() const
{
    return QStringLiteral("FILE --script OPS|- [--out OUT] [--yes|--no] [--catalogue FILE]");
}

int EditCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    if (!invocation.has(QStringLiteral("--script")))
        throw UsageError{QStringLiteral("missing --script OPS")};
    const std::optional<QString> script = ReadScript(invocation.option(QStringLiteral("--script")));
    if (!script)
        return ExitStopped;

    Document document;
    if (!document.open(path))
        return ExitStopped;
    ScriptContext context(document, invocation);
    const QStringList lines = ScriptLines(*script);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const EditResult result = RunScriptLine(context, lines.at(i));
        if (!result) {
            Ui().error(QStringLiteral("line %1: %2").arg(i + 1).arg(result.message()));
            return ExitStopped;
        }
    }
    return document.save(invocation.option(QStringLiteral("--out"), path)) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
