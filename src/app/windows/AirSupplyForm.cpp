#include "AirSupplyForm.h"

#include "AppDialogs.h"
#include "Document.h"
#include "EditRules.h"
#include "ErrorReport.h"
#include "HelpTopics.h"
#include "PictureExport.h"
#include "PipeLoop.h"
#include "PipeLoopObjects.h"
#include "PlanRenderer.h"
#include "PressureOverlay.h"
#include "PrintDialog.h"
#include "PrintSetupForm.h"
#include "QPainterCanvas.h"
#include "ScreenView.h"
#include "UiServices.h"
#include "Units.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace pipeloop
{

namespace
{

using analysis::AirAnalysis;
using analysis::DropResult;

const QString Caption = QStringLiteral("PIPELOOP Analyse Air Supply");
constexpr int LegendUnit = 12;

enum Column { ColName, ColDemand, ColUsage, ColPressure, ColDrop, ColWithin, ColumnCount };

QString Bar(double value, int decimals = 4)
{
    return FormatFixed(value, decimals);
}

// The plan fitted into an area of the given size with the screen's margins.
TDrawParams FittedPlan(const TPipeLoop& design, QSize size)
{
    const double across = double(size.width() - 2 * ScreenMargin) / std::max(1, design.RoomEW);
    const double down = double(size.height() - 2 * ScreenMargin) / std::max(1, design.RoomNS);
    const double scale = std::max(1e-6, std::min(across, down));
    return ScreenDrawParams(design, ViewKind::Plan, PixelRect{0, 0, size.width(), size.height()},
                            scale, scale);
}

// A widget painted by one of the form's functions.
class PaintedWidget : public QWidget
{
public:
    using Paint = std::function<void(QPainter&, QSize)>;
    PaintedWidget(const QString& name, Paint paint) : m_paint(std::move(paint))
    {
        setObjectName(name);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        m_paint(painter, size());
    }

private:
    Paint m_paint;
};

QString Words(const AirAnalysis& a)
{
    if (!a.solved())
        return a.problem + QStringLiteral(" The pressures cannot be shown.");
    if (a.totalDemand <= 0)
        return QStringLiteral("No drop has an air demand. Give the drops theirs in their "
                              "attributes (double-click a drop: Air demand and Usage factor), "
                              "and the pressures show here.");
    QString words;
    const auto failing = std::count_if(a.drops.begin(), a.drops.end(),
                                       [&a](const DropResult& d) { return a.dropFails(d); });
    if (failing == 0)
        words = QStringLiteral("Every drop is within the allowed drop of %1 bar.")
                    .arg(Bar(a.allowedDrop, 3));
    else
        words = QStringLiteral("%1 of the drops with a demand lose more than the allowed %2 bar "
                               "or are not fed.")
                    .arg(failing)
                    .arg(Bar(a.allowedDrop, 3));
    if (a.worst >= 0) {
        const DropResult& worst = a.drops[size_t(a.worst)];
        words += QStringLiteral(" The worst drop is %1 at %2 bar, %3 bar below the supply.")
                     .arg(worst.drop->Name, Bar(worst.pressure), Bar(a.pressureDropAt(worst)));
    }
    if (a.inletDelivery > 0 && a.totalDemand > a.inletDelivery)
        words += QStringLiteral(" The drops draw %1 l/s, more than the %2 l/s the inlets deliver.")
                     .arg(Bar(a.totalDemand, 2), Bar(a.inletDelivery, 2));
    return words;
}

QString SuggestionWords(const AirAnalysis& a, float ringSize, const std::optional<float>& size)
{
    if (!a.solved() || a.totalDemand <= 0)
        return {};
    if (!size)
        return QStringLiteral("No ring size keeps every drop within the allowed drop: feed the "
                              "ring from more inlets, or allow a larger drop.");
    const QString text = SizeText(*size);
    if (*size == ringSize)
        return QStringLiteral("The ring's %1 is the smallest size that keeps every drop within "
                              "the allowed drop.")
            .arg(text);
    return QStringLiteral("A %1 ring is the smallest size that keeps every drop within the "
                          "allowed drop (the ring is %2).")
        .arg(text, SizeText(ringSize));
}

QTableWidgetItem* Cell(const QString& text, bool number)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TAirSupplyForm::TAirSupplyForm(Document& document, AppDialogs& dialogs,
                               const catalogue::TPartsDatabase& database, QWidget* parent)
    : QWidget(parent, Qt::Window), m_document(document), m_dialogs(dialogs), m_database(database)
{
    setObjectName(QStringLiteral("AirSupplyForm"));
    setWindowTitle(Caption);
    InstallHelpKey(*this, [] { return QString::fromLatin1(topic::AirSupply); });
    resize(900, 700);

    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("lbVerdictText"));
    m_verdict->setWordWrap(true);
    m_suggestion = new QLabel(this);
    m_suggestion->setObjectName(QStringLiteral("lbSuggestionText"));
    m_suggestion->setWordWrap(true);

    m_plan = new PaintedWidget(QStringLiteral("pbPressurePlan"),
                               [this](QPainter& painter, QSize size) { paintPlan(painter, size); });
    m_plan->setAccessibleName(QStringLiteral("Plan coloured by pressure"));
    m_plan->setMinimumSize(300, 200);
    m_legend = new PaintedWidget(QStringLiteral("pbPressureLegend"),
                                 [this](QPainter& painter, QSize) { paintLegend(painter); });
    m_legend->setAccessibleName(PressureLegendTitle());

    m_drops = new QTableWidget(0, ColumnCount, this);
    m_drops->setObjectName(QStringLiteral("sgDrops"));
    m_drops->setAccessibleName(QStringLiteral("Drops"));
    m_drops->setHorizontalHeaderLabels({QStringLiteral("Drop"), QStringLiteral("Demand l/s"),
                                        QStringLiteral("Usage"), QStringLiteral("Pressure bar"),
                                        QStringLiteral("Drop bar"),
                                        QStringLiteral("Within limit")});
    m_drops->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_drops->setSelectionMode(QAbstractItemView::SingleSelection);
    m_drops->verticalHeader()->hide();

    auto* drawing = new QHBoxLayout;
    drawing->addWidget(m_plan, 1);
    drawing->addWidget(m_legend);
    auto* top = new QWidget(this);
    top->setLayout(drawing);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(top);
    splitter->addWidget(m_drops);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createFields());
    layout->addWidget(m_verdict);
    layout->addWidget(m_suggestion);
    layout->addWidget(splitter, 1);
    layout->addWidget(createButtons());

    connect(&m_document, &Document::designChanged, this, [this] {
        if (isVisible())
            analyse();
    });
}

QWidget* TAirSupplyForm::createFields()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    const auto field = [&](const QString& name, const QString& caption, const QString& editName,
                           void (TAirSupplyForm::*apply)()) {
        auto* label = new QLabel(caption, panel);
        label->setObjectName(name);
        auto* edit = new QLineEdit(panel);
        edit->setObjectName(editName);
        edit->setAccessibleName(QString(caption).remove(u'&'));
        edit->setMaximumWidth(100);
        label->setBuddy(edit);
        connect(edit, &QLineEdit::editingFinished, this, apply);
        row->addWidget(label);
        row->addWidget(edit);
        return edit;
    };
    m_supply = field(QStringLiteral("lbSupplyPressure"), QStringLiteral("&Supply pressure (bar)"),
                     QStringLiteral("edSupplyPressure"), &TAirSupplyForm::applySupplyPressure);
    m_allowed =
        field(QStringLiteral("lbAllowedDrop"), QStringLiteral("&Allowed pressure drop (bar)"),
              QStringLiteral("edAllowedDrop"), &TAirSupplyForm::applyAllowedDrop);
    row->addStretch(1);
    return panel;
}

QWidget* TAirSupplyForm::createButtons()
{
    auto* panel = new QWidget(this);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(0, 0, 0, 0);
    connect(addButton(panel, QStringLiteral("btPrint"), QStringLiteral("&Print")),
            &QPushButton::clicked, this, &TAirSupplyForm::print);
    connect(addButton(panel, QStringLiteral("btCopyPicture"), QStringLiteral("&Copy Picture")),
            &QPushButton::clicked, this, &TAirSupplyForm::copyPicture);
    connect(addButton(panel, QStringLiteral("btSavePicture"), QStringLiteral("Sa&ve Picture")),
            &QPushButton::clicked, this, &TAirSupplyForm::savePicture);
    row->addStretch(1);
    QPushButton* help = addButton(panel, QStringLiteral("btHelp"), QStringLiteral("&Help"));
    help->setEnabled(HelpAvailable());
    connect(help, &QPushButton::clicked, this,
            [] { ShowHelpTopic(QString::fromLatin1(topic::AirSupply)); });
    connect(addButton(panel, QStringLiteral("btClose"), QStringLiteral("C&lose")),
            &QPushButton::clicked, this, &QWidget::close);
    return panel;
}

QPushButton* TAirSupplyForm::addButton(QWidget* panel, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption, panel);
    button->setObjectName(name);
    panel->layout()->addWidget(button);
    return button;
}

void TAirSupplyForm::Open()
{
    if (isVisible())
        analyse();
    else
        show(); // analysed as it shows
    raise();
    activateWindow();
}

void TAirSupplyForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    analyse();
}

void TAirSupplyForm::hideEvent(QHideEvent* event)
{
    clearHighlight();
    QWidget::hideEvent(event);
}

// ============================================================ the analysis

void TAirSupplyForm::analyse()
{
    clearHighlight();
    m_analysis = {};
    m_suggested.reset();
    const TPipeLoop* design = m_document.design();
    if (design) {
        m_analysis = analysis::AnalyseAirSupply(*design);
        if (m_analysis.solved() && m_analysis.totalDemand > 0)
            m_suggested = analysis::SuggestRingSize(*design, analysis::RingSizes(&m_database));
    } else {
        m_analysis.outcome = analysis::AnalysisOutcome::NotAnalysable;
        m_analysis.problem = QStringLiteral("No design is open.");
    }
    m_overlay = std::make_shared<const PlanOverlay>(
        m_analysis.totalDemand > 0 ? PressureOverlay(m_analysis) : PlanOverlay{});
    showFields();
    showVerdict();
    showDrops();
    highlightWorst();
    m_plan->update();
    m_legend->setMinimumSize(m_overlay->legend.empty() ? QSize(0, 0) : [this] {
        QImage probe(1, 1, QImage::Format_RGB32);
        QPainterCanvas canvas(&probe);
        return OverlayLegendSize(canvas, m_overlay->legend, LegendUnit) + QSize(2, 2);
    }());
    m_legend->setAccessibleDescription(m_overlay->legend.empty()
                                           ? QString()
                                           : QStringLiteral("from %1 bar (green) to %2 bar (red)")
                                                 .arg(m_overlay->legend.ticks.front().label,
                                                      m_overlay->legend.ticks.back().label));
    m_legend->update();
}

void TAirSupplyForm::showFields()
{
    const TPipeLoop* design = m_document.design();
    m_supply->setEnabled(design);
    m_allowed->setEnabled(design);
    m_supply->setText(design ? FormatGeneral(design->SupplyPressure) : QString());
    m_allowed->setText(design ? FormatGeneral(design->AllowedPressureDrop) : QString());
}

void TAirSupplyForm::showVerdict()
{
    m_verdict->setText(Words(m_analysis));
    const TPipeLoop* design = m_document.design();
    m_suggestion->setText(design ? SuggestionWords(m_analysis, design->PipeSize, m_suggested)
                                 : QString());
    m_suggestion->setVisible(!m_suggestion->text().isEmpty());
}

void TAirSupplyForm::showDrops()
{
    m_drops->clearContents();
    const bool shown = m_analysis.solved();
    m_drops->setRowCount(shown ? int(m_analysis.drops.size()) : 0);
    for (int row = 0; row < m_drops->rowCount(); ++row) {
        const DropResult& drop = m_analysis.drops[size_t(row)];
        const AirDemand& demand = drop.drop->Demand;
        const QString none = QStringLiteral("-");
        const QString within = drop.supplied
                                   ? (m_analysis.dropWithinAllowed(drop) ? QStringLiteral("yes")
                                                                         : QStringLiteral("no"))
                               : drop.demand > 0 ? QStringLiteral("no (not fed)")
                                                 : none;
        const QString cells[] = {drop.drop->Name,
                                 Bar(demand.LitresPerSecond, 2),
                                 Bar(demand.UsageFactor, 2),
                                 drop.supplied ? Bar(drop.pressure) : none,
                                 drop.supplied ? Bar(m_analysis.pressureDropAt(drop)) : none,
                                 within};
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem* item = Cell(cells[column], column != ColName && column != ColWithin);
            if (row == m_analysis.worst) {
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            m_drops->setItem(row, column, item);
        }
    }
    m_drops->resizeColumnsToContents();
    if (shown && m_analysis.worst >= 0)
        m_drops->selectRow(m_analysis.worst);
}

void TAirSupplyForm::highlightWorst()
{
    TPipeLoop* design = m_document.design();
    if (!design || !m_analysis.solved() || m_analysis.worst < 0 || m_analysis.totalDemand <= 0)
        return;
    const TDrop* worst = m_analysis.drops[size_t(m_analysis.worst)].drop;
    for (const auto& drop : design->Drops) {
        // The user's selection stays as it is.
        if (drop.get() != worst || drop->isSelected())
            continue;
        design->Highlight(*drop);
        m_highlighted = drop.get();
        emit highlightChanged();
    }
}

void TAirSupplyForm::clearHighlight()
{
    if (!m_highlighted)
        return;
    const TDrop* highlighted = std::exchange(m_highlighted, nullptr);
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    // The drop may have gone with an undo, or the design with its project:
    // it is looked for among the design's drops, never reached through the
    // pointer kept.
    for (const auto& drop : design->Drops) {
        if (drop.get() == highlighted && drop->isHighlighted()) {
            drop->State = ObjectState::Normal;
            emit highlightChanged();
        }
    }
}

// ============================================================ editing

void TAirSupplyForm::applySupplyPressure()
{
    applyValue(m_supply, &SetSupplyPressure);
}

void TAirSupplyForm::applyAllowedDrop()
{
    applyValue(m_allowed, &SetAllowedPressureDrop);
}

void TAirSupplyForm::applyValue(QLineEdit* edit, QString (*set)(Document&, double))
{
    if (!m_document.design())
        return;
    // The value the field already shows pushes nothing: the edit rules
    // leave a design that has it as it is.
    const Parsed<double> value = ParseLocaleReal(edit->text());
    const QString refusal = value ? set(m_document, value.value()) : value.error();
    if (!refusal.isEmpty())
        Ui().error(refusal);
    // A change was analysed when the document told of it; a refusal shows
    // the design's value again.
    showFields();
}

// ============================================================ painting

void TAirSupplyForm::paintPlan(QPainter& painter, QSize size)
{
    QPainterCanvas canvas(painter);
    canvas.setBrush({kWhite, BrushStyle::Solid});
    canvas.fillRect(PixelRect{0, 0, size.width(), size.height()});
    const TPipeLoop* design = m_document.design();
    if (!design)
        return;
    const TDrawParams p = FittedPlan(*design, size);
    canvas.setPen({kBlack, 1, PenStyle::Solid});
    DrawPlan(canvas, *design, p);
    if (m_overlay)
        DrawOverlayLines(canvas, *m_overlay, p);
}

void TAirSupplyForm::paintLegend(QPainter& painter)
{
    if (!m_overlay)
        return;
    QPainterCanvas canvas(painter);
    DrawOverlayLegend(canvas, m_overlay->legend, QPoint(0, 0), LegendUnit);
}

// ============================================================ outputs

PictureSource TAirSupplyForm::pictureSource() const
{
    const TDrawParams p = FittedPlan(*m_document.design(), m_plan->size());
    PictureSource source;
    source.size = m_plan->size();
    source.view = ViewKind::Plan;
    source.scaleX = p.ScaleX;
    source.scaleY = p.ScaleY;
    source.dpi = m_plan->logicalDpiX();
    source.overlay = m_overlay;
    return source;
}

void TAirSupplyForm::print()
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    PrintRequest request;
    request.views = {ViewKind::Plan};
    request.planOverlay = m_overlay;
    RunPrintJob(m_dialogs, this,
                {QStringLiteral("Print Air Supply"),
                 {},
                 {},
                 SuggestedPdfPath(m_document.fileName(), QStringLiteral("Air"))},
                *design, m_document.printSetup(), request, m_logo);
}

void TAirSupplyForm::copyPicture()
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    try {
        QGuiApplication::clipboard()->setMimeData(
            ClipboardBitmap(*design, pictureSource()).mimeData().release());
    } catch (...) {
        ReportError();
        return;
    }
    Ui().inform(QStringLiteral("PIPELOOP copied the air supply to the clipboard as bitmap."));
}

void TAirSupplyForm::savePicture()
{
    TPipeLoop* design = m_document.design();
    if (!design)
        return;
    const QString path = m_dialogs.saveFileName(
        this, QStringLiteral("Save Picture"),
        QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF (*.pdf);;"
                       "Enhanced metafile (*.emf);;Bitmap (*.bmp)"),
        QStringLiteral("png"), QString());
    if (path.isEmpty())
        return;
    const std::optional<PictureFormat> format = PictureFormatOfFile(path);
    SavePicture(*design, pictureSource(), format.value_or(PictureFormat::Png), path);
}

} // namespace pipeloop
