#pragma once

// The internet window: a small tool window over its owner while the release
// page is fetched, a label and a progress bar that keeps moving. It closes
// itself once the fetch has ended and the bar has passed half way.

#include <QByteArray>
#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

namespace pipeloop
{

class ReleasePageFetch;

class TINETForm : public QDialog
{
    Q_OBJECT
public:
    explicit TINETForm(QWidget* parent = nullptr);

    // Shows the window modally while the page is fetched from host.
    void Check(const QString& host, int timeoutMs);

    // The last check's result: whether the server answered, and its page.
    bool Connected() const { return m_connected; }
    const QByteArray& Page() const { return m_page; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void step();

    ReleasePageFetch* m_fetch;
    QLabel* m_label;
    QProgressBar* m_bar;
    QTimer m_timer;
    QString m_host;
    int m_timeoutMs = 0;
    bool m_done = false;
    bool m_connected = false;
    QByteArray m_page;
};

} // namespace pipeloop
