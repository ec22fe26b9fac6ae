#include "DropDialog.h"

#include "DialogParts.h"
#include "DrawingArea.h"
#include "DropViewRenderer.h"
#include "PartsDatabase.h"
#include "QPainterCanvas.h"
#include "UiServices.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace pipeloop
{

namespace
{
const QStringList StyleCaptions{
    QStringLiteral("Female Threaded Drop"), QStringLiteral("Tee Drop"),
    QStringLiteral("Saddle Drop"),          QStringLiteral("Quick Drop"),
    QStringLiteral("Threaded Quick Drop"),  QStringLiteral("Female Saddle")};
const QStringList ConnectionCaptions{QStringLiteral("None"), QStringLiteral("Air Hose"),
                                     QStringLiteral("Recoil Hose")};
const QStringList HoseSizes{QStringLiteral("1/4\""), QStringLiteral("3/8\""),
                            QStringLiteral("1/2\"")};

// A radio group of the captions, its buttons named prefix + index.
QGroupBox* RadioGroup(const QString& name, const QString& title, const QString& prefix,
                      const QStringList& captions, QButtonGroup* buttons)
{
    QGroupBox* group = NamedGroup(name, title);
    auto* layout = new QVBoxLayout(group);
    for (int i = 0; i < captions.size(); ++i) {
        QRadioButton* button = NamedRadio(prefix + QString::number(i), captions[i]);
        buttons->addButton(button, i);
        layout->addWidget(button);
    }
    CheckChoice(buttons, 0);
    return group;
}

QComboBox* ListBox(const QString& name)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    return box;
}
} // namespace

DropDialog::DropDialog(QWidget* parent)
    : QDialog(parent), m_edLength(LengthEdit(QStringLiteral("edPipeLength"))),
      m_cbHoseSize(ListBox(QStringLiteral("cbHoseSize"))),
      m_lbHoseSize(NamedLabel(QStringLiteral("lbHoseSize"), QStringLiteral("Hose Size . . ."))),
      m_cbOutletSize(ListBox(QStringLiteral("cbOutletSize"))),
      m_pbPicture(new PaintBox(QStringLiteral("pbDropStyle"))),
      m_lbStatus(NamedLabel(QStringLiteral("lbStatus"), {}))
{
    setObjectName(QStringLiteral("DropForm"));
    m_edLength->setText(QStringLiteral("2000"));
    m_cbHoseSize->addItems(HoseSizes);
    m_pbPicture->setMinimumSize(120, 160);
    m_pbPicture->onPaint = [this](QPainter& painter, const QRect&) {
        QPainterCanvas canvas(painter);
        const PixelRect area{0, 0, m_pbPicture->width(), m_pbPicture->height()};
        canvas.setBrush({kWhite, BrushStyle::Solid});
        canvas.setPen({kWhite, 1, PenStyle::Solid});
        canvas.rectangle(area.left, area.top, area.right, area.bottom);
        DrawDropView(canvas, m_pictured, area, DropViewStyle{3, true, kBlack});
    };

    auto* fields = new QFormLayout;
    AddLabelledRow(
        fields,
        NamedLabel(QStringLiteral("lbPipeLength"), QStringLiteral("Pipe  Length or Hose Length :")),
        m_edLength);
    AddLabelledRow(fields, m_lbHoseSize, m_cbHoseSize);
    AddLabelledRow(fields,
                   NamedLabel(QStringLiteral("lbOutletSize"), QStringLiteral("Outlet Size . . .")),
                   m_cbOutletSize);
    m_demand.addTo(fields);
    auto* left = new QVBoxLayout;
    left->addWidget(makeStyleGroup());
    left->addWidget(makeConnectionGroup());
    left->addLayout(fields);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addWidget(m_pbPicture, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(m_lbStatus);
    layout->addLayout(OkCancelRow(this, QStringLiteral("Ok"), QStringLiteral("Cancel")));
}

QGroupBox* DropDialog::makeStyleGroup()
{
    m_styles = new QButtonGroup(this);
    QGroupBox* group =
        RadioGroup(QStringLiteral("rgDropStyle"), QStringLiteral(" Drop Style . . . "),
                   QStringLiteral("rbDropStyle"), StyleCaptions, m_styles);
    connect(m_styles, &QButtonGroup::idClicked, this,
            [this](int style) { applyStyle(style, m_cbOutletSize->currentText()); });
    return group;
}

QGroupBox* DropDialog::makeConnectionGroup()
{
    m_connections = new QButtonGroup(this);
    m_rgConnection =
        RadioGroup(QStringLiteral("rgConnectionType"),
                   QStringLiteral(" Threaded outlet connection type . . . "),
                   QStringLiteral("rbConnectionType"), ConnectionCaptions, m_connections);
    return m_rgConnection;
}

QAbstractButton* DropDialog::styleButton(int style) const
{
    return m_styles->button(style);
}

QAbstractButton* DropDialog::connectionButton(HoseConnection connection) const
{
    return m_connections->button(int(connection));
}

void DropDialog::prepare(TDrop& drop, const catalogue::TPartsDatabase& catalogue,
                         DisplayUnits units, bool isNew, float pipeSize)
{
    m_drop = &drop;
    m_catalogue = &catalogue;
    m_units = units;
    m_isNew = isNew;
    m_pipeSize = pipeSize;
    m_result = false;
    setWindowTitle(isNew ? QStringLiteral("New Drop Attributes") : drop.Name);

    const DropEntry shown = DropEntryOf(drop, units);
    m_edLength->setText(shown.Length);
    CheckChoice(m_styles, shown.Style);
    CheckChoice(m_connections, int(shown.Connection));
    m_cbHoseSize->setCurrentIndex(std::max(0, m_cbHoseSize->findText(shown.HoseSize)));
    m_lbStatus->setText(QStringLiteral("Pipe OD ") + SizeText(pipeSize));
    applyStyle(shown.Style, shown.Outlet);
    m_demand.show(drop.Demand);
    m_edLength->setFocus();
}

bool DropDialog::hoseAllowed(int style) const
{
    return (style == int(DropStyle::Female) || style == int(DropStyle::FemaleQuick)) && m_drop &&
           m_drop->Symbols.empty();
}

DropEntry DropDialog::entry() const
{
    DropEntry entry;
    entry.Style = m_styles->checkedId();
    entry.Length = m_edLength->text();
    entry.Outlet = m_cbOutletSize->currentText();
    // A choice the style or the drop's symbols rule out is no choice.
    if (hoseAllowed(entry.Style))
        entry.Connection = static_cast<HoseConnection>(m_connections->checkedId());
    entry.HoseSize = m_cbHoseSize->currentText();
    return entry;
}

void DropDialog::applyStyle(int style, const QString& preferredOutlet)
{
    const QString warning = DropStyleWarning(style, m_catalogue->Supplier());
    if (!warning.isEmpty())
        Ui().warn(warning);
    const QStringList sizes = outletSizes(style);
    m_cbOutletSize->clear();
    m_cbOutletSize->addItems(sizes);
    if (sizes.isEmpty())
        Ui().inform(NoOutletsMessage());
    else
        m_cbOutletSize->setCurrentIndex(std::max<qsizetype>(0, sizes.indexOf(preferredOutlet)));

    const bool hose = hoseAllowed(style);
    m_rgConnection->setEnabled(hose);
    m_lbHoseSize->setEnabled(hose);
    m_cbHoseSize->setEnabled(hose);

    m_pictured = *m_drop;
    m_pictured.SetStyle(style);
    m_pbPicture->update();
}

QStringList DropDialog::outletSizes(int style) const
{
    const QString sizes = m_catalogue->PartCount() == 0
                              ? BuiltInOutletSizes(style)
                              : m_catalogue->DropOutletSizes(style, m_pipeSize);
    return sizes.split(u'\n', Qt::SkipEmptyParts);
}

void DropDialog::accept()
{
    // Nothing is written until every field reads.
    const Parsed<AirDemand> demand = m_demand.read();
    if (!demand) {
        Ui().inform(demand.error());
        return;
    }
    const Parsed<bool> changed = ApplyDropEntry(*m_drop, entry(), m_units);
    if (!changed) {
        Ui().inform(changed.error());
        return;
    }
    const bool demandChanged = !(m_drop->Demand == demand.value());
    m_drop->Demand = demand.value();
    m_result = m_isNew || changed.value() || demandChanged;
    QDialog::accept();
}

} // namespace pipeloop
