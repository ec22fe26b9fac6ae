#include "EditLengthDialog.h"

#include "UiServices.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace pipeloop
{

TextQueryDialog::TextQueryDialog(QWidget* parent)
    : QDialog(parent), m_prompt(new QLabel(this)), m_editor(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TextQueryForm"));
    m_prompt->setObjectName(QStringLiteral("lbPrompt"));
    m_editor->setObjectName(QStringLiteral("edValue"));
    m_prompt->setBuddy(m_editor);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addWidget(m_editor);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_editor->setMinimumWidth(250);
}

void TextQueryDialog::setQuery(const QString& caption, const QString& prompt, const QString& text)
{
    setWindowTitle(caption);
    m_prompt->setText(prompt);
    m_editor->setText(text);
    m_editor->selectAll();
    m_editor->setFocus();
}

QString TextQueryDialog::text() const
{
    return m_editor->text();
}

bool EditText(QWidget* parent, const QString& caption, const QString& prompt, QString& text)
{
    TextQueryDialog dialog(parent);
    dialog.setQuery(caption, prompt, text);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.text();
    return true;
}

bool AcceptTypedLength(const QString& typed, int32_t& millimetres, DisplayUnits units)
{
    const Parsed<int32_t> length = ReadTypedLength(typed, units);
    if (!length) {
        Ui().inform(length.error());
        return false;
    }
    millimetres = length.value();
    return true;
}

bool EditLength(QWidget* parent, const QString& caption, const QString& prompt,
                int32_t& millimetres, DisplayUnits units)
{
    // A value not yet set (-1) starts with an empty field, not with the huge
    // number its unsigned display form would give.
    QString typed = millimetres >= 0 ? FormatLength(uint32_t(millimetres), units) : QString();
    if (!EditText(parent, caption, prompt, typed))
        return false;
    return AcceptTypedLength(typed, millimetres, units);
}

} // namespace pipeloop
