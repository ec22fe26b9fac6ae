#include "GuiTestSupport.h"

#include "PrintSetupForm.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

class PrintSetupFormTest : public ::testing::Test
{
protected:
    PrintSetupFormTest()
    {
        main.start();
        // Every job goes to a PDF file: the tests need no printer.
        main.form.document().printSetup().PrinterName = PdfOutputName();
    }

    void open(const char* sample)
    {
        main.form.files().open(QStringLiteral(PIPELOOP_SAMPLES) + QString::fromLatin1(sample));
        main.ui.messages.clear();
    }
    TPrintSetupForm& form() { return main.form.printSetupForm(); }
    void prepare(ViewKind view = ViewKind::Plan)
    {
        form().Prepare(*main.design(), main.form.document().printSetup(), view, {});
    }
    // Closes the window as soon as it is up, after running what the test asks.
    void openAndClose(std::function<void()> work = {})
    {
        QTimer::singleShot(0, &form(), [this, work] {
            if (work)
                work();
            form().accept();
        });
        main.form.printSetup();
    }

    MainWindowFixture main;
};

TEST_F(PrintSetupFormTest, AdjustingTheScaleStopsWhereNoScaleFits)
{
    open("factory.plf");
    TPipeLoop& design = *main.design();
    design.RoomEW = 2'000'000'000; // wider than any scale can bring onto the paper
    prepare();
    form().SetScale(150);
    main.ui.confirmAnswers = {true};
    form().Activate();
    EXPECT_EQ(form().Setup().PrintScaling(ViewKind::Plan), 150);
    EXPECT_TRUE(main.ui.texts().contains(DoesNotFitMessage()));

    // A view that fits at some scale is raised in tens from the scale rounded down.
    design.RoomEW = 60'000;
    const std::optional<int32_t> adjusted = AdjustedScale(design, ViewKind::Plan, 3, form().Page());
    ASSERT_TRUE(adjusted.has_value());
    EXPECT_EQ(*adjusted % 10, 0);
    EXPECT_TRUE(ViewFitsPage(design, ViewKind::Plan, *adjusted, form().Page()));
    EXPECT_FALSE(ViewFitsPage(design, ViewKind::Plan, *adjusted - 10, form().Page()));
}

TEST_F(PrintSetupFormTest, BesideTheBestFitAStandardScaleIsOffered)
{
    open("factory.plf");
    prepare();
    const auto* standard = form().findChild<QPushButton*>("btnStandardFit");
    ASSERT_NE(standard, nullptr);
    form().BestFit();
    const int32_t best = form().Setup().PrintScaling(ViewKind::Plan);
    const int32_t offered = standard->text().section(u':', 1).toInt();
    EXPECT_TRUE(standard->text().startsWith("Standard Scale 1:")) << standard->text().toStdString();
    EXPECT_GE(offered, best);
    EXPECT_TRUE(QList<int32_t>({100, 200, 250, 500, 1000}).contains(offered)) << offered;
    EXPECT_TRUE(ViewFitsPage(*main.design(), ViewKind::Plan, offered, form().Page()));
    form().StandardFit();
    EXPECT_EQ(form().Setup().PrintScaling(ViewKind::Plan), offered);
    EXPECT_TRUE(main.ui.messages.empty());
}

TEST_F(PrintSetupFormTest, CompressorHouseRefusesSections)
{
    open("compressor-house.cph");
    prepare(ViewKind::East);
    EXPECT_EQ(form().View(), ViewKind::Plan);
    form().SelectView(ViewKind::North);
    EXPECT_EQ(form().View(), ViewKind::Plan);
    EXPECT_TRUE(
        main.ui.texts().contains(QStringLiteral("Compressor Houses can only be printed in plan.")));
}

TEST_F(PrintSetupFormTest, ClosingMarksTheDesignOnlyAfterAChangeSavedWithTheProject)
{
    open("workshop.plf");
    Document& document = main.form.document();
    ASSERT_FALSE(document.isModified());
    openAndClose();
    EXPECT_FALSE(document.isModified());

    // Not saved with the project: the user's own setting, the design untouched.
    document.options().Saved = false;
    openAndClose([this] { form().SetCentre(!form().Setup().PrintCenter); });
    EXPECT_FALSE(document.isModified());
    const bool centre = document.printSetup().PrintCenter;

    document.options().Saved = true;
    openAndClose([this] { form().SetLandscape(!form().Setup().Landscape(form().View())); });
    EXPECT_TRUE(document.isModified());
    const bool landscape = document.printSetup().Landscape(main.form.view().currentView());
    ASSERT_TRUE(document.undo());
    EXPECT_EQ(document.printSetup().Landscape(main.form.view().currentView()), !landscape);
    EXPECT_EQ(document.printSetup().PrintCenter, centre);
}

TEST_F(PrintSetupFormTest, PrintAllViewsIsOneJobOfEveryPage)
{
    QTemporaryDir dir;
    const auto pagesOf = [&dir](const QString& name) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {dir.filePath(name)});
        info.waitForFinished();
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        const qsizetype at = text.indexOf(QStringLiteral("Pages:"));
        return at < 0 ? -1 : text.mid(at + 6).section(u'\n', 0, 0).trimmed().toInt();
    };
    open("factory.plf");
    main.design()->Options.PrintDropsPage = false;
    main.design()->Options.PrintNotes = false;
    for (ViewKind view : AllViews)
        main.form.document().printSetup().SetPrintScaling(
            view, BestFitScaleForPage(*main.design(), view,
                                      OutputPageGeometry(ChosenOutput(PdfOutputName()), true)));
    main.dialogs.pdfAnswers = {dir.filePath(QStringLiteral("all.pdf")),
                               dir.filePath(QStringLiteral("one.pdf"))};
    main.form.printAllViews();
    main.form.printView();
    EXPECT_EQ(pagesOf(QStringLiteral("all.pdf")), 5);
    EXPECT_EQ(pagesOf(QStringLiteral("one.pdf")), 1);

    open("compressor-house.cph");
    main.dialogs.pdfAnswers = {dir.filePath(QStringLiteral("house.pdf"))};
    main.form.printAllViews();
    EXPECT_EQ(pagesOf(QStringLiteral("house.pdf")), 1);

    // Each command named its job and its pages, and offered a PDF beside the project.
    const std::vector<PrintJob>& jobs = main.dialogs.printJobs;
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].title, QStringLiteral("Print All Views"));
    EXPECT_EQ(jobs[0].contents, QStringLiteral("Pages: Plan, North, East, South, West"));
    EXPECT_EQ(jobs[1].title, QStringLiteral("Print View"));
    EXPECT_EQ(jobs[2].contents, QStringLiteral("Pages: Plan"));
    EXPECT_TRUE(jobs[2].suggestedPdf.endsWith(QStringLiteral("/compressor-house.pdf")));
    EXPECT_EQ(jobs[2].preferredOutput, PdfOutputName());

    // Cancel in the print dialog prints nothing.
    main.form.printAllViews();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
}

TEST(PrintDialogTest, ChoosesAPrinterOrANamedPdf)
{
    ScriptedUi ui;
    QTemporaryDir dir;
    const QString suggested = dir.filePath(QStringLiteral("factory.pdf"));
    const std::vector<PrintOutput> outputs{{PrintOutput::Kind::Printer, QStringLiteral("Office")},
                                           {PrintOutput::Kind::PdfFile, PdfOutputName()}};
    PrintDialog dialog({QStringLiteral("Print All Views"), QStringLiteral("Pages: Plan"),
                        PdfOutputName(), suggested},
                       outputs);
    auto* printer = dialog.findChild<QComboBox*>(QStringLiteral("cbPrinter"));
    auto* file = dialog.findChild<QLineEdit*>(QStringLiteral("edPdfFile"));
    auto* print = dialog.findChild<QPushButton*>(QStringLiteral("bbOk"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Print All Views"));
    EXPECT_EQ(printer->currentText(), PdfOutputName());
    EXPECT_EQ(dialog.destination().pdfPath, suggested);

    // A PDF needs a name; a printer needs none.
    file->clear();
    EXPECT_FALSE(print->isEnabled());
    printer->setCurrentIndex(0);
    EXPECT_TRUE(print->isEnabled());
    EXPECT_FALSE(file->isEnabled());
    EXPECT_EQ(dialog.destination().output.name, QStringLiteral("Office"));
    EXPECT_TRUE(dialog.destination().pdfPath.isEmpty());

    // A name without a suffix gains ".pdf"; a folder that is not there is refused.
    printer->setCurrentIndex(1);
    file->setText(dir.filePath(QStringLiteral("missing/plan")));
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(ui.messages.size(), 1u);
    file->setText(dir.filePath(QStringLiteral("plan")));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.destination().pdfPath, dir.filePath(QStringLiteral("plan.pdf")));

    // An existing file is replaced only after Yes.
    QFile existing(suggested);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    dialog.setResult(QDialog::Rejected);
    file->setText(suggested);
    ui.confirmAnswers = {false, true};
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
} // namespace pipeloop::testing
