#include "GuiTestSupport.h"

#include "AirFlowForm.h"
#include "LocaleInfo.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

// The menu item, once shown, opens the window; what is typed and chosen there
// is what the calculator gets, and its report (or its refusal) is what shows.
TEST(AirFlowFormTest, TheTypedFieldsReachTheCalculatorAndItsReportIsShown)
{
    MainWindowFixture main;
    main.start();
    main.newDesign();
    QAction* item = main.action("moAirFlowCalculations");
    EXPECT_FALSE(item->isVisible()); // in this edition
    item->setVisible(true);
    ASSERT_TRUE(item->isEnabled());

    const ScopedLocale comma(QStringLiteral("de_DE"));
    TAirFlowForm& form = main.form.airFlowForm();
    const auto report = [&form] { form.findChild<QPushButton*>("bbReport")->click(); };
    QString shown, shownAfterRefusal, frontTab;
    QMetaObject::invokeMethod(
        &form,
        [&] {
            form.flowEdit()->clear();
            QTest::keyClicks(form.flowEdit(), "38x0,5"); // a letter is not taken
            form.flowUnitBox()->setCurrentIndex(int(FlowUnit::Cfm));
            form.calculationButton(AirFlowCalculation::InitialPressure)->click();
            form.pressureDropEdit()->clear();
            QTest::keyClicks(form.pressureDropEdit(), "0.05");
            report();
            shown = form.reportMemo()->toPlainText();
            frontTab = form.tabs()->currentWidget()->objectName();
            form.pressureDropEdit()->clear();
            report();
            shownAfterRefusal = form.reportMemo()->toPlainText();
            form.reject();
        },
        Qt::QueuedConnection);
    item->trigger();

    EXPECT_EQ(form.flowEdit()->text(), "380,5");
    const AirFlowReport expected = CalculateAirFlow(
        {AirFlowCalculation::InitialPressure, "380,5", FlowUnit::Cfm, "9", "0.05"});
    ASSERT_EQ(expected.lines.size(), 1);
    EXPECT_TRUE(expected.lines[0].startsWith("P ")) << expected.lines[0].toStdString();
    EXPECT_EQ(shown, expected.lines[0]);
    EXPECT_EQ(frontTab, "tsReport");
    EXPECT_EQ(main.ui.texts(), QStringList{"Invalid pressure drop."});
    EXPECT_EQ(shownAfterRefusal, shown) << "a refused run leaves the last report";
}

} // namespace
} // namespace pipeloop::testing
