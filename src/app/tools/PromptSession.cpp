#include "PromptSession.h"

#include "MsgBox.h"

#include <QKeyEvent>

namespace pipeloop
{

PromptSession::PromptSession(QWidget* owner) : QObject(owner), m_box(new TMsgBoxForm(owner))
{
    connect(m_box, &TMsgBoxForm::buttonPressed, this, &PromptSession::buttonPressed);
    m_box->installEventFilter(this);
}

void PromptSession::show(const PromptText& prompt)
{
    m_box->setMessage(prompt.title, prompt.message, prompt.buttons);
    m_box->setKeepPosition(prompt.keepPosition);
    m_box->showModeless();
}

void PromptSession::close()
{
    if (m_box->isVisible())
        m_box->dismiss();
}

bool PromptSession::isOpen() const
{
    return m_box->isVisible();
}

bool PromptSession::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_box && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Backspace) {
            emit keyPressed(key);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pipeloop
