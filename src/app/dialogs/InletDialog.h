#pragma once

// TInletForm: the pipe size and length of an inlet, new or existing. The
// window is made once and reused; the length it offers a new inlet is the
// last one confirmed for a new inlet, kept in millimetres so that it reads
// the same in any design's units.

#include "AttributeEntries.h"
#include "DialogParts.h"
#include "PipeLoopObjects.h"
#include "Units.h"

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLineEdit;

namespace pipeloop
{

class TInlet;

// The values confirmed for an inlet: an existing inlet takes them and the
// demand (true when they changed it), a new one leaves them to the caller
// (true).
bool TakeInletValues(TInlet* inlet, const InletValues& confirmed, InletValues& values,
                     const AirDemand& demand);

class InletDialog : public QDialog
{
    Q_OBJECT
public:
    explicit InletDialog(QWidget* parent = nullptr);

    // Sets the window up for inlet (null: a new inlet), offering the sizes
    // of pipeSizes (one per line).
    void prepare(const TInlet* inlet, const QString& pipeSizes, DisplayUnits units);
    // The values the last OK read.
    const InletValues& values() const { return m_values; }
    // What the inlet's compressor delivers, as the last OK read it (an
    // existing inlet's only: a new one has none yet).
    const AirDemand& demand() const { return m_confirmedDemand; }
    const DemandFields& demandFields() const { return m_demand; }

    QComboBox* sizeBox() const { return m_cbPipeSize; }
    QLineEdit* lengthEdit() const { return m_edPipeLength; }

public slots:
    // OK: closes when both texts read; otherwise says which did not and stays.
    void accept() override;

private:
    QComboBox* m_cbPipeSize;
    QLineEdit* m_edPipeLength;
    DisplayUnits m_units = DisplayUnits::Millimetres;
    bool m_newInlet = true;
    int32_t m_newInletLength = 2000;
    InletValues m_values;
    DemandFields m_demand;
    AirDemand m_confirmedDemand;
};

} // namespace pipeloop
