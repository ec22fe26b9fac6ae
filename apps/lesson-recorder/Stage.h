#pragma once

// The stage a lesson is recorded on: the real main window on a fixed-size
// desktop, a pointer a viewer can follow, and a clock that counts frames
// instead of seconds. Every frame is composed from the visible top-level
// windows (main window, dialogs, pop-up menus) at their places and handed to
// a sink; the steps' actions run in the event loop between frames, so an
// action that opens a modal window does not stop the recording.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace pipeloop
{
class TMainForm;
}

namespace pipeloop::lessons
{

class Stage;

// One thing the user does, and how many frames of video it takes.
struct Beat {
    std::function<void(Stage&)> act;
    int frames = 1;
};

// What the caption says while its beats play; the caption stays on screen
// for its beats and then for hold frames more.
struct Step {
    QString caption;
    std::vector<Beat> beats;
    int hold = 0;
    // Messages the step's action shows, as many as there are, are read and
    // answered with their first button; the step waits for them.
    bool answerMessages = false;
};

struct Lesson {
    QString title;
    QString sample; // the project open when the lesson starts; empty: the welcome page
    std::vector<Step> steps;
};

// Where the composed frames go.
class FrameSink
{
public:
    virtual ~FrameSink() = default;
    virtual bool write(const QImage& frame) = 0;
};

struct Recording {
    std::vector<int> captionFrames; // the frame at which each step starts
    int frames = 0;
};

inline constexpr int FramesPerSecond = 10;

// The visible top-level windows as a viewer sees them stacked, front first:
// pop-up menus, the active modal window, other modal windows, other
// windows, the main window.
std::vector<QWidget*> WindowsFrontToBack(const QWidget* main);
// Above every window but pop-up menus, a title bar like a desktop's.
inline constexpr int TitleBarHeight = 24;

class Stage : public QObject
{
public:
    Stage(TMainForm& form, QSize desktop, FrameSink& sink);

    TMainForm& form() { return m_form; }
    QSize desktop() const { return m_desktop; }
    QPoint pointer() const { return m_pointer; }
    // The pointer moves to a point of the desktop over the beat's frames;
    // the hover widget (if any) sees the mouse move on every frame.
    void glideTo(QPoint target, int frames, QWidget* hover = nullptr);
    // The main window fills the desktop under its title bar once it can be
    // resized (a project is open); until then it stands in the middle.
    void placeMainWindow();
    // An action that cannot be done ends the recording with this reason.
    void fail(const QString& reason);

    // Plays the steps, frame by frame; nullopt (with error()) when an action
    // failed, a window was left open, the sink refused a frame or the lesson
    // ran past maxFrames.
    std::optional<Recording> record(const std::vector<Step>& steps, int maxFrames);
    QString error() const { return m_error; }
    // The desktop as it was when the recording failed.
    QImage failedFrame() const { return m_failedFrame; }

    // The desktop as it is now, pointer included.
    QImage compose() const;

private:
    void tick();
    bool startNextBeat();
    void moveAlongGlide();
    // True while a message is being answered (the step's time stands still).
    bool answeringMessage();
    void closeModalWindows();

    TMainForm& m_form;
    QSize m_desktop;
    FrameSink& m_sink;
    const std::vector<Step>* m_steps = nullptr;
    std::size_t m_step = 0;
    std::size_t m_beat = 0;
    int m_framesLeft = 0;
    bool m_holding = false;
    int m_maxFrames = 0;
    int m_actsRunning = 0;
    int m_messageFrames = 0;
    Recording m_recording;
    QString m_error;
    QImage m_failedFrame;
    bool m_done = false;
    QPoint m_pointer;
    QPoint m_glideFrom;
    QPoint m_glideTo;
    int m_glideFrames = 0;
    int m_glideFrame = 0;
    QPointer<QWidget> m_hover;
    std::function<void()> m_quit;
};

} // namespace pipeloop::lessons
