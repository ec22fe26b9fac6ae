#include "PartsListForm.h"

#include "HelpTopics.h"
#include "PartsDatabase.h"
#include "PartsListGenerator.h"
#include "PipeLoop.h"
#include "ReportDocument.h"
#include "UncoveredEquipment.h"

#include <QAbstractListModel>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace pipeloop
{

using namespace catalogue;

namespace
{

const QString HelpTopic = QString::fromLatin1(topic::PartsList);
// How long "EMail List" stays disabled while the mail client takes the order.
constexpr int MailPauseMs = 5000;
// While generating, the window's events are processed at most this often (the
// generator yields far more often: thousands of times on a factory).
constexpr int EventsEveryMs = 10;
constexpr int64_t YieldsPerClockReading = 16;
// The Information tab and the progress bar are brought up to date this often.
constexpr int LogRefreshMs = 100;
constexpr int PictureSize = 64;

QCheckBox* CheckBox(const QString& name, const QString& caption, bool checked)
{
    auto* box = new QCheckBox(caption);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

QRadioButton* RadioButton(const QString& name, const QString& caption)
{
    auto* button = new QRadioButton(caption);
    button->setObjectName(name);
    return button;
}

// A group box of two exclusive choices, the first checked.
QGroupBox* Choice(const QString& name, const QString& caption, QRadioButton* first,
                  QRadioButton* second)
{
    auto* group = new QGroupBox(caption);
    group->setObjectName(name);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    first->setChecked(true);
    return group;
}

} // namespace

// The Information tab's lines: the generator's status log, each line read
// when the view paints it (a factory's log runs to tens of thousands of lines,
// one of long runs to millions), then the lines added after it.
class StatusLogModel : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    void show(const TPartsListGenerator* generator)
    {
        beginResetModel();
        m_generator = generator;
        m_logRows = 0;
        m_after.clear();
        endResetModel();
    }
    // The lines the generator has logged since.
    void update()
    {
        const int64_t logged = m_generator ? m_generator->StatusLogSize() : 0;
        const int rows = int(std::min<int64_t>(logged, MaxShownLines));
        if (rows <= m_logRows)
            return;
        beginInsertRows({}, m_logRows, rows - 1);
        m_logRows = rows;
        endInsertRows();
    }
    void append(const QStringList& lines)
    {
        if (lines.isEmpty())
            return;
        beginInsertRows({}, rowCount(), rowCount() + int(lines.size()) - 1);
        m_after += lines;
        endInsertRows();
    }
    // After the last update: says how many lines did not fit.
    void finish()
    {
        const int64_t hidden = m_generator ? m_generator->StatusLogSize() - m_logRows : 0;
        if (hidden > 0)
            append({QStringLiteral("... and %1 more lines").arg(hidden)});
    }
    QStringList lines() const
    {
        QStringList all;
        for (int row = 0; row < rowCount(); ++row)
            all.append(line(row));
        return all;
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_logRows + int(m_after.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return line(index.row());
    }

private:
    // A view's scroll range is counted in pixels, in an int.
    static constexpr int64_t MaxShownLines = 1'000'000;

    QString line(int row) const
    {
        return row < m_logRows ? m_generator->StatusLogLine(row) : m_after[row - m_logRows];
    }

    const TPartsListGenerator* m_generator = nullptr;
    int m_logRows = 0;
    QStringList m_after;
};

TZAVOZAPartsListForm::TZAVOZAPartsListForm(AppDialogs& dialogs, const QString& appDir,
                                           DocumentOpener openDocument, MailOpener openMail,
                                           QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_appDir(appDir),
      m_outputs(this, dialogs, std::move(openDocument), std::move(openMail))
{
    setObjectName(QStringLiteral("ZAVOZAPartsListForm"));
    setWindowTitle(QStringLiteral("Parts List"));
    InstallHelpKey(*this, [] { return HelpTopic; });
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("pcPartsList"));
    m_tabs->addTab(createOptionsTab(), QStringLiteral("Options"));
    m_tabs->addTab(createGenerateTab(), QStringLiteral("Generate"));
    m_tabs->addTab(createInformationTab(), QStringLiteral("Information"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(createButtons());
    createPopup();
    setRunning(false);
}

TZAVOZAPartsListForm::~TZAVOZAPartsListForm() = default;

// ---------------------------------------------------------------- the controls

QWidget* TZAVOZAPartsListForm::createOptionsTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tsOptions"));
    m_blue = RadioButton(QStringLiteral("rbBlue"), QStringLiteral("Blue"));
    m_grey = RadioButton(QStringLiteral("rbGrey"), QStringLiteral("Grey"));
    m_pipe6m = RadioButton(QStringLiteral("rb6mPipe"), QStringLiteral("6m Pipe"));
    m_pipe4m = RadioButton(QStringLiteral("rb4mPipe"), QStringLiteral("4m Pipe"));
    m_steelMain = CheckBox(QStringLiteral("cbSteelMain"),
                           QStringLiteral("Use steel pipe clips for main"), true);
    m_steelDrops = CheckBox(QStringLiteral("cbSteelDrops"),
                            QStringLiteral("Use steel pipe clips for drops"), false);
    m_endCaps =
        CheckBox(QStringLiteral("cbEndCap"), QStringLiteral("Use 90040/90610 for end cap"), false);
    m_prices = CheckBox(QStringLiteral("cbIncludePrices"),
                        QStringLiteral("Include part prices in output"), false);
    m_splitPackages = CheckBox(QStringLiteral("cbSplitPackages"),
                               QStringLiteral("Allow split package pricing"), false);
    m_catalogueCodes =
        CheckBox(QStringLiteral("cbCatalogueCodes"), QStringLiteral("Show catalogue codes"), false);

    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(Choice(QStringLiteral("gbPipeColour"), QStringLiteral(" Pipe Colour . . . "),
                             m_blue, m_grey));
    layout->addWidget(Choice(QStringLiteral("gbPipeLength"), QStringLiteral(" Pipe Length . . . "),
                             m_pipe6m, m_pipe4m));
    for (QWidget* box : {static_cast<QWidget*>(m_steelMain), static_cast<QWidget*>(m_steelDrops),
                         static_cast<QWidget*>(m_endCaps)})
        layout->addWidget(box);
    layout->addWidget(createManifoldChoice());
    for (QWidget* box : {static_cast<QWidget*>(m_prices), static_cast<QWidget*>(m_splitPackages),
                         static_cast<QWidget*>(m_catalogueCodes)})
        layout->addWidget(box);
    layout->addStretch();
    return tab;
}

QWidget* TZAVOZAPartsListForm::createManifoldChoice()
{
    auto* group = new QGroupBox(QStringLiteral(" Two Port Manifold Preference . . ."));
    group->setObjectName(QStringLiteral("gbTwoPortManifold"));
    auto* layout = new QGridLayout(group);
    m_manifolds = new QButtonGroup(this);
    m_manifolds->setExclusive(true);
    const QStringList codes = PartsListOptions::TwoPortManifoldCodes();
    for (int column = 0; column < codes.size(); ++column) {
        const QString& code = codes[column];
        QCheckBox* box = CheckBox(QStringLiteral("cb") + code, code, column == 0);
        auto* picture = new QLabel;
        picture->setObjectName(QStringLiteral("img") + code);
        picture->setFixedSize(PictureSize, PictureSize);
        picture->setAlignment(Qt::AlignCenter);
        picture->setAccessibleName(code);
        picture->installEventFilter(this);
        m_manifolds->addButton(box);
        m_manifoldBoxes.insert(code, box);
        m_manifoldPictures.insert(code, picture);
        layout->addWidget(picture, 0, column);
        layout->addWidget(box, 1, column);
    }
    return group;
}

QWidget* TZAVOZAPartsListForm::createGenerateTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tsGenerate"));
    m_reportView = new QTextEdit;
    m_reportView->setObjectName(QStringLiteral("reReport"));
    m_reportView->setReadOnly(true);
    m_reportView->setLineWrapMode(QTextEdit::NoWrap);
    m_reportView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_reportView, &QWidget::customContextMenuRequested, this,
            &TZAVOZAPartsListForm::openPopup);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("pbProgress"));
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(m_reportView);
    layout->addWidget(m_progress);
    return tab;
}

QWidget* TZAVOZAPartsListForm::createInformationTab()
{
    auto* tab = new QWidget;
    tab->setObjectName(QStringLiteral("tsInformation"));
    // A list view lays out only the lines in sight: a factory's log runs to
    // tens of thousands of lines.
    m_logModel = new StatusLogModel(this);
    m_log = new QListView;
    m_log->setObjectName(QStringLiteral("memStatus"));
    m_log->setModel(m_logModel);
    m_log->setUniformItemSizes(true);
    m_log->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_log->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(m_log);
    return tab;
}

QPushButton* TZAVOZAPartsListForm::addButton(const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    m_buttons.insert(name, button);
    return button;
}

QWidget* TZAVOZAPartsListForm::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::initializer_list<std::pair<const char*, const char*>> buttons = {
        {"btnGenerate", "Generate"},    {"btnCancel", "Cancel"},
        {"btnPrintList", "Print List"}, {"btnSaveList", "Save List"},
        {"btnEMailList", "EMail List"}, {"btnHelp", "Help"},
        {"btnClose", "Close"}};
    for (const auto& [name, caption] : buttons)
        layout->addWidget(addButton(QString::fromLatin1(name), QString::fromLatin1(caption)));
    connect(button(QStringLiteral("btnGenerate")), &QPushButton::clicked, this,
            &TZAVOZAPartsListForm::Generate);
    connect(button(QStringLiteral("btnCancel")), &QPushButton::clicked, this,
            &TZAVOZAPartsListForm::Cancel);
    connect(button(QStringLiteral("btnPrintList")), &QPushButton::clicked, this,
            [this] { m_outputs.print(m_generator->Report(), title()); });
    connect(button(QStringLiteral("btnSaveList")), &QPushButton::clicked, this,
            [this] { m_outputs.save(m_generator->Report(), title()); });
    connect(button(QStringLiteral("btnEMailList")), &QPushButton::clicked, this,
            &TZAVOZAPartsListForm::emailList);
    connect(button(QStringLiteral("btnHelp")), &QPushButton::clicked, this,
            [] { ShowHelpTopic(HelpTopic); });
    connect(button(QStringLiteral("btnClose")), &QPushButton::clicked, this, &QDialog::reject);
    return row;
}

void TZAVOZAPartsListForm::createPopup()
{
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("pmReport"));
    const auto add = [this](const char* name, const char* caption, auto handler) {
        QAction* action = m_popup->addAction(QString::fromLatin1(caption), this, handler);
        action->setObjectName(QString::fromLatin1(name));
    };
    add("miCopy", "Copy", [this] { m_outputs.copy(m_generator->Report(), title()); });
    add("miCopyForSpreadsheet", "Copy For Spreadsheet",
        [this] { m_outputs.copyForSpreadsheet(m_generator->Report()); });
    add("miViewCatalogue", "View Catalogue",
        [this] { m_outputs.viewCatalogue(m_reportView->textCursor().selectedText(), m_appDir); });
    m_popup->addSeparator();
    add("miPrint", "Print", [this] { button(QStringLiteral("btnPrintList"))->click(); });
    add("miSave", "Save", [this] { button(QStringLiteral("btnSaveList"))->click(); });
    add("miEMail", "EMail", [this] { button(QStringLiteral("btnEMailList"))->click(); });
}

QPushButton* TZAVOZAPartsListForm::button(const QString& name) const
{
    return m_buttons.value(name);
}

// ---------------------------------------------------------------- opening

void TZAVOZAPartsListForm::Open(TPipeLoop& design, TPartsDatabase& database, bool internetDetected,
                                const QString& orderAddress)
{
    Prepare(design, database, internetDetected, orderAddress);
    if (const QScreen* screen = this->screen()) {
        const int height = screen->availableGeometry().height() * 60 / 100;
        resize(height * 75 / 100, height);
    }
    exec();
    // The design may be closed once the window is: nothing of it is kept.
    m_logModel->show(nullptr);
    m_reportView->clear();
    m_generator.reset();
    m_design = nullptr;
    m_database = nullptr;
}

void TZAVOZAPartsListForm::Prepare(TPipeLoop& design, TPartsDatabase& database,
                                   bool internetDetected, const QString& orderAddress)
{
    m_design = &design;
    m_database = &database;
    m_internetDetected = internetDetected;
    m_orderAddress = orderAddress;
    // A report of another design (or catalogue) is no longer offered.
    m_generator.reset();
    m_logModel->show(nullptr);
    m_reportView->clear();
    m_progress->setValue(0);
    (design.PipeColour == PipeColour::Gray ? m_grey : m_blue)->setChecked(true);
    m_prices->setEnabled(database.PriceListLoaded());
    m_splitPackages->setEnabled(database.PriceListLoaded());
    showManifoldPictures();
    m_tabs->setCurrentIndex(0);
    setRunning(false);
}

void TZAVOZAPartsListForm::showManifoldPictures()
{
    for (auto it = m_manifoldPictures.cbegin(); it != m_manifoldPictures.cend(); ++it) {
        const QString entry = m_database->PictureEntryFor(it.key());
        const QImage image = entry.isEmpty() ? QImage() : m_database->AssignPicture(entry);
        if (image.isNull()) {
            it.value()->setText(QStringLiteral("NO IMAGE"));
            continue;
        }
        it.value()->setPixmap(QPixmap::fromImage(image).scaled(
            PictureSize, PictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

PartsListOptions TZAVOZAPartsListForm::Options() const
{
    PartsListOptions options;
    options.colour = m_grey->isChecked() ? ColourGrey : ColourBlue;
    options.stockLength = m_pipe4m->isChecked() ? 4000 : 6000;
    options.steelClipsMain = m_steelMain->isChecked();
    options.steelClipsDrops = m_steelDrops->isChecked();
    options.endCaps = m_endCaps->isChecked();
    // By the box, not its caption: a language file may re-caption it.
    if (auto* manifold = qobject_cast<QCheckBox*>(m_manifolds->checkedButton()))
        options.twoPortManifold = m_manifoldBoxes.key(manifold);
    options.includePrices = m_prices->isEnabled() && m_prices->isChecked();
    options.splitPackagePricing = m_splitPackages->isEnabled() && m_splitPackages->isChecked();
    options.showCatalogueCodes = m_catalogueCodes->isChecked();
    return options;
}

// ---------------------------------------------------------------- generating

bool TZAVOZAPartsListForm::Running() const
{
    return m_generator && m_generator->IsRunning();
}

bool TZAVOZAPartsListForm::CommandsEnabled() const
{
    return m_generator && !m_generator->IsRunning() && m_generator->CommandsEnabled();
}

void TZAVOZAPartsListForm::Generate()
{
    if (!m_design || !m_database || Running())
        return;
    // Each generation starts from empty lists: the generator is kept for the
    // design and catalogue it was opened with.
    if (!m_generator)
        m_generator = std::make_unique<TPartsListGenerator>(*m_design, *m_database);
    m_logModel->show(m_generator.get());
    m_reportView->clear();
    m_tabs->setCurrentIndex(1);
    m_walked = m_walkTotal = 0;
    m_generator->SetProgress([this](int64_t walked, int64_t total) {
        m_walked = walked;
        m_walkTotal = total;
    });
    QDeadlineTimer events(0);
    QDeadlineTimer logRefresh(0);
    int64_t yields = 0;
    m_generator->SetYield([this, &events, &logRefresh, &yields] {
        // The clock is read every few yields only: the generator yields at
        // every piece of pipe.
        if (yields++ % YieldsPerClockReading != 0 || !events.hasExpired())
            return;
        if (logRefresh.hasExpired()) {
            showProgress();
            m_logModel->update();
            logRefresh.setRemainingTime(LogRefreshMs);
        }
        QCoreApplication::processEvents();
        events.setRemainingTime(EventsEveryMs);
    });
    setRunning(true);
    m_generator->Generate(Options());
    m_generator->SetYield({});
    m_generator->SetProgress({});
    showProgress();
    m_logModel->update();
    m_logModel->finish();
    showReport();
    showUncoveredEquipment();
    setRunning(false);
}

void TZAVOZAPartsListForm::Cancel()
{
    if (m_generator)
        m_generator->Cancel();
}

void TZAVOZAPartsListForm::setRunning(bool running)
{
    const bool commands = !running && CommandsEnabled();
    button(QStringLiteral("btnGenerate"))->setVisible(!running);
    button(QStringLiteral("btnCancel"))->setEnabled(running);
    button(QStringLiteral("btnClose"))->setEnabled(!running);
    for (const char* name : {"btnPrintList", "btnSaveList", "btnEMailList"})
        button(QString::fromLatin1(name))->setEnabled(commands);
    for (QAction* action : m_popup->actions())
        action->setEnabled(commands);
    m_tabs->widget(0)->setEnabled(!running);
}

void TZAVOZAPartsListForm::showProgress()
{
    // The bar counts in int: a design of more objects than that shows in proportion.
    const int64_t scale = m_walkTotal > INT32_MAX ? m_walkTotal / INT32_MAX + 1 : 1;
    m_progress->setRange(0, int(std::max<int64_t>(m_walkTotal / scale, 1)));
    m_progress->setValue(int(m_walked / scale));
}

QStringList TZAVOZAPartsListForm::informationLines() const
{
    return m_logModel->lines();
}

void TZAVOZAPartsListForm::showReport()
{
    // The view owns the document it is given and deletes the one it had.
    std::unique_ptr<QTextDocument> document = ReportTextDocument(m_generator->Report());
    document->setParent(m_reportView);
    m_reportView->setDocument(document.release());
}

void TZAVOZAPartsListForm::showUncoveredEquipment()
{
    if (!CommandsEnabled())
        return;
    const QStringList lines = UncoveredEquipmentLines(
        UncoveredDropEquipment(*m_design, m_generator->PartList(), m_database->Maker()));
    if (lines.isEmpty())
        return;
    QStringList summary = {QString(),
                           QStringLiteral("Drop equipment not covered by any ordered part:")};
    for (const QString& line : lines)
        summary.append(QStringLiteral("  ") + line);
    m_logModel->append(summary);
}

// ---------------------------------------------------------------- outputs

QString TZAVOZAPartsListForm::title() const
{
    return m_design ? m_design->Description : QString();
}

void TZAVOZAPartsListForm::emailList()
{
    QPushButton* email = button(QStringLiteral("btnEMailList"));
    if (!m_outputs.email(m_generator->Report(), *m_database, m_internetDetected, m_orderAddress))
        return;
    // The mail client takes a moment to come up: no second order meanwhile.
    email->setEnabled(false);
    QTimer::singleShot(MailPauseMs, email, [this, email] { email->setEnabled(CommandsEnabled()); });
}

void TZAVOZAPartsListForm::openPopup(const QPoint& position)
{
    if (CommandsEnabled())
        m_popup->popup(m_reportView->viewport()->mapToGlobal(position));
}

// ---------------------------------------------------------------- closing and keys

void TZAVOZAPartsListForm::reject()
{
    if (Running())
        return;
    QDialog::reject();
}

void TZAVOZAPartsListForm::closeEvent(QCloseEvent* event)
{
    if (Running()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

bool TZAVOZAPartsListForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (auto it = m_manifoldPictures.cbegin(); it != m_manifoldPictures.cend(); ++it) {
            if (it.value() == watched && it.value()->isEnabled()) {
                m_manifoldBoxes.value(it.key())->setChecked(true);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pipeloop
