#pragma once

// TLessonForm: a tutorial lesson. The lesson's video plays in the video
// panel; as it reaches the frames the caption file names, the text panel
// above it shows their captions, and the progress bar follows the video. A
// hidden panel shows the current frame number (Alt+F11 shows or hides it),
// for whoever writes caption files.
//
// Made once by the main window; modeless. The main window's Tutorials menu is
// disabled while it shows.

#include "LessonCaptions.h"

#include <QDialog>
#include <QTimer>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pipeloop
{

class LessonPlayer;

// The frame rate of a video that does not state its own: the lessons are
// recorded at 10 frames a second.
inline constexpr double DefaultLessonFrameRate = 10;

class TLessonForm : public QDialog
{
    Q_OBJECT
public:
    explicit TLessonForm(QWidget* parent = nullptr);
    ~TLessonForm() override;

    // The player lessons play through. Without one given, the program's own
    // (Qt Multimedia) is made when the first lesson opens.
    void usePlayer(std::unique_ptr<LessonPlayer> player);

    // Opens lesson n of the data folder (which ends with a separator) and
    // shows the window; false, showing nothing, when either of its files is
    // missing.
    bool openLesson(int lesson, const QString& dataFolder);
    // The Play button: the video plays and the captions follow it from the
    // first.
    void play();
    // One tick of the play timer: the frame, the captions it reached, the
    // progress; at the video's end the text is cleared and the video rewound.
    void tick();
    bool playing() const { return m_timer.isActive(); }
    // Shows or hides the frame counter (Alt+F11).
    void toggleFrameCounter();

    QLabel* textPanel() const { return m_text; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* frameCounter() const { return m_counter; }
    QPushButton* playButton() const { return m_play; }
    QWidget* videoPanel() const { return m_videoPanel; }

signals:
    // Shown or hidden: the Tutorials menu follows.
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    LessonPlayer& player();
    int framesIn(qint64 ms) const;
    void showCaptionsUpTo(int frame);
    void finish();
    void stopPlaying(const QString& error);

    std::unique_ptr<LessonPlayer> m_player;
    LessonScript m_script;
    size_t m_nextCaption = 0;
    QTimer m_timer;
    QLabel* m_text = nullptr;
    QProgressBar* m_progress = nullptr;
    QWidget* m_videoPanel = nullptr;
    QWidget* m_video = nullptr;
    QLabel* m_counter = nullptr;
    QPushButton* m_play = nullptr;
};

} // namespace pipeloop
