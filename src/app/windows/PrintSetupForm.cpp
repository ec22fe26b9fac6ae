#include "PrintSetupForm.h"

#include "AppDialogs.h"
#include "ErrorReport.h"
#include "HelpTopics.h"
#include "PipeLoop.h"
#include "QPainterCanvas.h"
#include "UiServices.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace pipeloop
{

namespace
{

const QString Caption = QStringLiteral("Print Setup - ");
constexpr int AdjustStep = 10;

QString ViewCaption(ViewKind view)
{
    static const std::array<const char*, 5> captions{"Plan", "North", "East", "South", "West"};
    return QString::fromLatin1(captions[size_t(view)]);
}

QButtonGroup* AddRadioGroup(QVBoxLayout* column, QWidget* owner, const QString& name,
                            const QString& title, const QStringList& captions)
{
    auto* box = new QGroupBox(title);
    box->setObjectName(name);
    auto* layout = new QVBoxLayout(box);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < captions.size(); ++i) {
        auto* button = new QRadioButton(captions[i]);
        button->setObjectName(name + QString::number(i));
        group->addButton(button, i);
        layout->addWidget(button);
    }
    column->addWidget(box);
    return group;
}

QPushButton* AddButton(QVBoxLayout* column, const QString& name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    column->addWidget(button);
    return button;
}

} // namespace

std::optional<int32_t> AdjustedScale(const TPipeLoop& design, ViewKind view, int32_t scale,
                                     const PageGeometry& page)
{
    for (int32_t s = std::max(AdjustStep, scale / AdjustStep * AdjustStep);
         s <= PrintSetup::MaxScale; s += AdjustStep) {
        if (ViewFitsPage(design, view, s, page))
            return s;
    }
    return std::nullopt;
}

PrintOutput ChosenOutput(const QString& name)
{
    const std::vector<PrintOutput> outputs = AvailablePrintOutputs();
    const auto named = std::find_if(outputs.begin(), outputs.end(),
                                    [&name](const PrintOutput& o) { return o.name == name; });
    return named != outputs.end() ? *named : outputs.front();
}

QString PrintContents(const PrintRequest& request)
{
    QStringList pages;
    for (ViewKind view : request.views)
        pages.append(ViewCaption(view));
    if (request.dropsPage)
        pages.append(QStringLiteral("Drops"));
    if (request.notes)
        pages.append(QStringLiteral("Notes"));
    return QStringLiteral("Pages: ") + pages.join(QStringLiteral(", "));
}

bool RunPrintJob(AppDialogs& dialogs, QWidget* parent, PrintJob job, TPipeLoop& design,
                 const PrintSetup& setup, const PrintRequest& request, const QImage& logo)
{
    job.contents = PrintContents(request);
    job.preferredOutput = ChosenOutput(setup.PrinterName).name;
    const std::optional<PrintDestination> destination = dialogs.choosePrintDestination(parent, job);
    return destination && PrintToOutput(*destination, design, setup, request, logo);
}

// ============================================================== the preview

// The page as the printer would print it, drawn at the preview's size. A
// failure while painting stops the preview from painting again and goes to
// the common error report.
class TPrintSetupForm::PreviewWidget : public QWidget
{
public:
    explicit PreviewWidget(TPrintSetupForm& form) : m_form(form)
    {
        setObjectName(QStringLiteral("pbPreview"));
    }
    void reattach() { m_failed = false; }

protected:
    // The wheel scrolls the page by a quarter of its turn.
    void wheelEvent(QWheelEvent* event) override
    {
        QScrollBar* bar = m_form.m_previewArea->verticalScrollBar();
        bar->setValue(bar->value() - event->angleDelta().y() / 4);
        event->accept();
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        if (m_failed || !m_form.m_design)
            return;
        try {
            QPainterCanvas canvas(painter);
            DrawPrintPreview(canvas, *m_form.m_design, m_form.m_setup, m_form.m_view, m_form.Page(),
                             m_form.Mode(), size(), logicalDpiX(), logicalDpiY(), m_form.m_logo);
        } catch (...) {
            m_failed = true;
            ReportError();
        }
    }

private:
    TPrintSetupForm& m_form;
    bool m_failed = false;
};

// ============================================================== the window

TPrintSetupForm::TPrintSetupForm(AppDialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("PrintSetupForm"));
    setWindowTitle(Caption);
    InstallHelpKey(*this, [] { return QString::fromLatin1(topic::PrintSetup); });
    m_preview = new PreviewWidget(*this);
    m_previewArea = new QScrollArea;
    m_previewArea->setObjectName(QStringLiteral("sbPreview"));
    m_previewArea->setWidget(m_preview);
    m_previewArea->setMinimumSize(360, 360);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_previewArea, 1);
    layout->addWidget(createControls());
    resize(760, 560);
}

TPrintSetupForm::~TPrintSetupForm() = default;

QWidget* TPrintSetupForm::preview() const
{
    return m_preview;
}

QWidget* TPrintSetupForm::createControls()
{
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);

    auto* scaleRow = new QHBoxLayout;
    auto* scaleLabel = new QLabel(QStringLiteral("Scale 1 :"));
    scaleLabel->setObjectName(QStringLiteral("lblScale"));
    scaleRow->addWidget(scaleLabel);
    m_scale = new QSpinBox;
    m_scale->setObjectName(QStringLiteral("seScale"));
    m_scale->setRange(PrintSetup::MinScale, PrintSetup::MaxScale);
    scaleRow->addWidget(m_scale);
    column->addLayout(scaleRow);
    connect(m_scale, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_showing)
            SetScale(value);
    });
    connect(AddButton(column, QStringLiteral("btnBestFit"), QStringLiteral("Best Fit Scaling")),
            &QPushButton::clicked, this, &TPrintSetupForm::BestFit);
    m_standardFit = AddButton(column, QStringLiteral("btnStandardFit"), QString());
    connect(m_standardFit, &QPushButton::clicked, this, &TPrintSetupForm::StandardFit);

    QStringList views;
    for (ViewKind view : AllViews)
        views.append(ViewCaption(view));
    m_views = AddRadioGroup(column, this, QStringLiteral("rgView"),
                            QStringLiteral(" Select View . . . "), views);
    connect(m_views, &QButtonGroup::idClicked, this, [this](int id) { SelectView(ViewKind(id)); });
    m_orientation = AddRadioGroup(column, this, QStringLiteral("rgOrientation"),
                                  QStringLiteral(" Orientation . . . "),
                                  {QStringLiteral("Portrait"), QStringLiteral("Landscape")});
    connect(m_orientation, &QButtonGroup::idClicked, this,
            [this](int id) { SetLandscape(id == 1); });
    m_centre = new QCheckBox(QStringLiteral("Center Horizontally"));
    m_centre->setObjectName(QStringLiteral("cbCenter"));
    column->addWidget(m_centre);
    connect(m_centre, &QCheckBox::clicked, this, &TPrintSetupForm::SetCentre);
    m_previewMode = AddRadioGroup(
        column, this, QStringLiteral("rgPreview"), QStringLiteral(" Page Preview . . . "),
        {QStringLiteral("Page Outline"), QStringLiteral("Show Print Page")});
    connect(m_previewMode, &QButtonGroup::idClicked, this,
            [this](int id) { SetPreviewMode(PreviewMode(id)); });

    auto* printerLabel = new QLabel(QStringLiteral("Printer"));
    printerLabel->setObjectName(QStringLiteral("lblPrinter"));
    column->addWidget(printerLabel);
    m_printer = new QComboBox;
    m_printer->setObjectName(QStringLiteral("cbPrinter"));
    m_printer->setAccessibleName(QStringLiteral("Printer"));
    for (const PrintOutput& output : AvailablePrintOutputs())
        m_printer->addItem(output.name);
    column->addWidget(m_printer);
    connect(m_printer, &QComboBox::textActivated, this, &TPrintSetupForm::SelectOutput);

    column->addStretch();
    m_options = AddButton(column, QStringLiteral("btnOptions"), QStringLiteral("Options"));
    m_options->setEnabled(false);
    connect(m_options, &QPushButton::clicked, this, [this] {
        if (m_openOptions)
            m_openOptions([this] { m_preview->update(); });
        m_preview->update();
    });
    connect(AddButton(column, QStringLiteral("btnPrint"), QStringLiteral("Print")),
            &QPushButton::clicked, this, &TPrintSetupForm::Print);
    connect(AddButton(column, QStringLiteral("btnHelp"), QStringLiteral("Help")),
            &QPushButton::clicked, this,
            [] { ShowHelpTopic(QString::fromLatin1(topic::PrintSetup)); });
    connect(AddButton(column, QStringLiteral("btnClose"), QStringLiteral("Close")),
            &QPushButton::clicked, this, &QDialog::accept);
    return panel;
}

void TPrintSetupForm::SetOpenOptions(OpenOptions openOptions)
{
    m_openOptions = std::move(openOptions);
    m_options->setEnabled(bool(m_openOptions));
}

PrintSetup TPrintSetupForm::Open(TPipeLoop& design, const PrintSetup& setup, ViewKind view,
                                 const QImage& logo)
{
    Prepare(design, setup, view, logo);
    exec();
    m_design = nullptr;
    return m_setup;
}

void TPrintSetupForm::Prepare(TPipeLoop& design, const PrintSetup& setup, ViewKind view,
                              const QImage& logo)
{
    m_design = &design;
    m_logo = logo;
    m_setup = setup;
    m_view = design.CompressorHouse ? ViewKind::Plan : view;
    const PrintOutput output = ChosenOutput(m_setup.PrinterName);
    m_setup.PrinterName = output.name;
    m_snapshot = m_setup;
    m_preview->reattach();
    showSettings();
}

void TPrintSetupForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_firstShow) {
        m_firstShow = false;
        setMinimumSize(size());
    }
    QTimer::singleShot(0, this, &TPrintSetupForm::Activate);
}

void TPrintSetupForm::Activate()
{
    if (!m_design)
        return;
    const int32_t scale = m_setup.PrintScaling(m_view);
    if (!ViewFitsPage(*m_design, m_view, scale, Page()) &&
        Ui().confirm(QStringLiteral("Print scaling too small, adjust ?"))) {
        const std::optional<int32_t> adjusted = AdjustedScale(*m_design, m_view, scale, Page());
        if (adjusted)
            storeScale(*adjusted);
        else
            Ui().warn(DoesNotFitMessage());
    }
    showSettings();
}

PageGeometry TPrintSetupForm::Page() const
{
    return OutputPageGeometry(ChosenOutput(m_setup.PrinterName), m_setup.Landscape(m_view));
}

PreviewMode TPrintSetupForm::Mode() const
{
    return m_setup.ShowPrintPage ? PreviewMode::ShowPrintPage : PreviewMode::PageOutline;
}

void TPrintSetupForm::showSettings()
{
    m_showing = true;
    setWindowTitle(Caption + m_setup.PrinterName);
    m_scale->setValue(m_setup.PrintScaling(m_view));
    m_views->button(int(m_view))->setChecked(true);
    m_orientation->button(m_setup.Landscape(m_view) ? 1 : 0)->setChecked(true);
    m_centre->setChecked(m_setup.PrintCenter);
    m_previewMode->button(int(Mode()))->setChecked(true);
    m_printer->setCurrentText(m_setup.PrinterName);
    if (m_design)
        m_standardFit->setText(QStringLiteral("Standard Scale 1:%1")
                                   .arg(StandardFitScaleForPage(*m_design, m_view, Page())));
    m_showing = false;
    layOutPreview();
}

void TPrintSetupForm::layOutPreview()
{
    if (Mode() == PreviewMode::ShowPrintPage) {
        const PixelRect page =
            PreviewPageRect(Page(), Mode(), {}, m_preview->logicalDpiX(), m_preview->logicalDpiY());
        m_previewArea->setWidgetResizable(false);
        m_preview->resize(page.right + 1, page.bottom + 1);
    } else {
        m_previewArea->setWidgetResizable(true);
    }
    m_preview->update();
}

void TPrintSetupForm::storeScale(int32_t scale)
{
    m_setup.SetPrintScaling(m_view, scale);
    showSettings();
}

void TPrintSetupForm::SelectView(ViewKind view)
{
    if (m_design && m_design->CompressorHouse && view != ViewKind::Plan) {
        Ui().inform(QStringLiteral("Compressor Houses can only be printed in plan."));
        view = ViewKind::Plan;
    }
    m_view = view;
    showSettings();
}

void TPrintSetupForm::SetScale(int scale)
{
    if (!m_design)
        return;
    if (ViewFitsPage(*m_design, m_view, scale, Page()))
        storeScale(scale);
    else if (Ui().confirm(
                 QStringLiteral("Print scale too small for select paper size, auto fit ?")))
        BestFit();
    else
        showSettings();
}

void TPrintSetupForm::BestFit()
{
    if (m_design)
        storeScale(BestFitScaleForPage(*m_design, m_view, Page()));
}

void TPrintSetupForm::StandardFit()
{
    if (m_design)
        storeScale(StandardFitScaleForPage(*m_design, m_view, Page()));
}

void TPrintSetupForm::SetLandscape(bool landscape)
{
    m_setup.SetLandscape(m_view, landscape);
    showSettings();
}

void TPrintSetupForm::SetCentre(bool centre)
{
    m_setup.PrintCenter = centre;
    showSettings();
}

void TPrintSetupForm::SetPreviewMode(PreviewMode mode)
{
    m_setup.ShowPrintPage = mode == PreviewMode::ShowPrintPage;
    showSettings();
}

void TPrintSetupForm::SelectOutput(const QString& name)
{
    m_setup.PrinterName = ChosenOutput(name).name;
    showSettings();
}

void TPrintSetupForm::Print()
{
    if (m_design)
        RunPrintJob(m_dialogs, this, {QStringLiteral("Print"), {}, {}, m_pdfSuggestion}, *m_design,
                    m_setup, PrintRequest::view(*m_design, m_view), m_logo);
}

} // namespace pipeloop
