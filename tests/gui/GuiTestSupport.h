#pragma once

// A main window over scripted settings, dialogs and messages, so that no test
// ever waits for a person.

#include "AppDialogs.h"
#include "DesignView.h"
#include "DrawingArea.h"
#include "FileCommands.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "NewProjectWizard.h"
#include "PipeLoop.h"
#include "PromptSession.h"
#include "ScriptedUi.h"
#include "SettingsStore.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <optional>

namespace pipeloop::testing
{

class ScriptedDialogs : public AppDialogs
{
public:
    QString openFileName(QWidget*, const QString& title, const QString&, const QString&) override
    {
        titles.append(title);
        return take(openAnswers);
    }
    QString saveFileName(QWidget*, const QString& title, const QString&, const QString&,
                         const QString&) override
    {
        titles.append(title);
        return take(saveAnswers);
    }
    bool queryText(QWidget*, const QString& title, const QString&, QString& text) override
    {
        titles.append(title);
        if (textAnswers.empty())
            return false;
        const std::optional<QString> answer = textAnswers.front();
        textAnswers.pop_front();
        if (!answer)
            return false;
        text = *answer;
        return true;
    }
    NotesEditorDialog::Result editNotes(NotesEditorDialog&, const QString&,
                                        const QString& notes) override
    {
        NotesEditorDialog::Result result;
        result.accepted = notesAnswer.has_value();
        result.text = notesAnswer.value_or(notes);
        result.changed = result.text != notes;
        return result;
    }
    bool runWizard(TNewProjectForm& wizard) override { return wizard_ ? wizard_(wizard) : false; }
    QString clipboardText() override { return clipboard; }
    std::optional<WinColour> chooseColour(QWidget*, const QString& title, const QString&,
                                          WinColour) override
    {
        titles.append(title);
        return colourAnswer;
    }

    QStringList titles;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::optional<QString>> textAnswers;
    std::optional<QString> notesAnswer;
    std::function<bool(TNewProjectForm&)> wizard_;
    QString clipboard;
    std::optional<WinColour> colourAnswer;

private:
    static QString take(std::deque<QString>& answers)
    {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The wizard's OK with a building, a pipe size and an elbow choice.
inline std::function<bool(TNewProjectForm&)>
WizardAnswer(ElbowChoice elbows, const QString& ew = "5000", const QString& ns = "3000")
{
    return [=](TNewProjectForm& wizard) {
        wizard.eastWestEdit()->setText(ew);
        wizard.northSouthEdit()->setText(ns);
        wizard.pipeSizeBox()->setEditText(QStringLiteral("50mm"));
        wizard.outletSizeBox()->setEditText(QStringLiteral("25mm"));
        wizard.elbowButton(elbows)->setChecked(true);
        return wizard.Validate();
    };
}

// Everything a test of the main window needs, in the order it must be made.
struct MainWindowFixture {
    ScriptedUi ui;
    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    TMainForm form{settings, dialogs, QStringLiteral(PIPELOOP_APP_DIR)};

    void start() { form.FirstActivation(); }
    void newDesign(ElbowChoice elbows = ElbowChoice::DefaultLoop)
    {
        dialogs.wizard_ = WizardAnswer(elbows);
        form.files().newProject(false);
    }
    TPipeLoop* design() { return form.document().design(); }
    QAction* action(const char* id) { return form.commands().action(QString::fromLatin1(id)); }
    QMenu* menu(const char* id) { return form.commands().menu(QString::fromLatin1(id)); }
};

// The mouse on the drawing area, as the window gets it.
inline void SendMouse(TMainForm& form, QEvent::Type type, QPoint pixel, Qt::MouseButton button,
                      Qt::MouseButtons held, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    QWidget* area = form.view().drawingArea();
    QMouseEvent event(type, QPointF(pixel), QPointF(area->mapToGlobal(pixel)), button, held, keys);
    QCoreApplication::sendEvent(area, &event);
}

inline void MoveMouse(TMainForm& form, QPoint pixel, Qt::MouseButtons held = Qt::NoButton)
{
    SendMouse(form, QEvent::MouseMove, pixel, Qt::NoButton, held);
}

inline void PressMouse(TMainForm& form, QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
                       Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    SendMouse(form, QEvent::MouseButtonPress, pixel, button, button, keys);
}

inline void ReleaseMouse(TMainForm& form, QPoint pixel, Qt::MouseButton button = Qt::LeftButton,
                         Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    SendMouse(form, QEvent::MouseButtonRelease, pixel, button, Qt::NoButton, keys);
}

// A press and release of the left button at one point.
inline void Click(TMainForm& form, QPoint pixel, Qt::KeyboardModifiers keys = Qt::NoModifier)
{
    PressMouse(form, pixel, Qt::LeftButton, keys);
    ReleaseMouse(form, pixel, Qt::LeftButton, keys);
}

inline void PressPromptButton(TMainForm& form, const QString& caption)
{
    form.prompt().box()->button(caption)->click();
}

} // namespace pipeloop::testing
