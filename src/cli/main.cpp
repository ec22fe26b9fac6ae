#include "CliApp.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pipeloop-cli"));
    pipeloop::cli::CliApp cli(pipeloop::cli::AllSubcommands());
    return cli.run(QCoreApplication::arguments());
}
