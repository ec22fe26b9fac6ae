#include "DateForm.h"

#include "Clock.h"
#include "UiServices.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace pipeloop
{

TDateForm::TDateForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DateForm"));
    setWindowTitle(QStringLiteral("Price list expiry date"));
    m_calendar = new QCalendarWidget;
    m_calendar->setObjectName(QStringLiteral("calExpiryDate"));
    m_calendar->setAccessibleName(QStringLiteral("Expiry date"));
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_ok->setObjectName(QStringLiteral("btnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("Cancel"));
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_ok, &QPushButton::clicked, this, &TDateForm::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TDateForm::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_calendar);
    layout->addLayout(buttons);
    Prepare();
}

void TDateForm::Prepare()
{
    const QDate today = Clock::current().today();
    m_calendar->setSelectedDate(today);
    m_calendar->setCurrentPage(today.year(), today.month());
}

QDate TDateForm::date() const
{
    return m_calendar->selectedDate();
}

void TDateForm::accept()
{
    // Today itself is accepted: a list may expire at the end of the day.
    if (date() < Clock::current().today()) {
        Ui().warn(QStringLiteral("Date selected is before today."));
        return;
    }
    QDialog::accept();
}

} // namespace pipeloop
