#include "DialogParts.h"

#include "AttributeEntries.h"
#include "EntryKeyFilter.h"
#include "PipeLoopObjects.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pipeloop
{

QLabel* NamedLabel(const QString& name, const QString& text)
{
    auto* label = new QLabel(text);
    label->setObjectName(name);
    return label;
}

QLineEdit* NamedEdit(const QString& name, const QString& text, const QString& hint)
{
    auto* edit = new QLineEdit(text);
    edit->setObjectName(name);
    edit->setToolTip(hint);
    return edit;
}

QGroupBox* NamedGroup(const QString& name, const QString& title)
{
    auto* group = new QGroupBox(title);
    group->setObjectName(name);
    return group;
}

QRadioButton* NamedRadio(const QString& name, const QString& text)
{
    auto* button = new QRadioButton(text);
    button->setObjectName(name);
    return button;
}

void AddLabelledRow(QFormLayout* form, QLabel* label, QWidget* field)
{
    label->setBuddy(field);
    form->addRow(label, field);
}

void CheckChoice(QButtonGroup* group, int id)
{
    group->button(id)->setChecked(true);
    for (QAbstractButton* button : group->buttons()) {
        const Qt::FocusPolicy policy = button->focusPolicy();
        button->setFocusPolicy(button->isChecked() ? Qt::FocusPolicy(policy | Qt::TabFocus)
                                                   : Qt::FocusPolicy(policy & ~Qt::TabFocus));
    }
}

QString LengthEditText(int32_t millimetres, DisplayUnits units)
{
    return millimetres >= 0 ? FormatLength(uint32_t(millimetres), units) : QString();
}

QLineEdit* LengthEdit(const QString& name)
{
    QLineEdit* edit = NamedEdit(name, {});
    EntryKeyFilter::install(edit, EntryKeyFilter::Rule::Length);
    return edit;
}

QHBoxLayout* OkCancelRow(QDialog* dialog, const QString& okCaption, const QString& cancelCaption)
{
    auto* ok = new QPushButton(okCaption);
    ok->setObjectName(QStringLiteral("bbOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(cancelCaption);
    cancel->setObjectName(QStringLiteral("bbCancel"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

void DemandFields::addTo(QFormLayout* form)
{
    m_demandLabel = NamedLabel(QStringLiteral("lbAirDemand"), QStringLiteral("Air demand (l/s)"));
    m_usageLabel = NamedLabel(QStringLiteral("lbUsageFactor"), QStringLiteral("Usage factor"));
    m_demand = NamedEdit(QStringLiteral("edAirDemand"), {},
                         QStringLiteral("Free air the outlet draws while in use"));
    m_usage = NamedEdit(QStringLiteral("edUsageFactor"), {},
                        QStringLiteral("Share of the time it is in use, from 0 to 1"));
    AddLabelledRow(form, m_demandLabel, m_demand);
    AddLabelledRow(form, m_usageLabel, m_usage);
}

void DemandFields::show(const AirDemand& demand)
{
    m_demand->setText(FormatGeneral(demand.LitresPerSecond));
    m_usage->setText(FormatGeneral(demand.UsageFactor));
}

void DemandFields::setVisible(bool visible)
{
    for (QWidget* widget :
         {static_cast<QWidget*>(m_demandLabel), static_cast<QWidget*>(m_usageLabel),
          static_cast<QWidget*>(m_demand), static_cast<QWidget*>(m_usage)})
        widget->setVisible(visible);
}

Parsed<AirDemand> DemandFields::read() const
{
    return ReadDemandEntry(m_demand->text(), m_usage->text());
}

} // namespace pipeloop
