#pragma once

// The typed-character rules of the entry fields, shared by every dialog: a
// length field takes only what a length can be written with, a size field
// only what a size can, a number field digits and a decimal point (the full
// stop or the locale's). Cursor and editing keys always pass.

#include <QChar>
#include <QObject>

class QLineEdit;

namespace pipeloop
{

// The keys a size field takes: backspace, the double-quote mark, the slash,
// the digits and the locale's decimal separator.
bool SizeKeyAllowed(QChar key);

class EntryKeyFilter : public QObject
{
    Q_OBJECT
public:
    enum class Rule { Length, Size, Number };
    // What the user hears of a dropped key.
    enum class Refusal { Beep, Silent };

    // Filters the edit's typed keys; the filter belongs to the edit.
    static EntryKeyFilter* install(QLineEdit* edit, Rule rule, Refusal refusal = Refusal::Beep);

signals:
    // A typed key was dropped.
    void refused(QChar key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EntryKeyFilter(QLineEdit* edit, Rule rule, Refusal refusal);
    bool allowed(QChar key) const;

    QLineEdit* m_edit;
    Rule m_rule;
    Refusal m_refusal;
};

} // namespace pipeloop
