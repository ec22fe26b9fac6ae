#pragma once

// TDropForm: the style, length, outlet and hose group of a drop. It opens on
// the drop's own state every time, offers the outlets its catalogue holds for
// the style and pipe size, and writes the drop only when OK has passed every
// check. The window is made once and reused.

#include "AttributeEntries.h"
#include "DialogParts.h"
#include "PipeLoopObjects.h"
#include "Units.h"

#include <QDialog>

class QAbstractButton;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace pipeloop
{

class PaintBox;
namespace catalogue
{
class TPartsDatabase;
}

class DropDialog : public QDialog
{
    Q_OBJECT
public:
    explicit DropDialog(QWidget* parent = nullptr);

    // Sets the window up for drop, which OK will write; the outlets offered
    // are the catalogue's for the style at pipeSize.
    void prepare(TDrop& drop, const catalogue::TPartsDatabase& catalogue, DisplayUnits units,
                 bool isNew, float pipeSize);
    // After OK: true for a new drop, else whether the drop changed.
    bool result() const { return m_result; }

    // The controls as the user leaves them.
    DropEntry entry() const;

    QAbstractButton* styleButton(int style) const;
    QAbstractButton* connectionButton(HoseConnection connection) const;
    QLineEdit* lengthEdit() const { return m_edLength; }
    QComboBox* outletSizeBox() const { return m_cbOutletSize; }
    QComboBox* hoseSizeBox() const { return m_cbHoseSize; }
    QLabel* statusLabel() const { return m_lbStatus; }
    const DemandFields& demandFields() const { return m_demand; }

public slots:
    // OK: writes the drop, or shows why not and stays open.
    void accept() override;

private:
    QGroupBox* makeStyleGroup();
    QGroupBox* makeConnectionGroup();
    // The style rule: its warning, then the outlets it offers, keeping the
    // preferred outlet when it is one of them.
    void applyStyle(int style, const QString& preferredOutlet);
    QStringList outletSizes(int style) const;
    // The hose group can be chosen only for the female threaded styles, and
    // only added to a drop that carries no symbols yet.
    bool hoseAllowed(int style) const;

    QButtonGroup* m_styles = nullptr;
    QButtonGroup* m_connections = nullptr;
    QGroupBox* m_rgConnection = nullptr;
    QLineEdit* m_edLength;
    QComboBox* m_cbHoseSize;
    QLabel* m_lbHoseSize;
    QComboBox* m_cbOutletSize;
    PaintBox* m_pbPicture;
    QLabel* m_lbStatus;
    DemandFields m_demand;

    TDrop* m_drop = nullptr;
    const catalogue::TPartsDatabase* m_catalogue = nullptr;
    DisplayUnits m_units = DisplayUnits::Millimetres;
    bool m_isNew = false;
    float m_pipeSize = 0.0f;
    bool m_result = false;
    // The drop as the picture shows it: the one being edited, in the style chosen.
    TDrop m_pictured;
};

} // namespace pipeloop
