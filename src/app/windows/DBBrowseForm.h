#pragma once

// TDBBrowseForm: the "Parts Database Browser". Three tabs show the vendor
// catalogue as grids ("Parts", "Packages", "Price List"); each grid is an
// item model read straight from the catalogue (the price list from the rows
// being edited), sortable by its headings and filtered as the user types into
// the filter box. The "Price List" tab edits one part's price and units at a
// time, imports prices from a text file or the clipboard, saves the list
// through the expiry date window (TDateForm) and loads one back; a saved or
// loaded list may become the one used at every start.
//
// Made once by the main window; the catalogue and the options are lent for
// one Open. Closing with price changes that are not saved asks first.

#include "PartsListOutputs.h"
#include "PriceListFile.h"

#include <QDialog>
#include <QMap>

#include <array>
#include <functional>
#include <vector>

class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QSpinBox;
class QTabWidget;
class QTableView;

namespace pipeloop
{

class AppDialogs;
class CatalogueGridModel;
class PaintBox;
class TDateForm;
class TPipeLoopOptions;

class TDBBrowseForm : public QDialog
{
    Q_OBJECT
public:
    enum Tab { PartsTab, PackagesTab, PriceListTab };
    // Shows the expiry date window and returns how it closed; the program's
    // own runs it modally, tests press its buttons.
    using DateFormRunner = std::function<int(TDateForm&)>;

    TDBBrowseForm(AppDialogs& dialogs, DocumentOpener openDocument, QWidget* parent = nullptr,
                  DateFormRunner runDateForm = {});
    ~TDBBrowseForm() override;

    // Shows the window modally over the catalogue; "use every time" changes
    // options' price list file. appDir holds the vendor's catalogue document.
    void Open(catalogue::TPartsDatabase& database, TPipeLoopOptions& options,
              const QString& appDir);
    // What Open does before the window shows: the grids filled, the logo,
    // the "Parts" tab in front, nothing unsaved.
    void Prepare(catalogue::TPartsDatabase& database, TPipeLoopOptions& options,
                 const QString& appDir);

    // The buttons' commands.
    void UpdatePrice();
    void ImportFromFile();
    void ImportFromClipboard();
    // False when nothing was written (a dialog cancelled, a write failed).
    bool SaveList();
    void LoadList();
    void ViewCatalog();

    bool HasUnsavedPrices() const { return m_unsaved; }
    const std::vector<catalogue::PriceRow>& priceRows() const { return m_rows; }

    QTabWidget* tabs() const { return m_tabs; }
    QTableView* grid(Tab tab) const { return m_grids[tab]; }
    QLineEdit* filterBox() const { return m_filter; }
    QLineEdit* priceBox() const { return m_price; }
    QSpinBox* unitsBox() const { return m_units; }
    QPushButton* button(const QString& name) const { return m_buttons.value(name); }
    PaintBox* pictureBox() const { return m_picture; }
    TDateForm& dateForm() const { return *m_dateForm; }

public slots:
    void reject() override;

private:
    QWidget* createGrid(Tab tab, const QStringList& headings);
    QWidget* createPriceTab();
    QWidget* createButtons();
    QPushButton* addButton(const QString& name, const QString& caption,
                           const std::function<void()>& command);
    void fillGrids();
    void tabChanged(int index);
    void applyFilter();
    void currentRowChanged(Tab tab);
    // The catalogue row (or package) of the grid's current row, or -1.
    int currentSourceRow(Tab tab) const;
    void showPicture(const QString& name);
    void takeRows(std::vector<catalogue::PriceRow> rows, bool unsaved);
    void importLines(const QStringList& lines);

    AppDialogs& m_dialogs;
    DocumentOpener m_openDocument;
    DateFormRunner m_runDateForm;
    TDateForm* m_dateForm = nullptr;
    catalogue::TPartsDatabase* m_database = nullptr;
    TPipeLoopOptions* m_options = nullptr;
    QString m_appDir;
    std::vector<catalogue::PriceRow> m_rows;
    bool m_unsaved = false;
    int m_shownTab = PartsTab;
    QString m_pictureName;

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_filter = nullptr;
    std::array<CatalogueGridModel*, 3> m_models{};
    std::array<QSortFilterProxyModel*, 3> m_proxies{};
    std::array<QTableView*, 3> m_grids{};
    QLineEdit* m_price = nullptr;
    QSpinBox* m_units = nullptr;
    PaintBox* m_picture = nullptr;
    QMap<QString, QPushButton*> m_buttons;
};

} // namespace pipeloop
