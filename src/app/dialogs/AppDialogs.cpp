#include "AppDialogs.h"

#include "EditLengthDialog.h"
#include "NewProjectWizard.h"

#include "Canvas.h"

#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QGuiApplication>

namespace pipeloop
{

QString WidgetAppDialogs::openFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& start)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString WidgetAppDialogs::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                       const QString& defaultSuffix, const QString& start)
{
    QFileDialog dialog(parent, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool WidgetAppDialogs::queryText(QWidget* parent, const QString& title, const QString& prompt,
                                 QString& text)
{
    return EditText(parent, title, prompt, text);
}

NotesEditorDialog::Result WidgetAppDialogs::editNotes(NotesEditorDialog& editor,
                                                      const QString& caption, const QString& notes)
{
    return editor.edit(caption, notes);
}

bool WidgetAppDialogs::runWizard(TNewProjectForm& wizard)
{
    return wizard.exec() == QDialog::Accepted;
}

QString WidgetAppDialogs::clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

std::optional<WinColour> WidgetAppDialogs::chooseColour(QWidget* parent, const QString& title,
                                                        const QString& /*helpTopic*/,
                                                        WinColour current)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(current), parent, title);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

} // namespace pipeloop
