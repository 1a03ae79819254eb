#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include <functional>
#include <map>

/// A one-file HTTP server on 127.0.0.1: answers every request with `status` and `body`, or,
/// when `silent`, accepts the connection and never answers.
class TinyHttpServer final : public QObject
{
public:
    int status = 200;
    QByteArray body;
    bool silent = false;
    QStringList paths;                       ///< the paths asked for, in order
    std::function<void()> onRequest = [] {}; ///< runs when a request has arrived

    TinyHttpServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, &TinyHttpServer::accept);
        m_server.listen(QHostAddress::LocalHost);
    }
    QUrl base() const { return QUrl(u"http://127.0.0.1:%1/"_qs.arg(m_server.serverPort())); }

private:
    void accept()
    {
        while (QTcpSocket *socket = m_server.nextPendingConnection()) {
            socket->setParent(this);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(*socket); });
        }
    }
    void read(QTcpSocket &socket)
    {
        QByteArray &request = m_requests[&socket];
        request += socket.readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        paths << QString::fromLatin1(request.split(' ').value(1));
        onRequest();
        if (silent)
            return;
        socket.write("HTTP/1.1 " + QByteArray::number(status) + " X\r\nContent-Length: " +
                     QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
        socket.disconnectFromHost();
    }

    QTcpServer m_server;
    std::map<QTcpSocket *, QByteArray> m_requests;
};
