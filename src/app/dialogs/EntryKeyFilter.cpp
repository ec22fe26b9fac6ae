#include "EntryKeyFilter.h"

#include "LocaleInfo.h"
#include "Units.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace pipeloop
{

bool SizeKeyAllowed(QChar key)
{
    return key == BackspaceKey || key == u'"' || key == u'/' || key.isDigit() ||
           key == LocaleInfo::decimalSeparator();
}

EntryKeyFilter* EntryKeyFilter::install(QLineEdit* edit, Rule rule, Refusal refusal)
{
    auto* filter = new EntryKeyFilter(edit, rule, refusal);
    edit->installEventFilter(filter);
    return filter;
}

EntryKeyFilter::EntryKeyFilter(QLineEdit* edit, Rule rule, Refusal refusal)
    : QObject(edit), m_edit(edit), m_rule(rule), m_refusal(refusal)
{
}

bool EntryKeyFilter::allowed(QChar key) const
{
    switch (m_rule) {
    case Rule::Size:
        return SizeKeyAllowed(key);
    case Rule::Number:
        return NumberKeyAllowed(key);
    case Rule::Length:
    default:
        return LengthKeyAllowed(m_edit->text(), key);
    }
}

bool EntryKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_edit || event->type() != QEvent::KeyPress)
        return false;
    const QString text = static_cast<QKeyEvent*>(event)->text();
    // Only typed characters are filtered; cursor and editing keys pass.
    if (text.size() != 1 || (!text[0].isPrint() && text[0] != BackspaceKey))
        return false;
    if (allowed(text[0]))
        return false;
    if (m_refusal == Refusal::Beep)
        QApplication::beep();
    emit refused(text[0]);
    return true;
}

} // namespace pipeloop
