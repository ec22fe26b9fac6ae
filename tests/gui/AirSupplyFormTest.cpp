// "Analyse Air Supply" on the factory sample with demands on some of its
// drops: the table, the worst drop marked, selected and highlighted in the
// design, the legend named for a screen reader, the supply pressure edited as
// one undo step and analysed again at once, and the words for a design that
// has no demand.

#include "GuiTestSupport.h"

#include "AirSupplyForm.h"
#include "PipeLoopObjects.h"

#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

class AirSupplyFormTest : public ::testing::Test
{
protected:
    AirSupplyFormTest()
    {
        main.start();
        main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "factory.plf");
        for (int i = 0; i < 6; ++i)
            main.design()->Drops[size_t(i)]->Demand = {10, 0.5};
        main.ui.messages.clear();
    }

    TAirSupplyForm& form() { return main.form.airSupplyForm(); }
    QString cell(int row, int column) const
    {
        return main.form.airSupplyForm().dropsTable()->item(row, column)->text();
    }
    void typeSupply(const QString& text)
    {
        QLineEdit* edit = form().supplyPressureEdit();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        emit edit->editingFinished();
    }

    MainWindowFixture main;
};

TEST_F(AirSupplyFormTest, ShowsTheDropsMarksTheWorstAndAnalysesEveryChangeAgain)
{
    main.action("moAnalyseAirSupply")->trigger();
    ASSERT_TRUE(form().isVisible());
    const TPipeLoop& design = *main.design();
    QTableWidget* table = form().dropsTable();
    ASSERT_EQ(table->rowCount(), int(design.Drops.size()));
    const int worst = form().analysis().worst;
    ASSERT_GE(worst, 0);
    const TDrop& worstDrop = *design.Drops[size_t(worst)];
    EXPECT_EQ(cell(worst, 0), worstDrop.Name);
    EXPECT_EQ(table->selectionModel()->selectedRows().value(0).row(), worst);
    EXPECT_TRUE(table->item(worst, 0)->font().bold());
    EXPECT_TRUE(worstDrop.isHighlighted());
    EXPECT_EQ(cell(0, 1), QStringLiteral("10.00"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("0.50"));
    EXPECT_EQ(cell(10, 1), QStringLiteral("0.00"));
    EXPECT_TRUE(form().verdictLabel()->text().contains(worstDrop.Name));
    EXPECT_FALSE(form().suggestionLabel()->text().isEmpty());
    EXPECT_EQ(form().legend()->accessibleName(), QStringLiteral("Pressure (bar)"));
    EXPECT_GT(form().legend()->minimumWidth(), 0);
    const QString before = cell(worst, 3);

    // One undo step, analysed again at once; undone, the old pressures return.
    const int steps = main.form.document().undoStack().count();
    typeSupply(QStringLiteral("6.5"));
    EXPECT_EQ(main.form.document().undoStack().count(), steps + 1);
    EXPECT_DOUBLE_EQ(main.design()->SupplyPressure, 6.5);
    EXPECT_NE(cell(worst, 3), before);
    EXPECT_DOUBLE_EQ(form().analysis().supplyPressure, 6.5);
    main.form.document().undoStack().undo();
    EXPECT_EQ(cell(worst, 3), before);
    EXPECT_EQ(form().supplyPressureEdit()->text(), QStringLiteral("7"));

    // A refused value is said so, changes nothing and shows the design's value.
    typeSupply(QStringLiteral("-1"));
    ASSERT_EQ(main.ui.messages.size(), 1u);
    EXPECT_EQ(main.form.document().undoStack().count(), steps + 1); // the undone step waits
    EXPECT_EQ(main.form.document().undoStack().index(), steps);
    EXPECT_EQ(form().supplyPressureEdit()->text(), QStringLiteral("7"));

    // Print: the plan page with the legend and the worst drop named on it.
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (!pdftotext.isEmpty()) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("air.pdf"));
        main.form.document().printSetup().SetPrintScaling(ViewKind::Plan, 500);
        main.dialogs.pdfAnswers = {pdf};
        form().print();
        QProcess reader;
        reader.start(pdftotext, {pdf, QStringLiteral("-")});
        ASSERT_TRUE(reader.waitForFinished(30000));
        const QString page = QString::fromUtf8(reader.readAllStandardOutput());
        EXPECT_TRUE(page.contains(QStringLiteral("Pressure (bar)"))) << page.toStdString();
        EXPECT_TRUE(page.contains(worstDrop.Name + QStringLiteral(" 6."))) << page.toStdString();
    }

    // Closed, the design loses the window's highlight.
    form().close();
    EXPECT_FALSE(main.design()->Drops[size_t(worst)]->isHighlighted());

    // Another project opened while the window shows, with no demand
    // anywhere: the window says how to give one.
    main.action("moAnalyseAirSupply")->trigger();
    main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf");
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(form().verdictLabel()->text().startsWith(
        QStringLiteral("No drop has an air demand. Give the drops theirs")));
    EXPECT_EQ(form().legend()->minimumWidth(), 0);
}

} // namespace
} // namespace pipeloop::testing
