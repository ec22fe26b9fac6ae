#include "AnalyseCommand.h"

#include "AirAnalysis.h"
#include "CatalogueCommands.h"
#include "LocaleInfo.h"
#include "OutputProject.h"
#include "PartsDatabase.h"
#include "UiServices.h"
#include "Units.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace pipeloop::cli
{

namespace
{

using analysis::AirAnalysis;
using analysis::DropResult;

enum class Format { Text, Tsv, Json };

Format FormatOf(const Invocation& invocation)
{
    const QString format = invocation.option(QStringLiteral("--format"), QStringLiteral("text"));
    if (format == QStringLiteral("text"))
        return Format::Text;
    if (format == QStringLiteral("tsv"))
        return Format::Tsv;
    if (format == QStringLiteral("json"))
        return Format::Json;
    throw UsageError{QStringLiteral("--format takes text, tsv or json, not '%1'").arg(format)};
}

// A value with the locale's decimal separator.
QString Number(double value, int decimals)
{
    return QString::number(value, 'f', decimals).replace(u'.', LocaleInfo::decimalSeparator());
}

QString SizeOrNone(const std::optional<float>& size)
{
    return size ? SizeText(*size) : QStringLiteral("none");
}

struct Report {
    const AirAnalysis& a;
    float ringSize;
    std::optional<float> suggested;

    QString dropState(const DropResult& drop) const
    {
        if (!drop.supplied)
            return QStringLiteral("not fed");
        return a.dropWithinAllowed(drop) ? QStringLiteral("ok") : QStringLiteral("too low");
    }
    QString worstName() const
    {
        return a.worst < 0 ? QStringLiteral("none") : a.drops[size_t(a.worst)].drop->Name;
    }
    QString pointName(int point) const { return a.points[size_t(point)].name; }

    QString text() const
    {
        QString out;
        const auto line = [&out](const QString& label, const QString& value) {
            out += label + QStringLiteral(": ") + value + u'\n';
        };
        line(QStringLiteral("Supply pressure"),
             Number(a.supplyPressure, 3) + QStringLiteral(" bar"));
        line(QStringLiteral("Allowed pressure drop"),
             Number(a.allowedDrop, 3) + QStringLiteral(" bar"));
        line(QStringLiteral("Total demand"), Number(a.totalDemand, 2) + QStringLiteral(" l/s"));
        line(QStringLiteral("Iterations"), QString::number(a.iterations));
        if (a.worst >= 0) {
            const DropResult& worst = a.drops[size_t(a.worst)];
            line(QStringLiteral("Worst drop"),
                 QStringLiteral("%1 at %2 bar (%3 bar below the supply)")
                     .arg(worstName(), Number(worst.pressure, 4),
                          Number(a.pressureDropAt(worst), 4)));
        }
        line(QStringLiteral("Ring size"), SizeText(ringSize));
        line(QStringLiteral("Smallest ring size within the allowed drop"), SizeOrNone(suggested));
        out += QStringLiteral("\nDrop\tDemand l/s\tPressure bar\tDrop bar\tState\n");
        for (const DropResult& drop : a.drops)
            out +=
                QStringList{drop.drop->Name, Number(drop.demand, 2),
                            drop.supplied ? Number(drop.pressure, 4) : QStringLiteral("-"),
                            drop.supplied ? Number(a.pressureDropAt(drop), 4) : QStringLiteral("-"),
                            dropState(drop)}
                    .join(u'\t') +
                u'\n';
        out += QStringLiteral("\nFrom\tTo\tLength m\tSize\tFlow l/s\tDrop bar\n");
        for (const auto& s : a.segments)
            out += QStringList{pointName(s.from), pointName(s.to),   Number(s.metres, 2),
                               SizeText(s.size),  Number(s.flow, 3), Number(s.pressureDrop, 5)}
                       .join(u'\t') +
                   u'\n';
        return out;
    }

    // One record a line, its kind first, numbers in full precision.
    QString tsv() const
    {
        QString out;
        const auto row = [&out](const QStringList& fields) { out += fields.join(u'\t') + u'\n'; };
        const auto full = [](double v) { return FormatGeneral(v); };
        row({QStringLiteral("supply"), full(a.supplyPressure)});
        row({QStringLiteral("allowed"), full(a.allowedDrop)});
        row({QStringLiteral("demand"), full(a.totalDemand)});
        row({QStringLiteral("iterations"), QString::number(a.iterations)});
        row({QStringLiteral("worst"), worstName()});
        row({QStringLiteral("ring"), SizeText(ringSize)});
        row({QStringLiteral("suggested"), SizeOrNone(suggested)});
        for (const DropResult& drop : a.drops)
            row({QStringLiteral("drop"), drop.drop->Name, full(drop.demand),
                 drop.supplied ? full(drop.pressure) : QString(), dropState(drop)});
        for (const auto& s : a.segments)
            row({QStringLiteral("segment"), pointName(s.from), pointName(s.to), full(s.metres),
                 SizeText(s.size), full(s.flow), full(s.pressureDrop)});
        return out;
    }

    QByteArray json() const
    {
        QJsonArray drops;
        for (const DropResult& drop : a.drops) {
            QJsonObject o{
                {"name", drop.drop->Name}, {"demand", drop.demand}, {"state", dropState(drop)}};
            if (drop.supplied)
                o.insert("pressure", drop.pressure);
            drops.append(o);
        }
        QJsonArray segments;
        for (const auto& s : a.segments)
            segments.append(QJsonObject{{"from", pointName(s.from)},
                                        {"to", pointName(s.to)},
                                        {"metres", s.metres},
                                        {"size", double(s.size)},
                                        {"flow", s.flow},
                                        {"pressureDrop", s.pressureDrop}});
        QJsonObject root{{"supplyPressure", a.supplyPressure},
                         {"allowedDrop", a.allowedDrop},
                         {"totalDemand", a.totalDemand},
                         {"iterations", a.iterations},
                         {"ringSize", double(ringSize)},
                         {"drops", drops},
                         {"segments", segments}};
        if (a.worst >= 0)
            root.insert("worst", worstName());
        if (suggested)
            root.insert("suggestedRingSize", double(*suggested));
        return QJsonDocument(root).toJson(QJsonDocument::Indented);
    }
};

// The messages of a solved analysis; false when a drop fails the check.
bool Verdict(const AirAnalysis& a)
{
    bool ok = true;
    for (const DropResult& drop : a.drops) {
        if (drop.demand == 0)
            continue;
        if (!drop.supplied) {
            Ui().error(drop.drop->Name + QStringLiteral(" has a demand but no inlet feeds it."));
            ok = false;
        } else if (!a.dropWithinAllowed(drop)) {
            Ui().error(
                QStringLiteral("%1 is %2 bar below the supply, more than the allowed %3 bar.")
                    .arg(drop.drop->Name, Number(a.pressureDropAt(drop), 4),
                         Number(a.allowedDrop, 3)));
            ok = false;
        }
    }
    if (a.inletDelivery > 0 && a.totalDemand > a.inletDelivery)
        Ui().warn(QStringLiteral("The drops draw %1 l/s, more than the %2 l/s the inlets deliver.")
                      .arg(Number(a.totalDemand, 2), Number(a.inletDelivery, 2)));
    return ok;
}

} // namespace

QString AnalyseCommand::summary() const
{
    return QStringLiteral("pressures at the drops and flows around the ring main");
}

QString AnalyseCommand::usage() const
{
    return QStringLiteral("FILE [--format text|tsv|json] [--catalogue FILE] [--out OUT]");
}

int AnalyseCommand::run(const Invocation& invocation)
{
    const QString path = invocation.argument(0, QStringLiteral("FILE"));
    invocation.expectArguments(1);
    const Format format = FormatOf(invocation);

    OutputProject project;
    if (!project.open(path))
        return ExitStopped;
    const TPipeLoop& design = *project.design;
    const AirAnalysis analysis = analysis::AnalyseAirSupply(design);
    if (!analysis.solved()) {
        Ui().error(analysis.problem);
        return analysis.outcome == analysis::AnalysisOutcome::NotSettled ? ExitStopped
                                                                         : ExitCheckFailed;
    }
    catalogue::TPartsDatabase database;
    database.LoadContainer(CataloguePathOf(invocation));
    const Report report{analysis, design.PipeSize,
                        analysis::SuggestRingSize(design, analysis::RingSizes(&database))};
    QByteArray bytes;
    switch (format) {
    case Format::Text:
        bytes = report.text().toUtf8();
        break;
    case Format::Tsv:
        bytes = report.tsv().toUtf8();
        break;
    case Format::Json:
        bytes = report.json();
        break;
    }
    const bool ok = Verdict(analysis);
    if (!invocation.writeResult(bytes))
        return ExitStopped;
    return ok ? ExitOk : ExitCheckFailed;
}

} // namespace pipeloop::cli
