#pragma once

// TDateForm: the calendar window "Price list expiry date" that "Save List" of
// the parts database browser asks before it writes a price list. It starts at
// today; OK refuses a day before today and keeps the window open, Cancel
// closes it without a date.

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QPushButton;

namespace pipeloop
{

class TDateForm : public QDialog
{
    Q_OBJECT
public:
    explicit TDateForm(QWidget* parent = nullptr);

    // The calendar back at today, as each save starts.
    void Prepare();
    QDate date() const;

    QCalendarWidget* calendar() const { return m_calendar; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

public slots:
    void accept() override;

private:
    QCalendarWidget* m_calendar = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace pipeloop
