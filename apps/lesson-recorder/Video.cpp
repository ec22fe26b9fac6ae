#include "Video.h"

#include "Cp1252.h"

#include <QFile>

namespace pipeloop::lessons
{

FfmpegVideo::FfmpegVideo(const QString& ffmpeg, const QString& path, QSize size, int quality)
    : m_ffmpeg(ffmpeg), m_path(path), m_partial(path + QStringLiteral(".partial")), m_size(size),
      m_quality(quality)
{
}

FfmpegVideo::~FfmpegVideo()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished();
    }
    QFile::remove(m_partial);
}

bool FfmpegVideo::start()
{
    const QString size = QStringLiteral("%1x%2").arg(m_size.width()).arg(m_size.height());
    const QString rate = QString::number(FramesPerSecond);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    // A key frame every ten seconds keeps seeking quick; most frames of a
    // lesson repeat the one before and cost next to nothing.
    m_process.start(m_ffmpeg, {"-nostdin",  "-hide_banner",
                               "-loglevel", "error",
                               "-y",        "-f",
                               "rawvideo",  "-pix_fmt",
                               "bgra",      "-s",
                               size,        "-framerate",
                               rate,        "-i",
                               "-",         "-an",
                               "-c:v",      "wmv2",
                               "-q:v",      QString::number(m_quality),
                               "-g",        QString::number(10 * FramesPerSecond),
                               "-pix_fmt",  "yuv420p",
                               "-r",        rate,
                               "-f",        "asf",
                               m_partial});
    if (!m_process.waitForStarted())
        return failed(QStringLiteral("%1 could not be started").arg(m_ffmpeg));
    return true;
}

bool FfmpegVideo::write(const QImage& frame)
{
    if (m_process.state() != QProcess::Running)
        return failed(QStringLiteral("ffmpeg ended early"));
    const QImage pixels = frame.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y)
        m_process.write(reinterpret_cast<const char*>(pixels.constScanLine(y)),
                        qsizetype(pixels.width()) * 4);
    // The pipe takes a frame at a time, so frames never pile up in memory.
    while (m_process.bytesToWrite() > 0)
        if (!m_process.waitForBytesWritten(30000))
            return failed(QStringLiteral("ffmpeg stopped taking frames"));
    return true;
}

bool FfmpegVideo::finish()
{
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(120000) || m_process.exitStatus() != QProcess::NormalExit ||
        m_process.exitCode() != 0)
        return failed(QStringLiteral("ffmpeg could not encode %1").arg(m_path));
    QFile::remove(m_path);
    if (!QFile::rename(m_partial, m_path))
        return failed(QStringLiteral("%1 could not be written").arg(m_path));
    return true;
}

bool FfmpegVideo::failed(const QString& reason)
{
    if (m_error.isEmpty())
        m_error = reason;
    return false;
}

QByteArray CaptionFileText(const QString& title, const std::vector<Step>& steps,
                           const std::vector<int>& captionFrames)
{
    QString text = title + QStringLiteral("\r\n");
    for (std::size_t i = 0; i < steps.size() && i < captionFrames.size(); ++i)
        text += QStringLiteral("%1 %2\r\n").arg(captionFrames[i], -5).arg(steps[i].caption);
    return EncodeCp1252(text);
}

} // namespace pipeloop::lessons
