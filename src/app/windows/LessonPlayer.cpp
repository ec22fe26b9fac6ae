#include "LessonPlayer.h"

#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QUrl>
#include <QVideoWidget>

namespace pipeloop
{

namespace
{

class MediaLessonPlayer : public LessonPlayer
{
public:
    MediaLessonPlayer() : m_video(new QVideoWidget)
    {
        m_player.setVideoOutput(m_video);
        QObject::connect(&m_player, &QMediaPlayer::errorOccurred,
                         [this](QMediaPlayer::Error, const QString& text) {
                             m_error = text.isEmpty() ? QStringLiteral("unknown error") : text;
                         });
    }

    void open(const QString& path) override
    {
        m_error.clear();
        m_player.setSource(QUrl::fromLocalFile(path));
    }
    QWidget* videoWidget() override { return m_video; }
    void play() override { m_player.play(); }
    void rewind() override
    {
        m_player.stop();
        m_player.setPosition(0);
    }

    qint64 positionMs() const override { return m_player.position(); }
    qint64 durationMs() const override { return m_player.duration(); }
    double frameRate() const override
    {
        const QVariant stated = m_player.metaData().value(QMediaMetaData::VideoFrameRate);
        return stated.isValid() ? stated.toDouble() : 0;
    }
    bool atEnd() const override { return m_player.mediaStatus() == QMediaPlayer::EndOfMedia; }
    QString errorText() const override { return m_error; }

private:
    QMediaPlayer m_player;
    QVideoWidget* m_video; // owned by the lesson window once laid out
    QString m_error;
};

} // namespace

std::unique_ptr<LessonPlayer> MakeMediaLessonPlayer()
{
    return std::make_unique<MediaLessonPlayer>();
}

} // namespace pipeloop
