#pragma once

// Fetching the maker's release page over HTTP: GET /zelk_release_info.html
// from a host (with its port when not 80). Qt's network stack speaks HTTP
// (keep-alive, chunked replies); a transfer that stalls ends after the
// timeout and counts as no connection.

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;

namespace pipeloop
{

// The maker's host, where the release page is looked for unless the
// settings name another ("UpdateHost").
QString DefaultUpdateHost();

QUrl ReleasePageUrl(const QString& host);

class ReleasePageFetch : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultTimeoutMs = 10000;
    // More than a release page ever holds; the rest of a longer reply is not read.
    static constexpr qsizetype MaxPageBytes = 64 * 1024;

    explicit ReleasePageFetch(QObject* parent = nullptr);
    ~ReleasePageFetch() override;

    // Starts a fetch; one already running is abandoned.
    void start(const QString& host, int timeoutMs = DefaultTimeoutMs);
    bool running() const { return m_reply != nullptr; }

signals:
    // Once per fetch. connected: the server answered, whatever its status;
    // page: the reply's body, at most MaxPageBytes.
    void finished(bool connected, const QByteArray& page);

private:
    void readSome();
    void finish();

    QNetworkAccessManager* m_network;
    QPointer<QNetworkReply> m_reply;
    QByteArray m_page;
    bool m_full = false;
};

} // namespace pipeloop
