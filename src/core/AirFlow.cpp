#include "AirFlow.h"

#include "LocaleInfo.h"
#include "Units.h"

#include <cmath>
#include <optional>

namespace pipeloop
{

namespace
{

// The formula's constant, and the exponents of the flow and of the bore.
constexpr long double FormulaConstant = 1.6E8L;
constexpr long double FlowExponent = 1.85L;
constexpr long double BoreExponent = 5.0L;
// Cubic metres per hour in one cubic foot per minute.
constexpr double CubicMetresPerHourPerCfm = 1.6990447970151181;

QString outOfRangeMessage()
{
    return QStringLiteral("The result is out of range.");
}

// Reads a field the calculation needs: its value, or nothing after adding the
// field's message to the refusals. Zero passes only where allowZero says.
std::optional<double> readField(const QString& text, bool allowZero, const QString& message,
                                QStringList& refusals)
{
    const Parsed<double> value = ParseAirFlowField(text);
    if (!value || value.value() < 0 || (value.value() == 0 && !allowZero)) {
        refusals.append(message);
        return std::nullopt;
    }
    return value.value();
}

// The numerator of the formula, K * Q^1.85 with K = 1.6E8 * L, and its
// denominator's bore term d^5; their quotient is dp * p.
long double flowTerm(long double cubicMetresPerSecond)
{
    return FormulaConstant * AirFlowPipeLength * std::pow(cubicMetresPerSecond, FlowExponent);
}

long double boreTerm(long double millimetres)
{
    return std::pow(millimetres, BoreExponent);
}

} // namespace

QString InvalidFlowMessage()
{
    return QStringLiteral("Invalid flow rate.");
}

QString InvalidPressureMessage()
{
    return QStringLiteral("Invalid inital pressure.");
}

QString InvalidPressureDropMessage()
{
    return QStringLiteral("Invalid pressure drop.");
}

AirFlowReport CalculateAirFlow(const AirFlowRequest& request)
{
    using Calculation = AirFlowCalculation;
    const Calculation calculation = request.calculation;
    AirFlowReport report;
    // Every needed field is read, so that each bad one is named at once.
    std::optional<double> flow, pressure, drop;
    if (calculation != Calculation::RequiredAirFlow)
        flow = readField(request.flow, true, InvalidFlowMessage(), report.refusals);
    if (calculation != Calculation::InitialPressure)
        pressure = readField(request.pressure, false, InvalidPressureMessage(), report.refusals);
    if (calculation != Calculation::PressureDrop)
        drop =
            readField(request.pressureDrop, false, InvalidPressureDropMessage(), report.refusals);
    if (!report.ok())
        return report;

    const long double cubicMetresPerSecond =
        flow ? CubicMetresPerSecond(*flow, request.flowUnit) : 0;
    QString name;
    long double result = 0;
    switch (calculation) {
    case Calculation::PressureDrop:
        name = QStringLiteral("dp ");
        result = flowTerm(cubicMetresPerSecond) / (boreTerm(AirFlowPipeBore) * *pressure);
        break;
    case Calculation::InitialPressure:
        name = QStringLiteral("P ");
        result = flowTerm(cubicMetresPerSecond) / (boreTerm(AirFlowPipeBore) * *drop);
        break;
    case Calculation::RequiredAirFlow: {
        name = QStringLiteral("Q ");
        const long double flowPower = boreTerm(AirFlowPipeBore) * *drop * *pressure / flowTerm(1);
        result = std::pow(flowPower, 1 / FlowExponent) / CubicMetresPerSecond(1, request.flowUnit);
        break;
    }
    case Calculation::PipeDiameter:
        name = QStringLiteral("d ");
        result = std::pow(flowTerm(cubicMetresPerSecond) / *drop / *pressure, 1 / BoreExponent);
        break;
    }
    const double value = static_cast<double>(result);
    if (!std::isfinite(value))
        report.refusals.append(outOfRangeMessage());
    else
        report.lines.append(name + FormatGeneral(value));
    return report;
}

double PipeResistance(double metres, double boreMm, double pressureBar)
{
    return static_cast<double>(FormulaConstant * metres / (boreTerm(boreMm) * pressureBar));
}

QString FlowUnitCaption(FlowUnit unit)
{
    switch (unit) {
    case FlowUnit::Cfm:
        return QStringLiteral("CFM");
    case FlowUnit::LitresPerSecond:
        return QStringLiteral("litres/sec");
    case FlowUnit::CubicMetresPerSecond:
    default:
        return QStringLiteral("m^3/sec");
    }
}

double CubicMetresPerSecond(double flow, FlowUnit unit)
{
    switch (unit) {
    case FlowUnit::Cfm:
        return flow * CubicMetresPerHourPerCfm / 3600;
    case FlowUnit::LitresPerSecond:
        return flow * 0.001;
    case FlowUnit::CubicMetresPerSecond:
    default:
        return flow;
    }
}

Parsed<double> ParseAirFlowField(const QString& text)
{
    QString typed = text;
    typed.replace(u'.', LocaleInfo::decimalSeparator());
    return ParseLocaleReal(typed);
}

} // namespace pipeloop
