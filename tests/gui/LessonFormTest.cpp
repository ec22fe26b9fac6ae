// The tutorial lessons: the lesson window following its video with captions,
// progress and the frame counter, and the Tutorials menu that opens it.

#include "GuiTestSupport.h"

#include "LessonForm.h"
#include "LessonPlayer.h"
#include "TestFiles.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace pipeloop::testing
{
namespace
{

// A player whose clock the test moves.
struct FakePlayerState {
    QString opened;
    bool playing = false;
    int rewinds = 0;
    qint64 position = 0;
    qint64 duration = 0;
    double rate = 0;
    bool atEnd = false;
    QString error;
};

class FakeLessonPlayer : public LessonPlayer
{
public:
    explicit FakeLessonPlayer(FakePlayerState& state) : m_state(state) {}

    void open(const QString& path) override { m_state.opened = path; }
    QWidget* videoWidget() override { return new QWidget; }
    void play() override { m_state.playing = true; }
    void rewind() override
    {
        m_state.playing = false;
        m_state.position = 0;
        m_state.atEnd = false;
        ++m_state.rewinds;
    }
    qint64 positionMs() const override { return m_state.position; }
    qint64 durationMs() const override { return m_state.duration; }
    double frameRate() const override { return m_state.rate; }
    bool atEnd() const override { return m_state.atEnd; }
    QString errorText() const override { return m_state.error; }

private:
    FakePlayerState& m_state;
};

const QString StartText = QStringLiteral("Select the play button to begin the tutorial");

// Lesson n's caption file, and its video unless told otherwise.
void WriteLesson(const QTemporaryDir& dir, int lesson, const QByteArray& captions,
                 bool withVideo = true)
{
    ASSERT_TRUE(WriteBytes(LessonCaptionFile(dir.path() + '/', lesson), captions));
    if (withVideo) {
        ASSERT_TRUE(WriteBytes(LessonVideoFile(dir.path() + '/', lesson), "ASF"));
    }
}

const QByteArray Captions = "1. Creating a new project\r\n"
                            "0 Open the File menu\r\n"
                            "10 Choose New Pipe Loop Project\r\n"
                            "25 Enter the building's size\r\n";

TEST(LessonForm, CaptionsProgressCounterAndEndFollowThePlayer)
{
    ScriptedUi ui;
    QTemporaryDir dir;
    WriteLesson(dir, 1, Captions);
    WriteLesson(dir, 2, Captions, false);
    FakePlayerState video;
    TLessonForm form;
    form.usePlayer(std::make_unique<FakeLessonPlayer>(video));

    EXPECT_FALSE(form.openLesson(2, dir.path() + '/')); // its video is missing
    EXPECT_FALSE(form.isVisible());
    ASSERT_TRUE(form.openLesson(1, dir.path() + '/'));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(video.opened, LessonVideoFile(dir.path() + '/', 1));
    EXPECT_EQ(form.windowTitle(), "1. Creating a new project");
    EXPECT_EQ(form.textPanel()->text(), StartText);
    EXPECT_EQ(form.progressBar()->value(), 0);
    EXPECT_FALSE(form.frameCounter()->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(&form, Qt::Key_F11, Qt::AltModifier);
    EXPECT_TRUE(form.frameCounter()->isVisible());

    form.playButton()->click();
    EXPECT_TRUE(video.playing);
    EXPECT_TRUE(form.playing());
    // A length not known yet: progress 0, captions shown all the same.
    video.position = 500;
    form.tick();
    EXPECT_EQ(form.frameCounter()->text(), "5");
    EXPECT_EQ(form.textPanel()->text(), "Open the File menu");
    EXPECT_EQ(form.progressBar()->value(), 0);
    // 10 frames a second unless the video says otherwise.
    video.duration = 10000;
    video.position = 1200;
    form.tick();
    EXPECT_EQ(form.textPanel()->text(), "Choose New Pipe Loop Project");
    EXPECT_EQ(form.progressBar()->value(), 12);
    video.rate = 25;
    form.tick();
    EXPECT_EQ(form.frameCounter()->text(), "30");
    EXPECT_EQ(form.textPanel()->text(), "Enter the building's size");
    EXPECT_EQ(form.progressBar()->value(), 12);

    // The end: text cleared, timer stopped, video back at its start.
    video.atEnd = true;
    form.tick();
    EXPECT_TRUE(form.textPanel()->text().isEmpty());
    EXPECT_FALSE(form.playing());
    EXPECT_EQ(video.rewinds, 1);
    EXPECT_EQ(video.position, 0);

    // Played again, the captions start over; a video that cannot be played
    // stops with a message instead of ticking on at frame 0.
    form.play();
    video.position = 100;
    form.tick();
    EXPECT_EQ(form.textPanel()->text(), "Open the File menu");
    video.error = QStringLiteral("No decoder");
    form.tick();
    EXPECT_FALSE(form.playing());
    EXPECT_EQ(ui.texts(), QStringList{"The lesson video cannot be played: No decoder"});

    // Closed while playing: stopped and rewound.
    video.error.clear();
    form.play();
    form.close();
    EXPECT_FALSE(form.playing());
    EXPECT_EQ(video.rewinds, 3);
}

TEST(LessonForm, TutorialsMenuListsTheLessonsFoundAndWaitsForTheOpenOne)
{
    QTemporaryDir dir;
    WriteLesson(dir, 1, "Erste Schritte \x96 neues Projekt\r\n0 Los\r\n");
    WriteLesson(dir, 3, Captions, false);
    ScriptedUi ui;
    MemorySettingsStore settings;
    ScriptedDialogs dialogs;
    TMainForm main(settings, dialogs, dir.path());
    main.FirstActivation();
    ui.messages.clear(); // no catalogue in the lessons' folder
    FakePlayerState video;
    main.lessonForm().usePlayer(std::make_unique<FakeLessonPlayer>(video));
    CommandTable& commands = main.commands();
    QAction* tutorials = commands.menu(QStringLiteral("muTutorials"))->menuAction();
    QAction* first = commands.action(QStringLiteral("moLesson1"));
    QAction* third = commands.action(QStringLiteral("moLesson3"));

    EXPECT_TRUE(tutorials->isVisible());
    EXPECT_EQ(first->text(), QString::fromUtf8("Erste Schritte – neues Projekt"));
    EXPECT_FALSE(commands.action(QStringLiteral("moLesson2"))->isVisible());
    EXPECT_TRUE(third->isVisible());

    third->trigger();
    EXPECT_EQ(ui.texts(), QStringList{"One or more lesson files are missing."});
    EXPECT_FALSE(main.lessonForm().isVisible());

    first->trigger();
    ASSERT_TRUE(main.lessonForm().isVisible());
    EXPECT_EQ(video.opened, LessonVideoFile(dir.path() + '/', 1));
    EXPECT_FALSE(tutorials->isEnabled());
    EXPECT_FALSE(first->isEnabled());
    EXPECT_FALSE(third->isEnabled());
    main.lessonForm().close();
    EXPECT_TRUE(tutorials->isEnabled());
    EXPECT_TRUE(third->isEnabled());

    // Without lesson files the menu is not there at all.
    QTemporaryDir empty;
    TMainForm bare(settings, dialogs, empty.path());
    EXPECT_FALSE(bare.commands().menu(QStringLiteral("muTutorials"))->menuAction()->isVisible());
}

} // namespace
} // namespace pipeloop::testing
