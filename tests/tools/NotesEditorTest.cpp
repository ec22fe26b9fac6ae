#include "NotesEditor.h"
#include "AboutWindow.h"
#include "ModalDriver.h"
#include "SettingsStore.h"
#include "Version.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace pipeloop;
using pipeloop::testing::WhenModalOpens;

namespace
{

QFont chosenFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setPointSize(17);
    return font;
}

TEST(NotesEditorTest, TheChosenFontIsPersistedAndRestored)
{
    MemorySettingsStore settings;
    settings.setRaw(QStringLiteral("EditNotesCharSet"), 238);
    {
        NotesEditorDialog editor;
        editor.LoadSettings(settings);
        editor.setFontChooser([](const QFont&, QWidget*) { return chosenFont(); });
        editor.fontButton()->click();
        EXPECT_EQ(editor.editor()->font().family(), QStringLiteral("Courier New"));
        editor.SaveSettings(settings);
    }
    EXPECT_EQ(settings.RegReadText(QStringLiteral("EditNotesFont"), {}), "Courier New");
    EXPECT_EQ(settings.RegReadInt(QStringLiteral("EditNotesFontSize"), 0), 17);
    EXPECT_EQ(settings.RegReadInt(QStringLiteral("EditNotesCharSet"), 0), 238)
        << "the character set is kept as read";

    NotesEditorDialog restored;
    restored.LoadSettings(settings);
    EXPECT_EQ(restored.editorFont().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(restored.editorFont().pointSize(), 17);
}

TEST(NotesEditorTest, CancellingTheFontDialogKeepsTheFont)
{
    NotesEditorDialog editor;
    editor.setEditorFont(chosenFont());
    editor.setFontChooser([](const QFont&, QWidget*) { return std::optional<QFont>(); });
    editor.chooseFont();
    EXPECT_EQ(editor.editorFont(), chosenFont());
}

TEST(NotesEditorTest, UnusableStoredSizesKeepTheCurrentFont)
{
    for (const QVariant& raw : {QVariant(0), QVariant(-4), QVariant(QStringLiteral("big"))}) {
        MemorySettingsStore settings;
        settings.setRaw(QStringLiteral("EditNotesFontSize"), raw);
        NotesEditorDialog editor;
        editor.setEditorFont(chosenFont());
        editor.LoadSettings(settings);
        EXPECT_EQ(editor.editorFont().pointSize(), 17) << raw.toString().toStdString();
    }
}

struct EditRun {
    bool ok;
    QString typed; // empty: leave the text as it is
};

NotesEditorDialog::Result runEditor(NotesEditorDialog& editor, const QStringList& lines,
                                    const EditRun& run)
{
    WhenModalOpens<NotesEditorDialog>([run](NotesEditorDialog* dialog) {
        if (!run.typed.isEmpty())
            dialog->editor()->setPlainText(run.typed);
        run.ok ? dialog->accept() : dialog->reject();
    });
    return editor.edit(QStringLiteral("Project Notes"), lines);
}

TEST(NotesEditorTest, ReportsChangedNotesOnlyWhenAcceptedAndDifferent)
{
    NotesEditorDialog editor;
    const QStringList notes = {QStringLiteral("first"), QString(), QStringLiteral("third")};

    const auto edited = runEditor(editor, notes, {true, QStringLiteral("first\nsecond")});
    EXPECT_TRUE(edited.accepted);
    EXPECT_TRUE(edited.changed);
    EXPECT_EQ(edited.lines, QStringList({"first", "second"}));
    EXPECT_EQ(editor.windowTitle(), QStringLiteral("Project Notes"));

    const auto untouched = runEditor(editor, notes, {true, {}});
    EXPECT_TRUE(untouched.accepted);
    EXPECT_FALSE(untouched.changed);
    EXPECT_EQ(untouched.lines, notes) << "an empty line in the middle survives";

    const auto cancelled = runEditor(editor, notes, {false, QStringLiteral("thrown away")});
    EXPECT_FALSE(cancelled.accepted);
    EXPECT_FALSE(cancelled.changed);
    EXPECT_EQ(cancelled.lines, notes);
}

TEST(NotesEditorTest, EmptyNotesHaveNoLinesAndTheWindowIsTallEnough)
{
    NotesEditorDialog editor;
    const auto result = runEditor(editor, {}, {true, {}});
    EXPECT_TRUE(result.lines.isEmpty());
    EXPECT_GE(editor.minimumHeight(), 200);
    editor.resize(300, 50);
    EXPECT_GE(editor.height(), 200);
}

TEST(AboutWindowTest, ShowsTheProductAndFileVersions)
{
    TAboutForm about;
    EXPECT_EQ(about.windowTitle(),
              QStringLiteral("PIPELOOP ") + VersionString(QStringLiteral("ProductVersion")));
    EXPECT_FALSE(VersionString(QStringLiteral("FileVersion")).isEmpty());
    EXPECT_EQ(about.versionLabel()->text(), VersionString(QStringLiteral("FileVersion")));
}

} // namespace
