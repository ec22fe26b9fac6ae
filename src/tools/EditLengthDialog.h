#pragma once

#include "Units.h"

#include <QDialog>
#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;

namespace pipeloop
{

// A one-line input box: caption, prompt, an edit field, OK and Cancel.
class TextQueryDialog : public QDialog
{
    Q_OBJECT

public:
    explicit TextQueryDialog(QWidget* parent = nullptr);

    void setQuery(const QString& caption, const QString& prompt, const QString& text);
    QString text() const;
    QLineEdit* editor() const { return m_editor; }

private:
    QLabel* m_prompt;
    QLineEdit* m_editor;
};

// Asks for one line of text, pre-filled with text. OK replaces text and gives
// true; Cancel leaves it and gives false.
bool EditText(QWidget* parent, const QString& caption, const QString& prompt, QString& text);

// Asks for a length in the project's units, pre-filled with its display form.
// OK with a valid length replaces millimetres and gives true; an invalid one
// (or a negative one) is reported as "Invalid value : " + the typed text and
// gives false with the value unchanged; Cancel gives false.
bool EditLength(QWidget* parent, const QString& caption, const QString& prompt,
                int32_t& millimetres, DisplayUnits units);

// The decision EditLength makes on a typed text, reporting a refusal through Ui().
bool AcceptTypedLength(const QString& typed, int32_t& millimetres, DisplayUnits units);

} // namespace pipeloop
