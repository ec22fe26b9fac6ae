#pragma once

// TEditPositionForm: a position typed as three distances in the design's
// units. Made for each use.

#include "ModelTypes.h"
#include "Units.h"

#include <QDialog>

class QLineEdit;

namespace pipeloop
{

class PositionDialog : public QDialog
{
    Q_OBJECT
public:
    PositionDialog(const Position& position, const QString& caption, DisplayUnits units,
                   QWidget* parent = nullptr);

    // The position the last OK read.
    const Position& position() const { return m_position; }

    QLineEdit* westEdit() const { return m_edEW; }
    QLineEdit* northEdit() const { return m_edNS; }
    QLineEdit* heightEdit() const { return m_edHG; }

public slots:
    // OK: closes when all three texts read; otherwise says which did not and stays.
    void accept() override;

private:
    QLineEdit* m_edEW;
    QLineEdit* m_edNS;
    QLineEdit* m_edHG;
    DisplayUnits m_units;
    Position m_position;
};

} // namespace pipeloop
