#include "ReleasePageFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

namespace pipeloop
{

QString DefaultUpdateHost()
{
    return QStringLiteral("www.zelkworks.com");
}

QUrl ReleasePageUrl(const QString& host)
{
    return QUrl(QStringLiteral("http://") + host + QStringLiteral("/zelk_release_info.html"));
}

ReleasePageFetch::ReleasePageFetch(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{
}

ReleasePageFetch::~ReleasePageFetch()
{
    if (m_reply)
        m_reply->abort();
}

void ReleasePageFetch::start(const QString& host, int timeoutMs)
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
    m_page.clear();
    m_full = false;
    QNetworkRequest request(ReleasePageUrl(host));
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("zelkhttpdll/1.0"));
    request.setTransferTimeout(timeoutMs);
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &ReleasePageFetch::readSome);
    connect(m_reply, &QNetworkReply::finished, this, &ReleasePageFetch::finish);
}

void ReleasePageFetch::readSome()
{
    m_page += m_reply->read(MaxPageBytes - m_page.size());
    if (m_page.size() >= MaxPageBytes && !m_full) {
        m_full = true;
        m_reply->abort();
    }
}

void ReleasePageFetch::finish()
{
    QNetworkReply* reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    if (!m_full)
        m_page += reply->read(MaxPageBytes - m_page.size());
    // Any HTTP status means the server was reached; a page cut at the limit
    // was reached too.
    const bool answered =
        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid() || m_full;
    emit finished(answered, answered ? m_page : QByteArray());
}

} // namespace pipeloop
