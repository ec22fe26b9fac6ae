#include "InletDialog.h"

#include "DialogParts.h"
#include "PipeLoopObjects.h"
#include "UiServices.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pipeloop
{

bool TakeInletValues(TInlet* inlet, const InletValues& confirmed, InletValues& values,
                     const AirDemand& demand)
{
    values = confirmed;
    if (!inlet)
        return true;
    const bool changed = inlet->PipeSize != confirmed.PipeSize ||
                         inlet->PipeLength != confirmed.PipeLength || !(inlet->Demand == demand);
    inlet->PipeSize = confirmed.PipeSize;
    inlet->PipeLength = confirmed.PipeLength;
    inlet->Demand = demand;
    return changed;
}

InletDialog::InletDialog(QWidget* parent)
    : QDialog(parent), m_cbPipeSize(new QComboBox),
      m_edPipeLength(LengthEdit(QStringLiteral("edPipeLength")))
{
    setObjectName(QStringLiteral("InletForm"));
    m_cbPipeSize->setObjectName(QStringLiteral("cbPipeSize"));
    m_cbPipeSize->setEditable(true);
    m_cbPipeSize->setInsertPolicy(QComboBox::NoInsert);
    m_edPipeLength->setToolTip(QStringLiteral("Pipe length or distance to compressor house"));

    auto* fields = new QFormLayout;
    AddLabelledRow(
        fields, NamedLabel(QStringLiteral("lbPipeSize"), QStringLiteral("Inlet Pipe Size . . . ")),
        m_cbPipeSize);
    AddLabelledRow(
        fields,
        NamedLabel(QStringLiteral("lbPipeLength"), QStringLiteral("Inlet Pipe Length . . . ")),
        m_edPipeLength);
    m_demand.addTo(fields);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(OkCancelRow(this, QStringLiteral("Ok"), QStringLiteral("Cancel")));
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void InletDialog::prepare(const TInlet* inlet, const QString& pipeSizes, DisplayUnits units)
{
    m_units = units;
    m_newInlet = !inlet;
    setWindowTitle(inlet ? inlet->Name : QStringLiteral("Inlet Attributes"));
    m_cbPipeSize->clear();
    m_cbPipeSize->addItems(pipeSizes.split(u'\n', Qt::SkipEmptyParts));
    m_demand.setVisible(inlet);
    m_confirmedDemand = inlet ? inlet->Demand : AirDemand{};
    m_demand.show(m_confirmedDemand);
    if (inlet) {
        m_cbPipeSize->setEditText(SizeText(inlet->PipeSize));
        m_edPipeLength->setText(LengthEditText(inlet->PipeLength, units));
    } else {
        m_cbPipeSize->setCurrentIndex(m_cbPipeSize->count() > 0 ? 0 : -1);
        m_edPipeLength->setText(LengthEditText(m_newInletLength, units));
    }
    m_cbPipeSize->setFocus();
}

void InletDialog::accept()
{
    const Parsed<InletValues> read =
        ReadInletEntry(m_cbPipeSize->currentText(), m_edPipeLength->text(), m_units);
    if (!read) {
        Ui().inform(read.error());
        return;
    }
    const Parsed<AirDemand> demand = m_demand.read();
    if (!m_newInlet && !demand) {
        Ui().inform(demand.error());
        return;
    }
    m_values = read.value();
    if (!m_newInlet)
        m_confirmedDemand = demand.value();
    if (m_newInlet)
        m_newInletLength = m_values.PipeLength;
    QDialog::accept();
}

} // namespace pipeloop
