#pragma once

// What the lesson window needs of a video player: a file opened into a video
// widget, played, and stopped back at its start, with its position, length
// and frame rate read as it plays. The program plays through Qt Multimedia;
// tests give the window a player whose clock they move themselves.

#include <QString>
#include <QtGlobal>

#include <memory>

class QWidget;

namespace pipeloop
{

class LessonPlayer
{
public:
    virtual ~LessonPlayer() = default;

    // Loads the video, stopped at its start. What goes wrong is told later
    // by errorText(): loading does not wait for the file to be read.
    virtual void open(const QString& path) = 0;
    // The widget the video shows in. The lesson window lays it out in its
    // video panel and owns it from then on.
    virtual QWidget* videoWidget() = 0;
    virtual void play() = 0;
    // Stops and goes back to the first frame.
    virtual void rewind() = 0;

    virtual qint64 positionMs() const = 0;
    // 0 while the length is not known.
    virtual qint64 durationMs() const = 0;
    // Frames per second as the video states them; 0 when it does not.
    virtual double frameRate() const = 0;
    // Played to its end (until rewound).
    virtual bool atEnd() const = 0;
    // Why the video cannot be played; empty while nothing went wrong.
    virtual QString errorText() const = 0;
};

// The program's own player: Qt Multimedia into a video widget.
std::unique_ptr<LessonPlayer> MakeMediaLessonPlayer();

} // namespace pipeloop
