#pragma once

// The lesson's two files: the video, encoded by ffmpeg from raw frames piped
// to it, and the caption file. Each is complete or absent: the video is
// encoded under a temporary name and renamed when ffmpeg succeeded.

#include "Stage.h"

#include <QProcess>

namespace pipeloop::lessons
{

// Windows Media video 8 in an ASF container, at the lesson frame rate; a
// higher quality number is a smaller, blurrier file.
class FfmpegVideo : public FrameSink
{
public:
    FfmpegVideo(const QString& ffmpeg, const QString& path, QSize size, int quality);
    ~FfmpegVideo() override;

    bool start();
    bool write(const QImage& frame) override;
    // Waits for ffmpeg and puts the file in place.
    bool finish();
    QString error() const { return m_error; }

private:
    bool failed(const QString& reason);

    QString m_ffmpeg;
    QString m_path;
    QString m_partial;
    QSize m_size;
    int m_quality;
    QProcess m_process;
    QString m_error;
};

// The caption file: the title, then each caption after the frame at which
// its step starts; Windows-1252 with CR LF.
QByteArray CaptionFileText(const QString& title, const std::vector<Step>& steps,
                           const std::vector<int>& captionFrames);

} // namespace pipeloop::lessons
