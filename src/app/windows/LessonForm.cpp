#include "LessonForm.h"

#include "LanguageFile.h"
#include "LessonPlayer.h"
#include "UiServices.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

#include <algorithm>

namespace pipeloop
{

namespace
{

const QString FormName = QStringLiteral("LessonForm");
const QString StartText = QStringLiteral("Select the play button to begin the tutorial");
// Twice a frame at the lessons' rate: no caption shows late by a whole frame.
constexpr int TickMs = 50;

// How far the video has played, in percent; 0 while its length is unknown.
int ProgressPercent(int frame, int length)
{
    if (length <= 0)
        return 0;
    return int(std::clamp<qint64>(qint64(frame) * 100 / length, 0, 100));
}

} // namespace

TLessonForm::TLessonForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(FormName);
    setWindowTitle(QStringLiteral("PIPELOOP"));
    resize(680, 600);

    m_text = new QLabel(StartText);
    m_text->setObjectName(QStringLiteral("pnText"));
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setFrameShape(QFrame::Panel);
    m_text->setFrameShadow(QFrame::Sunken);
    m_text->setMinimumHeight(48);
    QFont bold = m_text->font();
    bold.setBold(true);
    m_text->setFont(bold);

    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("pbProgress"));
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);

    // The video widget fills the panel and keeps the video's proportions as
    // the window is resized.
    m_videoPanel = new QWidget;
    m_videoPanel->setObjectName(QStringLiteral("pnVideo"));
    m_videoPanel->setStyleSheet(QStringLiteral("#pnVideo { background-color: black; }"));
    m_videoPanel->setAttribute(Qt::WA_StyledBackground);
    auto* videoLayout = new QVBoxLayout(m_videoPanel);
    videoLayout->setContentsMargins(0, 0, 0, 0);

    m_play = new QPushButton(QStringLiteral("&Play"));
    m_play->setObjectName(QStringLiteral("btnPlay"));
    connect(m_play, &QPushButton::clicked, this, &TLessonForm::play);

    m_counter = new QLabel(QStringLiteral("0"));
    m_counter->setObjectName(QStringLiteral("pnFrame"));
    // Read out as its number.
    m_counter->setAccessibleDescription(QStringLiteral("Frame counter"));
    m_counter->setFrameShape(QFrame::Panel);
    m_counter->setFrameShadow(QFrame::Sunken);
    m_counter->setMinimumWidth(60);
    m_counter->setAlignment(Qt::AlignCenter);
    m_counter->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_play);
    buttons->addStretch(1);
    buttons->addWidget(m_counter);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_progress);
    layout->addWidget(m_videoPanel, 1);
    layout->addLayout(buttons);

    auto* counterKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F11), this);
    connect(counterKey, &QShortcut::activated, this, &TLessonForm::toggleFrameCounter);

    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &TLessonForm::tick);
}

// The player goes before the widgets: it lets go of its video widget first.
TLessonForm::~TLessonForm() = default;

void TLessonForm::usePlayer(std::unique_ptr<LessonPlayer> player)
{
    m_timer.stop();
    m_player = std::move(player);
    delete m_video;
    m_video = m_player->videoWidget();
    m_video->setObjectName(QStringLiteral("Video"));
    m_videoPanel->layout()->addWidget(m_video);
}

LessonPlayer& TLessonForm::player()
{
    if (!m_player)
        usePlayer(MakeMediaLessonPlayer());
    return *m_player;
}

bool TLessonForm::openLesson(int lesson, const QString& dataFolder)
{
    const QString video = LessonVideoFile(dataFolder, lesson);
    std::optional<LessonScript> script = ReadLessonCaptions(LessonCaptionFile(dataFolder, lesson));
    if (!script || !QFileInfo(video).isFile())
        return false;

    m_timer.stop();
    m_script = std::move(*script);
    m_nextCaption = 0;
    if (!m_script.title.isEmpty())
        setWindowTitle(m_script.title);
    m_text->setText(TLanguage::Instance().Translate(StartText, FormName, "pnText_caption"));
    m_progress->setValue(0);
    m_counter->setText(QStringLiteral("0"));
    player().open(video);
    show();
    raise();
    activateWindow();
    return true;
}

void TLessonForm::play()
{
    m_nextCaption = 0;
    player().play();
    m_timer.start();
}

void TLessonForm::tick()
{
    if (const QString error = player().errorText(); !error.isEmpty()) {
        stopPlaying(error);
        return;
    }
    const int frame = framesIn(player().positionMs());
    m_counter->setText(QString::number(frame));
    showCaptionsUpTo(frame);
    m_progress->setValue(ProgressPercent(frame, framesIn(player().durationMs())));
    if (player().atEnd())
        finish();
}

void TLessonForm::toggleFrameCounter()
{
    m_counter->setVisible(!m_counter->isVisible());
}

// The frame shown at a time of the video, at the rate the video states.
int TLessonForm::framesIn(qint64 ms) const
{
    const double stated = m_player->frameRate();
    return int(double(ms) * (stated > 0 ? stated : DefaultLessonFrameRate) / 1000);
}

void TLessonForm::showCaptionsUpTo(int frame)
{
    // Captions reached together (a slow tick) show the last of them.
    while (m_nextCaption < m_script.captions.size() &&
           m_script.captions[m_nextCaption].frame <= frame) {
        m_text->setText(m_script.captions[m_nextCaption].text);
        ++m_nextCaption;
    }
}

void TLessonForm::finish()
{
    m_timer.stop();
    m_text->clear();
    player().rewind();
}

void TLessonForm::stopPlaying(const QString& error)
{
    finish();
    Ui().error(QStringLiteral("The lesson video cannot be played: ") + error);
}

void TLessonForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    emit visibilityChanged(true);
}

void TLessonForm::hideEvent(QHideEvent* event)
{
    QDialog::hideEvent(event);
    // Closed while playing: nothing goes on behind the closed window.
    if (m_player) {
        m_timer.stop();
        m_player->rewind();
    }
    emit visibilityChanged(false);
}

} // namespace pipeloop
