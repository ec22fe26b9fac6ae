#pragma once

// A web server on the loopback interface that answers as real servers do,
// well or badly, so that no test reaches beyond this machine.

#include <QByteArray>
#include <QHostAddress>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

namespace pipeloop::testing
{

enum class ServerAnswer { Reply, Silence, Hangup };

// One connection at a time: the request is read to its blank line, then
// answered with the canned bytes, not at all, or by closing.
class LoopbackHttpServer : public QTcpServer
{
public:
    LoopbackHttpServer(ServerAnswer answer, QByteArray reply)
        : m_answer(answer), m_reply(std::move(reply))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
        });
    }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(serverPort()); }
    QByteArray request;

private:
    void serve(QTcpSocket* socket)
    {
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        if (m_answer == ServerAnswer::Reply) {
            socket->write(m_reply);
            socket->flush();
        }
        if (m_answer != ServerAnswer::Silence)
            socket->disconnectFromHost();
    }
    ServerAnswer m_answer;
    QByteArray m_reply;
};

} // namespace pipeloop::testing
