// The options window and the colour chooser: every control writes its
// option, OK and Apply follow the changes, Close asks before it discards,
// size options can apply at once, colours refuse white where the design
// needs a visible colour, and the main window and print setup open it.

#include "GuiTestSupport.h"

#include "ColorZELKDiag.h"
#include "HelpTopics.h"
#include "OptionsForm.h"
#include "PriceListFile.h"
#include "PrintSetupForm.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

using Options = TPipeLoopOptions;

class OptionsFormTest : public ::testing::Test
{
public: // the table rows work the window through these
    template <typename Widget = QWidget> Widget* control(const char* name)
    {
        auto* found = form.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    void prepare(OptionsPage page = OptionsPage::General)
    {
        form.Prepare(options, page, [this] { ++applied; });
    }
    // A price list file as the price list check knows one, or any other text.
    QString writeFile(const char* name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }

    ScriptedUi ui;
    ScriptedDialogs dialogs;
    TOptionsForm form{dialogs};
    Options options;
    int applied = 0;
    QTemporaryDir dir;
};

TEST_F(OptionsFormTest, EveryControlWritesItsOptionAndOnlyAChangeEnablesOkAndApply)
{
    // Every option away from its initial value: an unwired control would put it back.
    options.ShiftWheelScrollLeftRight = true;
    options.ShowAllSizes = false;
    options.Saved = true;
    options.SetRegistryUpdateMode(0);
    options.SetProjectSettingsMode(1);
    options.SymbolSize = 11;
    options.HeaderMargin = 37;
    options.SymbolLabelFont = {QStringLiteral("Courier"), 10, true};
    options.NoLogo = true;
    options.PrintNotes = true;
    options.SetPipeColourOption(1);
    options.SizePipeColours[5] = 0x123456;
    options.NonPipeLoopPipeColour = 0x654321;
    options.SelectColour = 0x00AA00;
    options.SetBuildingWallStyle(Options::BrushVertical);
    options.SetGridStyle(Options::GridDashDotDot);
    options.GridColour = 0xFFFFFF;
    options.SupplierEMail = QStringLiteral("parts@example.com");
    options.PartsPriceListFile = QStringLiteral("/prices/old.ppl");
    const Options shown = options;

    prepare();
    EXPECT_FALSE(form.Modified());
    EXPECT_FALSE(control<QPushButton>("btnOk")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnApply")->isEnabled());
    form.Apply();
    EXPECT_EQ(options, shown) << "loading and writing back changes nothing";
    EXPECT_FALSE(form.Result().changed);

    dialogs.colourAnswer = 0x0000C0;
    dialogs.fontAnswer = FontSpec{QStringLiteral("Times"), 9, false, true};
    dialogs.openAnswers = {writeFile("new.ppl", "[PARTS-RRICE-LIST-FILE]\r\n")};
    struct Row {
        const char* control;
        std::function<void(OptionsFormTest&)> work;
        std::function<bool(const Options&)> written;
    };
    const auto clicks = [](const char* name) {
        return [name](OptionsFormTest& t) { t.click(name); };
    };
    std::vector<Row> rows{
        {"rgRegistryUpdate2", clicks("rgRegistryUpdate2"),
         [](const Options& o) { return o.RegistryUpdateMode() == SettingsMode::Ask; }},
        {"rgProjectSettings1", clicks("rgProjectSettings1"),
         [](const Options& o) { return o.ProjectSettingsMode() == SettingsMode::Never; }},
        {"seSymbolSize",
         [](OptionsFormTest& t) { t.control<QSpinBox>("seSymbolSize")->setValue(3); },
         [](const Options& o) { return o.SymbolSize == 3; }},
        {"seHeaderMargin",
         [](OptionsFormTest& t) { t.control<QSpinBox>("seHeaderMargin")->setValue(60); },
         [](const Options& o) { return o.HeaderMargin == 60; }},
        {"seLabelFontSize",
         [](OptionsFormTest& t) { t.control<QSpinBox>("seLabelFontSize")->setValue(12); },
         [](const Options& o) {
             return o.SymbolLabelFont == FontSpec{QStringLiteral("Courier"), 12, true};
         }},
        {"btnNotesFont", clicks("btnNotesFont"),
         [](const Options& o) {
             return o.NotesFont == FontSpec{QStringLiteral("Times"), 9, false, true};
         }},
        {"rgPipeColourOption2", clicks("rgPipeColourOption2"),
         [](const Options& o) { return o.PipeColourOption() == PipeColourScheme::BySize; }},
        {"pnPipe63", clicks("pnPipe63"),
         [](const Options& o) { return o.SizePipeColours[5] == 0xC0; }},
        {"pnPipeMain", clicks("pnPipeMain"),
         [](const Options& o) { return o.MainPipeColour == 0xC0; }},
        {"pnPipeNonMain", clicks("pnPipeNonMain"),
         [](const Options& o) { return o.NonPipeLoopPipeColour == 0xC0; }},
        {"pnSelectColour", clicks("pnSelectColour"),
         [](const Options& o) { return o.SelectColour == 0xC0; }},
        {"pnHighlightColour", clicks("pnHighlightColour"),
         [](const Options& o) { return o.HighlightColour == 0xC0; }},
        {"pnWallColour", clicks("pnWallColour"),
         [](const Options& o) { return o.BuildingWallColour == 0xC0; }},
        {"pnFeaturesColour", clicks("pnFeaturesColour"),
         [](const Options& o) { return o.BuildFeaturesColour == 0xC0; }},
        {"pnWallStyle", clicks("pnWallStyle"),
         [](const Options& o) { return o.BuildingWallStyle() == Options::BrushForwardDiagonal; }},
        {"pnFeaturesStyle", clicks("pnFeaturesStyle"),
         [](const Options& o) { return o.BuildFeaturesStyle() == Options::BrushDiagonalCross; }},
        {"pnGridColour", clicks("pnGridColour"),
         [](const Options& o) { return o.GridColour == 0xC0; }},
        {"lbGridStyle",
         [](OptionsFormTest& t) { t.control<QListWidget>("lbGridStyle")->setCurrentRow(1); },
         [](const Options& o) { return o.GridStyle() == Options::GridDash; }},
        {"edSupplierEMail",
         [](OptionsFormTest& t) { QTest::keyClicks(t.control("edSupplierEMail"), "x"); },
         [](const Options& o) { return o.SupplierEMail == QStringLiteral("parts@example.comx"); }},
        {"btnChangePriceList", clicks("btnChangePriceList"),
         [](const Options& o) { return o.PartsPriceListFile.endsWith(QStringLiteral("new.ppl")); }},
    };
    // Every tick box turns its option over.
    for (const auto& [box, option] : std::initializer_list<std::pair<const char*, bool Options::*>>{
             {"cbShiftWheelScroll", &Options::ShiftWheelScrollLeftRight},
             {"cbShowAllSizes", &Options::ShowAllSizes},
             {"cbDrawWalls", &Options::DrawWalls},
             {"cbSaveOptions", &Options::Saved},
             {"cbNoLogo", &Options::NoLogo},
             {"cbPrintInColour", &Options::PrintInColour},
             {"cbPrintPipeColourTable", &Options::PrintPipeColourTable},
             {"cbPrintGrids", &Options::PrintGrids},
             {"cbPrintNotes", &Options::PrintNotes},
             {"cbPrintDropsPage", &Options::PrintDropsPage},
             {"cbSymbolNamesOnPlan", &Options::SymbolNamesOnPlan},
             {"cbSymbolNamesOnSection", &Options::SymbolNamesOnSection},
             {"cbSymbolsOnDrops", &Options::DrawSymbolsOnDrops}})
        rows.push_back({box, clicks(box), [option = option, &shown](const Options& o) {
                            return o.*option != shown.*option;
                        }});
    for (const Row& row : rows) {
        options = shown;
        prepare();
        row.work(*this);
        EXPECT_TRUE(control<QPushButton>("btnOk")->isEnabled()) << row.control;
        EXPECT_TRUE(control<QPushButton>("btnApply")->isEnabled()) << row.control;
        EXPECT_EQ(options, shown) << row.control << ": nothing is written before Apply";
        const int before = applied;
        click("btnApply");
        EXPECT_TRUE(row.written(options)) << row.control;
        EXPECT_FALSE(control<QPushButton>("btnApply")->isEnabled()) << row.control;
        EXPECT_EQ(applied, before + 1) << row.control << ": the caller's callback runs";
        EXPECT_TRUE(form.Result().changed) << row.control;
        EXPECT_EQ(form.Result().priceListChanged, QByteArray(row.control) == "btnChangePriceList")
            << row.control;
    }
    EXPECT_TRUE(dialogs.titles.contains(QStringLiteral("50..63mm Pipe Colour")));
    EXPECT_TRUE(dialogs.titles.contains(QStringLiteral("Building Wall Colour")));
    EXPECT_TRUE(ui.messages.empty()) << ui.texts().join(u'|').toStdString();
}

TEST_F(OptionsFormTest, CloseAsksBeforeDiscardingAndNoAppliesFirst)
{
    for (const bool discard : {true, false}) {
        options = Options();
        prepare();
        click("cbDrawWalls");
        ui.confirmAnswers = {discard};
        click("btnClose");
        EXPECT_EQ(ui.questions.last(), QStringLiteral("Discard option changes ?"));
        EXPECT_EQ(options.DrawWalls, discard) << "No applies before closing";
        EXPECT_FALSE(form.Result().accepted);
        EXPECT_EQ(form.Result().changed, !discard);
    }
    // Nothing changed since the last apply: no question.
    ui.questions.clear();
    prepare();
    click("btnClose");
    EXPECT_TRUE(ui.questions.isEmpty());
}

TEST_F(OptionsFormTest, SizeOptionsApplyAtOnceWhenAskedAndSwatchesCycleTheHatches)
{
    prepare(OptionsPage::Print);
    control<QCheckBox>("cbAutoApply")->setChecked(true);
    control<QSpinBox>("seHeaderMargin")->setValue(30);
    EXPECT_EQ(options.HeaderMargin, 30);
    EXPECT_EQ(applied, 1);
    control<QSpinBox>("seSymbolSize")->setValue(6);
    control<QSpinBox>("seLabelFontSize")->setValue(9);
    EXPECT_EQ(options.SymbolSize, 6);
    EXPECT_EQ(options.SymbolLabelFont.pointSize, 9);
    EXPECT_FALSE(form.Modified());
    click("cbPrintGrids"); // not a size: waits for Apply
    EXPECT_TRUE(options.PrintGrids);
    EXPECT_TRUE(form.Modified());
    control<QCheckBox>("cbAutoApply")->setChecked(false);

    // The spin boxes keep sizes that drawing and page layout can take.
    auto* symbol = control<QSpinBox>("seSymbolSize");
    auto* margin = control<QSpinBox>("seHeaderMargin");
    auto* font = control<QSpinBox>("seNotesFontSize");
    EXPECT_EQ(std::pair(symbol->minimum(), symbol->maximum()), std::pair(1, 20));
    EXPECT_EQ(std::pair(margin->minimum(), margin->maximum()), std::pair(0, 100));
    EXPECT_EQ(std::pair(font->minimum(), font->maximum()), std::pair(2, 12));

    // Solid, horizontal, vertical, forward, backward, cross, diagonal cross, solid.
    const std::vector<int32_t> cycle{0, 2, 3, 4, 5, 6, 7, 0};
    for (size_t i = 0; i + 1 < cycle.size(); ++i)
        EXPECT_EQ(NextSwatchStyle(cycle[i]), cycle[i + 1]);
    EXPECT_EQ(NextSwatchStyle(Options::BrushClear), Options::BrushSolid);
    EXPECT_EQ(NextSwatchStyle(12), Options::BrushSolid);
    options.SetBuildFeaturesStyle(Options::BrushDiagonalCross);
    prepare(OptionsPage::SymbolColours);
    control<QCheckBox>("cbAutoApply")->setChecked(true);
    click("pnFeaturesStyle");
    EXPECT_EQ(options.BuildFeaturesStyle(), Options::BrushSolid) << "applied at once";
}

TEST_F(OptionsFormTest, WhiteIsRefusedForEveryColourButTheGridsAndAnyFileButAPriceList)
{
    const std::vector<std::pair<const char*, const char*>> refusals{
        {"pnSelectColour", "Selected colour cannot be white."},
        {"pnHighlightColour", "Highlighted colour cannot be white."},
        {"pnWallColour", "Wall colour cannot be white."},
        {"pnFeaturesColour", "Feature colour cannot be white."},
        {"pnPipe20", "Pipe colour cannot be white."},
        {"pnPipeMain", "Pipe colour cannot be white."},
        {"pnPipeNonMain", "Pipe colour cannot be white."},
    };
    prepare();
    dialogs.colourAnswer = 0xFFFFFF;
    for (const auto& [swatch, message] : refusals) {
        click(swatch);
        EXPECT_EQ(ui.texts().last(), QString::fromLatin1(message));
        EXPECT_FALSE(form.Modified()) << swatch;
    }
    click("pnGridColour");
    EXPECT_EQ(ui.messages.size(), refusals.size());
    form.Apply();
    EXPECT_EQ(options.GridColour, 0xFFFFFF);
    EXPECT_EQ(options.SelectColour, Options().SelectColour);

    const QString notPrices = writeFile("notes.ppl", "[NOTES]\r\n");
    dialogs.openAnswers = {notPrices};
    click("btnChangePriceList");
    EXPECT_EQ(ui.texts().last(), QStringLiteral("Parts price list file invalid :\r\n") + notPrices);
    EXPECT_FALSE(form.Modified());
    form.Apply();
    EXPECT_TRUE(options.PartsPriceListFile.isEmpty());
    EXPECT_FALSE(form.Result().priceListChanged);
}

TEST_F(OptionsFormTest, EachPageHasItsHelpTopic)
{
    const QStringList topics{"General Options",     "Options Settings",      "Print Options",
                             "Pipe Colour Options", "Symbol Colour Options", "Grid Options",
                             "Part Options"};
    QStringList shown;
    SetHelpTopicHandler([&shown](const QString& topic) { shown.append(topic); });
    for (int page = 0; page < topics.size(); ++page) {
        prepare(OptionsPage(page));
        EXPECT_EQ(form.Page(), OptionsPage(page));
        QTest::keyClick(&form, Qt::Key_F1);
    }
    SetHelpTopicHandler({});
    EXPECT_EQ(shown, topics);
}

TEST(ColourChooser, KeepsTheCustomColoursItsTitleAndItsHelp)
{
    MemorySettingsStore settings;
    settings.writeText(QStringLiteral("ColorB"), QStringLiteral("0000ff")); // red: 0x00BBGGRR
    settings.writeText(QStringLiteral("ColorC"), QStringLiteral("not a colour"));
    {
        TColorZELKDiag chooser(Qt::green, QStringLiteral("Grid Line Colour"), {}, settings);
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Grid Line Colour"));
        EXPECT_EQ(chooser.currentColor(), QColor(Qt::green));
        EXPECT_EQ(QColorDialog::customColor(1), QColor(Qt::red));
        EXPECT_FALSE(chooser.findChild<QPushButton*>(QStringLiteral("btnHelp")))
            << "help only with a topic";
        QColorDialog::setCustomColor(3, QColor(0, 0, 255));
        chooser.done(QDialog::Rejected); // kept whatever the answer
    }
    EXPECT_EQ(settings.RegReadText(QStringLiteral("ColorB"), {}), QStringLiteral("0000ff"));
    EXPECT_EQ(settings.RegReadText(QStringLiteral("ColorD"), {}), QStringLiteral("ff0000"));
    EXPECT_FALSE(settings.contains(QStringLiteral("ColorA"))) << "an unset colour stays unset";
    EXPECT_FALSE(settings.contains(QStringLiteral("ColorC")));
    const CustomColours read = ReadCustomColours(settings);
    EXPECT_EQ(read[3], QColor(Qt::blue));

    TColorZELKDiag chooser(Qt::red, QStringLiteral("Selected Symbol Colour"),
                           QStringLiteral("SelectColour"), settings);
    EXPECT_TRUE(chooser.findChild<QPushButton*>(QStringLiteral("btnHelp")));
    EXPECT_EQ(QColorDialog::customColor(3), QColor(Qt::blue));
}

// --------------------------------------------------------- the main window

TEST(OptionsCommand, SavedOptionsMarkTheDesignANewPriceListIsLoadedAndPrintSetupOpensIt)
{
    MainWindowFixture f;
    f.start();
    QTemporaryDir dir;
    ASSERT_TRUE(f.form.files().open(QStringLiteral(PIPELOOP_SAMPLES "workshop.plf")));
    Document& document = f.form.document();
    TOptionsForm& options = f.form.optionsForm();
    const auto runOptions = [&](std::function<void()> work) {
        QTimer::singleShot(0, &options, [work] { work(); });
        f.action("moPrintDisplayOptions")->trigger();
    };

    // The user's own options: the design stays unmodified, the panels follow.
    document.options().Saved = false;
    f.dialogs.colourAnswer = 0x0000FF;
    runOptions([&] {
        EXPECT_EQ(options.Page(), OptionsPage::General);
        options.findChild<QPushButton*>(QStringLiteral("pnPipe20"))->click();
        options.accept();
    });
    EXPECT_EQ(document.options().SizePipeColours[0], 0x0000FF);
    EXPECT_FALSE(document.isModified());
    EXPECT_TRUE(f.form.colourPanels()[0]->styleSheet().contains(QStringLiteral("#ff0000")));

    // Carried by the project: one undoable change, even when closed after Apply.
    document.options().Saved = true;
    const QString prices = dir.filePath(QStringLiteral("prices.ppl"));
    ASSERT_TRUE(catalogue::WritePriceListFile(prices, {}, QDate::currentDate().addYears(1)));
    f.dialogs.openAnswers = {prices};
    runOptions([&] {
        options.findChild<QPushButton*>(QStringLiteral("btnChangePriceList"))->click();
        options.Apply();
        options.reject();
    });
    EXPECT_EQ(document.options().PartsPriceListFile, prices);
    EXPECT_TRUE(f.form.partsDatabase().PriceListLoaded());
    EXPECT_TRUE(document.isModified());
    ASSERT_TRUE(document.undo());
    EXPECT_TRUE(document.options().PartsPriceListFile.isEmpty());

    // The print setup's Options button opens the print page and repaints its preview.
    f.form.document().printSetup().PrinterName = PdfOutputName();
    TPrintSetupForm& printSetup = f.form.printSetupForm();
    bool openedOnPrintPage = false;
    QTimer::singleShot(0, &printSetup, [&] {
        QTimer::singleShot(0, &options, [&] {
            openedOnPrintPage = options.Page() == OptionsPage::Print;
            options.findChild<QSpinBox*>(QStringLiteral("seHeaderMargin"))->setValue(45);
            options.accept();
        });
        printSetup.findChild<QPushButton*>(QStringLiteral("btnOptions"))->click();
        printSetup.accept();
    });
    f.form.printSetup();
    EXPECT_TRUE(openedOnPrintPage);
    EXPECT_EQ(document.options().HeaderMargin, 45);
}

} // namespace
} // namespace pipeloop::testing
