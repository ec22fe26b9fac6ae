#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPlainTextEdit;
class QPushButton;

namespace pipeloop
{

class SettingsStore;

// The project notes editor: plain multi-line text with a choice of font. It
// takes the notes and hands back the edited text and whether it was changed;
// the font is the user's and persists through the settings.
class NotesEditorDialog : public QDialog
{
    Q_OBJECT

public:
    // Asks the user for a font, starting at the current one; nothing on cancel.
    using FontChooser = std::function<std::optional<QFont>(const QFont& current, QWidget* parent)>;

    struct Result {
        bool accepted = false; // closed with OK
        bool changed = false;  // accepted, and the text differs from the one given
        QString text;          // the edited text, or the one given when cancelled
        QStringList lines;     // text as note lines; an empty text has none
    };

    explicit NotesEditorDialog(QWidget* parent = nullptr);

    // Edits notes modally.
    Result edit(const QString& caption, const QString& notes);
    Result edit(const QString& caption, const QStringList& noteLines);

    void setNotes(const QString& notes);
    QString notes() const;
    // Whether the text now differs from the one last set.
    bool notesChanged() const;

    QFont editorFont() const;
    void setEditorFont(const QFont& font);
    // The "Font" button: asks for a font and applies it.
    void chooseFont();
    // Replaces the font dialog (tests).
    void setFontChooser(FontChooser chooser) { m_chooseFont = std::move(chooser); }

    // "EditNotesFont", "EditNotesFontSize" and "EditNotesCharSet".
    void LoadSettings(const SettingsStore& settings);
    void SaveSettings(SettingsStore& settings) const;

    QPlainTextEdit* editor() const { return m_editor; }
    QPushButton* fontButton() const { return m_fontButton; }

private:
    QPlainTextEdit* m_editor;
    QPushButton* m_fontButton;
    FontChooser m_chooseFont;
    QString m_original;
    int m_charSet = 1; // kept for the settings; Qt fonts carry no character set
};

} // namespace pipeloop
