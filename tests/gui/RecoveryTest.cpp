#include "GuiTestSupport.h"

#include "Autosave.h"
#include "DesignCommands.h"
#include "DesignView.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

using namespace std::chrono_literals;

const QString Edit = QStringLiteral("Edited before the crash");

// A main window that keeps its copies in folder, every 50 ms.
struct RecoveringWindow : MainWindowFixture {
    explicit RecoveringWindow(const QString& folder)
    {
        form.autosave().setFolder(folder);
        form.autosave().setInterval(50ms);
    }
    void describe(const QString& text)
    {
        form.document().push(
            new SetProjectTextCommand(*design(), SetProjectTextCommand::Field::Description, text));
    }
    bool copyWritten()
    {
        return QTest::qWaitFor([this] { return hasCopy(); }, 3000);
    }
    bool hasCopy() const
    {
        const QString copy = form.autosave().copyPath();
        return !copy.isEmpty() && QFile::exists(copy);
    }
};

// What a program killed in the middle of its work leaves: its copy and
// record under a name whose lock nobody holds.
void LeaveAsCrashed(const QString& copyPath, const QString& name)
{
    const QFileInfo copy(copyPath);
    const QString stem = copy.dir().filePath(copy.completeBaseName());
    ASSERT_TRUE(QFile::copy(copyPath, copy.dir().filePath(name + ".copy")));
    ASSERT_TRUE(QFile::copy(stem + ".record", copy.dir().filePath(name + ".record")));
}

TEST(Recovery, CopiesFollowUnsavedChangesAndAreOfferedAtTheNextStart)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("recovery");
    const QString project = dir.filePath("workshop.plf");
    ASSERT_TRUE(QFile::copy(QStringLiteral(PIPELOOP_SAMPLES) + "workshop.plf", project));
    QFile(project).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // The program at work: no copy while nothing is unsaved, one soon after
    // an edit, none after a save.
    RecoveringWindow working(folder);
    working.start();
    ASSERT_TRUE(working.form.files().open(project));
    QTest::qWait(300);
    EXPECT_FALSE(working.hasCopy());
    working.describe(QStringLiteral("first edit"));
    ASSERT_TRUE(working.copyWritten());
    const QString firstCopy = working.form.autosave().copyPath();
    EXPECT_TRUE(firstCopy.startsWith(folder + '/')); // never beside the user's file
    ASSERT_TRUE(working.form.files().save());
    EXPECT_FALSE(QFile::exists(firstCopy));
    working.describe(Edit);
    ASSERT_TRUE(working.copyWritten());
    LeaveAsCrashed(working.form.autosave().copyPath(), "crashed");
    LeaveAsCrashed(working.form.autosave().copyPath(), "declined");

    // Without its record a copy is untitled and dated by its file: older here.
    QFile(QDir(folder).filePath("declined.record")).remove();
    QFile older(QDir(folder).filePath("declined.copy"));
    ASSERT_TRUE(older.open(QIODevice::Append));
    older.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime);
    older.close();

    // The next start, the command line naming the same project: the copy of
    // the program still running is not offered, the crashed ones are, the
    // newest first; Yes restores the edit under the project's own name,
    // modified, and the command line's file is not opened over it.
    {
        RecoveringWindow next(folder);
        next.ui.confirmAnswers = {true};
        next.form.FirstActivation(project);
        ASSERT_EQ(next.ui.questions.size(), 1);
        EXPECT_TRUE(next.ui.questions[0].startsWith("The project " +
                                                    QDir::toNativeSeparators(project) +
                                                    " was not saved when PIPELOOP stopped on "));
        ASSERT_NE(next.design(), nullptr);
        EXPECT_EQ(next.design()->Description, Edit);
        EXPECT_EQ(next.form.document().fileName(), project);
        EXPECT_TRUE(next.form.document().isModified());
        EXPECT_TRUE(next.form.isWindowModified());
        EXPECT_TRUE(next.form.windowTitle().contains("workshop.plf"));
        EXPECT_FALSE(QFile::exists(QDir(folder).filePath("crashed.copy")));
        // Copied at once into the new program's own slot; Save writes the user's file.
        EXPECT_TRUE(next.hasCopy());
        ASSERT_TRUE(next.form.files().save());
        EXPECT_FALSE(next.hasCopy());
        QFile saved(project);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(saved.readAll().contains(Edit.toLatin1()));
    }

    // A third start: the older copy is offered now; No removes it.
    {
        RecoveringWindow third(folder);
        third.form.FirstActivation();
        EXPECT_EQ(third.ui.questions.size(), 1);
        EXPECT_TRUE(third.ui.questions.value(0).startsWith("An untitled project was not saved"));
        EXPECT_EQ(third.design(), nullptr);
        EXPECT_FALSE(QFile::exists(QDir(folder).filePath("declined.copy")));
    }

    // A damaged copy is reported, kept aside and never offered again.
    {
        QFile damaged(QDir(folder).filePath("damaged.copy"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
        damaged.write("[PIPELOOP-FILE-INFO]\r\nFile_Version=7\r\n");
        damaged.close();
        RecoveringWindow fourth(folder);
        fourth.ui.confirmAnswers = {true};
        fourth.form.FirstActivation();
        EXPECT_EQ(fourth.design(), nullptr);
        ASSERT_EQ(fourth.ui.messages.size(), 1u);
        EXPECT_TRUE(fourth.ui.messages[0].text.startsWith(
            "The recovery copy of an untitled project could not be read:\r\nThe file version is "
            "not supported."));
        EXPECT_TRUE(QFile::exists(QDir(folder).filePath("damaged/damaged.plf")));
        EXPECT_FALSE(QFile::exists(QDir(folder).filePath("damaged.copy")));
    }

    // An orderly exit (the save question answered No) leaves no copy.
    const QString lastCopy = working.form.autosave().copyPath();
    working.ui.askAnswers = {QStringLiteral("&No")};
    EXPECT_TRUE(working.form.close());
    EXPECT_FALSE(QFile::exists(lastCopy));
    RecoveringWindow fifth(folder);
    fifth.form.FirstActivation();
    EXPECT_TRUE(fifth.ui.questions.isEmpty());
}

TEST(WindowPlace, SizePlaceAndLastViewComeBackInTheNextWindow)
{
    ScriptedUi ui;
    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    dialogs.wizard_ = WizardAnswer(ElbowChoice::DefaultLoop);
    const QString appDir = QStringLiteral(PIPELOOP_APP_DIR);
    const QRect place(30, 40, 760, 500);
    {
        TMainForm first(settings, dialogs, appDir);
        first.FirstActivation();
        first.files().newProject(false);
        first.setGeometry(place);
        first.view().setView(ViewKind::East);
        ui.askAnswers = {QStringLiteral("&No")};
        first.close();
    }
    TMainForm second(settings, dialogs, appDir);
    second.FirstActivation();
    EXPECT_EQ(second.geometry().topLeft(), place.topLeft());
    EXPECT_EQ(second.view().currentView(), ViewKind::East);
    second.files().newProject(false); // the size waits for a design
    EXPECT_EQ(second.geometry(), place);
    EXPECT_FALSE(second.isMaximized());

    // Left maximised on a screen since unplugged: back on a screen, maximised.
    settings.writeInt("MainFormLeft", -20000);
    settings.writeInt("MainFormTop", 9000);
    settings.writeBool("MainFormMaximised", true);
    TMainForm third(settings, dialogs, appDir);
    third.FirstActivation();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(third.geometry().topLeft())) << third.geometry().x();
    third.files().newProject(false);
    EXPECT_TRUE(third.windowState() & Qt::WindowMaximized);
}

} // namespace
} // namespace pipeloop::testing
