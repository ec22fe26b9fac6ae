#include "CliApp.h"

#include <QGuiApplication>

#include <csignal>

namespace
{
QtMessageHandler g_previousHandler = nullptr;

// Without XDG_RUNTIME_DIR (a service account, a container) Qt's platform
// start-up makes its own runtime folder and says so on standard error, which
// must carry only the program's own messages. That one notice is dropped
// while the application object is made; everything else passes.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg &&
        message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}
} // namespace

int main(int argc, char** argv)
{
    // Drawing measures text, and fonts need a QGuiApplication; the program
    // never shows a window, so the offscreen platform serves when none is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A reader that goes away (`pipeloop-cli ... | head`) is a write failure
    // like any other: a message and status 2, not death by a signal.
    std::signal(SIGPIPE, SIG_IGN);
    g_previousHandler = qInstallMessageHandler(startupMessages);
    QGuiApplication app(argc, argv);
    qInstallMessageHandler(g_previousHandler);
    QCoreApplication::setApplicationName(QStringLiteral("pipeloop-cli"));
    pipeloop::cli::CliApp cli(pipeloop::cli::AllSubcommands());
    return cli.run(QCoreApplication::arguments());
}
