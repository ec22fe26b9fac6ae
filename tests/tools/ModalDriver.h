#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <functional>

namespace pipeloop::testing
{

// Acts on the next modal dialog of type Dialog as soon as it is open, from the
// event loop that the dialog's exec() runs. Gives up after a few seconds, so a
// test whose dialog never opens fails instead of hanging.
template <typename Dialog> void WhenModalOpens(std::function<void(Dialog*)> action)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(10);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, clock] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog && clock.elapsed() < 5000)
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            action(dialog);
    });
    timer->start();
}

} // namespace pipeloop::testing
