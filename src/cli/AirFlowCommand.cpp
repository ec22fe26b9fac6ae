#include "AirFlowCommand.h"

#include "AirFlow.h"
#include "UiServices.h"

#include <utility>

namespace pipeloop::cli
{

namespace
{
const QString CalculateOption = QStringLiteral("--calculate");
const QString FlowOption = QStringLiteral("--flow");
const QString FlowUnitOption = QStringLiteral("--flow-unit");
const QString PressureOption = QStringLiteral("--pressure");
const QString DropOption = QStringLiteral("--drop");

template <typename T> using Names = std::initializer_list<std::pair<const char*, T>>;

// The value an option names, or a usage error listing the names it takes.
template <typename T>
T named(const Invocation& invocation, const QString& option, Names<T> names, T fallback)
{
    if (!invocation.has(option))
        return fallback;
    const QString given = invocation.option(option);
    QStringList known;
    for (const auto& [name, value] : names) {
        if (given.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return value;
        known.append(QLatin1String(name));
    }
    throw UsageError{
        QStringLiteral("unknown %1 '%2' (expected %3)").arg(option, given, known.join(u'|'))};
}

AirFlowRequest requestOf(const Invocation& invocation)
{
    using Calculation = AirFlowCalculation;
    AirFlowRequest request;
    request.calculation = named<Calculation>(invocation, CalculateOption,
                                             {{"drop", Calculation::PressureDrop},
                                              {"pressure", Calculation::InitialPressure},
                                              {"flow", Calculation::RequiredAirFlow},
                                              {"diameter", Calculation::PipeDiameter}},
                                             request.calculation);
    request.flowUnit = named<FlowUnit>(invocation, FlowUnitOption,
                                       {{"cfm", FlowUnit::Cfm},
                                        {"l/s", FlowUnit::LitresPerSecond},
                                        {"m3/s", FlowUnit::CubicMetresPerSecond},
                                        {"litres/sec", FlowUnit::LitresPerSecond},
                                        {"m^3/sec", FlowUnit::CubicMetresPerSecond}},
                                       request.flowUnit);
    request.flow = invocation.option(FlowOption, request.flow);
    request.pressure = invocation.option(PressureOption, request.pressure);
    request.pressureDrop = invocation.option(DropOption, request.pressureDrop);
    return request;
}
} // namespace

QString AirFlowCommand::name() const
{
    return QStringLiteral("airflow");
}

QString AirFlowCommand::summary() const
{
    return QStringLiteral(
        "the air flow calculator: pressure drop, initial pressure, required flow or bore");
}

QString AirFlowCommand::usage() const
{
    return QStringLiteral(
        "[--calculate drop|pressure|flow|diameter] [--flow Q] [--flow-unit cfm|l/s|m3/s]\n"
        "       [--pressure BAR] [--drop BAR]\n\n"
        "  --calculate  what to work out (default drop); prints one report line:\n"
        "               'dp' drop in bar, 'P' initial pressure in bar, 'Q' flow in\n"
        "               the --flow-unit, 'd' bore in mm\n"
        "  --flow       air flow (default 0.18), in --flow-unit (default m3/s)\n"
        "  --pressure   initial pressure in bar (default 9)\n"
        "  --drop       pressure drop in bar (default 0.1)\n"
        "A value the calculation needs that is blank, not a number, negative or (for\n"
        "the pressures) zero is refused with the window's message: status 2.\n"
        "--locale sets the decimal separator; a full stop is always read as one too.");
}

QStringList AirFlowCommand::valueOptions() const
{
    return {CalculateOption, FlowOption, FlowUnitOption, PressureOption, DropOption};
}

int AirFlowCommand::run(const Invocation& invocation)
{
    invocation.expectArguments(0);
    const AirFlowReport report = CalculateAirFlow(requestOf(invocation));
    for (const QString& refusal : report.refusals)
        Ui().warn(refusal);
    if (!report.ok())
        return ExitStopped;
    const QString lines = report.lines.join(u'\n') + u'\n';
    return invocation.writeResult(lines.toUtf8()) ? ExitOk : ExitStopped;
}

} // namespace pipeloop::cli
