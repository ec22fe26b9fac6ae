#include "PartsListCommand.h"

#include "CatalogueCommands.h"
#include "OutputProject.h"
#include "PartsDatabase.h"
#include "PartsListGenerator.h"
#include "PartsListOptions.h"
#include "PartsListReport.h"
#include "ReportDocument.h"
#include "UiServices.h"

#include <QFile>

#include <memory>

namespace pipeloop::cli
{

using namespace pipeloop::catalogue;

namespace
{

bool YesNoOption(const Invocation& invocation, const QString& option, bool fallback)
{
    if (!invocation.has(option))
        return fallback;
    const QString value = invocation.option(option).toLower();
    if (value == QStringLiteral("yes"))
        return true;
    if (value == QStringLiteral("no"))
        return false;
    throw UsageError{QStringLiteral("%1 takes yes or no, not '%2'").arg(option, value)};
}

PartsListOptions OptionsOf(const Invocation& invocation, PipeColour designColour)
{
    PartsListOptions options = PartsListOptions::ForDesign(designColour);
    if (invocation.has(QStringLiteral("--colour"))) {
        const QString colour = invocation.option(QStringLiteral("--colour")).toLower();
        if (colour == QStringLiteral("blue"))
            options.colour = ColourBlue;
        else if (colour == QStringLiteral("grey") || colour == QStringLiteral("gray"))
            options.colour = ColourGrey;
        else
            throw UsageError{QStringLiteral("--colour takes blue or grey, not '%1'").arg(colour)};
    }
    if (invocation.has(QStringLiteral("--stock"))) {
        const QString stock = invocation.option(QStringLiteral("--stock"));
        if (stock == QStringLiteral("4000"))
            options.stockLength = 4000;
        else if (stock == QStringLiteral("6000"))
            options.stockLength = 6000;
        else
            throw UsageError{QStringLiteral("--stock takes 4000 or 6000, not '%1'").arg(stock)};
    }
    options.steelClipsMain =
        YesNoOption(invocation, QStringLiteral("--steel-main"), options.steelClipsMain);
    options.steelClipsDrops =
        YesNoOption(invocation, QStringLiteral("--steel-drops"), options.steelClipsDrops);
    options.endCaps = YesNoOption(invocation, QStringLiteral("--end-caps"), options.endCaps);
    if (invocation.has(QStringLiteral("--manifold"))) {
        const QString code = invocation.option(QStringLiteral("--manifold"));
        if (!PartsListOptions::TwoPortManifoldCodes().contains(code))
            throw UsageError{QStringLiteral("--manifold takes one of %1, not '%2'")
                                 .arg(PartsListOptions::TwoPortManifoldCodes().join(u'|'), code)};
        options.twoPortManifold = code;
    }
    options.includePrices = invocation.has(QStringLiteral("--prices"));
    options.splitPackagePricing = invocation.has(QStringLiteral("--split-packages"));
    options.showCatalogueCodes = invocation.has(QStringLiteral("--codes"));
    return options;
}

enum class Format { Text, Tsv, Rtf, Log };

Format FormatOf(const Invocation& invocation)
{
    const QString format = invocation.option(QStringLiteral("--format"), QStringLiteral("text"));
    if (format == QStringLiteral("text"))
        return Format::Text;
    if (format == QStringLiteral("tsv"))
        return Format::Tsv;
    if (format == QStringLiteral("rtf"))
        return Format::Rtf;
    if (format == QStringLiteral("log"))
        return Format::Log;
    throw UsageError{QStringLiteral("--format takes text, tsv, rtf or log, not '%1'").arg(format)};
}

// The price list the desktop program would have loaded from its options,
// with the start-up checks. A list of another currency leaves the catalogue's
// prices (and says so); one given up at an unreadable price stops the command.
bool LoadPriceList(TPartsDatabase& database, const QString& path)
{
    if (!QFile::exists(path)) {
        Ui().error(QStringLiteral("Cannot find parts price list file : ") + path);
        return false;
    }
    if (!TPartsDatabase::IsPriceListFile(path)) {
        Ui().error(QStringLiteral("Parts price list file invalid :\r\n") + path);
        return false;
    }
    return database.LoadPriceList(path) != PriceListLoad::Abandoned;
}

} // namespace

QString PartsListCommand::summary() const
{
    return QStringLiteral(
        "generates a project's parts list: the report as text, spreadsheet text (tsv),\n"
        "rich text (rtf) or the status log (log); exit 2 when generation stops");
}

QString PartsListCommand::usage() const
{
    return QStringLiteral(
        "FILE [--catalogue C.pldbcab] [--price-list P.ppl] [--colour blue|grey]\n"
        "       [--stock 4000|6000] [--steel-main yes|no] [--steel-drops yes|no]\n"
        "       [--end-caps yes|no] [--manifold 90602|90642|90660|90662|90664] [--prices]\n"
        "       [--split-packages] [--codes] [--format text|tsv|rtf|log] [--out OUT] [--yes|--no]");
}

QStringList PartsListCommand::valueOptions() const
{
    return {QStringLiteral("--price-list"),  QStringLiteral("--colour"),
            QStringLiteral("--stock"),       QStringLiteral("--steel-main"),
            QStringLiteral("--steel-drops"), QStringLiteral("--end-caps"),
            QStringLiteral("--manifold"),    QStringLiteral("--format")};
}

QStringList PartsListCommand::flagOptions() const
{
    return {QStringLiteral("--prices"), QStringLiteral("--split-packages"),
            QStringLiteral("--codes")};
}

int PartsListCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const Format format = FormatOf(invocation);

    OutputProject project;
    if (!project.open(path))
        return ExitStopped;
    TPipeLoop* design = project.design.get();
    // The window's options are read before anything else can fail.
    const PartsListOptions options = OptionsOf(invocation, design->PipeColour);

    TPartsDatabase database;
    database.LoadContainer(CataloguePathOf(invocation));
    if (!database.IsUsable()) {
        Ui().inform(QStringLiteral(
            "The parts database could not be loaded, no parts list generation possible."));
        return ExitStopped;
    }
    const QString priceList = invocation.option(QStringLiteral("--price-list"));
    if (!priceList.isEmpty() && !LoadPriceList(database, priceList))
        return ExitStopped;
    if ((options.includePrices || options.splitPackagePricing) && !database.PriceListLoaded())
        Ui().warn(QStringLiteral("No price list is loaded: the list is written without prices."));

    if (!design->CheckConnections()) {
        Ui().warn(
            QStringLiteral("There are symbols not connected.\r\nThese have been highlighted."));
        return ExitCheckFailed;
    }

    TPartsListGenerator generator(*design, database);
    const GenerationOutcome outcome = generator.Generate(options);
    const bool complete = outcome == GenerationOutcome::Completed;

    QByteArray bytes;
    switch (format) {
    case Format::Log:
        // Line by line: the log of a design of long runs is long. An empty log
        // is one empty line.
        generator.ForEachLogLine([&bytes](const QString& line, int64_t times) {
            const QByteArray text = line.toUtf8() + '\n';
            for (int64_t i = 0; i < times; ++i)
                bytes += text;
        });
        if (bytes.isEmpty())
            bytes = "\n";
        break;
    case Format::Text:
        bytes = ReportPlainText(generator.Report(), QStringLiteral("\n"), true).toUtf8();
        break;
    case Format::Tsv:
        bytes = ReportSpreadsheetText(generator.Report()).toUtf8();
        break;
    case Format::Rtf:
        bytes = RtfWriter::Write(generator.Report(), design->Description);
        break;
    }
    if (complete || format == Format::Log) {
        if (!invocation.writeResult(bytes))
            return ExitStopped;
    }
    return complete ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
