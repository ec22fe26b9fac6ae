#pragma once

// The air flow calculator: the pressure drop along a compressed-air main, or
// the pressure, flow or bore that goes with a stated drop, from the empirical
// formula of compressed-air pipework
//
//     dp = 1.6E8 * Q^1.85 * L / (d^5 * p)
//
// with Q the air flow in m^3/s, L the length of the main in metres, d its bore
// in millimetres, p the initial pressure and dp the pressure drop in bar. The
// calculator works for one fixed main (AirFlowPipeLength, AirFlowPipeBore);
// "Pipe Diameter" solves for the bore instead.
//
// The fields are the texts the user typed, so that the desktop window and
// pipeloop-cli refuse the same texts with the same messages.

#include "Parsed.h"

#include <QString>
#include <QStringList>

namespace pipeloop
{

enum class AirFlowCalculation { RequiredAirFlow, PressureDrop, InitialPressure, PipeDiameter };
// In the order the calculator lists them.
enum class FlowUnit { Cfm, LitresPerSecond, CubicMetresPerSecond };

inline constexpr double AirFlowPipeLength = 300.0; // metres
inline constexpr double AirFlowPipeBore = 90.0;    // millimetres

// The calculator's fields, with the window's defaults.
struct AirFlowRequest {
    AirFlowCalculation calculation = AirFlowCalculation::PressureDrop;
    QString flow = QStringLiteral("0.18");
    FlowUnit flowUnit = FlowUnit::CubicMetresPerSecond;
    QString pressure = QStringLiteral("9");       // bar
    QString pressureDrop = QStringLiteral("0.1"); // bar
};

// The report's lines, or the messages of every field that refused (and then
// no lines).
struct AirFlowReport {
    QStringList lines;
    QStringList refusals;
    bool ok() const { return refusals.isEmpty(); }
};

// The messages of the three fields.
QString InvalidFlowMessage();
QString InvalidPressureMessage();
QString InvalidPressureDropMessage();

// Runs one calculation. A field is read only when the calculation needs it:
// the flow by all but "Required Air Flow", the pressure by all but "Initial
// Pressure", the drop by all but "Pressure Drop". A needed field that is
// blank, not a number, negative (or, for the two pressures, zero) refuses.
// Lines: "dp " drop in bar, "P " pressure in bar, "Q " flow in the request's
// unit, "d " bore in millimetres; each value in the general format.
AirFlowReport CalculateAirFlow(const AirFlowRequest& request);

// The formula for any main, as the air network analysis uses it: the drop in
// bar along a pipe of `metres` and a bore of `boreMm` is
// PipeResistance(metres, boreMm, pressureBar) * Q^AirFlowExponent, Q in m^3/s.
inline constexpr double AirFlowExponent = 1.85;
double PipeResistance(double metres, double boreMm, double pressureBar);

// "CFM", "litres/sec", "m^3/sec".
QString FlowUnitCaption(FlowUnit unit);
// A flow in the unit given, in m^3/s.
double CubicMetresPerSecond(double flow, FlowUnit unit);

// A number typed into one of the fields: the locale's decimal separator and
// the full stop are both read as the decimal point, so the defaults and a
// habit of typing "." work in every locale. The fields' keys: NumberKeyAllowed.
Parsed<double> ParseAirFlowField(const QString& text);

} // namespace pipeloop
