#include "AirFlowForm.h"

#include "EntryKeyFilter.h"
#include "UiServices.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <tuple>
#include <utility>

namespace pipeloop
{

namespace
{

const QString ReportTabName = QStringLiteral("tsReport");

template <typename W> W* Named(W* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A field that takes only what a number is typed with.
QLineEdit* NumberField(const QString& name, const QString& text)
{
    auto* edit = Named(new QLineEdit(text), name);
    EntryKeyFilter::install(edit, EntryKeyFilter::Rule::Number);
    return edit;
}

QComboBox* UnitList(const QString& name, const QStringList& units)
{
    auto* list = Named(new QComboBox, name);
    list->addItems(units);
    return list;
}

} // namespace

TAirFlowForm::TAirFlowForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AirFlowForm"));
    setWindowTitle(QStringLiteral("PIPELOOP Air Flow Calculations"));
    auto* layout = new QVBoxLayout(this);
    m_tabs = Named(new QTabWidget, QStringLiteral("PageControl"));
    m_tabs->addTab(createFieldsTab(), QStringLiteral("Air Flow"));
    m_tabs->addTab(createReportTab(), QStringLiteral("Report"));
    layout->addWidget(m_tabs);
    layout->addWidget(createButtons());
}

QWidget* TAirFlowForm::createFieldsTab()
{
    const AirFlowRequest defaults;
    m_flow = NumberField(QStringLiteral("edAirFlow"), defaults.flow);
    m_flowUnit =
        UnitList(QStringLiteral("cbAirFlow"),
                 {FlowUnitCaption(FlowUnit::Cfm), FlowUnitCaption(FlowUnit::LitresPerSecond),
                  FlowUnitCaption(FlowUnit::CubicMetresPerSecond)});
    m_flowUnit->setCurrentIndex(int(defaults.flowUnit));
    m_pressure = NumberField(QStringLiteral("edPressure"), defaults.pressure);
    m_pressureDrop = NumberField(QStringLiteral("edPressureDrop"), defaults.pressureDrop);

    auto* tab = Named(new QWidget, QStringLiteral("tsAirFlow"));
    auto* grid = new QGridLayout;
    const std::tuple<const char*, const char*, QLineEdit*, QComboBox*> rows[] = {
        {"lbAirFlow", "Air Flow", m_flow, m_flowUnit},
        {"lbPressure", "Initial Pressure", m_pressure,
         UnitList(QStringLiteral("cbPressure"), {QStringLiteral("bar")})},
        {"lbPressureDrop", "Pressure Drop", m_pressureDrop,
         UnitList(QStringLiteral("cbPressureDrop"), {QStringLiteral("bar")})}};
    int row = 0;
    for (const auto& [name, caption, edit, unit] : rows) {
        auto* label = Named(new QLabel(QString::fromLatin1(caption)), QString::fromLatin1(name));
        label->setBuddy(edit);
        unit->setAccessibleName(label->text() + QStringLiteral(" unit"));
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(unit, row, 2);
        ++row;
    }
    auto* layout = new QVBoxLayout(tab);
    layout->addLayout(grid);
    layout->addWidget(createCalculationGroup());
    layout->addStretch();
    return tab;
}

QWidget* TAirFlowForm::createCalculationGroup()
{
    auto* group =
        Named(new QGroupBox(QStringLiteral(" Calculate . . . ")), QStringLiteral("rgCalc"));
    auto* layout = new QVBoxLayout(group);
    const std::pair<const char*, const char*> choices[] = {
        {"rbRequiredAirFlow", "Required Air Flow"},
        {"rbPressureDrop", "Pressure Drop"},
        {"rbInitialPressure", "Initial Pressure"},
        {"rbPipeDiameter", "Pipe Diameter"}};
    for (const auto& [name, caption] : choices) {
        auto* choice =
            Named(new QRadioButton(QString::fromLatin1(caption)), QString::fromLatin1(name));
        layout->addWidget(choice);
        m_calculations.append(choice);
    }
    calculationButton(AirFlowRequest().calculation)->setChecked(true);
    return group;
}

QWidget* TAirFlowForm::createReportTab()
{
    auto* tab = Named(new QWidget, ReportTabName);
    m_report = Named(new QPlainTextEdit, QStringLiteral("memReport"));
    m_report->setReadOnly(true);
    m_report->setAccessibleName(QStringLiteral("Report"));
    auto* layout = new QVBoxLayout(tab);
    layout->addWidget(m_report);
    return tab;
}

QWidget* TAirFlowForm::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch();
    auto* report = Named(new QPushButton(QStringLiteral("Report")), QStringLiteral("bbReport"));
    report->setDefault(true);
    connect(report, &QPushButton::clicked, this, &TAirFlowForm::Report);
    auto* close = Named(new QPushButton(QStringLiteral("Close")), QStringLiteral("bbClose"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(report);
    layout->addWidget(close);
    return row;
}

QRadioButton* TAirFlowForm::calculationButton(AirFlowCalculation calculation) const
{
    return m_calculations.value(int(calculation));
}

void TAirFlowForm::Open()
{
    exec();
}

AirFlowRequest TAirFlowForm::request() const
{
    AirFlowRequest request;
    for (qsizetype i = 0; i < m_calculations.size(); ++i)
        if (m_calculations[i]->isChecked())
            request.calculation = AirFlowCalculation(i);
    request.flow = m_flow->text();
    request.flowUnit = FlowUnit(m_flowUnit->currentIndex());
    request.pressure = m_pressure->text();
    request.pressureDrop = m_pressureDrop->text();
    return request;
}

void TAirFlowForm::Report()
{
    const AirFlowReport report = CalculateAirFlow(request());
    for (const QString& refusal : report.refusals)
        Ui().warn(refusal);
    if (!report.ok())
        return;
    m_report->setPlainText(report.lines.join(u'\n'));
    m_tabs->setCurrentWidget(m_tabs->findChild<QWidget*>(ReportTabName));
}

} // namespace pipeloop
