#pragma once

// A main window over scripted settings, dialogs and messages, so that no test
// ever waits for a person.

#include "AppDialogs.h"
#include "AttributeEntries.h"
#include "DesignView.h"
#include "DrawingArea.h"
#include "DropViewPanel.h"
#include "EditLengthDialog.h"
#include "EditRules.h"
#include "FileCommands.h"
#include "InletDialog.h"
#include "MainForm.h"
#include "MsgBox.h"
#include "NewProjectWizard.h"
#include "PartsDatabase.h"
#include "PipeLoop.h"
#include "PipeLoopObjects.h"
#include "PromptSession.h"
#include "ScriptedUi.h"
#include "SettingsStore.h"
#include "SizeEntryDialog.h"
#include "UiServices.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <array>
#include <deque>
#include <functional>
#include <memory>
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
    QString saveFileName(QWidget*, const QString& title, const QString& filter,
                         const QString& defaultSuffix, const QString&) override
    {
        titles.append(title);
        saveFilters.append(filter);
        saveSuffixes.append(defaultSuffix);
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
    // The print dialog answers with a PDF of each queued path, as a user
    // choosing "Print to PDF" would; an empty queue (or path) is Cancel.
    std::optional<PrintDestination> choosePrintDestination(QWidget*, const PrintJob& job) override
    {
        titles.append(job.title);
        printJobs.push_back(job);
        const QString path = take(pdfAnswers);
        if (path.isEmpty())
            return std::nullopt;
        return PrintDestination{{PrintOutput::Kind::PdfFile, PdfOutputName()}, path};
    }
    std::optional<FontSpec> chooseFont(QWidget*, const FontSpec&) override { return fontAnswer; }

    // The attribute dialogs answer as their OK buttons would, with the same
    // reading rules; an empty queue (or nothing queued) is Cancel.
    bool enterSize(QWidget*, const QString& title, const QString&, float& size,
                   const QString& sizeList) override
    {
        titles.append(title);
        return answerWith(sizeAnswers, [&](const QString& text) {
            const std::optional<float> read = ConfirmSizeEntry(text, sizeList);
            if (read)
                size = *read;
            return read.has_value();
        });
    }
    bool enterLength(QWidget*, const QString& title, const QString&, int32_t& millimetres,
                     DisplayUnits units) override
    {
        titles.append(title);
        return answerWith(lengthAnswers, [&](const QString& text) {
            return AcceptTypedLength(text, millimetres, units);
        });
    }
    bool editDrop(QWidget*, TDrop& drop, const catalogue::TPartsDatabase&, DisplayUnits units,
                  bool isNew, float) override
    {
        titles.append(isNew ? QStringLiteral("New Drop Attributes") : drop.Name);
        if (dropAnswers.empty())
            return false;
        const auto answer = dropAnswers.front();
        dropAnswers.pop_front();
        const std::optional<DropEntry> entry = answer(DropEntryOf(drop, units));
        if (!entry)
            return false;
        const Parsed<bool> changed = ApplyDropEntry(drop, *entry, units);
        if (!changed) {
            Ui().inform(changed.error());
            return false;
        }
        return isNew || changed.value();
    }
    bool editInlet(QWidget*, TInlet* inlet, const catalogue::TPartsDatabase&, DisplayUnits units,
                   InletValues& values) override
    {
        titles.append(inlet ? inlet->Name : QStringLiteral("Inlet Attributes"));
        if (inletAnswers.empty() || !inletAnswers.front()) {
            if (!inletAnswers.empty())
                inletAnswers.pop_front();
            return false;
        }
        const auto [size, length] = *inletAnswers.front();
        inletAnswers.pop_front();
        const Parsed<InletValues> read = ReadInletEntry(size, length, units);
        if (!read) {
            Ui().inform(read.error());
            return false;
        }
        // The scripted answer leaves the demand as it was.
        return TakeInletValues(inlet, read.value(), values, inlet ? inlet->Demand : AirDemand{});
    }
    bool editPosition(QWidget*, Position& position, const QString& caption,
                      DisplayUnits units) override
    {
        titles.append(caption);
        if (positionAnswers.empty() || !positionAnswers.front()) {
            if (!positionAnswers.empty())
                positionAnswers.pop_front();
            return false;
        }
        const auto [ew, ns, hg] = *positionAnswers.front();
        positionAnswers.pop_front();
        const Parsed<Position> read = ReadPositionEntry(ew, ns, hg, units);
        if (!read) {
            Ui().inform(read.error());
            return false;
        }
        position = read.value();
        return true;
    }

    // The part windows: what each was opened with ("symbol size assigned"),
    // answered from partAnswers (nullopt or an empty queue is Cancel).
    std::optional<QString> selectVendorParts(QWidget*, catalogue::TPartsDatabase&,
                                             const QString& symbolName, float dropSize,
                                             const QString& assigned, const QString&) override
    {
        return answerPartWindow(QStringLiteral("Part Selector"), symbolName,
                                QString::number(dropSize), assigned);
    }
    std::optional<QString> selectUserParts(QWidget*, catalogue::UserPartsDatabase&,
                                           catalogue::TPartsDatabase&, const QString& symbolName,
                                           const QString& assigned, const QString& connectingSize,
                                           const QString&) override
    {
        return answerPartWindow(QStringLiteral("User Part Selector : ") + symbolName, symbolName,
                                connectingSize, assigned);
    }

    QStringList titles;
    QStringList partWindows;
    std::deque<std::optional<QString>> partAnswers;
    // The save dialog's filters and default suffixes, as asked.
    QStringList saveFilters;
    QStringList saveSuffixes;
    // Texts typed into the size and length entries; nullopt is Cancel.
    std::deque<std::optional<QString>> sizeAnswers;
    std::deque<std::optional<QString>> lengthAnswers;
    // Each answer sees the drop dialog as it opened and returns the texts
    // left in it on OK, or nullopt for Cancel.
    std::deque<std::function<std::optional<DropEntry>(const DropEntry& shown)>> dropAnswers;
    // Inlet size and length texts; position EW, NS and height texts.
    std::deque<std::optional<std::pair<QString, QString>>> inletAnswers;
    std::deque<std::optional<std::array<QString, 3>>> positionAnswers;
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::optional<QString>> textAnswers;
    std::optional<QString> notesAnswer;
    std::function<bool(TNewProjectForm&)> wizard_;
    QString clipboard;
    std::optional<WinColour> colourAnswer;
    std::deque<QString> pdfAnswers;
    std::vector<PrintJob> printJobs;
    std::optional<FontSpec> fontAnswer;

private:
    std::optional<QString> answerPartWindow(const QString& title, const QString& symbolName,
                                            const QString& size, const QString& assigned)
    {
        titles.append(title);
        partWindows.append(QStringList{symbolName, size, assigned}.join(u' '));
        if (partAnswers.empty())
            return std::nullopt;
        const std::optional<QString> answer = partAnswers.front();
        partAnswers.pop_front();
        return answer;
    }
    template <typename Read>
    static bool answerWith(std::deque<std::optional<QString>>& answers, Read read)
    {
        if (answers.empty())
            return false;
        const std::optional<QString> answer = answers.front();
        answers.pop_front();
        return answer && read(*answer);
    }
    static QString take(std::deque<QString>& answers)
    {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The demo catalogue beside the program, loaded once for the whole run.
inline const catalogue::TPartsDatabase& DemoCatalogue()
{
    static const auto demo = [] {
        auto loaded = std::make_unique<catalogue::TPartsDatabase>();
        loaded->LoadContainer(QStringLiteral(PIPELOOP_APP_DIR) + "zavoza.pldbcab");
        return loaded;
    }();
    return *demo;
}

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

// A click on a symbol of the drop view's close-up, as painted there.
inline void ClickDropViewSymbol(TMainForm& form, int index)
{
    form.show(); // the close-up has its size once the window is laid out
    auto* closeUp = form.dropView().findChild<PaintBox*>(QStringLiteral("pbDropView"));
    closeUp->grab(); // paints it: the symbols' places are known once drawn
    const auto& stack = dynamic_cast<const TObjectWithSymbols&>(*form.document().selected());
    // A point of the symbol's place that no symbol before it covers.
    const SymbolRect place = stack.SymbolRectOf(index);
    QPoint point((place.Left + place.Right) / 2, place.Top);
    while (point.y() < place.Bottom && stack.SymbolAt(point) != index)
        point.ry() += 1;
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(point),
                      QPointF(closeUp->mapToGlobal(point)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(closeUp, &press);
}

inline void PressPromptButton(TMainForm& form, const QString& caption)
{
    form.prompt().box()->button(caption)->click();
}

} // namespace pipeloop::testing
