// The parts database browser and its expiry date window, on a small
// catalogue written here, with scripted dialogs, messages and date answers.

#include "GuiTestSupport.h"

#include "Clock.h"
#include "DBBrowseForm.h"
#include "DateForm.h"
#include "LocaleInfo.h"
#include "PipeLoopOptions.h"
#include "TestFiles.h"

#include <QCalendarWidget>
#include <QFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

using catalogue::PriceRow;
using Tab = TDBBrowseForm::Tab;

QByteArray CatalogueText(bool withPackage)
{
    QByteArray text = "[CATALOGUE]\r\nSUP=ZAVOZA\r\nMAK=ZAVOZA\r\nEXP=31-12-2099\r\n\r\n"
                      "[90000-20]\r\nTYP=CONNECTOR\r\nDSC=Straight connector 20mm\r\nOD1=20\r\n"
                      "PRC=2.00\r\n\r\n"
                      "[90001]\r\nTYP=CONNECTOR\r\nDSC=Blue pipe clip\r\nOD1=25\r\nPRC=5.50\r\n"
                      "UPP=10\r\nCOD=ZP1\r\n\r\n"
                      "[90002-25]\r\nTYP=CONNECTOR\r\nMAK=ACME\r\nDSC=Elbow 25mm\r\nOD1=25\r\n"
                      "PRC=12.00\r\nCPN=12\r\n\r\n"
                      "[HOSE-6]\r\nTYP=CONNECTOR\r\nDSC=Hose tail\r\nOD1=6\r\nCPN=-1\r\n\r\n";
    if (withPackage)
        text += "[KIT1]\r\nTYP=PACKAGE\r\nDSC=Drop kit\r\nCON=25\r\nLEN=1500\r\n"
                "PTS=90001\r\nSYM=FRL\r\n\r\n";
    return text;
}

class DBBrowseFormTest : public ::testing::Test
{
protected:
    DBBrowseFormTest()
    {
        Clock::install(&clock);
        QFile(dir.filePath(QStringLiteral("vurazizo2014.pdf"))).open(QIODevice::WriteOnly);
        open(true);
    }
    ~DBBrowseFormTest() override { Clock::install(nullptr); }

    void open(bool withPackage)
    {
        database = std::make_unique<catalogue::TPartsDatabase>();
        database->LoadCatalogueText(CatalogueText(withPackage));
        form.Prepare(*database, options, dir.path());
        ui.messages.clear();
    }
    QAbstractItemModel* grid(Tab tab) { return form.grid(tab)->model(); }
    QString cell(Tab tab, int row, int column)
    {
        return grid(tab)->index(row, column).data().toString();
    }
    QStringList column(Tab tab, int column)
    {
        QStringList texts;
        for (int row = 0; row < grid(tab)->rowCount(); ++row)
            texts.append(cell(tab, row, column));
        return texts;
    }
    QStringList headings(Tab tab)
    {
        QStringList texts;
        for (int column = 0; column < grid(tab)->columnCount(); ++column)
            texts.append(grid(tab)->headerData(column, Qt::Horizontal).toString());
        return texts;
    }
    void select(Tab tab, int row)
    {
        form.tabs()->setCurrentIndex(tab);
        form.grid(tab)->setCurrentIndex(grid(tab)->index(row, 0));
    }
    // The expiry date window answered as a user would: the day picked, then
    // OK; a refused OK followed by Cancel when cancel is set.
    void answerDate(QDate day, bool cancel = false)
    {
        dateAnswer = [day, cancel](TDateForm& window) {
            EXPECT_EQ(window.date(), QDate(2030, 6, 1)); // it starts at today
            window.calendar()->setSelectedDate(day);
            window.okButton()->click();
            if (cancel)
                window.cancelButton()->click();
            return window.result();
        };
    }
    void clipboardImport(const QString& text, QStringList answers)
    {
        dialogs.clipboard = text;
        ui.confirmAnswers = {true};
        ui.askAnswers = std::deque<QString>(answers.begin(), answers.end());
        form.ImportFromClipboard();
    }

    ScopedLocale locale{LocaleFacts{u'.', QStringLiteral("\u00a3"), 2}};
    FixedClock clock{QDateTime(QDate(2030, 6, 1), QTime(12, 0))};
    ScriptedUi ui;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    TPipeLoopOptions options;
    std::unique_ptr<catalogue::TPartsDatabase> database;
    QStringList opened;
    std::function<int(TDateForm&)> dateAnswer;
    TDBBrowseForm form{dialogs,
                       [this](const QString& path, const QString& destination) {
                           opened.append(QFileInfo(path).fileName() + u'#' + destination);
                           return true;
                       },
                       nullptr, [this](TDateForm& window) { return dateAnswer(window); }};
};

TEST_F(DBBrowseFormTest, GridsHeadingsFilterSortingAndTheCatalogueDocument)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Parts Database Browser"));
    EXPECT_EQ(form.minimumHeight(), 333);
    EXPECT_EQ(headings(Tab::PartsTab), (QStringList{"Part Number", "Manufacturer", "Description"}));
    EXPECT_EQ(headings(Tab::PackagesTab), (QStringList{"Packge Number", "Description"}));
    EXPECT_EQ(headings(Tab::PriceListTab),
              (QStringList{"Part Number", "Price (\u00a3)", "Units Per"}));
    EXPECT_EQ(column(Tab::PartsTab, 0), (QStringList{"90000-20", "90001", "90002-25", "HOSE-6"}));
    EXPECT_EQ(column(Tab::PartsTab, 1), (QStringList{"ZAVOZA", "ZAVOZA", "ACME", "ZAVOZA"}));
    EXPECT_EQ(cell(Tab::PackagesTab, 0, 1), QStringLiteral("Drop kit"));
    EXPECT_EQ(column(Tab::PriceListTab, 1),
              (QStringList{"\u00a32.00", "\u00a35.50", "\u00a312.00", "\u00a30.00"}));
    EXPECT_EQ(column(Tab::PriceListTab, 2), (QStringList{"1", "10", "1", "1"}));

    // The filter narrows the grid in sight as the user types, in any column.
    form.filterBox()->setText(QStringLiteral("acme"));
    EXPECT_EQ(column(Tab::PartsTab, 0), QStringList{"90002-25"});
    form.filterBox()->setText(QStringLiteral("9000"));
    EXPECT_EQ(column(Tab::PartsTab, 0), (QStringList{"90000-20", "90001", "90002-25"}));
    // Prices sort as amounts (12.00 after 5.50), not as texts.
    form.tabs()->setCurrentIndex(Tab::PriceListTab);
    form.grid(Tab::PriceListTab)->sortByColumn(1, Qt::DescendingOrder);
    EXPECT_EQ(column(Tab::PriceListTab, 0), (QStringList{"90002-25", "90001", "90000-20"}));
    form.filterBox()->clear();

    // The import buttons only on the price list.
    for (const Tab tab : {Tab::PartsTab, Tab::PackagesTab, Tab::PriceListTab}) {
        form.tabs()->setCurrentIndex(tab);
        EXPECT_EQ(form.button("btnImportFile")->isEnabled(), tab == Tab::PriceListTab);
        EXPECT_EQ(form.button("btnImportClipboard")->isEnabled(), tab == Tab::PriceListTab);
    }

    // View Catalog: a code is searched for, a page opened, a package and a
    // part without either at its picture name; page -1 is not in it yet.
    for (const auto& [tab, row] :
         {std::pair{Tab::PartsTab, 1}, std::pair{Tab::PriceListTab, 0}, std::pair{Tab::PartsTab, 0},
          std::pair{Tab::PackagesTab, 0}, std::pair{Tab::PartsTab, 3}}) {
        select(tab, row);
        form.ViewCatalog();
    }
    EXPECT_EQ(opened, (QStringList{"vurazizo2014.pdf#search=ZP1", "vurazizo2014.pdf#page=12",
                                   "vurazizo2014.pdf#90000", "vurazizo2014.pdf#KIT1"}));
    EXPECT_EQ(ui.texts(), QStringList{"Sorry part is not in catalogue yet."});

    // A catalogue without packages keeps its "Packages" tab closed.
    open(false);
    form.tabs()->setCurrentIndex(Tab::PackagesTab);
    EXPECT_EQ(form.tabs()->currentIndex(), Tab::PartsTab);
    EXPECT_EQ(ui.texts(), QStringList{"The database has no packages."});
}

TEST_F(DBBrowseFormTest, ThePriceEditorUpdatesOneRowAndClosingAsksAboutChanges)
{
    select(Tab::PriceListTab, 1);
    EXPECT_EQ(form.unitsBox()->value(), 10);
    EXPECT_FALSE(form.button("btnUpdate")->isEnabled());
    form.priceBox()->setText(QStringLiteral("lots"));
    form.UpdatePrice();
    EXPECT_EQ(ui.texts(), QStringList{"Invalid currency string."});
    EXPECT_FALSE(form.HasUnsavedPrices());

    form.priceBox()->setText(QStringLiteral("\u00a33.5"));
    form.unitsBox()->setValue(4);
    EXPECT_TRUE(form.button("btnUpdate")->isEnabled());
    form.UpdatePrice();
    EXPECT_EQ(form.priceRows()[1], (PriceRow{"90001", "\u00a33.50", "4"}));
    EXPECT_EQ(cell(Tab::PriceListTab, 1, 1), QStringLiteral("\u00a33.50"));
    EXPECT_FALSE(form.button("btnUpdate")->isEnabled());

    // Unsaved: Cancel keeps the window, No closes it without saving.
    form.show();
    ui.askAnswers = {"&Cancel", "&No"};
    form.reject();
    EXPECT_TRUE(form.isVisible());
    form.reject();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ui.questions, QStringList(2, "The price list has changes that are not saved.\r\n\n"
                                           "Do you want to save them ?"));
    EXPECT_TRUE(dialogs.titles.isEmpty());
}

TEST_F(DBBrowseFormTest, ClipboardImportPerItemAndPerPackageWithAbortAndCancel)
{
    dialogs.clipboard.clear();
    form.ImportFromClipboard();
    EXPECT_EQ(ui.texts(), QStringList{"Clip board does not contain text."});

    // Per item: the price is multiplied by the units; Abort at an unknown part
    // keeps what came before it.
    clipboardImport(QStringLiteral("90000 20 \u00a31.00 3\r\n99999 \u00a31\r\n90001 \u00a39 1"),
                    {"&Yes", "&Abort"});
    EXPECT_EQ(form.priceRows()[0], (PriceRow{"90000-20", "\u00a33.00", "3"}));
    EXPECT_EQ(form.priceRows()[1], (PriceRow{"90001", "\u00a35.50", "10"}));
    EXPECT_EQ(ui.questions.last(),
              QStringLiteral("Ignored price entry for 99999\r\n\nThis part is not in the parts "
                             "database."));
    EXPECT_EQ(cell(Tab::PriceListTab, 0, 1), QStringLiteral("\u00a33.00"));
    EXPECT_TRUE(form.HasUnsavedPrices());

    // Per package: taken as it is; Cancel at bad units ends the import.
    clipboardImport(QStringLiteral("90002-25 \u00a37.25 2\nhose 6 \u00a31 many\n90001 \u00a34 1"),
                    {"&All", "&Cancel"});
    EXPECT_EQ(form.priceRows()[2], (PriceRow{"90002-25", "\u00a37.25", "2"}));
    EXPECT_EQ(form.priceRows()[3], (PriceRow{"HOSE-6", "\u00a30.00", "0"}));
    EXPECT_EQ(form.priceRows()[1], (PriceRow{"90001", "\u00a35.50", "10"}));
}

TEST_F(DBBrowseFormTest, SaveThroughTheExpiryDateWindowAndLoadBackUnderACommaLocale)
{
    ScopedLocale comma(LocaleFacts{u',', QStringLiteral("\u20ac"), 2});
    open(true);
    EXPECT_EQ(headings(Tab::PriceListTab)[1], QStringLiteral("Price (\u20ac)"));
    select(Tab::PriceListTab, 0);
    form.priceBox()->setText(QStringLiteral("4,75"));
    form.unitsBox()->setValue(6);
    form.UpdatePrice();
    const std::vector<PriceRow> edited = form.priceRows();
    EXPECT_EQ(edited[0], (PriceRow{"90000-20", "\u20ac4,75", "6"}));

    // A day before today is refused and the window stays; Cancel then writes nothing.
    const QString path = dir.filePath(QStringLiteral("prices.ppl"));
    dialogs.saveAnswers = {path};
    answerDate(QDate(2030, 5, 31), true);
    EXPECT_FALSE(form.SaveList());
    EXPECT_EQ(ui.texts(), QStringList{"Date selected is before today."});
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(form.HasUnsavedPrices());
    EXPECT_EQ(dialogs.saveFilters, QStringList{"Parts Price List Files (*.ppl)"});

    // Today is accepted; "use every time" makes it the list of every start
    // and the catalogue takes its prices.
    dialogs.saveAnswers = {path};
    answerDate(QDate(2030, 6, 1));
    ui.confirmAnswers = {true};
    EXPECT_TRUE(form.SaveList());
    EXPECT_FALSE(form.HasUnsavedPrices());
    EXPECT_EQ(options.PartsPriceListFile, path);
    EXPECT_EQ(database->PriceOf(QStringLiteral("90000-20"))->price, 47500);
    EXPECT_EQ(database->PriceOf(QStringLiteral("90000-20"))->unitsPerPackage, 6);
    EXPECT_EQ(database->PriceListExpiry().date(), QDate(2030, 6, 1));

    // Loaded back over other edits: the same rows, and no question for the
    // list already in use.
    select(Tab::PriceListTab, 1);
    form.priceBox()->setText(QStringLiteral("1"));
    form.UpdatePrice();
    ui.questions.clear();
    dialogs.openAnswers = {path};
    form.LoadList();
    EXPECT_EQ(form.priceRows(), edited);
    EXPECT_FALSE(form.HasUnsavedPrices());
    EXPECT_TRUE(ui.questions.isEmpty());
    EXPECT_EQ(dialogs.titles.last(), QStringLiteral("Open Pipeloop Parts Price List File"));
}

} // namespace
} // namespace pipeloop::testing
