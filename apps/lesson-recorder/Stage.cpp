#include "Stage.h"

#include "MainForm.h"
#include "MsgBox.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace pipeloop::lessons
{

namespace
{

// A caption stays long enough to be read at a calm pace: two seconds and a
// third of a second for every word.
int ReadingFrames(const QString& caption)
{
    const auto words = caption.split(u' ', Qt::SkipEmptyParts).size();
    return 2 * FramesPerSecond + static_cast<int>(words) * FramesPerSecond / 3;
}

int BeatFrames(const Step& step)
{
    int frames = 0;
    for (const Beat& beat : step.beats)
        frames += std::max(1, beat.frames);
    return frames;
}

bool IsPopup(const QWidget* window)
{
    return window->windowType() == Qt::Popup || window->windowType() == Qt::ToolTip;
}

// Back to front: the main window, other windows, modal windows (the active
// one last), then pop-up menus.
int Layer(const QWidget* window, const QWidget* main)
{
    if (window == main)
        return 0;
    if (IsPopup(window))
        return 4;
    if (window == QApplication::activeModalWidget())
        return 3;
    return window->isModal() ? 2 : 1;
}

} // namespace

std::vector<QWidget*> WindowsFrontToBack(const QWidget* main)
{
    std::vector<QWidget*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowType() != Qt::Desktop)
            windows.push_back(window);
    std::stable_sort(windows.begin(), windows.end(),
                     [main](QWidget* a, QWidget* b) { return Layer(a, main) > Layer(b, main); });
    return windows;
}

namespace
{

// The title as the desktop shows it: "[*]" stands for the modified mark.
QString ShownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"),
                         window.isWindowModified() ? QStringLiteral("*") : QString());
}

void DrawTitleBar(QPainter& painter, const QRect& window, const QString& title, bool active)
{
    const QRect bar(window.left(), window.top() - TitleBarHeight, window.width(), TitleBarHeight);
    painter.fillRect(bar, active ? QColor(0, 84, 166) : QColor(122, 150, 180));
    painter.setPen(Qt::white);
    QFont font = QApplication::font();
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(bar.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
    painter.setPen(QColor(60, 60, 60));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(bar.united(window).adjusted(-1, -1, 0, 0));
}

// An arrow pointer, tip at the point.
void DrawPointer(QPainter& painter, QPoint tip)
{
    QPainterPath arrow;
    arrow.moveTo(0, 0);
    arrow.lineTo(0, 17);
    arrow.lineTo(4, 13);
    arrow.lineTo(7, 20);
    arrow.lineTo(10, 19);
    arrow.lineTo(7, 12);
    arrow.lineTo(12, 12);
    arrow.closeSubpath();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(tip);
    painter.setPen(QPen(Qt::black, 1.2));
    painter.setBrush(Qt::white);
    painter.drawPath(arrow);
    painter.restore();
}

} // namespace

Stage::Stage(TMainForm& form, QSize desktop, FrameSink& sink)
    : m_form(form), m_desktop(desktop), m_sink(sink),
      m_pointer(desktop.width() / 2, desktop.height() / 2)
{
}

void Stage::glideTo(QPoint target, int frames, QWidget* hover)
{
    m_hover = hover;
    m_glideFrom = m_pointer;
    m_glideTo = target;
    m_glideFrames = std::max(1, frames);
    m_glideFrame = 0;
}

void Stage::placeMainWindow()
{
    const QRect available(0, TitleBarHeight, m_desktop.width(),
                          m_desktop.height() - TitleBarHeight);
    if (m_form.minimumSize() != m_form.maximumSize()) {
        m_form.setGeometry(available);
        return;
    }
    QRect place(QPoint(), m_form.size());
    place.moveCenter(available.center());
    m_form.setGeometry(place);
}

void Stage::fail(const QString& reason)
{
    if (m_done)
        return;
    m_done = true;
    m_failedFrame = compose();
    m_error = reason;
    if (m_steps && m_step < m_steps->size())
        m_error +=
            QStringLiteral(" at step %1 (\"%2\")").arg(m_step + 1).arg((*m_steps)[m_step].caption);
    closeModalWindows();
    if (m_quit)
        m_quit();
}

void Stage::closeModalWindows()
{
    for (int guard = 0; guard < 200; ++guard) {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            continue;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        // A message box closes only through one of its buttons: the last
        // one is the cautious answer.
        if (auto* box = qobject_cast<TMsgBoxForm*>(modal);
            box && !box->buttonCaptions().isEmpty()) {
            box->button(box->buttonCaptions().last())->click();
            QCoreApplication::processEvents();
            continue;
        }
        // The window's own reject may refuse (a box that only its buttons
        // close); the dialog's plain ending does not.
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->QDialog::done(QDialog::Rejected);
        else
            modal->close();
        QCoreApplication::processEvents();
    }
}

std::optional<Recording> Stage::record(const std::vector<Step>& steps, int maxFrames)
{
    m_steps = &steps;
    m_step = m_beat = 0;
    m_framesLeft = 0;
    m_holding = m_done = false;
    m_maxFrames = maxFrames;
    m_recording = {};
    m_error.clear();

    QEventLoop loop;
    m_quit = [&loop] { loop.quit(); };
    QTimer clock;
    clock.setInterval(0);
    connect(&clock, &QTimer::timeout, this, &Stage::tick);
    clock.start();
    loop.exec();
    clock.stop();
    m_quit = nullptr;
    if (!m_error.isEmpty())
        return std::nullopt;
    return m_recording;
}

void Stage::tick()
{
    if (m_done)
        return;
    if (m_framesLeft == 0 && !startNextBeat()) {
        if (m_actsRunning > 0 || QApplication::activeModalWidget() ||
            QApplication::activePopupWidget()) {
            fail(QStringLiteral("a window was still open at the end of the lesson"));
            return;
        }
        m_done = true;
        m_quit();
        return;
    }
    moveAlongGlide();
    if (!m_sink.write(compose())) {
        fail(QStringLiteral("the video encoder stopped taking frames"));
        return;
    }
    if (!answeringMessage())
        --m_framesLeft;
    if (++m_recording.frames > m_maxFrames)
        fail(QStringLiteral("the lesson runs longer than %1 frames").arg(m_maxFrames));
}

bool Stage::answeringMessage()
{
    auto* box = qobject_cast<TMsgBoxForm*>(QApplication::activeModalWidget());
    if (!box || m_step >= m_steps->size() || !(*m_steps)[m_step].answerMessages ||
        box->buttonCaptions().isEmpty()) {
        m_messageFrames = 0;
        return false;
    }
    QPushButton* answer = box->button(box->buttonCaptions().first());
    const QPoint centre = answer->rect().center();
    // Time to read it, the pointer to the button, a click.
    if (++m_messageFrames == FramesPerSecond)
        glideTo(answer->mapToGlobal(centre), 7);
    if (m_messageFrames == 2 * FramesPerSecond) {
        m_messageFrames = 0;
        QTimer::singleShot(
            0, answer, [answer, centre] { QTest::mouseClick(answer, Qt::LeftButton, {}, centre); });
    }
    return true;
}

bool Stage::startNextBeat()
{
    for (; m_step < m_steps->size(); ++m_step, m_beat = 0, m_holding = false) {
        const Step& step = (*m_steps)[m_step];
        if (m_beat == 0 && !m_holding)
            m_recording.captionFrames.push_back(m_recording.frames);
        if (!m_holding && m_beat < step.beats.size()) {
            const Beat& beat = step.beats[m_beat++];
            m_framesLeft = std::max(1, beat.frames);
            // Posted, so that an action that opens a modal window runs its
            // loop while the clock goes on ticking.
            ++m_actsRunning;
            QTimer::singleShot(0, this, [this, act = beat.act] {
                if (!m_done)
                    act(*this);
                --m_actsRunning;
            });
            return true;
        }
        if (!m_holding) {
            m_holding = true;
            m_framesLeft = std::max(step.hold, ReadingFrames(step.caption) - BeatFrames(step));
            if (m_framesLeft > 0)
                return true;
        }
    }
    return false;
}

void Stage::moveAlongGlide()
{
    if (m_glideFrame >= m_glideFrames)
        return;
    ++m_glideFrame;
    // Eased, as a hand slows down near its target.
    const double t = double(m_glideFrame) / m_glideFrames;
    const double eased = t * t * (3 - 2 * t);
    m_pointer = m_glideFrom + (m_glideTo - m_glideFrom) * eased;
    if (m_hover) {
        const QPoint local = m_hover->mapFromGlobal(m_pointer);
        QMouseEvent move(QEvent::MouseMove, QPointF(local), QPointF(m_pointer), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_hover, &move);
    }
}

QImage Stage::compose() const
{
    QImage frame(m_desktop, QImage::Format_RGB32);
    frame.fill(QColor(58, 110, 165));
    QPainter painter(&frame);
    const QWidget* active = QApplication::activeModalWidget();
    const std::vector<QWidget*> windows = WindowsFrontToBack(&m_form);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        QWidget* window = *it;
        const QRect place = window->geometry();
        if (!IsPopup(window))
            DrawTitleBar(painter, place, ShownTitle(*window),
                         active ? window == active : window == &m_form);
        painter.drawPixmap(place.topLeft(), window->grab());
    }
    DrawPointer(painter, m_pointer);
    return frame;
}

} // namespace pipeloop::lessons
