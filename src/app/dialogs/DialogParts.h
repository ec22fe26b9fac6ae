#pragma once

// The controls every dialog builds alike. Each carries its component name,
// the key a language file translates it by.

#include "Parsed.h"
#include "Units.h"

#include <QString>

#include <cstdint>

class QButtonGroup;
class QDialog;
class QFormLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace pipeloop
{

struct AirDemand;

QLabel* NamedLabel(const QString& name, const QString& text);
QLineEdit* NamedEdit(const QString& name, const QString& text, const QString& hint = {});
QGroupBox* NamedGroup(const QString& name, const QString& title);
QRadioButton* NamedRadio(const QString& name, const QString& text);

// A row of the form whose label names its field: a screen reader reads the
// field by the label's text.
void AddLabelledRow(QFormLayout* form, QLabel* label, QWidget* field);

// Checks the group's button id the way a user's choice does: Tab then enters
// the group at that button, not at the group's first one.
void CheckChoice(QButtonGroup* group, int id);

// A length as its edit shows it in units; a length not yet known (below 0)
// shows as nothing rather than as the huge number of its unsigned form.
QString LengthEditText(int32_t millimetres, DisplayUnits units);

// An edit of a length, with the length key rule (refused keys beep).
QLineEdit* LengthEdit(const QString& name);

// The air demand of a drop or an inlet: litres per second (edAirDemand) and
// the usage factor (edUsageFactor), added to a form as two labelled rows.
class DemandFields
{
public:
    void addTo(QFormLayout* form);
    void show(const AirDemand& demand);
    void setVisible(bool visible);
    // What the fields hold, or why it is no demand.
    Parsed<AirDemand> read() const;

    QLineEdit* demandEdit() const { return m_demand; }
    QLineEdit* usageEdit() const { return m_usage; }

private:
    QLabel* m_demandLabel = nullptr;
    QLabel* m_usageLabel = nullptr;
    QLineEdit* m_demand = nullptr;
    QLineEdit* m_usage = nullptr;
};

// The OK and Cancel buttons (bbOk, bbCancel) at the right, wired to the
// dialog's accept() and reject(); OK is the default button.
QHBoxLayout* OkCancelRow(QDialog* dialog, const QString& okCaption, const QString& cancelCaption);

} // namespace pipeloop
