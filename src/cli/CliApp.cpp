#include "CliApp.h"

#include "ErrorReport.h"
#include "LocaleInfo.h"
#include "UiServices.h"
#include "Version.h"

#include <cstdio>

namespace pipeloop::cli
{

namespace
{
const QStringList CommonValueOptions = {QStringLiteral("--locale"), QStringLiteral("--out"),
                                        QStringLiteral("--catalogue")};
const QStringList CommonFlagOptions = {QStringLiteral("--yes"), QStringLiteral("--no"),
                                       QStringLiteral("--help")};

void printError(const QString& text)
{
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

// Help and version texts go where results go, and fail as they do.
int printOut(const QString& text)
{
    return WriteStandardOutput((text + u'\n').toLocal8Bit()) ? ExitOk : ExitStopped;
}

// The words with the subcommand's name first: common options may also come
// before it ("pipeloop-cli --locale de_DE info FILE"). --help and --version
// before any subcommand keep their meaning for the program as a whole.
QStringList SubcommandFirst(const QStringList& words)
{
    qsizetype name = 0;
    while (name < words.size()) {
        if (CommonValueOptions.contains(words.at(name)) && name + 1 < words.size())
            name += 2;
        else if (words.at(name) == QStringLiteral("--yes") ||
                 words.at(name) == QStringLiteral("--no"))
            name += 1;
        else
            break;
    }
    if (name == 0 || name == words.size())
        return words;
    return QStringList{words.at(name)} + words.mid(0, name) + words.mid(name + 1);
}
} // namespace

CliApp::CliApp(SubcommandList subcommands) : m_subcommands(std::move(subcommands)) {}

Subcommand* CliApp::find(const QString& name) const
{
    for (const auto& command : m_subcommands)
        if (command->name() == name)
            return command.get();
    return nullptr;
}

int CliApp::printHelp() const
{
    QString text = QStringLiteral("usage: pipeloop-cli SUBCOMMAND [ARGS] [OPTIONS]\n\n"
                                  "Subcommands:\n");
    for (const auto& command : m_subcommands)
        text += QStringLiteral("  %1  %2\n").arg(command->name(), -18).arg(command->summary());
    return printOut(
        text + QStringLiteral("\nCommon options:\n"
                              "  --locale NAME     decimal separator and currency of a Qt locale "
                              "(en_GB, de_DE, C)\n"
                              "  --yes / --no      answer every question (default --no)\n"
                              "  --catalogue FILE  the parts container (default zavoza.pldbcab "
                              "in the program's data folder)\n"
                              "  --out FILE        write the result to FILE instead of standard "
                              "output\n"
                              "  --help            help on a subcommand\n"
                              "  --version         the program's version"));
}

int CliApp::printSubcommandHelp(const Subcommand& command)
{
    return printOut(QStringLiteral("usage: pipeloop-cli %1 %2\n\n%3")
                        .arg(command.name(), command.usage(), command.summary()));
}

Invocation CliApp::parse(const Subcommand& command, const QStringList& words) const
{
    const QStringList valueOptions = CommonValueOptions + command.valueOptions();
    const QStringList flagOptions = CommonFlagOptions + command.flagOptions();
    Invocation invocation;
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words.at(i);
        if (!word.startsWith(QStringLiteral("--")) || word == QStringLiteral("--")) {
            invocation.arguments.append(word);
        } else if (valueOptions.contains(word)) {
            if (i + 1 >= words.size())
                throw UsageError{QStringLiteral("option %1 needs a value").arg(word)};
            invocation.options.insert(word, words.at(++i));
        } else if (flagOptions.contains(word)) {
            invocation.options.insert(word, QString());
        } else {
            throw UsageError{QStringLiteral("unknown option %1").arg(word)};
        }
    }
    invocation.answerYes = invocation.has(QStringLiteral("--yes"));
    return invocation;
}

int CliApp::runSubcommand(Subcommand& command, const QStringList& words)
{
    try {
        const Invocation invocation = parse(command, words);
        if (invocation.has(QStringLiteral("--help")))
            return printSubcommandHelp(command);
        if (invocation.has(QStringLiteral("--locale")))
            LocaleInfo::set(LocaleInfo::fromLocaleName(invocation.option("--locale")));
        ConsoleUiServices console(invocation.answerYes);
        ScopedUiServices scope(console);
        return command.run(invocation);
    } catch (const UsageError& bad) {
        printError(QStringLiteral("error: %1\nusage: pipeloop-cli %2 %3")
                       .arg(bad.message, command.name(), command.usage()));
        return ExitUsage;
    } catch (...) {
        printError(QStringLiteral("error: ") + ReportErrorText(ErrorText()));
        return ExitStopped;
    }
}

int CliApp::run(const QStringList& commandLine)
{
    const QStringList words = SubcommandFirst(commandLine.mid(1));
    if (words.isEmpty()) {
        printHelp(); // a missing subcommand outranks a help text that could not be shown
        return ExitUsage;
    }
    if (words.front() == QStringLiteral("--help"))
        return printHelp();
    if (words.front() == QStringLiteral("--version"))
        return printOut(ProgramVersion());
    Subcommand* command = find(words.front());
    if (!command) {
        printError(QStringLiteral("error: unknown subcommand '%1' (see pipeloop-cli --help)")
                       .arg(words.front()));
        return ExitUsage;
    }
    const int status = runSubcommand(*command, words.mid(1));
    // Whatever a command left in the buffer must reach the output too.
    if ((status == ExitOk || status == ExitCheckFailed) && !WriteStandardOutput({}))
        return ExitStopped;
    return status;
}

} // namespace pipeloop::cli
