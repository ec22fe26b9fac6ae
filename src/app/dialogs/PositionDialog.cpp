#include "PositionDialog.h"

#include "AttributeEntries.h"
#include "DialogParts.h"
#include "EntryKeyFilter.h"
#include "UiServices.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pipeloop
{

PositionDialog::PositionDialog(const Position& position, const QString& caption, DisplayUnits units,
                               QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_edEW(LengthEdit(QStringLiteral("edEW"))), m_edNS(LengthEdit(QStringLiteral("edNS"))),
      m_edHG(LengthEdit(QStringLiteral("edHG"))), m_units(units), m_position(position)
{
    setObjectName(QStringLiteral("EditPositionForm"));
    setWindowTitle(caption);
    m_edEW->setText(LengthEditText(position.EW, units));
    m_edNS->setText(LengthEditText(position.NS, units));
    m_edHG->setText(LengthEditText(position.HG, units));
    auto* fields = new QFormLayout;
    AddLabelledRow(fields,
                   NamedLabel(QStringLiteral("lbEW"), QStringLiteral("Distance From West Face")),
                   m_edEW);
    AddLabelledRow(fields,
                   NamedLabel(QStringLiteral("lbNS"), QStringLiteral("Distance From North Face")),
                   m_edNS);
    AddLabelledRow(fields, NamedLabel(QStringLiteral("lbHG"), QStringLiteral("Height above floor")),
                   m_edHG);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(OkCancelRow(this, QStringLiteral("&Ok"), QStringLiteral("&Cancel")));
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_edEW->setFocus();
}

void PositionDialog::accept()
{
    const Parsed<Position> read =
        ReadPositionEntry(m_edEW->text(), m_edNS->text(), m_edHG->text(), m_units);
    if (!read) {
        Ui().inform(read.error());
        return;
    }
    m_position = read.value();
    QDialog::accept();
}

} // namespace pipeloop
