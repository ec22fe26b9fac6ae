#include "DBBrowseForm.h"

#include "AppDialogs.h"
#include "DateForm.h"
#include "DrawingArea.h"
#include "HelpTopics.h"
#include "LocaleInfo.h"
#include "Money.h"
#include "PartsDatabase.h"
#include "PipeLoopOptions.h"
#include "UiServices.h"
#include "Units.h"

#include <QAbstractTableModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace pipeloop
{

using namespace catalogue;

namespace
{

const QString HelpTopic = QString::fromLatin1(topic::PartsBrowser);
constexpr int MinimumHeight = 333;
constexpr int PictureWidth = 200;
// Sorting reads this role: amounts and counts sort as numbers.
constexpr int SortRole = Qt::UserRole;

QString PriceHeading()
{
    return QStringLiteral("Price (") + LocaleInfo::current().currencySymbol + u')';
}

// What a part's or package's picture is looked up by.
QString PictureNameOf(const QString& image, const QString& name)
{
    return image.isEmpty() ? name : image;
}

} // namespace

// One grid: its headings and a function that reads a cell, so that a
// catalogue of thousands of parts is read only where the view looks.
class CatalogueGridModel : public QAbstractTableModel
{
public:
    using Cell = std::function<QString(int row, int column)>;
    // The value sorted by, where it is not the text.
    using SortKey = std::function<QVariant(int row, int column)>;

    CatalogueGridModel(QStringList headings, QObject* parent)
        : QAbstractTableModel(parent), m_headings(std::move(headings))
    {
    }

    void show(int rows, Cell cell, SortKey sortKey = {})
    {
        beginResetModel();
        m_rows = rows;
        m_cell = std::move(cell);
        m_sortKey = std::move(sortKey);
        endResetModel();
    }
    void setHeading(int column, const QString& heading)
    {
        m_headings[column] = heading;
        emit headerDataChanged(Qt::Horizontal, column, column);
    }
    void rowsChanged(int first, int last)
    {
        if (first <= last)
            emit dataChanged(index(first, 0), index(last, columnCount() - 1));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_headings.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || !m_cell)
            return {};
        if (role == SortRole && m_sortKey)
            return m_sortKey(index.row(), index.column());
        if (role == Qt::DisplayRole || role == SortRole)
            return m_cell(index.row(), index.column());
        return {};
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < m_headings.size())
            return m_headings[section];
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    QStringList m_headings;
    int m_rows = 0;
    Cell m_cell;
    SortKey m_sortKey;
};

TDBBrowseForm::TDBBrowseForm(AppDialogs& dialogs, DocumentOpener openDocument, QWidget* parent,
                             DateFormRunner runDateForm)
    : QDialog(parent), m_dialogs(dialogs), m_openDocument(std::move(openDocument)),
      m_runDateForm(runDateForm ? std::move(runDateForm)
                                : [](TDateForm& form) { return form.exec(); })
{
    setObjectName(QStringLiteral("DBBrowseForm"));
    setWindowTitle(QStringLiteral("Parts Database Browser"));
    InstallHelpKey(*this, [] { return HelpTopic; });
    setMinimumHeight(MinimumHeight);
    m_dateForm = new TDateForm(this);

    m_filter = new QLineEdit;
    m_filter->setObjectName(QStringLiteral("edFilter"));
    m_filter->setPlaceholderText(QStringLiteral("Type to filter the list"));
    m_filter->setAccessibleName(QStringLiteral("Filter"));
    m_filter->setClearButtonEnabled(true);
    connect(m_filter, &QLineEdit::textChanged, this, &TDBBrowseForm::applyFilter);
    auto* filterLabel = new QLabel(QStringLiteral("Filter :"));
    filterLabel->setObjectName(QStringLiteral("lbFilter"));
    filterLabel->setBuddy(m_filter);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pcBrowse"));
    m_tabs->addTab(
        createGrid(PartsTab, {QStringLiteral("Part Number"), QStringLiteral("Manufacturer"),
                              QStringLiteral("Description")}),
        QStringLiteral("Parts"));
    m_tabs->addTab(
        createGrid(PackagesTab, {QStringLiteral("Packge Number"), QStringLiteral("Description")}),
        QStringLiteral("Packages"));
    m_tabs->addTab(createPriceTab(), QStringLiteral("Price List"));
    connect(m_tabs, &QTabWidget::currentChanged, this, &TDBBrowseForm::tabChanged);

    m_picture = new PaintBox(QStringLiteral("imgPicture"));
    m_picture->setFixedWidth(PictureWidth);
    m_picture->onPaint = [this](QPainter& painter, const QRect&) {
        if (m_database && !m_pictureName.isEmpty())
            m_picture->setToolTip(
                m_database->ShowPicture(m_pictureName, painter, m_picture->rect()));
    };

    auto* filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(m_filter);
    auto* left = new QVBoxLayout;
    left->addLayout(filterRow);
    left->addWidget(m_tabs);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addWidget(m_picture);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(createButtons());
}

TDBBrowseForm::~TDBBrowseForm() = default;

// ---------------------------------------------------------------- the controls

QWidget* TDBBrowseForm::createGrid(Tab tab, const QStringList& headings)
{
    static const char* const names[] = {"sgParts", "sgPackages", "sgPriceList"};
    static const char* const captions[] = {"Parts", "Packages", "Price List"};
    m_models[tab] = new CatalogueGridModel(headings, this);
    auto* proxy = new QSortFilterProxyModel(this);
    proxy->setSourceModel(m_models[tab]);
    proxy->setSortRole(SortRole);
    proxy->setFilterKeyColumn(-1);
    proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_proxies[tab] = proxy;

    auto* grid = new QTableView;
    grid->setObjectName(QString::fromLatin1(names[tab]));
    grid->setAccessibleName(QString::fromLatin1(captions[tab]));
    grid->setModel(proxy);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured row by row.
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 4);
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->horizontalHeader()->setDefaultSectionSize(140);
    // Catalogue order until a heading is clicked.
    grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    grid->setSortingEnabled(true);
    connect(grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this, tab] { currentRowChanged(tab); });
    m_grids[tab] = grid;
    return grid;
}

QWidget* TDBBrowseForm::createPriceTab()
{
    auto* tab = new QWidget;
    QWidget* grid = createGrid(
        PriceListTab, {QStringLiteral("Part Number"), PriceHeading(), QStringLiteral("Units Per")});
    m_price = new QLineEdit(QStringLiteral("1"));
    m_price->setObjectName(QStringLiteral("edPrice"));
    m_price->setAccessibleName(QStringLiteral("Price"));
    m_units = new QSpinBox;
    m_units->setObjectName(QStringLiteral("seUnits"));
    m_units->setAccessibleName(QStringLiteral("Units Per"));
    m_units->setRange(1, 9999);
    m_units->setValue(1);
    auto* priceLabel = new QLabel(QStringLiteral("Price :"));
    priceLabel->setObjectName(QStringLiteral("lbPrice"));
    priceLabel->setBuddy(m_price);
    auto* unitsLabel = new QLabel(QStringLiteral("Units Per :"));
    unitsLabel->setObjectName(QStringLiteral("lbUnits"));
    unitsLabel->setBuddy(m_units);

    auto* editor = new QHBoxLayout;
    editor->addWidget(priceLabel);
    editor->addWidget(m_price);
    editor->addWidget(unitsLabel);
    editor->addWidget(m_units);
    editor->addWidget(addButton(QStringLiteral("btnUpdate"), QStringLiteral("Update"),
                                [this] { UpdatePrice(); }));
    editor->addStretch();
    editor->addWidget(addButton(QStringLiteral("btnSaveList"), QStringLiteral("Save List"),
                                [this] { SaveList(); }));
    editor->addWidget(addButton(QStringLiteral("btnLoadList"), QStringLiteral("Load List"),
                                [this] { LoadList(); }));
    const auto edited = [this] { button(QStringLiteral("btnUpdate"))->setEnabled(true); };
    connect(m_price, &QLineEdit::textEdited, this, edited);
    connect(m_units, &QSpinBox::valueChanged, this, edited);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(grid);
    layout->addLayout(editor);
    return tab;
}

QPushButton* TDBBrowseForm::addButton(const QString& name, const QString& caption,
                                      const std::function<void()>& command)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, command);
    m_buttons.insert(name, button);
    return button;
}

QWidget* TDBBrowseForm::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(addButton(QStringLiteral("btnImportFile"),
                                QStringLiteral("Import Price List From Text File"),
                                [this] { ImportFromFile(); }));
    layout->addWidget(addButton(QStringLiteral("btnImportClipboard"),
                                QStringLiteral("Import Price List From Clipboard"),
                                [this] { ImportFromClipboard(); }));
    layout->addStretch();
    layout->addWidget(addButton(QStringLiteral("btnViewCatalog"), QStringLiteral("View Catalog"),
                                [this] { ViewCatalog(); }));
    layout->addWidget(
        addButton(QStringLiteral("btnClose"), QStringLiteral("Close"), [this] { reject(); }));
    return row;
}

// ---------------------------------------------------------------- opening

void TDBBrowseForm::Open(TPartsDatabase& database, TPipeLoopOptions& options, const QString& appDir)
{
    Prepare(database, options, appDir);
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width() * 60 / 100,
               std::max(available.height() * 40 / 100, MinimumHeight));
    }
    exec();
    // The catalogue may be replaced once the window is closed: nothing of it is kept.
    m_database = nullptr;
    m_options = nullptr;
    m_rows.clear();
    for (CatalogueGridModel* model : m_models)
        model->show(0, {});
}

void TDBBrowseForm::Prepare(TPartsDatabase& database, TPipeLoopOptions& options,
                            const QString& appDir)
{
    m_database = &database;
    m_options = &options;
    m_appDir = appDir;
    m_unsaved = false;
    m_rows = PriceRowsOf(database);
    fillGrids();
    m_filter->clear();
    m_price->setText(QStringLiteral("1"));
    m_units->setValue(1);
    button(QStringLiteral("btnUpdate"))->setEnabled(false);
    m_tabs->setCurrentIndex(PartsTab);
    tabChanged(PartsTab);
    showPicture(database.HasEntry(QStringLiteral("LOGO.JPG")) ? QStringLiteral("LOGO.JPG")
                                                              : QString());
}

void TDBBrowseForm::fillGrids()
{
    const TPartsDatabase& database = *m_database;
    m_models[PartsTab]->show(database.PartCount(), [&database](int row, int column) {
        const TPartObject* part = database.Part(row);
        return column == 0 ? part->PartKey() : column == 1 ? part->Maker() : part->Description();
    });
    m_models[PackagesTab]->show(database.PackageCount(), [&database](int row, int column) {
        const TPackage* package = database.Package(row);
        return column == 0 ? package->Name() : package->Description();
    });
    m_models[PriceListTab]->setHeading(1, PriceHeading());
    m_models[PriceListTab]->show(
        int(m_rows.size()),
        [this](int row, int column) {
            const PriceRow& price = m_rows[size_t(row)];
            return column == 0 ? price.partKey : column == 1 ? price.priceText : price.unitsText;
        },
        [this](int row, int column) -> QVariant {
            const PriceRow& price = m_rows[size_t(row)];
            if (column == 1)
                return qlonglong(ParseMoney(price.priceText).valueOr(0));
            if (column == 2)
                return ParseInteger(price.unitsText).valueOr(0);
            return price.partKey;
        });
}

// ---------------------------------------------------------------- tabs, rows and pictures

void TDBBrowseForm::tabChanged(int index)
{
    if (!m_database)
        return;
    if (index == PackagesTab && m_database->PackageCount() == 0) {
        Ui().inform(QStringLiteral("The database has no packages."));
        m_tabs->setCurrentIndex(m_shownTab);
        return;
    }
    m_shownTab = index;
    for (const char* name : {"btnImportFile", "btnImportClipboard"})
        button(QString::fromLatin1(name))->setEnabled(index == PriceListTab);
    applyFilter();
    if (currentSourceRow(Tab(index)) >= 0)
        currentRowChanged(Tab(index));
}

void TDBBrowseForm::applyFilter()
{
    // Only the grid in sight is filtered as the user types; another one
    // catches up when its tab is opened.
    QSortFilterProxyModel* proxy = m_proxies[m_tabs->currentIndex()];
    if (proxy->filterRegularExpression().pattern() != QRegularExpression::escape(m_filter->text()))
        proxy->setFilterFixedString(m_filter->text());
}

int TDBBrowseForm::currentSourceRow(Tab tab) const
{
    const QModelIndex current = m_grids[tab]->currentIndex();
    return current.isValid() ? m_proxies[tab]->mapToSource(current).row() : -1;
}

void TDBBrowseForm::currentRowChanged(Tab tab)
{
    const int row = currentSourceRow(tab);
    if (!m_database || row < 0)
        return;
    if (tab == PackagesTab) {
        const TPackage* package = m_database->Package(row);
        showPicture(PictureNameOf(package->Image(), package->Name()));
        return;
    }
    const TPartObject* part = m_database->Part(row);
    showPicture(PictureNameOf(part->Image(), part->PartKey()));
    if (tab == PriceListTab) {
        m_units->setValue(ParseInteger(m_rows[size_t(row)].unitsText).valueOr(1));
        button(QStringLiteral("btnUpdate"))->setEnabled(false);
    }
}

void TDBBrowseForm::showPicture(const QString& name)
{
    m_pictureName = name;
    m_picture->setToolTip(QString());
    m_picture->update();
}

// ---------------------------------------------------------------- the price list

void TDBBrowseForm::takeRows(std::vector<PriceRow> rows, bool unsaved)
{
    m_rows = std::move(rows);
    m_models[PriceListTab]->rowsChanged(0, int(m_rows.size()) - 1);
    m_unsaved = unsaved;
}

void TDBBrowseForm::UpdatePrice()
{
    const int row = currentSourceRow(PriceListTab);
    if (row < 0)
        return;
    const Parsed<Money> price = ParseMoney(m_price->text().trimmed());
    if (!price) {
        Ui().error(QStringLiteral("Invalid currency string."));
        return;
    }
    m_rows[size_t(row)].priceText = FormatMoney(price.value(), true);
    m_rows[size_t(row)].unitsText = QString::number(m_units->value());
    m_models[PriceListTab]->rowsChanged(row, row);
    m_unsaved = true;
    button(QStringLiteral("btnUpdate"))->setEnabled(false);
}

void TDBBrowseForm::importLines(const QStringList& lines)
{
    std::vector<PriceRow> rows = m_rows;
    ImportPriceText(lines, rows);
    if (rows != m_rows)
        takeRows(std::move(rows), true);
}

void TDBBrowseForm::ImportFromFile()
{
    const QString path =
        m_dialogs.openFileName(this, QStringLiteral("Import Price List From Text File"),
                               QStringLiteral("All Files (*);;Text Files (*.txt)"), QString());
    if (path.isEmpty())
        return;
    if (const std::optional<QStringList> lines = ReadImportTextFile(path))
        importLines(*lines);
}

void TDBBrowseForm::ImportFromClipboard()
{
    const QString text = m_dialogs.clipboardText();
    if (text.isEmpty()) {
        Ui().inform(QStringLiteral("Clip board does not contain text."));
        return;
    }
    try {
        importLines(ImportTextLines(text));
    } catch (const std::exception&) {
        Ui().error(QStringLiteral("An error occurred while importing from the clip board."));
    }
}

bool TDBBrowseForm::SaveList()
{
    const QString path =
        m_dialogs.saveFileName(this, QStringLiteral("Save Parts Price List File"),
                               QStringLiteral("Parts Price List Files (*.ppl)"),
                               QStringLiteral("ppl"), m_options->PartsPriceListFile);
    if (path.isEmpty())
        return false;
    // Only OK, past its check of the date, goes on: Cancel abandons the save.
    m_dateForm->Prepare();
    if (m_runDateForm(*m_dateForm) != QDialog::Accepted)
        return false;
    if (!WritePriceListFile(path, m_rows, m_dateForm->date()))
        return false;
    m_unsaved = false;
    OfferPriceListForEveryUse(*m_database, m_options->PartsPriceListFile, path, true);
    return true;
}

void TDBBrowseForm::LoadList()
{
    const QString path = m_dialogs.openFileName(
        this, QStringLiteral("Open Pipeloop Parts Price List File"),
        QStringLiteral("Price List Files (*.ppl)"), m_options->PartsPriceListFile);
    if (path.isEmpty())
        return;
    std::vector<PriceRow> rows = m_rows;
    if (!LoadPriceListRowsFrom(path, rows))
        return;
    // The grid now shows a list that is on disk.
    takeRows(std::move(rows), false);
    OfferPriceListForEveryUse(*m_database, m_options->PartsPriceListFile, path, false);
}

void TDBBrowseForm::ViewCatalog()
{
    const Tab tab = Tab(m_tabs->currentIndex());
    const int row = currentSourceRow(tab);
    if (!m_database || row < 0)
        return;
    const QString key =
        tab == PackagesTab ? m_database->Package(row)->Name() : m_database->Part(row)->PartKey();
    const std::optional<QString> destination = CatalogueDestinationOf(*m_database, key);
    if (!destination) {
        Ui().inform(QStringLiteral("Sorry part is not in catalogue yet."));
        return;
    }
    OpenCatalogueDocument(m_openDocument, m_appDir, *destination);
}

// ---------------------------------------------------------------- closing and keys

void TDBBrowseForm::reject()
{
    if (m_unsaved) {
        const QString answer =
            Ui().ask(UiServices::Kind::Warning,
                     QStringLiteral("The price list has changes that are not saved.\r\n\n"
                                    "Do you want to save them ?"),
                     {QStringLiteral("&Yes"), QStringLiteral("&No"), QStringLiteral("&Cancel")});
        if (answer == QStringLiteral("&Cancel") ||
            (answer == QStringLiteral("&Yes") && !SaveList()))
            return;
    }
    QDialog::reject();
}

} // namespace pipeloop
