#pragma once

#include "IniFile.h"

#include <QList>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;
class QWidget;

namespace pipeloop
{

// Captions and hints in another language, from a Windows-1252 INI text beside
// the program (same base name, ".ltf"). Where the file or an entry is missing
// the built-in English text stays. The file is read once and never written.
//
// Sections: "MainMenu" keyed by menu action names; one section per form, keyed
// by control name + "_hint" (tool tip) and name + "_caption" (text of labels,
// buttons and group boxes); "Colours" keyed by the colour name as shown.
class TLanguage
{
public:
    TLanguage() = default;

    // The one language of the program.
    static TLanguage& Instance();

    // Reads the file; false (and translation off) when it cannot be read.
    bool Load(const QString& path);
    // Uses an INI text already in memory.
    void LoadFrom(const IniFile& text);
    // Turns translation off again.
    void Unload();
    bool Loaded() const { return m_loaded; }

    // The file's value for the key, or defaultText when the file is not loaded
    // or lacks the key. A key with an empty value gives an empty text.
    QString Translate(const QString& defaultText, const QString& section, const QString& key) const;

    // Re-captions every action of the menu bar at every depth, keyed by the
    // action's objectName() in "MainMenu". Actions without a name are left alone.
    void TranslateMenu(QMenuBar* menuBar) const;
    void TranslateMenu(QMenu* menu) const;

    // Re-captions the named controls of a form (section = the form's
    // objectName()): the tool tip of every widget, the text of labels and
    // buttons, the title of group boxes and the caption of tab pages (keyed by
    // the page's name). Standard dialog buttons (OK,
    // Cancel, ... of a QDialogButtonBox) keep their captions.
    void TranslateForm(QWidget* form) const;

    // The name of a pipe colour as the new project wizard lists it.
    QString TranslateColour(const QString& colourName) const;

private:
    void translateActions(const QList<QAction*>& actions) const;
    void translateWidget(QWidget* widget, const QString& section) const;
    void translateTabs(QTabWidget* tabs, const QString& section) const;

    IniFile m_text;
    bool m_loaded = false;
};

// The language file of a program: same folder and base name, extension ".ltf".
QString LanguageFilePathFor(const QString& programPath);

} // namespace pipeloop
