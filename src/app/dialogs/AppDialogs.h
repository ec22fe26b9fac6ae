#pragma once

// The modal questions the main window asks that are not message boxes: file
// choices, one-line texts, the notes editor, the new project wizard and the
// clipboard. Each takes a value and returns one, so tests answer them from a
// script instead of a person.

#include "NotesEditor.h"
#include "PipeLoopOptions.h"

#include <QString>

#include <optional>

class QWidget;

namespace pipeloop
{

class TNewProjectForm;

class AppDialogs
{
public:
    virtual ~AppDialogs() = default;

    // filter is in the file dialog's own form: "Pipe Loop Files (*.plf);;All Files (*)".
    // An empty result means Cancel.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& start) = 0;
    // Asks before overwriting; defaultSuffix is added to a name typed without one.
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                                 const QString& defaultSuffix, const QString& start) = 0;
    // OK replaces text and gives true.
    virtual bool queryText(QWidget* parent, const QString& title, const QString& prompt,
                           QString& text) = 0;
    virtual NotesEditorDialog::Result editNotes(NotesEditorDialog& editor, const QString& caption,
                                                const QString& notes) = 0;
    // Shows the prepared wizard modally; true when it closed with OK.
    virtual bool runWizard(TNewProjectForm& wizard) = 0;
    virtual QString clipboardText() = 0;
    // A colour, starting at current (0x00BBGGRR); nothing on Cancel.
    virtual std::optional<WinColour> chooseColour(QWidget* parent, const QString& title,
                                                  const QString& helpTopic, WinColour current) = 0;
};

// The real dialogs.
class WidgetAppDialogs : public AppDialogs
{
public:
    QString openFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& start) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter,
                         const QString& defaultSuffix, const QString& start) override;
    bool queryText(QWidget* parent, const QString& title, const QString& prompt,
                   QString& text) override;
    NotesEditorDialog::Result editNotes(NotesEditorDialog& editor, const QString& caption,
                                        const QString& notes) override;
    bool runWizard(TNewProjectForm& wizard) override;
    QString clipboardText() override;
    std::optional<WinColour> chooseColour(QWidget* parent, const QString& title,
                                          const QString& helpTopic, WinColour current) override;
};

} // namespace pipeloop
