#include "NotesEditor.h"

#include "Rounding.h"
#include "SettingsStore.h"

#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pipeloop
{

namespace
{
const QString FontNameKey = QStringLiteral("EditNotesFont");
const QString FontSizeKey = QStringLiteral("EditNotesFontSize");
const QString CharSetKey = QStringLiteral("EditNotesCharSet");
constexpr int MinimumHeight = 200;
constexpr int MaximumFontSize = 1000;

std::optional<QFont> askForFont(const QFont& current, QWidget* parent)
{
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, current, parent);
    if (!chosen)
        return std::nullopt;
    return font;
}

QStringList linesOf(const QString& text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char('\n'));
}
} // namespace

NotesEditorDialog::NotesEditorDialog(QWidget* parent)
    : QDialog(parent), m_editor(new QPlainTextEdit(this)),
      m_fontButton(new QPushButton(QStringLiteral("Font"), this)), m_chooseFont(askForFont)
{
    setObjectName(QStringLiteral("EditNotesForm"));
    m_editor->setObjectName(QStringLiteral("meNotes"));
    m_fontButton->setObjectName(QStringLiteral("bbFont"));
    // Notes are kept line by line: a long line must stay one line.
    m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(m_fontButton, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_fontButton, &QPushButton::clicked, this, &NotesEditorDialog::chooseFont);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_editor, 1);
    layout->addWidget(buttons);
    setMinimumHeight(MinimumHeight);
    resize(500, 350);
}

NotesEditorDialog::Result NotesEditorDialog::edit(const QString& caption, const QString& notes)
{
    setWindowTitle(caption);
    setNotes(notes);
    m_editor->setFocus();
    Result result;
    result.accepted = exec() == QDialog::Accepted;
    result.changed = result.accepted && notesChanged();
    result.text = result.accepted ? this->notes() : notes;
    result.lines = linesOf(result.text);
    return result;
}

NotesEditorDialog::Result NotesEditorDialog::edit(const QString& caption,
                                                  const QStringList& noteLines)
{
    return edit(caption, noteLines.join(QLatin1Char('\n')));
}

void NotesEditorDialog::setNotes(const QString& notes)
{
    m_original = notes;
    m_editor->setPlainText(notes);
}

QString NotesEditorDialog::notes() const
{
    return m_editor->toPlainText();
}

bool NotesEditorDialog::notesChanged() const
{
    return notes() != m_original;
}

QFont NotesEditorDialog::editorFont() const
{
    return m_editor->font();
}

void NotesEditorDialog::setEditorFont(const QFont& font)
{
    m_editor->setFont(font);
}

void NotesEditorDialog::chooseFont()
{
    if (!m_chooseFont)
        return;
    if (const std::optional<QFont> font = m_chooseFont(editorFont(), this))
        setEditorFont(*font);
}

void NotesEditorDialog::LoadSettings(const SettingsStore& settings)
{
    QFont font = editorFont();
    const QString family = settings.RegReadText(FontNameKey, font.family());
    if (!family.isEmpty())
        font.setFamily(family);
    const int size = settings.RegReadInt(FontSizeKey, Round(font.pointSizeF()));
    // A size Qt refuses (0 or less) or that no screen could show keeps the current one.
    if (size > 0 && size <= MaximumFontSize)
        font.setPointSize(size);
    m_charSet = settings.RegReadInt(CharSetKey, m_charSet);
    setEditorFont(font);
}

void NotesEditorDialog::SaveSettings(SettingsStore& settings) const
{
    // QFontInfo gives the size in points even for a font set in pixels.
    const QFontInfo font(editorFont());
    settings.writeText(FontNameKey, editorFont().family());
    settings.writeInt(FontSizeKey, Round(font.pointSizeF()));
    settings.writeInt(CharSetKey, m_charSet);
}

} // namespace pipeloop
