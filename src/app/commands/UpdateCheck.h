#pragma once

// "Check For Update" and the quiet check at start-up, and the internet flag
// they leave: whether the maker's server answered, which the parts list
// window and e-mail read before they try to send anything.

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace pipeloop
{

class ReleasePageFetch;
class TINETForm;

class UpdateCheck : public QObject
{
    Q_OBJECT
public:
    explicit UpdateCheck(QWidget* window);

    // Where the release page is looked for ("host" or "host:port"); empty,
    // the default, checks nothing and finds no connection.
    void setHost(const QString& host) { m_host = host; }
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

    // At first activation, when the system reports a network: the page is
    // fetched in the background without a window, and only a newer version
    // is reported, once the page has come.
    void checkQuietly();
    // The menu command: with no connection found yet, asks whether to check
    // again (the internet window while it does); then exactly one message.
    void checkForUpdate();

    bool internetDetected() const { return m_connected; }

signals:
    // A check has ended (tests and the status of the Help menu follow it).
    void checked();

private:
    void take(bool connected, const QByteArray& page);
    void report(bool userAsked) const;

    QWidget* m_window;
    ReleasePageFetch* m_quiet;
    QPointer<TINETForm> m_form;
    QString m_host;
    int m_timeoutMs;
    bool m_connected = false;
    QByteArray m_page;
};

} // namespace pipeloop
