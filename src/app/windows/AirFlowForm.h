#pragma once

// TAirFlowForm: "PIPELOOP Air Flow Calculations", a small modal window that
// estimates the pressure drop along a compressed-air main, or the pressure,
// flow or bore that goes with a drop (AirFlow.h does the sums). It works on
// its own fields only and keeps them from one opening to the next.

#include "AirFlow.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace pipeloop
{

class TAirFlowForm : public QDialog
{
    Q_OBJECT
public:
    explicit TAirFlowForm(QWidget* parent = nullptr);

    // Shows the window modally until Close.
    void Open();
    // The "Report" button: the fields' messages in warning boxes, or the
    // report's lines in the memo on the "Report" tab, which comes to the front.
    void Report();
    // What the fields hold, as the calculator takes it.
    AirFlowRequest request() const;

    QLineEdit* flowEdit() const { return m_flow; }
    QComboBox* flowUnitBox() const { return m_flowUnit; }
    QLineEdit* pressureEdit() const { return m_pressure; }
    QLineEdit* pressureDropEdit() const { return m_pressureDrop; }
    QRadioButton* calculationButton(AirFlowCalculation calculation) const;
    QPlainTextEdit* reportMemo() const { return m_report; }
    QTabWidget* tabs() const { return m_tabs; }

private:
    QWidget* createFieldsTab();
    QWidget* createCalculationGroup();
    QWidget* createReportTab();
    QWidget* createButtons();

    QTabWidget* m_tabs = nullptr;
    QLineEdit* m_flow = nullptr;
    QComboBox* m_flowUnit = nullptr;
    QLineEdit* m_pressure = nullptr;
    QLineEdit* m_pressureDrop = nullptr;
    QList<QRadioButton*> m_calculations; // in the order of AirFlowCalculation
    QPlainTextEdit* m_report = nullptr;
};

} // namespace pipeloop
