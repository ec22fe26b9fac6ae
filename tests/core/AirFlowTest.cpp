// The air flow calculator: the report the window and pipeloop-cli airflow show
// for the fields a user types, and the fields they refuse.

#include "AirFlow.h"
#include "CliRunner.h"
#include "LocaleInfo.h"
#include "Units.h"

#include <gtest/gtest.h>

using namespace pipeloop;
using namespace pipeloop::testing;

namespace
{

using Calculation = AirFlowCalculation;

AirFlowRequest Request(Calculation calculation, QString flow, QString pressure, QString drop,
                       FlowUnit unit = FlowUnit::CubicMetresPerSecond)
{
    return {calculation, std::move(flow), unit, std::move(pressure), std::move(drop)};
}

// The value of a report's one line, which must start with name.
double Value(const AirFlowReport& report, const QString& name)
{
    EXPECT_TRUE(report.ok()) << report.refusals.join(u' ').toStdString();
    if (report.lines.size() != 1 || !report.lines[0].startsWith(name)) {
        ADD_FAILURE() << "report: " << report.lines.join(u'|').toStdString();
        return -1;
    }
    return ParseAirFlowField(report.lines[0].mid(name.size())).valueOr(-1);
}

TEST(AirFlow, TheDefaultsGiveTheWorkedDropAndEachCalculationUndoesAnother)
{
    const ScopedLocale fullStop(QStringLiteral("en_GB"));
    const AirFlowReport defaults = CalculateAirFlow({});
    const double drop = Value(defaults, "dp ");
    EXPECT_NEAR(drop, 0.0378478, 1e-7);
    EXPECT_EQ(defaults.lines[0].size(), QString("dp 0.0378478").size() + 9) << "15 digits";

    // The drop worked out, the pressure, flow and bore it came from come back.
    const QString dropText = QString::number(drop, 'g', 17);
    EXPECT_NEAR(
        Value(CalculateAirFlow(Request(Calculation::InitialPressure, "0.18", "", dropText)), "P "),
        9, 1e-12);
    EXPECT_NEAR(
        Value(CalculateAirFlow(Request(Calculation::RequiredAirFlow, "", "9", dropText)), "Q "),
        0.18, 1e-12);
    EXPECT_NEAR(
        Value(CalculateAirFlow(Request(Calculation::PipeDiameter, "0.18", "9", dropText)), "d "),
        90, 1e-10);
    // The flow is given back in the unit it was asked in.
    EXPECT_NEAR(Value(CalculateAirFlow(Request(Calculation::RequiredAirFlow, "", "9", dropText,
                                               FlowUnit::LitresPerSecond)),
                      "Q "),
                180, 1e-9);
}

TEST(AirFlow, FlowsInCfmAndLitresAreConvertedToCubicMetresPerSecond)
{
    const ScopedLocale fullStop(QStringLiteral("en_GB"));
    EXPECT_NEAR(CubicMetresPerSecond(380, FlowUnit::Cfm), 0.17934, 1e-5);
    const double inCubicMetres = Value(
        CalculateAirFlow(Request(Calculation::PressureDrop, "0.1793436174657", "9", "")), "dp ");
    EXPECT_NEAR(
        Value(CalculateAirFlow(Request(Calculation::PressureDrop, "380", "9", "", FlowUnit::Cfm)),
              "dp "),
        inCubicMetres, 1e-10);
    EXPECT_NEAR(Value(CalculateAirFlow(Request(Calculation::PressureDrop, "180", "9", "",
                                               FlowUnit::LitresPerSecond)),
                      "dp "),
                Value(CalculateAirFlow({}), "dp "), 1e-15);
    EXPECT_EQ(FlowUnitCaption(FlowUnit::Cfm), "CFM");
    EXPECT_EQ(FlowUnitCaption(FlowUnit::LitresPerSecond), "litres/sec");
    EXPECT_EQ(FlowUnitCaption(FlowUnit::CubicMetresPerSecond), "m^3/sec");
}

TEST(AirFlow, OnlyTheFieldsACalculationNeedsAreReadAndEveryBadOneIsNamed)
{
    const ScopedLocale fullStop(QStringLiteral("en_GB"));
    const QString flow = InvalidFlowMessage(), pressure = InvalidPressureMessage(),
                  drop = InvalidPressureDropMessage();
    EXPECT_EQ(pressure, "Invalid inital pressure.");
    struct Case {
        AirFlowRequest request;
        QStringList refusals;
    };
    const Case cases[] = {
        // A blank drop does not stop a drop calculation; a blank pressure does.
        {Request(Calculation::PressureDrop, "0.18", "9", ""), {}},
        {Request(Calculation::PressureDrop, "0.18", " ", "0.1"), {pressure}},
        {Request(Calculation::RequiredAirFlow, "x", "9", "0.1"), {}},
        {Request(Calculation::InitialPressure, "0.18", "", "0.1"), {}},
        {Request(Calculation::PipeDiameter, "", "abc", "1.2.3"), {flow, pressure, drop}},
        // Zero or negative pressures would divide by zero or give no answer.
        {Request(Calculation::PressureDrop, "0.18", "0", ""), {pressure}},
        {Request(Calculation::InitialPressure, "0.18", "", "0"), {drop}},
        {Request(Calculation::RequiredAirFlow, "", "-9", "-0.1"), {pressure, drop}},
        {Request(Calculation::PressureDrop, "-0.18", "9", ""), {flow}},
        // No air, no drop; an answer beyond a double is refused, not shown as INF.
        {Request(Calculation::PressureDrop, "0", "9", ""), {}},
        {Request(Calculation::PressureDrop, "1e200", "9", ""), {"The result is out of range."}},
    };
    for (const Case& c : cases) {
        const AirFlowReport report = CalculateAirFlow(c.request);
        const std::string name =
            (c.request.flow + '|' + c.request.pressure + '|' + c.request.pressureDrop)
                .toStdString();
        EXPECT_EQ(report.refusals, c.refusals) << name;
        EXPECT_EQ(report.lines.size(), c.refusals.isEmpty() ? 1 : 0) << name;
    }
    EXPECT_EQ(CalculateAirFlow(Request(Calculation::PressureDrop, "0", "9", "")).lines,
              QStringList{"dp 0"});
}

TEST(AirFlow, ACommaLocaleTakesItsSeparatorAndTheFullStop)
{
    const ScopedLocale comma(QStringLiteral("de_DE"));
    const AirFlowReport report =
        CalculateAirFlow(Request(Calculation::PressureDrop, "0,18", "9", ""));
    EXPECT_TRUE(report.lines.value(0).startsWith("dp 0,03784777"))
        << report.lines.join("").toStdString();
    EXPECT_EQ(CalculateAirFlow(Request(Calculation::PressureDrop, "0.18", "9", "")).lines,
              report.lines);
    for (QChar key : {QChar(u','), QChar(u'.'), QChar(u'7'), QChar(8)})
        EXPECT_TRUE(NumberKeyAllowed(key)) << char(QChar(key).unicode());
    for (char16_t key : {u'a', u'-', u'e', u' '})
        EXPECT_FALSE(NumberKeyAllowed(key)) << char(QChar(key).unicode());
}

TEST(CliAirFlow, PrintsTheCalculatorsReportAndRefusesWhatItRefuses)
{
    const ScopedLocale fullStop(QStringLiteral("en_GB"));
    const auto cli = [](QStringList words) {
        words.prepend(QStringLiteral("airflow"));
        if (!words.contains(QStringLiteral("--locale")))
            words << QStringLiteral("--locale") << QStringLiteral("en_GB");
        return RunCli(words);
    };
    const auto printed = [](const AirFlowRequest& request) {
        return CalculateAirFlow(request).lines.join(u'\n') + u'\n';
    };
    CliRun run = cli({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, printed({}));
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();

    EXPECT_EQ(
        cli({"--calculate", "pressure", "--flow", "380", "--flow-unit", "cfm", "--drop", "0.05"})
            .out,
        printed(Request(Calculation::InitialPressure, "380", "", "0.05", FlowUnit::Cfm)));
    EXPECT_EQ(
        cli({"--calculate", "flow", "--flow-unit", "l/s"}).out,
        printed(Request(Calculation::RequiredAirFlow, "", "9", "0.1", FlowUnit::LitresPerSecond)));
    EXPECT_EQ(cli({"--calculate", "diameter"}).out,
              printed(Request(Calculation::PipeDiameter, "0.18", "9", "0.1")));
    {
        const ScopedLocale comma(QStringLiteral("de_DE"));
        EXPECT_EQ(cli({"--flow", "0,2", "--locale", "de_DE"}).out,
                  printed(Request(Calculation::PressureDrop, "0,2", "9", "")));
    }

    run = cli({"--calculate", "pressure", "--flow", "", "--drop", "0"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_EQ(run.err, "warning: Invalid flow rate.\nwarning: Invalid pressure drop.\n");

    for (const QStringList& bad : {QStringList{"--calculate", "speed"},
                                   QStringList{"--flow-unit", "gallons"}, QStringList{"0.18"}}) {
        run = cli(bad);
        EXPECT_EQ(run.exitCode, 64) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("error: ")) << run.err.toStdString();
    }
}

} // namespace
